// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "library/LocationMappingStore.h"
#include "settings/FileRegistry.h"
#include "settings/RegUtil.h"
#include "shell/QtFileSystem.h"
#include "ui/DialogTestSupport.h"
#include "ui/FormMappings.h"

namespace quorvella {
namespace {

using test::Find;
using test::ModalScript;

// The dialog over a registry file in a private XDG_CONFIG_HOME, a library
// written on Windows whose songs were partly copied into temporary folders,
// and a recorded folder browser.
class Mappings : public ::testing::Test {
 protected:
  Mappings() {
    for (int i = 0; i < 3; ++i) {
      const std::string name = "Artist/Album/0" + std::to_string(i) + ".mp3";
      library_.paths.push_back(R"(C:\Users\Adam\Music\iTunes\iTunes Media\Music\)" + name);
      test::TempEnvironment::WriteFile(Copy("media/Music/Artist/Album") + "/0" + std::to_string(i) +
                                       ".mp3");
      library_.paths.push_back(R"(\\nas\music\Pop\Band\1)" + std::to_string(i) + ".mp3");
    }
    library_.paths.push_back(R"(C:\Users\Adam\Music\iTunes\iTunes Media\Music\Gone\x.mp3)");
    library_.musicFolder = R"(C:\Users\Adam\Music\iTunes\iTunes Media\)";
  }

  // A folder under the temporary root, made with its parents.
  std::string Copy(const std::string& relative) { return env_.Folder("copy/" + relative); }

  FormMappings& Open(bool realBoxes = false) {
    ShellFunctions shell;
    shell.browseForFolder = [this](std::string_view initial, QWidget* owner,
                                   std::string_view title) {
      EXPECT_EQ(initial, "");
      EXPECT_EQ(owner, dialog_.get());
      EXPECT_EQ(title, "Please select the &folder of this computer that holds these songs:");
      ++browsed_;
      return browseResult_;
    };
    dialog_ = std::make_unique<FormMappings>(MappingsDialogServices{reg_,
                                                                    files_,
                                                                    library_,
                                                                    problem_,
                                                                    {env_.Folder("copy")},
                                                                    shell,
                                                                    realBoxes ? nullptr : &boxes_});
    dialog_->show();
    return *dialog_;
  }
  template <class W>
  W* Get(const char* name) {
    return Find<W>(*dialog_, name);
  }
  void Click(const char* name) { QTest::mouseClick(Get<QPushButton>(name), Qt::LeftButton); }
  std::vector<std::string> Rows(const char* list) {
    std::vector<std::string> rows;
    const QTreeWidget* tree = Get<QTreeWidget>(list);
    for (int row = 0; row < tree->topLevelItemCount(); ++row) {
      std::string text;
      for (int column = 0; column < tree->columnCount(); ++column) {
        text += (column > 0 ? "|" : "") + tree->topLevelItem(row)->text(column).toStdString();
      }
      rows.push_back(text);
    }
    return rows;
  }
  // Adds through the input box and the browser: the box's text replaced by
  // `from` unless it is null, then OK.
  void Add(const char* from, const std::string& to, ModalScript& script) {
    browseResult_ = to;
    script.On<QInputDialog>([from](QInputDialog& box) {
      if (from != nullptr) box.setTextValue(QString::fromUtf8(from));
      box.accept();
    });
    Click("ButAdd");
  }
  LocationMappings Stored() {
    FileRegistry fresh(DefaultRegistryPath());
    return LoadLocationMappings(RegUtil(fresh));
  }

