// The merger on a list with BIOS sets: each layout of the collection is
// rebuilt from another and compared with the complete collection exactly.
#include <gtest/gtest.h>

#include <filesystem>

#include "gamedb/game_list_file.h"
#include "gamedb/validate_games.h"
#include "merger/merger_fixture.h"
#include "support/bios_family.h"

namespace kestrel::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kNonMerged = 0;
constexpr int kSplit = 1;
constexpr int kMerged = 2;

class MergerBiosTest : public MergerTest {
 protected:
  void LoadList(const std::string& list) {
    WriteFile(root / "list.dat", list);
    auto progress = OpenProgressDialog(&ui, "");
    GameList raw;
    ListMessages listMessages;
    database.clear();
    EXPECT_TRUE(ParseGameList(raw, root / "list.dat", *progress, false, listMessages));
    EXPECT_TRUE(ValidateGames(raw, database, *progress, kShowSetErrors, listMessages));
  }

  // The BIOS sets go to the second ROM path, the games to the first, so
  // that a BIOS ROM is looked for beyond the game's own path.
  void WriteCollection(const Collection& sets) {
    for (const std::string& folder : {path1, path2}) fs::remove_all(folder), fs::create_directories(folder);
    for (const auto& [name, members] : sets) WriteZip(name.rfind("bios", 0) == 0 ? path2 : path1, name, members);
  }

  // Every zip in both ROM paths; anything else, or a set in both, fails.
  Collection ReadCollection() {
    Collection sets;
    for (const std::string& folder : {path1, path2}) {
      for (const auto& entry : fs::directory_iterator(folder)) {
        EXPECT_TRUE(entry.is_regular_file() && entry.path().extension() == ".zip") << "unexpected " << entry.path();
        EXPECT_TRUE(sets.emplace(entry.path().stem(), ZipContents(entry.path())).second) << entry.path() << " twice";
      }
    }
    return sets;
  }
};

TEST_F(MergerBiosTest, EveryLayoutIsMadeFromAnotherAndBiosRomsStayInTheBiosSets) {
  LoadList(BiosFamilyXml());
  // Every change of layout keeps each content somewhere in the collection
  // (a game's BIOS copies in its BIOS set): none needs a backup.
  settings.backupFolder = "";
  WriteCollection(BiosFamilyCollection(kSplit));
  settings.mergeMode = SetLayout::kMerged;
  EXPECT_EQ(Run().handled, (std::vector<std::string>{"gamea", "gameb", "gamec"}));
  EXPECT_EQ(ReadCollection(), BiosFamilyCollection(kMerged));
  settings.mergeMode = SetLayout::kSplit;
  Run();
  EXPECT_EQ(ReadCollection(), BiosFamilyCollection(kSplit));

  // From non-merged sets, whose BIOS copies Clean Set drops.
  WriteCollection(BiosFamilyCollection(kNonMerged));
  settings.mergeMode = SetLayout::kMerged;
  Run();
  EXPECT_EQ(ReadCollection(), BiosFamilyCollection(kMerged));

  // The text form lists "biosa" as a resource; the database is the same.
  // Unmerging split sets takes the BIOS ROMs from the BIOS sets.
  LoadList(BiosFamilyText());
  WriteCollection(BiosFamilyCollection(kSplit));
  Run(MergeButton::kUnmerge);
  EXPECT_EQ(ReadCollection(), BiosFamilyCollection(kNonMerged));

  // Without Clean Set a game's BIOS copies are files that stay, and a set
  // that is left no ROM (gamec) is left alone.
  settings.mergeMode = SetLayout::kSplit;
  settings.mergeCleanSet = false;
  Run();
  EXPECT_EQ(ReadCollection(), BiosFamilyCollection(kNonMerged));
  settings.mergeCleanSet = true;
  Run();
  EXPECT_EQ(ReadCollection(), BiosFamilyCollection(kSplit));
  EXPECT_TRUE(ui.messages.empty());
}

// Every family reads its BIOS set; a damaged one is told of once per run
// all the same.
TEST_F(MergerBiosTest, ADamagedBiosZipIsToldOfOncePerRun) {
  LoadList(BiosFamilyXml());
  WriteCollection(BiosFamilyCollection(kSplit));
  WriteFile(path2 + "biosb.zip", "PK\x03\x04 not really a zip");
  auto told = [&] {
    int count = 0;
    for (const RecordedMessage& message : ui.messages)
      count += message.text.rfind("Corrupt Zipfile:\n\n" + path2 + "biosb.zip\n", 0) == 0 ? 1 : 0;
    return count;
  };
  Run(MergeButton::kUnmerge);
  for (auto& m : ui.messages) std::cerr << "MSG " << m.text << "\n";
  EXPECT_EQ(told(), 1);
  Run(MergeButton::kUnmerge);
  EXPECT_EQ(told(), 2);
  EXPECT_EQ(ReadFile(path2 + "biosb.zip"), "PK\x03\x04 not really a zip");
}

}  // namespace
}  // namespace kestrel::testing
