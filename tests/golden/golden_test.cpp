// Behaviour snapshots: the real kestrel-cli over whole collections, every
// command's output, exit status and resulting files compared with the
// records under tests/golden/.
#include <gtest/gtest.h>

#include <filesystem>

#include "golden/golden_record.h"
#include "support/crc_data.h"
#include "support/stored_zip.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using testing::GoldenRecord;
using testing::TempFolder;
using testing::WriteFile;

const char* const kSetTypes[] = {"non-merged", "split", "merged"};

// The demo collection (one fault of every kind) in <root>/demo.
void BuildDemo(const TempFolder& dir) { ASSERT_TRUE(testing::BuildDemoCollection(dir / "demo")); }

std::string DemoScan(const std::string& setType) {
  return "scan --datfile " + testing::DemoDat() +
         " --rom-path <root>/demo/roms --sample-path <root>/demo/samples --data-folder <root>/data"
         " --temp-folder <root>/temp --backup-folder <root>/backup --fastscan-file <root>/fast.fsc --set-type " +
         setType;
}

// Checks only, with letter case and the advanced unneeded check; then a
// fastscan; then every fix answered "Yes To All", and a last check of what
// is left. One record per layout the collection is read as.
TEST(GoldenTest, DemoCollectionScannedAndRepairedInEveryLayout) {
  for (const char* setType : kSetTypes) {
    TempFolder dir;
    BuildDemo(dir);
    fs::create_directories(dir / "temp");
    GoldenRecord record(std::string("demo_scan_") + setType, dir);
    record.Run("info --datfile " + testing::DemoDat() + " --data-folder <root>/data --li-errors 2");
    const std::string scan = DemoScan(setType);
    record.Run(scan + " --check-case --advanced-unneeded --show-all-zero-crcs", "no");
    record.Run("fast" + scan + " --check-case", "no");
    if (setType == std::string("split")) {
      record.Run(scan + " --game-types neogeo --no-check-length --no-show-missing-zero-crcs --no-check-unneeded",
                 "no");
      record.Run(scan + " --no-scan-games --no-scan-roms", "no");
    }
    record.Run(scan + " --check-case --fix-case --fix-name --fix-length --fix-unneeded --fix-missing-advanced"
                      " --add-path <root>/demo/roms",
               "yes-to-all");
    record.Tree("demo");
    record.Tree("backup");
    record.Run(scan + " --check-case --no-path-warnings", "no");
    record.Check();
  }
}

// A richer list: a BIOS set, a family with clone ROMs under other names
// ("merge"), one under a parent ROM's name and one under an earlier clone's
// ROM's name with other content, ROMs without a known dump, samples shared
// through sampleof, one content under two games' names, a game with a BIOS
// set and no clones, and one alone.
struct RichRom {
  const char* game;
  const char* name;
  const char* merge;
  const char* content;  // nullptr: no known dump
};

const RichRom kRichRoms[] = {
    {"biosx", "bx.1", "", "bios one"}, {"biosx", "bx.2", "", "bios two"},
    {"alpha", "a.1", "", "alpha one"}, {"alpha", "a.2", "", "alpha two"}, {"alpha", "bx.1", "bx.1", "bios one"},
    {"alpha", "shared.bin", "", "shared content"}, {"alpha", "a.nd", "", nullptr},
    {"alphaj", "aj.1", "", "alpha japan one"}, {"alphaj", "a.2", "a.2", "alpha two"},
    {"alphaj", "bx.1", "bx.1", "bios one"}, {"alphaj", "shared.bin", "shared.bin", "shared content"},
    {"alphau", "au.1", "a.1", "alpha one"}, {"alphau", "au.2", "", "alpha us two"},
    {"alphau", "aj.1", "", "the US set's own aj.1"}, {"alphau", "bx.1", "bx.1", "bios one"},
    {"alphau", "shared.bin", "shared.bin", "shared content"},
    {"beta", "b.1", "", "shared content"}, {"beta", "b.2", "", "beta two"},
    {"betab", "b.1", "b.1", "shared content"}, {"betab", "bb.2", "", "beta bootleg two"},
    {"betab", "b.2", "", "a b.2 of the bootleg's own"},
    {"delta", "d.1", "", "delta one"}, {"delta", "bx.1", "bx.1", "bios one"},
    {"solo", "s.1", "", "solo one"}, {"solo", "s.nd", "", nullptr},
};

