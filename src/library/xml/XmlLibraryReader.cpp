// SPDX-License-Identifier: MIT
#include "library/xml/XmlLibraryReader.h"

#include <expat.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <limits>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "library/xml/FileUrl.h"
#include "library/xml/LibraryFile.h"
#include "library/xml/PlaylistKind.h"

namespace quorvella {
namespace {

// Texts longer than this are dropped as if absent: no name or path of a real
// library comes near it, and a damaged file must not make us hold gigabytes.
constexpr std::size_t kMaxTextBytes = 1 << 20;
constexpr int kReadChunk = 1 << 18;

// A file this large is read by two parsers at once, each on its own thread
// and half of the file: expat is most of a load, and a second core halves it.
constexpr std::uint64_t kSplitMinimum = std::uint64_t{8} << 20;
// How far past the middle a place to split at is looked for.
constexpr std::size_t kSplitSearch = std::size_t{1} << 20;
// What the second parser reads ahead of its half: the elements open around
// the entries of "Tracks", so that it goes on as the first would there.
constexpr std::string_view kTracksOpen = "<plist><dict><key>Tracks</key><dict>";

// A file broken throughout would give a warning for every track; the first
// ones show where it goes wrong, the count how bad it is.
constexpr std::size_t kMaxWarnings = 100;
// A value quoted in a warning is cut to this many bytes.
constexpr std::size_t kMaxQuoted = 40;

// Some exports name the library playlist with this placeholder.
constexpr std::string_view kMasterPlaceholder = "####!####";

enum class Element : std::uint8_t {
  Other,
  Plist,
  Dict,
  Array,
  Key,
  String,
  Integer,
  Real,
  Date,
  Data,
  True,
  False
};

// Where in the property list we are; only the places that hold something
// the model keeps.
enum class Context : std::uint8_t {
  Document,
  Plist,
  Root,
  Tracks,
  Track,
  Playlists,
  Playlist,
  Items,
  Item
};

enum class Key : std::uint8_t {
  None,
  // the top-level dictionary
  Tracks,
  Playlists,
  MusicFolder,
  // a track
  TrackId,
  Name,
  TotalTime,
  TrackType,
  Location,
  // a playlist (Name too)
  PlaylistId,
  PersistentId,
  DistinguishedKind,
  SmartInfo,
  PlaylistItems,
  Master,
  Folder,
  PurchasedMusic,
  PartyShuffle,
  Podcasts,
  Music,
  Movies,
  TVShows,
  Audiobooks,
  Books,
  ITunesU,
};

struct KeyName {
  std::string_view text;
  Key key;
};

constexpr KeyName kRootKeys[] = {
    {"Tracks", Key::Tracks}, {"Playlists", Key::Playlists}, {"Music Folder", Key::MusicFolder}};
constexpr KeyName kTrackKeys[] = {
    {"Track ID", Key::TrackId},     {"Name", Key::Name},         {"Total Time", Key::TotalTime},
    {"Track Type", Key::TrackType}, {"Location", Key::Location},
};
constexpr KeyName kPlaylistKeys[] = {
    {"Name", Key::Name},
    {"Playlist ID", Key::PlaylistId},
    {"Playlist Persistent ID", Key::PersistentId},
    {"Playlist Items", Key::PlaylistItems},
    {"Distinguished Kind", Key::DistinguishedKind},
    {"Smart Info", Key::SmartInfo},
    {"Master", Key::Master},
    {"Folder", Key::Folder},
    {"Purchased Music", Key::PurchasedMusic},
    {"Party Shuffle", Key::PartyShuffle},
    {"Podcasts", Key::Podcasts},
    {"Music", Key::Music},
    {"Movies", Key::Movies},
    {"TV Shows", Key::TVShows},
    {"Audiobooks", Key::Audiobooks},
    {"Books", Key::Books},
    {"iTunesU", Key::ITunesU},
};
constexpr KeyName kItemKeys[] = {{"Track ID", Key::TrackId}};

template <std::size_t N>
Key Find(const KeyName (&names)[N], std::string_view text) {
  for (const KeyName& name : names) {
    if (name.text.size() == text.size() &&
        std::memcmp(name.text.data(), text.data(), text.size()) == 0) {
      return name.key;
    }
  }
  return Key::None;
}

Key ClassifyKey(Context context, std::string_view text) {
  switch (context) {
    case Context::Root: return Find(kRootKeys, text);
    case Context::Track: return Find(kTrackKeys, text);
    case Context::Playlist: return Find(kPlaylistKeys, text);
    case Context::Item: return Find(kItemKeys, text);
    default: return Key::None;
  }
}

// The key's text as the file spells it, for warnings.
template <std::size_t N>
std::string_view TextOf(const KeyName (&names)[N], Key key) {
  for (const KeyName& name : names) {
    if (name.key == key) return name.text;
  }
  return {};
}

std::string_view KeyText(Context context, Key key) {
  switch (context) {
    case Context::Root: return TextOf(kRootKeys, key);
    case Context::Track: return TextOf(kTrackKeys, key);
    case Context::Playlist: return TextOf(kPlaylistKeys, key);
    case Context::Item: return TextOf(kItemKeys, key);
    default: return {};
  }
}

// The keys whose true or false says what kind of playlist a playlist is.
bool IsMarker(Key key) {
  switch (key) {
    case Key::Master:
    case Key::Folder:
    case Key::PurchasedMusic:
    case Key::PartyShuffle:
    case Key::Podcasts:
    case Key::Music:
    case Key::Movies:
    case Key::TVShows:
    case Key::Audiobooks:
    case Key::Books:
    case Key::ITunesU: return true;
    default: return false;
  }
}

// The value a key the model reads must have, as the file writes it; null
// for keys whose value is not looked at.
const char* ExpectedValue(Context context, Key key) {
  switch (key) {
    case Key::Tracks: return "<dict>";
    case Key::Playlists:
    case Key::PlaylistItems: return "<array>";
    case Key::TrackId:
    case Key::TotalTime:
    case Key::PlaylistId:
    case Key::DistinguishedKind: return "<integer>";
    case Key::Name:
    case Key::TrackType:
    case Key::Location:
    case Key::PersistentId: return "<string>";
    case Key::None:
    case Key::SmartInfo: return nullptr;
    default: return IsMarker(key) && context == Context::Playlist ? "<true/> or <false/>" : nullptr;
  }
}

// A value as a warning quotes it: cut short, never inside a character.
std::string QuotedValue(std::string_view text) {
  if (text.size() <= kMaxQuoted) return "\"" + std::string(text) + "\"";
  std::size_t cut = kMaxQuoted;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return "\"" + std::string(text.substr(0, cut)) + "...\"";
}

Element ElementOf(const char* name) {
  const auto is = [name](const char* word) { return std::strcmp(name, word) == 0; };
  switch (name[0]) {
    case 'k': return is("key") ? Element::Key : Element::Other;
    case 'd':
      if (is("dict")) return Element::Dict;
      if (is("date")) return Element::Date;
      return is("data") ? Element::Data : Element::Other;
    case 's': return is("string") ? Element::String : Element::Other;
    case 'i': return is("integer") ? Element::Integer : Element::Other;
    case 't': return is("true") ? Element::True : Element::Other;
    case 'f': return is("false") ? Element::False : Element::Other;
    case 'a': return is("array") ? Element::Array : Element::Other;
    case 'r': return is("real") ? Element::Real : Element::Other;
    case 'p': return is("plist") ? Element::Plist : Element::Other;
    default: return Element::Other;
  }
}

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::optional<std::int64_t> ParseInteger(std::string_view text) {
  while (!text.empty() && IsXmlSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsXmlSpace(text.back())) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || text.empty()) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::int32_t> ParseInt32(std::string_view text) {
  const std::optional<std::int64_t> value = ParseInteger(text);
  if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
      *value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(*value);
}

std::string Quoted(const std::string& fileName) { return "\"" + fileName + "\""; }

enum class TrackType : std::uint8_t { Missing, File, Other };

// A playlist as the file describes it, before its items are resolved.
struct RawPlaylist {
  std::string name;
  std::string persistentId;
  std::optional<std::int32_t> fileId;
  PlaylistMarkers markers;
  bool smart = false;
  std::vector<std::int32_t> items;  // track IDs, later positions in the track list
};

// Finds a track's position by its Track ID. Track IDs are usually dense, so a
// table indexed by ID does it in one step; sparse ones are searched.
class TrackPositions {
 public:
  using Entry = std::pair<std::int32_t, std::int32_t>;  // Track ID, position

