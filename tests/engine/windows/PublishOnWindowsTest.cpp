// SPDX-License-Identifier: MIT
// A library of iTunes for Windows, with C:\ locations, published into a
// folder on C: through the real file system: the playlist holds "..\" paths
// in the code page, and the next publish sends the old file to the Recycle
// Bin and writes it afresh.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "engine/ClsPlaylistWriter.h"
#include "library/xml/LibraryTestFiles.h"
#include "library/xml/XmlITunes.h"
#include "platform/LocalFileSystem.h"
#include "settings/MemoryRegistry.h"
#include "settings/RegistryKeys.h"
#include "settings/Settings.h"

namespace quorvella {
namespace {

struct NoPump final : EventPump {
  void DoEvents() override {}
};

// "C:\a b\ā" as iTunes for Windows writes it: file://localhost/C:/a%20b/%C4%81.
std::string FileUrl(const std::string& path) {
  std::string url = "file://localhost/";
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      url += '/';
    } else if (byte >= 0x80 || c == ' ' || c == '%') {
      static const char kHex[] = "0123456789ABCDEF";
      url += '%';
      url += kHex[byte >> 4];
      url += kHex[byte & 15];
    } else {
      url += c;
    }
  }
  return url;
}

TEST(PublishOnWindows, CDriveLocationsBecomeRelativePathsWithBackslashes) {
  testing::TempDir dir;
  ASSERT_EQ(dir.Path().string().substr(1, 2), ":\\");
  const std::vector<std::string> songs = {dir.File("Music\\Ünïcode ā\\01 Song.mp3"),
                                          dir.File("Music\\Other\\02 Song.mp3")};
  std::string tracks;
  for (std::size_t i = 0; i < songs.size(); ++i) {
    testing::WriteFile(songs[i], "ID3");
    tracks += testing::TrackXml(static_cast<int>(i) + 1,
                                "<key>Name</key><string>Song</string><key>Kind</key><string>MPEG "
                                "audio file</string><key>Location</key><string>" +
                                    FileUrl(songs[i]) + "</string>");
  }
  const std::string library = dir.File("iTunes Library.xml");
  testing::WriteFile(library,
                     testing::LibraryXml(tracks,
                                         "<dict><key>Name</key><string>Mix</string><key>Playlist "
                                         "ID</key><integer>9</integer><key>Playlist Items</key>"
                                         "<array><dict><key>Track ID</key><integer>1</integer>"
                                         "</dict><dict><key>Track ID</key><integer>2</integer>"
                                         "</dict></array></dict>"));
  const std::string folder = dir.File("Playlists") + "\\";
  std::filesystem::create_directory(NativePath(folder));

  MemoryRegistry store;
  RegUtil reg{store};
  reg.RegSetString(Hive::CurrentUser, SettingsKey, "DeleteEmptyOutput", "False");
  Settings settings{reg};
  settings.LoadSettings();
  LocalFileSystem files{1252};
  NoPump pump;
  XmlITunes iTunes(library);
  const auto mix = iTunes.LibrarySource()->Playlists()->Item(0);
  ASSERT_EQ(mix->Name(), "Mix");

  for (int pass = 0; pass < 2; ++pass) {
    PublishStats stats;
    ClsPlaylistWriter writer(settings, files, pump, stats, folder);
    EXPECT_EQ(writer.WritePlaylist(*mix), 2);
    EXPECT_EQ(writer.OutputPath(), folder + "Mix.m3u");
  }
  const std::string text = testing::ReadBytes(NativePath(folder + "Mix.m3u"));
  EXPECT_TRUE(text.starts_with("#EXTM3U\r\n")) << text;
  // "ā" has the code page's best fit, "Ü" and "ï" are in it.
  EXPECT_NE(text.find("\r\n..\\Music\\\xDCn\xEF"
                      "code a\\01 Song.mp3\r\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("\r\n..\\Music\\Other\\02 Song.mp3\r\n"), std::string::npos) << text;
  // The first file went to the Recycle Bin; only the new one is left.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(NativePath(folder)), {}), 1);
}

}  // namespace
}  // namespace quorvella
