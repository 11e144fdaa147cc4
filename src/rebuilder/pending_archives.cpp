#include "rebuilder/pending_archives.h"

#include <chrono>
#include <cstdint>
#include <future>
#include <optional>
#include <thread>

#include "app/user_interface.h"
#include "archive/zip_library.h"
#include "platform/disk_space.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "rebuilder/rebuild_messages.h"

namespace kestrel {
namespace {

// Two zips are deflated at once: the machines this runs on have at least
// two cores, and more writers would only fight over the disk.
constexpr size_t kWriters = 2;
constexpr auto kRedrawInterval = std::chrono::milliseconds(50);

ZipChanges ChangesOf(const PendingArchive& archive) {
  ZipChanges changes;
  for (const PendingMember& member : archive.members) {
    if (member.source.IsMember()) {
      changes.copies.push_back({member.source.zipPath, member.source.storedName, member.memberName});
    } else {
      changes.additions.push_back({member.source.path, member.memberName});
    }
  }
  return changes;
}

// A write that failed for want of room: the new archive, written beside the
// old one, needs about the old one's size plus the new members (loose files
// at most their own size, copied members their compressed size).
bool LacksRoom(const PendingArchive& archive) {
  uint64_t needed = FileSize(archive.path).value_or(0);
  for (const PendingMember& member : archive.members)
    needed += member.source.IsMember() ? member.source.compressedSize : member.source.size;
  std::optional<DiskSpace> space = QueryDiskSpace(FolderPart(archive.path));
  return space && space->available < needed;
}

void MarkPlacements(const PendingArchive& archive, RebuildJournal& journal, bool written) {
  for (const PendingMember& member : archive.members) {
    Placement& placement = journal[member.block].placements[member.placement];
    placement.status = written ? PlacementStatus::kWritten : PlacementStatus::kNotWritten;
  }
}

std::string ProgressText(const PendingArchive& archive) {
  return std::string(rebuild_text::kRebuilding) + "\n" + std::to_string(archive.members.size()) + " ROMs\n" +
         rebuild_text::kTo + "\n" + archive.setName + ".zip";
}

struct Write {
  size_t archive = 0;
  std::future<bool> result;
};

}  // namespace

void PendingArchives::Add(const std::string& archivePath, const std::string& setName,
                          const std::string& memberName, const SourceFile& source, size_t block, size_t placement,
                          RebuildJournal& journal) {
  auto [found, isNew] = archiveByPath_.try_emplace(archivePath, archives_.size());
  if (isNew) archives_.push_back({archivePath, setName, {}, {}});
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

bool WritePendingArchives(PendingArchives& pending, RebuildJournal& journal, ZipLibrary& zipLibrary,
                          UserInterface* ui, ProgressDialog* progress) {
  std::vector<PendingArchive>& archives = pending.archives();
  if (archives.empty()) return true;
  progress->SetRange(0, static_cast<int>(archives.size()));
  progress->SetStep(1);
  std::vector<Write> running;
  size_t next = 0;
  bool stopped = false;
  while (running.size() > 0 || (!stopped && next < archives.size())) {
    while (!stopped && next < archives.size() && running.size() < kWriters) {
      const PendingArchive& archive = archives[next];
      progress->SetText(ProgressText(archive));
      // Each writer works on its own copy of the library record.
      running.push_back({next, std::async(std::launch::async, [library = zipLibrary, &archive]() mutable {
                           return ZipUpdate(library, archive.path, ChangesOf(archive));
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
    bool written = done.result.get();
    MarkPlacements(archive, journal, written);
    progress->Step();
    if (written) continue;
    if (LacksRoom(archive)) {
      ShowMessage(ui, rebuild_text::kDiskFull, rebuild_text::kErrorCaption,
                  {MessageButtons::kOk, MessageIcon::kStop});
      stopped = true;
    } else if (!stopped && ShowMessage(ui, rebuild_text::kZipError, rebuild_text::kErrorCaption,
                                       {MessageButtons::kYesNo, MessageIcon::kExclamation}) == kResultYes) {
      stopped = true;
    }
  }
  for (size_t left = next; left < archives.size(); ++left) MarkPlacements(archives[left], journal, false);
  return !stopped;
}

}  // namespace kestrel
