// SPDX-License-Identifier: MIT
#include "platform/PathRules.h"

#include <gtest/gtest.h>

#include "platform/RelativePathCases.h"

namespace quorvella {
namespace {

TEST(SanitizeFileName, ReplacesExactlyTheFixedSet) {
  const std::pair<std::string, std::string> cases[] = {
      {"AC/DC: Live?", "AC_DC_ Live_"}, {"", ""}, {"Rock & Roll. ", "Rock & Roll. "},
      {"a\"b*c/d:e<f>g?h\\i|j", "a_b_c_d_e_f_g_h_i_j"},
      {"tab\there\nnew\x1F" "end\x01", "tab_here_new_end_"},
      // Everything else stays: DEL, punctuation, and non-ASCII letters,
      // which file names on Linux keep as UTF-8.
      {"\x7F#%&'()+,;=@[]^`{}~!$", "\x7F#%&'()+,;=@[]^`{}~!$"},
      {"Café ★ 日本 – Ænima", "Café ★ 日本 – Ænima"}, {"\xFF\xC3", "\xFF\xC3"},
  };
  for (const auto& [name, clean] : cases) EXPECT_EQ(SanitizeFileName(name, "_"), clean) << name;
  EXPECT_EQ(SanitizeFileName("a:b", "--"), "a--b");
}

TEST(AddBackslash, TrimsAndEndsWithTheFormsSeparator) {
  const std::pair<const char*, const char*> cases[] = {
      {"  C:\\Lists  ", "C:\\Lists\\"}, {"C:\\", "C:\\"}, {"   ", ""}, {"", ""},
      {"\\\\server\\share", "\\\\server\\share\\"}, {"  /srv/lists  ", "/srv/lists/"},
      {"/", "/"}, {"/srv/lists/", "/srv/lists/"}};
  for (const auto& [folder, ended] : cases) EXPECT_EQ(AddBackslash(folder), ended) << folder;
}

TEST(RelativePathTo, EachFormWithItsRoots) {
  for (const auto& c : test::RelativePathCases()) {
    EXPECT_EQ(RelativePathTo(c.folder, c.file), c.expected) << c.folder << " -> " << c.file;
  }
}

TEST(RelativePathTo, ResultMustFitTheBuffer) {
  // ".\" and the name: 259 characters fit with the terminating NUL, 260 do
  // not. Characters are counted, not the bytes of their UTF-8 form; the
  // climbing part counts as well.
  const std::string n(257, 'n');
  std::string e;
  for (int i = 0; i < 257; ++i) e += "é";
  const test::RelativePathCase cases[] = {
      {"D:\\L", "D:\\L\\" + n, ".\\" + n}, {"D:\\L", "D:\\L\\" + n + "n", ""},
      {"/l", "/l/" + n + "n", ""}, {"/l", "/l/" + e, "./" + e}, {"/l", "/l/" + e + "é", ""},
      {"D:\\a\\b", "D:\\" + n.substr(4), "..\\..\\" + n.substr(4)},
      {"D:\\a\\b", "D:\\" + n.substr(3), ""}};
  for (const auto& c : cases) EXPECT_EQ(RelativePathTo(c.folder, c.file), c.expected) << c.file;
}

TEST(SortSongPath, SortsByTheStartOfTheRelativePath) {
  using C = SongPathClass;
  const struct { std::string relative; SongPathClass pathClass; std::string written; } cases[] = {
      {".\\Rock\\a.mp3", C::Written, "Rock\\a.mp3"}, {"./Rock/a.mp3", C::Written, "Rock/a.mp3"},
      {"..\\Music\\a.mp3", C::LikelyUnreachable, "..\\Music\\a.mp3"},
      {"../Music/a.mp3", C::LikelyUnreachable, "../Music/a.mp3"},
      {"", C::Unreachable, ""}, {".\\", C::Unreachable, ""},
      {"a.mp3", C::Written, "a.mp3"}, {"..a.mp3", C::Written, "..a.mp3"},
  };
  for (const auto& c : cases) {
    const SortedSongPath sorted = SortSongPath(c.relative);
    EXPECT_EQ(sorted.pathClass, c.pathClass) << c.relative;
    EXPECT_EQ(sorted.path, c.written) << c.relative;
  }
}

}  // namespace
}  // namespace quorvella
