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
    SetApplicationInterface(&ui);
    auto progress = OpenProgressDialog(&ui, "");
    GameList raw;
    EXPECT_TRUE(ParseGameList(raw, root / "list.dat", *progress, false));
    EXPECT_TRUE(ValidateGames(raw, database, *progress, kShowSetErrors));
    SetApplicationInterface(nullptr);
    fs::remove(root / "list.dat");
  }

  // The BIOS sets go to the second ROM path, the games to the first, so
  // that a BIOS ROM is looked for beyond the game's own path.
  void WriteCollection(const Collection& sets) {
    for (const auto& [name, members] : sets) WriteZip(name.rfind("bios", 0) == 0 ? path2 : path1, name, members);
  }

  // Every zip in both ROM paths; anything else, or a set in both, fails.
  Collection ReadCollection() {
    Collection sets;
    for (const std::string& folder : {path1, path2}) {
      for (const auto& entry : fs::directory_iterator(folder)) {
        std::string file = entry.path().filename().string();
        if (!entry.is_regular_file() || entry.path().extension() != ".zip") {
          ADD_FAILURE() << "unexpected " << folder << file;
          continue;
        }
        std::string set = entry.path().stem().string();
        EXPECT_EQ(sets.count(set), 0u) << set << " in both paths";
        sets[set] = ZipContents(entry.path().string());
      }
    }
    return sets;
  }
};

TEST_F(MergerBiosTest, MergingAndSplittingLeaveBiosRomsInTheBiosSets) {
  LoadList(BiosFamilyXml());
  WriteCollection(BiosFamilyCollection(kSplit));
  settings.mergeMode = 1;
  MergeOutcome merged = Run();
  EXPECT_EQ(merged.handled, (std::vector<std::string>{"gamea", "gameb", "gamec"}));
  EXPECT_EQ(ReadCollection(), BiosFamilyCollection(kMerged));

  settings.mergeMode = 0;
  Run();
  EXPECT_EQ(ReadCollection(), BiosFamilyCollection(kSplit));

  // From non-merged sets, whose BIOS copies Clean Set drops.
  for (const std::string& folder : {path1, path2}) {
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  WriteCollection(BiosFamilyCollection(kNonMerged));
  settings.mergeMode = 1;
  Run();
  EXPECT_EQ(ReadCollection(), BiosFamilyCollection(kMerged));
  EXPECT_TRUE(ui.messages.empty());
}

// The text form lists "biosa" as a resource; the database is the same.
TEST_F(MergerBiosTest, UnmergingTakesBiosRomsFromTheBiosSetsAndSplittingDropsThemWithCleanSet) {
  LoadList(BiosFamilyText());
  WriteCollection(BiosFamilyCollection(kSplit));
  Run(MergeButton::kUnmerge);
  EXPECT_EQ(ReadCollection(), BiosFamilyCollection(kNonMerged));

  // Without Clean Set a game's BIOS copies are files that stay, and a set
  // that is left no ROM (gamec) is left alone.
  settings.mergeMode = 0;
  settings.mergeCleanSet = false;
  Run();
  EXPECT_EQ(ReadCollection(), BiosFamilyCollection(kNonMerged));

  settings.mergeCleanSet = true;
  Run();
  EXPECT_EQ(ReadCollection(), BiosFamilyCollection(kSplit));
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace kestrel::testing
