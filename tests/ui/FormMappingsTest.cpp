// SPDX-License-Identifier: MIT
#include <QInputDialog>
#include <QLabel>

#include "library/LocationMappingStore.h"
#include "ui/FormMappings.h"
#include "ui/WindowsFixture.h"

namespace quorvella {
namespace {

using test::Find;
using test::ModalScript;

const std::string kMedia = R"(C:\Users\Adam\Music\iTunes\iTunes Media)";

// The dialog over the windows' fixture and a library written on Windows
// whose songs were partly copied into temporary folders.
class Mappings : public test::Windows {
 protected:
  Mappings() {
    for (const char* song : {"A\\0.mp3", "A\\1.mp3", "A\\2.mp3"}) {
      locations_.paths.push_back(kMedia + "\\Music\\" + song);
      test::TempEnvironment::WriteFile(Copy("media/Music/A") + "/" + (song + 2));
      locations_.paths.push_back(std::string(R"(\\nas\music\Pop\)") + song);
    }
    locations_.paths.push_back(kMedia + R"(\Music\Gone\x.mp3)");
    locations_.musicFolder = kMedia + "\\";
  }
  std::string Copy(const std::string& relative) { return env_.Folder("copy/" + relative); }

  void Open(bool realBoxes = false) {
    window_ = std::make_unique<FormMappings>(MappingsDialogServices{
        reg_, files_, locations_, problem_, {Copy("")}, Shell(), realBoxes ? nullptr : &boxes_});
    window_->show();
  }
  QTreeWidget* List(const char* name) { return Get<QTreeWidget>(name); }
  std::vector<std::string> Rows(const char* name) { return test::RowTexts(*List(name)); }
  // Add: the input box's text (kept in offered_) replaced by `from` unless
  // it is null, then the browser answers `to`.
  void Add(const char* from, const std::string& to, ModalScript& script) {
    browseResult_ = to;
    script.On<QInputDialog>([this, from](QInputDialog& box) {
      offered_ = box.textValue();
      if (from != nullptr) box.setTextValue(QString::fromUtf8(from));
      box.accept();
    });
    Click("ButAdd");
  }
  std::vector<LocationMapping> Stored() {
    FileRegistry fresh(DefaultRegistryPath());
    return LoadLocationMappings(RegUtil(fresh)).Rules();
  }

