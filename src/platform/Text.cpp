// SPDX-License-Identifier: MIT
#include "platform/Text.h"

#include "platform/CaseMapping.h"

namespace quorvella {

std::string TrimSpaces(std::string_view text) {
  std::string trimmed(text);
  TrimSpacesInPlace(trimmed);
  return trimmed;
}

void TrimSpacesInPlace(std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) {
    text.clear();
    return;
  }
  text.erase(text.find_last_not_of(' ') + 1);
  text.erase(0, first);
}

std::string LowerCase(std::string_view text) { return MapCase(text, true); }

std::string UpperCase(std::string_view text) { return MapCase(text, false); }

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace quorvella
