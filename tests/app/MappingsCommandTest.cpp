// SPDX-License-Identifier: MIT
// quorvella-cli mappings, run as a user runs it: a library written on a Mac
// (the real one) or on a Windows PC (generated), whose songs were copied
// under another root of this computer. Which folders are suggested and how
// a location is mapped are the engine's rules; here, that the commands
// carry them through to the files written.
#include <gtest/gtest.h>


#include "app/CliFixture.h"
#include "bench/LibraryXml.h"
#include "library/xml/XmlLibraryReader.h"
#include "platform/Text.h"

namespace quorvella::test {
namespace {

namespace fs = std::filesystem;

const std::string kMacLibrary = Str(std::string(QUORVELLA_TEST_DATA) + "/itunes-xml/mac-itunes-12.6.xml");

// Lays an empty file for every song whose location begins with `from`
// (Windows locations compared without case), under `to`; how many.
int LayCopies(const std::string& libraryFile, const std::string& from, const fs::path& to) {
  PlaylistIds ids;
  int laid = 0;
  const auto library = ReadXmlLibraryFile(libraryFile, ids);
  for (const XmlTrack& track : library->TrackList()) {
    std::string location(track.LocationView());
    if (!track.HasLocation() || LowerAscii(location.substr(0, from.size())) != LowerAscii(from)) continue;
    std::replace(location.begin(), location.end(), '\\', '/');
    testing::WriteBytes(to / NativePath(location.substr(from.size())), "");
    ++laid;
  }
  return laid;
}

using MappingsCommandTest = CliTest;

TEST_F(MappingsCommandTest, AMacLibraryPublishesFromTheFolderSuggestFinds) {
  const fs::path copy = root_ / "nas" / "itunes";
  ASSERT_EQ(LayCopies(kMacLibrary, "/Users/nathan/Music/iTunes/iTunes Media/", copy), 373);
  const std::string copied = Str(copy);

  ProcessResult result = Run({"--library", kMacLibrary, "mappings", "check"});
  EXPECT_EQ(result.out, kMacLibrary +
                            ": 388 tracks with a file\nNot mapped: 388 tracks, 0 found where the library names "
                            "them\nNot mapped and not found, by folder:\n       386  /Users/nathan\n         2  "
                            "/Volumes/data/Music/iTunes\n");
  result = Run({"--library", kMacLibrary, "mappings", "suggest", "--search", Str(home_), "--search",
                Str(copy.parent_path()), "--apply"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(Contains(result.out, "\n/Users/nathan/Music/iTunes/iTunes Media -> " + copied +
                                       ": 40 of 40 sampled tracks found (100 %)\n"))
      << result.out;
  result = Run({"mappings", "check", "--library", kMacLibrary});
  EXPECT_TRUE(Contains(result.out, " -> " + copied + ": 373 tracks mapped, 373 found\n")) << result.out;

  // Its songs are AAC files, which the plug-in's extra types make
  // publishable; the playlist folder is the copy's own root.
  const std::string plugin = WriteFile("plugin.reg",
                                       "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\TiVo\\Desktop\\Modules\\"
                                       "UniversalAudio.dll\\Config]\r\n\"custom\"=\"m4a,m4p,m4v\"\r\n");
  ASSERT_EQ(Run({"registry", "import", plugin}).exitCode, 0);
  ASSERT_EQ(Run({"options", "--playlist-folder", copied, "--mode", "enhanced", "--check", "m4a", "--check", "m4p",
                 "--check", "m4v"})
                .exitCode,
            0);
  result = Run({"--library", kMacLibrary, "publish", "--all"});
  ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
  EXPECT_TRUE(
      Contains(result.out, "Playlists published:\t\t\t4\nEmpty playlists deleted:\t\t3\nTotal songs written:\t\t1\n"))
      << result.out;
  // The one song found is named relative to the folder, in this system's form.
  const std::string song =
      Str("Music/Nina Simone/Four Women_ The Complete Nina Simone On Philips/2-14 Nobody Knows You When "
          "You're Down and Out 1.m4a");
  EXPECT_TRUE(fs::exists(copy / NativePath(song))) << song;
  EXPECT_EQ(ReadBytes(copy / "Jazz.m3u"),
            "#EXTM3U\r\n#EXTINF:158,Nobody Knows You When You're Down and Out\r\n" + song + "\r\n");
}

// A generated Windows library, whose names are mostly not ASCII: suggest
// must find their copies on either system.
TEST_F(MappingsCommandTest, AWindowsLibraryOfNonAsciiNamesFindsItsCopies) {
  const LibraryOptions options{
      .Seed = 5, .Tracks = 120, .Form = UrlForm::Windows, .MusicRoot = R"(C:\Users\Adam\Music\iTunes\iTunes Media)"};
  std::string error;
  ASSERT_TRUE(WriteLibraryXmlFile(GenerateLibrary(options), libraryPath_, error)) << error;
  const fs::path media = root_ / "srv" / "media";
  ASSERT_GT(LayCopies(libraryPath_, options.MusicRoot + "\\", media), 40);
  const ProcessResult result =
      Run({"--library", libraryPath_, "mappings", "suggest", "--search", Str(root_ / "srv"), "--apply"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(Contains(Run({"mappings", "list"}).out, options.MusicRoot + "\t" + Str(media) + "\n")) << result.out;
}

TEST_F(MappingsCommandTest, BadInputIsRefusedAndADuplicateReplacesAfterSayingSo) {
  const std::string music = Str(root_ / "music"), other = Str(root_ / "other"), file = WriteFile("a-file", "x");
  for (const auto& folder : {music, other}) fs::create_directories(NativePath(folder));
  ExpectRuns({{{"mappings", "add", "C:\\Music", Str(music + "/missing")},
               1,
               "The folder \"" + Str(music + "/missing") + "\" does not exist."},
              {{"mappings", "add", "C:\\Music", file}, 1, "quorvella-cli: \"" + file + "\" is not a folder.\n"},
              {{"mappings", "add", "/a|b", music}, 1, "\"/a|b\" holds a \"|\", which a location to map cannot hold."},
              {{"mappings", "remove", "D:\\Nothing"},
               1,
               "There is no mapping of \"D:\\Nothing\" (quorvella-cli mappings list shows them)."},
              {{"mappings", "add", "C:\\Music"}, 2, "quorvella-cli mappings"},
              {{"mappings", "suggest", "--depth", "0"}, 2, "quorvella-cli mappings"},
              {{"mappings", "add", "C:\\Music\\", Str(music + "/")}, 0, "", "C:\\Music\\\t" + music + "\n"},
              {{"mappings", "add", "file://localhost/c:/MUSIC", other},
               0,
               "",
               "The mapping of C:\\Music\\ to " + music + " is replaced.\nc:\\MUSIC\t" + other + "\n"},
              {{"mappings", "remove", "C:/Music"}, 0, "", ""},
              {{"mappings", "list"}, 0, "", ""}});
}

}  // namespace
}  // namespace quorvella::test
