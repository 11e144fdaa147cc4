#include "gui/scanner_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTime>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/journaled_run.h"
#include "archive/zip_library.h"
#include "gui/off_gui_thread.h"
#include "gui/qt_text.h"
#include "gui/remembered_position.h"
#include "gui/results_feed.h"
#include "gui/results_table_model.h"
#include "gui/results_window.h"
#include "gui/scanner_controls.h"
#include "gui/status_texts.h"
#include "gui/statistics_window.h"
#include "gui/user_values.h"
#include "platform/paths.h"
#include "report/scanner_log.h"
#include "scanner/scan_driver.h"
#include "settings/settings_record.h"
#include "settings/software_lists.h"

namespace kestrel {
namespace {

constexpr char kFastscanFilter[] = "Kestrel fastscan-file (*.fsc)|*.fsc||";
constexpr char kLogfileFilter[] = "Kestrel log-file (*.log)|*.log||";
constexpr char kScanProblemsTitle[] = "Problems During The Scan";
constexpr char kNothingSelectedTitle[] = "Nothing Selected";
// The results window follows a scan about twenty times a second, taking
// at most this many lines a turn (about a millisecond per thousand).
constexpr int kDeliveryMilliseconds = 50;
constexpr int kCatchUpMilliseconds = 10;
constexpr size_t kLinesPerDelivery = 10000;

// A three-state box that goes unchecked, checked, grey, as its users know
// it; Qt's own order puts grey second.
class ThreeStateBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;

 protected:
  void nextCheckState() override {
    switch (checkState()) {
      case Qt::Unchecked: setCheckState(Qt::Checked); break;
      case Qt::Checked: setCheckState(Qt::PartiallyChecked); break;
      default: setCheckState(Qt::Unchecked); break;
    }
  }
};

int StateOf(const QAbstractButton* button) {
  if (const auto* box = qobject_cast<const QCheckBox*>(button)) {
    switch (box->checkState()) {
      case Qt::Checked: return 1;
      case Qt::PartiallyChecked: return kBoxGrey;
      default: return 0;
    }
  }
  return button->isChecked() ? 1 : 0;
}

void ShowState(QAbstractButton* button, int state) {
  if (auto* box = qobject_cast<QCheckBox*>(button)) {
    box->setCheckState(state == kBoxGrey ? Qt::PartiallyChecked
                                         : state == 1 ? Qt::Checked : Qt::Unchecked);
  }
}

QGroupBox* Group(const char* title, QLayout* content) {
  auto* group = new QGroupBox(title);
  group->setLayout(content);
  return group;
}

}  // namespace

ScannerDialog::ScannerDialog(const ScannerDialogContext& context, QWidget* parent)
    : QDialog(parent),
      context_(context),
      settings_(*context.settings),
      own_(this),
      problems_(context.ui != nullptr ? context.ui : &own_),
      scanInterface_(&problems_) {
  setWindowTitle(ToQString(WithListCaption(kScannerDialogCaption, context_.listFolder)));
  setSizeGripEnabled(true);
  // Relative file names (the fastscan file, the logfile) mean the
  // program's folder while the dialog is open.
  previousFolder_ = QDir::currentPath();
  if (!context_.dataFolder.empty()) QDir::setCurrent(ToQString(context_.dataFolder));
  BuildControls();
  Refresh();

  resultsWindow_ = std::make_unique<ResultsWindow>(results_, *context_.layout);
  resultsWindow_->setWindowTitle(ToQString(WithListCaption(kResultsCaption, context_.listFolder)));
  resultsWindow_->onStopRequested = [this] { StopAndClose(); };
  resultsWindow_->showProgress = [this](bool shown) { ShowProgress(shown); };
  showStatistics = [this](const std::string& text) {
    StatisticsWindow window(this, text);
    window.exec();
  };
  MoveToRememberedPosition(*this, &context_.layout->scanDlgX, &context_.layout->scanDlgY);
}

