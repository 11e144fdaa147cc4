// A trial, not a test of the suite (it is disabled): the desktop program's
// longest event-loop stall while it loads a real game list, scans a real
// collection, rebuilds and merges. Run by hand with
//   KESTREL_TRIAL_LIST=mame.xml KESTREL_TRIAL_ROMS=roms/ KESTREL_TRIAL_WORK=work/
//   gui_tests --gtest_also_run_disabled_tests --gtest_filter="*StallTrial*"
// A timer due every 10 ms measures how late it fires; the gap beyond its
// interval is the time the window could not react.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "gui/gui_test_helpers.h"
#include "gui/main_window.h"
#include "gui/merger_controls.h"
#include "gui/merger_dialog.h"
#include "gui/qt_user_interface.h"
#include "gui/rebuilder_controls.h"
#include "gui/rebuilder_dialog.h"
#include "gui/results_table_model.h"
#include "gui/results_window.h"
#include "gui/scanner_controls.h"
#include "gui/scanner_dialog.h"
#include "gui/user_values.h"
#include "settings/profile_file.h"

namespace kestrel {
namespace {

class StallWatch {
 public:
  StallWatch() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const qint64 gap = clock_.restart();
      if (gap > longest_) longest_ = gap;
    });
  }
  void Start() {
    longest_ = 0;
    clock_.start();
    timer_.start();
  }
  // Time spent from here on is the user's own action, timed apart.
  void Forgive() { clock_.restart(); }
  // The longest time the event loop did not turn, in ms.
  qint64 Stop() {
    timer_.stop();
    return longest_ - 10;
  }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 longest_ = 0;
};

// Real progress windows, every question answered No, messages counted as
// the windows they would raise.
class TrialInterface : public UserInterface {
 public:
  explicit TrialInterface(QWidget* owner) : qt_(owner) {}
  std::unique_ptr<ProgressDialog> OpenProgress(const std::string& title) override { return qt_.OpenProgress(title); }
  int Ask(const std::string&, const std::string&) override { return kAnswerNo; }
  int Message(const std::string& text, const std::string& title, MessageStyle style) override {
    ++windows;
    std::printf("  message [%s]: %.200s\n", title.c_str(), text.c_str());
    return style.buttons == MessageButtons::kYesNo ? kResultYes : kResultOk;
  }
  std::string ChooseFile(const std::string&, const std::string&, const std::string&, bool) override { return ""; }
  std::string ChooseFolder(const std::string&) override { return ""; }
  void ShowProblems(const std::string& title, const std::vector<std::string>& problems) override {
    ++windows;
    std::printf("  problem list [%s]: %zu entries, first: %.160s\n", title.c_str(), problems.size(),
                problems.front().c_str());
  }
  int windows = 0;

 private:
  QtUserInterface qt_;
};

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

