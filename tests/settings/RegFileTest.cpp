// SPDX-License-Identifier: MIT
#include "settings/RegFile.h"

#include <gtest/gtest.h>

#include "platform/TextEncoding.h"
#include "settings/RegSamples.h"
#include "support/FileBytes.h"

namespace quorvella {
namespace {

using namespace std::string_literals;
using test::Raw;
using test::Tree;
const auto Dword = RegValue::Dword;
RegValue String(std::string_view text, std::uint32_t type = regtype::kSz) {
  return RegValue::String(text, type);
}

RegDocument Parse(std::string_view bytes) {
  auto result = ParseRegFile(bytes);
  EXPECT_FALSE(result.error) << result.error->Text();
  return std::move(result.document);
}

RegDocument ParseSample(const std::string& name) {
  return Parse(testing::ReadBytes(QUORVELLA_TEST_DATA "/reg/" + name));
}

// --- writing ---

TEST(RegFileWrite, WritesUtf16WithCrlfInTheLayoutOfARegistryExport) {
  const std::string k = "Software\\Test";
  const RegTree tree = Tree({{k, "Text", String("say \"hi\" to C:\\")}, {k, "Count", Dword(42)},
                             {k, "", String("d\xC3\xA9" "f")},
                             {k, "ProgramFilesDir", String("C:\\Program Files", regtype::kExpandSz)},
                             {k, "Multi", Raw(regtype::kMultiSz, "a\0b\0\0"s)},
                             {k, "Qword", Raw(regtype::kQword, "\x2A\0\0\0\0\0\0\0"s)},
                             {k, "Flags", Raw(regtype::kBinary, "\1\2")},
                             {k, "Unterminated", Raw(regtype::kSz, "ab")},
                             {k, "Blob", Raw(regtype::kBinary, std::string(200, '\x7F'))}});
  // Lines stay within 80 characters: 22 bytes fit after "Blob"=hex:, 25 on
  // each continuation line, as registry exports wrap them.
  std::string blob = "\"Blob\"=hex:";
  for (int i = 1; i < 200; ++i) blob += (i - 22) % 25 ? "7f," : "7f,\\\r\n  ";
  blob += "7f\r\n";

  const std::string bytes = SerializeRegFile(tree);
  ASSERT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(Utf16LeToUtf8(bytes.substr(2)),
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_CURRENT_USER\\Software]\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\Test]\r\n"
            "\"Text\"=\"say \\\"hi\\\" to C:\\\\\"\r\n"
            "\"Count\"=dword:0000002a\r\n"
            "@=\"d\xC3\xA9" "f\"\r\n"
            "\"ProgramFilesDir\"=hex(2):43,00,3a,00,5c,00,50,00,72,00,6f,00,67,00,72,00,61,00,\\\r\n"
            "  6d,00,20,00,46,00,69,00,6c,00,65,00,73,00,00,00\r\n"
            "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
            "\"Qword\"=hex(b):2a,00,00,00,00,00,00,00\r\n"
            "\"Flags\"=hex:01,02\r\n"
            "\"Unterminated\"=hex(1):61,00,62,00\r\n" + blob + "\r\n");
}

TEST(RegFileWrite, ExportOfOneKeyHoldsItAndItsSubkeysOnly) {
  const RegTree expected = Tree({{"Software\\A", "x", Dword(1)}, {"Software\\A\\Sub", "y", Dword(2)}});
  RegTree tree = expected;
  tree.SetValue(Hive::CurrentUser, "Software\\AB", "z", Dword(3));
  tree.SetValue(Hive::LocalMachine, "Software\\A", "w", Dword(4));

  const auto exported = SerializeRegKey(tree, Hive::CurrentUser, "software\\a");
  ASSERT_TRUE(exported);
  EXPECT_EQ(Parse(*exported).tree, expected);  // the parser makes the parent it leaves out
  EXPECT_EQ(Utf16LeToUtf8(*exported).find("[HKEY_CURRENT_USER\\Software]"), std::string::npos);
  EXPECT_FALSE(SerializeRegKey(tree, Hive::CurrentUser, "Software\\Missing"));
}

// --- reading ---

