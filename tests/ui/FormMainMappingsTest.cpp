// SPDX-License-Identifier: MIT
// File > Map Library Locations... in the main window.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "settings/MemoryRegistry.h"
#include "settings/RegUtil.h"
#include "settings/Settings.h"
#include "shell/QtFileSystem.h"
#include "support/FakeLibrary.h"
#include "ui/DialogTestSupport.h"
#include "ui/FormMain.h"
#include "ui/FormMappings.h"

namespace quorvella {
namespace {

using test::Find;

struct CountingITunes final : IiTunes {
  test::FakeITunes library;
  int sourceReads = 0;
  std::shared_ptr<IITSource> LibrarySource() override {
    ++sourceReads;
    return library.LibrarySource();
  }
  std::shared_ptr<IITPlaylist> GetITObjectByID(std::int32_t a, std::int32_t b, std::int32_t c,
                                               std::int32_t d) override {
    return library.GetITObjectByID(a, b, c, d);
  }
};

class MainMappings : public ::testing::Test {
 protected:
  MainMappings() {
    itunes_->library.AddPlaylist("Mix");
    FormMainServices services{settings_,
                              reg_,
                              files_,
                              desktop_,
                              [] { return false; },
                              [this](const std::string& path) {
                                opened_.push_back(path);
                                return itunes_;
                              },
                              [](const std::string&) {}};
    services.readLibraryLocations = [this](const std::string& path) {
      read_.push_back(path);
      return LibraryLocations{{"/Volumes/data/a.mp3", "/Volumes/data/b.mp3"}, "/Volumes/data/"};
    };
    services.mappingSearchRoots = [] { return std::vector<std::string>{}; };
    window_ = std::make_unique<FormMain>(std::move(services));
    Find<QTimer>(*window_, "TimerWiseUpdate")->stop();
    window_->show();
    EXPECT_TRUE(QTest::qWaitFor([this] { return itunes_->sourceReads > 0; }, 2000));
  }

  test::TempEnvironment env_;
  MemoryRegistry registry_;
  RegUtil reg_{registry_};
  Settings settings_{reg_};
  QtFileSystem files_;
  test::RecordingDesktop desktop_;
  std::shared_ptr<CountingITunes> itunes_ = std::make_shared<CountingITunes>();
  std::vector<std::string> opened_;
  std::vector<std::string> read_;
  std::unique_ptr<FormMain> window_;
};

TEST_F(MainMappings, TheItemStandsBelowOpenLibraryAndTheRestOfTheMenuStays) {
  QStringList items;
  for (const QAction* action : Find<QMenu>(*window_, "MenuFile")->actions()) {
    items << action->objectName() + "=" + action->text();
  }
  EXPECT_EQ(items,
            (QStringList{"ItemFileOpenLibrary=&Open iTunes Library...",
                         "ItemFileMapLocations=&Map Library Locations...", "ItemFileExit=E&xit"}));
}

TEST_F(MainMappings, OkReadsTheLibraryAgainAndCancelLeavesItAlone) {
  const int readsBefore = itunes_->sourceReads;
  test::ModalScript script;
  QString summary;
  script.On<FormMappings>([&summary](FormMappings& dialog) {
    summary = Find<QLabel>(dialog, "LabSummary")->text();
    QTest::mouseClick(Find<QPushButton>(dialog, "ButCancel"), Qt::LeftButton);
  });
  Find<QAction>(*window_, "ItemFileMapLocations")->trigger();
  EXPECT_EQ(read_, std::vector<std::string>{""});
  EXPECT_EQ(summary, "2 songs in the library are files; 0 of them are found on this computer.");
  EXPECT_EQ(opened_.size(), 1u);
  EXPECT_EQ(itunes_->sourceReads, readsBefore);

  script.On<FormMappings>([](FormMappings& dialog) {
    QTest::mouseClick(Find<QPushButton>(dialog, "ButOK"), Qt::LeftButton);
  });
  Find<QAction>(*window_, "ItemFileMapLocations")->trigger();
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(opened_, (std::vector<std::string>{"", ""}));
  EXPECT_GT(itunes_->sourceReads, readsBefore);
}

}  // namespace
}  // namespace quorvella
