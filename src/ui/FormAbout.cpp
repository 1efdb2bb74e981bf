// SPDX-License-Identifier: MIT
#include "ui/FormAbout.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "platform/Text.h"
#include "tivo/WebAddresses.h"
#include "ui/Artwork.h"
#include "ui/Controls.h"
#include "ui/LinkLabel.h"
#include "ui/Twips.h"

namespace quorvella {
namespace {

QFont SizedFont(const QFont& base, qreal points, bool bold) {
  QFont font = base;
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

}  // namespace

FormAbout::FormAbout(Desktop& desktop, QWidget* parent) : QDialog(parent), desktop_(desktop) {
  setObjectName(QStringLiteral("FormAbout"));
  setWindowTitle(QStringLiteral("About Quorvella"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  UseDesignFont(this);
  // Designed 5055 twips wide; "Please visit our web site..." is wider than
  // that in today's sans-serif fonts at 8 points, so the box widens by what
  // the line lacks (345 instead of 337 pixels at 96 dpi with DejaVu Sans).
  TwipsLayout layout(this, 5055, 4215);

  auto* imgLogo = new QLabel(this);
  imgLogo->setObjectName(QStringLiteral("ImgLogo"));
  imgLogo->setPixmap(ProgramPixmap(32));
  layout.Place(imgLogo, 240, 240, 480, 480);

  QLabel* label1 = AddLabel(this, "Label1", QStringLiteral("Quorvella"));
  label1->setFont(SizedFont(font(), 12, true));
  layout.Place(label1, 1080, 240, 1185, 315);
  QLabel* label5 = AddLabel(this, "Label5", QString(QChar(0x2122)));
  label5->setFont(SizedFont(font(), 11.25, false));
  layout.Place(label5, 2280, 240, 375, 210);
  layout.Place(AddLabel(this, "Label2", QStringLiteral("Version 1.3")), 1080, 600, 1695, 210);
  layout.Place(AddLabel(this, "Label3",
                        QStringLiteral("Copyright \u00A9 Brenlow Software.\n"
                                       "Distributed under the MIT License.")),
               240, 1080, 4335, 405);
  layout.Place(AddLabel(this, "Label7",
                        QStringLiteral("The Universal Audio Plug-in is separate software.\n"
                                       "It is the property of its own authors.\n"
                                       "Use the link on the Web menu for more information.")),
               240, 1560, 4335, 615);
  layout.Place(
      AddLabel(this, "Label4",
               QStringLiteral("TiVo and iTunes are registered trademarks of their respective "
                              "owners."),
               Wrap::Yes),
      240, 2280, 4335, 495);
  layout.Place(
      AddLabel(this, "Label6",
               QStringLiteral("Please visit our web site for current product information:")),
      240, 2925, 4335, 210);

  labLink_ = new LinkLabel(
      QString::fromUtf8(HomePageAddress.data(), static_cast<qsizetype>(HomePageAddress.size())),
      true, this);
  labLink_->setObjectName(QStringLiteral("LabLink"));
  layout.Place(labLink_, 480, 3165, 3495, 210);
  connect(labLink_, &LinkLabel::clicked, this, &FormAbout::LabLink_Click);

  butOK_ = AddButton(this, "ButOK", QStringLiteral("OK"));
  butOK_->setDefault(true);
  layout.Place(butOK_, 3360, 3600, 1215, 375, TwipsLayout::Grow::Left);
  connect(butOK_, &QPushButton::clicked, this, &FormAbout::ButOK_Click);
  layout.Apply();

  // The name in its larger font is as wide as its text, and the trade mark
  // sign stands right where the name ends, as designed.
  const QSize name = label1->sizeHint();
  label1->resize(name.width(), std::max(label1->height(), name.height()));
  label5->move(label1->x() + name.width(), label5->y());
  const QSize mark = label5->sizeHint();
  label5->resize(std::max(label5->width(), mark.width()),
                 std::max(label5->height(), mark.height()));

  // Labels never take the focus, so the button has it.
  butOK_->setFocus();
}

void FormAbout::ButOK_Click() { accept(); }

void FormAbout::LabLink_Click() { desktop_.ShellOpen(LowerCase(labLink_->text().toStdString())); }

void FormAbout::keyPressEvent(QKeyEvent* event) {
  // OK is the cancel button as well: Esc presses it.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    butOK_->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace quorvella
