// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <vector>

#include "library/xml/LibraryTestFiles.h"
#include "library/xml/PlaylistKind.h"
#include "library/xml/XmlLibraryReader.h"

namespace quorvella {
namespace {

using testing::LibraryXml;
using testing::TempDir;
using testing::TrackXml;
using testing::WriteBytes;

std::shared_ptr<XmlLibrary> Read(const std::string& xml) {
  PlaylistIds ids;
  return ReadXmlLibrary(xml, "test.xml", ids);
}

std::string PlaylistXml(std::string_view body) {
  return "<dict>" + std::string(body) + "</dict>\n";
}

// The tracks of one playlist holding a track of each body, in order.
std::shared_ptr<IITTrackCollection> ReadTracks(const std::vector<std::string>& bodies) {
  std::string tracks, items;
  for (std::size_t i = 0; i < bodies.size(); ++i) {
    tracks += TrackXml(static_cast<int>(i + 1), bodies[i]);
    items += "<dict><key>Track ID</key><integer>" + std::to_string(i + 1) + "</integer></dict>";
  }
  const auto library = Read(
      LibraryXml(tracks, PlaylistXml("<key>Playlist Items</key><array>" + items + "</array>")));
  return library->Item(0)->Tracks();
}

std::vector<std::string> WarningLines(const XmlLibrary& library) {
  std::vector<std::string> lines;
  for (const LibraryWarning& warning : library.Warnings()) {
    lines.push_back("line " + std::to_string(warning.line) + ": " + warning.text);
  }
  return lines;
}

// The playlists as read: each name with its tracks' names.
std::string Contents(const XmlLibrary& library) {
  std::string read;
  for (std::int32_t p = 0; p < library.Count(); ++p) {
    const auto tracks = library.Item(p)->Tracks();
    read += library.Item(p)->Name() + "[";
    for (std::int32_t t = 0; t < tracks->Count(); ++t) {
      if (t > 0) read += ',';
      read += tracks->Item(t)->Name();
    }
    read += "]";
  }
  return read;
}

struct KindCase {
  const char* body;  // the playlist's keys besides its name
  std::int32_t kind;
  std::int32_t specialKind;
  bool smart;
};

constexpr const char* kSmart = "<key>Smart Info</key><data>AQEAAwAAAAIAAAAZ</data>";

TEST(XmlLibraryReaderTest, PlaylistKindsFollowTheFirstRuleThatMatches) {
  const int kOther = ITUserPlaylistSpecialKindOther;
  const KindCase cases[] = {
      {"<key>Master</key><true/>", 1, 0, false},
      {"<key>Master</key><true/><key>Folder</key><true/><key>Music</key><true/>", 1, 0, false},
      {"<key>Folder</key><true/>", 2, 4, false},
      {"<key>Folder</key><true/><key>Purchased Music</key><true/>", 2, 4, false},
      {"<key>Purchased Music</key><true/>", 2, 1, false},
      {"<key>Distinguished Kind</key><integer>19</integer>", 2, 1, false},
      {"<key>Purchased Music</key><true/><key>Podcasts</key><true/>", 2, 1, false},
      {"<key>Party Shuffle</key><true/>", 2, 2, false},
      {"<key>Distinguished Kind</key><integer>22</integer>", 2, 2, false},
      {"<key>Podcasts</key><true/>", 2, 3, false},
      {"<key>Distinguished Kind</key><integer>10</integer><key>Visible</key><false/>", 2, 3, false},
      {"<key>Music</key><true/>", 2, 6, true},
      {"<key>Distinguished Kind</key><integer>4</integer>", 2, 6, false},
      {"<key>Movies</key><true/>", 2, 7, false},
      {"<key>Distinguished Kind</key><integer>2</integer>", 2, 7, false},
      {"<key>TV Shows</key><true/>", 2, 8, false},
      {"<key>Distinguished Kind</key><integer>3</integer>", 2, 8, false},
      {"<key>Audiobooks</key><true/>", 2, 9, false},
      {"<key>Books</key><true/>", 2, 9, false},
      {"<key>Distinguished Kind</key><integer>5</integer>", 2, 9, false},
      {"<key>iTunesU</key><true/>", 2, 10, false},
      {"<key>Distinguished Kind</key><integer>31</integer>", 2, 10, false},
      {"<key>Distinguished Kind</key><integer>26</integer>", 2, 11, false},
      {"<key>Distinguished Kind</key><integer>200</integer>", 2, 0, true},
      {"<key>Distinguished Kind</key><integer>206</integer>", 2, 0, true},
      {"<key>Distinguished Kind</key><integer>207</integer>", 2, kOther, false},
      {"<key>Distinguished Kind</key><integer>0</integer>", 2, kOther, false},
      {"", 2, 0, false},
      {"", 2, 0, true},
      {"<key>Master</key><false/><key>Folder</key><false/><key>Podcasts</key><false/>", 2, 0,
       false},
      // values of the wrong type do not count
      {"<key>Master</key><string>true</string><key>Music</key><integer>1</integer>", 2, 0, false},
      {"<key>Distinguished Kind</key><string>4</string>", 2, 0, false},
  };

  std::string playlists;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    playlists += PlaylistXml("<key>Name</key><string>P" + std::to_string(i) + "</string>" +
                             cases[i].body + (cases[i].smart ? kSmart : ""));
  }
  const auto library = Read(LibraryXml("", playlists));
  ASSERT_EQ(library->Count(), static_cast<std::int32_t>(std::size(cases)));

  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const KindCase& c = cases[i];
    const auto playlist = library->Item(static_cast<std::int32_t>(i));
    SCOPED_TRACE(c.body);
    const std::string number = std::to_string(i);
    EXPECT_EQ(playlist->Name(), "P" + number);
    EXPECT_EQ(playlist->Kind(), c.kind);
    const IITUserPlaylist* user = playlist->QueryUserPlaylist();
    if (c.kind != ITPlaylistKindUser) {
      EXPECT_EQ(user, nullptr);
      continue;
    }
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->SpecialKind(), c.specialKind);
    EXPECT_EQ(user->Smart(), c.smart);
  }
}

