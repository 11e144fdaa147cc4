// The header of a CHD file (MAME's "Compressed Hunks of Data", the format of
// its hard disk, CD and laserdisc images): the version and the SHA-1s that
// identify the image. Only the header is read, never the data, so a disk of
// gigabytes costs one small read.
//
// Layout (all numbers big-endian): "MComprHD" (8 bytes), the header's length
// (u32), the version (u32), then per version:
//   v3: 120 bytes; flags at 16 (bit 0: has a parent); sha1 at 80, parent's at 100
//   v4: 108 bytes; flags at 16; sha1 at 48, parent's at 68, raw data's at 88
//   v5: 124 bytes; raw data's sha1 at 64, sha1 at 84, parent's at 104 (zero: none)
// The "sha1" covers the data and the metadata together; it is the one MAME's
// lists give for a disk and the one MAME's audit compares.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/sha1_digest.h"
#include "platform/file_system.h"

namespace kestrel {

enum class ChdHeaderStatus : uint8_t {
  kGood,            // a header of version 3, 4 or 5 of its own length
  kUnreadable,      // the file cannot be opened or read
  kNotChd,          // shorter than a header, another tag, or a length its version never has
  kUnknownVersion,  // a CHD of a version MAME no longer reads (1, 2) or not yet known
  kCutShort,        // a good header, but the file ends before the map it points at
};

struct ChdHeader {
  ChdHeaderStatus status = ChdHeaderStatus::kUnreadable;
  uint32_t version = 0;  // read whenever the tag was there
  Sha1Digest sha1{};     // data and metadata; with kGood
  // The raw data's SHA-1; version 3 has none.
  std::optional<Sha1Digest> rawSha1;
  // The parent image's SHA-1 for a CHD that holds only its differences.
  std::optional<Sha1Digest> parentSha1;
};

// Reads the header of the CHD at `path`. Never throws and never reads past
// the header; any fault is told by the status. The one check beyond the
// header is the file's length: MAME reads the hunk map when it opens a CHD
// and takes a file that ends before it for no disk at all.
ChdHeader ReadChdHeader(FileSystem& fs, const std::string& path);

// The same for the header's bytes, for tests and fuzzing: `bytes` holds
// what the file begins with (`size` bytes of its `fileSize`).
ChdHeader ParseChdHeader(const uint8_t* bytes, size_t size, uint64_t fileSize);

}  // namespace kestrel
