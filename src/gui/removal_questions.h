// The question a tool asks before a run that removes sets or source files,
// with how much the run may remove, counted from the selection and the
// options as the run itself will see them. Free of Qt, so the counts and
// the texts are tested without a window.
#pragma once

#include <string>

#include "gamedb/game_set.h"
#include "merger/merger.h"
#include "settings/settings_record.h"

namespace kestrel {

// What one press of a merger button reaches.
struct MergeReach {
  int families = 0;     // selected family heads, as the run counts them
  int sets = 0;         // their sets: every head and each of its clones
  int clones = 0;       // of those, the clone sets
  int otherPaths = 0;   // active ROM paths besides the one a new set goes to
};

MergeReach CountMergeReach(const GameList& database, const SettingsRecord& settings);

// The question before a merger run, or "" when the run removes nothing:
// neither Remove Old (old sets in other ROM paths, and in merged form the
// clone sets folded into their parents') nor Clean Set (files the game
// data do not name) applies to any set. Also "" without an active ROM
// path, which the run refuses itself.
std::string MergeRemovalQuestion(const MergeReach& reach, const SettingsRecord& settings, MergeButton button);

// The question before a rebuild with Remove Rebuilt Sourcefiles, or ""
// when the option is off or the source holds no file.
std::string RebuildRemovalQuestion(const SettingsRecord& settings, int sourceFiles);

// The files in settings.rebuildSource (and, when recursing, its
// subfolders) that the rebuild may remove: loose files and zips, one each.
int CountRebuildSources(const SettingsRecord& settings);

}  // namespace kestrel
