#include "gui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFrame>
#include <QLabel>
#include <QContextMenuEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "acquire/acquire_game_data.h"
#include "archive/zip_library.h"
#include "gamedb/software_list_name.h"
#include "gui/undo_actions.h"
#include "gui/about_box.h"
#include "gui/list_messages_window.h"
#include "gui/off_gui_thread.h"
#include "gui/scanner_dialog.h"
#include "gui/merger_dialog.h"
#include "gui/rebuilder_dialog.h"
#include "gui/settings_dialog.h"
#include "gui/qt_text.h"
#include "gui/start_choice.h"
#include "gui/status_texts.h"
#include "gui/tool_pictures.h"
#include "platform/file_system.h"
#include "settings/profile.h"
#include "settings/tool_folders.h"

namespace kestrel {
namespace {

constexpr char kGoToSettings[] = "\n\nGo To The Settings Dialog !";
constexpr char kProfileFilter[] = "Kestrel profiles (*.kpf)|*.kpf||";

constexpr char kWelcomeText[] =
    "You're starting Kestrel for the very first time.\n\n"
    "The next window you can see is the settings-dialog.\n\n"
    "You should:\n\n"
    "\t1) - Choose a data-source (mame.exe or datfile)\n\n"
    "\t2) - Add or import rom/sample/misc paths\n\n"
    "\t3) - Check temporary- and backupfolder\n\n"
    "\t4) - Apply your changes with 'OK'\n\n";

constexpr int kChooseDelayMilliseconds = 600;

QToolButton* ToolButton(const char* caption, ToolPicture picture, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setText(caption);
  button->setIcon(DrawToolPicture(picture));
  button->setIconSize(QSize(32, 32));
  button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  button->setMinimumSize(84, 64);
  return button;
}

}  // namespace

MainWindow::MainWindow(const std::string& dataFolder, const UserValues& values, char* zipLevel,
                       QWidget* parent)
    : QWidget(parent), dataFolder_(dataFolder), values_(values), zipLevel_(zipLevel), own_(this) {
  setWindowTitle(kMainWindowCaption);
  setWindowIcon(DrawProgramIcon());
  BuildButtons();
  BuildMenu();
  SetDefaultFolders();
  ApplyZipLevel();
  runSettingsDialog = [](SettingsDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
  // Not modal: the results window beside it must take input while it is
  // open. The main window, minimised, takes none meanwhile.
  runScannerDialog = [](ScannerDialog& dialog) {
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    dialog.show();
    loop.exec();
  };
  runRebuilderDialog = [](RebuilderDialog& dialog) { dialog.exec(); };
  runMergerDialog = [](MergerDialog& dialog) { dialog.exec(); };
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildButtons() {
  scanner_ = ToolButton("S&canner", ToolPicture::kScanner, this);
  merger_ = ToolButton("&Merger", ToolPicture::kMerger, this);
  rebuilder_ = ToolButton("&Rebuilder", ToolPicture::kRebuilder, this);
  settingsButton_ = ToolButton("&Settings", ToolPicture::kSettings, this);

  connect(scanner_, &QToolButton::clicked, this, [this] { RunTool(kCommandScanner); });
  connect(merger_, &QToolButton::clicked, this, [this] { RunTool(kCommandMerger); });
  connect(rebuilder_, &QToolButton::clicked, this, [this] { RunTool(kCommandRebuilder); });
  connect(settingsButton_, &QToolButton::clicked, this, [this] { RunTool(kCommandSettings); });

  auto* grid = new QGridLayout;
  grid->addWidget(scanner_, 0, 0);
  grid->addWidget(rebuilder_, 0, 1);
  grid->addWidget(merger_, 0, 2);
  grid->addWidget(settingsButton_, 0, 3);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(BuildListChooser());

  // The status lines: plain text, a list's file name may hold anything.
  auto* status = new QVBoxLayout;
  status->setSpacing(0);
  for (QLabel** label : {&listStatus_, &selectionStatus_, &scanStatus_}) {
    *label = new QLabel(this);
    (*label)->setTextFormat(Qt::PlainText);
    (*label)->setWordWrap(true);
    status->addWidget(*label);
  }
  auto* frame = new QFrame(this);
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setLayout(status);
  layout->addWidget(frame);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  UpdateStatus();
}

// Each software list is game data of its own: the chooser picks the one
// the tools work on. Hidden while the data source is another.
QWidget* MainWindow::BuildListChooser() {
  listRow_ = new QWidget(this);
  auto* row = new QHBoxLayout(listRow_);
  row->setContentsMargins(0, 0, 0, 0);
  auto* label = new QLabel("Software &list:", listRow_);
  listChooser_ = new QComboBox(listRow_);
  listChooser_->setToolTip("The MAME software list the tools work on: its sets lie in a folder of its name in "
                           "every ROM path");
  listChooser_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  label->setBuddy(listChooser_);
  row->addWidget(label);
  row->addWidget(listChooser_, 1);
  // Typing a name steps through the lists letter by letter: the list is
  // loaded once the choice has rested a moment, not at every step.
  chooseDelay_ = new QTimer(this);
  chooseDelay_->setSingleShot(true);
  chooseDelay_->setInterval(kChooseDelayMilliseconds);
  connect(chooseDelay_, &QTimer::timeout, this, [this] { ChooseSoftwareList(listChooser_->currentIndex()); });
  connect(listChooser_, &QComboBox::activated, chooseDelay_, qOverload<>(&QTimer::start));
  listRow_->hide();
  return listRow_;
}

// The original puts these two items into the window's system menu, which
// Linux desktops do not let a program extend; a menu bar and the context
// menu carry them instead.
void MainWindow::BuildMenu() {
  advancedZipScanner_ = new QAction("Use Advanced &Zip Scanner", this);
  advancedZipScanner_->setCheckable(true);
  advancedZipScanner_->setChecked(values_.advancedZipScanner == 1);
  connect(advancedZipScanner_, &QAction::toggled, this, &MainWindow::SetAdvancedZipScanner);
  about_ = new QAction("&About Kestrel...", this);
  connect(about_, &QAction::triggered, this, &MainWindow::ShowAbout);
  undoLastRun_ = new QAction("&Undo Last Run...", this);
  connect(undoLastRun_, &QAction::triggered, this, &MainWindow::UndoLastRun);
  runHistory_ = new QAction("Run &History...", this);
  connect(runHistory_, &QAction::triggered, this, &MainWindow::ShowRunHistory);

  auto* bar = new QMenuBar(this);
  QMenu* menu = bar->addMenu("&Kestrel");
  menu->addAction(advancedZipScanner_);
  menu->addSeparator();
  menu->addAction(undoLastRun_);
  menu->addAction(runHistory_);
  menu->addSeparator();
  menu->addAction(about_);
  layout()->setMenuBar(bar);
}

void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  menu.addAction(advancedZipScanner_);
  menu.addSeparator();
  menu.addAction(undoLastRun_);
  menu.addAction(runHistory_);
  menu.addSeparator();
  menu.addAction(about_);
  menu.exec(event->globalPos());
}

void MainWindow::SetDefaultFolders() {
  settings_.backupFolder = dataFolder_ + "BACKUP.KPW/";
  if (!FolderExists(settings_.backupFolder)) CreateFolder(settings_.backupFolder);
  settings_.tempFolder = TempFolder();
}

// The zip library writes at the level of the settings in force, also after
// a profile brought its own.
void MainWindow::ApplyZipLevel() {
  if (zipLevel_ == nullptr) return;
  *zipLevel_ = ZipLevelCharacter(settings_.zipLevel);
}

void MainWindow::SetAdvancedZipScanner(bool on) {
  values_.advancedZipScanner = on ? 1 : 0;
  if (advancedZipScanner_->isChecked() != on) advancedZipScanner_->setChecked(on);
}

// A list being read changes nothing on disk, yet an undo meanwhile would
// change what it reads.
void MainWindow::UndoLastRun() {
  if (loading_) return;
  kestrel::UndoLastRun(ui(), dataFolder_);
}

void MainWindow::ShowRunHistory() { kestrel::ShowRunHistory(this, dataFolder_); }

void MainWindow::ShowAbout() {
  AboutBox box(this);
  box.exec();
}

void MainWindow::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  if (firstPaintHandled_) return;
  firstPaintHandled_ = true;
  // Dialogs must not open inside a paint; the start-up runs right after.
  QTimer::singleShot(0, this, &MainWindow::StartUp);
}

void MainWindow::StartUp() {
  firstPaintHandled_ = true;
  switch (ChooseStartAction(values_)) {
    case StartAction::kWelcome:
      ShowMessage(ui(), kWelcomeText, "Welcome To Kestrel", {MessageButtons::kOk, MessageIcon::kInformation});
      OpenSettings();
      break;
    case StartAction::kLoadLastProfile:
      LoadProfileAndData(dataFolder_ + kLastProfileName);
      break;
    case StartAction::kPickProfile:
      if (const std::string path = PickFile(ui(), ".kpf", "", kProfileFilter, true); !path.empty())
        LoadProfileAndData(path);
      break;
  }
  update();
}

void MainWindow::Tell(const std::string& text, const std::string& title) {
  ShowMessage(ui(), text, title, {MessageButtons::kOk, MessageIcon::kStop});
}

bool MainWindow::LoadProfileAndData(const std::string& path) {
  if (!LoadProfile(settings_, path)) {
    Tell("Error While Loading Profile: '" + path + "'" + kGoToSettings, "Load Error");
    return false;
  }
  ApplyZipLevel();
  if (!ValidateProfile(settings_, ui())) {
    Tell(std::string("Some Profile-Settings Aren't Valid !") + kGoToSettings, "Profile Error");
    return false;
  }
  return LoadData();
}

bool MainWindow::LoadData() {
  if (settings_.dataSource == DataSourceKind::kSoftwareLists) return LoadSoftwareLists();
  ShowSoftwareLists({});
  ListMessages listMessages;
  // The list is read on a worker thread; until it is in, no tool starts and
  // the window does not close over it.
  loading_ = true;
  const bool acquired = RunToolOffGuiThread(ui(), [&](UserInterface* worker) {
    if (!AcquireGameData(settings_, loaded_, rawGames_, database_, worker, dataFolder_, listMessages)) return false;
    ApplyGameSelection(settings_, loaded_.dataCrc, database_);
    return true;
  });
  loading_ = false;
  ShowListMessages(this, kGameListProblemsTitle, std::move(listMessages));  // the list's problems, in one window
  if (!acquired) {
    Tell(std::string("Can't Receive Data !") + kGoToSettings, "Data Error");
    return false;
  }
  UpdateStatus();
  return true;
}

void MainWindow::DropData() {
  loaded_ = LoadedData{};
  rawGames_.clear();
  database_.clear();
  UpdateStatus();
}

void MainWindow::ShowSoftwareLists(std::vector<SoftwareList> lists) {
  softwareLists_ = std::move(lists);
  chosenList_ = -1;
  listChooser_->clear();
  for (const SoftwareList& list : softwareLists_) listChooser_->addItem(ToQString(list.name));
  listRow_->setVisible(!softwareLists_.empty());
}

// The settings' lists fill the chooser, and the list chosen before (the
// first at start) is loaded. Finding them reads the start of every list
// of the hash folder: off the GUI thread too.
bool MainWindow::LoadSoftwareLists() {
  const std::string before = chosenList_ >= 0 ? softwareLists_[static_cast<size_t>(chosenList_)].name : "";
  SoftwareListsFound found;
  loading_ = true;
  RunOffGuiThread([&] { found = FindListsOfSettings(settings_); });
  loading_ = false;
  if (found.fault.empty() && found.lists.empty()) found.fault = "The settings name no software list";
  if (!found.fault.empty()) {
    ShowSoftwareLists({});
    DropData();
    Tell(found.fault + kGoToSettings, "Data Error");
    return false;
  }
  ShowSoftwareLists(std::move(found.lists));
  int index = 0;
  for (size_t i = 0; i < softwareLists_.size(); ++i)
    if (softwareLists_[i].name == before) index = static_cast<int>(i);
  return ChooseSoftwareList(index);
}

bool MainWindow::ChooseSoftwareList(int index) {
  if (loading_ || index < 0 || index >= static_cast<int>(softwareLists_.size())) return false;
  const SoftwareList list = softwareLists_[static_cast<size_t>(index)];
  listChooser_->setCurrentIndex(index);
  // The list in memory keeps the games the user selected since.
  if (loaded_.path == list.path && !database_.empty()) {
    chosenList_ = index;
    return true;
  }
  chosenList_ = index;
  SettingsRecord toLoad = SettingsToLoad(settings_, list);
  const std::string listData = ListDataFolder(dataFolder_, list.name);
  ListMessages listMessages;
  bool needsFiles = true;
  loading_ = true;
  listChooser_->setEnabled(false);
  const bool acquired = RunToolOffGuiThread(ui(), [&](UserInterface* worker) {
    // Such a list describes cartridges without data: it has no sets.
    needsFiles = NamesAnyFile(list.path);
    if (!needsFiles) return false;
    if (!AcquireGameData(toLoad, loaded_, rawGames_, database_, worker, listData, listMessages)) return false;
    ApplyGameSelection(settings_, loaded_.dataCrc, database_);
    return true;
  });
  listChooser_->setEnabled(true);
  loading_ = false;
  ShowListMessages(this, kGameListProblemsTitle, std::move(listMessages));
  lastScanStatus_.clear();  // that scan was of another list
  if (!needsFiles) {
    DropData();
    Tell("No item of the software list '" + list.name + "' needs a file: it has no sets", "Software List");
    return false;
  }
  UpdateStatus();
  if (!acquired) {
    Tell("Can't Receive Data From The Software List '" + list.name + "' !" + kGoToSettings, "Data Error");
    return false;
  }
  return true;
}

std::string MainWindow::listFolder() const {
  if (chosenList_ < 0 || database_.empty()) return "";
  return softwareLists_[static_cast<size_t>(chosenList_)].name;
}

bool MainWindow::CheckToolData() {
  if (!database_.empty()) return true;
  Tell(std::string("No Valid Data Available") + kGoToSettings, "Data Error");
  return false;
}

bool MainWindow::CheckTempFolder() {
  if (!LacksWorkingFolder(settings_, FolderFault::kNoTempFolder)) return true;
  Tell(WorkingFolderText(FolderFault::kNoTempFolder) + kGoToSettings, "Path Error");
  return false;
}

bool MainWindow::RunTool(int command) {
  if (loading_) return false;
  // A list chosen a moment ago is the one the tool is meant for.
  if (chooseDelay_->isActive()) {
    chooseDelay_->stop();
    ChooseSoftwareList(listChooser_->currentIndex());
  }
  switch (command) {
    case kCommandScanner:
      if (!CheckToolData()) return false;
      ValidateProfile(settings_, ui());
      if (FolderCheck check = CheckScannerFolders(settings_); !check.ok()) {
        Tell(WorkingFolderText(check.fault) + kGoToSettings, "Path Error");
        return false;
      }
      OpenScanner();
      return true;
    case kCommandRebuilder:
      if (!CheckToolData() || !CheckTempFolder()) return false;
      OpenRebuilder();
      return true;
    case kCommandMerger:
      if (!CheckToolData()) return false;
      // The merger works in the enabled ROM paths: only those that exist.
      ValidateProfile(settings_, ui());
      OpenMerger();
      return true;
    case kCommandSettings:
      OpenSettings();
      return true;
    default:
      return false;
  }
}

void MainWindow::RunMinimised(const std::function<void()>& tool) {
  showMinimized();
  // No second tool while one is open: the tool dialogs are not all modal.
  setEnabled(false);
  tool();
  setEnabled(true);
  UpdateStatus();
  showNormal();
  raise();
  repaint();
}

void MainWindow::UpdateStatus() {
  listStatus_->setText(ToQString(ListStatus(loaded_, database_)));
  const std::string selection = SelectionStatus(database_);
  selectionStatus_->setText(ToQString(selection));
  selectionStatus_->setVisible(!selection.empty());
  scanStatus_->setText(ToQString(lastScanStatus_.empty() ? "No scan yet" : lastScanStatus_));
}

QString MainWindow::statusText() const {
  return listStatus_->text() + "\n" + selectionStatus_->text() + "\n" + scanStatus_->text();
}

void MainWindow::OpenSettings() {
  SettingsRecord copy = settings_;
  SettingsDialogContext context;
  context.record = &copy;
  context.rawGames = &rawGames_;
  context.database = &database_;
  context.loaded = &loaded_;
  context.dataFolder = dataFolder_;
  context.zipLevel = zipLevel_;
  context.positionX = &values_.layout.settingsDlgX;
  context.positionY = &values_.layout.settingsDlgY;
  context.ui = injected_;
  // The start choice lasts from run to run and shows in the settings dialog.
  context.startOption = values_.startFrom;
  // A window of its own rather than a child: some desktops hide the
  // dialogs of a minimised window with it.
  SettingsDialog dialog(context, nullptr);
  dialog.setWindowIcon(windowIcon());
  bool accepted = false;
  RunMinimised([&] { accepted = runSettingsDialog(dialog); });
  if (accepted) {
    settings_ = std::move(copy);
    values_.startFrom = dialog.startOption();
    // The dialog reads a game list itself; software lists are read here,
    // one at a time.
    if (settings_.dataSource == DataSourceKind::kSoftwareLists) LoadSoftwareLists();
    else ShowSoftwareLists({});
  }
  // A level changed in a dialog that was then dropped must not stay.
  ApplyZipLevel();
}

void MainWindow::OpenScanner() {
  ScannerDialogContext context;
  context.settings = &settings_;
  context.database = &database_;
  context.dataCrc = loaded_.dataCrc;
  context.romless = &loaded_.romless;
  context.dataFolder = dataFolder_;
  context.zipLevel = zipLevel_;
  if (values_.advancedZipScanner == 1) context.zipHeaderCheck = ZipHeaderCheck::kBothHeaders;
  context.layout = &values_.layout;
  context.ui = injected_;
  context.listFolder = listFolder();
  // A window of its own, like the settings dialog: its owner is minimised.
  ScannerDialog dialog(context, nullptr);
  dialog.setWindowIcon(windowIcon());
  RunMinimised([&] {
    runScannerDialog(dialog);
    if (!dialog.lastScanStatus().empty()) lastScanStatus_ = dialog.lastScanStatus();
  });
}

namespace {

// The tools write with the zip library at the level in force, and read
// zips as strictly as the zip scanner switch asks.
ZipLibrary ToolZipLibrary(const char* zipLevel, int advancedZipScanner) {
  ZipLibrary library;
  if (zipLevel != nullptr) library.level = *zipLevel;
  if (advancedZipScanner == 1) library.headerCheck = ZipHeaderCheck::kBothHeaders;
  return library;
}

}  // namespace

// The rebuilder and merger dialogs are windows of their own, as the
// settings dialog, each with the zip library at the settings in force.
template <class Dialog>
void MainWindow::OpenToolDialog(int& x, int& y, const std::function<void(Dialog&)>& run) {
  ZipLibrary zipLibrary = ToolZipLibrary(zipLevel_, values_.advancedZipScanner);
  Dialog dialog(
      ToolDialogContext{&settings_, &database_, &zipLibrary, &x, &y, injected_, dataFolder_, listFolder()}, nullptr);
  dialog.setWindowIcon(windowIcon());
  dialog.setWindowTitle(ToQString(WithListCaption(FromQString(dialog.windowTitle()), listFolder())));
  RunMinimised([&] { run(dialog); });
}

void MainWindow::OpenRebuilder() {
  OpenToolDialog(values_.layout.rebuilderDlgX, values_.layout.rebuilderDlgY, runRebuilderDialog);
}

void MainWindow::OpenMerger() {
  OpenToolDialog(values_.layout.mergerDlgX, values_.layout.mergerDlgY, runMergerDialog);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (loading_) return event->ignore();
  SaveProfile(settings_, dataFolder_ + kLastProfileName, database_, loaded_.dataCrc);
  event->accept();
}

UserValues MainWindow::ValuesAtExit() const {
  UserValues values = values_;
  values.veryFirstTime = 0;
  return values;
}

QToolButton* MainWindow::toolButton(int command) const {
  switch (command) {
    case kCommandScanner: return scanner_;
    case kCommandMerger: return merger_;
    case kCommandRebuilder: return rebuilder_;
    case kCommandSettings: return settingsButton_;
    default: return nullptr;
  }
}

}  // namespace kestrel
