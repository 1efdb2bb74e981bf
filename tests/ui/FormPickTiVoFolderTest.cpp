// SPDX-License-Identifier: MIT
#include <QListWidget>

#include "tivo/PyTivoConfig.h"
#include "ui/WindowsFixture.h"

namespace quorvella {
namespace {

// The pick dialog over the windows' fixture; the published folders are real
// temporary folders A, B and C, listed in that order.
class PickTiVoFolder : public test::Windows {
 protected:
  void PublishABC() {
    a_ = env_.Folder("A"), b_ = env_.Folder("B"), c_ = env_.Folder("C");
    env_.Publish("1 A", a_), env_.Publish("2 B", b_), env_.Publish("3 C", c_);
  }
  FormPickTiVoFolder& OpenPick(const std::string& origFolder) {
    origFolder_ = origFolder;
    auto& pick = static_cast<FormPickTiVoFolder&>(Open(test::Win::Pick));
    list_ = Get<QListWidget>("ListFolders");
    return pick;
  }
  // The entries listed, the selected one marked with a star.
  std::vector<std::string> Entries() const {
    std::vector<std::string> entries;
    for (int row = 0; row < list_->count(); ++row) {
      // Appended: GCC 12 warns falsely (-Wrestrict) on "lit" + std::string.
      std::string entry = list_->item(row)->isSelected() ? "*" : "";
      entries.push_back(entry += list_->item(row)->text().toStdString());
    }
    return entries;
  }
  void ClickRow(int row) {
    QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, list_->visualItemRect(list_->item(row)).center());
    EXPECT_TRUE(Get("ButOK")->isEnabled());
  }
  void DoubleClick(int row) {
    QTest::mouseDClick(list_->viewport(), Qt::LeftButton, {},
                       row < 0 ? QPoint() : list_->visualItemRect(list_->item(row)).center());
  }

  std::string a_, b_, c_;
  QListWidget* list_ = nullptr;
};

// The music shares of pyTivo come after TiVo Desktop's folders. The first
// entry equal to the original folder, in any letter case and with spaces
// around, is selected, and only then is OK enabled.
TEST_F(PickTiVoFolder, ListsBothServersAndPreselectsTheFirstEntryEqualToTheOriginalFolder) {
  PublishABC();
  const std::string upperB = b_.substr(0, b_.size() - 1) + "b";  // .../folders/b
  env_.Publish("4 B again", b_);
  const std::string songs = env_.Folder("Songs");
  const std::string conf = env_.Folder("conf") + "/pyTivo.conf";
  std::ofstream(conf) << "[Server]\nport = 9032\n[Songs]\ntype = music\npath = " << songs
                      << "/\n[Films]\ntype = video\npath = " << a_ << "\n";
  SetPyTivoConfigSetting(reg_, conf);
  const std::pair<std::string, int> cases[] = {  // the folder, the row selected
      {b_, 1},      {"  " + b_ + "  ", 1}, {upperB, 1},
      {b_ + "/", -1},  // no separator normalising
      {"", -1},     {env_.Folder("D"), -1},  // not published
      {songs, 4},
  };
  for (const auto& [orig, selected] : cases) {
    SCOPED_TRACE(orig);
    OpenPick(orig);
    std::vector<std::string> rows{a_, b_, c_, b_, songs};
    if (selected >= 0) rows[static_cast<std::size_t>(selected)].insert(0, "*");
    EXPECT_EQ(Entries(), rows);
    EXPECT_EQ(Get("ButOK")->isEnabled(), selected >= 0);
  }
}

// What the user does, and what the caller reads once the dialog is gone.
TEST_F(PickTiVoFolder, ChoosingAndClosing) {
  const auto key = [this](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
  // The original folder and the one selected afterwards: "a", "b", "c" for the folders A, B, C.
  const struct { const char* what; bool published; const char* orig; std::function<void()> steps;
                 bool open; int result; const char* selected;
  } cases[] = {
      {"a click enables OK, the keyboard moves the selection, OK gives the folder", true, "",
       [&] { ClickRow(2), key(Qt::Key_Up), Click("ButOK"); }, false, 1, "b"},
      {"a double click takes the entry", true, "", [&] { ClickRow(0), DoubleClick(0); }, false, 1, "a"},
      {"Cancel after selecting", true, "a", [&] { ClickRow(1), Click("ButCancel"); }, false, 2, "b"},
      {"the close box leaves Result at 0", true, "a", [&] { window_->close(); }, false, 0, "a"},
      {"nothing listed: Enter and a double click do nothing", false, "/anything",
       [&] { key(Qt::Key_Return), DoubleClick(-1); }, true, 0, ""},
      {"nothing listed: Esc cancels", false, "/anything", [&] { key(Qt::Key_Escape); }, false, 2, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.published && a_.empty()) PublishABC();
    if (!c.published) std::filesystem::remove_all(env_.Root() / "data" / "TiVo Desktop");
    auto& pick = OpenPick(std::string(c.orig) == "a" ? a_ : c.orig);
    EXPECT_EQ(Get("ButOK")->isEnabled(), std::string(c.orig) == "a");
    c.steps();
    EXPECT_EQ(pick.isVisible(), c.open);
    EXPECT_EQ(pick.Result, c.result);
    const std::map<std::string, std::string> folders{{"a", a_}, {"b", b_}, {"c", c_}, {"", ""}};
    EXPECT_EQ(pick.SelectedFolder(), folders.at(c.selected));
  }
}

}  // namespace
}  // namespace quorvella
