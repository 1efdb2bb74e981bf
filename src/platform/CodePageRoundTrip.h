// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

#include "platform/AnsiCodePage.h"

namespace quorvella {

// Whether a text written into a file in one code page comes back unchanged
// when a reader reads the file in another (or the same) code page: false
// when a character had to be replaced by a substitute or "?" on the way out,
// or when the bytes mean something else in the reader's code page. Keeps its
// conversion descriptors for its whole life. Not for use by two threads at
// once.
class CodePageRoundTrip {
 public:
  CodePageRoundTrip(int writeCodePage, int readCodePage);
  ~CodePageRoundTrip();
  CodePageRoundTrip(const CodePageRoundTrip&) = delete;
  CodePageRoundTrip& operator=(const CodePageRoundTrip&) = delete;

  bool Survives(std::string_view utf8);
  // What the reader gets back; a byte it cannot read becomes U+FFFD.
  std::string ReadBack(std::string_view utf8);

 private:
  AnsiEncoder encoder_;
  void* decoder_;  // iconv_t, kept out of this header
};

}  // namespace quorvella
