#include "archive/archive_reader.h"

#include <gtest/gtest.h>

#include "archive/archive_fixtures.h"
#include "archive/zip_fixtures.h"
#include "support/stored_rar.h"

namespace kestrel::testing {
namespace {

class ArchiveReaderTest : public ZipTest {
 protected:
  // "name=size/crc" of every member read, then "fault: ..." when the walk
  // ended on one.
  Texts Walk(const std::string& name, const std::string& bytes) {
    WriteFile(folder / name, bytes);
    ArchiveReader source;
    if (!source.Open(RealFileSystem(), folder / name)) return {"not opened: " + source.fault()};
    Texts seen;
    ArchiveMember member;
    while (source.NextMember(member)) {
      std::string contents;
      bool read = source.ReadMember([&](const uint8_t* data, size_t count) {
        contents.append(reinterpret_cast<const char*>(data), count);
        return true;
      });
      std::string flags = member.encrypted ? " encrypted" : "";
      if (member.sizeKnown && member.size != contents.size()) flags += " size-mismatch";
      seen.push_back(member.name + "=" + std::to_string(contents.size()) + "/" + std::to_string(CrcOf(contents)) +
                     flags + (read ? "" : " unread"));
    }
    if (!source.fault().empty()) seen.push_back("fault");
    return seen;
  }

  const std::string a = Text(3000, 1), b = Text(70000, 2);
  std::string Line(const std::string& name, const std::string& contents) {
    return name + "=" + std::to_string(contents.size()) + "/" + std::to_string(CrcOf(contents));
  }
};

TEST_F(ArchiveReaderTest, ReadsEveryKindItStandsFor) {
  const NamedContents two = {{"a.rom", a}, {"sub/b.rom", b}};
  const Texts both = {Line("a.rom", a), Line("sub/b.rom", b)};
  EXPECT_EQ(Walk("set.7z", PackArchive(Packing::k7z, two)), both);
  EXPECT_EQ(Walk("set.tar.gz", PackArchive(Packing::kTarGz, two)), both);
  EXPECT_EQ(Walk("SET.TGZ", PackArchive(Packing::kTarGz, two)), both);
  EXPECT_EQ(Walk("set.rar", StoredRar(two)), both);
  EXPECT_EQ(Walk("rom.bin.gz", PackArchive(Packing::kLoneGz, {{"ignored", b}})), Texts{Line("rom.bin", b)});
  // Zips of methods the strict reader leaves alone.
  EXPECT_EQ(Walk("set.zip", BuildZip({CompressedMember("a.rom", a, 93), CompressedMember("b.rom", b, 12),
                                      CompressedMember("c.rom", a, 95), Deflated("d.rom", b)})),
            (Texts{Line("a.rom", a), Line("b.rom", b), Line("c.rom", a), Line("d.rom", b)}));
}

TEST_F(ArchiveReaderTest, NamesWhatItCannotRead) {
  std::string sevenZip = PackArchive(Packing::k7z, {{"a.rom", a}, {"b.rom", b}});
  std::string zstdZip = BuildZip({CompressedMember("a.rom", b, 93)});
  std::string corrupted = zstdZip;
  corrupted[60] ^= 0x55;  // inside the zstd stream
  EXPECT_EQ(Walk("short.7z", sevenZip.substr(0, sevenZip.size() / 2)).back(), "fault");
  EXPECT_EQ(Walk("bad.zip", corrupted).back(), "fault");
  // A RAR cut short inside its last member.
  Texts damagedRar = Walk("bad.rar", StoredRar({{"a.rom", a}, {"b.rom", b}}, true));
  EXPECT_EQ(damagedRar.front(), Line("a.rom", a));
  EXPECT_EQ(damagedRar.back(), "fault");
  EXPECT_EQ(Walk("plain.7z", "not an archive at all").front().substr(0, 11), "not opened:");
  EXPECT_EQ(Walk("text.gz", "not gzipped").front().substr(0, 11), "not opened:");
  Texts locked = Walk("locked.zip", PackArchive(Packing::kEncryptedZip, {{"a.rom", a}}));
  ASSERT_FALSE(locked.empty());
  EXPECT_NE(locked.front().find(" encrypted"), std::string::npos) << locked.front();
  ArchiveReader missing;
  EXPECT_FALSE(missing.Open(RealFileSystem(), folder / "missing.7z"));
  EXPECT_FALSE(missing.fault().empty());
}

TEST_F(ArchiveReaderTest, KnowsTheNamesItReads) {
  for (const char* name : {"a.7z", "A.RAR", "b.tar", "b.tar.gz", "c.tgz", "d.tbz2", "e.txz", "rom.gz", "rom.xz"})
    EXPECT_TRUE(HasArchiveExtension(name)) << name;
  for (const char* name : {"a.zip", "7z", "a.7zz", "a.rom", "gz", "a.chd"}) EXPECT_FALSE(HasArchiveExtension(name)) << name;
}

}  // namespace
}  // namespace kestrel::testing
