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

QWidget* MakeWidget(const ControlSpec& spec, QWidget* parent) {
  switch (spec.kind) {
    case ControlKind::kEdit: return new QLineEdit(parent);
    case ControlKind::kBrowse: {
      auto* button = new QToolButton(parent);
      button->setText(spec.caption);
      return button;
    }
    case ControlKind::kCheck: return new QCheckBox(spec.caption, parent);
    case ControlKind::kRadio: return new QRadioButton(spec.caption, parent);
    case ControlKind::kButton: {
      auto* button = new QPushButton(spec.caption, parent);
      // Return in an edit commits the edit; it must not start a run.
      button->setAutoDefault(false);
      return button;
    }
  }
  return nullptr;
}

}  // namespace

ToolControls::ToolControls(std::span<const ControlSpec> table, QWidget* parent) {
  QButtonGroup* group = nullptr;
  for (const ControlSpec& spec : table) {
    QWidget* widget = MakeWidget(spec, parent);
    if (*spec.toolTip != '\0') widget->setToolTip(spec.toolTip);
    widgets_[spec.id] = widget;
    if (spec.kind == ControlKind::kRadio) {
      if (group == nullptr) group = new QButtonGroup(parent);
      group->addButton(static_cast<QRadioButton*>(widget), spec.id);
    } else {
      group = nullptr;
    }
    if (spec.kind == ControlKind::kEdit && *spec.caption != '\0') {
      auto* label = new QLabel(spec.caption, parent);
      label->setBuddy(widget);
      labels_[spec.id] = label;
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

}  // namespace kestrel
