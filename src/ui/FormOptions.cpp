// SPDX-License-Identifier: MIT
#include "ui/FormOptions.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/Text.h"
#include "settings/FileTypeCatalogue.h"
#include "settings/Settings.h"
#include "tivo/OptionsTexts.h"
#include "tivo/Plugin.h"
#include "tivo/PublishedFolders.h"
#include "tivo/TiVoDesktop.h"
#include "ui/Controls.h"
#include "ui/FormPickTiVoFolder.h"
#include "ui/LinkLabel.h"
#include "ui/PlaceDialog.h"
#include "ui/Twips.h"
#include "ui/Uc3dLine.h"
#include "ui/WrappingLabel.h"

namespace quorvella {
namespace {

// How far the conditions under the note, the option buttons and the file
// type list stand in from the left.
constexpr int kIndent = 20;

// The words of the explanation that act as the link. Inside the explanation
// they are joined so that they never break across two lines: no-break
// spaces, and a word joiner after the hyphen.
const QString kPlugInWords = QStringLiteral("Universal Audio Plug-in");
const QString kPlugInWordsJoined = QStringLiteral("Universal\u00A0Audio\u00A0Plug-\u2060in");

QString ExplanationText() {
  return QStringLiteral(
             "Normally, TiVo will only play MP3 files. Therefore, Quorvella normally will only "
             "include MP3 files in any playlist that it publishes. You can, however, run the "
             "free %1 on your PC, which lets your TiVo play many other audio formats. If you "
             "have the plug-in installed, you can use the options below to tell Quorvella "
             "which song formats to include in published playlists.")
      .arg(kPlugInWordsJoined);
}

// Labels are centred in their rows: level with a button beside them, and
// an indent (which a top-aligned label adds below its text too) only moves
// them to the right.
constexpr Qt::Alignment kLevel = Qt::AlignLeft | Qt::AlignVCenter;

Message Exclamation(std::string text) {
  return Message{std::move(text), MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok};
}

}  // namespace

FormOptions::FormOptions(DialogServices services, QWidget* parent)
    : QDialog(parent),
      services_(std::move(services)),
      ownBoxes_(this),
      boxes_(services_.boxes != nullptr ? *services_.boxes : ownBoxes_) {
  setObjectName(QStringLiteral("FormOptions"));
  setWindowTitle(QStringLiteral("Options"));
  UseDesignFont(this);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  tabMain_ = new QTabWidget(this);
  tabMain_->setObjectName(QStringLiteral("TabMain"));
  tabMain_->addTab(BuildFolderTab(), QStringLiteral("Playlist Folder"));
  tabMain_->addTab(BuildFileTypesTab(), QStringLiteral("File Types To Publish"));

  QLabel* label9 =
      AddLabel(this, "Label9", "TiVo Desktop version currently installed:", Wrap::No, kLevel);
  labTiVoDesktopVersion_ = AddLabel(this, "LabTiVoDesktopVersion", "", Wrap::No, kLevel);
  butOK_ = AddButton(this, "ButOK", "OK");
  butOK_->setDefault(true);
  butCancel_ = AddButton(this, "ButCancel", "Cancel");
  const int buttonWidth = std::max({butOK_->sizeHint().width(), butCancel_->sizeHint().width(),
                                    fontMetrics().averageCharWidth() * 12});
  butOK_->setMinimumWidth(buttonWidth);
  butCancel_->setMinimumWidth(buttonWidth);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(label9);
  bottom->addWidget(labTiVoDesktopVersion_, 1);
  bottom->addWidget(butOK_);
  bottom->addWidget(butCancel_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabMain_);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(butOK_, &QPushButton::clicked, this, &FormOptions::ButOK_Click);
  connect(butCancel_, &QPushButton::clicked, this, &FormOptions::ButCancel_Click);
}

QWidget* FormOptions::BuildFolderTab() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("TabPlaylistFolder"));

  QLabel* label1 = AddLabel(page, "Label1", "Folder in which to save playlists:", Wrap::No, kLevel);
  labPlaylistFolder_ = new WrappingLabel(QString(), page);
  labPlaylistFolder_->setObjectName(QStringLiteral("LabPlaylistFolder"));
  labPlaylistFolder_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  labPlaylistFolder_->setContentsMargins(4, 2, 4, 2);
  // Two lines high, whatever the folder.
  labPlaylistFolder_->setFixedHeight(2 * fontMetrics().lineSpacing() + 4 +
                                     2 * labPlaylistFolder_->frameWidth());
  labPlaylistFolder_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

  QLabel* label5 = AddLabel(
      page, "Label5",
      "Click here to select one of the Music folders published to TiVo Desktop:", Wrap::Yes,
      kLevel);
  butPickTiVoFolder_ = AddButton(page, "ButPickTiVoFolder", "Pick &TiVo Folder...");
  QLabel* label3 = AddLabel(
      page, "Label3",
      "Click here to select a folder with the standard folder selection window:", Wrap::Yes,
      kLevel);
  butBrowse_ = AddButton(page, "ButBrowse", "Pick &Any Folder...");
  QLabel* label4 = AddLabel(
      page, "Label4", "Click here to open the folder in Windows Explorer:", Wrap::Yes, kLevel);
  butOpenFolder_ = AddButton(page, "ButOpenFolder", "&Open Folder...");
  const int buttonWidth =
      std::max({butPickTiVoFolder_->sizeHint().width(), butBrowse_->sizeHint().width(),
                butOpenFolder_->sizeHint().width()});
  for (QPushButton* button : {butPickTiVoFolder_, butBrowse_, butOpenFolder_}) {
    button->setMinimumWidth(buttonWidth);
  }

  labImportantNote_ = AddLabel(page, "LabImportantNote", ImportantNoteCaption, Wrap::Yes, kLevel);
  QLabel* label7 = AddLabel(page, "Label7",
                            "1. Has been published as a Music Folder in the TiVo Desktop "
                            "software (or is a sub-folder thereof).",
                            Wrap::Yes, kLevel);
  QLabel* label10 = AddLabel(page, "Label10", "-- AND --", Wrap::No, kLevel);
  QLabel* label8 =
      AddLabel(page, "Label8",
               "2. Contains all of the songs in the playlist (or is a parent folder thereof).",
               Wrap::Yes, kLevel);
  for (QLabel* indented : {label7, label10, label8}) indented->setIndent(kIndent);
  QLabel* label6 = AddLabel(
      page, "Label6",
      "You can use the 'Pick TiVo Folder' button above to select a music folder which is "
      "already published to TiVo Desktop. This will help to ensure that you select a valid "
      "folder.",
      Wrap::Yes, kLevel);

  auto* grid = new QGridLayout(page);
  grid->setColumnStretch(0, 1);
  int row = 0;
  grid->addWidget(label1, row++, 0, 1, 2);
  grid->addWidget(labPlaylistFolder_, row++, 0, 1, 2);
  grid->setRowMinimumHeight(row++, 6);
  grid->addWidget(label5, row, 0);
  grid->addWidget(butPickTiVoFolder_, row++, 1);
  grid->addWidget(label3, row, 0);
  grid->addWidget(butBrowse_, row++, 1);
  grid->addWidget(label4, row, 0);
  grid->addWidget(butOpenFolder_, row++, 1);
  grid->setRowMinimumHeight(row++, 10);
  grid->addWidget(labImportantNote_, row++, 0, 1, 2);
  grid->addWidget(label7, row++, 0, 1, 2);
  grid->addWidget(label10, row++, 0, 1, 2);
  grid->addWidget(label8, row++, 0, 1, 2);
  grid->setRowMinimumHeight(row++, 10);
  grid->addWidget(label6, row++, 0, 1, 2);
  grid->setRowStretch(row, 1);

  connect(butPickTiVoFolder_, &QPushButton::clicked, this, &FormOptions::ButPickTiVoFolder_Click);
  connect(butBrowse_, &QPushButton::clicked, this, &FormOptions::ButBrowse_Click);
  connect(butOpenFolder_, &QPushButton::clicked, this, &FormOptions::ButOpenFolder_Click);
  return page;
}

