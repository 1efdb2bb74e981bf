// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvella {

// A program to start and the arguments it gets, each one whole.
struct CommandLine {
  std::string program;
  std::vector<std::string> arguments;
  bool operator==(const CommandLine&) const = default;
};

// Splits a command line the way Windows starts one, so that the command
// lines built for Windows (an unquoted program path, then arguments) start
// the same program here:
// - Leading blanks are skipped.
// - A program that begins with a double quote runs to the next double quote.
// - Otherwise the program is an unquoted path that may hold spaces: the text
//   up to each space in turn, shortest first, and then the whole line, is
//   tried, and the first that names an existing file (not a folder) is the
//   program. When none does, the program is the text up to the first blank,
//   and starting it fails with the usual "not found" error.
// - The rest is split into arguments at blanks (spaces and tabs); double
//   quotes group blanks into one argument and are dropped; 2n backslashes
//   before a double quote stand for n backslashes, 2n+1 for n and a literal
//   double quote; other backslashes are literal.
CommandLine SplitCommandLine(std::string_view line,
                             const std::function<bool(const std::string&)>& isFile);

}  // namespace quorvella
