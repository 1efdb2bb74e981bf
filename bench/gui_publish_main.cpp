// SPDX-License-Identifier: MIT
// quorvella-gui-publish [--list-only]: the window's full publish for the
// benchmark. Opens the main window on the configured library, waits for the
// list, presses Check All and Publish as a user would, answers the report's
// boxes and quits; with --list-only it quits as soon as the list is filled.
// Run it with QT_QPA_PLATFORM=offscreen.
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include "app/GuiServices.h"
#include "platform/Heap.h"
#include "shell/QtDesktop.h"

namespace {

class BoxAnswerer final : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      if (auto* box = qobject_cast<QMessageBox*>(watched)) {
        QTimer::singleShot(0, box, [box] {
          (box->escapeButton() ? box->escapeButton() : box->defaultButton())->click();
        });
      }
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  quorvella::ShareOneHeap();  // as the window does
  QElapsedTimer clock;
  clock.start();
  QApplication application(argc, argv);
  const bool listOnly = QApplication::arguments().contains(QStringLiteral("--list-only"));
  using namespace quorvella;
  AppServices app(std::make_unique<QtDesktop>());
  FormMain window(MakeFormMainServices(app));
  window.show();

  // The report's boxes are answered with their escape button (OK or No)
  // as soon as they show, so that the harness adds no waiting of its own.
  BoxAnswerer answerer;
  application.installEventFilter(&answerer);

  auto* list = window.findChild<QTreeWidget*>(QStringLiteral("ListPlaylists"));
  QTimer waiter;
  QObject::connect(&waiter, &QTimer::timeout, [&] {
    if (list->topLevelItemCount() == 0 || window.Controller().Busy()) return;
    waiter.stop();
    std::fprintf(stderr, "listed after %lld ms\n", static_cast<long long>(clock.elapsed()));
    if (listOnly) {
      QApplication::quit();
      return;
    }
    window.findChild<QPushButton*>(QStringLiteral("ButCheckAll"))->click();
    window.findChild<QPushButton*>(QStringLiteral("ButPublish"))->click();
    std::fprintf(stderr, "published after %lld ms\n", static_cast<long long>(clock.elapsed()));
    QApplication::quit();
  });
  waiter.start(5);
  return application.exec();
}
