// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/RegistryBackend.h"

namespace quorvella {

// The contents of a registry store in memory: keys with their values, in the
// shape the .reg format and the in-memory backend share. Keys sort by their
// components, so a parent always comes before its children. Names keep the
// letter case they were first given; look-ups ignore ASCII case.
class RegTree {
 public:
  struct Key {
    Hive hive = Hive::CurrentUser;
    std::string path;  // as first written, without the hive
    std::vector<std::pair<std::string, RegValue>> values;  // in the order set
  };

  bool KeyExists(Hive hive, std::string_view path) const;
  const RegValue* FindValue(Hive hive, std::string_view path, std::string_view name) const;
  // Creates the key with every missing key above it; returns it.
  Key& CreateKey(Hive hive, std::string_view path);
  void SetValue(Hive hive, std::string_view path, std::string_view name, RegValue value);
  // Removes the key with everything below it; false when it did not exist.
  bool DeleteKey(Hive hive, std::string_view path);
  bool DeleteValue(Hive hive, std::string_view path, std::string_view name);
  // Copies every key and value of other into this tree, replacing equal names.
  void Merge(const RegTree& other);

  bool Empty() const { return keys_.empty(); }
  // Every key in sort order (parents first).
  std::vector<const Key*> Keys() const;

  friend bool operator==(const RegTree& a, const RegTree& b);

 private:
  using SortKey = std::pair<Hive, std::vector<std::string>>;
  static SortKey MakeSortKey(Hive hive, std::string_view path);
  std::map<SortKey, Key> keys_;
};

}  // namespace quorvella
