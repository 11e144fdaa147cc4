#include "settings/profile_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <iterator>
#include <map>

#include "settings/game_selection.h"
#include "settings/profile_fields.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

// Profile bytes written by hand, independent of the program's writer.
struct Bytes {
  std::string data;
  Bytes& Int(uint32_t v) {
    for (int i = 0; i < 4; ++i) data += static_cast<char>((v >> (8 * i)) & 0xFF);
    return *this;
  }
  Bytes& Str(const std::string& s) {  // short strings only
    data += static_cast<char>(s.size()) + s;
    return *this;
  }
};

// Items 3 to 15 with values that differ from the defaults where they can.
Bytes BaseItems(Bytes b) {
  b.Int(0).Int(3).Int(1).Str("mame.exe").Str("list.dat").Int(0).Str("/b/").Str("/t/").Int(2);
  b.Int(0).Int(-2).Int(5);
  b.Int(2).Int(1).Str("/roms1/").Int(0).Str("/roms2/");  // romPaths
  b.Int(0);                                              // samplePaths
  b.Int(1).Int(1).Str("/misc/");                         // miscPaths
  b.Str("/src/").Str("/dst/").Int(2).Int(0).Int(0).Int(0).Int(0);
  b.Int(0).Int(1).Int(0).Int(0).Int(0).Str("/merged/");
  for (int i = 0; i < 13; ++i) b.Int(i % 2);  // scanGames .. fixCase
  for (int i = 0; i < 6; ++i) b.Int(i % 2);   // allowDoubleNames .. askBeforeFixing
  b.Str("fast.fsc").Str("scan.log").Int(0).Int(1);
  return b;
}

Bytes ProfileOfVersion(int32_t version) {
  Bytes b = BaseItems(Bytes().Str("KPFOPT").Int(version));
  if (version >= 1) b.Int(1);
  if (version >= 2) b.Str("pac*").Int(1).Int(0xCAFEF00D).Int(3).data += std::string("\1\0\1", 3);
  if (version >= 3) b.Str("raine.exe");
  if (version >= 4) b.Str("rb.log").Int(1).Int(0).Int(1).Int(1).Int(1).Int(1).Int(1).Str("/add/");
  return b;
}

bool LoadBytes(const TempFolder& dir, const std::string& bytes, SettingsRecord& record) {
  WriteFile(dir / "p.kpf", bytes);
  return LoadProfile(record, dir / "p.kpf");
}

TEST(ProfileFileTest, LoadsEveryVersionWithDefaultsForWhatIsMissing) {
  TempFolder dir;
  for (int version : {0, 1, 2, 3, 4, 9}) {
    SCOPED_TRACE(version);
    SettingsRecord r;
    r.storedDataCrc = 77;
    ASSERT_TRUE(LoadBytes(dir, ProfileOfVersion(version).data, r));
    // Version 0 items, a sample of each kind.
    EXPECT_EQ(r.threadPriority, kPriorityLowest);
    ASSERT_EQ(r.romPaths.size(), 2u);
    EXPECT_EQ(r.romPaths[1].path + (r.romPaths[1].enabled ? "+" : "-"), "/roms2/-");
    EXPECT_TRUE(r.fixCase == false && r.fixLength == true);
    // The layouts, each as its tool numbers them.
    EXPECT_EQ(r.rebuildMergeMode, SetLayout::kMerged);  // 2
    EXPECT_EQ(r.mergeMode, SetLayout::kSplit);          // 0
    EXPECT_EQ(r.scanMergeMode, SetLayout::kNonMerged);  // 0
    // Later items, or their defaults.
    EXPECT_EQ(r.showAllZeroCrcs, version >= 1);
    EXPECT_EQ(r.gameFilter, version >= 2 ? "pac*" : "");
    EXPECT_EQ(r.storedDataCrc, version >= 2 ? 0xCAFEF00Du : 0u);
    EXPECT_EQ(r.gameSelectionBytes, version >= 2 ? (std::vector<uint8_t>{1, 0, 1}) : std::vector<uint8_t>{});
    EXPECT_EQ(r.raineExe, version >= 3 ? "raine.exe" : "");
    EXPECT_EQ(r.rebuildRecursive, version < 4);
    EXPECT_EQ(r.addPaths.size(), version >= 4 ? 1u : 0u);
  }
}