QWidget* FormOptions::BuildFileTypesTab() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("TabFileTypes"));

  label2_ = new WrappingLabel(ExplanationText(), page);
  label2_->setObjectName(QStringLiteral("Label2"));
  const int plugInStart = static_cast<int>(label2_->text().indexOf(kPlugInWordsJoined));
  label2_->SetHiddenRange(plugInStart, static_cast<int>(kPlugInWordsJoined.size()));
  labPlugIn_ = new LinkLabel(kPlugInWords, true, label2_);
  labPlugIn_->setObjectName(QStringLiteral("LabPlugIn"));
  labPlugIn_->setToolTip(
      QStringLiteral("Click here to get more info on the Universal Audio Plug-in"));
  label2_->installEventFilter(this);

  optEnhMode_[0] =
      new QRadioButton(QStringLiteral("&Standard mode - publish only MP3 files"), page);
  optEnhMode_[0]->setObjectName(QStringLiteral("OptEnhMode0"));
  optEnhMode_[1] = new QRadioButton(
      QStringLiteral("&Enhanced mode - publish the file types checked below:"), page);
  optEnhMode_[1]->setObjectName(QStringLiteral("OptEnhMode1"));
  // Alt+M goes to the selected mode; choosing one is the user's own click.
  QLabel* label11 = AddGroupLabel(page, "Label11", QStringLiteral("Publishing &mode:"),
                                  {optEnhMode_[0], optEnhMode_[1]});

  labListFileTypes_ = AddLabel(page, "LabListFileTypes", "&List of file types:", Wrap::No, kLevel);
  listFileTypes_ = new QTreeWidget(page);
  listFileTypes_->setObjectName(QStringLiteral("ListFileTypes"));
  listFileTypes_->setHeaderLabels({QStringLiteral("File Type"), QStringLiteral("Description")});
  listFileTypes_->setRootIsDecorated(false);
  listFileTypes_->setItemsExpandable(false);
  listFileTypes_->setSelectionMode(QAbstractItemView::SingleSelection);
  listFileTypes_->header()->setStretchLastSection(true);
  listFileTypes_->setColumnWidth(0, fontMetrics().averageCharWidth() * 14);
  listFileTypes_->setMinimumHeight(fontMetrics().lineSpacing() * 8);
  labListFileTypes_->setBuddy(listFileTypes_);

  auto* label13 = new LinkLabel(
      QStringLiteral("Get more information on the Universal Audio Plug-in"), false, page);
  label13->setObjectName(QStringLiteral("Label13"));
  label13->setWordWrap(true);
  QLabel* label14 =
      AddLabel(page, "Label14", "(link opens in a browser window)", Wrap::Yes, kLevel);
  butConfigurePlugin_ =
      AddButton(page, "ButConfigurePlugin", "&Configure the Universal Audio Plug-in...");
  const int plugInColumn = butConfigurePlugin_->sizeHint().width();
  label13->setFixedWidth(plugInColumn);
  label14->setFixedWidth(plugInColumn);

  uc3dLine1_ = new Uc3dLine(page);
  uc3dLine1_->setObjectName(QStringLiteral("Uc3dLine1"));
  // 135 twips, as designed: 9 pixels at 96 dpi.
  uc3dLine1_->setFixedHeight(135 * logicalDpiY() / 1440);
  checkDeleteEmptyOutput_ = new QCheckBox(
      QStringLiteral("&Do not create empty playlists (Quorvella will delete any published "
                     "playlist which ends up containing no songs)"),
      page);
  checkDeleteEmptyOutput_->setObjectName(QStringLiteral("CheckDeleteEmptyOutput"));

  auto* listColumn = new QVBoxLayout;
  listColumn->addWidget(labListFileTypes_);
  listColumn->addWidget(listFileTypes_, 1);
  listColumn->setContentsMargins(kIndent, 0, 0, 0);
  auto* plugInColumnLayout = new QVBoxLayout;
  plugInColumnLayout->addSpacing(labListFileTypes_->sizeHint().height());
  plugInColumnLayout->addWidget(label13);
  plugInColumnLayout->addWidget(label14);
  plugInColumnLayout->addSpacing(12);
  plugInColumnLayout->addWidget(butConfigurePlugin_);
  plugInColumnLayout->addStretch(1);
  auto* listRow = new QHBoxLayout;
  listRow->addLayout(listColumn, 1);
  listRow->addSpacing(12);
  listRow->addLayout(plugInColumnLayout);

  auto* modes = new QVBoxLayout;
  modes->setContentsMargins(kIndent, 0, 0, 0);
  modes->addWidget(optEnhMode_[0]);
  modes->addWidget(optEnhMode_[1]);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(label2_);
  layout->addSpacing(6);
  layout->addWidget(label11);
  layout->addLayout(modes);
  layout->addLayout(listRow, 1);
  layout->addSpacing(4);
  layout->addWidget(uc3dLine1_);
  layout->addWidget(checkDeleteEmptyOutput_);

  for (int index = 0; index < 2; ++index) {
    connect(optEnhMode_[index], &QRadioButton::toggled, this, [this, index](bool checked) {
      if (checked) OptEnhMode_Click(index);
    });
  }
  connect(listFileTypes_, &QTreeWidget::itemChanged, this,
          [this](QTreeWidgetItem* item, int column) {
            if (column == 0) ListFileTypes_ItemCheck(item);
          });
  connect(labPlugIn_, &LinkLabel::clicked, this, &FormOptions::LabPlugIn_Click);
  connect(label13, &LinkLabel::clicked, this, &FormOptions::LabPlugIn_Click);
  connect(butConfigurePlugin_, &QPushButton::clicked, this, &FormOptions::ButConfigurePlugin_Click);
  return page;
}

