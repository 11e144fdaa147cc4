#include "gui/settings_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <iterator>

#include "acquire/acquire_game_data.h"
#include "acquire/import_paths.h"
#include "archive/zip_library.h"
#include "gui/off_gui_thread.h"
#include "gui/games_list.h"
#include "gui/list_messages_window.h"
#include "gui/path_list_editing.h"
#include "gui/qt_text.h"
#include "gui/software_list_source.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "settings/profile.h"
#include "settings/tool_folders.h"

namespace kestrel {
namespace {

struct PriorityItem {
  const char* caption;
  ThreadPriorityLevel value;
};

constexpr PriorityItem kPriorities[] = {
    {"IDLE", kPriorityIdle}, {"LOWEST", kPriorityLowest}, {"BELOW_NORMAL", kPriorityBelowNormal},
    {"NORMAL", kPriorityNormal}, {"ABOVE NORMAL", kPriorityAboveNormal}, {"HIGHEST", kPriorityHighest},
    {"TIME_CRITICAL", kPriorityTimeCritical},
};
constexpr int kPriorityCount = static_cast<int>(std::size(kPriorities));

constexpr char kProfileFilter[] = "Kestrel profiles (*.kpf)|*.kpf||";
constexpr int kSearchDelayMilliseconds = 150;

// Puts `widgets` side by side into row `row` of `grid`, one per column.
void AddGridRow(QGridLayout* grid, int row, std::initializer_list<QWidget*> widgets) {
  int column = 0;
  for (QWidget* widget : widgets) grid->addWidget(widget, row, column++);
}

int PriorityComboIndex(ThreadPriorityLevel value) {
  for (int i = 0; i < kPriorityCount; ++i)
    if (kPriorities[i].value == value) return i;
  return 0;  // an unknown level shows as IDLE
}

Qt::CheckState LiErrorsState(ListErrorLevel value) {
  if (value == kShowNoListErrors) return Qt::Unchecked;
  if (value == kShowRomErrors) return Qt::PartiallyChecked;
  return Qt::Checked;
}

ListErrorLevel LiErrorsValue(Qt::CheckState state) {
  if (state == Qt::Unchecked) return kShowNoListErrors;
  if (state == Qt::PartiallyChecked) return kShowRomErrors;
  return kShowSetErrors;
}

// The list combo's entries are in the order of PathListKind.
PathListKind PathListAt(int index) { return PathListKind{index}; }
int IndexOfPathList(PathListKind kind) { return static_cast<int>(kind); }

// The source radios' ids are the numbers of DataSourceKind.
int IdOfSource(DataSourceKind source) { return static_cast<int>(source); }

QToolButton* BrowseButton(QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setText("<");
  return button;
}

QPushButton* Button(const char* caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  // Return in an edit commits the edit; it must not end the dialog.
  button->setAutoDefault(false);
  return button;
}

QToolButton* ArrowButton(Qt::ArrowType arrow, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setArrowType(arrow);
  button->setAutoRepeat(false);
  return button;
}

std::string FolderWithSeparator(const std::string& text) {
  if (text.empty() || text == "/") return text;
  return WithTrailingSeparator(text);
}

}  // namespace

std::string SettingsDialogTitle(const LoadedData& loaded) {
  const std::string source = loaded.source ? FileNamePart(loaded.path) : "<NO DATA>";
  return "Kestrel Settings | Data In Memory: " + source;
}

int ClampZipLevel(const std::string& text, int previous) {
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  while (begin < end && (*begin == ' ' || *begin == '\t')) ++begin;
  if (begin < end && *begin == '+') ++begin;
  long long value = 0;
  const auto [stop, error] = std::from_chars(begin, end, value);
  if (error == std::errc::result_out_of_range) return stop > begin && *begin == '-' ? 0 : 9;
  if (error != std::errc() || stop == begin) return previous;
  return static_cast<int>(std::clamp<long long>(value, 0, 9));
}

SettingsDialog::SettingsDialog(const SettingsDialogContext& context, QWidget* parent)
    : QDialog(parent), context_(context), record_(*context.record), startOption_(context.startOption), own_(this) {
  for (const GameSet& game : *context_.database) selectionAtStart_.push_back(game.selected);
  BuildControls();
  AddToolTips();
  ConnectControls();
  // A position left from a screen that is gone would hide the dialog.
  if (context_.positionX != nullptr && context_.positionY != nullptr &&
      (*context_.positionX != 0 || *context_.positionY != 0)) {
    const QPoint position(*context_.positionX, *context_.positionY);
    if (QGuiApplication::screenAt(position) != nullptr) move(position);
  }
  Refresh();
}

void SettingsDialog::BuildControls() {
  listCombo_ = new QComboBox(this);
  listCombo_->addItems({"ROM-Paths", "Sample-Paths", "Misc-Paths", "Add-Paths", "Games"});
  gameFilter_ = new QLineEdit(this);
  parentClones_ = new QCheckBox("Parent/&Clones", this);
  tree_ = new QTreeWidget(this);
  tree_->setHeaderHidden(true);
  tree_->setRootIsDecorated(false);
  tree_->setUniformRowHeights(true);
  tree_->setMinimumSize(420, 220);
  moveUp_ = ArrowButton(Qt::UpArrow, this);
  moveDown_ = ArrowButton(Qt::DownArrow, this);
  selectAll_ = Button("S&elect Shown", this);
  selectNone_ = Button("&Unselect Shown", this);
  add_ = Button("&Add", this);
  remove_ = Button("Remo&ve", this);
  import_ = Button("&Import Paths", this);

  liErrors_ = new QCheckBox("Displa&y LI Errors", this);
  liErrors_->setTristate(true);
  priority_ = new QComboBox(this);
  for (const PriorityItem& item : kPriorities) priority_->addItem(item.caption);
  pathWarnings_ = new QCheckBox("Path &Warnings", this);
  zipLevelEdit_ = new QLineEdit(this);
  zipLevelEdit_->setMaximumWidth(36);
  zipUp_ = ArrowButton(Qt::UpArrow, this);
  zipDown_ = ArrowButton(Qt::DownArrow, this);
  lastSettings_ = new QRadioButton("Last Settin&gs", this);
  pickProfile_ = new QRadioButton("Pic&k A Profile", this);
  auto* startGroup = new QButtonGroup(this);
  startGroup->addButton(lastSettings_);
  startGroup->addButton(pickProfile_);

  useMame_ = new QRadioButton("Use &Mame.exe", this);
  useDatfile_ = new QRadioButton("Use Dat&file", this);
  useRaine_ = new QRadioButton("Use &Raine.exe", this);
  useSoftwareLists_ = new QRadioButton("Use MAME Software Lists (&XML)", this);
  softwareLists_ = new SoftwareListSource(record_, ui(), this);
  sourceGroup_ = new QButtonGroup(this);
  sourceGroup_->addButton(useMame_, IdOfSource(DataSourceKind::kMameExe));
  sourceGroup_->addButton(useDatfile_, IdOfSource(DataSourceKind::kDatfile));
  sourceGroup_->addButton(useRaine_, IdOfSource(DataSourceKind::kRaineExe));
  sourceGroup_->addButton(useSoftwareLists_, IdOfSource(DataSourceKind::kSoftwareLists));
  mameEdit_ = new QLineEdit(this);
  datfileEdit_ = new QLineEdit(this);
  raineEdit_ = new QLineEdit(this);
  mameBrowse_ = BrowseButton(this);
  datfileBrowse_ = BrowseButton(this);
  raineBrowse_ = BrowseButton(this);

  makeBackups_ = new QCheckBox("Make &Backups", this);
  backupEdit_ = new QLineEdit(this);
  backupBrowse_ = BrowseButton(this);
  auto* tempLabel = new QLabel("&Temporary Folder", this);
  tempEdit_ = new QLineEdit(this);
  tempLabel->setBuddy(tempEdit_);
  tempBrowse_ = BrowseButton(this);

  load_ = Button("&Load", this);
  save_ = Button("&Save", this);
  default_ = Button("&Default", this);
  ok_ = Button("&OK", this);

  // Left: the lists.
  auto* filterRow = new QHBoxLayout;
  auto* searchLabel = new QLabel("Searc&h Games", this);
  searchLabel->setBuddy(gameFilter_);
  filterRow->addWidget(searchLabel);
  filterRow->addWidget(gameFilter_, 1);
  filterRow->addWidget(parentClones_);
  auto* moveColumn = new QVBoxLayout;
  moveColumn->addStretch();
  moveColumn->addWidget(moveUp_);
  moveColumn->addWidget(moveDown_);
  moveColumn->addStretch();
  auto* treeRow = new QHBoxLayout;
  treeRow->addWidget(tree_, 1);
  treeRow->addLayout(moveColumn);
  auto* listButtons = new QHBoxLayout;
  for (QPushButton* button : {selectAll_, selectNone_, add_, remove_, import_})
    listButtons->addWidget(button);
  auto* lists = new QVBoxLayout;
  lists->addWidget(listCombo_);
  lists->addLayout(filterRow);
  lists->addLayout(treeRow, 1);
  lists->addLayout(listButtons);

  // Right: options.
  auto* options = new QGroupBox("Options", this);
  auto* optionsGrid = new QGridLayout(options);
  optionsGrid->addWidget(liErrors_, 0, 0, 1, 3);
  optionsGrid->addWidget(pathWarnings_, 1, 0, 1, 3);
  optionsGrid->addWidget(new QLabel("Thread Priority", this), 2, 0);
  optionsGrid->addWidget(priority_, 2, 1, 1, 2);
  optionsGrid->addWidget(new QLabel("Zip Level", this), 3, 0);
  auto* zipRow = new QHBoxLayout;
  zipRow->addWidget(zipLevelEdit_);
  zipRow->addWidget(zipUp_);
  zipRow->addWidget(zipDown_);
  zipRow->addStretch();
  optionsGrid->addLayout(zipRow, 3, 1, 1, 2);
  auto* start = new QGroupBox("Starting Options", this);
  auto* startLayout = new QVBoxLayout(start);
  startLayout->addWidget(lastSettings_);
  startLayout->addWidget(pickProfile_);
  auto* profile = new QGroupBox("Profile", this);
  auto* profileLayout = new QGridLayout(profile);
  AddGridRow(profileLayout, 0, {load_, save_});
  AddGridRow(profileLayout, 1, {default_});
  auto* right = new QVBoxLayout;
  right->addWidget(options);
  right->addWidget(start);
  right->addStretch();
  right->addWidget(profile);

  auto* top = new QHBoxLayout;
  top->addLayout(lists, 1);
  top->addLayout(right);

  // Bottom: data source and folders.
  auto* source = new QGroupBox("Data Source", this);
  auto* sourceGrid = new QGridLayout(source);
  AddGridRow(sourceGrid, 0, {useMame_, mameEdit_, mameBrowse_});
  AddGridRow(sourceGrid, 1, {useDatfile_, datfileEdit_, datfileBrowse_});
  AddGridRow(sourceGrid, 2, {useRaine_, raineEdit_, raineBrowse_});
  sourceGrid->addWidget(useSoftwareLists_, 3, 0, Qt::AlignTop);
  sourceGrid->addWidget(softwareLists_, 3, 1, 1, 2);
  auto* folders = new QGroupBox("Folders", this);
  auto* folderGrid = new QGridLayout(folders);
  AddGridRow(folderGrid, 0, {makeBackups_, backupEdit_, backupBrowse_});
  AddGridRow(folderGrid, 1, {tempLabel, tempEdit_, tempBrowse_});

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addWidget(source);
  layout->addWidget(folders);
  // The standard row: OK applies and reads the data, Cancel drops every
  // change, the games' ticks too.
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(ok_, QDialogButtonBox::AcceptRole);
  // Return in an edit commits the edit; it must not cancel either.
  buttons->addButton(QDialogButtonBox::Cancel)->setAutoDefault(false);
  connect(buttons, &QDialogButtonBox::rejected, this, &SettingsDialog::reject);
  layout->addWidget(buttons);
  setSizeGripEnabled(true);
}

void SettingsDialog::AddToolTips() {
  const std::pair<QWidget*, const char*> tips[] = {
      {listCombo_, "Switch between ROM, sample, misc, add paths and gamesselector."},
      {gameFilter_, "Show only the games whose name or description holds this text; "
                    "';' separates several, '*' and '?' match set names."},
      {selectAll_, "Tick every line shown."},
      {selectNone_, "Untick every line shown."},
      {parentClones_, "Automatically enable parent/clones."},
      {tree_, "Here you can see and enable/disable the ROMpaths, samplepaths, etc."},
      {moveUp_, "Here you can change the order of the paths."},
      {moveDown_, "Here you can change the order of the paths."},
      {add_, "Add a path."},
      {remove_, "Remove current selected path."},
      {import_, "Import paths from mame.cfg."},
      {liErrors_, "Show possible errors in MAME's -listinfo output."},
      {priority_, "Change the thread priority."},
      {pathWarnings_, "Check if your paths are valid ROM and samplepaths."},
      {zipLevelEdit_, "Zip-compressionlevel: 0 store 9 highest compression."},
      {zipUp_, "Change the zip-compressionlevel."},
      {zipDown_, "Change the zip-compressionlevel."},
      {lastSettings_, "Start Kestrel with the last used settings."},
      {pickProfile_, "Start Kestrel and ask user for a profile."},
      {load_, "Load a profile."},
      {save_, "Save current settings."},
      {default_, "Set default settings."},
      {ok_, "Apply current settings."},
      {mameBrowse_, "Browse for a MAME binary."},
      {raineBrowse_, "Browse for a RAINE binary."},
      {datfileBrowse_, "Browse for a datfile."},
      {backupBrowse_, "Browse for a backupfolder."},
      {tempBrowse_, "Browse for a temporaryfolder."},
      {mameEdit_, "Enter the name of a MAME binary."},
      {raineEdit_, "Enter the name of a RAINE binary."},
      {datfileEdit_, "Enter the name of a datfile."},
      {backupEdit_, "Enter the name of a backupfolder."},
      {tempEdit_, "Enter the name of a temporaryfolder."},
      {useMame_, "Use data from a MAME binary."},
      {useRaine_, "Use data from a RAINE binary."},
      {useSoftwareLists_, "Use MAME's software lists: the main window loads one at a time, chosen by name."},
      {useDatfile_, "Use data from a datfile."},
      {makeBackups_, "Make backups when fixing (removing) unneeded files."},
  };
  for (const auto& [widget, tip] : tips) widget->setToolTip(tip);
}

void SettingsDialog::ConnectControls() {
  connect(listCombo_, &QComboBox::currentIndexChanged, this, &SettingsDialog::OnListChosen);
  searchDelay_ = new QTimer(this);
  searchDelay_->setSingleShot(true);
  searchDelay_->setInterval(kSearchDelayMilliseconds);
  connect(gameFilter_, &QLineEdit::textChanged, searchDelay_, qOverload<>(&QTimer::start));
  connect(searchDelay_, &QTimer::timeout, this, &SettingsDialog::CommitGameFilter);
  connect(gameFilter_, &QLineEdit::editingFinished, this, &SettingsDialog::CommitGameFilter);
  connect(parentClones_, &QCheckBox::toggled, this, [this](bool on) {
    if (!filling_) record_.parentClones = on;
  });
  connect(tree_, &QTreeWidget::itemChanged, this,
          [this](QTreeWidgetItem* item, int) { OnItemChanged(item); });
  connect(moveUp_, &QToolButton::clicked, this, [this] { MoveSelectedLine(-1); });
  connect(moveDown_, &QToolButton::clicked, this, [this] { MoveSelectedLine(1); });
  connect(selectAll_, &QPushButton::clicked, this, [this] { SetShownLinesEnabled(true); });
  connect(selectNone_, &QPushButton::clicked, this, [this] { SetShownLinesEnabled(false); });
  connect(add_, &QPushButton::clicked, this, &SettingsDialog::OnAdd);
  connect(remove_, &QPushButton::clicked, this, &SettingsDialog::OnRemove);
  connect(import_, &QPushButton::clicked, this, &SettingsDialog::OnImport);
  connect(liErrors_, &QCheckBox::stateChanged, this, [this](int state) {
    if (!filling_) record_.displayLiErrors = LiErrorsValue(static_cast<Qt::CheckState>(state));
  });
  connect(priority_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!filling_ && index >= 0 && index < kPriorityCount) record_.threadPriority = kPriorities[index].value;
  });
  connect(pathWarnings_, &QCheckBox::toggled, this, [this](bool on) {
    if (!filling_) record_.pathWarnings = on;
  });
  connect(zipLevelEdit_, &QLineEdit::editingFinished, this, &SettingsDialog::CommitZipLevel);
  connect(zipUp_, &QToolButton::clicked, this, [this] { StepZipLevel(1); });
  connect(zipDown_, &QToolButton::clicked, this, [this] { StepZipLevel(-1); });
  connect(lastSettings_, &QRadioButton::toggled, this, [this](bool on) {
    if (!filling_ && on) startOption_ = StartOption::kLastSettings;
  });
  connect(pickProfile_, &QRadioButton::toggled, this, [this](bool on) {
    if (!filling_ && on) startOption_ = StartOption::kPickProfile;
  });
  connect(sourceGroup_, &QButtonGroup::idClicked, this, [this](int id) {
    record_.dataSource = DataSourceKind{id};
    UpdateSourceControls();
  });
  connect(mameEdit_, &QLineEdit::editingFinished, this,
          [this] { CommitSourcePath(mameEdit_, record_.mameExe); });
  connect(datfileEdit_, &QLineEdit::editingFinished, this,
          [this] { CommitSourcePath(datfileEdit_, record_.datfile); });
  connect(raineEdit_, &QLineEdit::editingFinished, this,
          [this] { CommitSourcePath(raineEdit_, record_.raineExe); });
  // Programs on Linux have no extension: every file is offered first, and
  // no extension is ever added to the picked name.
  connect(mameBrowse_, &QToolButton::clicked, this, [this] {
    BrowseFile(mameEdit_, record_.mameExe, "", record_.mameExe.c_str(),
               "All files (*)|*|M.A.M.E. executables (*.exe)|*.exe||");
  });
  connect(datfileBrowse_, &QToolButton::clicked, this, [this] {
    BrowseFile(datfileEdit_, record_.datfile, "", record_.datfile.c_str(),
               "Emulator Datfiles (*.dat)|*.dat|All files (*)|*||");
  });
  connect(raineBrowse_, &QToolButton::clicked, this, [this] {
    BrowseFile(raineEdit_, record_.raineExe, "", record_.raineExe.c_str(),
               "All files (*)|*|RAINE executables (*.exe)|*.exe||");
  });
  connect(makeBackups_, &QCheckBox::toggled, this, [this](bool on) {
    if (!filling_) record_.makeBackups = on;
    backupEdit_->setEnabled(on);
    backupBrowse_->setEnabled(on);
  });
  connect(backupEdit_, &QLineEdit::editingFinished, this,
          [this] { CommitFolder(backupEdit_, record_.backupFolder); });
  connect(tempEdit_, &QLineEdit::editingFinished, this,
          [this] { CommitFolder(tempEdit_, record_.tempFolder); });
  connect(backupBrowse_, &QToolButton::clicked, this, [this] {
    BrowseFolder(backupEdit_, record_.backupFolder, "Choose A Backup Folder !");
  });
  connect(tempBrowse_, &QToolButton::clicked, this, [this] {
    BrowseFolder(tempEdit_, record_.tempFolder, "Choose A Temporary Folder !");
  });
  connect(load_, &QPushButton::clicked, this, &SettingsDialog::LoadProfileFromFile);
  connect(save_, &QPushButton::clicked, this, &SettingsDialog::SaveProfileToFile);
  connect(default_, &QPushButton::clicked, this, &SettingsDialog::ResetToDefaults);
  connect(ok_, &QPushButton::clicked, this, &SettingsDialog::Apply);
}

