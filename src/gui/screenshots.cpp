#include "gui/screenshots.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <functional>

#include "acquire/acquire_game_data.h"
#include "app/scripted_interface.h"
#include "gui/about_box.h"
#include "gui/ask_window.h"
#include "gui/main_window.h"
#include "gui/merger_dialog.h"
#include "gui/progress_window.h"
#include "gui/qt_text.h"
#include "gui/rebuilder_dialog.h"
#include "gui/results_table_model.h"
#include "gui/results_window.h"
#include "gui/scanner_controls.h"
#include "gui/scanner_dialog.h"
#include "gui/settings_dialog.h"
#include "gui/statistics_window.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "settings/profile.h"
#include "settings/game_selection.h"

namespace kestrel {
namespace {

// The offscreen platform draws no window frame; a plain caption strip keeps
// the window titles in the pictures. A palette image keeps the files small.
// `fitContents` sizes the window to its contents first; a window grabbed
// while it is in use keeps the size it has.
bool Grab(QWidget& widget, const QString& file, bool fitContents = true) {
  widget.show();
  if (fitContents) widget.adjustSize();
  QApplication::processEvents();
  const QPixmap content = widget.grab();
  const int captionHeight = widget.fontMetrics().height() + 10;
  QImage picture(content.width(), content.height() + captionHeight, QImage::Format_RGB32);
  picture.fill(QColor(52, 64, 86));
  QPainter painter(&picture);
  painter.setPen(Qt::white);
  QFont font = widget.font();
  font.setBold(true);
  painter.setFont(font);
  painter.drawText(QRect(8, 0, content.width() - 16, captionHeight), Qt::AlignVCenter,
                   widget.windowTitle());
  painter.drawPixmap(0, captionHeight, content);
  painter.end();
  return picture.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither).save(file, "PNG");
}

GameSet SampleGame(const char* name, const char* description, int parent, bool selected) {
  GameSet game;
  game.name = name;
  game.description = description;
  game.parentIndex = parent;
  game.hasParent = parent >= 0;
  game.selected = selected;
  game.roms.resize(1);
  game.romCount = 1;
  return game;
}

GameList SampleGames() {
  GameList games = {
      SampleGame("pacman", "Pac-Man (Midway)", -1, true),
      SampleGame("puckman", "PuckMan (Japan set 1)", 0, true),
      SampleGame("galaga", "Galaga (Namco rev. B)", -1, false),
      SampleGame("dkong", "Donkey Kong (US set 1)", -1, true),
      SampleGame("mslug", "Metal Slug - Super Vehicle-001", -1, true),
  };
  for (size_t i = 0; i < games.size(); ++i) games[i].index = static_cast<int>(i);
  games[0].isParent = true;
  games[0].clones = {{games[1].description, 1}};
  return games;
}

PathList SamplePaths(std::initializer_list<const char*> paths) {
  PathList list;
  for (const char* path : paths) {
    PathEntry entry;
    entry.path = path;
    entry.position = static_cast<int>(list.size());
    entry.enabled = list.size() != 1;
    list.push_back(entry);
  }
  return list;
}

SettingsRecord SampleSettings() {
  SettingsRecord record;
  record.romPaths = SamplePaths({"/home/ann/arcade/roms/", "/media/archive/roms/", "/home/ann/arcade/new/"});
  record.samplePaths = SamplePaths({"/home/ann/arcade/samples/"});
  record.miscPaths = SamplePaths({"/home/ann/arcade/artwork/", "/home/ann/arcade/snap/"});
  record.addPaths = SamplePaths({"/home/ann/downloads/"});
  record.dataSource = DataSourceKind::kDatfile;
  record.datfile = "/home/ann/arcade/mame0106.dat";
  record.backupFolder = "/home/ann/.local/share/kestrel/BACKUP.KPW/";
  record.tempFolder = "/tmp/";
  return record;
}

// The rebuilder and merger dialogs as a user fills them in, and the
// progress of a rebuild.
bool GrabToolDialogs(const QDir& out, SettingsRecord record, const GameList& database) {
  ZipLibrary zipLibrary;
  ScriptedInterface quiet;
  bool ok = true;
  record.rebuildSource = "/home/ann/downloads/";
  record.rebuildDestination = "/home/ann/arcade/rebuilt/";
  record.rebuildMergeMode = SetLayout::kSplit;
  record.rebuildGameTypes = RebuildGameTypes::kSeparateBios;
  record.rebuildCreateLog = true;
  record.rebuildLogfile = "/home/ann/arcade/rebuild.log";
  {
    RebuilderDialogContext context{&record, &database, &zipLibrary, nullptr, nullptr, &quiet, ""};
    RebuilderDialog dialog(context);
    ok &= Grab(dialog, out.filePath("rebuilder_dialog.png"));
  }
  {
    ProgressWindow progress(nullptr, "Rebuilding ROMs");
    progress.SetText("Rebuilding:\nIMG_0042.bin\nTo:\npuckman/puckman.6f");
    progress.SetRange(0, 12);
    progress.SetStep(5);
    progress.Step();
    ok &= Grab(progress, out.filePath("rebuild_progress.png"));
  }
  record.mergeMode = SetLayout::kMerged;
  record.mergePlacement = MergePlacement::kIntoDestination;
  record.mergeDestination = "/home/ann/arcade/merged/";
  {
    MergerDialogContext context{&record, &database, &zipLibrary, nullptr, nullptr, &quiet, ""};
    MergerDialog dialog(context);
    ok &= Grab(dialog, out.filePath("merger_dialog.png"));
  }
  return ok;
}

}  // namespace

