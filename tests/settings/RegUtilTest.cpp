// SPDX-License-Identifier: MIT
#include "settings/RegUtil.h"

#include <gtest/gtest.h>

#include "settings/MemoryRegistry.h"

namespace quorvella {
namespace {

constexpr std::string_view kKey = "Software\\Test";

class RegUtilTest : public ::testing::Test {
 protected:
  MemoryRegistry store;
  RegUtil reg{store};
};

TEST_F(RegUtilTest, StringValueReadsBackAndMissingOnesAreEmpty) {
  reg.RegSetString(Hive::CurrentUser, kKey, "Name", "D:\\Lists");
  EXPECT_EQ(reg.RegGetString(Hive::CurrentUser, kKey, "Name"), "D:\\Lists");
  EXPECT_EQ(reg.RegGetString(Hive::CurrentUser, kKey, "Other"), "");
  EXPECT_EQ(reg.RegGetString(Hive::CurrentUser, "Software\\Missing", "Name"), "");
  EXPECT_EQ(reg.RegGetString(Hive::LocalMachine, kKey, "Name"), "") << "hives are separate";
}

TEST_F(RegUtilTest, KeyPathsAndValueNamesIgnoreLetterCase) {
  reg.RegSetString(Hive::CurrentUser, kKey, "PlaylistFolder", "x");
  EXPECT_EQ(reg.RegGetString(Hive::CurrentUser, "SOFTWARE\\test", "playlistfolder"), "x");
  EXPECT_TRUE(reg.RegKeyExists(Hive::CurrentUser, "software\\TEST"));
}

TEST_F(RegUtilTest, SettingAStringCreatesEveryKeyAbove) {
  reg.RegSetString(Hive::CurrentUser, "Software\\Brenlow Software\\Quorvella", "A", "1");
  EXPECT_TRUE(reg.RegKeyExists(Hive::CurrentUser, "Software"));
  EXPECT_TRUE(reg.RegKeyExists(Hive::CurrentUser, "Software\\Brenlow Software"));
  EXPECT_TRUE(reg.RegKeyExists(Hive::CurrentUser, "Software\\Brenlow Software\\Quorvella"));
  EXPECT_FALSE(reg.RegKeyExists(Hive::CurrentUser, "Software\\Brenlow"));
}

TEST_F(RegUtilTest, OnlyStringValuesReadAsText) {
  store.SetValue(Hive::CurrentUser, kKey, "Dword", RegValue::Dword(1));
  store.SetValue(Hive::CurrentUser, kKey, "Expand", RegValue::String("x", regtype::kExpandSz));
  store.SetValue(Hive::CurrentUser, kKey, "Empty", RegValue{regtype::kSz, {}});
  EXPECT_EQ(reg.RegGetString(Hive::CurrentUser, kKey, "Dword"), "");
  EXPECT_EQ(reg.RegGetString(Hive::CurrentUser, kKey, "Expand"), "");
  EXPECT_EQ(reg.RegGetString(Hive::CurrentUser, kKey, "Empty"), "");
  EXPECT_TRUE(reg.RegGetBool(Hive::CurrentUser, kKey, "Dword", true));
  EXPECT_FALSE(reg.RegGetBool(Hive::CurrentUser, kKey, "Dword", false));
}

std::string Repeat(std::string_view piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(RegUtilLimit, ValuesThatDoNotFitTheBufferInTheCodePageReadAsEmpty) {
  // The buffer holds 1,024 bytes in the ANSI code page, its NUL included:
  // one byte per character in the single-byte code pages, whatever the
  // text takes in UTF-8.
  struct Case {
    int codePage;
    std::string text;
    bool fits;
  };
  const Case cases[] = {
      {1252, std::string(1023, 'a'), true},
      {1252, std::string(1024, 'a'), false},
      {1252, Repeat("\xC3\xA9", 600), true},    // 600 "é": 1,200 bytes of UTF-8
      {1252, Repeat("\xC3\xA9", 1023), true},
      {1252, Repeat("\xC3\xA9", 1024), false},
      {1252, Repeat("\xE2\x86\x92", 1023), true},  // "→" is outside: one "?" each
      {1251, Repeat("\xD0\x96", 1023), true},    // "Ж"
      {932, Repeat("\xE6\x97\xA5", 511), true},  // "日" takes two bytes there
      {932, Repeat("\xE6\x97\xA5", 512), false},
  };
  for (const auto& c : cases) {
    MemoryRegistry store;
    const RegUtil reg(store, c.codePage);
    reg.RegSetString(Hive::CurrentUser, kKey, "Folder", c.text);
    const std::string read = reg.RegGetString(Hive::CurrentUser, kKey, "Folder");
    EXPECT_EQ(read.size(), c.fits ? c.text.size() : 0u)
        << c.codePage << ", " << c.text.size() << " bytes of UTF-8";
    EXPECT_TRUE(read.empty() || read == c.text);
  }
}

TEST_F(RegUtilTest, DataWithoutTerminatingNulStillReads) {
  store.SetValue(Hive::CurrentUser, kKey, "Raw", RegValue{regtype::kSz, {'a', 'b'}});
  store.SetValue(Hive::CurrentUser, kKey, "Embedded", RegValue{regtype::kSz, {'a', 0, 'b', 0}});
  EXPECT_EQ(reg.RegGetString(Hive::CurrentUser, kKey, "Raw"), "ab");
  EXPECT_EQ(reg.RegGetString(Hive::CurrentUser, kKey, "Embedded"), "a");
}

struct BoolCase {
  const char* stored;
  bool defaultValue;
  bool expected;
};

class RegGetBoolTest : public RegUtilTest, public ::testing::WithParamInterface<BoolCase> {};

TEST_P(RegGetBoolTest, ReadsLeniently) {
  const auto& c = GetParam();
  reg.RegSetString(Hive::CurrentUser, kKey, "Flag", c.stored);
  EXPECT_EQ(reg.RegGetBool(Hive::CurrentUser, kKey, "Flag", c.defaultValue), c.expected)
      << "stored \"" << c.stored << "\"";
}

INSTANTIATE_TEST_SUITE_P(Texts, RegGetBoolTest,
                         ::testing::Values(BoolCase{"True", false, true},
                                           BoolCase{"  TRUE  ", false, true},
                                           BoolCase{"false", true, false},
                                           BoolCase{" False", true, false},
                                           BoolCase{"1", false, true},
                                           BoolCase{"-1", false, true},
                                           BoolCase{"2", false, true},
                                           BoolCase{"0", true, false},
                                           BoolCase{"0.0", true, false},
                                           BoolCase{"0.5", false, true},
                                           BoolCase{"1.2.3", false, false},
                                           BoolCase{"1e3", false, true},
                                           BoolCase{"&H10", false, true},
                                           BoolCase{"&h0", true, false},
                                           BoolCase{"1e999", false, false},
                                           BoolCase{"1e999", true, true},
                                           BoolCase{"yes", true, true},
                                           BoolCase{"no", true, true},
                                           BoolCase{"maybe", false, false},
                                           BoolCase{"inf", false, false},
                                           BoolCase{"", true, true},
                                           BoolCase{"", false, false},
                                           BoolCase{"1 2", false, false},
                                           BoolCase{"\tTrue", false, false}));

TEST_F(RegUtilTest, MissingKeyGivesTheBoolDefault) {
  EXPECT_TRUE(reg.RegGetBool(Hive::CurrentUser, "Software\\None", "Flag", true));
  EXPECT_FALSE(reg.RegGetBool(Hive::CurrentUser, "Software\\None", "Flag", false));
}

TEST_F(RegUtilTest, KeyDefaultValue) {
  store.SetValue(Hive::ClassesRoot, "CLSID\\{X}\\InprocServer32", "",
                 RegValue::String("C:\\Plug\\UniversalAudio.dll"));
  EXPECT_EQ(reg.RegGetKeyDefault(Hive::ClassesRoot, "CLSID\\{X}\\InprocServer32"),
            "C:\\Plug\\UniversalAudio.dll");
  EXPECT_EQ(reg.RegGetKeyDefault(Hive::ClassesRoot, "CLSID\\{Y}"), "");
}

TEST_F(RegUtilTest, FailedWriteLeavesStoreAsItWasAndReportsNothing) {
  reg.RegSetString(Hive::CurrentUser, kKey, "Name", "old");
  store.SetReadOnly(true);
  reg.RegSetString(Hive::CurrentUser, kKey, "Name", "new");
  EXPECT_EQ(reg.RegGetString(Hive::CurrentUser, kKey, "Name"), "old");
}

// A store that fails in every way: RegUtil must turn each failure into its
// neutral answer instead of passing it on.
class ThrowingRegistry final : public RegistryBackend {
 public:
  bool KeyExists(Hive, std::string_view) override { throw std::runtime_error("broken"); }
  std::optional<RegValue> QueryValue(Hive, std::string_view, std::string_view) override {
    throw std::runtime_error("broken");
  }
  bool SetValue(Hive, std::string_view, std::string_view, const RegValue&) override {
    throw std::runtime_error("broken");
  }
};

TEST(RegUtilFailures, NoStoreFailureReachesTheCaller) {
  ThrowingRegistry store;
  RegUtil reg(store);
  EXPECT_FALSE(reg.RegKeyExists(Hive::CurrentUser, kKey));
  EXPECT_EQ(reg.RegGetString(Hive::CurrentUser, kKey, "A"), "");
  EXPECT_TRUE(reg.RegGetBool(Hive::CurrentUser, kKey, "A", true));
  EXPECT_EQ(reg.RegGetKeyDefault(Hive::CurrentUser, kKey), "");
  EXPECT_NO_THROW(reg.RegSetString(Hive::CurrentUser, kKey, "A", "x"));
}

}  // namespace
}  // namespace quorvella
