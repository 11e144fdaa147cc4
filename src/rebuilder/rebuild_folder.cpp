#include <string_view>

#include "app/user_interface.h"
#include "archive/archive_reader.h"
#include "archive/zip_library.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "rebuilder/leftovers.h"
#include "rebuilder/rebuild_messages.h"
#include "rebuilder/rebuild_state.h"

namespace kestrel {
namespace {

SourceKey KeyOf(uint32_t crc, uint32_t size, const std::string& name) {
  return {crc, ~crc, size, name};
}

// A source that cannot be read matches nothing: its contents are unknown,
// so it is neither placed nor ever removed. A folder met in a run that does
// not descend is no source and no failure.
bool RebuildLooseFile(RebuildState& state, const std::string& path, bool isFolder) {
  SourceFile file;
  file.path = path;
  bool readable = ReadFileCrc(state.fs, path, file.size, file.crc);
  BeginSource(state, path, file);
  if (readable) return MatchSource(state, file, KeyOf(file.crc, file.size, FileNamePart(path)));
  if (!isFolder) AddFailure(state, path, rebuild_text::kUnreadable);
  return true;
}

bool IsEncrypted(const ZipEntry& member) {
  constexpr size_t kFlagsOffset = 6;  // general purpose flags of the local header; bit 0: encrypted
  return (member.localHeader[kFlagsOffset] & 1) != 0;
}

bool HasReadableMethod(const ZipEntry& member) { return member.method == 0 || member.method == 8; }

// Members of other methods (bzip2, lzma, xz, zstd, ...) are read through
// libarchive once the others are done; what it cannot read either is named.
bool RebuildOtherMethods(RebuildState& state, const std::string& path, ZipEntryList wanted) {
  if (wanted.empty()) return true;
  std::string fault;
  if (RebuildArchive(state, path, &wanted, fault) == ArchiveWalk::kStopped) return false;
  for (const ZipEntry& member : wanted)
    AddFailure(state, path + "/" + member.storedName, rebuild_text::kUnsupportedMethod);
  return true;
}

// Every member in directory order. False to stop after this zip: a full
// disk while extracting and the user's Yes, or a placement that stopped.
bool RebuildZip(RebuildState& state, const std::string& path, const ZipEntryList& members) {
  std::string workFile = state.workFolder + "member";
  ZipEntryList otherMethods;
  for (const ZipEntry& member : members) {
    std::string memberPath = path + "/" + member.storedName;
    if (IsEncrypted(member)) {
      AddFailure(state, memberPath, rebuild_text::kEncrypted);
      continue;
    }
    if (!HasReadableMethod(member)) {
      otherMethods.push_back(member);
      continue;
    }
    int writeFailed = 0;
    if (!ExtractZipEntry(state.fs, member, workFile, &writeFailed)) {
      state.fs.DeleteFile(workFile);
      if (writeFailed == 0) {
        AddFailure(state, memberPath, rebuild_text::kDamagedMember);
        continue;
      }
      AddFailure(state, memberPath, rebuild_text::kNotExtracted);
      int answer = ShowMessage(state.ui, rebuild_text::kUnzipError, rebuild_text::kErrorCaption,
                               {MessageButtons::kYesNo, MessageIcon::kExclamation});
      if (answer == kResultYes) return false;
      continue;
    }
    SourceFile file{workFile, path, member.storedName, member.size, member.crc, member.compressedSize, member};
    BeginSource(state, memberPath, file);
    bool goOn = MatchSource(state, file, KeyOf(member.crc, member.size, member.name));
    state.fs.DeleteFile(workFile);
    if (!goOn) return false;
  }
  return RebuildOtherMethods(state, path, std::move(otherMethods));
}

// A 7z, rar, tar or gzipped file, read through libarchive. One that
// libarchive cannot read either is named and then looked up as a plain
// file, as it may be a ROM itself. (A zip the strict reader refuses stays
// a damaged zip the user is asked to rezip.)
bool RebuildOtherArchive(RebuildState& state, const std::string& path) {
  std::string fault;
  ArchiveWalk walk = RebuildArchive(state, path, nullptr, fault);
  if (walk != ArchiveWalk::kNotOpened) return walk == ArchiveWalk::kWalked;
  AddFailure(state, path, std::string(rebuild_text::kUnpackFailed) + fault + rebuild_text::kReadAsPlainFile);
  return RebuildLooseFile(state, path, false);
}

// An unfinished change to the source zip beside it (a removal of rebuilt
// members) is cleared, not read.
bool ClearedAsLeftover(RebuildState& state, const std::string& path) {
  LeftoverReport report;
  if (!ClearSourceLeftover(state.fs, path, state.settings.backupFolder, report)) return false;
  state.leftovers.insert(state.leftovers.end(), report.cleared.begin(), report.cleared.end());
  state.failures.insert(state.failures.end(), report.kept.begin(), report.kept.end());
  return true;
}

bool IsFolderToDescend(const RebuildState& state, const FolderEntry& entry) {
  return entry.isFolder && state.settings.rebuildRecursive;
}

}  // namespace

void BeginSource(RebuildState& state, const std::string& text, const SourceFile& file) {
  SourceBlock block;
  block.text = text;
  block.source = file;
  state.journal.push_back(std::move(block));
  state.matched = false;
}

bool MatchSource(RebuildState& state, const SourceFile& file, SourceKey key) {
  bool goOn = RebuildFile(state, file, key, true);
  if (goOn && state.settings.rebuildTildeCrcs) {
    key.crc = key.complement;
    key.complement = ~key.crc;
    goOn = RebuildFile(state, file, key, false);
  }
  SourceBlock& block = state.journal.back();
  block.matched = state.matched;
  block.toRemove = state.matched && state.settings.rebuildRemoveSources;
  return goOn;
}

int CountSourceFiles(FileSystem& fs, const std::string& folder, bool recursive, const std::string& skipFolder) {
  int count = 0;
  for (const FolderEntry& entry : fs.ListFolder(folder)) {
    std::string path = JoinPath(folder, entry.name) + (entry.isFolder ? "/" : "");
    if (entry.isFolder && recursive) {
      if (path != skipFolder) count += CountSourceFiles(fs, path, recursive, skipFolder);
    } else {
      ++count;
    }
  }
  return count;
}

bool RebuildFolder(RebuildState& state, const std::string& folder) {
  for (const FolderEntry& entry : state.fs.ListFolder(folder)) {
    std::string path = JoinPath(folder, entry.name);
    // The run's own work folder may lie inside the source; it is no source.
    if (entry.isFolder && path + "/" == state.workFolder) continue;
    if (IsFolderToDescend(state, entry)) {
      if (!RebuildFolder(state, path + "/")) return false;
      continue;
    }
    if (state.progress->IsCancelled()) return false;
    if (!entry.isFolder && ClearedAsLeftover(state, path)) {
      state.progress->Step();
      continue;
    }
    // A CHD is matched by its header alone, never read whole.
    DiskSource disk = entry.isFolder ? DiskSource::kNoDisk : RebuildDisk(state, path, entry.name);
    if (disk == DiskSource::kStop) return false;
    ZipEntryList members;
    ZipProblem problem;
    bool goOn = true;
    bool isZip = disk == DiskSource::kNoDisk && !entry.isFolder &&
                 ReadZipDirectory(state.fs, path, members, true, &problem, state.zipLibrary->headerCheck);
    state.zipProblems.Tell(state.ui, problem);
    if (isZip) {
      goOn = RebuildZip(state, path, members);
    } else if (disk != DiskSource::kNoDisk) {
      // placed (or left) by RebuildDisk
    } else if (!entry.isFolder && HasArchiveExtension(entry.name)) {
      goOn = RebuildOtherArchive(state, path);
    } else {
      if (!entry.isFolder && HasZipExtension(entry.name)) AddFailure(state, path, rebuild_text::kDamagedZip);
      goOn = RebuildLooseFile(state, path, entry.isFolder);
    }
    if (!goOn) return false;
    state.progress->Step();
    SourceBlock blank;
    blank.blankLine = true;
    state.journal.push_back(std::move(blank));
  }
  return true;
}

}  // namespace kestrel
