// What the game data in memory were read from. It is no setting: a profile
// never stores it, and loading one leaves it alone, so that data already in
// memory are neither read again nor taken for other data. The main window
// and each command line run own one, next to the game database it describes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "gamedb/romless_machines.h"
#include "settings/setting_modes.h"

namespace kestrel {

struct LoadedData {
  // The kind of source the data came from; none while no data are loaded.
  std::optional<DataSourceKind> source;
  // That source's path as the settings named it when it was read.
  std::string path;
  // The CRC-32 of the source file: it keys the data cache, and binds a
  // fastscan file and a profile's stored selection to these data.
  uint32_t dataCrc = 0;
  // The machines the source lists without a ROM or disk, which the database
  // leaves out: only MAME's verdicts name them.
  RomlessMachines romless;
};

}  // namespace kestrel
