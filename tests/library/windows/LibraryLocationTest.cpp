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
  MemoryRegistry store;
  RegUtil reg{store};
  const std::string music = MusicFolder();
  const Environment env = [](const char* name) {
    return std::string_view(name) == "USERPROFILE" ? std::string("C:\\Users\\u\\") : std::string();
  };
  std::vector<std::string> expected = {
      "D:\\given.xml", "C:\\Users\\u\\Music\\iTunes\\iTunes Library.xml",
      "C:\\Users\\u\\Music\\iTunes\\iTunes Music Library.xml",
      music + "\\iTunes\\iTunes Library.xml", music + "\\iTunes\\iTunes Music Library.xml"};
  EXPECT_EQ(ITunesLibraryCandidates("D:\\given.xml", reg, env), expected);
}

TEST(WindowsLibraryLocation, OpensTheOlderNameWhenTheNewerIsNoFile) {
  testing::TempDir dir;
  const std::string home = dir.Path().string() + "\\Prófile";
  testing::WriteFile(dir.File("Prófile\\Music\\iTunes\\iTunes Music Library.xml"),
                     testing::LibraryXml("", ""));
  MemoryRegistry store;
  RegUtil reg{store};
  const Environment env = [&home](const char* name) {
    return std::string_view(name) == "USERPROFILE" ? home : std::string();
  };
  EXPECT_EQ(OpenITunesLibrary("", reg, env)->Path(),
            home + "\\Music\\iTunes\\iTunes Music Library.xml");
}

}  // namespace
}  // namespace quorvella
