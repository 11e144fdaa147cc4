#include "gui/rebuilder_dialog.h"

#include <QDialogButtonBox>
#include <QAbstractButton>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>
#include <iterator>

#include "gui/journaled_run.h"
#include "gui/gathering_interface.h"
#include "gui/off_gui_thread.h"
#include "gui/qt_text.h"
#include "gui/rebuilder_controls.h"
#include "gui/removal_questions.h"
#include "gui/run_summaries.h"
#include "platform/paths.h"
#include "settings/software_lists.h"

namespace kestrel {
namespace {

// A typed folder is kept with its trailing separator; an empty one stays
// empty, so that the folder check names it as it is.
std::string FolderText(const QString& text) {
  std::string folder = FromQString(text);
  return folder.empty() ? folder : WithTrailingSeparator(folder);
}

}  // namespace

RebuilderDialog::RebuilderDialog(const RebuilderDialogContext& context, QWidget* parent)
    : ToolDialog(context, kRebuilderControls, kRebuilderCaption, parent) {
  BuildLayout();
  ConnectControls();
  Refresh();
  MoveToRememberedPlace();
}

void RebuilderDialog::BuildLayout() {
  auto* folders = new QGridLayout;
  int row = 0;
  for (auto [edit, browse] : {std::pair{kRebuilderSourceEdit, kRebuilderSourceBrowse},
                              std::pair{kRebuilderDestinationEdit, kRebuilderDestinationBrowse}}) {
    folders->addWidget(controls_.label(edit), row, 0);
    folders->addWidget(control(edit), row, 1);
    folders->addWidget(control(browse), row, 2);
    ++row;
  }
  controls_.edit(kRebuilderSourceEdit)->setMinimumWidth(320);

  auto* layoutBox = new QGroupBox("Sets", this);
  auto* layoutColumn = new QVBoxLayout(layoutBox);
  for (int id : {kRebuilderNoMerging, kRebuilderSplitSets, kRebuilderMergeSets, kRebuilderFullNonMerged, kRebuilderZip,
                 kRebuilderTorrentZip})
    layoutColumn->addWidget(control(id));
  auto* typesBox = new QGroupBox("Games", this);
  auto* typesColumn = new QVBoxLayout(typesBox);
  for (int id : {kRebuilderArcade, kRebuilderArcadeNeoGeo, kRebuilderNeoGeoBios})
    typesColumn->addWidget(control(id));
  typesColumn->addStretch();
  auto* optionsBox = new QGroupBox("Options", this);
  auto* optionsColumn = new QVBoxLayout(optionsBox);
  for (int id : {kRebuilderTildeCrcs, kRebuilderZeroCrcs, kRebuilderRecursive, kRebuilderRemoveSources})
    optionsColumn->addWidget(control(id));
  auto* boxes = new QHBoxLayout;
  boxes->addWidget(layoutBox);
  boxes->addWidget(typesBox);
  boxes->addWidget(optionsBox);

  auto* logRow = new QHBoxLayout;
  logRow->addWidget(control(kRebuilderCreateLog));
  logRow->addWidget(control(kRebuilderLogfileEdit), 1);
  logRow->addWidget(control(kRebuilderLogfileBrowse));

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(folders);
  layout->addLayout(boxes);
  layout->addLayout(logRow);
  layout->addStretch();
  layout->addWidget(ButtonRow({kRebuilderRebuild}));
}

void RebuilderDialog::ConnectControls() {
  connect(controls_.edit(kRebuilderSourceEdit), &QLineEdit::editingFinished, this,
          [this] { CommitFolder(kRebuilderSourceEdit, record_.rebuildSource); });
  connect(controls_.edit(kRebuilderDestinationEdit), &QLineEdit::editingFinished, this,
          [this] { CommitFolder(kRebuilderDestinationEdit, record_.rebuildDestination); });
  connect(controls_.edit(kRebuilderLogfileEdit), &QLineEdit::editingFinished, this,
          [this] { record_.rebuildLogfile = FromQString(controls_.edit(kRebuilderLogfileEdit)->text()); });
  connect(controls_.button(kRebuilderSourceBrowse), &QAbstractButton::clicked, this,
          [this] { BrowseFolder(kRebuilderSourceEdit, record_.rebuildSource, kChooseSourceTitle); });
  connect(controls_.button(kRebuilderDestinationBrowse), &QAbstractButton::clicked, this, [this] {
    BrowseFolder(kRebuilderDestinationEdit, record_.rebuildDestination, kChooseDestinationTitle);
  });
  connect(controls_.button(kRebuilderLogfileBrowse), &QAbstractButton::clicked, this,
          &RebuilderDialog::BrowseLogfile);

  controls_.BindRadios(kRebuilderLayoutRadios, kToolLayoutCodes, record_.rebuildMergeMode, &filling_);
  controls_.BindRadios(kRebuilderArcade, 3, record_.rebuildGameTypes, &filling_);
  controls_.BindCheck(kRebuilderZip, record_.rebuildZip, &filling_);
  controls_.BindCheck(kRebuilderTorrentZip, record_.rebuildTorrentZip, &filling_);
  controls_.BindCheck(kRebuilderTildeCrcs, record_.rebuildTildeCrcs, &filling_);
  controls_.BindCheck(kRebuilderZeroCrcs, record_.rebuildZeroCrcs, &filling_);
  controls_.BindCheck(kRebuilderRecursive, record_.rebuildRecursive, &filling_);
  controls_.BindCheck(kRebuilderRemoveSources, record_.rebuildRemoveSources, &filling_);
  controls_.BindCheck(kRebuilderCreateLog, record_.rebuildCreateLog, &filling_);
  connect(controls_.button(kRebuilderCreateLog), &QAbstractButton::toggled, this, [this](bool on) {
    EnableLogfileControls(on);
    if (on && !filling_) controls_.edit(kRebuilderLogfileEdit)->setFocus();
  });
  connect(controls_.button(kRebuilderRebuild), &QAbstractButton::clicked, this, &RebuilderDialog::Rebuild);
}

void RebuilderDialog::Refresh() {
  filling_ = true;
  controls_.edit(kRebuilderSourceEdit)->setText(ToQString(record_.rebuildSource));
  controls_.edit(kRebuilderDestinationEdit)->setText(ToQString(record_.rebuildDestination));
  controls_.edit(kRebuilderLogfileEdit)->setText(ToQString(record_.rebuildLogfile));
  // A value out of range (a damaged profile) checks no radio of its group.
  for (int value = 0; value < int(std::size(kRebuilderLayoutRadios)); ++value) {
    bool chosen = LayoutCode(record_.rebuildMergeMode, kToolLayoutCodes) == value;
    controls_.button(kRebuilderLayoutRadios[value])->setChecked(chosen);
  }
  for (int value = 0; value < 3; ++value)
    controls_.button(kRebuilderArcade + value)->setChecked(record_.rebuildGameTypes == RebuildGameTypes{value});
  controls_.button(kRebuilderZip)->setChecked(record_.rebuildZip);
  controls_.button(kRebuilderTorrentZip)->setChecked(record_.rebuildTorrentZip);
  controls_.button(kRebuilderTildeCrcs)->setChecked(record_.rebuildTildeCrcs);
  controls_.button(kRebuilderZeroCrcs)->setChecked(record_.rebuildZeroCrcs);
  controls_.button(kRebuilderRecursive)->setChecked(record_.rebuildRecursive);
  controls_.button(kRebuilderRemoveSources)->setChecked(record_.rebuildRemoveSources);
  controls_.button(kRebuilderCreateLog)->setChecked(record_.rebuildCreateLog);
  EnableLogfileControls(record_.rebuildCreateLog);
  filling_ = false;
}

void RebuilderDialog::EnableLogfileControls(bool on) {
  control(kRebuilderLogfileEdit)->setEnabled(on);
  control(kRebuilderLogfileBrowse)->setEnabled(on);
}

void RebuilderDialog::CommitFolder(int editId, std::string& field) {
  field = FolderText(controls_.edit(editId)->text());
  controls_.edit(editId)->setText(ToQString(field));
}

void RebuilderDialog::BrowseFolder(int editId, std::string& field, const char* title) {
  const std::string folder = PickFolder(ui(), title);
  if (folder.empty()) return;
  controls_.edit(editId)->setText(ToQString(folder));
  CommitFolder(editId, field);
}

void RebuilderDialog::BrowseLogfile() {
  const std::string path = PickFile(ui(), ".log", kRebuildLogName, kRebuildLogFilter, false);
  if (path.empty()) return;
  record_.rebuildLogfile = path;
  controls_.edit(kRebuilderLogfileEdit)->setText(ToQString(path));
}

bool RebuilderDialog::Rebuild() {
  if (running_) return false;
  CommitFolder(kRebuilderSourceEdit, record_.rebuildSource);
  CommitFolder(kRebuilderDestinationEdit, record_.rebuildDestination);
  record_.rebuildLogfile = FromQString(controls_.edit(kRebuilderLogfileEdit)->text());
  // Over a software list the sets go into the list's folder of the
  // destination; the dialog keeps showing the destination itself.
  SettingsRecord run = InSoftwareList(record_, context_.listFolder);
  const bool usable = CheckRebuildFolders(run, ui());
  record_ = OutOfSoftwareList(run, record_, context_.listFolder);
  if (!usable) {
    // The check empties the folder at fault; the user sees which.
    controls_.edit(kRebuilderSourceEdit)->setText(ToQString(record_.rebuildSource));
    controls_.edit(kRebuilderDestinationEdit)->setText(ToQString(record_.rebuildDestination));
    return false;
  }
  if (!AgreesToRemoveSources()) {
    outcome_ = {};
    return false;
  }
  running_ = true;
  GatheringInterface problems(ui());
  TorrentZipMisses torrentZipMisses;
  context_.zipLibrary->torrentZipMisses = &torrentZipMisses;
  outcome_ = RunJournaled(context_.dataFolder, "rebuild", [this, &problems, &run](FileSystem& fs) {
    return RunToolOffGuiThread(&problems, [&](UserInterface* worker) {
      return RunRebuild(*context_.database, run, *context_.zipLibrary, worker, fs);
    });
  });
  context_.zipLibrary->torrentZipMisses = nullptr;
  running_ = false;
  if (isMinimized()) showNormal();
  // A refused run has told the user why.
  if (outcome_.refused) {
    problems.ShowGathered("Problems During The Rebuild");
    return true;
  }
  RunSummary summary = SummarizeRebuild(outcome_, record_.rebuildRemoveSources);
  AddTorrentZipMisses(summary, torrentZipMisses.List());
  ShowMessage(ui(), summary.text, kRebuilderCaption, {MessageButtons::kOk, summary.icon});
  problems.ShowGathered("Problems During The Rebuild");
  return true;
}

// Sources go only with the user's Yes to how many may go; the folder is
// walked only when the option is on.
bool RebuilderDialog::AgreesToRemoveSources() {
  if (!record_.rebuildRemoveSources) return true;
  return UserAgrees(RebuildRemovalQuestion(record_, CountRebuildSources(record_)));
}

}  // namespace kestrel
