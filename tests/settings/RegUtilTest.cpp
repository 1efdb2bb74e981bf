// SPDX-License-Identifier: MIT
#include "settings/RegUtil.h"

#include <gtest/gtest.h>

#include "settings/MemoryRegistry.h"

namespace quorvella {
namespace {

constexpr std::string_view kKey = "Software\\Test";

class RegUtilTest : public ::testing::Test {
 protected:
  std::string Get(std::string_view name) const { return reg.RegGetString(Hive::CurrentUser, kKey, name); }
  MemoryRegistry store;
  RegUtil reg{store};
};

// Letter case, hives and failed writes are the store's: RegUtil passes them on.
TEST_F(RegUtilTest, StringsReadBackAndNothingElseReadsAsText) {
  reg.RegSetString(Hive::CurrentUser, kKey, "Name", "D:\\Lists");
  store.SetValue(Hive::CurrentUser, kKey, "Dword", RegValue::Dword(1));
  store.SetValue(Hive::CurrentUser, kKey, "Expand", RegValue::String("x", regtype::kExpandSz));
  store.SetValue(Hive::CurrentUser, kKey, "Empty", RegValue{regtype::kSz, {}});
  store.SetValue(Hive::CurrentUser, kKey, "Raw", RegValue{regtype::kSz, {'a', 'b'}});
  store.SetValue(Hive::CurrentUser, kKey, "Embedded", RegValue{regtype::kSz, {'a', 0, 'b', 0}});
  const std::vector<std::string> read = {Get("Name"), Get("Dword"), Get("Expand"), Get("Empty"),
                                         Get("Raw"),  Get("Embedded"), Get("Missing")};
  EXPECT_EQ(read, (std::vector<std::string>{"D:\\Lists", "", "", "", "ab", "a", ""}));
  store.SetValue(Hive::ClassesRoot, "CLSID\\{X}\\Server", "", RegValue::String("C:\\U.dll"));
  EXPECT_EQ(reg.RegGetKeyDefault(Hive::ClassesRoot, "CLSID\\{X}\\Server"), "C:\\U.dll");
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
  const struct { int codePage; std::string text; bool fits; } cases[] = {
      {1252, std::string(1023, 'a'), true},   {1252, std::string(1024, 'a'), false},
      {1252, Repeat("\xC3\xA9", 1023), true}, {1252, Repeat("\xC3\xA9", 1024), false},
      {1252, Repeat("\xE2\x86\x92", 1023), true},  // "→" is outside: one "?" each
      {1251, Repeat("\xD0\x96", 1023), true},      // "Ж"
      {932, Repeat("\xE6\x97\xA5", 511), true},    // "日" takes two bytes there
      {932, Repeat("\xE6\x97\xA5", 512), false},
  };
  for (const auto& c : cases) {
    MemoryRegistry store;
    const RegUtil reg(store, c.codePage);
    reg.RegSetString(Hive::CurrentUser, kKey, "Folder", c.text);
    EXPECT_EQ(reg.RegGetString(Hive::CurrentUser, kKey, "Folder"), c.fits ? c.text : "")
        << c.codePage << ", " << c.text.size() << " bytes of UTF-8";
  }
}

TEST_F(RegUtilTest, FlagsReadLeniently) {
  const struct { const char* stored; bool defaultValue; bool expected; } cases[] = {
      {"True", false, true}, {"  TRUE  ", false, true}, {"false", true, false},
      {" False", true, false}, {"1", false, true},      {"-1", false, true},
      {"2", false, true},    {"0", true, false},        {"0.0", true, false},
      {"0.5", false, true},  {"1.2.3", false, false},   {"1e3", false, true},
      {"&H10", false, true}, {"&h0", true, false},      {"1e999", false, false},
      {"1e999", true, true}, {"yes", true, true},       {"no", true, true},
      {"maybe", false, false}, {"inf", false, false},   {"", true, true},
      {"", false, false},    {"1 2", false, false},     {"\tTrue", false, false},
  };
  for (const auto& c : cases) {
    reg.RegSetString(Hive::CurrentUser, kKey, "Flag", c.stored);
    EXPECT_EQ(reg.RegGetBool(Hive::CurrentUser, kKey, "Flag", c.defaultValue), c.expected)
        << "stored \"" << c.stored << "\", default " << c.defaultValue;
  }
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