void SettingsDialog::Refresh() {
  filling_ = true;
  const int lastList = IndexOfPathList(PathListKind::kGames);
  record_.currentPathList = PathListAt(std::clamp(IndexOfPathList(record_.currentPathList), 0, lastList));
  listCombo_->setCurrentIndex(IndexOfPathList(record_.currentPathList));
  gameFilter_->setText(ToQString(record_.gameFilter));
  parentClones_->setChecked(record_.parentClones);
  liErrors_->setCheckState(LiErrorsState(record_.displayLiErrors));
  priority_->setCurrentIndex(PriorityComboIndex(record_.threadPriority));
  pathWarnings_->setChecked(record_.pathWarnings);
  zipLevelEdit_->setText(QString::number(record_.zipLevel));
  lastSettings_->setChecked(startOption_ != StartOption::kPickProfile);
  pickProfile_->setChecked(startOption_ == StartOption::kPickProfile);
  if (QAbstractButton* source = sourceGroup_->button(IdOfSource(record_.dataSource))) source->setChecked(true);
  mameEdit_->setText(ToQString(record_.mameExe));
  datfileEdit_->setText(ToQString(record_.datfile));
  raineEdit_->setText(ToQString(record_.raineExe));
  softwareLists_->Refresh();
  makeBackups_->setChecked(record_.makeBackups);
  backupEdit_->setEnabled(record_.makeBackups);
  backupBrowse_->setEnabled(record_.makeBackups);
  backupEdit_->setText(ToQString(record_.backupFolder));
  tempEdit_->setText(ToQString(record_.tempFolder));
  filling_ = false;

  UpdateSourceControls();
  gameLines_ = BuildGameList(*context_.database);
  FillTree();
  setWindowTitle(ToQString(SettingsDialogTitle(*context_.loaded)));
}

