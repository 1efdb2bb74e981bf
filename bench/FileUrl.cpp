// SPDX-License-Identifier: MIT
#include "bench/FileUrl.h"

#include <cstdint>
#include <string_view>

namespace quorvella {
namespace {

bool StaysInUrlPath(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("/-._~!$&'()*+,;=:@").find(static_cast<char>(c)) != std::string_view::npos;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Reads one code point; a malformed byte is returned as itself so that the
// text passes through unchanged.
char32_t NextCodePoint(std::string_view text, std::size_t& i, std::size_t& length) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  length = b0 < 0x80 ? 1 : b0 >= 0xF0 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC0 ? 2 : 1;
  if (i + length > text.size()) length = 1;
  if (length == 1) return b0;
  char32_t c = b0 & (0x3F >> (length - 1));
  for (std::size_t k = 1; k < length; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) {
      length = 1;
      return b0;
    }
    c = (c << 6) | (b & 0x3F);
  }
  return c;
}

struct Decomposition {
  char32_t composed;
  char32_t base;
  char32_t mark;
};

constexpr char32_t kGrave = 0x300, kAcute = 0x301, kCircumflex = 0x302, kTilde = 0x303,
                   kBreve = 0x306, kDiaeresis = 0x308, kRing = 0x30A, kCedilla = 0x327,
                   kVoiced = 0x3099, kSemiVoiced = 0x309A;

constexpr Decomposition kDecompositions[] = {
    {U'À', U'A', kGrave},      {U'Á', U'A', kAcute},      {U'Â', U'A', kCircumflex},
    {U'Ã', U'A', kTilde},      {U'Ä', U'A', kDiaeresis},  {U'Å', U'A', kRing},
    {U'Ç', U'C', kCedilla},    {U'È', U'E', kGrave},      {U'É', U'E', kAcute},
    {U'Ê', U'E', kCircumflex}, {U'Ë', U'E', kDiaeresis},  {U'Ì', U'I', kGrave},
    {U'Í', U'I', kAcute},      {U'Î', U'I', kCircumflex}, {U'Ï', U'I', kDiaeresis},
    {U'Ñ', U'N', kTilde},      {U'Ò', U'O', kGrave},      {U'Ó', U'O', kAcute},
    {U'Ô', U'O', kCircumflex}, {U'Õ', U'O', kTilde},      {U'Ö', U'O', kDiaeresis},
    {U'Ù', U'U', kGrave},      {U'Ú', U'U', kAcute},      {U'Û', U'U', kCircumflex},
    {U'Ü', U'U', kDiaeresis},  {U'Ý', U'Y', kAcute},      {U'à', U'a', kGrave},
    {U'á', U'a', kAcute},      {U'â', U'a', kCircumflex}, {U'ã', U'a', kTilde},
    {U'ä', U'a', kDiaeresis},  {U'å', U'a', kRing},       {U'ç', U'c', kCedilla},
    {U'è', U'e', kGrave},      {U'é', U'e', kAcute},      {U'ê', U'e', kCircumflex},
    {U'ë', U'e', kDiaeresis},  {U'ì', U'i', kGrave},      {U'í', U'i', kAcute},
    {U'î', U'i', kCircumflex}, {U'ï', U'i', kDiaeresis},  {U'ñ', U'n', kTilde},
    {U'ò', U'o', kGrave},      {U'ó', U'o', kAcute},      {U'ô', U'o', kCircumflex},
    {U'õ', U'o', kTilde},      {U'ö', U'o', kDiaeresis},  {U'ù', U'u', kGrave},
    {U'ú', U'u', kAcute},      {U'û', U'u', kCircumflex}, {U'ü', U'u', kDiaeresis},
    {U'ý', U'y', kAcute},      {U'ÿ', U'y', kDiaeresis},  {U'Й', U'И', kBreve},
    {U'й', U'и', kBreve},      {U'Ё', U'Е', kDiaeresis},  {U'ё', U'е', kDiaeresis},
    {U'が', U'か', kVoiced},    {U'ぎ', U'き', kVoiced},    {U'ぐ', U'く', kVoiced},
    {U'ご', U'こ', kVoiced},    {U'ざ', U'さ', kVoiced},    {U'だ', U'た', kVoiced},
    {U'で', U'て', kVoiced},    {U'ど', U'と', kVoiced},    {U'ば', U'は', kVoiced},
    {U'ぱ', U'は', kSemiVoiced}, {U'ガ', U'カ', kVoiced},    {U'ギ', U'キ', kVoiced},
    {U'グ', U'ク', kVoiced},    {U'ゴ', U'コ', kVoiced},    {U'ジ', U'シ', kVoiced},
    {U'ダ', U'タ', kVoiced},    {U'デ', U'テ', kVoiced},    {U'ド', U'ト', kVoiced},
    {U'バ', U'ハ', kVoiced},    {U'ビ', U'ヒ', kVoiced},    {U'ブ', U'フ', kVoiced},
    {U'パ', U'ハ', kSemiVoiced}, {U'ポ', U'ホ', kSemiVoiced},
};

}  // namespace

std::string PercentEncodePath(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(path.size() + path.size() / 4);
  for (const char ch : path) {
    const auto c = static_cast<unsigned char>(ch);
    if (StaysInUrlPath(c)) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

std::string FileUrl(std::string_view path, UrlForm form, bool localhost) {
  if (form == UrlForm::Posix) {
    return (localhost ? "file://localhost" : "file://") + PercentEncodePath(path);
  }
  std::string slashed(path);
  for (char& c : slashed) {
    if (c == '\\') c = '/';
  }
  // A drive path gets one slash after the host; a share path brings its own two.
  const bool share = slashed.size() >= 2 && slashed[0] == '/' && slashed[1] == '/';
  return (share ? "file://localhost" : "file://localhost/") + PercentEncodePath(slashed);
}

std::string DecomposeNfd(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (std::size_t i = 0; i < text.size();) {
    std::size_t length = 1;
    const char32_t c = NextCodePoint(text, i, length);
    bool done = false;
    if (c >= 0xAC00 && c <= 0xD7A3) {
      // Hangul syllables decompose by arithmetic into leading, vowel and
      // optional trailing jamo.
      const char32_t index = c - 0xAC00;
      AppendUtf8(out, 0x1100 + index / (21 * 28));
      AppendUtf8(out, 0x1161 + (index % (21 * 28)) / 28);
      if (index % 28 != 0) AppendUtf8(out, 0x11A7 + index % 28);
      done = true;
    } else if (c >= 0xC0) {
      for (const auto& d : kDecompositions) {
        if (d.composed == c) {
          AppendUtf8(out, d.base);
          AppendUtf8(out, d.mark);
          done = true;
          break;
        }
      }
    }
    if (!done) out.append(text.substr(i, length));
    i += length;
  }
  return out;
}

}  // namespace quorvella