  explicit TrackPositions(std::vector<Entry>& entries) {
    if (entries.empty()) return;
    const auto [low, high] =
        std::minmax_element(entries.begin(), entries.end(),
                            [](const Entry& a, const Entry& b) { return a.first < b.first; });
    const std::int64_t span = std::int64_t{high->first} - low->first + 1;
    if (span <= 8 * static_cast<std::int64_t>(entries.size()) + 1024) {
      first_ = low->first;
      table_.assign(static_cast<std::size_t>(span), -1);
      // With a Track ID given twice, the first entry of the file wins.
      for (const Entry& entry : entries) {
        std::int32_t& slot = table_[static_cast<std::size_t>(entry.first - first_)];
        if (slot < 0) slot = entry.second;
      }
    } else {
      std::sort(entries.begin(), entries.end());
      sorted_ = std::move(entries);
    }
  }

  // The position, or -1 when no track has the ID.
  std::int32_t Find(std::int32_t id) const {
    if (!table_.empty()) {
      const std::int64_t at = std::int64_t{id} - first_;
      return at >= 0 && at < static_cast<std::int64_t>(table_.size())
                 ? table_[static_cast<std::size_t>(at)]
                 : -1;
    }
    const auto found = std::lower_bound(sorted_.begin(), sorted_.end(), Entry{id, 0});
    return found != sorted_.end() && found->first == id ? found->second : -1;
  }

 private:
  std::int32_t first_ = 0;
  std::vector<std::int32_t> table_;
  std::vector<Entry> sorted_;
};

// The expat handlers and the state they share. One object reads one file.
class Reader {
 public:
  Reader(std::string fileName, const LocationMappings* mappings)
      : fileName_(std::move(fileName)),
        mappings_(mappings != nullptr && !mappings->Empty() ? mappings : nullptr),
        library_(std::make_shared<XmlLibrary>(fileName_)),
        owned_(XML_ParserCreate(nullptr)),
        parser_(owned_.get()) {
    if (parser_ == nullptr) {
      throw LibraryError("Not enough memory to read " + Quoted(fileName_) + ".");
    }
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, &Reader::OnStart, &Reader::OnEnd);
    // No DTD is ever fetched, and a library declares no entities: refusing
    // every declaration rules out entity expansion attacks altogether.
    XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
    XML_SetEntityDeclHandler(parser_, &Reader::OnEntityDecl);
    stack_.reserve(16);
    stack_.push_back(Context::Document);
    text_.reserve(512);
  }

