// What the command line cannot show of reading a list: the bound of one
// value (a megabyte, too large for a scenario), a list of many megabytes on
// one line, and a cancel part-way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedb/datfile_parser.h"
#include "gamedb/game_list_reading.h"
#include "gamedb/next_token.h"

namespace kestrel {
namespace {

using testing::Outcome;
using testing::ReadListText;

// A value of exactly the bound is whole; longer ones are cut to it and told
// once for all, at the first line; the rest of the block is still read.
TEST(ListLimitsTest, CutsOnlyValuesLongerThanTheBoundAndTellsThemOnce) {
  const std::string whole(DatfileStream::kMaxTokenLength, 'w');
  Outcome read = ReadListText("game ( name b description " + whole + " rom ( name r size 1 crc 2 ) )\n"
                              "game ( name c description C\n rom ( name " + whole + "x size 1 crc 3 ) )\n"
                              "game ( name " + whole + "y description D rom ( name r size 1 crc 4 ) )\n");
  ASSERT_EQ(read.games.size(), 3u);
  EXPECT_EQ(read.games[0].description, whole);
  EXPECT_EQ(read.games[1].roms.at(0).name, whole);
  EXPECT_EQ(read.games[2].name, whole);
  EXPECT_EQ(read.games[2].roms.at(0).crc, 4u);
  ASSERT_EQ(read.messages.size(), 1u);
  EXPECT_NE(read.messages[0].find("Text longer than 1048576 bytes cut in game list: \n\n'"), std::string::npos);
  EXPECT_NE(read.messages[0].find("list.dat'\n\nline 3 (and 1 more) !"), std::string::npos) << read.messages[0];
}

// Some lists put every game on one line: all of it is read.
TEST(ListLimitsTest, ReadsAListOfManyMegabytesOnOneLine) {
  std::string oneLine;
  for (int i = 0; i < 60000; ++i) {
    oneLine += "game ( name g" + std::to_string(i) + " description \"Game " + std::to_string(i) +
               "\" rom ( name r.bin size 1024 crc 1234abcd ) ) ";
  }
  ASSERT_GT(oneLine.size(), size_t{5} << 20);
  EXPECT_EQ(ReadListText(oneLine + "\n").games.size(), 60000u);
}

// A line of tens of megabytes is kept in the room it needs, not in a
// string grown by doubling, and the lines after it read on from its end.
TEST(ListLimitsTest, KeepsAnOverlongLineInItsOwnLengthAndReadsOnAfterIt) {
  const std::string longLine(size_t{40} << 20, 'x');
  testing::TempFolder folder;
  testing::WriteFile(folder / "list.dat", "first\r\n" + longLine + "\r\nlast");
  DatfileStream stream;
  ASSERT_TRUE(stream.Open(folder / "list.dat"));
  std::string line;
  ASSERT_TRUE(stream.ReadLine(line) && line == "first");
  ASSERT_TRUE(stream.ReadLine(line));
  EXPECT_TRUE(line == longLine);
  EXPECT_LT(line.capacity(), longLine.size() + (size_t{2} << 20));
  ASSERT_TRUE(stream.ReadLine(line));
  EXPECT_EQ(line, "last");
  EXPECT_LT(line.capacity(), size_t{1} << 20);  // the long line's room is given back
  EXPECT_FALSE(stream.ReadLine(line));
}

// Cancelled part-way, a text list keeps what was read and an XML list gives
// nothing; neither tells of damage. No file is no list and no message.
TEST(ListLimitsTest, ACancelOrAMissingFileGivesNoListAndNoMessage) {
  const std::string game = "game ( name ok description \"Ok\" rom ( name r size 1 crc 1 ) )\n";
  Outcome text = ReadListText(game + game + game, false, 2);
  EXPECT_FALSE(text.ok);
  EXPECT_EQ(text.games.size(), 2u);
  Outcome xml = ReadListText("<datafile><game name=\"a\"><description>A</description><rom name=\"r\" size=\"1\" "
                             "crc=\"1\"/></game><game name=\"b\"><description>B</description></game></datafile>",
                             false, 1);
  EXPECT_FALSE(xml.ok);
  EXPECT_TRUE(text.messages.empty() && xml.messages.empty());
  auto progress = OpenProgressDialog(nullptr, "");
  GameList games(1);
  ListMessages messages;
  EXPECT_FALSE(ParseDatfile(games, "/nonexistent/folder/list.dat", *progress, false, messages));
  EXPECT_TRUE(games.empty() && messages.empty());
}

// Only a RAINE's listing reads "romof" as the parent; there it wins over
// "cloneof", an empty one names no parent, and the parent names no BIOS set.
TEST(ListLimitsTest, RomOfReadAsTheParent) {
  Outcome read = ReadListText("game ( name c description d cloneof a romof b rom ( name r size 1 crc 1 ) )\n"
                              "game ( name e description E cloneof b romof \"\" rom ( name r size 1 crc 2 ) )\n"
                              "game ( name b description B rom ( name r size 1 crc 3 ) )\n", true);
  ASSERT_EQ(read.games.size(), 3u);
  EXPECT_EQ(read.games[0].cloneOf + "|" + read.games[1].cloneOf, "b|");
  Outcome valid = testing::Validate(read.games, kShowSetErrors);
  ASSERT_EQ(testing::Names(valid.games), (std::vector<std::string>{"b", "c", "e"}));
  EXPECT_EQ(valid.games[1].parentIndex, 0);
  EXPECT_EQ(valid.games[1].biosIndex, -1);
  EXPECT_FALSE(valid.games[0].isBios);
  EXPECT_EQ(ReadListText("<mame><machine name=\"g\" cloneof=\"p\" romof=\"q\"><description>G</description>"
                         "<rom name=\"r\" size=\"1\" crc=\"1\"/></machine></mame>", true).games.at(0).cloneOf, "q");
}

}  // namespace
}  // namespace kestrel
