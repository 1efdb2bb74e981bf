// SPDX-License-Identifier: MIT
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QSessionManager>
#include <QThread>

#include "engine/StalePlaylists.h"
#include "settings/PublishedFiles.h"
#include "tivo/WebAddresses.h"
#include "ui/WindowsFixture.h"

namespace quorvella {
namespace {

using test::Find;
using test::ModalScript;

// The main window over the windows' fixture.
class MainCommands : public test::Windows {
 protected:
  void Start(bool automaticCheck = false) { updateCheck_ = automaticCheck, Open(test::Win::Main); }
  // Songs of Mix, in the published playlist folder that the settings name.
  // Each takes long enough to read that the window handles input after it.
  std::string MixWithSongs(const std::vector<std::string>& files) {
    const std::string folder = env_.Folder("Lists");
    env_.Publish("Lists", folder);
    reg_.RegSetString(Hive::CurrentUser, SettingsKey, "PlaylistFolder", folder);
    auto& mix = *library_->source->playlists->playlists.front();
    for (const std::string& file : files) {
      auto track = test::Track(file, folder + "/" + file);
      track->whenRead = [] { QThread::msleep(50); };
      mix.Add(track);
    }
    return folder;
  }
  // Publishes the checked rows; during the run, from its first chance to
  // handle input on, calls duringRun until it gives true.
  void PublishWhile(std::function<bool()> duringRun) {
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] { if (Main().Controller().Busy() && duringRun()) poll.stop(); });
    poll.start();
    QTest::mouseClick(Find<QPushButton>(*window_, "ButPublish"), Qt::LeftButton);
  }
  bool MixChecked() { return Get<QTreeWidget>("ListPlaylists")->topLevelItem(0)->checkState(0) == Qt::Checked; }
};

// The Web menu's items and F1 open their pages; About opens its box over
// the window. The automatic update check runs once, three seconds after
// start (the table below leaves out that case). The update program starts
// with /c when the check is automatic;
// only a check the user asked for reports a missing program or an error.
TEST_F(MainCommands, WebHelpAndTheUpdateCheck) {
  const std::string program = programFolder_ + "/WiseUpdt.exe";
  test::TempEnvironment::WriteFile(program);
  QElapsedTimer clock;
  clock.start();
  Start(true);
  ASSERT_TRUE(QTest::qWaitFor([this] { return !desktop_.started.empty(); }, 6000));
  EXPECT_GE(clock.elapsed(), 2850);  // a coarse timer may fire up to 5% early
  EXPECT_EQ(desktop_.started, std::vector<std::string>{program + " /c"});
  EXPECT_FALSE(Find<QTimer>(*window_, "TimerWiseUpdate")->isActive());

  const std::pair<const char*, std::string_view> pages[] = {
      {"ItemWebProductHomePage", HomePageAddress}, {"ItemWebDocs", DocumentationAddress},
      {"ItemHelpHelp", DocumentationAddress},      {"ItemWebConvert", Mp3ConversionAddress},
      {"ItemWebMakerHomePage", MakerHomePageAddress}, {"ItemWebPlugin", PluginInfoAddress}};
  for (const auto& [item, page] : pages) {
    Trigger(item);
    EXPECT_EQ(desktop_.opened.back(), page) << item;
  }
  ASSERT_TRUE(test::ShowActive(*window_));
  QTest::keyClick(Find<QTreeWidget>(*window_, "ListPlaylists"), Qt::Key_F1);
  EXPECT_EQ(desktop_.opened.size(), 7u);
  EXPECT_EQ(desktop_.opened.back(), DocumentationAddress);
  const QString missing = QString::fromStdString("The WiseUpdate program (" + program + ") does not exist.");
  const QString failed = QStringLiteral(
      "The following error occurred while trying to run the WiseUpdate program:\n\nExec format error");
  const struct {
    bool interactive, exists;
    const char* error;
    std::vector<std::string> started;
    QString box;
  } cases[] = {
      {false, false, nullptr, {}, {}},
      {true, false, nullptr, {}, missing},
      {true, true, nullptr, {program}, {}},
      {false, true, "Exec format error", {program + " /c"}, {}},
      {true, true, "Exec format error", {program}, failed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.interactive << c.exists << (c.error ? c.error : ""));
    std::filesystem::remove(program);
    if (c.exists) test::TempEnvironment::WriteFile(program);
    desktop_.started.clear();
    desktop_.startError = c.error ? std::optional<std::string>(c.error) : std::nullopt;
    ModalScript script;  // records the boxes and closes them
    c.interactive ? Trigger("ItemWebCheckForUpdates") : Main().RunWiseUpdate(false);
    EXPECT_EQ(desktop_.started, c.started);
    EXPECT_EQ(script.boxes, std::vector<test::SeenBox>(!c.box.isEmpty(), {"Quorvella", c.box,
              QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok}));
  }
  ModalScript about;
  about.On<FormAbout>([&](FormAbout& box) {
    EXPECT_EQ(box.pos(), window_->frameGeometry().topLeft() + QPoint(22, 22));
    QTest::keyClick(&box, Qt::Key_Escape);
  });
  Trigger("ItemHelpAbout");
  EXPECT_TRUE(about.Finished());
}

