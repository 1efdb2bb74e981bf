// SPDX-License-Identifier: MIT
#include "platform/CodePageRoundTrip.h"

#include "platform/windows/WideText.h"

namespace quorvella {
namespace {

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

// decoder_ holds the reader's code page; Windows reads any code page itself.
CodePageRoundTrip::CodePageRoundTrip(int writeCodePage, int readCodePage)
    : encoder_(writeCodePage),
      decoder_(reinterpret_cast<void*>(static_cast<std::intptr_t>(
          readCodePage > 0 && IsValidCodePage(static_cast<UINT>(readCodePage)) ? readCodePage
                                                                              : kWesternCodePage))) {}

CodePageRoundTrip::~CodePageRoundTrip() = default;

bool CodePageRoundTrip::Survives(std::string_view utf8) {
  // Every code page here keeps ASCII as it is.
  if (IsAscii(utf8)) return true;
  return ReadBack(utf8) == utf8;
}

std::string CodePageRoundTrip::ReadBack(std::string_view utf8) {
  const std::string bytes = encoder_.Encode(utf8);
  if (IsAscii(bytes)) return bytes;
  const auto codePage = static_cast<UINT>(reinterpret_cast<std::intptr_t>(decoder_));
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
  return WideToUtf8(wide);
}

}  // namespace quorvella
