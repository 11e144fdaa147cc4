#include "report/finding_rules.h"

namespace kestrel {
namespace {

using Flag = bool SettingsRecord::*;
using S = SettingsRecord;

struct FindingRule {
  ResultKind kind;
  Flag scope;  // null: any of games, ROMs and samples
  Flag check;
  Flag fix;    // null: the finding has no fix
};

constexpr FindingRule kRules[] = {
    {kResultMissingGame, &S::scanGames, &S::checkMissing, nullptr},
    {kResultGameCase, &S::scanGames, &S::checkCase, &S::fixCase},
    {kResultGameName, &S::scanGames, &S::checkName, &S::fixName},
    {kResultMissingRom, &S::scanRoms, &S::checkMissing, nullptr},
    {kResultRomName, &S::scanRoms, &S::checkName, &S::fixName},
    {kResultRomCase, &S::scanRoms, &S::checkCase, &S::fixCase},
    {kResultWrongLength, &S::scanRoms, &S::checkLength, &S::fixLength},
    {kResultWrongChecksum, &S::scanRoms, &S::checkChecksum, nullptr},
    {kResultBadDump, &S::scanRoms, &S::showAllZeroCrcs, nullptr},
    {kResultMissingSample, &S::scanSamples, &S::checkMissing, nullptr},
    {kResultSampleCase, &S::scanSamples, &S::checkCase, &S::fixCase},
    {kResultUnneeded, nullptr, &S::checkUnneeded, &S::fixUnneeded},
    {kResultUnreadable, &S::scanRoms, &S::checkMissing, nullptr},
};

const FindingRule* RuleOf(ResultKind kind) {
  for (const FindingRule& rule : kRules)
    if (rule.kind == kind) return &rule;
  return nullptr;
}

bool IsScopeOn(Flag scope, const SettingsRecord& s) {
  return scope != nullptr ? s.*scope : s.scanGames || s.scanRoms || s.scanSamples;
}

}  // namespace

bool IsFindingChecked(ResultKind kind, const SettingsRecord& settings) {
  const FindingRule* rule = RuleOf(kind);
  return rule != nullptr && IsScopeOn(rule->scope, settings) && settings.*rule->check;
}

bool IsFindingFixOn(ResultKind kind, const SettingsRecord& settings) {
  const FindingRule* rule = RuleOf(kind);
  return rule != nullptr && rule->fix != nullptr && settings.*rule->fix;
}

}  // namespace kestrel
