// Behaviour snapshots of the command line's edges: exit statuses, logfiles,
// refusals, tools stopped by what is in their way, and profiles.
#include <gtest/gtest.h>

#include <filesystem>

#include "archive/zip_reader.h"
#include "golden/golden_record.h"
#include "settings/profile_file.h"
#include "support/crc_data.h"
#include "support/stored_zip.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using testing::GoldenRecord;
using testing::StoredZip;
using testing::TempFolder;
using testing::WriteFile;

// One arcade game whose only ROM holds "kestrel" (CRC-32 1d30faf3), present
// and correct, and one NeoGeo game, missing. The status follows the result
// lines: 0 none, 1 findings, a stopped scan or a logfile not written, 2 the
// scan did not run; the logfile is written only when there are lines.
TEST(CommandLineTest, ScanExitStatusAndLogfile) {
  TempFolder dir;
  GoldenRecord record("scan_exit", dir);
  WriteFile(dir / "list.dat",
            "game ( name arc description \"Arcade\" rom ( name arc.1 size 7 crc 1d30faf3 ) )\n"
            "game ( name ngx description \"Neo X\" rom ( name neo-geo.rom size 131072 crc 9036d879 )"
            " rom ( name ngx.1 size 16 crc 12345678 ) )\n");
  WriteFile(dir / "roms/arc/arc.1", "kestrel");
  const std::string args = " --datfile <root>/list.dat --rom-path <root>/roms --data-folder <root>/data"
                           " --temp-folder <root>/ --backup-folder <root>/ --fastscan-file <root>/fast.fsc";
  record.Run("fastscan" + args);
  WriteFile(dir / "old.log", "lines of an earlier scan\n");
  const std::string scan = "scan" + args + " --add-statistics --log <root>/old.log";
  record.Run(scan + " --game-types arcade");
  record.File("old.log");
  record.Run(scan + " --game-types neogeo");
  record.File("old.log");

  // A profile's game selection holds for the data it was made with.
  SettingsRecord picked;
  ResetSettings(picked);
  uint32_t size = 0;
  ASSERT_TRUE(ReadFileCrc(RealFileSystem(), dir / "list.dat", size, picked.storedDataCrc));
  picked.storedGameCount = 2;
  picked.gameSelectionBytes = {1, 0};  // arc, ngx
  ASSERT_TRUE(SaveProfile(picked, dir / "picked.kpf", {}, 0));
  record.Run("scan --profile <root>/picked.kpf" + args + " --game-types neogeo");
  // The rebuilder builds the selected games only.
  WriteFile(dir / "pool/a", "kestrel");
  WriteFile(dir / "pool/b", testing::DataWithCrc(16, 0x12345678));
  fs::create_directories(dir / "picked");
  record.Run("rebuild --profile <root>/picked.kpf --datfile <root>/list.dat --data-folder <root>/data --temp-folder "
             "<root>/ --source <root>/pool --destination <root>/picked");
  record.Tree("picked");
  record.Run("scan" + args + " --log <root>/gone/new.log");

  // Renaming a set under a wrong name asks first; "stop" ends the scan and
  // writes no fastscan file.
  SettingsRecord settings;
  ResetSettings(settings);
  settings.fixName = true;
  ASSERT_TRUE(SaveProfile(settings, dir / "fix.kpf", {}, 0));
  WriteFile(dir / "roms/arcade/arc.1", "kestrel");
  fs::remove(dir / "fast.fsc");
  record.Run("scan --profile <root>/fix.kpf" + args, "stop");
  record.Tree("roms");
  record.Tree("fast.fsc");
  // A refused start says why: an unknown answer, no temporary folder, a
  // profile that can't be written.
  record.Run("info --datfile <root>/list.dat --data-folder <root>/data", "maybe");
  record.Run("rebuild --datfile <root>/list.dat --data-folder <root>/data --temp-folder <root>/nowhere --source "
             "<root>/pool --destination <root>/picked");
  record.Run("profile save --data-folder <root>/ --profile <root>/nowhere/p.kpf");
  record.Check();
}

