#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedb/game_list_reading.h"

namespace kestrel {
namespace {

using testing::Describe;
using testing::Outcome;
using testing::ReadList;

// lists/mame.xml: a -listxml in MAME's shape, with a byte order mark, a
// DTD subset, a BIOS, a device, a disk, a nodump ROM and entities.
TEST(XmlGameListTest, ReadsMameListXml) {
  Outcome read = ReadList(testing::ListFile("mame.xml"));
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(Describe(read.games),
            (std::vector<std::string>{
                "neogeo 'Neo-Geo MV-6F' parent -@-1 samples - rom sp-s2.sp1:131072:9036d879",
                "bad&odd 'Caf\xC3\xA9 <A> \"Q\" 's'' parent +neogeo@-1 samples - rom nodump.bin:1024:0:nodump "
                "rom sp-s2.sp1:131072:9036d879 sample shot",
                "ymdev 'YM' parent -@-1 samples +ym rom ym.bin:16:ab",
            }));
}

// A list saved as UTF-16 in either byte order is read as XML; with romof
// read as the parent (as here for the big-endian one), romof names it.
TEST(XmlGameListTest, ReadsUtf16ListsOfEitherByteOrder) {
  const std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-16\"?><mame><machine name=\"g\" romof=\"p\">"
                          "<description>G</description><rom name=\"r\" size=\"1\" crc=\"1\"/></machine></mame>";
  for (bool bigEndian : {false, true}) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : xml) bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    testing::TempFolder dir;
    testing::WriteFile(dir / "list.xml", bytes);
    Outcome read = ReadList(dir / "list.xml", bigEndian);
    ASSERT_TRUE(read.ok && read.games.size() == 1u) << bigEndian;
    EXPECT_EQ(read.games[0].cloneOf, bigEndian ? "p" : "");
  }
}

// Damaged and hostile documents: the golden record list_faults.

}  // namespace
}  // namespace kestrel
