#include "settings/tool_folders.h"

#include <filesystem>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "settings/enabled_paths.h"

namespace kestrel {

std::optional<std::string> FolderIdentity(const std::string& folder) {
  if (folder.empty()) return std::nullopt;
  std::optional<std::string> real = FindPath(AbsolutePath(folder));
  if (!real || !FolderExists(*real)) return std::nullopt;
  std::error_code error;
  std::filesystem::directory_iterator listing(*real, error);
  if (error) return std::nullopt;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(*real, error);
  if (error) return std::nullopt;
  return ToLowerAscii(WithTrailingSeparator(resolved.string()));
}

std::string WorkingFolderText(FolderFault fault) {
  switch (fault) {
    case FolderFault::kNoTempFolder: return "No Valid Temporaryfolder";
    case FolderFault::kNoBackupFolder: return "No Valid Backupfolder";
    default: return "";
  }
}

bool LacksWorkingFolder(const SettingsRecord& settings, FolderFault fault) {
  switch (fault) {
    case FolderFault::kNoTempFolder: return settings.tempFolder.empty();
    case FolderFault::kNoBackupFolder: return settings.makeBackups && settings.backupFolder.empty();
    default: return false;
  }
}

FolderCheck CheckScannerFolders(const SettingsRecord& settings) {
  for (FolderFault fault : {FolderFault::kNoTempFolder, FolderFault::kNoBackupFolder}) {
    if (LacksWorkingFolder(settings, fault)) return {fault, ""};
  }
  return {};
}

FolderCheck CheckRebuilderFolders(const SettingsRecord& settings) {
  std::optional<std::string> source = FolderIdentity(settings.rebuildSource);
  if (!source) return {FolderFault::kCantAccess, settings.rebuildSource};
  std::optional<std::string> destination = FolderIdentity(settings.rebuildDestination);
  if (!destination) return {FolderFault::kCantAccess, settings.rebuildDestination};
  bool inside = destination->compare(0, source->size(), *source) == 0;
  if (*source == *destination || (inside && settings.rebuildRecursive)) {
    return {FolderFault::kFoldersOverlap, settings.rebuildDestination};
  }
  return {};
}

FolderCheck CheckMergerFolders(const SettingsRecord& settings) {
  if (EnabledPaths(settings.romPaths).empty()) return {FolderFault::kNoRomPaths, ""};
  if (settings.mergePlacement == MergePlacement::kIntoDestination && !FolderIdentity(settings.mergeDestination)) {
    return {FolderFault::kCantAccess, settings.mergeDestination};
  }
  return {};
}

}  // namespace kestrel
