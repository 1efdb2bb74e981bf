// SPDX-License-Identifier: MIT
#include "bench/LibraryXml.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <string_view>

namespace quorvella {
namespace {

constexpr std::size_t kChunk = 1 << 20;

// Civil date from days since 1970-01-01 (Howard Hinnant's algorithm), so the
// text does not depend on the C library's time zone handling.
void AppendDate(std::string& out, std::int64_t seconds) {
  const std::int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
  const std::int64_t secs = seconds - days * 86400;
  const std::int64_t z = days + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const std::int64_t day = doy - (153 * mp + 2) / 5 + 1;
  const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  const auto digits = [&out](std::int64_t value, int width) {
    char text[8];
    for (int i = width - 1; i >= 0; --i, value /= 10) text[i] = static_cast<char>('0' + value % 10);
    out.append(text, static_cast<std::size_t>(width));
  };
  digits(year, 4);
  out += '-';
  digits(month, 2);
  out += '-';
  digits(day, 2);
  out += 'T';
  digits(secs / 3600, 2);
  out += ':';
  digits(secs / 60 % 60, 2);
  out += ':';
  digits(secs % 60, 2);
  out += 'Z';
}

void AppendBase64Lines(std::string& out, const std::string& bytes, std::string_view indent) {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string encoded;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
    std::uint32_t v = 0;
    for (std::size_t k = 0; k < 3; ++k) {
      v = (v << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    }
    for (std::size_t k = 0; k < 4; ++k) {
      encoded += k <= n ? kAlphabet[(v >> (18 - 6 * k)) & 0x3F] : '=';
    }
  }
  for (std::size_t i = 0; i < encoded.size(); i += 60) {
    out += indent;
    out.append(encoded, i, 60);
    out += '\n';
  }
}

class Writer {
 public:
  explicit Writer(std::FILE* file) : file_(file) { text_.reserve(file ? kChunk + 4096 : 1 << 16); }

  std::string& Text() { return text_; }
  bool Failed() const { return failed_; }
  int Errno() const { return errno_; }

  bool Flush() {
    if (file_ != nullptr && !failed_ && !text_.empty()) {
      if (std::fwrite(text_.data(), 1, text_.size(), file_) != text_.size()) {
        failed_ = true;
        errno_ = errno;
      }
      text_.clear();
    }
    return !failed_;
  }

  void Document(const GeneratedLibrary& library) {
    text_ +=
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE plist PUBLIC \"-//Apple Computer//DTD PLIST 1.0//EN\" "
        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
        "<plist version=\"1.0\">\n<dict>\n";
    constexpr std::string_view in = "\t";
    Integer(in, "Major Version", 1);
    Integer(in, "Minor Version", 1);
    Key(in, "Date");
    text_ += "<date>";
    AppendDate(text_, library.Date);
    text_ += "</date>\n";
    String(in, "Application Version", library.ApplicationVersion);
    Integer(in, "Features", 5);
    True(in, "Show Content Ratings");
    const char separator = library.Options.Form == UrlForm::Windows ? '\\' : '/';
    String(in, "Music Folder", FileUrl(library.MusicRoot + separator + "Music" + separator, library.Options.Form));
    String(in, "Library Persistent ID", library.LibraryPersistentId);
    text_ += "\t<key>Tracks</key>\n\t<dict>\n";
    for (const auto& track : library.Tracks) {
      Track(track);
      if (text_.size() >= kChunk && !Flush()) return;
    }
    text_ += "\t</dict>\n\t<key>Playlists</key>\n\t<array>\n";
    for (const auto& playlist : library.Playlists) {
      Playlist(playlist);
      if (text_.size() >= kChunk && !Flush()) return;
    }
    text_ += "\t</array>\n</dict>\n</plist>\n";
  }

 private:
  void Escaped(std::string_view value) {
    for (const char c : value) {
      switch (c) {
        case '&': text_ += "&#38;"; break;
        case '<': text_ += "&#60;"; break;
        case '>': text_ += "&#62;"; break;
        default: text_ += c;
      }
    }
  }

  void Number(std::int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    text_.append(digits, result.ptr);
  }

  void Key(std::string_view indent, std::string_view key) {
    text_ += indent;
    text_ += "<key>";
    Escaped(key);
    text_ += "</key>";
  }

  void Integer(std::string_view indent, std::string_view key, std::int64_t value) {
    Key(indent, key);
    text_ += "<integer>";
    Number(value);
    text_ += "</integer>\n";
  }

  void String(std::string_view indent, std::string_view key, std::string_view value) {
    Key(indent, key);
    text_ += "<string>";
    Escaped(value);
    text_ += "</string>\n";
  }

  void Date(std::string_view indent, std::string_view key, std::int64_t seconds) {
    Key(indent, key);
    text_ += "<date>";
    AppendDate(text_, seconds);
    text_ += "</date>\n";
  }

  void True(std::string_view indent, std::string_view key) {
    Key(indent, key);
    text_ += "<true/>\n";
  }

  void False(std::string_view indent, std::string_view key) {
    Key(indent, key);
    text_ += "<false/>\n";
  }

