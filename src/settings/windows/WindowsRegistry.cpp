// SPDX-License-Identifier: MIT
#include "settings/windows/WindowsRegistry.h"

#include <windows.h>

namespace quorvella {
namespace {

HKEY Root(Hive hive) {
  switch (hive) {
    case Hive::CurrentUser:
      return HKEY_CURRENT_USER;
    case Hive::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case Hive::ClassesRoot:
      return HKEY_CLASSES_ROOT;
  }
  return HKEY_CURRENT_USER;
}

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// Bytes from one code page into another, NULs included, through UTF-16.
std::string Convert(std::string_view bytes, UINT from, UINT to) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int wideLength = MultiByteToWideChar(from, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(from, 0, bytes.data(), size, wide.data(), wideLength);
  const int length =
      WideCharToMultiByte(to, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(to, 0, wide.data(), wideLength, out.data(), length, nullptr, nullptr);
  return out;
}

std::string Ansi(std::string_view utf8) { return Convert(utf8, CP_UTF8, CP_ACP); }

// An open key, closed when it goes.
class Key {
 public:
  Key(Hive hive, std::string_view path, REGSAM access) {
    if (RegOpenKeyExA(Root(hive), Ansi(path).c_str(), 0, access, &key_) != ERROR_SUCCESS) {
      key_ = nullptr;
    }
  }
  explicit Key(HKEY key) : key_(key) {}
  ~Key() {
    if (key_ != nullptr) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

bool WindowsRegistry::KeyExists(Hive hive, std::string_view keyPath) {
  return Key(hive, keyPath, KEY_READ).Get() != nullptr;
}

std::optional<RegValue> WindowsRegistry::QueryValue(Hive hive, std::string_view keyPath,
                                                    std::string_view valueName) {
  const Key key(hive, keyPath, KEY_QUERY_VALUE);
  if (key.Get() == nullptr) return std::nullopt;
  const std::string name = Ansi(valueName);
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::string data(size, '\0');
  // The value may have grown in between; then it is read again at its new size.
  LONG result = ERROR_MORE_DATA;
  for (int attempt = 0; attempt < 4 && result == ERROR_MORE_DATA; ++attempt) {
    data.resize(size);
    result = RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(data.data()), &size);
  }
  if (result != ERROR_SUCCESS) return std::nullopt;
  data.resize(size);
  RegValue value;
  value.type = type;
  if (IsStringType(type)) {
    data = Convert(data, CP_ACP, CP_UTF8);
    // A string stored without its terminating NUL still reads as one.
    if (data.empty() || data.back() != '\0') data.push_back('\0');
  }
  value.data.assign(data.begin(), data.end());
  return value;
}

bool WindowsRegistry::SetValue(Hive hive, std::string_view keyPath, std::string_view valueName,
                               const RegValue& value) {
  HKEY opened = nullptr;
  if (RegCreateKeyExA(Root(hive), Ansi(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, &opened, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const Key key(opened);
  std::string data(value.data.begin(), value.data.end());
  if (IsStringType(value.type)) data = Ansi(data);
  return RegSetValueExA(key.Get(), Ansi(valueName).c_str(), 0, value.type,
                        reinterpret_cast<const BYTE*>(data.data()),
                        static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

}  // namespace quorvella
