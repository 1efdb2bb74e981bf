// SPDX-License-Identifier: MIT
#include "settings/windows/WindowsRegistry.h"

#include <windows.h>

#include "settings/RegTree.h"
#include "settings/RegistryKeys.h"

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
std::string Utf8(std::string_view ansi) { return Convert(ansi, CP_ACP, CP_UTF8); }

// A value as read in the ANSI code page, its strings carried into UTF-8.
RegValue FromAnsi(DWORD type, std::string data) {
  RegValue value;
  value.type = type;
  if (IsStringType(type)) {
    data = Utf8(data);
    // A string stored without its terminating NUL still reads as one.
    if (data.empty() || data.back() != '\0') data.push_back('\0');
  }
  value.data.assign(data.begin(), data.end());
  return value;
}

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
  return FromAnsi(type, std::move(data));
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

bool WindowsRegistry::DeleteValue(Hive hive, std::string_view keyPath,
                                  std::string_view valueName) {
  const Key key(hive, keyPath, KEY_SET_VALUE);
  if (key.Get() == nullptr) return !KeyExists(hive, keyPath);
  const LONG result = RegDeleteValueA(key.Get(), Ansi(valueName).c_str());
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

std::string WindowsRegistry::Path() const {
  return std::string(HiveName(Hive::CurrentUser)) + "\\" + std::string(SettingsKey);
}

bool WindowsRegistry::Import(const RegDocument& document) {
  bool ok = true;
  for (const RegDeletion& deletion : document.deletions) {
    if (deletion.valueName) {
      ok = DeleteValue(deletion.hive, deletion.keyPath, *deletion.valueName) && ok;
      continue;
    }
    const LONG result = RegDeleteTreeA(Root(deletion.hive), Ansi(deletion.keyPath).c_str());
    ok = (result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND) && ok;
  }
  for (const RegTree::Key* key : document.tree.Keys()) {
    HKEY created = nullptr;
    if (RegCreateKeyExA(Root(key->hive), Ansi(key->path).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &created,
                        nullptr) != ERROR_SUCCESS) {
      ok = false;
      continue;
    }
    RegCloseKey(created);
    for (const auto& [name, value] : key->values) {
      ok = SetValue(key->hive, key->path, name, value) && ok;
    }
  }
  return ok;
}

namespace {

// Copies a key with everything below it into the tree; false when it cannot
// be opened.
bool ReadTree(Hive hive, const std::string& path, RegTree& tree) {
  const Key key(hive, path, KEY_READ);
  if (key.Get() == nullptr) return false;
  tree.CreateKey(hive, path);
  DWORD subKeys = 0, longestSubKey = 0, values = 0, longestName = 0, longestData = 0;
  if (RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subKeys, &longestSubKey, nullptr,
                       &values, &longestName, &longestData, nullptr,
                       nullptr) != ERROR_SUCCESS) {
    return true;
  }
  for (DWORD i = 0; i < values; ++i) {
    std::string name(longestName + 1, '\0');
    std::string data(longestData, '\0');
    DWORD nameLength = longestName + 1;
    DWORD size = longestData;
    DWORD type = REG_NONE;
    if (RegEnumValueA(key.Get(), i, name.data(), &nameLength, nullptr, &type,
                      reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
      continue;
    }
    name.resize(nameLength);
    data.resize(size);
    tree.SetValue(hive, path, Utf8(name), FromAnsi(type, std::move(data)));
  }
  for (DWORD i = 0; i < subKeys; ++i) {
    std::string name(longestSubKey + 1, '\0');
    DWORD nameLength = longestSubKey + 1;
    if (RegEnumKeyExA(key.Get(), i, name.data(), &nameLength, nullptr, nullptr, nullptr,
                      nullptr) != ERROR_SUCCESS) {
      continue;
    }
    name.resize(nameLength);
    ReadTree(hive, path + "\\" + Utf8(name), tree);
  }
  return true;
}

}  // namespace

std::string WindowsRegistry::Export() {
  RegTree tree;
  ReadTree(Hive::CurrentUser, std::string(SettingsKey), tree);
  return SerializeRegFile(tree);
}

std::optional<std::string> WindowsRegistry::Export(Hive hive, std::string_view keyPath) {
  RegTree tree;
  if (!ReadTree(hive, std::string(keyPath), tree)) return std::nullopt;
  return SerializeRegKey(tree, hive, keyPath);
}

}  // namespace quorvella
