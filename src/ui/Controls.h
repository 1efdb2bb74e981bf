// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <Qt>
#include <initializer_list>

class QAbstractButton;
class QLabel;
class QPushButton;
class QWidget;

namespace quorvella {

enum class Wrap { No, Yes };

// A named label of plain text. Labels are read, never focused: an access
// key in the caption ("&List of ...") works once a buddy is set.
QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, Wrap wrap = Wrap::No,
                 Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);

// A named push button. Enter presses it while it has the focus, in a dialog
// and in a main window alike; in a dialog, Enter elsewhere presses the
// default button. It is never narrower than its caption needs in its own
// font and style, so no placement can clip the caption.
QPushButton* AddButton(QWidget* parent, const char* name, const QString& caption);

// A label that names a group of option buttons. Its access key moves the
// focus to the selected button of the group (the first one when none is
// selected) and leaves the selection as it was.
QLabel* AddGroupLabel(QWidget* parent, const char* name, const QString& text,
                      std::initializer_list<QAbstractButton*> group);

}  // namespace quorvella
