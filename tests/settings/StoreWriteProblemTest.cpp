// SPDX-License-Identifier: MIT
// Why the registry store cannot be written, looked at on the real file
// system: the answer names the folder at fault and changes nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "settings/StoreWriteProblem.h"
#include "support/TempDir.h"

namespace quorvella {
namespace {

namespace fs = std::filesystem;

class StoreWriteProblemTest : public ::testing::Test {
 protected:
  testing::TempDir dir_;
  fs::path root_ = dir_.Path();
};

TEST_F(StoreWriteProblemTest, NamesTheFolderAtFaultAndChangesNothing) {
  fs::create_directories(root_ / "config" / "Quorvella");
  // A file where a folder should be stops even root.
  std::ofstream(root_ / "file") << "not a folder";
  std::string notAFolder = "\"";  // appended: GCC 12 warns falsely (-Wrestrict) on "\"" + ...
  notAFolder += (root_ / "file").string();
  notAFolder += "\" is not a folder";
  struct Case {
    fs::path path;
    std::string problem;
  };
  const Case cases[] = {
      {root_ / "config" / "Quorvella" / "registry.reg", ""},
      // The first start: the first write makes the folders.
      {root_ / "new" / "config" / "Quorvella" / "registry.reg", ""},
      {root_ / "file" / "Quorvella" / "registry.reg", notAFolder},
      {root_ / "file" / "registry.reg", notAFolder},
      {"", "there is no home folder to keep them in"},
  };
  for (const auto& c : cases) EXPECT_EQ(StoreWriteProblem(c.path.string()), c.problem) << c.path;
  EXPECT_FALSE(fs::exists(root_ / "new"));
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
