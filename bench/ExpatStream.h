// SPDX-License-Identifier: MIT
#pragma once

namespace quorvella::bench {

// Streams an XML file through expat with handlers that do nothing, the least
// any reader of the file must do. Returns 0, or 1 after saying on stderr, as
// `program`, what went wrong.
int StreamWithExpat(const char* path, const char* program);

}  // namespace quorvella::bench
