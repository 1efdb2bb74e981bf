// SPDX-License-Identifier: MIT
// Every caption of every window shows whole: in the design font, in wider
// and larger application fonts, and (ctest runs this file again) at 120 dpi
// with fonts scaled to it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTest>
#include <functional>

#include "platform/LocalFileSystem.h"
#include "settings/MemoryRegistry.h"
#include "settings/RegUtil.h"
#include "settings/RegistryKeys.h"
#include "settings/Settings.h"
#include "support/FakeLibrary.h"
#include "tivo/Plugin.h"
#include "tivo/TiVoDesktop.h"
#include "ui/Controls.h"
#include "ui/DialogTestSupport.h"
#include "ui/FormAbout.h"
#include "ui/FormMain.h"
#include "ui/FormOptions.h"
#include "ui/FormPickTiVoFolder.h"
#include "ui/FormStalePlaylists.h"

namespace quorvella {
namespace {

// What a push button's caption needs: its text in the button's font, plus
// the style's margins and frame.
int ButtonNeeds(const QPushButton& button) {
  QStyleOptionButton option;
  option.initFrom(&button);
  option.text = button.text();
  if (button.autoDefault()) option.features |= QStyleOptionButton::AutoDefaultButton;
  if (button.isDefault()) option.features |= QStyleOptionButton::DefaultButton;
  const QFontMetrics metrics = button.fontMetrics();
  const QSize text(metrics.horizontalAdvance(QString(button.text()).remove(QLatin1Char('&'))),
                   metrics.height());
  return button.style()->sizeFromContents(QStyle::CT_PushButton, &option, text, &button).width();
}

std::string Describe(const QWidget& widget, const char* what) {
  return widget.objectName().toStdString() + " " + what + " (" + std::to_string(widget.width()) +
         "x" + std::to_string(widget.height()) + ")";
}

// The captions of the window's visible controls that do not show whole.
std::vector<std::string> ClippedCaptions(const QWidget& window) {
  std::vector<std::string> clipped;
  std::vector<const QWidget*> captioned;
  for (const QWidget* widget : window.findChildren<QWidget*>()) {
    if (!widget->isVisibleTo(&window)) continue;
    const auto* label = qobject_cast<const QLabel*>(widget);
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    const QString text = label ? label->text() : button ? button->text() : QString();
    if (text.isEmpty()) continue;
    captioned.push_back(widget);
    if (const auto* push = qobject_cast<const QPushButton*>(widget)) {
      if (push->width() < ButtonNeeds(*push)) clipped.push_back(Describe(*push, "too narrow"));
    } else if (button) {
      if (button->width() < button->sizeHint().width()) {
        clipped.push_back(Describe(*button, "too narrow"));
      }
    } else if (label->wordWrap()) {
      if (label->height() < label->heightForWidth(label->width())) {
        clipped.push_back(Describe(*label, "too low"));
      }
    } else if (label->width() < label->sizeHint().width() ||
               label->height() < label->fontMetrics().height()) {
      clipped.push_back(Describe(*label, "too small"));
    }
    if (!widget->parentWidget()->rect().contains(widget->geometry())) {
      clipped.push_back(Describe(*widget, "cut by its parent"));
    }
  }
  // Captions beside each other must not run into each other (designs let
  // neighbouring boxes touch by a pixel).
  for (const QWidget* a : captioned) {
    for (const QWidget* b : captioned) {
      const QRect both = a->geometry().intersected(b->geometry());
      if (a < b && a->parentWidget() == b->parentWidget() && both.width() > 2 &&
          both.height() > 2) {
        clipped.push_back(Describe(*a, "covers") + " " + b->objectName().toStdString());
      }
    }
  }
  return clipped;
}

struct FontCase {
  const char* name;
  std::function<void(QFont&)> change;
};

void PrintTo(const FontCase& font, std::ostream* out) { *out << font.name; }

const FontCase kFonts[] = {
    {"the desktop's font", [](QFont&) {}},
    {"a larger application font", [](QFont& font) { font.setPointSizeF(14); }},
    {"a wider application font",
     [](QFont& font) {
       font.setFamily(QStringLiteral("DejaVu Serif"));
       font.setStretch(QFont::Expanded);
     }},
};

// Every window and dialog, filled as a user with TiVo Desktop 2.3 and the
// plug-in sees it (the longest captions, every button shown).
class Captions : public ::testing::TestWithParam<FontCase> {
 protected:
  void SetUp() override {
    saved_ = QApplication::font();
    QFont font = saved_;
    GetParam().change(font);
    QApplication::setFont(font);

    reg_.RegSetString(Hive::CurrentUser, TiVoDesktopKey, "Version", "2.3.1");
    reg_.RegSetString(Hive::CurrentUser, PluginConfigKey, PluginCustomValueName, "flac");
    const std::string plugin = env_.Folder("Plug-in");
    test::TempEnvironment::WriteFile(plugin + "/TDUAP.exe");
    reg_.RegSetString(Hive::LocalMachine, PluginUninstallKey, PluginInstallLocationValueName,
                      plugin);
    env_.Publish("Music", env_.Folder("Music"));
    settings_.LoadSettings();
  }
  void TearDown() override { QApplication::setFont(saved_); }

  void Expect(QWidget& window, const char* name) {
    SCOPED_TRACE(name);
    window.show();
    QTest::qWait(1);
    EXPECT_EQ(ClippedCaptions(window), std::vector<std::string>{});
  }

  QFont saved_;
  test::TempEnvironment env_;
  MemoryRegistry registry_;
  RegUtil reg_{registry_};
  Settings settings_{reg_};
  LocalFileSystem files_;
  test::RecordingDesktop desktop_;
};

TEST_P(Captions, ShowWholeInEveryWindow) {
  auto library = std::make_shared<test::FakeITunes>();
  FormMain main(FormMainServices{settings_, reg_, files_, desktop_, [] { return true; },
                                 [library](const std::string&) { return library; },
                                 [](const std::string&) {}});
  Expect(main, "main window");

  FormOptions options(DialogServices{settings_, reg_, files_, desktop_});
  options.Init();
  auto* tabs = options.findChild<QTabWidget*>(QStringLiteral("TabMain"));
  for (int tab = 0; tab < tabs->count(); ++tab) {
    tabs->setCurrentIndex(tab);
    Expect(options, tab == 0 ? "Options, folder tab" : "Options, file types tab");
  }

  FormPickTiVoFolder pick(reg_);
  pick.Init();
  Expect(pick, "Pick TiVo Folder");

  FormAbout about(desktop_);
  Expect(about, "About");

  FormStalePlaylists stale(StaleDialogServices{registry_, files_, env_.Folder("Lists"), {}});
  Expect(stale, "Remove Stale Playlists");
}

INSTANTIATE_TEST_SUITE_P(Fonts, Captions, ::testing::ValuesIn(kFonts), [](const auto& info) {
  std::string name;
  for (const char* c = info.param.name; *c; ++c) {
    if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
  }
  return name;
});

}  // namespace
}  // namespace quorvella
