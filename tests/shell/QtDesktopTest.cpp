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

// A target is trimmed; a bare host name is a web address, a path a local
// file; a blank target opens nothing.
TEST(QtDesktop, ShellOpenOpensTheTrimmedTarget) {
  const char* const schemes[] = {"http", "https", "mailto", "file"};
  UrlRecorder recorder;
  for (const char* scheme : schemes) QDesktopServices::setUrlHandler(scheme, &recorder, "Open");
  QtDesktop desktop;
  for (const char* target :
       {"", "    ", "  https://www.brenlow-software.example/docs?ver=1.3  ",
        "mailto:support@brenlow-software.example", "www.brenlow-software.example", "/srv/lists/Rock #1?.m3u"}) {
    desktop.ShellOpen(target);
  }
  for (const char* scheme : schemes) QDesktopServices::unsetUrlHandler(scheme);
  EXPECT_EQ(recorder.opened, (std::vector<QUrl>{
                                 QUrl("https://www.brenlow-software.example/docs?ver=1.3"),
                                 QUrl("mailto:support@brenlow-software.example"),
                                 QUrl("http://www.brenlow-software.example"),
                                 QUrl::fromLocalFile("/srv/lists/Rock #1?.m3u")}));
}

}  // namespace
}  // namespace quorvella

#include "QtDesktopTest.moc"
