// SPDX-License-Identifier: MIT
// The window program's command line, as the desktop's menu entry and a
// terminal use it: run as a child process.
#include <gtest/gtest.h>

#include "app/CliFixture.h"

namespace quorvella::test {
namespace {

class WindowProgramTest : public CliTest {
 protected:
  // With no display unless the test gives a platform.
  ProcessResult RunWindow(const std::vector<std::string>& args,
                          std::map<std::string, std::string> env = {}) const {
    env.insert({{"HOME", home_.string()},
                {"XDG_CONFIG_HOME", config_.string()},
                {"XDG_DATA_HOME", data_.string()},
                {"XDG_RUNTIME_DIR", root_.string()},
                {"LC_ALL", "en_US.UTF-8"}});
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
      if (const char* value = std::getenv(name)) env[name] = value;
    }
    ProcessResult result = RunProcess(QUORVELLA_WINDOW, args, env);
    EXPECT_FALSE(result.timedOut) << "quorvella did not finish";
    return result;
  }
};

TEST_F(WindowProgramTest, VersionAndHelpNeedNoDisplay) {
  const ProcessResult version = RunWindow({"--version"});
  EXPECT_EQ(version.exitCode, 0) << version.err;
  EXPECT_EQ(version.out, "quorvella 1.3\n");
  for (const char* help : {"--help", "-h"}) {
    const ProcessResult result = RunWindow({help});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out.rfind("Usage: quorvella [FILE]\n", 0), 0u) << result.out;
  }
}

TEST_F(WindowProgramTest, UsageErrorsExitWithTwo) {
  const std::map<std::string, std::string> offscreen{{"QT_QPA_PLATFORM", "offscreen"}};
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const Case cases[] = {
      {{"a.xml", "b.xml"}, "quorvella: only one library file can be opened\n"},
      {{"--colour"}, "quorvella: Unknown option 'colour'.\n"},
  };
  for (const auto& c : cases) {
    const ProcessResult result = RunWindow(c.args, offscreen);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(Contains(result.err, c.error + "Run 'quorvella --help' for its usage.\n"))
        << result.err;
  }
}

}  // namespace
}  // namespace quorvella::test
