// SPDX-License-Identifier: MIT
// The main window driven as a user drives it: real widgets found by name,
// real clicks and keys, a real library file, real playlist files and trash.
#include <QFileDialog>
#include <QLabel>
#include <QPaintEvent>
#include <QProgressBar>
#include <map>

#include "bench/LibraryGenerator.h"
#include "bench/LibraryXml.h"
#include "library/xml/XmlITunes.h"
#include "ui/WindowsFixture.h"

namespace quorvella {
namespace {

namespace fs = std::filesystem;

using test::ModalScript;

// Message boxes that come up are recorded and closed with Esc (No or OK) by
// a ModalScript; its boxes' texts tell what was reported.
std::vector<QString> Texts(const ModalScript& script) {
  std::vector<QString> texts;
  for (const test::SeenBox& box : script.boxes) {
    EXPECT_EQ(box.title, QStringLiteral("Quorvella"));
    texts.push_back(box.text);
  }
  return texts;
}

class FormMainTest : public test::Windows {
 protected:
  FormMainTest() { qputenv("HOME", env_.Root().c_str()); }
  // A generated library with its song files; the playlist folder is set.
  void MakeLibrary(int tracks, int playlists, int songs) {
    generated_ = GenerateLibrary({.Seed = 3, .Tracks = tracks, .Playlists = playlists,
                                  .SongsPerPlaylist = songs, .Form = UrlForm::Posix,
                                  .MusicRoot = (env_.Root() / "music").string()});
    libraryPath_ = (env_.Root() / "iTunes Library.xml").string();
    std::string error;
    ASSERT_TRUE(WriteLibraryXmlFile(generated_, libraryPath_, error)) << error;
    ASSERT_GE(CreateSongFiles(generated_, error), 0) << error;
    playlistFolder_ = generated_.PlaylistFolder;
    reg_.RegSetString(Hive::CurrentUser, SettingsKey, "PlaylistFolder", playlistFolder_);
  }
  // The main window over the library file; one that fails to be found at
  // start-up is reported.
  void Open(bool libraryFails = false) {
    openLibrary_ = [this, libraryFails](const std::string& path) -> std::shared_ptr<IiTunes> {
      if (libraryFails && path.empty()) {
        throw LibraryError("The iTunes library file \"/nowhere/iTunes Library.xml\" was not found.");
      }
      return std::make_shared<XmlITunes>(path.empty() ? libraryPath_ : path);
    };
    Windows::Open(test::Win::Main);
  }
  QTreeWidget* List() { return Get<QTreeWidget>("ListPlaylists"); }
  QTreeWidgetItem* Row(const std::string& name) {
    const auto items = List()->findItems(QString::fromStdString(name), Qt::MatchExactly, 0);
    return items.isEmpty() ? nullptr : items.first();
  }
  QString Status() { return Get<QLabel>("LabStatus")->text(); }

  GeneratedLibrary generated_;
  std::string libraryPath_, playlistFolder_;
};

// A library missing at start-up is reported once; another can be opened,
// and is listed (which kinds, in what order, the list's rules hold): the
// library's playlist first with its icon, a row checked where its file
// exists (two names that make one file name both). Publishing the checked rows writes their files, shows
// each row's status and reports; a Stop pressed while the last playlist is
// written still stops the run, however short that playlist is.
TEST_F(FormMainTest, OpenListsPublishWritesAndReportsAndAStopDuringTheLastPlaylistHolds) {
  MakeLibrary(150, 6, 10);
  fs::create_directories(playlistFolder_);
  std::ofstream(playlistFolder_ + "/AC_DC_ Live_.m3u") << "#EXTM3U\r\n";
  ModalScript answerer;
  Open(/*libraryFails=*/true);
  QTRY_COMPARE_WITH_TIMEOUT(answerer.boxes.size(), std::size_t{1}, 5000);
  EXPECT_TRUE(Texts(answerer)[0].contains("/nowhere/iTunes Library.xml"));
  EXPECT_EQ(List()->topLevelItemCount(), 0);
  Click("ButRefresh");
  QTest::qWait(50);
  EXPECT_EQ(Texts(answerer).size(), 1u) << "reported once";
  answerer.boxes.clear();
  QTimer fileDialog;
  QObject::connect(&fileDialog, &QTimer::timeout, [this] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      dialog->selectFile(QString::fromStdString(libraryPath_));
      QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    }
  });
  fileDialog.start(5);
  Trigger("ItemFileOpenLibrary");
  fileDialog.stop();
  EXPECT_EQ(remembered_, libraryPath_);
  EXPECT_EQ(List()->topLevelItem(0)->data(0, Qt::UserRole).toInt(), 3) << "library first";
  EXPECT_FALSE(List()->topLevelItem(0)->icon(0).isNull());
  std::vector<QString> checked;
  for (const QTreeWidgetItem* row : List()->findItems("", Qt::MatchContains)) {
    if (row->checkState(0) == Qt::Checked) checked.push_back(row->text(0));
  }
  EXPECT_EQ(checked, (std::vector<QString>{"AC/DC: Live?", "AC_DC_ Live_"}));

