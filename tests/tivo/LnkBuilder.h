// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Builds shortcut files laid out as the shell-link format documents them, so
// that each test states exactly what its file holds.
namespace quorvella::test {

using Bytes = std::vector<std::uint8_t>;

// Byte by byte: GCC 12 at -O2 warns falsely (-Warray-bounds) on a range insert here.
inline void Append(Bytes& out, const Bytes& add) { for (const std::uint8_t b : add) out.push_back(b); }
inline void PutU16(Bytes& out, std::size_t v) { Append(out, {std::uint8_t(v), std::uint8_t(v >> 8)}); }
inline void PutU32(Bytes& out, std::initializer_list<std::size_t> values) {
  for (const std::size_t v : values) Append(out, {std::uint8_t(v), std::uint8_t(v >> 8),
                                                  std::uint8_t(v >> 16), std::uint8_t(v >> 24)});
}
// NUL-terminated text in single bytes as given ("\xE9" is Windows-1252 é).
inline void PutAnsiZ(Bytes& out, std::string_view text) {
  Append(out, Bytes(text.begin(), text.end()));
  out.push_back(0);
}
// Text in single bytes (each UTF-16 unit cut to its low byte) or in UTF-16.
inline void PutText(Bytes& out, std::u16string_view text, bool unicode) {
  for (const char16_t c : text) unicode ? PutU16(out, c) : out.push_back(std::uint8_t(c));
}
inline void PutUtf16Z(Bytes& out, std::u16string_view text) {
  PutText(out, text, true);
  PutU16(out, 0);
}

// Link flags.
inline constexpr std::uint32_t kIdList = 0x1, kLinkInfo = 0x2, kName = 0x4, kRelativePath = 0x8,
                               kWorkingDir = 0x10, kUnicode = 0x80, kForceNoLinkInfo = 0x100;

// Header (a directory's), sections in order, terminal block.
inline Bytes Lnk(std::uint32_t flags, std::initializer_list<Bytes> sections) {
  Bytes out{0x4C, 0, 0, 0, 0x01, 0x14, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
  PutU32(out, {flags, 0x10});
  out.resize(0x4C, 0);
  for (const Bytes& s : sections) Append(out, s);
  PutU32(out, {0});
  return out;
}

// One counted text of the string data.
inline Bytes Counted(std::u16string_view text, bool unicode) {
  Bytes out;
  PutU16(out, text.size());
  PutText(out, text, unicode);
  return out;
}

inline Bytes Item(std::uint8_t type, const Bytes& body) {
  Bytes out;
  PutU16(out, 3 + body.size());
  out.push_back(type);
  Append(out, body);
  return out;
}
inline Bytes MyComputerItem() {
  return Item(0x1F, {0x50, 0xE0, 0x4F, 0xD0, 0x20, 0xEA, 0x3A, 0x69, 0x10, 0xA2, 0xD8, 0x08, 0x00,
                     0x2B, 0x30, 0x30, 0x9D});
}
inline Bytes DriveItem(std::string_view drive) {
  Bytes body;
  PutAnsiZ(body, drive);
  body.resize(22, 0);
  return Item(0x2F, body);
}
// A folder below a drive: its primary name, single-byte or (unicode) UTF-16,
// and, when given, its long name in an extension block of the given version.
// With `blockAfter` one more block follows the long name's, so that the long
// name is found only where the primary name ends; `gap` bytes between the
// two leave it to be found only by the offset that ends the item.
inline Bytes FolderItem(std::u16string_view primary, std::optional<std::u16string_view> longName,
                        int version = 9, bool unicode = false, bool blockAfter = false,
                        std::size_t gap = 0) {
  Bytes body(11, 0);  // a spare byte, size, time, attributes
  PutText(body, primary, unicode);
  unicode ? PutU16(body, 0) : body.push_back(0);
  if (body.size() % 2 == 0) body.push_back(0);  // the extension block starts at an even offset
  body.resize(body.size() + gap, 0);
  if (longName) {
    const std::size_t start = 3 + body.size();
    Bytes ext;
    PutU32(ext, {std::size_t(version) << 16, 0xBEEF0004});
    // Times and identifier, then the fields each later version added.
    ext.resize(20 + (version >= 7 ? 18 : 0) + (version >= 9 ? 4 : 0) + (version >= 8 ? 4 : 0), 0);
    PutUtf16Z(ext, *longName);
    PutU16(ext, start);
    ext[0] = std::uint8_t(ext.size());
    Append(body, ext);
    if (blockAfter) PutU32(body, {8, 0xBEEF0005});
  }
  return Item(unicode ? 0x35 : 0x31, body);
}
inline Bytes IdList(std::initializer_list<Bytes> items) {
  Bytes out(2, 0);  // the size of what follows, set at the end
  for (const Bytes& item : items) Append(out, item);
  PutU16(out, 0);
  out[0] = std::uint8_t(out.size() - 2);
  out[1] = std::uint8_t((out.size() - 2) >> 8);
  return out;
}

// Members left out of a designated initializer stay absent or empty.
struct LinkInfoFields {
  std::optional<std::string> base{};  // single-byte, as stored
  std::string suffix{};
  std::optional<std::u16string> baseUnicode{}, suffixUnicode{};
  std::optional<std::string> netName{};
  std::string device{};
  std::optional<std::u16string> netNameUnicode{}, deviceUnicode{};
};

inline Bytes LinkInfo(const LinkInfoFields& s) {
  const bool unicode = s.baseUnicode || s.suffixUnicode;
  const std::size_t header = unicode ? 0x24 : 0x1C;
  Bytes body;
  std::size_t offsets[6] = {};  // volume, base, network, suffix, base and suffix Unicode
  const auto at = [&](int field) { offsets[field] = header + body.size(); };
  if (s.base) {
    at(0);  // VolumeID: size, fixed drive, serial, the empty label at 0x10
    PutU32(body, {0x11, 3, 0x1234ABCD, 0x10});
    body.push_back(0);
    at(1);
    PutAnsiZ(body, *s.base);
  }
  if (s.netName) {
    at(2);
    const bool unicodeNames = s.netNameUnicode || s.deviceUnicode;
    const std::size_t fixed = unicodeNames ? 0x1C : 0x14, device = fixed + s.netName->size() + 1;
    const std::size_t unicodeName = device + (s.device.empty() ? 0 : s.device.size() + 1);
    const std::size_t unicodeDevice = unicodeName + (s.netNameUnicode ? 2 * s.netNameUnicode->size() + 2 : 0);
    const std::size_t size = unicodeDevice + (s.deviceUnicode ? 2 * s.deviceUnicode->size() + 2 : 0);
    // Size, flags (valid device, valid network type), offsets, a LAN Manager network.
    PutU32(body, {size, s.device.empty() ? 2u : 3u, fixed, s.device.empty() ? 0 : device, 0x20000});
    if (unicodeNames) PutU32(body, {s.netNameUnicode ? unicodeName : 0, s.deviceUnicode ? unicodeDevice : 0});
    PutAnsiZ(body, *s.netName);
    if (!s.device.empty()) PutAnsiZ(body, s.device);
    if (s.netNameUnicode) PutUtf16Z(body, *s.netNameUnicode);
    if (s.deviceUnicode) PutUtf16Z(body, *s.deviceUnicode);
  }
  at(3);
  PutAnsiZ(body, s.suffix);
  if (s.baseUnicode) at(4), PutUtf16Z(body, *s.baseUnicode);
  if (s.suffixUnicode) at(5), PutUtf16Z(body, *s.suffixUnicode);
  Bytes out;
  PutU32(out, {header + body.size(), header, (s.base ? 1u : 0u) | (s.netName ? 2u : 0u)});
  for (std::size_t i = 0; i < (unicode ? 6u : 4u); ++i) PutU32(out, {offsets[i]});
  Append(out, body);
  return out;
}
inline Bytes LocalInfo(std::string base, std::string suffix = "") {
  return LinkInfo({.base = std::move(base), .suffix = std::move(suffix)});
}

inline Bytes EnvironmentBlock(std::string_view ansi, std::u16string_view unicode) {
  Bytes out;
  PutU32(out, {0x314, 0xA0000001});
  PutAnsiZ(out, ansi);
  out.resize(8 + 260, 0);
  PutText(out, unicode, true);
  out.resize(0x314, 0);
  return out;
}
// Any other block, which the reader steps over.
inline Bytes OtherBlock() { return {0x10, 0, 0, 0, 0x03, 0, 0, 0xA0, 0, 0, 0, 0, 0, 0, 0, 0}; }

}  // namespace quorvella::test
