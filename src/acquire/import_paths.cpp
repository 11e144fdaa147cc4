#include "acquire/import_paths.h"

#include <cstdio>
#include <optional>
#include <system_error>
#include <unordered_set>

#include "acquire/read_line.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace kestrel {
namespace {

// Relative folders in the file mean the file's own folder, wherever the
// program was started from.
std::string AbsoluteFolderOf(const std::string& filePath) {
  return WithTrailingSeparator(AbsolutePath(FolderPart(filePath)));
}

bool IsSectionStart(const std::string& line) { return !line.empty() && line[0] == '['; }

// Comment lines are the emulator's notes, not folders; one that happens to
// hold a '=' must not become a path.
bool IsComment(const std::string& trimmed) {
  return !trimmed.empty() && (trimmed[0] == '#' || trimmed[0] == ';');
}

bool SkipToDirectorySection(std::FILE* file) {
  std::string line;
  while (ReadLine(file, line)) {
    if (ToLowerAscii(line).find("[directory]") != std::string::npos) return true;
  }
  return false;
}

// The existing folder `piece` names, as an absolute path with a trailing
// '/'; relative pieces count from `baseFolder`.
std::optional<std::string> FindImportedFolder(const std::string& piece, const std::string& baseFolder) {
  std::string candidate = piece[0] == '/' ? piece : JoinPath(baseFolder, piece);
  std::optional<std::string> found = FindPath(candidate);
  if (!found || !FolderExists(*found)) return std::nullopt;
  return WithTrailingSeparator(AbsolutePath(*found));
}

// One of the settings' path lists with the paths it holds, lowered, so that
// a configuration file of any length is imported in linear time.
struct ImportTarget {
  explicit ImportTarget(PathList& pathList) : list(pathList) {
    for (const PathEntry& entry : list) held.insert(ToLowerAscii(entry.path));
  }
  PathList& list;
  std::unordered_set<std::string> held;
};

void AddPath(ImportTarget& target, const std::string& path, bool enabled) {
  if (!target.held.insert(ToLowerAscii(path)).second) return;
  PathList& list = target.list;
  PathEntry entry;
  entry.path = path;
  entry.enabled = enabled;
  entry.position = static_cast<int>(list.size());
  list.push_back(entry);
}

void AddValue(ImportTarget& target, const std::string& value, const std::string& baseFolder) {
  size_t start = 0;
  while (start <= value.size()) {
    size_t end = value.find(';', start);
    if (end == std::string::npos) end = value.size();
    std::string piece = TrimBlanks(value.substr(start, end - start));
    if (piece.empty()) return;
    piece = WithTrailingSeparator(piece);
    std::optional<std::string> folder = FindImportedFolder(piece, baseFolder);
    AddPath(target, folder ? *folder : piece, folder.has_value());
    start = end + 1;
  }
}

struct ImportTargets {
  explicit ImportTargets(SettingsRecord& settings)
      : roms(settings.romPaths), samples(settings.samplePaths), misc(settings.miscPaths) {}
  ImportTarget roms, samples, misc;
};

ImportTarget& TargetForKey(ImportTargets& targets, const std::string& key) {
  if (EqualsNoCase(key, "rompath")) return targets.roms;
  if (EqualsNoCase(key, "samplepath")) return targets.samples;
  return targets.misc;
}

}  // namespace

bool ImportPaths(const std::string& configPath, SettingsRecord& settings) {
  FilePtr file(OpenFile(configPath, "rb"));
  if (!file) return false;
  std::string baseFolder = AbsoluteFolderOf(ResolvePath(configPath));
  if (!SkipToDirectorySection(file.get())) return true;

  ImportTargets targets(settings);
  std::string line;
  while (ReadLine(file.get(), line) && !IsSectionStart(line)) {
    std::string trimmed = TrimBlanks(line);
    size_t equals = trimmed.find('=');
    if (trimmed.empty() || IsComment(trimmed) || equals == std::string::npos) continue;
    std::string key = TrimBlanks(trimmed.substr(0, equals));
    std::string value = TrimBlanks(trimmed.substr(equals + 1));
    AddValue(TargetForKey(targets, key), value, baseFolder);
  }
  return true;
}

}  // namespace kestrel
