#include "settings/profile_fields.h"

#include <gtest/gtest.h>

#include <map>

namespace kestrel {
namespace {

TEST(ProfileFieldsTest, ShowsEveryStoredFieldOnceWithListsAndSelection) {
  SettingsRecord r;
  r.romPaths = {{"/roms/", true}, {"/old/", false}};
  r.storedDataCrc = 0x1A2B;
  r.storedGameCount = 4;
  r.gameSelectionBytes = {1, 0, 1, 1};

  auto lines = DescribeProfileFields(r);
  std::map<std::string, std::string> byName;
  for (const auto& [name, value] : lines) {
    EXPECT_TRUE(byName.emplace(name, value).second) << "twice: " << name;
  }
  EXPECT_EQ(byName["romPaths"], "2 entries");
  EXPECT_EQ(byName["romPaths[0]"], "/roms/ (enabled)");
  EXPECT_EQ(byName["romPaths[1]"], "/old/ (disabled)");
  EXPECT_EQ(byName["storedDataCrc"], "0x00001a2b");
  EXPECT_EQ(byName["gameSelectionBytes"], "4 games, 3 selected");
  // 65 stored fields (the data CRC counted once) and two list entries.
  EXPECT_EQ(lines.size(), 65u + 2u);
  EXPECT_EQ(byName.count("loadedMameExe"), 0u);
}

}  // namespace
}  // namespace kestrel
