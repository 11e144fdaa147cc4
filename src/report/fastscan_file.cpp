#include "report/fastscan_file.h"

#include <array>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/user_interface.h"
#include "archive/file_replacement.h"
#include "platform/file_system.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

constexpr int kOptionCount = 23;
constexpr char kErrorTitle[] = "Fastscan Error";

// The option integers in file order. Keep in step with ApplyOptions.
std::array<int32_t, kOptionCount> CollectOptions(const SettingsRecord& s) {
  return {s.scanGames,          s.scanRoms,         s.scanSamples,         s.checkMissing,
          s.checkChecksum,      s.checkUnneeded,    s.checkName,           s.checkLength,
          s.checkCase,          s.fixUnneeded,      s.fixName,             s.fixLength,
          s.fixCase,            s.fixMissing,       s.fixMissingAdvanced,  s.allowDoubleNames,
          s.altSamplesSupport,  s.advancedUnneeded, s.showMissingZeroCrcs, s.zeroCrcCreation,
          s.askBeforeFixing,    s.scanMergeMode,    s.scanGameTypes};
}

// The scan checks come back as they were; a fix stays on if it was on then
// or is on now, so loading never switches off what the user just enabled.
void ApplyOptions(const std::array<int32_t, kOptionCount>& o, SettingsRecord& s) {
  s.scanGames = o[0] != 0;
  s.scanRoms = o[1] != 0;
  s.scanSamples = o[2] != 0;
  s.checkMissing = o[3] != 0;
  s.checkChecksum = o[4] != 0;
  s.checkUnneeded = o[5] != 0;
  s.checkName = o[6] != 0;
  s.checkLength = o[7] != 0;
  s.checkCase = o[8] != 0;
  s.fixUnneeded = s.fixUnneeded || o[9] != 0;
  s.fixName = s.fixName || o[10] != 0;
  s.fixLength = s.fixLength || o[11] != 0;
  s.fixCase = s.fixCase || o[12] != 0;
  s.fixMissing = s.fixMissing || o[13] != 0;
  s.fixMissingAdvanced = s.fixMissingAdvanced || o[14] != 0;
  s.allowDoubleNames = o[15] != 0;
  s.altSamplesSupport = o[16] != 0;
  s.advancedUnneeded = o[17] != 0;
  s.showMissingZeroCrcs = o[18] != 0;
  s.zeroCrcCreation = o[19] != 0;
  s.askBeforeFixing = o[20] != 0;
  s.scanMergeMode = o[21];
  s.scanGameTypes = o[22];
}

void AppendInt(std::vector<uint8_t>& bytes, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(value >> shift));
}

bool ReadBytes(std::FILE* file, void* buffer, size_t length) {
  return std::fread(buffer, 1, length, file) == length;
}

bool ReadInt(std::FILE* file, uint32_t& value) {
  uint8_t b[4];
  if (!ReadBytes(file, b, sizeof b)) return false;
  value = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
  return true;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

enum class ReadResult { kOk, kOtherData, kDamaged };

// Reads the whole file before anything is applied, so a damaged file
// changes neither the options nor a single flag.
ReadResult ReadFastscan(std::FILE* file, uint32_t dataCrc, size_t setCount,
                        std::vector<uint8_t>& flags,
                        std::array<int32_t, kOptionCount>& options) {
  uint32_t value = 0;
  if (!ReadInt(file, value)) return ReadResult::kDamaged;
  if (value != dataCrc) return ReadResult::kOtherData;
  // The same data always give the same number of sets; any other count is
  // a damaged or foreign file whose flags would land on the wrong games.
  if (!ReadInt(file, value) || value != setCount) return ReadResult::kDamaged;
  flags.resize(setCount);
  if (setCount > 0 && !ReadBytes(file, flags.data(), setCount)) return ReadResult::kDamaged;
  for (int32_t& option : options) {
    if (!ReadInt(file, value)) return ReadResult::kDamaged;
    option = static_cast<int32_t>(value);
  }
  for (int i = 21; i < kOptionCount; ++i) {
    if (options[i] < 0 || options[i] > 2) return ReadResult::kDamaged;  // modes are 0 to 2
  }
  return ReadResult::kOk;
}

void ShowFastscanError(UserInterface* owner, const std::string& text) {
  ShowMessage(owner, text, kErrorTitle, {MessageButtons::kOk, MessageIcon::kExclamation});
}

}  // namespace

bool SaveFastscan(const std::string& path, const SettingsRecord& settings,
                  const GameList& database) {
  if (path.empty()) return false;
  std::vector<uint8_t> bytes;
  bytes.reserve(database.size() + 100);
  AppendInt(bytes, settings.dataCrc);
  AppendInt(bytes, static_cast<uint32_t>(database.size()));
  for (const GameSet& game : database) bytes.push_back(game.needsScan ? 1 : 0);
  for (int32_t option : CollectOptions(settings)) AppendInt(bytes, static_cast<uint32_t>(option));

  FileReplacement file;
  return file.Create(path) && file.Write(bytes.data(), bytes.size()) && file.Close() &&
         file.Commit();
}

bool LoadFastscan(const std::string& path, SettingsRecord& settings, GameList& database,
                  UserInterface* owner) {
  if (path.empty()) return false;
  std::vector<uint8_t> flags;
  std::array<int32_t, kOptionCount> options{};
  ReadResult result = ReadResult::kDamaged;
  if (!FolderExists(path)) {
    std::unique_ptr<std::FILE, FileCloser> file(OpenFile(path, "rb"));
    if (file) result = ReadFastscan(file.get(), settings.dataCrc, database.size(), flags, options);
  }
  if (result == ReadResult::kOtherData) {
    ShowFastscanError(owner, "Fastscanfile isn't compatible to current data");
    return false;
  }
  if (result == ReadResult::kDamaged) {
    ShowFastscanError(owner, "Error while using fastscan file !\n\nDo a 'SCAN' operation first !");
    return false;
  }
  for (size_t i = 0; i < database.size(); ++i) database[i].needsScan = flags[i] == 1;
  SettingsRecord copy = settings;
  ApplyOptions(options, copy);
  settings = std::move(copy);
  return true;
}

}  // namespace kestrel
