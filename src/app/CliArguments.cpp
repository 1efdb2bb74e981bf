// SPDX-License-Identifier: MIT
#include "app/CliArguments.h"

#include <algorithm>

namespace quorvella {
namespace {

const CliOption* FindOption(const CliCommand& command, const std::string& name) {
  for (const auto& option : command.options) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

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
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      result.positional_.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (arg == "-h" || arg == "--help") {
      result.help_ = true;
      continue;
    }
    if (arg[1] != '-') {
      error = "unknown option " + arg;
      return std::nullopt;
    }
    const auto equals = arg.find('=');
    const std::string name =
        arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
    const CliOption* option = FindOption(command, name);
    if (option == nullptr) {
      error = "unknown option --" + name;
      return std::nullopt;
    }
    std::string value;
    if (option->valueName.empty()) {
      if (equals != std::string::npos) {
        error = "--" + name + " takes no value";
        return std::nullopt;
      }
    } else if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      error = "--" + name + " needs a value (" + option->valueName + ")";
      return std::nullopt;
    }
    auto& values = result.values_[name];
    if (!values.empty() && !option->repeatable) {
      error = "--" + name + " is given more than once";
      return std::nullopt;
    }
    values.push_back(std::move(value));
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
