// SPDX-License-Identifier: MIT
// Why the registry store cannot be written, looked at on the real file
// system: the answer names the folder at fault and changes nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "settings/StoreWriteProblem.h"

namespace quorvella {
namespace {

namespace fs = std::filesystem;

class StoreWriteProblemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "quorvella-store-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override {
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }
  fs::path root_;
};

TEST_F(StoreWriteProblemTest, WritablePlacesHaveNoProblemAndAreLeftAsTheyWere) {
  fs::create_directories(root_ / "config" / "Quorvella");
  std::ofstream(root_ / "config" / "Quorvella" / "registry.reg") << "REGEDIT4\r\n";
  const std::string cases[] = {
      // The folder and the store exist.
      (root_ / "config" / "Quorvella" / "registry.reg").string(),
      // The first start: the folders are made by the first write.
      (root_ / "new" / "config" / "Quorvella" / "registry.reg").string(),
  };
  for (const auto& path : cases) EXPECT_EQ(StoreWriteProblem(path), "") << path;
  EXPECT_FALSE(fs::exists(root_ / "new"));
}

TEST_F(StoreWriteProblemTest, NamesTheFolderAtFault) {
  // A file where the configuration folder should be stops even root.
  std::ofstream(root_ / "config") << "not a folder";
  struct Case {
    std::string path;
    std::string problem;
  };
  const Case cases[] = {
      {(root_ / "config" / "Quorvella" / "registry.reg").string(),
       "\"" + (root_ / "config").string() + "\" is not a folder"},
      {(root_ / "config" / "registry.reg").string(),
       "\"" + (root_ / "config").string() + "\" is not a folder"},
      {"", "there is no home folder to keep them in"},
  };
  for (const auto& c : cases) EXPECT_EQ(StoreWriteProblem(c.path), c.problem) << c.path;
}

TEST_F(StoreWriteProblemTest, AFolderWithoutWritePermission) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes in any folder";
  fs::create_directories(root_ / "home" / ".config");
  fs::permissions(root_ / "home", fs::perms::owner_read | fs::perms::owner_exec);
  const std::string home = (root_ / "home").string();
  // The missing folders would be made in the home folder, which refuses.
  EXPECT_EQ(StoreWriteProblem(home + "/.cache/Quorvella/registry.reg"),
            "the folder \"" + home + "\" cannot be written (Permission denied)");
  // The existing .config folder is still writable.
  EXPECT_EQ(StoreWriteProblem(home + "/.config/Quorvella/registry.reg"), "");
  fs::permissions(root_ / "home", fs::perms::owner_all);
}

}  // namespace
}  // namespace quorvella
