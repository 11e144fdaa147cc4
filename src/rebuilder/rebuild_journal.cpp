#include "rebuilder/rebuild_journal.h"

#include <set>

#include "rebuilder/rebuild_messages.h"

namespace kestrel {

bool AllPlacementsServed(const SourceBlock& block) {
  for (const Placement& placement : block.placements) {
    if (placement.status != PlacementStatus::kWritten && placement.status != PlacementStatus::kAlreadyThere)
      return false;
  }
  return true;
}

std::string RenderRebuildLog(const RebuildJournal& journal) {
  std::string log;
  for (const SourceBlock& block : journal) {
    if (block.blankLine) {
      log += '\n';
      continue;
    }
    log += block.text;
    for (const Placement& placement : block.placements) {
      if (placement.status == PlacementStatus::kWritten)
        log += "\n  -> " + placement.setName + "/" + placement.romName;
    }
    log += block.matched ? "\n" : std::string(rebuild_text::kSkipped) + "\n";
  }
  return log;
}

void CountJournal(const RebuildJournal& journal, RebuildCounts& counts) {
  std::set<std::string> sets;
  for (const SourceBlock& block : journal) {
    if (block.blankLine) continue;
    ++counts.sourceFiles;
    ++(block.matched ? counts.matched : counts.skipped);
    for (const Placement& placement : block.placements) {
      if (placement.status != PlacementStatus::kWritten) continue;
      ++counts.romsPlaced;
      sets.insert(placement.setName);
    }
  }
  counts.setsWritten = static_cast<int>(sets.size());
}

}  // namespace kestrel
