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

// Adds or replaces one member.
bool AddFile(zip_t* archive, MemberIndex& members, const std::string& file, char level) {
  std::string memberName = FileNamePart(file);
  std::optional<std::string> real = FindPath(file);
  if (memberName.empty() || !real || !FileExists(*real)) return false;
  zip_source_t* source = zip_source_file(archive, real->c_str(), 0, -1);
  if (source == nullptr) return false;
  auto existing = members.find(memberName);
  zip_int64_t index = -1;
  if (existing != members.end()) {
    if (zip_file_replace(archive, existing->second, source, 0) == 0) index = zip_int64_t(existing->second);
  } else {
    index = zip_file_add(archive, memberName.c_str(), source, ZIP_FL_ENC_GUESS);
  }
  if (index < 0) {
    zip_source_free(source);
    return false;
  }
  members[memberName] = zip_uint64_t(index);
  return SetCompression(archive, zip_uint64_t(index), level);
}

}  // namespace

bool InitZipLibrary(ZipLibrary& library) {
  library.loaded = true;
  return true;
}

bool ZipAddFiles(ZipLibrary& library, const std::string& archivePath, const std::vector<std::string>& files) {
  if (files.empty()) return false;
  zip_t* archive = OpenArchive(archivePath, ZIP_CREATE);
  if (archive == nullptr) return false;
  MemberIndex members = IndexMembers(archive);
  for (const std::string& file : files) {
    if (!AddFile(archive, members, file, library.level)) return AbandonArchive(archive);
  }
  return CloseArchive(archive);
}

bool ZipDeleteEntries(ZipLibrary& library, const std::string& archivePath,
                      const std::vector<std::string>& memberNames) {
  (void)library;
  if (memberNames.empty()) return false;
  zip_t* archive = OpenArchive(archivePath, 0);
  if (archive == nullptr) return false;
  MemberIndex members = IndexMembers(archive);
  std::unordered_set<std::string> deleted;
  for (const std::string& name : memberNames) {
    // A name given twice was deleted the first time.
    if (deleted.count(name) > 0) continue;
    auto member = members.find(name);
    if (member == members.end() || zip_delete(archive, member->second) != 0) return AbandonArchive(archive);
    deleted.insert(name);
  }
  return CloseArchive(archive);
}

}  // namespace kestrel
