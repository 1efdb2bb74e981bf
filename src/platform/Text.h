// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

// Text rules shared by every layer. Texts are UTF-8 throughout the program.
namespace quorvella {

// Removes leading and trailing spaces only (not tabs or line breaks).
std::string TrimSpaces(std::string_view text);
// The same, in the string itself: no copy.
void TrimSpacesInPlace(std::string& text);

// Lower-cases every letter, non-ASCII ones included (É becomes é).
std::string LowerCase(std::string_view text);

// Upper-cases every letter, non-ASCII ones included.
std::string UpperCase(std::string_view text);

// Lower-cases A to Z only; for registry key names and other ASCII identifiers.
std::string LowerAscii(std::string_view text);

bool StartsWith(std::string_view text, std::string_view prefix);

}  // namespace quorvella
