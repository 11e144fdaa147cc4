// Zip archives for the tests, made byte by byte so that the reader meets
// archives it did not write, damaged ones too.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/scripted_interface.h"
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

// Messages recorded, the advanced zip scanner off, a fresh folder.
class ZipTest : public ::testing::Test {
 protected:
  void SetUp() override { SetApplicationInterface(&ui), Switches().advancedZipScanner = false; }
  void TearDown() override { SetApplicationInterface(nullptr), Switches().advancedZipScanner = false; }
  // "storedName=contents/method" of every member, after the strict reader
  // accepted the archive in both modes and every member extracted.
  std::vector<std::string> ReadBack(const std::string& path) {
    ZipEntryList list;
    for (bool advanced : {false, true}) {
      Switches().advancedZipScanner = advanced;
      EXPECT_TRUE(ReadZipDirectory(path, list, true, true)) << path;
    }
    std::vector<std::string> members;
    for (const ZipEntry& entry : list) {
      EXPECT_TRUE(ExtractZipEntry(entry, folder / "check.tmp"));
      members.push_back(entry.storedName + "=" + ReadFile(folder / "check.tmp") + "/" +
                        std::to_string(entry.method));
      DeleteFile(folder / "check.tmp");
    }
    return members;
  }

  static std::string CorruptZipText(const std::string& path, const std::string& reason) {
    return "Corrupt Zipfile:\n\n" + path + "\n\nPlease rezip this file with a common zip-program.\n\nReason: " + reason;
  }

  ScriptedInterface ui;
  TempFolder folder;
};

}  // namespace kestrel::testing
