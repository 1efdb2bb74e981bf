// SPDX-License-Identifier: MIT
// quorvella-cli when its configuration folder cannot be written: the commands
// that must store something say why and fail; the others work as before.
#include <gtest/gtest.h>

#include <fstream>

#include "app/CliFixture.h"

namespace quorvella::test {
namespace {

class UnwritableOptionsTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    // A file where the configuration folder should be: no user, not even
    // root, can create the store below it.
    std::filesystem::remove_all(config_);
    std::ofstream(config_) << "not a folder";
  }
  std::string Problem() const {
    std::string problem = "\"";  // appended: GCC 12 warns falsely (-Wrestrict) on "\"" + ...
    problem += config_.string();
    problem += "\" is not a folder.";
    return problem;
  }
  std::string Store() const { return (config_ / "Quorvella" / "registry.reg").string(); }
};

TEST_F(UnwritableOptionsTest, CommandsThatStoreSayWhyAndFail) {
  const std::string reg = WriteFile(
      "tivo.reg",
      "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\TiVo\\Desktop]\r\n\"Version\"=\"2.3.1\"\r\n");
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const Case cases[] = {
      {{"options", "--delete-empty", "no"},
       "The options could not be stored in \"" + Store() + "\": " + Problem()},
      {{"registry", "import", reg},
       "The registry store \"" + Store() + "\" could not be written: " + Problem()},
  };
  for (const auto& c : cases) {
    const ProcessResult result = Run(c.args);
    EXPECT_EQ(result.exitCode, 1) << c.args.front();
    EXPECT_TRUE(Contains(result.err, c.error)) << result.err;
    EXPECT_EQ(result.out, "") << c.args.front();
  }
}

TEST_F(UnwritableOptionsTest, CommandsThatOnlyReadWork) {
  MakeLibrary(3, 40, 3, 5);
  const ProcessResult list = Run({"--library", libraryPath_, "list"});
  EXPECT_EQ(list.exitCode, 0) << list.err;
  EXPECT_FALSE(list.out.empty());
  const ProcessResult options = Run({"options"});
  EXPECT_EQ(options.exitCode, 0) << options.err;
  EXPECT_TRUE(Contains(options.out, "Delete empty output:  yes")) << options.out;
}

}  // namespace
}  // namespace quorvella::test
