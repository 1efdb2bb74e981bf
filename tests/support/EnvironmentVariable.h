// SPDX-License-Identifier: MIT
#pragma once

#include <cstdlib>

namespace quorvella::testing {

// Sets or (with null) removes a variable of this process's environment, on
// every platform; an empty value is kept as empty where the system allows.
inline void SetEnvironmentVariable(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value != nullptr ? value : "");
#else
  if (value == nullptr) {
    unsetenv(name);
  } else {
    setenv(name, value, 1);
  }
#endif
}

}  // namespace quorvella::testing