ScannerDialog::~ScannerDialog() {
  hide();  // while still whole: hiding takes the focus from an edit, which commits it
  if (resultsWindow_ != nullptr) resultsWindow_->CloseQuietly();
  resultsWindow_.reset();
  FreeOffGuiThread(std::exchange(results_.items, {}));
  FreeOffGuiThread(std::exchange(results_.lines, {}));
  QDir::setCurrent(previousFolder_);
}

QAbstractButton* ScannerDialog::AddBox(int id) {
  const ScannerControlText& text = ScannerText(id);
  QCheckBox* box = IsThreeStateBox(id) ? new ThreeStateBox(text.caption) : new QCheckBox(text.caption);
  box->setTristate(IsThreeStateBox(id));
  if (*text.toolTip != '\0') box->setToolTip(text.toolTip);
  connect(box, &QCheckBox::clicked, this, [this, id] { OnBoxClicked(id); });
  buttons_[id] = box;
  return box;
}

QAbstractButton* ScannerDialog::AddRadio(int id) {
  const ScannerControlText& text = ScannerText(id);
  auto* radio = new QRadioButton(text.caption);
  radio->setToolTip(text.toolTip);
  connect(radio, &QRadioButton::clicked, this, [this, id] { OnRadioClicked(id); });
  buttons_[id] = radio;
  return radio;
}

void ScannerDialog::BuildControls() {
  auto* files = new QVBoxLayout;
  for (int id : {kScanGamesBox, kScanRomsBox, kScanSamplesBox}) files->addWidget(AddBox(id));
  auto* using_ = new QVBoxLayout;
  for (int id : {kNoMergedRadio, kSplitRadio, kMergedRadio, kFullNonMergedRadio}) using_->addWidget(AddRadio(id));
  auto* types = new QVBoxLayout;
  for (int id : {kArcadeOnlyRadio, kNeoGeoOnlyRadio, kBothTypesRadio}) types->addWidget(AddRadio(id));
  // Each group is a widget of its own, so its radio buttons exclude only
  // one another.
  auto* left = new QVBoxLayout;
  left->addWidget(Group("File Settings", files));
  left->addWidget(Group("You're Using:", using_));
  left->addWidget(Group("Scan Gametypes:", types));

  auto* checks = new QGridLayout;
  checks->addWidget(new QLabel("Check"), 0, 0);
  checks->addWidget(new QLabel("Fix"), 0, 1);
  int row = 1;
  for (const CheckFixRow& pair : CheckFixRows()) {
    checks->addWidget(AddBox(pair.check), row, 0);
    if (pair.fix != 0) checks->addWidget(AddBox(pair.fix), row, 1, Qt::AlignHCenter);
    ++row;
  }
  checks->setRowStretch(row, 1);

  auto* misc = new QVBoxLayout;
  for (int id : {kAllowDoubleNamesBox, kAltSamplesBox, kAdvancedUnneededBox, kZeroCrcCreationBox,
                 kShowZeroCrcsBox, kAskBeforeFixingBox, kCheckSha1Box})
    misc->addWidget(AddBox(id));
  misc->addStretch();

  auto* groups = new QHBoxLayout;
  groups->addLayout(left);
  groups->addWidget(Group("Check / Fix", checks));
  groups->addWidget(Group("Misc. Options", misc));

  auto* filesGrid = new QGridLayout;
  const auto addFileRow = [&](int row, int editId, int browseId, QLineEdit*& edit) {
    auto* label = new QLabel(ScannerText(editId).caption);
    edit = new QLineEdit;
    edit->setToolTip(ScannerText(editId).toolTip);
    label->setBuddy(edit);
    auto* browse = new QToolButton;
    browse->setText(ScannerText(browseId).caption);
    browse->setToolTip(ScannerText(browseId).toolTip);
    buttons_[browseId] = browse;
    filesGrid->addWidget(label, row, 0);
    filesGrid->addWidget(edit, row, 1);
    filesGrid->addWidget(browse, row, 2);
    connect(edit, &QLineEdit::editingFinished, this, &ScannerDialog::CommitEdits);
  };
  addFileRow(0, kFastscanEdit, kFastscanBrowse, fastscanEdit_);
  addFileRow(1, kLogfileEdit, kLogfileBrowse, logfileEdit_);
  filesGrid->addWidget(AddBox(kAddStatisticsBox), 2, 1);
  connect(buttons_[kFastscanBrowse], &QAbstractButton::clicked, this, &ScannerDialog::BrowseFastscan);
  connect(buttons_[kLogfileBrowse], &QAbstractButton::clicked, this, &ScannerDialog::BrowseLogfile);

  auto* actions = new QDialogButtonBox;
  for (int id : {kScanButton, kFastScanButton, kSaveLogButton}) {
    auto* button = new QPushButton(ScannerText(id).caption);
    button->setToolTip(ScannerText(id).toolTip);
    button->setAutoDefault(false);
    buttons_[id] = button;
    actions->addButton(button, QDialogButtonBox::ActionRole);
  }
  actions->addButton(QDialogButtonBox::Close)->setAutoDefault(false);
  connect(actions, &QDialogButtonBox::rejected, this, &ScannerDialog::reject);
  connect(buttons_[kScanButton], &QAbstractButton::clicked, this, [this] { Scan(false); });
  connect(buttons_[kFastScanButton], &QAbstractButton::clicked, this, [this] { Scan(true); });
  connect(buttons_[kSaveLogButton], &QAbstractButton::clicked, this, &ScannerDialog::SaveLogfile);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(groups);
  layout->addLayout(filesGrid);
  layout->addWidget(actions);
  layout->setSizeConstraint(QLayout::SetMinimumSize);
}

