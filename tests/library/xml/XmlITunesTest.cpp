// SPDX-License-Identifier: MIT
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "library/xml/LibraryTestFiles.h"
#include "library/xml/XmlITunes.h"

namespace quorvella {
namespace {

using testing::LibraryXml;
using testing::TempDir;
using testing::TrackXml;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

// A library of one song, held by playlists of these persistent IDs, numbers
// (none for nullptr and 0) and names.
std::string Library(std::initializer_list<std::tuple<const char*, int, const char*>> playlists) {
  std::string xml;
  for (const auto& [persistentId, fileId, name] : playlists) {
    xml += std::string("<dict><key>Name</key><string>") + name + "</string>";
    if (fileId != 0) xml += std::string("<key>Playlist ID</key><integer>") + std::to_string(fileId) + "</integer>";
    if (persistentId) xml += std::string("<key>Playlist Persistent ID</key><string>") + persistentId + "</string>";
    xml += "<key>Playlist Items</key><array><dict><key>Track ID</key><integer>1</integer></dict></array></dict>\n";
  }
  return LibraryXml(TrackXml(1, "<key>Name</key><string>Song</string>"), xml);
}

class XmlITunesTest : public ::testing::Test {
 protected:
  void Rewrite(std::string_view content) { testing::ReplaceFile(path_, content); }

  std::map<std::string, std::int32_t> IdsByName(IiTunes& app) {
    std::map<std::string, std::int32_t> ids;
    const auto playlists = app.LibrarySource()->Playlists();
    for (std::int32_t i = 0; i < playlists->Count(); ++i) {
      ids[playlists->Item(i)->Name()] = playlists->Item(i)->playlistID();
    }
    return ids;
  }

  // The name of the playlist an ID finds, "-" for none.
  static std::string Found(IiTunes& app, int id, int source = XmlLibrarySourceId, int track = 0) {
    const auto playlist = app.GetITObjectByID(source, id, track, 0);
    return playlist ? playlist->Name() : "-";
  }

  TempDir dir_;
  std::string path_ = dir_.File("iTunes Library.xml");
};

TEST_F(XmlITunesTest, PlaylistsKeepTheirIdsAcrossARewriteAndDeletedOnesAreGone) {
  // Read at first use or beside the caller, a missing file is reported at
  // first use, and read once it is there.
  XmlITunes app(path_, XmlITunes::Reading::OnFirstUse);
  XmlITunes beside(path_, XmlITunes::Reading::InBackground);
  for (XmlITunes* missing : {&app, &beside}) {
    EXPECT_THAT([&] { missing->LibrarySource(); }, ThrowsMessage<LibraryError>(HasSubstr(path_)));
  }
  Rewrite(Library({{"AAAA", 100, "A"}, {"BBBB", 200, "B"}, {"CCCC", 300, "C"}}));
  for (XmlITunes* read : {&app, &beside}) {
    EXPECT_EQ(IdsByName(*read),
              (std::map<std::string, std::int32_t>{{"A", 100}, {"B", 200}, {"C", 300}}));
  }
  for (const auto reading : {XmlITunes::Reading::OnFirstUse, XmlITunes::Reading::InBackground}) {
    XmlITunes fresh(path_, reading);
    EXPECT_EQ(Found(fresh, 300), "C");
  }

  // iTunes renumbered everything; C is gone, D and E are new and got numbers
  // that B and C had.
  Rewrite(
      Library({{"AAAA", 900, "A"}, {"BBBB", 100, "B"}, {"DDDD", 200, "D"}, {"EEEE", 300, "E"}}));
  const auto ids = IdsByName(app);
  EXPECT_TRUE(ids.at("A") == 100 && ids.at("B") == 200 && ids.at("D") != ids.at("E"));
  for (const char* name : {"D", "E"}) {
    EXPECT_TRUE(ids.at(name) != 100 && ids.at(name) != 200 && ids.at(name) != 300) << name;
  }

  // C was deleted; nothing is found in another source or as a track.
  EXPECT_EQ(Found(app, 100) + Found(app, 200) + Found(app, 300) + Found(app, ids.at("E")) +
                Found(app, 100, XmlLibrarySourceId + 1) + Found(app, 100, XmlLibrarySourceId, 1),
            "AB-E--");

  // C comes back under its old number.
  Rewrite(Library({{"CCCC", 700, "C"}, {"AAAA", 100, "A"}}));
  EXPECT_EQ(Found(app, 300), "C");
}

TEST_F(XmlITunesTest, ThePlaylistIdIsTheFilesOwnNumberUnlessAnotherPlaylistHasIt) {
  Rewrite(Library({{"AB", 5, "Twin 1"}, {"AB", 5, "Twin 2"}, {nullptr, 0, "No IDs"}, {nullptr, 8, "Number only"}}));
  XmlITunes app(path_);
  const auto ids = IdsByName(app);
  EXPECT_EQ(ids.at("Twin 1"), 5);
  EXPECT_EQ(ids.at("Number only"), 8);
  std::set<std::int32_t> distinct;
  for (const auto& [name, id] : ids) distinct.insert(id);
  EXPECT_EQ(distinct.size(), 4u) << "every playlist of one reading has its own number";
}

TEST_F(XmlITunesTest, AReloadReadsOnlyAChangedFileAndKeepsWhatWasHandedOut) {
  Rewrite(Library({{"AAAA", 1, "Old"}}));
  XmlITunes app(path_);
  const auto before = app.Library();
  const auto oldPlaylist = app.GetITObjectByID(XmlLibrarySourceId, 1, 0, 0);
  const auto oldTracks = oldPlaylist->Tracks();
  const auto oldTrack = oldTracks->Item(0);
  app.LibrarySource();
  EXPECT_EQ(app.Library(), before) << "an unchanged file is not read again";

  Rewrite("<plist><dict><key>Tracks</key>");
  EXPECT_THROW(app.LibrarySource(), LibraryError);
  EXPECT_THROW(app.GetITObjectByID(XmlLibrarySourceId, 1, 0, 0), LibraryError);

  Rewrite(Library({{"BBBB", 1, "Other"}, {"AAAA", 2, "New"}}));
  EXPECT_EQ(app.LibrarySource()->Playlists()->Count(), 2);
  EXPECT_EQ(Found(app, 1), "New");
  const auto reread = app.Library();
  app.LibrarySource();
  EXPECT_EQ(app.Library(), reread) << "nor is a file read again once it is read";
  EXPECT_EQ(oldPlaylist->Name(), "Old");
  EXPECT_EQ(oldTracks->Count(), 1);
  EXPECT_EQ(oldTrack->Name(), "Song");

  std::remove(path_.c_str());
  EXPECT_THROW(app.LibrarySource(), LibraryError);
}

}  // namespace
}  // namespace quorvella
