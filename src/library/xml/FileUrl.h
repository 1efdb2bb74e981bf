// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorvella {

// The path that a "file:" URL of the library names, in the path's own form:
//   file://localhost/C:/x, file:///C:/x             -> C:\x
//   file://localhost//server/share/x, file://server/share/x -> \\server\share\x
//   file:///Users/x, file://localhost/Users/x       -> /Users/x
// The URL's path is decoded as a path, not as a form: %XX becomes that byte
// (so UTF-8 sequences come out whole and decomposed accents stay decomposed),
// and '+' stays a plus sign. An escape that is not two hex digits, or that
// would give a NUL byte, is kept as written. nullopt for any other scheme.
std::optional<std::string> FileUrlToPath(std::string_view url);

// The same into `out`, which must have room for url.size() bytes (a path is
// never longer than its URL); gives the path's length.
std::optional<std::size_t> FileUrlToPath(std::string_view url, char* out);

// Whether the text begins with the "file:" scheme (in any letter case).
bool IsFileUrl(std::string_view url);

}  // namespace quorvella
