// The text game list as a datfile or an emulator's listing reaches the
// program: parsed from a file, then validated into the game database with
// every list error shown.
#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "gamedb/datfile_parser.h"
#include "gamedb/validate_games.h"

using namespace kestrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::QuietInterface ui;
  const std::string path = fuzz::WriteInputFile("list.dat", data, size);

  // RAINE's listings let "romof" name the parent; MAME's do not. The
  // input's length picks one, so both are reached from every seed.
  const bool enableRomOf = size % 2 == 1;
  std::unique_ptr<ProgressDialog> progress = OpenProgressDialog(&ui, "Acquiring Data");
  GameList rawGames, database;
  ListMessages messages;
  ParseDatfile(rawGames, path, *progress, enableRomOf, messages);
  ValidateGames(rawGames, database, *progress, kShowRomErrors, messages);
  return 0;
}
