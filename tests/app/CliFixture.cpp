// SPDX-License-Identifier: MIT
#include "app/CliFixture.h"

#include <cstdlib>
#include <set>
#include <sstream>
#include <stdexcept>

#include "bench/LibraryXml.h"
#include "library/xml/LibraryTestFiles.h"
#include "platform/NativePath.h"
#include "platform/PathRules.h"
#ifdef _WIN32
#include <windows.h>

#include "settings/RegistryKeys.h"
#include "tivo/Plugin.h"
#endif

namespace quorvella::test {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr UrlForm kForm = UrlForm::Windows;

// Where Wine keeps a Windows path on the host, for the variables Wine itself
// reads (its trash); empty on a Windows without Wine.
std::string HostPath(const fs::path& path) {
  using Convert = char*(__cdecl*)(const wchar_t*);
  const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  char* host = convert != nullptr ? convert(path.c_str()) : nullptr;
  const std::string text = host != nullptr ? host : "";
  HeapFree(GetProcessHeap(), 0, host);
  return text;
}

std::string Program() {
  std::string path = "Z:" QUORVELLA_CLI;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}
#else
constexpr UrlForm kForm = UrlForm::Posix;
std::string Program() { return QUORVELLA_CLI; }
#endif

}  // namespace

void CliTest::SetUp() {
  root_ = dir_.Path(), home_ = root_ / "home", config_ = root_ / "config", data_ = root_ / "data";
  for (const auto& dir : {home_, config_, data_}) fs::create_directories(dir);
  libraryPath_ = Str(root_ / "library.xml");
  if (kWindows) ClearOptions();
}

void CliTest::ClearOptions() const {
#ifdef _WIN32
  for (const auto& [hive, key] : {std::pair{HKEY_CURRENT_USER, SettingsKey},
                                  {HKEY_CURRENT_USER, std::string_view("Software\\TiVo")},
                                  {HKEY_LOCAL_MACHINE, PluginUninstallKey}}) {
    RegDeleteTreeA(hive, std::string(key).c_str());
  }
#else
  fs::remove_all(config_ / "Quorvella");
#endif
}

bool CliTest::OptionsStored() const {
#ifdef _WIN32
  HKEY key = nullptr;
  const bool stored = RegOpenKeyExA(HKEY_CURRENT_USER, std::string(SettingsKey).c_str(), 0, KEY_READ, &key) == 0;
  if (stored) RegCloseKey(key);
  return stored;
#else
  return fs::exists(config_ / "Quorvella");
#endif
}

ProcessResult CliTest::Run(const std::vector<std::string>& args, const RunOptions& options) const {
  std::map<std::string, std::string> env{
#ifdef _WIN32
      {"USERPROFILE", Str(home_)}, {"APPDATA", Str(config_)}, {"LOCALAPPDATA", Str(data_)},
      {"XDG_DATA_HOME", HostPath(data_)},
#else
      {"HOME", home_.string()}, {"XDG_CONFIG_HOME", config_.string()},
      {"XDG_DATA_HOME", data_.string()},
#endif
      {"LC_ALL", "en_US.UTF-8"}, {"LANG", "en_US.UTF-8"},
  };
  env.insert(extraEnvironment_.begin(), extraEnvironment_.end());
  // The sanitizer build's settings reach the child too.
  for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
    if (const char* value = std::getenv(name)) env[name] = value;
  ProcessResult result = RunProcess(Program(), args, env, options);
#ifdef _WIN32
  // Text ends its lines with CR LF on Windows; UTF-16 (after its byte order
  // mark) is bytes.
  for (std::string* text : {&result.out, &result.err}) {
    if (text->starts_with("\xFF\xFE")) continue;
    for (std::size_t at = 0; (at = text->find("\r\n", at)) != std::string::npos;) text->erase(at, 1);
  }
#endif
  EXPECT_FALSE(result.timedOut) << "quorvella-cli did not finish";
  return result;
}

void CliTest::ExpectRuns(const std::vector<Case>& cases) const {
  for (const auto& c : cases) {
    const ProcessResult result = Run(c.args);
    EXPECT_TRUE(result.exitCode == c.exitCode && result.out == c.out && Contains(result.err, c.err))
        << ::testing::PrintToString(c.args) << "\nexit " << result.exitCode << "\nout: " << result.out
        << "\nerr: " << result.err;
  }
}

GeneratedLibrary CliTest::MakeLibrary(std::uint64_t seed, std::int32_t tracks,
                                      std::int32_t playlists, std::int32_t songsPerPlaylist,
                                      bool createSongFiles) {
  GeneratedLibrary library = GenerateLibrary({.Seed = seed,
                                              .Tracks = tracks,
                                              .Playlists = playlists,
                                              .SongsPerPlaylist = songsPerPlaylist,
                                              .Form = kForm,
                                              .MusicRoot = Str(root_ / "music")});
  for (const auto& track : library.Tracks) {
    if (!createSongFiles || track.Type != TrackType::File || track.Place == SongPlace::OtherVolume ||
        track.Place == SongPlace::NetworkShare)
      continue;
    testing::WriteBytes(NativePath(track.Path), "");
  }
  fs::create_directories(NativePath(library.PlaylistFolder));
  std::string error;
  EXPECT_TRUE(WriteLibraryXmlFile(library, libraryPath_, error)) << error;
  return library;
}

void CliTest::WriteSmallLibrary(const std::vector<std::string>& songs,
                                const std::vector<std::pair<std::string, std::vector<int>>>& playlists) const {
  std::string tracks, lists;
  for (std::size_t i = 0; i < songs.size(); ++i)
    tracks += testing::TrackXml(static_cast<int>(i + 1), "<key>Name</key><string>" + Utf8Path(NativePath(songs[i]).stem()) +
                                "</string><key>Location</key><string>" + FileUrl(songs[i], kForm) + "</string>");
  int playlistId = 90000;
  for (const auto& [name, items] : playlists) {
    lists += "<dict><key>Name</key><string>" + name + "</string><key>Playlist ID</key><integer>" +
             std::to_string(++playlistId) + "</integer><key>Playlist Items</key><array>";
    for (const int item : items) lists += "<dict><key>Track ID</key><integer>" + std::to_string(item + 1) + "</integer></dict>";
    lists += "</array></dict>\n";
  }
  testing::WriteFile(libraryPath_, testing::LibraryXml(tracks, lists));
}

std::string CliTest::WriteFile(const std::string& name, const std::string& bytes) const {
  testing::WriteBytes(root_ / NativePath(name), bytes);
  return Str(root_ / NativePath(name));
}

std::string Str(const fs::path& path) { return Utf8Path(fs::path(path).make_preferred()); }

void GiveEachPlaylistItsOwnFile(GeneratedLibrary& library) {
  std::set<std::string> names;
  for (auto& playlist : library.Playlists)
    while (!names.insert(SanitizeFileName(playlist.Name, "_")).second) playlist.Name += " 2";
}

GeneratedPlaylist& PublishedByAll(GeneratedLibrary& library, std::size_t n) {
  for (auto& p : library.Playlists)
    if (!p.Master && !p.Folder && !p.Smart && p.Visible && p.DistinguishedKind == 0 && p.FlagKey.empty() &&
        !p.Items.empty() && n-- == 0)
      return p;
  throw std::out_of_range("the library has fewer playlists that publish --all writes");
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