  Click("ButCheckNone");
  ASSERT_NE(Row("Summer Drive"), nullptr);
  Row("Summer Drive")->setCheckState(0, Qt::Checked);
  QTreeWidgetItem* last = Row("AC/DC: Live?");
  last->setCheckState(0, Qt::Checked);
  Click("ButPublish");
  EXPECT_EQ(Status(), "Done");
  EXPECT_TRUE(Row("Summer Drive")->text(1).startsWith("Done ("));
  EXPECT_TRUE(last->text(1).startsWith("Done ("));
  EXPECT_EQ(List()->topLevelItem(0)->text(1), "-");
  EXPECT_TRUE(fs::exists(playlistFolder_ + "/Summer Drive.m3u"));
  EXPECT_TRUE(fs::exists(playlistFolder_ + "/AC_DC_ Live_.m3u"));
  // The bars show the latest values at their interval.
  EXPECT_TRUE(QTest::qWaitFor([this] {
    return Get<QProgressBar>("ProgressPlaylists")->value() == 0 && Get<QProgressBar>("ProgressTracks")->value() == 0;
  }, 1000));
  const std::size_t boxes = Texts(answerer).size();
  ASSERT_GT(boxes, 0u);
  EXPECT_TRUE(Texts(answerer)[0].startsWith("Quorvella has finished publishing the requested playlists."));
  EXPECT_TRUE(desktop_.opened.empty()) << "the MP3 advice was answered No";

  QObject::connect(List(), &QTreeWidget::itemChanged, window_.get(), [&](QTreeWidgetItem* row, int column) {
    if (row != last || column != 1 || row->text(1) != "Publishing...") return;
    QMetaObject::invokeMethod(window_.get(), [this] { Click("ButStop"); }, Qt::QueuedConnection);
  });
  Click("ButPublish");
  EXPECT_EQ(Status(), "Stopped");
  ASSERT_GT(Texts(answerer).size(), boxes) << "a stopped run is reported too";
  EXPECT_TRUE(Texts(answerer)[boxes].startsWith("Quorvella has finished"));
}

