// Path texts. Paths use '/', folder paths end with it, and wherever a name
// is split into folder and file part, '\', '/' and ':' all count.
#pragma once

#include <string>
#include <string_view>

namespace kestrel {

bool IsPathSeparator(char c);

// True when `name` names a file or folder directly inside another: not
// empty, not "." or "..", and without a path separator. A name from a
// damaged list or archive that fails this would reach outside its folder.
bool IsPlainFileName(std::string_view name);
// The text after the last separator ("" when the path ends with one).
std::string FileNamePart(std::string_view path);
// The text up to and including the last separator ("" when there is none).
std::string FolderPart(std::string_view path);
// True when the file name part of `path` ends with ".zip" in any case and
// has a name before it: a file called just ".zip" names no set.
bool HasZipExtension(std::string_view path);
// `path` less its ".zip" when HasZipExtension, else `path` as it is.
std::string WithoutZipExtension(std::string_view path);
// `folder` with a '/' appended unless it already ends with a separator.
std::string WithTrailingSeparator(std::string_view folder);
// `path` without the '/' and '\' it ends with ("/" stays "/").
std::string WithoutTrailingSeparators(std::string_view path);
// `folder` (with or without a trailing separator) joined with `name`.
std::string JoinPath(std::string_view folder, std::string_view name);
// `path` made absolute against the current folder, with "." and ".."
// steps folded; a trailing separator stays. An empty path is the current
// folder.
std::string AbsolutePath(std::string_view path);
// Matches a file name against a pattern with '*' and '?', without case.
// "*.*" and "*" match every name, as they do on Windows.
bool MatchesWildcard(std::string_view name, std::string_view pattern);

}  // namespace kestrel
