#include "settings/profile_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <iterator>
#include <map>

#include "settings/game_selection.h"
#include "settings/profile_fields.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

// Lets no file grow beyond `bytes` while it lives, as a full disk would;
// writes past it fail instead of raising a signal.
struct FileSizeLimit {
  explicit FileSizeLimit(rlim_t bytes) : previous(std::signal(SIGXFSZ, SIG_IGN)) {
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit limit{bytes, old.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &old), std::signal(SIGXFSZ, previous); }
  rlimit old{};
  void (*previous)(int);
};

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
    r.startOption = 1;
    r.dataCrc = 77;
    ASSERT_TRUE(LoadBytes(dir, ProfileOfVersion(version).data, r));
    // Every load starts from a new record.
    EXPECT_EQ(r.startOption, 0);
    EXPECT_EQ(r.dataCrc, 0u);
    // Version 0 items, a sample of each kind.
    EXPECT_FALSE(r.parentClones);
    EXPECT_EQ(r.threadPriority, -2);
    EXPECT_EQ(r.tempFolder, "/t/");
    ASSERT_EQ(r.romPaths.size(), 2u);
    EXPECT_EQ(r.romPaths[1].path, "/roms2/");
    EXPECT_FALSE(r.romPaths[1].enabled);
    EXPECT_EQ(r.romPaths[1].position, 1);
    EXPECT_TRUE(r.fixCase == false && r.fixLength == true);
    EXPECT_EQ(r.scanGameTypes, 1);
    // Later items, or their defaults.
    EXPECT_EQ(r.showAllZeroCrcs, version >= 1);
    EXPECT_EQ(r.gameFilter, version >= 2 ? "pac*" : "");
    EXPECT_EQ(r.storedDataCrc, version >= 2 ? 0xCAFEF00Du : 0u);
    EXPECT_EQ(r.storedGameCount, version >= 2 ? 3 : 0);
    EXPECT_EQ(r.gameSelectionBytes, version >= 2 ? (std::vector<uint8_t>{1, 0, 1}) : std::vector<uint8_t>{});
    EXPECT_EQ(r.raineExe, version >= 3 ? "raine.exe" : "");
    EXPECT_EQ(r.rebuildLogfile, version >= 4 ? "rb.log" : "");
    EXPECT_EQ(r.rebuildRecursive, version < 4);
    EXPECT_EQ(r.fixMissing, version >= 4);
    EXPECT_EQ(r.addPaths.size(), version >= 4 ? 1u : 0u);
  }
}

// Pointers to every stored field of a record, so that a test can give each
// its own value.
struct StoredFields {
  std::vector<bool*> flags;
  std::vector<int32_t*> ints;
  std::vector<std::string*> strings;
};

StoredFields FieldsOf(SettingsRecord& r) {
  return {{&r.parentClones, &r.makeBackups, &r.pathWarnings, &r.rebuildZip, &r.rebuildTildeCrcs,
           &r.rebuildZeroCrcs, &r.rebuildRemoveSources, &r.rebuildCreateLog, &r.rebuildRecursive,
           &r.mergeCleanSet, &r.mergeZip, &r.mergeRemoveOld, &r.scanGames, &r.scanRoms,
           &r.scanSamples, &r.checkMissing, &r.checkChecksum, &r.checkUnneeded, &r.checkName,
           &r.checkLength, &r.checkCase, &r.fixUnneeded, &r.fixName, &r.fixLength, &r.fixCase,
           &r.fixMissing, &r.fixMissingAdvanced, &r.allowDoubleNames, &r.altSamplesSupport,
           &r.advancedUnneeded, &r.zeroCrcCreation, &r.showMissingZeroCrcs, &r.askBeforeFixing,
           &r.showAllZeroCrcs, &r.addStatistics},
          {&r.currentPathList, &r.dataSource, &r.displayLiErrors, &r.threadPriority, &r.zipLevel,
           &r.rebuildMergeMode, &r.rebuildGameTypes, &r.mergeMode, &r.mergePlacement,
           &r.scanMergeMode, &r.scanGameTypes},
          {&r.mameExe, &r.datfile, &r.raineExe, &r.backupFolder, &r.tempFolder, &r.rebuildSource,
           &r.rebuildDestination, &r.rebuildLogfile, &r.mergeDestination, &r.fastscanFile,
           &r.scannerLogfile, &r.gameFilter}};
}

