#include "gamedb/validate_games.h"

#include <algorithm>
#include <vector>

#include "gamedb/alias_groups.h"
#include "gamedb/device_roms.h"
#include "platform/text.h"
#include "platform/thread_priority.h"

namespace kestrel {

namespace {

// Shared by all sets that use the YM3812 chip's samples; it is never a set
// of its own in the lists, so it is not looked up.
constexpr const char* kSharedSampleSet = "ym3812";

std::string ReferenceMessage(const std::string& kind, const std::string& reference, const GameSet& game,
                             const std::string& ending) {
  return kind + "\n\n'" + reference + "'\n\nof gameset: \n\n'" + game.description + "'\n\n" + ending;
}

void ClearParent(GameSet& game) {
  game.hasParent = false;
  game.cloneOf.clear();
  game.parentIndex = -1;
}

void ClearSampleOf(GameSet& game) {
  game.hasSampleOf = false;
  game.sampleOf.clear();
}

void ClearBios(GameSet& game) {
  game.biosOf.clear();
  game.biosIndex = -1;
}

// Phase 1. Sets with equal descriptions end up next to each other; both stay.
GameList OrderByDescription(GameList& rawGames, int displayLiErrors, ListMessages& messages) {
  std::stable_sort(rawGames.begin(), rawGames.end(), LessByDescription);
  for (size_t i = 1; i < rawGames.size(); ++i) {
    if (displayLiErrors >= kShowSetErrors && rawGames[i].description == rawGames[i - 1].description) {
      messages.push_back("Double description: '" + rawGames[i].description + "'");
    }
  }
  GameList working = std::move(rawGames);
  rawGames.clear();
  return working;
}

// Keeps the first of each run of equal names, which after the stable sort is
// the first in file order. With `messages` null the doubles go unmentioned.
template <typename Entry>
void RemoveDoubleEntries(std::vector<Entry>& entries, const std::string& label, const GameSet& game,
                         ListMessages* messages) {
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
  size_t kept = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (kept > 0 && entries[kept - 1].name == entries[i].name) {
      if (messages != nullptr) {
        messages->push_back(label + entries[i].name + "'\nin gameset: '" + game.description + "'");
      }
      continue;
    }
    if (kept != i) entries[kept] = std::move(entries[i]);
    ++kept;
  }
  entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(kept), entries.end());
}

// Phase 2. Sorted by name without case, a name seen twice always meets the
// set just appended.
void AddUniqueSets(GameList& working, GameList& database, int displayLiErrors, ListMessages& messages) {
  std::stable_sort(working.begin(), working.end(), LessByNameNoCase);
  database.reserve(working.size());
  ListMessages* romMessages = displayLiErrors >= kShowRomErrors ? &messages : nullptr;
  for (GameSet& game : working) {
    if (!database.empty() && EqualsNoCase(database.back().name, game.name)) {
      if (displayLiErrors >= kShowSetErrors) messages.push_back("Double foldername: '" + game.name + "'");
      continue;
    }
    RemoveDoubleEntries(game.roms, "Double ROM: '", game, romMessages);
    RemoveDoubleEntries(game.samples, "Double sample : '", game, romMessages);
    RemoveDoubleEntries(game.disks, "Double disk: '", game, romMessages);
    game.romCount = static_cast<int>(game.roms.size());
    game.sampleCount = static_cast<int>(game.samples.size());
    game.index = static_cast<int>(database.size());
    database.push_back(std::move(game));
  }
  working.clear();
}

// Checks the reference `field` of `game` in three steps, each reported on
// its own: the named set must exist; a named set that names the same set
// (the set itself, say) makes the reference useless; and the named set must
// pass `isGood`, checked even after a useless one so that both problems are
// told (unless `messages` is null). Returns the named set while the
// reference stands, null once cleared.
template <typename IsGood>
GameSet* ResolveReference(GameList& database, GameSet& game, const std::string& kind,
                          std::string GameSet::*field, void (*clear)(GameSet&),
                          const std::string& badEnding, IsGood isGood, ListMessages* messages) {
  const std::string reference = game.*field;
  auto report = [&](const std::string& ending) {
    if (messages != nullptr) messages->push_back(ReferenceMessage(kind, reference, game, ending));
    clear(game);
  };
  std::optional<int> found = FindGame(database, reference);
  if (!found) {
    report(" doesn't exist !");
    return nullptr;
  }
  GameSet& target = database[*found];
  bool standing = true;
  if (target.*field == reference) {
    report(" is useless !");
    standing = false;
  }
  if (!isGood(target)) {
    report(badEnding);
    standing = false;
  }
  return standing ? &target : nullptr;
}

// A parent must exist, must not be the set itself and must not be a clone.
void ResolveParent(GameList& database, GameSet& game, ListMessages* messages) {
  if (!game.hasParent) return;
  GameSet* parent =
      ResolveReference(database, game, "Parentfolder: ", &GameSet::cloneOf, ClearParent,
                       "has bad parent-information !",
                       [](const GameSet& set) { return !set.hasParent; }, messages);
  if (parent == nullptr) return;
  parent->clones.push_back(CloneRef{game.description, game.index});
  parent->isParent = true;
  parent->cloneCount = static_cast<int>(parent->clones.size());
  game.parentIndex = parent->index;
}

