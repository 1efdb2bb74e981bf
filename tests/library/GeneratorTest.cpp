// SPDX-License-Identifier: MIT
#include <expat.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "bench/FileUrl.h"
#include "bench/LibraryGenerator.h"
#include "bench/LibraryXml.h"

namespace quorvella {
namespace {

// Just enough of a property list reader to compare a document with the model
// it was written from: expat does the XML, so a bad escape fails here.
struct Node {
  std::string type;  // dict, array, string, integer, date, true, false, data
  std::string text;
  std::vector<std::pair<std::string, Node>> dict;
  std::vector<Node> array;

  const Node* Get(const std::string& key) const {
    for (const auto& [k, v] : dict) {
      if (k == key) return &v;
    }
    return nullptr;
  }
  std::string Text(const std::string& key) const {
    const Node* n = Get(key);
    return n == nullptr ? std::string() : n->text;
  }
};

struct PlistReader {
  Node root;
  std::vector<Node*> stack;
  std::string key;
  std::string* text = nullptr;
  bool inKey = false;

  static void XMLCALL Start(void* data, const XML_Char* name, const XML_Char**) {
    auto& r = *static_cast<PlistReader*>(data);
    const std::string element = name;
    if (element == "plist") return;
    if (element == "key") {
      r.key.clear();
      r.inKey = true;
      return;
    }
    Node* node = nullptr;
    if (r.stack.empty()) {
      node = &r.root;
    } else if (r.stack.back()->type == "dict") {
      node = &r.stack.back()->dict.emplace_back(r.key, Node{}).second;
    } else {
      node = &r.stack.back()->array.emplace_back();
    }
    node->type = element;
    r.stack.push_back(node);
  }
  static void XMLCALL End(void* data, const XML_Char* name) {
    auto& r = *static_cast<PlistReader*>(data);
    const std::string element = name;
    if (element == "key") {
      r.inKey = false;
    } else if (element != "plist") {
      r.stack.pop_back();
    }
  }
  static void XMLCALL Chars(void* data, const XML_Char* s, int length) {
    auto& r = *static_cast<PlistReader*>(data);
    if (r.inKey) {
      r.key.append(s, static_cast<std::size_t>(length));
    } else if (!r.stack.empty() && r.stack.back()->type != "dict" && r.stack.back()->type != "array") {
      r.stack.back()->text.append(s, static_cast<std::size_t>(length));
    }
  }
};

Node ParsePlist(const std::string& xml) {
  PlistReader reader;
  XML_Parser parser = XML_ParserCreate(nullptr);
  XML_SetUserData(parser, &reader);
  XML_SetElementHandler(parser, PlistReader::Start, PlistReader::End);
  XML_SetCharacterDataHandler(parser, PlistReader::Chars);
  if (XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), 1) != XML_STATUS_OK) {
    ADD_FAILURE() << "not well-formed XML, line " << XML_GetCurrentLineNumber(parser) << ": "
                  << XML_ErrorString(XML_GetErrorCode(parser));
  }
  XML_ParserFree(parser);
  return std::move(reader.root);
}

// The URL path back to the path it was made from, in the form's dialect.
std::string PathOfUrl(const std::string& url, UrlForm form) {
  std::string rest = url.substr(url.rfind("file://localhost", 0) == 0 ? 16 : 7);
  std::string path;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == '%' && i + 2 < rest.size()) {
      path += static_cast<char>(std::stoi(rest.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      path += rest[i];
    }
  }
  if (form == UrlForm::Windows) {
    if (path.rfind("//", 0) != 0) path.erase(0, 1);  // /D:/x -> D:/x; //nas/x stays
    for (char& c : path) {
      if (c == '/') c = '\\';
    }
  }
  return path;
}

LibraryOptions Small(UrlForm form, std::uint64_t seed = 1) {
  LibraryOptions o;
  o.Seed = seed;
  o.Tracks = 600;
  o.Playlists = 40;
  o.SongsPerPlaylist = 30;
  o.Form = form;
  return o;
}

