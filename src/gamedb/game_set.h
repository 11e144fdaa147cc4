// The game database: every game set the emulator knows, with its ROMs,
// samples and parent/clone links. What a scan finds is kept apart, in the
// scanner's ScanResults.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sha1_digest.h"

namespace kestrel {

// The names under which one content (same crc, same size) occurs within a
// family of sets, in the order of the CRC index (database order, then ROM
// order). A name appears once per ROM that bears it, so it may repeat.
using AliasGroup = std::vector<std::string>;

// What the list says of a ROM's dump (MAME's `status`). Text datfiles say
// nothing, so their ROMs stay kGood; a CRC of 0 marks their missing dumps.
enum class DumpStatus : uint8_t {
  kGood,     // a good dump is known
  kBadDump,  // only a flawed dump exists; its CRC is the one to have
  kNoDump,   // no dump exists: MAME runs without the file
};

// Whose rules a set's list follows. Text datfiles name samples with their
// file's extension and make stand-ins for missing dumps; MAME's XML lists
// (and XML datfiles) name samples without extension, may name a shared
// sample set that is no machine (`genpin`), and mark dumps by `status`.
// MAME's software lists follow MAME's rules, but its audit of a software
// item takes a ROM found in the parent's set as a sign of the clone's set.
enum class ListRules : uint8_t { kDatfile, kMame, kSoftwareList };

struct RomEntry {
  std::string name;
  int32_t size = 0;
  uint32_t crc = 0;
  uint32_t crcComplement = 0xFFFFFFFF;
  bool noDump = false;  // crc is 0: no good dump known
  DumpStatus status = DumpStatus::kGood;
  bool optional = false;  // the list's optional="yes": MAME runs without it
  bool inParent = true;
  // The group of this ROM's content in its family, shared by every ROM of
  // the group, so that a family with many copies of one content stays
  // linear in size. Null when no other name of the content exists. The
  // ROM's aliases are the group's names that differ from its own name.
  std::shared_ptr<const AliasGroup> aliasGroup;
  // The list's `merge`: the name this ROM has in the set it shares it with.
  std::string merge;
  // Where the set's BIOS set holds this ROM (same content, under the same
  // name or the one `merge` gives): an index into its `roms`; -1 when the
  // ROM is the set's own.
  int biosRom = -1;
  // The device set this ROM belongs to (an index into the database) and its
  // ROM there (an index into that set's `roms`); both -1 when the ROM is not
  // a device's. MAME's lists name a machine's devices without their ROMs,
  // which the database then adds to the machine; other lists may name them.
  int deviceSet = -1;
  int deviceRom = -1;
  // The list's `sha1`; MAME's lists give one for every dumped ROM, text
  // datfiles rarely.
  std::optional<Sha1Digest> sha1;
};

// A disk image (a CHD file, NAME.chd in a set's folder) the set needs: a
// hard disk, CD or laserdisc too large for a ROM.
struct DiskEntry {
  std::string name;  // the file's name without ".chd"
  // The SHA-1 the CHD's header gives for its data and metadata; nullopt
  // for a disk without a known dump.
  std::optional<Sha1Digest> sha1;
  // The list's `merge`: the name of this disk in the parent or BIOS set
  // that has it too.
  std::string merge;
  DumpStatus status = DumpStatus::kGood;
  bool optional = false;  // the list's optional="yes": MAME runs without it
};

struct SampleEntry {
  std::string name;
};

struct CloneRef {
  std::string description;
  int index = -1;
};

struct GameSet {
  std::string description;
  std::string name;
  std::vector<RomEntry> roms;
  std::vector<SampleEntry> samples;
  std::vector<DiskEntry> disks;  // in list order until validated, then by name
  int romCount = 0;
  int sampleCount = 0;
  int cloneCount = 0;
  bool hasSampleOf = false;
  bool hasParent = false;
  bool isParent = false;
  bool hasNeoGeoBios = false;
  std::string sampleOf;
  std::string cloneOf;
  // The list's `romof`: the set this one takes ROMs from, its parent or a
  // BIOS set.
  std::string romOf;
  // Marked a BIOS set by the list, or named as one by some game.
  bool isBios = false;
  // The BIOS set whose ROMs this set uses (its own `romof` where that is not
  // its parent, else its parent's); empty when none.
  std::string biosOf;
  int biosIndex = -1;
  // Marked a device by the list (`isdevice`): a chip or board that machines
  // share, whose ROMs MAME looks for in the device's own set first.
  bool isDevice = false;
  // The device sets with ROMs this set uses (the list's `device_ref`), as
  // indexes into the database, once each. While the list is read they are
  // unknown and `deviceRefs` holds the names instead.
  std::vector<int> devices;
  std::vector<std::string> deviceRefs;
  std::vector<CloneRef> clones;
  int parentIndex = -1;
  int index = -1;
  bool selected = true;
  ListRules rules = ListRules::kDatfile;
};

using GameList = std::vector<GameSet>;

// Sets the CRC of a ROM together with what follows from it.
void SetRomCrc(RomEntry& rom, uint32_t crc);

// The ROM's alias group, or an empty one when it has none. Callers skip the
// entries equal to the ROM's own name.
const AliasGroup& AliasGroupOf(const RomEntry& rom);

// The ROM's aliases: the names of its group that differ from its own name,
// in group order, repeats kept. A copy, meant for small lists and tests.
std::vector<std::string> AliasesOf(const RomEntry& rom);

// Whether the set is complete without the ROM: MAME's lists mark it
// optional or without a dump. Such a ROM is never missing and never gets a
// stand-in.
bool MayLackRom(const RomEntry& rom);

// The same for a disk: optional or without a dump.
bool MayLackDisk(const DiskEntry& disk);

// The file names a sample is found under, the preferred first. A text
// datfile names the file itself; MAME's lists name the sound, which MAME
// reads from a ".wav" or a ".flac" file (an XML datfile may name the file).
std::vector<std::string> SampleFileNames(const GameSet& game, const SampleEntry& sample);

// Size 131072 and one of the four NeoGeo BIOS CRCs.
bool IsNeoGeoBiosRom(const RomEntry& rom);

// The BIOS set's copy of `rom`, a ROM of `game`; null when the ROM is the
// set's own.
const RomEntry* BiosRomOf(const GameList& database, const GameSet& game, const RomEntry& rom);

// The device set's copy of `rom`; null when the ROM is not a device's.
const RomEntry* DeviceRomOf(const GameList& database, const RomEntry& rom);

// Whether a clone's ROM is named like another content of its family (the
// name compared without case): a ROM of its parent, or of a clone before it
// in the parent's clone list. One set cannot hold both, so in merged sets
// such a ROM stays in the clone's own set.
bool ClashesInFamily(const GameList& database, const GameSet& game, const RomEntry& rom);

// Binary search by name without case in a list sorted that way.
std::optional<int> FindGame(const GameList& games, std::string_view name);

// Binary search by name byte-wise in a set's sorted ROMs; -1 when absent.
int FindRom(const GameSet& game, std::string_view name);

// The sort orders the tools use.
bool LessByDescription(const GameSet& a, const GameSet& b);
bool LessByNameNoCase(const GameSet& a, const GameSet& b);
bool LessRomByName(const RomEntry& a, const RomEntry& b);

}  // namespace kestrel
