// SPDX-License-Identifier: MIT
#include "settings/windows/WindowsRegistry.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace quorvella {
namespace {

class WindowsRegistryTest : public ::testing::Test {
 protected:
  // A key of this test's own, removed afterwards with everything below it.
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, root.c_str()); }

  std::string root = "Software\\QuorvellaTest-" + std::to_string(GetCurrentProcessId());
  WindowsRegistry registry;
};

TEST_F(WindowsRegistryTest, ValuesRoundTripThroughTheAnsiFunctions) {
  const std::string key = root + "\\Options\\Nested";
  EXPECT_FALSE(registry.KeyExists(Hive::CurrentUser, root));
  EXPECT_EQ(registry.QueryValue(Hive::CurrentUser, key, "v0"), std::nullopt);
  const std::string longText = "Caf\xC3\xA9 " + std::string(600, 'x');  // "Café xxx..."
  const RegValue values[] = {
      RegValue::String(longText), RegValue::String("%USERPROFILE%\\Music", regtype::kExpandSz),
      RegValue::Dword(0x12345678), {regtype::kMultiSz, {'a', 0, 'b', 'c', 0, 0}},
      {regtype::kBinary, {0, 1, 2, 255}}, RegValue::String("")};
  int n = 0;
  for (const auto& value : values) {
    const std::string name = "v" + std::to_string(n++);
    ASSERT_TRUE(registry.SetValue(Hive::CurrentUser, key, name, value)) << name;
    EXPECT_EQ(registry.QueryValue(Hive::CurrentUser, key, name), value) << name;
  }
  // Keys and value names ignore letter case, as the registry does; the keys
  // above are made, without values.
  EXPECT_EQ(registry.QueryValue(Hive::CurrentUser, root + "\\OPTIONS\\nested", "V2"), values[2]);
  EXPECT_TRUE(registry.KeyExists(Hive::CurrentUser, root + "\\Options"));
  EXPECT_EQ(registry.QueryValue(Hive::CurrentUser, root + "\\Options", "v0"), std::nullopt);
  EXPECT_EQ(registry.QueryValue(Hive::CurrentUser, key, "missing"), std::nullopt);
  // The string is stored in the ANSI code page.
  ASSERT_TRUE(registry.SetValue(Hive::CurrentUser, root, "Name", RegValue::String("Caf\xC3\xA9")));
  char bytes[16] = {};
  DWORD size = sizeof bytes;
  ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, root.c_str(), "Name", RRF_RT_REG_SZ, nullptr, bytes, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::string(bytes), "Caf\xE9");  // Windows-1252, Wine's default
}

}  // namespace
}  // namespace quorvella
