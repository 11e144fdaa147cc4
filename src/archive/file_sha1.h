// SHA-1 digests of a ROM's contents, a loose file's or a zip member's,
// read in pieces so a file of any size costs the same memory. MAME's lists
// give one for every dumped ROM; a file whose size and CRC-32 match may
// still differ, which only the SHA-1 shows.
#pragma once

#include <memory>

#include <optional>
#include <string>

#include "archive/zip_entry.h"
#include "platform/sha1_digest.h"
#include "platform/file_system.h"

typedef struct evp_md_ctx_st EVP_MD_CTX;

namespace kestrel {

// One digest summed piece by piece, for callers that read the data for
// other sums as well; a failure of the library (out of memory) makes every
// later step fail too.
class Sha1Sum {
 public:
  Sha1Sum();
  bool Add(const uint8_t* data, size_t length);
  std::optional<Sha1Digest> Finish();

 private:
  struct ContextDeleter {
    void operator()(EVP_MD_CTX* context) const;
  };
  std::unique_ptr<EVP_MD_CTX, ContextDeleter> context_;
  bool good_ = false;
};

// The digest of the regular file `path`; nullopt when it cannot be read
// to its end.
std::optional<Sha1Digest> Sha1OfFile(FileSystem& fs, const std::string& path);

// The digest of a listed member's decoded contents, of a zip of any method
// or a 7z set (see ReadMemberData); nullopt when the member cannot be decoded or its contents do not have the size and CRC-32 its
// header gives.
std::optional<Sha1Digest> Sha1OfZipEntry(FileSystem& fs, const ZipEntry& entry);

}  // namespace kestrel
