#include "archive/zip_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "archive/crc32.h"
#include "archive/zip_fixtures.h"
#include "archive/zip_test_environment.h"
#include "platform/file_system.h"

namespace kestrel {
namespace {

using testing::BuildZip;
using testing::MemberBytes;
using testing::ReadFile;
using testing::WriteFile;

class ZipReaderTest : public testing::ZipTest {
 protected:
  std::vector<std::string> StoredNames(const ZipEntryList& list) {
    std::vector<std::string> names;
    for (const ZipEntry& entry : list) names.push_back(entry.storedName);
    return names;
  }

  // Lists `path` with the advanced scanner off and on; both must agree.
  bool ListBothWays(const std::string& path, ZipEntryList& list) {
    Switches().advancedZipScanner = false;
    bool plain = ReadZipDirectory(path, list, true, true);
    Switches().advancedZipScanner = true;
    bool advanced = ReadZipDirectory(path, list, true, true);
    Switches().advancedZipScanner = false;
    EXPECT_EQ(plain, advanced);
    return plain && advanced;
  }
};

TEST_F(ZipReaderTest, ListsAPythonArchiveInLocalHeaderOrder) {
  if (!testing::HavePython()) GTEST_SKIP() << "python3 missing";
  std::string stored = testing::CompressibleText(1000, 1), deflated = testing::CompressibleText(5000, 2);
  WriteFile(folder / "a.bin", stored);
  WriteFile(folder / "b.bin", deflated);
  std::string zip = folder / "set.zip";
  ASSERT_TRUE(testing::RunPython("import zipfile\nf = '" + folder.path() + "'\n"
                                 "with zipfile.ZipFile(f + 'set.zip', 'w') as z:\n"
                                 "  z.write(f + 'b.bin', 'sub/dir/game.rom', zipfile.ZIP_DEFLATED)\n"
                                 "  z.writestr(zipfile.ZipInfo('sub/'), b'')\n"
                                 "  z.write(f + 'a.bin', 'readme.txt', zipfile.ZIP_STORED)\n"
                                 "  z.comment = b'an archive comment'\n"));

  ZipEntryList list;
  ASSERT_TRUE(ListBothWays(zip, list));
  EXPECT_TRUE(ui.messages.empty());
  ASSERT_EQ(StoredNames(list), (std::vector<std::string>{"sub/dir/game.rom", "readme.txt"}));
  EXPECT_EQ(list[0].name, "game.rom");
  EXPECT_EQ(list[0].method, 8);
  EXPECT_EQ(list[0].size, deflated.size());
  EXPECT_EQ(list[0].crc, Crc32(0, deflated.data(), deflated.size()));
  EXPECT_LT(list[0].compressedSize, list[0].size);
  EXPECT_EQ(list[1].name, "readme.txt");
  EXPECT_EQ(list[1].method, 0);
  EXPECT_EQ(list[1].archivePath, zip);
  EXPECT_EQ(ReadFile(zip).substr(list[1].dataOffset, list[1].size), stored);
  EXPECT_EQ(ReadFile(zip).substr(list[1].dataOffset - 30 - 10, 4), "PK\x03\x04");
}

// Info-ZIP writes folder entries and extra fields of different lengths in
// the local and the central headers.
TEST_F(ZipReaderTest, ListsAnInfoZipArchiveWithFolders) {
  if (!testing::HaveCommand("zip")) GTEST_SKIP() << "zip missing";
  WriteFile(folder / "set/one.rom", testing::CompressibleText(3000, 3));
  WriteFile(folder / "set/inner/two.rom", "tiny");
  ASSERT_TRUE(testing::RunCommand("cd " + testing::ShellQuote(folder.path()) + " && zip -q -r arc.zip set"));
  ZipEntryList list;
  ASSERT_TRUE(ListBothWays(folder / "arc.zip", list));
  ASSERT_EQ(list.size(), 2u);
  std::vector<std::string> names{list[0].name, list[1].name};
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"one.rom", "two.rom"}));
}