  // Feeds the next piece of the file (or its end).
  void Parse(const char* data, int length, bool last) {
    bytes_ += static_cast<std::uint64_t>(length);
    if (XML_Parse(parser_, data, length, last) != XML_STATUS_OK) Fail();
  }

  // The rest of the file, or up to the offset `until` (and the next call
  // goes on from there).
  void ParseFile(LibraryFile& file,
                 std::uint64_t until = std::numeric_limits<std::uint64_t>::max()) {
    const auto next = [&file](char* buffer, std::size_t size) { return file.Read(buffer, size); };
    for (;;) {
      const std::size_t want =
          static_cast<std::size_t>(std::min<std::uint64_t>(kReadChunk, until - bytes_));
      if (want == 0 || !ParsePiece(want, next)) return;
    }
  }

  // The second parser's part: from `offset` to the end; false when
  // `abandon` was set first.
  bool ParseFileFrom(LibraryFile& file, std::uint64_t offset, const std::atomic<bool>& abandon) {
    Parse(kTracksOpen.data(), static_cast<int>(kTracksOpen.size()), false);
    const auto next = [&file, &offset](char* buffer, std::size_t size) {
      const std::size_t got = file.ReadAt(offset, buffer, size);
      offset += got;
      return got;
    };
    while (!abandon) {
      if (!ParsePiece(kReadChunk, next)) return true;
    }
    return false;
  }

  // Whether the parser, given the file up to `offset`, stands between two
  // entries of "Tracks": where a second parser can take over. So it does when
  // the last thing it read was a track's entry, ending there; a track is
  // only ever read in the one "Tracks" of the one root dictionary.
  bool BetweenTracksAt(std::uint64_t offset) const { return trackEnd_ == offset; }

  // Takes in what the second parser read from `offset` on, as if this one had.
  void Absorb(Reader& second, std::uint64_t offset);

  std::shared_ptr<XmlLibrary> Finish(PlaylistIds& ids);

  // A warning before its line is known: where it is in the file, in bytes.
  struct PendingWarning {
    std::uint64_t offset;
    std::string text;
  };
  // Gives the warnings their lines; `read` fills a buffer from an offset of
  // the file and returns how much it read (0 at the end).
  template <typename Read>
  void AssignLines(Read read);

 private:
  // Reads up to `size` bytes by `read` straight into expat's own buffer,
  // saving a copy, and parses them; false once `read` gives none (the end).
  template <typename Read>
  bool ParsePiece(std::size_t size, const Read& read) {
    void* buffer = XML_GetBuffer(parser_, static_cast<int>(size));
    if (buffer == nullptr) Fail();
    const std::size_t got = read(static_cast<char*>(buffer), size);
    bytes_ += got;
    if (XML_ParseBuffer(parser_, static_cast<int>(got), got == 0) != XML_STATUS_OK) Fail();
    return got != 0;
  }

  static void XMLCALL OnStart(void* self, const XML_Char* name, const XML_Char** /*atts*/) {
    static_cast<Reader*>(self)->Start(name);
  }
  static void XMLCALL OnEnd(void* self, const XML_Char* /*name*/) {
    static_cast<Reader*>(self)->End();
  }
  static void XMLCALL OnText(void* self, const XML_Char* text, int length) {
    static_cast<Reader*>(self)->Text(text, length);
  }
  static void XMLCALL OnEntityDecl(void* self, const XML_Char*, int, const XML_Char*, int,
                                   const XML_Char*, const XML_Char*, const XML_Char*,
                                   const XML_Char*) {
    static_cast<Reader*>(self)->Stop(Problem::Entities);
  }

  enum class Problem { None, Entities, NotAPlist };

  void Stop(Problem problem) {
    if (problem_ != Problem::None) return;
    problem_ = problem;
    problemLine_ = XML_GetCurrentLineNumber(parser_);
    problemColumn_ = XML_GetCurrentColumnNumber(parser_);
    XML_StopParser(parser_, XML_FALSE);
  }

  [[noreturn]] void Fail();

  void Push(Context context) {
    stack_.push_back(context);
    pendingKey_ = Key::None;
  }

  // Where the event being handled begins in the file (a start tag in Start,
  // an end tag in End). Cheap, unlike its line, which is found only for the
  // few places that are warned about.
  std::uint64_t Here() const {
    return static_cast<std::uint64_t>(XML_GetCurrentByteIndex(parser_));
  }

  void Warn(std::uint64_t offset, std::string text) {
    if (warnings_.size() < kMaxWarnings) warnings_.push_back({offset, std::move(text)});
    ++warningCount_;
  }

  void BeginText(Element element, Key key) {
    leaf_ = element;
    leafKey_ = key;
    leafSpoilt_ = Spoilt::No;
    leafStart_ = Here();
    text_.clear();
    XML_SetCharacterDataHandler(parser_, &Reader::OnText);
  }

