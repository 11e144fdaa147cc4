// Writes the binary seeds of the fuzz harnesses with the program's own
// writers: zips stored and deflated, a profile, a data cache and a fastscan
// file made from the bundled demo list.
//
//   make_fuzz_seeds SOURCE_DIR CORPUS_DIR
//
// Each seed lands in CORPUS_DIR/<harness>/. Exit status 1 when one could
// not be written.
#include <archive.h>
#include <archive_entry.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/zip_library.h"
#include "fuzz_input.h"
#include "fuzz_seeds.h"
#include "gamedb/data_cache.h"
#include "gamedb/datfile_parser.h"
#include "gamedb/validate_games.h"
#include "report/fastscan_file.h"
#include "settings/profile_file.h"
#include "settings/settings_record.h"

using namespace kestrel;

namespace {

std::string Folder(const std::string& corpus, const std::string& harness) {
  std::filesystem::create_directories(corpus + "/" + harness);
  return corpus + "/" + harness + "/";
}

std::string LooseFile(const std::string& name, const std::string& contents) {
  return fuzz::WriteInputFile(name, reinterpret_cast<const uint8_t*>(contents.data()),
                              contents.size());
}

bool WriteZipSeeds(const std::string& folder) {
  std::vector<std::string> files = {LooseFile("sb.p1", std::string(300, 'A') + "end"),
                                    LooseFile("sb.snd", "a little sound"),
                                    LooseFile("empty.bin", "")};
  ZipLibrary library;
  bool written = true;
  for (char level : {'0', '9'}) {
    library.level = level;
    written = ZipAddFiles(RealFileSystem(), library, folder + "level" + level + ".zip", files) && written;
  }
  return ZipAddFiles(RealFileSystem(), library, folder + "one.zip", {files[1]}) && written;
}

// An archive libarchive writes: format and filter by name ("7zip", "pax",
// "raw"; "gzip", "zstd", or "" for none), one small member.
bool WriteArchiveSeed(const std::string& path, const char* format, const char* filter) {
  struct archive* writer = archive_write_new();
  bool opened = archive_write_set_format_by_name(writer, format) == ARCHIVE_OK &&
                (*filter == '\0' || archive_write_add_filter_by_name(writer, filter) == ARCHIVE_OK) &&
                archive_write_open_filename(writer, path.c_str()) == ARCHIVE_OK;
  if (!opened) {
    archive_write_free(writer);
    return false;
  }
  bool written = true;
  const std::string contents = std::string(300, 'A') + "end";
  struct archive_entry* entry = archive_entry_new();
  archive_entry_set_pathname(entry, "sb.p1");
  archive_entry_set_size(entry, la_int64_t(contents.size()));
  archive_entry_set_filetype(entry, AE_IFREG);
  archive_entry_set_perm(entry, 0644);
  written = written && archive_write_header(writer, entry) == ARCHIVE_OK &&
            archive_write_data(writer, contents.data(), contents.size()) == la_ssize_t(contents.size());
  archive_entry_free(entry);
  written = archive_write_close(writer) == ARCHIVE_OK && written;
  archive_write_free(writer);
  return written;
}

bool WriteArchiveSeeds(const std::string& folder) {
  return WriteArchiveSeed(folder + "set.7z", "7zip", "") && WriteArchiveSeed(folder + "set.tgz", "pax", "gzip") &&
         WriteArchiveSeed(folder + "rom.zst", "raw", "zstd") && WriteArchiveSeed(folder + "set.zip", "zip", "");
}

bool WriteProfileSeed(const std::string& folder, const GameList& database) {
  SettingsRecord record;
  record.backupFolder = fuzz::ScratchFolder();
  record.tempFolder = "/nonexistent-kestrel-folder/";
  record.romPaths = {{fuzz::ScratchFolder(), true}, {"/nonexistent-kestrel-folder/", true}};
  record.samplePaths = {{"samples/", false}};
  record.miscPaths = {{fuzz::ScratchFolder(), true}};
  record.addPaths = {{"/nonexistent-kestrel-folder/add/", true}};
  record.datfile = "demo.dat";
  return SaveProfile(record, folder + "demo.kpf", database, fuzz::kSeedDataKey);
}

bool WriteFastscanSeed(const std::string& folder) {
  SettingsRecord settings;
  settings.scanMergeMode = SetLayout::kMerged;
  ScanResults scanResults(fuzz::kSeedGameCount);
  scanResults[1].needsScan = true;
  return SaveFastscan(folder + "demo.fst", settings, fuzz::kSeedDataKey, scanResults);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_fuzz_seeds SOURCE_DIR CORPUS_DIR\n");
    return 2;
  }
  const std::string source = argv[1], corpus = argv[2];
  fuzz::QuietInterface ui;
  std::unique_ptr<ProgressDialog> progress = OpenProgressDialog(&ui, "Acquiring Data");
  GameList rawGames, database;
  ListMessages messages;
  bool written = ParseDatfile(rawGames, source + "/examples/demo.dat", *progress, false, messages) &&
                 ValidateGames(rawGames, database, *progress, kShowNoListErrors, messages);
  written = WriteDataCache(Folder(corpus, "data_cache_fuzzer") + "demo.cache", database,
                           fuzz::kSeedDataKey) && written;
  written = WriteProfileSeed(Folder(corpus, "profile_fuzzer"), database) && written;
  written = WriteFastscanSeed(Folder(corpus, "fastscan_fuzzer")) && written;
  written = WriteZipSeeds(Folder(corpus, "zip_directory_fuzzer")) && written;
  written = WriteArchiveSeeds(Folder(corpus, "archive_reader_fuzzer")) && written;
  if (!written) std::fprintf(stderr, "make_fuzz_seeds: a seed could not be written\n");
  return written ? 0 : 1;
}
