#include "cli/info_command.h"

#include <cstdio>

#include "cli/data_options.h"
#include "cli/exit_status.h"

namespace kestrel {

int RunInfoCommand(const DataOptions& options, UserInterface& ui) {
  std::string dataFolder = ChooseDataFolder(options);
  SettingsRecord settings;
  if (!BuildSettings(options, settings)) return kExitRefused;
  GameList database;
  LoadedData loaded;
  if (!LoadGameData(options, settings, dataFolder, ui, database, loaded)) return kExitRefused;
  std::fputs(DescribeGameCounts(database).c_str(), stdout);
  return kExitDone;
}

std::string DescribeGameCounts(const GameList& database) {
  long parents = 0, clones = 0, roms = 0, samples = 0, neoGeo = 0, badDumps = 0;
  for (const GameSet& game : database) {
    parents += game.isParent;
    clones += game.hasParent;
    roms += game.romCount;
    samples += game.sampleCount;
    neoGeo += game.hasNeoGeoBios;
    for (const RomEntry& rom : game.roms) badDumps += rom.noDump;
  }
  long games = static_cast<long>(database.size());
  std::string text;
  auto line = [&text](const char* label, long value) { text += std::string(label) + ": " + std::to_string(value) + "\n"; };
  line("Games", games);
  line("Parents", parents);
  line("Clones", clones);
  line("Others", games - parents - clones);
  line("Roms", roms);
  line("Samples", samples);
  line("NeoGeo games", neoGeo);
  line("Bad dumps", badDumps);
  return text;
}

}  // namespace kestrel
