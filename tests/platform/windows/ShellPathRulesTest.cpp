// SPDX-License-Identifier: MIT
// The project's own path rules beside the shell's functions they stand for,
// on the rows of the path table and on every byte: where the two differ is
// listed here, so that a change on either side shows.
#include "platform/PathRules.h"

#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which it needs.
#include <shlwapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/RelativePathCases.h"

namespace quorvella {
namespace {

std::string ShellRelativePath(const std::string& folder, const std::string& file) {
  char out[MAX_PATH] = {};
  return PathRelativePathToA(out, folder.c_str(), FILE_ATTRIBUTE_DIRECTORY, file.c_str(),
                             FILE_ATTRIBUTE_NORMAL) ? out : "";
}

TEST(ShellPathRules, RelativePathsDifferOnlyWhereTheRuleDefinesThemOtherwise) {
  // The ASCII rows of the Windows form, which the ANSI code page holds.
  std::vector<std::string> differ;
  int compared = 0;
  for (const auto& row : test::RelativePathCases()) {
    const std::string both = row.folder + row.file;
    if (both.find('/') != std::string::npos ||
        std::any_of(both.begin(), both.end(), [](char c) { return (c & 0x80) != 0; })) continue;
    ++compared;
    const std::string ours = RelativePathTo(row.folder, row.file);
    const std::string shell = ShellRelativePath(row.folder, row.file);
    if (ours != shell) differ.push_back(row.folder + " -> " + row.file + ": " + ours + " | " + shell);
  }
  EXPECT_EQ(compared, 21);
  // Where Wine's function and the rule part (ours first):
  const std::vector<std::string> expected = {
      // A folder given with its closing backslash is the same folder to the
      // rule; Wine's function reads it as a root-relative path.
      "D:\\Lists\\ -> D:\\Lists\\a.mp3: .\\a.mp3 | \\a.mp3",
      // A doubled separator after the drive holds an empty component, which
      // the rule counts like any other.
      "D:\\\\ -> D:\\a.mp3: ..\\a.mp3 | \\a.mp3",
      // The share belongs to a network path's root: another share has
      // nothing in common with it. Wine's function takes the server alone.
      "\\\\server\\share\\Lists -> \\\\server\\other\\Lists\\a.mp3:  | "
      "..\\..\\other\\Lists\\a.mp3",
      // Without a drive or a share there is no root to share; a playlist
      // folder is always a full path.
      "Lists -> Lists\\a.mp3:  | .\\a.mp3", "\\Lists -> \\Lists\\a.mp3:  | .\\a.mp3",
  };
  EXPECT_EQ(differ, expected);
}

TEST(ShellPathRules, FileNameCharactersDifferOnlyWhereTheRuleDefinesThemOtherwise) {
  std::vector<int> differ;
  for (int c = 1; c < 256; ++c) {
    const std::string name(1, static_cast<char>(c));
    const bool oursKeeps = SanitizeFileName(name, "_") == name;
    const bool shellKeeps = (PathGetCharTypeA(static_cast<unsigned char>(c)) & GCT_LFNCHAR) != 0;
    if (oursKeeps != shellKeeps) differ.push_back(c);
  }
  // The same set: control characters and " * / : < > ? \ | are the ones a
  // long file name cannot hold.
  EXPECT_EQ(differ, std::vector<int>{});
}

}  // namespace
}  // namespace quorvella
