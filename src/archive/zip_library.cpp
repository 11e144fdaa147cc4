#include "archive/zip_library.h"

#include <zip.h>

#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "archive/torrent_zip.h"
#include "archive/zip_file_source.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace kestrel {
namespace {

std::string WithZipExtension(const std::string& path) {
  return HasZipExtension(path) ? path : path + ".zip";
}

// Opens the archive `path` (exactly as spelled) through `fs`. Null on failure.
zip_t* OpenThrough(FileSystem& fs, const std::string& path, int flags) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = ArchiveSource(fs, path, &error);
  zip_t* archive = source == nullptr ? nullptr : zip_open_from_source(source, flags, &error);
  if (archive == nullptr && source != nullptr) zip_source_free(source);
  zip_error_fini(&error);
  return archive;
}

// Opens the archive found without case, made writable. Null on failure.
zip_t* OpenArchive(FileSystem& fs, const std::string& archivePath, int flags) {
  std::string path = fs.ResolvePath(WithZipExtension(archivePath));
  if (fs.IsReadOnly(path)) fs.ClearReadOnly(path);
  return OpenThrough(fs, path, flags);
}

// Writes the changed archive through a temporary file (see
// zip_file_source.h); on failure the changes are dropped and the old
// archive stays.
bool CloseArchive(zip_t* archive) {
  if (zip_close(archive) == 0) return true;
  zip_discard(archive);
  return false;
}

bool AbandonArchive(zip_t* archive) {
  zip_discard(archive);
  return false;
}

bool SetCompression(zip_t* archive, zip_uint64_t index, char level) {
  if (level == '0') return zip_set_file_compression(archive, index, ZIP_CM_STORE, 0) == 0;
  zip_uint32_t digit = level >= '1' && level <= '9' ? zip_uint32_t(level - '0') : 9;
  return zip_set_file_compression(archive, index, ZIP_CM_DEFLATE, digit) == 0;
}

// Members by name exactly as stored, each name with the indexes of the
// members that hold it (two members may share one). libzip's own lookup
// compares names after converting them from the zip's code page, so names
// of the program's 8-bit code page would not be found byte for byte.
using MemberIndex = std::unordered_map<std::string, std::vector<zip_uint64_t>>;

MemberIndex IndexMembers(zip_t* archive) {
  MemberIndex index;
  zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(archive, zip_uint64_t(i), ZIP_FL_ENC_RAW);
    if (name != nullptr) index[name].push_back(zip_uint64_t(i));
  }
  return index;
}

// The one member holding `name`; nullopt when none or two do.
std::optional<zip_uint64_t> OnlyMemberNamed(const MemberIndex& members, const std::string& name) {
  auto found = members.find(name);
  if (found == members.end() || found->second.size() != 1) return std::nullopt;
  return found->second.front();
}

// The index of the member `entry` was listed from, while the archive still
// holds that very member. The strict reader's central index is libzip's
// index (both count central headers in order); name, sizes and CRC-32 make
// sure the archive was not changed since it was listed.
std::optional<zip_uint64_t> LocateEntry(zip_t* archive, const ZipEntry& entry) {
  if (entry.centralIndex < 0) return std::nullopt;
  zip_stat_t stat;
  zip_stat_init(&stat);
  if (zip_stat_index(archive, zip_uint64_t(entry.centralIndex), ZIP_FL_ENC_RAW, &stat) != 0) return std::nullopt;
  constexpr zip_uint64_t kNeeded = ZIP_STAT_NAME | ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_CRC;
  bool same = (stat.valid & kNeeded) == kNeeded && entry.storedName == stat.name && stat.size == entry.size &&
              stat.comp_size == entry.compressedSize && stat.crc == entry.crc;
  if (!same) return std::nullopt;
  return zip_uint64_t(entry.centralIndex);
}

void ForgetMember(MemberIndex& members, const std::string& name, zip_uint64_t index) {
  auto found = members.find(name);
  if (found == members.end()) return;
  std::erase(found->second, index);
  if (found->second.empty()) members.erase(found);
}

