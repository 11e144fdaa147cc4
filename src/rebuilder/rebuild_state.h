// The working state of one rebuild run and the steps that share it:
// walking a source folder, matching one source, placing one ROM.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "archive/zip_problem.h"
#include "gamedb/crc_index.h"
#include "platform/file_system.h"
#include "rebuilder/pending_archives.h"
#include "rebuilder/rebuild_journal.h"
#include "settings/settings_record.h"

namespace kestrel {

class ProgressDialog;
class UserInterface;
struct ZipLibrary;

// Search key of one source: its CRC-32 (or, on the second pass, the
// complement), the complement of that, its size and its bare file name.
struct SourceKey {
  uint32_t crc = 0;
  uint32_t complement = 0;
  uint32_t size = 0;
  std::string name;
};

struct RebuildState {
  RebuildState(const SettingsRecord& options, FileSystem& disk) : settings(options), fs(disk) {}

  const SettingsRecord& settings;
  FileSystem& fs;                      // every file the run reads or changes is reached through this
  const GameList* database = nullptr;  // the games the indexes point into
  UserInterface* ui = nullptr;
  ZipLibrary* zipLibrary = nullptr;
  ProgressDialog* progress = nullptr;
  std::string destination;  // ends with '/'
  std::string workFolder;   // private folder for extracted members, ends with '/'

  std::vector<CrcIndexEntry> crcIndex;
  std::vector<ZeroCrcIndexEntry> zeroCrcIndex;
  // Rebuilt marks, parallel to the indexes: the entry (or one with the same
  // destination) was served in this run.
  std::vector<bool> crcServed;
  std::vector<bool> zeroCrcServed;
  // Names of the NeoGeo BIOS ROMs already placed into "neogeo" in this run.
  std::vector<std::string> placedBios;

  RebuildJournal journal;    // the last block is the current source
  PendingArchives archives;  // zip mode: what each destination zip gets
  std::vector<RebuildFailure> failures;  // in the order they happened
  std::vector<RebuildLeftover> leftovers;  // what an interrupted run had left, cleared
  ZipProblemNotices zipProblems;  // the damaged zips the user was told of
  int disksRemoved = 0;      // disk sources moved into place or removed as already there
  int unpackedCount = 0;     // members unpacked so far, which names each copy in the work folder
  bool matched = false;      // a ROM the run serves has the current source's size and CRC-32
  std::chrono::steady_clock::time_point lastRedraw{};
};

// Walks `folder` (ending with '/'): every loose file and zip member is
// matched and placed, in listing order. False when the run is to stop.
bool RebuildFolder(RebuildState& state, const std::string& folder);

// What RebuildDisk made of a source.
enum class DiskSource {
  kNoDisk,  // no ".chd" name, or no CHD header Kestrel reads: the source is an ordinary file
  kDone,    // a disk, matched by its header SHA-1 and placed where it belongs
  kStop,    // the same, and the user cancelled
};

// Looks the CHD source `path` (named `name`) up by the SHA-1 of its header
// and puts it where every selected game keeps a disk of that SHA-1 (see
// rebuild_disk.cpp). Only the header is read to match it.
DiskSource RebuildDisk(RebuildState& state, const std::string& path, const std::string& name);

// Starts the block of a new source in the journal.
void BeginSource(RebuildState& state, const std::string& text, const SourceFile& file);

// Matches the current source, and with "~-CRCs" on once more by the
// complement of its CRC. False to stop.
bool MatchSource(RebuildState& state, const SourceFile& file, SourceKey key);

// How a walk of an archive through libarchive ended.
enum class ArchiveWalk {
  kWalked,     // every member was read, or named among the failures
  kNotOpened,  // no member could be read at all: it is no archive libarchive reads
  kStopped,    // the run is to stop
};

// Rebuilds from the members of the archive `path` that the zip reader does
// not read (see archive/archive_reader.h). With `wanted` (the archive is a
// zip), only those members, each taken off the list as it is read, which
// are then removed by their entry like any zip member; else every member,
// and none is ever removed. A member that cannot be read, an encrypted one, and an archive
// that breaks off part-way are named among the failures; on kNotOpened
// `fault` says why and nothing was recorded.
ArchiveWalk RebuildArchive(RebuildState& state, const std::string& path, ZipEntryList* wanted,
                           std::string& fault);

// Number of sources the progress bar counts in `folder`.
int CountSourceFiles(FileSystem& fs, const std::string& folder, bool recursive, const std::string& skipFolder);

// Looks the source up by `key` and places it for every ROM still unserved:
// on the first pass also the ROMs without a known dump (by name and size),
// then the ROMs with the key's CRC. Each goes where rom_home.h says the
// layout keeps it.
// Updates state.matched. False to stop.
bool RebuildFile(RebuildState& state, const SourceFile& file, const SourceKey& key, bool firstPass);

// Places the source as `romName` of set `setName` (or, with `separateBios`,
// once per run into "neogeo"): copied at once in folder mode, gathered for
// its zip in zip mode. False to stop (cancel, or a full disk).
bool PlaceRom(RebuildState& state, const SourceFile& file, const std::string& romName, const std::string& setName,
              bool separateBios);

// Records that an earlier source of the run served the ROM `romName` of
// set `setName` (or of "neogeo", with `separateBios`).
void NoteServedBefore(RebuildState& state, const std::string& romName, const std::string& setName,
                      bool separateBios);

// Adds a failure of the run: `path` could not be read, written or kept as
// `reason` says.
void AddFailure(RebuildState& state, const std::string& path, const std::string& reason);

// Sets the progress text at most about 20 times a second.
void ShowProgressText(RebuildState& state, const std::string& text);

}  // namespace kestrel