TEST(FileUrlTest, EncodesPathsAsLibrariesWriteThem) {
  struct Case {
    const char* path;
    UrlForm form;
    bool localhost;
    const char* url;
  } const cases[] = {
      {"D:\\Music\\a b.mp3", UrlForm::Windows, false, "file://localhost/D:/Music/a%20b.mp3"},
      {"\\\\nas\\music\\x.mp3", UrlForm::Windows, false, "file://localhost//nas/music/x.mp3"},
      {"/home/u/Été #1 50% a+b?.mp3", UrlForm::Posix, false,
       "file:///home/u/%C3%89t%C3%A9%20%231%2050%25%20a+b%3F.mp3"},
      {"/x/Tom & Jerry's (Live) [1], \"q\" <a>|\\.mp3", UrlForm::Posix, false,
       "file:///x/Tom%20&%20Jerry's%20(Live)%20%5B1%5D,%20%22q%22%20%3Ca%3E%7C%5C.mp3"},
      {"/home/u/a", UrlForm::Posix, true, "file://localhost/home/u/a"},
  };
  for (const auto& c : cases) EXPECT_EQ(FileUrl(c.path, c.form, c.localhost), c.url) << c.path;
}

TEST(FileUrlTest, DecomposesAsAMacStoresNames) {
  EXPECT_EQ(DecomposeNfd("Été"), "E\u0301te\u0301");
  EXPECT_EQ(DecomposeNfd("Ёлка й"), "\u0415\u0308лка \u0438\u0306");
  EXPECT_EQ(DecomposeNfd("ガラス"), "\u30AB\u3099ラス");
  EXPECT_EQ(DecomposeNfd("한"), "\u1112\u1161\u11AB");
  for (const char* same : {"plain ascii", "夜の森", "Cafe\u0301", "🎉"}) EXPECT_EQ(DecomposeNfd(same), same);
}

TEST(LibraryGeneratorTest, SameOptionsGiveTheSameBytes) {
  const auto options = Small(UrlForm::Posix, 7);
  const std::string first = LibraryXml(GenerateLibrary(options));
  EXPECT_EQ(first, LibraryXml(GenerateLibrary(options)));
  EXPECT_NE(first, LibraryXml(GenerateLibrary(Small(UrlForm::Posix, 8))));

  // The streamed file, flushed in many chunks, holds the same document.
  auto big = Small(UrlForm::Windows, 3);
  big.Tracks = 6000;
  const auto library = GenerateLibrary(big);
  char folder[] = "/tmp/quorvella-libgen-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string path = std::string(folder) + "/lib.xml";
  std::string error;
  ASSERT_TRUE(WriteLibraryXmlFile(library, path, error)) << error;
  std::ifstream in(path, std::ios::binary);
  std::stringstream written;
  written << in.rdbuf();
  EXPECT_GT(written.str().size(), 2u << 20);
  EXPECT_EQ(written.str(), LibraryXml(library));
  std::filesystem::remove_all(folder);
}

class GeneratedDocumentTest : public ::testing::TestWithParam<std::tuple<UrlForm, int>> {};