bool DeleteMember(zip_t* archive, MemberIndex& members, const std::string& name, zip_uint64_t index) {
  if (zip_delete(archive, index) != 0) return false;
  ForgetMember(members, name, index);
  return true;
}

bool DeleteNamedMembers(zip_t* archive, MemberIndex& members, const std::vector<std::string>& names) {
  std::unordered_set<std::string> deleted;
  for (const std::string& name : names) {
    // A name given twice was deleted the first time.
    if (deleted.count(name) > 0) continue;
    std::optional<zip_uint64_t> index = OnlyMemberNamed(members, name);
    if (!index || !DeleteMember(archive, members, name, *index)) return false;
    deleted.insert(name);
  }
  return true;
}

bool DeleteEntries(zip_t* archive, MemberIndex& members, const std::vector<ZipEntry>& entries) {
  // Every entry is located before any is deleted: libzip no longer
  // describes a deleted member, so an entry given twice could not be found
  // the second time. Given twice, it is deleted once.
  std::unordered_map<zip_uint64_t, std::string> located;
  for (const ZipEntry& entry : entries) {
    std::optional<zip_uint64_t> index = LocateEntry(archive, entry);
    if (!index) return false;
    located[*index] = entry.storedName;
  }
  for (const auto& [index, name] : located) {
    if (!DeleteMember(archive, members, name, index)) return false;
  }
  return true;
}

// Removes the member of the given name, so that what is stored under that
// name next is a new member: libzip keeps the old compression level of a
// replaced member whose method stays the same. False when two members hold
// the name: which one to replace would be a guess.
bool DropMember(zip_t* archive, MemberIndex& members, const std::string& memberName) {
  auto existing = members.find(memberName);
  if (existing == members.end()) return true;
  if (existing->second.size() != 1) return false;
  return DeleteMember(archive, members, memberName, existing->second.front());
}

// Stores `source` under `memberName`; the source is freed on failure.
bool StoreMember(zip_t* archive, MemberIndex& members, const std::string& memberName, zip_source_t* source,
                 std::optional<char> level) {
  if (source == nullptr) return false;
  zip_int64_t index = -1;
  if (DropMember(archive, members, memberName)) {
    index = zip_file_add(archive, memberName.c_str(), source, ZIP_FL_ENC_GUESS);
  }
  if (index < 0) {
    zip_source_free(source);
    return false;
  }
  members[memberName].push_back(zip_uint64_t(index));
  return !level || SetCompression(archive, zip_uint64_t(index), *level);
}

bool AddFile(FileSystem& fs, zip_t* archive, MemberIndex& members, const ZipChanges::Addition& addition, char level) {
  std::optional<std::string> real = fs.FindPath(addition.file);
  if (addition.memberName.empty() || !real || !fs.FileExists(*real)) return false;
  return StoreMember(archive, members, addition.memberName, AddedFileSource(archive, fs, *real), level);
}

// The source archives of copies stay open until the target is written;
// each is opened and its members indexed once, however many copies it gives.
class SourceArchives {
 public:
  struct Source {
    zip_t* archive = nullptr;
    MemberIndex members;
  };
  explicit SourceArchives(FileSystem& fs) : fs_(fs) {}
  ~SourceArchives() {
    for (auto& [path, source] : open_) zip_discard(source.archive);
  }
  // The archive at `path` opened read-only; null when it cannot be read.
  const Source* Open(const std::string& path) {
    std::string real = fs_.ResolvePath(WithZipExtension(path));
    auto found = open_.find(real);
    if (found != open_.end()) return &found->second;
    zip_t* archive = OpenThrough(fs_, real, ZIP_RDONLY);
    if (archive == nullptr) return nullptr;
    return &open_.emplace(real, Source{archive, IndexMembers(archive)}).first->second;
  }

 private:
  FileSystem& fs_;
  std::unordered_map<std::string, Source> open_;
};

