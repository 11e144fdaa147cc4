// The XML game list (MAME's -listxml output or a Logiqx datfile) as a
// datfile reaches the program: told apart by content, parsed, then
// validated into the game database with every list error shown.
#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "gamedb/game_list_file.h"
#include "gamedb/validate_games.h"

using namespace kestrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::QuietInterface ui;
  const std::string path = fuzz::WriteInputFile("list.xml", data, size);

  const bool enableRomOf = size % 2 == 1;
  std::unique_ptr<ProgressDialog> progress = OpenProgressDialog(&ui, "Acquiring Data");
  GameList rawGames, database;
  ListMessages messages;
  ParseGameList(rawGames, path, *progress, enableRomOf, messages);
  ValidateGames(rawGames, database, *progress, kShowRomErrors, messages);
  return 0;
}
