// SPDX-License-Identifier: MIT
#include "platform/Normalization.h"

#include <gtest/gtest.h>

namespace quorvella {
namespace {

TEST(ComposeNfc, ComposesWhatHasAPrecomposedForm) {
  const std::pair<std::string, std::string> cases[] = {
      {"Rene\xCC\x81" "e", "Ren\xC3\xA9" "e"},            // e + combining acute
      {"A\xCC\x8A" "ngstr\xC3\xB6m", "\xC3\x85ngstr\xC3\xB6m"},  // A + ring above
      {"\xE1\x84\x92\xE1\x85\xA1\xE1\x86\xAB", "\xED\x95\x9C"},  // Hangul jamo to a syllable
      {"q\xCC\x81", "q\xCC\x81"},  // no precomposed q with acute: unchanged
      {"Caf\xC3\xA9", "Caf\xC3\xA9"}, {"plain", "plain"}, {"", ""},
      {"e\xCC\x81\xFF", "e\xCC\x81\xFF"},  // not UTF-8: as it is, for the encoder to replace
  };
  for (const auto& [text, composed] : cases) EXPECT_EQ(ComposeNfc(text), composed) << text;
}

}  // namespace
}  // namespace quorvella
