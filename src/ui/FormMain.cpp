// SPDX-License-Identifier: MIT
#include "ui/FormMain.h"

#include <optional>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSessionManager>
#include <QShortcut>
#include <QTimer>

#include "engine/StalePlaylists.h"
#include "platform/PathRules.h"
#include "platform/Text.h"
#include "settings/PublishedFiles.h"
#include "settings/Settings.h"
#include "tivo/WebAddresses.h"
#include "ui/Artwork.h"
#include "ui/Controls.h"
#include "ui/FormAbout.h"
#include "ui/FormMappings.h"
#include "ui/FormOptions.h"
#include "ui/FormStalePlaylists.h"
#include "ui/KeptGroupBox.h"
#include "ui/PlaceDialog.h"
#include "ui/PlaylistListWidget.h"
#include "ui/Twips.h"

namespace quorvella {
namespace {

// The bars run in hundredths of a percent, so fractional progress shows.
constexpr int kProgressScale = 100;
// The bars take new values at most this often (25 times a second): smooth to
// the eye, and rare enough that painting them costs nothing next to a song.
constexpr int kProgressIntervalMs = 40;

struct OtherProgram {
  const char* caption;
  const char* page;
};
// The maker's other programs, offered in the Web menu and in Frame1.
constexpr OtherProgram kOtherPrograms[] = {
    {"Brenlow &Tag Tidy", "https://www.brenlow-software.example/tagtidy/"},
    {"Brenlow Cover &Finder", "https://www.brenlow-software.example/coverfinder/"},
};

}  // namespace

FormMain::FormMain(FormMainServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)), boxes_(this) {
  Form_Initialize();
  BuildControls();
  BuildMenus();
  // Fixed once the menu bar is in, so the window's least and greatest sizes
  // agree.
  adjustSize();
  setFixedSize(sizeHint());
  controller_ = std::make_unique<MainController>(
      static_cast<MainView&>(*this),
      MainServices{services_.settings, services_.files, services_.desktop, boxes_, pump_,
                   services_.isTiVoDesktop23OrLater, std::string(Mp3ConversionAddress),
                   CountFormat(), services_.pyTivoShareOf});
  Form_Load();
}

FormMain::~FormMain() {
  // Form_Unload: the library goes with the window; nothing is saved.
  if (waitCursor_) QApplication::restoreOverrideCursor();
}

void FormMain::Form_Initialize() {
  setObjectName(QStringLiteral("FormMain"));
  setWindowTitle(QStringLiteral("Quorvella"));
  setWindowIcon(ProgramIcon());
  // A fixed frame with a minimise box and no maximise box.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  UseDesignFont(this);
}

