// SPDX-License-Identifier: MIT
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>

#include "tivo/PublishedFolders.h"
#include "tivo/WebAddresses.h"
#include "ui/WindowsFixture.h"

namespace quorvella {
namespace {

using test::Find;
using test::ModalScript;

const Message kNoSuchFolder{"The specified folder does not exist.", MsgIcon::Exclamation, MsgButtons::Ok,
                            MsgAnswer::Ok};

// The Options dialog over the windows' fixture: its registry file is read
// afresh to see that nothing was stored.
class Options : public test::Windows {
 protected:
  void Store(const char* name, const std::string& value) {
    reg_.RegSetString(Hive::CurrentUser, SettingsKey, name, value);
  }
  // The folder, DeleteEmptyOutput, EnhancedPlugInMode and UncheckedExts of
  // the settings, which store what they are given.
  std::vector<std::string> Stored() {
    return {settings_.GetPlaylistFolder(), std::to_string(settings_.GetDeleteEmptyOutput()),
            std::to_string(settings_.GetEnhancedPlugInMode()), settings_.GetUncheckedExts()};
  }
  std::string RegistryFile() { return FileRegistry(DefaultRegistryPath()).Export(); }
  void ConfigurePlugin(const std::string& customExts = "") {
    reg_.RegSetString(Hive::CurrentUser, PluginConfigKey, PluginCustomValueName, customExts);
  }
  // Boxes go to the scripted list unless real ones are asked for.
  FormOptions& Open(bool realBoxes = false) {
    realBoxes_ = realBoxes;
    dialog_ = static_cast<FormOptions*>(&Windows::Open(test::Win::Options));
    return *dialog_;
  }
  QTreeWidget& FileTypes() { return *Get<QTreeWidget>("ListFileTypes"); }
  // Clicks the check box of the file type's row.
  void Toggle(const char* ext) {
    const auto rows = FileTypes().findItems(QString::fromUtf8(ext), Qt::MatchExactly);
    ASSERT_EQ(rows.size(), 1) << ext;
    test::ClickCheckBox(FileTypes(), FileTypes().indexOfTopLevelItem(rows[0]));
  }
  std::string FolderShown() { return Get<QLabel>("LabPlaylistFolder")->text().toStdString(); }
  // The options as the dialog shows them: the folder, whether Open Folder
  // and the check box are on, the mode, then the rows of file types.
  std::vector<std::string> Shown() {
    std::vector<std::string> shown = test::RowTexts(FileTypes());
    const auto on = [](bool state) { return std::to_string(state); };
    const std::string states = on(Get("ButOpenFolder")->isEnabled()) +
                               on(Get<QCheckBox>("CheckDeleteEmptyOutput")->isChecked()) +
                               on(Get<QRadioButton>("OptEnhMode1")->isChecked());
    shown.insert(shown.begin(), {FolderShown(), states});
    return shown;
  }
  void ShowTab(int index) { Get<QTabWidget>("TabMain")->setCurrentIndex(index); }

