// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <fstream>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "settings/MemoryRegistry.h"
#include "tivo/PyTivoConfig.h"
#include "settings/RegUtil.h"
#include "tivo/TiVoDesktop.h"
#include "ui/DialogTestSupport.h"
#include "ui/FormPickTiVoFolder.h"

namespace quorvella {
namespace {

using test::Find;

// A pick dialog over a private registry and shortcut folder; the published
// folders are real temporary folders A, B and C, listed in that order.
class PickTiVoFolder : public ::testing::Test {
 protected:
  void Publish(const std::string& shortcut, const std::string& folder) {
    env_.Publish(shortcut, folder);
  }
  void PublishABC() {
    a_ = env_.Folder("A");
    b_ = env_.Folder("B");
    c_ = env_.Folder("C");
    Publish("1 A", a_);
    Publish("2 B", b_);
    Publish("3 C", c_);
  }
  void Open(const std::string& origFolder) {
    dialog_ = std::make_unique<FormPickTiVoFolder>(reg_);
    dialog_->OrigFolder = origFolder;
    dialog_->Init();
    list_ = Find<QListWidget>(*dialog_, "ListFolders");
    ok_ = Find<QPushButton>(*dialog_, "ButOK");
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> entries;
    for (int row = 0; row < list_->count(); ++row)
      entries.push_back(list_->item(row)->text().toStdString());
    return entries;
  }
  int SelectedRow() const {
    const auto selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->row(selected.front());
  }
  QPoint RowCentre(int row) const { return list_->visualItemRect(list_->item(row)).center(); }

  test::TempEnvironment env_;
  MemoryRegistry registry_;
  RegUtil reg_{registry_};
  std::string a_, b_, c_;
  std::unique_ptr<FormPickTiVoFolder> dialog_;
  QListWidget* list_ = nullptr;
  QPushButton* ok_ = nullptr;
};

TEST_F(PickTiVoFolder, ListsPyTivoMusicSharesAfterTiVoDesktopsFolders) {
  PublishABC();
  const std::string songs = env_.Folder("Songs");
  const std::string conf = env_.Folder("conf") + "/pyTivo.conf";
  std::ofstream(conf) << "[Server]\nport = 9032\n[Songs]\ntype = music\npath = " << songs
                      << "/\n[Films]\ntype = video\npath = " << a_ << "\n";
  SetPyTivoConfigSetting(reg_, conf);
  Open(songs);
  EXPECT_EQ(Entries(), (std::vector<std::string>{a_, b_, c_, songs}));
  EXPECT_EQ(SelectedRow(), 3);
}

TEST_F(PickTiVoFolder, KeepsItsExplanationAsWritten) {
  Open("");
  // "Dekstop" is how the explanation has always read; it is not corrected.
  EXPECT_TRUE(
      Find<QLabel>(*dialog_, "Label1")
          ->text()
          .contains(QStringLiteral("folders published to TiVo Dekstop as the output folder")));
  EXPECT_EQ(Find<QLabel>(*dialog_, "Label4")->buddy(), list_);
}

TEST_F(PickTiVoFolder, WithNoPublishedFolderOnlyCancelWorks) {
  Open("/anything");
  ASSERT_TRUE(test::ShowActive(*dialog_));
  EXPECT_EQ(list_->count(), 0);
  EXPECT_FALSE(ok_->isEnabled());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_TRUE(dialog_->isVisible());
  QTest::mouseDClick(list_->viewport(), Qt::LeftButton);
  EXPECT_TRUE(dialog_->isVisible());
  EXPECT_EQ(dialog_->Result, 0);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_EQ(dialog_->Result, 2);
  EXPECT_EQ(dialog_->SelectedFolder(), "");
}

TEST_F(PickTiVoFolder, PreselectsTheFirstEntryEqualToTheOriginalFolder) {
  PublishABC();
  const std::string upperB = b_.substr(0, b_.size() - 1) + "b";  // .../folders/b
  Publish("4 B again", b_);
  struct Case {
    std::string orig;
    int selected;
  };
  const Case cases[] = {
      {b_, 1},        {"  " + b_ + "  ", 1},   // spaces around
      {upperB, 1},                             // another letter case
      {b_ + "/", -1},                          // no separator normalising
      {"", -1},       {env_.Folder("D"), -1},  // not published
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.orig);
    Open(c.orig);
    EXPECT_EQ(Entries(), (std::vector<std::string>{a_, b_, c_, b_}));
    EXPECT_EQ(SelectedRow(), c.selected);
    EXPECT_EQ(ok_->isEnabled(), c.selected >= 0);
  }
}

TEST_F(PickTiVoFolder, SelectingAnEntryEnablesOKWhichGivesThatFolder) {
  PublishABC();
  Open("");
  ASSERT_TRUE(test::ShowActive(*dialog_));
  EXPECT_FALSE(ok_->isEnabled());
  QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, RowCentre(2));
  EXPECT_TRUE(ok_->isEnabled());
  EXPECT_EQ(dialog_->SelectedFolder(), c_);
  // The keyboard moves the selection too.
  QTest::keyClick(list_, Qt::Key_Up);
  EXPECT_EQ(dialog_->SelectedFolder(), b_);
  QTest::mouseClick(ok_, Qt::LeftButton);
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_EQ(dialog_->Result, 1);
  EXPECT_EQ(dialog_->SelectedFolder(), b_);
}

