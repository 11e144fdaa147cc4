// The merger dialog "(Un-)Merging ROMs": split or merged layout, Clean Set,
// Remove Old, Zip Files, where the families go, and the two buttons
// "&Merge" and "&Unmerge". Every control writes its field of the settings
// record as it changes.
#pragma once

#include "gui/tool_dialog.h"
#include "merger/merger.h"

namespace kestrel {

// The merger works in the record's enabled ROM paths, which the main window
// has checked; the selected parents' families are rearranged.
using MergerDialogContext = ToolDialogContext;

class MergerDialog : public ToolDialog {
  Q_OBJECT

 public:
  explicit MergerDialog(const MergerDialogContext& context, QWidget* parent = nullptr);
  // Hidden while still whole: hiding takes the focus from an edit, whose
  // editingFinished reads the controls.
  ~MergerDialog() override { hide(); }

  // Shows the record's values in every control.
  void Refresh();
  // One press of "&Merge" or "&Unmerge": when the options make the run
  // remove sets or files, the question with how many it may reach (No
  // ends the press); then the run's checks (telling the user why it cannot
  // start), the run under a progress dialog and its summary. The folder
  // edit shows the destination as the run left it (emptied when the folder
  // is missing). Returns whether the run started.
  bool Run(MergeButton button);
  // What the last run did; empty before the first.
  const MergeOutcome& lastOutcome() const { return outcome_; }

 private:
  void BuildLayout();
  void ConnectControls();
  void EnableFolderControls(bool on);
  void CommitFolder();
  void BrowseFolder();

  MergeOutcome outcome_;
};

}  // namespace kestrel