TEST(StallTrial, DISABLED_LoadScanRebuildMergeAtFullScale) {
  const std::string list = Env("KESTREL_TRIAL_LIST"), roms = Env("KESTREL_TRIAL_ROMS"), work = Env("KESTREL_TRIAL_WORK");
  ASSERT_FALSE(list.empty() || roms.empty() || work.empty());
  QWidget owner;
  owner.show();
  TrialInterface ui(&owner);
  StallWatch watch;
  SettingsRecord settings;
  settings.dataSource = DataSourceKind::kDatfile;
  settings.datfile = list;
  settings.tempFolder = work + "temp/";
  settings.backupFolder = work + "backup/";
  std::filesystem::create_directories(settings.tempFolder);
  std::filesystem::create_directories(settings.backupFolder);
  settings.pathWarnings = false;
  QElapsedTimer clock;

  // The list is read as the main window reads a profile's list.
  std::filesystem::create_directories(work + "data/");
  ASSERT_TRUE(SaveProfile(settings, work + "trial.kpf", {}, 0));
  char mainZipLevel = '9';
  MainWindow window(work + "data/", UserValues{}, &mainZipLevel);
  window.SetInterface(&ui);
  clock.start();
  watch.Start();
  ASSERT_TRUE(window.LoadProfileAndData(work + "trial.kpf"));
  GameList& database = window.database();
  std::printf("load: %zu games, %lld ms, longest stall %lld ms\n", database.size(), clock.elapsed(), watch.Stop());
  for (GameSet& game : database) game.selected = true;

  settings.romPaths = {PathEntry{roms, true, -1, 0}};
  settings.scannerLogfile = work + "kestrel.log";
  settings.fastscanFile = work + "fastscan.fsc";
  WindowLayout layout;
  char zipLevel = '9';
  ui.windows = 0;
  {
    ScannerDialog scanner({&settings, &database, work + "data/", &zipLevel, &layout, &ui});
    scanner.showStatistics = [](const std::string&) {};
    scanner.show();
    ResultsWindow& results = *scanner.resultsWindow();
    // While the scan runs, use the results window: filter, search, sort,
    // export; each use is timed. An export lets the loop turn between its
    // slices, so its stalls are the watch's, not its length.
    qint64 longestUse = 0;
    int uses = 0;
    QTimer user;
    user.setInterval(700);
    QObject::connect(&user, &QTimer::timeout, [&] {
      QElapsedTimer use;
      use.start();
      switch (uses++ % 4) {
        case 0: results.kindFilter()->setCurrentIndex(2); break;
        case 1: results.kindFilter()->setCurrentIndex(0); results.tableModel()->SetSearch("pac"); break;
        case 2: results.tableModel()->SetSearch(""); results.table()->sortByColumn(kColumnSet, Qt::AscendingOrder); break;
        case 3: results.ExportCsv(work + "findings.csv"); break;
      }
      results.table()->scrollToBottom();
      const qint64 took = use.elapsed();
      if (took > longestUse) std::printf("  use %d took %lld ms\n", (uses - 1) % 4, took);
      longestUse = std::max(longestUse, took);
      watch.Forgive();
    });
    clock.restart();
    watch.Start();
    user.start();
    scanner.Scan(false);
    user.stop();
    const qint64 stall = watch.Stop();
    std::printf("scan: %d result lines, %d findings rows, %lld ms, longest stall %lld ms, windows raised %d\n",
                static_cast<int>(scanner.results().lines.size()), results.tableModel()->totalRows(), clock.elapsed(),
                stall, ui.windows);
    std::printf("  results window used %d times during the scan, longest use %lld ms; %s\n", uses, longestUse,
                scanner.lastScanStatus().c_str());
    const auto timed = [&](const char* what, const std::function<void()>& act) {
      clock.restart();
      watch.Start();
      act();
      // A filter, search or order is worked out off the GUI thread.
      while (results.tableModel()->computing()) {
        QEventLoop turn;
        QTimer::singleShot(5, &turn, &QEventLoop::quit);
        turn.exec();
      }
      const qint64 took = clock.elapsed();
      std::printf("after the scan, %s of %d rows: %lld ms, longest stall %lld ms\n", what,
                  results.tableModel()->totalRows(), took, watch.Stop());
    };
    timed("export", [&] { results.ExportCsv(work + "findings.csv"); });
    timed("kind filter", [&] { results.kindFilter()->setCurrentIndex(1); });
    timed("search", [&] { results.tableModel()->SetSearch("a"); });
    timed("sort", [&] { results.table()->sortByColumn(kColumnRom, Qt::DescendingOrder); });
    timed("missing ROMs hidden", [&] { testing::Click(scanner, kCheckMissingBox); });
  }

  ZipLibrary zipLibrary;
  int x = 0, y = 0;
  settings.rebuildSource = work + "source/";
  settings.rebuildDestination = work + "rebuilt/";
  std::filesystem::create_directories(settings.rebuildDestination);
  settings.rebuildZip = true;
  ui.windows = 0;
  {
    RebuilderDialog rebuilder({&settings, &database, &zipLibrary, &x, &y, &ui, ""});
    rebuilder.show();
    clock.restart();
    watch.Start();
    testing::Click(rebuilder, kRebuilderRebuild);
    std::printf("rebuild: %lld ms, longest stall %lld ms, windows %d\n", clock.elapsed(), watch.Stop(), ui.windows);
  }
  if (!Env("KESTREL_TRIAL_NO_MERGE").empty()) return;
  settings.romPaths = {PathEntry{work + "merge/", true, -1, 0}};
  settings.mergeMode = SetLayout::kMerged;
  ui.windows = 0;
  {
    MergerDialog merger({&settings, &database, &zipLibrary, &x, &y, &ui, ""});
    merger.show();
    clock.restart();
    watch.Start();
    testing::Click(merger, kMergerRun);
    std::printf("merge: %lld ms, longest stall %lld ms, windows %d\n", clock.elapsed(), watch.Stop(), ui.windows);
  }
}

}  // namespace
}  // namespace kestrel
