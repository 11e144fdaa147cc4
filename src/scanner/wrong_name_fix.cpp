// Giving every file of a set that lies under a wrong ROM name its right
// name, all in one go, so that two files may swap their names.
#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "archive/seven_zip_set.h"
#include "archive/zip_library.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "scanner/fix_operations.h"
#include "scanner/fix_question.h"
#include "scanner/repair_support.h"
#include "scanner/set_lookup.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

constexpr char kAsideSuffix[] = "_kpw";

std::string ContainerOf(const WrongNameEntry& entry) {
  std::string folder = FolderPart(entry.fullPath);
  return folder.empty() ? folder : folder.substr(0, folder.size() - 1);
}

// Loose files: every file first goes aside to its right name with a
// suffix, then to its right name. A file whose second step fails goes back
// to the name it had.
void RenameLooseFiles(ScanContext& context, const std::vector<WrongNameEntry*>& entries) {
  std::vector<WrongNameEntry*> aside;
  for (WrongNameEntry* entry : entries) {
    std::string target = FolderPart(entry->fullPath) + entry->rightName + kAsideSuffix;
    if (!context.fs.PathExists(entry->fullPath)) {
      FailRepair(context, entry->fullPath, "It no longer exists !");
    } else if (context.fs.PathExists(target)) {
      FailRepair(context, entry->fullPath, "'" + target + "' is in the way !");
    } else if (!context.fs.RenamePath(entry->fullPath, target)) {
      FailRepair(context, entry->fullPath, "It could not be renamed !");
    } else {
      aside.push_back(entry);
    }
  }
  for (WrongNameEntry* entry : aside) {
    std::string folder = FolderPart(entry->fullPath);
    std::string asideName = folder + entry->rightName + kAsideSuffix;
    entry->fixed = context.fs.RenamePath(asideName, folder + entry->rightName);
    if (entry->fixed) continue;
    context.fs.RenamePath(asideName, entry->fullPath);
    FailRepair(context, entry->fullPath, "It could not be renamed as '" + entry->rightName + "' !");
  }
}

// What makes two listings' members the same (IsSameMember): the place of
// the member's header and its stored name.
using MemberIdentity = std::pair<uint32_t, std::string>;

MemberIdentity IdentityOf(const ZipEntry& member) { return {member.headerOffset, member.storedName}; }

// The first member of the listing with each identity, so that a zip of
// many members is not searched once per entry.
std::map<MemberIdentity, const ZipEntry*> IndexByIdentity(const ZipEntryList& members) {
  std::map<MemberIdentity, const ZipEntry*> index;
  for (const ZipEntry& member : members) index.emplace(IdentityOf(member), &member);
  return index;
}

// The entries that can be renamed: still in the zip, and their right name
// held by no member that stays. A member stays when its own rename cannot
// be made, which may in turn block another's, so the earliest blocked entry
// is dropped until none is; dropping only ever blocks more.
std::vector<WrongNameEntry*> PlanMemberRenames(ScanContext& context, const ZipEntryList& members,
                                               const std::vector<WrongNameEntry*>& entries) {
  std::map<MemberIdentity, const ZipEntry*> listed = IndexByIdentity(members);
  std::vector<WrongNameEntry*> planned;
  std::map<MemberIdentity, int> leaving;  // planned entries per member identity
  std::map<std::string, std::vector<size_t>> plannedByRightName;
  for (WrongNameEntry* entry : entries) {
    if (listed.count(IdentityOf(entry->zipEntry)) > 0) {
      ++leaving[IdentityOf(entry->zipEntry)];
      plannedByRightName[entry->rightName].push_back(planned.size());
      planned.push_back(entry);
    } else {
      FailRepair(context, entry->fullPath, "It no longer exists !");
    }
  }
  std::set<size_t> blocked;  // places in `planned`, the earliest first
  for (const ZipEntry& member : members) {
    if (leaving.count(IdentityOf(member)) > 0) continue;
    auto named = plannedByRightName.find(member.storedName);
    if (named != plannedByRightName.end()) blocked.insert(named->second.begin(), named->second.end());
  }
  std::vector<bool> dropped(planned.size(), false);
  while (!blocked.empty()) {
    size_t first = *blocked.begin();
    blocked.erase(blocked.begin());
    WrongNameEntry* entry = planned[first];
    // A member of the right name that stays would be overwritten.
    FailRepair(context, entry->fullPath, "'" + entry->rightName + "' is in the way !");
    dropped[first] = true;
    MemberIdentity stays = IdentityOf(entry->zipEntry);
    if (--leaving[stays] > 0) continue;
    auto named = plannedByRightName.find(stays.second);
    if (named == plannedByRightName.end()) continue;
    for (size_t place : named->second)
      if (!dropped[place]) blocked.insert(place);
  }
  std::vector<WrongNameEntry*> kept;
  for (size_t i = 0; i < planned.size(); ++i)
    if (!dropped[i]) kept.push_back(planned[i]);
  return kept;
}

