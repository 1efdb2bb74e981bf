// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string>

// The user a process runs as, by number, as /proc shows it. Windows has no
// such numbers (0 there), nor a /proc to find a running pyTivo in.
namespace quorvella {

using ProcessUser = unsigned int;

ProcessUser CurrentProcessUser();
// The account's name, or "#" and the number when it has none.
std::string ProcessUserName(ProcessUser user);

// The owner of a process's folder under /proc; nullopt when it is gone.
std::optional<ProcessUser> ProcessOwner(const std::filesystem::path& processFolder);

}  // namespace quorvella
