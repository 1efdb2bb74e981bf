// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "LnkBuilder.h"
#include "support/FileBytes.h"
#include "tivo/ShellLink.h"

namespace quorvella {
namespace {

using namespace quorvella::test;

Bytes ReadFixture(const std::string& name) {
  const std::string bytes = testing::ReadBytes(QUORVELLA_TEST_DATA "/lnk/" + name);
  return Bytes(bytes.begin(), bytes.end());
}

// Every shorter copy is exactly sized, so the sanitizer sees a read past its end.
template <typename Check>
void ForEveryTruncation(const Bytes& bytes, Check check) {
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    check(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length)), length);
  }
}

TEST(ShellLinkTest, RealShortcutsGiveTheTargetTheShellReports) {
  const struct { const char* file; const char* target; const char* idListPath; } cases[] = {
      {"folder-base-and-suffix.lnk", "C:\\Users\\Asus-PC\\Downloads", ""},
      {"folder-environment-block.lnk", "C:\\Users\\Jonathan\\AppData\\Roaming\\.minecraft", ""},
      {"folder-windows7.lnk", "C:\\Users\\Administrator", "C:\\Users\\Administrator"},
  };
  for (const auto& c : cases) {
    const Bytes bytes = ReadFixture(c.file);
    const auto link = ReadShellLink(bytes);
    ASSERT_TRUE(link) << c.file;
    EXPECT_EQ(ShellLinkTarget(*link), c.target) << c.file;
    EXPECT_EQ(link->idListPath, c.idListPath) << c.file;
    ForEveryTruncation(bytes, [&](const Bytes& prefix, std::size_t length) {
      const std::string target = ReadShellLinkTarget(prefix);
      EXPECT_TRUE(target.empty() || target == c.target) << c.file << ", length " << length;
    });
  }
  const auto env = ReadShellLink(ReadFixture("folder-environment-block.lnk"));
  EXPECT_EQ(env->environmentTarget, "C:\\Users\\%USERNAME%\\AppData\\Roaming\\.minecraft");
  // Files that are no shortcuts, or none at all, give no target.
  for (const std::string name : {"SOURCE.md", "missing.lnk", ""}) {
    EXPECT_EQ(ReadShellLinkFileTarget(QUORVELLA_TEST_DATA "/lnk/" + name), "") << name;
  }
}

