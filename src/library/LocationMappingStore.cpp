// SPDX-License-Identifier: MIT
#include "library/LocationMappingStore.h"

#include <string>

namespace quorvella {
namespace {

// A rule's place is read until the first gap, so a store of hand-edited
// rules never needs more names than it has rules.
constexpr std::size_t kMaxRules = 10'000;

}  // namespace

std::optional<std::string> MappingProblem(const LocationMapping& rule) {
  if (!IsMappableFrom(rule.from)) {
    return "\"" + rule.from +
           "\" is not a full path: a location to map begins with a drive (C:\\), a network "
           "share (\\\\server\\share) or a slash (/Volumes/data).";
  }
  if (rule.from.find(MappingSeparator) != std::string::npos) {
    return "\"" + rule.from + "\" holds a \"|\", which a location to map cannot hold.";
  }
  // The text, the separator and the terminating NUL must fit the value.
  if (rule.from.size() + rule.to.size() + 2 > RegUtil::kValueBufferSize) {
    return "The mapping of \"" + rule.from + "\" is too long to be stored.";
  }
  return std::nullopt;
}

LocationMappings LoadLocationMappings(const RegUtil& reg) {
  LocationMappings mappings;
  RegistryBackend& store = reg.Backend();
  for (std::size_t i = 1; i <= kMaxRules; ++i) {
    if (!store.QueryValue(Hive::CurrentUser, MappingsKey, std::to_string(i))) break;
    const std::string text = reg.RegGetString(Hive::CurrentUser, MappingsKey, std::to_string(i));
    const std::size_t bar = text.find(MappingSeparator);
    if (bar == std::string::npos || bar == 0 || bar + 1 == text.size()) continue;
    mappings.Add({text.substr(0, bar), text.substr(bar + 1)});
  }
  return mappings;
}

bool SaveLocationMappings(const RegUtil& reg, const LocationMappings& mappings) {
  RegistryBackend& store = reg.Backend();
  const auto& rules = mappings.Rules();
  bool ok = true;
  for (std::size_t i = 0; i < rules.size(); ++i) {
    const std::string name = std::to_string(i + 1);
    const std::string text = rules[i].from + MappingSeparator + rules[i].to;
    ok = store.SetValue(Hive::CurrentUser, MappingsKey, name, RegValue::String(text)) && ok;
  }
  // Values beyond the rules are what an earlier, longer list left.
  for (std::size_t i = rules.size() + 1; i <= kMaxRules; ++i) {
    const std::string name = std::to_string(i);
    if (!store.QueryValue(Hive::CurrentUser, MappingsKey, name)) break;
    ok = store.DeleteValue(Hive::CurrentUser, MappingsKey, name) && ok;
  }
  return ok && LoadLocationMappings(reg).Rules() == rules;
}

}  // namespace quorvella
