// SPDX-License-Identifier: MIT
#include <QLabel>
#include <QListWidget>

#include "engine/StalePlaylists.h"
#include "settings/PublishedFiles.h"
#include "ui/WindowsFixture.h"

namespace quorvella {
namespace {

namespace fs = std::filesystem;

// A file of the playlist folder and what the record says of it: whether a
// playlist of the library writes this name now (current), whether the user
// changed it before the dialog opened, unchecks it in the dialog, changes it
// while the dialog is open; the list's row for it (null: not listed), and
// where it stays.
struct Entry {
  const char* name;
  bool onDisk, recorded, current, changedBefore, uncheck, changedAfter;
  const char* row;
  bool staysInFolder, staysInRecord;
};

const Entry kEntries[] = {
    {"Old.m3u", true, true, false, false, false, false, "Old.m3u", false, false},
    {"Kept.m3u", true, true, false, false, true, false, "Kept.m3u", true, true},
    {"Edited.m3u", true, true, false, true, false, false, "Edited.m3u  (changed since it was written; left alone)",
     true, false},
    {"Late.m3u", true, true, false, false, false, true, "Late.m3u", true, false},
    {"Mix.m3u", true, true, true, false, false, false, nullptr, true, true},
    {"Mine.m3u", true, false, false, false, false, false, nullptr, true, false},
    {"Gone.m3u", false, true, false, false, false, false, nullptr, false, false},
};

// The dialog over a real playlist folder, a record in the fixture's registry
// file and the real trash in a private XDG_DATA_HOME.
class StaleDialog : public test::Windows {
 protected:
  std::string Path(const char* name) const { return folder_ + "/" + name; }
  void Write(const char* name, const char* text) { std::ofstream(Path(name)) << text; }

  void Prepare(const std::vector<Entry>& entries) {
    std::vector<PublishedFile> record;
    std::int32_t id = 1;
    for (const Entry& entry : entries) {
      if (entry.onDisk) Write(entry.name, "#EXTM3U\r\n");
      const auto stamp = StampOf(Path(entry.name)).value_or(FileStamp{9, 9});
      if (entry.recorded) record.push_back({entry.name, id, stamp.size, stamp.mtimeNs});
      if (entry.current) names_[id] = entry.name;
      if (entry.changedBefore) Write(entry.name, "#EXTM3U\r\nmine.mp3\r\n");
      ++id;
    }
    ASSERT_TRUE(SavePublishedFiles(registry_, folder_, record));
  }
  void Open() {
    window_ = std::make_unique<FormStalePlaylists>(StaleDialogServices{registry_, files_, folder_, names_, &boxes_});
    window_->show();
  }
  QListWidget& List() { return *Get<QListWidget>("ListStale"); }
  bool InRecord(const char* name) {
    for (const PublishedFile& file : LoadPublishedFiles(registry_, folder_)) if (file.name == name) return true;
    return false;
  }

  std::string folder_ = env_.Folder("Lists");
  std::map<std::int32_t, std::string> names_;
};

// Cancel changes nothing; OK trashes the checked files that are still as
// written; a list with nothing stale says so and changes nothing either.
TEST_F(StaleDialog, OkTrashesTheCheckedFilesThatAreStillAsWritten) {
  Prepare({std::begin(kEntries), std::end(kEntries)});
  Open();
  Click("ButCancel");
  for (const Entry& entry : kEntries) EXPECT_EQ(InRecord(entry.name), entry.recorded);
  EXPECT_TRUE(fs::exists(Path("Old.m3u")));
  Open();
  EXPECT_FALSE(Get<QLabel>("Label1")->text().startsWith("No playlist file is stale"));
  EXPECT_TRUE(List().isEnabled());
  // Each row with whether it can be checked (c) and is (x), in the table's
  // order; the user unchecks or changes files as the table says.
  std::vector<std::string> rows, expected;
  for (const Entry& entry : kEntries) {
    if (entry.row == nullptr) continue;
    expected.push_back(std::string(entry.changedBefore ? "- " : "cx") + entry.row);
    QListWidgetItem* item = List().item(static_cast<int>(rows.size()));
    if (item == nullptr) break;
    rows.push_back(std::string(item->flags().testFlag(Qt::ItemIsUserCheckable) ? "c" : "-") +
                   (item->checkState() == Qt::Checked ? "x" : " ") + item->text().toStdString());
    if (entry.uncheck) item->setCheckState(Qt::Unchecked);
    if (entry.changedAfter) Write(entry.name, "#EXTM3U\r\nmine.mp3\r\n");
  }
  EXPECT_EQ(List().count(), static_cast<int>(expected.size()));
  EXPECT_EQ(rows, expected);

  Click("ButOK");
  EXPECT_EQ(static_cast<QDialog&>(*window_).result(), QDialog::Accepted);
  for (const Entry& entry : kEntries) {
    EXPECT_EQ(fs::exists(Path(entry.name)), entry.staysInFolder) << entry.name;
    EXPECT_EQ(InRecord(entry.name), entry.staysInRecord) << entry.name;
    const bool trashed = entry.onDisk && !entry.staysInFolder;
    EXPECT_EQ(fs::exists(env_.Root() / "data/Trash/files" / entry.name), trashed) << entry.name;
  }
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].text, "These playlist files were left in place:\r\n\r\n" +
                                      Path("Late.m3u") + " (it was changed since it was written)");

  boxes_.shown.clear();
  Prepare({kEntries[4]});  // Mix.m3u: written for a playlist of the library
  Open();
  EXPECT_TRUE(Get<QLabel>("Label1")->text().startsWith("No playlist file is stale"));
  EXPECT_EQ(List().count(), 0);
  EXPECT_FALSE(List().isEnabled());
  Click("ButOK");
  EXPECT_TRUE(fs::exists(Path("Mix.m3u")) && InRecord("Mix.m3u"));
  EXPECT_TRUE(boxes_.shown.empty());
}

}  // namespace
}  // namespace quorvella