TEST(RegFileRead, RealExportsOfBothVersionsGiveTheValuesTheirRegistryHeld) {
  // Written out again as one key, the version 5.00 export gives its own
  // bytes back. REGEDIT4 keeps the string types as single bytes, which must
  // come out as the same UTF-8 values.
  const std::string five = testing::ReadBytes(QUORVELLA_TEST_DATA "/reg/complex-regedit5.reg");
  const RegTree tree = Parse(five).tree;
  EXPECT_EQ(SerializeRegKey(tree, Hive::CurrentUser, "Software\\regashii\\complex"), five);
  EXPECT_EQ(ParseSample("complex-regedit4.reg").tree, tree);
}

TEST(RegFileRead, HandWrittenFilesInUtf8AndUtf16GiveTheExpectedValues) {
  const std::string options = "Software\\Brenlow Software\\Quorvella";
  const std::string tivo = "Software\\TiVo\\Desktop";
  const std::string plugin = tivo + "\\Modules\\UniversalAudio.dll\\Config";
  std::string blob;
  for (char c = 0; c <= 0x1A; ++c) blob += c;
  const RegTree expected = Tree({
      {options, "PlaylistFolder", String("D:\\Musik\\Wiedergabelisten f\xC3\xBCr TiVo")},
      {options, "DeleteEmptyOutput", String("False")}, {options, "EnhancedPlugInMode", Dword(1)},
      {options, "", String("Standard \xE2\x98\x83 \xF0\x9F\x8E\xB5")},
      {tivo, "Version", String("2.8.3")},
      {tivo, "Path", String("C:\\Program Files", regtype::kExpandSz)},
      {tivo, "Blob", Raw(regtype::kBinary, blob)},
      {tivo, "List", Raw(regtype::kMultiSz, "a\0\xC3\xA9\0\0"s)},
      {tivo, "Big", Raw(regtype::kQword, "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x7F")},
      {tivo, "Nothing", Raw(regtype::kNone, "")}, {tivo, "Odd", Raw(0xFFFF0011, "\1")},
      {plugin, "custom", String("flac,ape")}});
  const std::vector<RegDeletion> deletions = {{Hive::CurrentUser, "Software\\Old", std::nullopt},
                                              {Hive::CurrentUser, plugin, "stale"}};
  for (const char* name : {"handwritten-utf8.reg", "handwritten-utf16.reg"}) {
    SCOPED_TRACE(name);
    const RegDocument document = ParseSample(name);
    EXPECT_EQ(document.tree, expected);
    EXPECT_EQ(document.deletions, deletions);
  }
}

