#include "merger/merger_fixture.h"

#include <filesystem>

#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "support/crc_data.h"
#include "support/game_records.h"

namespace kestrel::testing {

namespace fs = std::filesystem;

std::string RomData(const std::string& romName) {
  std::string data;
  for (int i = 0; data.size() < 3000; ++i) data += romName + " line " + std::to_string(i % 37) + "\n";
  return data;
}

MergerTest::MergerTest() {
  for (const std::string& path : {path1, path2}) fs::create_directories(path);
  settings.romPaths = {{path1, true}, {path2, true}};
  settings.backupFolder = backupFolder;
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
  for (const char* set : {"pacman", "puckman", "single"}) WriteZip(path1, set, SplitFiles(set));
  for (const char* set : {"pacmanf", "galaxian", "galaxa"}) WriteZip(path2, set, SplitFiles(set));
  WriteFolder(path2, "pacman", {{"a.1", RomData("a.1")}});
}

GameSet& MergerTest::AddGame(const std::string& name, const Files& roms, const std::string& cloneOf) {
  GameSet& game = database.emplace_back();
  game.name = game.description = name;
  game.cloneOf = cloneOf;
  game.hasParent = !cloneOf.empty();
  for (const auto& [romName, data] : roms)
    game.roms.push_back(Rom(romName, static_cast<int32_t>(data.size()), CrcOf(data)));
  game.romCount = static_cast<int>(game.roms.size());
  return game;
}

Files MergerTest::SetFiles(const std::string& name, bool ownOnly) {
  Files files;
  for (const RomEntry& rom : Game(name).roms)
    if (!ownOnly || !Game(name).hasParent || !rom.inParent) files[rom.name] = RomData(rom.name);
  return files;
}

Files MergerTest::MergedFiles(const std::string& parent) {
  Files files = FullFiles(parent);
  for (const CloneRef& clone : Game(parent).clones) files.merge(FullFiles(database[size_t(clone.index)].name));
  return files;
}

void MergerTest::WriteZip(const std::string& folder, const std::string& set, const Files& files) {
  std::string staging = root / ("staging-" + set + "/");
  std::vector<std::string> paths;
  for (const auto& [name, data] : files) {
    WriteFile(staging + name, data);
    paths.push_back(staging + name);
  }
  ASSERT_TRUE(ZipAddFiles(RealFileSystem(), zipLibrary, folder + set + ".zip", paths));
  fs::remove_all(staging);
}

void MergerTest::WriteFolder(const std::string& folder, const std::string& set, const Files& files) {
  fs::create_directories(folder + set);
  for (const auto& [name, data] : files) WriteFile(folder + set + "/" + name, data);
}

Files MergerTest::ZipContents(const std::string& setPath) {
  Files files;
  ZipEntryList entries;
  if (FolderExists(setPath))
    for (const auto& entry : fs::directory_iterator(setPath)) files[entry.path().filename()] = ReadFile(entry.path());
  if (!ReadZipDirectory(RealFileSystem(), setPath, entries, true, nullptr)) return files;
  for (const ZipEntry& entry : entries) {
    std::string out = root / "extracted.tmp";
    EXPECT_TRUE(ExtractZipEntry(RealFileSystem(), entry, out)) << setPath << " " << entry.storedName;
    EXPECT_EQ(files.count(entry.storedName), 0u) << "twice in " << setPath << ": " << entry.storedName;
    files[entry.storedName] = ReadFile(out);
    fs::remove(out);
  }
  return files;
}

Files MergerTest::Snapshot() {
  Files files;
  for (const auto& entry : fs::recursive_directory_iterator(root.path()))
    files[fs::relative(entry.path(), root.path())] = entry.is_regular_file() ? ReadFile(entry.path()) : "/";
  return files;
}

void MergerTest::ExpectUnchangedBut(const Files& before, const std::string& changing) {
  Files after = Snapshot();
  for (const auto& [file, bytes] : before) {
    if (file.find(changing) != std::string::npos) continue;
    EXPECT_EQ(after.count(file) ? after[file] : "(gone)", bytes) << file;
  }
  for (const auto& [file, bytes] : after)
    EXPECT_TRUE(before.count(file) || (file.find(changing) != std::string::npos && file.find(".kpw") == std::string::npos))
        << "new: " << file;
}

}  // namespace kestrel::testing