TEST_P(GeneratedDocumentTest, DocumentHoldsTheModel) {
  const auto [form, seed] = GetParam();
  const auto library = GenerateLibrary(Small(form, static_cast<std::uint64_t>(seed)));
  const Node top = ParsePlist(LibraryXml(library));
  ASSERT_EQ(top.type, "dict");
  std::vector<std::string> keys;
  for (const auto& entry : top.dict) keys.push_back(entry.first);
  EXPECT_EQ(keys, (std::vector<std::string>{"Major Version", "Minor Version", "Date", "Application Version",
                                            "Features", "Show Content Ratings", "Music Folder",
                                            "Library Persistent ID", "Tracks", "Playlists"}));

  const Node& tracks = *top.Get("Tracks");
  ASSERT_EQ(tracks.dict.size(), library.Tracks.size());
  for (std::size_t i = 0; i < tracks.dict.size(); ++i) {
    const GeneratedTrack& t = library.Tracks[i];
    const Node& n = tracks.dict[i].second;
    ASSERT_EQ(tracks.dict[i].first, std::to_string(t.TrackId));
    EXPECT_EQ(n.Text("Track ID"), std::to_string(t.TrackId));
    EXPECT_EQ(n.Text("Name"), t.Name);
    EXPECT_EQ(n.Text("Location"), t.Location);
    EXPECT_EQ(n.Get("Location") != nullptr, t.Type != TrackType::Remote);
    EXPECT_EQ(n.Get("Total Time") != nullptr, t.TotalTimeMs != 0);
    if (t.Type == TrackType::File) {
      EXPECT_EQ(PathOfUrl(t.Location, form), t.Path);
      EXPECT_EQ(t.Location.find_first_of(" #?\"<>[]\\|^`{}"), std::string::npos) << t.Location;
      for (const char c : t.Location) EXPECT_GT(static_cast<signed char>(c), 0) << t.Location;
    }
  }

  const Node& lists = *top.Get("Playlists");
  ASSERT_EQ(lists.array.size(), library.Playlists.size());
  std::set<std::string> folders;
  for (std::size_t i = 0; i < lists.array.size(); ++i) {
    const GeneratedPlaylist& p = library.Playlists[i];
    const Node& n = lists.array[i];
    EXPECT_EQ(n.Text("Name"), p.Name);
    EXPECT_EQ(n.Get("Smart Info") != nullptr, p.Smart);
    std::vector<std::int32_t> items;
    if (const Node* array = n.Get("Playlist Items")) {
      for (const Node& item : array->array) items.push_back(std::stoi(item.Text("Track ID")));
    }
    EXPECT_EQ(items, p.Items) << p.Name;
    if (!p.ParentPersistentId.empty()) {
      EXPECT_EQ(folders.count(p.ParentPersistentId), 1u) << p.Name;
    }
    if (n.Get("Folder") != nullptr) folders.insert(n.Text("Playlist Persistent ID"));
  }
}

INSTANTIATE_TEST_SUITE_P(FormsAndSeeds, GeneratedDocumentTest,
                         ::testing::Combine(::testing::Values(UrlForm::Windows, UrlForm::Posix),
                                            ::testing::Values(1, 2, 3)));

TEST(LibraryGeneratorTest, HoldsEverySpecialPlaylist) {
  const auto library = GenerateLibrary(Small(UrlForm::Windows));
  std::set<std::int32_t> kinds;
  for (const auto& p : library.Playlists) kinds.insert(p.DistinguishedKind);
  for (const std::int32_t kind : {2, 3, 4, 5, 10, 19, 22, 26, 31, 200, 201, 202, 203, 204, 205, 206}) {
    EXPECT_EQ(kinds.count(kind), 1u) << kind;
  }
  EXPECT_GE(kinds.size(), 16u + 1 + 3);  // none, and kinds without a name of their own
  EXPECT_TRUE(library.Playlists.front().Master);
  EXPECT_EQ(library.Playlists.front().Items.size(), library.Tracks.size());

  // Across seeds, both names of the library playlist and libraries with and
  // without the flag keys occur.
  std::set<std::string> masterNames;
  std::set<bool> flagged;
  for (std::uint64_t seed = 1; seed <= 16; ++seed) {
    auto o = Small(UrlForm::Posix, seed);
    o.Tracks = 20;
    const auto lib = GenerateLibrary(o);
    masterNames.insert(lib.Playlists.front().Name);
    flagged.insert(!lib.FindPlaylist("Music")->FlagKey.empty());
  }
  EXPECT_EQ(masterNames, (std::set<std::string>{"Library", "####!####"}));
  EXPECT_EQ(flagged.size(), 2u);
}

