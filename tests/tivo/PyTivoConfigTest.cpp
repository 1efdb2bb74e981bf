// SPDX-License-Identifier: MIT
// pyTivo's configuration on real files in a temporary folder, with a process
// table of its own standing in for /proc.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "settings/MemoryRegistry.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "tivo/PublishedFolders.h"
#include "tivo/PyTivoConfig.h"

namespace quorvella {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class PyTivoConfigTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(places.procRoot); }

  std::string Write(const fs::path& relative, const std::string& text) {
    testing::WriteBytes(root / relative, text);
    return Utf8Path(root / relative);
  }
  std::string Folder(const fs::path& relative) {
    fs::create_directories(root / relative);
    return Utf8Path(root / relative);
  }
  // A process of the fake process table, standing in cwd (none: unknown).
  void Process(int pid, const std::vector<std::string>& argv, const fs::path& cwd = {}) {
    std::string cmdline;
    for (const auto& arg : argv) cmdline += arg + '\0';
    Write(fs::path("proc") / std::to_string(pid) / "cmdline", cmdline);
    if (!cwd.empty()) fs::create_directory_symlink(cwd, places.procRoot / std::to_string(pid) / "cwd");
  }
  PyTivoConfig Read() { return ReadPyTivoConfig(reg, places); }
  // Each problem as "file:line:text".
  static std::vector<std::string> Problems(const PyTivoConfig& config) {
    std::vector<std::string> out;
    for (const auto& p : config.problems) {
      out.push_back(p.file + ":" + std::to_string(p.line) + ":" + p.text);
    }
    return out;
  }

  testing::TempDir dir;
  fs::path root = dir.Path();
  PyTivoPlaces places{root / "proc", root / "etc" / "pyTivo.conf", CurrentProcessUser()};
  MemoryRegistry store;
  RegUtil reg{store};
};

// A running pyTivo is found through /proc, which Windows has not.
#ifndef _WIN32
TEST_F(PyTivoConfigTest, SearchOrderIsSettingThenRunningPyTivoThenTheSystemFile) {
  // Source (None 0, Setting 1, Process 2, System 3), process and files found.
  const auto found = [&] {
    const PyTivoConfigFiles files = FindPyTivoConfig(reg, places);
    std::string text = std::to_string(static_cast<int>(files.source));
    text.append(" ").append(std::to_string(files.pid));
    for (const auto& file : files.files) text.append(" ").append(file);
    return text;
  };
  const std::string etc = places.systemConfig.string();
  EXPECT_EQ(found(), "0 0");
  Write("etc/pyTivo.conf", "[Server]\n");
  EXPECT_EQ(found(), "3 0 " + etc);
  // A service of another user.
  Process(20, {"/usr/bin/python3", "/usr/share/pyTivo/pyTivo.py", "-c", "/srv/pytivo.conf"});
  Process(15, {"python3", "/home/u/other.py", "-c", "/nope.conf"});  // not pyTivo
  const bool chowned = ::chown((places.procRoot / "20").c_str(), 4242, 4242) == 0;
  EXPECT_EQ(found(), "2 20 /srv/pytivo.conf");
  // One of the current user's, run from its own folder, wins over the
  // service even with a higher number.
  const std::string checkout = Folder("home/pyTivo");
  Process(30, {"python3", "pyTivo.py"}, checkout);
  if (chowned) {
    EXPECT_EQ(found(), "2 30 " + etc + " " + checkout + "/pyTivo.conf");
  }
  SetPyTivoConfigSetting(reg, "  /mine/pyTivo.conf ");
  EXPECT_EQ(found(), "1 0 /mine/pyTivo.conf");
  SetPyTivoConfigSetting(reg, "");
  EXPECT_EQ(found()[0], '2');
}
#endif

TEST(PyTivoCommandLineTest, FilesFollowPyTivosOptions) {
  using Files = std::optional<std::vector<std::string>>;
  const std::string etc = "/etc/pyTivo.conf";
  const struct { std::vector<std::string> argv; const char* cwd; Files files; } cases[] = {
      {{"python3", "/opt/pyTivo/pyTivo.py"}, "", Files({etc, "/opt/pyTivo/pyTivo.conf"})},
      {{"/usr/bin/python3.11", "-u", "pyTivo.py"}, "/home/u/pt",
       Files({etc, "/home/u/pt/pyTivo.conf"})},
      // Where a relative script lies cannot be told without the folder.
      {{"python3", "pyTivo.py"}, "", Files({etc})},
      {{"python3", "/p/pyTivo.py", "-c", "/e/x.conf"}, "", Files({"/e/x.conf"})},
      {{"python3", "/p/pyTivo.py", "-c/e/x.conf"}, "", Files({"/e/x.conf"})},
      {{"python3", "/p/pyTivo.py", "--config=/e/x.conf"}, "", Files({"/e/x.conf"})},
      {{"python3", "/p/pyTivo.py", "--conf", "rel.conf"}, "/w", Files({"/w/rel.conf"})},
      {{"python3", "/p/pyTivo.py", "-c", "/a", "-e", "/b"}, "", Files({"/a", "/b"})},
      {{"python3", "/p/pyTivo.py", "-e", "/b"}, "", Files({etc, "/p/pyTivo.conf", "/b"})},
      // Options end at the first argument that is none, and at "--".
      {{"python3", "/p/pyTivo.py", "run", "-c", "/a"}, "", Files({etc, "/p/pyTivo.conf"})},
      {{"python3", "/p/pyTivo.py", "--", "-c", "/a"}, "", Files({etc, "/p/pyTivo.conf"})},
      {{"/opt/pyTivo/pyTivo.py", "-c", "/a"}, "", Files({"/a"})},
      {{"vim", "pyTivo.py"}, "", std::nullopt},
      {{"python3", "/p/notpyTivo.py"}, "", std::nullopt},
      {{"python3", "/p/pyTivo.pyc"}, "", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PyTivoCommandLineConfigFiles(c.argv, c.cwd, etc), c.files)
        << c.argv.back() << " in " << c.cwd;
  }
  // Without a system-wide file, as on Windows, only the one beside the script.
  EXPECT_EQ(PyTivoCommandLineConfigFiles({"python3", "/p/pyTivo.py"}, "", {}),
            Files({"/p/pyTivo.conf"}));
}

