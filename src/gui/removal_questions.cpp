#include "gui/removal_questions.h"

#include "merger/merge_paths.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "settings/enabled_paths.h"

namespace kestrel {
namespace {

std::string Counted(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

int ValidClones(const GameList& database, const GameSet& head) {
  int count = 0;
  for (const CloneRef& clone : head.clones)
    if (clone.index >= 0 && static_cast<size_t>(clone.index) < database.size()) ++count;
  return count;
}

// The ROM paths where Remove Old may delete a copy of a set: all but the
// one the new set goes to.
int OtherRomPaths(const SettingsRecord& settings) {
  const std::vector<std::string> romPaths = EnabledPaths(settings.romPaths);
  const int paths = static_cast<int>(romPaths.size());
  if (settings.mergePlacement != MergePlacement::kIntoDestination) return paths > 0 ? paths - 1 : 0;
  int others = 0;
  for (const std::string& path : romPaths)
    if (!SameFolder(RealFileSystem(), path, settings.mergeDestination)) ++others;
  return others;
}

std::string RemoveOldLine(const MergeReach& reach, bool merged) {
  const std::string elsewhere = " in " + Counted(reach.otherPaths, "other ROM-Path", "other ROM-Paths");
  if (merged && reach.clones > 0) {
    std::string line = "Remove Old: up to " + Counted(reach.clones, "clone set", "clone sets") +
                       ", merged into their parents' sets, are deleted from every ROM-Path";
    if (reach.otherPaths > 0)
      line += ", and the copies of the " + Counted(reach.families, "parent set", "parent sets") + elsewhere;
    return line + ".\n";
  }
  if (reach.otherPaths == 0) return "";
  return "Remove Old: the copies of these " + Counted(reach.sets, "set", "sets") + elsewhere + " are deleted.\n";
}

// Files only: a folder is walked or passed over, never removed as a source.
int CountFilesIn(const std::string& folder, bool recursive) {
  int count = 0;
  for (const FolderEntry& entry : ListFolder(folder)) {
    if (!entry.isFolder) ++count;
    else if (recursive) count += CountFilesIn(JoinPath(folder, entry.name) + "/", recursive);
  }
  return count;
}

// What stands between a removal and a lost file, so that the user knows
// before saying yes.
std::string SafeguardLine(const SettingsRecord& settings) {
  if (!settings.backupFolder.empty())
    return "A file that no new set holds is first stored in the backup folder '" + settings.backupFolder + "'.\n";
  return "No backup folder is set: a family whose old sets hold a file that no new set holds is left as it is.\n";
}

}  // namespace

MergeReach CountMergeReach(const GameList& database, const SettingsRecord& settings) {
  MergeReach reach;
  for (const GameSet& game : database) {
    if (!IsSelectedFamilyHead(game)) continue;
    const int clones = ValidClones(database, game);
    ++reach.families;
    reach.clones += clones;
    reach.sets += 1 + clones;
  }
  reach.otherPaths = OtherRomPaths(settings);
  return reach;
}

std::string MergeRemovalQuestion(const MergeReach& reach, const SettingsRecord& settings, MergeButton button) {
  if (EnabledPaths(settings.romPaths).empty() || reach.families == 0) return "";
  const bool merging = button == MergeButton::kMerge;
  std::string removals;
  if (settings.mergeRemoveOld) removals += RemoveOldLine(reach, merging && settings.mergeMode == SetLayout::kMerged);
  if (settings.mergeCleanSet)
    removals += "Clean Set: files the game data do not name are left out of the new sets of these " +
                Counted(reach.families, "family", "families") + ", and a set left without a ROM is deleted.\n";
  if (removals.empty()) return "";
  return std::string(merging ? "Merging " : "Unmerging ") + Counted(reach.families, "Family", "Families") + " (" +
         Counted(reach.sets, "Set", "Sets") + ").\n\n" + removals + SafeguardLine(settings) +
         "\nDo You Want To Go On ?";
}

std::string RebuildRemovalQuestion(const SettingsRecord& settings, int sourceFiles) {
  if (!settings.rebuildRemoveSources || sourceFiles == 0) return "";
  return "Remove Rebuilt Sourcefiles: up to " + Counted(sourceFiles, "source file", "source files") + " in '" +
         settings.rebuildSource + "'" + (settings.rebuildRecursive ? " and its subfolders" : "") +
         " may be deleted, each once all it holds is rebuilt. A zip loses its rebuilt members, and goes "
         "when it is left empty.\n\nDo You Want To Go On ?";
}

int CountRebuildSources(const SettingsRecord& settings) {
  return CountFilesIn(settings.rebuildSource, settings.rebuildRecursive);
}

}  // namespace kestrel