TEST(LibraryGeneratorTest, UserPlaylistsHaveTheAskedSizeAndTheAwkwardCases) {
  const auto o = Small(UrlForm::Posix);
  const auto library = GenerateLibrary(o);
  std::int32_t user = 0;
  for (const auto& p : library.Playlists) {
    if (p.DistinguishedKind != 0 || p.Master) continue;
    ++user;
    if (p.Folder || p.Name == "Empty Playlist" || p.Name == "Empty Smart") continue;
    EXPECT_EQ(p.Items.size(), static_cast<std::size_t>(o.SongsPerPlaylist) + (p.Name == "Lost Items" ? 2 : 0))
        << p.Name;
  }
  EXPECT_EQ(user, o.Playlists);
  for (const char* name : {"All Rated Songs", "AC/DC: Live?", "AC_DC_ Live_", "Rock & Roll. ", "夜の森 ガラス玉",
                           "Русский рок, Ёлка", "Party 🎉 Time"}) {
    EXPECT_NE(library.FindPlaylist(name), nullptr) << name;
  }
  const auto* night = library.FindPlaylist("Night");
  ASSERT_NE(night, nullptr);
  EXPECT_TRUE(night->Folder);
  EXPECT_EQ(night->ParentPersistentId, library.FindPlaylist("Road Trips")->PersistentId);
  // A folder lists the songs of the playlists inside it, each once.
  std::vector<std::int32_t> once;
  for (const std::int32_t id : library.FindPlaylist("Midnight Mix")->Items) {
    if (std::find(once.begin(), once.end(), id) == once.end()) once.push_back(id);
  }
  EXPECT_EQ(night->Items, once);
  const auto& lost = library.FindPlaylist("Lost Items")->Items;
  EXPECT_EQ(library.FindTrack(lost[1]), nullptr);
  EXPECT_EQ(library.FindTrack(lost.back()), nullptr);
}

TEST(LibraryGeneratorTest, SongsOfEveryTypeAndPlace) {
  for (const UrlForm form : {UrlForm::Windows, UrlForm::Posix}) {
    auto o = Small(form);
    o.Tracks = 3000;
    const auto library = GenerateLibrary(o);
    std::set<std::string> exts;
    std::set<SongPlace> places;
    std::set<TrackType> types;
    bool decomposed = false;
    bool precomposed = false;
    for (const auto& t : library.Tracks) {
      exts.insert(t.Ext);
      places.insert(t.Place);
      types.insert(t.Type);
      decomposed |= t.Location.find("%CC%81") != std::string::npos;
      precomposed |= t.Location.find("%C3%A9") != std::string::npos;
    }
    for (const char* ext : {"mp3", "m4a", "m4b", "aac", "wma", "ogg", "flac", "wav"}) {
      EXPECT_EQ(exts.count(ext), 1u) << ext;
    }
    EXPECT_EQ(types.size(), 3u);
    EXPECT_EQ(places.size(), form == UrlForm::Windows ? 6u : 5u);
    // A Mac stores accents decomposed; Windows keeps them composed.
    EXPECT_TRUE(decomposed);
    EXPECT_EQ(precomposed, form == UrlForm::Windows);
  }
}

TEST(LibraryGeneratorTest, CreatesTheSongFilesUnderTheRoot) {
  char folder[] = "/tmp/quorvella-libgen-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  auto o = Small(UrlForm::Posix);
  o.MusicRoot = std::string(folder) + "/root/";
  const auto library = GenerateLibrary(o);
  EXPECT_EQ(library.PlaylistFolder, std::string(folder) + "/root/Playlists");
  std::string error;
  std::int64_t expected = 0;
  for (const auto& t : library.Tracks) {
    if (t.Type == TrackType::File && t.Place != SongPlace::OtherVolume) ++expected;
  }
  EXPECT_EQ(CreateSongFiles(library, error), expected) << error;
  for (const auto& t : library.Tracks) {
    if (t.Type != TrackType::File) continue;
    EXPECT_EQ(std::filesystem::is_regular_file(t.Path), t.Place != SongPlace::OtherVolume) << t.Path;
  }
  std::filesystem::remove_all(folder);

  EXPECT_EQ(CreateSongFiles(GenerateLibrary(Small(UrlForm::Windows)), error), -1);
  EXPECT_NE(error.find("POSIX"), std::string::npos);
}

}  // namespace
}  // namespace quorvella
