// SPDX-License-Identifier: MIT
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "LnkBuilder.h"
#include "support/EnvironmentVariable.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "settings/MemoryRegistry.h"
#include "tivo/PublishedFolders.h"

namespace quorvella {
namespace {

namespace fs = std::filesystem;
using namespace quorvella::test;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A temporary data folder stands in for the user's; the music folders lie
// beside it.
class PublishedFoldersTest : public ::testing::Test {
 protected:
  std::string Folder(const std::string& name) {
    fs::create_directories(root / name);
    return Utf8Path(root / name);
  }
  void Write(const fs::path& path, const Bytes& bytes) {
    testing::WriteBytes(path, {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
  }
  void Shortcut(const std::string& name, const std::string& target) {
    Write(shortcuts / name, Lnk(kLinkInfo, {LocalInfo(target)}));
  }

  std::vector<std::string> Published() { return GetPublishedMusicFolders(reg, noPyTivo); }
  bool Published(const std::string& folder) { return IsFolderPublished(folder, reg, noPyTivo); }

#ifdef _WIN32
  static constexpr const char* kDataVariable = "LOCALAPPDATA";
#else
  static constexpr const char* kDataVariable = "XDG_DATA_HOME";
#endif
  testing::TempDir dir;
  fs::path root = dir.Path();
  fs::path shortcuts = root / "data" / "TiVo Desktop" / "Music";
  testing::ScopedEnvironmentVariable xdg{kDataVariable, Utf8Path(root / "data").c_str()};
  MemoryRegistry store;
  RegUtil reg{store};
  // No pyTivo runs, and none is installed.
  PyTivoPlaces noPyTivo{"/nonexistent/proc", "/nonexistent/pyTivo.conf", 0};
};

TEST_F(PublishedFoldersTest, ListsExistingFolderTargetsInNameOrder) {
  EXPECT_THAT(Published(), IsEmpty()) << "no shortcut folder";
  Write(shortcuts, {'x'});  // a file of that name
  EXPECT_THAT(Published(), IsEmpty());
  fs::remove(shortcuts);
  const std::string rock = Folder("Rock"), jazz = Folder("Jazz music"), gone = Folder("Gone");
  Shortcut("b.lnk", "  " + rock + " ");
  fs::create_directory_symlink(jazz, shortcuts / "a");
  Shortcut("c.LNK", jazz);  // a second shortcut to one folder
  Shortcut("d.lnk", gone);
  fs::remove(gone);
  Shortcut("e.lnk", "D:\\Music");  // cannot exist here
  Shortcut("f.lnk", "");
  Write(shortcuts / "g.lnk", {'n', 'o'});
  Write(shortcuts / "h.txt", Lnk(kLinkInfo, {LocalInfo(rock)}));
  Shortcut("sub/i.lnk", rock);  // sub-folders are not descended into
  fs::create_symlink(root / "missing", shortcuts / "j");
  Write(root / "a.mp3", {'x'});
  fs::create_symlink(root / "a.mp3", shortcuts / "k");
  fs::create_directory_symlink(fs::path("..") / ".." / ".." / "Rock", shortcuts / "l");

  EXPECT_THAT(Published(), ElementsAre(jazz, rock, jazz, rock));
  // What the tivo command says of each item.
  using O = ShortcutOutcome;
  const std::vector<std::pair<std::string, ShortcutOutcome>> outcomes = {
      {"a", O::Published},      {"b.lnk", O::Published},         {"c.LNK", O::Published},
      {"d.lnk", O::TargetMissing}, {"e.lnk", O::WindowsTarget}, {"f.lnk", O::NoTarget},
      {"g.lnk", O::Damaged},    {"h.txt", O::NotAShortcut},      {"j", O::TargetMissing},
      {"k", O::NotAFolder},     {"l", O::Published},             {"sub", O::NotAShortcut}};
  const auto items = ReadShortcutFolderItems(shortcuts);
  std::vector<std::pair<std::string, ShortcutOutcome>> read;
  for (const auto& item : items) read.emplace_back(item.fileName, item.outcome);
  EXPECT_EQ(read, outcomes);
  EXPECT_EQ(items[4].target, "D:\\Music");
  EXPECT_TRUE(Published(rock + "/Live"));
  EXPECT_FALSE(Published(" ")) << "no folder chosen";
  // Nothing is kept between calls.
  fs::remove(shortcuts / "a");
  fs::remove(shortcuts / "c.LNK");
  EXPECT_FALSE(Published(jazz));
}

TEST(IsFolderPublishedTest, ComparesTextBelowEachPublishedFolder) {
  const std::vector<std::string> published = {"D:\\Music", "E:\\", "\\\\nas\\Songs\\", "/srv/Music",
                                              "F:\\M\xC3\x9ASICA"};
  const std::pair<const char*, bool> cases[] = {
      {"D:\\Music", true}, {"d:\\music\\", true}, {"  D:\\Music\\Rock  ", true},
      {"D:\\MUSIC\\Rock\\Live", true}, {"D:\\Musical", false}, {"D:\\", false}, {"", false},
      {"   ", false}, {"e:\\Any\\Folder", true}, {"\\\\NAS\\songs\\Pop", true},
      {"\\\\nas\\Songsters", false}, {"f:\\m\xC3\xBAsica\\rock", true},
      // POSIX paths keep their case, and never lie below a Windows path.
      {"/srv/Music/Rock", true}, {"/srv/music", false}, {"/srv/Musical", false}, {"/E:\\", false},
  };
  for (const auto& [folder, isPublished] : cases) {
    EXPECT_EQ(IsFolderPublished(folder, published), isPublished) << folder;
  }
  EXPECT_FALSE(IsFolderPublished("D:\\Music", {"/"}));
}

}  // namespace
}  // namespace quorvella
