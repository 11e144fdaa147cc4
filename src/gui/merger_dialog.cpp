#include "gui/merger_dialog.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/journaled_run.h"
#include "gui/merger_controls.h"
#include "gui/gathering_interface.h"
#include "gui/off_gui_thread.h"
#include "gui/qt_text.h"
#include "gui/removal_questions.h"
#include "gui/run_summaries.h"
#include "settings/software_lists.h"

namespace kestrel {
namespace {

// The run's name in the undo journal, as the command line names it.
const char* JournalCommand(MergeButton button, SetLayout mergeMode) {
  if (button == MergeButton::kUnmerge) return "unmerge";
  if (button == MergeButton::kUnmergeFull) return "unmerge --full";
  return mergeMode == SetLayout::kSplit ? "split" : "merge";
}

}  // namespace

MergerDialog::MergerDialog(const MergerDialogContext& context, QWidget* parent)
    : ToolDialog(context, kMergerControls, kMergerCaption, parent) {
  BuildLayout();
  ConnectControls();
  Refresh();
  MoveToRememberedPlace();
}

void MergerDialog::BuildLayout() {
  auto* setsBox = new QGroupBox("Sets", this);
  auto* setsColumn = new QVBoxLayout(setsBox);
  for (int id : {kMergerSplit, kMergerMerge}) setsColumn->addWidget(control(id));
  setsColumn->addStretch();
  auto* optionsBox = new QGroupBox("Options", this);
  auto* optionsColumn = new QVBoxLayout(optionsBox);
  for (int id : {kMergerCleanSet, kMergerRemoveOld, kMergerZip, kMergerTorrentZip}) optionsColumn->addWidget(control(id));
  auto* boxes = new QHBoxLayout;
  boxes->addWidget(setsBox);
  boxes->addWidget(optionsBox, 1);

  auto* placeBox = new QGroupBox("Destination", this);
  auto* placeColumn = new QVBoxLayout(placeBox);
  placeColumn->addWidget(control(kMergerKeepPosition));
  placeColumn->addWidget(control(kMergerToFolder));
  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(control(kMergerFolderEdit), 1);
  folderRow->addWidget(control(kMergerFolderBrowse));
  placeColumn->addLayout(folderRow);
  controls_.edit(kMergerFolderEdit)->setMinimumWidth(300);


  auto* layout = new QVBoxLayout(this);
  layout->addLayout(boxes);
  layout->addWidget(placeBox);
  layout->addStretch();
  layout->addWidget(ButtonRow({kMergerRun, kMergerUnmerge}));
}

void MergerDialog::ConnectControls() {
  controls_.BindRadios(kMergerLayoutRadios, kMergerLayoutCodes, record_.mergeMode, &filling_);
  controls_.BindRadios(kMergerKeepPosition, 2, record_.mergePlacement, &filling_);
  controls_.BindCheck(kMergerCleanSet, record_.mergeCleanSet, &filling_);
  controls_.BindCheck(kMergerRemoveOld, record_.mergeRemoveOld, &filling_);
  controls_.BindCheck(kMergerZip, record_.mergeZip, &filling_);
  controls_.BindCheck(kMergerTorrentZip, record_.mergeTorrentZip, &filling_);
  connect(controls_.button(kMergerToFolder), &QAbstractButton::toggled, this, [this](bool on) {
    EnableFolderControls(on);
    if (on && !filling_) control(kMergerFolderEdit)->setFocus();
  });
  connect(controls_.edit(kMergerFolderEdit), &QLineEdit::editingFinished, this, &MergerDialog::CommitFolder);
  connect(controls_.button(kMergerFolderBrowse), &QAbstractButton::clicked, this, &MergerDialog::BrowseFolder);
  connect(controls_.button(kMergerRun), &QAbstractButton::clicked, this, [this] { Run(MergeButton::kMerge); });
  connect(controls_.button(kMergerUnmerge), &QAbstractButton::clicked, this,
          [this] { Run(MergeButton::kUnmerge); });
}

void MergerDialog::Refresh() {
  filling_ = true;
  for (int value = 0; value < 2; ++value) {
    controls_.button(kMergerSplit + value)->setChecked(LayoutCode(record_.mergeMode, kMergerLayoutCodes) == value);
    controls_.button(kMergerKeepPosition + value)->setChecked(record_.mergePlacement == MergePlacement{value});
  }
  controls_.button(kMergerCleanSet)->setChecked(record_.mergeCleanSet);
  controls_.button(kMergerRemoveOld)->setChecked(record_.mergeRemoveOld);
  controls_.button(kMergerZip)->setChecked(record_.mergeZip);
  controls_.button(kMergerTorrentZip)->setChecked(record_.mergeTorrentZip);
  controls_.edit(kMergerFolderEdit)->setText(ToQString(record_.mergeDestination));
  EnableFolderControls(record_.mergePlacement == MergePlacement::kIntoDestination);
  filling_ = false;
}

void MergerDialog::EnableFolderControls(bool on) {
  control(kMergerFolderEdit)->setEnabled(on);
  control(kMergerFolderBrowse)->setEnabled(on);
}

void MergerDialog::CommitFolder() {
  record_.mergeDestination = FromQString(controls_.edit(kMergerFolderEdit)->text());
}

void MergerDialog::BrowseFolder() {
  const std::string folder = PickFolder(ui(), kMergeFolderTitle);
  if (folder.empty()) return;
  record_.mergeDestination = folder;
  controls_.edit(kMergerFolderEdit)->setText(ToQString(folder));
}

bool MergerDialog::Run(MergeButton button) {
  if (running_) return false;
  if (record_.mergePlacement == MergePlacement::kIntoDestination) CommitFolder();
  // Over a software list the merger works in the list's folder of each
  // path; the dialog keeps showing the destination itself.
  SettingsRecord run = InSoftwareList(record_, context_.listFolder);
  const MergeReach reach = CountMergeReach(*context_.database, run);
  if (!UserAgrees(MergeRemovalQuestion(reach, run, button))) {
    outcome_ = {};
    return false;
  }
  running_ = true;
  GatheringInterface problems(ui());
  TorrentZipMisses torrentZipMisses;
  context_.zipLibrary->torrentZipMisses = &torrentZipMisses;
  outcome_ = RunJournaled(context_.dataFolder, JournalCommand(button, record_.mergeMode), [&](FileSystem& fs) {
    return RunToolOffGuiThread(&problems, [&](UserInterface* worker) {
      return RunMerger(*context_.database, run, worker, *context_.zipLibrary, button, fs);
    });
  });
  context_.zipLibrary->torrentZipMisses = nullptr;
  record_ = OutOfSoftwareList(run, record_, context_.listFolder);
  running_ = false;
  // The run adds the trailing separator, or empties a folder it cannot use.
  controls_.edit(kMergerFolderEdit)->setText(ToQString(record_.mergeDestination));
  if (!outcome_.started) {
    problems.ShowGathered("Problems During The Merge");
    return false;
  }
  RunSummary summary = SummarizeMerge(outcome_, button, reach.families);
  AddTorrentZipMisses(summary, torrentZipMisses.List());
  ShowMessage(ui(), summary.text, kMergerCaption, {MessageButtons::kOk, summary.icon});
  problems.ShowGathered("Problems During The Merge");
  return true;
}

}  // namespace kestrel
