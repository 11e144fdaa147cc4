#include "gamedb/xml_game_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <regex>
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

// The text form of a Logiqx datfile, written line by line with patterns of
// its own, so that the XML reader is checked against something it did not
// produce. Values are quoted; the predefined entities are decoded.
std::string Unescape(std::string text) {
  static const std::pair<const char*, const char*> kEntities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [entity, character] : kEntities) {
    for (size_t at; (at = text.find(entity)) != std::string::npos;) text.replace(at, std::strlen(entity), character);
  }
  return text;
}

std::string LogiqxToText(const std::string& path) {
  std::ifstream in(path);
  const std::regex attribute(R"re((\w+)="([^"]*)")re");
  const std::regex description(R"re(^\s*<description>(.*)</description>)re");
  std::string text, line;
  bool inGame = false;
  auto fields = [&](const std::string& from, std::initializer_list<const char*> keys) {
    std::string out;
    for (auto it = std::sregex_iterator(from.begin(), from.end(), attribute); it != std::sregex_iterator(); ++it) {
      for (const char* key : keys) {
        if ((*it)[1] == key) out += std::string(" ") + key + " \"" + Unescape((*it)[2]) + "\"";
      }
    }
    return out;
  };
  std::smatch match;
  while (std::getline(in, line)) {
    if (line.find("<game ") != std::string::npos) {
      text += "game (" + fields(line, {"name", "cloneof", "sampleof"}) + "\n";
      inGame = true;
    } else if (!inGame) {
      continue;
    } else if (line.find("</game>") != std::string::npos) {
      text += ")\n";
      inGame = false;
    } else if (std::regex_search(line, match, description)) {
      text += " description \"" + Unescape(match[1]) + "\"\n";
    } else if (line.find("<rom ") != std::string::npos) {
      text += " rom (" + fields(line, {"name", "size", "crc"}) + " )\n";
    } else if (line.find("<sample ") != std::string::npos) {
      std::smatch name;
      if (std::regex_search(line, name, attribute)) text += " sample \"" + Unescape(name[2]) + "\"\n";
    }
  }
  return text;
}

// The one real list with every relation, read as XML and in the text form.
TEST(XmlGameListTest, RealListGivesTheSameDatabaseAsItsTextForm) {
  const std::string xml = testing::RealDatsFolder() + "libretro-database_MAME_2000_XML.dat";
  if (!FileExists(xml)) GTEST_SKIP() << "no real lists on this machine";
  Outcome fromXml = ReadList(xml);
  Outcome fromText = ReadListText(LogiqxToText(xml));
  ASSERT_TRUE(fromXml.ok);
  ASSERT_TRUE(fromText.ok);
  EXPECT_EQ(fromXml.games.size(), 2241u);
  EXPECT_EQ(Describe(fromXml.games), Describe(fromText.games));

  Outcome xmlDatabase = Validate(std::move(fromXml.games), kShowRomErrors);
  Outcome textDatabase = Validate(std::move(fromText.games), kShowRomErrors);
  EXPECT_EQ(Describe(xmlDatabase.games), Describe(textDatabase.games));
  EXPECT_EQ(xmlDatabase.messages, textDatabase.messages);
  size_t clones = 0, samples = 0;
  for (const GameSet& game : xmlDatabase.games) {
    clones += game.hasParent;
    samples += game.samples.size();
  }
  EXPECT_EQ(clones, 990u);
  EXPECT_EQ(samples, 1168u);
}

// A -listxml in MAME's shape: a DTD subset, a BIOS, a device, a disk, a
// nodump ROM and entities.
TEST(XmlGameListTest, ReadsMameListXml) {
  Outcome read = ReadListText(
      "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n"
      "<!DOCTYPE mame [\n<!ELEMENT mame (machine+)>\n<!ATTLIST mame build CDATA #IMPLIED>\n"
      "<!ATTLIST rom status (baddump|nodump|good) \"good\">\n]>\n"
      "<mame build=\"0.251 (unknown)\" debug=\"no\" mameconfig=\"10\">\n"
      "\t<machine name=\"neogeo\" sourcefile=\"neogeo/neogeo.cpp\" isbios=\"yes\">\n"
      "\t\t<description>Neo-Geo MV-6F</description>\n\t\t<year>1990</year>\n"
      "\t\t<manufacturer>SNK</manufacturer>\n"
      "\t\t<biosset name=\"euro\" description=\"Europe MVS (Ver. 2)\" default=\"yes\"/>\n"
      "\t\t<rom name=\"sp-s2.sp1\" bios=\"euro\" size=\"131072\" crc=\"9036d879\" sha1=\"4f5ed7105b7128794654ce82b51723e16e389543\" region=\"mainbios\" offset=\"0\"/>\n"
      "\t\t<device_ref name=\"z80\"/>\n\t\t<chip type=\"cpu\" tag=\"maincpu\" name=\"68000\" clock=\"12000000\"/>\n"
      "\t</machine>\n"
      "\t<machine name=\"bad&amp;odd\" cloneof=\"neogeo\" romof=\"neogeo\" sampleof=\"  \">\n"
      "\t\t<description>Caf&#233; &lt;&#x41;&gt; &quot;Q&quot; &apos;s&apos;  </description>\n"
      "\t\t<rom name=\"nodump.bin\" size=\"1024\" status=\"nodump\" region=\"gfx\"/>\n"
      "\t\t<rom name=\"sp-s2.sp1\" merge=\"sp-s2.sp1\" size=\"131072\" crc=\"9036D879\"/>\n"
      "\t\t<rom name=\"zero.bin\" size=\"0\" crc=\"12345678\"/>\n"
      "\t\t<rom size=\"16\" crc=\"12345678\"/>\n"
      "\t\t<disk name=\"cd\" sha1=\"0123\" region=\"cdrom\" index=\"0\"/>\n"
      "\t\t<part name=\"p\"><rom name=\"deep.bin\" size=\"4\" crc=\"1\"/><description>Deep</description></part>\n"
      "\t\t<sample name=\"shot\"/><sample name=\"\"/>\n"
      "\t</machine>\n"
      "\t<machine name=\"z80\" isdevice=\"yes\" runnable=\"no\"><description>Zilog Z80</description></machine>\n"
      "\t<machine name=\"nodesc\"><rom name=\"a\" size=\"1\" crc=\"1\"/></machine>\n"
      "\t<machine name=\"ymdev\" isdevice=\"yes\" runnable=\"no\" sampleof=\"ym\">\n"
      "\t\t<description>YM</description><rom name=\"ym.bin\" size=\"16\" crc=\"0xAB\"/>\n"
      "\t</machine>\n"
      "</mame>\n");
  ASSERT_TRUE(read.ok);
  EXPECT_TRUE(read.messages.empty());
  EXPECT_EQ(Describe(read.games),
            (std::vector<std::string>{
                "neogeo 'Neo-Geo MV-6F' parent -@-1 samples - rom sp-s2.sp1:131072:9036d879",
                "bad&odd 'Caf\xC3\xA9 <A> \"Q\" 's'' parent +neogeo@-1 samples - rom nodump.bin:1024:0:nodump "
                "rom sp-s2.sp1:131072:9036d879 sample shot",
                "ymdev 'YM' parent -@-1 samples +ym rom ym.bin:16:ab",
            }));
}

// Damaged and hostile documents fail with the file and the line named,
// without a crash, a hang or a large allocation.
TEST(XmlGameListTest, RefusesDamagedAndHostileDocuments) {
  const std::string game = "<game name=\"a\"><description>A</description><rom name=\"r\" size=\"1\" crc=\"1\"/></game>\n";
  std::string laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE d [\n<!ENTITY l0 \"ha\">\n";
  for (int i = 1; i < 10; ++i) {
    laughs += "<!ENTITY l" + std::to_string(i) + " \"";
    for (int j = 0; j < 10; ++j) laughs += "&l" + std::to_string(i - 1) + ";";
    laughs += "\">\n";
  }
  laughs += "]>\n<datafile>" + game + "<game name=\"b\"><description>&l9;</description></game></datafile>\n";
  std::string deep = "<datafile>\n" + game;
  for (int i = 0; i < 100000; ++i) deep += "<x>";

  struct Case {
    const char* what;
    std::string xml;
    std::string fault;
  };
  const Case cases[] = {
      {"not well-formed", "<datafile>\n" + game + "<game name=\"b\"></gam>\n</datafile>", "line 3: mismatched tag"},
      {"truncated", "<datafile>\n" + game + game + "<game name=\"c\"><rom name=", "line 4: "},
      {"entity bomb", laughs, "line 3: entity declarations are not allowed"},
      {"deep nesting", deep, "line 3: elements nested deeper than 256"},
      {"long attribute", "<datafile>\n\n" + game + "<game name=\"" + std::string(2 << 20, 'n') + "\"/></datafile>",
       "line 4: value longer than 1048576 bytes"},
      {"long text", "<datafile>\n<game name=\"d\"><description>" + std::string(3 << 20, 'd') + "</description></game></datafile>",
       "line 2: value longer than 1048576 bytes"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Outcome read = ReadListText(c.xml);
    EXPECT_FALSE(read.ok);
    ASSERT_EQ(read.messages.size(), 1u);
    EXPECT_EQ(read.messages[0].rfind("Damaged XML game list: \n\n'", 0), 0u) << read.messages[0];
    EXPECT_NE(read.messages[0].find("list.dat'\n\n" + c.fault), std::string::npos) << read.messages[0];
  }
}

// The form is told by the content, not by the name.
TEST(XmlGameListTest, ChoosesTheFormByContent) {
  TempFolder folder;
  testing::WriteFile(folder / "list.xml", "game ( name t description T rom ( name r size 1 crc 1 ) )\n");
  testing::WriteFile(folder / "list.dat", " \r\n\t<datafile><game name=\"x\"><description>X</description>"
                                          "<rom name=\"r\" size=\"1\" crc=\"1\"/></game></datafile>");
  EXPECT_EQ(testing::Names(ReadList(folder / "list.xml").games), std::vector<std::string>{"t"});
  EXPECT_EQ(testing::Names(ReadList(folder / "list.dat").games), std::vector<std::string>{"x"});
}

}  // namespace
}  // namespace kestrel
