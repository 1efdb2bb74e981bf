// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

// How a music library writes the location of a song file: as a file URL whose
// path is percent-encoded, in the form of the machine that wrote it.
namespace quorvella {

enum class UrlForm {
  Windows,  // file://localhost/D:/Music/a%20b.mp3, file://localhost//server/share/x
  Posix,    // file:///home/user/Music/a%20b.mp3
};

// Percent-encodes a URL path: letters, digits, "/" and -._~!$&'()*+,;=:@ stay;
// every other byte (space, "#", "%", "?", quotes, brackets, non-ASCII UTF-8
// bytes, ...) becomes %XX in upper-case hex.
std::string PercentEncodePath(std::string_view path);

// The file URL of a path in the form's own dialect: "D:\Music\a.mp3" or
// "\\server\share\a.mp3" for Windows, "/home/u/a.mp3" for POSIX. `localhost`
// chooses file://localhost/home/... over file:///home/... in the POSIX form;
// the Windows form always names localhost.
std::string FileUrl(std::string_view path, UrlForm form, bool localhost = false);

// Canonical decomposition of the letters this generator puts into names:
// the accented Latin-1 letters, a few Cyrillic letters (й, ё) and Japanese
// kana with voicing marks become base letter plus combining mark, Hangul
// syllables become their jamo. This is how a Mac file system stores names.
std::string DecomposeNfd(std::string_view text);

}  // namespace quorvella