TEST(RegFileRead, HeaderLineEndAndEncodingVariantsAreAccepted) {
  const std::string body = "[HKEY_CURRENT_USER\\A]\n\"v\"=\"x\"\n";
  const RegTree x = Tree({{"A", "v", String("x")}});
  const std::pair<std::string, RegTree> cases[] = {
      {"Windows Registry Editor Version 5.00\n\n" + body, x},
      {"\xEF\xBB\xBFWindows Registry Editor Version 5.00  \r\n" + body, x},
      {"REGEDIT4\r\n" + body, x},
      {"REGEDIT4\r\r\n[HKEY_CURRENT_USER\\A]\r\r\n\"v\"=\"x\"\r\r\n", x},
      {"Windows Registry Editor Version 5.00\n  [hkey_current_user\\a]  \n  \"v\" = \"x\"  ; note", x},
      // UTF-16LE without byte order mark.
      {Utf8ToUtf16Le("Windows Registry Editor Version 5.00\r\n\r\n[HKCU\\A]\r\n\"v\"=\"x\""), x},
      // Eight-bit text is UTF-8 where valid and Windows-1252 otherwise.
      {"REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"Caf\xE9\"=\"\x80 5\"\r\n"
       "\"Latin\"=hex(2):43,61,66,e9,00\r\n\"Utf8\"=hex(2):c3,a9,00\r\n\"Ok\"=\"\xC3\xA9\"\r\n",
       Tree({{"A", "Caf\xC3\xA9", String("\xE2\x82\xAC 5")},
             {"A", "Latin", String("Caf\xC3\xA9", regtype::kExpandSz)},
             {"A", "Utf8", String("\xC3\xA9", regtype::kExpandSz)}, {"A", "Ok", String("\xC3\xA9")}})},
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(Parse(input).tree, expected) << input;
}

TEST(RegFileRead, LinesTakeEffectInOrder) {
  const RegDocument document = Parse(
      "REGEDIT4\n"
      "[HKEY_CURRENT_USER\\A]\n\"old\"=\"1\"\n\"x\"=\"1\"\n"
      "[HKEY_CURRENT_USER\\A\\Sub]\n"
      "[-HKEY_CURRENT_USER\\A]\n\"ignored\"=\"after a deleted key\"\n"
      "[HKEY_CURRENT_USER\\A]\n\"x\"=\"2\"\n\"y\"=\"3\"\n\"y\"=-\n");
  EXPECT_EQ(document.tree, Tree({{"A", "x", String("2")}}));
  EXPECT_EQ(document.deletions, (std::vector<RegDeletion>{{Hive::CurrentUser, "A", std::nullopt},
                                                          {Hive::CurrentUser, "A", "y"}}));
}

TEST(RegFileRead, BrokenFilesAreRejectedWithALineNumberAndAReason) {
  const auto expectRejected = [](const std::string& input, const std::string& message) {
    const auto result = ParseRegFile(input);
    ASSERT_TRUE(result.error) << input;
    EXPECT_EQ(result.error->Text(), message) << input;
  };
  const std::string notRegistry =
      "line 1: not a registry file: the first line must be \"Windows Registry Editor Version "
      "5.00\" or \"REGEDIT4\"";
  expectRejected("", notRegistry);
  expectRejected("Windows Registry Editor Version 6.00\n", notRegistry);
  expectRejected("\xFE\xFF\0W"s, "line 1: the file is in UTF-16 big-endian, which is not "
                                 "supported: save it as UTF-16LE or UTF-8");
  std::string deep = "k";
  for (int i = 1; i < 513; ++i) deep += "\\k";
  const std::pair<std::string, const char*> keyLines[] = {
      {"\"a\"=\"b\"", "a value needs a [key] line above it"},
      {"[HKEY_CURRENT_USER\\A", "expected \"]\" at the end of the key line"},
      {"[HKEY_CURENT_USER\\A]", "unknown registry root \"HKEY_CURENT_USER\": expected "
                                "HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or HKEY_CLASSES_ROOT"},
      {"[-HKEY_CURRENT_USER\\]", "a whole hive cannot be deleted"},
      {"[HKEY_CURRENT_USER\\" + deep + "]", "the key path is more than 512 levels deep"},
  };
  for (const auto& [line, message] : keyLines) {
    expectRejected("REGEDIT4\n" + line + "\n", "line 2: " + std::string(message));
  }
  // Below a key line, as line 4 (and 5 where a value runs on).
  const std::pair<const char*, const char*> valueLines[] = {
      {"\"a\\\"=1", "4: the value name has no closing quote"},
      {"\"a\" \"b\"", "4: expected \"=\" after the value name \"a\""},
      {"\"a\"=\"b", "4: the text of \"a\" has no closing quote"},
      {"\"a\"=\"C:\\\"", "4: the text of \"a\" has no closing quote"},  // the backslash escapes
      {"\"a\"=\"b\" c", "4: unexpected text after the value of \"a\": \"c\""},
      {"\"a\"=dword:123456789",
       "4: the dword value of \"a\" must be 1 to 8 hex digits, as dword:0000002a"},
      {"@=dword:", "4: the dword value of @ must be 1 to 8 hex digits, as dword:0000002a"},
      {"\"a\"=hex:61,zz", "4: \"zz\" is not a hex byte (00 to ff) in the value of \"a\""},
      {"\"a\"=hex:61,,62", "4: a hex byte is missing in the value of \"a\""},
      {"\"a\"=hex:61 62", "4: expected \",\" between the hex bytes of \"a\""},
      {"\"a\"=hex:61,\\\n  62,\\ x", "5: unexpected text after the value of \"a\": \"x\""},
      {"\"a\"=hex:61,\\\n  62,qq", "5: \"qq\" is not a hex byte (00 to ff) in the value of \"a\""},
      {"\"a\"=hex(x):61",
       "4: the type of \"a\" must be hex(N): with N of 1 to 8 hex digits, as hex(2):"},
      {"\"a\"=str:\"x\"",
       "4: the value of \"a\" is not understood: expected \"text\", dword:, hex:, hex(N): or -"},
      {"a=b", "4: expected \"name\"=value, @=value or [key]"},
  };
  for (const auto& [line, message] : valueLines) {
    expectRejected("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\A]\n" +
                       std::string(line) + "\n", "line " + std::string(message));
  }
}

}  // namespace
}  // namespace quorvella
