// SPDX-License-Identifier: MIT
#include "ui/BrowseForFolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

namespace quorvella {
namespace {

// Trimmed again after the separator goes; a blank title takes the default,
// and "&&" shows as "&". The dialog's test below holds the rest.
TEST(BrowseForFolder, PreparesTheFolderAndTheTitle) {
  EXPECT_EQ(PrepareBrowseFolder("D:\\Lists \\"), "D:\\Lists");
  EXPECT_EQ(BrowseFolderTitle("   "), "Please select a folder:");
  EXPECT_EQ(BrowseFolderTitle(" Rock && &Roll &"), " Rock & Roll &");
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

// The folder dialog starts in the prepared folder (trimmed, without the
// trailing separator) under the title without its access key; a cancel
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