bool SettingsDialog::ShowingGames() const { return record_.currentPathList == PathListKind::kGames; }

PathList& SettingsDialog::ShownList() {
  PathList* shown = ShownPathList(record_, gameLines_);
  return shown != nullptr ? *shown : record_.romPaths;
}

void SettingsDialog::FillTree() {
  const bool wasFilling = std::exchange(filling_, true);
  tree_->clear();
  const PathList& lines = ShownList();
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(lines.size()));
  for (const PathEntry& line : lines) {
    auto* item = new QTreeWidgetItem(QStringList(ToQString(line.path)));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(0, line.enabled ? Qt::Checked : Qt::Unchecked);
    items.append(item);
  }
  tree_->addTopLevelItems(items);
  filling_ = wasFilling;
  UpdateListButtons();
  ShowMatchingLines();
}

void SettingsDialog::SyncTreeChecks() {
  const bool wasFilling = std::exchange(filling_, true);
  const PathList& lines = ShownList();
  const int count = std::min<int>(tree_->topLevelItemCount(), static_cast<int>(lines.size()));
  for (int i = 0; i < count; ++i) {
    const Qt::CheckState state = lines[i].enabled ? Qt::Checked : Qt::Unchecked;
    QTreeWidgetItem* item = tree_->topLevelItem(i);
    if (item->checkState(0) != state) item->setCheckState(0, state);
  }
  filling_ = wasFilling;
}

