// The repairs the set checks call where a fix is switched on. Each answers
// whether it changed anything; until the repairs are built they change
// nothing and every finding stays "not fixed".
#pragma once

#include <string>

#include "archive/zip_entry.h"
#include "gamedb/game_set.h"
#include "scanner/scan_context.h"

namespace kestrel {

// Gives the set at `foundPath` the spelling of the game's name.
bool FixSetCase(ScanContext& context, GameSet& game, const std::string& setPath,
                const std::string& foundPath);
// Gives a ROM file or member its search name's spelling.
bool FixRomCase(ScanContext& context, GameSet& game, RomEntry& rom, const std::string& setPath,
                const std::string& foundPath, ZipEntryList& entries);
bool FixSampleCase(ScanContext& context, GameSet& game, SampleEntry& sample,
                   const std::string& setPath, const std::string& foundPath,
                   ZipEntryList& entries);
// Renames every file of the game's wrong-name list to its right name.
void RenameWrongNamedRoms(ScanContext& context, GameSet& game);
// Cuts an over-long ROM down to its size.
bool ResizeRom(ScanContext& context, GameSet& game, RomEntry& rom, const std::string& filePath,
               bool inZip, ZipEntryList& entries);
// Removes (after a backup) the game's unneeded entries.
void RemoveUnneededEntries(ScanContext& context, GameSet& game);
// Fetches a missing ROM from the add paths; false only when cancelled.
bool AddMissingRom(ScanContext& context, GameSet& game, RomEntry& rom);

}  // namespace kestrel