// Calls `act` with the visible window of type T once the event loop runs
// and `ready` holds for it.
template <typename T>
void WhenShown(std::function<void(T&)> act, std::function<bool(T&)> ready = nullptr,
               int attempts = 2000) {
  QTimer::singleShot(1, [act, ready, attempts] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      auto* found = qobject_cast<T*>(window);
      if (found != nullptr && found->isVisible() && (!ready || ready(*found))) {
        act(*found);
        return;
      }
    }
    if (attempts > 0) WhenShown<T>(act, ready, attempts - 1);
  });
}

// The settings of the demo collection, its game list loaded through the
// data source as the settings dialog's OK would.
struct DemoData {
  SettingsRecord settings;
  GameList rawGames;
  GameList database;
  LoadedData loaded;
};

bool LoadDemoData(DemoData& demo, const std::string& dataFolder, const std::string& datfile,
                  const std::string& collection) {
  SettingsRecord& settings = demo.settings;
  settings.dataSource = DataSourceKind::kDatfile;
  settings.datfile = datfile;
  settings.romPaths = {PathEntry{collection + "roms/", true, -1, 0}};
  settings.samplePaths = {PathEntry{collection + "samples/", true, -1, 0}};
  settings.tempFolder = dataFolder;
  settings.backupFolder = dataFolder + "BACKUP.KPW/";
  settings.fastscanFile = dataFolder + "fastscan.fsc";
  ScriptedInterface quiet;
  ListMessages unshown;
  if (!AcquireGameData(settings, demo.loaded, demo.rawGames, demo.database, &quiet, dataFolder, unshown)) return false;
  ApplyGameSelection(settings, demo.loaded.dataCrc, demo.database);
  return true;
}