TEST_F(MainCommands, OptionsRefreshesTheListOnlyWhenTheFolderChangedToAnother) {
  const std::string first = env_.Folder("First"), second = env_.Folder("Second");
  env_.Publish("First", first), env_.Publish("Second", second);
  test::TempEnvironment::WriteFile(second + "/Mix.m3u");
  enum class Change { Another, Same, Emptied, AnotherCancelled };
  const std::pair<Change, bool> cases[] = {{Change::Another, true}, {Change::Same, false},
                                           {Change::Emptied, false},
                                           {Change::AnotherCancelled, false}};  // refreshed
  for (const auto& [change, refreshed] : cases) {
    SCOPED_TRACE(static_cast<int>(change));
    reg_.RegSetString(Hive::CurrentUser, SettingsKey, "PlaylistFolder", first);
    library_->sourceReads = 0;
    Start();
    ASSERT_FALSE(MixChecked());
    const int readsBefore = library_->sourceReads;
    browseResult_ = second;
    ModalScript script;
    script.On<FormOptions>([&](FormOptions& options) {
      EXPECT_EQ(options.pos(), window_->frameGeometry().topLeft() + QPoint(22, 22));
      if (change == Change::Another || change == Change::AnotherCancelled) {
        QTest::mouseClick(Find<QPushButton>(options, "ButBrowse"), Qt::LeftButton);
      } else if (change == Change::Emptied) {
        options.SetPlaylistFolder("");
      }
      const char* button = change == Change::AnotherCancelled ? "ButCancel" : "ButOK";
      QTest::mouseClick(Find<QPushButton>(options, button), Qt::LeftButton);
    });
    // An empty folder is not published: confirmed.
    if (change == Change::Emptied) script.Answer(QMessageBox::Yes);
    Trigger("ItemToolsOptions");
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(script.unexpected, 0);
    EXPECT_EQ(library_->sourceReads > readsBefore, refreshed);
    // The check marks follow the files of the new folder only after a refresh.
    EXPECT_EQ(MixChecked(), refreshed);
  }
}

