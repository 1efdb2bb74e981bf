// SPDX-License-Identifier: MIT
#include "platform/CodePageRoundTrip.h"

#include <cerrno>
#include <iconv.h>

#include "platform/TextEncoding.h"

namespace quorvella {
namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";

iconv_t AsIconv(void* descriptor) { return static_cast<iconv_t>(descriptor); }

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

CodePageRoundTrip::CodePageRoundTrip(int writeCodePage, int readCodePage)
    : encoder_(writeCodePage), decoder_(nullptr) {
  const std::string source = "CP" + std::to_string(readCodePage);
  const iconv_t cd = iconv_open("UTF-8", source.c_str());
  if (cd != reinterpret_cast<iconv_t>(-1)) decoder_ = cd;
}

CodePageRoundTrip::~CodePageRoundTrip() {
  if (decoder_ != nullptr) iconv_close(AsIconv(decoder_));
}

bool CodePageRoundTrip::Survives(std::string_view utf8) {
  // Every code page here keeps ASCII as it is.
  if (IsAscii(utf8)) return true;
  return ReadBack(utf8) == utf8;
}

std::string CodePageRoundTrip::ReadBack(std::string_view utf8) {
  std::string bytes = encoder_.Encode(utf8);
  if (IsAscii(bytes)) return bytes;
  // Without a decoder for the reader's code page (none should be missing
  // from glibc), Windows-1252 is the best guess.
  if (decoder_ == nullptr) return Windows1252ToUtf8(bytes);

  const iconv_t cd = AsIconv(decoder_);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string out(bytes.size() * 4 + 16, '\0');
  char* in = bytes.data();
  std::size_t inLeft = bytes.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)) continue;
    if (errno != EILSEQ && errno != EINVAL) break;
    // A byte the reader's code page leaves undefined.
    const std::size_t used = static_cast<std::size_t>(outPtr - out.data());
    out.replace(used, 3, kReplacement);
    outPtr += 3;
    outLeft -= 3;
    ++in;
    --inLeft;
  }
  out.resize(static_cast<std::size_t>(outPtr - out.data()));
  return out;
}

}  // namespace quorvella
