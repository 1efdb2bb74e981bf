// SPDX-License-Identifier: MIT
#include "platform/Normalization.h"

#include "platform/TextEncoding.h"
#include "platform/windows/WideText.h"

namespace quorvella {

std::string ComposeNfc(std::string_view utf8) {
  if (!IsValidUtf8(utf8)) return std::string(utf8);
  const std::wstring wide = Utf8ToWide(utf8);
  if (wide.empty()) return std::string(utf8);
  const int size = static_cast<int>(wide.size());
  int length = NormalizeString(NormalizationC, wide.data(), size, nullptr, 0);
  // The first answer is an estimate; the call says when it needs more room.
  for (int attempt = 0; attempt < 4 && length > 0; ++attempt) {
    std::wstring composed(static_cast<std::size_t>(length), L'\0');
    length = NormalizeString(NormalizationC, wide.data(), size, composed.data(), length);
    if (length > 0) {
      composed.resize(static_cast<std::size_t>(length));
      return WideToUtf8(composed);
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
    length = -length;
  }
  return std::string(utf8);
}

}  // namespace quorvella
