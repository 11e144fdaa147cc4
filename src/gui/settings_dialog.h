// The settings dialog: path lists and the games selection in one tree, the
// data source, folders, priority, zip level and start choice. It edits a
// copy of the settings record, which the main window takes over when the
// dialog ends with OK; selections in the games list act on the game
// database at once.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "app/user_interface.h"
#include "gamedb/game_set.h"
#include "gui/qt_user_interface.h"
#include "gui/user_values.h"
#include "settings/loaded_data.h"
#include "settings/settings_record.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kestrel {

class SoftwareListSource;

// Control identifiers of the buttons tests and callers press by name.
enum SettingsControl {
  kSettingsListCombo = 1063, kSettingsGameFilter = 1012, kSettingsParentClones = 1022,
  kSettingsTree = 1040, kSettingsSelectAll = 1045, kSettingsSelectNone = 1046,
  kSettingsAdd = 1044, kSettingsRemove = 1047, kSettingsImport = 1089,
  kSettingsLiErrors = 1060, kSettingsPriority = 1069, kSettingsPathWarnings = 1017,
  kSettingsZipLevel = 1019, kSettingsLastSettings = 1074, kSettingsPickProfile = 1075,
  kSettingsUseMame = 1061, kSettingsUseDatfile = 1062, kSettingsUseRaine = 1077,
  kSettingsMameEdit = 1010, kSettingsDatfileEdit = 1014, kSettingsRaineEdit = 1020,
  kSettingsMakeBackups = 1021, kSettingsBackupEdit = 1008, kSettingsTempEdit = 1016,
  kSettingsMameBrowse = 1011, kSettingsDatfileBrowse = 1015, kSettingsRaineBrowse = 1023,
  kSettingsUseSoftwareLists = 1078, kSettingsSoftwareLists = 1079, kSettingsHashEdit = 1080,
  kSettingsLoad = 1052, kSettingsSave = 1050, kSettingsDefault = 1055, kSettingsOk = 1,
};

// "Kestrel Settings | Data In Memory: " and the file name of the source
// whose data are loaded, or "<NO DATA>".
std::string SettingsDialogTitle(const LoadedData& loaded);
// The zip level typed into the edit, held to 0-9; `previous` when the text
// is no number.
int ClampZipLevel(const std::string& text, int previous);

struct SettingsDialogContext {
  SettingsRecord* record = nullptr;  // the copy being edited
  GameList* rawGames = nullptr;
  GameList* database = nullptr;      // the program's game database
  LoadedData* loaded = nullptr;      // what it was read from; "&OK" reads it anew
  std::string dataFolder;
  char* zipLevel = nullptr;          // the zip library's level character
  int* positionX = nullptr;          // the remembered position
  int* positionY = nullptr;
  UserInterface* ui = nullptr;       // null: Qt dialogs owned by this one
  StartOption startOption = StartOption::kLastSettings;  // the user's, shown with the settings
};

class SettingsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SettingsDialog(const SettingsDialogContext& context, QWidget* parent = nullptr);

  // Fills every control from the record and sets the title.
  void Refresh();
  // The "&OK" button: acquires the data, checks the folders, closes.
  void Apply();
  void LoadProfileFromFile();
  void SaveProfileToFile();
  void ResetToDefaults();
  void MoveSelectedLine(int step);

  // The start choice as the dialog ends: the user's, not the profile's, so
  // loading a profile or the defaults leaves it alone.
  StartOption startOption() const { return startOption_; }

  // The widget of a control identifier, for tests and screenshots.
  QWidget* control(int id) const;
  QTreeWidget* tree() const { return tree_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void BuildControls();
  void AddToolTips();
  void ConnectControls();
  UserInterface* ui() { return context_.ui != nullptr ? context_.ui : &own_; }
  PathList& ShownList();
  bool ShowingGames() const;
  void FillTree();
  void SyncTreeChecks();
  void UpdateListButtons();
  void UpdateSourceControls();
  void OnListChosen(int index);
  void OnItemChanged(QTreeWidgetItem* item);
  void OnAdd();
  void OnRemove();
  void OnImport();
  void CommitGameFilter();
  void ShowMatchingLines();
  void SetShownLinesEnabled(bool enabled);
  void CommitZipLevel();
  void StepZipLevel(int step);
  void CommitSourcePath(QLineEdit* edit, std::string& field);
  void CommitFolder(QLineEdit* edit, std::string& field);
  void BrowseFile(QLineEdit* edit, std::string& field, const char* extension, const char* name,
                  const char* filter);
  void BrowseFolder(QLineEdit* edit, std::string& field, const char* title);
  void RememberPosition();

  SettingsDialogContext context_;
  SettingsRecord& record_;
  StartOption startOption_;
  // The games list's lines, built from the database whenever it is shown.
  PathList gameLines_;
  GameList workingDatabase_;
  QtUserInterface own_;
  bool filling_ = false;
  std::vector<bool> selectionAtStart_;  // each game's tick when the dialog opened, for Cancel
  QTimer* searchDelay_ = nullptr;       // typing waits for a pause before the list is searched

  QComboBox* listCombo_ = nullptr;
  QLineEdit* gameFilter_ = nullptr;
  QCheckBox* parentClones_ = nullptr;
  QTreeWidget* tree_ = nullptr;
  QToolButton* moveUp_ = nullptr;
  QToolButton* moveDown_ = nullptr;
  QPushButton* selectAll_ = nullptr;
  QPushButton* selectNone_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* remove_ = nullptr;
  QPushButton* import_ = nullptr;
  QCheckBox* liErrors_ = nullptr;
  QComboBox* priority_ = nullptr;
  QCheckBox* pathWarnings_ = nullptr;
  QLineEdit* zipLevelEdit_ = nullptr;
  QToolButton* zipUp_ = nullptr;
  QToolButton* zipDown_ = nullptr;
  QRadioButton* lastSettings_ = nullptr;
  QRadioButton* pickProfile_ = nullptr;
  QRadioButton* useMame_ = nullptr;
  QRadioButton* useDatfile_ = nullptr;
  QRadioButton* useRaine_ = nullptr;
  QRadioButton* useSoftwareLists_ = nullptr;
  SoftwareListSource* softwareLists_ = nullptr;
  QButtonGroup* sourceGroup_ = nullptr;
  QLineEdit* mameEdit_ = nullptr;
  QLineEdit* datfileEdit_ = nullptr;
  QLineEdit* raineEdit_ = nullptr;
  QToolButton* mameBrowse_ = nullptr;
  QToolButton* datfileBrowse_ = nullptr;
  QToolButton* raineBrowse_ = nullptr;
  QCheckBox* makeBackups_ = nullptr;
  QLineEdit* backupEdit_ = nullptr;
  QToolButton* backupBrowse_ = nullptr;
  QLineEdit* tempEdit_ = nullptr;
  QToolButton* tempBrowse_ = nullptr;
  QPushButton* load_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* default_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace kestrel
