// MAME's software lists as game data: each list is a game list of its own
// whose sets MAME looks for under a folder of the list's name in every ROM
// path (ROMPATH/a2600/adventp.zip). The command line and the desktop
// program run their tools over one list at a time by these rules: which
// lists the settings name, where each keeps its data cache, and where a
// run over it reads and writes.
#pragma once

#include <string>
#include <vector>

#include "settings/settings_record.h"

namespace kestrel {

struct SoftwareList {
  std::string path;  // the list file, absolute
  std::string name;  // the list's name: the folder of its sets in every ROM path
};

struct SoftwareListsFound {
  std::vector<SoftwareList> lists;
  std::string fault;  // why the lists cannot be used ("" when they can); `lists` is then empty
};

// The lists of `files`, in their order, then every list in `hashPath` by
// file name (its other files, a DTD or notes, are passed over); a file named
// twice comes once. A fault when a file of `files` is no software list, the
// hash path is no folder or holds no list. Neither given: no list, no fault.
SoftwareListsFound FindSoftwareLists(const std::vector<std::string>& files, const std::string& hashPath);

// The lists of settings whose data source is software lists: their enabled
// list files and their hash path, as FindSoftwareLists finds them.
SoftwareListsFound FindListsOfSettings(const SettingsRecord& settings);

// The data folder of one list: softlists/NAME/ in `dataFolder` (ending
// with '/'), made (with softlists/) when missing, so that each list keeps its own data cache
// and going over every list reads each once.
std::string ListDataFolder(const std::string& dataFolder, const std::string& listName);

// The settings that read `list` as game data: the list file as the datfile.
SettingsRecord SettingsToLoad(const SettingsRecord& settings, const SoftwareList& list);

// `file` with the list's name before its extension ("fix.dat" becomes
// "fix.a2600.dat"), so that the runs over several lists each write their
// own; `file` itself when `listFolder` or `file` is empty.
std::string WithListName(const std::string& file, const std::string& listFolder);

// `folder` with the list's folder in it, made when `folder` exists and
// it does not; `folder` itself when `listFolder` or `folder` is empty.
std::string InListFolder(const std::string& folder, const std::string& listFolder);

// Every ROM path with the list's folder joined to it: where MAME looks
// for the list's sets. Nothing is made.
void PutInListFolder(PathList& romPaths, const std::string& listFolder);

// The settings a tool runs with over the list `listFolder` names: its ROM
// paths in the list's folder, the rebuilder's and merger's destinations
// in it too, and the fastscan file and logfiles with the list's name.
// `settings` itself when `listFolder` is empty.
SettingsRecord InSoftwareList(const SettingsRecord& settings, const std::string& listFolder);

// After a run on InSoftwareList(`before`, `listFolder`): what the run
// changed in `ran` (the options a fastscan file brought back), with the
// fields InSoftwareList sets taken back from `before`, so that the next
// list starts from the same paths. `ran` itself when `listFolder` is empty.
SettingsRecord OutOfSoftwareList(const SettingsRecord& ran, const SettingsRecord& before,
                                 const std::string& listFolder);

}  // namespace kestrel
