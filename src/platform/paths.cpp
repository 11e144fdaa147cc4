#include "platform/paths.h"

#include <filesystem>
#include <system_error>

#include "platform/text.h"

namespace kestrel {

bool IsPathSeparator(char c) { return c == '/' || c == '\\' || c == ':'; }

static size_t LastSeparator(std::string_view path) {
  for (size_t i = path.size(); i > 0; --i)
    if (IsPathSeparator(path[i - 1])) return i - 1;
  return std::string_view::npos;
}

std::string FileNamePart(std::string_view path) {
  size_t at = LastSeparator(path);
  return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

std::string FolderPart(std::string_view path) {
  size_t at = LastSeparator(path);
  return at == std::string_view::npos ? std::string() : std::string(path.substr(0, at + 1));
}

bool HasZipExtension(std::string_view path) {
  constexpr std::string_view kZip = ".zip";
  std::string_view name = path.substr(LastSeparator(path) + 1);
  return HasSuffixNoCase(name, kZip);
}

std::string WithoutZipExtension(std::string_view path) {
  if (HasZipExtension(path)) path.remove_suffix(4);
  return std::string(path);
}

std::string WithoutTrailingSeparators(std::string_view path) {
  std::string result(path);
  while (result.size() > 1 && (result.back() == '/' || result.back() == '\\')) result.pop_back();
  return result;
}

std::string WithTrailingSeparator(std::string_view folder) {
  std::string result(folder);
  if (result.empty() || !IsPathSeparator(result.back())) result += '/';
  return result;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  return WithTrailingSeparator(folder) + std::string(name);
}

std::string AbsolutePath(std::string_view path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(path.empty() ? "." : std::string(path), error);
  if (error) return std::string(path);
  std::string result = absolute.lexically_normal().string();
  bool wantsSeparator = !path.empty() && IsPathSeparator(path.back());
  if (wantsSeparator && result.back() != '/') result += '/';
  return result;
}

// Iterative matcher with one backtrack point for the last '*': linear in
// practice and never recursive, whatever the pattern.
bool MatchesWildcard(std::string_view name, std::string_view pattern) {
  if (pattern == "*.*") return true;
  size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    // A '*' in the pattern is always a wildcard, even against a '*' in a
    // (Linux) file name.
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || LowerAscii(pattern[p]) == LowerAscii(name[n]))) {
      ++n;
      ++p;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    if (IsPathSeparator(c)) return false;
  }
  return true;
}

}  // namespace kestrel
