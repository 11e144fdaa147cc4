// One run of a tool over the collection, with its options and, maybe, a
// fault that breaks it off: the unit the conservation test repeats in
// random order.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "gamedb/set_layout.h"

namespace kestrel::testing {

enum class Tool { kRebuild, kMergeToMerged, kMergeToSplit, kUnmerge, kScanRepairs };

enum class Interruption {
  kNone,
  kOneDiskChangeFails,  // the Nth rename or removal fails, the rest work
  kDiskFailsFrom,       // the Nth rename or removal and all after it fail
  kZipWriteFails,       // the merger's Nth archive write fails
  kCancel,              // the user cancels at the Nth look at the Cancel button
};

struct Step {
  Tool tool = Tool::kRebuild;
  bool cleanSet = false;  // the merger's
  bool removeOld = false;
  bool zipOutput = true;  // merger and rebuilder write zips, else folders
  bool removeSources = false;  // the rebuilder's, into ROM path `destination` (0 or 1)
  SetLayout rebuildMergeMode = SetLayout::kNonMerged;
  int destination = 0;
  SetLayout scanMergeMode = SetLayout::kSplit;  // the scan's layout and repairs (backups always on)
  bool fixName = false;
  bool fixUnneeded = false;
  bool fixMissing = false;
  bool fixLength = false;
  bool fixCase = false;
  Interruption interruption = Interruption::kNone;
  // Where the interruption falls, in thousandths of the way through the
  // disk changes, Cancel looks or zip writes a run without it makes; `at`
  // is its N and `outOf` their count, once such a run has counted them.
  int position = 0;
  int at = 0;
  int outOf = 0;
};

std::vector<Tool> AllTools();
// The tool's name in KESTREL_CONSERVATION_TOOLS: "rebuild", "merged", ...
std::string ToolKey(Tool tool);
// A step of one of `tools`, with random options and, at times, a fault.
Step RandomStep(std::mt19937& random, const std::vector<Tool>& tools);
// In words, for a failure message: "merged (Clean Set, zips), zip write 3 of 7 failing".
std::string Describe(const Step& step);

}  // namespace kestrel::testing
