#include "gamedb/data_cache.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "gamedb/alias_groups.h"
#include "platform/file_replacement.h"
#include "platform/file_system.h"

namespace kestrel {
namespace {

constexpr char kCacheMagic[] = "DATFILE";
// Caches of another format are not read: the list is read again instead.
// Format 1 adds the BIOS relations; format 2 the list's rules and each
// ROM's dump status and optional mark; format 3 the device sets and device
// ROMs; format 4 each ROM's SHA-1 and the sets' disks; format 5 the
// machines without ROMs or disks, after the sets.
constexpr uint32_t kCacheFormat = 5;

// The smallest number of bytes each record can take in the file; a count is
// believed only when that many records could still follow, so a damaged
// count never makes us allocate more than the file holds.
constexpr uint64_t kMinTextBytes = 1;
constexpr uint64_t kMinSetBytes = 15 * 4 + 6 * kMinTextBytes;
constexpr uint64_t kMinCloneBytes = 4 + kMinTextBytes;
constexpr uint64_t kMinRomBytes = 10 * 4 + kMinTextBytes + 4 + kMinTextBytes + 4;
constexpr uint64_t kMinDiskBytes = 3 * 4 + 2 * kMinTextBytes;
constexpr uint64_t kMinRomlessBytes = 4 + 2 * kMinTextBytes;

// ---- writing ----

void PutInt(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void PutShort(std::string& out, uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}

void PutText(std::string& out, const std::string& text) {
  size_t length = text.size();
  if (length < 0xFF) {
    out.push_back(static_cast<char>(length));
  } else if (length < 0xFFFE) {
    out.push_back(static_cast<char>(0xFF));
    PutShort(out, static_cast<uint16_t>(length));
  } else {
    out.push_back(static_cast<char>(0xFF));
    PutShort(out, 0xFFFF);
    PutInt(out, static_cast<uint32_t>(length));
  }
  out.append(text);
}

void PutFlag(std::string& out, bool flag) { PutInt(out, flag ? 1 : 0); }

// A flag, then the 20 bytes when there is a digest.
void PutSha1(std::string& out, const std::optional<Sha1Digest>& sha1) {
  PutFlag(out, sha1.has_value());
  if (sha1) out.append(reinterpret_cast<const char*>(sha1->data()), sha1->size());
}

void PutDisk(std::string& out, const DiskEntry& disk) {
  PutText(out, disk.name);
  PutSha1(out, disk.sha1);
  PutText(out, disk.merge);
  PutInt(out, static_cast<uint32_t>(disk.status));
  PutFlag(out, disk.optional);
}

void PutSet(std::string& out, const GameSet& game) {
  PutFlag(out, game.hasSampleOf);
  PutFlag(out, game.hasParent);
  PutFlag(out, game.hasNeoGeoBios);
  PutFlag(out, game.isParent);
  PutInt(out, static_cast<uint32_t>(game.clones.size()));
  PutInt(out, static_cast<uint32_t>(game.index));
  PutInt(out, static_cast<uint32_t>(game.parentIndex));
  PutInt(out, static_cast<uint32_t>(game.roms.size()));
  PutInt(out, static_cast<uint32_t>(game.samples.size()));
  PutText(out, game.sampleOf);
  PutText(out, game.name);
  PutText(out, game.description);
  PutText(out, game.cloneOf);
  PutText(out, game.romOf);
  PutFlag(out, game.isBios);
  PutText(out, game.biosOf);
  PutInt(out, static_cast<uint32_t>(game.biosIndex));
  PutInt(out, static_cast<uint32_t>(game.rules));
  PutFlag(out, game.isDevice);
  PutInt(out, static_cast<uint32_t>(game.devices.size()));
  for (int device : game.devices) PutInt(out, static_cast<uint32_t>(device));
  for (const CloneRef& clone : game.clones) {
    PutInt(out, static_cast<uint32_t>(clone.index));
    PutText(out, clone.description);
  }
  for (const RomEntry& rom : game.roms) {
    PutFlag(out, rom.inParent);
    PutFlag(out, rom.noDump);
    PutInt(out, rom.crc);
    PutInt(out, rom.crcComplement);
    PutInt(out, static_cast<uint32_t>(rom.size));
    PutText(out, rom.name);
    // Aliases are derived from the stored relations when the cache is read:
    // a list per ROM would grow with the square of a family's copies.
    PutInt(out, 0);
    PutText(out, rom.merge);
    PutInt(out, static_cast<uint32_t>(rom.biosRom));
    PutInt(out, static_cast<uint32_t>(rom.status));
    PutFlag(out, rom.optional);
    PutInt(out, static_cast<uint32_t>(rom.deviceSet));
    PutInt(out, static_cast<uint32_t>(rom.deviceRom));
    PutSha1(out, rom.sha1);
  }
  for (const SampleEntry& sample : game.samples) PutText(out, sample.name);
  PutInt(out, static_cast<uint32_t>(game.disks.size()));
  for (const DiskEntry& disk : game.disks) PutDisk(out, disk);
}

void PutRomless(std::string& out, const RomlessMachines& machines) {
  PutInt(out, static_cast<uint32_t>(machines.size()));
  for (const RomlessMachine& machine : machines) {
    PutText(out, machine.name);
    PutText(out, machine.cloneOf);
    PutInt(out, static_cast<uint32_t>(machine.deviceRefs.size()));
    for (const std::string& device : machine.deviceRefs) PutText(out, device);
  }
}

// ---- reading ----

// Buffered little-endian reads that never pass the end of the file.
class CacheReader {
 public:
  CacheReader(std::FILE* file, uint64_t size) : file_(file), remaining_(size), buffer_(1 << 18) {}

  uint64_t remaining() const { return remaining_; }
  bool CanHold(int32_t count, uint64_t minBytes) const {
    return count >= 0 && static_cast<uint64_t>(count) * minBytes <= remaining_;
  }

  bool ReadBytes(void* out, size_t length) {
    if (length > remaining_) return false;
    char* target = static_cast<char*>(out);
    while (length > 0) {
      if (position_ == end_ && !Refill()) return false;
      size_t chunk = std::min(length, end_ - position_);
      std::copy_n(buffer_.data() + position_, chunk, target);
      position_ += chunk;
      target += chunk;
      length -= chunk;
      remaining_ -= chunk;
    }
    return true;
  }

  bool ReadInt(uint32_t& value) {
    uint8_t bytes[4];
    if (!ReadBytes(bytes, 4)) return false;
    value = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
    return true;
  }

  bool ReadInt(int32_t& value) {
    uint32_t raw = 0;
    if (!ReadInt(raw)) return false;
    value = static_cast<int32_t>(raw);
    return true;
  }

  bool ReadFlag(bool& flag) {
    uint32_t raw = 0;
    if (!ReadInt(raw) || raw > 1) return false;
    flag = raw == 1;
    return true;
  }

  bool ReadText(std::string& text) {
    uint8_t shortLength = 0;
    if (!ReadBytes(&shortLength, 1)) return false;
    uint64_t length = shortLength;
    if (shortLength == 0xFF) {
      uint8_t word[2];
      if (!ReadBytes(word, 2)) return false;
      length = word[0] | (word[1] << 8);
      if (length == 0xFFFE) return false;  // never written
      if (length == 0xFFFF) {
        uint32_t longLength = 0;
        if (!ReadInt(longLength)) return false;
        length = longLength;
      }
    }
    if (length > remaining_) return false;
    text.resize(length);
    return ReadBytes(text.data(), length);
  }

 private:
  bool Refill() {
    position_ = 0;
    end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    return end_ > 0;
  }

  std::FILE* file_;
  uint64_t remaining_;
  std::vector<char> buffer_;
  size_t position_ = 0;
  size_t end_ = 0;
};

// A small code stored as a number; false for a value outside the enum,
// which only a damaged cache holds.
template <typename Enum>
bool ReadCode(CacheReader& reader, Enum& code, Enum last) {
  uint32_t value = 0;
  if (!reader.ReadInt(value) || value > static_cast<uint32_t>(last)) return false;
  code = static_cast<Enum>(value);
  return true;
}

bool ReadSha1(CacheReader& reader, std::optional<Sha1Digest>& sha1) {
  bool present = false;
  if (!reader.ReadFlag(present)) return false;
  if (!present) {
    sha1.reset();
    return true;
  }
  Sha1Digest digest{};
  if (!reader.ReadBytes(digest.data(), digest.size())) return false;
  sha1 = digest;
  return true;
}

bool ReadDisk(CacheReader& reader, DiskEntry& disk) {
  return reader.ReadText(disk.name) && ReadSha1(reader, disk.sha1) && reader.ReadText(disk.merge) &&
         ReadCode(reader, disk.status, DumpStatus::kNoDump) && reader.ReadFlag(disk.optional);
}

bool ReadRom(CacheReader& reader, RomEntry& rom) {
  int32_t aliasCount = 0;
  if (!reader.ReadFlag(rom.inParent) || !reader.ReadFlag(rom.noDump) || !reader.ReadInt(rom.crc) ||
      !reader.ReadInt(rom.crcComplement) || !reader.ReadInt(rom.size) || !reader.ReadText(rom.name) ||
      !reader.ReadInt(aliasCount) || !reader.CanHold(aliasCount, kMinTextBytes)) {
    return false;
  }
  // Caches of earlier versions list them; they are derived again instead.
  std::string alias;
  for (int32_t i = 0; i < aliasCount; ++i) {
    if (!reader.ReadText(alias)) return false;
  }
  return reader.ReadText(rom.merge) && reader.ReadInt(rom.biosRom) &&
         ReadCode(reader, rom.status, DumpStatus::kNoDump) && reader.ReadFlag(rom.optional) &&
         reader.ReadInt(rom.deviceSet) && reader.ReadInt(rom.deviceRom) && ReadSha1(reader, rom.sha1);
}

bool ReadSet(CacheReader& reader, GameSet& game) {
  int32_t cloneCount = 0, romCount = 0, sampleCount = 0;
  if (!reader.ReadFlag(game.hasSampleOf) || !reader.ReadFlag(game.hasParent) ||
      !reader.ReadFlag(game.hasNeoGeoBios) || !reader.ReadFlag(game.isParent) ||
      !reader.ReadInt(cloneCount) || !reader.ReadInt(game.index) || !reader.ReadInt(game.parentIndex) ||
      !reader.ReadInt(romCount) || !reader.ReadInt(sampleCount) || !reader.ReadText(game.sampleOf) ||
      !reader.ReadText(game.name) || !reader.ReadText(game.description) || !reader.ReadText(game.cloneOf) ||
      !reader.ReadText(game.romOf) || !reader.ReadFlag(game.isBios) || !reader.ReadText(game.biosOf) ||
      !reader.ReadInt(game.biosIndex) || !ReadCode(reader, game.rules, ListRules::kSoftwareList) ||
      !reader.ReadFlag(game.isDevice)) {
    return false;
  }
  int32_t deviceCount = 0;
  if (!reader.ReadInt(deviceCount) || !reader.CanHold(deviceCount, 4)) return false;
  game.devices.resize(size_t(deviceCount));
  for (int& device : game.devices) {
    if (!reader.ReadInt(device)) return false;
  }
  if (!reader.CanHold(cloneCount, kMinCloneBytes)) return false;
  game.clones.resize(cloneCount);
  for (CloneRef& clone : game.clones) {
    if (!reader.ReadInt(clone.index) || !reader.ReadText(clone.description)) return false;
  }
  if (!reader.CanHold(romCount, kMinRomBytes)) return false;
  game.roms.resize(romCount);
  for (RomEntry& rom : game.roms) {
    if (!ReadRom(reader, rom)) return false;
  }
  if (!reader.CanHold(sampleCount, kMinTextBytes)) return false;
  game.samples.resize(sampleCount);
  for (SampleEntry& sample : game.samples) {
    if (!reader.ReadText(sample.name)) return false;
  }
  int32_t diskCount = 0;
  if (!reader.ReadInt(diskCount) || !reader.CanHold(diskCount, kMinDiskBytes)) return false;
  game.disks.resize(diskCount);
  for (DiskEntry& disk : game.disks) {
    if (!ReadDisk(reader, disk)) return false;
  }
  game.cloneCount = cloneCount;
  game.romCount = romCount;
  game.sampleCount = sampleCount;
  return true;
}

// The tools index the database with these numbers without further checks,
// so a cache whose links point outside the list is treated as damaged.
bool HasSoundLinks(const GameSet& game, int position, int setCount) {
  auto inRange = [setCount](int index) { return index >= 0 && index < setCount; };
  if (game.index != position) return false;
  if (game.hasParent ? !inRange(game.parentIndex) : game.parentIndex != -1) return false;
  for (const CloneRef& clone : game.clones) {
    if (!inRange(clone.index)) return false;
  }
  return std::all_of(game.devices.begin(), game.devices.end(), inRange);
}

// Whether `set` (-1 for none) and `rom` (-1 for none; -1 whenever `set` is)
// point at a set of the list and one of its ROMs.
bool IsSoundRomLink(const GameList& database, int set, int rom) {
  if (set == -1) return rom == -1;
  if (set < -1 || set >= static_cast<int>(database.size())) return false;
  return rom >= -1 && rom < static_cast<int>(database[size_t(set)].roms.size());
}

// BIOS and device links are checked once every set is read, as they point
// into another set's ROMs.
bool HasSoundRomLinks(const GameList& database, const GameSet& game) {
  if (game.biosIndex < -1 || game.biosIndex >= static_cast<int>(database.size())) return false;
  return std::all_of(game.roms.begin(), game.roms.end(), [&](const RomEntry& rom) {
    bool biosLink = IsSoundRomLink(database, game.biosIndex, rom.biosRom);
    bool deviceLink = IsSoundRomLink(database, rom.deviceSet, rom.deviceRom) && (rom.deviceSet < 0 || rom.deviceRom >= 0);
    return biosLink && deviceLink;
  });
}

bool ReadSets(CacheReader& reader, GameList& database, int32_t setCount, ProgressDialog& progress) {
  for (int position = 0; position < setCount; ++position) {
    GameSet game;
    if (!ReadSet(reader, game) || !HasSoundLinks(game, position, setCount)) return false;
    progress.SetText("\n\n" + game.description);
    progress.Step();
    database.push_back(std::move(game));
    if (progress.IsCancelled()) return false;
  }
  return std::all_of(database.begin(), database.end(),
                     [&](const GameSet& game) { return HasSoundRomLinks(database, game); });
}

bool ReadRomless(CacheReader& reader, RomlessMachines& machines) {
  int32_t count = 0;
  if (!reader.ReadInt(count) || !reader.CanHold(count, kMinRomlessBytes)) return false;
  machines.resize(static_cast<size_t>(count));
  for (RomlessMachine& machine : machines) {
    int32_t devices = 0;
    if (!reader.ReadText(machine.name) || !reader.ReadText(machine.cloneOf) || !reader.ReadInt(devices) ||
        !reader.CanHold(devices, kMinTextBytes))
      return false;
    machine.deviceRefs.resize(static_cast<size_t>(devices));
    for (std::string& device : machine.deviceRefs)
      if (!reader.ReadText(device)) return false;
  }
  return true;
}

}  // namespace

bool WriteDataCache(const std::string& path, const GameList& database, uint32_t key, const RomlessMachines& romless) {
  std::string out;
  PutText(out, kCacheMagic);
  PutInt(out, kCacheFormat);
  PutInt(out, key);
  PutInt(out, static_cast<uint32_t>(database.size()));
  for (const GameSet& game : database) PutSet(out, game);
  PutRomless(out, romless);

  return ReplaceFile(path, out);
}

std::optional<uint32_t> ReadDataCacheKey(const std::string& path) {
  std::optional<uint64_t> size = FileSize(path);
  if (!size) return std::nullopt;
  FilePtr file(OpenFile(path, "rb"));
  if (!file) return std::nullopt;
  CacheReader reader(file.get(), *size);
  std::string magic;
  uint32_t format = 0, key = 0;
  if (!reader.ReadText(magic) || magic != kCacheMagic || !reader.ReadInt(format) || format != kCacheFormat ||
      !reader.ReadInt(key)) {
    return std::nullopt;
  }
  return key;
}

bool ReadDataCache(const std::string& path, GameList& database, uint32_t expectedKey, UserInterface* owner,
                   RomlessMachines* romless) {
  std::optional<uint64_t> size = FileSize(path);
  if (!size) return false;
  FilePtr file(OpenFile(path, "rb"));
  if (!file) return false;
  CacheReader reader(file.get(), *size);

  std::string magic;
  uint32_t format = 0, key = 0;
  int32_t setCount = 0;
  if (!reader.ReadText(magic) || magic != kCacheMagic || !reader.ReadInt(format) || format != kCacheFormat ||
      !reader.ReadInt(key) ||
      key != expectedKey) {
    return false;
  }
  database.clear();
  if (!reader.ReadInt(setCount) || !reader.CanHold(setCount, kMinSetBytes)) return false;

  std::unique_ptr<ProgressDialog> progress = OpenProgressDialog(owner, "Receiving Data");
  progress->SetRange(0, setCount);
  progress->SetStep(1);
  RomlessMachines machines;
  if (!ReadSets(reader, database, setCount, *progress) || !ReadRomless(reader, machines)) {
    database.clear();
    return false;
  }
  if (romless != nullptr) *romless = std::move(machines);
  GroupAliases(database);
  return true;
}

}  // namespace kestrel