TEST_F(PyTivoConfigTest, SectionsThatAreMusicSharesAndWhatTheyPublish) {
  const std::string music = Folder("Music"), jazz = Folder("Jazz"), classical = Folder("Classical");
  const std::string file = Write("song.mp3", "");
  Folder("Music/Rock");
  SetPyTivoConfigSetting(reg, Write("pyTivo.conf",
      "[DEFAULT]\npath = " + classical + "\n[Server]\ntype = music\npath = " + music + "\n"
      "[Music]\nTYPE = music\nPath: " + music + "/Rock/../\n"
      "[Videos]\ntype = video\npath = " + jazz + "\n[Caps]\ntype = Music\npath = " + jazz + "\n"
      "[music]\ntype = music\npath = " + jazz + "\n[Classical]\ntype = music\n"
      "[Empty]\ntype = music\npath =\n[Relative]\ntype = music\npath = Music\n"
      "[Gone]\ntype = music\npath = " + root.string() + "/gone\n"
      "[File]\ntype = music\npath = " + file + "\n[_tivo_SD]\ntype = music\npath = " + jazz + "\n"
      "[_tivo_0123456789]\nshares = Music,\n   Gone , ,music\n[_tivo_HD]\nshares =\n"));
  const PyTivoConfig config = Read();
  EXPECT_THAT(config.problems, IsEmpty());
  std::vector<std::string> read;  // shares as name:state:folder, then the TiVos' shares
  for (const auto& s : config.musicShares) {
    read.push_back(s.name + ":" + std::to_string(static_cast<int>(s.state)) + ":" + s.folder);
  }
  for (const auto& t : config.tivos) read.push_back(t.section + ::testing::PrintToString(t.shares));
  // Published 0, NoPath 1, RelativePath 2, Missing 3, NotAFolder 4.
  EXPECT_THAT(read, ElementsAre("Music:0:" + music, "music:0:" + jazz, "Classical:0:" + classical,
                                "Empty:1:", "Relative:2:", "Gone:3:", "File:4:",
                                "_tivo_0123456789{ \"Music\", \"Gone\", \"music\" }", "_tivo_HD{}"));
  EXPECT_THAT(config.PublishedFolders(), ElementsAre(music, jazz, classical));
}

TEST_F(PyTivoConfigTest, LaterFilesWinAndDamagedLinesLeaveTheRestCounting) {
  const std::string a = Folder("a"), b = Folder("b"), c = Folder("c");
  Write("etc/pyTivo.conf",
        "[Music]\ntype = music\npath = " + a + "\n[Old]\ntype = music\npath = " + c + "\n");
  const std::string checkout = Folder("pt");
  // The reader's rules for damaged lines are its own; one shows the wiring.
  Write("pt/pyTivo.conf", "[Server]\nport 9032\n[Music]\npath = " + b + "\n");
  Process(7, {"python3", checkout + "/pyTivo.py"});
  const PyTivoConfig config = Read();
  const std::string file = checkout + "/pyTivo.conf";
  EXPECT_THAT(config.filesRead, ElementsAre(places.systemConfig.string(), file));
  EXPECT_THAT(Problems(config), ElementsAre(file + ":2:port 9032"));
  EXPECT_THAT(config.PublishedFolders(), ElementsAre(b, c));
}

TEST_F(PyTivoConfigTest, OnlyAFileTheUserNamedIsReportedUnreadable) {
  // pyTivo itself passes over a missing file.
  Process(7, {"python3", "/p/pyTivo.py", "-c", (root / "missing.conf").string()});
  const PyTivoConfig config = Read();
  EXPECT_EQ(config.found.source, PyTivoConfigSource::Process);
  EXPECT_THAT(config.filesRead, IsEmpty());
  EXPECT_THAT(config.problems, IsEmpty());
  for (const auto& [file, reason] :
       {std::pair{(root / "missing.conf").string(), "No such file or directory"},
        {Folder("a-folder"), "it is a folder"}}) {
    SetPyTivoConfigSetting(reg, file);
    EXPECT_THAT(Problems(Read()), ElementsAre(file + ":0:" + reason));
  }
}

// Which folders lie below the shares is the published-folder rule's; here
// the shares reach it, and the outer of two nested shares holds a folder.
TEST_F(PyTivoConfigTest, FolderCheckWithAShare) {
  const std::string sep(1, static_cast<char>(fs::path::preferred_separator));
  const std::string music = Folder("Music"), top = Utf8Path(root);
  const std::string rock = music + sep + "Lists" + sep + "Rock";
  Folder("Music/Lists/Rock");
  SetPyTivoConfigSetting(reg, Write("pyTivo.conf", "[Songs]\ntype = music\npath = " + music + sep +
                                                       "\n[Lists]\ntype = music\npath = " + music +
                                                       sep + "Lists\n"));
  EXPECT_TRUE(IsFolderPublished(rock, reg, places));
  const PyTivoConfig config = Read();
  ASSERT_NE(config.ShareHolding(rock), nullptr);
  EXPECT_EQ(config.ShareHolding(rock)->name, "Songs");
  EXPECT_EQ(config.ShareHolding(top + sep + "Musical"), nullptr);
}

}  // namespace
}  // namespace quorvella
