#include "settings/profile_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <map>

#include "platform/file_system.h"
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
  if (version >= 5) b.Int(1);
  if (version >= 6) b.Int(1).Int(0);
  if (version >= 7) b.Int(1).Int(1).Str("/hash/a2600.xml").Str("/hash/");
  return b;
}

bool LoadBytes(const TempFolder& dir, const std::string& bytes, SettingsRecord& record) {
  WriteFile(dir / "p.kpf", bytes);
  return LoadProfile(record, dir / "p.kpf");
}

// The values of the named fields as `kestrel-cli profile show` gives them.
std::string Shown(const SettingsRecord& record, const std::vector<std::string>& names) {
  std::map<std::string, std::string> fields;
  for (const auto& [name, value] : DescribeProfileFields(record)) fields[name] = value;
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : "|") + fields.at(name);
  return text;
}

// Version 0 items, a sample of each kind and the layouts each as its tool
// numbers them; then later items, or their defaults.
TEST(ProfileFileTest, LoadsEveryVersionWithDefaultsForWhatIsMissing) {
  TempFolder dir;
  const std::vector<std::string> fields = {
      "threadPriority",     "romPaths[1]",   "fixCase",          "fixLength",  "rebuildMergeMode",
      "mergeMode",          "scanMergeMode", "showAllZeroCrcs",  "gameFilter", "storedDataCrc",
      "gameSelectionBytes", "raineExe",      "rebuildRecursive", "addPaths",   "checkSha1",
      "rebuildTorrentZip",  "softwareLists", "hashPath"};
  const std::string v0 = "-2|/roms2/ (disabled)|0|1|2|0|0|";
  const std::map<int, std::string> expected = {{0, v0 + "0||0x00000000|0 games, 0 selected||1|0 entries|0|0|0 entries|"},
                                               {1, v0 + "1||0x00000000|0 games, 0 selected||1|0 entries|0|0|0 entries|"},
                                               {2, v0 + "1|pac*|0xcafef00d|3 games, 2 selected||1|0 entries|0|0|0 entries|"},
                                               {3, v0 + "1|pac*|0xcafef00d|3 games, 2 selected|raine.exe|1|0 entries|0|0|0 entries|"},
                                               {4, v0 + "1|pac*|0xcafef00d|3 games, 2 selected|raine.exe|0|1 entries|0|0|0 entries|"},
                                               {5, v0 + "1|pac*|0xcafef00d|3 games, 2 selected|raine.exe|0|1 entries|1|0|0 entries|"},
                                               {6, v0 + "1|pac*|0xcafef00d|3 games, 2 selected|raine.exe|0|1 entries|1|1|0 entries|"},
                                               {7, v0 + "1|pac*|0xcafef00d|3 games, 2 selected|raine.exe|0|1 entries|1|1|1 entries|/hash/"},
                                               {9, v0 + "1|pac*|0xcafef00d|3 games, 2 selected|raine.exe|0|1 entries|1|1|1 entries|/hash/"}};
  for (const auto& [version, values] : expected) {
    SettingsRecord r;
    r.storedDataCrc = 77;
    ASSERT_TRUE(LoadBytes(dir, ProfileOfVersion(version).data, r)) << version;
    EXPECT_EQ(Shown(r, fields), values) << version;
  }
}

// A profile goes back to disk as it came, byte for byte: one that
// "kestrel-cli profile save" wrote with the modes still stored as plain
// integers (data/cli_saved.kpf: a datfile, paths, non-default options of
// every tool, --fix-missing-advanced, which stores both fix-missing flags),
// and one of non-default values of every kind whose modes hold numbers no
// mode has, which are kept as read. Saved with data in memory, the
// selection comes from the database and its data CRC.
TEST(ProfileFileTest, RoundTripsEveryFieldByteForByteEvenModesOutOfRange) {
  TempFolder dir;
  const std::string written = ReadFile(testing::SourceDir() + "tests/settings/data/cli_saved.kpf");
  ASSERT_GT(written.size(), 300u);
  SettingsRecord record;
  ASSERT_TRUE(LoadBytes(dir, written, record));
  EXPECT_EQ(Shown(record, {"scanGameTypes", "rebuildGameTypes", "mergePlacement", "displayLiErrors", "fixMissing",
                           "fixMissingAdvanced"}),
            "1|2|1|2|1|1");
  ASSERT_TRUE(SaveProfile(record, dir / "again.kpf", {}, 0));
  EXPECT_EQ(ReadFile(dir / "again.kpf"), written);

  std::string odd = ProfileOfVersion(kProfileVersion).data;
  odd.replace(15, 8, Bytes().Int(9).Int(7).data);  // after the magic and the version: currentPathList, dataSource
  ASSERT_TRUE(LoadBytes(dir, odd, record));
  record.displayLiErrors = ListErrorLevel{5};
  record.threadPriority = ThreadPriorityLevel{3};
  record.rebuildGameTypes = RebuildGameTypes{-1};
  record.mergePlacement = MergePlacement{4};
  record.scanGameTypes = ScanGameTypes{70000};
  record.addPaths.push_back({"", false});
  GameList database(4);
  database[1].selected = false;
  ASSERT_TRUE(SaveProfile(record, dir / "odd.kpf", database, 0x89ABCDEF));
  SettingsRecord reread;
  ASSERT_TRUE(LoadProfile(reread, dir / "odd.kpf"));
  record.storedDataCrc = 0x89ABCDEF;
  record.storedGameCount = 4;
  record.gameSelectionBytes = {1, 0, 1, 1};
  EXPECT_EQ(DescribeProfileFields(reread), DescribeProfileFields(record));
  EXPECT_EQ(Shown(reread, {"currentPathList", "dataSource", "displayLiErrors", "threadPriority", "rebuildGameTypes",
                           "mergePlacement", "scanGameTypes", "addPaths[1]"}),
            "9|7|5|3|-1|4|70000| (disabled)");
  EXPECT_EQ(reread.gameSelectionBytes, record.gameSelectionBytes);
  ASSERT_TRUE(SaveProfile(reread, dir / "odd again.kpf", {}, 0));
  EXPECT_EQ(ReadFile(dir / "odd again.kpf"), ReadFile(dir / "odd.kpf"));
}

