// One run of a tool over the collection, with its options and, maybe, a
// fault that breaks it off: the unit the conservation test repeats in
// random order.
#pragma once

#include <random>
#include <string>
#include <vector>

namespace kestrel::testing {

enum class Tool { kRebuild, kMergeToMerged, kMergeToSplit, kUnmerge, kScanRepairs };

enum class Interruption {
  kNone,
  kOneDiskChangeFails,    // the Nth rename or removal fails, the rest work
  kDiskFailsFrom,         // the Nth rename or removal and all after it fail
  kZipWriteFails,         // the merger's Nth archive write fails
  kCancel,                // the user cancels at the Nth look at the Cancel button
};

struct Step {
  Tool tool = Tool::kRebuild;
  // The merger's Clean Set and Remove Old; merger and rebuilder write zips
  // (else folders).
  bool cleanSet = false;
  bool removeOld = false;
  bool zipOutput = true;
  // The rebuilder's options; `destination` is the ROM path (0 or 1) it
  // writes into.
  bool removeSources = false;
  int rebuildMergeMode = 0;
  int destination = 0;
  // The scan's layout and its repairs (backups always on).
  int scanMergeMode = 1;
  bool fixName = false;
  bool fixUnneeded = false;
  bool fixMissing = false;
  bool fixLength = false;
  bool fixCase = false;
  Interruption interruption = Interruption::kNone;
  // Where the interruption falls, in thousandths of the way through the
  // disk changes, Cancel looks or zip writes a run without it makes.
  int position = 0;
  // The N of the interruption, and how many a run without it makes; set
  // once such a run has counted them.
  int at = 0;
  int outOf = 0;
};

// Every tool, in the order of the enum.
std::vector<Tool> AllTools();
// A step of one of `tools`, with random options and, at times, a fault.
Step RandomStep(std::mt19937& random, const std::vector<Tool>& tools);
// In words, for a failure message: "merge to merged (Clean Set, zips) with
// the 3rd zip write failing".
std::string Describe(const Step& step);

}  // namespace kestrel::testing