void SettingsDialog::UpdateListButtons() {
  const bool games = ShowingGames();
  add_->setText(games ? "&Avail.Games" : "&Add");
  // Game lines stand for the database in its own order: they can be
  // ticked, not moved or removed.
  moveUp_->setEnabled(!games);
  moveDown_->setEnabled(!games);
  remove_->setEnabled(!games);
}

void SettingsDialog::UpdateSourceControls() {
  const DataSourceKind source = record_.dataSource;
  mameEdit_->setEnabled(source == DataSourceKind::kMameExe);
  mameBrowse_->setEnabled(source == DataSourceKind::kMameExe);
  datfileEdit_->setEnabled(source == DataSourceKind::kDatfile);
  datfileBrowse_->setEnabled(source == DataSourceKind::kDatfile);
  raineEdit_->setEnabled(source == DataSourceKind::kRaineExe);
  raineBrowse_->setEnabled(source == DataSourceKind::kRaineExe);
  softwareLists_->SetUsable(source == DataSourceKind::kSoftwareLists);
}

void SettingsDialog::OnListChosen(int index) {
  if (filling_ || index < 0) return;
  record_.currentPathList = PathListAt(index);
  FillTree();
}

void SettingsDialog::OnItemChanged(QTreeWidgetItem* item) {
  if (filling_) return;
  const int row = tree_->indexOfTopLevelItem(item);
  PathList& lines = ShownList();
  if (row < 0 || row >= static_cast<int>(lines.size())) return;
  const bool enabled = item->checkState(0) == Qt::Checked;
  if (ShowingGames()) {
    SetGameSelected(record_, gameLines_, *context_.database, lines[row].game, enabled);
    SyncTreeChecks();
  } else {
    lines[row].enabled = enabled;
  }
}