// The scanner as a user meets it: the demo collection scanned with the case
// check and the name fix on and all 0-CRCs shown, the rename question
// answered, and the windows grabbed as they come.
bool RenderScannerScreenshots(const QDir& out, const std::string& dataFolder, DemoData& demo) {
  SettingsRecord& settings = demo.settings;
  settings.checkCase = true;
  settings.fixName = true;
  settings.showAllZeroCrcs = true;
  settings.showMissingZeroCrcs = false;
  WindowLayout layout;
  ScannerDialog dialog({&settings, &demo.database, dataFolder, nullptr, &layout, nullptr, demo.loaded.dataCrc});
  bool ok = Grab(dialog, out.filePath("scanner_dialog.png"));
  bool progressShot = false;
  // Grabbed once it names a game.
  WhenShown<ProgressWindow>(
      [&](ProgressWindow& progress) {
        progressShot = Grab(progress, out.filePath("progress_dialog.png"), false);
      },
      [](ProgressWindow& progress) { return !progress.text().isEmpty(); });
  // The first question is grabbed; every question is answered Yes, as the
  // repairs ask one after another.
  bool askShot = false;
  std::function<void()> answerQuestions = [&] {
    WhenShown<AskWindow>([&](AskWindow& ask) {
      if (!askShot) askShot = Grab(ask, out.filePath("ask_dialog.png"));
      ask.done(kAnswerYes);
      answerQuestions();
    });
  };
  answerQuestions();
  bool statisticsShot = false;
  dialog.showStatistics = [&](const std::string& text) {
    StatisticsWindow window(&dialog, text);
    statisticsShot = Grab(window, out.filePath("statistics_window.png"));
  };
  dialog.Scan(false);

  ResultsWindow& results = *dialog.resultsWindow();
  results.resize(980, 520);
  results.table()->resizeColumnsToContents();
  results.table()->setColumnWidth(kColumnLine, 320);
  ok &= Grab(results, out.filePath("results_window.png"), false);
  results.tabs()->setCurrentIndex(1);
  results.tree()->expandAll();
  results.tree()->scrollToTop();
  ok &= Grab(results, out.filePath("results_lines.png"), false);
  return ok && progressShot && askShot && statisticsShot;
}

namespace {

// Two small software lists, their sets in a folder of the list's name.
constexpr char kCartsList[] =
    "<?xml version=\"1.0\"?>\n<softwarelist name=\"a2600\" description=\"Atari 2600 cartridges\">\n"
    " <software name=\"adventur\"><description>Adventure</description><part name=\"cart\" interface=\"c\">"
    "<dataarea name=\"rom\" size=\"4096\"><rom name=\"adventure.bin\" size=\"4096\" crc=\"157bddb7\" "
    "offset=\"0\"/></dataarea></part></software>\n"
    " <software name=\"combat\"><description>Combat</description><part name=\"cart\" interface=\"c\">"
    "<dataarea name=\"rom\" size=\"2048\"><rom name=\"combat.bin\" size=\"2048\" crc=\"2b7d3d8a\" "
    "offset=\"0\"/></dataarea></part></software>\n</softwarelist>\n";
constexpr char kNesList[] =
    "<?xml version=\"1.0\"?>\n<softwarelist name=\"nes\" description=\"NES cartridges\">\n"
    " <software name=\"smb\"><description>Super Mario Bros.</description><part name=\"cart\" "
    "interface=\"n\"><dataarea name=\"prg\" size=\"32768\"><rom name=\"smb.prg\" size=\"32768\" "
    "crc=\"5cf548d3\" offset=\"0\"/></dataarea></part></software>\n</softwarelist>\n";

bool WriteText(const std::string& path, const char* text) {
  FilePtr file(OpenFile(path, "wb"));
  return file && std::fputs(text, file.get()) >= 0;
}

// The main window with a profile of software lists, one of them chosen,
// and the results of a scan of that list.
bool GrabSoftwareListWindows(const QDir& out, const std::string& dataFolder) {
  const std::string hash = dataFolder + "hash/", roms = dataFolder + "softroms/";
  CreateFolder(hash);
  CreateFolder(roms);
  if (!WriteText(hash + "a2600.xml", kCartsList) || !WriteText(hash + "nes.xml", kNesList)) return false;
  SettingsRecord settings;
  settings.dataSource = DataSourceKind::kSoftwareLists;
  settings.hashPath = hash;
  settings.romPaths = {PathEntry{roms, true, -1, 0}};
  settings.tempFolder = dataFolder;
  settings.backupFolder = dataFolder;
  settings.pathWarnings = false;
  const std::string profile = dataFolder + "lists.kpf";
  if (!SaveProfile(settings, profile, {}, 0)) return false;

  ScriptedInterface quiet;
  UserValues values;
  values.veryFirstTime = 0;
  char zipLevel = '9';
  MainWindow window(dataFolder, values, &zipLevel);
  window.SetInterface(&quiet);
  if (!window.LoadProfileAndData(profile)) return false;
  bool ok = Grab(window, out.filePath("main_window_software_list.png"));
  window.runScannerDialog = [&](ScannerDialog& dialog) {
    dialog.showStatistics = [](const std::string&) {};
    dialog.Scan(false);
    ResultsWindow& results = *dialog.resultsWindow();
    results.resize(720, 300);
    ok &= Grab(results, out.filePath("results_software_list.png"), false);
  };
  return window.RunTool(kCommandScanner) && ok;
}

}  // namespace

