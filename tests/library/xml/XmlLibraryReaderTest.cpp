// SPDX-License-Identifier: MIT
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
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
using ::testing::ThrowsMessage;

std::shared_ptr<XmlLibrary> Read(const std::string& xml) {
  PlaylistIds ids;
  return ReadXmlLibrary(xml, "test.xml", ids);
}

std::string PlaylistXml(std::string_view body) {
  return "<dict>" + std::string(body) + "</dict>\n";
}

// A playlist's items naming these tracks.
std::string ItemsXml(const std::vector<int>& ids) {
  std::string items;
  for (int id : ids) items += "<dict><key>Track ID</key><integer>" + std::to_string(id) + "</integer></dict>";
  return "<key>Playlist Items</key><array>" + items + "</array>";
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

// A playlist's kind, then a user playlist's special kind and whether it is smart.
std::string KindOf(const IITPlaylist& playlist) {
  std::string kind = std::to_string(playlist.Kind());
  if (const IITUserPlaylist* user = playlist.QueryUserPlaylist()) {
    kind.append("/").append(std::to_string(user->SpecialKind())).append(user->Smart() ? " smart" : "");
  }
  return kind;
}

TEST(XmlLibraryReaderTest, PlaylistKindsFollowTheFirstRuleThatMatches) {
  const auto is = [](const char* key) { return std::string("<key>") + key + "</key><true/>"; };
  const auto dk = [](int kind) {
    return std::string("<key>Distinguished Kind</key><integer>") + std::to_string(kind) + "</integer>";
  };
  const std::string smart = "<key>Smart Info</key><data>AQEAAwAAAAIAAAAZ</data>";
  const std::string other = std::string("2/") + std::to_string(ITUserPlaylistSpecialKindOther);
  // Each kind, with the keys that give it.
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"1", {is("Master"), is("Master") + is("Folder") + is("Music")}},
      {"2/4", {is("Folder"), is("Folder") + is("Purchased Music")}},
      {"2/1", {is("Purchased Music"), dk(19), is("Purchased Music") + is("Podcasts")}},
      {"2/2", {is("Party Shuffle"), dk(22)}},
      {"2/3", {is("Podcasts"), dk(10) + "<key>Visible</key><false/>"}},
      {"2/6 smart", {is("Music") + smart}},
      {"2/6", {dk(4)}},
      {"2/7", {is("Movies"), dk(2)}},
      {"2/8", {is("TV Shows"), dk(3)}},
      {"2/9", {is("Audiobooks"), is("Books"), dk(5)}},
      {"2/10", {is("iTunesU"), dk(31)}},
      {"2/11", {dk(26)}},
      {"2/0 smart", {dk(200) + smart, dk(206) + smart, smart}},
      {other, {dk(207), dk(0)}},
      // false flags, and values of the wrong type, do not count
      {"2/0", {"", "<key>Master</key><false/><key>Folder</key><false/><key>Podcasts</key><false/>",
               "<key>Master</key><string>true</string><key>Music</key><integer>1</integer>",
               "<key>Distinguished Kind</key><string>4</string>"}},
  };
  std::string playlists;
  std::vector<std::pair<std::string, std::string>> expected;  // each playlist's keys and kind
  for (const auto& [kind, bodies] : cases) {
    for (const std::string& body : bodies) expected.emplace_back(body, kind);
  }
  for (const auto& [body, kind] : expected) playlists += PlaylistXml(body);
  const auto library = Read(LibraryXml("", playlists));
  ASSERT_EQ(library->Count(), static_cast<std::int32_t>(expected.size()));
  for (std::int32_t i = 0; i < library->Count(); ++i) {
    EXPECT_EQ(KindOf(*library->Item(i)), expected[i].second) << expected[i].first;
  }
}