// Every stored field of `r` as one text, listed independently of the
// program's own field list so that a field it drops or swaps shows.
std::string StoredImage(SettingsRecord& r) {
  StoredFields fields = FieldsOf(r);
  std::string image;
  for (bool* flag : fields.flags) image += *flag ? '1' : '0';
  for (int32_t* value : fields.ints) image += " " + std::to_string(*value);
  for (std::string* text : fields.strings) image += "|" + *text;
  for (PathList* list : {&r.romPaths, &r.samplePaths, &r.miscPaths, &r.addPaths}) {
    image += "\nlist";
    for (const PathEntry& entry : *list) image += "|" + entry.path + (entry.enabled ? "+" : "-");
  }
  image += "\n" + std::to_string(r.storedDataCrc) + " " + std::to_string(r.storedGameCount);
  for (uint8_t selected : r.gameSelectionBytes) image += std::to_string(selected);
  return image;
}

TEST(ProfileFileTest, RoundTripsEveryStoredField) {
  TempFolder dir;
  GameList database(4);
  database[1].selected = false;
  // Each bit of a flag's index in turn: any two flags swapped differ in one.
  for (int bit = 0; bit < 6; ++bit) {
    SCOPED_TRACE(bit);
    SettingsRecord saved;
    StoredFields fields = FieldsOf(saved);
    for (size_t i = 0; i < fields.flags.size(); ++i) *fields.flags[i] = (i >> bit) & 1;
    for (size_t i = 0; i < fields.ints.size(); ++i) *fields.ints[i] = static_cast<int32_t>(i * 7 + bit) - 20;
    for (size_t i = 0; i < fields.strings.size(); ++i) *fields.strings[i] = "/Text " + std::to_string(i) + "/";
    saved.romPaths = {{"/Roms/", true}, {"/more roms/", false}};
    saved.samplePaths = {{"/samples/", false}};
    saved.miscPaths = {{std::string(300, 'm'), true}};
    saved.addPaths = {{"/add/", true}, {"", false}, {"/add2/", true}};
    saved.dataCrc = 0x89ABCDEF;
    ASSERT_TRUE(SaveProfile(saved, dir / "p.kpf", database));
    SettingsRecord loaded;
    ASSERT_TRUE(LoadProfile(loaded, dir / "p.kpf"));
    // The selection comes from the database and the data CRC of the record.
    saved.storedDataCrc = 0x89ABCDEF;
    saved.storedGameCount = 4;
    saved.gameSelectionBytes = {1, 0, 1, 1};
    EXPECT_EQ(StoredImage(loaded), StoredImage(saved));
  }
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
    ASSERT_TRUE(SaveProfile(saved, dir / "p.kpf", {}));
    std::string bytes = ReadFile(dir / "p.kpf");
    EXPECT_EQ(bytes.substr(0, 7), "\x06KPFOPT");
    EXPECT_EQ(bytes.substr(offset, c.prefix.size()), c.prefix);
    EXPECT_EQ(bytes.substr(offset + c.prefix.size(), c.length), saved.mameExe);
    SettingsRecord loaded;
    ASSERT_TRUE(LoadProfile(loaded, dir / "p.kpf"));
    EXPECT_EQ(loaded.mameExe, saved.mameExe);
  }

  // FF FE FF marks 16-bit units; their length follows in the same form.
  std::string utf16("\xFF\xFE\xFF\x05" "a\0\xE9\0\xAC\x20\x3D\xD8\x00\xDE", 14);  // a é € U+1F600
  Bytes b = Bytes().Str("KPFOPT").Int(0).Int(1).Int(0).Int(0);
  b.data += utf16 + BaseItems(Bytes()).data.substr(12 + 9);  // the rest after mameExe
  SettingsRecord loaded;
  ASSERT_TRUE(LoadBytes(dir, b.data, loaded));
  EXPECT_EQ(loaded.mameExe, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
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
  EXPECT_TRUE(refused(ProfileOfVersion(-1).data));

  const std::string head = Bytes().Str("KPFOPT").Int(4).Int(1).Int(0).Int(0).data;
  EXPECT_TRUE(refused(head + "\xFF\xFF\xFF\xFF\xFF\xFF\xFF" + std::string(100, 'x')));  // 4 GB string
  EXPECT_TRUE(refused(head + "\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF" + std::string(100, 'x')));
  EXPECT_TRUE(refused(head + "\xFF\xFE\xFF\xFF\xFE\xFF\x01x"));  // the marker twice

  // Path list and selection counts far beyond the file, and negative ones.
  std::string base = BaseItems(Bytes().Str("KPFOPT").Int(4)).data;
  size_t romPathsAt = base.find(Bytes().Int(2).Int(1).Str("/roms1/").data);
  ASSERT_NE(romPathsAt, std::string::npos);
  for (uint32_t count : {2000000000u, 0xFFFFFFFFu}) {
    std::string bytes = base;
    bytes.replace(romPathsAt, 4, Bytes().Int(count).data);
    EXPECT_TRUE(refused(bytes)) << count;
    EXPECT_TRUE(refused(Bytes{base}.Int(0).Str("").Int(0).Int(1).Int(count).data + "\1\1")) << count;
  }

  SettingsRecord record = current;
  EXPECT_FALSE(LoadProfile(record, dir / "missing.kpf"));
  EXPECT_FALSE(LoadProfile(record, dir.path()));
  // A pipe would block a reader until someone writes to it.
  ASSERT_EQ(::mkfifo((dir / "pipe.kpf").c_str(), 0600), 0);
  EXPECT_FALSE(LoadProfile(record, dir / "pipe.kpf"));
  EXPECT_EQ(record.mameExe, "keep me");
}

