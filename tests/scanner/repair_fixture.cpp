#include "scanner/repair_fixture.h"

#include <algorithm>
#include <random>

#include "archive/zip_reader.h"
#include "platform/file_system.h"

namespace kestrel::testing {

RepairFixture::RepairFixture() {
  settings.askBeforeFixing = false;
  settings.checkMissing = settings.checkName = settings.checkLength = true;
  settings.checkUnneeded = settings.checkChecksum = true;
}

ScanOutcome RepairFixture::Scan() {
  ScanRequest request;
  request.dataFolder = root / "program/";
  request.zipLibrary = &zipLibrary;
  request.showStatistics = false;
  request.resizeQuestionMilliseconds = resizeQuestionMilliseconds;
  if (diskSpace) request.diskSpace = diskSpace;
  return RunScan(database, settings, &ui, results, request);
}

Members RepairFixture::ZipMembers(const std::string& zipPath) {
  Members members;
  ZipEntryList list;
  if (!ReadZipDirectory(zipPath, list, false, false)) return members;
  std::string scratch = root / "scratch.bin";
  for (const ZipEntry& entry : list) {
    members[entry.storedName] = ExtractZipEntry(entry, scratch) ? ReadFile(scratch) : "<unreadable>";
    DeleteFile(scratch);
  }
  return members;
}

Names RepairFixture::FileNames(const std::string& folder) {
  Names names;
  for (const FolderEntry& entry : ListFolder(folder)) names.push_back(entry.name);
  return names;
}

std::map<std::string, std::string> RepairFixture::Collection() const {
  std::map<std::string, std::string> files = Snapshot();
  std::erase_if(files, [&](const auto& file) {
    return file.first.rfind(romPath, 0) != 0 && file.first.rfind(samplePath, 0) != 0;
  });
  return files;
}

std::string PseudoRandom(size_t size, unsigned seed) {
  std::mt19937 generator(seed);
  std::string data(size, '\0');
  for (char& c : data) c = static_cast<char>(generator() & 0xFF);
  return data;
}

}  // namespace kestrel::testing