TEST(XmlLibraryReaderTest, PlaylistTracksComeInItemOrderWithDuplicatesAndWithoutUnknownTracks) {
  const std::string tracks = TrackXml(10, "<key>Name</key><string>Ten</string>") +
                             TrackXml(20, "<key>Name</key><string>Twenty</string>") +
                             TrackXml(30, "<key>Name</key><string>Thirty</string>");
  std::string items;
  for (int id : {30, 10, 99, 30, 20, -1}) {
    items += "<dict><key>Track ID</key><integer>" + std::to_string(id) + "</integer></dict>";
  }
  // Only the library playlist's placeholder name is shown as "Library".
  const std::string placeholder = "<key>Name</key><string>####!####</string>";
  const auto library = Read(LibraryXml(
      tracks, PlaylistXml("<key>Playlist Items</key><array>" + items + "</array>") +
                  PlaylistXml(placeholder + "<key>Master</key><true/>") +
                  PlaylistXml(placeholder)));
  EXPECT_EQ(Contents(*library), "[Thirty,Ten,Thirty,Twenty]Library[]####!####[]");
  const auto mix = library->Item(0)->Tracks();
  EXPECT_THROW(mix->Item(4), LibraryError);
  EXPECT_THROW(mix->Item(-1), LibraryError);
  EXPECT_THROW(library->Item(3), LibraryError);

  // The Playlists array ahead of the Tracks dictionary.
  const std::string reversed =
      "<plist version=\"1.0\"><dict><key>Playlists</key><array>" +
      PlaylistXml("<key>Playlist Items</key><array>" + items + "</array>") +
      "</array><key>Tracks</key><dict>" + tracks + "</dict></dict></plist>";
  EXPECT_EQ(Read(reversed)->Item(0)->Tracks()->Count(), 4);
}

std::string FileAt(const char* url) {
  return std::string("<key>Track Type</key><string>File</string><key>Location</key><string>") +
         url + "</string>";
}

