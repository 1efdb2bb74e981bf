// SPDX-License-Identifier: MIT
#include "settings/FileRegistry.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "settings/RegSamples.h"
#include "settings/RegUtil.h"
#include "settings/RegistryKeys.h"
#include "settings/Settings.h"
#include "support/EnvironmentVariable.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace quorvella {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::WriteBytes;

constexpr std::string_view kKey = "Software\\Test";
const auto Dword = RegValue::Dword;
RegValue String(std::string_view text) { return RegValue::String(text); }

// Files beside the store whose names are the store's and then the marker.
std::vector<fs::path> FilesBeside(const fs::path& store, const std::string& marker) {
  std::vector<fs::path> found;
  for (const auto& name : testing::FileNames(store.parent_path())) {
    if (name.starts_with(store.filename().string() + marker)) found.push_back(store.parent_path() / name);
  }
  return found;
}

// Runs body in a child process; ExitCode waits for its exit status.
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

// Every value goes through the file and back unchanged, also on the hive
// itself and below a key whose name holds the file's own punctuation.
TEST_F(FileRegistryTest, AReaderSeesEveryKindOfValueAnotherStoreWroteSince) {
  FileRegistry reader(path.string());
  FileRegistry writer(path.string());
  EXPECT_FALSE(reader.QueryValue(Hive::CurrentUser, kKey, "Plain"));
  EXPECT_FALSE(reader.KeyExists(Hive::CurrentUser, kKey));
  for (const auto& [name, value] : test::EveryKindOfValue()) {
    for (const auto& [hive, key] : {std::pair{Hive::CurrentUser, std::string(kKey)},
                                    {Hive::LocalMachine, ""},
                                    {Hive::ClassesRoot, ".m3u\\Key ] with [ odd \"names\" "}}) {
      ASSERT_TRUE(writer.SetValue(hive, key, name, value)) << name;
      EXPECT_EQ(reader.QueryValue(hive, key, name), value) << name;
    }
  }
  EXPECT_TRUE(reader.KeyExists(Hive::CurrentUser, kKey));
  EXPECT_EQ(ReadBytes(path).substr(0, 2), "\xFF\xFE");
}

// A writer that dies before replacing the file leaves the old one intact
// and its temporary file, which the next writers clear under the lock; two
// processes writing at once both keep all their values.
TEST_F(FileRegistryTest, NoWriterLosesAnotherWritersValues) {
  FileRegistry store(path.string());
  ASSERT_TRUE(store.SetValue(Hive::CurrentUser, kKey, "Old", String("kept")));
  const std::string before = ReadBytes(path);
  ASSERT_EQ(ExitCode(Spawn([&] {
              FileRegistry dying(path.string());
              dying.SetBeforeReplaceHookForTesting([] { ::_exit(3); });
              dying.SetValue(Hive::CurrentUser, kKey, "New", String("lost"));
              return 0;
            })), 3);
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(FilesBeside(path, ".tmp-").size(), 1u) << "the dead writer's temporary file";

  constexpr int kWrites = 40;
  std::vector<pid_t> children;
  for (const char* who : {"a", "b"}) {
    children.push_back(Spawn([&] {
      FileRegistry writer(path.string());
      bool failed = false;
      for (std::uint32_t i = 0; i < kWrites; ++i) {
        failed |= !writer.SetValue(Hive::CurrentUser, kKey, who + std::to_string(i), Dword(i));
      }
      return failed ? 1 : 0;
    }));
  }
  for (const pid_t child : children) EXPECT_EQ(ExitCode(child), 0);
  for (const char* who : {"a", "b"}) {
    for (std::uint32_t i = 0; i < kWrites; ++i) {
      EXPECT_EQ(store.QueryValue(Hive::CurrentUser, kKey, who + std::to_string(i)), Dword(i))
          << who << i;
    }
  }
  EXPECT_TRUE(FilesBeside(path, ".tmp-").empty());
  EXPECT_FALSE(store.QueryValue(Hive::CurrentUser, kKey, "New"));
  EXPECT_EQ(store.QueryValue(Hive::CurrentUser, kKey, "Old"), String("kept"));
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
  ASSERT_EQ(told.size(), 1u) << "told once for all the reads";
  EXPECT_TRUE(told[0].starts_with("line 5: ")) << told[0];
  EXPECT_EQ(store.Damage(), told[0]);
  EXPECT_TRUE(DamagedRegistryText("f", told[0]).starts_with("The settings file \"f\" is damaged (line 5: "));
  testing::ScopedEnvironmentVariable config{"XDG_CONFIG_HOME", "/config"};
  EXPECT_EQ(DefaultRegistryPath(), "/config/Quorvella/registry.reg");

  settings.SetPlaylistFolder("/lists");
  EXPECT_EQ(store.Damage(), std::nullopt) << "the new file is sound";
  const auto kept = FilesBeside(path, ".damaged-");
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].string(), store.DamagedCopy());
  EXPECT_EQ(ReadBytes(kept[0]), damaged);
  FileRegistry fresh(path.string());
  EXPECT_EQ(fresh.QueryValue(Hive::CurrentUser, SettingsKey, "PlaylistFolder"), String("/lists"));
  EXPECT_FALSE(fresh.QueryValue(Hive::CurrentUser, SettingsKey, "DeleteEmptyOutput"));

  // Damaged again within the same second: the first copy stays as it was.
  WriteBytes(path, "garbage");
  ASSERT_TRUE(store.SetValue(Hive::CurrentUser, kKey, "A", Dword(1)));
  EXPECT_EQ(FilesBeside(path, ".damaged-").size(), 2u);
  EXPECT_EQ(ReadBytes(kept[0]), damaged);
  EXPECT_EQ(ReadBytes(store.DamagedCopy()), "garbage");
}

