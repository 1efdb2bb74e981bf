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
// hold becomes its best-fit substitute (a letter without its accent) or "?";
// so does a byte that is not valid UTF-8. Keeps one conversion descriptor for
// its whole life, so converting many short lines costs no set-up each time.
// Not for use by two threads at once.
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

  int codePage_;
  void* descriptor_;  // iconv_t, kept out of this header
};

}  // namespace quorvella
