// The destination zips of a run in zip mode. Placements are gathered per
// zip while the sources are walked, and each zip is then written once with
// all its new members (loose files deflated, zip members copied without
// recompression), two zips at a time, since deflating is what takes long.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "rebuilder/rebuild_journal.h"

namespace kestrel {

struct RebuildState;
struct ZipLibrary;

// One new member of a destination zip and the placement it serves.
struct PendingMember {
  std::string memberName;
  SourceFile source;
  size_t block = 0;      // index of the source's block in the journal
  size_t placement = 0;  // index of the placement in that block
};

struct PendingArchive {
  std::string path;  // destination + set name + ".zip"
  std::string setName;
  std::vector<PendingMember> members;
  std::unordered_map<std::string, size_t> memberByName;  // byte-wise
  // Members already holding a ROM's contents under another spelling, by
  // the listed name they are given in the same write.
  std::vector<std::string> respelled;
};

class PendingArchives {
 public:
  // Gathers one member. A member of the same name gathered before for the
  // same zip would be replaced by this one, so its placement is marked not
  // written (its source is then kept).
  void Add(const std::string& archivePath, const std::string& setName, const std::string& memberName,
           const SourceFile& source, size_t block, size_t placement, RebuildJournal& journal);
  bool empty() const { return archives_.empty(); }
  std::vector<PendingArchive>& archives() { return archives_; }

 private:
  std::vector<PendingArchive> archives_;
  std::unordered_map<std::string, size_t> archiveByPath_;
};

// Writes every zip gathered in state.archives and marks each placement in
// the journal. A zip found under another spelling than the set's listed
// one is renamed to it first (or, when it cannot be, left alone and its
// placements are failures). A member the zip holds already under that name
// (found without case) is kept when it has the ROM's contents (the
// placement is then already there, and the member takes the listed
// spelling), and is replaced only once backed up; otherwise it stays and
// the placement is a failure, as are all of a zip that exists but does not
// read. A written zip is read back: a placement counts as written only when
// its member decodes to the source's size and CRC-32. A failed zip asks
// "Error While Zipping !..." (Yes stops) or, when the destination's disk
// has no room for it, says "Disk Is Full !..." and stops. A cancel stops
// too. Zips not yet begun when it stops stay unwritten. Returns false when
// it stopped.
bool WritePendingArchives(RebuildState& state, ZipLibrary& zipLibrary);

}  // namespace kestrel
