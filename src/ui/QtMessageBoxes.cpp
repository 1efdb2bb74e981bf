// SPDX-License-Identifier: MIT
#include "ui/QtMessageBoxes.h"

#include <QMessageBox>

namespace quorvella {
namespace {

QMessageBox::Icon IconOf(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Information:
      return QMessageBox::Information;
    case MsgIcon::Exclamation:
      return QMessageBox::Warning;
    case MsgIcon::Question:
      return QMessageBox::Question;
    case MsgIcon::Critical:
      return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

MsgAnswer QtMessageBoxes::Show(const Message& message) {
  // Texts are joined with CR LF as on the system they were written for; a
  // label shows the CR as a stray gap, so only the line feed stays.
  QString text = QString::fromStdString(message.text);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

  QMessageBox box(IconOf(message.icon), QString::fromUtf8(kProgramTitle), text,
                  QMessageBox::NoButton, parent_);
  box.setObjectName(QStringLiteral("MessageBox"));
  box.setTextFormat(Qt::PlainText);
  if (message.buttons == MsgButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(message.defaultButton == MsgAnswer::Yes ? QMessageBox::Yes
                                                                 : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
  }
  const int result = box.exec();
  if (message.buttons == MsgButtons::Ok) return MsgAnswer::Ok;
  return result == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

}  // namespace quorvella