// A list's faults are told set by set at level 1, ROM and sample doubles
// too at level 2, by the caller of the loading alone; a scan of an empty
// collection then shows what stayed of each set (the first of two doubles,
// only the links that hold), from the cache without the faults again.
TEST(CommandLineTest, ListFaultsAreToldAndTheBrokenPartsDropped) {
  TempFolder dir;
  GoldenRecord record("list_faults", dir);
  // lists/links.dat holds a useless reference to a set that is itself
  // broken, told twice; lists/laughs.xml the first of a billion laughs'
  // entities, refused already. Damaged and hostile XML lists are refused
  // with the file and the line named, without a crash, a hang or a large
  // allocation.
  for (const char* list : {"doubles.dat", "links.dat", "mismatched.xml", "laughs.xml"})
    fs::copy_file(testing::SourceDir() + "tests/golden/lists/" + list, dir / list);
  const std::string game =
      "<game name=\"a\"><description>A</description><rom name=\"r\" size=\"1\" crc=\"1\"/></game>\n";
  std::string deep = "<datafile>\n" + game;
  for (int i = 0; i < 100000; ++i) deep += "<x>";
  WriteFile(dir / "deep.xml", deep);
  WriteFile(dir / "long.xml",
            "<datafile>\n\n" + game + "<game name=\"" + std::string(2 << 20, 'n') + "\"/></datafile>");
  for (const char* list : {"mismatched", "laughs", "deep", "long"})
    record.Run(std::string("info --datfile <root>/") + list + ".xml --data-folder <root>/data1");
  fs::create_directories(dir / "roms");
  for (const char* list : {"doubles", "links"}) {
    for (const char* level : {"1", "2"}) {
      record.Run(std::string("info --datfile <root>/") + list + ".dat --data-folder <root>/data" + level +
                 " --li-errors " + level);
    }
    record.Run(std::string("scan --datfile <root>/") + list + ".dat --data-folder <root>/data1 --rom-path "
               "<root>/roms --sample-path <root>/roms --temp-folder <root>/ --fastscan-file <root>/fast.fsc"
               " --no-path-warnings --set-type split", "no");
  }
  record.Check();
}

// The emulators' own lists as data sources (the stand-ins of
// tests/acquire/emulators/), each run once and then served from the cache
// until the program changes; a RAINE is asked for every listed game without
// a shell. No source at all is refused.
TEST(CommandLineTest, EmulatorsAsDataSources) {
  TempFolder dir;
  GoldenRecord record("emulator_sources", dir);
  for (const std::string emulator : {"mame", "raine"}) {
    fs::create_directories(dir / emulator);
    fs::copy_file(testing::SourceDir() + "tests/acquire/emulators/" + emulator, dir / (emulator + "/" + emulator));
    const std::string info =
        "info --" + emulator + " <root>/" + emulator + "/" + emulator + " --data-folder <root>/data";
    record.Run(info);
    record.Run(info);
    WriteFile(dir / (emulator + "/" + emulator), testing::ReadFile(dir / (emulator + "/" + emulator)) + "# newer\n");
    record.Run(info);
    record.File(emulator + "/runs.log");
  }
  record.Tree("data");  // the caches, no listing left
  record.Run("info --data-folder <root>/data");
  record.Check();
}

// A missing ROM is added only from a file of its size and CRC-32, never
// from another of the same CRC-32; a stand-in for a ROM without a known dump
// is made only under a plain file name, inside its set.
TEST(CommandLineTest, AddedRomsMatchWholeAndStandInsStayInTheirSet) {
  TempFolder dir;
  GoldenRecord record("add_and_stand_ins", dir);
  WriteFile(dir / "list.dat",
            "game ( name g description \"G\" rom ( name g.1 size 16 crc 12345678 )"
            " rom ( name g.nd size 4 crc 00000000 ) rom ( name ../escape.bin size 4 crc 00000000 ) )\n");
  WriteFile(dir / "roms/g/other.txt", "x");
  WriteFile(dir / "add/same-crc-longer", testing::DataWithCrc(20, 0x12345678));
  WriteFile(dir / "add/g.zip", StoredZip({{"g.1", testing::DataWithCrc(24, 0x12345678)}}));
  const std::string scan = "scan --datfile <root>/list.dat --rom-path <root>/roms --data-folder <root>/data"
                           " --temp-folder <root>/ --backup-folder <root>/backup --fastscan-file <root>/fast.fsc"
                           " --add-path <root>/add --fix-missing-advanced";
  record.Run(scan, "yes-to-all");
  record.Tree("roms");
  record.Tree("escape.bin");
  WriteFile(dir / "add/right", testing::DataWithCrc(16, 0x12345678));
  record.Run(scan, "yes-to-all");
  record.Tree("roms");
  record.Check();
}

// The contents of lists/tools.dat's ROMs.
const std::string kParentOne = "parent rom one";
const std::string kParentTwo = "parent rom two!";
const std::string kCloneOwn = "the clone's own rom";
const std::string kSolo = "a game on its own";

class ToolEdgesTest : public ::testing::Test {
 protected:
  ToolEdgesTest() {
    // One family, parent "par" and clone "clo" sharing p.1, and a game alone.
    fs::copy_file(testing::SourceDir() + "tests/golden/lists/tools.dat", dir / "list.dat");
    for (const char* folder : {"roms", "split", "blocked", "out"}) fs::create_directories(dir / folder);
  }
  // Every ROM once, over a folder and a subfolder, and a file that matches nothing.
  void WriteSources(const std::string& folder) {
    WriteFile(dir / (folder + "/x1"), kParentOne);
    WriteFile(dir / (folder + "/x2"), kParentTwo);
    WriteFile(dir / (folder + "/deep/x3"), kCloneOwn);
    WriteFile(dir / (folder + "/x4"), kSolo);
    WriteFile(dir / (folder + "/notes.txt"), "matches nothing");
  }
  static std::string Data() {
    return " --datfile <root>/list.dat --data-folder <root>/data --temp-folder <root>/ --backup-folder <root>/backup";
  }
  TempFolder dir;
};

