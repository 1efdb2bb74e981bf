// SPDX-License-Identifier: MIT
// Where the library is looked for on Windows: the profile's Music folder and
// the Music folder the shell reports, each with the newer and the older name.
#include <gtest/gtest.h>

#include "library/xml/LibraryLocation.h"
#include "library/xml/LibraryTestFiles.h"
#include "settings/MemoryRegistry.h"

namespace quorvella {
namespace {

TEST(WindowsLibraryLocation, TheProfilesAndTheShellsMusicFoldersWithBothNames) {
  testing::TempDir dir;
  const std::string home = dir.Path().string() + "\\Prófile";
  const std::string music = MusicFolder();
  MemoryRegistry store;
  RegUtil reg{store};
  const Environment env = [&home](const char* name) {
    return std::string_view(name) == "USERPROFILE" ? home + "\\" : std::string();
  };
  EXPECT_EQ(ITunesLibraryCandidates("D:\\given.xml", reg, env),
            (std::vector<std::string>{
                "D:\\given.xml", home + "\\Music\\iTunes\\iTunes Library.xml",
                home + "\\Music\\iTunes\\iTunes Music Library.xml",
                music + "\\iTunes\\iTunes Library.xml",
                music + "\\iTunes\\iTunes Music Library.xml"}));

  // The older name is opened when the newer is no file.
  testing::WriteFile(home + "\\Music\\iTunes\\iTunes Music Library.xml",
                     testing::LibraryXml("", ""));
  EXPECT_EQ(OpenITunesLibrary("", reg, env)->Path(),
            home + "\\Music\\iTunes\\iTunes Music Library.xml");
}

}  // namespace
}  // namespace quorvella
