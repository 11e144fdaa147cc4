// The command line as a user meets it: the real program on real files.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>

#include "archive/zip_reader.h"
#include "cli/cli_run.h"
#include "settings/profile_file.h"

namespace kestrel {
namespace {

using testing::CliRun;
using testing::DemoDat;
using testing::ReadFile;
using testing::RunCli;
using testing::TempFolder;

// Every file of a tree with its size and contents.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    if (entry.is_regular_file()) files[entry.path().string()] = ReadFile(entry.path().string());
  return files;
}

// "info" validates the demo list and keeps its data for the scans. A plain
// scan of the demo collection changes nothing; a repair run as the README
// shows it (every fix on, every question answered "Yes To All") leaves only
// what no repair can mend.
TEST(CliTest, InfoThenAScanChangesNothingAndARepairLeavesOnlyWhatNoRepairCanMend) {
  TempFolder dir;
  CliRun info = RunCli(dir, "info --datfile " + DemoDat() + " --data-folder " + dir.path());
  EXPECT_EQ(info.status, 0) << info.err;
  EXPECT_EQ(info.out,
            "Games: 10\nParents: 3\nClones: 4\nOthers: 3\nRoms: 40\nSamples: 3\n"
            "NeoGeo games: 3\nBad dumps: 2\n");
  EXPECT_TRUE(std::filesystem::exists(dir / "_datdat")) << "the game data is kept in the data folder";
  std::string demo = dir / "demo";
  ASSERT_TRUE(testing::BuildDemoCollection(demo));
  std::map<std::string, std::string> before = Snapshot(demo);
  std::string args = "scan --datfile " + DemoDat() + " --rom-path " + demo + "/roms --sample-path " + demo +
                     "/samples --data-folder " + dir.path() + " --check-case" +
                     " --fastscan-file " + dir.path() + "fast.fsc --log " + dir.path() + "scan.log" +
                     " --temp-folder " + dir.path();
  CliRun scan = RunCli(dir, args);
  EXPECT_EQ(scan.status, 1) << scan.err;
  EXPECT_NE(scan.out.find("\n----------\nMissing Games:          2 of 10\n"), std::string::npos) << scan.out;
  EXPECT_EQ(Snapshot(demo), before) << "a scan without fixes changes no file";
  std::string log = ReadFile(dir / "scan.log");
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(scan.out.rfind(log, 0), 0u) << "the logfile holds the lines printed";

  // The fastscan file is bound to the game data by their data CRC.
  uint32_t size = 0, dataCrc = 0;
  ASSERT_TRUE(ReadFileCrc(RealFileSystem(), DemoDat(), size, dataCrc));
  const std::string fastscanFile = ReadFile(dir / "fast.fsc");
  ASSERT_GE(fastscanFile.size(), 4u);
  EXPECT_EQ(fastscanFile.substr(0, 4), std::string(reinterpret_cast<const char*>(&dataCrc), 4));
  // The fastscan looks only at the games with findings: the same lines.
  CliRun fast = RunCli(dir, "fastscan" + args.substr(4));
  EXPECT_EQ(fast.status, 1) << fast.err;
  EXPECT_NE(fast.out.find("missing rom: rr.2"), std::string::npos);

  CliRun repair = RunCli(dir, args + " --fix-case --fix-name --fix-length --fix-unneeded --fix-missing-advanced",
                         "yes-to-all");
  for (const std::string& line : std::vector<std::string>{
           "[wrong: starblue] [right: starblu] [fixed]", "[wrong: 16896] [right: 16384] [fixed]",
           "wrong spelling: pp.gfx [wrong: PP.GFX] [right: pp.gfx] [fixed]",
           "[wrong: sb.sound] [right: sb.snd] [fixed]", "starbl/readme.txt [fixed]"}) {
    EXPECT_NE(repair.out.find(line), std::string::npos) << line << "\n" << repair.out;
  }
  CliRun after = RunCli(dir, args, "no");
  EXPECT_EQ(after.status, 1);
  EXPECT_EQ(after.out.substr(0, after.out.find("----------")),
            "Neo Legends [folder: nglegend]\n"
            "wrong checksum: nl-m1.bin [wrong: 3b814dc7] [right: f7bf7805 (84087fa)]\n\n"
            "Puzzle Parade (alternate) [folder: puzzlea - parent: puzzle]\n"
            "missing game: Puzzle Parade (alternate)\n"
            "missing rom: ppa.2 [length: 4096] [chksum: 24fe1ba6 (db01e459)]\n\n"
            "Rocket Rally [folder: rocket]\n"
            "missing rom: rr.2 [length: 2048] [chksum: 4b74f751 (b48b08ae)]\n\n");
  EXPECT_TRUE(std::filesystem::exists(dir / "BACKUP.KPW/starbl.zip")) << "the removed file is kept";
}

// A line that names one of the working folders made inside the demo
// collection's ROM path.
const std::regex kWorkingFolder("roms/(data|temp|backup|misc)");

// The program's own folders may lie inside a ROM path; however the command
// line or a profile spells them, a scan never takes them for unneeded
// folders (a repair would remove them).
TEST(CliTest, WorkingFoldersInsideARomPathAreSkippedHoweverTheyAreSpelled) {
  TempFolder dir;
  ASSERT_TRUE(testing::BuildDemoCollection(dir / "demo"));
  for (const char* folder : {"temp", "backup", "misc"}) testing::WriteFile(dir / "demo/roms/" + folder + "/keep.txt", "x");
  const std::string scan = "scan --datfile " + testing::DemoDat() + " --fastscan-file " + dir / "fast.fsc";
  const std::string unneeded = "unneeded file: " + dir / "demo/roms/starbl/readme.txt";
  // Relative, through "..", and as a ROM path without its trailing separator.
  const std::string roms = "./demo/roms/../roms";
  CliRun spelled = RunCli(dir, scan + " --rom-path " + roms + " --data-folder " + roms + "/data --temp-folder " + roms +
                                   "/temp --backup-folder " + roms + "/backup/ --misc-path " + roms + "/misc");
  EXPECT_EQ(spelled.status, 1) << spelled.err;
  EXPECT_NE(spelled.out.find(unneeded), std::string::npos) << "the scan looked at the top level";
  EXPECT_FALSE(std::regex_search(spelled.out, kWorkingFolder)) << spelled.out;

  SettingsRecord settings;
  ResetSettings(settings);
  settings.tempFolder = "demo/roms/temp/";
  settings.backupFolder = "demo/roms/backup";
  settings.miscPaths = {PathEntry{"demo/roms/misc/"}};
  settings.romPaths = {PathEntry{"demo/roms/"}};
  ASSERT_TRUE(SaveProfile(settings, dir / "relative.kpf", {}, 0));
  CliRun profile = RunCli(dir, scan + " --profile relative.kpf --data-folder demo/roms/data");
  EXPECT_EQ(profile.status, 1) << profile.err;
  EXPECT_NE(profile.out.find(unneeded), std::string::npos);
  EXPECT_FALSE(std::regex_search(profile.out, kWorkingFolder)) << profile.out;
}

// Installed into a bin/ folder, the program keeps its data in the user's
// data folder: $XDG_DATA_HOME/kestrel/ when that is absolute, else
// ~/.local/share/kestrel/.
TEST(CliTest, AnInstalledProgramKeepsItsDataInTheUsersDataFolder) {
  TempFolder dir;
  std::filesystem::create_directories(dir / "bin");
  std::filesystem::copy_file(KESTREL_CLI, dir / "bin/kestrel-cli");
  for (const std::string& dataHome : {std::string("relative"), dir / "xdg"}) {
    std::string command = "cd '" + dir.path() + "' && env XDG_DATA_HOME='" + dataHome + "' HOME='" + dir / "home" +
                          "' '" + dir / "bin/kestrel-cli' info --datfile " + DemoDat() + " >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
  }
  EXPECT_TRUE(std::filesystem::exists(dir / "home/.local/share/kestrel/_datdat"));
  EXPECT_TRUE(std::filesystem::exists(dir / "xdg/kestrel/_datdat"));
  EXPECT_FALSE(std::filesystem::exists(dir / "relative"));
  EXPECT_FALSE(std::filesystem::exists(dir / "bin/_datdat"));
}

}  // namespace
}  // namespace kestrel
