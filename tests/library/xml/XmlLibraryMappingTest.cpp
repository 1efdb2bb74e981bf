// SPDX-License-Identifier: MIT
// The XML backend carries locations through the mappings as it reads them,
// and keeps the library's music folder for the search for mappings.
#include <gtest/gtest.h>

#include <cstdio>

#include "library/xml/LibraryTestFiles.h"
#include "library/xml/XmlITunes.h"
#include "library/xml/XmlLibraryReader.h"

namespace quorvella {
namespace {

using testing::LibraryXml;
using testing::TrackXml;

std::string FileTrack(int id, const std::string& url) {
  return TrackXml(id, "<key>Track Type</key><string>File</string><key>Location</key><string>" +
                          url + "</string>");
}

std::string WithMusicFolder(std::string xml, const char* url) {
  const std::string key = "<key>Tracks</key>";
  return xml.insert(xml.find(key),
                    std::string("<key>Music Folder</key><string>") + url + "</string>\n");
}

std::string Location(const XmlLibrary& library, std::size_t i) {
  return library.TrackAt(static_cast<std::int32_t>(i))->GetProperty("Location");
}

TEST(XmlLibraryMapping, LocationsAreMappedAsTheyAreReadAndTheMusicFolderIsKept) {
  // A `to` far longer than the addresses it replaces, and a short one.
  const std::string longTo = "/srv/" + std::string(300, 'm');
  const LocationMappings mappings(std::vector<LocationMapping>{
      {R"(C:\Users\Adam\Music\iTunes\iTunes Media)", longTo}, {R"(\\nas\music)", "/n"}});
  const std::pair<std::string, std::string> cases[] = {
      {"file://localhost/C:/Users/Adam/Music/iTunes/iTunes%20Media/Music/A/B/01%20C.mp3",
       longTo + "/Music/A/B/01 C.mp3"},
      {"file://nas/music/Pop/x.mp3", "/n/Pop/x.mp3"},
      {"file://localhost/E:/Music/y.mp3", R"(E:\Music\y.mp3)"},
      {"file:///Users/me/z.m4a", "/Users/me/z.m4a"},
  };
  std::string tracks;
  // Enough tracks to fill several blocks of the library's text storage.
  constexpr int kRounds = 400;
  for (int round = 0; round < kRounds; ++round) {
    for (std::size_t i = 0; i < std::size(cases); ++i) {
      tracks += FileTrack(round * 10 + static_cast<int>(i) + 1, cases[i].first);
    }
  }
  const std::string xml = WithMusicFolder(
      LibraryXml(tracks, ""), "file://localhost/C:/Users/Adam/Music/iTunes/iTunes%20Media/");

  PlaylistIds ids;
  const auto mapped = ReadXmlLibrary(xml, "test.xml", ids, &mappings);
  ASSERT_EQ(mapped->TrackList().size(), kRounds * std::size(cases));
  for (std::size_t i = 0; i < mapped->TrackList().size(); ++i) {
    ASSERT_EQ(Location(*mapped, i), cases[i % std::size(cases)].second) << i;
  }
  EXPECT_EQ(mapped->MusicFolder(), R"(C:\Users\Adam\Music\iTunes\iTunes Media\)");

  const auto plain = ReadXmlLibrary(xml, "test.xml", ids);
  EXPECT_EQ(Location(*plain, 0), R"(C:\Users\Adam\Music\iTunes\iTunes Media\Music\A\B\01 C.mp3)");
}

TEST(XmlLibraryMapping, AMusicFolderAloneIsNoLibrary) {
  PlaylistIds ids;
  EXPECT_THROW(ReadXmlLibrary("<plist><dict><key>Music Folder</key><string>file:///m/</string>"
                              "</dict></plist>",
                              "test.xml", ids),
               LibraryError);
}

TEST(XmlLibraryMapping, EveryReadingOfTheFileIsMapped) {
  testing::TempDir dir;
  const std::string path = dir.File("library.xml");
  const auto playlist = [](int track) {
    return "<dict><key>Name</key><string>P</string><key>Playlist Items</key><array><dict><key>"
           "Track ID</key><integer>" +
           std::to_string(track) + "</integer></dict></array></dict>";
  };
  testing::WriteFile(path, LibraryXml(FileTrack(1, "file:///Volumes/data/a.mp3"), playlist(1)));
  XmlITunes itunes(path, XmlITunes::Reading::Now,
                   LocationMappings(std::vector<LocationMapping>{{"/Volumes/data", "/mnt/data"}}));
  const auto first = itunes.LibrarySource()->Playlists()->Item(0)->Tracks()->Item(0);
  EXPECT_EQ(first->GetProperty("Location"), "/mnt/data/a.mp3");

  testing::WriteFile(path + ".new", LibraryXml(FileTrack(1, "file:///Volumes/data/a.mp3") +
                                                   FileTrack(2, "file:///Volumes/data/b.mp3"),
                                               playlist(2)));
  ASSERT_EQ(std::rename((path + ".new").c_str(), path.c_str()), 0);
  const auto second = itunes.LibrarySource()->Playlists()->Item(0)->Tracks()->Item(0);
  EXPECT_EQ(second->GetProperty("Location"), "/mnt/data/b.mp3");
}

}  // namespace
}  // namespace quorvella