TEST(ShellLinkTest, BuiltShortcutsGiveTheirTargetsAndNothingWhenTruncated) {
  const Bytes idList = IdList({MyComputerItem(), DriveItem("D:\\"),
                               FolderItem(u"MUSICA~1", u"M\u00FAsica"), FolderItem(u"ROCK", {})});
  const char* idListTarget = "D:\\M\xC3\xBAsica\\ROCK";
  const struct { const char* what; Bytes file; const char* target; } cases[] = {
      {"drive root", Lnk(kLinkInfo, {LocalInfo("D:\\")}), "D:\\"},
      {"base and suffix", Lnk(kLinkInfo, {LocalInfo("D:\\Music", "Rock")}), "D:\\Music\\Rock"},
      {"Windows-1252 names", Lnk(kLinkInfo, {LocalInfo("D:\\M\xFAsica \x80")}),
       "D:\\M\xC3\xBAsica \xE2\x82\xAC"},
      {"Unicode forms win",
       Lnk(kLinkInfo, {LinkInfo({.base = "D:\\M?sica", .suffix = "?",
                                 .baseUnicode = u"D:\\M\u00FAsica", .suffixUnicode = u"\u65E5\u672C"})}),
       "D:\\M\xC3\xBAsica\\\xE6\x97\xA5\xE6\x9C\xAC"},
      {"share", Lnk(kLinkInfo, {LinkInfo({.suffix = "Rock", .netName = "\\\\nas\\music"})}),
       "\\\\nas\\music\\Rock"},
      {"Unicode share before its drive letter",
       Lnk(kLinkInfo, {LinkInfo({.suffix = "Rock", .netName = "\\\\nas\\music", .device = "Z:",
                                 .netNameUnicode = u"\\\\nas\\m\u00FAsica"})}),
       "\\\\nas\\m\xC3\xBAsica\\Rock"},
      {"drive letter without a share name",
       Lnk(kLinkInfo, {LinkInfo({.suffix = "Rock", .netName = "", .device = "Z:"})}), "Z:\\Rock"},
      {"Unicode drive letter",
       Lnk(kLinkInfo, {LinkInfo({.suffix = "Rock", .netName = "", .device = "Y:", .deviceUnicode = u"Z:"})}),
       "Z:\\Rock"},
      {"local path before the share",
       Lnk(kLinkInfo, {LinkInfo({.base = "C:\\Local", .suffix = "Rock", .netName = "\\\\nas"})}),
       "C:\\Local\\Rock"},
      {"only an ID list", Lnk(kIdList, {idList}), idListTarget},
      // The long name's block starts at the first even offset after the
      // primary name; another block after it hides the item's closing offset.
      {"ID list with older extension blocks and a Unicode item",
       Lnk(kIdList, {IdList({MyComputerItem(), DriveItem("E:"), FolderItem(u"LONG~1", u"Long", 3, false, true),
                             FolderItem(u"OLDER~1", u"Older", 7, false, true),
                             FolderItem(u"\u65E5", u"Nihon", 9, true, true)})}),
       "E:\\Long\\Older\\Nihon"},
      {"ID list item whose long name only its closing offset finds",
       Lnk(kIdList, {IdList({MyComputerItem(), DriveItem("E:"), FolderItem(u"DATA~1", u"Data", 9, false, false, 4)})}),
       "E:\\Data"},
      {"ID list not from My Computer", Lnk(kIdList, {IdList({DriveItem("D:\\")})}), ""},
      {"environment block before the ID list",
       Lnk(kIdList, {idList, OtherBlock(), EnvironmentBlock("%A%", u"%B%\\M\u00FAsica")}),
       "%B%\\M\xC3\xBAsica"},
      {"environment block, single-byte only", Lnk(0, {EnvironmentBlock("%A%\\\xFA", u"")}),
       "%A%\\\xC3\xBA"},
      {"LinkInfo set aside",
       Lnk(kIdList | kLinkInfo | kForceNoLinkInfo, {idList, LocalInfo("C:\\")}), idListTarget},
      {"single-byte string data",
       Lnk(kName | kRelativePath | kWorkingDir,
           {Counted(u"Caf\u00E9", false), Counted(u"..\\x", false), Counted(u"D:\\", false),
            EnvironmentBlock("D:\\Music", u"")}),
       "D:\\Music"},
      {"Unicode string data",
       Lnk(kName | kWorkingDir | kUnicode,
           {Counted(u"\u65E5", true), Counted(u"D:\\", true), EnvironmentBlock("", u"D:\\Music")}),
       "D:\\Music"},
      {"no target", Lnk(kName | kUnicode, {Counted(u"x", true)}), ""},
  };
  for (const auto& c : cases) {
    const auto link = ReadShellLink(c.file);
    ASSERT_TRUE(link) << c.what;
    EXPECT_EQ(ShellLinkTarget(*link), c.target) << c.what;
    ForEveryTruncation(c.file, [&](const Bytes& prefix, std::size_t length) {
      EXPECT_FALSE(ReadShellLink(prefix)) << c.what << ", length " << length;
    });
  }
}

// One size or offset broken in a good file reads as nothing, not as a wrong
// or partial target.
TEST(ShellLinkTest, BrokenSizesAndOffsetsReadNothing) {
  const Bytes info = LinkInfo({.base = "D:\\Music", .netName = "\\\\nas\\music"});
  const Bytes good = Lnk(kIdList | kLinkInfo | kName,
                         {IdList({MyComputerItem()}), info, Counted(u"x", false), OtherBlock()});
  ASSERT_EQ(ReadShellLinkTarget(good), "D:\\Music");
  const std::size_t linkInfo = 0x4C + 2 + 20 + 2;
  const std::size_t network = linkInfo + info[20];
  const std::size_t end = linkInfo + info.size();
  const struct { const char* what; std::size_t at; std::uint8_t value; } breaks[] = {
      {"header size", 0, 0x4D}, {"ID list without its terminal ID", 0x4C, 20},
      {"LinkInfo past the end", linkInfo + 3, 0x7F},
      {"header larger than the LinkInfo", linkInfo + 4, 0xFF},
      {"local base path past the LinkInfo", linkInfo + 16, 0xFF},
      {"suffix without its NUL", end - 1, 'x'}, {"string past the end", end, 0xFF},
      {"network link smaller than its fields", network, 0x10},
      {"extra block too small for its signature", good.size() - 20, 6},
  };
  for (const auto& b : breaks) {
    Bytes bad = good;
    bad[b.at] = b.value;
    EXPECT_FALSE(ReadShellLink(bad)) << b.what;
  }
}

}  // namespace
}  // namespace quorvella
