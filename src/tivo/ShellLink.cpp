// SPDX-License-Identifier: MIT
#include "tivo/ShellLink.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "platform/TextEncoding.h"

namespace quorvella {
namespace {

using Bytes = std::span<const std::uint8_t>;

std::string_view AsChars(Bytes bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr std::array<std::uint8_t, 16> kLinkClsid = {
    0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
// {20D04FE0-3AEA-1069-A2D8-08002B30309D}, the shell's My Computer folder.
constexpr std::array<std::uint8_t, 16> kMyComputerClsid = {
    0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10, 0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D};

namespace flag {
constexpr std::uint32_t kHasLinkTargetIdList = 0x1;
constexpr std::uint32_t kHasLinkInfo = 0x2;
constexpr std::uint32_t kHasName = 0x4;
constexpr std::uint32_t kHasRelativePath = 0x8;
constexpr std::uint32_t kHasWorkingDir = 0x10;
constexpr std::uint32_t kHasArguments = 0x20;
constexpr std::uint32_t kHasIconLocation = 0x40;
constexpr std::uint32_t kIsUnicode = 0x80;
constexpr std::uint32_t kForceNoLinkInfo = 0x100;
}  // namespace flag

constexpr std::uint32_t kLinkInfoHeaderSize = 0x1C;
constexpr std::uint32_t kLinkInfoHeaderSizeUnicode = 0x24;
constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x1;
constexpr std::uint32_t kCommonNetworkRelativeLinkAndPathSuffix = 0x2;
constexpr std::uint32_t kNetworkLinkMinSize = 0x14;
constexpr std::uint32_t kValidDevice = 0x1;
constexpr std::uint32_t kEnvironmentBlockSignature = 0xA0000001;
constexpr std::uint32_t kEnvironmentBlockSize = 0x314;
constexpr std::size_t kEnvironmentAnsiSize = 260;
constexpr std::size_t kEnvironmentUnicodeSize = 520;
constexpr std::uint32_t kFileEntryExtensionSignature = 0xBEEF0004;

// Thrown by the bounds checks; caught where a structure may be given up on.
struct Malformed {};

// Bounds-checked little-endian access to one structure of the file.
class Reader {
 public:
  explicit Reader(Bytes data) : data_(data) {}

  std::size_t Size() const { return data_.size(); }

  Bytes Span(std::size_t offset, std::size_t count) const {
    if (offset > data_.size() || count > data_.size() - offset) throw Malformed{};
    return data_.subspan(offset, count);
  }
  Reader Sub(std::size_t offset, std::size_t count) const { return Reader(Span(offset, count)); }

  std::uint16_t U16(std::size_t offset) const {
    const Bytes b = Span(offset, 2);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
  }
  std::uint32_t U32(std::size_t offset) const {
    const Bytes b = Span(offset, 4);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
  }

  // A NUL-terminated Windows-1252 text; the NUL must lie inside the data.
  std::string AnsiZ(std::size_t offset) const {
    const Bytes rest = Span(offset, data_.size() - std::min(offset, data_.size()));
    const auto nul = std::find(rest.begin(), rest.end(), std::uint8_t{0});
    if (nul == rest.end()) throw Malformed{};
    return Windows1252ToUtf8(AsChars(rest.first(static_cast<std::size_t>(nul - rest.begin()))));
  }
  // A NUL-terminated UTF-16 text; the NUL must lie inside the data.
  std::string Utf16Z(std::size_t offset) const {
    const Bytes rest = Span(offset, data_.size() - std::min(offset, data_.size()));
    for (std::size_t i = 0; i + 1 < rest.size(); i += 2) {
      if (rest[i] == 0 && rest[i + 1] == 0) return Utf16LeToUtf8(AsChars(rest.first(i)));
    }
    throw Malformed{};
  }

 private:
  Bytes data_;
};

// Text of a fixed-size field: up to its first NUL, or all of it.
std::string FixedAnsi(Bytes field) {
  const auto nul = std::find(field.begin(), field.end(), std::uint8_t{0});
  return Windows1252ToUtf8(AsChars(field.first(static_cast<std::size_t>(nul - field.begin()))));
}
std::string FixedUtf16(Bytes field) {
  std::size_t end = 0;
  while (end + 1 < field.size() && !(field[end] == 0 && field[end + 1] == 0)) end += 2;
  return Utf16LeToUtf8(AsChars(field.first(end)));
}

bool SameBytes(Bytes bytes, std::span<const std::uint8_t, 16> expected) {
  return std::equal(bytes.begin(), bytes.end(), expected.begin(), expected.end());
}

// A text field of the LinkInfo or of the network link: offset 0 means absent.
std::string OptionalAnsiZ(const Reader& r, std::uint32_t offset) {
  return offset == 0 ? std::string() : r.AnsiZ(offset);
}

void ReadNetworkLink(const Reader& info, std::uint32_t offset, ShellLink& link) {
  const std::uint32_t size = info.U32(offset);
  if (size < kNetworkLinkMinSize) throw Malformed{};
  const Reader net = info.Sub(offset, size);
  const std::uint32_t flags = net.U32(4);
  const std::uint32_t netNameOffset = net.U32(8);
  const std::uint32_t deviceNameOffset = net.U32(12);
  link.netName = OptionalAnsiZ(net, netNameOffset);
  if (flags & kValidDevice) link.deviceName = OptionalAnsiZ(net, deviceNameOffset);
  // An offset past the fixed fields announces the Unicode offsets.
  if (netNameOffset > kNetworkLinkMinSize) {
    const std::uint32_t netNameUnicode = net.U32(0x14);
    const std::uint32_t deviceNameUnicode = net.U32(0x18);
    if (netNameUnicode != 0) link.netName = net.Utf16Z(netNameUnicode);
    if ((flags & kValidDevice) && deviceNameUnicode != 0) {
      link.deviceName = net.Utf16Z(deviceNameUnicode);
    }
  }
}

void ReadLinkInfo(const Reader& info, ShellLink& link) {
  const std::uint32_t headerSize = info.U32(4);
  if (headerSize < kLinkInfoHeaderSize || headerSize > info.Size()) throw Malformed{};
  const std::uint32_t flags = info.U32(8);
  const std::uint32_t localBasePath = info.U32(16);
  const std::uint32_t networkLink = info.U32(20);
  const std::uint32_t suffix = info.U32(24);
  const bool hasUnicode = headerSize >= kLinkInfoHeaderSizeUnicode;

  if (flags & kVolumeIdAndLocalBasePath) {
    link.localBasePath = OptionalAnsiZ(info, localBasePath);
    if (hasUnicode && info.U32(28) != 0) link.localBasePath = info.Utf16Z(info.U32(28));
  }
  if (flags & kCommonNetworkRelativeLinkAndPathSuffix) ReadNetworkLink(info, networkLink, link);
  link.commonPathSuffix = OptionalAnsiZ(info, suffix);
  if (hasUnicode && info.U32(32) != 0) link.commonPathSuffix = info.Utf16Z(info.U32(32));
}

// One counted text of the string data; returns the offset after it.
std::size_t ReadCountedString(const Reader& r, std::size_t offset, bool unicode,
                              std::string& text) {
  const std::size_t count = r.U16(offset);
  const Bytes chars = r.Span(offset + 2, unicode ? count * 2 : count);
  text = unicode ? Utf16LeToUtf8(AsChars(chars)) : Windows1252ToUtf8(AsChars(chars));
  if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  return offset + 2 + chars.size();
}

// The long name of a file entry item from its 0xBEEF0004 extension block at
// the offset given; empty when there is no such block there.
std::string ExtensionLongName(const Reader& item, std::size_t extension) {
  try {
    const std::size_t size = item.U16(extension);
    if (size < 8 || item.U32(extension + 4) != kFileEntryExtensionSignature) return {};
    const Reader block = item.Sub(extension, size);
    const std::uint16_t version = block.U16(2);
    std::size_t nameOffset = 0;
    if (version >= 9) {
      nameOffset = 46;
    } else if (version == 8) {
      nameOffset = 42;
    } else if (version == 7) {
      nameOffset = 38;
    } else if (version >= 3) {
      nameOffset = 20;
    } else {
      return {};
    }
    return block.Utf16Z(nameOffset);
  } catch (const Malformed&) {
    return {};
  }
}

// Where the NUL-terminated text at offset ends, its terminator included.
std::size_t TextEnd(const Reader& r, std::size_t offset, bool unicode) {
  if (unicode) {
    while (r.U16(offset) != 0) offset += 2;
    return offset + 2;
  }
  while (r.Span(offset, 1)[0] != 0) ++offset;
  return offset + 1;
}

// The name of a file entry item (a folder or file below a drive): its long
// name where it has one, else its primary (possibly 8.3) name.
std::string FileEntryName(const Reader& item) {
  constexpr std::size_t kPrimaryName = 14;
  const bool unicode = (item.Span(2, 1)[0] & 0x04) != 0;
  const std::string primary = unicode ? item.Utf16Z(kPrimaryName) : item.AnsiZ(kPrimaryName);
  std::size_t extension = TextEnd(item, kPrimaryName, unicode);
  extension += extension % 2;
  std::string name = ExtensionLongName(item, extension);
  if (name.empty() && item.Size() >= kPrimaryName + 2) {
    // Newer items end with the offset of their first extension block.
    name = ExtensionLongName(item, item.U16(item.Size() - 2));
  }
  return name.empty() ? primary : name;
}

// The path an ID list spells out when it starts at My Computer, a drive and
// then file entries; empty for any other shape. The items' inner layout is
// the shell's, not the link format's, so an odd item gives up on the path
// without making the file malformed.
std::string IdListPath(const std::vector<Reader>& items) {
  try {
    if (items.size() < 2) return {};
    const Reader& root = items[0];
    if ((root.Span(2, 1)[0] != 0x1F) || !SameBytes(root.Span(4, 16), kMyComputerClsid)) return {};
    const Reader& volume = items[1];
    if ((volume.Span(2, 1)[0] & 0x70) != 0x20) return {};
    std::string path = volume.AnsiZ(3);
    const bool isDrive =
        (path.size() == 2 || (path.size() == 3 && path[2] == '\\')) &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
        path[1] == ':';
    if (!isDrive) return {};
    if (path.size() == 2) path += '\\';
    for (std::size_t i = 2; i < items.size(); ++i) {
      if ((items[i].Span(2, 1)[0] & 0x70) != 0x30) return {};
      const std::string name = FileEntryName(items[i]);
      if (name.empty()) return {};
      if (path.back() != '\\') path += '\\';
      path += name;
    }
    return path;
  } catch (const Malformed&) {
    return {};
  }
}

// Splits the ID list into its items; the list must end with its terminal ID.
std::vector<Reader> IdListItems(const Reader& list) {
  std::vector<Reader> items;
  std::size_t offset = 0;
  for (;;) {
    const std::size_t size = list.U16(offset);
    if (size == 0) return items;
    if (size < 2) throw Malformed{};
    items.push_back(list.Sub(offset, size));
    offset += size;
  }
}

ShellLink Parse(const Reader& file) {
  ShellLink link;
  if (file.U32(0) != kHeaderSize || !SameBytes(file.Span(4, 16), kLinkClsid)) throw Malformed{};
  link.linkFlags = file.U32(20);
  const std::uint32_t flags = link.linkFlags;
  std::size_t offset = kHeaderSize;

  if (flags & flag::kHasLinkTargetIdList) {
    const std::size_t size = file.U16(offset);
    const Reader list = file.Sub(offset + 2, size);
    link.idListPath = IdListPath(IdListItems(list));
    offset += 2 + size;
  }
  if (flags & flag::kHasLinkInfo) {
    const std::size_t size = file.U32(offset);
    if (size < kLinkInfoHeaderSize) throw Malformed{};
    const Reader info = file.Sub(offset, size);
    if (!(flags & flag::kForceNoLinkInfo)) ReadLinkInfo(info, link);
    offset += size;
  }

  const bool unicode = flags & flag::kIsUnicode;
  const std::pair<std::uint32_t, std::string*> strings[] = {
      {flag::kHasName, &link.name},
      {flag::kHasRelativePath, &link.relativePath},
      {flag::kHasWorkingDir, &link.workingDir},
      {flag::kHasArguments, &link.arguments},
      {flag::kHasIconLocation, &link.iconLocation},
  };
  for (const auto& [bit, text] : strings) {
    if (flags & bit) offset = ReadCountedString(file, offset, unicode, *text);
  }

  // Extra data blocks, up to the terminal block (a size below 4).
  for (;;) {
    const std::uint32_t size = file.U32(offset);
    if (size < 4) break;
    if (size < 8) throw Malformed{};
    const Reader block = file.Sub(offset, size);
    if (block.U32(4) == kEnvironmentBlockSignature && size >= kEnvironmentBlockSize) {
      link.environmentTarget =
          FixedUtf16(block.Span(8 + kEnvironmentAnsiSize, kEnvironmentUnicodeSize));
      if (link.environmentTarget.empty()) {
        link.environmentTarget = FixedAnsi(block.Span(8, kEnvironmentAnsiSize));
      }
    }
    offset += size;
  }
  return link;
}

// Joins a base path and a suffix with exactly one backslash between them.
std::string JoinWithSuffix(std::string base, std::string_view suffix) {
  if (suffix.empty()) return base;
  while (!base.empty() && base.back() == '\\') base.pop_back();
  while (!suffix.empty() && suffix.front() == '\\') suffix.remove_prefix(1);
  return base + '\\' + std::string(suffix);
}

}  // namespace

std::optional<ShellLink> ReadShellLink(std::span<const std::uint8_t> data) {
  try {
    return Parse(Reader(data));
  } catch (const Malformed&) {
    return std::nullopt;
  }
}

std::string ShellLinkTarget(const ShellLink& link) {
  if (!link.localBasePath.empty()) return JoinWithSuffix(link.localBasePath, link.commonPathSuffix);
  const std::string& share = link.netName.empty() ? link.deviceName : link.netName;
  if (!share.empty()) return JoinWithSuffix(share, link.commonPathSuffix);
  if (!link.environmentTarget.empty()) return link.environmentTarget;
  return link.idListPath;
}

std::string ReadShellLinkTarget(std::span<const std::uint8_t> data) {
  const auto link = ReadShellLink(data);
  return link ? ShellLinkTarget(*link) : std::string();
}

std::string ReadShellLinkFileTarget(const std::filesystem::path& file) {
  // Real shortcuts are a few kilobytes; anything far larger is not one.
  constexpr std::uintmax_t kMaxSize = 1 << 20;
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  if (ec || size > kMaxSize) return {};
  std::ifstream in(file, std::ios::binary);
  if (!in) return {};
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
  return ReadShellLinkTarget(bytes);
}

}  // namespace quorvella