TEST_F(MainCommands, OptionsWorkDuringARunAndANewModeHoldsFromTheNextSong) {
  const std::string folder = MixWithSongs({"1.mp3", "2.ogg", "3.mp3", "4.ogg", "5.mp3", "6.ogg"});
  const std::string other = env_.Folder("Other");
  env_.Publish("Other", other);
  test::TempEnvironment::WriteFile(other + "/Mix.m3u");
  reg_.RegSetString(Hive::CurrentUser, PluginConfigKey, PluginCustomValueName, "");
  Start();
  Click("ButCheckAll");
  ASSERT_TRUE(MixChecked());
  const int readsBefore = library_->sourceReads;

  ModalScript script;
  script.On<FormOptions>([&](FormOptions& options) {
    Find<QTabWidget>(options, "TabMain")->setCurrentIndex(1);
    Find<QRadioButton>(options, "OptEnhMode1")->click();
    browseResult_ = other;
    Find<QPushButton>(options, "ButBrowse")->click();
    Find<QPushButton>(options, "ButOK")->click();
  });
  bool optionsEnabled = false;
  PublishWhile([&] {
    // Standard mode has left out the first ogg song.
    if (Main().Controller().Stats().WrongFormatSongs == 0) return false;
    optionsEnabled = Get<QAction>("ItemToolsOptions")->isEnabled();
    Trigger("ItemToolsOptions");
    return true;
  });
  EXPECT_TRUE(optionsEnabled);
  EXPECT_TRUE(script.Finished());
  EXPECT_TRUE(settings_.GetEnhancedPlugInMode());
  EXPECT_EQ(Main().Controller().Stats().WrongFormatSongs, 1);
  std::ifstream in(folder + "/Mix.m3u");
  const std::string written(std::istreambuf_iterator<char>(in), {});
  for (const char* song : {"1.mp3", "3.mp3", "4.ogg", "5.mp3", "6.ogg"})
    EXPECT_NE(written.find(song), std::string::npos) << song;
  EXPECT_EQ(written.find("2.ogg"), std::string::npos);
  // The new folder's list comes once the run is over.
  EXPECT_TRUE(QTest::qWaitFor([&] { return library_->sourceReads > readsBefore; }, 2000));
  EXPECT_EQ(library_->sourceReads, readsBefore + 1);
  EXPECT_TRUE(MixChecked()) << "Mix.m3u exists in the new folder";
}

// During a run Remove Stale Playlists waits, and the end of the desktop
// session leaves the window open, asking nothing; afterwards the dialog
// lists the files written for playlists since deleted or renamed (what its
// OK does, the dialog's own test holds).
TEST_F(MainCommands, RemoveStaleAndTheSessionsEndWaitForARun) {
  const std::string folder = MixWithSongs({"1.mp3", "2.mp3", "3.mp3", "4.mp3"});
  std::ofstream(folder + "/Old.m3u") << "x";  // written for a playlist since deleted
  const auto stamp = StampOf(folder + "/Old.m3u").value();
  ASSERT_TRUE(SavePublishedFiles(registry_, folder, {{"Old.m3u", 7, stamp.size, stamp.mtimeNs}}));
  Start();
  QStringList listed;
  ModalScript script;
  script.On<FormStalePlaylists>([&](FormStalePlaylists& dialog) {
    auto* list = Find<QListWidget>(dialog, "ListStale");
    for (int row = 0; row < list->count(); ++row) listed << list->item(row)->text();
    QTest::mouseClick(Find<QPushButton>(dialog, "ButOK"), Qt::LeftButton);
  });
  auto* session = qApp->findChild<QSessionManager*>();
  ASSERT_NE(session, nullptr);
  bool staleEnabled = true, openAfterwards = false, anythingShown = true;
  Click("ButCheckAll");
  PublishWhile([&] {
    staleEnabled = Get<QAction>("ItemToolsRemoveStale")->isEnabled();
    Trigger("ItemToolsRemoveStale");
    // What Qt does when the desktop session ends: ask the program to save
    // its data (it may refuse the end), then to quit, closing every window.
    // (Idle, the same quit would close the window, and end the event loops
    // of this whole test program with it.)
    emit qApp->commitDataRequest(*session);
    QEvent quit(QEvent::Quit);
    QCoreApplication::sendEvent(qApp, &quit);
    openAfterwards = window_->isVisible();
    anythingShown = QApplication::activeModalWidget() != nullptr;
    return true;
  });
  EXPECT_FALSE(staleEnabled);
  EXPECT_TRUE(openAfterwards);
  EXPECT_FALSE(anythingShown);
  EXPECT_EQ(Get<QLabel>("LabStatus")->text(), QStringLiteral("Done"));
  EXPECT_TRUE(listed.isEmpty()) << "nothing opened during the run";
  // The run recorded Mix.m3u: once Mix is renamed, it is stale too.
  library_->source->playlists->playlists.front()->name = "Mix 2";
  Trigger("ItemToolsRemoveStale");
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(listed, (QStringList{"Old.m3u", "Mix.m3u"}));
}

}  // namespace
}  // namespace quorvella
