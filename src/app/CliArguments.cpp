// SPDX-License-Identifier: MIT
#include "app/CliArguments.h"

#include <QCommandLineParser>
#include <QStringList>

#include <algorithm>

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
  QCommandLineParser parser;
  const QCommandLineOption help = parser.addHelpOption();
  for (const auto& option : command.options) {
    parser.addOption(QCommandLineOption(QString::fromStdString(option.name),
                                        QString::fromStdString(option.help),
                                        QString::fromStdString(option.valueName)));
  }
  QStringList list{QStringLiteral("quorvella-cli")};
  for (const auto& arg : args) list << QString::fromStdString(arg);
  if (!parser.parse(list)) {
    error = parser.errorText().toStdString();
    return std::nullopt;
  }

  CliArguments result;
  result.help_ = parser.isSet(help);
  const QStringList given = parser.optionNames();
  for (const auto& option : command.options) {
    const QString name = QString::fromStdString(option.name);
    if (!parser.isSet(name)) continue;
    auto& values = result.values_[option.name];
    if (option.valueName.empty()) {
      values.assign(static_cast<std::size_t>(given.count(name)), std::string());
    } else {
      for (const QString& value : parser.values(name)) values.push_back(value.toStdString());
    }
    if (values.size() > 1 && !option.repeatable) {
      error = "--" + option.name + " is given more than once";
      return std::nullopt;
    }
  }
  for (const QString& arg : parser.positionalArguments()) {
    result.positional_.push_back(arg.toStdString());
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
