#include "archive/zip_library.h"

#include <zip.h>

#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace kestrel {
namespace {

std::string WithZipExtension(const std::string& path) {
  bool hasExtension =
      path.size() >= 4 && EqualsNoCase(std::string_view(path).substr(path.size() - 4), ".zip");
  return hasExtension ? path : path + ".zip";
}

// Opens the archive found without case, made writable. Null on failure.
zip_t* OpenArchive(const std::string& archivePath, int flags) {
  std::string path = ResolvePath(WithZipExtension(archivePath));
  if (IsReadOnly(path)) ClearReadOnly(path);
  int error = 0;
  return zip_open(path.c_str(), flags, &error);
}

// Writes the changed archive through libzip's temporary file; on failure
// the changes are dropped and the old archive stays.
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

// Member names exactly as stored. libzip's own lookup compares names after
// converting them from the zip's code page, so names of the program's 8-bit
// code page would not be found byte for byte.
using MemberIndex = std::unordered_map<std::string, zip_uint64_t>;

MemberIndex IndexMembers(zip_t* archive) {
  MemberIndex index;
  zip_int64_t count = zip_get_num_entries(archive, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(archive, zip_uint64_t(i), ZIP_FL_ENC_RAW);
    if (name != nullptr) index.emplace(name, zip_uint64_t(i));
  }
  return index;
}

// Removes a member of the given name, so that what is stored under that
// name next is a new member: libzip keeps the old compression level of a
// replaced member whose method stays the same.
void DropMember(zip_t* archive, MemberIndex& members, const std::string& memberName) {
  auto existing = members.find(memberName);
  if (existing == members.end()) return;
  zip_delete(archive, existing->second);
  members.erase(existing);
}

bool DeleteMembers(zip_t* archive, MemberIndex& members, const std::vector<std::string>& names) {
  std::unordered_set<std::string> deleted;
  for (const std::string& name : names) {
    // A name given twice was deleted the first time.
    if (deleted.count(name) > 0) continue;
    auto member = members.find(name);
    if (member == members.end() || zip_delete(archive, member->second) != 0) return false;
    members.erase(member);
    deleted.insert(name);
  }
  return true;
}

// Stores `source` under `memberName`; the source is freed on failure.
bool StoreMember(zip_t* archive, MemberIndex& members, const std::string& memberName, zip_source_t* source,
                 std::optional<char> level) {
  if (source == nullptr) return false;
  DropMember(archive, members, memberName);
  zip_int64_t index = zip_file_add(archive, memberName.c_str(), source, ZIP_FL_ENC_GUESS);
  if (index < 0) {
    zip_source_free(source);
    return false;
  }
  members[memberName] = zip_uint64_t(index);
  return !level || SetCompression(archive, zip_uint64_t(index), *level);
}

bool AddFile(zip_t* archive, MemberIndex& members, const ZipChanges::Addition& addition, char level) {
  std::optional<std::string> real = FindPath(addition.file);
  if (addition.memberName.empty() || !real || !FileExists(*real)) return false;
  return StoreMember(archive, members, addition.memberName, zip_source_file(archive, real->c_str(), 0, -1), level);
}

// The source archives of copies stay open until the target is written;
// each is opened and its members indexed once, however many copies it gives.
class SourceArchives {
 public:
  struct Source {
    zip_t* archive = nullptr;
    MemberIndex members;
  };
  ~SourceArchives() {
    for (auto& [path, source] : open_) zip_discard(source.archive);
  }
  // The archive at `path` opened read-only; null when it cannot be read.
  const Source* Open(const std::string& path) {
    std::string real = ResolvePath(WithZipExtension(path));
    auto found = open_.find(real);
    if (found != open_.end()) return &found->second;
    int error = 0;
    zip_t* archive = zip_open(real.c_str(), ZIP_RDONLY, &error);
    if (archive == nullptr) return nullptr;
    return &open_.emplace(real, Source{archive, IndexMembers(archive)}).first->second;
  }

 private:
  std::unordered_map<std::string, Source> open_;
};

// Copies the compressed bytes of a member of another archive as they are.
bool CopyMember(zip_t* archive, MemberIndex& members, const ZipChanges::Copy& copy, SourceArchives& sources) {
  const SourceArchives::Source* source = sources.Open(copy.sourceArchive);
  if (source == nullptr || copy.memberName.empty()) return false;
  auto member = source->members.find(copy.sourceMember);
  if (member == source->members.end()) return false;
  zip_source_t* data = zip_source_zip(archive, source->archive, member->second, ZIP_FL_COMPRESSED, 0, -1);
  return StoreMember(archive, members, copy.memberName, data, std::nullopt);
}

}  // namespace

bool InitZipLibrary(ZipLibrary& library) {
  library.loaded = true;
  return true;
}

bool ZipAddFiles(ZipLibrary& library, const std::string& archivePath, const std::vector<std::string>& files) {
  ZipChanges changes;
  for (const std::string& file : files) changes.additions.push_back({file, FileNamePart(file)});
  return ZipUpdate(library, archivePath, changes);
}

bool ZipDeleteEntries(ZipLibrary& library, const std::string& archivePath,
                      const std::vector<std::string>& memberNames) {
  ZipChanges changes;
  changes.deletions = memberNames;
  return ZipUpdate(library, archivePath, changes);
}

bool ZipUpdate(ZipLibrary& library, const std::string& archivePath, const ZipChanges& changes) {
  if (changes.deletions.empty() && changes.additions.empty() && changes.copies.empty()) return false;
  SourceArchives sources;  // outlives the target, which reads them on close
  zip_t* archive = OpenArchive(archivePath, changes.additions.empty() && changes.copies.empty() ? 0 : ZIP_CREATE);
  if (archive == nullptr) return false;
  MemberIndex members = IndexMembers(archive);
  if (!DeleteMembers(archive, members, changes.deletions)) return AbandonArchive(archive);
  for (const ZipChanges::Addition& addition : changes.additions) {
    if (!AddFile(archive, members, addition, library.level)) return AbandonArchive(archive);
  }
  for (const ZipChanges::Copy& copy : changes.copies) {
    if (!CopyMember(archive, members, copy, sources)) return AbandonArchive(archive);
  }
  return CloseArchive(archive);
}

}  // namespace kestrel
