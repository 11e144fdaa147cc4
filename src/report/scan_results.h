// What a scan found, set by set: whether each set, ROM and sample is there
// and spelled right, what was repaired, and which files are unneeded or
// under a wrong name. The records are indexed like the database (a set's
// ROMs and samples like the game's) and owned by whoever runs the scan,
// apart from the game list, which holds what the emulator describes. The
// scanner fills them; the reports read them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "report/found_entries.h"

namespace kestrel {

// A content by its size and CRC-32, as a zip's directory tells it.
inline uint64_t ContentKey(int64_t size, uint32_t crc) { return (static_cast<uint64_t>(size) << 32) | crc; }

// One ROM of a game.
struct RomScan {
  // In one of the game's sets (put there by the add-missing fix, too), or
  // accepted from the shared NeoGeo BIOS.
  bool found = false;
  bool lengthCorrect = false;    // the found file is as long as the ROM
  bool caseCorrect = false;      // the found file is spelled like the search name
  bool checksumCorrect = false;  // its CRC-32 is the ROM's or that CRC's complement (and, checked, its SHA-1)
  // Found in a set spelled as asked for: MAME, which looks for a set by its
  // exact name on Linux, sees no other.
  bool inListedSet = false;
  // Found in a set not of the game's name: its parent's (in every layout),
  // its BIOS set or a device's. MAME looks there only after its own set.
  bool foundElsewhere = false;
  // With the SHA-1 check: the CRC-32 was right but the SHA-1, in
  // hexadecimal in `foundSha1`, is not the ROM's.
  bool sha1Wrong = false;
  std::string foundSha1;
  bool lengthFixed = false;      // the resize repair cut it down to the ROM
  bool caseFixed = false;        // the case repair gave it the search name
  std::string foundName;         // the found file's name as stored, with the case check
  uint32_t foundSize = 0;        // with the length check
  uint32_t foundCrc = 0;         // with the checksum check
  int memberIndex = -1;          // the zip member found; -1 for a loose file
  // The name the ROM was looked up by: its own, an alias (double names
  // allowed) or its BIOS set's name for it.
  std::string searchName;
  // A 0-CRC stand-in was not made for want of disk space.
  bool standInRefused = false;
  // Its file cannot be verified: found, but encrypted, compressed by a
  // method this program does not read, or failing to read; or not found
  // while a set that would hold it could not be read.
  bool unreadable = false;
};

// One sample of a game.
struct SampleScan {
  bool found = false;
  bool caseCorrect = false;  // spelled like the sample, with the case check
  bool caseFixed = false;    // the case repair gave it the sample's name
  std::string foundName;     // the found file's name as stored, with the case check
  int memberIndex = -1;      // the zip member found; -1 for a loose file
  // Found in a sample set spelled as listed: the only one MAME, which looks
  // for it by its exact name on Linux, sees.
  bool inListedSet = false;
  // The file name it was found by, the right spelling of the found file:
  // the sample's name, or with MAME's lists that name with ".wav" or ".flac".
  std::string searchName;
};

// What the scan made of one disk of a game.
enum class DiskState : uint8_t {
  kMissing,         // no NAME.chd in any set the game's disks are looked for in
  kGood,            // found, its header's SHA-1 is the listed one (or none is listed)
  kWrong,           // found, another SHA-1
  kUnreadable,      // found, but it cannot be read or is no CHD
  kUnknownVersion,  // found, a CHD of a version this program does not read
};

// One disk of a game. Of several copies the best counts: good before wrong
// before unreadable.
struct DiskScan {
  DiskState state = DiskState::kMissing;
  std::string foundPath;     // the file found, as the file system spells it
  std::string foundSha1;     // its header's SHA-1 in hexadecimal, with kGood and kWrong
  uint32_t foundVersion = 0;  // its header's version, with kUnknownVersion
};

// One game: its set as a whole, and its ROMs and samples.
struct SetScan {
  // The set's zip or folder is in some ROM path, or the layout puts
  // nothing into a set of the game's name.
  bool found = false;
  // Some place spelled the set like the game (or, in split and merged
  // sets, like its parent).
  bool caseCorrect = false;
  bool caseFixed = false;  // the case repair renamed it
  // The set's name as found on disk: the wrong spelling when no place
  // spelled it right, else the first right one; empty without the case
  // check.
  std::string nameOnDisk;
  std::vector<FoundEntry> unneeded;        // files in its sets that nothing needs there
  std::vector<WrongNameEntry> wrongNames;  // files of its sets under a wrong ROM name
  std::vector<std::string> unreadableSets;  // its sets' zips that could not be read
  // The contents (ContentKey) of every member of its own zip, where the zip
  // is spelled as listed: MAME finds a ROM there by them, under any name or
  // folder.
  std::vector<uint64_t> zipContents;
  // The same for its parent's zip, where the layout looks there (split and
  // merged sets): the parent's own record may come later in the scan.
  std::vector<uint64_t> parentZipContents;
  std::vector<RomScan> roms;               // by the game's ROM index
  std::vector<SampleScan> samples;         // by the game's sample index
  std::vector<DiskScan> disks;             // by the game's disk index
  // CHD files in its sets' folders that no disk of the game names there;
  // full paths. They are reported, never removed.
  std::vector<std::string> unneededDisks;
  // Whether the next fastscan looks at the set: it had findings when last
  // scanned, or was not scanned since the last full scan. The fastscan
  // file keeps this flag.
  bool needsScan = false;
};

// One record per game, by the game's index in the database.
using ScanResults = std::vector<SetScan>;

}  // namespace kestrel
