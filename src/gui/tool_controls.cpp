#include "gui/tool_controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace kestrel {
namespace {

QWidget* MakeWidget(const ControlEntry& entry, QWidget* parent) {
  switch (entry.kind) {
    case ControlKind::kEdit: return new QLineEdit(parent);
    case ControlKind::kBrowse: {
      auto* button = new QToolButton(parent);
      button->setText(entry.caption);
      return button;
    }
    case ControlKind::kCheck: return new QCheckBox(entry.caption, parent);
    case ControlKind::kRadio: return new QRadioButton(entry.caption, parent);
    case ControlKind::kButton: {
      auto* button = new QPushButton(entry.caption, parent);
      // Return in an edit commits the edit; it must not start a run.
      button->setAutoDefault(false);
      return button;
    }
  }
  return nullptr;
}

}  // namespace

ToolControls::ToolControls(std::span<const ControlEntry> table, QWidget* parent) {
  QButtonGroup* group = nullptr;
  for (const ControlEntry& entry : table) {
    QWidget* widget = MakeWidget(entry, parent);
    if (*entry.toolTip != '\0') widget->setToolTip(entry.toolTip);
    widgets_[entry.id] = widget;
    if (entry.kind == ControlKind::kRadio) {
      if (group == nullptr) group = new QButtonGroup(parent);
      group->addButton(static_cast<QRadioButton*>(widget), entry.id);
    } else {
      group = nullptr;
    }
    if (entry.kind == ControlKind::kEdit && *entry.caption != '\0') {
      auto* label = new QLabel(entry.caption, parent);
      label->setBuddy(widget);
      labels_[entry.id] = label;
    }
  }
}

QWidget* ToolControls::widget(int id) const {
  auto found = widgets_.find(id);
  return found == widgets_.end() ? nullptr : found->second;
}

QLineEdit* ToolControls::edit(int id) const { return qobject_cast<QLineEdit*>(widget(id)); }

QAbstractButton* ToolControls::button(int id) const {
  return qobject_cast<QAbstractButton*>(widget(id));
}

QWidget* ToolControls::label(int id) const {
  auto found = labels_.find(id);
  return found == labels_.end() ? nullptr : found->second;
}

void ToolControls::BindCheck(int id, bool& setting, const bool* filling) const {
  QAbstractButton* box = button(id);
  QObject::connect(box, &QAbstractButton::toggled, box, [&setting, filling](bool on) {
    if (!*filling) setting = on;
  });
}

void ToolControls::BindRadios(std::span<const int> ids, LayoutCodes codes, SetLayout& setting,
                              const bool* filling) const {
  for (size_t code = 0; code < codes.size() && code < ids.size(); ++code) {
    QAbstractButton* radio = button(ids[code]);
    SetLayout layout = codes[code];
    QObject::connect(radio, &QAbstractButton::toggled, radio, [&setting, filling, layout](bool on) {
      if (on && !*filling) setting = layout;
    });
  }
}

}  // namespace kestrel
