// SPDX-License-Identifier: MIT
// The Recycle Bin through the shell, which keeps what it needs to restore
// the file. Silent: no confirmation, no progress, no error box.
#include "platform/Trash.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "platform/windows/WideText.h"

namespace quorvella {

// Each move is made when it is asked for.
void PrepareTrash(const std::string&, std::size_t) {}

TrashResult TrashFile(const std::string& path) {
  // The shell takes a list of names, each ended by a null and the list by
  // another.
  std::wstring from = Utf8ToWide(path);
  from.push_back(L'\0');
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  const int result = SHFileOperationW(&operation);
  if (result != 0 || operation.fAnyOperationsAborted) return TrashResult::Failed;
  // A name that does not exist is no error to every version of the shell.
  return GetFileAttributesW(from.c_str()) == INVALID_FILE_ATTRIBUTES ? TrashResult::Moved
                                                                     : TrashResult::Failed;
}

}  // namespace quorvella
