#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "app/user_interface.h"
#include "archive/zip_reader.h"
#include "platform/file_replacement.h"
#include "platform/file_system.h"
#include "platform/listed_spelling.h"
#include "platform/paths.h"
#include "rebuilder/rebuild_messages.h"
#include "rebuilder/rebuild_state.h"
#include "rebuilder/replaced_contents.h"

namespace kestrel {
namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(50);
constexpr size_t kCopyChunk = 1 << 20;
constexpr char kNeoGeoSet[] = "neogeo";

enum class CopyResult { kCopied, kFailed, kDiskFull };

// A set or ROM name from the game data becomes a file name in the
// destination; one that names another folder would write outside it.
bool IsPlainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         std::none_of(name.begin(), name.end(), IsPathSeparator);
}

// Copies the source to `target`, which appears whole or not at all.
CopyResult CopyWhole(FileSystem& fs, const std::string& from, const std::string& target) {
  std::unique_ptr<ReadableFile> input = fs.OpenForReading(from);
  if (!input) return CopyResult::kFailed;
  FileReplacement output(fs);
  if (!output.Create(target)) return CopyResult::kFailed;
  std::vector<char> buffer(kCopyChunk);
  uint64_t offset = 0;
  long long count = 0;
  while ((count = input->ReadAt(offset, buffer.data(), buffer.size())) > 0) {
    if (!output.Write(buffer.data(), static_cast<size_t>(count))) return CopyResult::kDiskFull;
    offset += static_cast<uint64_t>(count);
  }
  if (count < 0) return CopyResult::kFailed;
  if (!output.Close()) return CopyResult::kDiskFull;
  return output.Commit() ? CopyResult::kCopied : CopyResult::kFailed;
}

bool ReadsBackAs(FileSystem& fs, const std::string& path, const SourceFile& file) {
  uint32_t size = 0, crc = 0;
  return ReadFileCrc(fs, path, size, crc) && size == file.size && crc == file.crc;
}

// Folder mode: the copy is made at once, over contents of the ROM's name
// only once they were backed up, and read back. False only on a full disk.
bool PlaceIntoFolder(RebuildState& state, const SourceFile& file, const std::string& set,
                     const std::string& romName, Placement& placement) {
  std::string setPath = state.destination + set;
  placement.status = PlacementStatus::kNotWritten;
  if (!HasListedSpelling(TakeListedSpelling(state.fs, state.destination, set))) {
    AddFailure(state, setPath, rebuild_text::kNotRespelled);
    return true;
  }
  state.fs.CreateFolder(setPath);
  std::string target = setPath + "/" + romName;
  if (std::optional<std::string> existing = state.fs.FindPath(target)) {
    Occupant verdict = JudgeOccupantFile(state, set, *existing, file.size, file.crc);
    if (verdict == Occupant::kKept) {
      AddFailure(state, *existing, rebuild_text::kOtherContentKept);
      return true;
    }
    // The ROM's contents under another spelling, or contents about to be
    // replaced, take the listed name: a replacement keeps the name it finds.
    if (!HasListedSpelling(TakeListedSpelling(state.fs, setPath, romName))) {
      AddFailure(state, *existing, rebuild_text::kNotRespelled);
      return true;
    }
    if (verdict == Occupant::kSame) {
      placement.status = PlacementStatus::kAlreadyThere;
      return true;
    }
  }
  CopyResult result = CopyWhole(state.fs, file.path, target);
  if (result == CopyResult::kCopied && ReadsBackAs(state.fs, target, file)) {
    placement.status = PlacementStatus::kWritten;
    return true;
  }
  AddFailure(state, target, result == CopyResult::kCopied ? rebuild_text::kNotReadBack : rebuild_text::kNotWritten);
  if (result != CopyResult::kDiskFull) return true;
  ShowMessage(state.ui, rebuild_text::kDiskFull, rebuild_text::kErrorCaption,
              {MessageButtons::kOk, MessageIcon::kStop});
  return false;
}

}  // namespace

void ShowProgressText(RebuildState& state, const std::string& text) {
  auto now = std::chrono::steady_clock::now();
  if (now - state.lastRedraw < kRedrawInterval) return;
  state.lastRedraw = now;
  state.progress->SetText(text);
}

void NoteServedBefore(RebuildState& state, const std::string& romName, const std::string& setName,
                      bool separateBios) {
  state.journal.back().placements.push_back(
      {separateBios ? kNeoGeoSet : setName, romName, PlacementStatus::kServedBefore});
}

bool PlaceRom(RebuildState& state, const SourceFile& file, const std::string& romName, const std::string& setName,
              bool separateBios) {
  std::string set = setName;
  if (separateBios) {
    std::vector<std::string>& placed = state.placedBios;
    if (std::find(placed.begin(), placed.end(), romName) != placed.end()) {
      NoteServedBefore(state, romName, setName, true);
      return true;
    }
    placed.push_back(romName);
    set = kNeoGeoSet;
  }
  std::string sourceName = FileNamePart(file.zipPath.empty() ? file.path : file.storedName);
  ShowProgressText(state, std::string(rebuild_text::kRebuilding) + "\n" + sourceName + "\n" + rebuild_text::kTo +
                              "\n" + set + "/" + romName);
  if (state.progress->IsCancelled()) return false;

  size_t blockIndex = state.journal.size() - 1;
  std::vector<Placement>& placements = state.journal[blockIndex].placements;
  placements.push_back({set, romName, PlacementStatus::kNotWritten});
  if (!IsPlainName(set) || !IsPlainName(romName)) {
    AddFailure(state, state.destination + set + "/" + romName, rebuild_text::kNotPlainName);
    return true;
  }
  if (!state.settings.rebuildZip) return PlaceIntoFolder(state, file, set, romName, placements.back());
  placements.back().status = PlacementStatus::kPending;
  state.archives.Add(state.destination + set + ".zip", set, romName, file, blockIndex, placements.size() - 1,
                     state.journal);
  return true;
}

}  // namespace kestrel
