// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QPointer>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Desktop.h"
#include "platform/MessageBoxes.h"
#include "support/EnvironmentVariable.h"

// What the dialog tests share: a private set of XDG folders, a desktop that
// only records, scripted answers for modal windows, and ways to reach
// widgets by name.
namespace quorvella::test {

// Points XDG_DATA_HOME and XDG_CONFIG_HOME into a temporary folder for the
// life of the object, so no test sees or touches the user's own state.
class TempEnvironment {
 public:
  TempEnvironment() {
    for (const char* sub : {"data", "config"}) std::filesystem::create_directories(Root() / sub);
  }

  std::filesystem::path Root() const { return dir_.path().toStdString(); }

  // A new folder under the temporary root.
  std::string Folder(const std::string& name) const {
    const auto path = Root() / "folders" / name;
    std::filesystem::create_directories(path);
    return path.string();
  }

  // Publishes a folder to TiVo Desktop: a link in its music shortcut folder.
  void Publish(const std::string& shortcutName, const std::string& target) const {
    const auto shortcuts = Root() / "data" / "TiVo Desktop" / "Music";
    std::filesystem::create_directories(shortcuts);
    std::filesystem::create_directory_symlink(target, shortcuts / shortcutName);
  }

  static void WriteFile(const std::string& path) { std::ofstream(path) << "x"; }

 private:
  QTemporaryDir dir_;
  testing::ScopedEnvironmentVariable data_{"XDG_DATA_HOME", (Root() / "data").c_str()};
  testing::ScopedEnvironmentVariable config_{"XDG_CONFIG_HOME", (Root() / "config").c_str()};
};

// Records what would have opened or started.
struct RecordingDesktop final : Desktop {
  std::vector<std::string> opened, started;
  std::optional<std::string> startError;

  void ShellOpen(const std::string& target) override { opened.push_back(target); }
  std::optional<std::string> StartProgram(const std::string& commandLine) override {
    started.push_back(commandLine);
    return startError;
  }
};

// Message boxes answered from a list, recording what they said.
struct ScriptedBoxes final : MessageBoxes {
  std::vector<Message> shown;
  std::vector<MsgAnswer> answers;

  MsgAnswer Show(const Message& message) override {
    shown.push_back(message);
    if (message.buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    if (answers.empty()) return message.defaultButton;
    const MsgAnswer answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
};

// What a real message box showed.
struct SeenBox {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
  bool operator==(const SeenBox&) const = default;
};

inline void PrintTo(const SeenBox& box, std::ostream* out) {
  *out << box.title.toStdString() << ": \"" << box.text.toStdString() << "\" icon " << box.icon
       << " buttons " << box.buttons.toInt() << " default " << box.defaultButton;
}

// Acts on modal windows as they come up, one step per window, in order: a
// step waits for a modal window of its class. Message boxes are answered by
// clicking a button, or with Enter (their default button) for NoButton.
// Modal windows beyond the script are recorded and closed with Esc, so that
// a test never hangs.
class ModalScript {
 public:
  ModalScript() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
  }

  ModalScript& Answer(QMessageBox::StandardButton button) {
    return On<QMessageBox>([this, button](QMessageBox& box) {
      Record(box);
      if (button == QMessageBox::NoButton) return QTest::keyClick(&box, Qt::Key_Return);
      ASSERT_NE(box.button(button), nullptr) << "no such button in the box";
      QTest::mouseClick(box.button(button), Qt::LeftButton);
    });
  }

  template <class W>
  ModalScript& On(std::function<void(W&)> action) {
    steps_.push_back({&W::staticMetaObject, [action](QWidget* widget) { action(*static_cast<W*>(widget)); }});
    return *this;
  }

  bool Finished() const { return next_ == steps_.size(); }
  std::vector<SeenBox> boxes;
  int unexpected = 0;

 private:
  struct Step { const QMetaObject* type; std::function<void(QWidget*)> action; };

  void Record(const QMessageBox& box) {
    const auto preset = box.defaultButton();
    boxes.push_back({box.windowTitle(), box.text(), box.icon(), box.standardButtons(),
                     preset ? box.standardButton(preset) : QMessageBox::NoButton});
  }

  // An action may open further modal windows and wait for them. A timer
  // does not fire again while its own handler runs, so each action runs
  // from a single-shot timer of its own and the polling goes on inside the
  // nested event loops.
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    for (const auto& done : handled_) if (done == modal) return;
    QPointer<QWidget> target(modal);
    if (next_ < steps_.size() && modal->metaObject()->inherits(steps_[next_].type)) {
      handled_.push_back(target);
      Step step = steps_[next_++];
      QTimer::singleShot(0, modal, [step, target] { if (target) step.action(target); });
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      handled_.push_back(target);
      Record(*box);
      ++unexpected;
      QTimer::singleShot(0, box, [box] { QTest::keyClick(box, Qt::Key_Escape); });
    }
    // Any other window is one a test drives itself, or one a later step
    // waits for inside of.
  }

  QTimer timer_;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  std::vector<QPointer<QWidget>> handled_;
};

// The named widget inside root; fails the test when there is none.
template <class W>
W* Find(const QObject& root, const char* name) {
  W* widget = root.findChild<W*>(QString::fromUtf8(name));
  EXPECT_NE(widget, nullptr) << "no widget named " << name;
  return widget;
}

// Clicks the check box of a row of a report-style list, where the style
// draws it.
inline void ClickCheckBox(QTreeWidget& tree, int row) {
  QStyleOptionViewItem option;
  option.initFrom(tree.viewport());
  option.rect = tree.visualRect(tree.model()->index(row, 0));
  option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
  option.text = tree.topLevelItem(row)->text(0);
  const QRect check = tree.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &tree);
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, check.center());
}

// Each row of a report-style list, its columns joined by "|", then an "x"
// or a space for a check box.
inline std::vector<std::string> RowTexts(const QTreeWidget& tree) {
  std::vector<std::string> rows;
  for (int row = 0; row < tree.topLevelItemCount(); ++row) {
    const QTreeWidgetItem& item = *tree.topLevelItem(row);
    QStringList columns;
    for (int column = 0; column < tree.columnCount(); ++column) columns << item.text(column);
    if (item.data(0, Qt::CheckStateRole).isValid()) columns << (item.checkState(0) ? "x" : " ");
    rows.push_back(columns.join(QLatin1Char('|')).toStdString());
  }
  return rows;
}

// Shows a window and waits until it is the active one, so that keys reach it.
inline bool ShowActive(QWidget& window) {
  window.show();
  QApplication::setActiveWindow(&window);
  return QTest::qWaitForWindowActive(&window);
}

}  // namespace quorvella::test
