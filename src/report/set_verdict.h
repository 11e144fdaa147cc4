// MAME's verdict on a set, reached from what a scan found: the words of
// "mame -verifyroms" and "mame -verifysamples", so that a user (or a script)
// can hold Kestrel's findings against MAME's own audit.
//
// MAME's rules for ROMs: a set whose ROMs are all there and right is good.
// A missing optional ROM, a missing or present ROM without a good dump, or
// a present ROM known to be a bad dump makes it best available. A required
// ROM missing, or present with the wrong length or CRC-32, makes it bad.
// A set of which nothing is found but what its parent, BIOS set or devices
// hold too is not found, unless everything it needs is shared and some of
// the nearest parent's ROMs (its parent's, or its BIOS set's when the parent
// holds nothing else) were found right; a set with no parent or BIOS set
// counts its devices' ROMs for those. Disks count as ROMs do, judged by
// their headers' SHA-1; a CHD that cannot be read counts as not found. A
// machine without ROMs and disks of its own is judged by its devices' ROMs,
// and is best available when they have none.
// Samples: all there is good, some there is bad, none there is not found.
#pragma once

#include <string>
#include <vector>

#include "gamedb/game_set.h"
#include "gamedb/romless_machines.h"
#include "report/scan_results.h"
#include "report/scan_statistics.h"

namespace kestrel {

enum class Verdict {
  kNoneNeeded,     // nothing to audit: MAME prints nothing
  kGood,           // "is good"
  kBestAvailable,  // "is best available"
  kBad,            // "is bad"
  kNotFound,       // "not found"; MAME prints nothing when auditing all sets
};

// MAME's word for one ROM or sample that keeps a set from good.
struct AuditNote {
  std::string name;    // the ROM or sample
  int64_t size = -1;   // the ROM's length; -1 for a sample
  std::string reason;  // "NOT FOUND", "INCORRECT CHECKSUM", "NEEDS REDUMP", ...
};

struct SetVerdict {
  Verdict verdict = Verdict::kNoneNeeded;
  std::vector<AuditNote> notes;  // in the game's ROM or sample order
};

// The game's parent and its scan record, where MAME's audit looks for the
// ROMs that the game's own set lacks, in every layout.
struct ParentScan {
  const GameSet* game = nullptr;
  const SetScan* scan = nullptr;
};

// The game's parent in `database` and its record in `scanResults`; empty
// for a game without one.
ParentScan FindParentScan(const GameList& database, const ScanResults& scanResults, const GameSet& game);

// The verdict on the game's ROM set, from its scan record and its
// parent's.
SetVerdict JudgeRomSet(const GameSet& game, const SetScan& scan, ParentScan parent = {});

// The verdict on a machine the database leaves out for want of ROMs and
// disks: by the ROMs of the devices it uses, as their sets hold them or,
// failing that, the machine's own zip or its parent's (`machineZips`, the
// contents of both: MAME looks for a device's ROMs there too); all shared,
// so it is not found only when none is there. Best available when its
// devices have no ROMs either.
SetVerdict JudgeRomlessMachine(const RomlessMachine& machine, const GameList& database,
                               const ScanResults& scanResults, const std::vector<uint64_t>& machineZips = {});

// The verdict on the game's samples, from its scan record.
SetVerdict JudgeSampleSet(const GameSet& game, const SetScan& scan);

// Adds one set's verdict to `counts`; kNoneNeeded counts nowhere.
void CountVerdict(Verdict verdict, VerdictCounts& counts);

// MAME's closing line for one set: `kind` is "romset" or "sampleset";
// "romset NAME [PARENT] is good", the bracket only for a clone. Empty for
// kNoneNeeded. `prefix` goes before the set's name ("a2600:" for a set of
// a software list).
std::string AuditLine(const std::string& kind, const GameSet& game, Verdict verdict, const std::string& prefix = "");

// The line under a game's findings that gives MAME's verdict on one of its
// sets with the reasons: "romset: bad (a.rom NOT FOUND, b.rom INCORRECT
// CHECKSUM)". `kind` is "romset" or "sampleset"; empty for kNoneNeeded.
std::string VerdictResultLine(const std::string& kind, const SetVerdict& verdict);

// The lines MAME prints before the closing line of a set that is not
// good, one per note: "NAME        : ROM (SIZE bytes) - REASON".
std::string AuditNoteLines(const GameSet& game, const SetVerdict& verdict, const std::string& prefix = "");

}  // namespace kestrel
