// SPDX-License-Identifier: MIT
#include "bench/LibraryGenerator.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <unordered_set>

namespace quorvella {
namespace {

// splitmix64: small, fast, and the same on every compiler and library, which
// the standard distributions are not.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // 0 <= result < n (n > 0).
  std::uint32_t Below(std::uint32_t n) {
    return static_cast<std::uint32_t>(((Next() >> 32) * n) >> 32);
  }
  std::int32_t Between(std::int32_t low, std::int32_t high) {
    return low + static_cast<std::int32_t>(Below(static_cast<std::uint32_t>(high - low + 1)));
  }
  bool Percent(std::uint32_t p) { return Below(100) < p; }
  template <typename T, std::size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(N)];
  }
  std::string HexId() {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::uint64_t v = Next();
    std::string id(16, '0');
    for (int i = 15; i >= 0; --i, v >>= 4) id[i] = kHex[v & 0xF];
    return id;
  }

 private:
  std::uint64_t state_;
};

constexpr std::string_view kAdjectives[] = {
    "Blue",     "Night",   "River",    "Echo",     "Summer",  "Paper",    "Golden",  "Silent",
    "Electric", "Morning", "Velvet",   "Winter",   "Glass",   "Neon",     "Wild",    "Broken",
    "Hollow",   "Crimson", "Distant",  "Northern", "Lucky",   "Slow",     "Burning", "Secret",
    "Ocean",    "Silver",  "Dancing",  "Lonely",   "Stone",   "Shadow",   "Sugar",   "Thunder",
    "Fading",   "Little",  "Bright",   "Empty",    "Tender",  "Rolling",  "Falling", "Quiet"};
constexpr std::string_view kNouns[] = {
    "Heart",  "Road",    "Light",   "Dream",  "Fire",    "Rain",   "Sky",     "Train",
    "Garden", "Mirror",  "City",    "Song",   "Moon",    "Line",   "Window",  "Letter",
    "Horizon", "Machine", "Parade", "Harbor", "Signal",  "Ghost",  "Island",  "Radio",
    "Tide",   "Circle",  "Flower",  "Highway", "Kingdom", "Ladder", "Weather", "Engine"};

// Titles that carry what names in real libraries carry: accents, other
// scripts, decomposed accents, characters a file name cannot hold, XML's
// own specials, and spaces at the ends.
constexpr std::string_view kSpecialTitles[] = {
    "Été Indien",         "Café Noir",        "Canción Añeja",         "Über den Wolken",
    "Fête à Noël",        "Smörgåsbord",      "Crème Brûlée",          "Ça ira",
    "Ångström",           "Jalapeño",         "夜の森",                "ガラス玉",
    "さよなら東京",       "黄色い花",         "달빛 노래",             "Белая ночь",
    "Ёлка и йод",         "Зимний сад",       "Cafe\u0301 de\u0301compose\u0301",
    "What? Why: Because", "AC/DC Tribute",    "Back\\Slash",           "Pipe | Dream",
    "Star * Light",       "\"Quoted\" Title", "<Angle> Brackets",      "Rock & Roll",
    "Tom & Jerry's Song", "50% Chance",       "#1 Hit",                "Plus + Minus",
    "Semi;colon, Comma",  "[Bracketed] {Braced}", "Tilde ~ Caret ^ Grave `",
    "Spaces  Twice",      "Trailing Dot.",    "  Leading and Trailing  ",
    "Equals = Sign @ Home", "Dollar $ Euro € Pound £", "Party 🎉 Time"};

constexpr std::string_view kSpecialArtists[] = {
    "Zoë Ångström",      "Los Niños Perdidos", "Sigrún Ólafsdóttir", "Renée Saint-Éloi",
    "Ørjan Følstad",     "Jürgen Weiß",        "青い鳥バンド",       "坂本 花子",
    "김민지",            "Группа Лето",        "Дмитрий Йорк",       "AC/DC Cover Band",
    "Simon & Partners",  "Earth, Fire & Ice",  "Question? Mark",     "The \"Quoted\" Ones",
    "<Less> Than Zero",  "Back\\Slash Duo",    "Pipe|Line",          "Star*Dust",
    "Colon: The Band",   "+44 Plus",           "100% Proof",         "#Hashtag"};

