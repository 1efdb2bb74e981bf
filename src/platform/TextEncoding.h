// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

// Conversions between the program's UTF-8 texts and the encodings that files
// written on Windows use. None of them fails: what cannot be decoded is
// replaced, so the result is always valid UTF-8 (or valid UTF-16).
namespace quorvella {

// Decodes one strictly valid UTF-8 sequence at text[pos] and advances pos;
// false (pos unchanged) when the bytes there are not one.
bool DecodeUtf8(std::string_view text, std::size_t& pos, char32_t& cp);
void AppendUtf8(std::string& out, char32_t cp);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

// Bytes in Windows-1252; the five bytes that code page leaves undefined map
// to the control characters of the same number, as Windows maps them.
std::string Windows1252ToUtf8(std::string_view bytes);

// Eight-bit text of unknown origin: kept as it is when it is valid UTF-8,
// read as Windows-1252 otherwise.
std::string Utf8OrWindows1252(std::string_view bytes);

// UTF-16LE bytes to UTF-8. An unpaired surrogate becomes U+FFFD; an odd last
// byte is read as a code unit of its own (U+0000 to U+00FF), which is what a
// string value one byte too long usually holds.
std::string Utf16LeToUtf8(std::string_view bytes);

// UTF-8 to UTF-16LE bytes; a text that is not valid UTF-8 is first read as
// Utf8OrWindows1252 does.
std::string Utf8ToUtf16Le(std::string_view text);

}  // namespace quorvella
