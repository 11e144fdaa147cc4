#include "gui/tool_dialog.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QPushButton>

#include "gui/remembered_position.h"

namespace kestrel {

ToolDialog::ToolDialog(const ToolDialogContext& context, std::span<const ControlEntry> controls,
                       const char* caption, QWidget* parent)
    : QDialog(parent), context_(context), record_(*context.record), own_(this), controls_(controls, this),
      caption_(caption) {
  setWindowTitle(caption);
  setSizeGripEnabled(true);
}

QDialogButtonBox* ToolDialog::ButtonRow(std::initializer_list<int> actions) {
  auto* row = new QDialogButtonBox(this);
  for (int id : actions) row->addButton(controls_.button(id), QDialogButtonBox::ActionRole);
  row->addButton(QDialogButtonBox::Close)->setAutoDefault(false);
  connect(row, &QDialogButtonBox::rejected, this, &ToolDialog::reject);
  return row;
}

void ToolDialog::MoveToRememberedPlace() {
  MoveToRememberedPosition(*this, context_.positionX, context_.positionY);
}

bool ToolDialog::UserAgrees(const std::string& question) {
  if (question.empty()) return true;
  return ShowMessage(ui(), question, caption_, {MessageButtons::kYesNo, MessageIcon::kQuestion}) == kResultYes;
}

// The dialog ends only between runs: a run owns it until its progress
// dialog has closed.
void ToolDialog::closeEvent(QCloseEvent* event) {
  if (!ReadyToClose(*this, running_, context_.positionX, context_.positionY)) return event->ignore();
  QDialog::closeEvent(event);
}

void ToolDialog::reject() {
  if (ReadyToClose(*this, running_, context_.positionX, context_.positionY)) QDialog::reject();
}

}  // namespace kestrel
