// SPDX-License-Identifier: MIT
// quorvella-cli registry import and export, and what the imported entries
// change in the rest of the program.
#include <gtest/gtest.h>

#include "app/CliFixture.h"

namespace quorvella::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class RegistryCommandTest : public CliTest {
 protected:
  const std::string fixture_ = Str(std::string(QUORVELLA_TEST_DATA) + "/reg/handwritten-utf16.reg");
  std::string into_, notIn_;  // where the entries go, as the program names it
  void SetUp() override {
    CliTest::SetUp();
    into_ = kWindows ? "the registry" : Str(config_ / "Quorvella" / "registry.reg");
    notIn_ = kWindows ? "registry." : "registry store \"" + into_ + "\".";
  }
};

TEST_F(RegistryCommandTest, ImportedEntriesAreWhatTivoAndOptionsRead) {
  ProcessResult result = Run({"registry", "import", fixture_});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string tivo = "HKEY_CURRENT_USER\\Software\\TiVo\\Desktop";
  EXPECT_EQ(result.out + result.err,
            "Imported " + fixture_ + " into " + into_ +
                ":\n  deleted HKEY_CURRENT_USER\\Software\\Old\n"
                "  deleted value \"stale\" of " +
                tivo +
                "\\Modules\\UniversalAudio.dll\\Config\n"
                "  HKEY_CURRENT_USER\\Software\\Brenlow Software\\Quorvella: 4 values\n  " +
                tivo + ": 7 values\n  " + tivo +
                "\\Modules\\UniversalAudio.dll\\Config: 1 value\n3 keys, 12 values, 2 deletions.\n");

  // Where the plug-in's installer put its configuration program.
  const fs::path install = root_ / "Universal Audio";
  WriteFile("Universal Audio/TDUAP.exe", "");
  result = Run({"registry", "import",
                WriteFile("plugin.reg",
                          "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\"
                          "CurrentVersion\\Uninstall\\Tivo Desktop Universal Audio Plug-in_is1]"
                          "\r\n\"InstallLocation\"=\"" +
                              Str(install) + "\"\r\n")});
  EXPECT_TRUE(result.out.ends_with("\n1 key, 1 value.\n")) << result.out << result.err;

  // How the entries are read is the TiVo layer's and the settings' rule;
  // tivo and options show them. The plug-in's extra file types join the
  // catalogue.
  const std::string shown = Run({"tivo"}).out + Run({"options"}).out;
  const std::vector<std::string> parts = {
      "TiVo Desktop version:          2.8.3\nRelease value:                 2 (after 2.3)\nTiVo Desktop 2.3 or later:  "
      "   yes\n",
      "Playlist folder:               D:\\Musik\\Wiedergabelisten für TiVo\n",
      "Plug-in configuration program: " + Str(install / "TDUAP.exe") +
          " (the file exists)\nPlug-in configured:            yes\n",
      "  [x] flac   FLAC (Free Lossless Audio Codec) files\n  [x] ape    Monkey's Audio files\n"};
  for (const std::string& part : parts) EXPECT_TRUE(Contains(shown, part)) << part << shown;
}

TEST_F(RegistryCommandTest, ImportRefusesWhatItCannotRead) {
  const std::string broken = WriteFile(
      "broken.reg", "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\TiVo\n\"V\"=\"2\"\n");
  const std::string missing = Str(root_ / "missing.reg"), error = "quorvella-cli: The file \"";
  ExpectRuns({{{"registry", "import", missing}, 1, error + missing + "\" cannot be read: "},  // in the system's words
              {{"registry", "import", Str(root_)}, 1, error + Str(root_) + "\" cannot be read: it is not a file."},
              {{"registry", "import", broken},
               1,
               error + broken + "\" is not a registry file that can be imported: line 3: "}});
  EXPECT_FALSE(OptionsStored());
}

TEST_F(RegistryCommandTest, ExportIsTextOrRegeditsBytesOfAllOrOneKey) {
  ASSERT_EQ(Run({"registry", "import", fixture_}).exitCode, 0);
  const std::string text = Run({"registry", "export"}).out;
  EXPECT_TRUE(text.starts_with("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software")) << text;
  EXPECT_TRUE(!Contains(text, "\r") &&
              Contains(text, "\"PlaylistFolder\"=\"D:\\\\Musik\\\\Wiedergabelisten für TiVo\"\n"))
      << text;
  // --utf16: with a byte order mark, CR LF line ends and nothing else.
  const std::string utf16 = Run({"registry", "export", "--utf16"}).out;
  EXPECT_TRUE(utf16.starts_with("\xFF\xFEW\0i\0n\0"s) && Contains(utf16, "]\0\r\0\n\0"s) && !Contains(utf16, "\r\0\r"s))
      << utf16;
  // One key, with what lies below it (which keys an export holds is the
  // store's rule).
  EXPECT_TRUE(
      Run({"registry", "export", "HKCU\\Software\\TiVo\\Desktop\\"})
          .out.starts_with("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\TiVo\\Desktop]\n"));
  ExpectRuns({{{"registry", "export", "HKEY_CURRENT_USER\\Software\\Nothing"}, 1,
               "quorvella-cli: The key \"HKEY_CURRENT_USER\\Software\\Nothing\" is not in the " + notIn_ + "\n"}});
}

}  // namespace
}  // namespace quorvella::test
