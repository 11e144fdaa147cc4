// Giving a set at the top of a ROM path, found under a wrong name, the name
// of the set its files belong to.
#include <string>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "scanner/fix_operations.h"
#include "scanner/fix_question.h"
#include "scanner/wrong_named_set_check.h"

namespace kestrel {

bool RenameWrongNamedSet(ScanContext& context, const WrongNamedSet& set) {
  if (!ConfirmFix(context, FixKind::kRename, "Fix Wrong Named Game",
                  "Do you want to rename:\n'" + set.foundName + "'\nin\n'" + set.rightName + "'?")) {
    return false;
  }
  // A folder is renamed as a whole rather than copied and removed: same
  // result, and no file is ever deleted on the way. A set of the right
  // name that is there already is never replaced.
  const std::string folder = FolderPart(set.path);
  if (!IsPlainFileName(set.rightName) || context.fs.IsReadOnly(folder)) return false;
  const std::string target = folder + set.rightName + (set.isZip ? ".zip" : "");
  if (context.fs.PathExists(target)) return false;
  return context.fs.RenamePath(set.path, target);
}

}  // namespace kestrel
