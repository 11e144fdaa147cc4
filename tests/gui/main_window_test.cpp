// The main window: the first start, the tools it refuses to start, and
// what lasts from one run to the next.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QSettings>
#include <cstdio>
#include <filesystem>

#include "acquire/acquire_game_data.h"
#include "gui/gui_test_helpers.h"
#include "gui/main_window.h"
#include "gui/merger_dialog.h"
#include "gui/rebuilder_controls.h"
#include "gui/rebuilder_dialog.h"
#include "gui/results_window.h"
#include "gui/scanner_dialog.h"
#include "gui/settings_dialog.h"
#include "gui/user_values.h"
#include "settings/profile.h"

namespace kestrel {
namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() { QSettings(QSettings::IniFormat, QSettings::UserScope, "Kestrel", "Kestrel").clear(); }

  std::unique_ptr<MainWindow> Open(int veryFirstTime) {
    const UserValues values{.veryFirstTime = veryFirstTime, .layout = {}};
    auto window = std::make_unique<MainWindow>(data.path(), values, &zipLevel);
    window->SetInterface(&ui);
    window->runSettingsDialog = [this](SettingsDialog&) { ++settingsDialogs; return false; };
    window->runScannerDialog = [this](ScannerDialog&) { ++scannerDialogs; };
    window->runRebuilderDialog = [this](RebuilderDialog&) { ++toolDialogs; };
    window->runMergerDialog = [this](MergerDialog&) { ++toolDialogs; };
    return window;
  }

  // Starts the program from "_last.kpf" and closes it again, as a user who
  // looks at nothing would; returns which games were selected meanwhile.
  std::vector<std::string> StartAndClose() {
    auto window = Open(0);
    window->StartUp();
    status = window->statusText().toStdString();
    std::vector<std::string> selected;
    for (const GameSet& game : window->database())
      if (game.selected) selected.push_back(game.name);
    window->close();
    return selected;
  }

  testing::TempFolder data;
  ScriptedInterface ui;
  char zipLevel = '5';
  int settingsDialogs = 0;
  int scannerDialogs = 0;
  int toolDialogs = 0;  // the rebuilder's and the merger's
  std::string status;   // the status bar of the last StartAndClose
};

