// SPDX-License-Identifier: MIT
#include "shell/QtDesktop.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QObject>
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

}  // namespace
}  // namespace quorvella

#include "QtDesktopTest.moc"
