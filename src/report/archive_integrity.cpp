#include "report/archive_integrity.h"

#include "archive/chd_header.h"
#include "archive/folder_tree.h"
#include "archive/member_data.h"
#include "archive/seven_zip_set.h"
#include "archive/zip_reader.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace kestrel {
namespace {

std::string ZipFaultReason(ZipFault fault) {
  switch (fault) {
    case ZipFault::kNone: return "cannot be read";
    case ZipFault::kBadLocalEntry: return "a member's local header is damaged or out of place";
    case ZipFault::kBadCentralEntry: return "the central directory is damaged or disagrees with the members";
    case ZipFault::kBadEndRecord: return "the end of the central directory is missing or damaged";
    case ZipFault::kUnsupportedMethod: return "a member is compressed by a method Kestrel does not read";
  }
  return "cannot be read";
}

std::string ChdReason(ChdHeaderStatus status) {
  switch (status) {
    case ChdHeaderStatus::kGood: return {};
    case ChdHeaderStatus::kUnreadable: return "cannot be read";
    case ChdHeaderStatus::kNotChd: return "is no CHD: its header is missing or damaged";
    case ChdHeaderStatus::kUnknownVersion: return "is a CHD of a version MAME does not read";
    case ChdHeaderStatus::kCutShort: return "ends before the hunk map its header points at";
  }
  return {};
}

// The first fault of the zip: its structure, then each member's contents.
std::string ZipDamage(FileSystem& fs, const std::string& path, IntegrityReport& report) {
  ZipEntryList members;
  ZipProblem problem;
  if (!ReadZipDirectory(fs, path, members, false, &problem, ZipHeaderCheck::kBothHeaders))
    return ZipFaultReason(problem.fault);
  for (const ZipEntry& member : members) {
    ++report.members;
    std::string fault;
    if (!ReadMemberData(fs, member, [](const uint8_t*, size_t) { return true; }, &fault))
      return "member " + member.storedName + " " + fault;
  }
  return {};
}

// A 7z is read whole to list it: its first damaged member is the fault.
std::string SevenZipDamage(FileSystem& fs, const std::string& path, IntegrityReport& report) {
  ZipEntryList members;
  std::string fault;
  if (!ReadSevenZipSet(fs, path, members, fault)) return fault;
  report.members += static_cast<int>(members.size());
  for (const ZipEntry& member : members)
    if (!CanDecodeMember(member)) return "member " + member.storedName + " is encrypted";
  return {};
}

void CheckArchive(FileSystem& fs, const std::string& path, IntegrityReport& report) {
  std::string reason;
  if (HasZipExtension(path)) {
    ++report.zips;
    reason = ZipDamage(fs, path, report);
  } else if (HasSevenZipExtension(path)) {
    ++report.sevenZips;
    reason = SevenZipDamage(fs, path, report);
  } else {
    ++report.chds;
    reason = ChdReason(ReadChdHeader(fs, path).status);
  }
  if (!reason.empty()) report.damaged.push_back({path, reason});
}

}  // namespace

bool IsCheckedArchive(const std::string& path) {
  return HasZipExtension(path) || HasSevenZipExtension(path) || HasSuffixNoCase(path, ".chd");
}

void CheckArchives(FileSystem& fs, const std::string& path, IntegrityReport& report) {
  if (!fs.FolderExists(path)) {
    CheckArchive(fs, path, report);
    return;
  }
  for (const std::string& file : ListTreeFiles(fs, path)) {
    if (IsCheckedArchive(file)) CheckArchive(fs, JoinPath(path, file), report);
  }
}

}  // namespace kestrel
