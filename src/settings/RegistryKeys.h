// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

// Registry locations that more than one layer reads.
namespace quorvella {

// The program's own four options (HKEY_CURRENT_USER).
inline constexpr std::string_view SettingsKey = "Software\\Brenlow Software\\Quorvella";

// The Universal Audio Plug-in's per-user configuration key (HKEY_CURRENT_USER)
// and its value listing the extra extensions it serves, comma-separated.
inline constexpr std::string_view PluginConfigKey =
    "Software\\TiVo\\Desktop\\Modules\\UniversalAudio.dll\\Config";
inline constexpr std::string_view PluginCustomValueName = "custom";

}  // namespace quorvella