// Copies the compressed bytes of member `index` of `source` as they are.
bool CopyMemberAt(zip_t* archive, MemberIndex& members, const SourceArchives::Source& source, zip_uint64_t index,
                  const std::string& memberName) {
  if (memberName.empty()) return false;
  zip_source_t* data = zip_source_zip(archive, source.archive, index, ZIP_FL_COMPRESSED, 0, -1);
  return StoreMember(archive, members, memberName, data, std::nullopt);
}

bool CopyNamedMember(zip_t* archive, MemberIndex& members, const ZipChanges::Copy& copy, SourceArchives& sources) {
  const SourceArchives::Source* source = sources.Open(copy.sourceArchive);
  if (source == nullptr) return false;
  std::optional<zip_uint64_t> index = OnlyMemberNamed(source->members, copy.sourceMember);
  return index && CopyMemberAt(archive, members, *source, *index, copy.memberName);
}

bool CopyEntry(zip_t* archive, MemberIndex& members, const ZipChanges::EntryCopy& copy, SourceArchives& sources) {
  const SourceArchives::Source* source = sources.Open(copy.source.archivePath);
  if (source == nullptr) return false;
  std::optional<zip_uint64_t> index = LocateEntry(source->archive, copy.source);
  return index && CopyMemberAt(archive, members, *source, *index, copy.memberName);
}

bool HasAdditions(const ZipChanges& changes) {
  return !changes.additions.empty() || !changes.copies.empty() || !changes.copiedEntries.empty();
}

bool HasChanges(const ZipChanges& changes) {
  return !changes.deletions.empty() || !changes.deletedEntries.empty() || HasAdditions(changes);
}

// A written archive in TorrentZip's form. The changes stand whatever the
// rewrite does; one that fails is named, as the user asked for the form.
void RewriteAsTorrentZip(FileSystem& fs, const ZipLibrary& library, const std::string& path) {
  // An archive left without members was removed: nothing to rewrite.
  std::optional<std::string> written = fs.FindPath(path);
  if (!written) return;
  TorrentZipFault fault = WriteTorrentZip(fs, *written);
  if (fault != TorrentZipFault::kNone && library.torrentZipMisses != nullptr)
    library.torrentZipMisses->Add(*written, fault);
}

}  // namespace

bool ZipAddFiles(FileSystem& fs, ZipLibrary& library, const std::string& archivePath,
                 const std::vector<std::string>& files) {
  ZipChanges changes;
  for (const std::string& file : files) changes.additions.push_back({file, FileNamePart(file)});
  return ZipUpdate(fs, library, archivePath, changes);
}

bool ZipDeleteEntries(FileSystem& fs, ZipLibrary& library, const std::string& archivePath,
                      const std::vector<std::string>& memberNames) {
  ZipChanges changes;
  changes.deletions = memberNames;
  return ZipUpdate(fs, library, archivePath, changes);
}

bool ZipUpdate(FileSystem& fs, ZipLibrary& library, const std::string& archivePath, const ZipChanges& changes) {
  if (!HasChanges(changes)) return false;
  SourceArchives sources(fs);  // outlives the target, which reads them on close
  zip_t* archive = OpenArchive(fs, archivePath, HasAdditions(changes) ? ZIP_CREATE : 0);
  if (archive == nullptr) return false;
  MemberIndex members = IndexMembers(archive);
  if (!DeleteNamedMembers(archive, members, changes.deletions) ||
      !DeleteEntries(archive, members, changes.deletedEntries)) {
    return AbandonArchive(archive);
  }
  for (const ZipChanges::Addition& addition : changes.additions) {
    if (!AddFile(fs, archive, members, addition, library.level)) return AbandonArchive(archive);
  }
  for (const ZipChanges::Copy& copy : changes.copies) {
    if (!CopyNamedMember(archive, members, copy, sources)) return AbandonArchive(archive);
  }
  for (const ZipChanges::EntryCopy& copy : changes.copiedEntries) {
    if (!CopyEntry(archive, members, copy, sources)) return AbandonArchive(archive);
  }
  if (!CloseArchive(archive)) return false;
  if (library.torrentZip) RewriteAsTorrentZip(fs, library, WithZipExtension(archivePath));
  return true;
}

}  // namespace kestrel
