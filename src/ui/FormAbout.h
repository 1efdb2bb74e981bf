// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include "platform/Desktop.h"

class QPushButton;

namespace quorvella {

class LinkLabel;

// The About box: the program's name and version, the legal notices and a
// link to the product's web page. OK, Enter and Esc all close it.
class FormAbout final : public QDialog {
  Q_OBJECT
 public:
  explicit FormAbout(Desktop& desktop, QWidget* parent = nullptr);

  void ButOK_Click();
  void LabLink_Click();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Desktop& desktop_;
  LinkLabel* labLink_ = nullptr;
  QPushButton* butOK_ = nullptr;
};

}  // namespace quorvella
