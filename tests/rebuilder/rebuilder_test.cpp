#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>

#include "platform/file_system.h"
#include "rebuilder/rebuild_fixture.h"
#include "support/crc_data.h"
#include "support/faulty_file_system.h"

namespace kestrel::testing {
namespace {

const std::string kA = "contents of a", kB = "contents of b", kC = "contents of c";

using RebuilderTest = RebuildTest;

TEST_F(RebuilderTest, RefusesADestinationInTheSourceThenLogsAndPlacesSharedRomsOnceWithSplitSets) {
  // A parent, its clone sharing a.rom, and a set sharing b.rom's contents.
  AddGame("pac", {{"a.rom", kA}, {"b.rom", kB}});
  AddGame("pacc", {{"a.rom", kA}, {"c.rom", kC}}, "pac");
  AddGame("other", {{"b.rom", kB}});
  // Another dump of b.rom's CRC-32 and another size: b.rom's sources still
  // matched, whatever the order.
  AddGame("zodd", {{"odd.rom", testing::DataWithCrc(kB.size() + 4, testing::CrcOf(kB))}});
  Load();
  // Rebuilding into the source would read back what it writes.
  settings.rebuildDestination = source + "out/";
  std::filesystem::create_directories(settings.rebuildDestination);
  EXPECT_TRUE(Rebuild().refused);
  EXPECT_EQ(ui.messages.at(0).text,
            "Destination- / Sourcefolder conflict !\nThey can't be equal and the destination folder\n"
            "can't be a subfolder of the sourcefolder.");
  std::filesystem::remove(source + "out");
  EXPECT_TRUE(settings.rebuildDestination.empty());
  // A source that cannot be listed is named, and only it is to be entered again.
  settings.rebuildSource = root / "gone/";
  settings.rebuildDestination = destination;
  EXPECT_TRUE(Rebuild().refused);
  EXPECT_EQ(ui.messages.at(1).text, "Can't Access '" + root / "gone/" + "'");
  EXPECT_EQ(settings.rebuildSource + "|" + settings.rebuildDestination, "|" + destination);
  settings.rebuildSource = source;

  WriteFile(source + "x1.bin", kA);
  WriteFile(source + "zz.bin", kB);
  WriteFile(source + "nomatch.dat", "nothing");
  WriteZip(source + "sub/y.zip", {{"c.rom", kC}, {"junk.txt", "junk"}});
  settings.rebuildMergeMode = SetLayout::kSplit;
  // The work folder, inside the source here, is no source.
  settings.tempFolder = source + "temp/";
  std::filesystem::create_directories(settings.tempFolder);
  EXPECT_TRUE(Rebuild().completed);
  EXPECT_EQ(Log(), source + "nomatch.dat [SKIPPED]\n\n" +
                       source + "sub/y.zip/c.rom\n  -> pacc/c.rom\n" +
                       source + "sub/y.zip/junk.txt [SKIPPED]\n\n" +
                       source + "x1.bin\n  -> pac/a.rom\n\n" +
                       source + "zz.bin\n  -> other/b.rom\n  -> pac/b.rom\n\n");
  EXPECT_EQ(Tree(destination),
            (Files{{"other.zip:b.rom", kB}, {"pac.zip:a.rom", kA}, {"pac.zip:b.rom", kB}, {"pacc.zip:c.rom", kC}}));
  EXPECT_EQ(Tree(source).size(), 5u) << "sources stay without removal";
}

// A disk that fills up under the new sets: nothing is half-written, the
// old set and the sources stay, and the set not written is named. A set
// that cannot be written for another reason lets the user go on.
TEST_F(RebuilderTest, StopsCleanlyOnAFullDiskOrWhenToldAndKeepsTheOldSetAndTheSources) {
  std::string big(400 << 10, '\0');  // bytes deflate cannot shrink
  std::mt19937 random(1);
  for (char& byte : big) byte = static_cast<char>(random());
  AddGame("a", {{"c", kC}});
  AddGame("g", {{"big", big}, {"old", kB}, {"small", kA}});
  Load();
  settings.rebuildRemoveSources = true;
  for (bool zip : {false, true}) {
    for (uint64_t room : {0, 256 << 10}) {
      SCOPED_TRACE((zip ? "zip, room " : "folder, room ") + std::to_string(room));
      settings.rebuildZip = zip;
      ClearDestination();
      WriteFile(source + "1big", big);
      WriteFile(source + "2small", kA);
      if (zip) {
        WriteZip(destination + "g.zip", {{"old", kB}});
      } else {
        WriteFile(destination + "g/old", kB);
      }
      Files before = Tree(destination);
      FaultyFileSystem smallDisk;
      smallDisk.FillDiskAfter(room, destination + "*");
      if (room > 0) smallDisk.ReportDiskSpace({room, room});
      RebuildOutcome outcome = Rebuild(smallDisk);
      EXPECT_FALSE(outcome.completed);
      EXPECT_EQ(Tree(destination), before);
      EXPECT_EQ(Tree(source), (Files{{"1big", big}, {"2small", kA}}));
      bool named = false;
      for (const RebuildFailure& failure : outcome.failures)
        named |= failure.path == destination + (zip ? "g.zip" : "g/big") && failure.reason == "could not be written";
      if (room == 0) {
        EXPECT_TRUE(named);
      } else {
        EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"Disk Is Full !\n\nRebuilding Process Stopped."});
      }
      ui.messages.clear();
    }
  }
  // A set that cannot be written is named; "No" to stopping goes on with
  // the others.
  ClearDestination();
  std::filesystem::create_directories(destination + "a.zip");  // in the way of the set's zip
  WriteFile(source + "0c", kC);
  ui.messageAnswers = {kResultNo};
  RebuildOutcome outcome = Rebuild();
  EXPECT_TRUE(outcome.completed);
  EXPECT_EQ(ui.MessageTexts(),
            std::vector<std::string>{"Error While Zipping !\n\nDo You Want To Stop Rebuilding Process ?"});
  ASSERT_EQ(outcome.failures.size(), 1u);
  EXPECT_EQ(outcome.failures[0].path + ": " + outcome.failures[0].reason, destination + "a.zip: could not be written");
  EXPECT_EQ(Tree(destination), (Files{{"g.zip:big", big}, {"g.zip:small", kA}}));
  EXPECT_EQ(Tree(source), (Files{{"0c", kC}}));
  EXPECT_EQ(Log().find("-> a/"), std::string::npos) << "the log names only what was written";
}

