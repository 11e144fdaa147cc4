#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedb/game_list_reading.h"
#include "gamedb/next_token.h"

namespace kestrel {
namespace {

// Empty references name no set, even when "romof" names the parent; a
// value of exactly the bound is whole, and a single cut one is told alone.
TEST(ListEdgeValuesTest, EmptyReferencesNameNothingAndOnlyLongerValuesAreCut) {
  const std::string whole(DatfileStream::kMaxTokenLength, 'w');
  const std::string cut = whole + "x";
  testing::TempFolder folder;
  testing::WriteFile(folder / "list.dat",
                     "game ( name a description A sampleof \"\" romof \"\" rom ( name r size 1 crc 1 ) )\n"
                     "game ( name b description " + whole + " rom ( name r size 1 crc 2 ) )\n"
                     "game ( name c description C\n rom ( name " + cut + " size 1 crc 3 ) )\n");
  testing::Outcome read = testing::ReadList(folder / "list.dat", true);
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(testing::Describe(read.games), (std::vector<std::string>{
                                      "a 'A' parent -@-1 samples - rom r:1:1",
                                      "b '" + whole + "' parent -@-1 samples - rom r:1:2",
                                      "c 'C' parent -@-1 samples - rom " + whole + ":1:3",
                                  }));
  EXPECT_EQ(read.messages, (std::vector<std::string>{"Text longer than 1048576 bytes cut in game list: \n\n'" +
                                                     folder / "list.dat" + "'\n\nline 4 !"}));
}

// A sample source must hold its own samples, not use another set's; a
// parent that names itself in its own case makes only its own reference
// useless, while a set naming it in another case just has a bad parent.
// Descriptions and ROM names differing only in case are no doubles.
TEST(ListEdgeValuesTest, TellsSampleSourcesOfSampleSourcesAndSelfNamingParents) {
  testing::Outcome valid = testing::ReadAndValidate(
      "game ( name a description A cloneof X rom ( name r size 1 crc 1 ) )\n"
      "game ( name b description B sampleof c rom ( name r size 1 crc 2 ) sample b1 )\n"
      "game ( name c description C sampleof d rom ( name r size 1 crc 3 ) sample c1 )\n"
      "game ( name d description D rom ( name r size 1 crc 4 ) rom ( name R size 1 crc 6 ) sample d1 )\n"
      "game ( name e description x rom ( name r size 1 crc 7 ) )\n"
      "game ( name x description X cloneof x rom ( name r size 1 crc 5 ) )\n");
  EXPECT_EQ(valid.messages, (std::vector<std::string>{
                                "Parentfolder: \n\n'X'\n\nof gameset: \n\n'A'\n\nhas bad parent-information !",
                                "Alternative Samplefolder: \n\n'c'\n\nof gameset: \n\n'B'\n\nhas bad sample-information !",
                                "Parentfolder: \n\n'x'\n\nof gameset: \n\n'X'\n\n is useless !",
                            }));
  EXPECT_EQ(testing::Describe(valid.games), (std::vector<std::string>{
                                                "a 'A' parent -@-1 samples - rom r:1:1",
                                                "b 'B' parent -@-1 samples - rom r:1:2 sample b1",
                                                "c 'C' parent -@-1 samples +d rom r:1:3 sample c1",
                                                "d 'D' parent -@-1 samples - rom R:1:6 rom r:1:4 sample d1",
                                                "e 'x' parent -@-1 samples - rom r:1:7",
                                                "x 'X' parent -@-1 samples - rom r:1:5",
                                            }));
}

// With "romof" read as the parent, an empty one still names it: no parent.
// A BIOS set is one by its own word, even when no set uses it, and a MAME
// machine naming itself as sample source in another case has its own samples.
TEST(ListEdgeValuesTest, KeepsBiosMarksEmptyRomOfAndOwnSamplesWithoutCase) {
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
