// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "library/LocationMappings.h"
#include "settings/RegUtil.h"

namespace quorvella {

// Where the mappings are kept (HKEY_CURRENT_USER): a key of their own below
// the program's, so that they travel with the options through registry
// export and import while the options stay four values. Each rule is one
// value, named by its position from "1" on, whose text is `from`, "|" and
// `to`: a Windows path cannot hold "|", and a POSIX `from` that does is
// refused, so the first "|" always ends `from`.
inline constexpr std::string_view MappingsKey = "Software\\Brenlow Software\\Quorvella\\Mappings";
inline constexpr char MappingSeparator = '|';

// Why a rule cannot be kept, in words for the user; nullopt when it can:
// its `from` must be a full path without "|", and the rule must fit a
// registry value.
std::optional<std::string> MappingProblem(const LocationMapping& rule);

// The stored rules, from "1" up to the first value that is missing; a value
// without "|" or with an empty side is skipped.
LocationMappings LoadLocationMappings(const RegUtil& reg);

// Replaces the stored rules; false when the store refused a write (what it
// holds then is what could be written). A rule's `from` must not hold "|".
bool SaveLocationMappings(const RegUtil& reg, const LocationMappings& mappings);

}  // namespace quorvella
