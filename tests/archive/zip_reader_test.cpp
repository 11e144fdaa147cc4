#include "archive/zip_reader.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "archive/zip_fixtures.h"

namespace kestrel {
namespace {

using testing::BuildZip;
using testing::WriteFile;
using Texts = std::vector<std::string>;

using ZipReaderTest = testing::ZipTest;

// Structural faults are named; sizes past the end of the file, every
// truncation and every damaged byte give a plain false, never a crash or a
// hang.
TEST_F(ZipReaderTest, NamesStructuralFaultsAndSurvivesDamagedArchives) {
  std::string empty = folder / "empty.zip", twice = folder / "twice.zip";
  WriteFile(empty, BuildZip({}));
  std::string bytes = BuildZip({{"a.rom", testing::Text(200, 5)}, {"b.rom", "xyz"}});
  size_t central = bytes.rfind("PK\1\2");
  WriteFile(twice, bytes.substr(0, central) + bytes.substr(central, 51) + "junk" + bytes.substr(central));
  ZipEntryList list;
  ZipProblem problem;
  EXPECT_FALSE(ReadZipDirectory(RealFileSystem(), empty, list, true, &problem));
  EXPECT_EQ(Describe(problem), "local " + empty);
  EXPECT_FALSE(ReadZipDirectory(RealFileSystem(), twice, list, false, &problem));
  EXPECT_EQ(Describe(problem), "end " + twice);

  // What is no zip at all, or cannot be opened, is no damaged zip; a good
  // read leaves no problem behind.
  WriteFile(folder / "other.7z", bytes);
  EXPECT_FALSE(ReadZipDirectory(RealFileSystem(), folder / "other.7z", list, true, &problem));
  EXPECT_EQ(Describe(problem), "none ");
  EXPECT_FALSE(ReadZipDirectory(RealFileSystem(), twice, list, false, &problem));
  EXPECT_FALSE(ReadZipDirectory(RealFileSystem(), folder / "missing.zip", list, false, &problem));
  EXPECT_EQ(Describe(problem), "none ");
  EXPECT_FALSE(ReadZipDirectory(RealFileSystem(), twice, list, false, &problem));
  WriteFile(folder / "good.zip", bytes);
  EXPECT_TRUE(ReadZipDirectory(RealFileSystem(), folder / "good.zip", list, true, &problem));
  EXPECT_EQ(Describe(problem), "none ");

  size_t endRecord = bytes.find("PK\5\6");
  for (ZipHeaderCheck check : {ZipHeaderCheck::kLocalHeaders, ZipHeaderCheck::kBothHeaders}) {
    // Fresh names, removed after use: rewriting one file over and over
    // makes the file system flush it every time.
    for (size_t length = 0; length < bytes.size(); ++length) {
      std::string cut = folder / ("cut" + std::to_string(length) + ".zip");
      WriteFile(cut, bytes.substr(0, length));
      EXPECT_EQ(ReadZipDirectory(RealFileSystem(), cut, list, true, nullptr, check), length >= endRecord + 4) << length;
      std::remove(cut.c_str());
    }
    for (size_t at = 0; at < bytes.size(); ++at) {
      std::string flipped = bytes, flip = folder / ("flip" + std::to_string(at) + ".zip");
      flipped[at] = char(flipped[at] ^ 0xA5);
      WriteFile(flip, flipped);
      if (ReadZipDirectory(RealFileSystem(), flip, list, true, nullptr, check)) {
        for (const ZipEntry& entry : list) {
          if (ExtractZipEntry(RealFileSystem(), entry, folder / "out.bin")) std::remove((folder / "out.bin").c_str());
        }
      }
      std::remove(flip.c_str());
    }
  }
}

// The advanced mode holds each central header to its local one: every byte
// of version needed, flags, method, time, date, CRC, both sizes, and the
// name. Flag bit 3 adds twelve bytes of CRC and sizes behind the data,
// without a signature of their own, which both modes step over.
TEST_F(ZipReaderTest, AdvancedModeComparesHeadersAndBothStepOverDataDescriptors) {
  std::string bytes = BuildZip({{"a.rom", "first"}, {"b.rom", "second"}});
  size_t second = bytes.rfind("PK\1\2");
  ZipEntryList list;
  // Bytes 6..27 agree with the local header, 42 points at it, 46 is the name.
  for (size_t field = 6; field <= 46; field = field == 27 ? 42 : field == 42 ? 46 : field + 1) {
    std::string changed = bytes, path = folder / ("field" + std::to_string(field) + ".zip");
    changed[second + field] = char(changed[second + field] ^ 0x10);
    WriteFile(path, changed);
    for (bool advanced : {false, true}) {
      const ZipHeaderCheck check = advanced ? ZipHeaderCheck::kBothHeaders : ZipHeaderCheck::kLocalHeaders;
      ZipProblem problem;
      EXPECT_EQ(ReadZipDirectory(RealFileSystem(), path, list, true, &problem, check), !advanced) << field;
      EXPECT_EQ(Describe(problem), advanced ? "central " + path : "none ") << field;
    }
  }

  size_t central = bytes.find("PK\1\2");
  size_t secondLocal = bytes.rfind("PK\3\4");
  testing::Put16(bytes, 6, 8);
  testing::Put16(bytes, central + 8, 8);
  bytes.insert(secondLocal, bytes.substr(14, 12));  // CRC and sizes, as in the header
  testing::Put32(bytes, bytes.rfind("PK\1\2") + 42, uint32_t(secondLocal + 12));
  WriteFile(folder / "descriptor.zip", bytes);
  // ReadBack reads in both modes.
  EXPECT_EQ(ReadBack(folder / "descriptor.zip"), (Texts{"a.rom=first/0", "b.rom=second/0"}));
}

// Behind a name stand its extra field and, in the central directory, a
// comment; the next header follows them.
TEST_F(ZipReaderTest, StepsOverExtraFieldsAndComments) {
  const std::string extra("\xFE\xCA\0\0", 4);
  std::string bytes = BuildZip({{"a.rom", "first"}, {"b.rom", "second"}});
  testing::Put16(bytes, 28, 4);  // the first local header's extra field
  bytes.insert(30 + 5, extra);
  size_t central = bytes.find("PK\1\2");
  testing::Put16(bytes, central + 30, 4);
  testing::Put16(bytes, central + 32, 4);
  bytes.insert(central + 46 + 5, extra + "note");
  testing::Put32(bytes, bytes.rfind("PK\1\2") + 42, uint32_t(bytes.find("PK\3\4", 1)));
  WriteFile(folder / "extras.zip", bytes);
  EXPECT_EQ(ReadBack(folder / "extras.zip"), (Texts{"a.rom=first/0", "b.rom=second/0"}));
}

TEST_F(ZipReaderTest, ListsOnlyNamesThatStayInsideTheSet) {
  WriteFile(
      folder / "names.zip",
      BuildZip({{"..", "x"}, {"a/.", "x"}, {"../../evil.rom", "x"}, {"c:\\dir\\x.rom", "x"}, {"d:", "x"}, {"dir/", ""}}));
  EXPECT_EQ(ReadBack(folder / "names.zip"), (Texts{"../../evil.rom=x/0", "c:\\dir\\x.rom=x/0"}));
  ZipEntryList list;
  ASSERT_TRUE(ReadZipDirectory(RealFileSystem(), folder / "names.zip", list, true, nullptr));
  EXPECT_EQ(list[0].name + " " + list[1].name, "evil.rom x.rom");
}

}  // namespace
}  // namespace kestrel