  FormOptions* dialog_ = nullptr;
};

// Init shows what is stored. Cancel and the close box store nothing of what
// was changed; OK stores it all, asking nothing for a folder below a
// published one; the next Init shows it. Esc presses Cancel: the control
// tables hold that.
TEST_F(Options, CancelAndTheCloseBoxStoreNothingAndOKStoresEverything) {
  const std::string published = env_.Folder("Music"), below = env_.Folder("Music/Lists");
  env_.Publish("Music", published);
  Store("PlaylistFolder", published);
  ConfigurePlugin("flac,ape");
  const std::string before = RegistryFile();
  std::vector<std::string> stored{published, "110", "mp3|MP3 audio files|x", "aac|Protected (.M4A and .M4B) files|x",
                                  "wma|Windows Media files|x", "ogg|Ogg Vorbis files|x",
                                  "flac|FLAC (Free Lossless Audio Codec) files|x", "ape|Monkey's Audio files|x"};
  browseResult_ = below;
  for (const std::string close : {"ButCancel", "close box", "ButOK"}) {
    SCOPED_TRACE(close);
    Open();
    EXPECT_EQ(Shown(), stored);
    Click("ButBrowse");
    Click("ButOpenFolder");  // opens the folder shown, not yet stored
    ShowTab(1);
    Click("CheckDeleteEmptyOutput");
    Click("OptEnhMode1");
    Toggle("wma");
    ASSERT_EQ(FolderShown(), below);
    close == "close box" ? void(dialog_->close()) : Click(close.c_str());
    EXPECT_FALSE(dialog_->isVisible());
    EXPECT_EQ(dialog_->result(), close == "ButOK" ? QDialog::Accepted : QDialog::Rejected);
    if (close != "ButOK") { EXPECT_EQ(RegistryFile(), before); }
  }
  EXPECT_EQ(explored_, std::vector<std::string>(3, below));
  EXPECT_TRUE(boxes_.shown.empty());
  EXPECT_EQ(Stored(), (std::vector<std::string>{below, "0", "1", "+wma+"}));
  Open();
  stored[0] = below, stored[1] = "101", stored[4] = "wma|Windows Media files| ";
  EXPECT_EQ(Shown(), stored);
}

// OK asks about a folder not published, even one left as it was (here: none,
// an empty line), every time; No keeps the dialog open and stores nothing.
TEST_F(Options, OKAsksAboutAnUnpublishedFolderEveryTimeAndNoKeepsTheDialogOpen) {
  ConfigurePlugin();
  boxes_.answers = {MsgAnswer::No, MsgAnswer::Yes};
  Open();
  ShowTab(1);
  Click("CheckDeleteEmptyOutput");
  Click("OptEnhMode1");
  Toggle("aac");
  const std::string before = RegistryFile();
  Click("ButOK");
  EXPECT_TRUE(dialog_->isVisible());
  EXPECT_EQ(RegistryFile(), before);

  browseResult_ = env_.Folder("Not published");
  Click("ButBrowse");
  Click("ButOK");
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_EQ(Stored(), (std::vector<std::string>{browseResult_, "0", "1", "+aac+"}));
  EXPECT_EQ(
      boxes_.shown,
      (std::vector<Message>{
          {"The playlist folder which you have selected is:\r\n\r\n\r\nThis folder has not been published as a Music "
           "folder in TiVo Desktop, and therefore your TiVo box will not be able to play any playlists in this "
           "folder.\r\n\r\nAre you sure that you want to use this playlist folder?",
           MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::No},
          UnpublishedFolderQuestion(browseResult_)}));
}

// The plug-in's words in the explanation (kept inside it: the captions'
// test) and the lines below link to its page; Configure is offered only
// when the plug-in's program exists (hidden without a plug-in: the control
// tables).
TEST_F(Options, ThePluginsLinksAndConfigure) {
  Open();
  ShowTab(1);
  auto* link = Get<QLabel>("LabPlugIn");
  ASSERT_EQ(link->parentWidget(), Get<QLabel>("Label2"));
  EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
  for (const char* label : {"LabPlugIn", "Label13", "Label14"}) Click(label);
  EXPECT_EQ(desktop_.opened, std::vector<std::string>(2, std::string(PluginInfoAddress)));
  const std::string folder = env_.Folder("Plug-in");
  reg_.RegSetString(Hive::LocalMachine, PluginUninstallKey, PluginInstallLocationValueName, folder);
  Open();
  EXPECT_TRUE(Get<QPushButton>("ButConfigurePlugin")->isHidden());

  const std::string program = folder + "/TDUAP.exe";
  test::TempEnvironment::WriteFile(program);
  Open();
  ShowTab(1);
  ASSERT_TRUE(Get<QPushButton>("ButConfigurePlugin")->isVisible());
  Click("ButConfigurePlugin");
  desktop_.startError = "Permission denied";
  Click("ButConfigurePlugin");
  EXPECT_EQ(desktop_.started, std::vector<std::string>(2, program));
  EXPECT_EQ(boxes_.shown, std::vector<Message>{PluginStartFailureMessage(program, "Permission denied")});
  EXPECT_TRUE(dialog_->isVisible());
}

// Real message boxes: Enhanced mode without the plug-in is confirmed only
// when the user chooses it, and the MP3 row stays checked while others may
// be cleared.
TEST_F(Options, EnhancedModeWithoutThePluginIsConfirmedAndTheMp3RowStaysChecked) {
  Store("EnhancedPlugInMode", "True");
  ModalScript script;
  script.Answer(QMessageBox::NoButton).Answer(QMessageBox::Yes).Answer(QMessageBox::Ok);
  Open(true);
  ShowTab(1);
  // Opening in the stored mode asks nothing.
  QTest::qWait(20);
  EXPECT_TRUE(script.boxes.empty());
  EXPECT_TRUE(Get<QRadioButton>("OptEnhMode1")->isChecked());
  EXPECT_TRUE(FileTypes().isEnabled());

  Click("OptEnhMode0");
  EXPECT_FALSE(FileTypes().isEnabled());
  // Enter takes the default answer, No: back to Standard mode.
  Click("OptEnhMode1");
  EXPECT_TRUE(Get<QRadioButton>("OptEnhMode0")->isChecked());
  EXPECT_FALSE(FileTypes().isEnabled() || Get<QLabel>("LabListFileTypes")->isEnabled());
  Click("OptEnhMode1");
  EXPECT_TRUE(Get<QRadioButton>("OptEnhMode1")->isChecked());
  EXPECT_TRUE(FileTypes().isEnabled() && Get<QLabel>("LabListFileTypes")->isEnabled());

  // With the plug-in configured, Enhanced mode is not questioned.
  ConfigurePlugin();
  Click("OptEnhMode0");
  Click("OptEnhMode1");
  EXPECT_TRUE(FileTypes().isEnabled());

  for (const char* ext : {"mp3", "aac", "ogg", "ogg"}) Toggle(ext);
  const std::vector<std::string> shown = Shown();
  EXPECT_EQ(std::vector<std::string>(shown.begin() + 2, shown.begin() + 6), (std::vector<std::string>{
                "mp3|MP3 audio files|x", "aac|Protected (.M4A and .M4B) files| ",
                "wma|Windows Media files|x", "ogg|Ogg Vorbis files|x"}));
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(script.unexpected, 0);
  const QString question = QStringLiteral(
      "You should not choose Enhanced mode if you have not installed the Universal Audio Plug-in installed (or similar "
      "software). Without the plug-in (or similar software), your TiVo will only be able to play MP3 files, in which "
      "case you "
      "should stay in Standard mode.\n\nYou do not appear to have the Universal Audio Plug-in installed on this "
      "computer.\n\nAre "
      "you sure you want to use Enhanced mode?");
  const test::SeenBox asked{"Quorvella", question, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
                            QMessageBox::No};
  EXPECT_EQ(script.boxes, (std::vector<test::SeenBox>{
                asked, asked,
                {"Quorvella", "The file type \"mp3\" must remain checked.",
                 QMessageBox::Information, QMessageBox::Ok, QMessageBox::Ok}}));
}

TEST_F(Options, BrowseTakesOnlyAFolderThatExists) {
  const std::string current = env_.Folder("Current"), other = env_.Folder("Other");
  const std::string missing = (env_.Root() / "missing").string();
  const struct { std::string result; std::string shown; bool refused; } cases[] = {
      {other, other, false},    {"  " + other + "  ", other, false},
      {missing, current, true},  // also what a cancelled browser gives for a deleted folder
      {"", current, false},     {"   ", current, false},
  };
  Store("PlaylistFolder", "  " + current);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.result);
    boxes_.shown.clear();
    browsed_.clear();
    browseResult_ = c.result;
    Open();
    Click("ButBrowse");
    EXPECT_EQ(browsed_, (std::vector<std::pair<std::string, std::string>>{
                            {current, "Please select the &folder in which to create playlists:"}}));
    EXPECT_EQ(FolderShown(), c.shown);
    EXPECT_EQ(boxes_.shown, std::vector<Message>(c.refused, kNoSuchFolder));
  }
}

