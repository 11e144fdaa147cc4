#include "gamedb/device_roms.h"

#include <algorithm>

#include "platform/text.h"

namespace kestrel {
namespace {

bool SameContent(const RomEntry& a, const RomEntry& b) { return a.crc == b.crc && a.size == b.size; }

void ResolveDeviceRefs(const GameList& database, GameSet& game) {
  game.devices.clear();
  for (const std::string& name : game.deviceRefs) {
    std::optional<int> found = FindGame(database, name);
    if (!found || *found == game.index) continue;
    const GameSet& device = database[size_t(*found)];
    bool known = std::find(game.devices.begin(), game.devices.end(), *found) != game.devices.end();
    if (device.isDevice && !device.roms.empty() && !known) game.devices.push_back(*found);
  }
  game.deviceRefs.clear();
  game.deviceRefs.shrink_to_fit();
}

// The ROM of `set`, one of its own and not a device's, named `name` without
// case, the exact spelling preferred; -1 when none.
int FindOwnRom(const GameSet& set, const std::string& name, bool ownOnly) {
  int alike = -1;
  for (size_t i = 0; i < set.roms.size(); ++i) {
    const RomEntry& rom = set.roms[i];
    if (ownOnly && rom.deviceSet >= 0) continue;
    if (rom.name == name) return int(i);
    if (alike < 0 && EqualsNoCase(rom.name, name)) alike = int(i);
  }
  return alike;
}

// Only the device's own ROMs are taken: a device's device ROMs reach the
// machine through the machine's own link, as MAME names every device of a
// machine, however deep.
void TakeDeviceRoms(GameSet& game, const GameSet& device) {
  for (const RomEntry& deviceRom : device.roms) {
    if (deviceRom.deviceSet >= 0) continue;
    int listed = FindOwnRom(game, deviceRom.name, false);
    if (listed >= 0) {
      RomEntry& rom = game.roms[size_t(listed)];
      if (SameContent(rom, deviceRom) && rom.deviceSet < 0) rom.deviceSet = device.index;
      continue;
    }
    RomEntry copy = deviceRom;
    copy.merge.clear();
    copy.deviceSet = device.index;
    game.roms.push_back(std::move(copy));
  }
}

// The added ROMs moved the devices' own ROMs too, so their places are
// found once every set is sorted again.
void PointAtDeviceRoms(const GameList& database, GameSet& game) {
  for (RomEntry& rom : game.roms) {
    if (rom.deviceSet < 0) continue;
    rom.deviceRom = FindOwnRom(database[size_t(rom.deviceSet)], rom.name, true);
    if (rom.deviceRom < 0) rom.deviceSet = -1;
  }
}

}  // namespace

void RelateDeviceRoms(GameList& database) {
  for (GameSet& game : database) ResolveDeviceRefs(database, game);
  for (GameSet& game : database)
    for (int device : game.devices) TakeDeviceRoms(game, database[size_t(device)]);
  for (GameSet& game : database) {
    std::stable_sort(game.roms.begin(), game.roms.end(), LessRomByName);
    game.romCount = static_cast<int>(game.roms.size());
  }
  for (GameSet& game : database) PointAtDeviceRoms(database, game);
}

}  // namespace kestrel