// The games of the list; "biosx" is written as a resource in the text form
// and as isbios in the XML form.
struct RichGame {
  const char* name;
  const char* description;
  const char* cloneOf;
  const char* romOf;
  const char* sampleOf;
  bool samples;
};

const RichGame kRichGames[] = {
    {"biosx", "BIOS X", "", "", "", false}, {"alpha", "Alpha", "", "biosx", "", true},
    {"alphaj", "Alpha (Japan)", "alpha", "alpha", "", false}, {"alphau", "Alpha (US)", "alpha", "alpha", "alpha", true},
    {"beta", "beta", "", "", "", false}, {"betab", "Beta (bootleg)", "beta", "beta", "", false},
    {"delta", "delta", "", "biosx", "", false}, {"solo", "solo", "", "", "", false},
};

std::string CrcText(const RichRom& rom) {
  char crc[9];
  std::snprintf(crc, sizeof crc, "%08x", rom.content ? testing::CrcOf(rom.content) : 0u);
  return crc;
}

std::string SizeText(const RichRom& rom) { return std::to_string(rom.content ? std::string(rom.content).size() : 16); }

// The list as a datfile, or as an emulator's XML list when `xml`.
std::string RichList(bool xml) {
  std::string text = xml ? "<?xml version=\"1.0\"?>\n<mame build=\"golden\">\n" : "";
  for (const RichGame& game : kRichGames) {
    const bool bios = game.name == std::string("biosx");
    text += xml ? std::string("<machine name=\"") + game.name + "\"" + (bios ? " isbios=\"yes\"" : "")
                : std::string(bios ? "resource" : "game") + " ( name " + game.name + " description \"" +
                      game.description + "\"";
    for (const char* key : {"cloneof", "romof", "sampleof"}) {
      const std::string value = key[0] == 'c' ? game.cloneOf : key[0] == 'r' ? game.romOf : game.sampleOf;
      if (!value.empty()) text += std::string(" ") + key + (xml ? "=\"" + value + "\"" : " " + value);
    }
    if (xml) text += std::string("><description>") + game.description + "</description>\n";
    if (game.samples)
      text += xml ? "<sample name=\"boom.wav\"/><sample name=\"zap.wav\"/>\n" : " sample boom.wav sample zap.wav";
    for (const RichRom& rom : kRichRoms) {
      if (rom.game != std::string(game.name)) continue;
      const std::string merge = rom.merge;
      // Both spellings of the checksum keyword occur in real lists.
      if (xml)
        text += std::string("<rom name=\"") + rom.name + "\"" + (merge.empty() ? "" : " merge=\"" + merge + "\"") +
                " size=\"" + SizeText(rom) + "\"" +
                (rom.content ? " crc=\"" + CrcText(rom) + "\"" : " status=\"nodump\"") + "/>\n";
      else
        text += std::string("\n  rom ( name ") + rom.name + (merge.empty() ? "" : " merge " + merge) + " size " +
                SizeText(rom) + (merge.empty() ? " crc " : " crc32 ") + CrcText(rom) + " )";
    }
    text += xml ? "</machine>\n" : " )\n";
  }
  return xml ? text + "</mame>\n" : text;
}

// Every content once as a loose file, some inside a zip, a sample, and a
// file that matches nothing.
void WritePool(const TempFolder& dir, const std::string& folder) {
  int number = 0;
  std::vector<std::pair<std::string, std::string>> zipped;
  for (const RichRom& rom : kRichRoms) {
    if (rom.content == nullptr || rom.merge[0] != '\0') continue;
    const std::string name = "f" + std::to_string(++number);
    if (number % 3 == 0) zipped.emplace_back(name, rom.content);
    else WriteFile(dir / (folder + "/" + (number % 2 ? "deep/" : "") + name), rom.content);
  }
  WriteFile(dir / (folder + "/packed.zip"), testing::StoredZip(zipped));
  WriteFile(dir / (folder + "/notes.txt"), "matches nothing");
}

class RichGoldenTest : public ::testing::Test {
 protected:
  RichGoldenTest() {
    WriteFile(dir / "rich.dat", RichList(false));
    WriteFile(dir / "rich.xml", RichList(true));
    WriteFile(dir / "samples/alpha/boom.wav", "boom");
    WriteFile(dir / "samples/alpha/zap.wav", "zap");
    fs::create_directories(dir / "temp");
  }
  std::string Data() const { return " --datfile <root>/rich.dat --data-folder <root>/data --temp-folder <root>/temp"; }
  std::string Scan(const std::string& romPath, const std::string& setType) const {
    return "scan" + Data() + " --rom-path <root>/" + romPath + " --sample-path <root>/samples --set-type " +
           setType + " --fastscan-file <root>/fast.fsc --backup-folder <root>/backup";
  }
  TempFolder dir;
};

