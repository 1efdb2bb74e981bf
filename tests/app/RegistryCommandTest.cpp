// SPDX-License-Identifier: MIT
// quorvella-cli registry import and export, and what the imported entries
// change in the rest of the program.
#include <gtest/gtest.h>

#include "app/CliFixture.h"

namespace quorvella::test {
namespace {

namespace fs = std::filesystem;

class RegistryCommandTest : public CliTest {
 protected:
  fs::path RegistryFile() const { return config_ / "Quorvella" / "registry.reg"; }
  const std::string fixture_ = std::string(QUORVELLA_TEST_DATA) + "/reg/handwritten-utf16.reg";
};

TEST_F(RegistryCommandTest, ImportedEntriesAreWhatTivoAndOptionsRead) {
  ProcessResult result = Run({"registry", "import", fixture_});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(
      result.out,
      "Imported " + fixture_ + " into " + RegistryFile().string() +
          ":\n"
          "  deleted HKEY_CURRENT_USER\\Software\\Old\n"
          "  deleted value \"stale\" of "
          "HKEY_CURRENT_USER\\Software\\TiVo\\Desktop\\Modules\\UniversalAudio.dll\\Config\n"
          "  HKEY_CURRENT_USER\\Software\\Brenlow Software\\Quorvella: 4 values\n"
          "  HKEY_CURRENT_USER\\Software\\TiVo\\Desktop: 7 values\n"
          "  HKEY_CURRENT_USER\\Software\\TiVo\\Desktop\\Modules\\UniversalAudio.dll\\Config: 1 "
          "value\n"
          "3 keys, 12 values, 2 deletions.\n");
  EXPECT_EQ(result.err, "");

  // Where the plug-in's installer put its configuration program.
  const fs::path install = root_ / "Universal Audio";
  fs::create_directories(install);
  WriteFile("Universal Audio/TDUAP.exe", "");
  const std::string plugin = WriteFile(
      "plugin.reg",
      "Windows Registry Editor Version 5.00\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tivo Desktop "
      "Universal Audio Plug-in_is1]\r\n\"InstallLocation\"=\"" +
          install.string() + "\"\r\n");
  result = Run({"registry", "import", plugin});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(result.out.ends_with("\n1 key, 1 value.\n")) << result.out;

  // How the entries are read is the TiVo layer's rule; tivo shows them.
  result = Run({"tivo"});
  for (const std::string line :
       {"TiVo Desktop version:          2.8.3\nRelease value:                 2 (after 2.3)\n"
        "TiVo Desktop 2.3 or later:     yes\n",
        "Playlist folder:               D:\\Musik\\Wiedergabelisten für TiVo\n",
        "Plug-in configured:            yes\n"}) {
    EXPECT_TRUE(Contains(result.out, line)) << line << result.out;
  }
  EXPECT_TRUE(Contains(result.out, "Plug-in configuration program: " +
                                       (install / "TDUAP.exe").string() + " (the file exists)\n"))
      << result.out;

  // The plug-in's extra file types join the catalogue. The imported mode is
  // a number, and only the text "True" turns an option on.
  result = Run({"options"});
  EXPECT_TRUE(Contains(result.out, "Delete empty output:  no\nPublishing mode:      standard\n"))
      << result.out;
  EXPECT_TRUE(Contains(result.out,
                       "  [x] flac   FLAC (Free Lossless Audio Codec) files\n"
                       "  [x] ape    Monkey's Audio files\n"))
      << result.out;
}

TEST_F(RegistryCommandTest, ImportRefusesWhatItCannotRead) {
  const std::string broken =
      WriteFile("broken.reg",
                "Windows Registry Editor Version 5.00\n\n"
                "[HKEY_CURRENT_USER\\Software\\TiVo\\Desktop\n\"Version\"=\"2.8\"\n");
  const std::string missing = (root_ / "missing.reg").string();
  struct Case {
    std::string file;
    std::string error;
  };
  const Case cases[] = {
      {missing, "The file \"" + missing + "\" cannot be read: No such file or directory."},
      {root_.string(), "The file \"" + root_.string() + "\" cannot be read: it is not a file."},
      {broken, "The file \"" + broken + "\" is not a registry file that can be imported: line 3: "},
  };
  for (const auto& c : cases) {
    const ProcessResult result = Run({"registry", "import", c.file});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind("quorvella-cli: " + c.error, 0), 0u) << result.err;
  }
  EXPECT_FALSE(fs::exists(RegistryFile()));
}

TEST_F(RegistryCommandTest, ExportIsUtf8TextThatImportsAgain) {
  ASSERT_EQ(Run({"registry", "import", fixture_}).exitCode, 0);
  ProcessResult result = Run({"registry", "export"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::string text = result.out;
  EXPECT_TRUE(
      text.starts_with("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software]\n"))
      << text;
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_TRUE(Contains(text, "\"PlaylistFolder\"=\"D:\\\\Musik\\\\Wiedergabelisten für TiVo\"\n"))
      << text;

  // --utf16 gives exactly the bytes of the store itself.
  result = Run({"registry", "export", "--utf16"});
  EXPECT_EQ(result.out, ReadBytes(RegistryFile()));

  // One key, with what lies below it (which keys an export holds is the
  // store's rule).
  result = Run({"registry", "export", "HKCU\\Software\\TiVo\\Desktop\\"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(
      result.out.starts_with("Windows Registry Editor Version 5.00\n\n"
                             "[HKEY_CURRENT_USER\\Software\\TiVo\\Desktop]\n"))
      << result.out;
  result = Run({"registry", "export", "HKEY_CURRENT_USER\\Software\\Nothing"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err,
            "quorvella-cli: The key \"HKEY_CURRENT_USER\\Software\\Nothing\" is not in the "
            "registry store \"" +
                RegistryFile().string() + "\".\n");

  // The export, imported into an empty store, exports the same again.
  const std::string exported = WriteFile("exported.reg", text);
  config_ = root_ / "other-config";
  result = Run({"registry", "import", exported});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(Run({"registry", "export"}).out, text);
}

}  // namespace
}  // namespace quorvella::test
