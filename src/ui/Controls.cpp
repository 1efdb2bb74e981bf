// SPDX-License-Identifier: MIT
#include "ui/Controls.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <vector>

namespace quorvella {
namespace {

// Answers the group label's access key: a label whose buddy is a button
// would press it, which for an option button changes the choice.
class GroupFocus final : public QObject {
 public:
  GroupFocus(QLabel* label, std::initializer_list<QAbstractButton*> group)
      : QObject(label), group_(group) {
    label->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Shortcut || group_.empty()) {
      return QObject::eventFilter(watched, event);
    }
    QAbstractButton* target = group_.front();
    for (QAbstractButton* button : group_) {
      if (button->isChecked()) target = button;
    }
    if (target->isEnabled()) target->setFocus(Qt::ShortcutFocusReason);
    return true;
  }

 private:
  std::vector<QAbstractButton*> group_;
};

}  // namespace

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, Wrap wrap,
                 Qt::Alignment alignment) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromUtf8(name));
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(wrap == Wrap::Yes);
  label->setAlignment(alignment);
  return label;
}

QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromUtf8(name));
  button->setAutoDefault(true);
  // Set after autoDefault, whose frame some styles reserve room for.
  button->setMinimumWidth(button->sizeHint().width());
  return button;
}

QLabel* AddGroupLabel(QWidget* parent, const char* name, const QString& text,
                      std::initializer_list<QAbstractButton*> group) {
  QLabel* label = AddLabel(parent, name, text, Wrap::No, Qt::AlignLeft | Qt::AlignVCenter);
  // The buddy makes the access key and its underline; the filter decides
  // where the focus goes.
  if (group.size() > 0) label->setBuddy(*group.begin());
  new GroupFocus(label, group);
  return label;
}

}  // namespace quorvella
