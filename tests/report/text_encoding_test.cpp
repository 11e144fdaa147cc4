// Names on disk are bytes. CSV keeps them as they are; JSON and XML must be
// UTF-8, so a byte outside valid UTF-8 is written as its Latin-1 character.

#include <gtest/gtest.h>

#include "report/findings_table.h"
#include "report/logiqx_datfile.h"
#include "report/utf8_text.h"

namespace kestrel {
namespace {

TEST(TextEncodingTest, ValidUtf8IsKeptAndOtherBytesReadAsLatin1) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain", "plain"},
      {"caf\xC3\xA9", "caf\xC3\xA9"},                 // valid two-byte sequence
      {"\xE2\x82\xAC\xF0\x9F\x98\x80", "\xE2\x82\xAC\xF0\x9F\x98\x80"},  // three and four bytes
      {"caf\xE9", "caf\xC3\xA9"},                     // a lone Latin-1 byte
      {"\xC3", "\xC3\x83"},                           // a sequence cut off at the end
      {"\xC0\xAF", "\xC3\x80\xC2\xAF"},               // a lead byte only overlong forms have
      {"\xE0\x80\xAF", "\xC3\xA0\xC2\x80\xC2\xAF"},   // an overlong three-byte form
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80"},   // a surrogate
      {"\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xC2\x80\xC2\x80"},  // past U+10FFFF
  };
  for (const auto& [bytes, utf8] : cases) EXPECT_EQ(Utf8FromBytes(bytes), utf8) << bytes;
}

TEST(TextEncodingTest, TablesQuoteAndEscapeEachInTheirWay) {
  ResultsModel results;
  // set, parent, item, item type, expected size and CRC, found size and CRC, path
  const FindingDetail detail{"s\xE9t", "", "q\"", "", 7, {}, {}, 0xab, "a,\"b\"\nc"};
  AddResultLine(results, "unneeded file: a", kTopLevel, kResultUnneeded, true, true, detail);
  EXPECT_EQ(RenderFindingsCsv(results, "Unneeded Files/Folders: 1\n\n----------\n"),
            "set,parent,kind,item,item type,expected size,expected crc,found size,found crc,path,text\r\n"
            "s\xE9t,,unneeded file,\"q\"\"\",,7,,,000000ab,\"a,\"\"b\"\"\nc\",unneeded file: a\r\n"
            ",,statistic,Unneeded Files/Folders,,,,,,,1\r\n");
  EXPECT_EQ(RenderFindingsJson(results, ""),
            "{\"findings\": [\n  {\"set\": \"s\xC3\xA9t\", \"parent\": \"\", \"kind\": \"unneeded file\", "
            "\"item\": \"q\\\"\", \"item type\": \"\", \"expected size\": 7, \"expected crc\": null, "
            "\"found size\": null, \"found crc\": \"000000ab\", \"path\": \"a,\\\"b\\\"\\u000ac\", "
            "\"text\": \"unneeded file: a\"}\n],\n\"statistics\": {}}\n");
  EXPECT_EQ(XmlText("<a & 'b'>\x01\t\xE9"), "&lt;a &amp; &apos;b&apos;&gt;\t\xC3\xA9");
}

TEST(TextEncodingTest, ReportNamesChooseTheirFormat) {
  EXPECT_EQ(TableFormatOf("x.CSV"), TableFormat::kCsv);
  EXPECT_EQ(TableFormatOf("x.json"), TableFormat::kJson);
  EXPECT_EQ(TableFormatOf("x.csv.txt"), std::nullopt);
}

}  // namespace
}  // namespace kestrel
