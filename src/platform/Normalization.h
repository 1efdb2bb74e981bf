// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace quorvella {

// The text in Unicode normalization form C: a letter followed by combining
// marks becomes the one precomposed character where Unicode has one, so "e"
// and a combining acute accent become "é". Libraries made on a Mac spell
// accents the decomposed way. Text that is not valid UTF-8 is returned as it
// is.
std::string ComposeNfc(std::string_view utf8);

}  // namespace quorvella
