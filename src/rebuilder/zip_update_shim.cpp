// Stand-in for the archive layer's ZipUpdate; see zip_update_shim.h.
#include "rebuilder/zip_update_shim.h"
#include <zip.h>
#include <map>
#include "platform/file_system.h"
namespace kestrel {
bool ZipUpdate(ZipLibrary& library, const std::string& archivePath, const ZipChanges& changes) {
  std::string path = archivePath;
  if (path.size() < 4 || path.substr(path.size() - 4) != ".zip") path += ".zip";
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE, &error);
  if (!archive) return false;
  std::map<std::string, zip_t*> sources;
  bool ok = true;
  auto put = [&](zip_source_t* src, const std::string& name, bool compress) {
    if (!src) { ok = false; return; }
    zip_int64_t idx = zip_name_locate(archive, name.c_str(), ZIP_FL_ENC_RAW);
    if (idx >= 0) { if (zip_file_replace(archive, idx, src, 0) != 0) { zip_source_free(src); ok = false; return; } }
    else { idx = zip_file_add(archive, name.c_str(), src, ZIP_FL_ENC_GUESS); if (idx < 0) { zip_source_free(src); ok = false; return; } }
    if (compress) zip_set_file_compression(archive, idx, library.level == '0' ? ZIP_CM_STORE : ZIP_CM_DEFLATE, library.level == '0' ? 0 : library.level - '0');
  };
  for (auto& d : changes.deletions) { zip_int64_t i = zip_name_locate(archive, d.c_str(), ZIP_FL_ENC_RAW); if (i < 0 || zip_delete(archive, i) != 0) ok = false; }
  for (auto& c : changes.copies) {
    zip_t*& src = sources[c.sourceArchive];
    if (!src) src = zip_open(c.sourceArchive.c_str(), ZIP_RDONLY, &error);
    if (!src) { ok = false; break; }
    zip_int64_t i = zip_name_locate(src, c.sourceMember.c_str(), ZIP_FL_ENC_RAW);
    if (i < 0) { ok = false; break; }
    put(zip_source_zip(archive, src, i, ZIP_FL_COMPRESSED, 0, -1), c.memberName, false);
  }
  for (auto& a : changes.additions) put(zip_source_file(archive, a.file.c_str(), 0, -1), a.memberName, true);
  if (!ok) { zip_discard(archive); for (auto& s : sources) if (s.second) zip_discard(s.second); return false; }
  bool done = zip_close(archive) == 0;
  if (!done) zip_discard(archive);
  for (auto& s : sources) if (s.second) zip_discard(s.second);
  return done;
}
}
