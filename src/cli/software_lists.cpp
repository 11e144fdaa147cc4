#include "cli/software_lists.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "cli/exit_status.h"
#include "gamedb/software_list_name.h"
#include "settings/profile_file.h"
#include "settings/software_lists.h"

namespace kestrel {
namespace {

bool NamesGameData(const DataOptions& options) {
  return !options.datfile.empty() || !options.mameExe.empty() || !options.raineExe.empty();
}

// The lists the options name, or else those of a profile whose data
// source they are; false, with the reason on standard error, when they
// cannot be used.
bool FindListsOfOptions(const DataOptions& options, std::vector<SoftwareList>& lists) {
  SoftwareListsFound found = FindSoftwareLists(options.softwareLists, options.hashPath);
  const bool namesLists = !options.softwareLists.empty() || !options.hashPath.empty();
  if (!namesLists && !options.profile.empty() && !NamesGameData(options)) {
    SettingsRecord record;
    // A profile that does not load is told of where the settings are built.
    if (!LoadProfile(record, options.profile) || record.dataSource != DataSourceKind::kSoftwareLists) return true;
    found = FindListsOfSettings(record);
    if (found.fault.empty() && found.lists.empty()) {
      std::fprintf(stderr, "The profile '%s' uses software lists but names none\n", options.profile.c_str());
      return false;
    }
  }
  if (!found.fault.empty()) {
    std::fprintf(stderr, "%s\n", found.fault.c_str());
    return false;
  }
  lists = std::move(found.lists);
  return true;
}

DataOptions ForList(const DataOptions& options, const SoftwareList& list) {
  DataOptions one = options;
  one.softwareLists.clear();
  one.hashPath.clear();
  one.datfile = list.path;
  one.listFolder = list.name;
  one.chosenDataFolder = ChooseDataFolder(options);
  one.dataFolder = ListDataFolder(one.chosenDataFolder, list.name);
  return one;
}

}  // namespace

int RunPerSoftwareList(const DataOptions& options, const std::function<int(const DataOptions&)>& run) {
  if ((!options.softwareLists.empty() || !options.hashPath.empty()) && NamesGameData(options)) {
    std::fprintf(stderr, "Give either a game list (--datfile, --mame, --raine) or software lists, not both\n");
    return kExitRefused;
  }
  std::vector<SoftwareList> lists;
  if (!FindListsOfOptions(options, lists)) return kExitRefused;
  if (lists.empty()) return run(options);
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

}  // namespace kestrel
