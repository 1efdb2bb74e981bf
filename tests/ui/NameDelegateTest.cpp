// SPDX-License-Identifier: MIT
// The kept layouts paint a name cell pixel for pixel as the standard
// delegate: checked or not, with or without its image, selected, in an
// enabled or disabled list, and a name too wide for its column.
#include "ui/NameDelegate.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QStyledItemDelegate>

#include "ui/PlaylistListWidget.h"

namespace quorvella {
namespace {

QImage Paint(PlaylistListWidget& list, QAbstractItemDelegate* delegate) {
  list.setItemDelegateForColumn(0, delegate);
  return list.grab().toImage();
}

TEST(NameDelegateTest, PaintsAsTheStandardDelegate) {
  struct Row {
    const char* name;
    PlaylistKindCode kind;
    bool checked;
  };
  const Row rows[] = {{"Mix", 1, true},  {"90's Music", 4, false}, {"Ohne Bild", 0, true},
                      {"Library", 8, false}, {"A name far too wide for its column, which is elided", 2, true}};
  for (const bool enabled : {true, false}) {
    SCOPED_TRACE(enabled ? "enabled" : "disabled");
    PlaylistListWidget list;
    list.resize(480, 200);
    for (const Row& row : rows) {
      const int at = list.AddRow(row.name);
      list.SetIcon(at, row.kind);
      list.SetChecked(at, row.checked);
      list.SetStatus(at, "Queued");
    }
    list.topLevelItem(1)->setSelected(true);
    list.setEnabled(enabled);
    list.show();
    QStyledItemDelegate standard;
    NameDelegate kept;
    const QImage expected = Paint(list, &standard);
    EXPECT_EQ(Paint(list, &kept), expected);
    EXPECT_EQ(Paint(list, &kept), expected) << "painted again from the kept layouts";
    list.setItemDelegateForColumn(0, nullptr);
  }
}

}  // namespace
}  // namespace quorvella