  void Text(const char* text, int length) {
    if (text_.size() + static_cast<std::size_t>(length) > kMaxTextBytes) {
      if (leafSpoilt_ == Spoilt::No) leafSpoilt_ = Spoilt::TooLong;
      return;
    }
    text_.append(text, static_cast<std::size_t>(length));
  }

  // What becomes of a value that the file gets wrong under this key: it is
  // ignored, unless it leaves the track or item without any ID, and so makes
  // it skipped (which is then said here, and not again when it ends).
  std::string Consequence(Context context, Key key) {
    if (key == Key::TrackId && context == Context::Item) {
      itemWarned_ = true;
      return "the playlist item is skipped";
    }
    if (key == Key::TrackId && context == Context::Track && !trackKey_) {
      trackWarned_ = true;
      return "the track is skipped";
    }
    return "ignored";
  }

  // A value the model reads that is not what its key calls for.
  void WarnValue(std::string_view what) {
    const Context context = stack_.back();
    Warn(leafStart_, "\"" + std::string(KeyText(context, leafKey_)) + "\" holds " +
                         QuotedValue(text_) + ", " + std::string(what) + "; " +
                         Consequence(context, leafKey_));
  }
  std::optional<std::int32_t> Int32Value() {
    const auto value = ParseInt32(text_);
    if (!value) WarnValue("which is not a whole number of 32 bits");
    return value;
  }

  void Start(const char* name);
  void StartInDictionary(Context context, Element element, const char* name);
  void End();
  void EndKey();
  void EndValue();
  void EndTrack();

  struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
  };

  std::string fileName_;
  const LocationMappings* mappings_;  // null when there are none
  std::string mapped_;
  std::shared_ptr<XmlLibrary> library_;
  std::unique_ptr<XML_ParserStruct, ParserFree> owned_;
  XML_Parser parser_;
  std::uint64_t bytes_ = 0;

  Problem problem_ = Problem::None;
  XML_Size problemLine_ = 0;
  XML_Size problemColumn_ = 0;

  std::vector<Context> stack_;
  std::uint32_t skip_ = 0;  // depth inside an element whose content does not matter
  bool sawElement_ = false;
  bool sawRoot_ = false;
  bool sawLibraryKey_ = false;
  Key pendingKey_ = Key::None;

  enum class Spoilt : std::uint8_t { No, Markup, TooLong };
  Element leaf_ = Element::Other;  // Other: no key or value text is being read
  Key leafKey_ = Key::None;
  Spoilt leafSpoilt_ = Spoilt::No;
  std::uint64_t leafStart_ = 0;
  std::string text_;

  std::vector<PendingWarning> warnings_;
  std::size_t warningCount_ = 0;
  std::vector<LibraryWarning> lined_;  // the warnings with their lines

  // The track being read, and where the last one's entry ended.
  std::uint64_t trackEnd_ = 0;
  std::uint64_t trackStart_ = 0;
  bool trackWarned_ = false;  // its being skipped was said already
  std::optional<std::int32_t> trackKey_;  // the track's key in the Tracks dictionary
  std::optional<std::int32_t> trackId_;
  std::string_view trackName_;
  std::int32_t trackDuration_ = 0;
  TrackType trackType_ = TrackType::Missing;
  bool trackHasUrl_ = false;
  std::string trackUrl_;
  std::vector<std::pair<std::int32_t, std::int32_t>> trackIndex_;  // Track ID, position

  // The playlist being read, and the item.
  std::vector<RawPlaylist> playlists_;
  std::uint64_t itemStart_ = 0;
  bool itemWarned_ = false;
  std::optional<std::int32_t> itemTrackId_;
};

void Reader::Start(const char* name) {
  if (problem_ != Problem::None) return;  // expat may still report an element or two
  if (skip_ != 0) {
    ++skip_;
    return;
  }
  if (leaf_ != Element::Other) {
    // Markup inside a key or value: not a property list value we can use.
    leafSpoilt_ = Spoilt::Markup;
    skip_ = 1;
    return;
  }
  const Element element = ElementOf(name);
  const Context context = stack_.back();
  switch (context) {
    case Context::Document:
      sawElement_ = true;
      if (element != Element::Plist) return Stop(Problem::NotAPlist);
      return Push(Context::Plist);
    case Context::Plist:
      if (element == Element::Dict && !sawRoot_) {
        sawRoot_ = true;
        return Push(Context::Root);
      }
      skip_ = 1;
      return;
    case Context::Playlists:
      if (element == Element::Dict) {
        playlists_.emplace_back();
        return Push(Context::Playlist);
      }
      Warn(Here(), "an entry of \"Playlists\" is <" + std::string(name) + ">, not <dict>; skipped");
      skip_ = 1;
      return;
    case Context::Items:
      if (element == Element::Dict) {
        itemTrackId_.reset();
        itemStart_ = Here();
        itemWarned_ = false;
        return Push(Context::Item);
      }
      Warn(Here(),
           "an entry of \"Playlist Items\" is <" + std::string(name) + ">, not <dict>; skipped");
      skip_ = 1;
      return;
    default: return StartInDictionary(context, element, name);
  }
}

