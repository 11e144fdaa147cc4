// A game list and a collection of it, made at random from a seed: parents
// with clones (some clone ROMs named like a parent's or another clone's ROM
// of other contents, some shared under a `merge` name), maybe a BIOS set,
// the sets as zips and folders over two ROM paths in split, merged or
// non-merged layouts, with the faults collections have (missing, misnamed,
// misplaced and bad ROMs, foreign files, twin member names, damaged zips),
// and a folder of files to rebuild from. The same seed makes the same
// scenario.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kestrel::testing {

using ZipMembers = std::vector<std::pair<std::string, std::string>>;  // stored name, contents; twins allowed

struct ScenarioRom {
  std::string name;
  std::string merge;  // the name in the set it is shared with; "" for a ROM of its own
  int content = 0;    // index into Scenario::contents
};

struct ScenarioGame {
  std::string name, cloneOf, romOf;  // cloneOf: "" for a parent; romOf: the parent, the BIOS set or ""
  bool isBios = false;
  std::vector<ScenarioRom> roms;
};

// One set on disk: a zip (path + ".zip") or a folder of loose files; a
// damaged one is written, then broken so that no reader accepts it.
struct PlantedSet {
  std::string path;  // without ".zip"
  bool isZip = true;
  ZipMembers members;
  bool damaged = false;
};

struct Scenario {
  std::vector<std::string> contents;  // every ROM and foreign file's data
  std::vector<ScenarioGame> games;
  std::vector<PlantedSet> sets;                              // in the ROM paths
  std::vector<std::pair<std::string, std::string>> files;   // path, data: foreign files and the rebuild sources
};

// The scenario of `seed` for two ROM paths and a source folder (each ending with '/').
Scenario MakeScenario(uint32_t seed, const std::vector<std::string>& romPaths, const std::string& source);
// The list in the datfile form; the ROMs whose contents are in `noDumps` have no known dump (crc 0).
std::string DatfileText(const Scenario& scenario, const std::set<int>& noDumps = {});
// Writes the sets and loose files.
void WriteScenario(const Scenario& scenario);

}  // namespace kestrel::testing
