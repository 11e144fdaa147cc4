// The fields a profile stores, in the order of the file. The reader, the
// writer and the field listing all walk this one list, so they cannot drift
// apart when a field is added.
#pragma once

#include <cstdint>
#include <type_traits>

#include "settings/layout_codes.h"
#include "settings/settings_record.h"

namespace kestrel {

// A mode is stored as the integer its enumerator carries; any integer read
// is kept as it is (see setting_modes.h).
template <class Visitor, class Mode>
bool VisitMode(Visitor& v, const char* name, Mode& mode) {
  int32_t number = static_cast<int32_t>(mode);
  if (!v.Int(name, number)) return false;
  if constexpr (!std::is_const_v<Mode>) mode = static_cast<std::remove_const_t<Mode>>(number);
  return true;
}

// Calls the visitor for every stored field of `r` (a SettingsRecord, const or
// not) in file order and stops at the first call that returns false:
//   v.Flag(name, field)  v.Int(name, field)  v.Text(name, field)
//   (a mode goes through v.Int as its number)
//   v.Paths(name, list)  v.Layout(name, field, codes)  (a SetLayout stored as its
//   number in `codes`)  v.Selection(r)  (data CRC, game count, selection bytes)
// The items later profile versions added follow a v.Since(version) call,
// which returns whether the profile being visited holds them.
template <class Record, class Visitor>
bool VisitStoredFields(Record& r, Visitor& v) {
  return v.Flag("parentClones", r.parentClones) && VisitMode(v, "currentPathList", r.currentPathList) &&
         VisitMode(v, "dataSource", r.dataSource) && v.Text("mameExe", r.mameExe) &&
         v.Text("datfile", r.datfile) && v.Flag("makeBackups", r.makeBackups) &&
         v.Text("backupFolder", r.backupFolder) && v.Text("tempFolder", r.tempFolder) &&
         VisitMode(v, "displayLiErrors", r.displayLiErrors) && v.Flag("pathWarnings", r.pathWarnings) &&
         VisitMode(v, "threadPriority", r.threadPriority) && v.Int("zipLevel", r.zipLevel) &&
         v.Paths("romPaths", r.romPaths) && v.Paths("samplePaths", r.samplePaths) &&
         v.Paths("miscPaths", r.miscPaths) && v.Text("rebuildSource", r.rebuildSource) &&
         v.Text("rebuildDestination", r.rebuildDestination) &&
         v.Layout("rebuildMergeMode", r.rebuildMergeMode, kToolLayoutCodes) &&
         VisitMode(v, "rebuildGameTypes", r.rebuildGameTypes) &&
         v.Flag("rebuildZip", r.rebuildZip) && v.Flag("rebuildTildeCrcs", r.rebuildTildeCrcs) &&
         v.Flag("rebuildZeroCrcs", r.rebuildZeroCrcs) && v.Layout("mergeMode", r.mergeMode, kMergerLayoutCodes) &&
         VisitMode(v, "mergePlacement", r.mergePlacement) && v.Flag("mergeCleanSet", r.mergeCleanSet) &&
         v.Flag("mergeZip", r.mergeZip) && v.Flag("mergeRemoveOld", r.mergeRemoveOld) &&
         v.Text("mergeDestination", r.mergeDestination) && v.Flag("scanGames", r.scanGames) &&
         v.Flag("scanRoms", r.scanRoms) && v.Flag("scanSamples", r.scanSamples) &&
         v.Flag("checkMissing", r.checkMissing) && v.Flag("checkChecksum", r.checkChecksum) &&
         v.Flag("checkUnneeded", r.checkUnneeded) && v.Flag("checkName", r.checkName) &&
         v.Flag("checkLength", r.checkLength) && v.Flag("checkCase", r.checkCase) &&
         v.Flag("fixUnneeded", r.fixUnneeded) && v.Flag("fixName", r.fixName) &&
         v.Flag("fixLength", r.fixLength) && v.Flag("fixCase", r.fixCase) &&
         v.Flag("allowDoubleNames", r.allowDoubleNames) &&
         v.Flag("altSamplesSupport", r.altSamplesSupport) &&
         v.Flag("advancedUnneeded", r.advancedUnneeded) && v.Flag("zeroCrcCreation", r.zeroCrcCreation) &&
         v.Flag("showMissingZeroCrcs", r.showMissingZeroCrcs) &&
         v.Flag("askBeforeFixing", r.askBeforeFixing) && v.Text("fastscanFile", r.fastscanFile) &&
         v.Text("scannerLogfile", r.scannerLogfile) && v.Layout("scanMergeMode", r.scanMergeMode, kToolLayoutCodes) &&
         VisitMode(v, "scanGameTypes", r.scanGameTypes) &&
         v.Since(1) && v.Flag("showAllZeroCrcs", r.showAllZeroCrcs) &&
         v.Since(2) && v.Text("gameFilter", r.gameFilter) && v.Flag("addStatistics", r.addStatistics) &&
         v.Selection(r) &&
         v.Since(3) && v.Text("raineExe", r.raineExe) &&
         v.Since(4) && v.Text("rebuildLogfile", r.rebuildLogfile) &&
         v.Flag("rebuildCreateLog", r.rebuildCreateLog) && v.Flag("rebuildRecursive", r.rebuildRecursive) &&
         v.Flag("rebuildRemoveSources", r.rebuildRemoveSources) && v.Flag("fixMissing", r.fixMissing) &&
         v.Flag("fixMissingAdvanced", r.fixMissingAdvanced) && v.Paths("addPaths", r.addPaths) &&
         v.Since(5) && v.Flag("checkSha1", r.checkSha1) &&
         v.Since(6) && v.Flag("rebuildTorrentZip", r.rebuildTorrentZip) &&
         v.Flag("mergeTorrentZip", r.mergeTorrentZip) &&
         v.Since(7) && v.Paths("softwareLists", r.softwareLists) && v.Text("hashPath", r.hashPath);
}

}  // namespace kestrel
