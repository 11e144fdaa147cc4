#include "gui/qt_user_interface.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "gui/ask_window.h"
#include "gui/file_filter.h"
#include "gui/list_messages_window.h"
#include "gui/progress_window.h"
#include "gui/qt_text.h"

namespace kestrel {
namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kStop: return QMessageBox::Critical;
    case MessageIcon::kExclamation: return QMessageBox::Warning;
    case MessageIcon::kQuestion: return QMessageBox::Question;
    case MessageIcon::kInformation: return QMessageBox::Information;
    case MessageIcon::kNone: break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::kOk: return QMessageBox::Ok;
    case MessageButtons::kOkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::kYesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::kYesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::kRetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

int ToMessageResult(int qtButton) {
  switch (qtButton) {
    case QMessageBox::Cancel: return kResultCancel;
    case QMessageBox::Retry: return kResultRetry;
    case QMessageBox::Yes: return kResultYes;
    case QMessageBox::No: return kResultNo;
    default: return kResultOk;
  }
}

}  // namespace

QWidget* VisibleOwner(QWidget* owner) {
  const auto shown = [](QWidget* window) {
    return window != nullptr && window->window()->isVisible() && !window->window()->isMinimized();
  };
  if (shown(owner)) return owner;
  if (QWidget* modal = QApplication::activeModalWidget(); shown(modal)) return modal;
  if (QWidget* active = QApplication::activeWindow(); shown(active)) return active;
  return nullptr;
}

void RaiseWithoutActivating(QWidget* window) {
  if (window == nullptr) return;
  window = window->window();
  const bool hadAttribute = window->testAttribute(Qt::WA_ShowWithoutActivating);
  window->setAttribute(Qt::WA_ShowWithoutActivating, true);
  window->raise();
  window->setAttribute(Qt::WA_ShowWithoutActivating, hadAttribute);
}

std::unique_ptr<ProgressDialog> QtUserInterface::OpenProgress(const std::string& title) {
  auto window = std::make_unique<ProgressWindow>(VisibleOwner(owner_), title);
  window->show();
  return window;
}

int QtUserInterface::Ask(const std::string& title, const std::string& message) {
  AskWindow window(VisibleOwner(owner_), title, message);
  return window.Ask();
}

int QtUserInterface::Message(const std::string& text, const std::string& title,
                             MessageStyle style) {
  if (owner_ == nullptr) return kResultOk;
  QWidget* parent = VisibleOwner(owner_);
  RaiseWithoutActivating(parent);
  QMessageBox box(ToQtIcon(style.icon), ToQString(title), ToQString(text),
                  ToQtButtons(style.buttons), parent);
  box.setTextFormat(Qt::PlainText);
  return ToMessageResult(box.exec());
}

std::string QtUserInterface::ChooseFile(const std::string& defaultExtension,
                                        const std::string& fileName, const std::string& filter,
                                        bool forOpening) {
  QFileDialog dialog(VisibleOwner(owner_));
  dialog.setAcceptMode(forOpening ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(forOpening ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // A name picked to be opened is taken as it is: a program without an
  // extension must not become "mame.exe".
  if (!forOpening) {
    QString extension = ToQString(defaultExtension);
    if (extension.startsWith('.')) extension.remove(0, 1);
    dialog.setDefaultSuffix(extension);
  }
  dialog.setNameFilter(ToQtFileFilter(filter));
  if (!fileName.empty()) dialog.selectFile(ToQString(fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return "";
  return FromQString(dialog.selectedFiles().first());
}

std::string QtUserInterface::ChooseFolder(const std::string& title) {
  const QString folder = QFileDialog::getExistingDirectory(VisibleOwner(owner_), ToQString(title));
  if (folder.isEmpty()) return "";
  std::string result = FromQString(folder);
  if (result.back() != '/') result += '/';
  return result;
}

void QtUserInterface::ShowProblems(const std::string& title, const std::vector<std::string>& problems) {
  if (owner_ == nullptr) return;
  ShowListMessages(VisibleOwner(owner_), title, problems);
}

}  // namespace kestrel