// The first start greets and opens the settings; the zip scanner switch
// and the results window's place on top belong to the user: all of it is
// stored at exit and lasts into the next run.
TEST_F(MainWindowTest, FirstStartGreetsAndTheUsersSwitchesLastFromRunToRun) {
  EXPECT_EQ(ReadUserValues().veryFirstTime, 1);  // nothing stored yet
  ResultsModel results;
  {
    auto window = Open(1);
    EXPECT_TRUE(FolderExists(data.path() + "BACKUP.KPW/"));
    window->StartUp();
    EXPECT_EQ(ui.messages.size(), 1u);  // the welcome
    EXPECT_EQ(settingsDialogs, 1);
    EXPECT_FALSE(window->advancedZipScannerAction()->isChecked());
    window->advancedZipScannerAction()->trigger();
    ResultsWindow resultsWindow(results, window->windowLayout());
    EXPECT_FALSE(resultsWindow.alwaysOnTopAction()->isChecked());
    resultsWindow.alwaysOnTopAction()->trigger();
    window->close();
    ASSERT_TRUE(WriteUserValues(window->ValuesAtExit()));
  }
  const UserValues stored = ReadUserValues();
  EXPECT_EQ(stored.veryFirstTime, 0);
  MainWindow next(data.path(), stored, &zipLevel);
  EXPECT_TRUE(next.advancedZipScannerAction()->isChecked());
  ResultsWindow nextResults(results, next.windowLayout());
  EXPECT_TRUE(nextResults.alwaysOnTopAction()->isChecked());
  EXPECT_TRUE(nextResults.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

// A tool refuses with one message while what it needs is missing; the
// settings dialog's changes count only when it is left with OK.
TEST_F(MainWindowTest, ToolsNeedDataAndFoldersAndSettingsChangeOnlyOnOk) {
  auto window = Open(0);
  auto press = [&](int tool) {
    ui.messages.clear();
    const bool ran = window->RunTool(tool);
    return ran && ui.messages.empty() ? "ran" : ui.messages.size() == 1 ? ui.messages[0].text : "?";
  };
  const std::string goToSettings = "\n\nGo To The Settings Dialog !";
  EXPECT_EQ(press(kCommandScanner), "No Valid Data Available" + goToSettings);
  EXPECT_EQ(press(kCommandMerger), "No Valid Data Available" + goToSettings);
  window->database().resize(1);
  window->settings().tempFolder.clear();
  EXPECT_EQ(press(kCommandRebuilder), "No Valid Temporaryfolder" + goToSettings);
  window->settings().tempFolder = data.path();
  window->settings().backupFolder = data / "gone/";
  EXPECT_EQ(press(kCommandScanner), "No Valid Backupfolder" + goToSettings);
  EXPECT_EQ(scannerDialogs, 0);
  window->settings().makeBackups = false;
  EXPECT_EQ(press(kCommandScanner), "ran");
  EXPECT_EQ(scannerDialogs, 1);
  EXPECT_EQ(press(kCommandRebuilder) + press(kCommandMerger), "ranran");
  EXPECT_EQ(toolDialogs, 2);

  for (bool ok : {false, true}) {  // false: closed with the close box
    window->runSettingsDialog = [ok](SettingsDialog& dialog) {
      dialog.control(kSettingsPickProfile)->setProperty("checked", true);
      return ok;
    };
    window->RunTool(kCommandSettings);
    EXPECT_EQ(window->ValuesAtExit().startFrom, ok ? StartOption::kPickProfile : StartOption::kLastSettings);
  }
}

// The user's choice of games outlives restarts, including one in which the
// data could not be loaded.
TEST_F(MainWindowTest, SelectionSurvivesRestartsAndAFailedLoad) {
  testing::MakeDatabase({{"pacman", "", {"p.1"}}, {"puckman", "pacman", {"p.1", "p.2"}},
                         {"galaga", "", {"g.1"}}},
                        data / "small.dat");
  SettingsRecord settings;
  settings.dataSource = DataSourceKind::kDatfile;
  settings.datfile = data / "small.dat";
  settings.tempFolder = settings.backupFolder = data.path();
  settings.zipLevel = 3;
  GameList rawGames, database;
  LoadedData loaded;
  ListMessages listMessages;
  ASSERT_TRUE(AcquireGameData(settings, loaded, rawGames, database, &ui, data.path(), listMessages));
  for (GameSet& game : database) game.selected = game.name != "puckman";
  ASSERT_TRUE(SaveProfile(settings, data / "_last.kpf", database, loaded.dataCrc));
  const std::vector<std::string> chosen = {"galaga", "pacman"};

  EXPECT_EQ(StartAndClose(), chosen);
  EXPECT_EQ(zipLevel, '3');  // the profile's level reaches the zip library
  EXPECT_EQ(StartAndClose(), chosen);  // saved on close, applied at the next start
  EXPECT_EQ(status, "List: small.dat, 3 games\nSelected: 2 of 3 games\nNo scan yet");

  // The datfile is away for one start: no data, and the closing save keeps
  // the stored choice rather than writing none.
  ASSERT_EQ(std::rename((data / "small.dat").c_str(), (data / "away.dat").c_str()), 0);
  EXPECT_TRUE(StartAndClose().empty());
  ASSERT_EQ(std::rename((data / "away.dat").c_str(), (data / "small.dat").c_str()), 0);
  SettingsRecord stored;
  ASSERT_TRUE(LoadProfile(stored, data / "_last.kpf"));
  stored.datfile = data / "small.dat";  // the failed load emptied it; the user enters it again
  ASSERT_TRUE(SaveProfile(stored, data / "_last.kpf", GameList(), 0));
  EXPECT_EQ(StartAndClose(), chosen);

  testing::WriteFile(data / "_last.kpf", "KPFOPX");  // damaged: told, and the program starts without data
  EXPECT_TRUE(StartAndClose().empty());
  EXPECT_EQ(ui.MessageTexts().back(), "Error While Loading Profile: '" + data / "_last.kpf" +
                                          "'\n\nGo To The Settings Dialog !");
}

// With the zip scanner switch on, the tools the window starts read a zip
// whose central header disagrees with its local one as damaged.
TEST_F(MainWindowTest, ZipScannerSwitchReachesTheScannerAndTheRebuilder) {
  const std::string roms = data / "roms/", destination = data / "out/";
  std::filesystem::create_directories(destination);
  std::string bytes = testing::StoredZip({{"a.1", testing::RomData("a.1")}});
  bytes[bytes.find("PK\1\2") + 12] ^= 0x01;  // the modification time
  testing::WriteFile(roms + "alpha.zip", bytes);  // scanned, and the rebuild's source

  for (bool advanced : {false, true}) {
    auto window = Open(0);
    window->StartUp();  // done, so that the tools' event loop does not start it
    if (advanced) window->advancedZipScannerAction()->trigger();
    window->database() = testing::MakeDatabase({{"alpha", "", {"a.1"}}}, data / "games.dat");
    window->database()[0].selected = true;
    SettingsRecord& settings = window->settings();
    settings.romPaths = {PathEntry{roms, true, -1, 0}};
    settings.pathWarnings = settings.rebuildZip = false;
    settings.rebuildSource = roms;
    settings.rebuildDestination = destination;
    ui.messages.clear();
    window->runScannerDialog = [](ScannerDialog& dialog) {
      dialog.showStatistics = [](const std::string&) {};
      dialog.Scan(false);
    };
    window->OpenScanner();
    const std::vector<std::string> told = ui.MessageTexts();
    EXPECT_EQ(told.size() == 1 && told[0].rfind("Corrupt Zipfile:\n\n" + roms + "alpha.zip", 0) == 0, advanced);

    std::vector<RebuildFailure> failures;
    window->runRebuilderDialog = [&](RebuilderDialog& dialog) {
      dialog.Rebuild();
      failures = dialog.lastOutcome().failures;
    };
    window->OpenRebuilder();
    EXPECT_EQ(failures.size(), advanced ? 1u : 0u);
    EXPECT_EQ(FileExists(destination + "alpha/a.1"), !advanced);
    std::filesystem::remove_all(destination + "alpha");
  }
}

// A software list of `items`, each a set of one ROM whose contents are
// RomData of its name.
void WriteSoftwareList(const std::string& path, const std::string& name, const std::vector<std::string>& items) {
  std::string text = "<?xml version=\"1.0\"?>\n<softwarelist name=\"" + name + "\">\n";
  for (const std::string& item : items) {
    const std::string rom = item + ".bin", contents = testing::RomData(rom);
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", testing::CrcOf(contents));
    text += " <software name=\"" + item + "\"><description>" + item + "</description><part name=\"cart\" "
            "interface=\"c\"><dataarea name=\"rom\" size=\"" + std::to_string(contents.size()) + "\"><rom name=\"" +
            rom + "\" size=\"" + std::to_string(contents.size()) + "\" crc=\"" + crc + "\" offset=\"0\"/>"
            "</dataarea></part></software>\n";
  }
  testing::WriteFile(path, text + "</softwarelist>\n");
}

// With software lists as the data source the chooser names the profile's
// lists; the one chosen is the data the scanner checks, in its folder of
// the ROM path, and the results window says which. The other list's sets
// are none of its findings, and the paths the profile keeps stay as they were.
TEST_F(MainWindowTest, SoftwareListIsChosenByNameAndScannedInItsFolder) {
  CreateFolder(data / "hash/");
  WriteSoftwareList(data / "hash/carts.xml", "carts", {"alpha", "beta"});
  WriteSoftwareList(data / "hash/discs.xml", "discs", {"disco"});
  WriteSoftwareList(data / "hash/nodata.xml", "nodata", {});
  for (const char* set : {"roms/carts/alpha.zip", "roms/discs/disco.zip"}) {
    std::filesystem::create_directories(std::filesystem::path(data / set).parent_path());
    const std::string item = std::filesystem::path(set).stem().string();
    testing::WriteSet(data / set, {item + ".bin"});
  }
  SettingsRecord settings;
  settings.dataSource = DataSourceKind::kSoftwareLists;
  settings.hashPath = data / "hash/";
  settings.romPaths = {{data / "roms/", true, -1, 0}};
  settings.tempFolder = settings.backupFolder = data.path();
  settings.pathWarnings = false;
  settings.fastscanFile = data / "fast.fsc";
  ASSERT_TRUE(SaveProfile(settings, data / "lists.kpf", {}, 0));

  auto window = Open(0);
  ASSERT_TRUE(window->LoadProfileAndData(data / "lists.kpf"));
  ASSERT_EQ(window->listChooser()->count(), 3);
  EXPECT_EQ(window->listChooser()->itemText(1).toStdString(), "discs");
  std::string title, statistics;
  window->runScannerDialog = [&](ScannerDialog& dialog) {
    dialog.showStatistics = [](const std::string&) {};
    dialog.Scan(false);
    title = dialog.resultsWindow()->windowTitle().toStdString();
    statistics = dialog.statisticsText();
  };
  auto counts = [&] {
    const size_t at = statistics.find("Unneeded Files/Folders:");
    const size_t good = statistics.find("Romsets Good:");
    return statistics.substr(at, statistics.find('\n', at) - at) + "; " +
           statistics.substr(good, statistics.find("Romsets Not Found:", good) + 25 - good);
  };
  ASSERT_TRUE(window->RunTool(kCommandScanner));
  EXPECT_EQ(title, "Scan Results - Software List: carts");
  EXPECT_EQ(counts(), "Unneeded Files/Folders: 0; Romsets Good:           1\nRomsets Best Available: 0\n"
                      "Romsets Bad:            0\nRomsets Not Found:      1");
  EXPECT_TRUE(FileExists(data / "fast.carts.fsc"));
  EXPECT_TRUE(FileExists(data / "softlists/carts/_datdat"));

  // Picked from the chooser, the list is in before the tool starts.
  window->listChooser()->setCurrentIndex(1);
  emit window->listChooser()->activated(1);
  ASSERT_TRUE(window->RunTool(kCommandScanner));
  EXPECT_EQ(window->database().size(), 1u);
  EXPECT_EQ(title, "Scan Results - Software List: discs");
  EXPECT_EQ(counts(), "Unneeded Files/Folders: 0; Romsets Good:           1\nRomsets Best Available: 0\n"
                      "Romsets Bad:            0\nRomsets Not Found:      0");
  EXPECT_EQ(window->settings().romPaths[0].path + " " + window->settings().fastscanFile,
            data / "roms/" + " " + data / "fast.fsc");

  // A rebuild writes into the list's folder of the destination, which the
  // dialog goes on showing as it was typed.
  testing::WriteFile(data / "pool/x", testing::RomData("disco.bin"));
  CreateFolder(data / "out/");
  window->runRebuilderDialog = [&](RebuilderDialog& dialog) {
    testing::Type(dialog, kRebuilderSourceEdit, data / "pool/");
    testing::Type(dialog, kRebuilderDestinationEdit, data / "out/");
    dialog.Rebuild();
  };
  ASSERT_TRUE(window->RunTool(kCommandRebuilder));
  EXPECT_EQ(testing::SetsIn(data / "out/discs/"), "disco.zip: disco.bin");
  EXPECT_EQ(window->settings().rebuildDestination, data / "out/");

  // OK in the settings reads the lists anew and keeps the one chosen; a
  // list that names no file has no sets to load.
  ui.messages.clear();
  window->runSettingsDialog = [](SettingsDialog& dialog) {
    dialog.Apply();
    return true;
  };
  window->RunTool(kCommandSettings);
  EXPECT_EQ(window->listFolder() + " " + std::to_string(ui.messages.size()), "discs 0");
  EXPECT_FALSE(window->ChooseSoftwareList(2));
  EXPECT_EQ(ui.messages.back().text, "No item of the software list 'nodata' needs a file: it has no sets");
  EXPECT_EQ(window->listFolder(), "");
}

}  // namespace
}  // namespace kestrel
