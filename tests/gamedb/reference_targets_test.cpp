#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedb/game_list_reading.h"

namespace kestrel {
namespace {

// A sample source must hold its own samples, not use another set's; a
// parent that names itself in its own case makes only its own reference
// useless, while a set naming it in another case just has a bad parent.
// Descriptions and ROM names differing only in case are no doubles.
TEST(ReferenceTargetsTest, TellsSampleSourcesOfSampleSourcesAndSelfNamingParents) {
  testing::Outcome valid = testing::ReadAndValidate(
      "game ( name a description A cloneof X rom ( name r size 1 crc 1 ) )\n"
      "game ( name b description B sampleof c rom ( name r size 1 crc 2 ) sample b1 )\n"
      "game ( name c description C sampleof d rom ( name r size 1 crc 3 ) sample c1 )\n"
      "game ( name d description D rom ( name r size 1 crc 4 ) rom ( name R size 1 crc 6 ) sample d1 )\n"
      "game ( name e description b rom ( name r size 1 crc 7 ) )\n"
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
                                                "e 'b' parent -@-1 samples - rom r:1:7",
                                                "x 'X' parent -@-1 samples - rom r:1:5",
                                            }));
}

}  // namespace
}  // namespace kestrel