void ScannerDialog::Refresh() {
  ClearBoxesWithoutCheck(settings_);
  for (auto& [id, button] : buttons_) {
    if (IsRadioButton(id)) {
      button->setChecked(IsRadioSelectedFor(settings_, id));
    } else if (qobject_cast<QCheckBox*>(button) != nullptr) {
      ShowState(button, BoxStateFor(settings_, id));
      button->setEnabled(IsBoxEnabledFor(settings_, id));
    }
  }
  buttons_[kShowZeroCrcsBox]->setText(ZeroCrcCaption(BoxStateFor(settings_, kShowZeroCrcsBox)));
  fastscanEdit_->setText(ToQString(settings_.fastscanFile));
  logfileEdit_->setText(ToQString(settings_.scannerLogfile));
}

void ScannerDialog::OnBoxClicked(int id) {
  StoreBoxState(settings_, id, StateOf(buttons_[id]));
  Refresh();
  if (ChangesShownResults(id)) RefreshShownResults();
}

// Sorting half a million stored lines into a tree takes longer than a
// redraw may: the tree is built on a worker thread while the results
// window goes on showing the old one, and this dialog takes no input
// meanwhile.
void ScannerDialog::RefreshShownResults() {
  if (results_.lines.empty()) return;
  ResultsModel rebuilt;
  rebuilt.lines = std::move(results_.lines);
  setEnabled(false);
  RunOffGuiThread([&] { RefreshResultsTree(rebuilt, settings_); });
  setEnabled(true);
  resultsWindow_->tableModel()->Settle();
  results_.lines = std::move(rebuilt.lines);
  FreeOffGuiThread(std::exchange(results_.items, std::move(rebuilt.items)));
  results_.lastTopItem = rebuilt.lastTopItem;
  results_.firstVisibleItem = rebuilt.firstVisibleItem;
  if (results_.onRebuilt) results_.onRebuilt();
}

void ScannerDialog::OnRadioClicked(int id) { StoreRadio(settings_, id); }

