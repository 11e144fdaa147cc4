#include "gui/software_list_source.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

#include "gui/qt_text.h"
#include "platform/paths.h"

namespace kestrel {
namespace {

constexpr char kListFilter[] = "MAME software lists (*.xml)|*.xml|All files (*)|*||";

// Each list's position is its line.
void RenumberLists(PathList& lists) {
  for (size_t i = 0; i < lists.size(); ++i) lists[i].position = static_cast<int>(i);
}

}  // namespace

SoftwareListSource::SoftwareListSource(SettingsRecord& record, UserInterface* ui, QWidget* parent)
    : QWidget(parent), record_(record), ui_(ui) {
  lists_ = new QListWidget(this);
  lists_->setMaximumHeight(lists_->fontMetrics().height() * 4);
  lists_->setToolTip("MAME software lists (hash/NAME.xml) to use, each with its sets in ROMPATH/NAME.");
  add_ = new QPushButton("O&pen List", this);
  remove_ = new QPushButton("U&nlist", this);
  for (QPushButton* button : {add_, remove_}) button->setAutoDefault(false);
  auto* hashLabel = new QLabel("Hash Folder", this);
  hashEdit_ = new QLineEdit(this);
  hashEdit_->setToolTip("A folder (MAME's hash path) every software list of which is used as well.");
  hashLabel->setBuddy(hashEdit_);
  hashBrowse_ = new QToolButton(this);
  hashBrowse_->setText("<");

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(lists_, 0, 0, 2, 2);
  grid->addWidget(add_, 0, 2);
  grid->addWidget(remove_, 1, 2);
  grid->addWidget(hashLabel, 2, 0);
  grid->addWidget(hashEdit_, 2, 1);
  grid->addWidget(hashBrowse_, 2, 2);

  connect(add_, &QPushButton::clicked, this, &SoftwareListSource::AddList);
  connect(remove_, &QPushButton::clicked, this, &SoftwareListSource::RemoveList);
  // The tick says whether the tools use the list.
  connect(lists_, &QListWidget::itemChanged, this, [this](QListWidgetItem* line) {
    const int row = lists_->row(line);
    if (row >= 0 && static_cast<size_t>(row) < record_.softwareLists.size())
      record_.softwareLists[static_cast<size_t>(row)].enabled = line->checkState() == Qt::Checked;
  });
  connect(hashEdit_, &QLineEdit::editingFinished, this, &SoftwareListSource::CommitHashPath);
  connect(hashBrowse_, &QToolButton::clicked, this, [this] {
    const std::string folder = PickFolder(ui_, "Choose MAME's Hash Folder !");
    if (folder.empty()) return;
    hashEdit_->setText(ToQString(folder));
    CommitHashPath();
  });
}

void SoftwareListSource::Refresh() {
  const QSignalBlocker filling(lists_);
  lists_->clear();
  for (const PathEntry& entry : record_.softwareLists) {
    auto* line = new QListWidgetItem(ToQString(entry.path), lists_);
    line->setFlags(line->flags() | Qt::ItemIsUserCheckable);
    line->setCheckState(entry.enabled ? Qt::Checked : Qt::Unchecked);
  }
  hashEdit_->setText(ToQString(record_.hashPath));
}

void SoftwareListSource::CommitHashPath() {
  const std::string typed = FromQString(hashEdit_->text());
  record_.hashPath = typed.empty() ? typed : WithTrailingSeparator(typed);
  hashEdit_->setText(ToQString(record_.hashPath));
}

void SoftwareListSource::SetUsable(bool usable) {
  for (QWidget* control : std::initializer_list<QWidget*>{lists_, add_, remove_, hashEdit_, hashBrowse_})
    control->setEnabled(usable);
}

void SoftwareListSource::AddList() {
  const std::string path = PickFile(ui_, ".xml", "", kListFilter, true);
  if (path.empty()) return;
  record_.softwareLists.push_back({path, true, -1, -1});
  RenumberLists(record_.softwareLists);
  Refresh();
}

void SoftwareListSource::RemoveList() {
  const int row = lists_->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= record_.softwareLists.size()) return;
  record_.softwareLists.erase(record_.softwareLists.begin() + row);
  RenumberLists(record_.softwareLists);
  Refresh();
}

}  // namespace kestrel