TEST_F(ZipReaderTest, ExplainsStructuralFaultsInOrder) {
  std::string empty = folder / "empty.zip";
  WriteFile(empty, BuildZip({}));
  ZipEntryList list;
  EXPECT_FALSE(ReadZipDirectory(empty, list, true, true));
  EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{"Unsupported Zipformat In File:\n\n" + empty,
                                                          CorruptZipText(empty, "BAD LOCAL FILE ENTRY")}));
  EXPECT_EQ(ui.messages[0].title, "Kestrel");

  ui.messages.clear();
  std::string folders = folder / "folders.zip";
  WriteFile(folders, BuildZip({{"a/", ""}, {"a\\b\\", ""}}));
  EXPECT_FALSE(ReadZipDirectory(folders, list, true, true));
  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{CorruptZipText(folders, "NO ENTRIES")});

  // A second directory between the directory and the end record.
  ui.messages.clear();
  std::string bytes = BuildZip({{"x.rom", "data"}});
  size_t central = testing::FindSignatures(bytes, testing::kCentralSignature)[0];
  std::string twice = folder / "twice.zip";
  WriteFile(twice, bytes.substr(0, central) + bytes.substr(central, 51) + "junk" + bytes.substr(central));
  EXPECT_FALSE(ReadZipDirectory(twice, list, false, true));
  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{CorruptZipText(twice, "BAD END-OF-CENTRAL-DIR ENTRY")});
  ASSERT_EQ(list.size(), 1u);  // what was read before the fault stays

  ui.messages.clear();
  EXPECT_FALSE(ReadZipDirectory(twice, list, false, false));
  EXPECT_FALSE(ReadZipDirectory(empty, list, false, false));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ZipReaderTest, RefusesQuietlyWhatIsNoZipFile) {
  std::string bytes = BuildZip({{"x.rom", "data"}});
  WriteFile(folder / "upper.ZIP", bytes);
  WriteFile(folder / "other.7z", bytes);
  ZipEntryList list;
  EXPECT_TRUE(ReadZipDirectory(folder / "upper.ZIP", list, true, true));
  EXPECT_TRUE(ReadZipDirectory(folder / "UPPER.zip", list, true, true));  // found without case
  EXPECT_FALSE(ReadZipDirectory(folder / "other.7z", list, true, true));
  EXPECT_TRUE(list.empty());
  EXPECT_TRUE(ReadZipDirectory(folder / "other.7z", list, false, true));
  EXPECT_FALSE(ReadZipDirectory(folder / "missing.zip", list, true, true));
  ASSERT_TRUE(CreateFolder(folder / "folder.zip"));
  EXPECT_FALSE(ReadZipDirectory(folder / "folder.zip", list, true, true));
  EXPECT_TRUE(ui.messages.empty());
}

// Streamed archives keep their sizes in data descriptors behind the data;
// the strict walk does not find the central directory after them.
TEST_F(ZipReaderTest, RejectsStreamedArchives) {
  if (!testing::HaveCommand("zip")) GTEST_SKIP() << "zip missing";
  WriteFile(folder / "data.bin", testing::CompressibleText(2000, 4));
  std::string zip = folder / "streamed.zip";
  ASSERT_TRUE(testing::RunCommand("cat " + testing::ShellQuote(folder / "data.bin") + " | zip -q -fz- - - | cat > " +
                                  testing::ShellQuote(zip)));
  ZipEntryList list;
  EXPECT_FALSE(ReadZipDirectory(zip, list, true, true));
  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{CorruptZipText(zip, "BAD CENTRAL DIR ENTRY")});
}

