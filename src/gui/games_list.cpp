#include "gui/games_list.h"

#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "settings/enabled_paths.h"

namespace kestrel {
namespace {

PathEntry* LineOfGame(PathList& lines, int index) {
  if (index >= 0 && index < static_cast<int>(lines.size()) && lines[index].game == index)
    return &lines[index];
  for (PathEntry& line : lines)
    if (line.game == index) return &line;
  return nullptr;
}

void MarkGame(PathList& gameLines, GameList& database, int index, bool selected) {
  if (index < 0 || index >= static_cast<int>(database.size())) return;
  database[index].selected = selected;
  if (PathEntry* line = LineOfGame(gameLines, index)) line->enabled = selected;
}

void MarkClones(PathList& gameLines, GameList& database, int parent, bool selected) {
  for (const CloneRef& clone : database[parent].clones)
    MarkGame(gameLines, database, clone.index, selected);
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

void SelectSetsIn(const SettingsRecord& record, PathList& gameLines, GameList& database, const PathList& paths,
                  const std::string& pattern, const NameIndex& games) {
  for (const std::string& folder : EnabledPaths(paths)) {
    std::vector<FolderEntry> entries = ListFolder(folder, pattern);
    if (entries.empty()) entries = ListFolder(folder, pattern + ".zip");
    for (const FolderEntry& entry : entries) {
      auto found = games.find(ToLowerAscii(WithoutExtension(entry.name)));
      if (found != games.end()) SetGameSelected(record, gameLines, database, found->second, true);
    }
  }
}

}  // namespace

PathList BuildGameList(const GameList& database) {
  PathList lines;
  lines.reserve(database.size());
  for (size_t i = 0; i < database.size(); ++i) {
    PathEntry line;
    line.path = database[i].description + " <" + database[i].name + ">";
    line.enabled = database[i].selected;
    line.game = static_cast<int>(i);
    line.position = static_cast<int>(i);
    lines.push_back(std::move(line));
  }
  return lines;
}

void SetGameSelected(const SettingsRecord& record, PathList& gameLines, GameList& database, int index,
                     bool selected) {
  if (index < 0 || index >= static_cast<int>(database.size())) return;
  MarkGame(gameLines, database, index, selected);
  if (!record.parentClones) return;
  const GameSet& game = database[index];
  if (game.hasParent) {
    const int parent = game.parentIndex;
    if (parent < 0 || parent >= static_cast<int>(database.size())) return;
    MarkGame(gameLines, database, parent, selected);
    MarkClones(gameLines, database, parent, selected);
  } else if (game.isParent) {
    MarkClones(gameLines, database, index, selected);
  }
}

PathList* ShownPathList(SettingsRecord& record, PathList& gameLines) {
  switch (record.currentPathList) {
    case PathListKind::kRomPaths: return &record.romPaths;
    case PathListKind::kSamplePaths: return &record.samplePaths;
    case PathListKind::kMiscPaths: return &record.miscPaths;
    case PathListKind::kAddPaths: return &record.addPaths;
    case PathListKind::kGames: return &gameLines;
  }
  return nullptr;
}

GameSearch::GameSearch(const std::string& text) {
  for (std::string& part : SplitPatterns(text)) {
    part = ToLowerAscii(part);
    (part.find_first_of("*?") != std::string::npos ? patterns_ : words_).push_back(std::move(part));
  }
}

bool GameSearch::Matches(const PathEntry& line, const GameList& database) const {
  if (patterns_.empty() && words_.empty()) return true;
  if (!words_.empty()) {
    const std::string lower = ToLowerAscii(line.path);
    for (const std::string& word : words_)
      if (lower.find(word) != std::string::npos) return true;
  }
  if (line.game < 0 || line.game >= static_cast<int>(database.size())) return false;
  const std::string name = ToLowerAscii(database[static_cast<size_t>(line.game)].name);
  for (const std::string& pattern : patterns_)
    if (MatchesWildcard(name, pattern)) return true;
  return false;
}

void SetLinesEnabled(SettingsRecord& record, PathList& gameLines, GameList& database,
                     const std::vector<int>& rows, bool enabled) {
  PathList* shown = ShownPathList(record, gameLines);
  if (shown == nullptr) return;
  const bool games = record.currentPathList == PathListKind::kGames;
  for (int row : rows) {
    if (row < 0 || row >= static_cast<int>(shown->size())) continue;
    if (games) {
      SetGameSelected(record, gameLines, database, (*shown)[static_cast<size_t>(row)].game, enabled);
    } else {
      (*shown)[static_cast<size_t>(row)].enabled = enabled;
    }
  }
}

void RunGamesFilter(const SettingsRecord& record, PathList& gameLines, GameList& database,
                    const std::string& filter, bool clearFirst) {
  const std::vector<std::string> patterns = SplitPatterns(filter);
  if (patterns.empty()) return;
  const NameIndex romGames = IndexGames(database, false);
  const NameIndex sampleGames = IndexGames(database, true);
  for (size_t i = 0; i < patterns.size(); ++i) {
    if (i == 0 && clearFirst) {
      for (GameSet& game : database) game.selected = false;
      for (PathEntry& line : gameLines) line.enabled = false;
    }
    SelectSetsIn(record, gameLines, database, record.romPaths, patterns[i], romGames);
    SelectSetsIn(record, gameLines, database, record.samplePaths, patterns[i], sampleGames);
  }
}

}  // namespace kestrel
