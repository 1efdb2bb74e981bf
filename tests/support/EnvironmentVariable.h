// SPDX-License-Identifier: MIT
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

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

// Sets a variable (null: removes it) for the life of the object; its value
// from before comes back afterwards.
class ScopedEnvironmentVariable {
 public:
  ScopedEnvironmentVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    SetEnvironmentVariable(name, value);
  }
  ~ScopedEnvironmentVariable() { SetEnvironmentVariable(name_, old_ ? old_->c_str() : nullptr); }
  ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
  ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;
  void Set(const char* value) { SetEnvironmentVariable(name_, value); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace quorvella::testing
