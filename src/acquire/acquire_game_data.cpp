#include "acquire/acquire_game_data.h"

#include <cstdio>
#include <future>
#include <memory>
#include <optional>

#include "acquire/read_line.h"
#include "archive/zip_reader.h"
#include "gamedb/data_cache.h"
#include "gamedb/datfile_parser.h"
#include "gamedb/game_list_file.h"
#include "gamedb/run_command.h"
#include "gamedb/validate_games.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace kestrel {
namespace {

constexpr char kProgressTitle[] = "Receiving Data";
// RAINE's short names never exceed this; a longer word is cut to it.
constexpr size_t kRaineNameLength = 8;

// The settings field that names one source, and its cache's file name.
struct SourceFields {
  std::string* path = nullptr;
  const char* cacheName = nullptr;
};

bool FieldsOfSource(SettingsRecord& settings, SourceFields& fields) {
  switch (settings.dataSource) {
    case DataSourceKind::kMameExe:
      fields = {&settings.mameExe, kMameCacheName};
      return true;
    case DataSourceKind::kDatfile:
      fields = {&settings.datfile, kDatfileCacheName};
      return true;
    case DataSourceKind::kRaineExe:
      fields = {&settings.raineExe, kRaineCacheName};
      return true;
    default:
      return false;
  }
}

bool IsLoadedFrom(const LoadedData& loaded, DataSourceKind source, const std::string& path) {
  return loaded.source == source && EqualsNoCase(path, loaded.path);
}

void RememberSource(LoadedData& loaded, DataSourceKind source, const std::string& path, uint32_t key,
                    RomlessMachines romless) {
  loaded = LoadedData{source, path, key, std::move(romless)};
}

bool RunAndParseMame(const std::string& option, ErrorOutput errors, const std::string& executable,
                     const std::string& listing, GameList& rawGames, ProgressDialog& progress,
                     ListMessages& messages, RomlessMachines& romless) {
  if (!RunCommand({option}, listing, executable, false, errors)) return false;
  bool parsed = ParseGameList(rawGames, listing, progress, false, messages, &romless);
  DeleteFile(listing);
  return parsed;
}

// Today's MAME no longer knows -listinfo and lists its machines only as
// XML; older ones answer -listinfo with the text form. Today's complains
// about the unknown option, which would only puzzle the user, so the
// -listinfo attempt speaks to no one.
bool ParseMameListing(const std::string& executable, const std::string& dataFolder, GameList& rawGames,
                      ProgressDialog& progress, ListMessages& messages, RomlessMachines& romless) {
  std::string listing = JoinPath(dataFolder, kMameListingName);
  if (RunAndParseMame("-listinfo", ErrorOutput::kDiscarded, executable, listing, rawGames, progress, messages,
                      romless)) {
    return true;
  }
  if (!rawGames.empty()) return false;  // games were read, so the reading was cancelled
  return RunAndParseMame("-listxml", ErrorOutput::kShown, executable, listing, rawGames, progress, messages,
                         romless);
}

// The short name a line of RAINE's game list starts with; "" for header
// lines and empty lines.
std::string RaineGameName(const std::string& line) {
  if (ToLowerAscii(line).find("games supported") != std::string::npos) return std::string();
  size_t start = line.find_first_not_of(" \t");
  if (start == std::string::npos) return std::string();
  size_t end = line.find_first_of(" \t", start);
  std::string word = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
  return word.substr(0, kRaineNameLength);
}

// Appends RAINE's description of every listed game to `listing`.
bool CollectRaineGames(const std::string& executable, const std::string& gameList, const std::string& listing,
                       ProgressDialog& progress) {
  FilePtr file(OpenFile(gameList, "rb"));
  if (!file) return false;
  std::string line;
  while (ReadLine(file.get(), line)) {
    std::string name = RaineGameName(line);
    if (name.empty()) continue;
    progress.SetText("\n\n" + name);
    // One emulator run per game adds up to a long wait: let the user stop
    // it, and stop at the first run that fails, since the listing is then
    // unusable anyway.
    if (progress.IsCancelled()) return false;
    if (!RunCommand({"-gameinfo", name}, listing, executable, true)) return false;
  }
  return true;
}

bool ParseRaineListing(const std::string& executable, const std::string& dataFolder, GameList& rawGames,
                       ProgressDialog& progress, ListMessages& messages) {
  std::string gameList = JoinPath(dataFolder, kRaineGameListName);
  std::string listing = JoinPath(dataFolder, kRaineListingName);
  if (!RunCommand({"-gamelist"}, gameList, executable, false)) return false;
  DeleteFile(listing);
  bool collected = CollectRaineGames(executable, gameList, listing, progress);
  DeleteFile(gameList);
  if (!collected) return false;
  bool parsed = ParseDatfile(rawGames, listing, progress, true, messages);
  DeleteFile(listing);
  return parsed;
}

bool ParseSource(DataSourceKind source, const std::string& path, const std::string& dataFolder, GameList& rawGames,
                 ProgressDialog& progress, ListMessages& messages, RomlessMachines& romless) {
  switch (source) {
    case DataSourceKind::kMameExe:
      return ParseMameListing(path, dataFolder, rawGames, progress, messages, romless);
    case DataSourceKind::kRaineExe:
      return ParseRaineListing(path, dataFolder, rawGames, progress, messages);
    default:
      return ParseGameList(rawGames, path, progress, false, messages, &romless);
  }
}

bool LoadFromSource(SettingsRecord& settings, const std::string& path, GameList& rawGames, GameList& database,
                    RomlessMachines& romless, UserInterface* owner, const std::string& dataFolder,
                    ListMessages& messages) {
  std::unique_ptr<ProgressDialog> progress = OpenProgressDialog(owner, kProgressTitle);
  if (!ParseSource(settings.dataSource, path, dataFolder, rawGames, *progress, messages, romless)) return false;
  progress->SetText("Cleaning Up Data...");
  return ValidateGames(rawGames, database, *progress, settings.displayLiErrors, messages) && !database.empty();
}

// Whatever was loaded is gone: the tools must not work on half a list, and
// no source may still claim the emptied database, or a later acquisition
// from that source would accept it.
void DropAllData(LoadedData& loaded, GameList& rawGames, GameList& database) {
  loaded = LoadedData{};
  rawGames.clear();
  database.clear();
}

}  // namespace

