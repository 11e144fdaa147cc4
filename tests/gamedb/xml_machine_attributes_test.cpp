#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedb/game_list_reading.h"

namespace kestrel {
namespace {

// With "romof" read as the parent, an empty one still names it: no parent.
// A BIOS set is one by its own word, even when no set uses it, and a MAME
// machine naming itself as sample source in another case has its own samples.
TEST(XmlMachineAttributesTest, KeepsBiosMarksEmptyRomOfAndOwnSamplesWithoutCase) {
  testing::Outcome valid = testing::ReadAndValidate(
      "<mame>\n"
      "<machine name=\"bios\" isbios=\"yes\"><description>Bios</description><rom name=\"b\" size=\"1\" crc=\"1\"/>"
      "</machine>\n"
      "<machine name=\"Self\" sampleof=\"self\" cloneof=\"p\" romof=\"\"><description>Self</description>"
      "<rom name=\"s\" size=\"1\" crc=\"2\"/><sample name=\"x\"/></machine>\n"
      "<machine name=\"p\"><description>P</description><rom name=\"r\" size=\"1\" crc=\"3\"/></machine>\n"
      "</mame>\n",
      true);
  std::vector<std::string> lines = testing::Describe(valid.games);
  for (size_t i = 0; i < lines.size(); ++i) lines[i] += valid.games[i].isBios ? " bios" : "";
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "bios 'Bios' parent -@-1 samples - rom b:1:1 bios",
                       "p 'P' parent -@-1 samples - rom r:1:3",
                       "Self 'Self' parent -@-1 samples - rom s:1:2 sample x",
                   }));
  EXPECT_TRUE(valid.messages.empty());
}

}  // namespace
}  // namespace kestrel
