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
#include "support/stored_zip.h"
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
