// SPDX-License-Identifier: MIT
// The trash on the real file system, in folders of the test's own. Each move
// runs in a child process with its own HOME, data folder and current folder:
// the trash reads the user's folders once per process, and nothing here may
// reach the user's own trash.
#include "platform/Trash.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <optional>

#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace quorvella {
namespace {

namespace fs = std::filesystem;
using testing::FileNames;
using testing::ReadBytes;

constexpr const char* kContent = "#EXTM3U\r\n";

class TrashTest : public ::testing::Test {
 protected:
  fs::path Path(const std::string& relative) const { return dir_.Path() / relative; }

  std::string MakePlaylist(const fs::path& path, const char* content = kContent) const {
    testing::WriteBytes(path, content);
    fs::create_directories(Path("home"));
    fs::create_directories(Path("cwd"));
    return path.string();
  }

  // Moves the file to the trash in a child process whose environment holds
  // HOME and the given XDG_DATA_HOME (unset when nullopt), run as `user`
  // when given.
  TrashResult Trash(const std::string& path, const std::optional<std::string>& dataHome,
                    std::optional<uid_t> user = std::nullopt) const {
    const pid_t child = fork();
    if (child == 0) {
      setenv("HOME", Path("home").c_str(), 1);
      dataHome ? setenv("XDG_DATA_HOME", dataHome->c_str(), 1) : unsetenv("XDG_DATA_HOME");
      if (chdir(Path("cwd").c_str()) != 0) _exit(100);
      if (user && (setgid(*user) != 0 || setuid(*user) != 0)) _exit(101);
      _exit(static_cast<int>(TrashFile(path)));
    }
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) < 100) << "the child could not be set up";
    return static_cast<TrashResult>(WEXITSTATUS(status));
  }

  // The file is where it was, as it was, and no trace of it is left in the
  // current folder (where a trash that lost its way would put it).
  void ExpectUntouched(const std::string& path) const {
    EXPECT_EQ(ReadBytes(path), kContent);
    EXPECT_TRUE(FileNames(Path("cwd")).empty());
  }

  testing::TempDir dir_;
};

TEST_F(TrashTest, FindsTheTrashWhereverTheDataFolderIs) {
  // Qt 6.4 lost files in a missing data folder: it is created first. An
  // existing one is the next test's.
  const std::pair<std::optional<std::string>, const char*> cases[] = {
      {Path("new/data").string(), "new/data/Trash"}, {std::nullopt, "home/.local/share/Trash"}};
  for (const auto& [dataHome, trash] : cases) {
    SCOPED_TRACE(trash);
    const std::string playlist = MakePlaylist(Path("lists/Mix.m3u"));
    EXPECT_EQ(Trash(playlist, dataHome), TrashResult::Moved);
    EXPECT_FALSE(fs::exists(playlist));
    EXPECT_EQ(ReadBytes(Path(trash) / "files/Mix.m3u"), kContent);
    EXPECT_TRUE(fs::exists(Path(trash) / "info/Mix.m3u.trashinfo")) << "with what restores it";
    EXPECT_TRUE(FileNames(Path("cwd")).empty());
  }
}

// Each file of one name gets a name of its own in the trash, and its
// information file (under the same name) holds its place, escaped as an
// address, so that a file manager can put it back. A file in the trash
// without its information file (a half-finished move of another program) is
// never overwritten.
TEST_F(TrashTest, EveryFileOfOneNameCanBeRestored) {
  const std::string name = "#1 Hit 90\u2019s.m3u";
  testing::WriteBytes(Path("data/Trash/files") / name, "kept");
  std::vector<std::string> contents;
  for (const char* content : {"0", "1", "2", "3"}) {
    contents.push_back(content);
    ASSERT_EQ(Trash(MakePlaylist(Path("lists") / name, content), Path("data").string()),
              TrashResult::Moved);
  }
  EXPECT_EQ(ReadBytes(Path("data/Trash/files") / name), "kept");
  const std::string place = "\nPath=" + Path("lists").string() + "/%231%20Hit%2090%E2%80%99s.m3u\n";
  std::vector<std::string> restored;
  for (const auto& file : FileNames(Path("data/Trash/info"))) {
    const std::string info = ReadBytes(Path("data/Trash/info") / file);
    EXPECT_EQ(info.rfind("[Trash Info]\n", 0), 0u) << info;
    EXPECT_NE(info.find(place), std::string::npos) << info;
    EXPECT_NE(info.find("\nDeletionDate=20"), std::string::npos) << info;
    restored.push_back(ReadBytes(Path("data/Trash/files") / fs::path(file).stem()));
  }
  std::sort(restored.begin(), restored.end());
  EXPECT_EQ(restored, contents);
}

// Where the trash cannot take the file, it stays where it was, as it was,
// with no note of it left behind.
TEST_F(TrashTest, LeavesTheFileWhenTheTrashCannotTakeIt) {
  testing::WriteBytes(Path("blocker"), "x");  // where the data folder would be created
  const std::string playlist = MakePlaylist(Path("lists/Mix.m3u"));
  EXPECT_EQ(Trash(playlist, Path("blocker/data").string()), TrashResult::Failed);
  ExpectUntouched(playlist);

  fs::create_directories(Path("data/Trash/files"));
  fs::create_directories(Path("data/Trash/info"));
  fs::permissions(Path("data/Trash/files"), fs::perms::owner_read | fs::perms::owner_exec);
  // Permissions bind everyone but root: as root, the move runs as nobody,
  // who owns the test's files.
  std::optional<uid_t> user;
  if (geteuid() == 0) {
    user = 65534;
    fs::permissions(dir_.Path(), fs::perms::owner_all | fs::perms::group_exec |
                                     fs::perms::others_exec);
    for (const auto& entry : fs::recursive_directory_iterator(dir_.Path())) {
      ASSERT_EQ(lchown(entry.path().c_str(), *user, *user), 0) << entry.path();
    }
  }
  EXPECT_EQ(Trash(playlist, Path("data").string(), user), TrashResult::Failed);
  ExpectUntouched(playlist);
  EXPECT_TRUE(FileNames(Path("data/Trash/info")).empty());
  EXPECT_TRUE(FileNames(Path("data/Trash/files")).empty());
}

}  // namespace
}  // namespace quorvella
