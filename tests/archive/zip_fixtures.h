// Zip archives for the tests, made byte by byte so that the reader meets
// archives it did not write, damaged ones too.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/user_interface.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace kestrel::testing {


// `length` bytes that deflate shrinks, different for every seed.
std::string Text(size_t length, unsigned seed);
std::string RawDeflate(const std::string& data);

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
// A member holding `data` deflated.
MemberBytes Deflated(const std::string& name, const std::string& data);
std::string BuildZip(const std::vector<MemberBytes>& members);
void Put16(std::string& bytes, size_t offset, uint16_t value);
void Put32(std::string& bytes, size_t offset, uint32_t value);

// A fresh folder.
class ZipTest : public ::testing::Test {
 protected:
  // "storedName=contents/method" of every member, after the strict reader
  // accepted the archive with either header check and every member extracted.
  std::vector<std::string> ReadBack(const std::string& path) {
    ZipEntryList list;
    for (ZipHeaderCheck check : {ZipHeaderCheck::kLocalHeaders, ZipHeaderCheck::kBothHeaders}) {
      EXPECT_TRUE(ReadZipDirectory(RealFileSystem(), path, list, true, nullptr, check)) << path;
    }
    std::vector<std::string> members;
    for (const ZipEntry& entry : list) {
      EXPECT_TRUE(ExtractZipEntry(RealFileSystem(), entry, folder / "check.tmp"));
      members.push_back(entry.storedName + "=" + ReadFile(folder / "check.tmp") + "/" +
                        std::to_string(entry.method));
      DeleteFile(folder / "check.tmp");
    }
    return members;
  }

  // The fault in a word, then the zip it names.
  static std::string Describe(const ZipProblem& problem) {
    static const char* const kWords[] = {"none", "local", "central", "end", "empty", "method"};
    return std::string(kWords[static_cast<int>(problem.fault)]) + " " + problem.path;
  }

  TempFolder folder;
};

}  // namespace kestrel::testing
