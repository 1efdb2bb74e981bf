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
  for (const auto& [initial, prepared] : cases) EXPECT_EQ(PrepareBrowseFolder(initial), prepared) << initial;
}

TEST(BrowseFolderTitle, DefaultsWhenBlankAndDropsTheAccessKey) {
  const std::pair<const char*, const char*> cases[] = {{"", "Please select a folder:"},
                                                       {"   ", "Please select a folder:"},
                                                       {"Please select the &folder in which to create playlists:",
                                                        "Please select the folder in which to create playlists:"},
                                                       {" Rock && &Roll &", " Rock & Roll &"}};
  for (const auto& [title, shown] : cases) EXPECT_EQ(BrowseFolderTitle(title), shown) << title;
}

// Answers the folder dialog once it shows: a chosen folder, or a cancel.
void AnswerDialog(QString* title, QString* startFolder, const QString& choose) {
  QTimer::singleShot(0, [=] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return AnswerDialog(title, startFolder, choose);
    *title = dialog->windowTitle();
    *startFolder = dialog->directory().absolutePath();
    if (choose.isEmpty()) return dialog->reject();
    dialog->setDirectory(choose);
    dialog->selectFile(choose);
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides it
  });
}

// The folder dialog starts in the prepared folder under the title; a cancel
// gives the prepared folder back, a choice the folder chosen.
TEST(BrowseForFolder, GivesTheChosenFolderOrOnCancelThePreparedOne) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkdir("Chosen"));
  const QString chosen = dir.path() + "/Chosen";
  for (const QString& choose : {QString(), chosen}) {
    SCOPED_TRACE(choose.toStdString());
    QString title;
    QString startFolder;
    AnswerDialog(&title, &startFolder, choose);
    const std::string got = BrowseForFolder("  " + dir.path().toStdString() + "/  ", nullptr, "Pick the &folder:");
    EXPECT_EQ(got, (choose.isEmpty() ? dir.path() : chosen).toStdString());
    EXPECT_EQ(title, "Pick the folder:");
    EXPECT_EQ(startFolder, dir.path());
  }
}

}  // namespace
}  // namespace quorvella
