#include "settings/profile_fields.h"

#include <algorithm>
#include <cstdio>

namespace kestrel {
namespace {

using FieldLines = std::vector<std::pair<std::string, std::string>>;

void AddInt(FieldLines& lines, const char* name, int32_t value) {
  lines.emplace_back(name, std::to_string(value));
}

void AddFlag(FieldLines& lines, const char* name, bool value) {
  lines.emplace_back(name, value ? "1" : "0");
}

void AddText(FieldLines& lines, const char* name, const std::string& value) {
  lines.emplace_back(name, value);
}

void AddPathList(FieldLines& lines, const std::string& name, const PathList& list) {
  lines.emplace_back(name, std::to_string(list.size()) + " entries");
  for (size_t i = 0; i < list.size(); ++i) {
    lines.emplace_back(name + "[" + std::to_string(i) + "]",
                       list[i].path + (list[i].enabled ? " (enabled)" : " (disabled)"));
  }
}

std::string HexCrc(uint32_t crc) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", crc);
  return text;
}

std::string DescribeSelection(const std::vector<uint8_t>& bytes) {
  auto selected = std::count(bytes.begin(), bytes.end(), uint8_t{1});
  return std::to_string(bytes.size()) + " games, " + std::to_string(selected) + " selected";
}

}  // namespace

FieldLines DescribeProfileFields(const SettingsRecord& r) {
  FieldLines lines;
  AddFlag(lines, "parentClones", r.parentClones);
  AddInt(lines, "currentPathList", r.currentPathList);
  AddInt(lines, "dataSource", r.dataSource);
  AddText(lines, "mameExe", r.mameExe);
  AddText(lines, "datfile", r.datfile);
  AddFlag(lines, "makeBackups", r.makeBackups);
  AddText(lines, "backupFolder", r.backupFolder);
  AddText(lines, "tempFolder", r.tempFolder);
  AddInt(lines, "displayLiErrors", r.displayLiErrors);
  AddFlag(lines, "pathWarnings", r.pathWarnings);
  AddInt(lines, "threadPriority", r.threadPriority);
  AddInt(lines, "zipLevel", r.zipLevel);
  AddPathList(lines, "romPaths", r.romPaths);
  AddPathList(lines, "samplePaths", r.samplePaths);
  AddPathList(lines, "miscPaths", r.miscPaths);
  AddText(lines, "rebuildSource", r.rebuildSource);
  AddText(lines, "rebuildDestination", r.rebuildDestination);
  AddInt(lines, "rebuildMergeMode", r.rebuildMergeMode);
  AddInt(lines, "rebuildGameTypes", r.rebuildGameTypes);
  AddFlag(lines, "rebuildZip", r.rebuildZip);
  AddFlag(lines, "rebuildTildeCrcs", r.rebuildTildeCrcs);
  AddFlag(lines, "rebuildZeroCrcs", r.rebuildZeroCrcs);
  AddInt(lines, "mergeMode", r.mergeMode);
  AddInt(lines, "mergePlacement", r.mergePlacement);
  AddFlag(lines, "mergeCleanSet", r.mergeCleanSet);
  AddFlag(lines, "mergeZip", r.mergeZip);
  AddFlag(lines, "mergeRemoveOld", r.mergeRemoveOld);
  AddText(lines, "mergeDestination", r.mergeDestination);
  const std::pair<const char*, bool> scanFlags[] = {
      {"scanGames", r.scanGames},         {"scanRoms", r.scanRoms},
      {"scanSamples", r.scanSamples},     {"checkMissing", r.checkMissing},
      {"checkChecksum", r.checkChecksum}, {"checkUnneeded", r.checkUnneeded},
      {"checkName", r.checkName},         {"checkLength", r.checkLength},
      {"checkCase", r.checkCase},         {"fixUnneeded", r.fixUnneeded},
      {"fixName", r.fixName},             {"fixLength", r.fixLength},
      {"fixCase", r.fixCase},             {"allowDoubleNames", r.allowDoubleNames},
      {"altSamplesSupport", r.altSamplesSupport}, {"advancedUnneeded", r.advancedUnneeded},
      {"zeroCrcCreation", r.zeroCrcCreation},     {"showMissingZeroCrcs", r.showMissingZeroCrcs},
      {"askBeforeFixing", r.askBeforeFixing}};
  for (const auto& [name, value] : scanFlags) AddFlag(lines, name, value);
  AddText(lines, "fastscanFile", r.fastscanFile);
  AddText(lines, "scannerLogfile", r.scannerLogfile);
  AddInt(lines, "scanMergeMode", r.scanMergeMode);
  AddInt(lines, "scanGameTypes", r.scanGameTypes);
  AddFlag(lines, "showAllZeroCrcs", r.showAllZeroCrcs);
  AddText(lines, "gameFilter", r.gameFilter);
  AddFlag(lines, "addStatistics", r.addStatistics);
  lines.emplace_back("storedDataCrc", HexCrc(r.storedDataCrc));
  AddInt(lines, "storedGameCount", r.storedGameCount);
  lines.emplace_back("gameSelectionBytes", DescribeSelection(r.gameSelectionBytes));
  AddText(lines, "raineExe", r.raineExe);
  AddText(lines, "rebuildLogfile", r.rebuildLogfile);
  AddFlag(lines, "rebuildCreateLog", r.rebuildCreateLog);
  AddFlag(lines, "rebuildRecursive", r.rebuildRecursive);
  AddFlag(lines, "rebuildRemoveSources", r.rebuildRemoveSources);
  AddFlag(lines, "fixMissing", r.fixMissing);
  AddFlag(lines, "fixMissingAdvanced", r.fixMissingAdvanced);
  AddPathList(lines, "addPaths", r.addPaths);
  return lines;
}

}  // namespace kestrel
