// SPDX-License-Identifier: MIT
// The XML backend carries locations through the mappings as it reads them,
// and keeps the library's music folder for the search for mappings.
#include <gtest/gtest.h>

#include "library/xml/LibraryTestFiles.h"
#include "library/xml/XmlITunes.h"
#include "library/xml/XmlLibraryReader.h"

namespace quorvella {
namespace {

std::string TrackAt(int id, const std::string& url) {
  return testing::TrackXml(id, "<key>Location</key><string>" + url + "</string>");
}

TEST(XmlLibraryMapping, EveryReadingMapsTheLocationsAndKeepsTheMusicFolder) {
  // A `to` far longer than the addresses it replaces, and a short one.
  const std::string longTo = "/srv/" + std::string(300, 'm');
  const LocationMappings mappings(std::vector<LocationMapping>{
      {R"(C:\Users\Adam\Music\iTunes\iTunes Media)", longTo}, {R"(\\nas\music)", "/n"}});
  const std::vector<std::string> urls = {
      "file://localhost/C:/Users/Adam/Music/iTunes/iTunes%20Media/Music/A/01%20C.mp3",
      "file://nas/music/Pop/x.mp3", "file://localhost/E:/Music/y.mp3", "file:///Users/me/z.m4a"};
  const std::vector<std::string> mapped = {longTo + "/Music/A/01 C.mp3", "/n/Pop/x.mp3",
                                           R"(E:\Music\y.mp3)", "/Users/me/z.m4a"};
  // Enough tracks to fill several blocks of the library's text storage.
  std::string tracks;
  for (int i = 0; i < 1600; ++i) tracks += TrackAt(i + 1, urls[static_cast<std::size_t>(i % 4)]);
  std::string xml = testing::LibraryXml(tracks, "");
  xml.insert(xml.find("<key>Tracks</key>"),
             "<key>Music Folder</key><string>file://localhost/C:/Users/Adam/Music/iTunes/"
             "iTunes%20Media/</string>");
  testing::TempDir dir;
  const std::string path = dir.File("library.xml");
  testing::WriteBytes(path, xml);
  XmlITunes itunes(path, XmlITunes::Reading::Now, mappings);
  const auto library = itunes.Library();
  ASSERT_EQ(library->TrackList().size(), 1600u);
  for (std::int32_t i = 0; i < 1600; ++i) {
    ASSERT_EQ(library->TrackAt(i)->GetProperty("Location"),
              mapped[static_cast<std::size_t>(i % 4)]);
  }
  EXPECT_EQ(library->MusicFolder(), R"(C:\Users\Adam\Music\iTunes\iTunes Media\)");

  testing::ReplaceFile(path, testing::LibraryXml(TrackAt(1, urls[1]), ""));
  itunes.LibrarySource();
  EXPECT_EQ(itunes.Library()->TrackAt(0)->GetProperty("Location"), "/n/Pop/x.mp3")
      << "the file read again is mapped again";

  // A music folder alone does not make a library.
  PlaylistIds ids;
  const std::string folderOnly = "<plist><dict><key>Music Folder</key><string>file:///m/</string></dict></plist>";
  EXPECT_THROW(ReadXmlLibrary(folderOnly, "test.xml", ids), LibraryError);
}

}  // namespace
}  // namespace quorvella
