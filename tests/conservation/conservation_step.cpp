#include "conservation/conservation_step.h"

namespace kestrel::testing {
namespace {

std::string ToolName(Tool tool) {
  switch (tool) {
    case Tool::kRebuild: return "rebuild";
    case Tool::kMergeToMerged: return "merge to merged";
    case Tool::kMergeToSplit: return "merge to split";
    case Tool::kUnmerge: return "unmerge";
    case Tool::kScanRepairs: return "scan with repairs";
  }
  return "?";
}

std::string Options(const Step& step) {
  std::string options;
  auto add = [&](bool on, const std::string& name) {
    if (on) options += (options.empty() ? "" : ", ") + name;
  };
  if (step.tool == Tool::kRebuild) {
    add(true, "into ROM path " + std::to_string(step.destination + 1));
    add(true, std::string(step.rebuildMergeMode == 0 ? "non-merged" : step.rebuildMergeMode == 1 ? "split" : "merged"));
    add(step.removeSources, "removing sources");
    add(true, step.zipOutput ? "zips" : "folders");
  } else if (step.tool == Tool::kScanRepairs) {
    add(true, std::string(step.scanMergeMode == 0 ? "non-merged" : step.scanMergeMode == 1 ? "split" : "merged"));
    add(step.fixName, "fix names");
    add(step.fixUnneeded, "fix unneeded");
    add(step.fixMissing, "fix missing");
    add(step.fixLength, "fix lengths");
    add(step.fixCase, "fix case");
  } else {
    add(step.cleanSet, "Clean Set");
    add(step.removeOld, "Remove Old");
    add(true, step.zipOutput ? "zips" : "folders");
  }
  return options;
}

std::string Ordinal(int n) {
  std::string suffix = (n % 100 >= 11 && n % 100 <= 13) ? "th" : n % 10 == 1 ? "st" : n % 10 == 2 ? "nd" : n % 10 == 3 ? "rd" : "th";
  return std::to_string(n) + suffix;
}

}  // namespace

std::vector<Tool> AllTools() {
  return {Tool::kRebuild, Tool::kMergeToMerged, Tool::kMergeToSplit, Tool::kUnmerge, Tool::kScanRepairs};
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
  step.rebuildMergeMode = between(0, 2);
  step.destination = between(0, 1);
  step.scanMergeMode = between(0, 2);
  step.fixName = chance(60);
  step.fixUnneeded = chance(60);
  step.fixMissing = chance(50);
  step.fixLength = chance(30);
  step.fixCase = chance(30);
  bool isMerge = step.tool != Tool::kRebuild && step.tool != Tool::kScanRepairs;
  if (chance(45)) {
    int kind = between(0, isMerge ? 3 : 2);
    step.interruption = kind == 0   ? Interruption::kOneDiskChangeFails
                        : kind == 1 ? Interruption::kDiskFailsFrom
                        : kind == 2 ? Interruption::kCancel
                                    : Interruption::kZipWriteFails;
    step.position = between(0, 999);
  }
  return step;
}

std::string Describe(const Step& step) {
  std::string text = ToolName(step.tool) + " (" + Options(step) + ")";
  switch (step.interruption) {
    case Interruption::kNone: break;
    case Interruption::kOneDiskChangeFails: text += " with the " + Ordinal(step.at) + " disk change failing"; break;
    case Interruption::kDiskFailsFrom: text += " with every disk change from the " + Ordinal(step.at) + " on failing"; break;
    case Interruption::kZipWriteFails: text += " with the " + Ordinal(step.at) + " zip write failing"; break;
    case Interruption::kCancel: text += " cancelled at the " + Ordinal(step.at) + " look at Cancel"; break;
  }
  if (step.interruption != Interruption::kNone) text += " (of " + std::to_string(step.outOf) + ")";
  return text;
}

}  // namespace kestrel::testing