// Every stored field goes through one list for reading, writing and showing:
// a value of each kind, non-default, comes back, as do the counted ones.
TEST(ProfileFileTest, RoundTripsEveryKindOfStoredField) {
  TempFolder dir;
  GameList database(4);
  database[1].selected = false;
  SettingsRecord saved;
  saved.parentClones = saved.fixCase = saved.addStatistics = true;
  saved.rebuildRecursive = false;
  saved.threadPriority = kPriorityLowest;
  saved.scanGameTypes = ScanGameTypes{70000};
  saved.mameExe = "/Emu/mame";
  saved.romPaths = {{"/Roms/", true}, {"/more roms/", false}};
  saved.addPaths = {{"/add/", true}, {"", false}};
  ASSERT_TRUE(SaveProfile(saved, dir / "p.kpf", database, 0x89ABCDEF));
  SettingsRecord loaded;
  ASSERT_TRUE(LoadProfile(loaded, dir / "p.kpf"));
  // The selection comes from the database and its data CRC.
  saved.storedDataCrc = 0x89ABCDEF;
  saved.storedGameCount = 4;
  saved.gameSelectionBytes = {1, 0, 1, 1};
  auto lines = DescribeProfileFields(saved);
  EXPECT_EQ(DescribeProfileFields(loaded), lines);
  EXPECT_EQ(loaded.gameSelectionBytes, saved.gameSelectionBytes);
  // 65 stored fields (the data CRC counted once), each once, and the list entries.
  std::map<std::string, std::string> byName(lines.begin(), lines.end());
  EXPECT_EQ(byName.size(), lines.size()) << "a field twice";
  EXPECT_EQ(lines.size(), 65u + 4u);
  EXPECT_EQ(byName["romPaths[1]"], "/more roms/ (disabled)");
}

// A profile goes back to disk as it came, byte for byte: one that
// "kestrel-cli profile save" wrote with the modes still stored as plain
// integers (data/cli_saved.kpf: a datfile, paths, non-default options of
// every tool, --fix-missing-advanced, which stores both fix-missing flags),
// and one whose modes hold numbers no mode has, which are kept as read.
TEST(ProfileFileTest, WritesBackWhatItReadByteForByteEvenModesOutOfRange) {
  TempFolder dir;
  const std::string written = ReadFile(testing::SourceDir() + "tests/settings/data/cli_saved.kpf");
  ASSERT_GT(written.size(), 300u);
  SettingsRecord record;
  ASSERT_TRUE(LoadBytes(dir, written, record));
  EXPECT_EQ(record.scanGameTypes, ScanGameTypes::kNeoGeoOnly);
  EXPECT_EQ(record.rebuildGameTypes, RebuildGameTypes::kBiosInEverySet);
  EXPECT_EQ(record.mergePlacement, MergePlacement::kIntoDestination);
  EXPECT_EQ(record.displayLiErrors, kShowRomErrors);
  EXPECT_TRUE(record.fixMissing && record.fixMissingAdvanced);
  ASSERT_TRUE(SaveProfile(record, dir / "again.kpf", {}, 0));
  EXPECT_EQ(ReadFile(dir / "again.kpf"), written);

  // After the magic and the version: parentClones, currentPathList, dataSource.
  std::string odd = ProfileOfVersion(4).data;
  odd.replace(15, 8, Bytes().Int(9).Int(7).data);
  ASSERT_TRUE(LoadBytes(dir, odd, record));
  EXPECT_EQ(static_cast<int32_t>(record.currentPathList), 9);
  EXPECT_EQ(static_cast<int32_t>(record.dataSource), 7);
  record.displayLiErrors = ListErrorLevel{5};
  record.threadPriority = ThreadPriorityLevel{3};
  record.rebuildGameTypes = RebuildGameTypes{-1};
  record.mergePlacement = MergePlacement{4};
  record.scanGameTypes = ScanGameTypes{70000};
  ASSERT_TRUE(SaveProfile(record, dir / "odd.kpf", {}, 0));
  odd = ReadFile(dir / "odd.kpf");
  SettingsRecord reread;
  ASSERT_TRUE(LoadBytes(dir, odd, reread));
  EXPECT_EQ(DescribeProfileFields(reread), DescribeProfileFields(record));
  ASSERT_TRUE(SaveProfile(reread, dir / "odd again.kpf", {}, 0));
  EXPECT_EQ(ReadFile(dir / "odd again.kpf"), odd);
  std::map<std::string, std::string> shown;
  for (const auto& [name, value] : DescribeProfileFields(reread)) shown[name] = value;
  EXPECT_EQ(shown["currentPathList"] + shown["dataSource"] + shown["displayLiErrors"] + shown["threadPriority"] +
                shown["rebuildGameTypes"] + shown["mergePlacement"] + shown["scanGameTypes"],
            "9753-1470000");
}

