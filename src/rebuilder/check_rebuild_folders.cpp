#include "app/user_interface.h"
#include "rebuilder/rebuild_messages.h"
#include "rebuilder/rebuilder.h"
#include "settings/tool_folders.h"

namespace kestrel {
namespace {

void ShowPathError(UserInterface* ui, const std::string& text) {
  ShowMessage(ui, text, rebuild_text::kPathError, {MessageButtons::kOk, MessageIcon::kStop});
}

}  // namespace

bool CheckRebuildFolders(SettingsRecord& settings, UserInterface* ui) {
  FolderCheck check = CheckRebuilderFolders(settings);
  if (check.ok()) return true;
  if (check.fault == FolderFault::kFoldersOverlap) {
    ShowPathError(ui, rebuild_text::kFolderConflict);
    settings.rebuildDestination.clear();
    return false;
  }
  ShowPathError(ui, std::string(rebuild_text::kCantAccess) + " '" + check.path + "'");
  (check.path == settings.rebuildSource ? settings.rebuildSource : settings.rebuildDestination).clear();
  return false;
}

}  // namespace kestrel
