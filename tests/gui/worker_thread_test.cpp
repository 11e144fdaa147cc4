// Tools run off the GUI thread: the tool's thread, the thread its questions
// and progress reach the user on, a cancel carried back, the scan's lines
// fed to the results window, and an export whose rows were read anew.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "app/scripted_interface.h"
#include "gui/findings_export.h"
#include "gui/off_gui_thread.h"
#include "gui/results_feed.h"
#include "gui/results_table_model.h"
#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using namespace std::chrono_literals;

// Notes the thread of every call; its progress dialog keeps the position
// it was stepped to and cancels once `cancelAfterChecks` checks were made.
class ThreadNotingInterface : public ScriptedInterface {
 public:
  std::vector<std::thread::id> callThreads;
  int position = 0;
  int steps = 0;  // Step calls that reached the dialog
  int cancelAfterChecks = 0;

  std::unique_ptr<ProgressDialog> OpenProgress(const std::string& title) override {
    Note();
    ScriptedInterface::OpenProgress(title);
    return std::make_unique<NotedProgress>(*this);
  }
  int Ask(const std::string& title, const std::string& message) override {
    Note();
    return ScriptedInterface::Ask(title, message);
  }
  int Message(const std::string& text, const std::string& title, MessageStyle style) override {
    Note();
    return ScriptedInterface::Message(text, title, style);
  }

 private:
  struct NotedProgress : ProgressDialog {
    explicit NotedProgress(ThreadNotingInterface& ui) : ui(ui) {}
    void SetRange(int lower, int) override { ui.position = lower; }
    void SetStep(int step) override { this->step = step; }
    void Step() override { ui.position += step, ++ui.steps; }
    void SetText(const std::string& text) override { ui.progressTexts.push_back(text); }
    void SetCaption(const std::string&) override {}
    bool IsCancelled() override {
      ui.Note();
      return ui.cancelAfterChecks > 0 && ++ui.cancelChecks == ui.cancelAfterChecks;
    }
    ThreadNotingInterface& ui;
    int step = 1;
  };
  void Note() { callThreads.push_back(std::this_thread::get_id()); }
};

TEST(OffGuiThread, TheToolRunsOnAWorkerAndTheUserIsAskedOnTheGuiThread) {
  ThreadNotingInterface ui;
  ui.askAnswers = {kAnswerYesToAll};
  std::thread::id toolThread;
  const int answer = RunToolOffGuiThread(&ui, [&](UserInterface* worker) {
    toolThread = std::this_thread::get_id();
    auto progress = OpenProgressDialog(worker, "Scanning");
    progress->SetRange(10, 3010);
    progress->SetStep(3);
    for (int i = 0; i < 1000; ++i) progress->Step();
    progress->SetText("last set");
    std::this_thread::sleep_for(150ms);  // a few redraws
    ShowMessage(worker, "Told", "Title", {});
    return AskDialog(worker, "Title", "Go on ?");
  });
  EXPECT_NE(toolThread, std::this_thread::get_id());
  EXPECT_EQ(answer, kAnswerYesToAll);
  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"Told"});
  ASSERT_FALSE(ui.callThreads.empty());
  for (std::thread::id thread : ui.callThreads) EXPECT_EQ(thread, std::this_thread::get_id());
  // The latest position and text are shown, in far fewer redraws than steps.
  EXPECT_EQ(ui.position, 3010);
  EXPECT_EQ(ui.progressTexts, std::vector<std::string>{"last set"});
  EXPECT_LT(ui.steps, 100);
  EXPECT_EQ(ui.openProgressDialogs, 0);  // closed before the tool went on
}

TEST(OffGuiThread, ACancelReachesTheWorkerAndAFailureTheCaller) {
  ThreadNotingInterface ui;
  ui.cancelAfterChecks = 2;
  const bool cancelled = RunToolOffGuiThread(&ui, [](UserInterface* worker) {
    auto progress = OpenProgressDialog(worker, "Rebuilding");
    for (int wait = 0; wait < 400; ++wait) {
      if (progress->IsCancelled()) return true;
      std::this_thread::sleep_for(5ms);
    }
    return false;
  });
  EXPECT_TRUE(cancelled);
  EXPECT_THROW(RunOffGuiThread([] { throw std::runtime_error("damaged"); }), std::runtime_error);
}

