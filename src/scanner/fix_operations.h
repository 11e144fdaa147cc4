// The repairs the set checks and the driver call where a fix is switched
// on. Each asks first when ask-before-fixing is on (the add-missing fix
// never asks) and answers whether it changed anything; a repair that cannot
// be made tells the user why, changes nothing, and the scan goes on.
//
// Zip members are never changed in place: a member is replaced in one
// update of its archive, which afterwards holds the old member or the new
// one. Nothing is deleted before its replacement or its backup exists.
// Each repair lives in its own file: case_fix, wrong_name_fix,
// wrong_named_set_fix, rom_resize, unneeded_removal, add_missing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "archive/zip_entry.h"
#include "gamedb/game_set.h"
#include "report/found_entries.h"
#include "scanner/scan_context.h"
#include "report/scan_results.h"

namespace kestrel {

struct WrongNamedSet;

// Gives the set found at `foundPath` the spelling of `setPath`'s set name,
// by two renames through the found name followed by "_tmp".
bool FixSetCase(ScanContext& context, GameSet& game, const std::string& setPath,
                const std::string& foundPath);
// Gives a ROM file or member, found as `scan` tells, the spelling of its
// search name. `entries` is the set's zip directory (empty for a folder
// set) and is read again after a member was renamed.
bool FixRomCase(ScanContext& context, const GameSet& game, const RomScan& scan,
                const std::string& setPath, const std::string& foundPath, ZipEntryList& entries);
bool FixSampleCase(ScanContext& context, const GameSet& game, const SampleScan& scan, const std::string& setPath,
                   const std::string& foundPath, ZipEntryList& entries);
// Renames every file of the game's wrong-name list `entries` to its right
// name (one question for the set) and sets each entry's fixed flag. Every
// file moves out of the way first, so two files may swap their names.
void RenameWrongNamedRoms(ScanContext& context, const GameSet& game,
                          std::vector<WrongNameEntry>& entries);
// Gives a set found under a wrong name at the top of a path its right name,
// in the same folder, after the question "Fix Wrong Named Game". Nothing is
// renamed in a read-only folder, to a name with a folder part, or over a
// set of the right name that is there already.
bool RenameWrongNamedSet(ScanContext& context, const WrongNamedSet& set);
// Cuts an over-long ROM (a loose file, or the member at the scan's member
// index in `entries`) down to the first window of the ROM's size whose
// CRC-32 is the ROM's (the first bytes for a bad dump). The cut ROM is
// written whole, and the old file or member kept in the game's backup zip,
// before the one replaces the other.
bool ResizeRom(ScanContext& context, const GameSet& game, const RomEntry& rom, const RomScan& scan,
               const std::string& filePath, bool inZip, ZipEntryList& entries);
// Removes the unneeded `entries` of the game that the user agrees to, each
// first stored in its set's backup zip and read back there; an entry whose
// backup failed (an unreadable file among them) stays. Zip members go in
// one update per zip at the end; a zip left without members is deleted.
void RemoveUnneededEntries(ScanContext& context, const GameSet& game,
                           std::vector<FoundEntry>& entries);
// Fetches the game's missing ROM `romIndex` from the add paths into the
// first ROM path and marks it found in `scan`; false only when the user
// cancelled.
bool AddMissingRom(ScanContext& context, const GameSet& game, SetScan& scan, size_t romIndex);

}  // namespace kestrel