  LibraryLocations locations_;
  std::string problem_;
  QString offered_;
};

// Suggest adds what the user accepts; Remove takes a rule away; Add offers
// the missing folder selected.
TEST_F(Mappings, SuggestRemoveAndAddWhichAsksBeforeItReplaces) {
  Open();
  EXPECT_EQ(Rows("ListMissing"),
            (std::vector<std::string>{kMedia + R"(\Music|4)", R"(\\nas\music\Pop\A|3)"}));
  boxes_.answers = {MsgAnswer::No, MsgAnswer::Yes};
  Click("ButSuggest");
  EXPECT_TRUE(Rows("ListMappings").empty());
  Click("ButSuggest");
  ASSERT_EQ(boxes_.shown.size(), 2u);
  EXPECT_EQ(boxes_.shown[1].text, "These folders of this computer hold songs that are not found:\r\n\r\n" + kMedia +
                "\r\n    to " + Copy("media") + "\r\n    (3 of 4 sampled songs found)\r\n\r\nAdd these mappings?");
  EXPECT_EQ(Rows("ListMappings"), std::vector<std::string>{kMedia + "|" + Copy("media") + "|4|3"});

  List("ListMappings")->setCurrentItem(List("ListMappings")->topLevelItem(0));
  Click("ButRemove");
  EXPECT_TRUE(Rows("ListMappings").empty());
  boxes_.shown.clear();
  List("ListMissing")->setCurrentItem(List("ListMissing")->topLevelItem(1));
  ModalScript script;
  Add(nullptr, Copy("nas"), script);
  EXPECT_EQ(offered_, R"(\\nas\music\Pop\A)");
  EXPECT_EQ(Rows("ListMappings"),
            std::vector<std::string>{R"(\\nas\music\Pop\A|)" + Copy("nas") + "|3|0"});

  // The same place in other letters and separators asks first: No keeps the
  // rule, Yes replaces it; the browser's trailing slash is dropped.
  test::TempEnvironment::WriteFile(Copy("nas2") + "/0.mp3");
  boxes_.answers = {MsgAnswer::No, MsgAnswer::Yes};
  Add(R"(\\NAS/Music/Pop/A/)", Copy("nas2") + "/", script);
  Add(R"(\\NAS\Music\Pop\A\)", Copy("nas2") + "/", script);
  ASSERT_EQ(boxes_.shown.size(), 2u);
  EXPECT_EQ(boxes_.shown[1], (Message{R"(The locations that begin with \\nas\music\Pop\A are already mapped to )" +
                                          Copy("nas") + ".\r\n\r\nMap them to " + Copy("nas2") + " instead?",
                                      MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::Yes}));
  EXPECT_EQ(Rows("ListMappings"),
            std::vector<std::string>{R"(\\NAS\Music\Pop\A\|)" + Copy("nas2") + "|3|1"});
  EXPECT_TRUE(Stored().empty()) << "nothing is stored before OK";
}

// OK stores the rules, Cancel and Esc nothing; the dialog opens with the
// stored rules, their counts, and the folders still missing.
TEST_F(Mappings, OkStoresTheRulesAndCancelOrEscStoresNothing) {
  ModalScript script;
  for (const char* close : {"Cancel", "Esc", "OK"}) {
    SCOPED_TRACE(close);
    Open();
    Add(kMedia.c_str(), Copy("media"), script);
    ASSERT_TRUE(test::ShowActive(*window_));
    close == std::string("Esc") ? QTest::keyClick(window_.get(), Qt::Key_Escape)
                                : Click(close == std::string("OK") ? "ButOK" : "ButCancel");
    EXPECT_FALSE(window_->isVisible());
  }
  EXPECT_EQ(static_cast<QDialog&>(*window_).result(), QDialog::Accepted);
  EXPECT_EQ(Stored(), (std::vector<LocationMapping>{{kMedia, Copy("media")}}));
  Open();
  EXPECT_EQ(window_->windowTitle(), "Map Library Locations");
  EXPECT_EQ(window_->font().pointSize(), 8);
  EXPECT_EQ(Rows("ListMappings"), std::vector<std::string>{kMedia + "|" + Copy("media") + "|4|3"});
  EXPECT_EQ(Rows("ListMissing"), std::vector<std::string>{R"(\\nas\music\Pop\A|3)"});
  EXPECT_EQ(Find<QLabel>(*window_, "LabSummary")->text(),
            "7 songs in the library are files; 3 of them are found on this computer.");
  EXPECT_FALSE(Find<QPushButton>(*window_, "ButRemove")->isEnabled());
}

// Add refuses a From that is not a full path before browsing, and a folder
// that does not exist; with a library that cannot be read, the rules stay
// editable, counted as nothing.
TEST_F(Mappings, AddRefusesWhatCannotBeMappedAndAnUnreadableLibraryLeavesTheRulesEditable) {
  problem_ = "The iTunes library file \"x.xml\" is no longer there.";
  locations_ = {};
  Open();
  EXPECT_EQ(Find<QLabel>(*window_, "LabSummary")->text().toStdString(), problem_);
  EXPECT_FALSE(Find<QPushButton>(*window_, "ButSuggest")->isEnabled());
  ModalScript script;
  Add("Music\\Rock", Copy("rock"), script);
  Add("C:\\Music", env_.Root().string() + "/no such folder", script);
  Add("D:\\Songs", "", script);  // the browser cancelled
  Add(R"(C:\Music)", Copy("x"), script);
  // A From that cannot be mapped is refused before browsing.
  EXPECT_EQ(browsed_, (std::vector<std::pair<std::string, std::string>>(
                          3, {"", "Please select the &folder of this computer that holds these songs:"})));
  const auto warning = [](std::string text) {
    return Message{std::move(text), MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok};
  };
  EXPECT_EQ(boxes_.shown,
            (std::vector<Message>{
                warning("\"Music\\Rock\" is not a full path: a location to map begins with a drive (C:\\), a "
                        "network share (\\\\server\\share) or a slash (/Volumes/data)."),
                warning("The specified folder does not exist.")}));
  EXPECT_EQ(Rows("ListMappings"), std::vector<std::string>{R"(C:\Music|)" + Copy("x") + "||"});
}

// File > Map Library Locations... in the main window.
TEST_F(Mappings, TheMainWindowReadsItsLibraryAgainAfterOk) {
  auto second = std::make_shared<test::FakeITunes>();
  second->AddPlaylist("Read again");
  std::vector<std::string> opened;
  openLibrary_ = [&](const std::string& path) -> std::shared_ptr<IiTunes> {
    opened.push_back(path);
    return opened.size() == 1 ? library_ : second;
  };
  readLocations_ = [this](const std::string& path) {
    EXPECT_EQ(path, "");
    return locations_;
  };
  Windows::Open(test::Win::Main);
  ModalScript script;
  QString summary;
  for (const char* button : {"ButCancel", "ButOK"}) {
    script.On<FormMappings>([button, &summary](FormMappings& dialog) {
      summary = Find<QLabel>(dialog, "LabSummary")->text();
      QTest::mouseClick(Find<QPushButton>(dialog, button), Qt::LeftButton);
    });
  }
  Trigger("ItemFileMapLocations");
  EXPECT_EQ(summary, "7 songs in the library are files; 0 of them are found on this computer.");
  EXPECT_EQ(opened.size(), 1u);
  Trigger("ItemFileMapLocations");
  EXPECT_EQ(opened, (std::vector<std::string>{"", ""}));
  auto* list = Get<QTreeWidget>("ListPlaylists");
  ASSERT_EQ(list->topLevelItemCount(), 1);
  EXPECT_EQ(list->topLevelItem(0)->text(0), "Read again");
}

// Pictures for a person to look at: the dialog, and the question Suggest asks.
TEST_F(Mappings, Screenshot) {
  if (shots_.isEmpty()) GTEST_SKIP() << "QUORVELLA_SCREENSHOTS is not set";
  const std::vector<LocationMapping> rules{{kMedia + "\\Music", Copy("media/Music")}, {"/Volumes/data", "/mnt/data"}};
  ASSERT_TRUE(SaveLocationMappings(reg_, LocationMappings(rules)));
  for (int i = 0; i < 40; ++i) locations_.paths.push_back(R"(E:\Music\B\)" + std::to_string(i));
  for (const char* song : {"/0.mp3", "/1.mp3"}) std::ofstream(Copy("nas/Pop/A") + song) << "x";
  Open(true);
  List("ListMappings")->setCurrentItem(List("ListMappings")->topLevelItem(0));
  Shoot(*window_, "mappings");
  ModalScript script;
  ShootNextBox(script, "mappings-suggest", Qt::Key_Escape);
  Click("ButSuggest");
  EXPECT_TRUE(script.Finished());
}

}  // namespace
}  // namespace quorvella
