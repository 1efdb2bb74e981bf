// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "settings/MemoryRegistry.h"
#include "tivo/TiVoDesktop.h"

namespace quorvella {
namespace {

using R = TiVoDesktopRelease;

TEST(TiVoDesktopTest, VersionsCompareOrdinallyNeverAsNumbers) {
  const std::string note = "if you are running 2.3, then you must";
  // The stored text (null: no value at all), the version read, the release.
  const struct { const char* stored; const char* version; R release; bool is23OrLater; } cases[] = {
      {nullptr, "", R::BelowOrAbsent, false},  {"   ", "", R::BelowOrAbsent, false},
      {"2.2.5", "2.2.5", R::BelowOrAbsent, false}, {"2.3", "2.3", R::BelowOrAbsent, true},
      {"2.3.1", "2.3.1", R::Is23, true},       {" 2.3.1 ", "2.3.1", R::Is23, true},
      {"2.30", "2.30", R::Above23, true},      {"2.4.0", "2.4.0", R::Above23, true},
      {"3", "3", R::Above23, true},            {"10.0", "10.0", R::BelowOrAbsent, false},
      {"2.3\xC3\xA9", "2.3\xC3\xA9", R::Above23, true},  // four characters, not four bytes
  };
  for (const auto& c : cases) {
    MemoryRegistry store;
    RegUtil reg{store};
    if (c.stored) reg.RegSetString(Hive::CurrentUser, "Software\\TiVo\\Desktop", "Version", c.stored);
    const std::string at = c.stored ? c.stored : "(absent)";
    EXPECT_EQ(GetTiVoDesktopVersion(reg), c.version) << at;
    EXPECT_EQ(GetTiVoDesktopRelease(reg), c.release) << at;
    EXPECT_EQ(IsTiVoDesktop23OrLater(reg), c.is23OrLater) << at;
    EXPECT_EQ(RewordImportantNote(reg, note),
              c.release == R::Is23 ? "since you are running 2.3, you must" : note)
        << at;
  }
}

TEST(TiVoDesktopTest, RewordingReplacesEveryOccurrenceInOrderWithCase) {
  EXPECT_EQ(RewordImportantNote("if you are, if you are; then you must", R::Is23),
            "since you are, since you are; you must");
  EXPECT_EQ(RewordImportantNote("If you are: Then you must", R::Is23), "If you are: Then you must");
}

}  // namespace
}  // namespace quorvella
