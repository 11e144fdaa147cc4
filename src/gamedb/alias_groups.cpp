#include "gamedb/alias_groups.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kestrel {
namespace {

// Where a ROM with a dump sits, and the key of its group.
struct RomPlace {
  int family;  // index of the family's parent
  uint32_t crc;
  int32_t size;
  int set;
  int rom;
};

bool SameGroup(const RomPlace& a, const RomPlace& b) {
  return a.family == b.family && a.crc == b.crc && a.size == b.size;
}

bool LessByGroup(const RomPlace& a, const RomPlace& b) {
  if (a.family != b.family) return a.family < b.family;
  if (a.crc != b.crc) return a.crc < b.crc;
  return a.size < b.size;
}

// A stable sort keeps database order, then ROM order, within each group:
// the order in which the CRC index lists the same ROMs.
std::vector<RomPlace> PlaceRomsByGroup(const GameList& database) {
  std::vector<RomPlace> places;
  for (const GameSet& game : database) {
    int family = game.hasParent ? game.parentIndex : game.index;
    for (size_t i = 0; i < game.roms.size(); ++i) {
      const RomEntry& rom = game.roms[i];
      if (rom.crc != 0) places.push_back(RomPlace{family, rom.crc, rom.size, game.index, static_cast<int>(i)});
    }
  }
  std::stable_sort(places.begin(), places.end(), LessByGroup);
  return places;
}

RomEntry& RomAt(GameList& database, const RomPlace& place) { return database[place.set].roms[place.rom]; }

// Shares one group among the ROMs of [first, last) when they bear at least
// two different names; otherwise none of them has an alias.
void ShareGroup(GameList& database, std::vector<RomPlace>::const_iterator first,
                std::vector<RomPlace>::const_iterator last) {
  const std::string& firstName = RomAt(database, *first).name;
  bool severalNames = std::any_of(first, last, [&](const RomPlace& place) { return RomAt(database, place).name != firstName; });
  if (!severalNames) return;
  auto group = std::make_shared<AliasGroup>();
  group->reserve(last - first);
  for (auto place = first; place != last; ++place) group->push_back(RomAt(database, *place).name);
  for (auto place = first; place != last; ++place) RomAt(database, *place).aliasGroup = group;
}

}  // namespace

void GroupAliases(GameList& database) {
  for (GameSet& game : database) {
    for (RomEntry& rom : game.roms) rom.aliasGroup.reset();
  }
  const std::vector<RomPlace> places = PlaceRomsByGroup(database);
  for (auto first = places.begin(); first != places.end();) {
    auto last = std::find_if(first, places.end(), [&](const RomPlace& place) { return !SameGroup(*first, place); });
    ShareGroup(database, first, last);
    first = last;
  }
}

}  // namespace kestrel