  void Data(std::string_view indent, std::string_view key, const std::string& bytes) {
    Key(indent, key);
    text_ += '\n';
    text_ += indent;
    text_ += "<data>\n";
    AppendBase64Lines(text_, bytes, indent);
    text_ += indent;
    text_ += "</data>\n";
  }

  void Track(const GeneratedTrack& t) {
    constexpr std::string_view in = "\t\t\t";
    text_ += "\t\t<key>";
    Number(t.TrackId);
    text_ += "</key>\n\t\t<dict>\n";
    Integer(in, "Track ID", t.TrackId);
    String(in, "Name", t.Name);
    if (!t.Artist.empty()) String(in, "Artist", t.Artist);
    if (!t.Album.empty()) String(in, "Album", t.Album);
    String(in, "Kind", t.Kind);
    if (t.Size != 0) Integer(in, "Size", t.Size);
    if (t.TotalTimeMs != 0) Integer(in, "Total Time", t.TotalTimeMs);
    if (t.TrackNumber != 0) Integer(in, "Track Number", t.TrackNumber);
    Date(in, "Date Added", t.DateAdded);
    String(in, "Persistent ID", t.PersistentId);
    if (t.WritesTrackType) {
      String(in, "Track Type", t.Type == TrackType::File ? "File" : t.Type == TrackType::Url ? "URL" : "Remote");
    }
    if (!t.Location.empty()) String(in, "Location", t.Location);
    text_ += "\t\t</dict>\n";
  }

  // Smart lists keep their rules as opaque binary blobs; these have the
  // shape (header, length) of real ones and content made from the ID.
  static std::string SmartBlob(std::int32_t playlistId, bool criteria) {
    std::string bytes;
    if (criteria) {
      bytes = std::string("SLst\0\1\0\1\0\0\0\2", 12);
      bytes.resize(136 + static_cast<std::size_t>(playlistId % 5) * 68, '\0');
    } else {
      bytes = std::string("\1\1\0\3\0\0\0\2\0\0\0\x19", 12);
      bytes.resize(92, '\0');
    }
    std::uint32_t v = static_cast<std::uint32_t>(playlistId) * 2654435761u;
    for (std::size_t i = 16; i < bytes.size(); i += 23) {
      bytes[i] = static_cast<char>(v & 0xFF);
      v = v * 1103515245u + 12345u;
    }
    return bytes;
  }

  void Playlist(const GeneratedPlaylist& p) {
    constexpr std::string_view in = "\t\t\t";
    text_ += "\t\t<dict>\n";
    String(in, "Name", p.Name);
    if (!p.Description.empty()) String(in, "Description", p.Description);
    if (p.Master) True(in, "Master");
    Integer(in, "Playlist ID", p.PlaylistId);
    String(in, "Playlist Persistent ID", p.PersistentId);
    if (!p.ParentPersistentId.empty()) String(in, "Parent Persistent ID", p.ParentPersistentId);
    if (p.DistinguishedKind != 0) Integer(in, "Distinguished Kind", p.DistinguishedKind);
    if (!p.FlagKey.empty()) True(in, p.FlagKey);
    if (!p.Visible) False(in, "Visible");
    if (p.AllItems || p.DistinguishedKind != 0 || p.Folder) True(in, "All Items");
    if (p.Folder) True(in, "Folder");
    if (p.Smart) {
      Data(in, "Smart Info", SmartBlob(p.PlaylistId, false));
      Data(in, "Smart Criteria", SmartBlob(p.PlaylistId, true));
    }
    if (!p.Items.empty() || p.WritesEmptyItems) {
      text_ += "\t\t\t<key>Playlist Items</key>\n\t\t\t<array>\n";
      for (const std::int32_t id : p.Items) {
        text_ += "\t\t\t\t<dict>\n\t\t\t\t\t<key>Track ID</key><integer>";
        Number(id);
        text_ += "</integer>\n\t\t\t\t</dict>\n";
      }
      text_ += "\t\t\t</array>\n";
    }
    text_ += "\t\t</dict>\n";
  }

  std::FILE* file_;
  std::string text_;
  bool failed_ = false;
  int errno_ = 0;
};

}  // namespace

std::string LibraryXml(const GeneratedLibrary& library) {
  Writer writer(nullptr);
  writer.Document(library);
  return std::move(writer.Text());
}

bool WriteLibraryXml(const GeneratedLibrary& library, std::FILE* file, std::string& error) {
  Writer writer(file);
  writer.Document(library);
  if (!writer.Flush() || std::fflush(file) != 0) {
    error = std::strerror(writer.Failed() ? writer.Errno() : errno);
    return false;
  }
  return true;
}

bool WriteLibraryXmlFile(const GeneratedLibrary& library, const std::string& path, std::string& error) {
  if (path == "-") return WriteLibraryXml(library, stdout, error);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    error = "cannot create " + path + ": " + std::strerror(errno);
    return false;
  }
  std::string why;
  bool ok = WriteLibraryXml(library, file, why);
  if (std::fclose(file) != 0 && ok) {
    ok = false;
    why = std::strerror(errno);
  }
  if (!ok) error = "cannot write " + path + ": " + why;
  return ok;
}

}  // namespace quorvella
