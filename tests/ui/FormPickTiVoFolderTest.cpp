// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "settings/MemoryRegistry.h"
#include "tivo/PyTivoConfig.h"
#include "settings/RegUtil.h"
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

// What the user does, and what the caller reads once the dialog is gone.
TEST_F(PickTiVoFolder, ChoosingAndClosing) {
  enum Step { Row1, Row2, KeyUp, DoubleClickRow0, DoubleClickNothing, Enter, Esc, OK, Cancel,
              CloseBox };
  const struct {
    const char* what;
    bool published;
    const char* orig;  // "a" for the folder A
    std::vector<Step> steps;
    bool open;
    int result;
    const char* selected;  // "a", "b", "c" or ""
  } cases[] = {
      {"a click enables OK, which gives the folder", true, "", {Row2, OK}, false, 1, "c"},
      {"the keyboard moves the selection", true, "", {Row2, KeyUp, OK}, false, 1, "b"},
      {"a double click takes the entry", true, "", {DoubleClickRow0}, false, 1, "a"},
      {"Cancel after selecting", true, "a", {Row1, Cancel}, false, 2, "b"},
      {"the close box leaves Result at 0", true, "a", {CloseBox}, false, 0, "a"},
      {"nothing listed: Enter and a double click do nothing", false, "/anything",
       {Enter, DoubleClickNothing}, true, 0, ""},
      {"nothing listed: Esc cancels", false, "/anything", {Esc}, false, 2, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.published && a_.empty()) PublishABC();
    if (!c.published) std::filesystem::remove_all(env_.Root() / "data" / "TiVo Desktop");
    Open(std::string(c.orig) == "a" ? a_ : c.orig);
    ASSERT_TRUE(test::ShowActive(*dialog_));
    EXPECT_EQ(ok_->isEnabled(), std::string(c.orig) == "a");
    for (const Step step : c.steps) {
      switch (step) {
        case Row1:
        case Row2:
          QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, RowCentre(step == Row1 ? 1 : 2));
          EXPECT_TRUE(ok_->isEnabled());
          break;
        case KeyUp:
          QTest::keyClick(list_, Qt::Key_Up);
          break;
        case DoubleClickRow0:
          QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, RowCentre(0));
          QTest::mouseDClick(list_->viewport(), Qt::LeftButton, {}, RowCentre(0));
          break;
        case DoubleClickNothing:
          QTest::mouseDClick(list_->viewport(), Qt::LeftButton);
          break;
        case Enter:
        case Esc:
          QTest::keyClick(QApplication::focusWidget(),
                          step == Enter ? Qt::Key_Return : Qt::Key_Escape);
          break;
        case OK:
          QTest::mouseClick(ok_, Qt::LeftButton);
          break;
        case Cancel:
          QTest::mouseClick(Find<QPushButton>(*dialog_, "ButCancel"), Qt::LeftButton);
          break;
        case CloseBox:
          dialog_->close();
          break;
      }
    }
    EXPECT_EQ(dialog_->isVisible(), c.open);
    EXPECT_EQ(dialog_->Result, c.result);
    const std::map<std::string, std::string> folders{{"a", a_}, {"b", b_}, {"c", c_}, {"", ""}};
    EXPECT_EQ(dialog_->SelectedFolder(), folders.at(c.selected));
  }
}

}  // namespace
}  // namespace quorvella