  test::TempEnvironment env_;  // first: the registry file lies in its XDG_CONFIG_HOME
  FileRegistry registry_{DefaultRegistryPath()};
  RegUtil reg_{registry_};
  QtFileSystem files_;
  test::ScriptedBoxes boxes_;
  LibraryLocations library_;
  std::string problem_;
  std::string browseResult_;
  int browsed_ = 0;
  std::unique_ptr<FormMappings> dialog_;
};

TEST_F(Mappings, ShowsEachRuleWithItsCountsAndTheFoldersStillMissing) {
  const std::string media = Copy("media");
  ASSERT_TRUE(SaveLocationMappings(
      reg_, LocationMappings(std::vector<LocationMapping>{
                {R"(C:\Users\Adam\Music\iTunes\iTunes Media)", media}, {"/Volumes/x", "/y"}})));
  Open();
  EXPECT_EQ(dialog_->windowTitle(), "Map Library Locations");
  EXPECT_EQ(dialog_->font().pointSize(), 8);
  EXPECT_EQ(
      Rows("ListMappings"),
      (std::vector<std::string>{R"(C:\Users\Adam\Music\iTunes\iTunes Media|)" + media + "|4|3",
                                "/Volumes/x|/y|0|0"}));
  EXPECT_EQ(Rows("ListMissing"), std::vector<std::string>{R"(\\nas\music\Pop\Band|3)"});
  EXPECT_EQ(Get<QLabel>("LabSummary")->text(),
            "7 songs in the library are files; 3 of them are found on this computer.");
  EXPECT_FALSE(Get<QPushButton>("ButRemove")->isEnabled());
}

TEST_F(Mappings, AddOffersTheMissingFolderAndBrowsesForItsCopy) {
  Open();
  EXPECT_EQ(Rows("ListMissing"),
            (std::vector<std::string>{R"(C:\Users\Adam\Music\iTunes\iTunes Media\Music|4)",
                                      R"(\\nas\music\Pop\Band|3)"}));
  Get<QTreeWidget>("ListMissing")->setCurrentItem(Get<QTreeWidget>("ListMissing")->topLevelItem(1));
  ModalScript script;
  QString offered;
  browseResult_ = Copy("nas/Band");
  script.On<QInputDialog>([&offered](QInputDialog& box) {
    offered = box.textValue();
    box.accept();
  });
  Click("ButAdd");
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(offered, R"(\\nas\music\Pop\Band)");
  EXPECT_EQ(Rows("ListMappings"),
            std::vector<std::string>{R"(\\nas\music\Pop\Band|)" + Copy("nas/Band") + "|3|0"});

  // The browser's trailing slash is dropped; the same From asks before it
  // replaces, and No keeps the rule.
  test::TempEnvironment::WriteFile(Copy("nas2/Band") + "/10.mp3");
  boxes_.answers = {MsgAnswer::No, MsgAnswer::Yes};
  Add(R"(\\NAS\Music\Pop\Band\)", Copy("nas2/Band") + "/", script);
  Add(R"(\\NAS\Music\Pop\Band\)", Copy("nas2/Band") + "/", script);
  ASSERT_EQ(boxes_.shown.size(), 2u);
  EXPECT_EQ(
      boxes_.shown[1],
      (Message{R"(The locations that begin with \\nas\music\Pop\Band are already mapped to )" +
                   Copy("nas/Band") + ".\r\n\r\nMap them to " + Copy("nas2/Band") + " instead?",
               MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::Yes}));
  EXPECT_EQ(Rows("ListMappings"),
            std::vector<std::string>{R"(\\NAS\Music\Pop\Band\|)" + Copy("nas2/Band") + "|3|1"});
  EXPECT_TRUE(Stored().Empty()) << "nothing is stored before OK";
}

TEST_F(Mappings, AddRefusesWhatCannotBeMapped) {
  Open();
  ModalScript script;
  Add("Music\\Rock", Copy("rock"), script);
  Add("C:\\Music", env_.Root().string() + "/no such folder", script);
  Add(nullptr, "", script);  // the browser cancelled
  EXPECT_EQ(browsed_, 2);
  ASSERT_EQ(boxes_.shown.size(), 2u);
  EXPECT_EQ(boxes_.shown[0].text,
            "\"Music\\Rock\" is not a full path: a location to map begins with a drive (C:\\), a "
            "network share (\\\\server\\share) or a slash (/Volumes/data).");
  EXPECT_EQ(boxes_.shown[1].text, "The specified folder does not exist.");
  EXPECT_EQ(boxes_.shown[1].icon, MsgIcon::Exclamation);
  EXPECT_TRUE(Rows("ListMappings").empty());
}

TEST_F(Mappings, SuggestAddsWhatTheUserAccepts) {
  Open();
  boxes_.answers = {MsgAnswer::No, MsgAnswer::Yes};
  Click("ButSuggest");
  EXPECT_TRUE(Rows("ListMappings").empty());
  Click("ButSuggest");
  ASSERT_EQ(boxes_.shown.size(), 2u);
  EXPECT_EQ(boxes_.shown[1].text,
            "These folders of this computer hold songs that are not found:\r\n\r\n"
            R"(C:\Users\Adam\Music\iTunes\iTunes Media)"
            "\r\n    to " +
                Copy("media") + "\r\n    (3 of 4 sampled songs found)\r\n\r\nAdd these mappings?");
  EXPECT_EQ(Rows("ListMappings"),
            std::vector<std::string>{R"(C:\Users\Adam\Music\iTunes\iTunes Media|)" + Copy("media") +
                                     "|4|3"});

  // With everything found or mapped there is nothing left to suggest.
  boxes_.shown.clear();
  Get<QTreeWidget>("ListMappings")
      ->setCurrentItem(Get<QTreeWidget>("ListMappings")->topLevelItem(0));
  Click("ButRemove");
  EXPECT_TRUE(Rows("ListMappings").empty());
  library_.paths = {Copy("media") + "/x.mp3"};
  test::TempEnvironment::WriteFile(library_.paths[0]);
  Open();
  Click("ButSuggest");
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].icon, MsgIcon::Information);
}