TEST_F(FileRegistryTest, ImportCarriesOutDeletionsAndKeepsEverythingElse) {
  FileRegistry store(path.string());
  for (const char* key : {"Software\\A", "Software\\A\\Sub", "Software\\B"}) {
    for (const char* name : {"x", "y"}) store.SetValue(Hive::CurrentUser, key, name, Dword(1));
  }
  const auto document = ParseRegFile(
      "Windows Registry Editor Version 5.00\n[-HKEY_CURRENT_USER\\Software\\A\\Sub]\n"
      "[HKEY_CURRENT_USER\\Software\\A]\n\"x\"=-\n\"new\"=dword:00000005\n");
  ASSERT_FALSE(document.error);
  ASSERT_TRUE(store.Import(document.document));

  FileRegistry fresh(path.string());
  EXPECT_EQ(ParseRegFile(ReadBytes(path)).document.tree,
            test::Tree({{"Software\\A", "y", Dword(1)}, {"Software\\A", "new", Dword(5)},
                        {"Software\\B", "x", Dword(1)}, {"Software\\B", "y", Dword(1)}}));
  EXPECT_EQ(fresh.Export(), ReadBytes(path));
  EXPECT_TRUE(fresh.Export(Hive::CurrentUser, "Software\\B"));
  EXPECT_FALSE(fresh.Export(Hive::CurrentUser, "Software\\A\\Sub"));
}

TEST_F(FileRegistryTest, WritesThatCannotBeMadeReturnFalseAndChangeNothing) {
  // Names that would not survive the file, and text that is not UTF-8.
  FileRegistry store(path.string());
  ASSERT_TRUE(store.SetValue(Hive::CurrentUser, kKey, "Old", Dword(1)));
  const std::string before = ReadBytes(path);
  std::string deep = "k";
  for (int i = 0; i < 512; ++i) deep += "\\k";
  EXPECT_FALSE(store.SetValue(Hive::CurrentUser, kKey, "two\nlines", Dword(1)));
  EXPECT_FALSE(store.SetValue(Hive::CurrentUser, "Key\r\n", "A", Dword(1)));
  EXPECT_FALSE(store.SetValue(Hive::CurrentUser, deep, "A", Dword(1)));
  EXPECT_FALSE(store.SetValue(Hive::CurrentUser, kKey, "A", String("caf\xE9")));

  // A limit on the size of a file stands for a full disk.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const rlimit small{4096, saved.rlim_max};
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  EXPECT_FALSE(store.SetValue(Hive::CurrentUser, kKey, "Big", String(std::string(8000, 'x'))));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_TRUE(FilesBeside(path, ".tmp-").empty());

  // A file where the folder should be: the folder cannot be created.
  WriteBytes(folder / "Blocked", "in the way");
  FileRegistry blocked((folder / "Blocked" / "registry.reg").string());
  EXPECT_FALSE(blocked.SetValue(Hive::CurrentUser, kKey, "A", Dword(1)));
  EXPECT_FALSE(blocked.QueryValue(Hive::CurrentUser, kKey, "A"));
  EXPECT_FALSE(FileRegistry("").SetValue(Hive::CurrentUser, kKey, "A", Dword(1)));
}

}  // namespace
}  // namespace quorvella
