// SPDX-License-Identifier: MIT
#include "tivo/ProcessUser.h"

namespace quorvella {

ProcessUser CurrentProcessUser() { return 0; }

std::string ProcessUserName(ProcessUser user) { return "#" + std::to_string(user); }

std::optional<ProcessUser> ProcessOwner(const std::filesystem::path&) { return std::nullopt; }

}  // namespace quorvella
