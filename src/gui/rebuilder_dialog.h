// The rebuilder dialog "Rebuilding ROMs": a source and a destination folder,
// the layout, zip and NeoGeo options, the logfile, and "Re&build". Every
// control writes its field of the settings record as it changes, so the
// options last from one use of the tool to the next.
#pragma once

#include "gui/tool_dialog.h"
#include "rebuilder/rebuilder.h"

namespace kestrel {

// The rebuilder serves the selected sets of the context's database.
using RebuilderDialogContext = ToolDialogContext;

class RebuilderDialog : public ToolDialog {
  Q_OBJECT

 public:
  explicit RebuilderDialog(const RebuilderDialogContext& context, QWidget* parent = nullptr);
  // Hidden while still whole: hiding takes the focus from an edit, whose
  // editingFinished reads the controls.
  ~RebuilderDialog() override { hide(); }

  // Shows the record's values in every control.
  void Refresh();
  // "Re&build": stores the folder edits, checks the two folders (telling
  // the user and showing the emptied setting when one fails), asks before
  // a run that may remove sources, with how many, and runs the rebuild
  // under a progress dialog, then shows its summary. False when the
  // folders failed or the user said No.
  bool Rebuild();
  // What the last run did; empty before the first.
  const RebuildOutcome& lastOutcome() const { return outcome_; }

 private:
  void BuildLayout();
  void ConnectControls();
  void CommitFolder(int editId, std::string& field);
  void BrowseFolder(int editId, std::string& field, const char* title);
  void BrowseLogfile();
  void EnableLogfileControls(bool on);
  bool AgreesToRemoveSources();

  RebuildOutcome outcome_;
};

}  // namespace kestrel
