// The question every repair but the add-missing one asks before it changes
// anything, and the answers that hold for the rest of the scan.
#pragma once

#include <string>

#include "scanner/scan_context.h"

namespace kestrel {

// The kinds of repair that share one answer for all.
enum class FixKind { kRemoval, kResize, kCase, kRename };

// Whether to repair the item at hand. With ask-before-fixing on and no
// answer for all given for the kind, the user is asked (`caption`, `text`);
// the answer sets the scan's switch of the kind and, for Yes To All and No
// To All, its answer-for-all flag, never the settings. Without a question
// the switch decides. Stop sets the stop request and answers false.
bool ConfirmFix(ScanContext& context, FixKind kind, const std::string& caption,
                const std::string& text);

}  // namespace kestrel
