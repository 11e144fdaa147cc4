#include <string_view>

#include "app/user_interface.h"
#include "archive/archive_reader.h"
#include "archive/member_data.h"
#include "archive/zip_library.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "rebuilder/leftovers.h"
#include "rebuilder/rebuild_messages.h"
#include "rebuilder/rebuild_state.h"
#include "rebuilder/source_read_ahead.h"

namespace kestrel {
namespace {

SourceKey KeyOf(uint32_t crc, uint32_t size, const std::string& name) {
  return {crc, ~crc, size, name};
}

// A source that cannot be read matches nothing: its contents are unknown,
// so it is neither placed nor ever removed. A folder met in a run that does
// not descend is no source and no failure. `before` is the file's CRC-32
// read ahead, when it was.
bool RebuildLooseFile(RebuildState& state, const std::string& path, bool isFolder,
                      const SourceReadBefore& before = {}) {
  SourceFile file;
  file.path = path;
  bool readable = before.readable;
  if (before.kind == SourceReadBefore::Kind::kLooseFile) {
    file.size = before.size;
    file.crc = before.crc;
  } else {
    readable = ReadFileCrc(state.fs, path, file.size, file.crc);
  }
  BeginSource(state, path, file);
  if (readable) return MatchSource(state, file, KeyOf(file.crc, file.size, FileNamePart(path)));
  if (!isFolder) AddFailure(state, path, rebuild_text::kUnreadable);
  return true;
}

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

// Makes the member ready to be matched. In zip mode it is only decoded (a
// placement copies it by its entry; `decodes` holds the answer when it was
// read ahead); in folder mode it is extracted into the work folder, where
// the copy into the set folder is made from. kFull: the work folder's disk
// is full.
enum class Unpacked { kReady, kDamaged, kFull };

Unpacked UnpackMember(RebuildState& state, const ZipEntry& member, const std::string& workFile,
                      const std::vector<bool>& decodes, size_t index) {
  if (state.settings.rebuildZip) {
    bool whole = index < decodes.size() ? bool(decodes[index]) : CheckZipEntry(state.fs, member);
    return whole ? Unpacked::kReady : Unpacked::kDamaged;
  }
  int writeFailed = 0;
  if (ExtractZipEntry(state.fs, member, workFile, &writeFailed)) return Unpacked::kReady;
  state.fs.DeleteFile(workFile);
  return writeFailed == 0 ? Unpacked::kDamaged : Unpacked::kFull;
}

// Every member in directory order. False to stop after this zip: a full
// disk while extracting and the user's Yes, or a placement that stopped.
bool RebuildZip(RebuildState& state, const std::string& path, const ZipEntryList& members,
                const std::vector<bool>& decodes) {
  std::string workFile = state.workFolder + "member";
  ZipEntryList otherMethods;
  for (size_t i = 0; i < members.size(); ++i) {
    const ZipEntry& member = members[i];
    std::string memberPath = path + "/" + member.storedName;
    if (IsEncryptedMember(member)) {
      AddFailure(state, memberPath, rebuild_text::kEncrypted);
      continue;
    }
    if (!IsZipReaderMethod(member)) {
      otherMethods.push_back(member);
      continue;
    }
    Unpacked unpacked = UnpackMember(state, member, workFile, decodes, i);
    if (unpacked == Unpacked::kDamaged) {
      AddFailure(state, memberPath, rebuild_text::kDamagedMember);
      continue;
    }
    if (unpacked == Unpacked::kFull) {
      AddFailure(state, memberPath, rebuild_text::kNotExtracted);
      int answer = ShowMessage(state.ui, rebuild_text::kUnzipError, rebuild_text::kErrorCaption,
                               {MessageButtons::kYesNo, MessageIcon::kExclamation});
      if (answer == kResultYes) return false;
      continue;
    }
    SourceFile file{state.settings.rebuildZip ? "" : workFile, path, member.storedName, member.size, member.crc,
                    member.compressedSize, member};
    BeginSource(state, memberPath, file);
    bool goOn = MatchSource(state, file, KeyOf(member.crc, member.size, member.name));
    if (!state.settings.rebuildZip) state.fs.DeleteFile(workFile);
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

// The entries of a listing the readers are to read ahead, by index: the
// files, "" for folders and for the run's own work folder.
std::vector<std::string> PathsToReadAhead(const std::vector<FolderEntry>& entries, const std::string& folder) {
  std::vector<std::string> paths;
  paths.reserve(entries.size());
  for (const FolderEntry& entry : entries) paths.push_back(entry.isFolder ? "" : JoinPath(folder, entry.name));
  return paths;
}

bool RebuildFolder(RebuildState& state, const std::string& folder) {
  const std::vector<FolderEntry> entries = state.fs.ListFolder(folder);
  SourceReadAhead ahead(state.fs, PathsToReadAhead(entries, folder), state.zipLibrary->headerCheck,
                        state.settings.rebuildZip);
  for (size_t index = 0; index < entries.size(); ++index) {
    const FolderEntry& entry = entries[index];
    std::string path = JoinPath(folder, entry.name);
    // The run's own work folder may lie inside the source; it is no source.
    if (entry.isFolder && path + "/" == state.workFolder) continue;
    if (IsFolderToDescend(state, entry)) {
      if (!RebuildFolder(state, path + "/")) return false;
      continue;
    }
    if (state.progress->IsCancelled()) return false;
    SourceReadBefore before = ahead.Take(index);
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
    bool isZip = false;
    if (disk == DiskSource::kNoDisk && !entry.isFolder) {
      if (before.kind == SourceReadBefore::Kind::kZip) {
        isZip = before.isZip;
        members = std::move(before.members);
        problem = before.problem;
      } else {
        isZip = ReadZipDirectory(state.fs, path, members, true, &problem, state.zipLibrary->headerCheck);
      }
    }
    state.zipProblems.Tell(state.ui, problem);
    if (isZip) {
      goOn = RebuildZip(state, path, members, before.decodes);
    } else if (disk != DiskSource::kNoDisk) {
      // placed (or left) by RebuildDisk
    } else if (!entry.isFolder && HasArchiveExtension(entry.name)) {
      goOn = RebuildOtherArchive(state, path);
    } else {
      if (!entry.isFolder && HasZipExtension(entry.name)) AddFailure(state, path, rebuild_text::kDamagedZip);
      goOn = RebuildLooseFile(state, path, entry.isFolder, before);
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
