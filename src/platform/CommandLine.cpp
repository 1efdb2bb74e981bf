// SPDX-License-Identifier: MIT
#include "platform/CommandLine.h"

namespace quorvella {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string> SplitArguments(std::string_view text) {
  std::vector<std::string> arguments;
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i >= text.size()) break;
    std::string argument;
    bool quoted = false;
    while (i < text.size() && (quoted || !IsBlank(text[i]))) {
      if (text[i] == '\\') {
        std::size_t backslashes = 0;
        while (i < text.size() && text[i] == '\\') {
          ++backslashes;
          ++i;
        }
        if (i < text.size() && text[i] == '"') {
          argument.append(backslashes / 2, '\\');
          if (backslashes % 2 == 1) {
            argument += '"';
            ++i;
          }
        } else {
          argument.append(backslashes, '\\');
        }
      } else if (text[i] == '"') {
        quoted = !quoted;
        ++i;
      } else {
        argument += text[i++];
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

}  // namespace

CommandLine SplitCommandLine(std::string_view line,
                             const std::function<bool(const std::string&)>& isFile) {
  std::size_t start = 0;
  while (start < line.size() && IsBlank(line[start])) ++start;
  line.remove_prefix(start);

  CommandLine result;
  std::string_view rest;
  if (!line.empty() && line.front() == '"') {
    const std::size_t close = line.find('"', 1);
    result.program = std::string(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
    rest = close == std::string_view::npos ? std::string_view() : line.substr(close + 1);
  } else {
    std::size_t end = line.find(' ');
    while (true) {
      const std::string candidate(line.substr(0, end));
      if (isFile(candidate)) {
        result.program = candidate;
        rest = end == std::string_view::npos ? std::string_view() : line.substr(end);
        break;
      }
      if (end == std::string_view::npos) {
        std::size_t blank = 0;
        while (blank < line.size() && !IsBlank(line[blank])) ++blank;
        result.program = std::string(line.substr(0, blank));
        rest = line.substr(blank);
        break;
      }
      end = line.find(' ', end + 1);
    }
  }
  result.arguments = SplitArguments(rest);
  return result;
}

}  // namespace quorvella
