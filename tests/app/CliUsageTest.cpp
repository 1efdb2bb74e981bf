// SPDX-License-Identifier: MIT
// quorvella-cli's help and usage errors, for every command.
#include <gtest/gtest.h>

#include "app/CliFixture.h"

namespace quorvella::test {
namespace {

using CliUsageTest = CliTest;

TEST_F(CliUsageTest, EveryCommandHasHelp) {
  // The last: help wins over everything else on the line, and reads nothing.
  const std::vector<std::vector<std::string>> cases = {
      {"--help"}, {"-h"}, {"publish", "-h"}, {"registry", "--help"}, {"registry", "export", "--help"},
      {"publish", "--all", "--playlist", "x", "--help"}};
  for (const auto& args : cases) {
    const ProcessResult result = Run(args);
    EXPECT_EQ(result.exitCode, 0) << args.front();
    EXPECT_TRUE(result.out.starts_with("Usage: quorvella-cli") && Contains(result.out, "--help") && result.err.empty())
        << result.out;
  }
}

TEST_F(CliUsageTest, UsageErrorsExitWithTwoAndPointToTheHelp) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {  // the first line on stderr
      {{}, "quorvella-cli: no command given"},
      {{"frobnicate"}, "quorvella-cli: unknown command: frobnicate"},
      {{"--library"}, "quorvella-cli: Missing value after '--library'."},
      {{"--colour", "list"}, "quorvella-cli: Unknown option 'colour'."},
      {{"list", "extra"}, "quorvella-cli list: unexpected argument: extra"},
      {{"publish", "--all=yes"}, "quorvella-cli publish: Unexpected value after '--all'."},
      // A missing or unwanted value is told before unknown options.
      {{"publish", "--bogus", "--playlist"}, "quorvella-cli publish: Missing value after '--playlist'."},
      {{"publish", "--bogus", "-hx", "--nope"}, "quorvella-cli publish: Unknown options: bogus, x, nope."},
      {{"publish", "-h=x"}, "quorvella-cli publish: Unexpected value after '-h'."},
      {{"publish", "--all", "--all"}, "quorvella-cli publish: --all is given more than once"},
      {{"list", "--", "--help"}, "quorvella-cli list: unexpected argument: --help"},
      {{"publish", "--all", "--playlist", "x"}, "quorvella-cli publish: --all and --playlist cannot be combined"},
      {{"options", "--mode", "fast"}, "quorvella-cli options: --mode takes standard or enhanced"},
      {{"options", "--encoding", "latin1"}, "quorvella-cli options: --encoding takes ansi or utf-8"},
      {{"options", "--delete-empty", "maybe"}, "quorvella-cli options: --delete-empty takes yes or no"},
      {{"options", "--check", "ogg", "--uncheck", "OGG"}, "quorvella-cli options: --check and --uncheck both name \"ogg\""},
      {{"tivo", "now"}, "quorvella-cli tivo: unexpected argument: now"},
      {{"registry"}, "quorvella-cli registry: import or export must follow registry"},
      {{"registry", "import"}, "quorvella-cli registry import: no .reg file given"},
      {{"registry", "export", "HKEY_USERS\\S-1-5-18"},
       "quorvella-cli registry export: \"HKEY_USERS\\S-1-5-18\" is not a registry key: it begins "
       "with HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or HKEY_CLASSES_ROOT and a backslash"},
  };
  for (const auto& [args, error] : cases) {
    const ProcessResult result = Run(args);
    EXPECT_EQ(result.exitCode, 2) << error;
    EXPECT_EQ(result.out, "");
    // The second line points to the help of the command that refused.
    EXPECT_EQ(result.err, error + "\nRun '" + error.substr(0, error.find(':')) + " --help' for its usage.\n");
  }
  // A usage error stores nothing.
  EXPECT_FALSE(OptionsStored());
}

}  // namespace
}  // namespace quorvella::test
