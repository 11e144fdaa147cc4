#include <filesystem>
#include <optional>

#include "app/user_interface.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "rebuilder/rebuild_messages.h"
#include "rebuilder/rebuilder.h"

namespace kestrel {
namespace {

// The folder as the file system knows it, links resolved, lowered and with
// a trailing '/', so that two spellings of one folder compare equal; nullopt
// when it cannot be listed.
std::optional<std::string> FolderKey(const std::string& folder) {
  if (folder.empty()) return std::nullopt;
  std::optional<std::string> real = FindPath(AbsolutePath(folder));
  if (!real || !FolderExists(*real)) return std::nullopt;
  std::error_code error;
  std::filesystem::directory_iterator listing(*real, error);
  if (error) return std::nullopt;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(*real, error);
  if (error) return std::nullopt;
  return ToLowerAscii(WithTrailingSeparator(resolved.string()));
}

void ShowPathError(UserInterface* ui, const std::string& text) {
  ShowMessage(ui, text, rebuild_text::kPathError, {MessageButtons::kOk, MessageIcon::kStop});
}

std::optional<std::string> CheckAccess(std::string& folder, UserInterface* ui) {
  std::optional<std::string> key = FolderKey(folder);
  if (!key) {
    ShowPathError(ui, std::string(rebuild_text::kCantAccess) + " '" + folder + "'");
    folder.clear();
  }
  return key;
}

}  // namespace

bool CheckRebuildFolders(SettingsRecord& settings, UserInterface* ui) {
  std::optional<std::string> source = CheckAccess(settings.rebuildSource, ui);
  if (!source) return false;
  std::optional<std::string> destination = CheckAccess(settings.rebuildDestination, ui);
  if (!destination) return false;
  bool inside = destination->compare(0, source->size(), *source) == 0;
  if (*source == *destination || (inside && settings.rebuildRecursive)) {
    ShowPathError(ui, rebuild_text::kFolderConflict);
    settings.rebuildDestination.clear();
    return false;
  }
  return true;
}

}  // namespace kestrel
