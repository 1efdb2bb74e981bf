// SPDX-License-Identifier: MIT
#include "settings/RegTree.h"

#include <algorithm>

#include "platform/Text.h"

namespace quorvella {
namespace {

std::vector<std::string> SplitPath(std::string_view path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    const auto end = std::min(path.find('\\', start), path.size());
    if (end > start) parts.push_back(std::string(path.substr(start, end - start)));
    start = end + 1;
  }
  return parts;
}

}  // namespace

RegTree::SortKey RegTree::MakeSortKey(Hive hive, std::string_view path) {
  auto parts = SplitPath(path);
  for (auto& part : parts) part = LowerAscii(part);
  return {hive, std::move(parts)};
}

bool RegTree::KeyExists(Hive hive, std::string_view path) const {
  const auto key = MakeSortKey(hive, path);
  // The hive itself always exists.
  return key.second.empty() || keys_.count(key) > 0;
}

const RegValue* RegTree::FindValue(Hive hive, std::string_view path, std::string_view name) const {
  const auto it = keys_.find(MakeSortKey(hive, path));
  if (it == keys_.end()) return nullptr;
  const std::string wanted = LowerAscii(name);
  for (const auto& [valueName, value] : it->second.values) {
    if (LowerAscii(valueName) == wanted) return &value;
  }
  return nullptr;
}

RegTree::Key& RegTree::CreateKey(Hive hive, std::string_view path) {
  const auto parts = SplitPath(path);
  Key* key = nullptr;
  for (std::size_t n = 1; n <= parts.size(); ++n) {
    SortKey sortKey{hive, {}};
    for (std::size_t i = 0; i < n; ++i) sortKey.second.push_back(LowerAscii(parts[i]));
    auto [it, inserted] = keys_.try_emplace(std::move(sortKey));
    if (inserted) {
      // A new key takes the spelling its existing parent already has.
      it->second.hive = hive;
      it->second.path = key == nullptr ? parts[0] : key->path + "\\" + parts[n - 1];
    }
    key = &it->second;
  }
  if (key == nullptr) {
    // The hive root: values set on it are kept under an empty path.
    auto [it, inserted] = keys_.try_emplace(SortKey{hive, {}});
    if (inserted) it->second.hive = hive;
    key = &it->second;
  }
  return *key;
}

void RegTree::SetValue(Hive hive, std::string_view path, std::string_view name, RegValue value) {
  Key& key = CreateKey(hive, path);
  const std::string wanted = LowerAscii(name);
  for (auto& [valueName, existing] : key.values) {
    if (LowerAscii(valueName) == wanted) {
      existing = std::move(value);
      return;
    }
  }
  key.values.emplace_back(std::string(name), std::move(value));
}

bool RegTree::DeleteKey(Hive hive, std::string_view path) {
  const auto prefix = MakeSortKey(hive, path);
  bool removed = false;
  for (auto it = keys_.lower_bound(prefix); it != keys_.end();) {
    const auto& parts = it->first.second;
    const bool below = it->first.first == hive && parts.size() >= prefix.second.size() &&
                       std::equal(prefix.second.begin(), prefix.second.end(), parts.begin());
    if (!below) break;
    it = keys_.erase(it);
    removed = true;
  }
  return removed;
}

bool RegTree::DeleteValue(Hive hive, std::string_view path, std::string_view name) {
  const auto it = keys_.find(MakeSortKey(hive, path));
  if (it == keys_.end()) return false;
  auto& values = it->second.values;
  const std::string wanted = LowerAscii(name);
  const auto found = std::find_if(values.begin(), values.end(),
                                  [&](const auto& v) { return LowerAscii(v.first) == wanted; });
  if (found == values.end()) return false;
  values.erase(found);
  return true;
}

void RegTree::Merge(const RegTree& other) {
  for (const auto& [sortKey, key] : other.keys_) {
    CreateKey(key.hive, key.path);
    for (const auto& [name, value] : key.values) SetValue(key.hive, key.path, name, value);
  }
}

std::vector<const RegTree::Key*> RegTree::Keys() const {
  std::vector<const Key*> out;
  out.reserve(keys_.size());
  for (const auto& entry : keys_) out.push_back(&entry.second);
  return out;
}

bool operator==(const RegTree& a, const RegTree& b) {
  if (a.keys_.size() != b.keys_.size()) return false;
  auto ib = b.keys_.begin();
  for (const auto& [sortKey, key] : a.keys_) {
    if (sortKey != ib->first || key.values != ib->second.values) return false;
    ++ib;
  }
  return true;
}

}  // namespace quorvella
