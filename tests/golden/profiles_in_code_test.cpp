// What only a profile can say, and "profile save" can't write: a game
// selection, a disabled ROM path, an empty temporary folder, folders
// relative to where the command runs. The profiles are written here; the
// commands' outputs and trees are compared with tests/golden/profiles_in_code.txt.
#include <gtest/gtest.h>

#include <filesystem>

#include "archive/zip_reader.h"
#include "golden/golden_record.h"
#include "settings/profile_file.h"
#include "support/crc_data.h"
#include "support/stored_zip.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using testing::StoredZip;
using testing::WriteFile;

SettingsRecord Defaults() {
  SettingsRecord settings;
  ResetSettings(settings);
  return settings;
}

TEST(ProfilesInCodeTest, WhatOnlyAProfileSaysReachesTheCommands) {
  testing::TempFolder dir;
  testing::GoldenRecord record("profiles_in_code", dir);
  // A game selection holds for the data it was made with: the missing
  // NeoGeo game left out is not scanned, and not rebuilt.
  WriteFile(dir / "list.dat",
            "game ( name arc description \"Arcade\" rom ( name arc.1 size 7 crc 1d30faf3 ) )\n"
            "game ( name ngx description \"Neo X\" rom ( name neo-geo.rom size 131072 crc 9036d879 )"
            " rom ( name ngx.1 size 16 crc 12345678 ) )\n");
  WriteFile(dir / "roms/arc/arc.1", "kestrel");
  SettingsRecord picked = Defaults();
  uint32_t size = 0;
  ASSERT_TRUE(ReadFileCrc(RealFileSystem(), dir / "list.dat", size, picked.storedDataCrc));
  picked.storedGameCount = 2;
  picked.gameSelectionBytes = {1, 0};  // arc, ngx
  ASSERT_TRUE(SaveProfile(picked, dir / "picked.kpf", {}, 0));
  const std::string list = " --datfile <root>/list.dat --data-folder <root>/data --temp-folder <root>/";
  record.Run("scan --profile <root>/picked.kpf" + list +
             " --rom-path <root>/roms --backup-folder <root>/ --fastscan-file <root>/fast.fsc --game-types neogeo");
  WriteFile(dir / "pool/a", "kestrel");
  WriteFile(dir / "pool/b", testing::DataWithCrc(16, 0x12345678));
  fs::create_directories(dir / "picked");
  record.Run("rebuild --profile <root>/picked.kpf" + list + " --source <root>/pool --destination <root>/picked");
  record.Tree("picked");

  // A temporary folder a profile leaves empty is missing, never the folder
  // the command started in.
  SettingsRecord empty = Defaults();
  empty.tempFolder = "";
  ASSERT_TRUE(SaveProfile(empty, dir / "empty.kpf", {}, 0));
  record.Run("scan --profile <root>/empty.kpf --datfile <root>/list.dat --rom-path <root>/roms --data-folder <root>/data");
  record.Run("rebuild --profile <root>/empty.kpf --datfile <root>/list.dat --data-folder <root>/data --source "
             "<root>/pool --destination <root>/picked");

  // A disabled ROM path is no part of the family, and the profile's Clean
  // Set, Remove Old and destination do not reach the command line's merge.
  fs::copy_file(testing::SourceDir() + "tests/golden/lists/tools.dat", dir / "tools.dat");
  WriteFile(dir / "sets/par.zip", StoredZip({{"p.1", "parent rom one"}, {"p.2", "parent rom two!"}, {"readme.txt", "mine"}}));
  WriteFile(dir / "off/clo.zip", StoredZip({{"p.1", "parent rom one"}, {"c.1", "the clone's own rom"}}));
  WriteFile(dir / "more/par.zip", StoredZip({{"p.1", "parent rom one"}, {"p.2", "parent rom two!"}}));
  fs::create_directories(dir / "out");
  SettingsRecord merge = Defaults();
  merge.romPaths = {{dir / "sets/", true, -1, 0}, {dir / "off/", false, -1, 1}, {dir / "more/", true, -1, 2}};
  merge.mergeCleanSet = merge.mergeRemoveOld = true;
  merge.mergePlacement = MergePlacement::kIntoDestination;
  merge.mergeDestination = dir / "out/";
  ASSERT_TRUE(SaveProfile(merge, dir / "merge.kpf", {}, 0));
  record.Run("merge --profile <root>/merge.kpf --datfile <root>/tools.dat --data-folder <root>/data --temp-folder "
             "<root>/ --backup-folder <root>/backup");
  for (const char* folder : {"sets", "off", "more", "out"}) record.Tree(folder);

  // The program's own folders inside a ROM path, named relative to where
  // the command runs: the scan never takes them for unneeded folders (a
  // repair would remove them), and still looks at the rest of the top level.
  ASSERT_TRUE(testing::BuildDemoCollection(dir / "demo"));
  for (const char* folder : {"temp", "backup", "misc"}) WriteFile(dir / "demo/roms/" + folder + "/keep.txt", "x");
  SettingsRecord relative = Defaults();
  relative.tempFolder = "demo/roms/temp/";
  relative.backupFolder = "demo/roms/backup";
  relative.miscPaths = {PathEntry{"demo/roms/misc/"}};
  relative.romPaths = {PathEntry{"demo/roms/"}};
  ASSERT_TRUE(SaveProfile(relative, dir / "relative.kpf", {}, 0));
  record.Run("scan --datfile <source>/examples/demo.dat --fastscan-file <root>/demo.fsc --profile relative.kpf"
             " --data-folder demo/roms/data",
             "no");
  record.Check();
}

}  // namespace
}  // namespace kestrel