TEST(ProfileFileTest, WritesEachStringLengthFormAndReadsUtf16Strings) {
  TempFolder dir;
  // mameExe is the first string: after the magic (7 bytes), the version and
  // three integers.
  const size_t offset = 7 + 4 + 12;
  struct Case {
    size_t length;
    std::string prefix;
  } cases[] = {{254, "\xFE"},
               {255, std::string("\xFF\xFF\x00", 3)},
               {65533, std::string("\xFF\xFD\xFF", 3)},
               {65534, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    SettingsRecord saved;
    saved.mameExe = std::string(c.length, 'x');
    ASSERT_TRUE(SaveProfile(saved, dir / "p.kpf", {}, 0));
    std::string bytes = ReadFile(dir / "p.kpf");
    EXPECT_EQ(bytes.substr(0, 7), "\x06KPFOPT");
    EXPECT_EQ(bytes.substr(offset, c.prefix.size()), c.prefix);
    EXPECT_EQ(bytes.substr(offset + c.prefix.size(), c.length), saved.mameExe);
    SettingsRecord loaded;
    EXPECT_TRUE(LoadProfile(loaded, dir / "p.kpf") && loaded.mameExe == saved.mameExe);
  }

  // FF FE FF marks 16-bit units; their length follows in the same form.
  std::string utf16("\xFF\xFE\xFF\x07" "a\0\xE9\0\xAC\x20\xFF\x07\x00\x08\x3D\xD8\x00\xDE", 18);  // a é € U+07FF U+0800 U+1F600
  Bytes b = Bytes().Str("KPFOPT").Int(0).Int(1).Int(0).Int(0);
  b.data += utf16 + BaseItems(Bytes()).data.substr(12 + 9);  // the rest after mameExe
  SettingsRecord loaded;
  ASSERT_TRUE(LoadBytes(dir, b.data, loaded));
  EXPECT_EQ(loaded.mameExe, "a\xC3\xA9\xE2\x82\xAC\xDF\xBF\xE0\xA0\x80\xF0\x9F\x98\x80");
  EXPECT_EQ(loaded.datfile, "list.dat");
}

TEST(ProfileFileTest, RefusesDamagedProfilesAndKeepsTheRecord) {
  TempFolder dir;
  SettingsRecord current;
  current.mameExe = "keep me";
  current.romPaths = {{"/keep/", true}};
  auto refused = [&](const std::string& bytes) {
    SettingsRecord record = current;
    bool loaded = LoadBytes(dir, bytes, record);
    return !loaded && record.mameExe == "keep me" && record.romPaths.size() == 1;
  };

  std::string whole = ProfileOfVersion(4).data;
  for (size_t length = 0; length < whole.size(); ++length) {
    EXPECT_TRUE(refused(whole.substr(0, length))) << "cut at " << length;
  }
  EXPECT_TRUE(refused("\x06KPFOPX" + whole.substr(7)));

  const std::string head = Bytes().Str("KPFOPT").Int(4).Int(1).Int(0).Int(0).data;
  EXPECT_TRUE(refused(head + "\xFF\xFF\xFF\xFF\xFF\xFF\xFF" + std::string(100, 'x')));  // 4 GB string

  // Path list and selection counts far beyond the file, and negative ones.
  std::string base = BaseItems(Bytes().Str("KPFOPT").Int(4)).data;
  size_t romPathsAt = base.find(Bytes().Int(2).Int(1).Str("/roms1/").data);
  for (uint32_t count : {2000000000u, 0xFFFFFFFFu}) {
    std::string bytes = base;
    bytes.replace(romPathsAt, 4, Bytes().Int(count).data);
    EXPECT_TRUE(refused(bytes)) << count;
    EXPECT_TRUE(refused(Bytes{base}.Int(0).Str("").Int(0).Int(1).Int(count).data + "\1\1")) << count;
  }

  // A layout number no version ever wrote: 3 for the scanner's, 2 for the merger's.
  size_t scanLayoutAt = base.find(Bytes().Str("scan.log").data) + 9;
  size_t mergeLayoutAt = base.find(Bytes().Str("/dst/").data) + 6 + 5 * 4;
  for (size_t at : {scanLayoutAt, mergeLayoutAt}) {
    std::string bytes = ProfileOfVersion(0).data;
    ASSERT_FALSE(refused(bytes));
    bytes.replace(at, 4, Bytes().Int(at == scanLayoutAt ? 3 : 2).data);
    EXPECT_TRUE(refused(bytes)) << at;
  }

  SettingsRecord record = current;
  // A pipe would block a reader until someone writes to it.
  ASSERT_EQ(::mkfifo((dir / "pipe.kpf").c_str(), 0600), 0);
  EXPECT_FALSE(LoadProfile(record, dir / "pipe.kpf"));
  EXPECT_EQ(record.mameExe, "keep me");
}

TEST(ProfileFileTest, SavingKeepsTheOldProfileWhenItFailsAndTheSelectionForItsData) {
  TempFolder dir;
  SettingsRecord record;
  record.storedDataCrc = 0x1234;
  record.storedGameCount = 3;
  record.gameSelectionBytes = {0, 1, 2};  // only 1 selects
  // No data in memory: the selection read from the profile is written back.
  ASSERT_TRUE(SaveProfile(record, dir / "p.kpf", {}, 0x5678));
  std::string first = ReadFile(dir / "p.kpf");
  SettingsRecord loaded;
  ASSERT_TRUE(LoadProfile(loaded, dir / "p.kpf"));
  EXPECT_EQ(loaded.gameSelectionBytes, record.gameSelectionBytes);
  // The selection applies only to the data it was saved with: other data or
  // another count keep every set selected.
  GameList database(3), four(4);
  EXPECT_FALSE(ApplyGameSelection(loaded, 0x5678, database));
  EXPECT_FALSE(ApplyGameSelection(loaded, 0x1234, four));
  EXPECT_TRUE(database[0].selected && four[0].selected);
  EXPECT_TRUE(ApplyGameSelection(loaded, 0x1234, database));
  EXPECT_EQ(database[0].selected + 2 * database[1].selected + 4 * database[2].selected, 2);

  // The new file cannot be written (as on a full disk): the old one stays
  // whole.
  record.mameExe = "changed";
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit unlimited, full;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &unlimited), 0);
  full = unlimited;
  full.rlim_cur = 16;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &full), 0);
  bool savedWhenFull = SaveProfile(record, dir / "p.kpf", {}, 0);
  ::setrlimit(RLIMIT_FSIZE, &unlimited);
  EXPECT_FALSE(savedWhenFull);
  EXPECT_EQ(ReadFile(dir / "p.kpf"), first);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary left";

  // Another spelling of the name replaces the file rather than adding one.
  ASSERT_TRUE(SaveProfile(record, dir / "P.KPF", {}, 0));
  EXPECT_NE(ReadFile(dir / "p.kpf"), first);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no second file";
}

}  // namespace
}  // namespace kestrel
