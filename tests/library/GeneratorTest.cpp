// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "bench/FileUrl.h"
#include "bench/LibraryGenerator.h"
#include "bench/LibraryXml.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace quorvella {
namespace {

LibraryOptions Small(UrlForm form, std::uint64_t seed = 1, std::int32_t tracks = 600) {
  return {.Seed = seed, .Tracks = tracks, .Playlists = 40, .SongsPerPlaylist = 30, .Form = form, .MusicRoot = {}};
}

TEST(FileUrlTest, EncodesPathsAsLibrariesWriteThem) {
  // The path, its form, whether the host is named, the URL.
  const std::tuple<const char*, UrlForm, bool, const char*> cases[] = {
      {"D:\\Music\\a b.mp3", UrlForm::Windows, false, "file://localhost/D:/Music/a%20b.mp3"},
      {"\\\\nas\\music\\x.mp3", UrlForm::Windows, false, "file://localhost//nas/music/x.mp3"},
      {"/home/u/Été #1 50% a+b?.mp3", UrlForm::Posix, false,
       "file:///home/u/%C3%89t%C3%A9%20%231%2050%25%20a+b%3F.mp3"},
      {"/x/Tom & Jerry's (Live) [1], \"q\" <a>|\\.mp3", UrlForm::Posix, false,
       "file:///x/Tom%20&%20Jerry's%20(Live)%20%5B1%5D,%20%22q%22%20%3Ca%3E%7C%5C.mp3"},
      {"/home/u/a", UrlForm::Posix, true, "file://localhost/home/u/a"},
  };
  for (const auto& [path, form, localhost, url] : cases) EXPECT_EQ(FileUrl(path, form, localhost), url) << path;
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
  const auto library = GenerateLibrary(Small(UrlForm::Windows, 3, 6000));
  const testing::TempDir dir;
  std::string error;
  ASSERT_TRUE(WriteLibraryXmlFile(library, dir.File("lib.xml"), error)) << error;
  const std::string written = testing::ReadBytes(dir.File("lib.xml"));
  EXPECT_GT(written.size(), 2u << 20);
  EXPECT_EQ(written, LibraryXml(library));
}

TEST(LibraryGeneratorTest, HoldsEverySpecialPlaylistAndSongsOfEveryTypeAndPlace) {
  for (const UrlForm form : {UrlForm::Windows, UrlForm::Posix}) {
    SCOPED_TRACE(form == UrlForm::Windows ? "Windows" : "POSIX");
    const auto library = GenerateLibrary(Small(form, 1, 3000));
    std::set<std::int32_t> kinds;
    for (const auto& p : library.Playlists) kinds.insert(p.DistinguishedKind);
    for (const int kind : {2, 3, 4, 5, 10, 19, 22, 26, 31, 200, 201, 202, 203, 204, 205, 206}) {
      EXPECT_EQ(kinds.count(kind), 1u) << kind;
    }
    EXPECT_GE(kinds.size(), 16u + 1 + 3);  // none, and kinds without a name of their own
    EXPECT_TRUE(library.Playlists.front().Master);
    EXPECT_EQ(library.Playlists.front().Items.size(), library.Tracks.size());

    std::set<std::string> exts;
    std::set<SongPlace> places;
    std::set<TrackType> types;
    bool decomposed = false, precomposed = false;
    for (const auto& t : library.Tracks) {
      exts.insert(t.Ext);
      places.insert(t.Place);
      types.insert(t.Type);
      decomposed |= t.Location.find("%CC%81") != std::string::npos;
      precomposed |= t.Location.find("%C3%A9") != std::string::npos;
    }
    EXPECT_EQ(exts, (std::set<std::string>{"", "mp3", "MP3", "m4a", "m4b", "aac", "wma", "ogg",
                                           "flac", "wav"}));
    EXPECT_EQ(types.size(), 3u);
    EXPECT_EQ(places.size(), form == UrlForm::Windows ? 6u : 5u);
    // A Mac stores accents decomposed; Windows keeps them composed.
    EXPECT_TRUE(decomposed);
    EXPECT_EQ(precomposed, form == UrlForm::Windows);
  }

  // Across seeds, both names of the library playlist and libraries with and
  // without the flag keys occur.
  std::set<std::string> masterNames;
  std::set<bool> flagged;
  for (std::uint64_t seed = 1; seed <= 16; ++seed) {
    const auto lib = GenerateLibrary(Small(UrlForm::Posix, seed, 20));
    masterNames.insert(lib.Playlists.front().Name);
    flagged.insert(!lib.FindPlaylist("Music")->FlagKey.empty());
  }
  EXPECT_EQ(masterNames, (std::set<std::string>{"Library", "####!####"}));
  EXPECT_EQ(flagged.size(), 2u);
}

TEST(LibraryGeneratorTest, CreatesTheSongFilesUnderTheRoot) {
  const testing::TempDir dir;
  auto o = Small(UrlForm::Posix);
  o.MusicRoot = dir.File("root/");
  const auto library = GenerateLibrary(o);
  EXPECT_EQ(library.PlaylistFolder, dir.File("root/Playlists"));
  std::string error;
  std::int64_t expected = 0;
  for (const auto& t : library.Tracks) expected += t.Type == TrackType::File && t.Place != SongPlace::OtherVolume;
  EXPECT_EQ(CreateSongFiles(library, error), expected) << error;
  for (const auto& t : library.Tracks) {
    if (t.Type != TrackType::File) continue;
    EXPECT_EQ(std::filesystem::is_regular_file(t.Path), t.Place != SongPlace::OtherVolume) << t.Path;
  }

  EXPECT_EQ(CreateSongFiles(GenerateLibrary(Small(UrlForm::Windows)), error), -1);
  EXPECT_NE(error.find("POSIX"), std::string::npos);
}

}  // namespace
}  // namespace quorvella