// Refused from Windows version 5.2 on; below it the dialog opens over this
// one, preselected, and its folder is taken if it still exists.
TEST_F(Options, PickTiVoFolderIsRefusedFrom52OnAndTakesThePickedFolderIfItStillExists) {
  const std::string a = env_.Folder("A"), b = env_.Folder("B");
  env_.Publish("A", a), env_.Publish("B", b);
  Store("PlaylistFolder", a);
  for (const WindowsVersion version : {WindowsVersion{5, 2}, {6, 0}, {10, 0}}) {
    windowsVersion_ = version;
    Open();
    ModalScript opened;  // a dialog that opens after all is closed
    opened.On<FormPickTiVoFolder>([](FormPickTiVoFolder& pick) { pick.reject(); });
    Click("ButPickTiVoFolder");
    EXPECT_FALSE(opened.Finished());
  }
  EXPECT_EQ(boxes_.shown,
            std::vector<Message>(3, {"This function is not supported on Windows Vista; please use the \"Pick "
                                     "Any Folder\" button instead.\r\n\r\nThis function will be supported in a "
                                     "future upgrade of Quorvella.",
                                     MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok}));
  boxes_.shown.clear();
  windowsVersion_ = {5, 1};
  Open();
  ModalScript script;
  script.On<FormPickTiVoFolder>([&](FormPickTiVoFolder& pick) {
    EXPECT_EQ(pick.SelectedFolder(), a);
    EXPECT_EQ(pick.pos(), dialog_->frameGeometry().topLeft() + QPoint(22, 22));
    auto* list = Find<QListWidget>(pick, "ListFolders");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    QTest::mouseClick(Find<QPushButton>(pick, "ButOK"), Qt::LeftButton);
  });
  Click("ButPickTiVoFolder");
  EXPECT_EQ(FolderShown(), b);
  windowsVersion_ = {0, 0};
  script.On<FormPickTiVoFolder>([&](FormPickTiVoFolder& pick) {
    EXPECT_EQ(pick.SelectedFolder(), b);
    std::filesystem::remove(b);
    QTest::mouseClick(Find<QPushButton>(pick, "ButOK"), Qt::LeftButton);
  });
  Click("ButPickTiVoFolder");
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(FolderShown(), b);
  EXPECT_EQ(boxes_.shown, std::vector<Message>{kNoSuchFolder});
}

}  // namespace
}  // namespace quorvella
