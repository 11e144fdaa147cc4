// The options every command that needs game data shares: a profile and/or
// explicit sources, paths and folders, the explicit ones overriding the
// profile's fields.
#pragma once

#include <string>

#include "settings/layout_codes.h"
#include <vector>

#include "gamedb/game_set.h"
#include "settings/loaded_data.h"
#include "settings/settings_record.h"

namespace CLI {
class App;
}

namespace kestrel {

class UserInterface;

struct DataOptions {
  std::string profile;
  std::string datfile;
  std::string mameExe;
  std::string raineExe;
  std::vector<std::string> romPaths;
  std::vector<std::string> samplePaths;
  std::vector<std::string> miscPaths;
  std::vector<std::string> addPaths;
  std::string tempFolder;
  std::string backupFolder;
  std::string dataFolder;
  int liErrors = -1;  // -1: the profile's (or the default) value
  // MAME software lists to use as the game data instead (see software_lists.h).
  std::vector<std::string> softwareLists;
  std::string hashPath;
  // While one software list is used: its name, the folder its sets have in
  // every ROM path.
  std::string listFolder;
  // While one software list is used: the data folder the user chose, whose
  // undo/ keeps the journals of every list's runs (`dataFolder` is then the
  // list's own, for its data cache).
  std::string chosenDataFolder;
};

// The names of a choice option in the order of the values they store.
using ChoiceNames = std::vector<std::string>;
// In the order of kToolLayoutCodes.
inline const ChoiceNames kSetTypeNames = {"non-merged", "split", "merged", "full-non-merged"};

// Stores at `field` (a number or a mode) the position of `name` in
// `names`; an empty or unknown name (the option was not given) changes
// nothing.
template <class Field>
void ApplyChoice(const std::string& name, const ChoiceNames& names, Field& field) {
  for (size_t value = 0; value < names.size(); ++value) {
    if (names[value] == name) field = static_cast<Field>(value);
  }
}
// The same for a set layout: `names` name the layouts of `codes`, in order.
void ApplyChoice(const std::string& name, const ChoiceNames& names, SetLayout& field, LayoutCodes codes);

// Registers the options on a (sub)command.
void AddDataOptions(CLI::App& command, DataOptions& options);
void AddProfileOnlyOption(CLI::App& command, DataOptions& options);

// The folder for data caches and temporary listings: --data-folder (made
// when missing) or the program's default; absolute, ending with '/'.
std::string ChooseDataFolder(const DataOptions& options);

// The data folder the user chose, also while a software list is used: its
// undo/ keeps every run's journal, so that `undo` and `history` find the runs
// over every list in one place, and it holds the default backup folder.
std::string SharedDataFolder(const DataOptions& options);

// Builds the settings record: defaults, then the profile, then the explicit
// options. Every folder of the record comes out absolute (against the
// current folder), whether the options or the profile named it. False
// (with the reason on standard error) when the profile cannot be read.
bool BuildSettings(const DataOptions& options, SettingsRecord& settings);

// Makes the backup folder the settings name when it is missing, as a user
// who names one expects; its parent must exist, so that a mistyped path
// makes no new tree. When it cannot be made, tells the user "The backup
// folder 'PATH' does not exist and can't be made" and returns false: the
// command then refuses before it changes anything, as nothing it replaces
// or removes could be kept.
bool PrepareBackupFolder(const SettingsRecord& settings, UserInterface& ui);

// Loads the game data the settings name, through the data caches, and
// applies a profile's selection; `loaded` then says what they were read
// from. False (with the reason on standard error) when no data could be had.
bool LoadGameData(const DataOptions& options, SettingsRecord& settings, const std::string& dataFolder,
                  UserInterface& ui, GameList& database, LoadedData& loaded);

}  // namespace kestrel
