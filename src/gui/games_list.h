// The games list of the settings dialog: one line per game of the database,
// whose tick is the game's `selected`. Ticking a game can carry over to its
// whole family, and a filter selects the games whose sets are on disk. The
// lines are the dialog's own: they are built from the database whenever it
// is shown, and never stored.
#pragma once

#include <string>
#include <vector>

#include "gamedb/game_set.h"
#include "settings/settings_record.h"

namespace kestrel {

// The lines of `database`, in its order: text "description <name>", ticked
// for a selected game.
PathList BuildGameList(const GameList& database);

// Sets game `index` selected or not, with its line of `gameLines`; with the
// record's `parentClones` on the whole family (parent and every clone)
// follows.
void SetGameSelected(const SettingsRecord& record, PathList& gameLines, GameList& database, int index,
                     bool selected);

// The list the record's currentPathList names: one of its path lists, or
// `gameLines` for the games list; null for a number that names no list.
PathList* ShownPathList(SettingsRecord& record, PathList& gameLines);

// What the games list shows for a search text: every line for "";
// else a line matching any of the ';'-separated parts, where a part with
// '*' or '?' matches the set name as a pattern and any other part is
// looked for in the line ("description <name>"), each without case.
class GameSearch {
 public:
  explicit GameSearch(const std::string& text);
  bool Matches(const PathEntry& line, const GameList& database) const;

 private:
  std::vector<std::string> patterns_;  // lower case
  std::vector<std::string> words_;     // lower case
};

// Ticks the lines at `rows` of the list the record shows (or clears them);
// for the games list each game follows, with its family as SetGameSelected.
void SetLinesEnabled(SettingsRecord& record, PathList& gameLines, GameList& database,
                     const std::vector<int>& rows, bool enabled);

// Selects the games whose sets exist in the enabled ROM paths (games with
// ROMs) or sample paths (games with samples), by the ';'-separated wildcard
// patterns of `filter`. With `clearFirst` every game is unselected before
// the first pattern. An empty filter changes nothing.
void RunGamesFilter(const SettingsRecord& record, PathList& gameLines, GameList& database,
                    const std::string& filter, bool clearFirst);

}  // namespace kestrel
