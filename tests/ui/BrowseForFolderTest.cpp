// SPDX-License-Identifier: MIT
#include "ui/BrowseForFolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

namespace quorvella {
namespace {

TEST(PrepareBrowseFolder, TrimsAndDropsOneTrailingSeparator) {
  const std::pair<const char*, const char*> cases[] = {
      {"D:\\Lists\\", "D:\\Lists"},     {"D:\\", "D:"},
      {"  D:\\Lists\\  ", "D:\\Lists"}, {"D:\\Lists \\", "D:\\Lists"},
      {"/srv/lists/", "/srv/lists"},    {"/", "/"},
      {"   ", ""},
  };
  for (const auto& [initial, prepared] : cases) {
    EXPECT_EQ(PrepareBrowseFolder(initial), prepared) << initial;
  }
}

TEST(BrowseFolderTitle, DefaultsWhenBlankAndDropsTheAccessKey) {
  EXPECT_EQ(BrowseFolderTitle(""), "Please select a folder:");
  EXPECT_EQ(BrowseFolderTitle("   "), "Please select a folder:");
  EXPECT_EQ(BrowseFolderTitle("Please select the &folder in which to create playlists:"),
            "Please select the folder in which to create playlists:");
  EXPECT_EQ(BrowseFolderTitle(" Rock && &Roll &"), " Rock & Roll &");
}

// Answers the folder dialog once it shows: a chosen folder, or a cancel.
void AnswerDialog(QString* title, QString* startFolder, const QString& choose) {
  QTimer::singleShot(0, [=] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return AnswerDialog(title, startFolder, choose);
    *title = dialog->windowTitle();
    *startFolder = dialog->directory().absolutePath();
    if (choose.isEmpty()) {
      dialog->reject();
    } else {
      dialog->setDirectory(choose);
      dialog->selectFile(choose);
      static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides it
    }
  });
}

TEST(BrowseForFolder, CancelGivesThePreparedFolder) {
  QTemporaryDir dir;
  QString title;
  QString startFolder;
  AnswerDialog(&title, &startFolder, {});
  const std::string initial = "  " + dir.path().toStdString() + "/  ";
  EXPECT_EQ(BrowseForFolder(initial, nullptr, ""), dir.path().toStdString());
  EXPECT_EQ(title, "Please select a folder:");
  EXPECT_EQ(startFolder, dir.path());
}

TEST(BrowseForFolder, GivesTheChosenFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkdir("Chosen"));
  const QString chosen = dir.path() + "/Chosen";
  QString title;
  QString startFolder;
  AnswerDialog(&title, &startFolder, chosen);
  EXPECT_EQ(BrowseForFolder(dir.path().toStdString(), nullptr, "Pick the &folder:"),
            chosen.toStdString());
  EXPECT_EQ(title, "Pick the folder:");
}

}  // namespace
}  // namespace quorvella
