#include "settings/profile_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "platform/file_replacement.h"
#include "platform/file_system.h"
#include "settings/byte_stream.h"
#include "settings/stored_fields.h"

namespace kestrel {
namespace {

constexpr char kMagic[] = "KPFOPT";
// The smallest path list entry: its `enabled` integer and an empty path.
constexpr uint64_t kSmallestPathEntry = 5;

bool ReadPathList(ByteReader& in, PathList& list) {
  int32_t count;
  if (!in.ReadInt(count) || count < 0) return false;
  if (static_cast<uint64_t>(count) > in.remaining() / kSmallestPathEntry) return false;
  // No reserve: the list grows only by entries actually read.
  PathList read;
  for (int32_t i = 0; i < count; ++i) {
    PathEntry entry;
    if (!in.ReadFlag(entry.enabled) || !in.ReadString(entry.path)) return false;
    entry.position = i;
    read.push_back(std::move(entry));
  }
  list = std::move(read);
  return true;
}

void WritePathList(ByteWriter& out, const PathList& list) {
  out.WriteInt(static_cast<int32_t>(list.size()));
  for (const PathEntry& entry : list) {
    out.WriteFlag(entry.enabled);
    out.WriteString(entry.path);
  }
}

bool ReadSelection(ByteReader& in, SettingsRecord& r) {
  int32_t crc;
  if (!in.ReadInt(crc) || !in.ReadInt(r.storedGameCount) || r.storedGameCount < 0) return false;
  r.storedDataCrc = static_cast<uint32_t>(crc);
  return in.ReadBytes(r.gameSelectionBytes, static_cast<uint64_t>(r.storedGameCount));
}

// Without game data in memory the selection read from the profile is kept,
// so that a run in which the data could not be acquired does not wipe it.
void WriteSelection(ByteWriter& out, const SettingsRecord& r, const GameList& database, uint32_t dataCrc) {
  if (database.empty()) {
    out.WriteInt(static_cast<int32_t>(r.storedDataCrc));
    out.WriteInt(static_cast<int32_t>(r.gameSelectionBytes.size()));
    out.WriteBytes(r.gameSelectionBytes);
    return;
  }
  out.WriteInt(static_cast<int32_t>(dataCrc));
  out.WriteInt(static_cast<int32_t>(database.size()));
  for (const GameSet& game : database) out.WriteByte(game.selected ? 1 : 0);
}

// Reads until the profile's version ends; a field cut short or damaged
// marks the whole profile as failed.
struct FieldReader {
  ByteReader& in;
  int32_t version;
  bool failed = false;

  bool Read(bool ok) {
    failed = !ok;
    return ok;
  }
  bool Flag(const char*, bool& value) { return Read(in.ReadFlag(value)); }
  bool Int(const char*, int32_t& value) { return Read(in.ReadInt(value)); }
  // A number no layout is stored as marks the profile as damaged.
  bool Layout(const char*, SetLayout& layout, LayoutCodes codes) {
    int32_t code = 0;
    std::optional<SetLayout> read = in.ReadInt(code) ? LayoutOfCode(code, codes) : std::nullopt;
    if (read) layout = *read;
    return Read(read.has_value());
  }
  bool Text(const char*, std::string& value) { return Read(in.ReadString(value)); }
  bool Paths(const char*, PathList& list) { return Read(ReadPathList(in, list)); }
  bool Selection(SettingsRecord& r) { return Read(ReadSelection(in, r)); }
  bool Since(int32_t itemsVersion) const { return version >= itemsVersion; }
};

struct FieldWriter {
  ByteWriter& out;
  const GameList& database;
  uint32_t dataCrc;

  bool Flag(const char*, bool value) {
    out.WriteFlag(value);
    return true;
  }
  bool Int(const char*, int32_t value) {
    out.WriteInt(value);
    return true;
  }
  bool Layout(const char* name, SetLayout layout, LayoutCodes codes) { return Int(name, LayoutCode(layout, codes)); }
  bool Text(const char*, const std::string& value) {
    out.WriteString(value);
    return true;
  }
  bool Paths(const char*, const PathList& list) {
    WritePathList(out, list);
    return true;
  }
  bool Selection(const SettingsRecord& r) {
    WriteSelection(out, r, database, dataCrc);
    return true;
  }
  bool Since(int32_t) const { return true; }
};

bool ReadItems(ByteReader& in, SettingsRecord& r) {
  std::string magic;
  int32_t version;
  if (!in.ReadString(magic) || magic != kMagic || !in.ReadInt(version)) return false;
  // A negative version is no profile this program ever wrote.
  if (version < 0) return false;
  FieldReader reader{in, version};
  VisitStoredFields(r, reader);
  return !reader.failed;
}

}  // namespace

bool LoadProfile(SettingsRecord& record, const std::string& path) {
  // OpenFile opens regular files only, whose size then bounds every count.
  FilePtr file(OpenFile(path, "rb"));
  struct stat info;
  if (!file || ::fstat(fileno(file.get()), &info) != 0) return false;
  SettingsRecord read;
  ByteReader in(file.get(), static_cast<uint64_t>(info.st_size));
  bool loaded = ReadItems(in, read);
  if (loaded) record = std::move(read);
  return loaded;
}

bool SaveProfile(const SettingsRecord& record, const std::string& path, const GameList& database,
                 uint32_t dataCrc) {
  ByteWriter out;
  out.WriteString(kMagic);
  out.WriteInt(kProfileVersion);
  FieldWriter writer{out, database, dataCrc};
  VisitStoredFields(record, writer);

  // The old profile stays in place until the new one is complete and on
  // disk: a profile is the user's only record of the collection's setup.
  return ReplaceFile(path, out.bytes(), true);
}

}  // namespace kestrel