bool AcquireGameData(SettingsRecord& settings, LoadedData& loaded, GameList& rawGames, GameList& database,
                     UserInterface* owner, const std::string& dataFolder, ListMessages& listMessages) {
  SourceFields fields;
  if (!FieldsOfSource(settings, fields)) {
    // Each software list is data of its own, its sets in a folder of its
    // name: the front ends read one list at a time (settings/software_lists.h).
    DropAllData(loaded, rawGames, database);
    return false;
  }
  const DataSourceKind source = settings.dataSource;
  // Already loaded: the caller's list is left as it is (the settings dialog
  // passes an empty working list and keeps its current database then).
  if (IsLoadedFrom(loaded, source, *fields.path)) return true;

  std::string sourcePath = ResolvePath(*fields.path);
  std::string cachePath = JoinPath(dataFolder, fields.cacheName);
  uint32_t size = 0, key = 0;
  // The source's CRC-32 (tens of megabytes) is taken on another core while
  // the cache is read on the chance that it is the source's. An unreadable
  // source still fails before the cache is used: a cache must not stand in
  // for a source that is gone.
  bool readable = !fields.path->empty() && FileExists(sourcePath);
  std::future<bool> sourceCrc;
  if (readable) {
    sourceCrc = std::async(std::launch::async, [&] { return ReadFileCrc(RealFileSystem(), sourcePath, size, key); });
  }
  GameList cached;
  RomlessMachines romless;
  std::optional<uint32_t> cachedKey = readable ? ReadDataCacheKey(cachePath) : std::nullopt;
  // A cache without sets is never written; one that claims it is damaged.
  bool cacheRead = cachedKey && ReadDataCache(cachePath, cached, *cachedKey, owner, &romless) && !cached.empty();
  readable = readable && sourceCrc.get();
  if (readable && cacheRead && key == *cachedKey) {
    database = std::move(cached);
    RememberSource(loaded, source, *fields.path, key, std::move(romless));
    return true;
  }
  loaded = LoadedData{};
  romless.clear();
  if (readable &&
      LoadFromSource(settings, sourcePath, rawGames, database, romless, owner, dataFolder, listMessages)) {
    WriteDataCache(cachePath, database, key, romless);
    RememberSource(loaded, source, *fields.path, key, std::move(romless));
    return true;
  }
  DropAllData(loaded, rawGames, database);
  fields.path->clear();  // the user has to enter it again
  return false;
}

}  // namespace kestrel
