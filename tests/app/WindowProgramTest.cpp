// SPDX-License-Identifier: MIT
// The window program's own command line, run as a child process: what a
// terminal and the menu entry see before any window opens.
#include <gtest/gtest.h>

#include "app/CliFixture.h"

namespace quorvella::test {
namespace {

using WindowProgramTest = CliTest;

TEST_F(WindowProgramTest, VersionHelpAndUsageErrors) {
  // platform: none, no display at all; out: what standard output begins
  // with; err: what standard error holds.
  struct Case { std::vector<std::string> args; const char* platform; int exitCode; std::string out, err; };
  const std::string hint = "Run 'quorvella --help' for its usage.\n";
  const Case cases[] = {
      {{"--version"}, nullptr, 0, "quorvella 1.3\n", ""},
      {{"--help"}, nullptr, 0, "Usage: quorvella [FILE]\n", ""},
      {{"-h"}, nullptr, 0, "Usage: quorvella [FILE]\n", ""},
      {{"a.xml", "b.xml"}, "offscreen", 2, "", "quorvella: only one library file can be opened\n" + hint},
      {{"--colour"}, "offscreen", 2, "", "quorvella: Unknown option 'colour'.\n" + hint},
  };
  for (const auto& c : cases) {
    std::map<std::string, std::string> env{
        {"HOME", home_.string()}, {"XDG_CONFIG_HOME", config_.string()}, {"XDG_RUNTIME_DIR", root_.string()}};
    if (c.platform != nullptr) env["QT_QPA_PLATFORM"] = c.platform;
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
      if (const char* value = std::getenv(name)) env[name] = value;
    const ProcessResult result = RunProcess(QUORVELLA_WINDOW, c.args, env);
    EXPECT_EQ(result.exitCode, c.exitCode) << c.args.front() << "\n" << result.err;
    EXPECT_TRUE(result.out.starts_with(c.out) && Contains(result.err, c.err)) << result.out << result.err;
  }
}

}  // namespace
}  // namespace quorvella::test
