// SPDX-License-Identifier: MIT
#include "ui/FormMappings.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/CountFormat.h"
#include "engine/MappingSuggest.h"
#include "library/LocationMappingStore.h"
#include "platform/Text.h"
#include "tivo/OptionsTexts.h"
#include "ui/Controls.h"
#include "ui/Twips.h"

namespace quorvella {
namespace {

constexpr const char* kCrLf = "\r\n";

QTreeWidget* AddList(QWidget* parent, const char* name, const QStringList& columns) {
  auto* list = new QTreeWidget(parent);
  list->setObjectName(QString::fromUtf8(name));
  list->setHeaderLabels(columns);
  list->setRootIsDecorated(false);
  list->setItemsExpandable(false);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setAllColumnsShowFocus(true);
  return list;
}

Message Exclamation(std::string text) {
  return Message{std::move(text), MsgIcon::Exclamation, MsgButtons::Ok, MsgAnswer::Ok};
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

FormMappings::FormMappings(MappingsDialogServices services, QWidget* parent)
    : QDialog(parent),
      services_(std::move(services)),
      ownBoxes_(this),
      boxes_(services_.boxes != nullptr ? *services_.boxes : ownBoxes_),
      mappings_(LoadLocationMappings(services_.reg)) {
  setObjectName(QStringLiteral("FormMappings"));
  setWindowTitle(QStringLiteral("Map Library Locations"));
  UseDesignFont(this);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  QLabel* label1 =
      AddLabel(this, "Label1",
               "When the iTunes library was made on another computer, its songs may lie in other "
               "folders on this one. A mapping reads every song location that begins with the From "
               "folder as the same path under the To folder of this computer.",
               Wrap::Yes);
  QLabel* label2 =
      AddLabel(this, "Label2", "&Mappings:", Wrap::No, Qt::AlignLeft | Qt::AlignVCenter);
  listMappings_ = AddList(this, "ListMappings",
                          {QStringLiteral("From"), QStringLiteral("To"),
                           QStringLiteral("Tracks mapped"), QStringLiteral("Found")});
  label2->setBuddy(listMappings_);
  QLabel* label3 = AddLabel(this, "Label3", "Songs &not found that no mapping covers:", Wrap::No,
                            Qt::AlignLeft | Qt::AlignVCenter);
  listMissing_ = AddList(this, "ListMissing", {QStringLiteral("Folder"), QStringLiteral("Tracks")});
  label3->setBuddy(listMissing_);
  labSummary_ = AddLabel(this, "LabSummary", "", Wrap::Yes, Qt::AlignLeft | Qt::AlignVCenter);

  butAdd_ = AddButton(this, "ButAdd", "&Add...");
  butRemove_ = AddButton(this, "ButRemove", "&Remove");
  butSuggest_ = AddButton(this, "ButSuggest", "&Suggest...");
  butOK_ = AddButton(this, "ButOK", "OK");
  butOK_->setDefault(true);
  butCancel_ = AddButton(this, "ButCancel", "Cancel");
  const int buttonWidth =
      std::max({butAdd_->sizeHint().width(), butRemove_->sizeHint().width(),
                butSuggest_->sizeHint().width(), fontMetrics().averageCharWidth() * 12});
  for (QPushButton* button : {butAdd_, butRemove_, butSuggest_, butOK_, butCancel_}) {
    button->setMinimumWidth(buttonWidth);
  }

  // The From and the folder columns take what the counts leave; long paths
  // keep both their ends in view, and each whole one is in its tip.
  const int chars = fontMetrics().averageCharWidth();
  const auto countColumn = [this, chars](QTreeWidget* list, int column, const char* header) {
    list->header()->setSectionResizeMode(column, QHeaderView::Fixed);
    list->setColumnWidth(column,
                         fontMetrics().horizontalAdvance(QString::fromUtf8(header)) + chars * 3);
  };
  for (QTreeWidget* list : {listMappings_, listMissing_}) {
    list->setTextElideMode(Qt::ElideMiddle);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  }
  listMappings_->header()->setSectionResizeMode(1, QHeaderView::Interactive);
  listMappings_->setColumnWidth(1, chars * 30);
  countColumn(listMappings_, 2, "Tracks mapped");
  countColumn(listMappings_, 3, "Found");
  countColumn(listMissing_, 1, "Tracks");
  listMappings_->setMinimumSize(chars * 100, fontMetrics().lineSpacing() * 7);
  listMissing_->setMinimumHeight(fontMetrics().lineSpacing() * 6);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(butAdd_);
  buttons->addWidget(butRemove_);
  buttons->addWidget(butSuggest_);
  buttons->addStretch(1);
  auto* grid = new QGridLayout;
  grid->addWidget(label2, 0, 0);
  grid->addWidget(listMappings_, 1, 0);
  grid->addLayout(buttons, 1, 1);
  grid->addWidget(label3, 2, 0);
  grid->addWidget(listMissing_, 3, 0);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(labSummary_, 1);
  bottom->addWidget(butOK_, 0, Qt::AlignBottom);
  bottom->addWidget(butCancel_, 0, Qt::AlignBottom);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label1);
  layout->addSpacing(6);
  layout->addLayout(grid);
  layout->addSpacing(4);
  layout->addLayout(bottom);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  label1->setMaximumWidth(listMappings_->minimumWidth() + buttonWidth + 12);

  setTabOrder(listMappings_, butAdd_);
  setTabOrder(butAdd_, butRemove_);
  setTabOrder(butRemove_, butSuggest_);
  setTabOrder(butSuggest_, listMissing_);
  setTabOrder(listMissing_, butOK_);
  setTabOrder(butOK_, butCancel_);

  connect(butAdd_, &QPushButton::clicked, this, &FormMappings::ButAdd_Click);
  connect(butRemove_, &QPushButton::clicked, this, &FormMappings::ButRemove_Click);
  connect(butSuggest_, &QPushButton::clicked, this, &FormMappings::ButSuggest_Click);
  connect(butOK_, &QPushButton::clicked, this, &FormMappings::ButOK_Click);
  connect(butCancel_, &QPushButton::clicked, this, &FormMappings::ButCancel_Click);
  connect(listMappings_, &QTreeWidget::itemSelectionChanged, this, &FormMappings::UpdateButtons);

  ShowMappings();
}

void FormMappings::ShowMappings() {
  const bool haveLibrary = services_.libraryProblem.empty();
  MappingCheck check;
  if (haveLibrary) {
    // Counting looks at every song's file once; a large library takes a moment.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    check = CheckMappings(services_.library.paths, mappings_, [this](const std::string& path) {
      return services_.files.PathExists(path);
    });
    QApplication::restoreOverrideCursor();
  }
  const CountFormat count;
  const int selected = listMappings_->currentIndex().row();
  listMappings_->clear();
  for (std::size_t i = 0; i < mappings_.Rules().size(); ++i) {
    const LocationMapping& rule = mappings_.Rules()[i];
    QStringList cells{Text(rule.from), Text(rule.to)};
    if (haveLibrary) {
      cells << Text(count(check.rules[i].mapped)) << Text(count(check.rules[i].found));
    }
    auto* item = new QTreeWidgetItem(cells);
    item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    item->setToolTip(0, cells[0]);
    item->setToolTip(1, cells[1]);
    listMappings_->addTopLevelItem(item);
  }
  if (selected >= 0 && selected < listMappings_->topLevelItemCount()) {
    listMappings_->setCurrentItem(listMappings_->topLevelItem(selected));
  }
  listMissing_->clear();
  for (const MissingGroup& group : check.missing) {
    auto* item = new QTreeWidgetItem(QStringList{Text(group.folder), Text(count(group.tracks))});
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    item->setToolTip(0, Text(group.folder));
    listMissing_->addTopLevelItem(item);
  }

