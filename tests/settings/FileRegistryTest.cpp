// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "settings/RegSamples.h"
#include "settings/FileRegistry.h"
#include "settings/RegUtil.h"
#include "settings/RegistryKeys.h"
#include "settings/Settings.h"
#include "support/EnvironmentVariable.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace quorvella {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kKey = "Software\\Test";

using testing::ReadBytes;
using testing::WriteBytes;

// Files in the folder whose names start with the store's file name and then
// the given marker.
std::vector<fs::path> FilesBeside(const fs::path& store, std::string_view marker) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::directory_iterator(store.parent_path())) {
    if (entry.path().filename().string().rfind(store.filename().string() + std::string(marker),
                                               0) == 0) {
      found.push_back(entry.path());
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

// Runs body in a child process and returns its exit status.
template <typename F>
pid_t Spawn(F body) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(body());
  return pid;
}

int ExitCode(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class FileRegistryTest : public ::testing::Test {
 protected:
  testing::TempDir dir;
  fs::path folder = dir.Path();
  fs::path path = folder / "Quorvella" / "registry.reg";
};

TEST_F(FileRegistryTest, AFileWrittenByTheStoreReadsBackEveryTypeUnchanged) {
  {
    FileRegistry writer(path.string());
    for (const auto& [name, value] : test::EveryKindOfValue()) {
      ASSERT_TRUE(writer.SetValue(Hive::CurrentUser, kKey, name, value)) << name;
    }
  }
  EXPECT_EQ(ReadBytes(path).substr(0, 2), "\xFF\xFE");
  FileRegistry reader(path.string());
  for (const auto& [name, value] : test::EveryKindOfValue()) {
    EXPECT_EQ(reader.QueryValue(Hive::CurrentUser, kKey, name), value) << name;
  }
}

TEST_F(FileRegistryTest, AReaderSeesWhatAnotherStoreWroteSince) {
  FileRegistry reader(path.string());
  FileRegistry writer(path.string());
  EXPECT_FALSE(reader.QueryValue(Hive::CurrentUser, kKey, "A"));
  for (std::uint32_t i = 0; i < 3; ++i) {
    ASSERT_TRUE(writer.SetValue(Hive::CurrentUser, kKey, "A", RegValue::Dword(i)));
    EXPECT_EQ(reader.QueryValue(Hive::CurrentUser, kKey, "A"), RegValue::Dword(i));
  }
}

TEST_F(FileRegistryTest, TwoProcessesWritingAtOnceBothKeepAllTheirValues) {
  constexpr int kWrites = 40;
  std::vector<pid_t> children;
  for (const char* who : {"a", "b"}) {
    children.push_back(Spawn([&] {
      FileRegistry store(path.string());
      int failed = 0;
      for (int i = 0; i < kWrites; ++i) {
        failed += !store.SetValue(Hive::CurrentUser, kKey, who + std::to_string(i),
                                  RegValue::Dword(static_cast<std::uint32_t>(i)));
      }
      return failed == 0 ? 0 : 1;
    }));
  }
  for (const pid_t child : children) EXPECT_EQ(ExitCode(child), 0);

  FileRegistry store(path.string());
  for (const char* who : {"a", "b"}) {
    for (int i = 0; i < kWrites; ++i) {
      EXPECT_EQ(store.QueryValue(Hive::CurrentUser, kKey, who + std::to_string(i)),
                RegValue::Dword(static_cast<std::uint32_t>(i)))
          << who << i;
    }
  }
  EXPECT_TRUE(FilesBeside(path, ".tmp-").empty());
}

TEST_F(FileRegistryTest, AWriteThatDiesBeforeReplacingTheFileLeavesTheOldOneIntact) {
  FileRegistry store(path.string());
  ASSERT_TRUE(store.SetValue(Hive::CurrentUser, kKey, "Old", RegValue::String("kept")));
  const std::string before = ReadBytes(path);

  const pid_t child = Spawn([&] {
    FileRegistry dying(path.string());
    dying.SetBeforeReplaceHookForTesting([] { ::_exit(3); });
    dying.SetValue(Hive::CurrentUser, kKey, "New", RegValue::String("lost"));
    return 0;
  });
  ASSERT_EQ(ExitCode(child), 3);
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(FilesBeside(path, ".tmp-").size(), 1u) << "the dead writer's temporary file";

  FileRegistry next(path.string());
  EXPECT_EQ(next.QueryValue(Hive::CurrentUser, kKey, "Old"), RegValue::String("kept"));
  EXPECT_FALSE(next.QueryValue(Hive::CurrentUser, kKey, "New"));
  ASSERT_TRUE(next.SetValue(Hive::CurrentUser, kKey, "Later", RegValue::String("x")));
  EXPECT_TRUE(FilesBeside(path, ".tmp-").empty()) << "leftovers are cleared under the lock";
  EXPECT_EQ(next.QueryValue(Hive::CurrentUser, kKey, "Old"), RegValue::String("kept"));
}

TEST_F(FileRegistryTest, ADamagedFileIsKeptAsideAndTheProgramRunsOnDefaults) {
  // The first lines are fine; one bad line makes the whole file untrustworthy.
  const std::string damaged =
      "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Brenlow "
      "Software\\Quorvella]\n\"DeleteEmptyOutput\"=\"False\"\n\"PlaylistFolder\"=\"/music\n";
  WriteBytes(path, damaged);

  FileRegistry store(path.string());
  std::vector<std::string> told;
  store.SetDamageHandler([&](const std::string& damage) { told.push_back(damage); });
  const RegUtil reg(store);
  Settings settings(reg);
  settings.LoadSettings();
  EXPECT_TRUE(settings.GetDeleteEmptyOutput());
  EXPECT_EQ(settings.GetPlaylistFolder(), "");
  EXPECT_EQ(ReadBytes(path), damaged) << "reading changes nothing";
  EXPECT_TRUE(FilesBeside(path, ".damaged-").empty());
  const std::optional<std::string> damage = store.Damage();
  ASSERT_TRUE(damage);
  EXPECT_TRUE(damage->starts_with("line 5: ")) << *damage;
  EXPECT_EQ(told, std::vector<std::string>{*damage}) << "told once for all the reads";

  settings.SetPlaylistFolder("/lists");
  EXPECT_EQ(store.Damage(), std::nullopt) << "the new file is sound";
  const auto kept = FilesBeside(path, ".damaged-");
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].string(), store.DamagedCopy());
  EXPECT_EQ(ReadBytes(kept[0]), damaged);
  FileRegistry fresh(path.string());
  EXPECT_EQ(RegUtil(fresh).RegGetString(Hive::CurrentUser, SettingsKey, "PlaylistFolder"),
            "/lists");
  EXPECT_FALSE(fresh.QueryValue(Hive::CurrentUser, SettingsKey, "DeleteEmptyOutput"));

  // Damaged again within the same second: the first copy stays as it was.
  WriteBytes(path, "garbage");
  ASSERT_TRUE(store.SetValue(Hive::CurrentUser, kKey, "A", RegValue::Dword(1)));
  const auto both = FilesBeside(path, ".damaged-");
  ASSERT_EQ(both.size(), 2u);
  EXPECT_EQ(ReadBytes(kept[0]), damaged);
  EXPECT_EQ(ReadBytes(store.DamagedCopy()), "garbage");
}

