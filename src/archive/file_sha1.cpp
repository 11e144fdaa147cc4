#include "archive/file_sha1.h"

#include <openssl/evp.h>

#include <memory>

#include "archive/input_file.h"
#include "archive/member_data.h"

namespace kestrel {
void Sha1Sum::ContextDeleter::operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }

Sha1Sum::Sha1Sum() : context_(EVP_MD_CTX_new()) {
  good_ = context_ && EVP_DigestInit_ex(context_.get(), EVP_sha1(), nullptr) == 1;
}

bool Sha1Sum::Add(const uint8_t* data, size_t length) {
  good_ = good_ && EVP_DigestUpdate(context_.get(), data, length) == 1;
  return good_;
}

std::optional<Sha1Digest> Sha1Sum::Finish() {
  Sha1Digest digest{};
  unsigned int length = 0;
  if (!good_ || EVP_DigestFinal_ex(context_.get(), digest.data(), &length) != 1 || length != digest.size()) {
    return std::nullopt;
  }
  return digest;
}

std::optional<Sha1Digest> Sha1OfFile(FileSystem& fs, const std::string& path) {
  InputFile file;
  if (!file.Open(fs, path)) return std::nullopt;
  Sha1Sum sum;
  bool whole = file.ReadChunks(0, file.size(), [&](const uint8_t* data, size_t count) { return sum.Add(data, count); });
  return whole ? sum.Finish() : std::nullopt;
}

std::optional<Sha1Digest> Sha1OfZipEntry(FileSystem& fs, const ZipEntry& entry) {
  Sha1Sum sum;
  bool whole = ReadMemberData(fs, entry, [&](const uint8_t* data, size_t count) { return sum.Add(data, count); });
  return whole ? sum.Finish() : std::nullopt;
}

}  // namespace kestrel