void SettingsDialog::MoveSelectedLine(int step) {
  if (ShowingGames()) return;
  QTreeWidgetItem* item = tree_->currentItem();
  if (item == nullptr) return;
  const int row = tree_->indexOfTopLevelItem(item);
  const int moved = MovePathLine(ShownList(), row, step);
  if (moved == row) return;
  FillTree();
  tree_->setCurrentItem(tree_->topLevelItem(moved));
}

void SettingsDialog::OnAdd() {
  if (ShowingGames()) {
    RunGamesFilter(record_, gameLines_, *context_.database, "*.*", false);
    SyncTreeChecks();
    return;
  }
  const std::string folder = PickFolder(ui(), "Choose A Folder !");
  if (folder.empty()) return;
  if (AddPath(ShownList(), folder)) FillTree();
}

void SettingsDialog::OnRemove() {
  if (ShowingGames()) return;
  QTreeWidgetItem* item = tree_->currentItem();
  if (item == nullptr) return;
  RemovePathLine(ShownList(), tree_->indexOfTopLevelItem(item));
  FillTree();
}

void SettingsDialog::OnImport() {
  const std::string path =
      PickFile(ui(), ".cfg", "mame.cfg", "M.A.M.E. config-file (*.cfg)|*.cfg||", true);
  if (path.empty()) return;
  ImportPaths(path, record_);
  FillTree();
}

