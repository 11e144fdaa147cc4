// An emulator's configuration file whose "[directory]" section is taken
// into the path lists.
#include <cstddef>
#include <cstdint>

#include "acquire/import_paths.h"
#include "fuzz_input.h"
#include "settings/settings_record.h"

using namespace kestrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteInputFile("mame.cfg", data, size);
  SettingsRecord settings;
  ImportPaths(path, settings);
  return 0;
}
