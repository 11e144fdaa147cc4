// What a run did to every source, in the order the sources were met: the
// text of the logfile and the list of sources that may be removed are both
// made from it once the destination zips are written, so that the log
// names only ROMs that really reached the destination.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/zip_entry.h"
#include "rebuilder/rebuilder.h"

namespace kestrel {

// Where the bytes of one source are.
struct SourceFile {
  std::string path;        // the loose file, or the extracted copy of a zip member
  std::string zipPath;     // the zip holding the member; "" for a loose file
  std::string storedName;  // the member's name exactly as stored
  uint32_t size = 0;       // of the contents
  uint32_t crc = 0;
  uint32_t compressedSize = 0;  // of the member in its zip; 0 for a loose file
  // The member as its zip lists it. Copies and removals name the member by
  // this entry, never by its name, which another member may share.
  ZipEntry entry;
  // A member of an archive other than a strict zip (or of a method the zip
  // reader leaves alone), unpacked to `path` for the run: it goes into a
  // destination zip by deflating that copy. Only a zip's member (its
  // `entry` set) is ever removed.
  bool unpacked = false;
  // A zip member copied by its entry, without recompression.
  bool IsMember() const { return !zipPath.empty() && !unpacked; }
};

enum class PlacementStatus {
  kPending,       // gathered for a destination zip not yet written
  kWritten,       // in the destination: logged with an arrow line
  kAlreadyThere,  // a file of that name and the same contents was there before
  kNotWritten,    // refused, failed, or replaced by a later source in the same zip
  kServedBefore,  // an earlier source of the run was placed there for the same ROM; becomes
                  // kAlreadyThere when the destination holds this source's very contents,
                  // else kNotWritten (see ResolveServedBefore)
};

struct Placement {
  std::string setName;
  std::string romName;
  PlacementStatus status = PlacementStatus::kPending;
  bool disk = false;  // romName is a disk's "NAME.chd", placed as a file beside the set's zip
};

// One source file or zip member, or one blank line that closes a loose
// file's or a whole zip's block in the log.
struct SourceBlock {
  bool blankLine = false;
  std::string text;  // the current source text: the file's path, or zip path + '/' + stored name
  SourceFile source;
  std::vector<Placement> placements;
  bool matched = false;   // the matched flag the block ended with
  bool toRemove = false;  // matched while removal of sources is on
};

using RebuildJournal = std::vector<SourceBlock>;

// True when the block made at least one placement and every one reached
// the destination (or was there already), so its source may go.
bool AllPlacementsServed(const SourceBlock& block);

// Decides every kServedBefore placement once the destination is written: a
// source whose ROM an earlier source served counts as placed only when the
// destination received the same contents (same size and CRC-32) under that
// set and ROM name. Another dump of the same name and size is not placed.
void ResolveServedBefore(RebuildJournal& journal);

// The logfile text: for each source its text, an arrow line
// "\n  -> set/ROM" for each ROM written, then "\n" when it matched or
// " [SKIPPED]\n" when not; a blank line after each loose file and each zip.
std::string RenderRebuildLog(const RebuildJournal& journal);

// Counts of sources, matches, ROMs and disks placed and the sets the ROMs went into
// (removals are counted where they happen).
void CountJournal(const RebuildJournal& journal, RebuildCounts& counts);

}  // namespace kestrel
