// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>

#include "settings/RegSamples.h"
#include "settings/RegFile.h"
#include "platform/TextEncoding.h"
#include "support/FileBytes.h"

namespace quorvella {
namespace {

using namespace std::string_literals;
using test::Raw;

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";

using testing::ReadBytes;

RegDocument Parse(std::string_view bytes) {
  auto result = ParseRegFile(bytes);
  EXPECT_FALSE(result.error) << result.error->Text();
  return std::move(result.document);
}

// --- writing ---

TEST(RegFileWrite, EveryKindOfValueSurvivesARoundTrip) {
  RegTree tree;
  for (const auto& [name, value] : test::EveryKindOfValue()) {
    tree.SetValue(Hive::CurrentUser, "Software\\Test", name, value);
  }
  tree.SetValue(Hive::LocalMachine, "", "On the hive itself", RegValue::String("x"));
  tree.CreateKey(Hive::ClassesRoot, ".m3u\\Key ] with [ odd \"names\" ");
  const RegDocument parsed = Parse(SerializeRegFile(tree));
  EXPECT_EQ(parsed.tree, tree);
  EXPECT_TRUE(parsed.deletions.empty());
}

TEST(RegFileWrite, WritesUtf16WithCrlfInTheLayoutOfARegistryExport) {
  RegTree tree;
  const std::string key = "Software\\Test";
  tree.SetValue(Hive::CurrentUser, key, "Text", RegValue::String("say \"hi\" to C:\\"));
  tree.SetValue(Hive::CurrentUser, key, "Count", RegValue::Dword(42));
  tree.SetValue(Hive::CurrentUser, key, "",
                RegValue::String("d\xC3\xA9"
                                 "f"));
  tree.SetValue(Hive::CurrentUser, key, "ProgramFilesDir",
                RegValue::String("C:\\Program Files", regtype::kExpandSz));
  tree.SetValue(Hive::CurrentUser, key, "Multi", Raw(regtype::kMultiSz, "a\0b\0\0"s));
  tree.SetValue(Hive::CurrentUser, key, "Qword", Raw(regtype::kQword, "\x2A\0\0\0\0\0\0\0"s));
  tree.SetValue(Hive::CurrentUser, key, "Flags", Raw(regtype::kBinary, "\1\2"));
  tree.SetValue(Hive::CurrentUser, key, "Unterminated", Raw(regtype::kSz, "ab"));

  const std::string bytes = SerializeRegFile(tree);
  ASSERT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(
      Utf16LeToUtf8(bytes.substr(2)),
      std::string(kHeader) +
          "[HKEY_CURRENT_USER\\Software]\r\n"
          "\r\n"
          "[HKEY_CURRENT_USER\\Software\\Test]\r\n"
          "\"Text\"=\"say \\\"hi\\\" to C:\\\\\"\r\n"
          "\"Count\"=dword:0000002a\r\n"
          "@=\"d\xC3\xA9"
          "f\"\r\n"
          "\"ProgramFilesDir\"=hex(2):43,00,3a,00,5c,00,50,00,72,00,6f,00,67,00,72,00,61,00,\\\r\n"
          "  6d,00,20,00,46,00,69,00,6c,00,65,00,73,00,00,00\r\n"
          "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
          "\"Qword\"=hex(b):2a,00,00,00,00,00,00,00\r\n"
          "\"Flags\"=hex:01,02\r\n"
          "\"Unterminated\"=hex(1):61,00,62,00\r\n"
          "\r\n");
}

TEST(RegFileWrite, LongHexDataWrapsAtEightyCharactersWithTwoSpaceContinuations) {
  RegTree tree;
  tree.SetValue(Hive::CurrentUser, "K", "Blob", Raw(regtype::kBinary, std::string(200, '\x7F')));
  const std::string text = Utf16LeToUtf8(SerializeRegFile(tree).substr(2));
  std::istringstream lines(text);
  std::size_t continuations = 0;
  for (std::string line; std::getline(lines, line);) {
    ASSERT_FALSE(line.empty());
    line.pop_back();  // the CR
    EXPECT_LE(line.size(), 80u) << line;
    if (line.rfind("  7f", 0) == 0) {
      ++continuations;
      // 25 bytes to a full continuation line, as registry exports have.
      if (line.back() == '\\') {
        EXPECT_EQ(line.size(), 2u + 25 * 3 + 1);
      }
    }
  }
  // 22 bytes fit after "Blob"=hex: on the first line; 178 are left.
  EXPECT_EQ(continuations, 8u);
}

TEST(RegFileWrite, ExportOfOneKeyHoldsItAndItsSubkeysOnly) {
  RegTree tree;
  tree.SetValue(Hive::CurrentUser, "Software\\A", "x", RegValue::Dword(1));
  tree.SetValue(Hive::CurrentUser, "Software\\A\\Sub", "y", RegValue::Dword(2));
  tree.SetValue(Hive::CurrentUser, "Software\\AB", "z", RegValue::Dword(3));
  tree.SetValue(Hive::LocalMachine, "Software\\A", "w", RegValue::Dword(4));

  const auto exported = SerializeRegKey(tree, Hive::CurrentUser, "software\\a");
  ASSERT_TRUE(exported);
  RegTree expected;
  expected.SetValue(Hive::CurrentUser, "Software\\A", "x", RegValue::Dword(1));
  expected.SetValue(Hive::CurrentUser, "Software\\A\\Sub", "y", RegValue::Dword(2));
  const RegTree parsed = Parse(*exported).tree;
  // The parser creates the parent "Software" that the export leaves out.
  expected.CreateKey(Hive::CurrentUser, "Software");
  EXPECT_EQ(parsed, expected);
  EXPECT_EQ(Utf16LeToUtf8(exported->substr(2)).find("[HKEY_CURRENT_USER\\Software]"),
            std::string::npos);
  EXPECT_FALSE(SerializeRegKey(tree, Hive::CurrentUser, "Software\\Missing"));
}

// --- reading ---

RegTree ComplexExportValues() {
  RegTree tree;
  const std::string key = "Software\\regashii\\complex";
  const auto set = [&](const char* name, RegValue value) {
    tree.SetValue(Hive::CurrentUser, key, name, std::move(value));
  };
  set("binary-a", Raw(regtype::kBinary, "a"));
  set("binary-a-b", Raw(regtype::kBinary, "ab"));
  set("dword-0", RegValue::Dword(0));
  set("dword-255", RegValue::Dword(255));
  set("expand-sz", RegValue::String("", regtype::kExpandSz));
  set("expand-sz-a", RegValue::String("a", regtype::kExpandSz));
  set("multi-sz", Raw(regtype::kMultiSz, "\0"s));
  set("multi-sz-a", Raw(regtype::kMultiSz, "a\0"s));
  set("multi-sz-a-b", Raw(regtype::kMultiSz, "a\0b\0\0"s));
  set("qword-0", Raw(regtype::kQword, std::string(8, '\0')));
  set("qword-255", Raw(regtype::kQword, "\xFF\0\0\0\0\0\0\0"s));
  set("sz-a", RegValue::String("a"));
  set("sz-sp\\ec\"ial", RegValue::String("sp\\ec\"ial"));
  return tree;
}

TEST(RegFileRead, RealExportsOfBothVersionsGiveTheSameValues) {
  // Version 5.00 keeps the string types as UTF-16LE, REGEDIT4 as single
  // bytes; both must come out as the same UTF-8 values.
  for (const char* name : {"complex-regedit5.reg", "complex-regedit4.reg"}) {
    SCOPED_TRACE(name);
    const RegDocument document = Parse(ReadBytes(QUORVELLA_TEST_DATA "/reg/"s + name));
    EXPECT_EQ(document.tree, ComplexExportValues());
  }
}

TEST(RegFileRead, HandWrittenFilesInUtf8AndUtf16GiveTheExpectedValues) {
  RegTree expected;
  const std::string options = "Software\\Brenlow Software\\Quorvella";
  expected.SetValue(Hive::CurrentUser, options, "PlaylistFolder",
                    RegValue::String("D:\\Musik\\Wiedergabelisten f\xC3\xBCr TiVo"));
  expected.SetValue(Hive::CurrentUser, options, "DeleteEmptyOutput", RegValue::String("False"));
  expected.SetValue(Hive::CurrentUser, options, "EnhancedPlugInMode", RegValue::Dword(1));
  expected.SetValue(Hive::CurrentUser, options, "",
                    RegValue::String("Standard \xE2\x98\x83 \xF0\x9F\x8E\xB5"));
  const std::string tivo = "Software\\TiVo\\Desktop";
  std::string blob;
  for (char c = 0; c <= 0x1A; ++c) blob += c;
  expected.SetValue(Hive::CurrentUser, tivo, "Version", RegValue::String("2.8.3"));
  expected.SetValue(Hive::CurrentUser, tivo, "Path",
                    RegValue::String("C:\\Program Files", regtype::kExpandSz));
  expected.SetValue(Hive::CurrentUser, tivo, "Blob", Raw(regtype::kBinary, blob));
  expected.SetValue(Hive::CurrentUser, tivo, "List", Raw(regtype::kMultiSz, "a\0\xC3\xA9\0\0"s));
  expected.SetValue(Hive::CurrentUser, tivo, "Big",
                    Raw(regtype::kQword, "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x7F"));
  expected.SetValue(Hive::CurrentUser, tivo, "Nothing", Raw(regtype::kNone, ""));
  expected.SetValue(Hive::CurrentUser, tivo, "Odd", Raw(0xFFFF0011, "\1"));
  const std::string plugin = tivo + "\\Modules\\UniversalAudio.dll\\Config";
  expected.SetValue(Hive::CurrentUser, plugin, "custom", RegValue::String("flac,ape"));
  const std::vector<RegDeletion> deletions = {
      {Hive::CurrentUser, "Software\\Old", std::nullopt},
      {Hive::CurrentUser, plugin, "stale"},
  };

  for (const char* name : {"handwritten-utf8.reg", "handwritten-utf16.reg"}) {
    SCOPED_TRACE(name);
    const RegDocument document = Parse(ReadBytes(QUORVELLA_TEST_DATA "/reg/"s + name));
    EXPECT_EQ(document.tree, expected);
    EXPECT_EQ(document.deletions, deletions);
  }
}

TEST(RegFileRead, EightBitTextIsUtf8WhenValidAndWindows1252Otherwise) {
  const RegDocument document = Parse(
      "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n"
      "\"Caf\xE9\"=\"\x80 5\"\r\n"
      "\"Latin\"=hex(2):43,61,66,e9,00\r\n"
      "\"Utf8\"=hex(2):c3,a9,00\r\n"
      "\"Ok\"=\"\xC3\xA9\"\r\n");
  const auto value = [&](const char* name) {
    return document.tree.FindValue(Hive::CurrentUser, "A", name);
  };
  ASSERT_TRUE(value("Caf\xC3\xA9"));
  EXPECT_EQ(*value("Caf\xC3\xA9"), RegValue::String("\xE2\x82\xAC 5"));
  EXPECT_EQ(*value("Latin"), RegValue::String("Caf\xC3\xA9", regtype::kExpandSz));
  EXPECT_EQ(*value("Utf8"), RegValue::String("\xC3\xA9", regtype::kExpandSz));
  EXPECT_EQ(*value("Ok"), RegValue::String("\xC3\xA9"));
}

TEST(RegFileRead, HeaderAndLineEndVariantsAreAccepted) {
  const std::string body = "[HKEY_CURRENT_USER\\A]\n\"v\"=\"x\"\n";
  RegTree expected;
  expected.SetValue(Hive::CurrentUser, "A", "v", RegValue::String("x"));
  const std::vector<std::string> inputs = {
      "Windows Registry Editor Version 5.00\n\n" + body,
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00  \r\n" + body,
      "REGEDIT4\r\n" + body,
      "REGEDIT4\r\r\n[HKEY_CURRENT_USER\\A]\r\r\n\"v\"=\"x\"\r\r\n",
      "Windows Registry Editor Version 5.00\n  [hkey_current_user\\a]  \n  \"v\" = \"x\"  ; note",
      // UTF-16LE without byte order mark.
      Utf8ToUtf16Le("Windows Registry Editor Version 5.00\r\n\r\n[HKCU\\A]\r\n\"v\"=\"x\""),
  };
  for (const std::string& input : inputs) {
    SCOPED_TRACE(input);
    EXPECT_EQ(Parse(input).tree, expected);
  }
}

TEST(RegFileRead, LinesTakeEffectInOrder) {
  const RegDocument document = Parse(
      "REGEDIT4\n"
      "[HKEY_CURRENT_USER\\A]\n\"old\"=\"1\"\n\"x\"=\"1\"\n"
      "[HKEY_CURRENT_USER\\A\\Sub]\n"
      "[-HKEY_CURRENT_USER\\A]\n\"ignored\"=\"after a deleted key\"\n"
      "[HKEY_CURRENT_USER\\A]\n\"x\"=\"2\"\n\"y\"=\"3\"\n\"y\"=-\n");
  RegTree expected;
  expected.SetValue(Hive::CurrentUser, "A", "x", RegValue::String("2"));
  EXPECT_EQ(document.tree, expected);
  EXPECT_EQ(document.deletions, (std::vector<RegDeletion>{{Hive::CurrentUser, "A", std::nullopt},
                                                          {Hive::CurrentUser, "A", "y"}}));
}

struct BrokenCase {
  const char* defect;
  std::string input;
  std::string message;
};

void PrintTo(const BrokenCase& c, std::ostream* out) { *out << c.defect; }

class RegFileBroken : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(RegFileBroken, IsRejectedWithALineNumberAndAReason) {
  const auto result = ParseRegFile(GetParam().input);
  ASSERT_TRUE(result.error);
  EXPECT_EQ(result.error->Text(), GetParam().message);
}

std::string KeyPath(int depth) {
  std::string path = "k";
  for (int i = 1; i < depth; ++i) path += "\\k";
  return path;
}

const std::string kDoc = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\A]\n";
const std::string kNotRegistry =
    "line 1: not a registry file: the first line must be \"Windows Registry Editor Version "
    "5.00\" or \"REGEDIT4\"";

INSTANTIATE_TEST_SUITE_P(
    Defects, RegFileBroken,
    ::testing::Values(
        BrokenCase{"EmptyFile", "", kNotRegistry},
        BrokenCase{"UnknownVersion", "Windows Registry Editor Version 6.00\n", kNotRegistry},
        BrokenCase{"Utf16BigEndian", "\xFE\xFF\0W"s,
                   "line 1: the file is in UTF-16 big-endian, which is not supported: save it as "
                   "UTF-16LE or UTF-8"},
        BrokenCase{"ValueBeforeKey", "REGEDIT4\n\n\"a\"=\"b\"\n",
                   "line 3: a value needs a [key] line above it"},
        BrokenCase{"KeyLineNotClosed", "REGEDIT4\n[HKEY_CURRENT_USER\\A\n",
                   "line 2: expected \"]\" at the end of the key line"},
        BrokenCase{"UnknownRoot", "REGEDIT4\n[HKEY_CURENT_USER\\A]\n",
                   "line 2: unknown registry root \"HKEY_CURENT_USER\": expected "
                   "HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE or HKEY_CLASSES_ROOT"},
        BrokenCase{"WholeHiveDeleted", "REGEDIT4\n[-HKEY_CURRENT_USER\\]\n",
                   "line 2: a whole hive cannot be deleted"},
        BrokenCase{"KeyTooDeep", "REGEDIT4\n[HKEY_CURRENT_USER\\" + KeyPath(513) + "]\n",
                   "line 2: the key path is more than 512 levels deep"},
        BrokenCase{"NameQuoteEscaped", kDoc + "\"a\\\"=1\n",
                   "line 4: the value name has no closing quote"},
        BrokenCase{"NoEqualsSign", kDoc + "\"a\" \"b\"\n",
                   "line 4: expected \"=\" after the value name \"a\""},
        BrokenCase{"TextNotClosed", kDoc + "\"a\"=\"b\n",
                   "line 4: the text of \"a\" has no closing quote"},
        BrokenCase{"TrailingBackslashEscapesQuote", kDoc + "\"a\"=\"C:\\\"\n",
                   "line 4: the text of \"a\" has no closing quote"},
        BrokenCase{"TextAfterValue", kDoc + "\"a\"=\"b\" c\n",
                   "line 4: unexpected text after the value of \"a\": \"c\""},
        BrokenCase{"DwordTooLong", kDoc + "\"a\"=dword:123456789\n",
                   "line 4: the dword value of \"a\" must be 1 to 8 hex digits, as dword:0000002a"},
        BrokenCase{"DwordEmpty", kDoc + "@=dword:\n",
                   "line 4: the dword value of @ must be 1 to 8 hex digits, as dword:0000002a"},
        BrokenCase{"HexByteNotHex", kDoc + "\"a\"=hex:61,zz\n",
                   "line 4: \"zz\" is not a hex byte (00 to ff) in the value of \"a\""},
        BrokenCase{"HexByteMissing", kDoc + "\"a\"=hex:61,,62\n",
                   "line 4: a hex byte is missing in the value of \"a\""},
        BrokenCase{"HexBytesWithoutComma", kDoc + "\"a\"=hex:61 62\n",
                   "line 4: expected \",\" between the hex bytes of \"a\""},
        BrokenCase{"TextAfterContinuation", kDoc + "\"a\"=hex:61,\\\n  62,\\ x\n",
                   "line 5: unexpected text after the value of \"a\": \"x\""},
        BrokenCase{"BadByteOnContinuationLine", kDoc + "\"a\"=hex:61,\\\n  62,qq\n",
                   "line 5: \"qq\" is not a hex byte (00 to ff) in the value of \"a\""},
        BrokenCase{
            "HexTypeNotHex", kDoc + "\"a\"=hex(x):61\n",
            "line 4: the type of \"a\" must be hex(N): with N of 1 to 8 hex digits, as hex(2):"},
        BrokenCase{"UnknownValueKind", kDoc + "\"a\"=str:\"x\"\n",
                   "line 4: the value of \"a\" is not understood: expected \"text\", dword:, hex:, "
                   "hex(N): or -"},
        BrokenCase{"UnquotedName", kDoc + "a=b\n",
                   "line 4: expected \"name\"=value, @=value or [key]"}),
    [](const auto& info) { return std::string(info.param.defect); });

}  // namespace
}  // namespace quorvella