constexpr std::string_view kGenres[] = {"Rock",      "Pop",        "Jazz",    "Classical",
                                        "Electronic", "Hip-Hop",   "Country", "Blues",
                                        "Folk",      "Soundtrack", "Reggae",  "R&B/Soul"};

struct FileType {
  std::string_view ext;
  std::string_view kind;
  std::uint32_t weight;  // out of 100
  std::int32_t bitRate;
};

constexpr FileType kFileTypes[] = {
    {"mp3", "MPEG audio file", 70, 192},
    {"m4a", "AAC audio file", 10, 256},
    {"m4b", "AAC audio book file", 3, 64},
    {"aac", "AAC audio file", 4, 256},
    {"wma", "Windows Media audio file", 4, 128},
    {"ogg", "Ogg Vorbis audio file", 3, 160},
    {"flac", "FLAC audio file", 3, 900},
    {"wav", "WAV audio file", 3, 1411},
};

constexpr std::int64_t kYear2005 = 1104537600;  // 2005-01-01T00:00:00Z
constexpr std::int64_t kFifteenYears = 15LL * 365 * 86400;

// The variations between real libraries that a reader must take in its
// stride, chosen once per seed.
struct Variant {
  bool masterHashName;     // the library playlist named "####!####"
  bool flagKeys;           // "Music", "Podcasts", ... written beside the kinds
  bool podcastsHidden;     // Podcasts with "Visible" false
  bool posixLocalhost;     // file://localhost/home/... instead of file:///home/...
  bool booksNotAudiobooks; // the audiobook list named and flagged "Books"
  bool missingTrackTypes;  // some file tracks without "Track Type"
};

Variant ChooseVariant(std::uint64_t seed) {
  Rng rng(seed ^ 0x5EEDF00DCAFEULL);
  const std::uint64_t v = rng.Next();
  return {(v & 3) == 0,       ((v >> 2) & 3) != 0, ((v >> 4) & 1) != 0,
          ((v >> 5) & 3) == 0, ((v >> 7) & 1) != 0, ((v >> 8) & 1) != 0};
}

bool IsWindows(const LibraryOptions& options) { return options.Form == UrlForm::Windows; }

// A file or folder name as the library's application would make it from a
// tag: characters the file system cannot hold become "_", and so does a
// leading dot (it would hide the file); Windows also refuses trailing dots
// and spaces. A Mac stores names decomposed.
std::string FileNameFrom(std::string_view text, UrlForm form) {
  const std::string_view refused = form == UrlForm::Windows ? "\\/:*?\"<>|" : "/:";
  std::string name(text);
  for (char& c : name) {
    if (refused.find(c) != std::string_view::npos) c = '_';
  }
  if (!name.empty() && name.front() == '.') name.front() = '_';
  if (form == UrlForm::Windows) {
    for (auto i = name.size(); i > 0 && (name[i - 1] == '.' || name[i - 1] == ' '); --i) {
      name[i - 1] = '_';
    }
    return name;
  }
  return DecomposeNfd(name);
}

std::string Join(const std::string& folder, std::string_view name, UrlForm form) {
  std::string path = folder;
  path += form == UrlForm::Windows ? '\\' : '/';
  path += name;
  return path;
}

std::string TwoDigits(std::int32_t n) {
  return std::string(1, static_cast<char>('0' + n / 10 % 10)) + static_cast<char>('0' + n % 10);
}

class Generator {
 public:
  explicit Generator(const LibraryOptions& options)
      : options_(options), rng_(options.Seed), variant_(ChooseVariant(options.Seed)) {}

  GeneratedLibrary Run() {
    GeneratedLibrary library;
    library.Options = options_;
    library.MusicRoot = MusicRoot();
    library.PlaylistFolder = Join(library.MusicRoot, "Playlists", options_.Form);
    library.LibraryPersistentId = rng_.HexId();
    library.ApplicationVersion = IsWindows(options_) ? "12.10.11.2" : "12.6.0.100";
    library.Date = kYear2005 + kFifteenYears + rng_.Below(86400 * 365);
    root_ = library.MusicRoot;
    MakeArtists();
    MakeTracks(library);
    MakeSpecialPlaylists(library);
    MakeUserPlaylists(library);
    FillFolders(library);
    return library;
  }

