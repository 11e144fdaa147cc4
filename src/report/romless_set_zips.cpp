#include "report/romless_set_zips.h"

#include "archive/zip_reader.h"
#include "platform/paths.h"

namespace kestrel {

namespace {

// MAME, on Linux, opens a zip only under its exact name.
bool IsSpelledExactly(FileSystem& fs, const std::string& path) {
  const std::optional<std::string> onDisk = fs.FindPath(path);
  return onDisk && FileNamePart(*onDisk) == FileNamePart(path);
}

}  // namespace

RomlessZips ReadRomlessZips(FileSystem& fs, const PathList& romPaths, const RomlessMachines& romless) {
  RomlessZips zips;
  for (const RomlessMachine& machine : romless) {
    for (const PathEntry& romPath : romPaths) {
      const std::string path = romPath.path + machine.name + ".zip";
      ZipEntryList members;
      if (!IsSpelledExactly(fs, path) || !ReadZipDirectory(fs, path, members, false, nullptr)) continue;
      std::vector<uint64_t>& contents = zips[machine.name];
      for (const ZipEntry& member : members) contents.push_back(ContentKey(member.size, member.crc));
    }
  }
  return zips;
}

const std::vector<uint64_t>& RomlessZipOf(const RomlessZips& zips, const std::string& name) {
  static const std::vector<uint64_t> kNone;
  const auto found = zips.find(name);
  return found == zips.end() ? kNone : found->second;
}

}  // namespace kestrel
