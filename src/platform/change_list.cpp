#include "platform/change_list.h"

namespace kestrel {

std::string DescribeChange(const FileChange& change) {
  switch (change.kind) {
    case ChangeKind::kCreate: return "create " + change.path;
    case ChangeKind::kReplace: return "replace " + change.path;
    case ChangeKind::kRename: return "rename " + change.path + " -> " + change.target;
    case ChangeKind::kDelete: return "delete " + change.path;
    case ChangeKind::kCreateFolder: return "create folder " + change.path;
    case ChangeKind::kRemoveFolder: return "remove folder " + change.path;
  }
  return {};
}

void ChangeList::Created(std::string_view path) {
  renamedTo_.erase(std::string(path));
  createdAt_[std::string(path)] = changes_.size();
  changes_.push_back({ChangeKind::kCreate, std::string(path), {}});
}

// A file this run created and now moves over `to` is one write of `to`.
void ChangeList::Replaced(std::string_view from, std::string_view to, bool targetExisted) {
  auto created = createdAt_.find(std::string(from));
  if (created == createdAt_.end()) {
    createdAt_.erase(std::string(to));  // whatever this run wrote there is gone
    if (!targetExisted && ContinueRename(from, to)) return;
    renamedTo_[std::string(to)] = changes_.size();
    changes_.push_back({ChangeKind::kRename, std::string(from), std::string(to)});
    return;
  }
  changes_[created->second].path.clear();
  createdAt_.erase(created);
  createdAt_[std::string(to)] = changes_.size();
  changes_.push_back({targetExisted ? ChangeKind::kReplace : ChangeKind::kCreate, std::string(to), {}});
}

bool ChangeList::ContinueRename(std::string_view from, std::string_view to) {
  auto renamed = renamedTo_.find(std::string(from));
  if (renamed == renamedTo_.end()) return false;
  FileChange& first = changes_[renamed->second];
  const size_t index = renamed->second;
  renamedTo_.erase(renamed);
  if (first.path == to) {
    first.path.clear();  // back where it began
  } else {
    first.target = std::string(to);
    renamedTo_[std::string(to)] = index;
  }
  return true;
}

void ChangeList::Renamed(std::string_view from, std::string_view to) { Replaced(from, to, false); }

// A file created and deleted in the same run (a temporary file given up)
// leaves no change behind.
void ChangeList::Deleted(std::string_view path) {
  renamedTo_.erase(std::string(path));
  auto created = createdAt_.find(std::string(path));
  if (created != createdAt_.end() && changes_[created->second].kind == ChangeKind::kCreate) {
    changes_[created->second].path.clear();
    createdAt_.erase(created);
    return;
  }
  if (created != createdAt_.end()) createdAt_.erase(created);
  changes_.push_back({ChangeKind::kDelete, std::string(path), {}});
}

void ChangeList::FolderCreated(std::string_view path) {
  folderCreatedAt_[std::string(path)] = changes_.size();
  changes_.push_back({ChangeKind::kCreateFolder, std::string(path), {}});
}

// A work folder made and removed in the same run leaves no change behind.
void ChangeList::FolderRemoved(std::string_view path) {
  auto created = folderCreatedAt_.find(std::string(path));
  if (created != folderCreatedAt_.end()) {
    changes_[created->second].path.clear();
    folderCreatedAt_.erase(created);
    return;
  }
  changes_.push_back({ChangeKind::kRemoveFolder, std::string(path), {}});
}

std::vector<FileChange> ChangeList::changes() const {
  std::vector<FileChange> left;
  for (const FileChange& change : changes_)
    if (!change.path.empty()) left.push_back(change);
  return left;
}

}  // namespace kestrel
