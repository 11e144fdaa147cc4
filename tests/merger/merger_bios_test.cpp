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
};

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
  EXPECT_EQ(told(), 1);
  Run(MergeButton::kUnmerge);
  EXPECT_EQ(told(), 2);
  EXPECT_EQ(ReadFile(path2 + "biosb.zip"), "PK\x03\x04 not really a zip");
}

}  // namespace
}  // namespace kestrel::testing
