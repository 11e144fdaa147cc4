#include "scanner/zero_crc_dummy.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "app/user_interface.h"
#include "archive/zip_library.h"
#include "platform/file_replacement.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "scanner/repair_support.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

// Written in blocks, so a huge size from a damaged game list costs disk
// space at worst, never memory.
bool WriteZeros(FileSystem& fs, const std::string& path, int32_t size) {
  FileReplacement file(fs);
  if (!file.Create(path)) return false;
  std::vector<char> zeros(std::min<int32_t>(size, 65536), 0);
  bool ok = true;
  for (int32_t left = size; ok && left > 0;) {
    size_t chunk = std::min<size_t>(static_cast<size_t>(left), zeros.size());
    ok = file.Write(zeros.data(), chunk);
    left -= static_cast<int32_t>(chunk);
  }
  return ok && file.Close() && file.Commit();
}

bool AddToZip(ScanContext& context, const std::string& dummyPath, SetOnDisk& set) {
  if (context.zipLibrary == nullptr) return false;
  bool added = ZipAddFiles(context.fs, *context.zipLibrary, context.fs.ResolvePath(set.askedPath + ".zip"), {dummyPath});
  set = OpenSet(context, set.askedPath);
  return added;
}

// Both the temporary folder and the set receive the stand-in; each file
// system must keep its reserve afterwards. Unknown space counts as full.
bool LeavesRoomFor(ScanContext& context, const RomEntry& rom, const SetOnDisk& set) {
  std::string target = set.isZip ? FolderPart(set.path) : set.folderPath;
  for (const std::string& path : {context.settings.tempFolder, target}) {
    std::optional<DiskSpace> space = context.fs.QueryDiskSpace(path);
    if (!space || !LeavesRoomAfter(*space, static_cast<uint64_t>(rom.size))) return false;
  }
  return true;
}

void TellNoRoom(ScanContext& context) {
  if (context.state.standInSpaceTold) return;
  context.state.standInSpaceTold = true;
  ShowMessage(context.owner,
              "No 0-CRC files were created where the disk would keep less than 1 GB and 5 % of "
              "its size free afterwards !",
              "0-CRC Files", {MessageButtons::kOk, MessageIcon::kExclamation});
}

}  // namespace

bool PlaceZeroCrcDummy(ScanContext& context, const RomEntry& rom, RomScan& scan, SetOnDisk& set) {
  const std::string& tempFolder = context.settings.tempFolder;
  if (tempFolder.empty() || rom.size < 0 || !IsPlainFileName(rom.name)) return false;
  if (!set.isZip && !set.hasFolder) return false;
  if (set.isSevenZip) return RefuseSevenZipRepair(context, ArchiveFileOf(set));
  if (!LeavesRoomFor(context, rom, set)) {
    scan.standInRefused = true;
    TellNoRoom(context);
    return false;
  }
  // A folder of its own, so that the dummy never replaces (and then
  // deletes) a file of the same name that the user keeps in the temporary
  // folder.
  WorkFolder work(context.fs, tempFolder);
  if (!work.ok()) return false;
  if (!TakeListedSetSpelling(context, set.askedPath, set.isZip)) return false;
  std::string dummyPath = work.FileFor(rom.name);
  if (!WriteZeros(context.fs, dummyPath, rom.size)) return false;
  return set.isZip ? AddToZip(context, dummyPath, set)
                   : context.fs.CopyFile(dummyPath, JoinPath(set.askedPath, rom.name), true);
}

}  // namespace kestrel