void Reader::StartInDictionary(Context context, Element element, const char* name) {
  if (element == Element::Key) return BeginText(Element::Key, Key::None);
  const Key key = pendingKey_;
  pendingKey_ = Key::None;
  // Anything but what is read below is skipped; for a key the model reads,
  // that means the file is malformed there.
  skip_ = 1;
  const auto wrongType = [&] {
    if (const char* expected = ExpectedValue(context, key)) {
      Warn(Here(), "\"" + std::string(KeyText(context, key)) + "\" is <" + std::string(name) +
                       ">, not " + expected + "; " + Consequence(context, key));
    }
  };

  switch (context) {
    case Context::Root:
      if (key == Key::Tracks && element == Element::Dict) break;
      if (key == Key::Playlists && element == Element::Array) break;
      if (key == Key::MusicFolder && element == Element::String) break;
      return wrongType();
    case Context::Tracks:
      if (element == Element::Dict) {
        trackId_.reset();
        trackName_ = {};
        trackDuration_ = 0;
        trackType_ = TrackType::Missing;
        trackHasUrl_ = false;
        trackStart_ = Here();
        trackWarned_ = false;
        break;
      }
      trackKey_.reset();
      Warn(Here(), "an entry of \"Tracks\" is <" + std::string(name) + ">, not <dict>; skipped");
      return;
    case Context::Track:
      switch (key) {
        case Key::TrackId:
        case Key::TotalTime:
          if (element == Element::Integer) break;
          return wrongType();
        case Key::Name:
        case Key::TrackType:
        case Key::Location:
          if (element == Element::String) break;
          return wrongType();
        default: return;
      }
      break;
    case Context::Playlist: {
      RawPlaylist& playlist = playlists_.back();
      if (IsMarker(key)) {
        if (element != Element::True && element != Element::False) return wrongType();
        const bool value = element == Element::True;
        PlaylistMarkers& m = playlist.markers;
        switch (key) {
          case Key::Master: m.master = value; break;
          case Key::Folder: m.folder = value; break;
          case Key::PurchasedMusic: m.purchasedMusic = value; break;
          case Key::PartyShuffle: m.partyShuffle = value; break;
          case Key::Podcasts: m.podcasts = value; break;
          case Key::Music: m.music = value; break;
          case Key::Movies: m.movies = value; break;
          case Key::TVShows: m.tvShows = value; break;
          case Key::Audiobooks:
          case Key::Books: m.books = m.books || value; break;
          case Key::ITunesU: m.iTunesU = value; break;
          default: break;
        }
        return;
      }
      switch (key) {
        case Key::Name:
        case Key::PersistentId:
          if (element == Element::String) break;
          return wrongType();
        case Key::PlaylistId:
        case Key::DistinguishedKind:
          if (element == Element::Integer) break;
          return wrongType();
        case Key::PlaylistItems:
          if (element == Element::Array) break;
          return wrongType();
        default: return;
      }
      break;
    }
    case Context::Item:
      if (key != Key::TrackId) return;
      if (element != Element::Integer) return wrongType();
      break;
    default: return;
  }

  // What the model reads: a container to enter, or a value to collect.
  skip_ = 0;
  switch (element) {
    case Element::Dict:
      return Push(context == Context::Root ? Context::Tracks : Context::Track);
    case Element::Array:
      return Push(context == Context::Root ? Context::Playlists : Context::Items);
    default: return BeginText(element, key);
  }
}

void Reader::End() {
  if (problem_ != Problem::None) return;
  if (skip_ != 0) {
    --skip_;
    return;
  }
  if (leaf_ != Element::Other) {
    XML_SetCharacterDataHandler(parser_, nullptr);
    if (leaf_ == Element::Key) {
      EndKey();
    } else if (leafSpoilt_ != Spoilt::No) {
      Warn(leafStart_, "\"" + std::string(KeyText(stack_.back(), leafKey_)) + "\" holds " +
                           (leafSpoilt_ == Spoilt::Markup ? "markup" : "more than 1 MB of text") +
                           "; " + Consequence(stack_.back(), leafKey_));
    } else {
      EndValue();
    }
    leaf_ = Element::Other;
    return;
  }
  const Context closing = stack_.back();
  stack_.pop_back();
  pendingKey_ = Key::None;
  switch (closing) {
    case Context::Track:
      EndTrack();
      trackEnd_ = Here() + static_cast<std::uint64_t>(XML_GetCurrentByteCount(parser_));
      break;
    case Context::Item:
      if (itemTrackId_) {
        playlists_.back().items.push_back(*itemTrackId_);
      } else if (!itemWarned_) {
        Warn(itemStart_, "a playlist item without \"Track ID\" is skipped");
      }
      break;
    default: break;
  }
}

void Reader::EndKey() {
  const Context context = stack_.back();
  if (leafSpoilt_ != Spoilt::No) {
    pendingKey_ = Key::None;
    Warn(leafStart_, std::string("a <key> holds ") +
                         (leafSpoilt_ == Spoilt::Markup ? "markup" : "more than 1 MB of text") +
                         "; the value after it is ignored");
    return;
  }
  if (context == Context::Tracks) {
    // The key of a track's entry is its ID, used when the entry lacks one.
    trackKey_ = ParseInt32(text_);
    return;
  }
  pendingKey_ = ClassifyKey(context, text_);
  if (context == Context::Root && (pendingKey_ == Key::Tracks || pendingKey_ == Key::Playlists)) {
    sawLibraryKey_ = true;
  }
  if (context == Context::Playlist && pendingKey_ == Key::SmartInfo) {
    playlists_.back().smart = true;
  }
}

