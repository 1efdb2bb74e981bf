// SPDX-License-Identifier: MIT
#include "app/CliArguments.h"

#include <algorithm>
#include <string_view>

namespace quorvella {
namespace {

std::string OptionLabel(const CliOption& option) {
  std::string label = "--" + option.name;
  if (!option.valueName.empty()) label += " " + option.valueName;
  return label;
}

// Appends text broken into lines of at most `width` characters (a word longer
// than that stands alone), each after `indent` spaces but the first.
void AppendWrapped(std::string& out, const std::string& text, std::size_t indent,
                   std::size_t width) {
  std::size_t column = indent;
  bool lineEmpty = true;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (text[pos] == '\n') {
      out += '\n';
      out.append(indent, ' ');
      column = indent;
      lineEmpty = true;
      ++pos;
      continue;
    }
    const std::size_t end = std::min(text.find_first_of(" \n", pos), text.size());
    const std::size_t length = end - pos;
    if (!lineEmpty && column + 1 + length > width) {
      out += '\n';
      out.append(indent, ' ');
      column = indent;
      lineEmpty = true;
    }
    if (!lineEmpty) {
      out += ' ';
      ++column;
    }
    out.append(text, pos, length);
    column += length;
    lineEmpty = false;
    pos = end < text.size() && text[end] == ' ' ? end + 1 : end;
  }
}

}  // namespace

std::string CliArguments::Value(const std::string& name) const {
  const auto it = values_.find(name);
  return it == values_.end() || it->second.empty() ? std::string() : it->second.back();
}

std::vector<std::string> CliArguments::Values(const std::string& name) const {
  const auto it = values_.find(name);
  return it == values_.end() ? std::vector<std::string>() : it->second;
}

std::optional<CliArguments> ParseCliArguments(const CliCommand& command,
                                              const std::vector<std::string>& args,
                                              std::string& error) {
  CliArguments result;
  std::vector<std::string> unknown;
  // The last value that is missing or not wanted; it is reported before any
  // unknown option.
  std::string valueError;
  const auto find = [&command](std::string_view name) -> const CliOption* {
    for (const auto& option : command.options) {
      if (option.name == name) return &option;
    }
    return nullptr;
  };
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // "-" alone is a name (standard input, by custom), not an option.
    if (optionsEnded || arg.size() < 2 || arg.front() != '-') {
      result.positional_.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg[1] == '-') {
      const std::size_t assign = arg.find('=');
      const std::string name = arg.substr(2, assign == std::string::npos ? assign : assign - 2);
      const CliOption* option = find(name);
      const bool help = name == "help" || name == "help-all";
      if (option == nullptr && !help) {
        unknown.push_back(name);
      } else if (help || option->valueName.empty()) {
        if (assign != std::string::npos) {
          valueError = "Unexpected value after '" + arg.substr(0, assign) + "'.";
        } else if (help) {
          result.help_ = true;
        } else {
          result.values_[name].emplace_back();
        }
      } else if (assign != std::string::npos) {
        result.values_[name].push_back(arg.substr(assign + 1));
      } else if (i + 1 < args.size()) {
        // The next argument is the value even when it begins with a dash.
        result.values_[name].push_back(args[++i]);
      } else {
        valueError = "Missing value after '" + arg + "'.";
      }
    } else {
      // A single dash brings one-letter options, several at once; -h is the
      // only one there is.
      for (std::size_t pos = 1; pos < arg.size(); ++pos) {
        if (arg[pos] != 'h') {
          unknown.emplace_back(1, arg[pos]);
          continue;
        }
        if (pos + 1 < arg.size() && arg[pos + 1] == '=') {
          valueError = "Unexpected value after '" + arg.substr(0, pos + 1) + "'.";
          break;
        }
        result.help_ = true;
      }
    }
  }
  if (!valueError.empty()) {
    error = valueError;
    return std::nullopt;
  }
  if (unknown.size() == 1) {
    error = "Unknown option '" + unknown.front() + "'.";
    return std::nullopt;
  }
  if (unknown.size() > 1) {
    error = "Unknown options: ";
    for (std::size_t n = 0; n < unknown.size(); ++n) error += (n > 0 ? ", " : "") + unknown[n];
    error += ".";
    return std::nullopt;
  }
  for (const auto& option : command.options) {
    if (!option.repeatable && result.Values(option.name).size() > 1) {
      error = "--" + option.name + " is given more than once";
      return std::nullopt;
    }
  }
  return result;
}

std::string CliHelpText(const CliCommand& command) {
  constexpr std::size_t kWidth = 79;
  std::string out = "Usage: " + command.usage + "\n\n";
  AppendWrapped(out, command.description, 0, kWidth);
  out += "\n\nOptions:\n";
  std::vector<std::pair<std::string, std::string>> rows;
  for (const auto& option : command.options) rows.emplace_back(OptionLabel(option), option.help);
  rows.emplace_back("-h, --help", "Shows this help.");
  std::size_t labelWidth = 0;
  for (const auto& row : rows) labelWidth = std::max(labelWidth, row.first.size());
  const std::size_t indent = 2 + labelWidth + 2;
  for (const auto& [label, help] : rows) {
    out += "  " + label;
    out.append(indent - 2 - label.size(), ' ');
    AppendWrapped(out, help, indent, kWidth);
    out += '\n';
  }
  return out;
}

}  // namespace quorvella
