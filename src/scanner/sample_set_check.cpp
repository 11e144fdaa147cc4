#include "scanner/sample_set_check.h"

#include <optional>

#include "platform/paths.h"
#include "scanner/fix_operations.h"
#include "scanner/set_lookup.h"
#include "settings/settings_record.h"

namespace kestrel {

void CheckSampleSet(ScanContext& context, GameSet& game, const std::string& setPath) {
  if (context.state.stopRequested) return;
  SetOnDisk set = OpenSet(context, setPath);
  for (SampleEntry& sample : game.samples) {
    PumpInterface(context);
    std::string foundPath;
    if (set.isZip) {
      int member = FindMember(set, sample.name);
      if (member < 0) continue;
      sample.memberIndex = member;
      foundPath = JoinPath(set.path, set.entries[member].name);
    } else {
      std::optional<std::string> path;
      if (set.hasFolder) path = FindLooseFile(set.folderPath, sample.name);
      if (!path) continue;
      foundPath = *path;
    }
    sample.found = 1;
    if (context.settings.checkCase) {
      sample.foundName = FileNamePart(foundPath);
      sample.caseCorrect = sample.foundName == sample.name;
      if (!sample.caseCorrect && context.settings.fixCase) {
        sample.caseFixed = FixSampleCase(context, game, sample, set.path, foundPath, set.entries);
        if (set.isZip) IndexMembers(set);
      }
    }
    if (context.state.stopRequested) return;
  }
}

}  // namespace kestrel
