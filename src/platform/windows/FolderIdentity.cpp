// SPDX-License-Identifier: MIT
#include "platform/FolderIdentity.h"

#include "platform/windows/WideText.h"

namespace quorvella {

std::optional<FolderIdentity> IdentityOfFolder(const std::string& path) {
  // Backup semantics open a folder; the open follows links and junctions.
  HANDLE folder = CreateFileW(Utf8ToWide(path).c_str(), 0,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = GetFileInformationByHandle(folder, &info) != 0;
  CloseHandle(folder);
  if (!known || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return std::nullopt;
  return FolderIdentity{info.dwVolumeSerialNumber,
                        (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

}  // namespace quorvella