TEST_F(FileRegistryTest, ImportCarriesOutDeletionsAndKeepsEverythingElse) {
  FileRegistry store(path.string());
  store.SetValue(Hive::CurrentUser, "Software\\A", "x", RegValue::String("1"));
  store.SetValue(Hive::CurrentUser, "Software\\A", "y", RegValue::String("2"));
  store.SetValue(Hive::CurrentUser, "Software\\A\\Sub", "z", RegValue::String("3"));
  store.SetValue(Hive::CurrentUser, "Software\\B", "keep", RegValue::String("4"));

  const auto document = ParseRegFile(
      "Windows Registry Editor Version 5.00\n"
      "[-HKEY_CURRENT_USER\\Software\\A\\Sub]\n"
      "[HKEY_CURRENT_USER\\Software\\A]\n\"x\"=-\n\"new\"=dword:00000005\n");
  ASSERT_FALSE(document.error);
  ASSERT_TRUE(store.Import(document.document));

  FileRegistry fresh(path.string());
  EXPECT_FALSE(fresh.KeyExists(Hive::CurrentUser, "Software\\A\\Sub"));
  EXPECT_FALSE(fresh.QueryValue(Hive::CurrentUser, "Software\\A", "x"));
  EXPECT_EQ(fresh.QueryValue(Hive::CurrentUser, "Software\\A", "y"), RegValue::String("2"));
  EXPECT_EQ(fresh.QueryValue(Hive::CurrentUser, "Software\\A", "new"), RegValue::Dword(5));
  EXPECT_EQ(fresh.QueryValue(Hive::CurrentUser, "Software\\B", "keep"), RegValue::String("4"));

  const auto exported = fresh.Export(Hive::CurrentUser, "Software\\B");
  ASSERT_TRUE(exported);
  RegTree onlyB;
  onlyB.SetValue(Hive::CurrentUser, "Software\\B", "keep", RegValue::String("4"));
  EXPECT_EQ(ParseRegFile(*exported).document.tree, onlyB);
  EXPECT_EQ(fresh.Export(), ReadBytes(path));
}

