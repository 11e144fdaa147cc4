#include "settings/software_lists.h"

#include <algorithm>
#include <optional>

#include "gamedb/software_list_name.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace kestrel {
namespace {

// The fields a run over one list reads and writes in the list's folder,
// and the files it writes with the list's name: one table, so that going
// into a list and coming back out cannot disagree.
constexpr std::string SettingsRecord::*kDestinations[] = {&SettingsRecord::rebuildDestination,
                                                          &SettingsRecord::mergeDestination};
constexpr std::string SettingsRecord::*kFilesPerList[] = {
    &SettingsRecord::fastscanFile, &SettingsRecord::scannerLogfile, &SettingsRecord::rebuildLogfile};

// The XML files of the hash path, by name: MAME's hash folder also holds
// other files (a DTD, a README).
std::vector<std::string> XmlFilesOf(const std::string& folder) {
  std::vector<std::string> files;
  for (const FolderEntry& entry : ListFolder(folder))
    if (!entry.isFolder && HasSuffixNoCase(entry.name, ".xml")) files.push_back(JoinPath(folder, entry.name));
  std::sort(files.begin(), files.end());
  return files;
}

void AddOnce(std::vector<SoftwareList>& lists, const std::string& file, const std::string& name) {
  const std::string path = AbsolutePath(file);
  if (std::none_of(lists.begin(), lists.end(), [&](const SoftwareList& list) { return list.path == path; }))
    lists.push_back({path, name});
}

SoftwareListsFound Fault(const std::string& text) { return {{}, text}; }

}  // namespace

SoftwareListsFound FindSoftwareLists(const std::vector<std::string>& files, const std::string& hashPath) {
  SoftwareListsFound found;
  for (const std::string& file : files) {
    std::optional<std::string> name = ReadSoftwareListName(file);
    if (!name) return Fault("'" + file + "' is no software list");
    AddOnce(found.lists, file, *name);
  }
  if (hashPath.empty()) return found;
  if (!FolderExists(hashPath)) return Fault("Can't read the hash path '" + hashPath + "': no such folder");
  bool any = false;
  for (const std::string& file : XmlFilesOf(hashPath)) {
    std::optional<std::string> name = ReadSoftwareListName(file);
    if (!name) continue;
    AddOnce(found.lists, file, *name);
    any = true;
  }
  if (!any) return Fault("The hash path '" + hashPath + "' holds no software list");
  return found;
}

SoftwareListsFound FindListsOfSettings(const SettingsRecord& settings) {
  std::vector<std::string> files;
  for (const PathEntry& entry : settings.softwareLists)
    if (entry.enabled && !entry.path.empty()) files.push_back(entry.path);
  return FindSoftwareLists(files, settings.hashPath);
}

std::string ListDataFolder(const std::string& dataFolder, const std::string& listName) {
  const std::string lists = dataFolder + "softlists/";
  const std::string folder = lists + listName + "/";
  for (const std::string& made : {lists, folder})
    if (!FolderExists(made)) CreateFolder(made);
  return folder;
}

SettingsRecord SettingsToLoad(const SettingsRecord& settings, const SoftwareList& list) {
  SettingsRecord toLoad = settings;
  toLoad.dataSource = DataSourceKind::kDatfile;
  toLoad.datfile = list.path;
  return toLoad;
}

std::string WithListName(const std::string& file, const std::string& listFolder) {
  if (listFolder.empty() || file.empty()) return file;
  const std::string name = FileNamePart(file);
  const size_t dot = name.rfind('.');
  const size_t at = file.size() - name.size() + (dot == std::string::npos || dot == 0 ? name.size() : dot);
  return file.substr(0, at) + "." + listFolder + file.substr(at);
}

std::string InListFolder(const std::string& folder, const std::string& listFolder) {
  if (listFolder.empty() || folder.empty()) return folder;
  const std::string inList = WithTrailingSeparator(JoinPath(folder, listFolder));
  if (FolderExists(folder) && !FolderExists(inList)) CreateFolder(inList);
  return inList;
}

void PutInListFolder(PathList& romPaths, const std::string& listFolder) {
  if (listFolder.empty()) return;
  for (PathEntry& entry : romPaths)
    if (!entry.path.empty()) entry.path = WithTrailingSeparator(JoinPath(entry.path, listFolder));
}

SettingsRecord InSoftwareList(const SettingsRecord& settings, const std::string& listFolder) {
  SettingsRecord run = settings;
  if (listFolder.empty()) return run;
  PutInListFolder(run.romPaths, listFolder);
  for (std::string SettingsRecord::*field : kDestinations) run.*field = InListFolder(run.*field, listFolder);
  for (std::string SettingsRecord::*field : kFilesPerList) run.*field = WithListName(run.*field, listFolder);
  return run;
}

SettingsRecord OutOfSoftwareList(const SettingsRecord& ran, const SettingsRecord& before,
                                 const std::string& listFolder) {
  SettingsRecord after = ran;
  if (listFolder.empty()) return after;
  after.romPaths = before.romPaths;
  for (std::string SettingsRecord::*field : kDestinations) after.*field = before.*field;
  for (std::string SettingsRecord::*field : kFilesPerList) after.*field = before.*field;
  return after;
}

}  // namespace kestrel