void FormMain::BuildControls() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("ClientArea"));
  setCentralWidget(client);
  TwipsLayout layout(client, 10455, 8655);
  using Grow = TwipsLayout::Grow;

  listPlaylists_ = new PlaylistListWidget(client);
  listPlaylists_->setObjectName(QStringLiteral("ListPlaylists"));
  layout.Place(listPlaylists_, 240, 600, 6135, 7215);
  // A row's new status ("Publishing...", then the result) is painted at once,
  // however short its playlist.
  connect(listPlaylists_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem*, int column) {
    if (column == 1) pump_.HandleAtNextCall();
  });

  QLabel* label1 = AddLabel(client, "Label1", QStringLiteral("&List of iTunes playlists:"));
  label1->setBuddy(listPlaylists_);
  layout.Place(label1, 240, 240, 1695, 255);

  butRefresh_ = AddButton(client, "ButRefresh", QStringLiteral("&Refresh List"));
  layout.Place(butRefresh_, 240, 8040, 1215, 375);
  // Check All and Check None line up with the list's right edge.
  butCheckAll_ = AddButton(client, "ButCheckAll", QStringLiteral("Check &All"));
  layout.Place(butCheckAll_, 3720, 8040, 1215, 375, Grow::Left);
  butCheckNone_ = AddButton(client, "ButCheckNone", QStringLiteral("Check &None"));
  layout.Place(butCheckNone_, 5160, 8040, 1215, 375, Grow::Left);
  butPublish_ = AddButton(client, "ButPublish", QStringLiteral("&Publish Playlists to TiVo"));
  layout.Place(butPublish_, 6720, 600, 2055, 375);
  butStop_ = AddButton(client, "ButStop", QStringLiteral("&Stop"));
  butStop_->setEnabled(false);
  layout.Place(butStop_, 6720, 1200, 2055, 375);

  auto* frame2 = new KeptGroupBox(QStringLiteral("Status"), client);
  frame2->setObjectName(QStringLiteral("Frame2"));
  layout.Place(frame2, 6720, 1800, 3495, 2415);
  labStatus_ = AddLabel(frame2, "LabStatus", QStringLiteral("Ready"), Wrap::Yes);
  layout.Place(labStatus_, 240, 360, 3015, 495);
  layout.Place(AddLabel(frame2, "Label2", QStringLiteral("All playlists")), 240, 960, 855, 255);
  const auto bar = [frame2](const char* name) {
    auto* b = new QProgressBar(frame2);
    b->setObjectName(QString::fromUtf8(name));
    b->setRange(0, 100 * kProgressScale);
    b->setValue(0);
    b->setTextVisible(false);
    return b;
  };
  progressPlaylists_ = bar("ProgressPlaylists");
  layout.Place(progressPlaylists_, 240, 1200, 3015, 255);
  layout.Place(AddLabel(frame2, "Label3", QStringLiteral("Current playlist")), 240, 1680, 1095,
               255);
  progressTracks_ = bar("ProgressTracks");
  layout.Place(progressTracks_, 240, 1920, 3015, 255);

  auto* frame1 = new QGroupBox(QStringLiteral("More from Brenlow Software"), client);
  frame1->setObjectName(QStringLiteral("Frame1"));
  layout.Place(frame1, 6720, 5160, 3495, 2655);
  QString links = QStringLiteral("<p>Free tools for your music library:</p>");
  for (const auto& program : kOtherPrograms) {
    links += QStringLiteral("<p><a href=\"%1\">%2</a></p>")
                 .arg(QString::fromUtf8(program.page),
                      QString::fromUtf8(program.caption).remove(QLatin1Char('&')));
  }
  links += QStringLiteral("<p><a href=\"%1\">Brenlow Software home page</a></p>")
               .arg(QString::fromUtf8(MakerHomePageAddress.data(), MakerHomePageAddress.size()));
  QLabel* frameText = AddLabel(frame1, "LabOtherPrograms", links, Wrap::Yes);
  frameText->setTextFormat(Qt::RichText);
  layout.Place(frameText, 240, 300, 3015, 2200);
  connect(frameText, &QLabel::linkActivated, this,
          [this](const QString& link) { services_.desktop.ShellOpen(link.toStdString()); });

  // Right-aligned: it grows leftwards, if at all.
  QLabel* label4 = AddLabel(client, "Label4", QStringLiteral("Quorvella version 1.3"), Wrap::No,
                            Qt::AlignRight | Qt::AlignVCenter);
  layout.Place(label4, 7560, 8160, 2655, 255, Grow::Left);
  layout.Apply();

  // Tab order as the controls were laid out.
  setTabOrder(listPlaylists_, butRefresh_);
  setTabOrder(butRefresh_, butCheckAll_);
  setTabOrder(butCheckAll_, butCheckNone_);
  setTabOrder(butCheckNone_, butPublish_);
  setTabOrder(butPublish_, butStop_);

  connect(butRefresh_, &QPushButton::clicked, this, &FormMain::ButRefresh_Click);
  connect(butCheckAll_, &QPushButton::clicked, this, &FormMain::ButCheckAll_Click);
  connect(butCheckNone_, &QPushButton::clicked, this, &FormMain::ButCheckNone_Click);
  connect(butPublish_, &QPushButton::clicked, this, &FormMain::ButPublish_Click);
  connect(butStop_, &QPushButton::clicked, this, &FormMain::ButStop_Click);

  // Stop is the window's cancel button: Esc presses it while it is enabled.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, [this] {
    if (butStop_->isEnabled()) butStop_->click();
  });

  progressUpdate_ = new QTimer(this);
  progressUpdate_->setSingleShot(true);
  progressUpdate_->setInterval(kProgressIntervalMs);
  connect(progressUpdate_, &QTimer::timeout, this, &FormMain::ShowProgress);

  timerStartup_ = new QTimer(this);
  timerStartup_->setObjectName(QStringLiteral("TimerStartup"));
  timerStartup_->setInterval(100);
  connect(timerStartup_, &QTimer::timeout, this, &FormMain::TimerStartup_Timer);
  timerWiseUpdate_ = new QTimer(this);
  timerWiseUpdate_->setObjectName(QStringLiteral("TimerWiseUpdate"));
  timerWiseUpdate_->setInterval(3000);
  connect(timerWiseUpdate_, &QTimer::timeout, this, &FormMain::TimerWiseUpdate_Timer);

  // Logging out or shutting down is refused like any other close while busy.
  connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
    if (controller_ && controller_->Busy() && manager.allowsInteraction()) manager.cancel();
  });
}

