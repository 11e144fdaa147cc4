// Cutting an over-long ROM file down to the ROM: the window of the ROM's
// length whose CRC-32 is the ROM's is found and kept.
#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "archive/member_data.h"
#include "archive/seven_zip_set.h"
#include "app/user_interface.h"
#include "archive/backup_zip.h"
#include "archive/zip_reader.h"
#include "platform/file_replacement.h"
#include "platform/file_system.h"
#include "platform/mapped_file.h"
#include "platform/paths.h"
#include "scanner/crc_window_search.h"
#include "scanner/fix_operations.h"
#include "scanner/fix_question.h"
#include "scanner/repair_support.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char kTimeoutQuestion[] =
    "It looks like the ROM cannot be resized !\nShould Kestrel continue fixing this ROM ?";
constexpr char kTimeoutTitle[] = "Timeout !";

// Where the ROM starts in `file`, or nothing. A search that outlasts the
// question's interval asks whether to go on, again after every interval.
std::optional<size_t> LocateRomInFile(ScanContext& context, const RomEntry& rom,
                                      std::span<const uint8_t> file) {
  size_t size = static_cast<size_t>(rom.size);
  if (rom.noDump) return size_t{0};
  auto interval = std::chrono::milliseconds(context.resizeQuestionMilliseconds);
  Clock::time_point deadline = Clock::now() + interval;
  auto keepGoing = [&]() {
    PumpInterface(context);
    if (context.state.cancelRequested) return false;
    if (Clock::now() < deadline) return true;
    int answer = ShowMessage(context.owner, kTimeoutQuestion, kTimeoutTitle,
                             {MessageButtons::kYesNo, MessageIcon::kQuestion});
    deadline = Clock::now() + interval;
    return answer == kResultYes;
  };
  return FindCrcWindow(file.data(), file.size(), size, rom.crc, keepGoing);
}

// Writes the ROM's bytes from `offset` of `source` to `target`, which is
// replaced only once all of them were written.
bool WriteCutRom(FileSystem& fs, std::span<const uint8_t> source, size_t offset, size_t size, const std::string& target) {
  FileReplacement replacement(fs);
  return replacement.Create(target) && replacement.Write(source.data() + offset, size) &&
         replacement.Close(true) && replacement.Commit();
}

// The bytes of `path`: mapped from the disk, or read through the run's file
// system where the disk does not hold the file (a dry run keeps the files
// it writes to itself). Empty when it cannot be read.
std::span<const uint8_t> ReadRomSource(FileSystem& fs, const std::string& path, MappedFile& mapped,
                                       std::vector<uint8_t>& read) {
  if (mapped.Open(path)) return {mapped.data(), mapped.size()};
  std::unique_ptr<ReadableFile> file = fs.OpenForReading(path);
  if (!file) return {};
  read.resize(file->Size());
  if (file->ReadAt(0, read.data(), read.size()) != static_cast<long long>(read.size())) read.clear();
  return read;
}

// The ROM's bytes from `sourcePath` into `targetPath`. False, with the
// reason told, when the ROM is not in the file or writing failed.
bool CutRom(ScanContext& context, const RomEntry& rom, const std::string& shownPath,
            const std::string& sourcePath, const std::string& targetPath) {
  MappedFile mapped;
  std::vector<uint8_t> read;
  std::span<const uint8_t> source = ReadRomSource(context.fs, sourcePath, mapped, read);
  if (source.empty()) return FailRepair(context, shownPath, "It could not be read !");
  size_t size = static_cast<size_t>(rom.size);
  if (rom.size < 0 || source.size() < size) return FailRepair(context, shownPath, "It is not too long !");
  std::optional<size_t> offset = LocateRomInFile(context, rom, source);
  if (!offset) return FailRepair(context, shownPath, "The ROM was not found in it !");
  if (!WriteCutRom(context.fs, source, *offset, size, targetPath)) {
    return FailRepair(context, shownPath, "The shortened file could not be written (disk full ?) !");
  }
  return true;
}

// Keeps the over-long original in the set's backup zip, read back there,
// before the cut ROM takes its place: the bytes cut off may be all there is
// of something else.
bool BackUpOriginal(ScanContext& context, const GameSet& game, const BackupItem& original,
                    const std::string& shownPath) {
  if (context.zipLibrary != nullptr &&
      BackUpToZip(context.fs, *context.zipLibrary, context.settings.backupFolder, game.name, {original})) {
    return true;
  }
  return FailRepair(context, shownPath, "Its backup could not be written, so it stays !");
}

bool ResizeLooseFile(ScanContext& context, const GameSet& game, const RomEntry& rom, const std::string& filePath) {
  if (!context.fs.FileExists(filePath)) return FailRepair(context, filePath, "It no longer exists !");
  if (context.fs.IsReadOnly(filePath)) return FailRepair(context, filePath, "The file is read-only !");
  if (!CheckChangeableFolder(context, FolderPart(filePath))) return false;
  WorkFolder work(context.fs, context.settings.tempFolder);
  if (!work.ok()) return FailRepair(context, filePath, "No work folder in the temporary folder !");
  std::string cut = work.FileFor("cut");
  if (!CutRom(context, rom, filePath, filePath, cut)) return false;
  if (!BackUpOriginal(context, game, FileBackup(filePath, FileNamePart(filePath)), filePath)) return false;
  if (!context.fs.CopyFile(cut, filePath, false)) {
    return FailRepair(context, filePath, "The shortened file could not be written (disk full ?) !");
  }
  return true;
}

bool ResizeMember(ScanContext& context, const GameSet& game, const RomEntry& rom, const RomScan& scan,
                  const std::string& zipPath, ZipEntryList& entries) {
  int index = scan.memberIndex;
  if (index < 0 || index >= static_cast<int>(entries.size())) return false;
  const ZipEntry member = entries[index];
  WorkFolder work(context.fs, context.settings.tempFolder);
  if (!work.ok()) return FailRepair(context, zipPath, "No work folder in the temporary folder !");
  std::string extracted = work.FileFor("member");
  std::string cut = work.FileFor("cut");
  std::string fault;
  if (!ExtractMemberData(context.fs, member, extracted, &fault)) {
    return FailRepair(context, zipPath, "The member '" + member.storedName + "' could not be extracted: it " + fault + " !");
  }
  if (!CutRom(context, rom, zipPath, extracted, cut)) return false;
  if (!BackUpOriginal(context, game, MemberBackup(member, member.name), zipPath)) return false;
  return ReplaceZipMember(context, zipPath, entries, member, cut, scan.searchName);
}

}  // namespace

bool ResizeRom(ScanContext& context, const GameSet& game, const RomEntry& rom, const RomScan& scan,
               const std::string& filePath, bool inZip, ZipEntryList& entries) {
  if (inZip && HasSevenZipExtension(filePath)) return RefuseSevenZipRepair(context, filePath);
  if (!ConfirmFix(context, FixKind::kResize,
                  "Resize Wrong Sized Roms In Gameset '" + game.description + "' ?",
                  "\nDo you want to resize '" + filePath + "' ?")) {
    return false;
  }
  return inZip ? ResizeMember(context, game, rom, scan, filePath, entries)
               : ResizeLooseFile(context, game, rom, filePath);
}

}  // namespace kestrel
