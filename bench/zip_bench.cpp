// Listing many small archives, and extracting with a CRC check a gigabyte
// of deflated members next to Info-ZIP's "unzip -tq" on the same archives.
//
// The archives are generated once under /tmp/kestrel-zip-bench and reused.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/user_interface.h"
#include "archive/zip_library.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "rom_like_files.h"

namespace {

using namespace kestrel;
using bench::RomLikeBytes;
using bench::WriteBytes;

const std::string kRoot = "/tmp/kestrel-zip-bench/";
constexpr int kListArchives = 10000;
constexpr int kMembersPerArchive = 10;
constexpr int kExtractArchives = 16;
constexpr size_t kExtractMemberSize = 8u << 20;  // 16 archives x 8 members x 8 MB = 1 GB

// Creates `folder` with `count` archives unless a finished copy is there.
bool PrepareArchives(const std::string& folder, int count, int members, size_t memberSize, char level) {
  if (FileExists(folder + "complete")) return true;
  std::system(("rm -rf '" + folder + "' && mkdir -p '" + folder + "work'").c_str());
  ZipLibrary library;
  library.level = level;
  std::vector<std::string> files;
  for (int m = 0; m < members; ++m) {
    files.push_back(folder + "work/rom" + std::to_string(m) + ".bin");
  }
  for (int a = 0; a < count; ++a) {
    // Small archives share their members; large ones get their own.
    if (a == 0 || memberSize > (1u << 20)) {
      for (int m = 0; m < members; ++m) {
        if (!WriteBytes(files[m], RomLikeBytes(memberSize, uint32_t(a * members + m)))) return false;
      }
    }
    if (!ZipAddFiles(RealFileSystem(), library, folder + "set" + std::to_string(a) + ".zip", files)) return false;
  }
  std::system(("rm -rf '" + folder + "work'").c_str());
  return WriteBytes(folder + "complete", "");
}

std::vector<std::string> ArchivesIn(const std::string& folder) {
  std::vector<std::string> paths;
  for (const FolderEntry& entry : ListFolder(folder, "*.zip")) paths.push_back(folder + entry.name);
  return paths;
}

void ListArchives(benchmark::State& state, bool advanced) {
  std::string folder = kRoot + "list/";
  if (!PrepareArchives(folder, kListArchives, kMembersPerArchive, 2000, '9')) {
    state.SkipWithError("cannot create the archives");
    return;
  }
  std::vector<std::string> paths = ArchivesIn(folder);
  const ZipHeaderCheck check = advanced ? ZipHeaderCheck::kBothHeaders : ZipHeaderCheck::kLocalHeaders;
  ZipEntryList list;
  for (const std::string& path : paths) ReadZipDirectory(RealFileSystem(), path, list, true, nullptr, check);  // warm the cache
  size_t entries = 0;
  for (auto _ : state) {
    entries = 0;
    for (const std::string& path : paths) {
      if (ReadZipDirectory(RealFileSystem(), path, list, true, nullptr, check)) entries += list.size();
    }
  }
  state.counters["archives"] = double(paths.size());
  state.counters["entries"] = double(entries);
}

void BM_ListZipArchives(benchmark::State& state) { ListArchives(state, false); }
BENCHMARK(BM_ListZipArchives)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_ListZipArchivesAdvanced(benchmark::State& state) { ListArchives(state, true); }
BENCHMARK(BM_ListZipArchivesAdvanced)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

std::string ExtractFolder() {
  std::string folder = kRoot + "extract/";
  PrepareArchives(folder, kExtractArchives, 8, kExtractMemberSize, '6');
  return folder;
}

void BM_ExtractAndVerify(benchmark::State& state) {
  std::string folder = ExtractFolder();
  std::vector<std::string> paths = ArchivesIn(folder);
  std::string output = kRoot + "out/";
  CreateFolder(output);
  double bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (const std::string& path : paths) {
      ZipEntryList list;
      if (!ReadZipDirectory(RealFileSystem(), path, list, true, nullptr)) state.SkipWithError("listing failed");
      for (const ZipEntry& entry : list) {
        if (!ExtractZipEntry(RealFileSystem(), entry, output + entry.name)) state.SkipWithError("extraction failed");
        // Removed at once: the written data never need to reach the disk.
        ::unlink((output + entry.name).c_str());
        bytes += entry.size;
      }
    }
  }
  state.SetBytesProcessed(int64_t(bytes) * int64_t(state.iterations()));
}
BENCHMARK(BM_ExtractAndVerify)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// The same archives tested by Info-ZIP's unzip, which inflates and checks
// the CRC without writing anything.
void BM_UnzipTest(benchmark::State& state) {
  std::string folder = ExtractFolder();
  if (std::system("command -v unzip > /dev/null") != 0) {
    state.SkipWithError("unzip missing");
    return;
  }
  std::string command = "unzip -tq '" + folder + "*.zip' > /dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("unzip failed");
  }
  state.SetBytesProcessed(int64_t(kExtractArchives) * 8 * int64_t(kExtractMemberSize) *
                          int64_t(state.iterations()));
}
BENCHMARK(BM_UnzipTest)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
