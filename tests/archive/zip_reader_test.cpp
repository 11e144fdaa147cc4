#include "archive/zip_reader.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "archive/zip_fixtures.h"

namespace kestrel {
namespace {

using testing::BuildZip;
using testing::Put;
using testing::Texts;
using testing::WriteFile;

using ZipReaderTest = testing::ZipTest;

// Structural faults are named, under either header check; what is no zip at
// all, or cannot be opened, is no damaged zip, and a good read leaves no
// problem behind. A zip of its end record alone, or of folders alone, is a
// zip without members; an end record cut short or after junk, and a member
// without a name, are damage. Sizes past the end of the file, every
// truncation and every damaged byte give a plain false, never a crash or a
// hang.
TEST_F(ZipReaderTest, NamesStructuralFaultsAndSurvivesDamagedArchives) {
  std::string bytes = BuildZip({{"a.rom", testing::Text(200, 5)}, {"b.rom", "xyz"}});
  size_t central = bytes.rfind("PK\1\2");
  WriteFile(folder / "empty.zip", BuildZip({}));
  WriteFile(folder / "cut.zip", BuildZip({}).substr(0, 3));
  WriteFile(folder / "junk.zip", "junk" + BuildZip({}));
  WriteFile(folder / "folders.zip", BuildZip({{"sub/", ""}, {"win\\", ""}}));
  WriteFile(folder / "noname.zip", BuildZip({{"a.rom", "a"}, {"", "x"}}));
  WriteFile(folder / "twice.zip",
            bytes.substr(0, central) + bytes.substr(central, 51) + "junk" + bytes.substr(central));
  WriteFile(folder / "other.7z", bytes);
  WriteFile(folder / "good.zip", bytes);
  ZipEntryList list;
  for (ZipHeaderCheck check : {ZipHeaderCheck::kLocalHeaders, ZipHeaderCheck::kBothHeaders}) {
    Texts problems;
    for (const char* name : {"empty.zip", "cut.zip", "junk.zip", "folders.zip", "noname.zip", "twice.zip", "other.7z",
                             "missing.zip", "good.zip"}) {
      list = {ZipEntry{}};
      ZipProblem problem{ZipFault::kBadEndRecord, "stale"};
      bool read = ReadZipDirectory(RealFileSystem(), folder / name, list, name[0] != 't', &problem, check);
      problems.push_back((read ? "read " + std::to_string(list.size()) + " " : "") + Describe(problem));
    }
    EXPECT_EQ(problems, (Texts{"read 0 none ", "local " + folder / "cut.zip", "local " + folder / "junk.zip",
                               "read 0 none ", "local " + folder / "noname.zip", "end " + folder / "twice.zip",
                               "none ", "none ", "read 2 none "}));
  }

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
        for (const ZipEntry& entry : list) ExtractZipEntry(RealFileSystem(), entry, folder / "out.bin");
      }
      std::remove(flip.c_str());
      std::remove((folder / "out.bin").c_str());
    }
  }
}

