#include "rebuilder/rebuild_journal.h"

#include <map>
#include <set>
#include <utility>

#include "platform/text.h"
#include "rebuilder/rebuild_messages.h"

namespace kestrel {

bool AllPlacementsServed(const SourceBlock& block) {
  if (block.placements.empty()) return false;
  for (const Placement& placement : block.placements) {
    if (placement.status != PlacementStatus::kWritten && placement.status != PlacementStatus::kAlreadyThere)
      return false;
  }
  return true;
}

void ResolveServedBefore(RebuildJournal& journal) {
  std::map<std::string, std::pair<uint32_t, uint32_t>> contents;  // set/ROM lowered -> size, CRC
  auto keyOf = [](const Placement& placement) { return ToLowerAscii(placement.setName + "/" + placement.romName); };
  for (const SourceBlock& block : journal) {
    for (const Placement& placement : block.placements) {
      if (placement.status == PlacementStatus::kWritten || placement.status == PlacementStatus::kAlreadyThere)
        contents.try_emplace(keyOf(placement), block.source.size, block.source.crc);
    }
  }
  for (SourceBlock& block : journal) {
    for (Placement& placement : block.placements) {
      if (placement.status != PlacementStatus::kServedBefore) continue;
      auto found = contents.find(keyOf(placement));
      bool same = found != contents.end() && found->second == std::make_pair(block.source.size, block.source.crc);
      placement.status = same ? PlacementStatus::kAlreadyThere : PlacementStatus::kNotWritten;
    }
  }
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
      if (placement.disk) {
        ++counts.disksPlaced;
        continue;
      }
      ++counts.romsPlaced;
      sets.insert(placement.setName);
    }
  }
  counts.setsWritten = static_cast<int>(sets.size());
}

}  // namespace kestrel
