// SPDX-License-Identifier: MIT
// Every window as a user meets it: each control's name, class, caption and
// state at start, the tab order, the menus, what Alt+letter, Enter and Esc
// do, held against the windows' designed control tables; and every caption
// shows whole in the design font, in wider and larger application fonts,
// and (ctest runs those again) at 120 dpi with fonts scaled to it.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <map>

#include "tivo/TiVoDesktop.h"
#include "tivo/WebAddresses.h"
#include "ui/WindowsFixture.h"

namespace quorvella {
namespace {

using test::Name;
using test::Win;

// A control as designed. A caption of null is not compared; a "*" in it
// stands for any text. A list's caption is its column headers, a tab
// control's its tab titles, joined by "|".
struct Control { const char* name; const char* cls; const char* caption; bool enabled = true, shown = true; };

const char* const kNote =
    "Important note: if you are running TiVo Desktop 2.3, then you must select a folder which both:";
const char* const kCondition1 =
    "1. Has been published as a Music Folder in the TiVo Desktop software (or is a sub-folder thereof).";
const char* const kCondition2 = "2. Contains all of the songs in the playlist (or is a parent folder thereof).";

const std::map<Win, std::vector<Control>> kControls = {
    {Win::Main,
     {{"Label1", "QLabel", "&List of iTunes playlists:"},
      {"ListPlaylists", "QTreeWidget", "Name|Status"},
      {"ButRefresh", "QPushButton", "&Refresh List"},
      {"ButCheckAll", "QPushButton", "Check &All"},
      {"ButCheckNone", "QPushButton", "Check &None"},
      {"ButPublish", "QPushButton", "&Publish Playlists to TiVo"},
      {"ButStop", "QPushButton", "&Stop", false},
      {"Frame2", "QGroupBox", "Status"},
      {"LabStatus", "QLabel", "Ready"},
      {"Label2", "QLabel", "All playlists"},
      {"ProgressPlaylists", "QProgressBar", nullptr},
      {"Label3", "QLabel", "Current playlist"},
      {"ProgressTracks", "QProgressBar", nullptr},
      {"Frame1", "QGroupBox", nullptr},
      {"Label4", "QLabel", "Quorvella version 1.3"}}},
    {Win::Options,
     {{"TabMain", "QTabWidget", "Playlist Folder|File Types To Publish"},
      {"Label9", "QLabel", "TiVo Desktop version currently installed:"},
      {"LabTiVoDesktopVersion", "QLabel", ""},
      {"ButOK", "QPushButton", "OK"},
      {"ButCancel", "QPushButton", "Cancel"},
      {"Label1", "QLabel", "Folder in which to save playlists:"},
      {"LabPlaylistFolder", "QLabel", ""},
      {"Label5", "QLabel", "Click here to select one of the Music folders published to TiVo Desktop:"},
      {"ButPickTiVoFolder", "QPushButton", "Pick &TiVo Folder..."},
      {"Label3", "QLabel", "Click here to select a folder with the standard folder selection window:"},
      {"ButBrowse", "QPushButton", "Pick &Any Folder..."},
      {"Label4", "QLabel", "Click here to open the folder in Windows Explorer:"},
      {"ButOpenFolder", "QPushButton", "&Open Folder...", false},
      {"LabImportantNote", "QLabel", kNote},
      {"Label7", "QLabel", kCondition1},
      {"Label10", "QLabel", "-- AND --"},
      {"Label8", "QLabel", kCondition2},
      {"Label6", "QLabel",
       "You can use the 'Pick TiVo Folder' button above to select a music folder which is already published "
       "to TiVo Desktop. This will help to ensure that you select a valid folder."},
      {"Label2", "QLabel",
       "Normally, TiVo will only play MP3 files. Therefore, Quorvella normally will only include MP3 files "
       "in any playlist that it publishes. You can, however, run the free *If you have the plug-in installed, you can "
       "use the "
       "options below to tell Quorvella which song formats to include in published playlists."},
      {"LabPlugIn", "QLabel", "Universal Audio Plug-in"},
      {"Label11", "QLabel", "Publishing &mode:"},
      {"OptEnhMode0", "QRadioButton", "&Standard mode - publish only MP3 files"},
      {"OptEnhMode1", "QRadioButton", "&Enhanced mode - publish the file types checked below:"},
      {"LabListFileTypes", "QLabel", "&List of file types:", false},
      {"ListFileTypes", "QTreeWidget", "File Type|Description", false},
      {"Label13", "QLabel", "Get more information on the Universal Audio Plug-in"},
      {"Label14", "QLabel", "(link opens in a browser window)"},
      {"ButConfigurePlugin", "QPushButton", "&Configure the Universal Audio Plug-in...", 1, 0},
      {"Uc3dLine1", "quorvella::Uc3dLine", nullptr},
      {"CheckDeleteEmptyOutput", "QCheckBox",
       "&Do not create empty playlists (Quorvella will delete any published playlist "
       "which ends up containing no songs)"}}},
    {Win::Pick,
     {{"Label1", "QLabel",
       "Use this window to select one of the music folders published to TiVo Dekstop as the output folder "
       "into which your playlists will be written. Selecting one of these folders will help to ensure that TiVo and "
       "TiVo "
       "Desktop will be able to play all songs on the playlist."},
      {"Label4", "QLabel", "&List of music folders published to TiVo Desktop:"},
      {"ListFolders", "QListWidget", nullptr},
      {"ButOK", "QPushButton", "OK", false},
      {"ButCancel", "QPushButton", "Cancel"},
      {"Label10", "QLabel", "AND"},
      {"Label8", "QLabel", kCondition2},
      {"Label7", "QLabel", kCondition1},
      {"LabImportantNote", "QLabel", kNote}}},
    {Win::About,
     {{"ImgLogo", "QLabel", nullptr},
      {"Label1", "QLabel", "Quorvella"},
      {"Label5", "QLabel", "\u2122"},
      {"Label2", "QLabel", "Version 1.3"},
      {"Label3", "QLabel", nullptr},
      {"Label7", "QLabel",
       "The Universal Audio Plug-in is separate software.*Use the link on the Web menu for more information."},
      {"Label4", "QLabel", "*TiVo*iTunes*"},
      {"Label6", "QLabel", "Please visit our web site for current product information:"},
      {"LabLink", "QLabel", HomePageAddress.data()},
      {"ButOK", "QPushButton", "OK"}}},
};

QString Caption(const QWidget& widget) {
  QStringList parts;
  if (const auto* tree = qobject_cast<const QTreeWidget*>(&widget)) {
    for (int c = 0; c < tree->columnCount(); ++c) parts << tree->headerItem()->text(c);
  } else if (const auto* tabs = qobject_cast<const QTabWidget*>(&widget)) {
    for (int t = 0; t < tabs->count(); ++t) parts << tabs->tabText(t);
  } else if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
    parts << label->text();
  } else if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
    parts << button->text();
  } else if (const auto* box = qobject_cast<const QGroupBox*>(&widget)) {
    parts << box->title();
  }
  return parts.join(QLatin1Char('|'));
}

