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
#include "settings/scan_switches.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

constexpr char kErrorTitle[] = "Fastscan Error";

// The stored switches (the first ones of the switch table, in its order);
// the two modes follow them: scanMergeMode as its profile number, then
// scanGameTypes.
constexpr size_t kSwitchCount = kFastscanSwitchCount;
constexpr size_t kLayoutOption = kSwitchCount;
constexpr size_t kGameTypesOption = kSwitchCount + 1;
constexpr size_t kOptionCount = kSwitchCount + 2;

std::array<int32_t, kOptionCount> CollectOptions(const SettingsRecord& s) {
  std::array<int32_t, kOptionCount> options{};
  for (size_t i = 0; i < kSwitchCount; ++i) options[i] = s.*ScanSwitches()[i].field ? 1 : 0;
  options[kLayoutOption] = LayoutCode(s.scanMergeMode, kToolLayoutCodes);
  options[kGameTypesOption] = static_cast<int32_t>(s.scanGameTypes);
  return options;
}

// The scan checks come back as they were; a fix stays on if it was on then
// or is on now, so loading never switches off what the user just enabled.
void ApplyOptions(const std::array<int32_t, kOptionCount>& o, SettingsRecord& s) {
  for (size_t i = 0; i < kSwitchCount; ++i) {
    const ScanSwitch& stored = ScanSwitches()[i];
    bool& option = s.*stored.field;
    option = (stored.role == SwitchRole::kFix && option) || o[i] != 0;
  }
  s.scanMergeMode = LayoutOfCode(o[kLayoutOption], kToolLayoutCodes).value_or(s.scanMergeMode);
  s.scanGameTypes = static_cast<ScanGameTypes>(o[kGameTypesOption]);
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

bool SaveFastscan(const std::string& path, const SettingsRecord& settings, uint32_t dataCrc,
                  const ScanResults& scanResults) {
  if (path.empty()) return false;
  std::vector<uint8_t> bytes;
  bytes.reserve(scanResults.size() + 100);
  AppendInt(bytes, dataCrc);
  AppendInt(bytes, static_cast<uint32_t>(scanResults.size()));
  for (const SetScan& scan : scanResults) bytes.push_back(scan.needsScan ? 1 : 0);
  for (int32_t option : CollectOptions(settings)) AppendInt(bytes, static_cast<uint32_t>(option));

  return ReplaceFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool LoadFastscan(const std::string& path, SettingsRecord& settings, uint32_t dataCrc, ScanResults& scanResults,
                  UserInterface* owner) {
  if (path.empty()) return false;
  std::vector<uint8_t> flags;
  std::array<int32_t, kOptionCount> options{};
  ReadResult result = ReadResult::kDamaged;
  if (!FolderExists(path)) {
    FilePtr file(OpenFile(path, "rb"));
    if (file) result = ReadFastscan(file.get(), dataCrc, scanResults.size(), flags, options);
  }
  if (result == ReadResult::kOtherData) {
    ShowFastscanError(owner, "Fastscanfile isn't compatible to current data");
    return false;
  }
  if (result == ReadResult::kDamaged) {
    ShowFastscanError(owner, "Error while using fastscan file !\n\nDo a 'SCAN' operation first !");
    return false;
  }
  for (size_t i = 0; i < scanResults.size(); ++i) scanResults[i].needsScan = flags[i] == 1;
  SettingsRecord copy = settings;
  ApplyOptions(options, copy);
  settings = std::move(copy);
  return true;
}

}  // namespace kestrel
