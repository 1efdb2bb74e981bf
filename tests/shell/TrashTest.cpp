// SPDX-License-Identifier: MIT
#include "shell/Trash.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>


namespace quorvella {
namespace {

TEST(IsInTrashFiles, AcceptsOnlyTheFilesFolderOfATrashCan) {
  const std::pair<const char*, bool> cases[] = {
      {"/home/u/.local/share/Trash/files/a.m3u", true},
      {"/media/disk/.Trash-1000/files/a.m3u", true},
      {"/media/disk/.Trash/1000/files/a.m3u", true},
      {"/media/disk/.Trash-1001/files/a.m3u", false},
      {"/media/disk/.Trash/1001/files/a.m3u", false},
      {"/media/disk/1000/files/a.m3u", false},
      {"./files/a.m3u", false},
      {"files/a.m3u", false},
      {"/home/u/files/a.m3u", false},
      {"/home/u/.local/share/Trash/files", false},
      {"/home/u/.local/share/Trash/files/sub/a.m3u", false},
      {"", false},
  };
  for (const auto& [path, inTrash] : cases) {
    EXPECT_EQ(IsInTrashFiles(path, 1000), inTrash) << path;
  }
}

// Gives each test its own home, data folder and current folder, and puts the
// real ones back afterwards: nothing here may reach the user's own trash.
class TrashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    Save("HOME");
    Save("XDG_DATA_HOME");
    oldCurrent = QDir::currentPath();
    QDir(dir.path()).mkpath("home");
    QDir(dir.path()).mkpath("cwd");
    QDir(dir.path()).mkpath("lists");
    setenv("HOME", Path("home").c_str(), 1);
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(Path("cwd"))));
  }
  void TearDown() override {
    QDir::setCurrent(oldCurrent);
    for (const auto& [name, value] : saved) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }

  void Save(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
  }
  std::string Path(const std::string& relative) const { return root + "/" + relative; }
  std::string MakePlaylist() const {
    const std::string path = Path("lists/Mix.m3u");
    std::ofstream(path) << "#EXTM3U\r\n";
    return path;
  }
  static bool Exists(const std::string& path) { return QFile::exists(QString::fromStdString(path)); }

  QTemporaryDir dir;
  std::string root = dir.path().toStdString();
  QString oldCurrent;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};

TEST_F(TrashTest, MovesIntoAnExistingDataFolder) {
  QDir(QString::fromStdString(root)).mkpath("data");
  setenv("XDG_DATA_HOME", Path("data").c_str(), 1);
  const std::string playlist = MakePlaylist();
  EXPECT_EQ(MoveFileToTrash(playlist), TrashResult::Moved);
  EXPECT_FALSE(Exists(playlist));
  EXPECT_TRUE(Exists(Path("data/Trash/files/Mix.m3u")));
  EXPECT_TRUE(Exists(Path("data/Trash/info/Mix.m3u.trashinfo")));
}

TEST_F(TrashTest, CreatesAMissingDataFolderFirst) {
  setenv("XDG_DATA_HOME", Path("new/data").c_str(), 1);
  const std::string playlist = MakePlaylist();
  EXPECT_EQ(MoveFileToTrash(playlist), TrashResult::Moved);
  EXPECT_FALSE(Exists(playlist));
  EXPECT_TRUE(Exists(Path("new/data/Trash/files/Mix.m3u")));
  EXPECT_FALSE(Exists(Path("cwd/files")));
}

TEST_F(TrashTest, UsesTheHomeDataFolderWhenNoneIsSet) {
  unsetenv("XDG_DATA_HOME");
  const std::string playlist = MakePlaylist();
  EXPECT_EQ(MoveFileToTrash(playlist), TrashResult::Moved);
  EXPECT_TRUE(Exists(Path("home/.local/share/Trash/files/Mix.m3u")));
}

TEST_F(TrashTest, PutsTheFileBackWhenItLandsOutsideATrashCan) {
  // A file where the data folder should be: it cannot be created, and the
  // move goes astray into the current folder.
  std::ofstream(Path("blocker")) << "x";
  setenv("XDG_DATA_HOME", Path("blocker/data").c_str(), 1);
  const std::string playlist = MakePlaylist();
  EXPECT_EQ(MoveFileToTrash(playlist), TrashResult::Failed);
  std::ifstream back(playlist);
  std::string content;
  std::getline(back, content);
  EXPECT_EQ(content, "#EXTM3U\r");
  EXPECT_FALSE(Exists(Path("cwd/files/Mix.m3u")));
  EXPECT_FALSE(Exists(Path("cwd/info/Mix.m3u.trashinfo")));
}

}  // namespace
}  // namespace quorvella
