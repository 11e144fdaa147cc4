#include "cli/data_options.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "acquire/acquire_game_data.h"
#include "app/user_interface.h"
#include "acquire/data_folder.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "settings/game_selection.h"
#include "settings/profile_file.h"
#include "settings/software_lists.h"

namespace kestrel {
namespace {

// An empty text stays empty: it names no folder, not the current one.
std::string AbsoluteFolder(const std::string& folder) {
  return folder.empty() ? folder : WithTrailingSeparator(AbsolutePath(folder));
}

PathList ToPathList(const std::vector<std::string>& folders) {
  PathList list;
  for (const std::string& folder : folders) {
    PathEntry entry;
    entry.path = folder;
    entry.position = static_cast<int>(list.size());
    list.push_back(entry);
  }
  return list;
}

// The one place where the folders of the options and of a profile become
// absolute. The scan compares them with the absolute paths it lists
// (a working folder inside a ROM path is skipped, not reported), and
// profiles outlive the folder they were made in.
void MakeFoldersAbsolute(SettingsRecord& settings) {
  settings.tempFolder = AbsoluteFolder(settings.tempFolder);
  settings.backupFolder = AbsoluteFolder(settings.backupFolder);
  for (PathList* list : {&settings.romPaths, &settings.samplePaths, &settings.miscPaths, &settings.addPaths}) {
    for (PathEntry& entry : *list) entry.path = AbsoluteFolder(entry.path);
  }
}

// The source the settings name, for messages.
std::string DataSourcePath(const SettingsRecord& settings) {
  switch (settings.dataSource) {
    case DataSourceKind::kMameExe: return settings.mameExe;
    case DataSourceKind::kRaineExe: return settings.raineExe;
    default: return settings.datfile;
  }
}

}  // namespace

void AddProfileOnlyOption(CLI::App& command, DataOptions& options) {
  command.add_option("--profile", options.profile, "Profile file (.kpf)");
}

void AddDataOptions(CLI::App& command, DataOptions& options) {
  AddProfileOnlyOption(command, options);
  command.add_option("--datfile", options.datfile, "Read the game data from this datfile");
  command.add_option("--mame", options.mameExe, "Ask this MAME executable for the game data");
  command.add_option("--raine", options.raineExe, "Ask this RAINE executable for the game data");
  command.add_option("--rom-path", options.romPaths, "A ROM folder (repeatable, in search order)");
  command.add_option("--sample-path", options.samplePaths, "A sample folder (repeatable)");
  command.add_option("--misc-path", options.miscPaths, "A misc folder (repeatable)");
  command.add_option("--add-path", options.addPaths, "A folder to add missing files from (repeatable)");
  command.add_option("--temp-folder", options.tempFolder, "Temporary folder");
  command.add_option("--backup-folder", options.backupFolder, "Backup folder");
  command.add_option("--data-folder", options.dataFolder, "Folder for the data caches");
  command.add_option("--software-list", options.softwareLists,
                     "Use this MAME software list as the game data, its sets in ROMPATH/LISTNAME (repeatable)");
  command.add_option("--hash-path", options.hashPath, "Use every MAME software list in this folder, one after another");
  command.add_option("--li-errors", options.liErrors, "Show list errors: 0 none, 1 sets, 2 also ROMs")
      ->check(CLI::Range(0, 2));
}

std::string ChooseDataFolder(const DataOptions& options) {
  if (!options.dataFolder.empty()) {
    std::string folder = AbsoluteFolder(options.dataFolder);
    if (!FolderExists(folder)) CreateFolder(folder);
    return ResolvePath(folder);
  }
  return AbsoluteFolder(DefaultDataFolder());
}

std::string SharedDataFolder(const DataOptions& options) {
  return options.chosenDataFolder.empty() ? ChooseDataFolder(options) : options.chosenDataFolder;
}

bool BuildSettings(const DataOptions& options, SettingsRecord& settings) {
  ResetSettings(settings);
  settings.backupFolder = SharedDataFolder(options) + "BACKUP.KPW/";
  settings.tempFolder = TempFolder();
  if (!options.profile.empty() && !LoadProfile(settings, options.profile)) {
    std::fprintf(stderr, "Error While Loading Profile: '%s'\n", options.profile.c_str());
    return false;
  }
  if (!options.datfile.empty())
    settings.datfile = AbsolutePath(options.datfile), settings.dataSource = DataSourceKind::kDatfile;
  if (!options.mameExe.empty())
    settings.mameExe = AbsolutePath(options.mameExe), settings.dataSource = DataSourceKind::kMameExe;
  if (!options.raineExe.empty())
    settings.raineExe = AbsolutePath(options.raineExe), settings.dataSource = DataSourceKind::kRaineExe;
  if (!options.romPaths.empty()) settings.romPaths = ToPathList(options.romPaths);
  PutInListFolder(settings.romPaths, options.listFolder);
  if (!options.samplePaths.empty()) settings.samplePaths = ToPathList(options.samplePaths);
  if (!options.miscPaths.empty()) settings.miscPaths = ToPathList(options.miscPaths);
  if (!options.addPaths.empty()) settings.addPaths = ToPathList(options.addPaths);
  if (!options.tempFolder.empty()) settings.tempFolder = options.tempFolder;
  if (!options.backupFolder.empty()) settings.backupFolder = options.backupFolder;
  if (options.liErrors >= 0) settings.displayLiErrors = static_cast<ListErrorLevel>(options.liErrors);
  MakeFoldersAbsolute(settings);
  return true;
}

bool PrepareBackupFolder(const SettingsRecord& settings, UserInterface& ui) {
  const std::string& folder = settings.backupFolder;
  if (folder.empty() || FolderExists(folder) || CreateFolder(folder)) return true;
  ShowMessage(&ui, "The backup folder '" + folder + "' does not exist and can't be made", "Path Error",
              {MessageButtons::kOk, MessageIcon::kStop});
  return false;
}

bool LoadGameData(const DataOptions& options, SettingsRecord& settings, const std::string& dataFolder,
                  UserInterface& ui, GameList& database, LoadedData& loaded) {
  std::string source = DataSourcePath(settings);
  if (source.empty()) {
    std::fprintf(stderr, "No data source: give --datfile, --mame, --raine or a --profile that names one\n");
    return false;
  }
  if (!FileExists(source)) {
    std::fprintf(stderr, "Can't read '%s': no such file\n", source.c_str());
    return false;
  }
  GameList rawGames;
  ListMessages listMessages;
  bool acquired = AcquireGameData(settings, loaded, rawGames, database, &ui, dataFolder, listMessages);
  for (const std::string& message : listMessages) ShowMessage(&ui, message, "Kestrel", {});
  if (!acquired || database.empty()) {
    std::fprintf(stderr, "Can't Receive Data from '%s': it holds no valid game\n", source.c_str());
    return false;
  }
  if (!options.profile.empty()) ApplyGameSelection(settings, loaded.dataCrc, database);
  return true;
}

void ApplyChoice(const std::string& name, const ChoiceNames& names, SetLayout& field, LayoutCodes codes) {
  for (size_t code = 0; code < names.size() && code < codes.size(); ++code) {
    if (names[code] == name) field = codes[code];
  }
}

}  // namespace kestrel
