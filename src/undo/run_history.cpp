#include "undo/run_history.h"

#include <algorithm>

#include "platform/file_system.h"

namespace kestrel {

namespace {

// The run folders' numbers, in order; other names are no runs.
std::vector<int> RunNumbers(const std::string& undoFolder) {
  std::vector<int> numbers;
  for (const FolderEntry& entry : ListFolder(undoFolder)) {
    if (entry.isFolder && !entry.name.empty() && entry.name.size() < 9 &&
        entry.name.find_first_not_of("0123456789") == std::string::npos && entry.name[0] != '0')
      numbers.push_back(std::stoi(entry.name));
  }
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

}  // namespace

int NextRunNumber(const std::string& undoFolder) {
  std::vector<int> numbers = RunNumbers(undoFolder);
  return numbers.empty() ? 1 : numbers.back() + 1;
}

std::vector<RunRecord> ListRuns(const std::string& undoFolder) {
  std::vector<RunRecord> runs;
  for (int number : RunNumbers(undoFolder)) {
    FolderEntry entry{std::to_string(number), true, false, 0};
    RunRecord run{entry.name, undoFolder + entry.name + "/", {}};
    std::optional<Journal> journal = ReadJournal(run.folder + "journal");
    if (!journal) continue;
    run.journal = *journal;
    runs.push_back(run);
  }
  return runs;
}

std::optional<RunRecord> FindRun(const std::string& undoFolder, const std::string& id) {
  std::vector<RunRecord> runs = ListRuns(undoFolder);
  for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
    if (id.empty() ? !run->journal.undone : run->id == id) return *run;
  }
  return std::nullopt;
}

std::vector<FileChange> DescribeRun(const Journal& journal) {
  ChangeList list;
  for (const JournalEntry& entry : journal.entries) {
    switch (entry.action) {
      case JournalAction::kCreate: list.Created(entry.path); break;
      case JournalAction::kReplace: list.Replaced(entry.path, entry.target, entry.oldContent.has_value()); break;
      case JournalAction::kRename: list.Renamed(entry.path, entry.target); break;
      case JournalAction::kDelete: list.Deleted(entry.path); break;
      case JournalAction::kCreateFolder: list.FolderCreated(entry.path); break;
      case JournalAction::kRemoveFolder: list.FolderRemoved(entry.path); break;
      case JournalAction::kMakeWritable: break;  // part of the change that follows
    }
  }
  return list.changes();
}

std::string RunStateText(const Journal& journal) {
  return journal.undone ? "undone" : journal.ended ? "done" : "stopped before its end";
}

std::string ChangeCountText(const std::vector<FileChange>& changes) {
  static const char* const kWords[] = {"created", "replaced", "renamed", "deleted", "folders created",
                                       "folders removed"};
  size_t counts[std::size(kWords)] = {};
  for (const FileChange& change : changes) ++counts[static_cast<size_t>(change.kind)];
  std::string text;
  for (size_t kind = 0; kind < std::size(kWords); ++kind) {
    if (counts[kind] == 0) continue;
    text += (text.empty() ? "" : ", ") + std::to_string(counts[kind]) + " " + kWords[kind];
  }
  return text.empty() ? "no changes" : text;
}

std::string RunSummaryLine(const RunRecord& run) {
  return run.id + "  " + run.journal.started + "  " + run.journal.command + "  " + RunStateText(run.journal) + ": " +
         ChangeCountText(DescribeRun(run.journal));
}

}  // namespace kestrel