// Without the subfolder the clone's own ROM is not seen; a folder in the way
// of a set's zip stops the run ("Yes" to stopping) and keeps the sources; a
// destination inside the source and an unknown option are refused.
TEST_F(ToolEdgesTest, RebuildStoppedOrRefused) {
  GoldenRecord record("rebuild_edges", dir);
  WriteSources("again");
  record.Run("rebuild" + Data() + " --source <root>/again --destination <root>/split --folders --set-type split"
                                   " --no-recursive --log <root>/rebuild.log");
  record.File("rebuild.log");
  WriteFile(dir / "blocked/par.zip/keep", "x");
  record.Run("rebuild" + Data() + " --source <root>/again --destination <root>/blocked --remove-sources");
  record.Run("rebuild" + Data() + " --source <root>/again --destination <root>/again/deep");
  record.Run("rebuild" + Data() + " --source <root>/again --no-such-option");
  record.Tree("again");
  record.Tree("split");
  record.Tree("blocked");
  record.Check();
}

// A profile's disabled ROM path is no part of the family, and its Clean Set,
// Remove Old and destination do not reach the command line's merge. A file
// where the work folder goes skips a family, a folder where its zip goes
// fails it; a missing destination and no ROM path are refused.
TEST_F(ToolEdgesTest, MergeSkippedFailedOrRefused) {
  GoldenRecord record("merge_edges", dir);
  WriteFile(dir / "roms/par.zip", StoredZip({{"p.1", kParentOne}, {"p.2", kParentTwo}, {"readme.txt", "mine"}}));
  WriteFile(dir / "off/clo.zip", StoredZip({{"p.1", kParentOne}, {"c.1", kCloneOwn}}));
  WriteFile(dir / "more/par.zip", StoredZip({{"p.1", kParentOne}, {"p.2", kParentTwo}}));
  SettingsRecord profile;
  ResetSettings(profile);
  profile.romPaths = {{dir / "roms/", true, -1, 0}, {dir / "off/", false, -1, 1}, {dir / "more/", true, -1, 2}};
  profile.mergeCleanSet = profile.mergeRemoveOld = true;
  profile.mergePlacement = MergePlacement::kIntoDestination;
  profile.mergeDestination = dir / "out/";
  ASSERT_TRUE(SaveProfile(profile, dir / "p.kpf", std::vector<GameSet>{}, 0));
  record.Run("merge --profile <root>/p.kpf" + Data());
  record.Tree("roms");
  record.Tree("off");
  record.Tree("more");
  record.Tree("out");

  WriteSources("in");
  record.Run("rebuild" + Data() + " --source <root>/in --destination <root>/split --set-type split");
  record.Run("split --rom-path <root>/split --folders --destination <root>/out --remove-old" + Data());
  WriteFile(dir / "out/par.kpw", "in the way");
  record.Run("merge --rom-path <root>/out" + Data());
  fs::remove(dir / "out/par.kpw");
  fs::create_directories(dir / "blocked/par.zip/in the way");
  record.Run("merge --rom-path <root>/out --destination <root>/blocked" + Data());
  record.Run("merge --rom-path <root>/out --destination <root>/missing" + Data());
  record.Run("unmerge" + Data());
  record.Tree("split");
  record.Tree("out");
  record.Tree("blocked");
  record.Check();
}

// "profile save" takes every option of the scan and the tools; each reaches
// its own field, options not given keep the defaults, a fix whose check is
// switched off is off, one asked for alone switches its check on.
TEST(CommandLineTest, ProfileSaveTakesEveryOption) {
  TempFolder dir;
  GoldenRecord record("profile_options", dir);
  const std::string save = "profile save --data-folder <root>/ --profile ";
  record.Run(save + "tools.kpf --set-type non-merged --game-types neogeo --log scan.log --fastscan-file fast.fsc"
                   " --check-case --fix-name --rebuild-source in --rebuild-destination out --rebuild-set-type merged"
                   " --rebuild-game-types both-bios --rebuild-log rebuild.log --rebuild-folders"
                   " --no-rebuild-tilde-crcs --rebuild-remove-sources --merge-folders --no-merge-clean-set"
                   " --no-merge-remove-old --merge-destination merged --merge-mode split --no-scan-games"
                   " --no-scan-roms --no-scan-samples --no-check-checksum --no-check-length --no-allow-double-names"
                   " --no-alt-samples --advanced-unneeded --no-zero-crc-creation --no-show-missing-zero-crcs"
                   " --show-all-zero-crcs --no-path-warnings --add-statistics --no-backups --no-ask-before-fixing"
                   " --fix-missing-advanced --no-rebuild-zero-crcs --no-rebuild-recursive --hash sha1");
  record.Run("profile show --profile tools.kpf");
  record.Run(save + "plain.kpf --merge-mode merged --set-type merged --no-check-unneeded --fix-unneeded"
                    " --fix-case --fix-missing");
  record.Run("profile show --profile plain.kpf");
  record.Run("profile show --profile missing.kpf");
  record.Check();
}

}  // namespace
}  // namespace kestrel
