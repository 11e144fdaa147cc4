#include "merger/merger_fixture.h"

#include <algorithm>
#include <filesystem>

#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "support/crc_data.h"
#include "support/game_records.h"
#include "support/link_families.h"

namespace kestrel::testing {

std::string RomData(const std::string& romName) {
  std::string data;
  for (int i = 0; data.size() < 3000; ++i) data += romName + " line " + std::to_string(i % 37) + "\n";
  return data;
}

MergerTest::MergerTest() {
  path1 = root / "roms1/";
  path2 = root / "roms2/";
  std::filesystem::create_directories(path1);
  std::filesystem::create_directories(path2);
  settings.activeRomPaths = {path1, path2};
  settings.activeRomPathCount = 2;
  InitZipLibrary(zipLibrary);
}

void MergerTest::AddStandardGames() {
  AddGame("pacman", {{"a.1", RomData("a.1")}, {"a.2", RomData("a.2")}});
  AddGame("pacmanf", {{"a.1", RomData("a.1")}, {"f.3", RomData("f.3")}}, "pacman");
  AddGame("puckman", {{"a.2", RomData("a.2")}, {"p.4", RomData("p.4")}}, "pacman");
  AddGame("galaxian", {{"g.1", RomData("g.1")}});
  AddGame("galaxa", {{"g.1", RomData("g.1")}, {"ga.2", RomData("ga.2")}}, "galaxian");
  AddGame("single", {{"s.1", RomData("s.1")}});
  Link();
}

void MergerTest::WriteSplitCollection() {
  WriteZip(path1, "pacman", SplitFiles("pacman"));
  WriteFolder(path2, "pacman", {{"a.1", RomData("a.1")}});
  WriteZip(path2, "pacmanf", SplitFiles("pacmanf"));
  WriteZip(path1, "puckman", SplitFiles("puckman"));
  WriteZip(path2, "galaxian", SplitFiles("galaxian"));
  WriteZip(path2, "galaxa", SplitFiles("galaxa"));
  WriteZip(path1, "single", SplitFiles("single"));
}

GameSet& MergerTest::AddGame(const std::string& name, const Files& roms, const std::string& cloneOf) {
  GameSet game;
  game.name = name;
  game.description = name;
  game.cloneOf = cloneOf;
  game.hasParent = !cloneOf.empty();
  for (const auto& [romName, data] : roms)
    game.roms.push_back(Rom(romName, static_cast<int32_t>(data.size()), CrcOf(data)));
  game.romCount = static_cast<int>(game.roms.size());
  database.push_back(game);
  return database.back();
}

void MergerTest::Link() { LinkFamilies(database); }

GameSet& MergerTest::Game(const std::string& name) { return database[*FindGame(database, name)]; }

Files MergerTest::SplitFiles(const std::string& name) {
  Files files;
  for (const RomEntry& rom : Game(name).roms)
    if (!Game(name).hasParent || !rom.inParent) files[rom.name] = RomData(rom.name);
  return files;
}

Files MergerTest::FullFiles(const std::string& name) {
  Files files;
  for (const RomEntry& rom : Game(name).roms) files[rom.name] = RomData(rom.name);
  return files;
}

Files MergerTest::MergedFiles(const std::string& parent) {
  Files files = FullFiles(parent);
  for (const CloneRef& clone : Game(parent).clones) {
    Files own = FullFiles(database[size_t(clone.index)].name);
    files.insert(own.begin(), own.end());
  }
  return files;
}

void MergerTest::WriteZip(const std::string& folder, const std::string& set, const Files& files) {
  std::string staging = root / ("staging-" + set + "/");
  std::vector<std::string> paths;
  for (const auto& [name, data] : files) {
    WriteFile(staging + name, data);
    paths.push_back(staging + name);
  }
  ASSERT_TRUE(ZipAddFiles(zipLibrary, folder + set + ".zip", paths));
  std::filesystem::remove_all(staging);
}

void MergerTest::WriteFolder(const std::string& folder, const std::string& set, const Files& files) {
  std::filesystem::create_directories(folder + set);
  for (const auto& [name, data] : files) WriteFile(folder + set + "/" + name, data);
}

Files MergerTest::ZipContents(const std::string& zipPath) {
  Files files;
  ZipEntryList entries;
  if (!ReadZipDirectory(zipPath, entries, true, false)) return files;
  for (const ZipEntry& entry : entries) {
    std::string out = root / "extracted.tmp";
    EXPECT_TRUE(ExtractZipEntry(entry, out)) << zipPath << " " << entry.storedName;
    EXPECT_EQ(files.count(entry.storedName), 0u) << "twice in " << zipPath << ": " << entry.storedName;
    files[entry.storedName] = ReadFile(out);
    std::filesystem::remove(out);
  }
  return files;
}

Files MergerTest::FolderContents(const std::string& folder) {
  Files files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    files[entry.path().filename().string()] = ReadFile(entry.path().string());
  return files;
}

Files MergerTest::Snapshot() {
  Files files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root.path()))
    if (entry.is_regular_file())
      files[std::filesystem::relative(entry.path(), root.path()).string()] = ReadFile(entry.path().string());
  return files;
}

std::vector<std::string> MergerTest::Entries() {
  std::vector<std::string> entries;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root.path()))
    entries.push_back(std::filesystem::relative(entry.path(), root.path()).string());
  std::sort(entries.begin(), entries.end());
  return entries;
}

MergeOutcome MergerTest::Run(MergeButton button, ZipWriter writer) {
  return RunMerger(database, settings, &ui, zipLibrary, button, writer);
}

}  // namespace kestrel::testing