// Rebuilt from the pool into each layout, zipped and as folders, removing
// the sources used; each result scanned in its own layout.
TEST_F(RichGoldenTest, RebuildIntoEveryLayout) {
  GoldenRecord record("rich_rebuild", dir);
  record.Run("info" + Data() + " --li-errors 2");
  for (const char* setType : kSetTypes) {
    for (const char* form : {"zip", "folders"}) {
      const std::string out = std::string(setType) + "-" + form;
      const std::string pool = "pool-" + out;
      WritePool(dir, pool);
      fs::create_directories(dir / out);
      record.Run("rebuild" + Data() + " --source <root>/" + pool + " --destination <root>/" + out +
                 " --set-type " + setType + " --" + form + " --remove-sources");
      record.Tree(pool);
      record.Tree(out);
      record.Run(Scan(out, setType), "no");
      record.Tree(out);
    }
  }
  // The same list as an emulator's XML list reads the same.
  record.Run("info --datfile <root>/rich.xml --data-folder <root>/xml --li-errors 2");
  record.Run("scan --datfile <root>/rich.xml --data-folder <root>/xml --temp-folder <root>/temp --rom-path "
             "<root>/split-zip --sample-path <root>/samples --fastscan-file <root>/fast.fsc",
             "no");
  record.Check();
}

// A split collection merged, split again, unmerged, and merged into another
// folder as folders with Clean Set and Remove Old; each result scanned.
TEST_F(RichGoldenTest, MergeSplitAndUnmergeTurnTheCollectionOver) {
  GoldenRecord record("rich_merge", dir);
  WritePool(dir, "pool");
  fs::create_directories(dir / "merged");
  // A set that is there already, with a file of no game in it.
  WriteFile(dir / "roms/alpha.zip", testing::StoredZip({{"a.1", "alpha one"}, {"readme.txt", "mine"}}));
  record.Run("rebuild" + Data() + " --source <root>/pool --destination <root>/roms --set-type split");
  WriteFile(dir / "roms/alpha.zip.keep", "not a set");
  WriteFile(dir / "roms/beta/readme.txt", "a stray file in a folder set");
  for (const std::string command : {"merge", "split", "unmerge"}) {
    record.Run(command + Data() + " --rom-path <root>/roms --backup-folder <root>/backup");
    record.Tree("roms");
    record.Run(Scan("roms", command == "merge" ? "merged" : command == "split" ? "split" : "non-merged"), "no");
  }
  record.Run("merge" + Data() + " --rom-path <root>/roms --backup-folder <root>/backup --folders --clean-set"
                                " --remove-old --destination <root>/merged");
  record.Tree("roms");
  record.Tree("merged");
  record.Tree("backup");
  record.Run(Scan("merged", "merged"), "no");
  record.Check();
}

// A profile written from options, shown, and used by a scan; a damaged
// profile and unknown options are refused.
TEST_F(RichGoldenTest, ProfilesKeepTheirOptions) {
  GoldenRecord record("rich_profile", dir);
  record.Run("profile save --profile <root>/p.kpf" + Data() +
             " --rom-path <root>/roms --add-path <root>/add --set-type merged --game-types arcade --check-case"
             " --fix-unneeded --no-backups --rebuild-source <root>/in --rebuild-folders --rebuild-set-type split"
             " --merge-clean-set --merge-mode split --merge-destination <root>/out");
  record.Run("profile show --profile <root>/p.kpf");
  WriteFile(dir / "bad.kpf", "not a profile");
  record.Run("profile show --profile <root>/bad.kpf");
  record.Run("scan --profile <root>/bad.kpf --data-folder <root>/data");
  record.Run("scan --no-such-option");
  record.Run("info --datfile <root>/missing.dat --data-folder <root>/data");
  fs::create_directories(dir / "roms");
  record.Run("scan --profile <root>/p.kpf --data-folder <root>/data --fastscan-file <root>/fast.fsc", "no");
  record.Check();
}

}  // namespace
}  // namespace kestrel
