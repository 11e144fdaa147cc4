#include "cli/software_lists.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "cli/exit_status.h"
#include "gamedb/software_list_name.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "settings/profile_file.h"

namespace kestrel {
namespace {

struct SoftwareList {
  std::string path;
  std::string name;
};

// The XML files of the hash path, by name: MAME's hash folder also holds
// other files (a DTD, a README).
std::vector<std::string> ListFilesOfHashPath(const std::string& folder) {
  std::vector<std::string> files;
  for (const FolderEntry& entry : ListFolder(folder))
    if (!entry.isFolder && HasSuffixNoCase(entry.name, ".xml")) files.push_back(JoinPath(folder, entry.name));
  std::sort(files.begin(), files.end());
  return files;
}

// The lists the options name; false, with the reason on standard error,
// when one of them is no software list or the hash path holds none.
bool FindSoftwareLists(const DataOptions& options, std::vector<SoftwareList>& lists) {
  for (const std::string& file : options.softwareLists) {
    std::optional<std::string> name = ReadSoftwareListName(file);
    if (!name) {
      std::fprintf(stderr, "'%s' is no software list\n", file.c_str());
      return false;
    }
    lists.push_back({AbsolutePath(file), *name});
  }
  if (options.hashPath.empty()) return true;
  if (!FolderExists(options.hashPath)) {
    std::fprintf(stderr, "Can't read the hash path '%s': no such folder\n", options.hashPath.c_str());
    return false;
  }
  size_t found = 0;
  for (const std::string& file : ListFilesOfHashPath(options.hashPath)) {
    std::optional<std::string> name = ReadSoftwareListName(file);
    if (!name) continue;
    lists.push_back({AbsolutePath(file), *name});
    ++found;
  }
  if (found > 0) return true;
  std::fprintf(stderr, "The hash path '%s' holds no software list\n", options.hashPath.c_str());
  return false;
}

bool NamesGameData(const DataOptions& options) {
  return !options.datfile.empty() || !options.mameExe.empty() || !options.raineExe.empty();
}

// Takes the software lists of a profile whose data source they are, when
// the options name no data of their own. False, said on standard error,
// when such a profile names no list at all.
bool TakeListsOfProfile(DataOptions& options) {
  if (options.profile.empty() || NamesGameData(options) || !options.softwareLists.empty() ||
      !options.hashPath.empty())
    return true;
  SettingsRecord record;
  // A profile that does not load is told of where the settings are built.
  if (!LoadProfile(record, options.profile) || record.dataSource != DataSourceKind::kSoftwareLists) return true;
  for (const PathEntry& entry : record.softwareLists)
    if (entry.enabled && !entry.path.empty()) options.softwareLists.push_back(entry.path);
  options.hashPath = record.hashPath;
  if (!options.softwareLists.empty() || !options.hashPath.empty()) return true;
  std::fprintf(stderr, "The profile '%s' uses software lists but names none\n", options.profile.c_str());
  return false;
}

DataOptions ForList(const DataOptions& options, const SoftwareList& list) {
  DataOptions one = options;
  one.softwareLists.clear();
  one.hashPath.clear();
  one.datfile = list.path;
  one.listFolder = list.name;
  // Each list keeps its own cache, so that running over every list of a
  // hash path reads each list once, not once per run.
  const std::string lists = ChooseDataFolder(options) + "softlists/";
  if (!FolderExists(lists)) CreateFolder(lists);
  one.dataFolder = lists + list.name + "/";
  return one;
}

}  // namespace

int RunPerSoftwareList(const DataOptions& given, const std::function<int(const DataOptions&)>& run) {
  DataOptions options = given;
  if (!TakeListsOfProfile(options)) return kExitRefused;
  if (options.softwareLists.empty() && options.hashPath.empty()) return run(options);
  if (NamesGameData(options)) {
    std::fprintf(stderr, "Give either a game list (--datfile, --mame, --raine) or software lists, not both\n");
    return kExitRefused;
  }
  std::vector<SoftwareList> lists;
  if (!FindSoftwareLists(options, lists)) return kExitRefused;
  int worst = kExitDone;
  for (const SoftwareList& list : lists) {
    std::printf("Software list: %s\n", list.name.c_str());
    // Such a list describes cartridges without data: there is nothing to
    // keep, which is no reason to refuse the others.
    if (!NamesAnyFile(list.path)) {
      std::printf("No item of this list needs a file\n");
      continue;
    }
    std::fflush(stdout);
    worst = std::max(worst, run(ForList(options, list)));
    std::fflush(stdout);
  }
  return worst;
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

}  // namespace kestrel