void ScannerDialog::CommitEdits() {
  settings_.fastscanFile = FromQString(fastscanEdit_->text());
  settings_.scannerLogfile = FromQString(logfileEdit_->text());
}

void ScannerDialog::BrowseFastscan() {
  BrowseFile(fastscanEdit_, settings_.fastscanFile, ".fsc", kFastscanFilter);
}

void ScannerDialog::BrowseLogfile() {
  BrowseFile(logfileEdit_, settings_.scannerLogfile, ".log", kLogfileFilter);
}

// Offers the file chooser at the file `field` names; a chosen file takes
// its place and shows in `edit`.
void ScannerDialog::BrowseFile(QLineEdit* edit, std::string& field, const char* extension, const char* filter) {
  CommitEdits();
  const std::string path = PickFile(ui(), extension, field, filter, false);
  if (path.empty()) return;
  field = path;
  edit->setText(ToQString(path));
}

// A scan of no selected game reports nothing missing of a collection that
// may lack everything; the user says whether that is meant.
bool ScannerDialog::AgreesToScanNothing() {
  const GameList& games = *context_.database;
  if (games.empty() || std::any_of(games.begin(), games.end(), [](const GameSet& game) { return game.selected; }))
    return true;
  const std::string question = "No game is selected in the settings, so the scan checks none of the " +
                               std::to_string(games.size()) + " games.\n\nScan anyway ?";
  return ShowMessage(ui(), question, kNothingSelectedTitle, {MessageButtons::kYesNo, MessageIcon::kQuestion}) ==
         kResultYes;
}

void ScannerDialog::Scan(bool fastscan) {
  if (scanning_) return;
  CommitEdits();
  if (!AgreesToScanNothing()) return;
  if (!resultsWindow_->isVisible()) resultsWindow_->show();
  scanning_ = true;
  scanInterface_.ClearStop();

  ZipLibrary zipLibrary;
  if (context_.zipLevel != nullptr) zipLibrary.level = *context_.zipLevel;
  zipLibrary.headerCheck = context_.zipHeaderCheck;
  ScanRequest request;
  request.fastscan = fastscan;
  request.dataCrc = context_.dataCrc;
  request.dataFolder = context_.dataFolder;
  request.zipLibrary = &zipLibrary;
  request.romless = context_.romless;
  request.showStatistics = false;  // shown below, in a window of its own
  // Over a software list the scan looks in the list's folder of every ROM
  // path and keeps a fastscan file of the list's own.
  SettingsRecord run = InSoftwareList(settings_, context_.listFolder);
  const ScanOutcome outcome =
      RunJournaled(context_.dataFolder, fastscan ? "fastscan" : "scan", [&](FileSystem& fs) {
        request.fs = fs;
        return ScanOffGuiThread(request, run);
      });
  settings_ = OutOfSoftwareList(run, settings_, context_.listFolder);
  scanning_ = false;
  problems_.ShowGathered(kScanProblemsTitle);

  // A fastscan takes the options it was written with.
  if (fastscan) Refresh();
  if (closeAfterScan_) {
    closeAfterScan_ = false;
    done(QDialog::Rejected);
    return;
  }
  if (outcome.refused) return;
  statisticsText_ = outcome.statisticsText;
  lastScanStatus_ = ScanStatus(outcome.statistics, FromQString(QTime::currentTime().toString("HH:mm")));
  if (showStatistics) showStatistics(statisticsText_);
}

