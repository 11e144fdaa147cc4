#include "scanner/sample_set_check.h"

#include <optional>

#include "platform/paths.h"
#include "scanner/fix_operations.h"
#include "scanner/set_lookup.h"
#include "settings/settings_record.h"

namespace kestrel {

namespace {

// The path of the sample's file in the set under `fileName`; empty when
// the set has none.
std::string LocateSampleFile(ScanContext& context, const SetOnDisk& set, const std::string& fileName,
                             int& memberIndex) {
  if (set.isZip) {
    memberIndex = FindMember(set, fileName);
    return memberIndex >= 0 ? JoinPath(set.path, set.entries[memberIndex].name) : std::string();
  }
  std::optional<std::string> path;
  if (set.hasFolder) path = FindLooseFile(context.fs, set.folderPath, fileName);
  return path.value_or(std::string());
}

}  // namespace

void CheckSampleSet(ScanContext& context, const GameSet& game, SetScan& scan,
                    const std::string& setPath) {
  if (context.state.stopRequested) return;
  SetOnDisk set = OpenSet(context, setPath);
  for (size_t i = 0; i < game.samples.size(); ++i) {
    const SampleEntry& sample = game.samples[i];
    SampleScan& sampleScan = scan.samples[i];
    PumpInterface(context);
    std::string foundPath;
    int member = -1;
    for (const std::string& fileName : SampleFileNames(game, sample)) {
      foundPath = LocateSampleFile(context, set, fileName, member);
      if (foundPath.empty()) continue;
      sampleScan.searchName = fileName;
      break;
    }
    if (foundPath.empty()) continue;
    sampleScan.memberIndex = member;
    sampleScan.found = true;
    sampleScan.inListedSet = IsSpelledAsAsked(set);
    if (context.settings.checkCase) {
      sampleScan.foundName = FileNamePart(foundPath);
      sampleScan.caseCorrect = sampleScan.foundName == sampleScan.searchName;
      if (!sampleScan.caseCorrect && context.settings.fixCase) {
        sampleScan.caseFixed =
            FixSampleCase(context, game, sampleScan, set.path, foundPath, set.entries);
        if (set.isZip) IndexMembers(set);
      }
    }
    if (context.state.stopRequested) return;
  }
}

}  // namespace kestrel
