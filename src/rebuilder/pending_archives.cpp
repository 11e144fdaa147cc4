#include "rebuilder/pending_archives.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <future>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

#include "app/user_interface.h"
#include "archive/zip_library.h"
#include "archive/zip_reader.h"
#include "platform/disk_space.h"
#include "platform/file_system.h"
#include "platform/listed_spelling.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "rebuilder/rebuild_messages.h"
#include "rebuilder/rebuild_state.h"
#include "rebuilder/replaced_contents.h"

namespace kestrel {
namespace {

// Two zips are deflated at once: the machines this runs on have at least
// two cores, and more writers would only fight over the disk.
constexpr size_t kWriters = 2;
constexpr auto kRedrawInterval = std::chrono::milliseconds(50);

// A zip member is copied by its entry: of two members of one name, the
// name alone would give the first.
void AddMember(const PendingMember& member, ZipChanges& changes) {
  const SourceFile& source = member.source;
  if (source.IsMember()) {
    changes.copiedEntries.push_back({source.entry, member.memberName});
  } else {
    changes.additions.push_back({source.path, member.memberName});
  }
}

// Every member of `listing` named `name`, with or without case: a zip may
// hold several, and each is judged before any goes.
std::vector<const ZipEntry*> FindOccupants(const ZipEntryList& listing, const std::string& name) {
  std::vector<const ZipEntry*> occupants;
  for (const ZipEntry& entry : listing)
    if (EqualsNoCase(entry.storedName, name)) occupants.push_back(&entry);
  return occupants;
}

// One verdict for all the occupants of a name: the same contents under it
// anywhere is enough; else every other content must be backed up first.
// Those listed with the ROM's size and CRC are judged first, so that none
// is backed up in vain before the same contents turn up. `decisive` is the
// occupant that holds the same contents, or one that must be kept.
Occupant JudgeOccupants(RebuildState& state, const PendingArchive& archive, const PendingMember& member,
                        std::vector<const ZipEntry*> occupants, const ZipEntry*& decisive) {
  std::stable_partition(occupants.begin(), occupants.end(), [&](const ZipEntry* occupant) {
    return occupant->size == member.source.size && occupant->crc == member.source.crc;
  });
  Occupant verdict = Occupant::kBackedUp;
  for (const ZipEntry* occupant : occupants) {
    Occupant one = JudgeOccupantMember(state, archive.setName, *occupant, member.source.size, member.source.crc);
    if (one == Occupant::kSame) {
      decisive = occupant;
      return Occupant::kSame;
    }
    if (one == Occupant::kKept && verdict != Occupant::kKept) {
      verdict = Occupant::kKept;
      decisive = occupant;
    }
  }
  return verdict;
}

void MarkPlacement(RebuildJournal& journal, const PendingMember& member, PlacementStatus status) {
  journal[member.block].placements[member.placement].status = status;
}

void MarkNotWritten(const PendingArchive& archive, RebuildJournal& journal) {
  for (const PendingMember& member : archive.members) MarkPlacement(journal, member, PlacementStatus::kNotWritten);
}

// Nothing goes into a zip of the set under another spelling: it takes the
// listed one first, or the zip is left alone.
bool TakeListedZipSpelling(RebuildState& state, PendingArchive& archive) {
  if (HasListedSpelling(TakeListedSpelling(state.fs, FolderPart(archive.path), FileNamePart(archive.path))))
    return true;
  MarkNotWritten(archive, state.journal);
  AddFailure(state, archive.path, rebuild_text::kNotRespelled);
  archive.members.clear();
  return false;
}

// The ROM's contents found under another spelling are renamed in the
// zip, unless a member of the listed spelling is there as well: that is the
// one MAME loads, and the scan tells of the other.
void RespellMember(const std::vector<const ZipEntry*>& occupants, const ZipEntry& same, const std::string& name,
                   PendingArchive& archive, ZipChanges& changes) {
  for (const ZipEntry* occupant : occupants)
    if (occupant->storedName == name) return;
  changes.deletedEntries.push_back(same);
  changes.copiedEntries.push_back({same, name});
  archive.respelled.push_back(name);
}

// Decides what the zip gets before it is written: members whose name the
// zip holds already are settled here (already there, kept for want of a
// backup, or their occupant backed up and deleted) and left out of
// `archive.members` unless they are still to be written.
ZipChanges PlanChanges(RebuildState& state, PendingArchive& archive) {
  ZipChanges changes;
  ZipEntryList listing;
  if (!TakeListedZipSpelling(state, archive)) return changes;
  std::optional<std::string> existing = state.fs.FindPath(archive.path);
  const ZipHeaderCheck headerCheck = state.zipLibrary->headerCheck;
  if (existing && state.fs.FileExists(*existing) &&
      !ReadZipDirectory(state.fs, *existing, listing, false, nullptr, headerCheck)) {
    MarkNotWritten(archive, state.journal);
    AddFailure(state, *existing, rebuild_text::kDestinationUnreadable);
    archive.members.clear();
    return changes;
  }
  std::vector<PendingMember> toWrite;
  for (PendingMember& member : archive.members) {
    std::vector<const ZipEntry*> occupants = FindOccupants(listing, member.memberName);
    const ZipEntry* decisive = nullptr;
    Occupant verdict = JudgeOccupants(state, archive, member, occupants, decisive);
    if (verdict == Occupant::kSame) {
      MarkPlacement(state.journal, member, PlacementStatus::kAlreadyThere);
      RespellMember(occupants, *decisive, member.memberName, archive, changes);
    } else if (verdict == Occupant::kKept) {
      MarkPlacement(state.journal, member, PlacementStatus::kNotWritten);
      AddFailure(state, archive.path + "/" + decisive->storedName, rebuild_text::kOtherContentKept);
    } else {
      for (const ZipEntry* occupant : occupants) changes.deletedEntries.push_back(*occupant);
      AddMember(member, changes);
      toWrite.push_back(std::move(member));
    }
  }
  archive.members = std::move(toWrite);
  return changes;
}

// Reads the written zip back: for each member, whether the zip holds one
// member of its name that decodes to the source's size and CRC-32; after
// them, for each renamed member, whether one member has its new name.
std::vector<bool> ReadBack(FileSystem& fs, const PendingArchive& archive, ZipHeaderCheck headerCheck) {
  std::vector<bool> good(archive.members.size() + archive.respelled.size(), false);
  ZipEntryList listing;
  std::optional<std::string> path = fs.FindPath(archive.path);
  if (!path || !ReadZipDirectory(fs, *path, listing, false, nullptr, headerCheck)) return good;
  // Each stored name's members, so that a zip of many members is not
  // searched once per member.
  std::unordered_map<std::string, std::vector<const ZipEntry*>> byName;
  for (const ZipEntry& entry : listing) byName[entry.storedName].push_back(&entry);
  auto onlyMemberNamed = [&byName](const std::string& name) -> const ZipEntry* {
    auto found = byName.find(name);
    return found != byName.end() && found->second.size() == 1 ? found->second.front() : nullptr;
  };
  for (size_t i = 0; i < archive.respelled.size(); ++i)
    good[archive.members.size() + i] = onlyMemberNamed(archive.respelled[i]) != nullptr;
  for (size_t i = 0; i < archive.members.size(); ++i) {
    const PendingMember& member = archive.members[i];
    const ZipEntry* written = onlyMemberNamed(member.memberName);
    good[i] = written != nullptr && written->size == member.source.size &&
              written->crc == member.source.crc && CheckZipEntry(fs, *written);
  }
  return good;
}

// Writes one zip and reads it back; empty when the write failed.
std::vector<bool> WriteArchive(FileSystem& fs, ZipLibrary library, const PendingArchive& archive,
                               const ZipChanges& changes) {
  if (!ZipUpdate(fs, library, archive.path, changes)) return {};
  return ReadBack(fs, archive, library.headerCheck);
}

// A write that failed for want of room: the new archive, written beside the
// old one, needs about the old one's size plus the new members (loose files
// at most their own size, copied members their compressed size).
bool LacksRoom(FileSystem& fs, const PendingArchive& archive) {
  uint64_t needed = fs.FileSize(archive.path).value_or(0);
  for (const PendingMember& member : archive.members)
    needed += member.source.IsMember() ? member.source.compressedSize : member.source.size;
  std::optional<DiskSpace> space = fs.QueryDiskSpace(FolderPart(archive.path));
  return space && space->available < needed;
}

// Marks each member written when it read back; one that did not is a failure.
void MarkReadBack(RebuildState& state, const PendingArchive& archive, const std::vector<bool>& good) {
  for (size_t i = 0; i < archive.members.size(); ++i) {
    const PendingMember& member = archive.members[i];
    MarkPlacement(state.journal, member, good[i] ? PlacementStatus::kWritten : PlacementStatus::kNotWritten);
    if (!good[i]) AddFailure(state, archive.path + "/" + member.memberName, rebuild_text::kNotReadBack);
  }
  for (size_t i = 0; i < archive.respelled.size(); ++i)
    if (!good[archive.members.size() + i])
      AddFailure(state, archive.path + "/" + archive.respelled[i], rebuild_text::kNotReadBack);
}

bool HasNothingToWrite(const PendingArchive& archive) { return archive.members.empty() && archive.respelled.empty(); }

std::string ProgressText(const PendingArchive& archive) {
  return std::string(rebuild_text::kRebuilding) + "\n" + std::to_string(archive.members.size()) + " ROMs\n" +
         rebuild_text::kTo + "\n" + archive.setName + ".zip";
}

struct Write {
  size_t archive = 0;
  std::future<std::vector<bool>> result;  // per member: read back; empty when the write failed
};

}  // namespace

void PendingArchives::Add(const std::string& archivePath, const std::string& setName,
                          const std::string& memberName, const SourceFile& source, size_t block, size_t placement,
                          RebuildJournal& journal) {
  auto [found, isNew] = archiveByPath_.try_emplace(archivePath, archives_.size());
  if (isNew) archives_.push_back({archivePath, setName, {}, {}, {}});
  PendingArchive& archive = archives_[found->second];
  PendingMember member{memberName, source, block, placement};
  auto [slot, isNewMember] = archive.memberByName.try_emplace(memberName, archive.members.size());
  if (isNewMember) {
    archive.members.push_back(std::move(member));
    return;
  }
  PendingMember& earlier = archive.members[slot->second];
  journal[earlier.block].placements[earlier.placement].status = PlacementStatus::kNotWritten;
  earlier = std::move(member);
}

bool WritePendingArchives(RebuildState& state, ZipLibrary& zipLibrary) {
  std::vector<PendingArchive>& archives = state.archives.archives();
  if (archives.empty()) return true;
  ProgressDialog* progress = state.progress;
  progress->SetRange(0, static_cast<int>(archives.size()));
  progress->SetStep(1);
  std::vector<Write> running;
  size_t next = 0;
  bool stopped = false;
  while (running.size() > 0 || (!stopped && next < archives.size())) {
    while (!stopped && next < archives.size() && running.size() < kWriters) {
      PendingArchive& archive = archives[next];
      progress->SetText(ProgressText(archive));
      ZipChanges changes = PlanChanges(state, archive);
      // Each writer works on its own copy of the library record. A zip left
      // with nothing to write still takes a turn, so the progress counts it.
      running.push_back(
          {next, std::async(std::launch::async, [&fs = state.fs, library = zipLibrary, &archive, changes]() {
             if (HasNothingToWrite(archive)) return std::vector<bool>{};
             return WriteArchive(fs, library, archive, changes);
           })});
      ++next;
    }
    if (running.front().result.wait_for(kRedrawInterval) != std::future_status::ready) {
      if (progress->IsCancelled()) stopped = true;
      continue;
    }
    Write done = std::move(running.front());
    running.erase(running.begin());
    const PendingArchive& archive = archives[done.archive];
    std::vector<bool> readBack = done.result.get();
    progress->Step();
    if (HasNothingToWrite(archive)) continue;
    if (!readBack.empty()) {
      MarkReadBack(state, archive, readBack);
      continue;
    }
    MarkNotWritten(archive, state.journal);
    AddFailure(state, archive.path, rebuild_text::kNotWritten);
    if (LacksRoom(state.fs, archive)) {
      ShowMessage(state.ui, rebuild_text::kDiskFull, rebuild_text::kErrorCaption,
                  {MessageButtons::kOk, MessageIcon::kStop});
      stopped = true;
    } else if (!stopped && ShowMessage(state.ui, rebuild_text::kZipError, rebuild_text::kErrorCaption,
                                       {MessageButtons::kYesNo, MessageIcon::kExclamation}) == kResultYes) {
      stopped = true;
    }
  }
  for (size_t left = next; left < archives.size(); ++left) MarkNotWritten(archives[left], state.journal);
  return !stopped;
}

}  // namespace kestrel