TEST(XmlLibraryReaderTest, DurationIsWholeSecondsAndOnlyFilesHaveALocation) {
  struct Case {
    std::string body;
    std::int32_t duration;
    std::optional<std::string> location;  // nullopt: the lookup fails
  };
  const auto time = [](const char* value) { return "<key>Total Time</key>" + std::string(value); };
  const Case cases[] = {
      // durations are truncated toward zero
      {time("<integer>215999</integer>"), 215, {}},
      {time("<integer>999</integer>"), 0, {}},
      {time("<integer>-1500</integer>"), -1, {}},
      {time("<integer>99999999999999</integer>"), 2147483647, {}},
      {time("<string>215000</string>"), 0, {}},
      {time("<integer>3 minutes</integer>"), 0, {}},
      {FileAt("file://localhost/C:/Music/A%20B.mp3"), 0, "C:\\Music\\A B.mp3"},
      // the type may follow the location, or be missing
      {"<key>Location</key><string>file:///Users/me/a.mp3</string>"
       "<key>Track Type</key><string>File</string>",
       0, "/Users/me/a.mp3"},
      {"<key>Location</key><string>file:///Users/me/untyped.mp3</string>", 0,
       "/Users/me/untyped.mp3"},
      {"<key>Location</key><string>http://radio.example/live</string>", 0, {}},
      {"<key>Track Type</key><string>URL</string>"
       "<key>Location</key><string>http://radio.example/live</string>", 0, {}},
      {"<key>Track Type</key><string>URL</string>"
       "<key>Location</key><string>file:///Users/me/odd.mp3</string>", 0, {}},
      {"<key>Track Type</key><string>Remote</string>", 0, {}},
      {"<key>Track Type</key><string>File</string>", 0, {}},
      {FileAt("https://cloud.example/a.mp3"), 0, {}},
      {FileAt("file://localhost/"), 0, "/"},
      {FileAt("file:///Users/me/R&amp;B%20%26%20Soul.mp3"), 0, "/Users/me/R&B & Soul.mp3"},
  };
  std::vector<std::string> bodies;
  for (const auto& c : cases) bodies.push_back(c.body);
  const auto list = ReadTracks(bodies);
  ASSERT_EQ(list->Count(), static_cast<std::int32_t>(std::size(cases)));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto track = list->Item(static_cast<std::int32_t>(i));
    SCOPED_TRACE(cases[i].body);
    EXPECT_EQ(track->Duration(), cases[i].duration);
    if (cases[i].location) {
      EXPECT_EQ(track->GetProperty("Location"), *cases[i].location);
    } else {
      EXPECT_THROW(track->GetProperty("Location"), LibraryError);
    }
  }
  const auto windows = list->Item(6);
  EXPECT_EQ(windows->GetProperty("location"), "C:\\Music\\A B.mp3")
      << "names of properties are looked up regardless of case";
  EXPECT_THROW(windows->GetProperty("Name"), LibraryError);
  EXPECT_THROW(windows->GetProperty(""), LibraryError);
}

