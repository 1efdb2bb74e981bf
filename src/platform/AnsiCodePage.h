// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

// The "ANSI code page": the Windows code page that playlist contents are
// written in, because that is what the TiVo servers read them as.
namespace quorvella {

inline constexpr int kWesternCodePage = 1252;

// The Windows code page of a POSIX locale name such as "de_DE.UTF-8",
// "sr_RS@latin" or "zh_TW.Big5", decided by its language (and, for Chinese,
// its territory); Windows-1252 for every language without one of its own and
// for "C" and "POSIX".
int AnsiCodePageOfLocale(std::string_view localeName);

// The code page of the user's character locale: the first of LC_ALL,
// LC_CTYPE and LANG that is set and not empty.
int UserAnsiCodePage();

// Converts UTF-8 text into one code page. A character the code page cannot
// hold becomes exactly one byte: its best-fit substitute when the C library's
// transliteration gives one character of the code page for it (a letter
// without its accent), otherwise "?"; so does each byte that is not valid
// UTF-8. Keeps its conversion descriptors for its whole life, so converting
// many short lines costs no set-up each time. Not for use by two threads at
// once.
class AnsiEncoder {
 public:
  explicit AnsiEncoder(int codePage);
  ~AnsiEncoder();
  AnsiEncoder(const AnsiEncoder&) = delete;
  AnsiEncoder& operator=(const AnsiEncoder&) = delete;

  // The code page converted to; Windows-1252 when the one asked for is not
  // available.
  int CodePage() const { return codePage_; }

  // Appends the converted text to out.
  void Append(std::string_view utf8, std::string& out);
  std::string Encode(std::string_view utf8);

 private:
  void ConvertSlow(std::string_view utf8, std::string& out);
  void ConvertEach(std::string_view utf8, std::string& out);
  // The one byte that stands for a character outside the code page.
  char Substitute(std::string_view character);

  int codePage_;
  bool singleByte_;
  // iconv_t, kept out of this header: the exact conversion, and the one that
  // transliterates what the code page lacks.
  void* descriptor_;
  void* bestFit_;
};

}  // namespace quorvella
