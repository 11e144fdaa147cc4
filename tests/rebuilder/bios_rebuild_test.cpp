#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "settings/layout_codes.h"
#include "platform/file_system.h"
#include "rebuilder/rebuild_fixture.h"
#include "support/bios_family.h"

namespace kestrel::testing {
namespace {

// The CRC-32 of each file, short enough to read in a failure.
std::map<std::string, uint32_t> Crcs(const Files& files) {
  std::map<std::string, uint32_t> crcs;
  for (const auto& [name, data] : files) crcs[name] = CrcOf(data);
  return crcs;
}

class BiosRebuildTest : public RebuildTest {
 protected:
  // Rebuilds into an empty destination from every content of the list,
  // each once under a name no ROM has (the BIOS sets' contents in a zip,
  // the games' own as loose files), and compares the result with `expected`.
  void RebuildAndCompare(int layout, const Collection& expected) {
    ClearDestination();
    Files zipped, expectedTree;
    for (uint32_t crc : {0xa1a1a1a1u, 0xa2a2a2a2u, 0xb1b1b1b1u, 0xb2b2b2b2u})
      zipped["bios" + std::to_string(crc)] = BiosFamilyData(crc);
    WriteZip(sources + "bios.zip", zipped);
    for (uint32_t crc : {0x0a0a0a01u, 0x0a0a0a02u, 0x0a0a0a21u, 0x0b0b0b01u, 0x0b0b0bffu, 0x0b0b0b21u})
      WriteFile(sources + "game" + std::to_string(crc), BiosFamilyData(crc));
    settings.rebuildMergeMode = kToolLayoutCodes[layout];
    EXPECT_TRUE(Rebuild().completed);
    for (const auto& [set, members] : expected)
      for (const auto& [member, data] : members) expectedTree[set + ".zip:" + member] = data;
    EXPECT_EQ(Crcs(Tree(destination)), Crcs(expectedTree)) << "layout " << layout;
    EXPECT_TRUE(ui.messages.empty());
    // A source is removed only when every placement it served was written,
    // so a BIOS ROM gathered twice for one zip keeps its source.
    if (settings.rebuildRemoveSources) {
      EXPECT_FALSE(FolderExists(sources)) << "a source was kept";
    }
  }

  const std::string sources = source + "in/";
};

TEST_F(BiosRebuildTest, BuildsTheCompleteCollectionOfEachLayoutFromEveryContentOnce) {
  settings.rebuildRemoveSources = true;
  for (const std::string& list : {BiosFamilyText(), BiosFamilyXml()}) {
    LoadList(list);
    for (int layout : {0, 1, 2}) RebuildAndCompare(layout, BiosFamilyCollection(layout));
  }
  // With no BIOS set selected, the ROMs the games take from them still go
  // there; what only a BIOS set lists does not (its source stays).
  settings.rebuildRemoveSources = false;
  for (GameSet& game : database) game.selected = !game.isBios;
  for (int layout : {1, 2}) {
    Collection expected = BiosFamilyCollection(layout);
    expected["biosb"].erase("shared.bin");
    RebuildAndCompare(layout, expected);
  }
}

}  // namespace
}  // namespace kestrel::testing
