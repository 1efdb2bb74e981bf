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

std::string WaitForFile(const fs::path& path) {
  for (int i = 0; i < 500; ++i) {
    if (fs::exists(path)) return testing::ReadBytes(path);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return "(never written)";
}

TEST(StartCommandLine, StartsAnUnquotedPathWithSpacesOrSaysWhyNot) {
  testing::TempDir dir;
  const fs::path program = dir.Path() / "My Apps/WiseUpdt.exe";
  WriteRecorder(program);
  EXPECT_EQ(StartCommandLine(program.string() + " /c \"a b\""), std::nullopt);
  EXPECT_EQ(WaitForFile(program.string() + ".out"), "/c|a b|");

  testing::WriteBytes(dir.File("plain.txt"), "not a program");
  EXPECT_EQ(StartCommandLine("/nonexistent/folder/WiseUpdt.exe /c"), std::strerror(ENOENT));
  EXPECT_EQ(StartCommandLine(dir.File("plain.txt")), std::strerror(EACCES));
  EXPECT_EQ(StartCommandLine(""), std::strerror(ENOENT));
}

// The desktop's opener found along PATH is a recorder.
class LocalDesktopTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteRecorder(dir_.Path() / "xdg-open"); }

  std::string Opened() const { return WaitForFile(dir_.Path() / "xdg-open.out"); }

  testing::TempDir dir_;
  testing::ScopedEnvironmentVariable path_{
      "PATH", (dir_.Path().string() + ":" + (std::getenv("PATH") ? std::getenv("PATH") : "")).c_str()};
  LocalDesktop desktop_;
};

TEST_F(LocalDesktopTest, OpensTheTrimmedTargetAndStartsAProgramAsTheWindowDoes) {
  const std::pair<const char*, const char*> cases[] = {
      {"  https://www.brenlow-software.example/docs?ver=1.3  ",
       "https://www.brenlow-software.example/docs?ver=1.3|"},
      {"/srv/lists/Rock #1?.m3u", "/srv/lists/Rock #1?.m3u|"},
      {"-lists", "./-lists|"},  // not an option of the opener's
  };
  for (const auto& [target, opened] : cases) {
    fs::remove(dir_.Path() / "xdg-open.out");
    desktop_.ShellOpen(target);
    EXPECT_EQ(Opened(), opened) << target;
  }
  fs::remove(dir_.Path() / "xdg-open.out");
  EXPECT_EQ(desktop_.StartProgram(dir_.File("xdg-open") + " x"), std::nullopt);
  EXPECT_EQ(Opened(), "x|");
}

}  // namespace
}  // namespace quorvella