TEST_F(RebuilderTest, PlacesTheNeoGeoBiosAsTheGameTypesSay) {
  std::string bios = DataWithCrc(131072, 0x9036D879);
  AddGame("neogeo", {{"neo-geo.rom", bios}});
  AddGame("mslug", {{"neo-geo.rom", bios}, {"m1.rom", kA}}, "", "neogeo");
  AddGame("kof", {{"neo-geo.rom", bios}, {"k1.rom", kB}}, "", "neogeo");
  AddGame("pac", {{"p1", kC}});
  Load();
  // "neogeo" is their BIOS set, yet with split sets its four ROMs still go
  // where the game types say.
  settings.rebuildMergeMode = SetLayout::kSplit;
  WriteFile(source + "bios.bin", bios);
  WriteFile(source + "m", kA);
  WriteFile(source + "p", kC);
  std::map<int, Files> expected = {
      {0, {{"pac.zip:p1", kC}}},
      {1, {{"neogeo.zip:neo-geo.rom", bios}, {"mslug.zip:m1.rom", kA}, {"pac.zip:p1", kC}}},
      {2, {{"kof.zip:neo-geo.rom", bios}, {"mslug.zip:neo-geo.rom", bios}, {"mslug.zip:m1.rom", kA},
           {"neogeo.zip:neo-geo.rom", bios}, {"pac.zip:p1", kC}}}};
  for (const auto& [mode, files] : expected) {
    settings.rebuildGameTypes = RebuildGameTypes{mode};
    Rebuild();
    EXPECT_EQ(Tree(destination), files) << "game types " << mode;
    ClearDestination();
  }
}

}  // namespace
}  // namespace kestrel::testing
