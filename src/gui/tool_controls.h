// The controls of a tool dialog described as a table: identifier, kind,
// caption and tool tip. A dialog's layout and behaviour find the widgets by
// identifier, so the texts the user reads live in one place per dialog.
#pragma once

#include <QAbstractButton>
#include <QWidget>
#include <cstdint>
#include <map>
#include <span>
#include "settings/layout_codes.h"

class QLineEdit;

namespace kestrel {

enum class ControlKind {
  kEdit,    // a one-line edit; `caption`, when given, is its label
  kBrowse,  // the small "<" button beside an edit
  kCheck,   // a check box
  kRadio,   // a radio button; one group per run of radios in the table
  kButton,  // a push button that starts something
};

struct ControlEntry {
  int id;
  ControlKind kind;
  const char* caption;  // "" for none; '&' marks the shortcut letter
  const char* toolTip;  // "" for none
};

// The widgets made from one table, by identifier.
class ToolControls {
 public:
  // Makes one widget per line of `table`, children of `parent`, with their
  // captions and tool tips. Radio buttons that follow each other in the
  // table form one exclusive group.
  ToolControls(std::span<const ControlEntry> table, QWidget* parent);

  // The widget of `id`, or null when the table has none.
  QWidget* widget(int id) const;
  // The same, typed; null when `id` is of another kind.
  QLineEdit* edit(int id) const;
  QAbstractButton* button(int id) const;
  // The label made for an edit with a caption, or null.
  QWidget* label(int id) const;

  // Keeps `setting` equal to the state of the check box `id`, except while
  // `*filling` is set: then the dialog is filling its controls from the
  // settings. `setting` and `filling` must outlive the widgets.
  void BindCheck(int id, bool& setting, const bool* filling) const;
  // Keeps `setting` (a number or a mode) equal to the position of the
  // ticked radio among the `count` radios from `firstId` on, on the same
  // terms.
  template <class Setting>
  void BindRadios(int firstId, int count, Setting& setting, const bool* filling) const {
    for (int value = 0; value < count; ++value) {
      QAbstractButton* radio = button(firstId + value);
      QObject::connect(radio, &QAbstractButton::toggled, radio, [&setting, filling, value](bool on) {
        if (on && !*filling) setting = static_cast<Setting>(value);
      });
    }
  }
  // The same for a layout: the radios `ids` stand for the layouts of
  // `codes`, in order.
  void BindRadios(std::span<const int> ids, LayoutCodes codes, SetLayout& setting, const bool* filling) const;

 private:
  std::map<int, QWidget*> widgets_;
  std::map<int, QWidget*> labels_;
};

}  // namespace kestrel
