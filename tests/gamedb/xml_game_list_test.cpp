#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedb/game_list_reading.h"

namespace kestrel {
namespace {

using testing::Describe;
using testing::Outcome;
using testing::ReadList;
using testing::ReadListText;
using testing::TempFolder;
using testing::Validate;

// A -listxml in MAME's shape: a DTD subset, a BIOS, a device, a disk, a
// nodump ROM and entities.
TEST(XmlGameListTest, ReadsMameListXml) {
  Outcome read = ReadListText(
      "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n"
      "<!DOCTYPE mame [\n<!ELEMENT mame (machine+)>\n<!ATTLIST rom status (baddump|nodump|good) \"good\">\n]>\n"
      "<mame build=\"0.251 (unknown)\" debug=\"no\" mameconfig=\"10\">\n"
      "\t<machine name=\"neogeo\" sourcefile=\"neogeo/neogeo.cpp\" isbios=\"yes\">\n"
      "\t\t<description>Neo-Geo MV-6F</description><year>1990</year><device_ref name=\"z80\"/>\n"
      "\t\t<rom name=\"sp-s2.sp1\" bios=\"euro\" size=\"131072\" crc=\"9036d879\" sha1=\"4f5ed7105b7128794654ce82b51723e16e389543\" region=\"mainbios\" offset=\"0\"/>\n"
      "\t</machine>\n"
      "\t<machine name=\"bad&amp;odd\" cloneof=\"neogeo\" romof=\"neogeo\" sampleof=\"  \">\n"
      "\t\t<description>Caf&#233; &lt;&#x41;&gt; &quot;Q&quot; &apos;s&apos;  </description>\n"
      "\t\t<rom name=\"nodump.bin\" size=\"1024\" status=\"nodump\" region=\"gfx\"/>\n"
      "\t\t<rom name=\"sp-s2.sp1\" merge=\"sp-s2.sp1\" size=\"131072\" crc=\"9036D879\"/>\n"
      "\t\t<rom size=\"16\" crc=\"12345678\"/>\n"
      "\t\t<disk name=\"cd\" sha1=\"0123\"/><part name=\"p\"><rom name=\"deep.bin\" size=\"4\" crc=\"1\"/></part>\n"
      "\t\t<sample name=\"shot\"/><sample name=\"\"/>\n"
      "\t</machine>\n"
      "\t<machine name=\"z80\" isdevice=\"yes\" runnable=\"no\"><description>Zilog Z80</description></machine>\n"
      "\t<machine name=\"ymdev\" isdevice=\"yes\" runnable=\"no\" sampleof=\"ym\">\n"
      "\t\t<description>YM</description><rom name=\"ym.bin\" size=\"16\" crc=\"0xAB\"/>\n"
      "\t</machine>\n"
      "</mame>\n");
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(Describe(read.games),
            (std::vector<std::string>{
                "neogeo 'Neo-Geo MV-6F' parent -@-1 samples - rom sp-s2.sp1:131072:9036d879",
                "bad&odd 'Caf\xC3\xA9 <A> \"Q\" 's'' parent +neogeo@-1 samples - rom nodump.bin:1024:0:nodump "
                "rom sp-s2.sp1:131072:9036d879 sample shot",
                "ymdev 'YM' parent -@-1 samples +ym rom ym.bin:16:ab",
            }));
}

// A list saved as UTF-16 in either byte order is read as XML.
TEST(XmlGameListTest, ReadsUtf16ListsOfEitherByteOrder) {
  const std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-16\"?><mame><machine name=\"g\">"
                          "<description>G</description><rom name=\"r\" size=\"1\" crc=\"1\"/></machine></mame>";
  for (bool bigEndian : {false, true}) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : xml) bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    testing::TempFolder dir;
    testing::WriteFile(dir / "list.xml", bytes);
    Outcome read = testing::ReadList(dir / "list.xml");
    EXPECT_TRUE(read.ok && read.games.size() == 1u) << bigEndian;
  }
}

// Damaged and hostile documents: the golden record list_faults.

}  // namespace
}  // namespace kestrel
