#include "app/user_interface.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "rebuilder/rebuild_messages.h"
#include "rebuilder/rebuild_state.h"

namespace kestrel {
namespace {

SourceKey KeyOf(uint32_t crc, uint32_t size, const std::string& name) {
  return {crc, ~crc, size, name};
}

// Starts the block of a new source in the journal.
void BeginSource(RebuildState& state, const std::string& text, const SourceFile& file) {
  SourceBlock block;
  block.text = text;
  block.source = file;
  state.journal.push_back(std::move(block));
  state.matched = false;
}

// Matches the current source, and with "~-CRCs" on once more by the
// complement of its CRC. False to stop.
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

bool RebuildLooseFile(RebuildState& state, const std::string& path) {
  SourceFile file;
  file.path = path;
  // An unreadable file keeps size and CRC 0 and so matches nothing.
  ReadFileCrc(path, file.size, file.crc);
  BeginSource(state, path, file);
  return MatchSource(state, file, KeyOf(file.crc, file.size, FileNamePart(path)));
}

// Every member in directory order. False to stop after this zip: a full
// disk while extracting and the user's Yes, or a placement that stopped.
bool RebuildZip(RebuildState& state, const std::string& path, const ZipEntryList& members) {
  std::string workFile = state.workFolder + "member";
  for (const ZipEntry& member : members) {
    int writeFailed = 0;
    if (!ExtractZipEntry(member, workFile, &writeFailed)) {
      DeleteFile(workFile);
      if (writeFailed == 0) continue;  // damaged member: passed over
      int answer = ShowMessage(state.ui, rebuild_text::kUnzipError, rebuild_text::kErrorCaption,
                               {MessageButtons::kYesNo, MessageIcon::kExclamation});
      if (answer == kResultYes) return false;
      continue;
    }
    SourceFile file{workFile, path, member.storedName, member.size, member.crc, member.compressedSize};
    BeginSource(state, path + "/" + member.storedName, file);
    bool goOn = MatchSource(state, file, KeyOf(member.crc, member.size, member.name));
    DeleteFile(workFile);
    if (!goOn) return false;
  }
  return true;
}

bool IsFolderToDescend(const RebuildState& state, const FolderEntry& entry, const std::string& path) {
  return entry.isFolder && state.settings.rebuildRecursive && path != state.workFolder;
}

}  // namespace

int CountSourceFiles(const std::string& folder, bool recursive, const std::string& skipFolder) {
  int count = 0;
  for (const FolderEntry& entry : ListFolder(folder)) {
    std::string path = JoinPath(folder, entry.name) + (entry.isFolder ? "/" : "");
    if (entry.isFolder && recursive) {
      if (path != skipFolder) count += CountSourceFiles(path, recursive, skipFolder);
    } else {
      ++count;
    }
  }
  return count;
}

bool RebuildFolder(RebuildState& state, const std::string& folder) {
  for (const FolderEntry& entry : ListFolder(folder)) {
    std::string path = JoinPath(folder, entry.name);
    if (IsFolderToDescend(state, entry, path + "/")) {
      if (!RebuildFolder(state, path + "/")) return false;
      continue;
    }
    if (state.progress->IsCancelled()) return false;
    ZipEntryList members;
    bool goOn = true;
    if (!entry.isFolder && ReadZipDirectory(path, members, true, true)) {
      goOn = RebuildZip(state, path, members);
    } else {
      goOn = RebuildLooseFile(state, path);
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
