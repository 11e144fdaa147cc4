// Rebuild, merge, split and unmerge on real files, judged by what lands on
// disk, by a scan of the result and by the exit status: 0 all done, 1
// something not done (named), 2 refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "archive/zip_reader.h"
#include "cli/cli_run.h"
#include "settings/profile_file.h"
#include "support/crc_data.h"
#include "support/stored_zip.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using testing::CliRun;
using testing::CrcOf;
using testing::RunCli;
using testing::TempFolder;
using testing::StoredZip;
using testing::WriteFile;

const std::string kParentOne = "parent rom one";
const std::string kParentTwo = "parent rom two!";
const std::string kCloneOwn = "the clone's own rom";
const std::string kSolo = "a game on its own";

std::string RomLine(const std::string& name, const std::string& data) {
  char crc[9];
  std::snprintf(crc, sizeof crc, "%08x", CrcOf(data));
  return " rom ( name " + name + " size " + std::to_string(data.size()) + " crc " + crc + " )";
}

// One family, parent "par" and clone "clo" sharing p.1, and a game alone.
std::string GameList() {
  return "game ( name par description \"Parent\"" + RomLine("p.1", kParentOne) + RomLine("p.2", kParentTwo) +
         " )\ngame ( name clo description \"Clone\" cloneof par romof par" + RomLine("p.1", kParentOne) +
         RomLine("c.1", kCloneOwn) + " )\ngame ( name solo description \"Solo\"" + RomLine("s.1", kSolo) + " )\n";
}

class ToolCommandsTest : public ::testing::Test {
 protected:
  ToolCommandsTest() { WriteFile(dir / "list.dat", GameList()); }

  // Runs a command on the list with the test's own data and temporary folders.
  CliRun Run(const std::string& arguments, const std::string& answer = "yes") {
    for (const char* folder : {"roms", "split", "blocked", "out"}) fs::create_directories(dir / folder);
    return RunCli(dir, arguments + " --datfile " + dir / "list.dat" + " --data-folder " + dir / "data" +
                           " --temp-folder " + dir.path() + " --backup-folder " + dir / "backup",
                  answer);
  }

  // Scans `romPath` in `setType` layout; 0 when every set is there and right.
  int Scan(const std::string& romPath, const std::string& setType) {
    CliRun scan = Run("scan --rom-path " + romPath + " --set-type " + setType + " --fastscan-file " +
                      dir / "fast.fsc");
    EXPECT_EQ(scan.err, "");
    EXPECT_TRUE(scan.out.ends_with("\n")) << "the statistics end their line";
    if (scan.status != 0) ADD_FAILURE() << scan.out;
    return scan.status;
  }

  // Every ROM once, over a folder and a subfolder, and a file that matches nothing.
  void WriteSources(const std::string& folder) {
    WriteFile(folder + "/x1", kParentOne);
    WriteFile(folder + "/x2", kParentTwo);
    WriteFile(folder + "/deep/x3", kCloneOwn);
    WriteFile(folder + "/x4", kSolo);
    WriteFile(folder + "/notes.txt", "matches nothing");
  }

  TempFolder dir;
};

std::set<std::string> Members(const std::string& zip) {
  ZipEntryList entries;
  std::set<std::string> names;
  if (!ReadZipDirectory(RealFileSystem(), zip, entries, true, nullptr)) return {"<unreadable>"};
  for (const ZipEntry& entry : entries) names.insert(entry.storedName);
  return names;
}

std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

TEST_F(ToolCommandsTest, RebuildPlacesEverySourceAndRemovesOnlyTheOnesItUsed) {
  WriteSources(dir / "in");
  CliRun zips = Run("rebuild --source " + dir / "in" + " --destination " + dir / "roms" +
                    " --zip --set-type non-merged --remove-sources");
  ASSERT_EQ(zips.status, 0) << zips.out << zips.err;
  EXPECT_EQ(zips.out,
            "Source files seen: 5\nMatched: 4\nSkipped: 1\nROMs placed: 5\nSets written: 3\nSources removed: 4\n"
            "Failed: 0\n");
  EXPECT_EQ(Entries(dir / "roms"), (std::set<std::string>{"clo.zip", "par.zip", "solo.zip"}));
  EXPECT_EQ(Members(dir / "roms/clo.zip"), (std::set<std::string>{"c.1", "p.1"}));
  EXPECT_EQ(Entries(dir / "in"), (std::set<std::string>{"notes.txt"})) << "what matched nothing stays";
  EXPECT_EQ(Scan(dir / "roms", "non-merged"), 0);

  // Split folders, without the subfolder: the clone's own ROM is not seen,
  // so the clone gets no set; the sources stay.
  WriteSources(dir / "again");
  CliRun folders = Run("rebuild --source " + dir / "again" + " --destination " + dir / "split" +
                       " --folders --set-type split --no-recursive");
  ASSERT_EQ(folders.status, 0) << folders.out << folders.err;
  EXPECT_EQ(Entries(dir / "split"), (std::set<std::string>{"par", "solo"}));
  EXPECT_EQ(Entries(dir / "split/par"), (std::set<std::string>{"p.1", "p.2"}));
  EXPECT_TRUE(fs::exists(dir / "again/x1"));

  // A folder in the way of a set's zip (which holds even for root): "Yes"
  // to stopping ends the run early, and it exits 1.
  WriteFile(dir / "blocked/par.zip/keep", "x");
  CliRun blocked = Run("rebuild --source " + dir / "again" + " --destination " + dir / "blocked" +
                       " --remove-sources", "yes");
  EXPECT_EQ(blocked.status, 1) << blocked.out << blocked.err;
  EXPECT_NE(blocked.err.find("[Rebuild Error] Error While Zipping !"), std::string::npos) << blocked.err;
  EXPECT_NE(blocked.out.find("stopped before the end\n"), std::string::npos) << blocked.out;
  EXPECT_TRUE(fs::exists(dir / "again/x2")) << "a source is kept when its set was not written";

  CliRun inside = Run("rebuild --source " + dir / "again" + " --destination " + dir / "again/deep");
  EXPECT_EQ(inside.status, 2) << "a destination inside the source is refused";
  EXPECT_NE(inside.err.find("[Path Error]"), std::string::npos) << inside.err;
  CliRun unknown = Run("rebuild --source " + dir / "again" + " --no-such-option");
  EXPECT_EQ(unknown.status, 2) << unknown.err;
}

