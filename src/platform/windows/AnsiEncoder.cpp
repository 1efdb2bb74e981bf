// SPDX-License-Identifier: MIT
// The conversion into a code page through WideCharToMultiByte, with Windows'
// own best-fit substitutes ("ā" becomes "a").
#include "platform/AnsiCodePage.h"

#include "platform/TextEncoding.h"
#include "platform/windows/WideText.h"

namespace quorvella {
namespace {

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// The length of the UTF-8 character at the start of text by its form alone
// (an overlong or surrogate one included), or 1 for a byte that does not
// begin one: what counts as one character the code page lacks.
std::size_t CharacterLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  std::size_t length = 1;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
  }
  if (length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

}  // namespace

int UserAnsiCodePage() { return static_cast<int>(GetACP()); }

AnsiEncoder::AnsiEncoder(int codePage)
    : codePage_(codePage), singleByte_(true), descriptor_(nullptr), bestFit_(nullptr) {
  if (codePage_ <= 0 || !IsValidCodePage(static_cast<UINT>(codePage_))) codePage_ = kWesternCodePage;
  CPINFO info{};
  singleByte_ = GetCPInfo(static_cast<UINT>(codePage_), &info) == 0 || info.MaxCharSize == 1;
}

AnsiEncoder::~AnsiEncoder() = default;

std::string AnsiEncoder::Encode(std::string_view utf8) {
  std::string out;
  Append(utf8, out);
  return out;
}

void AnsiEncoder::Append(std::string_view utf8, std::string& out) {
  // Every code page here keeps ASCII as it is, and most lines are all ASCII.
  if (IsAscii(utf8)) {
    out += utf8;
  } else {
    ConvertEach(utf8, out);
  }
}

void AnsiEncoder::ConvertEach(std::string_view utf8, std::string& out) {
  const auto codePage = static_cast<UINT>(codePage_);
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    char32_t cp = 0;
    if (!DecodeUtf8(utf8, pos, cp)) {
      out += '?';
      pos += CharacterLength(utf8.substr(pos));
      continue;
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
      continue;
    }
    std::string unit;
    AppendUtf8(unit, cp);
    const std::wstring wide = Utf8ToWide(unit);
    char buffer[8];
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                           buffer, sizeof buffer, nullptr, nullptr);
    // One character gives one byte in a single-byte code page (a character
    // beyond UTF-16's first plane would otherwise come out as "??").
    if (length <= 0 || (singleByte_ && length != 1)) {
      out += '?';
    } else {
      out.append(buffer, static_cast<std::size_t>(length));
    }
  }
}

}  // namespace quorvella
