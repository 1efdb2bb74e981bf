// SPDX-License-Identifier: MIT
#include "platform/Text.h"

#include <gtest/gtest.h>

namespace quorvella {
namespace {

TEST(Text, TrimRemovesSpacesOnly) {
  EXPECT_EQ(TrimSpaces("  a b  "), "a b");
  EXPECT_EQ(TrimSpaces("   "), "");
  EXPECT_EQ(TrimSpaces("\ta\t"), "\ta\t");
}

TEST(Text, CaseMappingCoversNonAsciiLettersAndKeepsBrokenBytes) {
  EXPECT_EQ(LowerCase("ÉCOLE Straße ΑΒΓ Жук"), "école straße αβγ жук");
  EXPECT_EQ(UpperCase("école"), "ÉCOLE");
  EXPECT_EQ(LowerCase("A\xFF" "B\xC3"), "a\xFF" "b\xC3");
  EXPECT_EQ(LowerAscii("ÉA"), "Éa");
}

}  // namespace
}  // namespace quorvella