TEST(XmlLibraryReaderTest, PlaylistTracksComeInItemOrderWithDuplicatesAndWithoutUnknownTracks) {
  const std::string tracks = TrackXml(10, "<key>Name</key><string>Ten</string>") +
                             TrackXml(20, "<key>Name</key><string>Twenty</string>") +
                             TrackXml(30, "<key>Name</key><string>Thirty</string>");
  const std::string items = ItemsXml({30, 10, 99, 30, 20, -1});
  // Only the library playlist's placeholder name is shown as "Library".
  const std::string placeholder = "<key>Name</key><string>####!####</string>";
  const auto library = Read(LibraryXml(
      tracks, PlaylistXml(items) +
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
      PlaylistXml(items) +
      "</array><key>Tracks</key><dict>" + tracks + "</dict></dict></plist>";
  EXPECT_EQ(Read(reversed)->Item(0)->Tracks()->Count(), 4);
}

std::string TypeKey(const char* type) {
  return std::string("<key>Track Type</key><string>") + type + "</string>";
}
std::string LocationKey(const std::string& url) {
  return "<key>Location</key><string>" + url + "</string>";
}
std::string FileAt(const std::string& url) { return TypeKey("File") + LocationKey(url); }

// A track's duration and location, "-" for none.
std::string DurationAndLocation(const IITTrack& track) {
  const std::string duration = std::to_string(track.Duration()) + " ";
  try {
    return duration + track.GetProperty("Location");
  } catch (const LibraryError&) {
    return duration + "-";
  }
}

TEST(XmlLibraryReaderTest, DurationIsWholeSecondsAndOnlyFilesHaveALocation) {
  const auto time = [](const char* value) { return std::string("<key>Total Time</key>") + value; };
  const std::pair<std::string, const char*> cases[] = {
      // durations are truncated toward zero
      {time("<integer>215999</integer>"), "215 -"},
      {time("<integer>999</integer>"), "0 -"},
      {time("<integer>-1500</integer>"), "-1 -"},
      {time("<integer>99999999999999</integer>"), "2147483647 -"},
      {time("<string>215000</string>"), "0 -"},
      {time("<integer>3 minutes</integer>"), "0 -"},
      {FileAt("file://localhost/C:/Music/A%20B.mp3"), "0 C:\\Music\\A B.mp3"},
      // the type may follow the location, or be missing
      {LocationKey("file:///Users/me/a.mp3") + TypeKey("File"), "0 /Users/me/a.mp3"},
      {LocationKey("file:///Users/me/untyped.mp3"), "0 /Users/me/untyped.mp3"},
      {LocationKey("http://radio.example/live"), "0 -"},
      {TypeKey("URL") + LocationKey("http://radio.example/live"), "0 -"},
      {TypeKey("URL") + LocationKey("file:///Users/me/odd.mp3"), "0 -"},
      {TypeKey("Remote"), "0 -"},
      {TypeKey("File"), "0 -"},
      {FileAt("https://cloud.example/a.mp3"), "0 -"},
      {FileAt("file://localhost/"), "0 /"},
      {FileAt("file:///Users/me/R&amp;B%20%26%20Soul.mp3"), "0 /Users/me/R&B & Soul.mp3"},
  };
  std::string tracks;
  std::vector<int> ids;
  for (const auto& [body, read] : cases) {
    ids.push_back(static_cast<int>(ids.size()) + 1);
    tracks += TrackXml(ids.back(), body);
  }
  const auto list = Read(LibraryXml(tracks, PlaylistXml(ItemsXml(ids))))->Item(0)->Tracks();
  ASSERT_EQ(list->Count(), static_cast<std::int32_t>(std::size(cases)));
  for (std::int32_t i = 0; i < list->Count(); ++i) {
    EXPECT_EQ(DurationAndLocation(*list->Item(i)), cases[i].second) << cases[i].first;
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
  const auto withTrack = [&](const std::string& body) { return LibraryXml(TrackXml(1, body), playlist(item)); };
  const auto withEntry = [&](const std::string& entry, std::string_view items = "") {
    return LibraryXml(entry + "\n", playlist(items));
  };
  const std::string longValue = std::string(39, '1');
  // The file, the playlists as read, the warnings.
  const std::tuple<std::string, std::string, std::vector<std::string>> cases[] = {
      {withItems(item), "Mix[One]", {}},
      // Keys the model does not read, whatever they hold, and elements it
      // does not know are passed over; so is a key without a value.
      {withTrack("<key>Name</key><string>One</string><key>Unknown</key><dict><key>Name</key>"
                 "<string>not me</string></dict><foo><bar/></foo><key>Track Type</key>"),
       "Mix[One]", {}},
      // Only the property list's first dictionary is the library, whatever
      // comes before or after it.
      {withItems(item).insert(withItems(item).rfind("</plist>"),
                              "<dict><key>Playlists</key><array>" + playlist("") + "</array></dict>"),
       "Mix[One]", {}},
      {withItems(item).insert(withItems(item).find("<dict>"), "<string>x</string>"), "Mix[One]", {}},
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
      // What follows a skipped entry is read.
      {withItems("<integer>1</integer>" + item), "Mix[One]",
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
      {LibraryXml(TrackXml(1, ""), "<string>Mix</string>\n" + playlist(item)), "Mix[]",
       {"line 12: an entry of \"Playlists\" is <string>, not <dict>; skipped"}},
  };
  for (const auto& [xml, read, warnings] : cases) {
    SCOPED_TRACE(xml);
    const auto library = Read(xml);
    EXPECT_EQ(Contents(*library), read);
    EXPECT_EQ(WarningLines(*library), warnings);
    EXPECT_EQ(library->WarningCount(), warnings.size());
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
      TrackXml(1, "<key>Name</key><string>" + huge + "</string>" + FileAt("file:///" + huge)) +
      TrackXml(2, "<key>" + huge + "</key><string>y</string><key>Name</key><string>Fine</string>");
  const auto library = Read(LibraryXml(
      tracks, PlaylistXml("<key>Name</key><string>" + huge + "</string>" + ItemsXml({1, 2}))));
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
      {"plist-without-tracks-or-playlists.xml", notLibrary + "it lists neither tracks nor playlists."},
      {"truncated-in-a-track.xml", file + "is incomplete: the XML breaks off at line 17, column 36."},
      {"truncated-in-a-tag.xml", file + "is incomplete: the XML breaks off at line 11, column 4."},
      {"mismatched-tag.xml", file + "is damaged at line 6, column 4: mismatched tag."},
      {"latin1-bytes-in-utf8.xml", file + "is damaged at line 9, column 15: not well-formed (invalid token)."},
      {"undefined-entity.xml", file + "is damaged at line 8, column 35: undefined entity."},
      {"billion-laughs.xml", file + "is refused at line 3, column 13" + entities},
      {"external-entity.xml", file + "is refused at line 3, column 45" + entities},
      {"external-parameter-entity.xml", file + "is refused at line 3, column 61" + entities},
      {"second-root-element.xml", file + "is damaged at line 8, column 1: junk after document element."},
      {"no-such-folder/library.xml", missing},
  };
  PlaylistIds ids;
  for (const auto& [name, message] : cases) {
    const std::string path = std::string(QUORVELLA_TEST_DATA) + "/itunes-xml/broken/" + name;
    std::string expected = message;
    expected.replace(expected.find("{}"), 2, path);
    EXPECT_THAT([&] { ReadXmlLibraryFile(path, ids); }, ThrowsMessage<LibraryError>(expected));
  }
  EXPECT_THROW(ReadXmlLibraryFile(QUORVELLA_TEST_DATA, ids), LibraryError) << "a folder";
  std::string cut = LibraryXml(TrackXml(1, ""), "");
  cut.resize(cut.rfind("</plist>"));
  EXPECT_THROW(Read(cut), LibraryError) << "cut short in memory";
}

// All that a reading keeps, or the message it failed with.
std::string Everything(const std::string& path, std::optional<std::uint64_t> splitFrom) {
  PlaylistIds ids;
  std::shared_ptr<XmlLibrary> library;
  try {
    library = splitFrom ? ReadXmlLibraryFileSplit(path, ids, *splitFrom) : ReadXmlLibraryFile(path, ids);
  } catch (const LibraryError& error) {
    return error.what();
  }
  std::string all = library->MusicFolder() + "\n";
  for (const XmlTrack& track : library->TrackList()) {
    all += std::string(track.NameView()) + "|" + std::to_string(track.Duration()) + "|" +
           std::string(track.LocationView()) + "\n";
  }
  for (const XmlPlaylist& playlist : library->PlaylistList()) {
    all += playlist.NameText() + " " + std::to_string(playlist.playlistID()) + " " + KindOf(playlist) + ":";
    for (const std::int32_t item : playlist.Items()) all.append(" ").append(std::to_string(item));
    all += "\n";
  }
  for (const std::string& line : WarningLines(*library)) all += line + "\n";
  return all + std::to_string(library->WarningCount());
}

// A large file is read by two parsers, the second taking over after an entry
// of "Tracks" near the middle: whatever the place, the reading is the one
// parser's. Places that only look like one (in a comment, a CDATA section, a
// deeper dictionary) leave the first parser to read on alone; so does a
// defect in the second part, which it then reports as its own.
TEST(XmlLibraryReaderTest, TwoParsersReadWhatOneReads) {
  TempDir dir;
  const std::string decoys =
      "<!-- </dict><key>1</key><dict></dict> -->" +
      TrackXml(3, "<key>Name</key><string><![CDATA[</dict><key>]]></string>") +
      TrackXml(4, "<key>Other</key><dict><key>a</key><string>b</string></dict><key>Name</key><string>4</string>") +
      "<key>5</key><string>not a track</string><dict></dict>\n";
  const std::string defects = TrackXml(6, "<key>Total Time</key><integer>soon</integer>") +
                              TrackXml(1, "<key>Name</key><string>One again</string>") +
                              "<key>x</key><dict></dict>\n";
  const std::string tracks =
      TrackXml(1, "<key>Name</key><string>One</string>" + FileAt("file:///m/One.mp3")) +
      TrackXml(2, "<key>Name</key><string>Two</string><key>Total Time</key><integer>61000</integer>") + decoys +
      defects;
  const std::string playlists =
      PlaylistXml("<key>Name</key><string>Mix</string>" + ItemsXml({6, 1, 2, 4, 9}));
  std::string withFolder = LibraryXml(tracks, playlists);
  withFolder.insert(withFolder.rfind("</dict>"), "<key>Music Folder</key><string>file:///m/</string>\n");
  std::string broken = withFolder;
  broken.replace(broken.rfind("<key>x</key>"), 12, "<key>x</kex>");
  std::string early = withFolder;  // broken before any place to split
  early.replace(early.find("<string>One</string>"), 20, "<string>One</strin>");
  std::string latin1 = LibraryXml(tracks, playlists);
  latin1.replace(latin1.find("UTF-8"), 5, "ISO-8859-1");
  latin1.replace(latin1.find("Two"), 3, "T\xE9o");
  // Looked for from the start of each "</dict>", the place is every place there is; from the end, the last
  // one before it.
  const auto everyPlace = [](const std::string& text) {
    std::vector<std::uint64_t> froms{text.size() - 1};
    for (std::size_t at = text.find("</dict>"); at != std::string::npos; at = text.find("</dict>", at + 1)) {
      froms.push_back(at);
    }
    return froms;
  };
  std::vector<std::pair<std::string, std::vector<std::uint64_t>>> files;  // each path with where to split from
  for (const std::string& text : {withFolder, broken, early, latin1, withFolder.substr(0, withFolder.size() - 20)}) {
    const std::string path = dir.File(std::to_string(files.size()) + ".xml");
    WriteBytes(path, text);
    files.emplace_back(path, everyPlace(text));
  }
  const std::string mac = std::string(QUORVELLA_TEST_DATA) + "/itunes-xml/mac-itunes-12.6.xml";
  std::vector<std::uint64_t> someFroms;
  for (std::uint64_t from = 0; from < std::filesystem::file_size(mac); from += 4999) someFroms.push_back(from);
  files.emplace_back(mac, someFroms);
  for (const auto& [path, froms] : files) {
    SCOPED_TRACE(path);
    const std::string one = Everything(path, std::nullopt);
    for (const std::uint64_t from : froms) {
      ASSERT_EQ(Everything(path, from), one) << "split from " << from;
    }
  }
}

// A real library exported on a Mac, trimmed upstream so that many items name
// tracks that are not in it.
TEST(XmlLibraryReaderTest, ReadsARealMacLibrary) {
  PlaylistIds ids;
  const auto library =
      ReadXmlLibraryFile(std::string(QUORVELLA_TEST_DATA) + "/itunes-xml/mac-itunes-12.6.xml", ids);

  std::vector<std::string> playlists;  // each one's name, ID, kind and number of tracks
  for (std::int32_t i = 0; i < library->Count(); ++i) {
    const auto p = library->Item(i);
    EXPECT_EQ(p->sourceID(), XmlLibrarySourceId);
    playlists.push_back(p->Name() + " " + std::to_string(p->playlistID()) + " " + KindOf(*p) + " " +
                        std::to_string(p->Tracks()->Count()));
  }
  EXPECT_EQ(playlists, (std::vector<std::string>{
                           "Library 121714 1 2", "Music 149573 2/6 smart 0",
                           "Films 174941 2/7 smart 2", "TV Programmes 176902 2/8 smart 0",
                           "Podcasts 177461 2/3 2", "iTunes\u00a0U 178348 2/10 0",
                           "Audiobooks 178351 2/9 smart 0", "Purchased 178670 2/1 0",
                           "90\u2019s Music 179015 2/0 smart 0",
                           "Classical Music 184326 2/0 smart 0", "Jazz 184829 2/0 smart 1"}));
  EXPECT_EQ(library->TrackList().size(), 402u);
  EXPECT_EQ(WarningLines(*library), std::vector<std::string>{})
      << "items naming tracks the file lacks are no defect";
}

}  // namespace
}  // namespace quorvella