  if (!haveLibrary) {
    labSummary_->setText(Text(services_.libraryProblem));
  } else {
    std::int64_t found = check.unmappedFound;
    for (const MappingCheck::RuleCount& rule : check.rules) found += rule.found;
    labSummary_->setText(Text(count(static_cast<std::int64_t>(services_.library.paths.size())) +
                              " songs in the library are files; " + count(found) +
                              " of them are found on this computer."));
  }
  UpdateButtons();
}

void FormMappings::UpdateButtons() {
  butRemove_->setEnabled(listMappings_->currentItem() != nullptr);
  butSuggest_->setEnabled(services_.libraryProblem.empty());
}

std::string FormMappings::OfferedFrom() const {
  if (const QTreeWidgetItem* item = listMissing_->currentItem()) {
    return item->text(0).toStdString();
  }
  if (listMissing_->topLevelItemCount() > 0) {
    return listMissing_->topLevelItem(0)->text(0).toStdString();
  }
  return services_.library.musicFolder;
}

bool FormMappings::AddRule(const LocationMapping& rule) {
  if (const auto existing = mappings_.Find(rule.from)) {
    const LocationMapping& old = mappings_.Rules()[*existing];
    if (old == rule) return true;
    const Message question{"The locations that begin with " + old.from + " are already mapped to " +
                               old.to + "." + kCrLf + kCrLf + "Map them to " + rule.to +
                               " instead?",
                           MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::Yes};
    if (boxes_.Show(question) != MsgAnswer::Yes) return false;
  }
  mappings_.Add(rule);
  return true;
}

