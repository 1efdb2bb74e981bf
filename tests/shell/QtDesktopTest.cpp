// SPDX-License-Identifier: MIT
#include "shell/QtDesktop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <thread>

#include <QDesktopServices>
#include <QObject>
#include <QTemporaryDir>
#include <QUrl>

namespace quorvella {
namespace {

// Stands in for the browser and the file manager: records what would open.
class UrlRecorder : public QObject {
  Q_OBJECT

 public slots:
  void Open(const QUrl& url) { opened.push_back(url); }

 public:
  std::vector<QUrl> opened;
};

class ShellOpenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* scheme : kSchemes) QDesktopServices::setUrlHandler(scheme, &recorder, "Open");
  }
  void TearDown() override {
    for (const char* scheme : kSchemes) QDesktopServices::unsetUrlHandler(scheme);
  }

  static constexpr const char* kSchemes[] = {"http", "https", "mailto", "file"};
  UrlRecorder recorder;
  QtDesktop desktop;
};

TEST_F(ShellOpenTest, OpensTheTrimmedTarget) {
  desktop.ShellOpen("  https://www.brenlow-software.example/docs?ver=1.3  ");
  desktop.ShellOpen("mailto:support@brenlow-software.example");
  desktop.ShellOpen("www.brenlow-software.example");
  desktop.ShellOpen("/srv/lists/Rock #1?.m3u");
  ASSERT_EQ(recorder.opened.size(), 4u);
  EXPECT_EQ(recorder.opened[0], QUrl("https://www.brenlow-software.example/docs?ver=1.3"));
  EXPECT_EQ(recorder.opened[1], QUrl("mailto:support@brenlow-software.example"));
  EXPECT_EQ(recorder.opened[2], QUrl("http://www.brenlow-software.example"));
  EXPECT_EQ(recorder.opened[3].toLocalFile(), "/srv/lists/Rock #1?.m3u");
}

TEST_F(ShellOpenTest, BlankTargetOpensNothing) {
  desktop.ShellOpen("");
  desktop.ShellOpen("    ");
  EXPECT_TRUE(recorder.opened.empty());
}

std::string WaitForFile(const std::string& path) {
  for (int i = 0; i < 500; ++i) {
    std::ifstream in(path);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!text.empty()) return text;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return {};
}

TEST(StartProgram, StartsAnUnquotedPathWithSpaces) {
  // The program writes its arguments to a file beside it, then renames it
  // into place so that it is never read half written.
  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString() + "/My Apps";
  ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
  const std::string program = folder + "/WiseUpdt.exe";
  std::ofstream(program) << "#!/bin/sh\nprintf '%s|' \"$@\" > \"$0.tmp\"; printf . >> \"$0.tmp\"; mv \"$0.tmp\" \"$0.out\"\n";
  ASSERT_EQ(chmod(program.c_str(), 0755), 0);

  QtDesktop desktop;
  EXPECT_EQ(desktop.StartProgram(program + " /c"), std::nullopt);
  EXPECT_EQ(WaitForFile(program + ".out"), "/c|.");
}

TEST(StartProgram, ReportsWhyAProgramDidNotStart) {
  QtDesktop desktop;
  const auto error = desktop.StartProgram("/nonexistent/folder/WiseUpdt.exe /c");
  ASSERT_TRUE(error.has_value());
  EXPECT_FALSE(error->empty());
}

}  // namespace
}  // namespace quorvella

#include "QtDesktopTest.moc"
