// The small window from which every tool starts. It owns the program's
// state for the whole run: the settings record, the two game lists and
// what they were read from, the data folder and where the windows were;
// the tool dialogs get pointers.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "gamedb/game_set.h"
#include "gui/qt_user_interface.h"
#include "gui/user_values.h"
#include "settings/loaded_data.h"
#include "settings/settings_record.h"
#include "settings/software_lists.h"

class QAction;
class QComboBox;
class QTimer;
class QLabel;
class QToolButton;

namespace kestrel {

class ScannerDialog;
class SettingsDialog;
class RebuilderDialog;
class MergerDialog;

// Command identifiers of the tool buttons.
enum ToolCommand { kCommandScanner = 1000, kCommandMerger = 1001, kCommandRebuilder = 1002,
                   kCommandSettings = 1004 };

inline constexpr char kMainWindowCaption[] = "Kestrel V1.0  BETA 4";
inline constexpr char kLastProfileName[] = "_last.kpf";

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // `zipLevel` is the zip library's compression level character ('0'-'9');
  // it follows the settings' zipLevel. `dataFolder` ends with '/'.
  MainWindow(const std::string& dataFolder, const UserValues& values, char* zipLevel,
             QWidget* parent = nullptr);
  ~MainWindow() override;

  // Messages, questions and choosers go here; tests hand in a scripted one.
  UserInterface* ui() { return injected_ != nullptr ? injected_ : &own_; }
  void SetInterface(UserInterface* ui) { injected_ = ui; }
  // Runs the settings dialog modally and returns whether it ended with OK.
  // Tests replace it to drive the dialog without a modal loop.
  std::function<bool(SettingsDialog&)> runSettingsDialog;
  // Runs the scanner dialog modally; tests replace it likewise.
  std::function<void(ScannerDialog&)> runScannerDialog;
  // Run the rebuilder and merger dialogs modally; tests replace them.
  std::function<void(RebuilderDialog&)> runRebuilderDialog;
  std::function<void(MergerDialog&)> runMergerDialog;

  // The work of the first paint: greet a first-time user and open the
  // settings, or load the start profile. Runs once.
  void StartUp();
  // Loads a profile and then its game data; false after telling the user.
  bool LoadProfileAndData(const std::string& path);
  // With software lists as the data source: loads the list at `index` of
  // the "Software list:" chooser as the game data, read through its own
  // data cache; the tools then work on it, in its folder of every path.
  // False after telling the user.
  bool ChooseSoftwareList(int index);
  // The name of the software list loaded, the folder of its sets; "" when
  // the data are no software list.
  std::string listFolder() const;
  QComboBox* listChooser() const { return listChooser_; }
  // One handler for the tool buttons; false when a precondition failed.
  bool RunTool(int command);
  void OpenSettings();
  void OpenScanner();
  void OpenRebuilder();
  void OpenMerger();
  void ShowAbout();
  void SetAdvancedZipScanner(bool on);
  // "Undo Last Run..." and "Run History...": see undo_actions.h.
  void UndoLastRun();
  void ShowRunHistory();

  // The per-user values to write once the window has ended.
  UserValues ValuesAtExit() const;

  SettingsRecord& settings() { return settings_; }
  GameList& rawGames() { return rawGames_; }
  GameList& database() { return database_; }
  const std::string& dataFolder() const { return dataFolder_; }
  WindowLayout& windowLayout() { return values_.layout; }
  QAction* advancedZipScannerAction() const { return advancedZipScanner_; }
  QToolButton* toolButton(int command) const;
  // Shows the list loaded, the games selected and the last scan below the
  // buttons.
  void UpdateStatus();
  QString statusText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  // Closing is the one way to end the program, and it saves the settings
  // as the start profile.
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void BuildButtons();
  QWidget* BuildListChooser();
  bool LoadData();
  bool LoadSoftwareLists();
  void ShowSoftwareLists(std::vector<SoftwareList> lists);
  void DropData();
  void BuildMenu();
  void SetDefaultFolders();
  void ApplyZipLevel();
  bool CheckToolData();
  bool CheckTempFolder();
  void RunMinimised(const std::function<void()>& tool);
  template <class Dialog>
  void OpenToolDialog(int& x, int& y, const std::function<void(Dialog&)>& run);
  void Tell(const std::string& text, const std::string& title);

  std::string dataFolder_;
  UserValues values_;
  char* zipLevel_ = nullptr;
  SettingsRecord settings_;
  GameList rawGames_;
  GameList database_;
  LoadedData loaded_;
  bool firstPaintHandled_ = false;
  bool loading_ = false;  // a list is being read on a worker thread
  // The software lists of the settings, in the chooser's order; empty when
  // the data source is another.
  std::vector<SoftwareList> softwareLists_;
  int chosenList_ = -1;  // the place in softwareLists_ of the list loaded; -1 none

  QtUserInterface own_;
  UserInterface* injected_ = nullptr;
  QAction* advancedZipScanner_ = nullptr;
  QAction* about_ = nullptr;
  QAction* undoLastRun_ = nullptr;
  QAction* runHistory_ = nullptr;
  QToolButton* scanner_ = nullptr;
  QToolButton* merger_ = nullptr;
  QToolButton* rebuilder_ = nullptr;
  QToolButton* settingsButton_ = nullptr;
  QWidget* listRow_ = nullptr;  // "Software list:" and the chooser, shown only with lists
  QComboBox* listChooser_ = nullptr;
  QTimer* chooseDelay_ = nullptr;  // loads the list chosen once the choice rests
  QLabel* listStatus_ = nullptr;
  QLabel* selectionStatus_ = nullptr;
  QLabel* scanStatus_ = nullptr;
  std::string lastScanStatus_;
};

}  // namespace kestrel