bool Matches(const QString& text, const char* pattern) {
  QStringList pieces = QString::fromUtf8(pattern).split(QLatin1Char('*'));
  for (QString& piece : pieces) piece = QRegularExpression::escape(piece);
  const QString whole = QRegularExpression::anchoredPattern(pieces.join(QStringLiteral(".*")));
  const QRegularExpression expression(whole, QRegularExpression::DotMatchesEverythingOption);
  return expression.match(text).hasMatch();
}

// Every window; a Pick TiVo Folder button refuses (the Windows version
// is one it refuses on) instead of opening another dialog.
class WindowTables : public test::Windows {
 protected:
  WindowTables() { windowsVersion_ = {6, 0}; }

  // The names of the controls that take the focus by Tab, in tab order,
  // from the first of them.
  QString TabOrder() {
    QStringList order;
    QWidget* first = nullptr;
    for (QWidget* w = window_->nextInFocusChain(); w != first && w != window_.get();
         w = w->nextInFocusChain()) {
      if (!(w->focusPolicy() & Qt::TabFocus) || w->focusProxy() || !w->isVisibleTo(window_.get())) continue;
      if (first == nullptr) first = w;
      order << w->objectName();
    }
    return order.join(QLatin1Char(' '));
  }
};

// One line per menu: its caption, then each item's caption (a dash for a
// separator), with its shortcut after a tab.
std::vector<std::string> MenuLines(const QMenuBar& bar) {
  std::vector<std::string> lines;
  for (QAction* menuAction : bar.actions()) {
    std::string line = menuAction->text().toStdString() + ":";
    for (QAction* item : menuAction->menu()->actions()) {
      // The links to the maker's other programs vary with them.
      if (item->objectName().startsWith(QStringLiteral("ItemWebOtherProgram"))) continue;
      line += " [";
      line += item->isSeparator() ? std::string("-") : item->text().toStdString();
      if (!item->shortcut().isEmpty()) (line += '\t') += item->shortcut().toString().toStdString();
      line += "]";
    }
    lines.push_back(line);
  }
  return lines;
}

