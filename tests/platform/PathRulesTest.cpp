// SPDX-License-Identifier: MIT
#include "platform/PathRules.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvella {
namespace {

struct SanitizeCase {
  std::string name;
  std::string expected;
};

TEST(SanitizeFileName, ReplacesExactlyTheFixedSet) {
  const SanitizeCase cases[] = {
      {"AC/DC: Live?", "AC_DC_ Live_"},
      {"", ""},
      {"Rock & Roll. ", "Rock & Roll. "},
      {"a\"b*c/d:e<f>g?h\\i|j", "a_b_c_d_e_f_g_h_i_j"},
      {"tab\there\nnew\x1F" "end\x01", "tab_here_new_end_"},
      // Everything else stays: DEL, punctuation, and non-ASCII letters,
      // which file names on Linux keep as UTF-8.
      {"\x7F#%&'()+,;=@[]^`{}~!$", "\x7F#%&'()+,;=@[]^`{}~!$"},
      {"Café ★ 日本 – Ænima", "Café ★ 日本 – Ænima"},
      {"\xFF\xC3", "\xFF\xC3"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SanitizeFileName(c.name, "_"), c.expected) << c.name;
  }
  EXPECT_EQ(SanitizeFileName("a:b", "--"), "a--b");
}

TEST(AddBackslash, TrimsAndEndsWithTheDialectsSeparator) {
  EXPECT_EQ(AddBackslash("  C:\\Lists  "), "C:\\Lists\\");
  EXPECT_EQ(AddBackslash("C:\\"), "C:\\");
  EXPECT_EQ(AddBackslash("   "), "");
  EXPECT_EQ(AddBackslash(""), "");
  EXPECT_EQ(AddBackslash("\\\\server\\share"), "\\\\server\\share\\");
  EXPECT_EQ(AddBackslash("  /srv/lists  "), "/srv/lists/");
  EXPECT_EQ(AddBackslash("/"), "/");
  EXPECT_EQ(AddBackslash("/srv/lists/"), "/srv/lists/");
}

TEST(RelativePathTo, EachDialectWithItsRoots) {
  struct Case {
    std::string folder;
    std::string file;
    std::string expected;
  };
  const Case cases[] = {
      {"D:\\Lists", "D:\\Lists\\Rock\\a.mp3", ".\\Rock\\a.mp3"},
      {"D:\\Lists", "D:\\Music\\a.mp3", "..\\Music\\a.mp3"},
      {"D:\\Lists\\Pop", "D:\\Music\\a.mp3", "..\\..\\Music\\a.mp3"},
      {"D:\\Lists", "d:\\lists\\a.mp3", ".\\a.mp3"},
      {"D:\\Lists", "E:\\Lists\\a.mp3", ""},
      {"D:\\Lists\\", "D:\\Lists\\a.mp3", ".\\a.mp3"},
      {"D:\\", "D:\\a.mp3", ".\\a.mp3"},
      {"D:\\", "D:\\Music\\a.mp3", ".\\Music\\a.mp3"},
      {"D:\\Lists", "D:\\a.mp3", "..\\a.mp3"},
      // Two backslashes in a row hold an empty component, counted as one.
      {"D:\\Lists\\\\", "D:\\Lists\\a.mp3", "..\\a.mp3"},
      {"D:\\Lists\\\\Pop", "D:\\Lists\\Pop\\a.mp3", "..\\..\\Pop\\a.mp3"},
      {"D:\\Lists\\\\Pop", "D:\\Lists\\\\Pop\\a.mp3", ".\\a.mp3"},
      {"D:\\Lists", "D:\\Lists\\\\a.mp3", ".\\\\a.mp3"},
      {"D:\\\\", "D:\\a.mp3", "..\\a.mp3"},
      {"\\\\server\\share\\\\", "\\\\server\\share\\a.mp3", "..\\a.mp3"},
      // Case is ignored for every letter, not only A to Z.
      {"D:\\MÚSICA\\Éxitos", "d:\\música\\éxitos\\a.mp3", ".\\a.mp3"},
      {"D:\\Жанр", "D:\\жанр\\a.mp3", ".\\a.mp3"},
      // Network paths: the server and the share are the root.
      {"\\\\Server\\Share\\Lists", "\\\\server\\share\\Music\\a.mp3", "..\\Music\\a.mp3"},
      {"\\\\server\\share", "\\\\server\\share\\a.mp3", ".\\a.mp3"},
      {"\\\\server\\share\\Lists", "\\\\server\\other\\Lists\\a.mp3", ""},
      {"\\\\server\\share\\Lists", "D:\\Lists\\a.mp3", ""},
      // Without a root there is nothing to share.
      {"Lists", "Lists\\a.mp3", ""},
      {"\\Lists", "\\Lists\\a.mp3", ""},
      // The POSIX form keeps case and uses slashes.
      {"/lists", "/lists/Rock/a.mp3", "./Rock/a.mp3"},
      {"/lists", "/music/a.mp3", "../music/a.mp3"},
      {"/lists/pop", "/music/a.mp3", "../../music/a.mp3"},
      {"/Lists", "/lists/a.mp3", "../lists/a.mp3"},
      {"/lists/", "/lists/a.mp3", "./a.mp3"},
      {"/", "/a.mp3", "./a.mp3"},
      {"/", "/music/a.mp3", "./music/a.mp3"},
      // A run of "/" names the same folder as one.
      {"/srv//lists", "/srv/lists//a.mp3", "./a.mp3"},
      {"/lists//", "/lists/a.mp3", "./a.mp3"},
      {"/lists//pop", "/lists/a.mp3", "../a.mp3"},
      {"//", "/a.mp3", "./a.mp3"},
      {"/música", "/Música/a.mp3", "../Música/a.mp3"},
      {"/lists", "/lists\\a.mp3", "../lists\\a.mp3"},
      // Dialects share no root.
      {"D:\\Lists", "/lists/a.mp3", ""},
      {"/lists", "D:\\lists\\a.mp3", ""},
      {"\\\\server\\share", "/server/share/a.mp3", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RelativePathTo(c.folder, c.file), c.expected) << c.folder << " -> " << c.file;
  }
}

TEST(RelativePathTo, ResultMustFitTheBuffer) {
  // ".\" and the name: 259 characters fit with the terminating NUL, 260 do not.
  const std::string fits(257, 'n');
  EXPECT_EQ(RelativePathTo("D:\\L", "D:\\L\\" + fits), ".\\" + fits);
  EXPECT_EQ(RelativePathTo("D:\\L", "D:\\L\\" + fits + "n"), "");
  EXPECT_EQ(RelativePathTo("/l", "/l/" + fits + "n"), "");
  // Characters are counted, not the bytes of their UTF-8 form.
  std::string accented;
  for (int i = 0; i < 257; ++i) accented += "é";
  EXPECT_EQ(RelativePathTo("/l", "/l/" + accented), "./" + accented);
  EXPECT_EQ(RelativePathTo("/l", "/l/" + accented + "é"), "");
  // The climbing part counts as well.
  EXPECT_EQ(RelativePathTo("D:\\a\\b", "D:\\" + std::string(253, 'n')),
            "..\\..\\" + std::string(253, 'n'));
  EXPECT_EQ(RelativePathTo("D:\\a\\b", "D:\\" + std::string(254, 'n')), "");
}

TEST(SortSongPath, SortsByTheStartOfTheRelativePath) {
  struct Case {
    std::string relative;
    SongPathClass pathClass;
    std::string written;
  };
  const Case cases[] = {
      {".\\Rock\\a.mp3", SongPathClass::Written, "Rock\\a.mp3"},
      {"./Rock/a.mp3", SongPathClass::Written, "Rock/a.mp3"},
      {"..\\Music\\a.mp3", SongPathClass::LikelyUnreachable, "..\\Music\\a.mp3"},
      {"../Music/a.mp3", SongPathClass::LikelyUnreachable, "../Music/a.mp3"},
      {"", SongPathClass::Unreachable, ""},
      {".\\", SongPathClass::Unreachable, ""},
      {"a.mp3", SongPathClass::Written, "a.mp3"},
      {"..a.mp3", SongPathClass::Written, "..a.mp3"},
  };
  for (const auto& c : cases) {
    const SortedSongPath sorted = SortSongPath(c.relative);
    EXPECT_EQ(sorted.pathClass, c.pathClass) << c.relative;
    EXPECT_EQ(sorted.path, c.written) << c.relative;
  }
}

}  // namespace
}  // namespace quorvella