bool RenderScreenshots(const std::string& folder, const std::string& datfile,
                       const std::string& collection) {
  const QDir out(ToQString(folder));
  if (!out.exists() && !QDir().mkpath(out.path())) return false;
  QTemporaryDir scratch;
  const std::string dataFolder = FromQString(scratch.path()) + "/";
  ScriptedInterface quiet;
  bool ok = true;

  UserValues values;
  values.veryFirstTime = 0;
  values.startFrom = StartOption::kLastSettings;  // the scratch folder holds no profile to load
  char zipLevel = '9';
  {
    MainWindow window(dataFolder, values, &zipLevel);
    window.SetInterface(&quiet);
    ok &= Grab(window, out.filePath("main_window.png"));
  }
  {
    AboutBox about(nullptr);
    ok &= Grab(about, out.filePath("about_box.png"));
  }
  GameList database = SampleGames();
  GameList rawGames;
  SettingsRecord record = SampleSettings();
  LoadedData sampleLoaded{DataSourceKind::kDatfile, record.datfile, 0, {}};
  int x = 0;
  int y = 0;
  const char* names[] = {"rom_paths", "sample_paths", "misc_paths", "add_paths"};
  for (int list = 0; list < 4; ++list) {
    record.currentPathList = PathListKind{list};
    SettingsDialogContext context{&record, &rawGames, &database, &sampleLoaded, dataFolder, &zipLevel, &x, &y,
                                  &quiet};
    SettingsDialog dialog(context);
    dialog.tree()->setCurrentItem(dialog.tree()->topLevelItem(0));
    ok &= Grab(dialog, out.filePath(QString("settings_%1.png").arg(names[list])));
  }
  ok &= GrabToolDialogs(out, record, database);
  {
    SettingsRecord lists = record;
    lists.dataSource = DataSourceKind::kSoftwareLists;
    lists.currentPathList = PathListKind::kRomPaths;
    lists.softwareLists = SamplePaths({"/usr/share/games/mame/hash/a2600.xml", "/home/ann/lists/homebrew.xml"});
    lists.hashPath = "/usr/share/games/mame/hash/";
    SettingsDialogContext context{&lists, &rawGames, &database, &sampleLoaded, dataFolder, &zipLevel, &x, &y,
                                  &quiet};
    SettingsDialog dialog(context);
    ok &= Grab(dialog, out.filePath("settings_software_lists.png"));
  }
  ok &= GrabSoftwareListWindows(out, dataFolder);
  if (datfile.empty()) return ok;

  // The games list searched: only the matching lines show, ticks unchanged.
  DemoData demo;
  if (!LoadDemoData(demo, dataFolder, datfile, collection)) return false;
  {
    SettingsRecord games = demo.settings;
    games.currentPathList = PathListKind::kGames;
    games.gameFilter = "star*; rocket";
    SettingsDialogContext context{&games, &demo.rawGames, &demo.database, &demo.loaded, dataFolder, &zipLevel,
                                  &x, &y, &quiet};
    SettingsDialog dialog(context);
    dialog.tree()->setCurrentItem(dialog.tree()->topLevelItem(0));
    ok &= Grab(dialog, out.filePath("settings_games.png"));
  }
  for (GameSet& game : demo.database) game.selected = true;
  ok &= RenderScannerScreenshots(out, dataFolder, demo);
  return ok;
}

}  // namespace kestrel
