#include "report/fastscan_file.h"

#include <array>
#include <cstdio>
#include <iterator>
#include <memory>
#include <vector>

#include "app/user_interface.h"
#include "platform/file_replacement.h"
#include "platform/file_system.h"
#include "settings/layout_codes.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

constexpr char kErrorTitle[] = "Fastscan Error";

using S = SettingsRecord;

// The switches in file order; the two modes follow them.
constexpr bool S::*kSwitches[] = {
    &S::scanGames,         &S::scanRoms,         &S::scanSamples,         &S::checkMissing,
    &S::checkChecksum,     &S::checkUnneeded,    &S::checkName,           &S::checkLength,
    &S::checkCase,         &S::fixUnneeded,      &S::fixName,             &S::fixLength,
    &S::fixCase,           &S::fixMissing,       &S::fixMissingAdvanced,  &S::allowDoubleNames,
    &S::altSamplesSupport, &S::advancedUnneeded, &S::showMissingZeroCrcs, &S::zeroCrcCreation,
    &S::askBeforeFixing};
constexpr size_t kSwitchCount = std::size(kSwitches);
// The modes: scanMergeMode as its profile number, then scanGameTypes.
constexpr size_t kLayoutOption = kSwitchCount;
constexpr size_t kGameTypesOption = kSwitchCount + 1;
constexpr size_t kOptionCount = kSwitchCount + 2;

// The fixes are the switches from fixUnneeded to fixMissingAdvanced.
constexpr size_t kFirstFix = 9;
constexpr size_t kLastFix = 14;
static_assert(kSwitches[kFirstFix] == &S::fixUnneeded &&
              kSwitches[kLastFix] == &S::fixMissingAdvanced);

std::array<int32_t, kOptionCount> CollectOptions(const SettingsRecord& s) {
  std::array<int32_t, kOptionCount> options{};
  for (size_t i = 0; i < kSwitchCount; ++i) options[i] = s.*kSwitches[i] ? 1 : 0;
  options[kLayoutOption] = LayoutCode(s.scanMergeMode, kToolLayoutCodes);
  options[kGameTypesOption] = s.scanGameTypes;
  return options;
}

// The scan checks come back as they were; a fix stays on if it was on then
// or is on now, so loading never switches off what the user just enabled.
void ApplyOptions(const std::array<int32_t, kOptionCount>& o, SettingsRecord& s) {
  for (size_t i = 0; i < kSwitchCount; ++i) {
    bool& option = s.*kSwitches[i];
    const bool isFix = i >= kFirstFix && i <= kLastFix;
    option = (isFix && option) || o[i] != 0;
  }
  s.scanMergeMode = LayoutOfCode(o[kLayoutOption], kToolLayoutCodes).value_or(s.scanMergeMode);
  s.scanGameTypes = o[kGameTypesOption];
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
  for (size_t i = kSwitchCount; i < kOptionCount; ++i) {
    if (options[i] < 0 || options[i] > 2) return ReadResult::kDamaged;  // modes are 0 to 2
  }
  if (!LayoutOfCode(options[kLayoutOption], kToolLayoutCodes)) return ReadResult::kDamaged;
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

  return ReplaceFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool LoadFastscan(const std::string& path, SettingsRecord& settings, GameList& database,
                  UserInterface* owner) {
  if (path.empty()) return false;
  std::vector<uint8_t> flags;
  std::array<int32_t, kOptionCount> options{};
  ReadResult result = ReadResult::kDamaged;
  if (!FolderExists(path)) {
    FilePtr file(OpenFile(path, "rb"));
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