void FormOptions::PlaceLabPlugIn() {
  const int start = static_cast<int>(label2_->text().indexOf(kPlugInWordsJoined));
  const QRect words = label2_->TextRect(start, static_cast<int>(kPlugInWordsJoined.size()));
  const QSize needed = labPlugIn_->sizeHint();
  labPlugIn_->setGeometry(words.x(), words.y(), std::max(words.width(), needed.width()),
                          std::max(words.height(), needed.height()));
}

bool FormOptions::eventFilter(QObject* watched, QEvent* event) {
  if (watched == label2_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
    PlaceLabPlugIn();
  }
  return QDialog::eventFilter(watched, event);
}

void FormOptions::Init() {
  InitDone = false;
  SetPlaylistFolder(services_.settings.GetPlaylistFolder());
  checkDeleteEmptyOutput_->setChecked(services_.settings.GetDeleteEmptyOutput());
  labTiVoDesktopVersion_->setText(QString::fromStdString(GetTiVoDesktopVersion(services_.reg)));
  if (GetTiVoDesktopRelease(services_.reg) == TiVoDesktopRelease::Is23) {
    labImportantNote_->setText(QString::fromStdString(
        RewordImportantNote(services_.reg, labImportantNote_->text().toStdString())));
  }
  SelectOptEnhMode(services_.settings.GetEnhancedPlugInMode() ? 1 : 0);
  for (const FileTypeEntry& entry : services_.settings.FileTypes()) AddFileTypeRow(entry.Ext);
  const std::string configProgram = GetPluginConfigProgram(services_.reg);
  butConfigurePlugin_->setVisible(!configProgram.empty() &&
                                  services_.files.PathExists(configProgram));
  InitDone = true;
}

