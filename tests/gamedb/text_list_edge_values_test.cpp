#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedb/game_list_reading.h"
#include "gamedb/next_token.h"

namespace kestrel {
namespace {

using testing::Describe;
using testing::Outcome;

// Empty references name no set, even when "romof" names the parent; a
// value of exactly the bound is whole, and a single cut one is told alone.
TEST(TextListEdgeValuesTest, EmptyReferencesNameNothingAndOnlyLongerValuesAreCut) {
  const std::string whole(DatfileStream::kMaxTokenLength, 'w');
  const std::string cut = whole + "x";
  testing::TempFolder folder;
  testing::WriteFile(folder / "list.dat",
                     "game ( name a description A sampleof \"\" romof \"\" rom ( name r size 1 crc 1 ) )\n"
                     "game ( name b description " + whole + " rom ( name r size 1 crc 2 ) )\n"
                     "game ( name c description C\n rom ( name " + cut + " size 1 crc 3 ) )\n");
  Outcome read = testing::ReadList(folder / "list.dat", true);
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(Describe(read.games), (std::vector<std::string>{
                                      "a 'A' parent -@-1 samples - rom r:1:1",
                                      "b '" + whole + "' parent -@-1 samples - rom r:1:2",
                                      "c 'C' parent -@-1 samples - rom " + whole + ":1:3",
                                  }));
  EXPECT_EQ(read.messages, (std::vector<std::string>{"Text longer than 1048576 bytes cut in game list: \n\n'" +
                                                     folder / "list.dat" + "'\n\nline 4 !"}));
}

}  // namespace
}  // namespace kestrel
