#include <memory>

#include "app/user_interface.h"
#include "platform/file_replacement.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/thread_priority.h"
#include "rebuilder/rebuild_messages.h"
#include "rebuilder/rebuild_state.h"
#include "rebuilder/rebuilder.h"
#include "rebuilder/source_removal.h"

namespace kestrel {
namespace {

std::string RealFolder(const std::string& folder) {
  std::string absolute = AbsolutePath(folder);
  return WithTrailingSeparator(FindPath(absolute).value_or(absolute));
}

// The private folder zip members are extracted into, made for the run.
std::string MakeWorkFolder(const SettingsRecord& settings) {
  std::string parent = settings.tempFolder.empty() ? TempFolder() : settings.tempFolder;
  return CreateUniqueFolder(parent);
}

void RemoveWorkFolder(const std::string& folder) {
  for (const FolderEntry& entry : ListFolder(folder)) DeleteFile(folder + entry.name);
  RemoveFolder(folder);
}

// Walks the sources, writes the gathered zips, removes what was rebuilt.
// False when the run stopped before its end.
bool RebuildAll(RebuildState& state, const GameList& database, ZipLibrary& zipLibrary, const std::string& source,
                RebuildCounts& counts) {
  BuildCrcIndex(database, state.crcIndex, state.zeroCrcIndex);
  state.crcServed.assign(state.crcIndex.size(), false);
  state.zeroCrcServed.assign(state.zeroCrcIndex.size(), false);
  bool completed = RebuildFolder(state, source);
  // Whatever was matched before a stop is still written, as a stopped run
  // keeps everything placed so far.
  completed = WritePendingArchives(state.archives, state.journal, zipLibrary, state.ui, state.progress) &&
              completed;
  if (state.settings.rebuildRemoveSources) counts.sourcesRemoved = RemoveRebuiltSources(state.journal, zipLibrary);
  CountJournal(state.journal, counts);
  return completed;
}

}  // namespace

RebuildOutcome RunRebuild(const GameList& database, const SettingsRecord& settings, ZipLibrary& zipLibrary,
                          UserInterface* ui) {
  RebuildOutcome outcome;
  RebuildState state(settings);
  state.ui = ui;
  state.destination = RealFolder(settings.rebuildDestination);
  std::string source = RealFolder(settings.rebuildSource);
  state.workFolder = MakeWorkFolder(settings);
  if (state.workFolder.empty()) {
    ShowMessage(ui, std::string(rebuild_text::kCantAccess) + " '" + settings.tempFolder + "'",
                rebuild_text::kPathError, {MessageButtons::kOk, MessageIcon::kStop});
    outcome.refused = true;
    return outcome;
  }
  ScopedThreadPriority priority(settings.threadPriority);
  int count = CountSourceFiles(source, settings.rebuildRecursive, state.workFolder);
  std::unique_ptr<ProgressDialog> progress = OpenProgressDialog(ui, rebuild_text::kProgressTitle);
  progress->SetText("");
  state.progress = progress.get();
  outcome.completed = true;
  if (count > 0) {
    progress->SetRange(0, count);
    progress->SetStep(1);
    FileReplacement log;
    bool logging = settings.rebuildCreateLog && !settings.rebuildLogfile.empty();
    if (logging && !log.Create(settings.rebuildLogfile)) {
      ShowMessage(ui, rebuild_text::kCantLog, rebuild_text::kLogfileError,
                  {MessageButtons::kOk, MessageIcon::kExclamation});
      outcome.refused = true;
      outcome.completed = false;
    } else {
      outcome.completed = RebuildAll(state, database, zipLibrary, source, outcome.counts);
      if (logging) {
        std::string text = RenderRebuildLog(state.journal);
        if (!log.Write(text.data(), text.size()) || !log.Close() || !log.Commit())
          ShowMessage(ui, rebuild_text::kCantLog, rebuild_text::kLogfileError,
                      {MessageButtons::kOk, MessageIcon::kExclamation});
      }
    }
  }
  RemoveWorkFolder(state.workFolder);
  return outcome;
}

}  // namespace kestrel
