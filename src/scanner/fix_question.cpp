#include "scanner/fix_question.h"

#include "app/user_interface.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

struct KindState {
  bool& fixSwitch;
  bool& answeredForAll;
};

KindState StateOf(ScanState& state, FixKind kind) {
  switch (kind) {
    case FixKind::kRemoval: return {state.fixUnneeded, state.removalAnsweredForAll};
    case FixKind::kResize: return {state.fixLength, state.resizeAnsweredForAll};
    case FixKind::kCase: return {state.fixCase, state.caseAnsweredForAll};
    case FixKind::kRename: break;
  }
  return {state.fixName, state.renameAnsweredForAll};
}

}  // namespace

bool ConfirmFix(ScanContext& context, FixKind kind, const std::string& caption,
                const std::string& text) {
  KindState kindState = StateOf(context.state, kind);
  if (!context.settings.askBeforeFixing || kindState.answeredForAll) return kindState.fixSwitch;
  switch (AskDialog(context.owner, caption, text)) {
    case kAnswerYes:
      return kindState.fixSwitch = true;
    case kAnswerNo:
      return kindState.fixSwitch = false;
    case kAnswerYesToAll:
      kindState.answeredForAll = true;
      return kindState.fixSwitch = true;
    case kAnswerNoToAll:
      kindState.answeredForAll = true;
      return kindState.fixSwitch = false;
    case kAnswerStop:
      context.state.stopRequested = true;
      return false;
    default:  // a dialog closed without an answer agrees to nothing
      return false;
  }
}

}  // namespace kestrel