// Members of one zip: all deleted and stored again under their right names
// in one update of the archive, their compressed bytes moved as they are.
void RenameMembers(ScanContext& context, const std::string& setPath,
                   const std::vector<WrongNameEntry*>& entries) {
  std::string zipPath = setPath + ".zip";
  ZipEntryList members;
  if (!RereadZip(context, zipPath, members)) {
    FailRepair(context, zipPath, "It no longer reads as a zip file !");
    return;
  }
  if (context.zipLibrary == nullptr) {
    FailRepair(context, zipPath, "Zip files cannot be written !");
    return;
  }
  if (!CheckChangeableFolder(context, FolderPart(zipPath))) return;

  std::vector<WrongNameEntry*> renamed = PlanMemberRenames(context, members, entries);
  std::map<MemberIdentity, const ZipEntry*> listed = IndexByIdentity(members);
  ZipChanges changes;
  for (WrongNameEntry* entry : renamed) {
    const ZipEntry& member = *listed.at(IdentityOf(entry->zipEntry));
    changes.deletedEntries.push_back(member);
    changes.copiedEntries.push_back({member, entry->rightName});
  }
  if (renamed.empty()) return;
  if (!ZipUpdate(context.fs, *context.zipLibrary, zipPath, changes)) {
    FailRepair(context, zipPath, "The zip file could not be updated; it is unchanged !");
    return;
  }
  for (WrongNameEntry* entry : renamed) entry->fixed = true;
}

}  // namespace

void RenameWrongNamedRoms(ScanContext& context, const GameSet& game,
                          std::vector<WrongNameEntry>& entries) {
  if (entries.empty()) return;
  // The files of a 7z set are all its members.
  if (entries.front().inZip && IsSevenZipMember(entries.front().zipEntry)) {
    RefuseSevenZipRepair(context, entries.front().zipEntry.archivePath);
    return;
  }
  if (!ConfirmFix(context, FixKind::kRename,
                  "Fix All Wrong Named Roms In Gameset '" + game.description + "' ?",
                  "\nDo you want to rename all wrong named roms in '" + game.description + "' ?")) {
    return;
  }
  // Two files that would end under the same name: only the first is
  // renamed, the other stays as it is rather than being overwritten.
  std::set<std::string, LessNoCase> rightNames;
  std::vector<WrongNameEntry*> loose;
  std::map<std::string, std::vector<WrongNameEntry*>> byZip;
  for (WrongNameEntry& entry : entries) {
    if (!IsPlainFileName(entry.rightName) || !rightNames.insert(entry.rightName).second) continue;
    if (entry.inZip) {
      byZip[ContainerOf(entry)].push_back(&entry);
    } else {
      loose.push_back(&entry);
    }
  }
  if (!loose.empty() && CheckChangeableFolder(context, FolderPart(loose.front()->fullPath))) {
    RenameLooseFiles(context, loose);
  }
  for (const auto& [setPath, members] : byZip) RenameMembers(context, setPath, members);
}

}  // namespace kestrel
