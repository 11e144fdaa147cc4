// Reading the data of a listed member, whatever holds it: a zip member of
// any method (stored and deflated ones by the zip reader, the others by
// libarchive), or a member of a 7z set. The resize search, SHA-1 and
// "test" read members through here, so a set is judged the same whichever
// method its members were packed with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "archive/zip_entry.h"
#include "platform/file_system.h"

namespace kestrel {

// Whether a zip member is encrypted (flag bit 0 of its local header).
bool IsEncryptedMember(const ZipEntry& member);
// Whether a zip member is stored or deflated: the methods the zip reader
// decodes itself; libarchive reads the others.
bool IsZipReaderMethod(const ZipEntry& member);

// Whether the member's data can be decoded at all: not encrypted, and of a
// method Kestrel or libarchive decodes (stored, deflate, bzip2, lzma, zstd,
// xz, ppmd; every member of a 7z). Its CRC-32 is only a claim until then.
bool CanDecodeMember(const ZipEntry& member);

// Decodes the member and hands its contents to `take` piece by piece. True
// when they were read to the end and have the size and CRC-32 listed;
// false, with `fault` in words for the user when given, on damaged data,
// a method nothing here decodes, or as soon as `take` returns false.
bool ReadMemberData(FileSystem& fs, const ZipEntry& member, const std::function<bool(const uint8_t*, size_t)>& take,
                    std::string* fault = nullptr);

// Writes the member's contents to `destinationPath`, which holds them only
// once they were read whole and matched their listing: on failure nothing
// is left there.
bool ExtractMemberData(FileSystem& fs, const ZipEntry& member, const std::string& destinationPath,
                       std::string* fault = nullptr);

}  // namespace kestrel