// The search only shows and hides lines; ticks change by hand or through
// the two buttons below the list.
void SettingsDialog::CommitGameFilter() {
  searchDelay_->stop();
  record_.gameFilter = FromQString(gameFilter_->text());
  ShowMatchingLines();
}

void SettingsDialog::ShowMatchingLines() {
  const GameSearch search(ShowingGames() ? record_.gameFilter : "");
  const PathList& lines = ShownList();
  const int count = std::min<int>(tree_->topLevelItemCount(), static_cast<int>(lines.size()));
  tree_->setUpdatesEnabled(false);
  for (int i = 0; i < count; ++i) {
    const bool hidden = !search.Matches(lines[i], *context_.database);
    QTreeWidgetItem* item = tree_->topLevelItem(i);
    if (item->isHidden() != hidden) item->setHidden(hidden);
  }
  tree_->setUpdatesEnabled(true);
}

void SettingsDialog::SetShownLinesEnabled(bool enabled) {
  std::vector<int> shown;
  for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
    if (!tree_->topLevelItem(i)->isHidden()) shown.push_back(i);
  }
  SetLinesEnabled(record_, gameLines_, *context_.database, shown, enabled);
  SyncTreeChecks();
}

void SettingsDialog::CommitZipLevel() {
  record_.zipLevel = ClampZipLevel(FromQString(zipLevelEdit_->text()), record_.zipLevel);
  zipLevelEdit_->setText(QString::number(record_.zipLevel));
  if (context_.zipLevel != nullptr) *context_.zipLevel = ZipLevelCharacter(record_.zipLevel);
}

