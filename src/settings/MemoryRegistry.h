// SPDX-License-Identifier: MIT
#pragma once

#include "settings/RegTree.h"
#include "settings/RegistryBackend.h"

namespace quorvella {

// A registry that lives only as long as the object: for tests, and for runs
// that must not touch the user's stored options.
class MemoryRegistry final : public RegistryBackend {
 public:
  MemoryRegistry() = default;
  explicit MemoryRegistry(RegTree tree) : tree_(std::move(tree)) {}

  bool KeyExists(Hive hive, std::string_view keyPath) override {
    return tree_.KeyExists(hive, keyPath);
  }
  std::optional<RegValue> QueryValue(Hive hive, std::string_view keyPath,
                                     std::string_view valueName) override {
    if (const RegValue* value = tree_.FindValue(hive, keyPath, valueName)) return *value;
    return std::nullopt;
  }
  bool SetValue(Hive hive, std::string_view keyPath, std::string_view valueName,
                const RegValue& value) override {
    if (readOnly_) return false;
    tree_.SetValue(hive, keyPath, valueName, value);
    return true;
  }
  bool DeleteValue(Hive hive, std::string_view keyPath, std::string_view valueName) override {
    if (readOnly_) return false;
    tree_.DeleteValue(hive, keyPath, valueName);
    return true;
  }

  // Makes every later write fail, as a store the user may not change would.
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  const RegTree& Tree() const { return tree_; }
  RegTree& Tree() { return tree_; }

 private:
  RegTree tree_;
  bool readOnly_ = false;
};

}  // namespace quorvella
