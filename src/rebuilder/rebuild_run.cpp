#include <memory>
#include <optional>
#include <utility>

#include "app/user_interface.h"
#include "archive/zip_library.h"
#include "platform/file_replacement.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/thread_priority.h"
#include "rebuilder/leftovers.h"
#include "rebuilder/rebuild_messages.h"
#include "rebuilder/rebuild_state.h"
#include "rebuilder/rebuilder.h"
#include "rebuilder/source_removal.h"

namespace kestrel {
namespace {

std::string RealFolder(FileSystem& fs, const std::string& folder) {
  std::string absolute = AbsolutePath(folder);
  return WithTrailingSeparator(fs.FindPath(absolute).value_or(absolute));
}

std::string TempParent(const SettingsRecord& settings) {
  return settings.tempFolder.empty() ? TempFolder() : settings.tempFolder;
}

// The private folder zip members are extracted into, made for the run
// once what an interrupted run left is gone.
std::string MakeWorkFolder(FileSystem& fs, const SettingsRecord& settings) {
  std::optional<std::string> parent = fs.FindPath(TempParent(settings));
  if (!parent) return "";
  std::string folder = WorkFolderName(*parent);
  return fs.CreateFolder(folder) ? folder : "";
}

// Walks the sources, writes the gathered zips, removes what was rebuilt.
// False when the run stopped before its end.
bool RebuildAll(RebuildState& state, const GameList& database, ZipLibrary& zipLibrary, const std::string& source,
                RebuildCounts& counts) {
  state.database = &database;
  BuildCrcIndex(database, state.crcIndex, state.zeroCrcIndex);
  state.crcServed.assign(state.crcIndex.size(), false);
  state.zeroCrcServed.assign(state.zeroCrcIndex.size(), false);
  bool completed = RebuildFolder(state, source);
  // Whatever was matched before a stop is still written, as a stopped run
  // keeps everything placed so far.
  // Only the destination's zips take TorrentZip's form: source zips are
  // the user's, and removing members from them changes nothing else.
  ZipLibrary destinationLibrary = zipLibrary;
  destinationLibrary.torrentZip = state.settings.rebuildTorrentZip;
  completed = WritePendingArchives(state, destinationLibrary) && completed;
  // Only what reached the destination and read back decides which sources go.
  ResolveServedBefore(state.journal);
  if (state.settings.rebuildRemoveSources) {
    std::string setFolders = state.settings.rebuildZip ? "" : state.destination;
    counts.sourcesRemoved =
        RemoveRebuiltSources(state.fs, state.journal, source, setFolders, zipLibrary, state.failures);
  }
  counts.sourcesRemoved += state.disksRemoved;
  CountJournal(state.journal, counts);
  return completed;
}

bool ListHasDisks(const GameList& database) {
  for (const GameSet& game : database)
    if (!game.disks.empty()) return true;
  return false;
}

void ShowCantLog(UserInterface* ui) {
  ShowMessage(ui, rebuild_text::kCantLog, rebuild_text::kLogfileError,
              {MessageButtons::kOk, MessageIcon::kExclamation});
}

// Runs the rebuild with the logfile, when one is asked for. A logfile that
// cannot be made refuses the run; it is written whole at the end.
void RebuildWithLog(RebuildState& state, const GameList& database, ZipLibrary& zipLibrary,
                    const std::string& source, RebuildOutcome& outcome) {
  const SettingsRecord& settings = state.settings;
  FileReplacement log(state.fs);
  bool logging = settings.rebuildCreateLog && !settings.rebuildLogfile.empty();
  if (logging && !log.Create(settings.rebuildLogfile)) {
    ShowCantLog(state.ui);
    outcome.refused = true;
    outcome.completed = false;
    return;
  }
  outcome.completed = RebuildAll(state, database, zipLibrary, source, outcome.counts);
  if (!logging) return;
  std::string text = RenderRebuildLog(state.journal);
  if (!log.Write(text.data(), text.size()) || !log.Close() || !log.Commit()) ShowCantLog(state.ui);
}

}  // namespace

void AddFailure(RebuildState& state, const std::string& path, const std::string& reason) {
  state.failures.push_back({path, reason});
}

RebuildOutcome RunRebuild(const GameList& database, const SettingsRecord& settings, ZipLibrary& zipLibrary,
                          UserInterface* ui, FileSystem& fs) {
  RebuildOutcome outcome;
  RebuildState state(settings, fs);
  state.ui = ui;
  state.zipLibrary = &zipLibrary;
  state.destination = RealFolder(fs, settings.rebuildDestination);
  std::string source = RealFolder(fs, settings.rebuildSource);
  LeftoverReport leftovers;
  ClearLeftovers(fs, fs.FindPath(TempParent(settings)).value_or(""), state.destination, settings.backupFolder,
                 leftovers);
  state.leftovers = std::move(leftovers.cleared);
  state.failures = std::move(leftovers.kept);
  state.workFolder = MakeWorkFolder(fs, settings);
  if (state.workFolder.empty()) {
    ShowMessage(ui, std::string(rebuild_text::kCantAccess) + " '" + settings.tempFolder + "'",
                rebuild_text::kPathError, {MessageButtons::kOk, MessageIcon::kStop});
    outcome.refused = true;
    return outcome;
  }
  ScopedThreadPriority priority(settings.threadPriority);
  int count = CountSourceFiles(state.fs, source, settings.rebuildRecursive, state.workFolder);
  std::unique_ptr<ProgressDialog> progress = OpenProgressDialog(ui, rebuild_text::kProgressTitle);
  progress->SetText("");
  state.progress = progress.get();
  outcome.completed = true;  // an empty source is done at once, without a logfile
  if (count > 0) {
    progress->SetRange(0, count);
    progress->SetStep(1);
    RebuildWithLog(state, database, zipLibrary, source, outcome);
  }
  outcome.counts.listHasDisks = ListHasDisks(database);
  RemoveWorkFolder(fs, state.workFolder);
  outcome.failures = std::move(state.failures);
  outcome.leftovers = std::move(state.leftovers);
  return outcome;
}

}  // namespace kestrel
