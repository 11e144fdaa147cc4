// A data cache left by another version, or damaged on disk, read back as
// the program does at start-up. The key is the one make_fuzz_seeds writes.
#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "fuzz_seeds.h"
#include "gamedb/data_cache.h"

using namespace kestrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::QuietInterface ui;
  const std::string path = fuzz::WriteInputFile("games.cache", data, size);
  GameList database;
  ReadDataCache(path, database, fuzz::kSeedDataKey, &ui);
  return 0;
}
