// The scan results as a plain model: the ordered list of result lines that a
// scan produced, and the tree that is shown from them (top-level items with
// their children). The desktop program draws the tree; the logfile and the
// command line are written from it. Changing the check boxes rebuilds the
// tree from the stored lines without touching the disk or the database.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "report/result_line.h"

namespace kestrel {

struct SettingsRecord;

struct ResultTreeItem {
  std::string text;
  ResultKind kind = kResultGameHeader;  // also the icon
  bool hasChildren = false;             // shows an expand button
  std::vector<ResultTreeItem> children;
  FindingDetail detail;  // the stored line's
};

struct ResultsModel {
  std::vector<ResultLine> lines;      // in the order they were added
  std::vector<ResultTreeItem> items;  // top-level items of the tree
  int lastTopItem = -1;               // children go under this item
  int firstVisibleItem = -1;          // the view scrolls this item to the top

  // For a view that follows the model. Insertion reports the top-level index
  // and the child index (-1 for a top-level item); a rebuild or clear
  // reports the whole tree as new. Unset in the core.
  std::function<void(int topIndex, int childIndex)> onInserted;
  std::function<void()> onRebuilt;
};

// Inserts a line into the tree: level 0 as the last top-level item (marked
// as having children unless `noChildren`), level 1 as the last child of the
// last top-level item. With `keep` the line is also stored for later
// rebuilds, not yet visible.
void AddResultLine(ResultsModel& results, const std::string& text, int level, ResultKind kind,
                   bool keep, bool noChildren, const FindingDetail& detail = {});

// Empties the tree and the stored lines (a new scan, a closed window).
void ClearResults(ResultsModel& results);

// Whether lines of `kind` are shown under the current scan and check
// switches. Headers (kinds 5 and 6) are shown only through their lines.
bool IsResultKindVisible(ResultKind kind, const SettingsRecord& settings);

// Rebuilds the tree from the stored lines for the current switches. A
// header is shown when one of its findings is; a stand-alone line when its
// own kind is. The stored lines are not changed, except their visible flag.
void RefreshResultsTree(ResultsModel& results, const SettingsRecord& settings);

}  // namespace kestrel
