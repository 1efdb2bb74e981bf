// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace quorvella::test {

struct RelativePathCase { std::string folder, file, expected; };

// The relative path of a song from the playlist folder, in both path forms;
// the Windows build holds the ASCII Windows rows against the shell's own
// function too.
inline std::vector<RelativePathCase> RelativePathCases() {
  return {
      {"D:\\Lists", "D:\\Lists\\Rock\\a.mp3", ".\\Rock\\a.mp3"},
      {"D:\\Lists", "D:\\Music\\a.mp3", "..\\Music\\a.mp3"},
      {"D:\\Lists\\Pop", "D:\\Music\\a.mp3", "..\\..\\Music\\a.mp3"},
      {"D:\\Lists", "d:\\lists\\a.mp3", ".\\a.mp3"}, {"D:\\Lists", "E:\\Lists\\a.mp3", ""},
      {"D:\\Lists\\", "D:\\Lists\\a.mp3", ".\\a.mp3"}, {"D:\\", "D:\\a.mp3", ".\\a.mp3"},
      {"D:\\", "D:\\Music\\a.mp3", ".\\Music\\a.mp3"}, {"D:\\Lists", "D:\\a.mp3", "..\\a.mp3"},
      // Two backslashes in a row hold an empty component, counted as one.
      {"D:\\Lists\\\\", "D:\\Lists\\a.mp3", "..\\a.mp3"},
      {"D:\\Lists\\\\Pop", "D:\\Lists\\Pop\\a.mp3", "..\\..\\Pop\\a.mp3"},
      {"D:\\Lists\\\\Pop", "D:\\Lists\\\\Pop\\a.mp3", ".\\a.mp3"},
      {"D:\\Lists", "D:\\Lists\\\\a.mp3", ".\\\\a.mp3"}, {"D:\\\\", "D:\\a.mp3", "..\\a.mp3"},
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
      {"Lists", "Lists\\a.mp3", ""}, {"\\Lists", "\\Lists\\a.mp3", ""},
      // The POSIX form keeps case and uses slashes.
      {"/lists", "/lists/Rock/a.mp3", "./Rock/a.mp3"}, {"/lists", "/music/a.mp3", "../music/a.mp3"},
      {"/lists/pop", "/music/a.mp3", "../../music/a.mp3"},
      {"/Lists", "/lists/a.mp3", "../lists/a.mp3"}, {"/lists/", "/lists/a.mp3", "./a.mp3"},
      {"/", "/a.mp3", "./a.mp3"}, {"/", "/music/a.mp3", "./music/a.mp3"},
      // A run of "/" names the same folder as one.
      {"/srv//lists", "/srv/lists//a.mp3", "./a.mp3"},
      {"/lists//", "/lists/a.mp3", "./a.mp3"},
      {"/lists//pop", "/lists/a.mp3", "../a.mp3"},
      {"//", "/a.mp3", "./a.mp3"},
      {"/música", "/Música/a.mp3", "../Música/a.mp3"},
      {"/lists", "/lists\\a.mp3", "../lists\\a.mp3"},
      // Path forms share no root.
      {"D:\\Lists", "/lists/a.mp3", ""}, {"/lists", "D:\\lists\\a.mp3", ""},
      {"\\\\server\\share", "/server/share/a.mp3", ""},
  };
}

}  // namespace quorvella::test