TEST_F(PickTiVoFolder, EnterTakesThePreselectedFolder) {
  PublishABC();
  Open(c_);
  ASSERT_TRUE(test::ShowActive(*dialog_));
  EXPECT_EQ(QApplication::focusWidget(), list_);
  QTest::keyClick(list_, Qt::Key_Return);
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_EQ(dialog_->Result, 1);
  EXPECT_EQ(dialog_->SelectedFolder(), c_);
}

TEST_F(PickTiVoFolder, EnterPressesTheFocusedButtonAndElsewhereOK) {
  PublishABC();
  const std::pair<const char*, int> cases[] = {{"ButCancel", 2}, {"ButOK", 1}, {"ListFolders", 1}};
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
    for (const auto& [focus, result] : cases) {
      SCOPED_TRACE(focus);
      Open(b_);
      ASSERT_TRUE(test::ShowActive(*dialog_));
      QWidget* widget = Find<QWidget>(*dialog_, focus);
      widget->setFocus();
      QTest::keyClick(widget, key);
      EXPECT_FALSE(dialog_->isVisible());
      EXPECT_EQ(dialog_->Result, result);
    }
  }
}

TEST_F(PickTiVoFolder, DoubleClickingAnEntryTakesIt) {
  PublishABC();
  Open("");
  dialog_->show();
  QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, RowCentre(0));
  QTest::mouseDClick(list_->viewport(), Qt::LeftButton, {}, RowCentre(0));
  QTest::mouseRelease(list_->viewport(), Qt::LeftButton, {}, RowCentre(0));
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_EQ(dialog_->Result, 1);
  EXPECT_EQ(dialog_->SelectedFolder(), a_);
}

TEST_F(PickTiVoFolder, CancelAfterSelectingGivesTwo) {
  PublishABC();
  Open(a_);
  dialog_->show();
  QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, RowCentre(1));
  QTest::mouseClick(Find<QPushButton>(*dialog_, "ButCancel"), Qt::LeftButton);
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_EQ(dialog_->Result, 2);
}

TEST_F(PickTiVoFolder, TheCloseBoxLeavesResultAtZero) {
  PublishABC();
  Open(a_);
  dialog_->show();
  dialog_->close();
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_EQ(dialog_->Result, 0);
}

TEST_F(PickTiVoFolder, TheNoteIsRewordedForTiVoDesktop23Only) {
  const QString designed = QStringLiteral(
      "Important note: if you are running TiVo Desktop 2.3, then you must select a folder which "
      "both:");
  const QString reworded = QStringLiteral(
      "Important note: since you are running TiVo Desktop 2.3, you must select a folder which "
      "both:");
  const std::pair<const char*, QString> cases[] = {
      {nullptr, designed}, {"2.2.5", designed}, {"2.3.1", reworded}, {"2.4.0", designed}};
  for (const auto& [version, note] : cases) {
    SCOPED_TRACE(version ? version : "absent");
    if (version) reg_.RegSetString(Hive::CurrentUser, TiVoDesktopKey, "Version", version);
    Open("");
    EXPECT_EQ(Find<QLabel>(*dialog_, "LabImportantNote")->text(), note);
  }
}

}  // namespace
}  // namespace quorvella
