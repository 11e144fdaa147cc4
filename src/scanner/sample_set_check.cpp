#include "scanner/sample_set_check.h"

#include <optional>

#include "platform/paths.h"
#include "scanner/fix_operations.h"
#include "scanner/set_lookup.h"
#include "settings/settings_record.h"

namespace kestrel {

void CheckSampleSet(ScanContext& context, const GameSet& game, SetScan& scan,
                    const std::string& setPath) {
  if (context.state.stopRequested) return;
  SetOnDisk set = OpenSet(context, setPath);
  for (size_t i = 0; i < game.samples.size(); ++i) {
    const SampleEntry& sample = game.samples[i];
    SampleScan& sampleScan = scan.samples[i];
    PumpInterface(context);
    std::string foundPath;
    if (set.isZip) {
      int member = FindMember(set, sample.name);
      if (member < 0) continue;
      sampleScan.memberIndex = member;
      foundPath = JoinPath(set.path, set.entries[member].name);
    } else {
      std::optional<std::string> path;
      if (set.hasFolder) path = FindLooseFile(context.fs, set.folderPath, sample.name);
      if (!path) continue;
      foundPath = *path;
    }
    sampleScan.found = true;
    if (context.settings.checkCase) {
      sampleScan.foundName = FileNamePart(foundPath);
      sampleScan.caseCorrect = sampleScan.foundName == sample.name;
      if (!sampleScan.caseCorrect && context.settings.fixCase) {
        sampleScan.caseFixed =
            FixSampleCase(context, game, sample, sampleScan, set.path, foundPath, set.entries);
        if (set.isZip) IndexMembers(set);
      }
    }
    if (context.state.stopRequested) return;
  }
}

}  // namespace kestrel
