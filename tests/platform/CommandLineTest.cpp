// SPDX-License-Identifier: MIT
#include "platform/CommandLine.h"

#include <gtest/gtest.h>

#include <set>

namespace quorvella {
namespace {

TEST(SplitCommandLine, FindsTheProgramAndSplitsTheArguments) {
  const std::set<std::string> existing = {"/opt/My Apps/WiseUpdt.exe", "/opt/tool"};
  const auto isFile = [&](const std::string& path) { return existing.count(path) > 0; };
  const struct { std::string line; CommandLine expected; } cases[] = {
      // Unquoted program paths, as the update and plug-in commands give them.
      {"/opt/My Apps/WiseUpdt.exe /c", {"/opt/My Apps/WiseUpdt.exe", {"/c"}}},
      {"/opt/My Apps/WiseUpdt.exe", {"/opt/My Apps/WiseUpdt.exe", {}}},
      {"  /opt/tool a b", {"/opt/tool", {"a", "b"}}},
      {"/opt/Missing Apps/x.exe /c", {"/opt/Missing", {"Apps/x.exe", "/c"}}},
      {"xdg-open /srv/lists", {"xdg-open", {"/srv/lists"}}},
      {"prog\targ", {"prog", {"arg"}}},
      // A quoted program, and quoting of the arguments.
      {"\"/opt/Other Apps/x\" a \"b c\"", {"/opt/Other Apps/x", {"a", "b c"}}},
      {"\"/opt/unclosed", {"/opt/unclosed", {}}},
      {"prog \"\" x", {"prog", {"", "x"}}},
      {"prog a\\\"b c\\\\\"d e\"", {"prog", {"a\"b", "c\\d e"}}},
      {"prog C:\\dir\\ x", {"prog", {"C:\\dir\\", "x"}}},
      {"", {"", {}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitCommandLine(c.line, isFile), c.expected) << c.line;
  }
}

}  // namespace
}  // namespace quorvella
