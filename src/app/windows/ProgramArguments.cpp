// SPDX-License-Identifier: MIT
#include "app/ProgramArguments.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/windows/WideText.h"

namespace quorvella {

std::vector<std::string> ProgramArguments(int, char**) {
  SetConsoleOutputCP(CP_UTF8);
  std::vector<std::string> arguments;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(WideToUtf8(wide[i]));
  LocalFree(wide);
  return arguments;
}

}  // namespace quorvella