TEST_F(WindowTables, ControlsTitlesFramesMenusAndTabOrderAreAsDesigned) {
  using enum Win;
  // The Options dialog's tab order is its first tab's.
  const struct { Win window; const char* title; bool dialog; const char* tabOrder; } windows[] = {
      {Main, "Quorvella", false, "ListPlaylists ButRefresh ButCheckAll ButCheckNone ButPublish ButStop"},
      {Options, "Options", true, "qt_tabwidget_tabbar ButPickTiVoFolder ButBrowse ButOpenFolder ButOK ButCancel"},
      {Pick, "Pick TiVo Desktop Folder", true, "ListFolders ButOK ButCancel"},
      {About, "About Quorvella", true, "ButOK"},
  };
  for (const auto& w : windows) {
    SCOPED_TRACE(Name(w.window));
    QWidget& window = Open(w.window);
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8(w.title));
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "not resizable";
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(bool(window.windowFlags() & Qt::WindowMinimizeButtonHint), !w.dialog);
    EXPECT_EQ(window.windowType(), w.dialog ? Qt::Dialog : Qt::Window);
    for (const Control& c : kControls.at(w.window)) {
      SCOPED_TRACE(c.name);
      QWidget* widget = Get(c.name);
      if (widget == nullptr) continue;
      EXPECT_TRUE(widget->inherits(c.cls)) << widget->metaObject()->className();
      const QString caption = Caption(*widget);
      if (c.caption) { EXPECT_TRUE(Matches(caption, c.caption)) << caption.toStdString(); }
      EXPECT_EQ(widget->isEnabled(), c.enabled);
      EXPECT_EQ(!widget->isHidden(), c.shown);
    }
    EXPECT_EQ(TabOrder(), w.tabOrder);
  }
  Open(Main);
  EXPECT_EQ(MenuLines(*this->Main().menuBar()),
            (std::vector<std::string>{
                "&File: [&Open iTunes Library...] [&Map Library Locations...] [E&xit]",
                "&Tools: [&Options...] [&Remove Stale Playlists...]",
                "&Web: [Quorvella &home page] [&Documentation] [&Convert songs to MP3 format] [&Brenlow Software home "
                "page] [-] "
                "[Universal Audio &Plug-in] [-] [-] [Check for &updates...]",
                "&Help: [&Online documentation\tF1] [&About...]",
            }));
}

// Takes the access key of a caption (the letter after a single "&") for
// who, unless another has it.
void Claim(std::map<QChar, QString>& keys, const QString& caption, const QString& who) {
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != QLatin1Char('&') || caption[++i] == QLatin1Char('&')) continue;
    const auto [it, fresh] = keys.emplace(caption[i].toLower(), who);
    EXPECT_TRUE(fresh) << who.toStdString() << " and " << it->second.toStdString() << " share "
                       << QString(caption[i]).toStdString();
    return;
  }
}

