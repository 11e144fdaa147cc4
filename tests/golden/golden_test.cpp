// Behaviour snapshots: the real kestrel-cli over whole collections, every
// command's output, exit status and resulting files compared with the
// records under tests/golden/.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "golden/golden_record.h"
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

// A richer list, lists/rich.dat and the same as an emulator's XML list in
// lists/rich.xml: a BIOS set, a family with clone ROMs under other names
// ("merge"), one under a parent ROM's name and one under an earlier clone's
// ROM's name with other content, ROMs without a known dump, samples shared
// through sampleof, one content under two games' names, a game with a BIOS
// set and no clones, and one alone.
//
// Every content of the list once (in list order) as a loose file, some
// inside a zip, a sample, and a file that matches nothing.
void WritePool(const TempFolder& dir, const std::string& folder) {
  const char* const contents[] = {"bios one", "bios two", "alpha one", "alpha two", "shared content",
                                  "alpha japan one", "alpha us two", "the US set's own aj.1", "shared content",
                                  "beta two", "beta bootleg two", "a b.2 of the bootleg's own", "delta one",
                                  "solo one"};
  int number = 0;
  std::vector<std::pair<std::string, std::string>> zipped;
  for (const char* content : contents) {
    const std::string name = "f" + std::to_string(++number);
    if (number % 3 == 0) zipped.emplace_back(name, content);
    else WriteFile(dir / (folder + "/" + (number % 2 ? "deep/" : "") + name), content);
  }
  WriteFile(dir / (folder + "/packed.zip"), testing::StoredZip(zipped));
  WriteFile(dir / (folder + "/notes.txt"), "matches nothing");
}

class RichGoldenTest : public ::testing::Test {
 protected:
  RichGoldenTest() {
    for (const char* list : {"rich.dat", "rich.xml"})
      fs::copy_file(testing::SourceDir() + "tests/golden/lists/" + list, dir / list);
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