TEST(ProfileFileTest, SavingKeepsTheOldProfileWhenItFailsAndTheSelectionWithoutData) {
  TempFolder dir;
  SettingsRecord record;
  record.storedDataCrc = 0x1234;
  record.storedGameCount = 3;
  record.gameSelectionBytes = {0, 1, 0};
  record.dataCrc = 0x1234;
  // No data in memory: the selection read from the profile is written back.
  ASSERT_TRUE(SaveProfile(record, dir / "p.kpf", {}));
  std::string first = ReadFile(dir / "p.kpf");
  SettingsRecord loaded;
  ASSERT_TRUE(LoadProfile(loaded, dir / "p.kpf"));
  EXPECT_EQ(loaded.gameSelectionBytes, record.gameSelectionBytes);
  EXPECT_EQ(loaded.storedDataCrc, 0x1234u);

  // The new file cannot be written (as on a full disk): the old one stays
  // whole.
  record.mameExe = "changed";
  {
    FileSizeLimit full(16);
    EXPECT_FALSE(SaveProfile(record, dir / "p.kpf", {}));
  }
  EXPECT_EQ(ReadFile(dir / "p.kpf"), first);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary left";
  EXPECT_FALSE(SaveProfile(record, dir / "no folder/p.kpf", {}));

  // Another spelling of the name replaces the file rather than adding one.
  ASSERT_TRUE(SaveProfile(record, dir / "P.KPF", {}));
  EXPECT_NE(ReadFile(dir / "p.kpf"), first);
  EXPECT_FALSE(std::filesystem::exists(dir / "P.KPF"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary left";
}

TEST(GameSelectionTest, AppliesOnlyToTheDataItWasSavedWith) {
  SettingsRecord r;
  r.dataCrc = r.storedDataCrc = 0xABCD;
  r.storedGameCount = 3;
  r.gameSelectionBytes = {1, 0, 2};  // only 1 selects
  GameList database(3);
  EXPECT_TRUE(ApplyGameSelection(r, database));
  EXPECT_EQ(database[0].selected + 2 * database[1].selected + 4 * database[2].selected, 1);

  auto keepsAllSelected = [](const SettingsRecord& record, size_t games) {
    GameList fresh(games);
    return !ApplyGameSelection(record, fresh) &&
           std::all_of(fresh.begin(), fresh.end(), [](const GameSet& g) { return g.selected; });
  };
  SettingsRecord otherData = r, lying = r;
  otherData.dataCrc = 0xABCE;
  lying.gameSelectionBytes.pop_back();  // a count that does not match the bytes held
  EXPECT_TRUE(keepsAllSelected(otherData, 3));
  EXPECT_TRUE(keepsAllSelected(r, 4));
  EXPECT_TRUE(keepsAllSelected(SettingsRecord{}, 0));
  EXPECT_TRUE(keepsAllSelected(lying, 3));
}


TEST(ProfileFieldsTest, ShowsEveryStoredFieldOnceWithListsAndSelection) {
  SettingsRecord r;
  r.romPaths = {{"/roms/", true}, {"/old/", false}};
  r.storedDataCrc = 0x1A2B;
  r.storedGameCount = 4;
  r.gameSelectionBytes = {1, 0, 1, 1};

  auto lines = DescribeProfileFields(r);
  std::map<std::string, std::string> byName;
  for (const auto& [name, value] : lines) {
    EXPECT_TRUE(byName.emplace(name, value).second) << "twice: " << name;
  }
  EXPECT_EQ(byName["romPaths"], "2 entries");
  EXPECT_EQ(byName["romPaths[0]"], "/roms/ (enabled)");
  EXPECT_EQ(byName["romPaths[1]"], "/old/ (disabled)");
  EXPECT_EQ(byName["storedDataCrc"], "0x00001a2b");
  EXPECT_EQ(byName["gameSelectionBytes"], "4 games, 3 selected");
  // 65 stored fields (the data CRC counted once) and two list entries.
  EXPECT_EQ(lines.size(), 65u + 2u);
}

}  // namespace
}  // namespace kestrel
