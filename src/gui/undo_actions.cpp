#include "gui/undo_actions.h"

#include <optional>
#include <vector>

#include "app/user_interface.h"
#include "gui/list_messages_window.h"
#include "gui/off_gui_thread.h"
#include "platform/file_system.h"
#include "undo/journaled_file_system.h"
#include "undo/run_history.h"
#include "undo/undo_run.h"

namespace kestrel {
namespace {

constexpr const char* kUndoCaption = "Undo Last Run";

std::string UndoQuestion(const RunRecord& run) {
  return "Undo run " + run.id + " (" + run.journal.command + ", started " + run.journal.started + ", " +
         RunStateText(run.journal) + ")?\n\n" + ChangeCountText(DescribeRun(run.journal)) +
         "\n\nEvery file goes back as it was before the run. A file changed since the run is not lost: it is "
         "kept in the run's folder '" + run.folder + "'.";
}

std::vector<std::string> ProblemLines(const UndoOutcome& outcome) {
  std::vector<std::string> lines;
  for (const UndoProblem& problem : outcome.setAside)
    lines.push_back(problem.path + ": changed since the run, kept in the run's folder (" + problem.reason + ")");
  for (const UndoProblem& problem : outcome.failures)
    lines.push_back(problem.path + ": not undone (" + problem.reason + ")");
  return lines;
}

std::string OutcomeText(const RunRecord& run, const UndoOutcome& outcome) {
  if (outcome.refused) return "Run " + run.id + " could not be undone: " + outcome.refusal;
  std::string text = "Run " + run.id + " (" + run.journal.command + ") undone: " +
                     std::to_string(outcome.done.size()) + " steps taken.";
  if (!outcome.setAside.empty())
    text += "\n" + std::to_string(outcome.setAside.size()) + " files changed since the run were kept in '" +
            run.folder + "'.";
  if (!outcome.failures.empty())
    text += "\n" + std::to_string(outcome.failures.size()) + " steps could not be taken; what they concern stays as it is.";
  return text;
}

}  // namespace

void UndoLastRun(UserInterface* ui, const std::string& dataFolder) {
  std::optional<RunRecord> run = FindRun(UndoFolder(dataFolder), "");
  if (!run) {
    ShowMessage(ui, "There is no run to undo.", kUndoCaption, {MessageButtons::kOk, MessageIcon::kInformation});
    return;
  }
  if (ShowMessage(ui, UndoQuestion(*run), kUndoCaption, {MessageButtons::kYesNo, MessageIcon::kQuestion}) !=
      kResultYes)
    return;
  const std::string folder = run->folder;
  const UndoOutcome outcome =
      RunToolOffGuiThread(ui, [&folder](UserInterface*) { return UndoRun(RealFileSystem(), folder); });
  const bool clean = !outcome.refused && outcome.setAside.empty() && outcome.failures.empty();
  ShowMessage(ui, OutcomeText(*run, outcome), kUndoCaption,
              {MessageButtons::kOk, clean ? MessageIcon::kInformation : MessageIcon::kExclamation});
  if (ui != nullptr && !clean && !outcome.refused) ui->ShowProblems("Undo Of Run " + run->id, ProblemLines(outcome));
}

void ShowRunHistory(QWidget* owner, const std::string& dataFolder) {
  std::vector<std::string> lines;
  for (const RunRecord& run : ListRuns(UndoFolder(dataFolder))) lines.push_back(RunSummaryLine(run));
  if (lines.empty()) lines.push_back("No run has changed a file yet.");
  ShowListMessages(owner, "Run History", std::move(lines));
}

}  // namespace kestrel
