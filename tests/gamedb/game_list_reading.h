// Game lists read and validated for the tests, with what the user was shown.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "app/scripted_interface.h"
#include "gamedb/game_list_file.h"
#include "gamedb/validate_games.h"
#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace kestrel::testing {

// A game list kept under tests/gamedb/lists/.
inline std::string ListFile(const std::string& name) { return SourceDir() + "tests/gamedb/lists/" + name; }

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

// Reads `text` and validates it at the level that reports set errors.
inline Outcome ReadAndValidate(const std::string& text, bool enableRomOf = false) {
  Outcome read = ReadListText(text, enableRomOf);
  EXPECT_TRUE(read.ok && read.messages.empty());
  Outcome valid = Validate(read.games, kShowSetErrors);
  EXPECT_TRUE(valid.ok);
  return valid;
}

inline std::vector<std::string> Names(const GameList& games) {
  std::vector<std::string> names;
  for (const GameSet& game : games) names.push_back(game.name);
  return names;
}

// Everything a raw or validated set carries, one line per set.
inline std::vector<std::string> Describe(const GameList& games) {
  std::vector<std::string> lines;
  for (const GameSet& game : games) {
    std::string text = game.name + " '" + game.description + "' parent " + (game.hasParent ? "+" : "-") +
                       game.cloneOf + "@" + std::to_string(game.parentIndex) + " samples " +
                       (game.hasSampleOf ? "+" : "-") + game.sampleOf;
    for (const RomEntry& rom : game.roms) {
      char crc[12];
      std::snprintf(crc, sizeof crc, "%x", rom.crc);
      text += " rom " + rom.name + ":" + std::to_string(rom.size) + ":" + crc + (rom.noDump ? ":nodump" : "") +
              (rom.inParent ? "" : ":own");
    }
    for (const SampleEntry& sample : game.samples) text += " sample " + sample.name;
    lines.push_back(text);
  }
  return lines;
}

}  // namespace kestrel::testing
