// The merger dialog "(Un-)Merging ROMs": split or merged layout, Clean Set,
// Remove Old, Zip Files, where the families go, and the two buttons
// "&Merge" and "&Unmerge". Every control writes its field of the settings
// record as it changes.
#pragma once

#include <QDialog>

#include "app/user_interface.h"
#include "archive/zip_library.h"
#include "gamedb/game_set.h"
#include "gui/qt_user_interface.h"
#include "gui/tool_controls.h"
#include "merger/merger.h"
#include "settings/settings_record.h"

namespace kestrel {

struct MergerDialogContext {
  // The program's settings, changed in place; the merger works in their
  // enabled ROM paths, which the main window has checked.
  SettingsRecord* record = nullptr;
  const GameList* database = nullptr;  // its selected parents' families are rearranged
  ZipLibrary* zipLibrary = nullptr;
  int* positionX = nullptr;            // the remembered top-left corner, written back on close
  int* positionY = nullptr;
  UserInterface* ui = nullptr;         // null: Qt dialogs owned by this one
};

class MergerDialog : public QDialog {
  Q_OBJECT

 public:
  explicit MergerDialog(const MergerDialogContext& context, QWidget* parent = nullptr);

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
  bool running() const { return running_; }

  // The widget of a control identifier, for tests and screenshots.
  QWidget* control(int id) const { return controls_.widget(id); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 public slots:
  void reject() override;

 private:
  void BuildLayout();
  void ConnectControls();
  void EnableFolderControls(bool on);
  void CommitFolder();
  void BrowseFolder();
  bool UserAgrees(const std::string& question);
  UserInterface* ui() { return context_.ui != nullptr ? context_.ui : &own_; }

  MergerDialogContext context_;
  SettingsRecord& record_;
  QtUserInterface own_;
  ToolControls controls_;
  MergeOutcome outcome_;
  bool filling_ = false;
  bool running_ = false;
};

}  // namespace kestrel
