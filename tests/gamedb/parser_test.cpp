#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedb/datfile_parser.h"
#include "gamedb/game_list_reading.h"

namespace kestrel {
namespace {

using testing::Describe;
using testing::Outcome;
using testing::ReadListText;

// lists/blocks.dat: a header block, blocks without a name, a size, a
// description or parentheses, values that look like keywords, a set listed
// twice, every number form and a ROM whose second crc is unreadable.
TEST(ParseDatfileTest, KeepsCompleteBlocksWithTheirFieldsAndNumberForms) {
  Outcome parsed = testing::ReadList(testing::ListFile("blocks.dat"));
  ASSERT_TRUE(parsed.ok);
  // A nested block's "name" is not the set's; values that look like keywords
  // are only values; a set listed twice stays twice (validation decides).
  EXPECT_EQ(Describe(parsed.games),
            (std::vector<std::string>{
                "pacman 'Pac-Man (Midway)' parent +puckman@-1 samples +pacsnd rom pm.6e:4096:c1e6ab10 "
                "rom pm.6f:4096:1a6fb2d4 sample chomp",
                "rom 'sample' parent -@-1 samples - rom rom:8:0:nodump sample rom",  // no crc: no known dump
                "pacman 'Again \\\"quoted\\\"' parent -@-1 samples - rom b:1:1",  // a quote after a backslash is text
                "n 'd' parent -@-1 samples - rom prefixed:10:8e68533e rom zero:10:0:nodump "
                "rom huge:2147483647:ffffffff rom badcrc:3:1"}));  // an unreadable value keeps the earlier one
  EXPECT_EQ(parsed.games[0].romCount + 10 * parsed.games[0].sampleCount, 12);
  EXPECT_EQ(parsed.games[0].roms[1].crcComplement, ~0x1A6FB2D4u);

  // With romof read as the parent, it wins over cloneof.
  const std::string romOf = "game ( name c description d cloneof a romof b rom ( name r size 1 crc 1 ) )\n";
  EXPECT_EQ(ReadListText(romOf, false).games[0].cloneOf, "a");
  EXPECT_EQ(ReadListText(romOf, true).games[0].cloneOf, "b");
}

// The keywords ignore case: a list written in capitals, as some tools write
// it, reads exactly as its lower-case twin. Values keep their case.
TEST(ParseDatfileTest, ReadsKeywordsInAnyCase) {
  Outcome expected = testing::ReadList(testing::ListFile("keywords.dat"), true);
  Outcome capitals = testing::ReadList(testing::ListFile("keywords-capitals.dat"), true);
  ASSERT_EQ(expected.games.size(), 3u);
  EXPECT_EQ(Describe(capitals.games), Describe(expected.games));
  EXPECT_EQ(Describe(testing::ReadList(testing::ListFile("keywords-capitals.dat"), false).games),
            Describe(testing::ReadList(testing::ListFile("keywords.dat"), false).games));  // CLONEOF alone
  ASSERT_EQ(capitals.games.size(), 3u);
  EXPECT_EQ(capitals.games[1].romOf, "Par");
  EXPECT_EQ(capitals.games[1].roms[0].merge, "p.1");
  EXPECT_TRUE(capitals.games[2].isBios);
}

// A stray ")" ends a block early and a block cut off by the end of the file
// is dropped; binary bytes are read past. Some lists put every game on one
// line: all of it is read. Only a single token is bounded, and a cut one is
// reported, never silently. No file, no games or a cancel fail.
TEST(ParseDatfileTest, SurvivesDamagedTextAndFailsWithoutGames) {
  const std::string good = "game ( name ok description \"Ok\" rom ( name r size 1 crc 1 ) )\n";
  Outcome damaged = ReadListText("game ( name a ) description x rom ( name r size 1 ) ) )\n" + good +
                                 "game ( name cut description \"Cut\" rom ( name r size 1 crc 1 ) \n");
  EXPECT_TRUE(damaged.ok);
  EXPECT_EQ(testing::Names(damaged.games), std::vector<std::string>{"ok"});
  std::string binary;
  for (int i = 0; i < 70000; ++i) binary += static_cast<char>((i * 7919) & 0xFF);
  EXPECT_TRUE(ReadListText(binary + "\n" + good).ok);

  std::string oneLine;
  for (int i = 0; i < 60000; ++i) {
    oneLine += "game ( name g" + std::to_string(i) + " description \"Game " + std::to_string(i) +
               "\" rom ( name r.bin size 1024 crc 1234abcd ) ) ";
  }
  ASSERT_GT(oneLine.size(), size_t{5} << 20);
  Outcome all = ReadListText(oneLine + "\n");
  ASSERT_EQ(all.games.size(), 60000u);

  std::string huge(DatfileStream::kMaxTokenLength + 10, 'x');
  Outcome cut = ReadListText("\ngame ( name " + huge + " description " + huge +
                             " rom ( name r size 1 crc 1 ) ) game ( name b description B rom ( name r size 1 ) )\n");
  ASSERT_EQ(cut.games.size(), 2u);
  EXPECT_EQ(cut.games[0].name.size(), DatfileStream::kMaxTokenLength);
  ASSERT_EQ(cut.messages.size(), 1u);
  EXPECT_NE(cut.messages[0].find("list.dat'\n\nline 2 (and 1 more) !"), std::string::npos) << cut.messages[0];

  auto progress = OpenProgressDialog(nullptr, "");
  GameList games(1);
  ListMessages messages;
  EXPECT_FALSE(ParseDatfile(games, "/nonexistent/folder/list.dat", *progress, false, messages));
  EXPECT_TRUE(games.empty() && messages.empty());
  EXPECT_FALSE(ReadListText("emulator ( name x )\n").ok);
  Outcome cancelled = ReadListText(good + good + good, false, 2);
  EXPECT_FALSE(cancelled.ok);
  EXPECT_EQ(cancelled.games.size(), 2u);  // what was read stays
}

}  // namespace
}  // namespace kestrel
