// What the rebuilder and merger dialogs share: the settings record their
// controls write, the games and zip library a run works with, the
// remembered corner, the control table, and the rule that a run owns the
// dialog until it has ended.
#pragma once

#include <QDialog>
#include <initializer_list>
#include <span>
#include <string>

#include "app/user_interface.h"
#include "archive/zip_library.h"
#include "gamedb/game_set.h"
#include "gui/qt_user_interface.h"
#include "gui/tool_controls.h"
#include "settings/settings_record.h"

class QDialogButtonBox;

namespace kestrel {

struct ToolDialogContext {
  SettingsRecord* record = nullptr;    // the program's settings, changed in place
  const GameList* database = nullptr;  // a run works on its selected sets
  ZipLibrary* zipLibrary = nullptr;    // a run reads and writes zips with it
  int* positionX = nullptr;            // the remembered top-left corner, written back on close
  int* positionY = nullptr;
  UserInterface* ui = nullptr;         // null: Qt dialogs owned by this one
  std::string dataFolder;              // where a run's undo journal goes; "" keeps none
  std::string listFolder = {};         // the software list a run works on ("" none): its sets' folder
};

class ToolDialog : public QDialog {
  Q_OBJECT

 public:
  bool running() const { return running_; }
  // The widget of a control identifier, for tests and screenshots.
  QWidget* control(int id) const { return controls_.widget(id); }

 protected:
  // Titles the dialog `caption` and makes the widgets of `controls`; the
  // dialog lays them out and then calls MoveToRememberedPlace.
  ToolDialog(const ToolDialogContext& context, std::span<const ControlEntry> controls, const char* caption,
             QWidget* parent);

  void MoveToRememberedPlace();
  // The dialog's standard row: `actions` (the run buttons) and Close.
  QDialogButtonBox* ButtonRow(std::initializer_list<int> actions);
  UserInterface* ui() { return context_.ui != nullptr ? context_.ui : &own_; }
  // Asks `question` with Yes and No under the dialog's caption; true for
  // Yes. A run that removes nothing has no question and goes ahead unasked.
  bool UserAgrees(const std::string& question);

  void closeEvent(QCloseEvent* event) override;

 public slots:
  void reject() override;

 protected:
  ToolDialogContext context_;
  SettingsRecord& record_;
  QtUserInterface own_;
  ToolControls controls_;
  const char* caption_;
  bool filling_ = false;  // the controls are being filled from the record
  bool running_ = false;  // a run owns the dialog
};

}  // namespace kestrel