// A profile's disabled ROM path is no part of the family, and its Clean Set,
// Remove Old and destination do not reach the command line's merge: there
// they are asked for each time.
TEST_F(ToolCommandsTest, MergeWithAProfileUsesItsEnabledRomPathsOnlyAndNoneOfItsRemovals) {
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

  CliRun merged = Run("merge --profile " + dir / "p.kpf");
  ASSERT_EQ(merged.status, 0) << merged.out << merged.err;
  EXPECT_EQ(Members(dir / "roms/par.zip"), (std::set<std::string>{"p.1", "p.2", "readme.txt"}));
  EXPECT_EQ(Members(dir / "off/clo.zip"), (std::set<std::string>{"c.1", "p.1"}));
  EXPECT_EQ(Members(dir / "more/par.zip"), (std::set<std::string>{"p.1", "p.2"}));
  EXPECT_TRUE(Entries(dir / "out").empty());
}

TEST_F(ToolCommandsTest, MergeSplitAndUnmergeTurnTheSetsOverAndReportWhatTheyCouldNotDo) {
  WriteSources(dir / "in");
  ASSERT_EQ(Run("rebuild --source " + dir / "in" + " --destination " + dir / "roms").status, 0);

  CliRun merged = Run("merge --rom-path " + dir / "roms" + " --clean-set --remove-old");
  ASSERT_EQ(merged.status, 0) << merged.out << merged.err;
  EXPECT_EQ(merged.out, "done par\n1 done, 0 skipped, 0 failed\n");
  EXPECT_EQ(Entries(dir / "roms"), (std::set<std::string>{"par.zip", "solo.zip"}));
  EXPECT_EQ(Scan(dir / "roms", "merged"), 0);

  // Into a destination as folders; --remove-old takes the old sets away.
  CliRun split = Run("split --rom-path " + dir / "roms" + " --folders --destination " + dir / "out" +
                     " --remove-old");
  ASSERT_EQ(split.status, 0) << split.out << split.err;
  EXPECT_EQ(Entries(dir / "out"), (std::set<std::string>{"clo", "par"}));
  EXPECT_EQ(Entries(dir / "out/clo"), (std::set<std::string>{"c.1"}));
  EXPECT_EQ(Entries(dir / "roms"), (std::set<std::string>{"solo.zip"}));
  EXPECT_EQ(Scan(dir / "out --rom-path " + dir / "roms", "split"), 0);

  CliRun unmerged = Run("unmerge --rom-path " + dir / "out" + " --zip");
  ASSERT_EQ(unmerged.status, 0) << unmerged.out << unmerged.err;
  EXPECT_EQ(Members(dir / "out/clo.zip"), (std::set<std::string>{"c.1", "p.1"}));
  EXPECT_EQ(Scan(dir / "out --rom-path " + dir / "roms", "non-merged"), 0);

  // A file where the family's work folder goes skips the family, a folder
  // where its new zip goes fails it: named, counted, old sets kept, exit 1.
  WriteFile(dir / "out/par.kpw", "in the way");
  CliRun skipped = Run("merge --rom-path " + dir / "out");
  EXPECT_EQ(skipped.status, 1) << skipped.out << skipped.err;
  EXPECT_NE(skipped.out.find("skipped par: the work folder '" + dir / "out/par.kpw/" + "' can't be made\n"),
            std::string::npos)
      << skipped.out;
  EXPECT_NE(skipped.out.find("0 done, 1 skipped, 0 failed\n"), std::string::npos) << skipped.out;
  fs::remove(dir / "out/par.kpw");
  fs::create_directories(dir / "blocked/par.zip/in the way");
  CliRun failed = Run("merge --rom-path " + dir / "out" + " --destination " + dir / "blocked");
  EXPECT_EQ(failed.status, 1) << failed.out << failed.err;
  EXPECT_EQ(failed.out.rfind("failed, old sets kept: par: ", 0), 0u) << failed.out;
  EXPECT_NE(failed.out.find("0 done, 0 skipped, 1 failed\n"), std::string::npos) << failed.out;
  EXPECT_EQ(Members(dir / "out/clo.zip"), (std::set<std::string>{"c.1", "p.1"})) << "the old sets are kept";

  CliRun noDestination = Run("merge --rom-path " + dir / "out" + " --destination " + dir / "missing");
  EXPECT_EQ(noDestination.status, 2) << noDestination.out << noDestination.err;
  CliRun noRomPath = Run("unmerge");
  EXPECT_EQ(noRomPath.status, 2) << noRomPath.out << noRomPath.err;
  EXPECT_EQ(noRomPath.out, "");
}

}  // namespace
}  // namespace kestrel
