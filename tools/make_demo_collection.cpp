// Writes a demo collection for the demo game list: correct sets as zips and
// folders (split layout), plus one deliberate fault of every kind the
// scanner reports.
//
//   kestrel-demo-collection DATFILE OUTPUT_FOLDER
//
// OUTPUT_FOLDER gets "roms/" and "samples/". An existing output folder is
// replaced only when this program made it.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/user_interface.h"
#include "archive/zip_library.h"
#include "demo_contents.h"
#include "gamedb/datfile_parser.h"
#include "gamedb/validate_games.h"

namespace fs = std::filesystem;
using namespace kestrel;

namespace {

constexpr char kMarker[] = ".kestrel-demo";

struct DemoFile {
  std::string name;
  std::string bytes;
};

// How each set is written, and the faults planted in it.
struct SetPlan {
  bool asZip = true;
  std::map<std::string, std::string> renamed;  // right name -> name written
  std::set<std::string> leftOut;
  std::map<std::string, int> grown;            // name -> extra bytes
  std::set<std::string> corrupted;
  std::vector<DemoFile> extra;
};

bool WriteBytes(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool WriteSet(ZipLibrary& zip, const fs::path& folder, const std::string& setName, bool asZip,
              const std::vector<DemoFile>& files, const fs::path& staging) {
  if (!asZip) {
    for (const DemoFile& file : files)
      if (!WriteBytes(folder / setName / file.name, file.bytes)) return false;
    return true;
  }
  fs::path stage = staging / setName;
  std::vector<std::string> paths;
  for (const DemoFile& file : files) {
    if (!WriteBytes(stage / file.name, file.bytes)) return false;
    paths.push_back((stage / file.name).string());
  }
  return ZipAddFiles(RealFileSystem(), zip, (folder / (setName + ".zip")).string(), paths);
}

// The files of a correct set in the split layout: a clone holds only what
// its parent lacks, and a NeoGeo game no BIOS file.
std::vector<DemoFile> SplitSetFiles(const GameSet& game, const std::map<uint32_t, std::string>& contents,
                                    const SetPlan& plan) {
  std::vector<DemoFile> files;
  for (const RomEntry& rom : game.roms) {
    if (game.hasParent && rom.inParent) continue;
    // NeoGeo games find their BIOS in the shared "neogeo" set.
    if (game.name != "neogeo" && IsNeoGeoBiosRom(rom)) continue;
    if (plan.leftOut.count(rom.name) != 0) continue;
    std::string bytes = contents.at(rom.crc);
    if (plan.grown.count(rom.name) != 0) bytes.append(static_cast<size_t>(plan.grown.at(rom.name)), '\x55');
    if (plan.corrupted.count(rom.name) != 0) bytes[bytes.size() / 2] ^= 0x5A;
    auto renamed = plan.renamed.find(rom.name);
    files.push_back({renamed == plan.renamed.end() ? rom.name : renamed->second, bytes});
  }
  for (const DemoFile& extra : plan.extra) files.push_back(extra);
  return files;
}

std::map<std::string, SetPlan> PlanFaults() {
  std::map<std::string, SetPlan> plans;
  plans["starbl"].renamed["sb.snd"] = "sb.sound";                              // a ROM under a wrong name
  plans["starbl"].extra.push_back({"readme.txt", "Downloaded from a friend.\n"});  // an unneeded file
  plans["starblj"].asZip = false;
  plans["rocket"].leftOut.insert("rr.2");                                      // a missing ROM
  plans["ngstrike"].asZip = false;
  plans["ngstrike"].grown["ns-s1.bin"] = 512;                                   // an over-long ROM
  plans["nglegend"].corrupted.insert("nl-m1.bin");                              // a wrong checksum
  plans["puzzle"].asZip = false;
  plans["puzzle"].renamed["pp.gfx"] = "PP.GFX";                                 // a wrongly cased ROM
  return plans;
}

bool PrepareOutput(const fs::path& output) {
  if (fs::exists(output)) {
    if (!fs::exists(output / kMarker)) {
      std::fprintf(stderr, "%s exists and was not made by this program; not touching it\n", output.c_str());
      return false;
    }
    fs::remove_all(output);
  }
  fs::create_directories(output / "roms");
  fs::create_directories(output / "samples");
  return WriteBytes(output / kMarker, "made by kestrel-demo-collection\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s DATFILE OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  GameList rawGames, database;
  ListMessages unshown;  // the demo list is the program's own
  auto progress = OpenProgressDialog(nullptr, "");
  if (!ParseDatfile(rawGames, argv[1], *progress, false, unshown)) {
    std::fprintf(stderr, "Can't read the game list %s\n", argv[1]);
    return 2;
  }
  std::map<uint32_t, std::string> contents = demo::MakeRomContents(rawGames);
  ValidateGames(rawGames, database, *progress, 0, unshown);

  fs::path output = fs::absolute(argv[2]);
  if (!PrepareOutput(output)) return 2;
  fs::path staging = output / ".staging";
  ZipLibrary zip;

  std::map<std::string, SetPlan> plans = PlanFaults();
  for (const GameSet& game : database) {
    SetPlan plan = plans[game.name];
    if (game.name == "puzzlea") continue;  // a missing set
    std::string setName = game.name == "starblu" ? "starblue" : game.name;  // a known set under an unknown name
    std::vector<DemoFile> files = SplitSetFiles(game, contents, plan);
    if (!files.empty() && !WriteSet(zip, output / "roms", setName, plan.asZip, files, staging)) {
      std::fprintf(stderr, "Can't write the set %s\n", setName.c_str());
      return 2;
    }
    std::vector<DemoFile> samples;
    for (const SampleEntry& sample : game.samples) samples.push_back({sample.name, "RIFF demo sample " + sample.name});
    if (!samples.empty() && !WriteSet(zip, output / "samples", game.name, true, samples, staging)) return 2;
  }
  fs::remove_all(staging);
  std::printf("Demo collection written to %s\n", output.c_str());
  return 0;
}
