#include "rebuilder/rebuild_fixture.h"

#include <cstdio>
#include <filesystem>

#include "archive/zip_reader.h"
#include "gamedb/game_list_file.h"
#include "gamedb/validate_games.h"
#include "platform/process.h"

namespace kestrel::testing {

namespace fs = std::filesystem;

RebuildTest::RebuildTest() {
  for (const std::string& folder : {source, destination, root / "temp"}) fs::create_directories(folder);
  settings.tempFolder = root / "temp/";
  settings.rebuildSource = source;
  settings.rebuildDestination = destination;
  settings.rebuildCreateLog = true;
  settings.rebuildLogfile = logfile;
}

void RebuildTest::AddGame(const std::string& name, const std::vector<std::pair<std::string, std::string>>& roms) {
  datfile_ += "game (\n\tname " + name + "\n\tdescription \"" + name + "\"\n";
  for (const auto& [romName, data] : roms) {
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", CrcOf(data));
    datfile_ += "\trom ( name " + romName + " size " + std::to_string(data.size()) + " crc " + crc + " )\n";
  }
  datfile_ += ")\n\n";
}

void RebuildTest::Load() {
  WriteFile(root / "list.dat", datfile_);
  ScriptedInterface quiet;
  auto progress = OpenProgressDialog(&quiet, "");
  GameList raw;
  ListMessages listMessages;
  database.clear();
  ASSERT_TRUE(ParseGameList(raw, root / "list.dat", *progress, false, listMessages));
  ASSERT_TRUE(ValidateGames(raw, database, *progress, 0, listMessages));
}

void RebuildTest::WriteZip(const std::string& path, const Files& members) {
  std::string staging = root / "staging/";
  fs::create_directories(fs::path(path).parent_path());
  std::vector<std::string> arguments = {"-q", "-X", path};
  for (const auto& [name, data] : members) {
    WriteFile(staging + name, data);
    arguments.push_back(name);
  }
  ASSERT_TRUE(RunProcess("/usr/bin/zip", arguments, "/dev/null", false, staging));
  fs::remove_all(staging);
}

void RebuildTest::ClearDestination() {
  fs::remove_all(destination);
  fs::create_directories(destination);
}

Files RebuildTest::Tree(const std::string& folder) {
  Files files;
  for (const auto& item : fs::recursive_directory_iterator(folder)) {
    if (!item.is_regular_file()) continue;
    std::string path = item.path().string(), name = path.substr(folder.size());
    ZipEntryList members;
    bool isZip = ReadZipDirectory(RealFileSystem(), path, members, true, nullptr);
    if (!isZip) files[name] = ReadFile(path);
    for (const ZipEntry& member : isZip ? members : ZipEntryList{}) {
      EXPECT_TRUE(ExtractZipEntry(RealFileSystem(), member, root / "check.tmp"));
      files[name + ":" + member.storedName] = ReadFile(root / "check.tmp");
    }
  }
  DeleteFile(root / "check.tmp");
  return files;
}

}  // namespace kestrel::testing
