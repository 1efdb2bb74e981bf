// SPDX-License-Identifier: MIT
// The list's kept layouts paint its names and statuses pixel for pixel as
// the standard delegate: checked or not, with or without an image, selected,
// in an enabled or disabled list, blank, and too wide for the column.
#include "ui/PlaylistListWidget.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QStyledItemDelegate>

namespace quorvella {
namespace {

TEST(PlaylistListWidgetTest, NamesAndStatusesPaintAsTheStandardDelegate) {
  const struct { const char* name; PlaylistKindCode kind; bool checked; const char* status;
  } rows[] = {{"Mix", 1, true, "Queued"},
              {"90's Music", 4, false, "Publishing..."},
              {"Ohne Bild", 0, true, "Done (200 songs)"},
              {"Library", 8, false, "-"},
              {"Empty", 3, true, ""},
              {"A name far too wide for its column, which is elided", 2, true,
               "A status far too wide for its column, which is elided as well"}};
  for (const bool enabled : {true, false}) {
    PlaylistListWidget list;
    list.resize(560, 200);
    for (const auto& row : rows) {
      const int at = list.AddRow(row.name);
      list.SetIcon(at, row.kind);
      list.SetChecked(at, row.checked);
      list.SetStatus(at, row.status);
    }
    list.topLevelItem(1)->setSelected(true);
    list.setEnabled(enabled);
    list.show();
    for (const int column : {0, 1}) {
      SCOPED_TRACE(::testing::Message() << (enabled ? "enabled" : "disabled") << " column "
                                        << column);
      QAbstractItemDelegate* kept = list.itemDelegateForColumn(column);
      const QImage painted = list.grab().toImage();
      EXPECT_EQ(list.grab().toImage(), painted) << "painted again from the kept layouts";
      QStyledItemDelegate standard;
      list.setItemDelegateForColumn(column, &standard);
      EXPECT_EQ(list.grab().toImage(), painted);
      list.setItemDelegateForColumn(column, kept);
    }
  }
}

}  // namespace
}  // namespace quorvella