TEST(XmlLibraryReaderTest, EachDefectIsSkippedWithAWarningNamingItsKeyAndLine) {
  // One track (line 8) and one playlist (line 12) around each defect; a
  // sound pair gives no warning.
  const std::string item = "<dict><key>Track ID</key><integer>1</integer></dict>";
  const auto playlist = [](std::string_view items) {
    return PlaylistXml("<key>Name</key><string>Mix</string><key>Playlist Items</key><array>" +
                       std::string(items) + "</array>");
  };
  const auto withItems = [&](std::string_view items) {
    return LibraryXml(TrackXml(1, "<key>Name</key><string>One</string>"), playlist(items));
  };
  const auto withTrack = [&](const std::string& body) {
    return LibraryXml(TrackXml(1, body), playlist(item));
  };
  const auto withEntry = [&](const std::string& entry, std::string_view items = "") {
    return LibraryXml(entry + "\n", playlist(items));
  };
  struct Case {
    std::string xml;
    std::string read;  // the playlists as read
    std::vector<std::string> warnings;
  };
  const std::string longValue = std::string(39, '1');
  const Case cases[] = {
      {withItems(item), "Mix[One]", {}},
      // Keys the model does not read, whatever they hold, and elements it
      // does not know are passed over; so is a key without a value.
      {withTrack("<key>Name</key><string>One</string><key>Unknown</key><dict><key>Name</key>"
                 "<string>not me</string></dict><foo><bar/></foo><key>Track Type</key>"),
       "Mix[One]", {}},
      // The first track of one ID wins.
      {LibraryXml(TrackXml(1, "<key>Name</key><string>One</string>") +
                      TrackXml(1, "<key>Name</key><string>Again</string>"),
                  playlist(item)),
       "Mix[One]", {}},
      {"<plist version=\"1.0\"><dict>\n<key>Tracks</key><string>none</string>\n"
       "<key>Playlists</key><array>" + playlist(item) + "</array></dict></plist>",
       "Mix[]", {"line 2: \"Tracks\" is <string>, not <dict>; ignored"}},
      {withItems("<dict/><dict><key>Name</key><string>x</string></dict>" + item), "Mix[One]",
       {"line 12: a playlist item without \"Track ID\" is skipped",
        "line 12: a playlist item without \"Track ID\" is skipped"}},
      {withItems("<dict><key>Track ID</key><string>1</string></dict>"), "Mix[]",
       {"line 12: \"Track ID\" is <string>, not <integer>; the playlist item is skipped"}},
      {withItems("<dict><key>Track ID</key><integer>99999999999</integer></dict>"), "Mix[]",
       {"line 12: \"Track ID\" holds \"99999999999\", which is not a whole number of 32 bits; "
        "the playlist item is skipped"}},
      {withItems(item + "<integer>1</integer>"), "Mix[One]",
       {"line 12: an entry of \"Playlist Items\" is <integer>, not <dict>; skipped"}},
      {withTrack("<key>Total Time</key><integer>3 minutes</integer>"), "Mix[]",
       {"line 8: \"Total Time\" holds \"3 minutes\", which is not a whole number; ignored"}},
      // A long value is cut short, never inside a character.
      {withTrack("<key>Total Time</key><integer>" + longValue + "\xC3\xA9" "23</integer>"),
       "Mix[]",
       {"line 8: \"Total Time\" holds \"" + longValue + "...\", which is not a whole number; "
        "ignored"}},
      {withTrack("<key>Name</key><integer>1</integer>"), "Mix[]",
       {"line 8: \"Name\" is <integer>, not <string>; ignored"}},
      {withTrack("<key>Location</key><string>file:///a<b/>c</string>"), "Mix[]",
       {"line 8: \"Location\" holds markup; ignored"}},
      {withEntry("<key>1</key><string>One</string><dict><key>Name</key><string>x</string></dict>",
                 item),
       "Mix[]",
       {"line 8: an entry of \"Tracks\" is <string>, not <dict>; skipped",
        "line 8: a track without \"Track ID\" is skipped"}},
      {withEntry("<key>one</key><dict><key>Name</key><string>One</string></dict>"), "Mix[]",
       {"line 8: a track without \"Track ID\" is skipped"}},
      {withEntry("<key>one</key><dict><key>Track ID</key><string>1</string></dict>"), "Mix[]",
       {"line 8: \"Track ID\" is <string>, not <integer>; the track is skipped"}},
      // The entry's key stands in for a Track ID that is wrong.
      {withEntry("<key>1</key><dict><key>Track ID</key><string>1</string>"
                 "<key>Name</key><string>One</string></dict>", item),
       "Mix[One]", {"line 8: \"Track ID\" is <string>, not <integer>; ignored"}},
      {LibraryXml(TrackXml(1, ""),
                  PlaylistXml("<key>Name</key><integer>7</integer><key>Playlist ID</key>"
                              "<string>7</string><key>Master</key><string>yes</string>"
                              "<key>Playlist Items</key><dict/>")),
       "[]",
       {"line 12: \"Name\" is <integer>, not <string>; ignored",
        "line 12: \"Playlist ID\" is <string>, not <integer>; ignored",
        "line 12: \"Master\" is <string>, not <true/> or <false/>; ignored",
        "line 12: \"Playlist Items\" is <dict>, not <array>; ignored"}},
      {LibraryXml(TrackXml(1, ""), playlist(item) + "<string>Mix</string>\n"), "Mix[]",
       {"line 13: an entry of \"Playlists\" is <string>, not <dict>; skipped"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.xml);
    const auto library = Read(c.xml);
    EXPECT_EQ(Contents(*library), c.read);
    EXPECT_EQ(WarningLines(*library), c.warnings);
    EXPECT_EQ(library->WarningCount(), c.warnings.size());
  }
}

TEST(XmlLibraryReaderTest, AFileWrongThroughoutKeepsTheFirstWarningsAndCountsAll) {
  std::string tracks;
  for (int i = 0; i < 500; ++i) tracks += "<key>x</key><dict><key>Name</key><string>n</string></dict>\n";
  TempDir dir;
  const std::string path = dir.File("library.xml");
  WriteBytes(path, LibraryXml(tracks, ""));
  PlaylistIds ids;
  const auto library = ReadXmlLibraryFile(path, ids);
  EXPECT_EQ(library->WarningCount(), 500u);
  ASSERT_EQ(library->Warnings().size(), 100u);
  EXPECT_EQ(library->Warnings().front(),
            (LibraryWarning{8, "a track without \"Track ID\" is skipped"}));
  EXPECT_EQ(library->Warnings().back().line, 107u) << "lines are counted in the file itself";
}

TEST(XmlLibraryReaderTest, HugeTextsAreDroppedNotKept) {
  const std::string huge(3 << 20, 'x');
  const std::string tracks =
      TrackXml(1, "<key>Name</key><string>" + huge + "</string>" + FileAt(("file:///" + huge).c_str())) +
      TrackXml(2, "<key>" + huge + "</key><string>y</string><key>Name</key><string>Fine</string>");
  const auto library = Read(LibraryXml(
      tracks, PlaylistXml("<key>Name</key><string>" + huge +
                          "</string><key>Playlist Items</key><array>"
                          "<dict><key>Track ID</key><integer>1</integer></dict>"
                          "<dict><key>Track ID</key><integer>2</integer></dict></array>")));
  EXPECT_EQ(Contents(*library), "[,Fine]");
  EXPECT_THROW(library->Item(0)->Tracks()->Item(0)->GetProperty("Location"), LibraryError);
  EXPECT_LT(library->MemoryBytes(), std::size_t{1} << 20);
}

TEST(XmlLibraryReaderTest, BrokenFilesGiveAMessageNamingTheFileAndThePlace) {
  // "{}" stands for the file's path.
  const std::string file = "The iTunes library file \"{}\" ";
  const std::string notLibrary = "The file \"{}\" is not an iTunes library: ";
  const std::string entities = ": it declares XML entities, which an iTunes library never does.";
  // The reason is the system's own text; Wine words it its own way.
#ifdef _WIN32
  const std::string missing = file + "cannot be opened: Path not found.";
#else
  const std::string missing = file + "cannot be opened: No such file or directory.";
#endif
  const std::pair<const char*, std::string> cases[] = {
      {"empty.xml", file + "is empty."},
      {"plain-text.xml", file + "is damaged at line 1, column 1: syntax error."},
      {"html-instead-of-plist.xml", notLibrary + "it is not an XML property list."},
      {"plist-of-an-array.xml", notLibrary + "it lists neither tracks nor playlists."},
      {"plist-without-tracks-or-playlists.xml",
       notLibrary + "it lists neither tracks nor playlists."},
      {"truncated-in-a-track.xml",
       file + "is incomplete: the XML breaks off at line 17, column 36."},
      {"truncated-in-a-tag.xml", file + "is incomplete: the XML breaks off at line 11, column 4."},
      {"mismatched-tag.xml", file + "is damaged at line 6, column 4: mismatched tag."},
      {"latin1-bytes-in-utf8.xml",
       file + "is damaged at line 9, column 15: not well-formed (invalid token)."},
      {"undefined-entity.xml", file + "is damaged at line 8, column 35: undefined entity."},
      {"billion-laughs.xml", file + "is refused at line 3, column 13" + entities},
      {"external-entity.xml", file + "is refused at line 3, column 45" + entities},
      {"external-parameter-entity.xml", file + "is refused at line 3, column 61" + entities},
      {"second-root-element.xml",
       file + "is damaged at line 8, column 1: junk after document element."},
      {"no-such-folder/library.xml", missing},
  };
  PlaylistIds ids;
  for (const auto& [name, message] : cases) {
    const std::string path = std::string(QUORVELLA_TEST_DATA) + "/itunes-xml/broken/" + name;
    std::string expected = message;
    expected.replace(expected.find("{}"), 2, path);
    try {
      ReadXmlLibraryFile(path, ids);
      ADD_FAILURE() << name << " was read";
    } catch (const LibraryError& error) {
      EXPECT_EQ(error.what(), expected) << name;
    }
  }
  EXPECT_THROW(ReadXmlLibraryFile(QUORVELLA_TEST_DATA, ids), LibraryError) << "a folder";
  std::string cut = LibraryXml(TrackXml(1, ""), "");
  cut.resize(cut.rfind("</plist>"));
  EXPECT_THROW(Read(cut), LibraryError) << "cut short in memory";
}

// A real library exported on a Mac, trimmed upstream so that many items name
// tracks that are not in it.
TEST(XmlLibraryReaderTest, ReadsARealMacLibrary) {
  PlaylistIds ids;
  const auto library =
      ReadXmlLibraryFile(std::string(QUORVELLA_TEST_DATA) + "/itunes-xml/mac-itunes-12.6.xml", ids);

  struct Expected {
    const char* name;
    std::int32_t id, kind, specialKind;
    bool smart;
    std::int32_t tracks;
  };
  const Expected expected[] = {
      {"Library", 121714, 1, 0, false, 2},
      {"Music", 149573, 2, 6, true, 0},
      {"Films", 174941, 2, 7, true, 2},
      {"TV Programmes", 176902, 2, 8, true, 0},
      {"Podcasts", 177461, 2, 3, false, 2},
      {"iTunes\u00a0U", 178348, 2, 10, false, 0},
      {"Audiobooks", 178351, 2, 9, true, 0},
      {"Purchased", 178670, 2, 1, false, 0},
      {"90\u2019s Music", 179015, 2, 0, true, 0},
      {"Classical Music", 184326, 2, 0, true, 0},
      {"Jazz", 184829, 2, 0, true, 1},
  };
  ASSERT_EQ(library->Count(), static_cast<std::int32_t>(std::size(expected)));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const Expected& e = expected[i];
    const auto playlist = library->Item(static_cast<std::int32_t>(i));
    SCOPED_TRACE(e.name);
    EXPECT_EQ(playlist->Name(), e.name);
    EXPECT_EQ(playlist->playlistID(), e.id);
    EXPECT_EQ(playlist->sourceID(), XmlLibrarySourceId);
    EXPECT_EQ(playlist->Kind(), e.kind);
    if (const IITUserPlaylist* user = playlist->QueryUserPlaylist()) {
      EXPECT_EQ(user->SpecialKind(), e.specialKind);
      EXPECT_EQ(user->Smart(), e.smart);
    }
    EXPECT_EQ(playlist->Tracks()->Count(), e.tracks);
  }
  EXPECT_EQ(library->TrackList().size(), 402u);
  EXPECT_EQ(WarningLines(*library), std::vector<std::string>{})
      << "items naming tracks the file lacks are no defect";

  const auto master = library->Item(0)->Tracks();
  EXPECT_EQ(master->Item(0)->Name(), "That's All I Ask");
  EXPECT_EQ(master->Item(0)->Duration(), 147);
  EXPECT_EQ(master->Item(0)->GetProperty("Location"),
            "/Users/nathan/Music/iTunes/iTunes Media/Music/Nina Simone/"
            "Four Women_ The Complete Nina Simone On Philips/3-16 That's All I Ask 1.m4a");
  const auto films = library->Item(2)->Tracks();
  EXPECT_EQ(films->Item(1)->Name(), "Casino Royale");
  EXPECT_EQ(films->Item(1)->Duration(), 8680);
  EXPECT_EQ(films->Item(1)->GetProperty("Location"),
            "/Volumes/data/Music/iTunes/iTunes Media/Movies/James_Bond/Casino Royale (HD).m4v");
  const auto podcasts = library->Item(4)->Tracks();
  EXPECT_EQ(podcasts->Item(0)->Name(), "Get The Led Out - Volume 1");
  EXPECT_THROW(podcasts->Item(0)->GetProperty("Location"), LibraryError) << "a URL track";
}

}  // namespace
}  // namespace quorvella