// The scan runs on a worker thread into a results model of its own; the
// results window is fed from it in batches, about twenty times a second.
ScanOutcome ScannerDialog::ScanOffGuiThread(const ScanRequest& request, SettingsRecord& run) {
  ResultsModel produced;
  ResultsFeed feed(produced);
  QTimer delivery;
  delivery.setInterval(kDeliveryMilliseconds);
  connect(&delivery, &QTimer::timeout, this, [&] {
    // A filter being worked out reads the results: they wait for it.
    if (resultsWindow_->tableModel()->computing()) return;
    const ResultsFeed::Delivery delivered = feed.Deliver(results_, kLinesPerDelivery);
    if (delivered.changed) resultsWindow_->Follow();
    // A scan that ran ahead is caught up with sooner, yet not at once: a
    // GUI thread that never sleeps is the one the system makes wait.
    delivery.setInterval(delivered.more ? kCatchUpMilliseconds : kDeliveryMilliseconds);
  });
  delivery.start();
  // The scan waits for the window to catch up, so that its last lines too
  // come in turns rather than all at once.
  const ScanOutcome outcome = RunToolOffGuiThread(&scanInterface_, [&](UserInterface* worker) {
    const ScanOutcome scanned = RunScan(*context_.database, scanResults_, run, worker, produced, request);
    feed.WaitUntilDelivered();
    return scanned;
  });
  delivery.stop();
  resultsWindow_->tableModel()->Settle();
  feed.Finish(results_);
  resultsWindow_->Follow();
  return outcome;
}

// The messages name the file: a relative name means the program's folder,
// which the user may not think of.
void ScannerDialog::SaveLogfile() {
  CommitEdits();
  resultsWindow_->Follow();
  if (results_.items.empty()) return;
  const std::string path = AbsolutePath(WithListName(settings_.scannerLogfile, context_.listFolder));
  if (WriteScannerLog(path, results_, settings_.addStatistics, statisticsText_)) {
    ShowMessage(ui(), "Logfile saved successfully !\n\n" + path, "Logfile Saved",
                {MessageButtons::kOk, MessageIcon::kInformation});
  } else {
    ShowMessage(ui(), "Error while saving logfile !\n\n" + path, "Logfile Error",
                {MessageButtons::kOk, MessageIcon::kExclamation});
  }
}

// Yes to the results window's question: a running scan stops at its next
// check and the dialog closes once it has; else the dialog closes now.
void ScannerDialog::StopAndClose() {
  if (scanning_) {
    scanInterface_.RequestStop();
    closeAfterScan_ = true;
    return;
  }
  done(QDialog::Rejected);
}

void ScannerDialog::ShowProgress(bool shown) {
  if (QWidget* progress = scanInterface_.progressWindow()) progress->setVisible(shown);
}

void ScannerDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (placed_) return;
  placed_ = true;
  PlaceResultsBeside();
  resultsWindow_->show();
}

// The results window keeps the rectangle it was last given; the first
// time it comes up beside this dialog.
void ScannerDialog::PlaceResultsBeside() {
  const WindowLayout defaults;
  const WindowLayout& layout = *context_.layout;
  if (layout.outputLeft != defaults.outputLeft || layout.outputTop != defaults.outputTop ||
      layout.outputRight != defaults.outputRight || layout.outputBottom != defaults.outputBottom)
    return;
  const QRect frame = frameGeometry();
  resultsWindow_->move(frame.right() + 8, frame.top());
  resultsWindow_->resize(480, std::max(frame.height(), 400));
}

void ScannerDialog::RememberPositions() {
  if (isMinimized()) showNormal();
  context_.layout->scanDlgX = pos().x();
  context_.layout->scanDlgY = pos().y();
}

void ScannerDialog::done(int result) {
  // Closing while a scan runs (Escape reaches the dialog only through the
  // progress window's owner) stops the scan first.
  if (scanning_) {
    StopAndClose();
    return;
  }
  RememberPositions();
  if (resultsWindow_ != nullptr) resultsWindow_->CloseQuietly();
  QDialog::done(result);
}

QWidget* ScannerDialog::control(int id) const {
  if (id == kFastscanEdit) return fastscanEdit_;
  if (id == kLogfileEdit) return logfileEdit_;
  auto found = buttons_.find(id);
  return found != buttons_.end() ? found->second : nullptr;
}

}  // namespace kestrel
