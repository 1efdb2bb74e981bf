// SPDX-License-Identifier: MIT
// The trash on the real file system, in folders of the test's own. Each move
// runs in a child process with its own HOME, data folder and current folder:
// the trash reads the user's folders once per process, and nothing here may
// reach the user's own trash.
#include "platform/Trash.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace quorvella {
namespace {

namespace fs = std::filesystem;

constexpr const char* kContent = "#EXTM3U\r\n";

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& e : fs::directory_iterator(folder, error)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class TrashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"home", "cwd", "lists"}) fs::create_directories(Path(name));
  }

  fs::path Path(const std::string& relative) const { return dir_.Path() / relative; }

  std::string MakePlaylist() const {
    testing::WriteBytes(Path("lists/Mix.m3u"), kContent);
    return Path("lists/Mix.m3u").string();
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
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_LT(WEXITSTATUS(status), 100) << "the child could not be set up";
    return static_cast<TrashResult>(WEXITSTATUS(status));
  }

  // The file is where it was, as it was, and no trace of it is left in the
  // current folder (where a trash that lost its way would put it).
  void ExpectUntouched(const std::string& path) const {
    EXPECT_EQ(testing::ReadBytes(path), kContent);
    EXPECT_TRUE(Names(Path("cwd")).empty());
  }

  testing::TempDir dir_;
};

TEST_F(TrashTest, FindsTheTrashWhereverTheDataFolderIs) {
  const struct {
    const char* name;
    std::optional<std::string> dataHome;
    const char* trash;
  } cases[] = {
      {"data folder", Path("data").string(), "data/Trash/files"},
      // Qt 6.4 lost files here: a missing data folder is created first.
      {"missing data folder", Path("new/data").string(), "new/data/Trash/files"},
      {"no XDG_DATA_HOME", std::nullopt, "home/.local/share/Trash/files"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string playlist = MakePlaylist();
    EXPECT_EQ(Trash(playlist, c.dataHome), TrashResult::Moved);
    EXPECT_FALSE(fs::exists(playlist));
    EXPECT_EQ(testing::ReadBytes(Path(c.trash) / "Mix.m3u"), kContent);
    // With what restores it.
    const std::string info = testing::ReadBytes(Path(c.trash) / "../info/Mix.m3u.trashinfo");
    EXPECT_EQ(info.rfind("[Trash Info]\n", 0), 0u) << info;
    EXPECT_NE(info.find("\nPath=" + playlist + "\n"), std::string::npos) << info;
    EXPECT_TRUE(Names(Path("cwd")).empty());
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
  for (int i = 0; i < 4; ++i) {
    contents.push_back(std::to_string(i));
    testing::WriteBytes(Path("lists") / name, contents.back());
    ASSERT_EQ(Trash(Path("lists/" + name).string(), Path("data").string()), TrashResult::Moved);
  }
  EXPECT_EQ(testing::ReadBytes(Path("data/Trash/files") / name), "kept");
  const std::string place = "\nPath=" + Path("lists").string() + "/%231%20Hit%2090%E2%80%99s.m3u\n";
  std::vector<std::string> restored;
  for (const auto& file : Names(Path("data/Trash/info"))) {
    const std::string info = testing::ReadBytes(Path("data/Trash/info") / file);
    EXPECT_EQ(info.rfind("[Trash Info]\n", 0), 0u) << info;
    EXPECT_NE(info.find(place), std::string::npos) << info;
    EXPECT_NE(info.find("\nDeletionDate=20"), std::string::npos) << info;
    const std::string trashed = file.substr(0, file.size() - std::string(".trashinfo").size());
    restored.push_back(testing::ReadBytes(Path("data/Trash/files") / trashed));
  }
  std::sort(restored.begin(), restored.end());
  EXPECT_EQ(restored, contents);
}

// Where the trash cannot take the file, it stays where it was, as it was,
// with no note of it left behind.
TEST_F(TrashTest, LeavesTheFileWhenTheTrashCannotTakeIt) {
  // A file stands where the data folder would be created.
  testing::WriteBytes(Path("blocker"), "x");
  const std::string playlist = MakePlaylist();
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
  EXPECT_TRUE(Names(Path("data/Trash/info")).empty());
  EXPECT_TRUE(Names(Path("data/Trash/files")).empty());
}

TEST_F(TrashTest, AFileOnAnotherMountNeverGoesToTheHomeTrash) {
  // /dev/shm is a mount of its own on Linux.
  struct stat home {}, shm {};
  if (stat(Path("home").c_str(), &home) != 0 || stat("/dev/shm", &shm) != 0 ||
      home.st_dev == shm.st_dev || access("/dev/shm", W_OK) != 0) {
    GTEST_SKIP() << "no writable folder on another mount";
  }
  char pattern[] = "/dev/shm/quorvella-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path folder = pattern;
  const std::string playlist = (folder / "Mix.m3u").string();
  testing::WriteBytes(playlist, kContent);

  const TrashResult result = Trash(playlist, Path("data").string());
  // Either the mount's own trash takes it (moved, never copied), or it stays.
  EXPECT_TRUE(Names(Path("data/Trash/files")).empty());
  if (result == TrashResult::Moved) {
    const fs::path trashed = fs::path("/dev/shm/.Trash-" + std::to_string(getuid())) / "files";
    EXPECT_FALSE(fs::exists(playlist));
    EXPECT_TRUE(fs::exists(trashed / "Mix.m3u"));
    fs::remove(trashed / "Mix.m3u");
    fs::remove(trashed.parent_path() / "info/Mix.m3u.trashinfo");
  } else {
    EXPECT_EQ(result, TrashResult::Failed);
    ExpectUntouched(playlist);
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace quorvella