TEST_F(Mappings, OkStoresTheRulesAndCancelOrEscStoresNothing) {
  ModalScript script;
  Open();
  Add(R"(\\nas\music)", Copy("nas"), script);
  Click("ButCancel");
  EXPECT_EQ(dialog_->result(), QDialog::Rejected);
  EXPECT_TRUE(Stored().Empty());

  Open();
  Add(R"(\\nas\music)", Copy("nas"), script);
  ASSERT_TRUE(test::ShowActive(*dialog_));
  QTest::keyClick(dialog_.get(), Qt::Key_Escape);
  EXPECT_FALSE(dialog_->isVisible());
  EXPECT_TRUE(Stored().Empty());

  Open();
  Add(R"(\\nas\music)", Copy("nas"), script);
  Click("ButOK");
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_EQ(Stored().Rules(), (std::vector<LocationMapping>{{R"(\\nas\music)", Copy("nas")}}));
  EXPECT_TRUE(script.Finished());
}

TEST_F(Mappings, ALibraryThatCannotBeReadLeavesTheRulesEditable) {
  problem_ = "The iTunes library file \"x.xml\" is no longer there.";
  library_ = {};
  Open(true);
  EXPECT_EQ(Get<QLabel>("LabSummary")->text().toStdString(), problem_);
  EXPECT_FALSE(Get<QPushButton>("ButSuggest")->isEnabled());
  ModalScript script;
  script
      .On<QInputDialog>([](QInputDialog& box) {
        box.setTextValue(QStringLiteral("Music"));
        box.accept();
      })
      .Answer(QMessageBox::Ok);
  Click("ButAdd");
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0].title, "Quorvella");
  EXPECT_EQ(script.boxes[0].icon, QMessageBox::Warning);
  Add(R"(C:\Music)", Copy("x"), script);
  EXPECT_EQ(Rows("ListMappings"), std::vector<std::string>{R"(C:\Music|)" + Copy("x") + "||"});
}

// Pictures for a person to look at: the dialog with rules and missing
// folders, and the question Suggest asks.
TEST_F(Mappings, Screenshot) {
  const QString folder = qEnvironmentVariable("QUORVELLA_SCREENSHOTS");
  if (folder.isEmpty()) GTEST_SKIP() << "QUORVELLA_SCREENSHOTS is not set";
  ASSERT_TRUE(SaveLocationMappings(
      reg_, LocationMappings(std::vector<LocationMapping>{
                {R"(C:\Users\Adam\Music\iTunes\iTunes Media\Music)", Copy("media/Music")},
                {"/Volumes/data", "/mnt/data"}})));
  for (int i = 0; i < 40; ++i) {
    library_.paths.push_back(R"(E:\Music\Band )" + std::to_string(i % 4) + R"(\Album\)" +
                             std::to_string(i) + ".mp3");
  }
  Open(true);
  Get<QTreeWidget>("ListMappings")
      ->setCurrentItem(Get<QTreeWidget>("ListMappings")->topLevelItem(0));
  QTest::qWait(50);
  EXPECT_TRUE(dialog_->grab().save(folder + "/mappings.png"));
  ModalScript script;
  script.On<QMessageBox>([folder](QMessageBox& box) {
    QTest::qWait(50);
    EXPECT_TRUE(box.grab().save(folder + "/mappings-suggest.png"));
    QTest::keyClick(&box, Qt::Key_Escape);
  });
  test::TempEnvironment::WriteFile(Copy("nas/Pop/Band") + "/10.mp3");
  test::TempEnvironment::WriteFile(Copy("nas/Pop/Band") + "/11.mp3");
  Click("ButSuggest");
  EXPECT_TRUE(script.Finished());
}

}  // namespace
}  // namespace quorvella
