#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamedb/game_list_reading.h"
#include "gamedb/next_token.h"
#include "gamedb/xml_game_list.h"

namespace kestrel {
namespace {

using testing::Describe;
using testing::Outcome;
using testing::ReadList;
using testing::TempFolder;

// Text lists as editors and old tools leave them: Windows line ends, quotes
// escaped or left open, empty and sizeless entries, and values cut at the
// bound, told once for all of them.
TEST(OddListFormsTest, ReadsTextListsAsEditorsLeaveThem) {
  std::string cut(DatfileStream::kMaxTokenLength + 1, 'x');
  TempFolder folder;
  testing::WriteFile(folder / "list.dat",
      "game (\r\n\tname \"say \\\"hi\\\"  \"\r\n\tdescription Open\r\n\tsampleof snd\r\n"
      "\trom ( name r0 size 0 crc 1 )\r\n\trom ( name r1 size -4 crc 1 )\r\n"
      "\trom ( name r2 size 4 crc32 0xAB )\r\n\tsample \"\" sample s1\r\n)\r\n"
      "game ( name half description \"Half open\n rom ( name \"q r\" size 2 crc 2 ) )\n"
      "game ( name long1 description " + cut + "\n rom ( name r size 1 crc 3 ) )\n"
      "game ( name long2 description d\n rom ( name " + cut + " size 1 crc 4 ) )\n"
      "game ( name cutoff description e rom ( name r size 1 crc 5 )\n");
  Outcome read = ReadList(folder / "list.dat");
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(Describe(read.games),
            (std::vector<std::string>{
                "say \\\"hi\\\" 'Open' parent -@-1 samples +snd rom r2:4:ab sample s1",
                "half '\"Half' parent -@-1 samples - rom q r:2:2",
                "long1 '" + cut.substr(1) + "' parent -@-1 samples - rom r:1:3",
                "long2 'd' parent -@-1 samples - rom " + cut.substr(1) + ":1:4",
            }));
  EXPECT_EQ(read.messages, (std::vector<std::string>{"Text longer than 1048576 bytes cut in game list: \n\n'" +
                                                     folder / "list.dat" + "'\n\nline 12 (and 1 more) !"}));
}

// XML lists with markup inside a title, "romof" naming the parent when asked
// to, entries that name or hold nothing, and a title beyond the bound.
TEST(OddListFormsTest, ReadsXmlListsWithOddEntries) {
  const std::string xml =
      "\r\n\t <datafile>\n"
      "<game name=\"a\" cloneof=\"p\" romof=\"q\"><description>Moon<i>lit</i> Patrol \t</description>"
      "<rom name=\"r0\" size=\"0\" crc=\"1\"/><rom name=\"r1\" size=\"-3\" crc=\"1\"/>"
      "<rom name=\"r2\" size=\"2\" crc=\"2\"/></game>\n"
      "<game name=\"b\" cloneof=\"p\"><description>B</description><rom name=\"r\" size=\"1\" crc=\"3\"/></game>\n"
      "<game name=\"\"><description>N</description><rom name=\"r\" size=\"1\" crc=\"4\"/></game>\n"
      "<game name=\"d\"><description></description><rom name=\"r\" size=\"1\" crc=\"5\"/></game>\n"
      "</datafile>\n";
  Outcome read = testing::ReadListText(xml, true);
  ASSERT_TRUE(read.ok);
  EXPECT_EQ(Describe(read.games), (std::vector<std::string>{"a 'Moon Patrol' parent +q@-1 samples - rom r2:2:2",
                                                            "b 'B' parent +p@-1 samples - rom r:1:3"}));
  // Cancelled after the first set: no list and no word of damage.
  Outcome cancelled = testing::ReadListText(xml, true, 1);
  EXPECT_FALSE(cancelled.ok);
  EXPECT_TRUE(cancelled.messages.empty());

  Outcome longTitle = testing::ReadListText("<datafile>\n<game name=\"g\"><description>" +
                                            std::string(kMaxXmlValueLength + 1, 't') + "</description></game>");
  EXPECT_FALSE(longTitle.ok);
  ASSERT_EQ(longTitle.messages.size(), 1u);
  EXPECT_NE(longTitle.messages[0].find("line 2: value longer than 1048576 bytes !"), std::string::npos);
}

}  // namespace
}  // namespace kestrel
