// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace quorvella {

// Every letter of the text in lower case (or upper case), by Unicode's own
// tables and never by the user's locale; a byte that is not UTF-8 stays as
// it is. What LowerCase and UpperCase do.
std::string MapCase(std::string_view text, bool lower);

}  // namespace quorvella