void FormMain::BuildMenus() {
  const auto open = [this](std::string_view address) {
    return [this, address] { services_.desktop.ShellOpen(std::string(address)); };
  };
  const auto item = [this](QMenu* menu, const char* name, const char* caption) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromUtf8(name));
    return action;
  };

  QMenu* menuFile = menuBar()->addMenu(QStringLiteral("&File"));
  menuFile->setObjectName(QStringLiteral("MenuFile"));
  itemFileOpenLibrary_ = item(menuFile, "ItemFileOpenLibrary", "&Open iTunes Library...");
  connect(itemFileOpenLibrary_, &QAction::triggered, this, &FormMain::ItemFileOpenLibrary_Click);
  itemFileMapLocations_ = item(menuFile, "ItemFileMapLocations", "&Map Library Locations...");
  connect(itemFileMapLocations_, &QAction::triggered, this,
          &FormMain::ItemFileMapLocations_Click);
  QAction* exit = item(menuFile, "ItemFileExit", "E&xit");
  connect(exit, &QAction::triggered, this, &FormMain::ItemFileExit_Click);

  QMenu* menuTools = menuBar()->addMenu(QStringLiteral("&Tools"));
  menuTools->setObjectName(QStringLiteral("MenuTools"));
  itemToolsOptions_ = item(menuTools, "ItemToolsOptions", "&Options...");
  connect(itemToolsOptions_, &QAction::triggered, this, &FormMain::ItemToolsOptions_Click);
  itemToolsRemoveStale_ =
      item(menuTools, "ItemToolsRemoveStale", "&Remove Stale Playlists...");
  connect(itemToolsRemoveStale_, &QAction::triggered, this,
          &FormMain::ItemToolsRemoveStale_Click);

  QMenu* menuWeb = menuBar()->addMenu(QStringLiteral("&Web"));
  menuWeb->setObjectName(QStringLiteral("MenuWeb"));
  connect(item(menuWeb, "ItemWebProductHomePage", "Quorvella &home page"), &QAction::triggered,
          this, open(HomePageAddress));
  connect(item(menuWeb, "ItemWebDocs", "&Documentation"), &QAction::triggered, this,
          open(DocumentationAddress));
  connect(item(menuWeb, "ItemWebConvert", "&Convert songs to MP3 format"), &QAction::triggered,
          this, open(Mp3ConversionAddress));
  connect(item(menuWeb, "ItemWebMakerHomePage", "&Brenlow Software home page"), &QAction::triggered,
          this, open(MakerHomePageAddress));
  menuWeb->addSeparator()->setObjectName(QStringLiteral("ItemWebSep1"));
  connect(item(menuWeb, "ItemWebPlugin", "Universal Audio &Plug-in"), &QAction::triggered, this,
          open(PluginInfoAddress));
  menuWeb->addSeparator()->setObjectName(QStringLiteral("ItemWebSep2"));
  int index = 0;
  for (const auto& program : kOtherPrograms) {
    const std::string name = "ItemWebOtherProgram" + std::to_string(++index);
    connect(item(menuWeb, name.c_str(), program.caption), &QAction::triggered, this,
            open(program.page));
  }
  menuWeb->addSeparator()->setObjectName(QStringLiteral("ItemWebSep3"));
  connect(item(menuWeb, "ItemWebCheckForUpdates", "Check for &updates..."), &QAction::triggered,
          this, &FormMain::ItemWebCheckForUpdates_Click);

  QMenu* menuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
  menuHelp->setObjectName(QStringLiteral("MenuHelp"));
  QAction* help = item(menuHelp, "ItemHelpHelp", "&Online documentation");
  help->setShortcut(QKeySequence(Qt::Key_F1));
  help->setShortcutContext(Qt::WindowShortcut);
  connect(help, &QAction::triggered, this, open(DocumentationAddress));
  connect(item(menuHelp, "ItemHelpAbout", "&About..."), &QAction::triggered, this,
          &FormMain::ItemHelpAbout_Click);
}

