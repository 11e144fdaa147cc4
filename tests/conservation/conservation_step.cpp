#include "conservation/conservation_step.h"

#include "settings/layout_codes.h"

namespace kestrel::testing {
namespace {

const char* LayoutName(SetLayout layout) {
  return layout == SetLayout::kNonMerged ? "non-merged" : layout == SetLayout::kSplit ? "split" : "merged";
}

std::string Options(const Step& step) {
  std::string options;
  auto add = [&](bool on, const std::string& name) {
    if (on) options += (options.empty() ? "" : ", ") + name;
  };
  if (step.tool == Tool::kRebuild) {
    add(true, "into ROM path " + std::to_string(step.destination + 1));
    add(true, LayoutName(step.rebuildMergeMode));
    add(step.removeSources, "removing sources");
  } else if (step.tool == Tool::kScanRepairs) {
    add(true, LayoutName(step.scanMergeMode));
    add(step.fixName, "fix names");
    add(step.fixUnneeded, "fix unneeded");
    add(step.fixMissing, "fix missing");
    add(step.fixLength, "fix lengths");
    add(step.fixCase, "fix case");
    return options;
  } else {
    add(step.cleanSet, "Clean Set");
    add(step.removeOld, "Remove Old");
  }
  add(true, step.zipOutput ? "zips" : "folders");
  return options;
}

}  // namespace

std::vector<Tool> AllTools() {
  return {Tool::kRebuild, Tool::kMergeToMerged, Tool::kMergeToSplit, Tool::kUnmerge, Tool::kScanRepairs};
}

std::string ToolKey(Tool tool) {
  const char* keys[] = {"rebuild", "merged", "split", "unmerge", "scan"};
  return keys[static_cast<int>(tool)];
}

Step RandomStep(std::mt19937& random, const std::vector<Tool>& tools) {
  auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  auto chance = [&](int percent) { return between(1, 100) <= percent; };
  Step step;
  step.tool = tools[size_t(between(0, int(tools.size()) - 1))];
  step.cleanSet = chance(50);
  step.removeOld = chance(50);
  step.zipOutput = chance(70);
  step.removeSources = chance(50);
  step.rebuildMergeMode = kToolLayoutCodes[between(0, 2)];
  step.destination = between(0, 1);
  step.scanMergeMode = kToolLayoutCodes[between(0, 2)];
  step.fixName = chance(60);
  step.fixUnneeded = chance(60);
  step.fixMissing = chance(50);
  step.fixLength = chance(30);
  step.fixCase = chance(30);
  bool isMerge = step.tool != Tool::kRebuild && step.tool != Tool::kScanRepairs;
  if (chance(45)) {
    const Interruption kinds[] = {Interruption::kOneDiskChangeFails, Interruption::kDiskFailsFrom,
                                  Interruption::kCancel, Interruption::kZipWriteFails};
    step.interruption = kinds[between(0, isMerge ? 3 : 2)];
    step.position = between(0, 999);
  }
  return step;
}

std::string Describe(const Step& step) {
  std::string text = ToolKey(step.tool) + " (" + Options(step) + ")";
  std::string nth = " " + std::to_string(step.at) + " of " + std::to_string(step.outOf);
  switch (step.interruption) {
    case Interruption::kNone: break;
    case Interruption::kOneDiskChangeFails: text += ", disk change" + nth + " failing"; break;
    case Interruption::kDiskFailsFrom: text += ", every disk change from" + nth + " on failing"; break;
    case Interruption::kZipWriteFails: text += ", zip write" + nth + " failing"; break;
    case Interruption::kCancel: text += ", cancelled at look at Cancel" + nth; break;
  }
  return text;
}

}  // namespace kestrel::testing
