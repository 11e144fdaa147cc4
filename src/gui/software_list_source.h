// The settings dialog's controls for MAME's software lists as the data
// source: the list files, one a line, and the hash folder, every list of
// which is used too. They edit the settings record at once.
#pragma once

#include <QWidget>

#include "app/user_interface.h"
#include "settings/settings_record.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QToolButton;

namespace kestrel {

class SoftwareListSource : public QWidget {
  Q_OBJECT

 public:
  SoftwareListSource(SettingsRecord& record, UserInterface* ui, QWidget* parent);

  // Shows the record's lists and hash folder.
  void Refresh();
  // Takes the hash folder as typed.
  void CommitHashPath();
  // Usable only while software lists are the data source.
  void SetUsable(bool usable);

  QListWidget* lists() const { return lists_; }
  QLineEdit* hashEdit() const { return hashEdit_; }

 private:
  void AddList();
  void RemoveList();

  SettingsRecord& record_;
  UserInterface* ui_;
  QListWidget* lists_;
  QPushButton* add_;
  QPushButton* remove_;
  QLineEdit* hashEdit_;
  QToolButton* hashBrowse_;
};

}  // namespace kestrel