void FormMain::Form_Load() {
  OpenLibrary({});
  services_.settings.LoadSettings();
  timerStartup_->start();
  timerWiseUpdate_->start();
}

void FormMain::OpenLibrary(const std::string& path) {
  libraryError_.clear();
  try {
    controller_->SetLibrary(services_.openLibrary(path));
  } catch (const std::exception& error) {
    controller_->SetLibrary(nullptr);
    libraryError_ = error.what();
  }
}

void FormMain::TimerStartup_Timer() {
  timerStartup_->stop();
  if (!libraryError_.empty()) {
    // Reported once; the window stays usable with an empty list, and the
    // File menu offers to choose the library file.
    boxes_.Show(Message{libraryError_, MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok});
    return;
  }
  ButRefresh_Click();
}

void FormMain::TimerWiseUpdate_Timer() {
  // Once per start of the program.
  timerWiseUpdate_->stop();
  RunWiseUpdate(false);
}

void FormMain::ItemWebCheckForUpdates_Click() { RunWiseUpdate(true); }

void FormMain::RunWiseUpdate(bool interactive) {
  const std::string folder = services_.programFolder
                                 ? services_.programFolder()
                                 : QCoreApplication::applicationDirPath().toStdString();
  const std::string program = AddBackslash(folder) + "WiseUpdt.exe";
  if (!services_.files.PathExists(program)) {
    if (interactive) {
      boxes_.Show(Message{"The WiseUpdate program (" + program + ") does not exist.",
                          MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok});
    }
    return;
  }
  // Unquoted, as the update program has always been started.
  std::string commandLine = program;
  if (!interactive) commandLine += " /c";
  const auto error = services_.desktop.StartProgram(commandLine);
  if (error && interactive) {
    boxes_.Show(Message{
        "The following error occurred while trying to run the WiseUpdate program:\r\n\r\n" + *error,
        MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok});
  }
}

void FormMain::ItemToolsOptions_Click() {
  const std::string before = TrimSpaces(services_.settings.GetPlaylistFolder());
  {
    FormOptions options(DialogServices{services_.settings, services_.reg, services_.files,
                                       services_.desktop, services_.shell},
                        this);
    PlaceDialog(this, &options);
    options.Init();
    options.exec();
  }
  // The check marks follow the files in the playlist folder, so a new
  // folder needs a new list; an emptied one leaves the list as it was.
  const std::string& after = services_.settings.GetPlaylistFolder();
  if (after == before || after.empty()) return;
  if (controller_->Busy()) {
    refreshWhenIdle_ = true;
  } else {
    ButRefresh_Click();
  }
}

void FormMain::ItemToolsRemoveStale_Click() {
  if (controller_->Busy() || !controller_->CheckPlaylistFolder()) return;
  if (controller_->Library() == nullptr) {
    boxes_.Show(Message{"The iTunes library is not open, so Quorvella cannot tell which playlist "
                        "files are stale.",
                        MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok});
    return;
  }
  StaleDialogServices dialogServices{services_.reg.Backend(), services_.files,
                                     controller_->PlaylistFolder(), {}};
  try {
    dialogServices.currentNames = CurrentPlaylistFileNames(
        *controller_->Library(), services_.settings.GetPlaylistEncoding());
  } catch (const std::exception& error) {
    boxes_.Show(Message{error.what(), MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok});
    return;
  }
  FormStalePlaylists stale(std::move(dialogServices), this);
  PlaceDialog(this, &stale);
  stale.exec();
}

void FormMain::ItemHelpAbout_Click() {
  FormAbout about(services_.desktop, this);
  PlaceDialog(this, &about);
  about.exec();
}

void FormMain::ButRefresh_Click() { controller_->ButRefresh_Click(); }
void FormMain::ButCheckAll_Click() { controller_->ButCheckAll_Click(); }
void FormMain::ButCheckNone_Click() { controller_->ButCheckNone_Click(); }
void FormMain::ButPublish_Click() {
  if (controller_->Busy()) {
    controller_->ButPublish_Click();  // refused, and said so
    return;
  }
  // The files a run writes are recorded, so that Remove Stale Playlists can
  // later tell the program's own files from the user's.
  const std::string folder = controller_->PlaylistFolder();
  std::vector<PublishedFile> record = LoadPublishedFiles(services_.reg.Backend(), folder);
  bool noted = false;
  controller_->OnPlaylistFile(
      [&](const IITPlaylist& playlist, const std::string& path, PlaylistFileOutcome outcome) {
        NotePlaylistFile(record, playlist.playlistID(), path, outcome);
        noted = true;
      });
  controller_->ButPublish_Click();
  controller_->OnPlaylistFile({});
  if (noted) SavePublishedFiles(services_.reg.Backend(), folder, record);
}
void FormMain::ButStop_Click() { controller_->ButStop_Click(); }

