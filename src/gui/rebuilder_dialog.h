// The rebuilder dialog "Rebuilding ROMs": a source and a destination folder,
// the layout, zip and NeoGeo options, the logfile, and "Re&build". Every
// control writes its field of the settings record as it changes, so the
// options last from one use of the tool to the next.
#pragma once

#include <QDialog>

#include "app/user_interface.h"
#include "archive/zip_library.h"
#include "gamedb/game_set.h"
#include "gui/qt_user_interface.h"
#include "gui/tool_controls.h"
#include "rebuilder/rebuilder.h"
#include "settings/settings_record.h"

class QLineEdit;

namespace kestrel {

struct RebuilderDialogContext {
  SettingsRecord* record = nullptr;    // the program's settings, changed in place
  const GameList* database = nullptr;  // the game database; its selected sets are rebuilt
  ZipLibrary* zipLibrary = nullptr;
  int* positionX = nullptr;            // the remembered top-left corner, written back on close
  int* positionY = nullptr;
  UserInterface* ui = nullptr;         // null: Qt dialogs owned by this one
};

class RebuilderDialog : public QDialog {
  Q_OBJECT

 public:
  explicit RebuilderDialog(const RebuilderDialogContext& context, QWidget* parent = nullptr);

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
  void CommitFolder(int editId, std::string& field);
  void BrowseFolder(int editId, std::string& field, const char* title);
  void BrowseLogfile();
  void EnableLogfileControls(bool on);
  bool AgreesToRemoveSources();
  UserInterface* ui() { return context_.ui != nullptr ? context_.ui : &own_; }

  RebuilderDialogContext context_;
  SettingsRecord& record_;
  QtUserInterface own_;
  ToolControls controls_;
  RebuildOutcome outcome_;
  bool filling_ = false;
  bool running_ = false;
};

}  // namespace kestrel
