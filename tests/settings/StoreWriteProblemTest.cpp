// SPDX-License-Identifier: MIT
// Why the registry store cannot be written, looked at on the real file
// system: the answer names the folder at fault and changes nothing.
#include "settings/StoreWriteProblem.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace quorvella {
namespace {

namespace fs = std::filesystem;

TEST(StoreWriteProblem, NamesTheFolderAtFaultAndChangesNothing) {
  testing::TempDir dir;
  const std::string root = dir.Path().string();
  fs::create_directories(root + "/config/Quorvella");
  testing::WriteBytes(root + "/file", "not a folder");  // stops even root
  std::string notAFolder = "\"";  // appended: GCC 12 warns falsely (-Wrestrict) on "\"" + ...
  notAFolder += root + "/file\" is not a folder";
  const std::pair<std::string, std::string> cases[] = {
      {root + "/config/Quorvella/registry.reg", ""},
      {root + "/new/config/Quorvella/registry.reg", ""},  // the first write makes the folders
      {root + "/file/Quorvella/registry.reg", notAFolder},
      {root + "/file/registry.reg", notAFolder},
      {"", "there is no home folder to keep them in"},
  };
  for (const auto& [path, problem] : cases) EXPECT_EQ(StoreWriteProblem(path), problem) << path;
  EXPECT_FALSE(fs::exists(root + "/new"));

  if (::geteuid() == 0) return;  // root writes in any folder
  // The missing folders would be made in the home folder, which refuses;
  // its existing .config folder is still writable.
  fs::create_directories(root + "/home/.config");
  fs::permissions(root + "/home", fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(StoreWriteProblem(root + "/home/.cache/Quorvella/registry.reg"),
            "the folder \"" + root + "/home\" cannot be written (Permission denied)");
  EXPECT_EQ(StoreWriteProblem(root + "/home/.config/Quorvella/registry.reg"), "");
  fs::permissions(root + "/home", fs::perms::owner_all);
}

}  // namespace
}  // namespace quorvella
