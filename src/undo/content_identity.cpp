#include "undo/content_identity.h"

#include <cinttypes>
#include <cstdio>

#include "archive/crc32.h"
#include "archive/file_sha1.h"
#include "archive/input_file.h"

namespace kestrel {

// One read for both sums: a journaled run identifies every file it
// replaces or writes.
std::optional<ContentIdentity> IdentifyFile(FileSystem& fs, const std::string& path) {
  InputFile file;
  if (!file.Open(fs, path)) return std::nullopt;
  ContentIdentity identity;
  identity.size = file.size();
  Sha1Sum sha1;
  bool whole = file.ReadChunks(0, file.size(), [&](const uint8_t* data, size_t count) {
    identity.crc = Crc32(identity.crc, data, count);
    return sha1.Add(data, count);
  });
  std::optional<Sha1Digest> digest = sha1.Finish();
  if (!whole || !digest) return std::nullopt;
  identity.sha1 = *digest;
  return identity;
}

std::string IdentityText(const ContentIdentity& identity) {
  char numbers[40];
  std::snprintf(numbers, sizeof numbers, "%" PRIu64 " %08x ", identity.size, identity.crc);
  return numbers + Sha1Text(identity.sha1);
}

std::optional<ContentIdentity> ParseIdentity(std::string_view text) {
  ContentIdentity identity;
  char sha1[41] = {};
  unsigned int crc = 0;
  std::string copy(text);
  int end = 0;
  if (std::sscanf(copy.c_str(), "%" SCNu64 " %8x %40s%n", &identity.size, &crc, sha1, &end) != 3 ||
      static_cast<size_t>(end) != copy.size())
    return std::nullopt;
  std::optional<Sha1Digest> digest = ParseSha1(sha1);
  if (!digest) return std::nullopt;
  identity.crc = crc;
  identity.sha1 = *digest;
  return identity;
}

}  // namespace kestrel
