// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace quorvella {

// Why the registry store at `path` cannot be written, as a clause that fits
// after a colon ("the folder "/x" cannot be written (Permission denied)");
// empty when a write can be made. Only looks: creates and changes nothing.
// A folder that does not exist yet counts as writable when the folder it
// would be created in can be written.
std::string StoreWriteProblem(const std::string& path);

}  // namespace quorvella
