// The scanner dialog "Scanning Games, ROMs & Samples": what to scan, which
// checks to run and which of them may repair, the fastscan file and the
// logfile. Every control writes the settings record at once. It opens the
// results window beside itself, runs scans and shows their statistics.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "archive/zip_reader.h"
#include "gamedb/game_set.h"
#include "gui/gathering_interface.h"
#include "gui/qt_user_interface.h"
#include "gui/stoppable_interface.h"
#include "report/results_model.h"
#include "report/scan_results.h"
#include "scanner/scan_driver.h"

class QAbstractButton;
class QLineEdit;

namespace kestrel {

struct SettingsRecord;
struct WindowLayout;
class ResultsWindow;

struct ScannerDialogContext {
  SettingsRecord* settings = nullptr;  // the program's settings, changed in place
  GameList* database = nullptr;        // the games to scan
  std::string dataFolder;              // ends with '/'; never scanned
  char* zipLevel = nullptr;            // the zip library's level character
  WindowLayout* layout = nullptr;      // where this dialog and the results window were
  UserInterface* ui = nullptr;         // null: Qt dialogs owned by this one
  uint32_t dataCrc = 0;                // the database's data CRC, for the fastscan file
  ZipHeaderCheck zipHeaderCheck = ZipHeaderCheck::kLocalHeaders;  // how strictly the scan reads zips
  std::string listFolder = {};         // the software list scanned ("" none): its sets' folder
  const RomlessMachines* romless = nullptr;  // the list's machines without ROMs of their own
};

class ScannerDialog : public QDialog {
  Q_OBJECT

 public:
  explicit ScannerDialog(const ScannerDialogContext& context, QWidget* parent = nullptr);
  ~ScannerDialog() override;

  // Fills every control from the settings record, which first drops the
  // boxes whose check is off (they show unchecked and disabled).
  void Refresh();
  // The "&Scan" and "F&astScan" buttons. Returns when the scan has ended.
  void Scan(bool fastscan);
  // The "Save Logfile" button.
  void SaveLogfile();
  void BrowseFastscan();
  void BrowseLogfile();

  // Shows the statistics text at the end of a scan. Tests replace it.
  std::function<void(const std::string&)> showStatistics;

  bool scanning() const { return scanning_; }
  const ResultsModel& results() const { return results_; }
  const std::string& statisticsText() const { return statisticsText_; }
  // One line on the last scan that ran, for the main window's status bar;
  // "" before the first.
  const std::string& lastScanStatus() const { return lastScanStatus_; }
  ResultsWindow* resultsWindow() const { return resultsWindow_.get(); }
  // The widget of a control identifier, for tests and screenshots.
  QWidget* control(int id) const;

 protected:
  void done(int result) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  QAbstractButton* AddBox(int id);
  QAbstractButton* AddRadio(int id);
  void OnBoxClicked(int id);
  void RefreshShownResults();
  void OnRadioClicked(int id);
  void CommitEdits();
  void BrowseFile(QLineEdit* edit, std::string& field, const char* extension, const char* filter);
  bool AgreesToScanNothing();
  ScanOutcome ScanOffGuiThread(const ScanRequest& request, SettingsRecord& run);
  void StopAndClose();
  void ShowProgress(bool shown);
  void RememberPositions();
  void PlaceResultsBeside();
  UserInterface* ui() { return context_.ui != nullptr ? context_.ui : &own_; }

  ScannerDialogContext context_;
  SettingsRecord& settings_;
  QtUserInterface own_;
  GatheringInterface problems_;  // a scan's notices, shown together at its end
  StoppableInterface scanInterface_;
  ScanResults scanResults_;  // one record per game of the database, from the last scan
  ResultsModel results_;
  std::unique_ptr<ResultsWindow> resultsWindow_;
  std::string statisticsText_;
  std::string lastScanStatus_;
  QString previousFolder_;
  bool scanning_ = false;
  bool closeAfterScan_ = false;
  bool placed_ = false;

  std::map<int, QAbstractButton*> buttons_;
  QLineEdit* fastscanEdit_ = nullptr;
  QLineEdit* logfileEdit_ = nullptr;
};

}  // namespace kestrel
