// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

// Every web address the program opens. The maker's site lives under the
// reserved .example domain, so no address can reach a real site by accident.
namespace quorvella {

inline constexpr std::string_view MakerHomePageAddress = "https://www.brenlow-software.example/";
inline constexpr std::string_view HomePageAddress =
    "https://www.brenlow-software.example/quorvella/";
// The documentation page is asked for the program version it describes.
inline constexpr std::string_view DocumentationAddress =
    "https://www.brenlow-software.example/quorvella/help/?ver=1.3";
inline constexpr std::string_view Mp3ConversionAddress =
    "https://www.brenlow-software.example/quorvella/convert-to-mp3/";
inline constexpr std::string_view PluginInfoAddress =
    "https://www.brenlow-software.example/quorvella/universal-audio-plugin/";

}  // namespace quorvella
