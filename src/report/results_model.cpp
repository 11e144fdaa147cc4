#include "report/results_model.h"

#include "report/finding_rules.h"

#include "settings/settings_record.h"

namespace kestrel {
namespace {

// Returns the top-level index of the new item, or -1 for a child.
int InsertItem(ResultsModel& results, const std::string& text, int level, ResultKind kind,
               bool noChildren, const FindingDetail& detail) {
  ResultTreeItem item{text, kind, false, {}, detail};
  // A finding with no header before it has nowhere else to go than the root.
  if (level == kTopLevel || results.lastTopItem < 0) {
    item.hasChildren = level == kTopLevel && !noChildren;
    results.items.push_back(std::move(item));
    const int index = static_cast<int>(results.items.size()) - 1;
    if (level == kTopLevel) {
      results.lastTopItem = index;
      results.firstVisibleItem = index;
    }
    return index;
  }
  results.items[results.lastTopItem].children.push_back(std::move(item));
  return -1;
}

void ClearTree(ResultsModel& results) {
  results.items.clear();
  results.lastTopItem = -1;
  results.firstVisibleItem = -1;
}

}  // namespace

void AddResultLine(ResultsModel& results, const std::string& text, int level, ResultKind kind,
                   bool keep, bool noChildren, const FindingDetail& detail) {
  const int top = InsertItem(results, text, level, kind, noChildren, detail);
  if (keep) results.lines.push_back(ResultLine{text, kind, level, false, detail});
  if (!results.onInserted) return;
  if (top >= 0) {
    results.onInserted(top, -1);
  } else {
    const auto& children = results.items[results.lastTopItem].children;
    results.onInserted(results.lastTopItem, static_cast<int>(children.size()) - 1);
  }
}

void ClearResults(ResultsModel& results) {
  results.lines.clear();
  ClearTree(results);
  if (results.onRebuilt) results.onRebuilt();
}

bool IsResultKindVisible(ResultKind kind, const SettingsRecord& s) {
  switch (kind) {
    case kResultRomSetVerdict: return s.scanRoms;
    case kResultSampleSetVerdict: return s.scanSamples;
    default: return IsFindingChecked(kind, s);
  }
}

void RefreshResultsTree(ResultsModel& results, const SettingsRecord& settings) {
  if (results.lines.empty()) return;
  ClearTree(results);
  for (ResultLine& line : results.lines) line.visible = IsResultKindVisible(line.kind, settings);

  const size_t count = results.lines.size();
  for (size_t i = 0; i < count; ++i) {
    const ResultLine& line = results.lines[i];
    if (line.level != kTopLevel) {
      if (line.visible) InsertItem(results, line.text, line.level, line.kind, true, line.detail);
      continue;
    }
    size_t end = i + 1;
    bool childVisible = false;
    for (; end < count && results.lines[end].level != kTopLevel; ++end) {
      // A verdict is told with the findings shown, never alone.
      const ResultLine& child = results.lines[end];
      const bool isVerdict = child.kind == kResultRomSetVerdict || child.kind == kResultSampleSetVerdict;
      childVisible = childVisible || (child.visible && !isVerdict);
    }
    const bool hasChildLines = end > i + 1;
    if (hasChildLines ? childVisible : line.visible) {
      InsertItem(results, line.text, kTopLevel, line.kind, !hasChildLines, line.detail);
    } else {
      i = end - 1;  // none of its findings is shown either
    }
  }
  if (results.onRebuilt) results.onRebuilt();
}

}  // namespace kestrel