// The advanced mode holds each central header to its local one: every byte
// of version needed, flags, method, time, date, CRC, both sizes, and the
// name. Flag bit 3 adds twelve bytes of CRC and sizes behind the data,
// with or without a signature of their own before them; an extra field follows a name, and in
// the central directory a comment too. Both modes step over all three.
TEST_F(ZipReaderTest, AdvancedModeComparesHeadersAndBothStepOverDescriptorsExtrasAndComments) {
  const std::string plain = BuildZip({{"a.rom", "first"}, {"b.rom", "second"}});
  size_t second = plain.rfind("PK\1\2");
  ZipEntryList list;
  // Bytes 6..27 agree with the local header, 42 points at it, 46 is the name.
  for (size_t field = 6; field <= 46; field = field == 27 ? 42 : field == 42 ? 46 : field + 1) {
    std::string changed = plain, path = folder / ("field" + std::to_string(field) + ".zip");
    changed[second + field] = char(changed[second + field] ^ 0x10);
    WriteFile(path, changed);
    for (bool advanced : {false, true}) {
      const ZipHeaderCheck check = advanced ? ZipHeaderCheck::kBothHeaders : ZipHeaderCheck::kLocalHeaders;
      ZipProblem problem;
      EXPECT_EQ(ReadZipDirectory(RealFileSystem(), path, list, true, &problem, check), !advanced) << field;
      EXPECT_EQ(Describe(problem), advanced ? "central " + path : "none ") << field;
    }
  }

  std::string bytes;
  for (std::string signature : {"", "PK\7\x08"}) {  // the descriptor's signature is optional
    bytes = plain;
    size_t central = bytes.find("PK\1\2");
    Put(bytes, 6, 8, 2);
    Put(bytes, central + 8, 8, 2);
    bytes.insert(bytes.rfind("PK\3\4"), signature + bytes.substr(14, 12));  // CRC and sizes, as in the header
    Put(bytes, bytes.rfind("PK\1\2") + 42, uint32_t(bytes.rfind("PK\3\4")), 4);
    WriteFile(folder / (signature.empty() ? "descriptor.zip" : "signed.zip"), bytes);
  }
  const std::string extra("\xFE\xCA\0\0", 4);
  bytes = plain;
  Put(bytes, 28, 4, 2);  // the first local header's extra field
  bytes.insert(30 + 5, extra);
  size_t central = bytes.find("PK\1\2");
  Put(bytes, central + 30, uint32_t(4 * 0x10001), 4);  // extra field and comment
  bytes.insert(central + 46 + 5, extra + "note");
  Put(bytes, bytes.rfind("PK\1\2") + 42, uint32_t(bytes.find("PK\3\4", 1)), 4);
  WriteFile(folder / "extras.zip", bytes);
  // ReadBack reads in both modes.
  for (const char* name : {"descriptor.zip", "signed.zip", "extras.zip"})
    EXPECT_EQ(ReadBack(folder / name), (Texts{"a.rom=first/0", "b.rom=second/0"})) << name;
}

// Folders, marked by either separator at the end, and names that stand for
// no file are no members; an entry's name is the stored name's last part,
// so none climbs out of the set or starts at a drive.
TEST_F(ZipReaderTest, ListsOnlyNamesThatStayInsideTheSet) {
  WriteFile(folder / "names.zip", BuildZip({{"..", "x"}, {"a/.", "x"}, {"up/..", "u"}, {"../../evil.rom", "x"},
                                            {"c:\\dir\\x.rom", "x"}, {"d:", "x"}, {"dir/", ""}, {"win\\", ""},
                                            {"sub/a.rom", "abc"}, {"B.ROM", "x"}}));
  EXPECT_EQ(ReadBack(folder / "names.zip"),
            (Texts{"../../evil.rom=x/0", "c:\\dir\\x.rom=x/0", "sub/a.rom=abc/0", "B.ROM=x/0"}));
  ZipEntryList list;
  ASSERT_TRUE(ReadZipDirectory(RealFileSystem(), folder / "names.zip", list, true, nullptr));
  EXPECT_EQ(list[0].name + " " + list[1].name + " " + list[2].name, "evil.rom x.rom a.rom");
}

// A zip is read from its last 64 KB first: past that size the local
// headers lie before the bytes read first, and a directory of many long
// names starts before them too. Both are read whole, member for member.
TEST_F(ZipReaderTest, ReadsZipsLargerThanItsFirstRead) {
  WriteFile(folder / "big.zip", BuildZip({{"a.rom", "first"}, {"big.rom", testing::Text(100000, 3)}, {"c.rom", "z"}}));
  EXPECT_EQ(ReadBack(folder / "big.zip"), (Texts{"a.rom=first/0", "big.rom=" + testing::Text(100000, 3) + "/0", "c.rom=z/0"}));
  std::vector<testing::MemberBytes> many;
  Texts expected;
  for (int i = 0; i < 600; ++i) {
    std::string name = std::string(120, 'n') + std::to_string(i) + ".rom";
    many.emplace_back(name, std::to_string(i));
    expected.push_back(name + "=" + std::to_string(i) + "/0");
  }
  WriteFile(folder / "many.zip", BuildZip(many));
  EXPECT_EQ(ReadBack(folder / "many.zip"), expected);
}

}  // namespace
}  // namespace kestrel
