// Files inside a game's sets that no ROM or sample of the game needs.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "gamedb/game_set.h"
#include "report/found_entries.h"
#include "scanner/scan_context.h"
#include "report/scan_results.h"

namespace kestrel {

// Adds to the game's unneeded candidates in `scan` every member of the zip
// and every entry of the folder named by `romPath` + the game's name that
// the set layout does not need there; needed ones go on the needed-names
// list.
void CheckRomSetUnneeded(ScanContext& context, const GameSet& game, SetScan& scan,
                         const std::string& romPath);
// The same for the game's sample set in `samplePath`.
void CheckSampleSetUnneeded(ScanContext& context, const GameSet& game, SetScan& scan,
                            const std::string& samplePath);

// Whether a file named `name` belongs in the game's own ROM set, given the
// set layout: a clone's copy of a parent ROM, or a parent's copy of a clone
// ROM, is needed unless Advanced Unneeded finds it where it belongs.
bool IsNeededInRomSet(ScanContext& context, const GameSet& game, const std::string& name);
bool IsNeededInSampleSet(ScanContext& context, const GameSet& game, const std::string& name);

// Drops the candidates that are, hold, or lie directly in the backup,
// temporary or program folder or a misc path, however those were spelled:
// they belong to the user or to this program.
void DropProtectedEntries(const ScanContext& context, std::vector<FoundEntry>& entries);
// Drops the candidates that some check found needed.
void DropNeededEntries(const ScanContext& context, std::vector<FoundEntry>& entries);

// The names of `entries` lowered, for AddFoundEntry.
std::unordered_set<std::string> ListedNames(const std::vector<FoundEntry>& entries);
// Appends `entry` unless an entry of that name (without case) is listed;
// `listed` holds the lowered names of `entries` and is kept up to date.
void AddFoundEntry(std::vector<FoundEntry>& entries, std::unordered_set<std::string>& listed,
                   FoundEntry entry);

}  // namespace kestrel