void Reader::EndValue() {
  switch (stack_.back()) {
    case Context::Root:
      if (leafKey_ == Key::MusicFolder) {
        if (auto folder = FileUrlToPath(text_)) library_->SetMusicFolder(std::move(*folder));
      }
      break;
    case Context::Track:
      switch (leafKey_) {
        case Key::TrackId: trackId_ = Int32Value(); break;
        case Key::Name: trackName_ = library_->Texts().Add(text_); break;
        case Key::TotalTime:
          if (const auto ms = ParseInteger(text_)) {
            // Whole seconds, truncated toward zero.
            const std::int64_t seconds = *ms / 1000;
            trackDuration_ = static_cast<std::int32_t>(
                std::clamp<std::int64_t>(seconds, std::numeric_limits<std::int32_t>::min(),
                                         std::numeric_limits<std::int32_t>::max()));
          } else {
            WarnValue("which is not a whole number");
          }
          break;
        case Key::TrackType:
          trackType_ = text_ == "File" ? TrackType::File : TrackType::Other;
          break;
        case Key::Location:
          trackUrl_.assign(text_);
          trackHasUrl_ = true;
          break;
        default: break;
      }
      break;
    case Context::Playlist: {
      RawPlaylist& playlist = playlists_.back();
      switch (leafKey_) {
        case Key::Name: playlist.name.assign(text_); break;
        case Key::PersistentId: playlist.persistentId.assign(text_); break;
        case Key::PlaylistId: playlist.fileId = Int32Value(); break;
        case Key::DistinguishedKind: playlist.markers.distinguishedKind = Int32Value(); break;
        default: break;
      }
      break;
    }
    case Context::Item: itemTrackId_ = Int32Value(); break;
    default: break;
  }
}

void Reader::EndTrack() {
  const std::optional<std::int32_t> id = trackId_ ? trackId_ : trackKey_;
  trackKey_.reset();
  auto& tracks = library_->MutableTracks();
  // A track without an ID cannot be named by any playlist.
  if (!id) {
    if (!trackWarned_) Warn(trackStart_, "a track without \"Track ID\" is skipped");
    return;
  }
  if (tracks.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) return;
  XmlTrack& track = tracks.emplace_back(trackName_, trackDuration_);
  // Only files have a location, as in iTunes itself; an entry without a type
  // counts as a file when its location is one.
  if (trackHasUrl_ && (trackType_ == TrackType::File ||
                       (trackType_ == TrackType::Missing && IsFileUrl(trackUrl_)))) {
    TextArena& texts = library_->Texts();
    char* room = texts.Reserve(std::max<std::size_t>(trackUrl_.size(), 1));
    if (const auto length = FileUrlToPath(trackUrl_, room)) {
      // The location as this computer finds it; the library's own text is
      // not kept.
      if (mappings_ != nullptr && mappings_->MapInto({room, *length}, mapped_)) {
        texts.Commit(room, 0);
        track.SetLocation(texts.Add(mapped_));
      } else {
        texts.Commit(room, *length);
        track.SetLocation({room, *length});
      }
    } else {
      texts.Commit(room, 0);
    }
  }
  trackIndex_.emplace_back(*id, static_cast<std::int32_t>(tracks.size() - 1));
}

void Reader::Fail() {
  const std::string file = Quoted(fileName_);
  switch (problem_) {
    case Problem::Entities:
      throw LibraryError("The iTunes library file " + file + " is refused at line " +
                         std::to_string(problemLine_) + ", column " +
                         std::to_string(problemColumn_ + 1) +
                         ": it declares XML entities, which an iTunes library never does.");
    case Problem::NotAPlist:
      throw LibraryError("The file " + file +
                         " is not an iTunes library: it is not an XML property list.");
    case Problem::None: break;
  }
  const XML_Error code = XML_GetErrorCode(parser_);
  if (code == XML_ERROR_NO_MEMORY) {
    throw LibraryError("Not enough memory to read the iTunes library file " + file + ".");
  }
  if (bytes_ == 0) throw LibraryError("The iTunes library file " + file + " is empty.");
  const std::string where = "line " + std::to_string(XML_GetCurrentLineNumber(parser_)) +
                            ", column " + std::to_string(XML_GetCurrentColumnNumber(parser_) + 1);
  const bool endsEarly = code == XML_ERROR_NO_ELEMENTS || code == XML_ERROR_UNCLOSED_TOKEN ||
                         code == XML_ERROR_PARTIAL_CHAR || code == XML_ERROR_UNCLOSED_CDATA_SECTION;
  if (endsEarly && sawElement_) {
    throw LibraryError("The iTunes library file " + file +
                       " is incomplete: the XML breaks off at " + where + ".");
  }
  const XML_LChar* reason = XML_ErrorString(code);
  throw LibraryError("The iTunes library file " + file + " is damaged at " + where + ": " +
                     (reason != nullptr ? reason : "unreadable XML") + ".");
}