TEST_F(ZipReaderTest, AdvancedModeComparesCentralWithLocalHeaders) {
  std::string bytes = BuildZip({{"a.rom", "first"}, {"b.rom", "second"}});
  size_t secondCentral = testing::FindSignatures(bytes, testing::kCentralSignature)[1];
  std::string badCrc = bytes;
  testing::Put32(badCrc, secondCentral + 16, 0x12345678);
  WriteFile(folder / "crc.zip", badCrc);
  std::string badName = bytes;
  badName[secondCentral + 46] = 'c';  // central "c.rom" has no local header
  WriteFile(folder / "name.zip", badName);
  std::string otherExtra = bytes;
  testing::Put16(otherExtra, secondCentral + 30, 4);  // extra lengths are not compared
  otherExtra.insert(secondCentral + 46 + 5, "\x01\x02\x03\x04", 4);
  WriteFile(folder / "extra.zip", otherExtra);

  ZipEntryList list;
  for (const char* name : {"crc.zip", "name.zip", "extra.zip"}) {
    EXPECT_TRUE(ReadZipDirectory(folder / name, list, true, true)) << name;
  }
  Switches().advancedZipScanner = true;
  EXPECT_FALSE(ReadZipDirectory(folder / "crc.zip", list, true, true));
  EXPECT_FALSE(ReadZipDirectory(folder / "name.zip", list, true, true));
  EXPECT_TRUE(ReadZipDirectory(folder / "extra.zip", list, true, true));
  EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{CorruptZipText(folder / "crc.zip", "BAD CENTRAL DIR ENTRY"),
                                                          CorruptZipText(folder / "name.zip", "BAD CENTRAL DIR ENTRY")}));
}

TEST_F(ZipReaderTest, ListsOnlyNamesThatStayInsideTheSet) {
  std::string zip = folder / "names.zip";
  WriteFile(zip, BuildZip({{"..", "x"}, {"a/.", "x"}, {"../../evil.rom", "x"}, {"c:\\dir\\x.rom", "x"}, {"d:", "x"}}));
  ZipEntryList list;
  ASSERT_TRUE(ListBothWays(zip, list));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].name, "evil.rom");
  EXPECT_EQ(list[0].storedName, "../../evil.rom");
  EXPECT_EQ(list[1].name, "x.rom");
}

// Hostile headers: sizes that run past the end of the file must end in a
// plain false, whatever the mode.
TEST_F(ZipReaderTest, SurvivesDamagedHeaders) {
  std::string bytes = BuildZip({{"a.rom", testing::CompressibleText(200, 5)}, {"b.rom", "xyz"}}, "comment");
  std::string hugeSize = bytes;
  testing::Put32(hugeSize, 18, 0xFFFFFFFF);
  std::string longName = bytes;
  testing::Put16(longName, 26, 0xFFFF);
  std::string zeroName = bytes;
  testing::Put16(zeroName, 26, 0);
  ZipEntryList list;
  for (const std::string& damaged : {hugeSize, longName, zeroName}) {
    WriteFile(folder / "bad.zip", damaged);
    EXPECT_FALSE(ReadZipDirectory(folder / "bad.zip", list, true, false));
  }

  // Every truncation and every single damaged byte.
  size_t endRecord = testing::FindSignatures(bytes, testing::kEndSignature)[0];
  for (bool advanced : {false, true}) {
    Switches().advancedZipScanner = advanced;
    for (size_t length = 0; length < bytes.size(); ++length) {
      // Fresh names, removed after use: rewriting one file over and over
      // makes the file system flush it every time.
      std::string cut = folder / ("cut" + std::to_string(length) + (advanced ? "a.zip" : ".zip"));
      WriteFile(cut, bytes.substr(0, length));
      bool listed = ReadZipDirectory(cut, list, true, false);
      // Of the end record only its signature is read.
      EXPECT_EQ(listed, length >= endRecord + 4) << length;
      std::remove(cut.c_str());
    }
    for (size_t at = 0; at < bytes.size(); ++at) {
      std::string flipped = bytes;
      flipped[at] = char(flipped[at] ^ 0xA5);
      std::string flip = folder / ("flip" + std::to_string(at) + (advanced ? "a.zip" : ".zip"));
      WriteFile(flip, flipped);
      if (ReadZipDirectory(flip, list, true, false)) {
        for (const ZipEntry& entry : list) {
          ExtractZipEntry(entry, folder / "out.bin");
          std::remove((folder / "out.bin").c_str());
        }
      }
      std::remove(flip.c_str());
    }
  }
}

}  // namespace
}  // namespace kestrel