void FormMappings::ButAdd_Click() {
  bool ok = false;
  const QString given = QInputDialog::getText(
      this, QStringLiteral("Add Mapping"),
      QStringLiteral("Map the song locations that begin with this folder of the other "
                     "computer:"),
      QLineEdit::Normal, Text(OfferedFrom()), &ok);
  const std::string from = TrimSpaces(given.toStdString());
  if (!ok || from.empty()) return;
  // Asked before the folder browser, so that a wrong From costs no browsing.
  if (const auto problem = MappingProblem({from, "/"})) {
    boxes_.Show(Exclamation(*problem));
    return;
  }
  std::string to = TrimSpaces(services_.shell.browseForFolder(
      "", this, "Please select the &folder of this computer that holds these songs:"));
  if (to.empty()) return;
  while (to.size() > 1 && to.back() == '/') to.pop_back();
  if (!services_.files.PathExists(to)) {
    boxes_.Show(Exclamation(std::string(FolderDoesNotExistText)));
    return;
  }
  const LocationMapping rule{from, to};
  if (const auto problem = MappingProblem(rule)) {
    boxes_.Show(Exclamation(*problem));
    return;
  }
  if (AddRule(rule)) ShowMappings();
}

void FormMappings::ButRemove_Click() {
  const int row = listMappings_->currentIndex().row();
  if (row < 0 || row >= static_cast<int>(mappings_.Rules().size())) return;
  mappings_.Remove(mappings_.Rules()[static_cast<std::size_t>(row)].from);
  ShowMappings();
}

void FormMappings::ButSuggest_Click() {
  SuggestOptions options;
  options.roots = services_.searchRoots;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const MappingSuggestions suggestions =
      SuggestMappings(services_.library, mappings_, options,
                      [this](const std::string& path) { return services_.files.PathExists(path); });
  QApplication::restoreOverrideCursor();

  if (suggestions.missing == 0) {
    boxes_.Show(
        Message{"Every song that no mapping covers is found on this computer; there is "
                "nothing to map.",
                MsgIcon::Information, MsgButtons::Ok, MsgAnswer::Ok});
    return;
  }
  std::string limits;
  if (suggestions.timeLimitReached) {
    limits += std::string(kCrLf) + kCrLf + "The search stopped after " +
              std::to_string(options.timeLimit.count() / 1000) + " seconds.";
  }
  if (suggestions.depthLimitReached) {
    limits += std::string(kCrLf) + kCrLf + "Folders more than " + std::to_string(options.maxDepth) +
              " levels below these were not searched.";
  }
  std::string roots;
  for (const std::string& root : services_.searchRoots) roots += kCrLf + root;
  if (suggestions.proposals.empty()) {
    boxes_.Show(
        Exclamation("No folder that holds the songs that are not found was found in "
                    "these folders:" +
                    (roots.empty() ? std::string(kCrLf) + "(none)" : roots) + limits +
                    std::string(kCrLf) + kCrLf + "Use Add to name the folder that holds them."));
    return;
  }
  const CountFormat count;
  std::string text = "These folders of this computer hold songs that are not found:";
  for (const MappingProposal& proposal : suggestions.proposals) {
    text += std::string(kCrLf) + kCrLf + proposal.rule.from + kCrLf + "    to " + proposal.rule.to +
            kCrLf + "    (" + count(proposal.found) + " of " + count(proposal.sampled) +
            " sampled songs found)";
  }
  text += limits + kCrLf + kCrLf + "Add these mappings?";
  if (boxes_.Show(Message{text, MsgIcon::Question, MsgButtons::YesNo, MsgAnswer::Yes}) !=
      MsgAnswer::Yes) {
    return;
  }
  for (const MappingProposal& proposal : suggestions.proposals) {
    if (!MappingProblem(proposal.rule)) mappings_.Add(proposal.rule);
  }
  ShowMappings();
}

void FormMappings::ButOK_Click() {
  if (!SaveLocationMappings(services_.reg, mappings_)) {
    boxes_.Show(Exclamation("The mappings could not be stored."));
    return;
  }
  accept();
}

void FormMappings::ButCancel_Click() { reject(); }

void FormMappings::keyPressEvent(QKeyEvent* event) {
  // Esc presses Cancel.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    butCancel_->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace quorvella