void Reader::Absorb(Reader& second, std::uint64_t offset) {
  // The second parser's offsets count its opening elements too.
  const auto inFile = [offset](std::uint64_t at) {
    return offset + (at > kTracksOpen.size() ? at - kTracksOpen.size() : 0);
  };
  auto& tracks = library_->MutableTracks();
  const auto before = static_cast<std::int32_t>(tracks.size());
  // Taken block by block, so that the two lists are never whole at once.
  auto& theirs = second.library_->MutableTracks();
  for (; !theirs.empty(); theirs.pop_front()) tracks.push_back(theirs.front());
  library_->Texts().Adopt(second.library_->Texts());
  for (const auto& [id, position] : second.trackIndex_) {
    trackIndex_.emplace_back(id, before + position);
  }
  for (RawPlaylist& playlist : second.playlists_) playlists_.push_back(std::move(playlist));
  if (!second.library_->MusicFolder().empty()) {
    library_->SetMusicFolder(second.library_->MusicFolder());
  }
  for (PendingWarning& warning : second.warnings_) {
    if (warnings_.size() < kMaxWarnings) {
      warnings_.push_back({inFile(warning.offset), std::move(warning.text)});
    }
  }
  warningCount_ += second.warningCount_;
  bytes_ += second.bytes_ - kTracksOpen.size();
}

template <typename Read>
void Reader::AssignLines(Read read) {
  lined_.clear();
  if (warnings_.empty()) return;
  std::stable_sort(warnings_.begin(), warnings_.end(),
                   [](const PendingWarning& a, const PendingWarning& b) { return a.offset < b.offset; });
  // One pass over the file up to the last warning, counting line ends.
  std::vector<char> buffer(1 << 16);
  std::uint64_t start = 0;  // where buffer[0] is in the file
  std::size_t filled = 0;
  std::size_t counted = 0;
  std::uint64_t line = 1;
  for (PendingWarning& warning : warnings_) {
    for (;;) {
      const bool inBuffer = warning.offset < start + filled;
      const std::size_t upto = inBuffer ? static_cast<std::size_t>(warning.offset - start) : filled;
      line += static_cast<std::uint64_t>(
          std::count(buffer.data() + counted, buffer.data() + upto, '\n'));
      counted = upto;
      if (inBuffer) break;
      start += filled;
      counted = 0;
      filled = read(start, buffer.data(), buffer.size());
      if (filled == 0) break;
    }
    lined_.push_back({line, std::move(warning.text)});
  }
  warnings_.clear();
}

std::shared_ptr<XmlLibrary> Reader::Finish(PlaylistIds& ids) {
  if (!sawRoot_ || !sawLibraryKey_) {
    throw LibraryError("The file " + Quoted(fileName_) +
                       " is not an iTunes library: it lists neither tracks nor playlists.");
  }

  // Playlist items name tracks by Track ID; the model keeps positions.
  const TrackPositions positions(trackIndex_);
  trackIndex_ = {};

  ids.BeginLoad();
  for (RawPlaylist& raw : playlists_) {
    std::size_t kept = 0;
    for (const std::int32_t trackId : raw.items) {
      const std::int32_t at = positions.Find(trackId);
      if (at >= 0) raw.items[kept++] = at;
    }
    raw.items.resize(kept);
    raw.items.shrink_to_fit();

    const PlaylistKind kind = ClassifyPlaylist(raw.markers);
    if (raw.markers.master && raw.name == kMasterPlaceholder) raw.name = "Library";
    const std::int32_t playlistId = ids.Assign(raw.persistentId, raw.fileId);
    library_->AddPlaylist(std::move(raw.name), playlistId, kind.kind, kind.specialKind, raw.smart,
                          std::move(raw.items));
  }
  library_->IndexPlaylists();
  library_->SetWarnings(std::move(lined_), warningCount_);
  return std::move(library_);
}