TEST_F(FormMainTest, StopEscAndClosingWhileARunWorks) {
  MakeLibrary(600, 8, 200);
  Open();
  for (const bool useEscape : {false, true}) {
    SCOPED_TRACE(useEscape ? "Esc" : "Stop");
    // The report's boxes took the focus; the user comes back to the window.
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    Click("ButCheckAll");
    ModalScript answerer;
    bool closedWhileBusy = false, othersEnabled = false;
    // The window handles input at most every few milliseconds while
    // it works; a user's click comes later than that after the last box.
    QTest::qWait(100);
    // Clicks made while the run works: queued now, they come through the
    // first time the run lets the window handle input.
    QTimer::singleShot(0, [&] {
      window_->close();
      Trigger("ItemFileExit");
      closedWhileBusy = !window_->isVisible();
      // Only Stop changes with a run (the run refuses a refresh or a second
      // run itself).
      othersEnabled = Get("ButRefresh")->isEnabled() && Get("ButPublish")->isEnabled() &&
                      Get("ButCheckAll")->isEnabled() && Get<QAction>("ItemToolsOptions")->isEnabled() &&
                      Get<QAction>("ItemFileOpenLibrary")->isEnabled();
      useEscape ? QTest::keyClick(window_.get(), Qt::Key_Escape) : Click("ButStop");
    });
    Click("ButPublish");
    EXPECT_FALSE(closedWhileBusy);
    EXPECT_TRUE(othersEnabled);
    EXPECT_EQ(Status(), "Stopped");
    EXPECT_TRUE(Get<QPushButton>("ButRefresh")->isEnabled());
    EXPECT_FALSE(Get<QPushButton>("ButStop")->isEnabled());
  }
  // Idle, Esc does nothing and the window closes.
  QTest::keyClick(window_.get(), Qt::Key_Escape);
  EXPECT_TRUE(window_->isVisible());
  window_->close();
  EXPECT_FALSE(window_->isVisible());
}

// Each status a row shows on screen, in order: the row's text at every paint
// of the list that covers the row's status, a repeat left out.
class PaintedStatuses : public QObject {
 public:
  explicit PaintedStatuses(QTreeWidget* list) : list_(list) { list_->viewport()->installEventFilter(this); }
  std::map<QString, std::vector<QString>> seen;

 private:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      const QRegion& painted = static_cast<QPaintEvent*>(event)->region();
      for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = list_->topLevelItem(i);
        const QModelIndex status = list_->indexFromItem(row, 1);
        if (!painted.intersects(list_->visualRect(status))) continue;
        auto& statuses = seen[row->text(0)];
        if (statuses.empty() || statuses.back() != row->text(1)) statuses.push_back(row->text(1));
      }
    }
    return false;
  }
  QTreeWidget* list_;
};

// Short playlists, the whole run far under the time a person could notice,
// and more than the list shows at once: every status of every row is
// painted all the same, the rows scrolled into view included.
TEST_F(FormMainTest, EveryStatusOfEveryRowIsPainted) {
  MakeLibrary(150, 60, 10);
  Open();
  Click("ButCheckAll");
  PaintedStatuses painted(List());
  ModalScript answerer;
  Click("ButPublish");
  ASSERT_EQ(Status(), "Done");
  for (int i = 0; i < List()->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* row = List()->topLevelItem(i);
    if (!row->text(1).startsWith("Done (")) continue;
    SCOPED_TRACE(row->text(0).toStdString());
    const auto& statuses = painted.seen[row->text(0)];
    const auto end = statuses.end();
    const auto publishing = std::find(statuses.begin(), end, "Publishing...");
    ASSERT_NE(publishing, end);
    EXPECT_TRUE(std::find_if(publishing, end, [](const QString& s) { return s.startsWith("Done ("); }) != end);
  }
}

// Not a check: saves pictures of the window idle, in the middle of a run and
// with each box of the report, for a person to look at. Runs only when
// QUORVELLA_SCREENSHOTS names a folder (under Xvfb for real fonts).
TEST_F(FormMainTest, Screenshots) {
  if (shots_.isEmpty()) GTEST_SKIP() << "QUORVELLA_SCREENSHOTS is not set";
  MakeLibrary(3000, 12, 400);
  tivo23_ = true;
  Open();
  Shoot(*window_, "main-idle");
  Click("ButCheckAll");
  ModalScript answerer;
  for (const char* box : {"box-1", "box-2", "box-3"}) ShootNextBox(answerer, box, Qt::Key_Escape);
  QTimer grabber;  // once, during the run, while Stop can still be pressed
  QObject::connect(&grabber, &QTimer::timeout, [&] {
    if (!Get("ButStop")->isEnabled()) return;
    grabber.stop(), window_->grab().save(shots_ + "/main-publishing.png");
  });
  grabber.start(1);
  Click("ButPublish");
  Shoot(*window_, "main-done");
}

}  // namespace
}  // namespace quorvella
