// A fastscan file from another version or other data, loaded as a scan
// with "fast scan" does, against a small game database.
#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "fuzz_seeds.h"
#include "report/fastscan_file.h"
#include "settings/settings_record.h"

using namespace kestrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::QuietInterface ui;
  const std::string path = fuzz::WriteInputFile("scan.fst", data, size);
  SettingsRecord settings;
  ScanResults scanResults(fuzz::kSeedGameCount);
  LoadFastscan(path, settings, fuzz::kSeedDataKey, scanResults, &ui);
  return 0;
}