// Whether the file is in UTF-8, which the second parser takes it to be: it
// says so in its XML declaration, or names no encoding and has no other
// byte order mark.
bool InUtf8(LibraryFile& file) {
  char head[256];
  std::string_view text(head, file.ReadAt(0, head, sizeof head));
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  if (!text.starts_with("<?xml")) {
    return !text.starts_with("\xFE\xFF") && !text.starts_with("\xFF\xFE");
  }
  text = text.substr(0, text.find("?>"));
  const std::size_t encoding = text.find("encoding");
  if (encoding == std::string_view::npos) return true;
  std::string name;
  for (const char c : text.substr(encoding + 8)) {
    if (c != ' ' && c != '=' && c != '"' && c != '\'') {
      name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (name.size() == 5) break;
  }
  return name == "utf-8";
}

// Where in `text` an entry of "Tracks" seems to end and the next one's key to
// begin: the ends of the "</dict>"s that a key of digits (a track's ID)
// follows after spaces. Only a guess (it could be in a comment, or in a
// dictionary deeper down), which the first parser confirms or not.
std::vector<std::size_t> TrackEnds(std::string_view text) {
  constexpr std::string_view kEnd = "</dict>";
  std::vector<std::size_t> ends;
  for (std::size_t at = text.find(kEnd); at != std::string_view::npos;
       at = text.find(kEnd, at + 1)) {
    std::size_t next = at + kEnd.size();
    while (next < text.size() && IsXmlSpace(text[next])) ++next;
    std::string_view key = text.substr(next);
    if (!key.starts_with("<key>")) continue;
    key.remove_prefix(5);
    const std::size_t digits = key.find_first_not_of("0123456789");
    if (digits > 0 && digits != std::string_view::npos && key.substr(digits).starts_with("</key>")) {
      ends.push_back(at + kEnd.size());
    }
  }
  return ends;
}

// The seeming end of a track's entry nearest past `from`, else (a file whose
// playlists fill its second half) the nearest before it; 0 when none is near.
std::uint64_t SplitPlace(LibraryFile& file, std::uint64_t from) {
  std::string window(kSplitSearch + 64, '\0');  // a little more, for a place across its end
  window.resize(file.ReadAt(from, window.data(), window.size()));
  if (const auto ends = TrackEnds(window); !ends.empty()) return from + ends.front();
  for (std::uint64_t end = from, tries = 0; end > 0 && tries < 8; ++tries) {
    const std::uint64_t start = end > kSplitSearch ? end - kSplitSearch : 0;
    window.resize(kSplitSearch + 64);
    window.resize(file.ReadAt(start, window.data(), static_cast<std::size_t>(end - start) + 64));
    if (const auto ends = TrackEnds(window); !ends.empty()) return start + ends.back();
    end = start;
  }
  return 0;
}

// Reads the file with a second parser, on a thread of its own, taking what
// follows an entry of "Tracks" past `from` (the file's version must be
// the same when opened again for it). When the first parser finds itself
// elsewhere at that place, or the second part fails, the first reads on
// alone, as if there had been no second: it says what is wrong where. False,
// with nothing read, when the file is not split (small, not UTF-8, no place
// found, no thread to be had).
bool ReadInTwo(Reader& reader, LibraryFile& file, const std::string& path,
               const LocationMappings* mappings, std::uint64_t from) {
  // Every look ahead goes through the second opening: on Windows a read at
  // an offset moves the file's position, which the first parser reads on from.
  std::optional<LibraryFile> again;
  try {
    again.emplace(path);
  } catch (const LibraryError&) {
    return false;
  }
  if (again->Signature() != file.Signature() || !InUtf8(*again)) return false;
  const std::uint64_t place = SplitPlace(*again, from);
  if (place == 0) return false;
  Reader second(path, mappings);
  std::atomic<bool> abandon{false};
  bool secondRead = false;
  std::thread thread;
  try {
    thread = std::thread([&] {
      try {
        secondRead = second.ParseFileFrom(*again, place, abandon);
      } catch (...) {
        // The first parser reads that part again and says what is wrong.
      }
    });
  } catch (const std::system_error&) {
    return false;
  }
  bool here = false;
  try {
    reader.ParseFile(file, place);
    here = reader.BetweenTracksAt(place);
  } catch (...) {
    abandon = true;
    thread.join();
    throw;
  }
  if (!here) abandon = true;
  thread.join();
  if (here && secondRead) {
    reader.Absorb(second, place);
  } else {
    reader.ParseFile(file);
  }
  return true;
}

// A large file is split in the middle; `splitFrom` splits any file there.
std::shared_ptr<XmlLibrary> ReadFile(const std::string& path, PlaylistIds& ids,
                                     FileSignature* signature, const LocationMappings* mappings,
                                     std::optional<std::uint64_t> splitFrom) {
  LibraryFile file(path);
  Reader reader(path, mappings);
  const std::uint64_t size = file.Signature().size;
  if (!splitFrom && size >= kSplitMinimum) splitFrom = size / 2;
  if (!splitFrom || !ReadInTwo(reader, file, path, mappings, *splitFrom)) reader.ParseFile(file);
  reader.AssignLines([&file](std::uint64_t offset, char* buffer, std::size_t size) {
    return file.ReadAt(offset, buffer, size);
  });
  std::shared_ptr<XmlLibrary> library = reader.Finish(ids);
  if (signature != nullptr) *signature = file.Signature();
  return library;
}

}  // namespace

std::shared_ptr<XmlLibrary> ReadXmlLibraryFile(const std::string& path, PlaylistIds& ids,
                                               FileSignature* signature,
                                               const LocationMappings* mappings) {
  return ReadFile(path, ids, signature, mappings, std::nullopt);
}

std::shared_ptr<XmlLibrary> ReadXmlLibraryFileSplit(const std::string& path, PlaylistIds& ids,
                                                    std::uint64_t from) {
  return ReadFile(path, ids, nullptr, nullptr, from);
}

std::shared_ptr<XmlLibrary> ReadXmlLibrary(std::string_view content, const std::string& fileName,
                                           PlaylistIds& ids, const LocationMappings* mappings) {
  const std::string_view whole = content;
  Reader reader(fileName, mappings);
  constexpr std::size_t kPiece = 1 << 30;
  do {
    const std::size_t piece = std::min(content.size(), kPiece);
    reader.Parse(content.data(), static_cast<int>(piece), piece == content.size());
    content.remove_prefix(piece);
  } while (!content.empty());
  reader.AssignLines([whole](std::uint64_t offset, char* buffer, std::size_t size) {
    if (offset >= whole.size()) return std::size_t{0};
    const std::size_t count = std::min<std::size_t>(size, whole.size() - offset);
    std::memcpy(buffer, whole.data() + offset, count);
    return count;
  });
  return reader.Finish(ids);
}

}  // namespace quorvella
