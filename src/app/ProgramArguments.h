// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace quorvella {

// The program's arguments in UTF-8, its own name first. On Windows they are
// read as the wide command line (argv holds them in the ANSI code page,
// which loses most names), and a console is set to show UTF-8; output that
// goes to a file or a pipe stays the program's bytes.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace quorvella
