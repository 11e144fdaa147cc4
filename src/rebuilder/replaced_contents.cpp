#include "rebuilder/replaced_contents.h"

#include "archive/backup_zip.h"
#include "archive/zip_reader.h"
#include "platform/paths.h"
#include "rebuilder/rebuild_state.h"

namespace kestrel {
namespace {

// A backup needs a folder to go to. It is made whatever the backup option
// says: what the run replaces is kept somewhere, or it is not replaced.
bool HasBackupFolder(const SettingsRecord& settings) { return !settings.backupFolder.empty(); }

bool BackUpFile(RebuildState& state, const std::string& setName, const std::string& path) {
  return BackUpToZip(state.fs, *state.zipLibrary, state.settings.backupFolder, setName,
                     {FileBackup(path, FileNamePart(path))});
}

bool BackUpMember(RebuildState& state, const std::string& setName, const ZipEntry& member) {
  return BackUpToZip(state.fs, *state.zipLibrary, state.settings.backupFolder, setName,
                     {MemberBackup(member, member.storedName)});
}

}  // namespace

Occupant JudgeOccupantFile(RebuildState& state, const std::string& setName, const std::string& path,
                           uint32_t size, uint32_t crc) {
  uint32_t foundSize = 0, foundCrc = 0;
  if (ReadFileCrc(state.fs, path, foundSize, foundCrc) && foundSize == size && foundCrc == crc) return Occupant::kSame;
  if (!HasBackupFolder(state.settings)) return Occupant::kKept;
  return BackUpFile(state, setName, path) ? Occupant::kBackedUp : Occupant::kKept;
}

Occupant JudgeOccupantMember(RebuildState& state, const std::string& setName, const ZipEntry& member,
                             uint32_t size, uint32_t crc) {
  ZipProblem problem;
  bool same = member.size == size && member.crc == crc && CheckZipEntry(state.fs, member, &problem);
  state.zipProblems.Tell(state.ui, problem);
  if (same) return Occupant::kSame;
  if (!HasBackupFolder(state.settings)) return Occupant::kKept;
  return BackUpMember(state, setName, member) ? Occupant::kBackedUp : Occupant::kKept;
}

}  // namespace kestrel