std::string FormOptions::PlaylistFolder() const {
  return TrimSpaces(labPlaylistFolder_->text().toStdString());
}

void FormOptions::SetPlaylistFolder(const std::string& fullPath) {
  const QString folder = QString::fromStdString(TrimSpaces(fullPath));
  labPlaylistFolder_->setText(folder);
  // A folder too long for the label's two lines can still be read whole.
  labPlaylistFolder_->setToolTip(folder);
  UpdateOpenFolderButton();
}

void FormOptions::AddFileTypeRow(const std::string& ext) {
  const std::string lower = LowerCase(ext);
  const QString text = QString::fromStdString(lower);
  for (int row = 0; row < listFileTypes_->topLevelItemCount(); ++row) {
    if (listFileTypes_->topLevelItem(row)->text(0) == text) return;
  }
  auto* item =
      new QTreeWidgetItem(QStringList{text, QString::fromStdString(FileTypeDescription(lower))});
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  // Set before the row joins the list, so it is no user's check.
  item->setCheckState(0, services_.settings.IsFileTypeChecked(lower) ? Qt::Checked : Qt::Unchecked);
  listFileTypes_->addTopLevelItem(item);
}

void FormOptions::UpdateOpenFolderButton() {
  butOpenFolder_->setEnabled(!labPlaylistFolder_->text().isEmpty());
}

void FormOptions::SaveFileTypeChecks() {
  for (int row = 0; row < listFileTypes_->topLevelItemCount(); ++row) {
    const QTreeWidgetItem* item = listFileTypes_->topLevelItem(row);
    services_.settings.SetFileTypeChecked(item->text(0).toStdString(),
                                          item->checkState(0) == Qt::Checked);
  }
}