TEST_F(FileRegistryTest, WritesThatCannotBeMadeReturnFalseAndChangeNothing) {
  // A file where the folder should be: the folder cannot be created.
  WriteBytes(folder / "Quorvella", "in the way");
  FileRegistry blocked(path.string());
  EXPECT_FALSE(blocked.SetValue(Hive::CurrentUser, kKey, "A", RegValue::Dword(1)));
  EXPECT_FALSE(blocked.QueryValue(Hive::CurrentUser, kKey, "A"));
  EXPECT_FALSE(FileRegistry("").SetValue(Hive::CurrentUser, kKey, "A", RegValue::Dword(1)));

  // Names that would not survive the file, and text that is not UTF-8.
  FileRegistry store((folder / "other.reg").string());
  EXPECT_FALSE(store.SetValue(Hive::CurrentUser, kKey, "two\nlines", RegValue::Dword(1)));
  EXPECT_FALSE(store.SetValue(Hive::CurrentUser, "Key\r\n", "A", RegValue::Dword(1)));
  std::string deep = "k";
  for (int i = 0; i < 512; ++i) deep += "\\k";
  EXPECT_FALSE(store.SetValue(Hive::CurrentUser, deep, "A", RegValue::Dword(1)));
  EXPECT_FALSE(store.SetValue(Hive::CurrentUser, kKey, "A", RegValue::String("caf\xE9")));
  EXPECT_FALSE(fs::exists(folder / "other.reg"));
}

TEST_F(FileRegistryTest, AWriteThatRunsOutOfRoomFailsAndLeavesTheOldFile) {
  // A limit on the size of a file stands for a full disk.
  FileRegistry store(path.string());
  ASSERT_TRUE(store.SetValue(Hive::CurrentUser, kKey, "Old", RegValue::Dword(1)));
  const std::string before = ReadBytes(path);
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 4096;
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written =
      store.SetValue(Hive::CurrentUser, kKey, "Big", RegValue::String(std::string(8000, 'x')));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(written);
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_TRUE(FilesBeside(path, ".tmp-").empty());
}

TEST(DefaultRegistryPath, FollowsXdgConfigHomeAndFallsBackToHome) {
  const testing::ScopedEnvironmentVariable home("HOME", "/home/u");
  testing::ScopedEnvironmentVariable config("XDG_CONFIG_HOME", "/cfg");
  EXPECT_EQ(DefaultRegistryPath(), "/cfg/Quorvella/registry.reg");
  config.Set("relative/cfg");
  EXPECT_EQ(DefaultRegistryPath(), "/home/u/.config/Quorvella/registry.reg");
  config.Set(nullptr);
  EXPECT_EQ(DefaultRegistryPath(), "/home/u/.config/Quorvella/registry.reg");
}

}  // namespace
}  // namespace quorvella
