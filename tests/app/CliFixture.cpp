// SPDX-License-Identifier: MIT
#include "app/CliFixture.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "bench/LibraryXml.h"
#include "platform/PathRules.h"

namespace quorvella::test {

void CliTest::SetUp() {
  std::string pattern = (std::filesystem::temp_directory_path() / "quorvella-cli-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  root_ = pattern;
  home_ = root_ / "home";
  config_ = root_ / "config";
  data_ = root_ / "data";
  for (const auto& dir : {home_, config_, data_}) std::filesystem::create_directories(dir);
  libraryPath_ = (root_ / "library.xml").string();
}

void CliTest::TearDown() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

ProcessResult CliTest::Run(const std::vector<std::string>& args, const RunOptions& options) const {
  std::map<std::string, std::string> env{
      {"HOME", home_.string()},          {"XDG_CONFIG_HOME", config_.string()},
      {"XDG_DATA_HOME", data_.string()}, {"LC_ALL", "en_US.UTF-8"},
      {"LANG", "en_US.UTF-8"},
  };
  env.insert(extraEnvironment_.begin(), extraEnvironment_.end());
  // The sanitizer build's settings reach the child too.
  for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
    if (const char* value = std::getenv(name)) env[name] = value;
  }
  ProcessResult result = RunProcess(QUORVELLA_CLI, args, env, options);
  EXPECT_FALSE(result.timedOut) << "quorvella-cli did not finish";
  return result;
}

GeneratedLibrary CliTest::MakeLibrary(std::uint64_t seed, std::int32_t tracks,
                                      std::int32_t playlists, std::int32_t songsPerPlaylist,
                                      bool createSongFiles) {
  LibraryOptions options;
  options.Seed = seed;
  options.Tracks = tracks;
  options.Playlists = playlists;
  options.SongsPerPlaylist = songsPerPlaylist;
  options.Form = UrlForm::Posix;
  options.MusicRoot = (root_ / "music").string();
  GeneratedLibrary library = GenerateLibrary(options);
  std::string error;
  if (createSongFiles) {
    EXPECT_GE(CreateSongFiles(library, error), 0) << error;
  }
  std::filesystem::create_directories(library.PlaylistFolder);
  EXPECT_TRUE(WriteLibraryXmlFile(library, libraryPath_, error)) << error;
  return library;
}

void CliTest::WriteSmallLibrary(
    const std::vector<std::string>& songs,
    const std::vector<std::pair<std::string, std::vector<int>>>& playlists) const {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist "
      "version=\"1.0\"><dict>\n<key>Tracks</key><dict>\n";
  for (std::size_t i = 0; i < songs.size(); ++i) {
    const std::string id = std::to_string(i + 1);
    xml += "<key>" + id + "</key><dict><key>Track ID</key><integer>" + id +
           "</integer><key>Name</key><string>" + std::filesystem::path(songs[i]).stem().string() +
           "</string><key>Location</key><string>" + FileUrl(songs[i], UrlForm::Posix) +
           "</string></dict>\n";
  }
  xml += "</dict>\n<key>Playlists</key><array>\n";
  int playlistId = 90000;
  for (const auto& [name, items] : playlists) {
    xml += "<dict><key>Name</key><string>" + name + "</string><key>Playlist ID</key><integer>" +
           std::to_string(++playlistId) + "</integer><key>Playlist Items</key><array>";
    for (const int item : items) {
      xml += "<dict><key>Track ID</key><integer>" + std::to_string(item + 1) + "</integer></dict>";
    }
    xml += "</array></dict>\n";
  }
  std::ofstream(libraryPath_, std::ios::binary) << xml << "</array></dict></plist>\n";
}

std::string CliTest::WriteFile(const std::string& name, const std::string& bytes) const {
  const std::filesystem::path path = root_ / name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path.string();
}

void GiveEachPlaylistItsOwnFile(GeneratedLibrary& library) {
  std::set<std::string> names;
  for (auto& playlist : library.Playlists) {
    while (!names.insert(SanitizeFileName(playlist.Name, "_")).second) playlist.Name += " 2";
  }
}

bool PublishedByAll(const GeneratedPlaylist& p) {
  return !p.Master && !p.Folder && !p.Smart && p.Visible && p.DistinguishedKind == 0 &&
         p.FlagKey.empty() && !p.Items.empty();
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace quorvella::test
