#include "gui/games_list.h"

#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"
#include "platform/text.h"

namespace kestrel {
namespace {

PathEntry* LineOfGame(SettingsRecord& record, int index) {
  PathList& lines = record.gameList;
  if (index >= 0 && index < static_cast<int>(lines.size()) && lines[index].game == index)
    return &lines[index];
  for (PathEntry& line : lines)
    if (line.game == index) return &line;
  return nullptr;
}

void MarkGame(SettingsRecord& record, GameList& database, int index, bool selected) {
  if (index < 0 || index >= static_cast<int>(database.size())) return;
  database[index].selected = selected;
  if (PathEntry* line = LineOfGame(record, index)) line->enabled = selected;
}

void MarkClones(SettingsRecord& record, GameList& database, int parent, bool selected) {
  for (const CloneRef& clone : database[parent].clones)
    MarkGame(record, database, clone.index, selected);
}

std::vector<std::string> SplitPatterns(const std::string& filter) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= filter.size()) {
    size_t end = filter.find(';', start);
    if (end == std::string::npos) end = filter.size();
    std::string_view part(filter.data() + start, end - start);
    while (!part.empty() && (part.front() == ' ' || part.front() == '\t')) part.remove_prefix(1);
    while (!part.empty() && (part.back() == ' ' || part.back() == '\t')) part.remove_suffix(1);
    if (!part.empty()) parts.emplace_back(part);
    start = end + 1;
  }
  return parts;
}

std::string WithoutExtension(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// Lowered set name to the first game that has ROMs (or samples) by it.
using NameIndex = std::unordered_map<std::string, int>;

NameIndex IndexGames(const GameList& database, bool bySamples) {
  NameIndex index;
  for (size_t i = 0; i < database.size(); ++i) {
    const GameSet& game = database[i];
    const bool has = bySamples ? !game.samples.empty() : !game.roms.empty();
    if (has) index.emplace(ToLowerAscii(game.name), static_cast<int>(i));
  }
  return index;
}

void SelectSetsIn(SettingsRecord& record, GameList& database, const PathList& paths,
                  const std::string& pattern, const NameIndex& games) {
  for (const PathEntry& path : paths) {
    if (!path.enabled) continue;
    std::vector<FolderEntry> entries = ListFolder(path.path, pattern);
    if (entries.empty()) entries = ListFolder(path.path, pattern + ".zip");
    for (const FolderEntry& entry : entries) {
      auto found = games.find(ToLowerAscii(WithoutExtension(entry.name)));
      if (found != games.end()) SetGameSelected(record, database, found->second, true);
    }
  }
}

}  // namespace

void BuildGameList(SettingsRecord& record, const GameList& database) {
  record.gameList.clear();
  record.gameList.reserve(database.size());
  for (size_t i = 0; i < database.size(); ++i) {
    PathEntry line;
    line.path = database[i].description + " <" + database[i].name + ">";
    line.enabled = database[i].selected;
    line.game = static_cast<int>(i);
    line.position = static_cast<int>(i);
    record.gameList.push_back(std::move(line));
  }
}

void SetGameSelected(SettingsRecord& record, GameList& database, int index, bool selected) {
  if (index < 0 || index >= static_cast<int>(database.size())) return;
  MarkGame(record, database, index, selected);
  if (!record.parentClones) return;
  const GameSet& game = database[index];
  if (game.hasParent) {
    const int parent = game.parentIndex;
    if (parent < 0 || parent >= static_cast<int>(database.size())) return;
    MarkGame(record, database, parent, selected);
    MarkClones(record, database, parent, selected);
  } else if (game.isParent) {
    MarkClones(record, database, index, selected);
  }
}

void SetAllLinesEnabled(SettingsRecord& record, GameList& database, bool enabled) {
  PathList* lists[] = {&record.romPaths, &record.samplePaths, &record.miscPaths,
                       &record.addPaths, &record.gameList};
  const int shown = record.currentPathList;
  if (shown < 0 || shown > 4) return;
  for (PathEntry& line : *lists[shown]) line.enabled = enabled;
  if (shown == 4)
    for (GameSet& game : database) game.selected = enabled;
}

void RunGamesFilter(SettingsRecord& record, GameList& database, const std::string& filter,
                    bool clearFirst) {
  const std::vector<std::string> patterns = SplitPatterns(filter);
  if (patterns.empty()) return;
  const NameIndex romGames = IndexGames(database, false);
  const NameIndex sampleGames = IndexGames(database, true);
  for (size_t i = 0; i < patterns.size(); ++i) {
    if (i == 0 && clearFirst) {
      for (GameSet& game : database) game.selected = false;
      for (PathEntry& line : record.gameList) line.enabled = false;
    }
    SelectSetsIn(record, database, record.romPaths, patterns[i], romGames);
    SelectSetsIn(record, database, record.samplePaths, patterns[i], sampleGames);
  }
}

}  // namespace kestrel
