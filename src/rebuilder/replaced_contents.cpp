#include "rebuilder/replaced_contents.h"

#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "rebuilder/rebuild_state.h"

namespace kestrel {
namespace {

// A backup needs a folder to go to, and the user's wish for backups.
bool HasBackupFolder(const SettingsRecord& settings) {
  return settings.makeBackups && !settings.backupFolder.empty();
}

bool BackUpFile(RebuildState& state, const std::string& setName, const std::string& path) {
  (void)state, (void)setName, (void)path;
  return false;
}

bool BackUpMember(RebuildState& state, const std::string& setName, const ZipEntry& member) {
  (void)state, (void)setName, (void)member;
  return false;
}

// The member decodes to the contents its header names.
bool MemberReadsWhole(RebuildState& state, const ZipEntry& member) {
  std::string scratch = state.workFolder + "check";
  bool whole = ExtractZipEntry(member, scratch);
  DeleteFile(scratch);
  return whole;
}

}  // namespace

Occupant JudgeOccupantFile(RebuildState& state, const std::string& setName, const std::string& path,
                           uint32_t size, uint32_t crc) {
  uint32_t foundSize = 0, foundCrc = 0;
  if (ReadFileCrc(path, foundSize, foundCrc) && foundSize == size && foundCrc == crc) return Occupant::kSame;
  if (!HasBackupFolder(state.settings)) return Occupant::kKept;
  return BackUpFile(state, setName, path) ? Occupant::kBackedUp : Occupant::kKept;
}

Occupant JudgeOccupantMember(RebuildState& state, const std::string& setName, const ZipEntry& member,
                             uint32_t size, uint32_t crc) {
  if (member.size == size && member.crc == crc && MemberReadsWhole(state, member)) return Occupant::kSame;
  if (!HasBackupFolder(state.settings)) return Occupant::kKept;
  return BackUpMember(state, setName, member) ? Occupant::kBackedUp : Occupant::kKept;
}

}  // namespace kestrel
