#include "settings/profile_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "platform/file_system.h"
#include "settings/byte_stream.h"

namespace kestrel {
namespace {

constexpr char kMagic[] = "KPFOPT";
// The smallest path list entry: its `enabled` integer and an empty path.
constexpr uint64_t kSmallestPathEntry = 5;

bool ReadPathList(ByteReader& in, PathList& list) {
  int32_t count;
  if (!in.ReadInt(count) || count < 0) return false;
  if (static_cast<uint64_t>(count) > in.remaining() / kSmallestPathEntry) return false;
  // No reserve: the list grows only by entries actually read.
  PathList read;
  for (int32_t i = 0; i < count; ++i) {
    PathEntry entry;
    if (!in.ReadFlag(entry.enabled) || !in.ReadString(entry.path)) return false;
    entry.position = i;
    read.push_back(std::move(entry));
  }
  list = std::move(read);
  return true;
}

void WritePathList(ByteWriter& out, const PathList& list) {
  out.WriteInt(static_cast<int32_t>(list.size()));
  for (const PathEntry& entry : list) {
    out.WriteFlag(entry.enabled);
    out.WriteString(entry.path);
  }
}

// Items 3 to 15, which every version holds.
bool ReadBaseItems(ByteReader& in, SettingsRecord& r) {
  return in.ReadFlag(r.parentClones) && in.ReadInt(r.currentPathList) && in.ReadInt(r.dataSource) &&
         in.ReadString(r.mameExe) && in.ReadString(r.datfile) && in.ReadFlag(r.makeBackups) &&
         in.ReadString(r.backupFolder) && in.ReadString(r.tempFolder) &&
         in.ReadInt(r.displayLiErrors) && in.ReadFlag(r.pathWarnings) &&
         in.ReadInt(r.threadPriority) && in.ReadInt(r.zipLevel) && ReadPathList(in, r.romPaths) &&
         ReadPathList(in, r.samplePaths) && ReadPathList(in, r.miscPaths) &&
         in.ReadString(r.rebuildSource) && in.ReadString(r.rebuildDestination) &&
         in.ReadInt(r.rebuildMergeMode) && in.ReadInt(r.rebuildGameTypes) &&
         in.ReadFlag(r.rebuildZip) && in.ReadFlag(r.rebuildTildeCrcs) &&
         in.ReadFlag(r.rebuildZeroCrcs) && in.ReadInt(r.mergeMode) &&
         in.ReadInt(r.mergePlacement) && in.ReadFlag(r.mergeCleanSet) && in.ReadFlag(r.mergeZip) &&
         in.ReadFlag(r.mergeRemoveOld) && in.ReadString(r.mergeDestination) &&
         in.ReadFlag(r.scanGames) && in.ReadFlag(r.scanRoms) && in.ReadFlag(r.scanSamples) &&
         in.ReadFlag(r.checkMissing) && in.ReadFlag(r.checkChecksum) &&
         in.ReadFlag(r.checkUnneeded) && in.ReadFlag(r.checkName) && in.ReadFlag(r.checkLength) &&
         in.ReadFlag(r.checkCase) && in.ReadFlag(r.fixUnneeded) && in.ReadFlag(r.fixName) &&
         in.ReadFlag(r.fixLength) && in.ReadFlag(r.fixCase) && in.ReadFlag(r.allowDoubleNames) &&
         in.ReadFlag(r.altSamplesSupport) && in.ReadFlag(r.advancedUnneeded) &&
         in.ReadFlag(r.zeroCrcCreation) && in.ReadFlag(r.showMissingZeroCrcs) &&
         in.ReadFlag(r.askBeforeFixing) && in.ReadString(r.fastscanFile) &&
         in.ReadString(r.scannerLogfile) && in.ReadInt(r.scanMergeMode) &&
         in.ReadInt(r.scanGameTypes);
}

void WriteBaseItems(ByteWriter& out, const SettingsRecord& r) {
  out.WriteFlag(r.parentClones);
  out.WriteInt(r.currentPathList);
  out.WriteInt(r.dataSource);
  out.WriteString(r.mameExe);
  out.WriteString(r.datfile);
  out.WriteFlag(r.makeBackups);
  out.WriteString(r.backupFolder);
  out.WriteString(r.tempFolder);
  out.WriteInt(r.displayLiErrors);
  out.WriteFlag(r.pathWarnings);
  out.WriteInt(r.threadPriority);
  out.WriteInt(r.zipLevel);
  WritePathList(out, r.romPaths);
  WritePathList(out, r.samplePaths);
  WritePathList(out, r.miscPaths);
  out.WriteString(r.rebuildSource);
  out.WriteString(r.rebuildDestination);
  for (int32_t value : {r.rebuildMergeMode, r.rebuildGameTypes}) out.WriteInt(value);
  for (bool flag : {r.rebuildZip, r.rebuildTildeCrcs, r.rebuildZeroCrcs}) out.WriteFlag(flag);
  for (int32_t value : {r.mergeMode, r.mergePlacement}) out.WriteInt(value);
  for (bool flag : {r.mergeCleanSet, r.mergeZip, r.mergeRemoveOld}) out.WriteFlag(flag);
  out.WriteString(r.mergeDestination);
  for (bool flag : {r.scanGames, r.scanRoms, r.scanSamples, r.checkMissing, r.checkChecksum,
                    r.checkUnneeded, r.checkName, r.checkLength, r.checkCase, r.fixUnneeded,
                    r.fixName, r.fixLength, r.fixCase, r.allowDoubleNames, r.altSamplesSupport,
                    r.advancedUnneeded, r.zeroCrcCreation, r.showMissingZeroCrcs,
                    r.askBeforeFixing}) {
    out.WriteFlag(flag);
  }
  out.WriteString(r.fastscanFile);
  out.WriteString(r.scannerLogfile);
  out.WriteInt(r.scanMergeMode);
  out.WriteInt(r.scanGameTypes);
}

bool ReadSelection(ByteReader& in, SettingsRecord& r) {
  int32_t crc;
  if (!in.ReadInt(crc) || !in.ReadInt(r.storedGameCount) || r.storedGameCount < 0) return false;
  r.storedDataCrc = static_cast<uint32_t>(crc);
  return in.ReadBytes(r.gameSelectionBytes, static_cast<uint64_t>(r.storedGameCount));
}

// Without game data in memory the selection read from the profile is kept,
// so that a run in which the data could not be acquired does not wipe it.
void WriteSelection(ByteWriter& out, const SettingsRecord& r, const GameList& database) {
  if (database.empty()) {
    out.WriteInt(static_cast<int32_t>(r.storedDataCrc));
    out.WriteInt(static_cast<int32_t>(r.gameSelectionBytes.size()));
    out.WriteBytes(r.gameSelectionBytes);
    return;
  }
  out.WriteInt(static_cast<int32_t>(r.dataCrc));
  out.WriteInt(static_cast<int32_t>(database.size()));
  for (const GameSet& game : database) out.WriteByte(game.selected ? 1 : 0);
}

bool ReadItems(ByteReader& in, SettingsRecord& r) {
  std::string magic;
  int32_t version;
  if (!in.ReadString(magic) || magic != kMagic || !in.ReadInt(version)) return false;
  // A negative version is no profile this program ever wrote.
  if (version < 0) return false;
  if (!ReadBaseItems(in, r)) return false;
  if (version >= 1 && !in.ReadFlag(r.showAllZeroCrcs)) return false;
  if (version >= 2 && !(in.ReadString(r.gameFilter) && in.ReadFlag(r.addStatistics) &&
                        ReadSelection(in, r))) {
    return false;
  }
  if (version >= 3 && !in.ReadString(r.raineExe)) return false;
  if (version >= 4 &&
      !(in.ReadString(r.rebuildLogfile) && in.ReadFlag(r.rebuildCreateLog) &&
        in.ReadFlag(r.rebuildRecursive) && in.ReadFlag(r.rebuildRemoveSources) &&
        in.ReadFlag(r.fixMissing) && in.ReadFlag(r.fixMissingAdvanced) &&
        ReadPathList(in, r.addPaths))) {
    return false;
  }
  return true;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  // On disk before the rename, or a crash could leave an empty profile.
  written = std::fflush(file) == 0 && ::fsync(fileno(file)) == 0 && written;
  return std::fclose(file) == 0 && written;
}

}  // namespace

bool LoadProfile(SettingsRecord& record, const std::string& path) {
  // Only a regular file: opening a pipe or device for reading could block.
  std::optional<std::string> real = FindPath(path);
  if (!real || !FileExists(*real)) return false;
  std::FILE* file = std::fopen(real->c_str(), "rb");
  if (file == nullptr) return false;
  struct stat info;
  bool isFile = ::fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
  SettingsRecord read;
  bool loaded = false;
  if (isFile) {
    ByteReader in(file, static_cast<uint64_t>(info.st_size));
    loaded = ReadItems(in, read);
  }
  std::fclose(file);
  if (loaded) record = std::move(read);
  return loaded;
}

bool SaveProfile(const SettingsRecord& record, const std::string& path,
                 const GameList& database) {
  ByteWriter out;
  out.WriteString(kMagic);
  out.WriteInt(kProfileVersion);
  WriteBaseItems(out, record);
  out.WriteFlag(record.showAllZeroCrcs);
  out.WriteString(record.gameFilter);
  out.WriteFlag(record.addStatistics);
  WriteSelection(out, record, database);
  out.WriteString(record.raineExe);
  out.WriteString(record.rebuildLogfile);
  for (bool flag : {record.rebuildCreateLog, record.rebuildRecursive, record.rebuildRemoveSources,
                    record.fixMissing, record.fixMissingAdvanced}) {
    out.WriteFlag(flag);
  }
  WritePathList(out, record.addPaths);

  // The old profile stays in place until the new one is complete.
  std::string target = ResolvePath(path);
  std::string temporary = target + ".tmp";
  if (!WriteWholeFile(temporary, out.bytes()) ||
      std::rename(temporary.c_str(), target.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace kestrel
