#include "rebuilder/rebuild_fixture.h"

#include <cstdio>
#include <filesystem>

#include "archive/zip_reader.h"
#include "gamedb/game_list_file.h"
#include "gamedb/validate_games.h"
#include "platform/file_system.h"
#include "platform/process.h"

namespace kestrel::testing {
RebuildTest::RebuildTest() {
  source = root / "source/";
  destination = root / "destination/";
  logfile = root / "rebuild.log";
  std::filesystem::create_directories(source);
  std::filesystem::create_directories(destination);
  std::filesystem::create_directories(root / "temp");
  settings.tempFolder = root / "temp/";
  settings.rebuildSource = source;
  settings.rebuildDestination = destination;
  settings.rebuildCreateLog = true;
  settings.rebuildLogfile = logfile;
  InitZipLibrary(zipLibrary);
  SetApplicationInterface(&ui);
}

RebuildTest::~RebuildTest() { SetApplicationInterface(nullptr); }

static std::string CrcHex(const std::string& data) {
  char text[9];
  std::snprintf(text, sizeof text, "%08x", CrcOf(data));
  return text;
}

void RebuildTest::AddGame(const std::string& name, const std::vector<GameRom>& roms, const std::string& cloneOf,
                          const std::string& romOf) {
  datfile_ += "game (\n\tname " + name + "\n\tdescription \"" + name + "\"\n";
  if (!cloneOf.empty()) datfile_ += "\tcloneof " + cloneOf + "\n";
  if (!romOf.empty()) datfile_ += "\tromof " + romOf + "\n";
  for (const GameRom& rom : roms) {
    bool dumped = !rom.data.empty();
    size_t size = dumped ? rom.data.size() : size_t(rom.noDumpSize);
    datfile_ += "\trom ( name " + rom.name + " size " + std::to_string(size) + " crc " +
                (dumped ? CrcHex(rom.data) : "0") + " )\n";
  }
  datfile_ += ")\n\n";
}

void RebuildTest::Load() { LoadList(datfile_); }

void RebuildTest::LoadList(const std::string& list) {
  WriteFile(root / "list.dat", list);
  ScriptedInterface quiet;
  auto progress = OpenProgressDialog(&quiet, "");
  GameList raw;
  database.clear();
  ASSERT_TRUE(ParseGameList(raw, root / "list.dat", *progress, false));
  ASSERT_TRUE(ValidateGames(raw, database, *progress, 0));
}

void RebuildTest::WriteZip(const std::string& path, const std::map<std::string, std::string>& members) {
  std::string staging = root / "staging/";
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::vector<std::string> arguments = {"-q", "-X", path};
  for (const auto& [name, data] : members) {
    WriteFile(staging + name, data);
    arguments.push_back(name);
  }
  ASSERT_TRUE(RunProcess("/usr/bin/zip", arguments, "/dev/null", false, staging));
  std::filesystem::remove_all(staging);
}

void RebuildTest::ClearDestination() {
  std::filesystem::remove_all(destination);
  std::filesystem::create_directories(destination);
}

RebuildOutcome RebuildTest::Rebuild() {
  if (!CheckRebuildFolders(settings, &ui)) return {true, false, {}};
  return RunRebuild(database, settings, zipLibrary, &ui);
}

std::map<std::string, std::string> RebuildTest::Tree(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& item : std::filesystem::recursive_directory_iterator(folder)) {
    if (!item.is_regular_file()) continue;
    std::string path = item.path().string();
    std::string name = path.substr(folder.size());
    ZipEntryList members;
    if (!ReadZipDirectory(path, members, true, false)) {
      files[name] = ReadFile(path);
      continue;
    }
    for (const ZipEntry& member : members) {
      EXPECT_TRUE(ExtractZipEntry(member, root / "check.tmp"));
      files[name + ":" + member.storedName] = ReadFile(root / "check.tmp");
    }
    DeleteFile(root / "check.tmp");
  }
  return files;
}

std::string RebuildTest::Log() const { return FileExists(logfile) ? ReadFile(logfile) : "(no log)"; }

}  // namespace kestrel::testing
