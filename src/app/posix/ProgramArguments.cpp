// SPDX-License-Identifier: MIT
#include "app/ProgramArguments.h"

namespace quorvella {

std::vector<std::string> ProgramArguments(int argc, char** argv) { return {argv, argv + argc}; }

}  // namespace quorvella