void SettingsDialog::StepZipLevel(int step) {
  const int level = ClampZipLevel(FromQString(zipLevelEdit_->text()), record_.zipLevel);
  zipLevelEdit_->setText(QString::number(std::clamp(level + step, 0, 9)));
  CommitZipLevel();
}

void SettingsDialog::CommitSourcePath(QLineEdit* edit, std::string& field) {
  // Linux has no short names; the file's own spelling serves the same end
  // of one canonical text per file. A path that does not exist is kept as
  // typed.
  std::string path = FromQString(edit->text());
  if (std::optional<std::string> found = FindPath(path); found && !path.empty()) path = *found;
  field = path;
  edit->setText(ToQString(path));
}

void SettingsDialog::CommitFolder(QLineEdit* edit, std::string& field) {
  field = FolderWithSeparator(FromQString(edit->text()));
  edit->setText(ToQString(field));
}

void SettingsDialog::BrowseFile(QLineEdit* edit, std::string& field, const char* extension,
                                const char* name, const char* filter) {
  const std::string path = PickFile(ui(), extension, name, filter, true);
  if (path.empty()) return;
  edit->setText(ToQString(path));
  CommitSourcePath(edit, field);
}

void SettingsDialog::BrowseFolder(QLineEdit* edit, std::string& field, const char* title) {
  const std::string folder = PickFolder(ui(), title);
  if (folder.empty()) return;
  edit->setText(ToQString(folder));
  CommitFolder(edit, field);
}

void SettingsDialog::LoadProfileFromFile() {
  const std::string path = PickFile(ui(), ".kpf", "", kProfileFilter, true);
  if (path.empty()) return;
  if (!LoadProfile(record_, path)) {
    ShowMessage(ui(), "Error While Loading Profile", "Load Error",
                {MessageButtons::kOk, MessageIcon::kStop});
    return;
  }
  ValidateProfile(record_, ui());
  // The games list acts on the database at once; a profile saved for the
  // data in memory brings its selection with it.
  ApplyGameSelection(record_, context_.loaded->dataCrc, *context_.database);
  Refresh();
}

void SettingsDialog::SaveProfileToFile() {
  const std::string path = PickFile(ui(), ".kpf", "", kProfileFilter, false);
  if (path.empty()) return;
  if (!SaveProfile(record_, path, *context_.database, context_.loaded->dataCrc))
    ShowMessage(ui(), "Error While Saving Profile", "Save Error",
                {MessageButtons::kOk, MessageIcon::kStop});
}

void SettingsDialog::ResetToDefaults() {
  ResetSettings(record_);
  record_.tempFolder = TempFolder();
  record_.backupFolder = context_.dataFolder + "BACKUP.KPW/";
  CreateFolder(record_.backupFolder);
  Refresh();
}

