// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <string>

// Decoders for the two text encodings that files written on Windows hold.
namespace quorvella {

// Windows-1252 bytes as UTF-8. The five bytes the code page leaves undefined
// become the control characters of the same number, as Windows maps them.
std::string DecodeWindows1252(std::span<const std::uint8_t> bytes);

// UTF-16 little-endian bytes as UTF-8; a lone surrogate becomes U+FFFD and an
// odd last byte is ignored.
std::string DecodeUtf16Le(std::span<const std::uint8_t> bytes);

}  // namespace quorvella