bool FormOptions::IsWindows52OrLater() const {
  const WindowsVersion version = services_.shell.getWindowsVersion();
  return version.major >= 6 || (version.major == 5 && version.minor >= 2);
}

void FormOptions::ButBrowse_Click() {
  const std::string folder = TrimSpaces(services_.shell.browseForFolder(
      PlaylistFolder(), this, "Please select the &folder in which to create playlists:"));
  if (folder.empty()) return;
  if (services_.files.PathExists(folder)) {
    SetPlaylistFolder(folder);
    butOpenFolder_->setEnabled(true);
  } else {
    boxes_.Show(Exclamation(std::string(FolderDoesNotExistText)));
  }
}

void FormOptions::ButOpenFolder_Click() {
  const std::string folder = PlaylistFolder();
  if (!folder.empty()) services_.shell.openFolderInExplorer(folder);
}

void FormOptions::ButPickTiVoFolder_Click() {
  if (IsWindows52OrLater()) {
    boxes_.Show(Exclamation(
        "This function is not supported on Windows Vista; please use the \"Pick Any Folder\" "
        "button instead.\r\n\r\nThis function will be supported in a future upgrade of "
        "Quorvella."));
    return;
  }
  FormPickTiVoFolder pick(services_.reg, this);
  PlaceDialog(this, &pick);
  pick.OrigFolder = PlaylistFolder();
  pick.Init();
  pick.exec();
  if (pick.Result != 1) return;
  const std::string folder = pick.SelectedFolder();
  if (services_.files.PathExists(folder)) {
    SetPlaylistFolder(folder);
  } else {
    boxes_.Show(Exclamation(std::string(FolderDoesNotExistText)));
  }
}

void FormOptions::ButConfigurePlugin_Click() {
  StartPluginConfigProgram(services_.reg, services_.desktop, boxes_);
}

void FormOptions::LabPlugIn_Click() { services_.desktop.ShellOpen(PluginInfoPageAddress()); }

void FormOptions::SelectOptEnhMode(int index) {
  // Selecting a button runs its handler, as a click would; an already
  // selected one is not toggled, so the handler is run here.
  if (optEnhMode_[index]->isChecked()) {
    OptEnhMode_Click(index);
  } else {
    optEnhMode_[index]->setChecked(true);
  }
}

void FormOptions::OptEnhMode_Click(int index) {
  const bool enhanced = index == 1;
  if (enhanced && InitDone && !IsPluginConfigured(services_.reg)) {
    if (boxes_.Show(EnhancedModeQuestion()) != MsgAnswer::Yes) {
      SelectOptEnhMode(0);
      return;
    }
  }
  labListFileTypes_->setEnabled(enhanced);
  listFileTypes_->setEnabled(enhanced);
}

void FormOptions::ListFileTypes_ItemCheck(QTreeWidgetItem* item) {
  if (item->text(0) != QStringLiteral("mp3") || item->checkState(0) != Qt::Unchecked) return;
  boxes_.Show(Message{std::string(Mp3MustRemainCheckedText), MsgIcon::Information, MsgButtons::Ok,
                      MsgAnswer::Ok});
  item->setCheckState(0, Qt::Checked);
}

void FormOptions::ButOK_Click() {
  const std::string folder = PlaylistFolder();
  if (!IsFolderPublished(folder, services_.reg) &&
      boxes_.Show(UnpublishedFolderQuestion(folder)) != MsgAnswer::Yes) {
    return;
  }
  services_.settings.SetPlaylistFolder(PlaylistFolder());
  services_.settings.SetDeleteEmptyOutput(checkDeleteEmptyOutput_->checkState() != Qt::Unchecked);
  services_.settings.SetEnhancedPlugInMode(optEnhMode_[1]->isChecked());
  SaveFileTypeChecks();
  InitDone = false;
  accept();
}

void FormOptions::ButCancel_Click() {
  InitDone = false;
  reject();
}

void FormOptions::Form_Unload() { InitDone = false; }

void FormOptions::keyPressEvent(QKeyEvent* event) {
  // Esc presses Cancel.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    butCancel_->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

void FormOptions::closeEvent(QCloseEvent* event) {
  // The close box discards every change, like Cancel.
  Form_Unload();
  QDialog::closeEvent(event);
}

}  // namespace quorvella