 private:
  std::string MusicRoot() const {
    std::string root = options_.MusicRoot;
    if (root.empty()) root = IsWindows(options_) ? "D:\\Music" : "/home/user/Music";
    const bool windows = IsWindows(options_);
    const bool shaped = windows ? (root.size() >= 2 && root[1] == ':') || root.rfind("\\\\", 0) == 0
                                : root.front() == '/';
    if (!shaped) {
      throw std::invalid_argument(windows ? "the music root must start with a drive (D:\\...) or \\\\server"
                                          : "the music root must be an absolute path");
    }
    const char separator = windows ? '\\' : '/';
    // D:\ becomes D:, which joins as D:\Playlists; / becomes the empty text,
    // which joins as /Playlists.
    while (!root.empty() && root.back() == separator) root.pop_back();
    return root;
  }

  std::string Words() {
    return std::string(rng_.Pick(kAdjectives)) + " " + std::string(rng_.Pick(kNouns));
  }

  void MakeArtists() {
    const std::int32_t count = std::max<std::int32_t>(8, options_.Tracks / 60);
    artists_.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
      if (i < static_cast<std::int32_t>(std::size(kSpecialArtists))) {
        artists_.emplace_back(kSpecialArtists[i]);
      } else if (rng_.Percent(30)) {
        artists_.push_back("The " + Words() + "s");
      } else {
        artists_.push_back(Words());
      }
    }
  }

  std::string Title() {
    if (rng_.Percent(6)) return std::string(rng_.Pick(kSpecialTitles));
    std::string title = Words();
    if (rng_.Percent(20)) title += " " + std::string(rng_.Pick(kNouns));
    return title;
  }

  std::int32_t NextTrackId() {
    const std::int32_t id = nextTrackId_;
    nextTrackId_ += rng_.Percent(3) ? 2 * rng_.Between(2, 20) : 2;
    return id;
  }

  // The first albums go through every file type and every place in turn, so
  // that even a small library has each of them.
  const FileType& PickFileType() {
    if (albums_ < std::size(kFileTypes)) return kFileTypes[albums_];
    std::uint32_t r = rng_.Below(100);
    for (const auto& type : kFileTypes) {
      if (r < type.weight) return type;
      r -= type.weight;
    }
    return kFileTypes[0];
  }

  SongPlace PickPlace() {
    constexpr SongPlace kOrder[] = {SongPlace::SiblingFolder, SongPlace::BelowPlaylistFolder,
                                    SongPlace::PlaylistFolder, SongPlace::OtherVolume, SongPlace::NetworkShare};
    if (albums_ < std::size(kOrder) - (IsWindows(options_) ? 0 : 1)) return kOrder[albums_];
    const std::uint32_t r = rng_.Below(100);
    if (IsWindows(options_)) {
      return r < 50 ? SongPlace::SiblingFolder
             : r < 75 ? SongPlace::BelowPlaylistFolder
             : r < 80 ? SongPlace::PlaylistFolder
             : r < 95 ? SongPlace::OtherVolume
                      : SongPlace::NetworkShare;
    }
    return r < 55 ? SongPlace::SiblingFolder
           : r < 85 ? SongPlace::BelowPlaylistFolder
           : r < 90 ? SongPlace::PlaylistFolder
                    : SongPlace::OtherVolume;
  }

  // The folder that holds an album's files for each place.
  std::string AlbumFolder(SongPlace place, const std::string& artist, const std::string& album) {
    const UrlForm form = options_.Form;
    std::string base;
    switch (place) {
      case SongPlace::BelowPlaylistFolder:
        base = Join(Join(root_, "Playlists", form), "Songs", form);
        // Paths that differ from the playlist folder only in letter case
        // name the same folder on Windows.
        if (IsWindows(options_) && rng_.Percent(10)) {
          std::transform(base.begin(), base.end(), base.begin(),
                         [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
        }
        break;
      case SongPlace::SiblingFolder:
        base = Join(root_, "Music", form);
        break;
      case SongPlace::OtherVolume:
        base = IsWindows(options_) ? "E:\\Music" : "/media/backup/Music";
        break;
      case SongPlace::NetworkShare:
        base = "\\\\nas\\music";
        break;
      case SongPlace::PlaylistFolder:
        return Join(root_, "Playlists", form);
      case SongPlace::None:
        return {};
    }
    return Join(Join(base, FileNameFrom(artist, form), form), FileNameFrom(album, form), form);
  }

  std::string Location(const std::string& path) const {
    return FileUrl(path, options_.Form, variant_.posixLocalhost);
  }

  void MakeTracks(GeneratedLibrary& library) {
    library.Tracks.reserve(static_cast<std::size_t>(options_.Tracks));
    nextTrackId_ = 1000 + 2 * static_cast<std::int32_t>(rng_.Below(4000));
    bool streams = false;
    const auto room = [&] { return static_cast<std::int32_t>(library.Tracks.size()) < options_.Tracks; };
    while (room()) {
      // About one track in two hundred each is a stream or in the cloud; a
      // small library gets one of each after its second album.
      if (albums_ == 2 && !streams) {
        streams = true;
        library.Tracks.push_back(UrlTrack());
        if (room()) library.Tracks.push_back(RemoteTrack());
        continue;
      }
      const std::uint32_t r = rng_.Below(100);
      if (r < 3) {
        library.Tracks.push_back(UrlTrack());
      } else if (r < 6) {
        library.Tracks.push_back(RemoteTrack());
      } else {
        MakeAlbum(library);
      }
    }
  }

  GeneratedTrack UrlTrack() {
    GeneratedTrack t;
    t.TrackId = NextTrackId();
    t.Type = TrackType::Url;
    const std::string station(rng_.Pick(kAdjectives));
    t.Name = "Radio " + station + " FM";
    t.Genre = std::string(rng_.Pick(kGenres));
    t.Kind = "MPEG audio stream";
    t.DateAdded = kYear2005 + rng_.Below(kFifteenYears);
    t.PersistentId = rng_.HexId();
    t.Location = "http://stream.radio-" + station + ".example/live?format=mp3&bitrate=128";
    std::transform(t.Location.begin(), t.Location.end(), t.Location.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return t;
  }

  GeneratedTrack RemoteTrack() {
    GeneratedTrack t;
    t.TrackId = NextTrackId();
    t.Type = TrackType::Remote;
    t.Name = Title();
    t.Artist = artists_[rng_.Below(static_cast<std::uint32_t>(artists_.size()))];
    t.Album = Words();
    t.Genre = std::string(rng_.Pick(kGenres));
    t.Kind = "Apple Music AAC audio file";
    t.TotalTimeMs = rng_.Between(90000, 420000);
    t.Size = t.TotalTimeMs * 32LL;
    t.TrackNumber = rng_.Between(1, 12);
    t.Year = rng_.Between(1960, 2020);
    t.DateAdded = kYear2005 + rng_.Below(kFifteenYears);
    t.PersistentId = rng_.HexId();
    return t;
  }

  void MakeAlbum(GeneratedLibrary& library) {
    const std::string& artist = artists_[rng_.Below(static_cast<std::uint32_t>(artists_.size()))];
    const FileType& type = PickFileType();
    const bool audiobook = type.ext == "m4b";
    const bool podcast = !audiobook && rng_.Percent(2);
    std::string album = rng_.Percent(5) ? std::string(rng_.Pick(kSpecialTitles)) : Words();
    if (rng_.Percent(10)) album += ": Live";
    const std::string genre =
        audiobook ? "Audiobook" : podcast ? "Podcast" : std::string(rng_.Pick(kGenres));
    // An upper-case extension now and then, as files copied from old
    // systems have.
    const std::string ext = type.ext == "mp3" && rng_.Percent(3) ? "MP3" : std::string(type.ext);
    const SongPlace place = PickPlace();
    const std::string folder = AlbumFolder(place, artist, album);
    const std::int32_t year = rng_.Between(1960, 2023);
    const std::int64_t added = kYear2005 + rng_.Below(kFifteenYears);
    const std::int32_t size = audiobook ? rng_.Between(1, 3) : rng_.Between(6, 14);
    for (std::int32_t n = 1; n <= size && static_cast<std::int32_t>(library.Tracks.size()) < options_.Tracks; ++n) {
      GeneratedTrack t;
      t.TrackId = NextTrackId();
      t.Name = Title();
      t.Artist = artist;
      t.Album = album;
      t.Genre = genre;
      t.Kind = std::string(type.kind);
      t.Ext = ext;
      t.TotalTimeMs = audiobook ? rng_.Between(3600000, 36000000) : rng_.Between(60000, 480000);
      t.Size = static_cast<std::int64_t>(t.TotalTimeMs) * type.bitRate / 8;
      t.TrackNumber = n;
      t.Year = year;
      t.DateAdded = added + n;
      t.PersistentId = rng_.HexId();
      t.Type = TrackType::File;
      t.WritesTrackType = !(variant_.missingTrackTypes && rng_.Percent(2));
      t.Place = place;
      const std::string file =
          place == SongPlace::PlaylistFolder
              ? FileNameFrom(artist + " - " + t.Name, options_.Form) + "." + ext
              : FileNameFrom(TwoDigits(n) + " " + t.Name, options_.Form) + "." + ext;
      t.Path = Join(folder, file, options_.Form);
      t.Location = Location(t.Path);
      library.Tracks.push_back(std::move(t));
    }
    ++albums_;
  }

  GeneratedPlaylist& AddPlaylist(GeneratedLibrary& library, std::string name) {
    GeneratedPlaylist& p = library.Playlists.emplace_back();
    p.Name = std::move(name);
    p.PlaylistId = nextPlaylistId_;
    nextPlaylistId_ += 2 + 2 * static_cast<std::int32_t>(rng_.Below(3));
    p.PersistentId = rng_.HexId();
    return p;
  }

  // Up to `count` tracks that pass `want`, in library order.
  template <typename Want>
  std::vector<std::int32_t> Choose(const GeneratedLibrary& library, std::size_t count, Want want) {
    std::vector<std::int32_t> items;
    for (const auto& t : library.Tracks) {
      if (items.size() >= count) break;
      if (want(t)) items.push_back(t.TrackId);
    }
    return items;
  }

  std::vector<std::int32_t> RandomItems(const GeneratedLibrary& library, std::size_t count) {
    std::vector<std::int32_t> items;
    if (library.Tracks.empty()) return items;
    items.reserve(count);
    const auto n = static_cast<std::uint32_t>(library.Tracks.size());
    for (std::size_t i = 0; i < count; ++i) items.push_back(library.Tracks[rng_.Below(n)].TrackId);
    return items;
  }

  void Special(GeneratedLibrary& library, std::string name, std::int32_t kind, std::string flag,
               std::vector<std::int32_t> items, bool smart = false) {
    GeneratedPlaylist& p = AddPlaylist(library, std::move(name));
    p.DistinguishedKind = kind;
    if (variant_.flagKeys) p.FlagKey = std::move(flag);
    p.Smart = smart;
    p.Items = std::move(items);
  }

  void MakeSpecialPlaylists(GeneratedLibrary& library) {
    nextPlaylistId_ = nextTrackId_ + 2 * static_cast<std::int32_t>(rng_.Below(1000));
    const auto songs = static_cast<std::size_t>(std::max(options_.SongsPerPlaylist, 0));

    GeneratedPlaylist& master = AddPlaylist(library, variant_.masterHashName ? "####!####" : "Library");
    master.Master = true;
    master.Visible = false;
    master.AllItems = true;
    master.Items = Choose(library, library.Tracks.size(), [](const GeneratedTrack&) { return true; });

    Special(library, "Music", 4, "Music",
            Choose(library, library.Tracks.size(),
                   [](const GeneratedTrack& t) { return t.Genre != "Audiobook" && t.Genre != "Podcast"; }),
            true);
    Special(library, "Movies", 2, "Movies", {}, true);
    Special(library, "TV Shows", 3, "TV Shows", {}, true);
    Special(library, "Podcasts", 10, "Podcasts",
            Choose(library, songs, [](const GeneratedTrack& t) { return t.Genre == "Podcast"; }));
    library.Playlists.back().Visible = !variant_.podcastsHidden;
    Special(library, "iTunes U", 31, "iTunesU", {});
    library.Playlists.back().Visible = false;
    const char* books = variant_.booksNotAudiobooks ? "Books" : "Audiobooks";
    Special(library, books, 5, books,
            Choose(library, songs, [](const GeneratedTrack& t) { return t.Genre == "Audiobook"; }), true);
    Special(library, "Purchased", 19, "Purchased Music", RandomItems(library, songs / 2));
    Special(library, "Party Shuffle", 22, "Party Shuffle", RandomItems(library, std::min<std::size_t>(songs, 25)));
    Special(library, "Genius", 26, "", RandomItems(library, std::min<std::size_t>(songs, 25)));
    // Kinds the reader has no name for.
    Special(library, "Tones", 6, "", {});
    Special(library, "Voice Memos", 16, "", RandomItems(library, std::min<std::size_t>(songs, 3)));
    Special(library, "Rentals", 43, "", {});
    Special(library, "Home Videos", 48, "", {});
    Special(library, "Downloaded", 65, "", RandomItems(library, std::min<std::size_t>(songs, 5)));
    // The smart lists every new library starts with.
    Special(library, "90\u2019s Music", 200, "",
            Choose(library, songs, [](const GeneratedTrack& t) { return t.Year >= 1990 && t.Year <= 1999; }),
            true);
    Special(library, "Classical Music", 201, "",
            Choose(library, songs, [](const GeneratedTrack& t) { return t.Genre == "Classical"; }), true);
    Special(library, "My Top Rated", 202, "", RandomItems(library, songs / 2), true);
    Special(library, "Recently Added", 203, "", RandomItems(library, songs), true);
    Special(library, "Recently Played", 204, "", RandomItems(library, std::min<std::size_t>(songs, 25)), true);
    Special(library, "Top 25 Most Played", 205, "", RandomItems(library, std::min<std::size_t>(songs, 25)), true);
    Special(library, "Music Videos", 206, "", {}, true);
  }

  enum class Shape { Plain, Smart, Folder, Empty, EmptySmart, Lost };

  struct UserList {
    std::string_view name;
    Shape shape;
    int parent;  // index into the same table, -1 at the top
    std::string_view description;
  };

  // The playlists every library holds first, in this order, so that even a
  // small library has the awkward cases; a folder always precedes what it
  // holds, so any prefix of the table is a whole library.
  static constexpr UserList kFixedLists[] = {
      {"All Rated Songs", Shape::Smart, -1, ""},
      {"Empty Playlist", Shape::Empty, -1, ""},
      {"AC/DC: Live?", Shape::Plain, -1, ""},
      {"AC_DC_ Live_", Shape::Plain, -1, ""},  // the same file name as the one above
      {"Road Trips", Shape::Folder, -1, ""},
      {"Summer Drive", Shape::Plain, 4, ""},
      {"Night", Shape::Folder, 4, ""},
      {"Midnight Mix", Shape::Smart, 6, ""},
      {"Rock & Roll. ", Shape::Plain, -1, ""},
      {"Café Été — Ñandú", Shape::Plain, -1, ""},
      {"夜の森 ガラス玉", Shape::Plain, -1, ""},
      {"Русский рок, Ёлка", Shape::Smart, -1, ""},
      {"Cafe\u0301 Decomposed", Shape::Plain, -1, ""},
      {"<Best> \"Quoted\" |Pipe| *Star* \\Back\\", Shape::Plain, -1, ""},
      {"Tom & Jerry's <Greatest> Hits", Shape::Plain, -1, "Songs for Tom & Jerry <3"},
      {"50% Off #1 + More", Shape::Plain, -1, ""},
      {"Lost Items", Shape::Lost, -1, "Some of these songs were deleted"},
      {"Empty Smart", Shape::EmptySmart, -1, ""},
      {"Party 🎉 Time", Shape::Plain, -1, ""},
  };

  void FillUserList(GeneratedLibrary& library, GeneratedPlaylist& p, Shape shape) {
    const auto songs = static_cast<std::size_t>(std::max(options_.SongsPerPlaylist, 0));
    switch (shape) {
      case Shape::Folder:
        p.Folder = true;
        return;
      case Shape::Empty:
        return;
      case Shape::EmptySmart:
        p.Smart = true;
        p.WritesEmptyItems = true;
        return;
      case Shape::Smart:
        p.Smart = true;
        break;
      case Shape::Plain:
      case Shape::Lost:
        break;
    }
    p.Items = RandomItems(library, songs);
    if (p.Items.size() > 2 && rng_.Percent(5)) p.Items.back() = p.Items.front();
    if (shape == Shape::Lost) {
      // Track IDs are even; odd ones are never in the library.
      p.Items.insert(p.Items.begin() + std::min<std::ptrdiff_t>(1, static_cast<std::ptrdiff_t>(p.Items.size())), 1);
      p.Items.push_back(nextTrackId_ + 1);
    }
  }

  void MakeUserPlaylists(GeneratedLibrary& library) {
    const std::int32_t total = std::max(options_.Playlists, 0);
    std::vector<std::string> fixedIds;
    std::int32_t made = 0;
    for (const auto& list : kFixedLists) {
      if (made == total) return;
      GeneratedPlaylist& p = AddPlaylist(library, std::string(list.name));
      p.Description = std::string(list.description);
      if (list.parent >= 0) p.ParentPersistentId = fixedIds[static_cast<std::size_t>(list.parent)];
      fixedIds.push_back(p.PersistentId);
      FillUserList(library, p, list.shape);
      ++made;
    }
    while (made < total) {
      const std::int32_t left = total - made;
      if (left >= 3 && rng_.Percent(3)) {
        GeneratedPlaylist& folder = AddPlaylist(library, "Collection " + std::string(rng_.Pick(kNouns)) + " " +
                                                              std::to_string(made + 1));
        folder.Folder = true;
        const std::string parent = folder.PersistentId;
        ++made;
        const std::int32_t children = std::min(rng_.Between(2, 4), left - 1);
        for (std::int32_t i = 0; i < children; ++i, ++made) {
          GeneratedPlaylist& child = AddPlaylist(library, UserListName(made));
          child.ParentPersistentId = parent;
          FillUserList(library, child, rng_.Percent(20) ? Shape::Smart : Shape::Plain);
        }
        continue;
      }
      GeneratedPlaylist& p = AddPlaylist(library, UserListName(made));
      if (rng_.Percent(5)) p.Description = "Made for " + Words() + " & friends";
      FillUserList(library, p, rng_.Percent(20) ? Shape::Smart : Shape::Plain);
      ++made;
    }
  }

  std::string UserListName(std::int32_t index) {
    if (rng_.Percent(5)) return std::string(rng_.Pick(kSpecialTitles)) + " " + std::to_string(index + 1);
    return Words() + " " + std::to_string(index + 1);
  }

  // A folder lists every track of the playlists inside it, each once.
  static void FillFolders(GeneratedLibrary& library) {
    auto& lists = library.Playlists;
    for (std::size_t f = 0; f < lists.size(); ++f) {
      if (!lists[f].Folder) continue;
      std::unordered_set<std::string> inside{lists[f].PersistentId};
      std::unordered_set<std::int32_t> seen;
      for (std::size_t i = f + 1; i < lists.size(); ++i) {
        if (inside.count(lists[i].ParentPersistentId) == 0) continue;
        inside.insert(lists[i].PersistentId);
        if (lists[i].Folder) continue;
        for (const std::int32_t id : lists[i].Items) {
          if (library.FindTrack(id) != nullptr && seen.insert(id).second) lists[f].Items.push_back(id);
        }
      }
    }
  }

  LibraryOptions options_;
  Rng rng_;
  Variant variant_;
  std::string root_;
  std::vector<std::string> artists_;
  std::int32_t nextTrackId_ = 0;
  std::int32_t nextPlaylistId_ = 0;
  std::size_t albums_ = 0;
};

}  // namespace

const GeneratedTrack* GeneratedLibrary::FindTrack(std::int32_t trackId) const {
  // Tracks are made in rising ID order.
  const auto it = std::lower_bound(Tracks.begin(), Tracks.end(), trackId,
                                   [](const GeneratedTrack& t, std::int32_t id) { return t.TrackId < id; });
  return it != Tracks.end() && it->TrackId == trackId ? &*it : nullptr;
}

const GeneratedPlaylist* GeneratedLibrary::FindPlaylist(const std::string& name) const {
  for (const auto& p : Playlists) {
    if (p.Name == name) return &p;
  }
  return nullptr;
}

GeneratedLibrary GenerateLibrary(const LibraryOptions& options) { return Generator(options).Run(); }

std::int64_t CreateSongFiles(const GeneratedLibrary& library, std::string& error) {
  if (library.Options.Form != UrlForm::Posix) {
    error = "song files can only be created for a library in the POSIX form";
    return -1;
  }
  std::int64_t created = 0;
  std::string lastFolder;
  for (const auto& t : library.Tracks) {
    if (t.Type != TrackType::File || t.Place == SongPlace::OtherVolume) continue;
    const std::filesystem::path path(t.Path);
    std::error_code ec;
    if (path.parent_path().string() != lastFolder) {
      std::filesystem::create_directories(path.parent_path(), ec);
      if (ec) {
        error = "cannot create the folder " + path.parent_path().string() + ": " + ec.message();
        return -1;
      }
      lastFolder = path.parent_path().string();
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
      error = "cannot create the song file " + t.Path;
      return -1;
    }
    ++created;
  }
  return created;
}

}  // namespace quorvella
