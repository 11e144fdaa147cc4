// Reading a member's data whatever holds it, and listing 7z sets.
#include "archive/member_data.h"

#include <gtest/gtest.h>

#include "archive/archive_fixtures.h"
#include "archive/seven_zip_set.h"
#include "archive/zip_fixtures.h"

namespace kestrel::testing {
namespace {

class MemberDataTest : public ZipTest {
 protected:
  ZipEntryList ListZip(const std::string& name, const std::string& bytes) {
    WriteFile(folder / name, bytes);
    ZipEntryList list;
    EXPECT_TRUE(ReadZipDirectory(RealFileSystem(), folder / name, list, false, nullptr));
    return list;
  }
  ZipEntryList ListSevenZip(const std::string& name, const std::string& bytes, std::string* fault = nullptr) {
    WriteFile(folder / name, bytes);
    ZipEntryList list;
    std::string why;
    ReadSevenZipSet(RealFileSystem(), folder / name, list, why);
    if (fault != nullptr) *fault = why;
    return list;
  }
  // The member's contents, or "fault: ..." when they could not be read.
  std::string Contents(const ZipEntry& member) {
    std::string contents, fault;
    bool whole = ReadMemberData(RealFileSystem(), member, [&](const uint8_t* data, size_t count) {
      contents.append(reinterpret_cast<const char*>(data), count);
      return true;
    }, &fault);
    return whole ? contents : "fault: " + fault;
  }
  const std::string a = Text(3000, 1), b = Text(70000, 2);
};

TEST_F(MemberDataTest, ReadsZipMembersOfEveryMethodAndSevenZipMembers) {
  MemberBytes imploded("i.rom", a);
  imploded.method = 6;
  ZipEntryList zip = ListZip("set.zip", BuildZip({MemberBytes("s.rom", a), Deflated("d.rom", b), CompressedMember("z.rom", a, 93),
                                                 CompressedMember("j.rom", b, 12), CompressedMember("x.rom", a, 95), imploded}));
  ASSERT_EQ(zip.size(), 6u);
  const Texts expected = {a, b, a, b, a};
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_TRUE(CanDecodeMember(zip[i])) << zip[i].name;
    EXPECT_EQ(Contents(zip[i]), expected[i]) << zip[i].name;
  }
  EXPECT_FALSE(CanDecodeMember(zip[5]));
  EXPECT_EQ(Contents(zip[5]), "fault: is compressed by a method Kestrel does not read");

  // Two members: the one asked for is read, not the first.
  ZipEntryList sevenZip = ListSevenZip("pack.7z", PackArchive(Packing::k7z, {{"dir/one.rom", a}, {"two.rom", b}}));
  ASSERT_EQ(sevenZip.size(), 2u);
  EXPECT_EQ(sevenZip[0].name, "one.rom");
  EXPECT_EQ(sevenZip[0].storedName, "dir/one.rom");
  EXPECT_EQ(sevenZip[1].crc, CrcOf(b));
  EXPECT_EQ(sevenZip[1].size, b.size());
  EXPECT_TRUE(IsSevenZipMember(sevenZip[1]) && CanDecodeMember(sevenZip[1]));
  EXPECT_EQ(Contents(sevenZip[1]), b);
}

TEST_F(MemberDataTest, HoldsContentsAgainstTheirListing) {
  // A zstd member whose header claims another CRC-32, and a 7z member
  // whose listing no longer matches its file.
  MemberBytes lying = CompressedMember("z.rom", a, 93);
  lying.crc ^= 1;
  ZipEntryList zip = ListZip("lying.zip", BuildZip({lying}));
  EXPECT_EQ(Contents(zip[0]), "fault: does not match its size and CRC-32");
  ZipEntryList sevenZip = ListSevenZip("pack.7z", PackArchive(Packing::k7z, {{"one.rom", a}}));
  sevenZip[0].crc ^= 1;
  EXPECT_EQ(Contents(sevenZip[0]), "fault: does not match its size and CRC-32");
  sevenZip[0].storedName = "gone.rom";
  EXPECT_EQ(Contents(sevenZip[0]), "fault: cannot be decoded: is no longer in its archive");
  // Extracting leaves nothing behind when the contents are wrong.
  std::string fault;
  EXPECT_FALSE(ExtractMemberData(RealFileSystem(), zip[0], folder / "out.rom", &fault));
  EXPECT_FALSE(RealFileSystem().PathExists(folder / "out.rom"));
  ZipEntryList good = ListZip("good.zip", BuildZip({CompressedMember("z.rom", b, 95)}));
  EXPECT_TRUE(ExtractMemberData(RealFileSystem(), good[0], folder / "out.rom", &fault)) << fault;
  EXPECT_EQ(ReadFile(folder / "out.rom"), b);
}

TEST_F(MemberDataTest, ListsSevenZipSetsAnewWhenTheyChangeAndNamesDamage) {
  EXPECT_EQ(ListSevenZip("set.7z", PackArchive(Packing::k7z, {{"one.rom", a}})).front().crc, CrcOf(a));
  EXPECT_EQ(ListSevenZip("set.7z", PackArchive(Packing::k7z, {{"one.rom", b}})).front().crc, CrcOf(b));
  std::string whole = PackArchive(Packing::k7z, {{"one.rom", a}, {"two.rom", b}}), fault;
  EXPECT_TRUE(ListSevenZip("cut.7z", whole.substr(0, whole.size() / 2), &fault).empty());
  EXPECT_FALSE(fault.empty());
  EXPECT_TRUE(ListSevenZip("junk.7z", "7z but nothing more", &fault).empty());
  EXPECT_FALSE(fault.empty());
  for (const char* name : {"a.7z", "B.7Z"}) EXPECT_TRUE(HasSevenZipExtension(name)) << name;
  for (const char* name : {".7z", "a.zip", "a.7zip"}) EXPECT_FALSE(HasSevenZipExtension(name)) << name;
  EXPECT_EQ(WithoutSevenZipExtension("roms/Set.7Z"), "roms/Set");
}

}  // namespace
}  // namespace kestrel::testing