// Alt+letter as on Windows: a label's key moves the focus to its control, a
// button's key presses it, an option button's key selects it.
TEST_F(WindowTables, AltLetterMovesTheFocusOrPresses) {
  StoreEverything();
  using enum Win;
  // Where the focus goes (null: not looked at) and the button pressed (or
  // null). Main's Stop is disabled; Options' mode label goes to the chosen mode.
  // A push button's key is its caption's, which the tables above hold: one
  // row each for a button shown at start and one on the second tab.
  const struct { Win window; int tab; char key; const char* focus; const char* pressed; } cases[] = {
      {Main, 0, 'L', "ListPlaylists", nullptr}, {Main, 0, 'R', nullptr, "ButRefresh"},
      {Main, 0, 'S', "ListPlaylists", nullptr}, {Options, 1, 'M', "OptEnhMode1", nullptr},
      {Options, 1, 'S', "OptEnhMode0", "OptEnhMode0"}, {Options, 1, 'L', "ListFileTypes", nullptr},
      {Options, 1, 'E', "OptEnhMode1", "OptEnhMode1"}, {Pick, 0, 'L', "ListFolders", nullptr},
      {Options, 1, 'D', "CheckDeleteEmptyOutput", "CheckDeleteEmptyOutput"},
      {Options, 1, 'C', nullptr, "ButConfigurePlugin"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(Name(c.window)) + " Alt+" + c.key);
    test::ModalScript script;  // closes a box that a key brings up by mistake
    QWidget& window = Open(c.window);
    if (auto* tabs = window.findChild<QTabWidget*>()) tabs->setCurrentIndex(c.tab);
    QTest::keyClick(&window, static_cast<Qt::Key>(c.key), Qt::AltModifier);
    // A button pressed by its key clicks after 100 ms; the checks below say
    // whether one did.
    static_cast<void>(QTest::qWaitFor([&] { return !clicked_.empty(); }, c.pressed ? 1000 : 120));
    if (c.focus) { EXPECT_EQ(QApplication::focusWidget(), Get(c.focus)); }
    const std::string pressed = c.pressed ? c.pressed : "";
    EXPECT_EQ(clicked_, std::vector<std::string>(c.pressed != nullptr, pressed));
  }
}

// Enter presses the focused button; elsewhere in a dialog it presses the
// default button. Esc presses the cancel button.
TEST_F(WindowTables, EnterAndEscPressTheRightButton) {
  StoreEverything();
  using enum Win;
  const Qt::Key ret = Qt::Key_Return, enter = Qt::Key_Enter, esc = Qt::Key_Escape;
  // The button pressed, or null. Every push button is made by one routine:
  // one row each for Main's.
  const struct { Win window; const char* focus; Qt::Key key; const char* pressed; } cases[] = {
      {Main, "ButRefresh", ret, "ButRefresh"}, {Main, "ButPublish", enter, "ButPublish"},
      {Main, "ListPlaylists", ret, nullptr}, {Main, "ButRefresh", esc, nullptr},  // Stop is off
      {Options, "ButOK", ret, "ButOK"}, {Options, "ButCancel", enter, "ButCancel"},
      {Options, "OptEnhMode1", ret, "ButOK"}, {Options, "CheckDeleteEmptyOutput", enter, "ButOK"},
      {Options, "ListFileTypes", ret, "ButOK"}, {Options, "ButBrowse", esc, "ButCancel"},
      {Pick, "ListFolders", ret, "ButOK"}, {Pick, "ButCancel", ret, "ButCancel"},
      {Pick, "ListFolders", esc, "ButCancel"},
      {About, "ButOK", enter, "ButOK"}, {About, "ButOK", esc, "ButOK"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(Name(c.window)) + " " + c.focus + " " + QKeySequence(c.key).toString().toStdString());
    test::ModalScript script;
    QWidget& window = Open(c.window);
    if (auto* tabs = window.findChild<QTabWidget*>())
      tabs->setCurrentIndex(Get(c.focus)->isVisibleTo(tabs->widget(0)) ? 0 : 1);
    Get(c.focus)->setFocus();
    ASSERT_TRUE(Get(c.focus)->hasFocus());
    QTest::keyClick(Get(c.focus), c.key);
    const std::string pressed = c.pressed ? c.pressed : "";
    EXPECT_EQ(clicked_, std::vector<std::string>(c.pressed != nullptr, pressed));
    EXPECT_EQ(window.isVisible(), pressed != "ButOK" && pressed != "ButCancel");
  }
}

