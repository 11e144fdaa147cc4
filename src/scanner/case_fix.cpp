// The letter-case repairs of sets, ROMs and samples.
#include <string>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/set_files.h"
#include "scanner/fix_operations.h"

#include "archive/seven_zip_set.h"
#include "scanner/fix_question.h"
#include "scanner/repair_support.h"
#include "scanner/set_lookup.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

// Renames `from` to `to`, which differ in letter case only, by way of a
// third name, so that it works where the file system ignores case. A
// failed second step puts the entry back.
bool RenameThroughTemporaryName(ScanContext& context, const std::string& from,
                                const std::string& to) {
  if (!CheckChangeableFolder(context, FolderPart(from))) return false;
  if (!context.fs.PathExists(from)) return FailRepair(context, from, "It no longer exists !");
  std::string temporary = from + "_tmp";
  if (context.fs.PathExists(temporary)) return FailRepair(context, from, "'" + temporary + "' is in the way !");
  if (!context.fs.RenamePath(from, temporary)) return FailRepair(context, from, "It could not be renamed !");
  if (context.fs.RenamePath(temporary, to)) return true;
  context.fs.RenamePath(temporary, from);
  return FailRepair(context, from, "It could not be renamed as '" + to + "' !");
}

// Gives a zip member a new name in one update of the archive.
bool RenameMember(ScanContext& context, const std::string& setPath, int memberIndex,
                  ZipEntryList& entries, const std::string& newName) {
  std::string zipPath = setPath + ".zip";
  if (memberIndex < 0 || memberIndex >= static_cast<int>(entries.size())) return false;
  bool renamed = RenameZipMember(context, zipPath, entries, entries[memberIndex], newName);
  RereadZip(context, zipPath, entries);
  return renamed;
}

// A ROM or sample of a set: a member when the set is a zip, else a file.
bool RenameInSet(ScanContext& context, const std::string& setPath, const std::string& foundPath,
                 int memberIndex, ZipEntryList& entries, const std::string& rightName) {
  if (!IsPlainFileName(rightName)) return FailRepair(context, foundPath, "'" + rightName + "' is no file name !");
  if (!entries.empty()) return RenameMember(context, setPath, memberIndex, entries, rightName);
  return RenameThroughTemporaryName(context, foundPath, JoinPath(FolderPart(foundPath), rightName));
}

std::string CaseQuestion(const std::string& foundName, const std::string& rightName) {
  return "\nDo you want to rename '" + foundName + "' as '" + rightName + "' ?";
}

}  // namespace

bool FixSetCase(ScanContext& context, GameSet& game, const std::string& setPath,
                const std::string& foundPath) {
  bool isZip = context.fs.FileExists(foundPath);
  // Renaming a 7z set's file leaves its contents as they are.
  const bool isSevenZip = isZip && HasSevenZipExtension(foundPath);
  const std::string extension = isSevenZip ? ".7z" : ".zip";
  std::string foundName = FileNamePart(foundPath);
  // The set path names the set this check looked for: the game's own, or
  // the parent's that a merged clone shares.
  std::string rightName = FileNamePart(setPath);
  // The extension is named only when it is what is wrongly spelled.
  std::string foundStem = isSevenZip ? WithoutSevenZipExtension(foundName) : WithoutZipExtension(foundName);
  if (isZip && foundName == foundStem + extension) {
    foundName = foundStem;
  } else if (isZip) {
    rightName += extension;
  }
  if (!ConfirmFix(context, FixKind::kCase,
                  "Fix Wrong Spelled Game '" + game.description + "' ?",
                  CaseQuestion(foundName, rightName))) {
    return false;
  }
  return RenameThroughTemporaryName(context, foundPath, setPath + (isZip ? extension : ""));
}

bool FixRomCase(ScanContext& context, const GameSet& game, const RomScan& scan,
                const std::string& setPath, const std::string& foundPath, ZipEntryList& entries) {
  const std::string& rightName = scan.searchName;
  if (!entries.empty() && IsSevenZipMember(entries.front())) return RefuseSevenZipRepair(context, entries.front().archivePath);
  if (!ConfirmFix(context, FixKind::kCase,
                  "Fix Wrong Spelled Roms In Gameset '" + game.description + "' ?",
                  CaseQuestion(scan.foundName, rightName))) {
    return false;
  }
  return RenameInSet(context, setPath, foundPath, scan.memberIndex, entries, rightName);
}

bool FixSampleCase(ScanContext& context, const GameSet& game, const SampleScan& scan, const std::string& setPath,
                   const std::string& foundPath, ZipEntryList& entries) {
  if (!entries.empty() && IsSevenZipMember(entries.front())) return RefuseSevenZipRepair(context, entries.front().archivePath);
  if (!ConfirmFix(context, FixKind::kCase,
                  "Fix Wrong Spelled Samples In Gameset '" + game.description + "' ?",
                  CaseQuestion(scan.foundName, scan.searchName))) {
    return false;
  }
  return RenameInSet(context, setPath, foundPath, scan.memberIndex, entries, scan.searchName);
}

}  // namespace kestrel
