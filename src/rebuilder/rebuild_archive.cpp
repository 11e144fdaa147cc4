// Sources the strict zip reader does not read: 7z, rar and tar archives, a
// gzipped file, a zip it refuses, and zip members of other methods than
// stored and deflated. Each member is unpacked into the work folder while
// its CRC-32 is computed, then matched like any zip member. A copy placed
// into a destination zip stays there until the zips are written (it is
// deflated from that copy); the others go at once. Kestrel never rewrites
// such an archive, so its members are never removed.
#include <optional>
#include <string>
#include <vector>

#include "app/user_interface.h"
#include "archive/archive_reader.h"
#include "archive/crc32.h"
#include "platform/file_replacement.h"
#include "platform/paths.h"
#include "rebuilder/rebuild_messages.h"
#include "rebuilder/rebuild_state.h"

namespace kestrel {
namespace {

enum class Unpacking { kUnpacked, kUnreadable, kNotWritten };

// Unpacks the current member to `target`, whole or not at all, and fills
// in the copy's size and CRC-32.
Unpacking Unpack(FileSystem& fs, ArchiveReader& archive, const std::string& target, SourceFile& file) {
  FileReplacement copy(fs);
  if (!copy.Create(target)) return Unpacking::kNotWritten;
  uint64_t length = 0;
  uint32_t crc = 0;
  bool writeFailed = false;
  bool read = archive.ReadMember([&](const uint8_t* data, size_t count) {
    crc = Crc32(crc, data, count);
    length += count;
    writeFailed = !copy.Write(data, count);
    return !writeFailed;
  });
  if (writeFailed) return Unpacking::kNotWritten;
  if (!read) return Unpacking::kUnreadable;
  if (!copy.Close() || !copy.Commit()) return Unpacking::kNotWritten;
  file.size = static_cast<uint32_t>(length);
  file.crc = crc;
  return Unpacking::kUnpacked;
}

// Takes the member named `name` off the list of members still to read
// into `taken`; true when it was on it. Without a list every member is read.
bool TakeWanted(ZipEntryList* wanted, const std::string& name, std::optional<ZipEntry>& taken) {
  taken.reset();
  if (wanted == nullptr) return true;
  for (auto it = wanted->begin(); it != wanted->end(); ++it) {
    if (it->storedName != name) continue;
    taken = *it;
    wanted->erase(it);
    return true;
  }
  return false;
}

// Unpacks, matches and places one member; `zipEntry` is the member as the
// zip reader listed it, when the archive is a zip. False to stop the run.
bool RebuildMember(RebuildState& state, ArchiveReader& archive, const std::string& path,
                   const ArchiveMember& member, const std::optional<ZipEntry>& zipEntry) {
  std::string memberPath = path + "/" + member.name;
  if (member.encrypted) {
    AddFailure(state, memberPath, rebuild_text::kEncrypted);
    return true;
  }
  SourceFile file;
  file.path = state.workFolder + "unpacked-" + std::to_string(state.unpackedCount++);
  file.zipPath = path;
  file.storedName = member.name;
  file.unpacked = true;
  if (zipEntry) file.entry = *zipEntry;
  Unpacking result = Unpack(state.fs, archive, file.path, file);
  if (result == Unpacking::kUnreadable) {
    AddFailure(state, memberPath, std::string(rebuild_text::kUnpackFailed) + archive.fault());
    return true;
  }
  if (result == Unpacking::kNotWritten) {
    AddFailure(state, memberPath, rebuild_text::kNotExtracted);
    return ShowMessage(state.ui, rebuild_text::kUnzipError, rebuild_text::kErrorCaption,
                       {MessageButtons::kYesNo, MessageIcon::kExclamation}) != kResultYes;
  }
  if (zipEntry && (file.crc != zipEntry->crc || file.size != zipEntry->size)) {
    state.fs.DeleteFile(file.path);
    AddFailure(state, memberPath, rebuild_text::kDamagedMember);
    return true;
  }
  BeginSource(state, memberPath, file);
  bool goOn = MatchSource(state, file, {file.crc, ~file.crc, file.size, FileNamePart(member.name)});
  // A zip's member goes by its entry as any zip member does; Kestrel
  // writes no other kind of archive, so their members stay.
  SourceBlock& block = state.journal.back();
  if (!zipEntry) {
    if (block.toRemove) AddFailure(state, memberPath, rebuild_text::kKeptInArchive);
    block.toRemove = false;
  }
  // Only a copy waiting for its destination zip is kept.
  if (!(block.matched && state.settings.rebuildZip)) state.fs.DeleteFile(file.path);
  return goOn;
}

// The zip members of one-stream methods, each read on its own; they are
// taken off `wanted`. False to stop the run.
bool RebuildStreamMembers(RebuildState& state, const std::string& path, ZipEntryList& wanted) {
  ZipEntryList others;
  for (const ZipEntry& entry : wanted) {
    if (!HasStreamMethod(entry)) {
      others.push_back(entry);
      continue;
    }
    ArchiveReader reader;
    ArchiveMember member;
    if (!reader.OpenZipMember(state.fs, entry) || !reader.NextMember(member)) {
      AddFailure(state, path + "/" + entry.storedName, std::string(rebuild_text::kUnpackFailed) + reader.fault());
      continue;
    }
    if (!RebuildMember(state, reader, path, member, entry)) return false;
  }
  wanted = std::move(others);
  return true;
}

}  // namespace

ArchiveWalk RebuildArchive(RebuildState& state, const std::string& path, ZipEntryList* wanted,
                           std::string& fault) {
  if (wanted != nullptr && !RebuildStreamMembers(state, path, *wanted)) return ArchiveWalk::kStopped;
  if (wanted != nullptr && wanted->empty()) return ArchiveWalk::kWalked;
  ArchiveReader archive;
  if (!archive.Open(state.fs, path)) {
    fault = archive.fault();
    return ArchiveWalk::kNotOpened;
  }
  ArchiveMember member;
  std::optional<ZipEntry> zipEntry;
  bool any = false;
  bool memberUnreadable = false;  // a member was named with the archive's damage
  while (archive.NextMember(member)) {
    any = true;
    if (!TakeWanted(wanted, member.name, zipEntry)) continue;
    if (!RebuildMember(state, archive, path, member, zipEntry)) return ArchiveWalk::kStopped;
    // The reader's fault is set only by a read that failed.
    if (!archive.fault().empty()) memberUnreadable = true;
    if (wanted != nullptr && wanted->empty()) return ArchiveWalk::kWalked;
  }
  // The damage that ends the walk is the one a member was named with:
  // once is enough.
  if (archive.fault().empty() || memberUnreadable) return ArchiveWalk::kWalked;
  // An archive that fails before its first member was never read at all.
  if (!any && wanted == nullptr) {
    fault = archive.fault();
    return ArchiveWalk::kNotOpened;
  }
  AddFailure(state, path, std::string(rebuild_text::kUnpackFailed) + archive.fault());
  return ArchiveWalk::kWalked;
}

}  // namespace kestrel
