// SPDX-License-Identifier: MIT
// The kept layouts paint a status pixel for pixel as the standard delegate:
// plain, selected, in an inactive or disabled list, and a text too wide.
#include "ui/StatusDelegate.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QStyledItemDelegate>
#include <QTreeWidget>

namespace quorvella {
namespace {

QImage Paint(QTreeWidget& list, QAbstractItemDelegate* delegate) {
  list.setItemDelegateForColumn(1, delegate);
  return list.grab().toImage();
}

TEST(StatusDelegateTest, PaintsAsTheStandardDelegate) {
  const char* statuses[] = {"Queued", "Publishing...", "Done (200 songs)", "-", "",
                            "A status far too wide for its column, which is elided"};
  for (const bool enabled : {true, false}) {
    SCOPED_TRACE(enabled ? "enabled" : "disabled");
    QTreeWidget list;
    list.setColumnCount(2);
    list.setAllColumnsShowFocus(true);
    list.resize(320, 200);
    for (const char* status : statuses) {
      auto* item = new QTreeWidgetItem(&list, {QStringLiteral("Mix"), QString::fromUtf8(status)});
      item->setCheckState(0, Qt::Checked);
    }
    list.topLevelItem(1)->setSelected(true);
    list.setEnabled(enabled);
    list.show();
    QStyledItemDelegate standard;
    StatusDelegate kept;
    const QImage expected = Paint(list, &standard);
    EXPECT_EQ(Paint(list, &kept), expected);
    EXPECT_EQ(Paint(list, &kept), expected) << "painted again from the kept layouts";
    list.setItemDelegateForColumn(1, nullptr);
  }
}

}  // namespace
}  // namespace quorvella
