// An old or foreign profile as the program opens it: loaded over a fresh
// record, then checked against the disk before the tools may use it.
#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "settings/profile_file.h"
#include "settings/validate_profile.h"

using namespace kestrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::QuietInterface ui;
  const std::string path = fuzz::WriteInputFile("collection.kpf", data, size);
  SettingsRecord record;
  if (LoadProfile(record, path)) ValidateProfile(record, &ui);
  return 0;
}