// What a push button's caption needs: its text in the button's font, plus
// the style's margins and frame.
int ButtonNeeds(const QPushButton& button) {
  QStyleOptionButton option;
  option.initFrom(&button);
  option.text = button.text();
  if (button.autoDefault()) option.features |= QStyleOptionButton::AutoDefaultButton;
  if (button.isDefault()) option.features |= QStyleOptionButton::DefaultButton;
  const QFontMetrics metrics = button.fontMetrics();
  const QSize text(metrics.horizontalAdvance(QString(button.text()).remove(QLatin1Char('&'))), metrics.height());
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
    const auto* push = qobject_cast<const QPushButton*>(widget);
    const int needs = push ? ButtonNeeds(*push) : button ? button->sizeHint().width() : 0;
    const char* fault = nullptr;
    if (button) {
      if (button->width() < needs) fault = "too narrow";
    } else if (label->wordWrap()) {
      if (label->height() < label->heightForWidth(label->width())) fault = "too low";
    } else if (label->width() < label->sizeHint().width() || label->height() < label->fontMetrics().height()) {
      fault = "too small";
    }
    if (fault) clipped.push_back(Describe(*widget, fault));
    if (!widget->parentWidget()->rect().contains(widget->geometry()))
      clipped.push_back(Describe(*widget, "cut by its parent"));
  }
  // Captions beside each other must not run into each other (designs let
  // neighbouring boxes touch by a pixel).
  for (const QWidget* a : captioned) {
    for (const QWidget* b : captioned) {
      const QRect both = a->geometry().intersected(b->geometry());
      if (a < b && a->parentWidget() == b->parentWidget() && both.width() > 2 && both.height() > 2) {
        clipped.push_back(Describe(*a, "covers") + " " + b->objectName().toStdString());
      }
    }
  }
  return clipped;
}

// The desktop's font, a larger and a wider application font.
struct FontCase { const char* name; std::function<void(QFont&)> change; };
void PrintTo(const FontCase& font, std::ostream* out) { *out << font.name; }
const FontCase kFonts[] = {
    {"DesktopFont", [](QFont&) {}},
    {"LargerFont", [](QFont& font) { font.setPointSizeF(14); }},
    {"WiderFont", [](QFont& font) { font.setFamily("DejaVu Serif"), font.setStretch(QFont::Expanded); }},
};

// Every window and dialog (each tab of the Options dialog on its own), filled
// as a user with TiVo Desktop 2.3 and the plug-in sees it: the longest
// captions, every button shown. No caption is cut, and no two captions that
// show at once share an access key, among the controls and in each menu.
// Both dialogs word their note for TiVo Desktop 2.3 (the release's rule is
// held where it lives; without it the tables above hold the captions), and
// the Options dialog shows the version, trimmed.
class Captions : public WindowTables, public ::testing::WithParamInterface<FontCase> {
 protected:
  void SetUp() override {
    QFont font = saved_;
    GetParam().change(font);
    QApplication::setFont(font);
  }
  void TearDown() override { QApplication::setFont(saved_); }
  QFont saved_ = QApplication::font();
};

TEST_P(Captions, ShowWholeInEveryWindow) {
  StoreEverything();
  reg_.RegSetString(Hive::CurrentUser, TiVoDesktopKey, "Version", " 2.3.1 ");
  reg_.RegSetString(Hive::CurrentUser, PluginConfigKey, PluginCustomValueName, "flac");
  for (const Win which : {Win::Main, Win::Options, Win::Pick, Win::About, Win::Stale}) {
    QWidget& window = Open(which);
    if (which == Win::Options || which == Win::Pick) {
      EXPECT_EQ(Caption(*Get("LabImportantNote")),
                "Important note: since you are running TiVo Desktop 2.3, you must select a folder which both:");
    }
    if (which == Win::Options) { EXPECT_EQ(Caption(*Get("LabTiVoDesktopVersion")), "2.3.1"); }
    auto* tabs = window.findChild<QTabWidget*>();
    for (int tab = 0; tab < (tabs ? tabs->count() : 1); ++tab) {
      if (tabs) tabs->setCurrentIndex(tab);
      SCOPED_TRACE(std::string(Name(which)) + " tab " + std::to_string(tab));
      QTest::qWait(1);
      EXPECT_EQ(ClippedCaptions(window), std::vector<std::string>{});
      std::map<QChar, QString> keys;
      for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (widget->isVisibleTo(&window) && !qobject_cast<QTabWidget*>(widget)) {
          Claim(keys, Caption(*widget), widget->objectName());
        }
      }
      if (auto* main = qobject_cast<FormMain*>(&window)) {
        for (QAction* menu : main->menuBar()->actions()) {
          Claim(keys, menu->text(), menu->objectName());
          std::map<QChar, QString> itemKeys;
          for (QAction* item : menu->menu()->actions()) Claim(itemKeys, item->text(), item->text());
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Fonts, Captions, ::testing::ValuesIn(kFonts),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace quorvella
