#include "archive/zip_reader.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "app/user_interface.h"
#include "archive/zip_fixtures.h"
#include "platform/file_system.h"

namespace kestrel {
namespace {

using testing::BuildZip;
using testing::WriteFile;
using Texts = std::vector<std::string>;

using ZipReaderTest = testing::ZipTest;

TEST_F(ZipReaderTest, ExplainsStructuralFaultsInOrder) {
  std::string empty = folder / "empty.zip", folders = folder / "folders.zip", twice = folder / "twice.zip";
  WriteFile(empty, BuildZip({}));
  WriteFile(folders, BuildZip({{"a/", ""}, {"a\\b\\", ""}}));
  std::string bytes = BuildZip({{"x.rom", "data"}});
  size_t central = testing::FindAll(bytes, std::string("PK\1\2"))[0];
  WriteFile(twice, bytes.substr(0, central) + bytes.substr(central, 51) + "junk" + bytes.substr(central));
  ZipEntryList list;
  EXPECT_FALSE(ReadZipDirectory(empty, list, true, true));
  EXPECT_FALSE(ReadZipDirectory(folders, list, true, true));
  EXPECT_FALSE(ReadZipDirectory(twice, list, false, true));
  EXPECT_EQ(list.size(), 1u);  // what was read before the fault stays
  EXPECT_EQ(
      ui.MessageTexts(),
      (Texts{"Unsupported Zipformat In File:\n\n" + empty, CorruptZipText(empty, "BAD LOCAL FILE ENTRY"),
             CorruptZipText(folders, "NO ENTRIES"), CorruptZipText(twice, "BAD END-OF-CENTRAL-DIR ENTRY")}));
  EXPECT_EQ(ui.messages[0].title, "Kestrel");

  // Without showErrors, and for what is no zip at all, nothing is shown.
  ui.messages.clear();
  EXPECT_FALSE(ReadZipDirectory(twice, list, false, false));
  WriteFile(folder / "other.7z", bytes);
  EXPECT_FALSE(ReadZipDirectory(folder / "other.7z", list, true, true));
  EXPECT_TRUE(ReadZipDirectory(folder / "other.7z", list, false, true));
  EXPECT_FALSE(ReadZipDirectory(folder / "missing.zip", list, true, true));
  ASSERT_TRUE(CreateFolder(folder / "folder.ZIP"));
  EXPECT_FALSE(ReadZipDirectory(folder / "folder.ZIP", list, true, true));
  EXPECT_TRUE(ui.messages.empty());
}

// The advanced mode holds each central header to its local one: every byte
// of version needed, flags, method, time, date, CRC, both sizes, and the
// name. Extra field lengths may differ.
TEST_F(ZipReaderTest, AdvancedModeComparesCentralWithLocalHeaders) {
  std::string bytes = BuildZip({{"a.rom", "first"}, {"b.rom", "second"}});
  size_t second = testing::FindAll(bytes, std::string("PK\1\2"))[1];
  std::string otherExtra = bytes;
  testing::Put16(otherExtra, second + 30, 4);
  otherExtra.insert(second + 46 + 5, "\x01\x02\x03\x04", 4);
  WriteFile(folder / "extra.ZIP", otherExtra);
  ZipEntryList list;
  for (size_t field = 6; field <= 46; field = field == 27 ? 46 : field + 1) {
    std::string changed = bytes, path = folder / ("field" + std::to_string(field) + ".zip");
    changed[second + field] = char(changed[second + field] ^ 0x10);
    WriteFile(path, changed);
    for (bool advanced : {false, true}) {
      Switches().advancedZipScanner = advanced;
      EXPECT_EQ(ReadZipDirectory(path, list, true, field == 46), !advanced) << field;
      EXPECT_TRUE(ReadZipDirectory(folder / "EXTRA.zip", list, true, true));
    }
  }
  EXPECT_EQ(ui.MessageTexts(), Texts{CorruptZipText(folder / "field46.zip", "BAD CENTRAL DIR ENTRY")});
}

// Flag bit 3: twelve bytes of CRC and sizes follow the data, without a
// signature of their own, and the walk steps over them.
TEST_F(ZipReaderTest, SkipsDataDescriptorsWithoutSignature) {
  std::string bytes = BuildZip({{"a.rom", "first"}, {"b.rom", "second"}});
  size_t central = testing::FindAll(bytes, std::string("PK\1\2"))[0];
  size_t secondLocal = testing::FindAll(bytes, std::string("PK\3\4"))[1];
  testing::Put16(bytes, 6, 8);
  testing::Put16(bytes, central + 8, 8);
  std::string descriptor = bytes.substr(14, 12);  // CRC and sizes, as in the header
  bytes.insert(secondLocal, descriptor);
  WriteFile(folder / "descriptor.zip", bytes);
  for (bool advanced : {false, true}) {
    Switches().advancedZipScanner = advanced;
    EXPECT_EQ(ReadBack(folder / "descriptor.zip"), (Texts{"a.rom=first/0", "b.rom=second/0"}));
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ZipReaderTest, ListsOnlyNamesThatStayInsideTheSet) {
  WriteFile(
      folder / "names.zip",
      BuildZip({{"..", "x"}, {"a/.", "x"}, {"../../evil.rom", "x"}, {"c:\\dir\\x.rom", "x"}, {"d:", "x"}}));
  EXPECT_EQ(ReadBack(folder / "names.zip"), (Texts{"../../evil.rom=x/0", "c:\\dir\\x.rom=x/0"}));
  ZipEntryList list;
  ASSERT_TRUE(ReadZipDirectory(folder / "names.zip", list, true, true));
  EXPECT_EQ(list[0].name + " " + list[1].name, "evil.rom x.rom");
}

// Sizes past the end of the file, every truncation and every damaged byte:
// a plain false, never a crash or a hang.
TEST_F(ZipReaderTest, SurvivesDamagedArchives) {
  std::string bytes = BuildZip({{"a.rom", testing::Text(200, 5)}, {"b.rom", "xyz"}});
  ZipEntryList list;
  std::string hugeData = bytes, longName = bytes;
  testing::Put32(hugeData, 18, 0xFFFFFFFF);
  testing::Put16(longName, 26, 0xFFFF);
  for (const std::string& damaged : {hugeData, longName}) {
    WriteFile(folder / "bad.zip", damaged);
    EXPECT_FALSE(ReadZipDirectory(folder / "bad.zip", list, true, false));
  }
  size_t endRecord = testing::FindAll(bytes, std::string("PK\5\6"))[0];
  for (bool advanced : {false, true}) {
    Switches().advancedZipScanner = advanced;
    // Fresh names, removed after use: rewriting one file over and over
    // makes the file system flush it every time.
    for (size_t length = 0; length < bytes.size(); ++length) {
      std::string cut = folder / ("cut" + std::to_string(length) + ".zip");
      WriteFile(cut, bytes.substr(0, length));
      EXPECT_EQ(ReadZipDirectory(cut, list, true, false), length >= endRecord + 4) << length;
      std::remove(cut.c_str());
    }
    for (size_t at = 0; at < bytes.size(); ++at) {
      std::string flipped = bytes, flip = folder / ("flip" + std::to_string(at) + ".zip");
      flipped[at] = char(flipped[at] ^ 0xA5);
      WriteFile(flip, flipped);
      if (ReadZipDirectory(flip, list, true, false)) {
        for (const ZipEntry& entry : list) {
          if (ExtractZipEntry(entry, folder / "out.bin")) std::remove((folder / "out.bin").c_str());
        }
      }
      std::remove(flip.c_str());
    }
  }
}

}  // namespace
}  // namespace kestrel
