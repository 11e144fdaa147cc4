#include "rebuilder/rebuild_fixture.h"

#include <array>
#include <cstdio>
#include <filesystem>

#include "archive/crc32.h"
#include "archive/zip_reader.h"
#include "gamedb/datfile_parser.h"
#include "gamedb/validate_games.h"
#include "platform/file_system.h"
#include "platform/process.h"

namespace kestrel::testing {
namespace {

std::array<uint32_t, 256> CrcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}

std::string Hex(uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08x", value);
  return text;
}

}  // namespace

uint32_t CrcOf(const std::string& data) { return Crc32(0, data.data(), data.size()); }

std::string DataWithCrc(size_t size, uint32_t crc) {
  static const std::array<uint32_t, 256> table = CrcTable();
  std::string data(size - 4, 'x');
  // The table indices that lead to the wanted register depend on it alone;
  // walking forwards then gives the bytes that select them.
  uint32_t wanted = ~crc;
  std::array<uint8_t, 4> indices{};
  for (int k = 3; k >= 0; --k) {
    for (uint32_t j = 0; j < 256; ++j) {
      if ((table[j] >> 24) != (wanted >> 24)) continue;
      indices[k] = static_cast<uint8_t>(j);
      wanted = (wanted ^ table[j]) << 8;
      break;
    }
  }
  uint32_t reg = ~CrcOf(data);
  for (int k = 0; k < 4; ++k) {
    data.push_back(static_cast<char>((reg ^ indices[k]) & 0xFF));
    reg = (reg >> 8) ^ table[indices[k]];
  }
  return data;
}

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

void RebuildTest::AddGame(const std::string& name, const std::vector<GameRom>& roms, const std::string& cloneOf) {
  datfile_ += "game (\n\tname " + name + "\n\tdescription \"" + name + "\"\n";
  if (!cloneOf.empty()) datfile_ += "\tcloneof " + cloneOf + "\n";
  for (const GameRom& rom : roms) {
    bool dumped = !rom.data.empty();
    size_t size = dumped ? rom.data.size() : size_t(rom.noDumpSize);
    datfile_ += "\trom ( name " + rom.name + " size " + std::to_string(size) + " crc " +
                (dumped ? Hex(CrcOf(rom.data)) : "0") + " )\n";
  }
  datfile_ += ")\n\n";
}

void RebuildTest::Load() {
  WriteFile(root / "list.dat", datfile_);
  ScriptedInterface quiet;
  auto progress = OpenProgressDialog(&quiet, "");
  GameList raw;
  ASSERT_TRUE(ParseDatfile(raw, root / "list.dat", *progress, false));
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