// The lines as the tree shows them: "top: child child; top: ...".
std::string Tree(const ResultsModel& results) {
  std::string text;
  for (const ResultTreeItem& top : results.items) {
    text += top.text + ":";
    for (const ResultTreeItem& child : top.children) text += " " + child.text;
    text += "; ";
  }
  return text;
}

TEST(ResultsFeed, DeliversTheWorkersLinesInBatchesAndKeepsAnUnstartedRunsLines) {
  ResultsModel produced, shown;
  AddResultLine(shown, "last scan", kTopLevel, kResultGameHeader, true, false);
  {
    ResultsFeed refused(produced);  // a run refused before it began its tree
    refused.Finish(shown);
    EXPECT_EQ(shown.lines.size(), 1u);
  }
  int rebuilds = 0;
  shown.onRebuilt = [&] { ++rebuilds; };
  ResultsFeed feed(produced);
  ClearResults(produced);
  AddResultLine(produced, "alpha", kTopLevel, kResultGameHeader, true, false);
  AddResultLine(produced, "a.1", 1, kResultMissingRom, true, false);
  AddResultLine(produced, "beta", kTopLevel, kResultGameHeader, true, false);
  ResultsFeed::Delivery delivery = feed.Deliver(shown, 2);
  EXPECT_TRUE(delivery.changed && delivery.more);
  EXPECT_EQ(Tree(shown), "alpha: a.1; ");
  EXPECT_EQ(rebuilds, 1);
  AddResultLine(produced, "b.1", 1, kResultMissingRom, true, false);
  feed.Finish(shown);
  EXPECT_EQ(Tree(shown), "alpha: a.1; beta: b.1; ");
  EXPECT_EQ(shown.lines.size(), 4u);
  EXPECT_EQ(shown.firstVisibleItem, 1);
  EXPECT_FALSE(feed.Deliver(shown).changed);
}

TEST(ResultsTable, AFilterIsWorkedOutOffTheGuiThreadAndNewLinesWaitForIt) {
  ResultsModel results;
  AddResultLine(results, "Alpha [folder: alpha]", kTopLevel, kResultGameHeader, true, false);
  AddResultLine(results, "missing rom: a.1", 1, kResultMissingRom, true, false);
  AddResultLine(results, "wrong checksum: a.2 [wrong: 5] [right: 6 (f9)]", 1, kResultWrongChecksum, true, false);
  ResultsTableModel table(results);
  table.SetKindFilter(kResultMissingRom);
  EXPECT_EQ(table.rowCount(), 2);  // the rows it had, until the new ones are in
  QEventLoop loop;
  QObject::connect(&table, &ResultsTableModel::Computed, &loop, &QEventLoop::quit);
  QTimer::singleShot(5000, &loop, &QEventLoop::quit);
  loop.exec();
  EXPECT_FALSE(table.computing());
  EXPECT_EQ(table.rowCount(), 1);
  // New lines are taken in only once the rows being worked out are in.
  table.SetSearch("A.");
  table.Sync();
  EXPECT_FALSE(table.computing());
  AddResultLine(results, "missing rom: a.3", 1, kResultMissingRom, true, false);
  table.Sync();
  ASSERT_EQ(table.rowCount(), 2);
  EXPECT_EQ(table.Cell(1, kColumnRom), "a.3");
}

TEST(FindingsExport, RowsReadAnewDuringTheExportWriteNothing) {
  ResultsModel results;
  for (int game = 0; game < 8000; ++game) {
    AddResultLine(results, "Game " + std::to_string(game) + " [folder: g" + std::to_string(game) + "]", kTopLevel,
                  kResultGameHeader, true, false);
    for (const char* rom : {"a.1", "b.2", "c.3"})
      AddResultLine(results, std::string("missing rom: ") + rom, 1, kResultMissingRom, true, false);
  }
  ResultsTableModel table(results);
  testing::TempFolder folder;
  const std::string path = folder / "findings.csv";
  EXPECT_EQ(ExportShownRows(table, path), ExportResult::kWritten);
  EXPECT_EQ(testing::ReadFile(path), table.CsvText());
  DeleteFile(path);
  QTimer::singleShot(0, [&] { table.Reset(); });  // lands between the first two slices
  EXPECT_EQ(ExportShownRows(table, path, 0), ExportResult::kRowsChanged);
  EXPECT_FALSE(FileExists(path));
}

}  // namespace
}  // namespace kestrel