// mameExe is the first string: after the magic (7 bytes), the version and
// three integers. FF FE FF marks 16-bit units; their length follows in the
// same form.
TEST(ProfileFileTest, WritesEachStringLengthFormAndReadsUtf16Strings) {
  TempFolder dir;
  const size_t offset = 7 + 4 + 12;
  for (const auto& [length, prefix] :
       std::map<size_t, std::string>{{254, "\xFE"},
                                     {255, std::string("\xFF\xFF\x00", 3)},
                                     {65533, std::string("\xFF\xFD\xFF", 3)},
                                     {65534, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7)}}) {
    SettingsRecord saved, loaded;
    saved.mameExe = std::string(length, 'x');
    ASSERT_TRUE(SaveProfile(saved, dir / "p.kpf", {}, 0));
    std::string bytes = ReadFile(dir / "p.kpf");
    EXPECT_EQ(bytes.substr(0, 7) + bytes.substr(offset, prefix.size() + length), "\x06KPFOPT" + prefix + saved.mameExe);
    EXPECT_TRUE(LoadProfile(loaded, dir / "p.kpf") && loaded.mameExe == saved.mameExe) << length;
  }
  std::string utf16(
      "\xFF\xFE\xFF\x07"
      "a\0\xE9\0\xAC\x20\xFF\x07\x00\x08\x3D\xD8\x00\xDE",
      18);  // a é € U+07FF U+0800 U+1F600
  Bytes b = Bytes().Str("KPFOPT").Int(0).Int(1).Int(0).Int(0);
  b.data += utf16 + BaseItems(Bytes()).data.substr(12 + 9);  // the rest after mameExe
  SettingsRecord loaded;
  ASSERT_TRUE(LoadBytes(dir, b.data, loaded));
  EXPECT_EQ(loaded.mameExe + "|" + loaded.datfile,
            "a\xC3\xA9\xE2\x82\xAC\xDF\xBF\xE0\xA0\x80\xF0\x9F\x98\x80|list.dat");
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
  for (size_t length = 0; length < whole.size(); ++length) EXPECT_TRUE(refused(whole.substr(0, length))) << length;
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
  // A layout number no version ever wrote: 4 for the scanner's, 2 for the merger's.
  size_t scanLayoutAt = base.find(Bytes().Str("scan.log").data) + 9;
  size_t mergeLayoutAt = base.find(Bytes().Str("/dst/").data) + 6 + 5 * 4;
  for (size_t at : {scanLayoutAt, mergeLayoutAt}) {
    std::string bytes = ProfileOfVersion(0).data;
    ASSERT_FALSE(refused(bytes));
    bytes.replace(at, 4, Bytes().Int(at == scanLayoutAt ? 4 : 2).data);
    EXPECT_TRUE(refused(bytes)) << at;
  }
  // A pipe would block a reader until someone writes to it.
  ASSERT_EQ(::mkfifo((dir / "pipe.kpf").c_str(), 0600), 0);
  SettingsRecord record = current;
  EXPECT_FALSE(LoadProfile(record, dir / "pipe.kpf"));
  EXPECT_EQ(record.mameExe, "keep me");
}

// The selection applies only to the data it was saved with: other data or
// another count keep every set selected. A new file that cannot be written
// (as on a full disk) leaves the old one whole; another spelling of the
// name replaces the file rather than adding one.
TEST(ProfileFileTest, SavingKeepsTheOldProfileWhenItFailsAndTheSelectionForItsData) {
  TempFolder dir;
  SettingsRecord record, loaded;
  record.storedDataCrc = 0x1234;
  record.storedGameCount = 3;
  record.gameSelectionBytes = {0, 1, 2};  // only 1 selects
  // No data in memory: the selection read from the profile is written back.
  ASSERT_TRUE(SaveProfile(record, dir / "p.kpf", {}, 0x5678));
  std::string first = ReadFile(dir / "p.kpf");
  ASSERT_TRUE(LoadProfile(loaded, dir / "p.kpf"));
  EXPECT_EQ(loaded.gameSelectionBytes, record.gameSelectionBytes);
  GameList database(3), four(4);
  EXPECT_FALSE(ApplyGameSelection(loaded, 0x5678, database));
  EXPECT_FALSE(ApplyGameSelection(loaded, 0x1234, four));
  EXPECT_TRUE(database[0].selected && four[0].selected);
  loaded.gameSelectionBytes.pop_back();  // fewer marks than the count says
  EXPECT_FALSE(ApplyGameSelection(loaded, 0x1234, database));
  EXPECT_TRUE(database[1].selected && database[2].selected);
  loaded.gameSelectionBytes.push_back(2);
  EXPECT_TRUE(ApplyGameSelection(loaded, 0x1234, database));
  EXPECT_EQ(database[0].selected + 2 * database[1].selected + 4 * database[2].selected, 2);

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
  EXPECT_EQ(ListFolder(dir.path()).size(), 1u) << "no temporary left";
  ASSERT_TRUE(SaveProfile(record, dir / "P.KPF", {}, 0));
  EXPECT_NE(ReadFile(dir / "p.kpf"), first);
  EXPECT_EQ(ListFolder(dir.path()).size(), 1u) << "no second file";
}

}  // namespace
}  // namespace kestrel
