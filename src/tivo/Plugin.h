// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "platform/Desktop.h"
#include "platform/MessageBoxes.h"
#include "settings/RegUtil.h"
#include "settings/RegistryKeys.h"

// The Universal Audio Plug-in for TiVo Desktop: where its configuration
// program lies, whether this user has configured it, and starting that
// program. The plug-in's entries are only ever read.
namespace quorvella {

// Where the plug-in's installer records its folder (HKEY_LOCAL_MACHINE), the
// current installer's key first, then the older one's.
inline constexpr std::string_view PluginUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    "Tivo Desktop Universal Audio Plug-in_is1";
inline constexpr std::string_view PluginUninstallKeyOld =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    "Tivo Desktop Universal Audio Plug-in";
inline constexpr std::string_view PluginInstallLocationValueName = "InstallLocation";
// The plug-in's COM server (HKEY_CLASSES_ROOT); its default value is the
// server file's full path, which lies in the install folder.
inline constexpr std::string_view PluginServerKey =
    "CLSID\\{0835DC4B-AA01-48C3-A42D-FD62C530A3E1}\\InprocServer32";
inline constexpr std::string_view PluginConfigProgramName = "TDUAP.exe";

// The configuration program's full path, or empty text when no install
// folder is recorded. Whether the file exists is not tested.
std::string GetPluginConfigProgram(const RegUtil& reg);

// Whether this user has configured the plug-in: its configuration key exists.
bool IsPluginConfigured(const RegUtil& reg);

// The maker's page about the plug-in.
std::string PluginInfoPageAddress();

// The message shown when the configuration program could not be started.
Message PluginStartFailureMessage(std::string_view program, std::string_view error);

// Starts the configuration program without waiting for it; when that fails,
// tells the user why. The caller learns nothing of the outcome.
void StartPluginConfigProgram(const RegUtil& reg, Desktop& desktop, MessageBoxes& boxes);

}  // namespace quorvella
