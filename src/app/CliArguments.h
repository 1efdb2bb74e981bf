// SPDX-License-Identifier: MIT
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// The command-line program's arguments: each command declares its options,
// and one parser and one help layout serve them all.
namespace quorvella {

struct CliOption {
  std::string name;       // without the leading "--"
  std::string valueName;  // empty for an option that takes no value
  std::string help;
  bool repeatable = false;
};

struct CliCommand {
  std::string name;   // "publish", "registry import"
  std::string usage;  // what follows "Usage: "
  std::string description;
  std::vector<CliOption> options;
};

// What one command line gave: option values by name (an option without a
// value holds one empty text per occurrence) and the other arguments in order.
class CliArguments {
 public:
  bool Has(const std::string& name) const { return values_.count(name) != 0; }
  // The last value given; empty when the option was not given.
  std::string Value(const std::string& name) const;
  std::vector<std::string> Values(const std::string& name) const;
  const std::vector<std::string>& Positional() const { return positional_; }
  bool HelpWanted() const { return help_; }

 private:
  friend std::optional<CliArguments> ParseCliArguments(const CliCommand&,
                                                       const std::vector<std::string>&,
                                                       std::string&);
  std::map<std::string, std::vector<std::string>> values_;
  std::vector<std::string> positional_;
  bool help_ = false;
};

// Reads "--name value", "--name=value" and "--flag", anywhere on the line;
// "-h" and "--help" ask for help; "--" ends the options. Everything that is
// not an option is positional. On a usage error returns nullopt with the
// reason in `error`: a missing or unwanted value first, then the unknown
// options, then an option given twice that may be given once.
std::optional<CliArguments> ParseCliArguments(const CliCommand& command,
                                              const std::vector<std::string>& args,
                                              std::string& error);

// The usage line, the description and the options, laid out for a terminal.
std::string CliHelpText(const CliCommand& command);

}  // namespace quorvella
