#include "scanner/scan_context.h"

#include "app/user_interface.h"
#include "platform/text.h"

namespace kestrel {

void PumpInterface(ScanContext& context) {
  ProgressDialog* progress = context.state.progress;
  if (progress != nullptr && progress->IsCancelled()) context.state.cancelRequested = true;
}

void IndexSampleSetUsers(ScanContext& context) {
  context.sampleSetUsers.clear();
  for (const GameSet& game : context.database) {
    if (game.hasSampleOf) context.sampleSetUsers[ToLowerAscii(game.sampleOf)].push_back(&game);
  }
}

void IndexRomlessSetsRead(ScanContext& context, const RomlessMachines& romless) {
  context.romlessSetsRead.clear();
  for (const GameSet& game : context.database) {
    if (!game.romOf.empty() && !FindGame(context.database, game.romOf)) {
      context.romlessSetsRead.insert(game.romOf);
    }
  }
  for (const RomlessMachine& machine : romless) {
    for (const std::string& device : machine.deviceRefs) {
      if (FindGame(context.database, device)) context.romlessSetsRead.insert(machine.name);
    }
  }
}

void TellZipProblem(ScanContext& context, const ZipProblem& problem) {
  context.zipProblems.Tell(context.owner, problem);
}

void ShowFixingCaption(ScanContext& context) {
  if (context.state.progress != nullptr) context.state.progress->SetCaption(kFixingCaption);
}

void ShowScanningCaption(ScanContext& context) {
  if (context.state.progress != nullptr) context.state.progress->SetCaption(kScanningCaption);
}

const GameSet* ParentOf(const ScanContext& context, const GameSet& game) {
  if (!game.hasParent) return nullptr;
  int index = game.parentIndex;
  if (index < 0 || index >= static_cast<int>(context.database.size())) {
    std::optional<int> found = FindGame(context.database, game.cloneOf);
    if (!found) return nullptr;
    index = *found;
  }
  return &context.database[index];
}

}  // namespace kestrel