// A sample source must exist, hold samples and use no other set's samples.
// MAME's lists follow MAME: a set naming itself just has its own samples,
// and any other name is a sample set looked up by that name (`genpin` is
// shared by many machines and is no machine itself).
void ResolveSampleOf(GameList& database, GameSet& game, ListMessages* messages) {
  if (!game.hasSampleOf || EqualsNoCase(game.sampleOf, kSharedSampleSet)) return;
  if (game.rules != ListRules::kDatfile) {
    if (EqualsNoCase(game.sampleOf, game.name)) ClearSampleOf(game);
    return;
  }
  ResolveReference(database, game, "Alternative Samplefolder: ", &GameSet::sampleOf, ClearSampleOf,
                   "has bad sample-information !",
                   [](const GameSet& set) { return set.sampleCount > 0 && !set.hasSampleOf; },
                   messages);
}

// A `romof` that does not name the parent names the set's BIOS set. Taken
// before the parent is checked, so that a bad parent is not mistaken for one.
void NoteOwnBios(GameSet& game) {
  if (!game.romOf.empty() && !EqualsNoCase(game.romOf, game.cloneOf)) game.biosOf = game.romOf;
}

// A BIOS set must exist, must not be the set itself and must use no BIOS of
// its own.
void ResolveBios(GameList& database, GameSet& game, ListMessages* messages) {
  if (game.biosOf.empty()) return;
  GameSet* bios = ResolveReference(database, game, "Biosfolder: ", &GameSet::biosOf, ClearBios,
                                   "has bad bios-information !",
                                   [](const GameSet& set) { return set.biosOf.empty(); }, messages);
  if (bios == nullptr) return;
  bios->isBios = true;
  game.biosIndex = bios->index;
}

// A clone without a BIOS set of its own uses its parent's.
void InheritBios(GameList& database, GameSet& game) {
  if (!game.hasParent || game.biosIndex >= 0) return;
  const GameSet& parent = database[game.parentIndex];
  game.biosOf = parent.biosOf;
  game.biosIndex = parent.biosIndex;
}

// Phase 3.
void ResolveReferences(GameList& database, int displayLiErrors, ListMessages& messages) {
  ListMessages* shown = displayLiErrors >= kShowSetErrors ? &messages : nullptr;
  for (GameSet& game : database) {
    NoteOwnBios(game);
    ResolveParent(database, game, shown);
    ResolveSampleOf(database, game, shown);
    game.hasNeoGeoBios = std::any_of(game.roms.begin(), game.roms.end(), IsNeoGeoBiosRom);
  }
  for (GameSet& game : database) ResolveBios(database, game, shown);
  for (GameSet& game : database) InheritBios(database, game);
}

// The ROM of `set` with the content of `rom`, under the ROM's name or under
// the name its `merge` gives; -1 when none.
int FindSameRom(const GameSet& set, const RomEntry& rom) {
  for (const std::string* name : {&rom.name, &rom.merge}) {
    if (name->empty()) continue;
    int index = FindRom(set, *name);
    if (index >= 0 && set.roms[index].crc == rom.crc && set.roms[index].size == rom.size) return index;
  }
  return -1;
}

// Where the BIOS set holds the ROM: a copy of its own, or, for a clone, the
// copy its parent's same ROM has there (a clone's `merge` names the
// parent's ROM, which may be named otherwise in the BIOS set).
int FindBiosRom(const GameSet& bios, const GameSet* parent, const RomEntry& rom) {
  int index = FindSameRom(bios, rom);
  if (index >= 0 || parent == nullptr || parent->biosIndex != bios.index) return index;
  int parentRom = FindSameRom(*parent, rom);
  return parentRom >= 0 ? parent->roms[parentRom].biosRom : -1;
}

// Whether `set` has a ROM of exactly the ROM's name and of its content. A
// clone's ROM named like one of its parent's but holding another content is
// the clone's own: split sets keep it in the clone's set.
bool HoldsSameRom(const GameSet& set, const RomEntry& rom) {
  int index = FindRom(set, rom.name);
  return index >= 0 && set.roms[index].crc == rom.crc && set.roms[index].size == rom.size;
}

void RelateSetRoms(GameList& database, GameSet& game) {
  const GameSet* parent = game.hasParent ? &database[game.parentIndex] : nullptr;
  const GameSet* bios = game.biosIndex >= 0 ? &database[game.biosIndex] : nullptr;
  for (RomEntry& rom : game.roms) {
    rom.inParent = parent == nullptr || HoldsSameRom(*parent, rom);
    rom.biosRom = bios != nullptr ? FindBiosRom(*bios, parent, rom) : -1;
  }
}

// Phase 4.
void RelateRoms(GameList& database) {
  // Device ROMs first: they add to the sets' ROMs, which BIOS links index.
  RelateDeviceRoms(database);
  // Parents first: a clone's BIOS ROMs may be known only through them.
  for (GameSet& game : database) {
    if (!game.hasParent) RelateSetRoms(database, game);
  }
  for (GameSet& game : database) {
    if (game.hasParent) RelateSetRoms(database, game);
  }
  GroupAliases(database);
}

// Ends a phase: one step of progress, then the user may stop.
bool FinishPhase(ProgressDialog& progress) {
  progress.Step();
  return !progress.IsCancelled();
}

}  // namespace

bool ValidateGames(GameList& rawGames, GameList& database, ProgressDialog& progress, int displayLiErrors,
                   ListMessages& messages) {
  ScopedThreadPriority priority(kPriorityNormal);
  progress.SetRange(0, 4);
  progress.SetStep(1);

  database.clear();
  if (!FinishPhase(progress)) return false;

  GameList working = OrderByDescription(rawGames, displayLiErrors, messages);
  if (!FinishPhase(progress)) return false;

  AddUniqueSets(working, database, displayLiErrors, messages);
  if (!FinishPhase(progress)) return false;

  ResolveReferences(database, displayLiErrors, messages);
  if (!FinishPhase(progress)) return false;

  RelateRoms(database);
  return true;
}

}  // namespace kestrel
