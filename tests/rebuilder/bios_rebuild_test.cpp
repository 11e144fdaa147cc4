#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "platform/file_system.h"
#include "rebuilder/rebuild_fixture.h"
#include "support/bios_family.h"

namespace kestrel::testing {
namespace {

using Files = std::map<std::string, std::string>;

// "set.zip:member" -> the CRC-32 of its data in hex, short enough to read
// in a failure.
Files WithCrcs(const Files& files) {
  Files crcs;
  for (const auto& [name, data] : files) {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", CrcOf(data));
    crcs[name] = hex;
  }
  return crcs;
}

// The collection as Tree() shows a destination of zips.
Files AsZips(const Collection& sets) {
  Files files;
  for (const auto& [set, members] : sets) {
    for (const auto& [member, data] : members) files[set + ".zip:" + member] = data;
  }
  return WithCrcs(files);
}

class BiosRebuildTest : public RebuildTest {
 protected:
  // Every content of the list once, under names no ROM has: the BIOS sets'
  // contents in a zip, the games' own as loose files.
  void WriteSources() {
    Files zipped;
    for (uint32_t crc : {0xa1a1a1a1u, 0xa2a2a2a2u, 0xb1b1b1b1u, 0xb2b2b2b2u})
      zipped["bios" + std::to_string(crc)] = BiosFamilyData(crc);
    WriteZip(sources + "bios.zip", zipped);
    for (uint32_t crc : {0x0a0a0a01u, 0x0a0a0a02u, 0x0a0a0a21u, 0x0b0b0b01u, 0x0b0b0bffu, 0x0b0b0b21u})
      WriteFile(sources + "game" + std::to_string(crc), BiosFamilyData(crc));
  }

  const std::string sources = source + "in/";
};

TEST_F(BiosRebuildTest, BuildsTheCompleteCollectionOfEachLayoutFromEveryContentOnce) {
  // A source is removed only when every placement it served was written,
  // so a BIOS ROM gathered twice for one zip keeps its source.
  settings.rebuildRemoveSources = true;
  for (const std::string& list : {BiosFamilyText(), BiosFamilyXml()}) {
    LoadList(list);
    for (int layout : {0, 1, 2}) {
      ClearDestination();
      WriteSources();
      settings.rebuildMergeMode = layout;
      EXPECT_TRUE(Rebuild().completed);
      EXPECT_EQ(WithCrcs(Tree(destination)), AsZips(BiosFamilyCollection(layout))) << "layout " << layout;
      EXPECT_FALSE(FolderExists(sources)) << "a source was kept, layout " << layout;
      EXPECT_TRUE(ui.messages.empty());
    }
  }
}

// The games' BIOS ROMs are placed, under their names there, even though no
// BIOS set is selected; what only a BIOS set lists is not.
TEST_F(BiosRebuildTest, FillsBiosSetsThatAreNotSelectedWithTheRomsTheirGamesUse) {
  LoadList(BiosFamilyText());
  for (GameSet& game : database) game.selected = !game.isBios;
  for (int layout : {1, 2}) {
    ClearDestination();
    WriteSources();
    settings.rebuildMergeMode = layout;
    EXPECT_TRUE(Rebuild().completed);
    Collection expected = BiosFamilyCollection(layout);
    expected["biosb"].erase("shared.bin");
    EXPECT_EQ(WithCrcs(Tree(destination)), AsZips(expected)) << "layout " << layout;
  }
}

}  // namespace
}  // namespace kestrel::testing
