// SPDX-License-Identifier: MIT
// Starting real programs: small shell scripts that write down how they were
// started.
#include "platform/ProgramStart.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include "platform/LocalDesktop.h"
#include "support/EnvironmentVariable.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

namespace quorvella {
namespace {

namespace fs = std::filesystem;

// A program that writes its arguments, each followed by "|", to <itself>.out;
// the file is written beside and renamed into place, so it is never read
// half written.
void WriteRecorder(const fs::path& program) {
  testing::WriteBytes(program,
                      "#!/bin/sh\nprintf '%s|' \"$@\" > \"$0.tmp\"; mv \"$0.tmp\" \"$0.out\"\n");
  ASSERT_EQ(chmod(program.c_str(), 0755), 0);
}

// What the recorder wrote, taken away for the next start.
std::string TakeRecord(const fs::path& program) {
  const fs::path record = program.string() + ".out";
  for (int i = 0; i < 500 && !fs::exists(record); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  const std::string text = fs::exists(record) ? testing::ReadBytes(record) : "(never written)";
  fs::remove(record);
  return text;
}

TEST(StartCommandLine, StartsAnUnquotedPathWithSpacesOrSaysWhyNot) {
  testing::TempDir dir;
  const fs::path program = dir.Path() / "My Apps/WiseUpdt.exe";
  WriteRecorder(program);
  EXPECT_EQ(StartCommandLine(program.string() + " /c \"a b\""), std::nullopt);
  EXPECT_EQ(TakeRecord(program), "/c|a b|");

  testing::WriteBytes(dir.File("plain.txt"), "not a program");
  EXPECT_EQ(StartCommandLine("/nonexistent/folder/WiseUpdt.exe /c"), std::strerror(ENOENT));
  EXPECT_EQ(StartCommandLine(dir.File("plain.txt")), std::strerror(EACCES));
  EXPECT_EQ(StartCommandLine(""), std::strerror(ENOENT));
}

TEST(LocalDesktop, OpensTheTrimmedTargetAndStartsAProgramAsTheWindowDoes) {
  testing::TempDir dir;  // the desktop's opener found along PATH is a recorder
  const fs::path opener = dir.Path() / "xdg-open";
  WriteRecorder(opener);
  const char* path = std::getenv("PATH");
  const testing::ScopedEnvironmentVariable paths(
      "PATH", (dir.Path().string() + ":" + (path ? path : "")).c_str());
  LocalDesktop desktop;
  const std::pair<const char*, const char*> cases[] = {
      {"  https://www.brenlow-software.example/docs?ver=1.3  ",
       "https://www.brenlow-software.example/docs?ver=1.3|"},
      {"/srv/lists/Rock #1?.m3u", "/srv/lists/Rock #1?.m3u|"},
      {"-lists", "./-lists|"},  // not an option of the opener's
  };
  for (const auto& [target, opened] : cases) {
    desktop.ShellOpen(target);
    EXPECT_EQ(TakeRecord(opener), opened) << target;
  }
  EXPECT_EQ(desktop.StartProgram(opener.string() + " x"), std::nullopt);
  EXPECT_EQ(TakeRecord(opener), "x|");
}

}  // namespace
}  // namespace quorvella
