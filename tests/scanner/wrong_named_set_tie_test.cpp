// Which set a wrong-named folder is taken for when its files point at two:
// the one with more files, or on a tie the one met first.

#include <gtest/gtest.h>

#include "gamedb/crc_index.h"
#include "platform/file_system.h"
#include "scanner/wrong_named_set_check.h"
#include "support/crc_data.h"
#include "support/game_records.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

TEST(WrongNamedSetTieTest, MoreFilesWinAndOnATieTheFirstMet) {
  GameList database(2);
  database[0].name = "one";
  database[0].roms = {testing::Rom("x", 1, testing::CrcOf("X"))};
  database[1].name = "two";
  database[1].roms = {testing::Rom("y", 1, testing::CrcOf("Y")), testing::Rom("z", 1, testing::CrcOf("Z"))};
  std::vector<CrcIndexEntry> crcIndex;
  std::vector<ZeroCrcIndexEntry> zeroIndex;
  BuildCrcIndex(database, crcIndex, zeroIndex);
  testing::TempFolder temp;
  auto identify = [&](const std::string& folder, const std::vector<std::string>& contents) {
    for (size_t i = 0; i < contents.size(); ++i) testing::WriteFile(temp / folder + std::to_string(i), contents[i]);
    auto set = IdentifyWrongNamedSet(RealFileSystem(), temp / folder + "/", crcIndex, ZipHeaderCheck::kLocalHeaders);
    return set ? set->foundName + " -> " + set->rightName : "none";
  };
  EXPECT_EQ(identify("tie/", {"Y", "X"}), "tie -> two");
  EXPECT_EQ(identify("tie2/", {"X", "Y"}), "tie2 -> one");
  EXPECT_EQ(identify("most/", {"X", "Y", "Z"}), "most -> two");
}

}  // namespace
}  // namespace kestrel
