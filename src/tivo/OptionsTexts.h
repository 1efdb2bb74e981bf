// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "platform/MessageBoxes.h"

// Texts of the Options dialog that the command-line program prints too.
namespace quorvella {

inline constexpr std::string_view FolderDoesNotExistText = "The specified folder does not exist.";
inline constexpr std::string_view Mp3MustRemainCheckedText =
    "The file type \"mp3\" must remain checked.";

// Why Enhanced mode needs the Universal Audio Plug-in, and the question that
// follows it in the dialog (No is the default).
std::string EnhancedModeWarning();
Message EnhancedModeQuestion();

}  // namespace quorvella