void FormMain::ItemFileOpenLibrary_Click() {
  if (controller_->Busy()) return;
  const QString path =
      QFileDialog::getOpenFileName(this, QStringLiteral("Open iTunes Library"), QString(),
                                   QStringLiteral("iTunes library (*.xml);;All files (*)"));
  if (path.isEmpty()) return;
  OpenLibrary(path.toStdString());
  if (!libraryError_.empty()) {
    boxes_.Show(Message{libraryError_, MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok});
    listPlaylists_->Clear();
    return;
  }
  libraryPath_ = path.toStdString();
  services_.rememberLibrary(libraryPath_);
  ButRefresh_Click();
}

void FormMain::ItemFileMapLocations_Click() {
  if (controller_->Busy()) return;
  std::optional<LibraryLocations> library;
  std::string libraryProblem = "The library's songs are not counted here.";
  if (services_.readLibraryLocations) {
    SetWaitCursor(true);
    try {
      library = services_.readLibraryLocations(libraryPath_);
    } catch (const std::exception& error) {
      libraryProblem = error.what();
    }
    SetWaitCursor(false);
  }
  MappingsDialogServices dialogServices{services_.reg, services_.files,
                                        library ? std::move(*library) : LibraryLocations{},
                                        library ? std::string() : std::move(libraryProblem),
                                        {}, services_.shell};
  if (services_.mappingSearchRoots) dialogServices.searchRoots = services_.mappingSearchRoots();
  {
    FormMappings mappings(std::move(dialogServices), this);
    PlaceDialog(this, &mappings);
    if (mappings.exec() != QDialog::Accepted) return;
  }
  // The library is read again through the new mappings, as when it is opened.
  OpenLibrary(libraryPath_);
  if (!libraryError_.empty()) {
    boxes_.Show(Message{libraryError_, MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok});
    listPlaylists_->Clear();
    return;
  }
  ButRefresh_Click();
}

void FormMain::ItemFileExit_Click() {
  if (!controller_->Busy()) close();
}

void FormMain::closeEvent(QCloseEvent* event) {
  // Form_QueryUnload: never close while a refresh or a run is working.
  if (controller_ && controller_->Busy()) {
    event->ignore();
    return;
  }
  event->accept();
}

PlaylistListView& FormMain::ListPlaylists() { return *listPlaylists_; }

// A progress bar repaints at once whenever its value moves a pixel, which
// over 100,000 songs costs far more than the publishing itself; the latest
// values are therefore shown when the bars' interval has passed.
void FormMain::SetProgressPlaylists(float value) {
  pendingPlaylists_ = static_cast<int>(value * kProgressScale + 0.5f);
  if (!progressUpdate_->isActive()) progressUpdate_->start();
}

void FormMain::SetProgressTracks(float value) {
  pendingTracks_ = static_cast<int>(value * kProgressScale + 0.5f);
  if (!progressUpdate_->isActive()) progressUpdate_->start();
}

void FormMain::ShowProgress() {
  progressPlaylists_->setValue(pendingPlaylists_);
  progressTracks_->setValue(pendingTracks_);
}

void FormMain::SetStatusText(const std::string& text) {
  labStatus_->setText(QString::fromStdString(text));
}

void FormMain::SetStopEnabled(bool enabled) { butStop_->setEnabled(enabled); }

void FormMain::SetWaitCursor(bool wait) {
  if (wait == waitCursor_) return;
  waitCursor_ = wait;
  if (wait) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void FormMain::BusyChanged(bool busy) {
  // Only Stop changes with a run; every other command stays live, and the
  // controller refuses what must wait (a second run, a refresh that would
  // empty the list under the run). A refresh that a new playlist folder
  // asked for meanwhile comes when the work is done. Stale files are not
  // looked for while a run may be writing them.
  itemToolsRemoveStale_->setEnabled(!busy);
  if (!busy && refreshWhenIdle_) {
    refreshWhenIdle_ = false;
    QTimer::singleShot(0, this, &FormMain::ButRefresh_Click);
  }
}

}  // namespace quorvella
