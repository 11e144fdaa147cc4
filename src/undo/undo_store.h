// The store of a run: the folder beside its journal that holds every
// content the run replaced or deleted, one file per content, named by
// number. A content is saved by a hard link where the store shares the
// file system with the collection (instant, no space), else by a copy read
// back and compared.
#pragma once

#include <optional>
#include <string>

#include "platform/file_system.h"
#include "undo/content_identity.h"

namespace kestrel {

// True when the exact path `path` names an entry (a symbolic link itself
// counts), whatever other spellings of it exist.
bool EntryExists(const std::string& path);
bool IsLink(const std::string& path);

// Keeps the content of `path` as `member` of the store (a path that must
// not exist). True only when `member` then holds `identity` (for a symbolic
// link, `identity` is nothing and the link itself is kept).
bool SaveContent(FileSystem& fs, const std::string& path, const std::string& member,
                 const std::optional<ContentIdentity>& identity);

// Moves the file `from` to `to`, both exactly as spelled; `to` must not
// exist. Across file systems the content is copied, compared with
// `identity` and only then removed from `from`.
bool MoveContent(FileSystem& fs, const std::string& from, const std::string& to,
                 const std::optional<ContentIdentity>& identity);

}  // namespace kestrel
