// SPDX-License-Identifier: MIT
// Which written songs the server will still not play: outside the pyTivo
// share that holds the playlist folder, or with names the playlist's code
// page cannot hold.
#include "engine/ServerReach.h"

#include <gtest/gtest.h>


namespace quorvella {
namespace {

const MusicShare kMusic{"Music", "/srv/music"};

TEST(ServerReachTest, EntriesResolveAsPyTivoJoinsAndNormalisesThem) {
  ServerReach reach("/srv/music/Playlists", kMusic, PlaylistEncoding::Ansi, 1252);
  const std::pair<const char*, bool> cases[] = {  // a playlist line, and whether it is inside
      {"a.mp3", true},
      {"Rock/b.mp3", true},
      {"../Rock/b.mp3", true},  // ".." that stays inside the share
      {"../../music/Rock/b.mp3", true},
      {"../", true},  // the share's root itself
      {"../../other/c.mp3", false},
      {"../../musical/c.mp3", false},  // beside the share, its name running on
      {"../../Music/c.mp3", false},    // letter case counts here
      {"/srv/music/Jazz/d.mp3", true},  // an absolute path stands on its own
      {"/home/u/d.mp3", false},
      {"../../../../../srv/music/e.mp3", true},  // ".." at the root stays there
      {"./Rock/./f.mp3", true},
  };
  for (const auto& [line, inShare] : cases) EXPECT_EQ(reach.InShare(line), inShare) << line;

  // Without a share, or for a folder of the other dialect, nothing is outside.
  ServerReach noShare("/srv/music/Playlists", std::nullopt, PlaylistEncoding::Ansi, 1252);
  EXPECT_TRUE(noShare.InShare("../../other/c.mp3"));
  ServerReach windows("D:\\Lists", kMusic, PlaylistEncoding::Ansi, 1252);
  EXPECT_TRUE(windows.InShare("..\\..\\x.mp3"));
  ServerReach rootShare("/srv/music/Playlists", MusicShare{"All", "/"}, PlaylistEncoding::Ansi, 1252);
  EXPECT_TRUE(rootShare.InShare("../../../../home/u/x.mp3"));
}

TEST(ServerReachTest, NamesComeBackAsTheServerReadsThePlaylist) {
  const std::string cafe = "Caf\xC3\xA9/\xC3\x89t\xC3\xA9.mp3";   // Café/Été.mp3
  const std::string omega = "\xCE\xA9mega.mp3";                       // Ωmega.mp3
  const std::string decomposed = "Cafe\xCC\x81.mp3";                  // e + combining acute
  const std::string cyrillic = "\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F.mp3";  // Песня.mp3
  // The share, the playlist's encoding and code page, a line, and whether its name survives.
  const std::tuple<std::optional<MusicShare>, PlaylistEncoding, int, std::string, bool> cases[] = {
      {kMusic, PlaylistEncoding::Ansi, 1252, "plain/ascii.mp3", true},
      {kMusic, PlaylistEncoding::Ansi, 1252, cafe, true},
      {kMusic, PlaylistEncoding::Ansi, 1252, omega, false},
      {kMusic, PlaylistEncoding::Ansi, 1252, decomposed, false},
      {kMusic, PlaylistEncoding::Ansi, 1252, "\xE2\x82\xAC.mp3", true},  // € has a byte
      {kMusic, PlaylistEncoding::Utf8, 1252, omega, true},
      {kMusic, PlaylistEncoding::Utf8, 1252, decomposed, true},
      // Written in Windows-1251: the computer's code page holds the name,
      // but pyTivo reads .m3u files as Windows-1252.
      {std::nullopt, PlaylistEncoding::Ansi, 1251, cyrillic, true},
      {kMusic, PlaylistEncoding::Ansi, 1251, cyrillic, false},
      {std::nullopt, PlaylistEncoding::Ansi, 1251, cafe, false},
  };
  for (const auto& [share, encoding, codePage, line, survives] : cases) {
    ServerReach reach("/srv/music/Playlists", share, encoding, codePage);
    EXPECT_EQ(reach.NameSurvives(line), survives) << line << " in " << codePage;
  }
}

}  // namespace
}  // namespace quorvella