void SettingsDialog::Apply() {
  record_.gameFilter = FromQString(gameFilter_->text());
  CommitZipLevel();
  record_.mameExe = FromQString(mameEdit_->text());
  record_.datfile = FromQString(datfileEdit_->text());
  record_.raineExe = FromQString(raineEdit_->text());
  softwareLists_->CommitHashPath();
  record_.backupFolder = FolderWithSeparator(FromQString(backupEdit_->text()));
  record_.tempFolder = FolderWithSeparator(FromQString(tempEdit_->text()));

  workingDatabase_.clear();
  ListMessages listMessages;
  LoadedData& loaded = *context_.loaded;
  // Read off the GUI thread, as the main window reads it; the dialog takes
  // no input meanwhile.
  // Software lists are read one at a time, the one chosen in the main
  // window.
  const bool lists = record_.dataSource == DataSourceKind::kSoftwareLists;
  setEnabled(false);
  const bool acquired = lists || RunToolOffGuiThread(ui(), [&](UserInterface* worker) {
    return AcquireGameData(record_, loaded, *context_.rawGames, workingDatabase_, worker, context_.dataFolder,
                           listMessages);
  });
  setEnabled(true);
  // The list's problems, in one window that outlives this dialog.
  ShowListMessages(parentWidget(), kGameListProblemsTitle, std::move(listMessages));
  if (!acquired)
    ShowMessage(ui(), "Can't Receive Data !", "Data Error",
                {MessageButtons::kOk, MessageIcon::kStop});

  CheckFolder(record_.backupFolder, true);
  CheckFolder(record_.tempFolder, true);
  for (FolderFault fault : {FolderFault::kNoBackupFolder, FolderFault::kNoTempFolder}) {
    if (LacksWorkingFolder(record_, fault))
      ShowMessage(ui(), WorkingFolderText(fault), "Path-Error", {MessageButtons::kOk, MessageIcon::kExclamation});
  }

  // Data read anew take the selection the profile saved for them, as at
  // start-up.
  if (!workingDatabase_.empty()) {
    *context_.database = std::move(workingDatabase_);
    ApplyGameSelection(record_, loaded.dataCrc, *context_.database);
  }
  RememberPosition();
  accept();
}

void SettingsDialog::RememberPosition() {
  if (context_.positionX != nullptr) *context_.positionX = pos().x();
  if (context_.positionY != nullptr) *context_.positionY = pos().y();
}

void SettingsDialog::closeEvent(QCloseEvent* event) {
  RememberPosition();
  QDialog::closeEvent(event);
}

// Cancel leaves the games selected as they were when the dialog opened;
// the record is a copy the main window drops by itself.
void SettingsDialog::reject() {
  RememberPosition();
  GameList& database = *context_.database;
  if (database.size() == selectionAtStart_.size()) {
    for (size_t i = 0; i < database.size(); ++i) database[i].selected = selectionAtStart_[i];
  }
  QDialog::reject();
}

QWidget* SettingsDialog::control(int id) const {
  switch (id) {
    case kSettingsListCombo: return listCombo_;
    case kSettingsMameBrowse: return mameBrowse_;
    case kSettingsDatfileBrowse: return datfileBrowse_;
    case kSettingsRaineBrowse: return raineBrowse_;
    case kSettingsGameFilter: return gameFilter_;
    case kSettingsParentClones: return parentClones_;
    case kSettingsTree: return tree_;
    case kSettingsSelectAll: return selectAll_;
    case kSettingsSelectNone: return selectNone_;
    case kSettingsAdd: return add_;
    case kSettingsRemove: return remove_;
    case kSettingsImport: return import_;
    case kSettingsLiErrors: return liErrors_;
    case kSettingsPriority: return priority_;
    case kSettingsPathWarnings: return pathWarnings_;
    case kSettingsZipLevel: return zipLevelEdit_;
    case kSettingsLastSettings: return lastSettings_;
    case kSettingsPickProfile: return pickProfile_;
    case kSettingsUseMame: return useMame_;
    case kSettingsUseDatfile: return useDatfile_;
    case kSettingsUseRaine: return useRaine_;
    case kSettingsUseSoftwareLists: return useSoftwareLists_;
    case kSettingsSoftwareLists: return softwareLists_->lists();
    case kSettingsHashEdit: return softwareLists_->hashEdit();
    case kSettingsMameEdit: return mameEdit_;
    case kSettingsDatfileEdit: return datfileEdit_;
    case kSettingsRaineEdit: return raineEdit_;
    case kSettingsMakeBackups: return makeBackups_;
    case kSettingsBackupEdit: return backupEdit_;
    case kSettingsTempEdit: return tempEdit_;
    case kSettingsLoad: return load_;
    case kSettingsSave: return save_;
    case kSettingsDefault: return default_;
    case kSettingsOk: return ok_;
    default: return nullptr;
  }
}

}  // namespace kestrel
