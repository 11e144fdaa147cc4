// Game lists read and validated for the tests, with what the user was shown.
#pragma once

#include <string>
#include <vector>

#include "app/scripted_interface.h"
#include "gamedb/game_list_file.h"
#include "gamedb/validate_games.h"
#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace kestrel::testing {

struct Outcome {
  bool ok = false;
  GameList games;
  std::vector<std::string> messages;
};

// Runs `step` under a scripted interface that cancels at check
// `cancelAtCheck` (never when 0). Nothing may be shown: the list's
// problems go to the messages.
template <class Step>
Outcome RunStep(int cancelAtCheck, Step step) {
  ScriptedInterface ui;
  ui.cancelAtCheck = cancelAtCheck;
  auto progress = OpenProgressDialog(&ui, "");
  Outcome outcome;
  outcome.ok = step(outcome.games, *progress, outcome.messages);
  EXPECT_TRUE(ui.messages.empty());
  return outcome;
}

inline Outcome ReadList(const std::string& path, bool enableRomOf = false, int cancelAtCheck = 0) {
  return RunStep(cancelAtCheck, [&](GameList& games, ProgressDialog& progress, ListMessages& messages) {
    return ParseGameList(games, path, progress, enableRomOf, messages);
  });
}

// Reads `text` from a file named "list.dat".
inline Outcome ReadListText(const std::string& text, bool enableRomOf = false, int cancelAtCheck = 0) {
  TempFolder folder;
  WriteFile(folder / "list.dat", text);
  return ReadList(folder / "list.dat", enableRomOf, cancelAtCheck);
}

inline Outcome Validate(GameList raw, int level) {
  return RunStep(0, [&](GameList& database, ProgressDialog& progress, ListMessages& messages) {
    return ValidateGames(raw, database, progress, level, messages);
  });
}

inline std::vector<std::string> Names(const GameList& games) {
  std::vector<std::string> names;
  for (const GameSet& game : games) names.push_back(game.name);
  return names;
}

}  // namespace kestrel::testing
