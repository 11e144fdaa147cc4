// Zip archives for the tests, made byte by byte so that the reader meets
// archives it did not write, damaged ones too.
#pragma once

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "archive/crc32.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace kestrel::testing {

using Texts = std::vector<std::string>;

// `length` bytes that deflate shrinks, different for every seed.
inline std::string Text(size_t length, unsigned seed) {
  std::string text;
  for (uint32_t state = seed * 2654435761u + 1; text.size() < length; state = state * 1103515245u + 12345u)
    text += "ROM-" + std::to_string((state >> 16) % 97) + ";";
  return text.substr(0, length);
}

// `width` bytes of `value`, low byte first, at `offset`.
inline void Put(std::string& bytes, size_t offset, uint32_t value, int width) {
  for (int i = 0; i < width; ++i) bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
}

// A member of a hand-made archive; header fields tell the truth about
// `data` unless a test sets them.
struct MemberBytes {
  MemberBytes(std::string memberName, std::string memberData)
      : name(std::move(memberName)), data(std::move(memberData)) {}
  std::string name, data;
  uint16_t method = 0;
  uint32_t crc = 0;   // of `data` when 0
  int64_t size = -1;  // length of `data` when -1
};

// A member holding `data` deflated: a zlib stream less its two header bytes
// and four checksum bytes.
inline MemberBytes Deflated(const std::string& name, const std::string& data) {
  uLongf length = compressBound(uLong(data.size()));
  std::string stream(length, '\0');
  compress2(reinterpret_cast<Bytef*>(stream.data()), &length, reinterpret_cast<const Bytef*>(data.data()),
            uLong(data.size()), 6);
  MemberBytes member(name, stream.substr(2, length - 6));
  member.method = 8;
  member.crc = Crc32(0, data.data(), data.size());
  member.size = int64_t(data.size());
  return member;
}

inline std::string BuildZip(const std::vector<MemberBytes>& members) {
  std::string locals, centrals, end(22, '\0');
  for (const MemberBytes& member : members) {
    std::string local(30, '\0'), central(46, '\0');
    Put(local, 0, 0x04034B50, 4);
    Put(local, 4, 20, 2);
    Put(local, 8, member.method, 2);
    Put(local, 14, member.crc != 0 ? member.crc : Crc32(0, member.data.data(), member.data.size()), 4);
    Put(local, 18, uint32_t(member.data.size()), 4);
    Put(local, 22, uint32_t(member.size >= 0 ? member.size : int64_t(member.data.size())), 4);
    Put(local, 26, uint16_t(member.name.size()), 2);
    Put(central, 0, 0x02014B50, 4);
    central.replace(6, 24, local, 4, 24);
    Put(central, 42, uint32_t(locals.size()), 4);
    centrals += central + member.name;
    locals += local + member.name + member.data;
  }
  Put(end, 0, 0x06054B50, 4);
  Put(end, 8, uint32_t(members.size() * 0x10001), 4);  // entries on this disk and in all
  Put(end, 12, uint32_t(centrals.size()), 4);
  Put(end, 16, uint32_t(locals.size()), 4);
  return locals + centrals + end;
}

// A fresh folder.
class ZipTest : public ::testing::Test {
 protected:
  // "storedName=contents/method" of every member, after the strict reader
  // accepted the archive with either header check and every member extracted.
  Texts ReadBack(const std::string& path) {
    ZipEntryList list;
    for (ZipHeaderCheck check : {ZipHeaderCheck::kLocalHeaders, ZipHeaderCheck::kBothHeaders}) {
      EXPECT_TRUE(ReadZipDirectory(RealFileSystem(), path, list, true, nullptr, check)) << path;
    }
    Texts members;
    for (const ZipEntry& entry : list) {
      EXPECT_TRUE(ExtractZipEntry(RealFileSystem(), entry, folder / "check.tmp"));
      members.push_back(entry.storedName + "=" + ReadFile(folder / "check.tmp") + "/" + std::to_string(entry.method));
      DeleteFile(folder / "check.tmp");
    }
    return members;
  }

  // The fault in a word, then the zip it names.
  static std::string Describe(const ZipProblem& problem) {
    static const char* const kWords[] = {"none", "local", "central", "end", "method"};
    return std::string(kWords[static_cast<int>(problem.fault)]) + " " + problem.path;
  }

  TempFolder folder;
};

}  // namespace kestrel::testing
