// SPDX-License-Identifier: MIT
// quorvella-genlib: writes a generated music library as an XML file.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>

#include "bench/LibraryGenerator.h"
#include "bench/LibraryXml.h"

namespace {

constexpr const char* kUsage =
    "usage: quorvella-genlib [options] OUTPUT.xml\n"
    "Writes a music library in the iTunes XML format; the same options always\n"
    "give the same file. OUTPUT \"-\" writes to standard output.\n"
    "\n"
    "  --seed N             variation of names, placements and layout (default 1)\n"
    "  --tracks N           number of tracks (default 1000)\n"
    "  --playlists N        user playlists and folders besides the special ones (default 20)\n"
    "  --songs N            songs per playlist (default 50)\n"
    "  --form windows|posix file://localhost/D:/... or file:///home/... locations (default posix)\n"
    "  --root DIR           the folder holding Playlists/ and Music/ (default D:\\Music or\n"
    "                       /home/user/Music); a relative POSIX folder is made absolute\n"
    "  --create-files       also create the song files under the root, empty (POSIX form)\n"
    "  --quiet              print nothing on success\n";

int UsageError(const std::string& message) {
  std::fprintf(stderr, "quorvella-genlib: %s\n%s", message.c_str(), kUsage);
  return 2;
}

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
  quorvella::LibraryOptions options;
  bool createFiles = false;
  bool quiet = false;
  std::string output;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const auto value = [&](std::string_view& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    std::string_view v;
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--create-files") {
      createFiles = true;
    } else if (arg == "--quiet") {
      quiet = true;
    } else if (arg == "--seed") {
      if (!value(v) || !ParseNumber(v, options.Seed)) return UsageError("--seed needs a whole number");
    } else if (arg == "--tracks") {
      if (!value(v) || !ParseNumber(v, options.Tracks) || options.Tracks < 0) {
        return UsageError("--tracks needs a number of 0 or more");
      }
    } else if (arg == "--playlists") {
      if (!value(v) || !ParseNumber(v, options.Playlists) || options.Playlists < 0) {
        return UsageError("--playlists needs a number of 0 or more");
      }
    } else if (arg == "--songs") {
      if (!value(v) || !ParseNumber(v, options.SongsPerPlaylist) || options.SongsPerPlaylist < 0) {
        return UsageError("--songs needs a number of 0 or more");
      }
    } else if (arg == "--form") {
      if (!value(v) || (v != "windows" && v != "posix")) return UsageError("--form is windows or posix");
      options.Form = v == "windows" ? quorvella::UrlForm::Windows : quorvella::UrlForm::Posix;
    } else if (arg == "--root") {
      if (!value(v) || v.empty()) return UsageError("--root needs a folder");
      options.MusicRoot = std::string(v);
    } else if (!arg.empty() && arg[0] == '-' && arg != "-") {
      return UsageError("unknown option " + std::string(arg));
    } else if (output.empty()) {
      output = std::string(arg);
    } else {
      return UsageError("only one output file");
    }
  }
  if (output.empty()) return UsageError("no output file");
  if (options.Form == quorvella::UrlForm::Posix && !options.MusicRoot.empty() && options.MusicRoot[0] != '/') {
    options.MusicRoot = std::filesystem::absolute(options.MusicRoot).lexically_normal().native();
  }

  try {
    const auto library = quorvella::GenerateLibrary(options);
    std::string error;
    if (createFiles && quorvella::CreateSongFiles(library, error) < 0) {
      std::fprintf(stderr, "quorvella-genlib: %s\n", error.c_str());
      return 1;
    }
    if (!quorvella::WriteLibraryXmlFile(library, output, error)) {
      std::fprintf(stderr, "quorvella-genlib: %s\n", error.c_str());
      return 1;
    }
    if (!quiet && output != "-") {
      std::printf("%s: %zu tracks, %zu playlists; playlist folder %s\n", output.c_str(), library.Tracks.size(),
                  library.Playlists.size(), library.PlaylistFolder.c_str());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "quorvella-genlib: %s\n", e.what());
    return 2;
  }
  return 0;
}
