// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/CliProcess.h"
#include "bench/LibraryGenerator.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace quorvella::test {

// A test of the real quorvella-cli program in a world of its own: a
// temporary folder that is the home, configuration and data folder (so the
// options, the trash and the TiVo Desktop shortcut folder are all in it),
// an English locale, and no other environment. On Windows the options live
// in the registry of the user, whose keys of the program, TiVo Desktop and
// the plug-in each test starts without.
class CliTest : public ::testing::Test {
 protected:
  void SetUp() override;

  ProcessResult Run(const std::vector<std::string>& args, const RunOptions& options = {}) const;
  // One run and what it must show: its exit status, a part of standard
  // error, and all of standard output.
  struct Case { std::vector<std::string> args; int exitCode; std::string err; std::string out = ""; };
  // Runs the cases in turn, on the same set-up.
  void ExpectRuns(const std::vector<Case>& cases) const;

  // Generates a library with its songs under <root>/music, in this system's
  // form, writes it to <root>/library.xml and creates the song files when asked.
  GeneratedLibrary MakeLibrary(std::uint64_t seed, std::int32_t tracks, std::int32_t playlists,
                               std::int32_t songsPerPlaylist, bool createSongFiles = true);

  // Writes a library of the given song files (absolute paths) to
  // libraryPath_ with playlists of them: a name, the songs' indices.
  void WriteSmallLibrary(const std::vector<std::string>& songs,
                         const std::vector<std::pair<std::string, std::vector<int>>>& playlists) const;

  // A file written into the temporary folder.
  std::string WriteFile(const std::string& name, const std::string& bytes) const;

  // Whether any option has been stored (the .reg file, or the registry key).
  bool OptionsStored() const;
  // Removes every stored option, the TiVo Desktop and plug-in entries too.
  void ClearOptions() const;
  std::filesystem::path TrashFiles() const { return data_ / "Trash" / "files"; }

  testing::TempDir dir_;
  std::filesystem::path root_, home_, config_, data_;
  std::string libraryPath_;
  // More environment for the program, besides the world above.
  std::map<std::string, std::string> extraEnvironment_;
};

inline constexpr bool kWindows = std::filesystem::path::preferred_separator == L'\\';

// A path as the program writes it: UTF-8, with this system's separators.
std::string Str(const std::filesystem::path& path);

// Renames playlists so that no two share a file name: such a pair is
// written again by every run, which blurs the counts of a run.
void GiveEachPlaylistItsOwnFile(GeneratedLibrary& library);

// The n-th playlist that publish --all writes: a normal one with songs.
GeneratedPlaylist& PublishedByAll(GeneratedLibrary& library, std::size_t n = 0);

using testing::ReadBytes;
std::vector<std::string> Lines(const std::string& text);
bool Contains(const std::string& text, const std::string& part);

}  // namespace quorvella::test
