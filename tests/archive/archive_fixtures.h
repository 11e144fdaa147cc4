// Archives of other kinds than plain zips for the tests, written by
// libarchive itself (7z, tar.gz, a gzipped file, zips it deflates) or, for
// zip members of other methods, by BuildZip around a stream libarchive
// compressed: no outside program is needed.
#pragma once

#include <archive.h>
#include <archive_entry.h>

#include <string>
#include <utility>
#include <vector>

#include "support/crc_data.h"
#include "support/stored_zip.h"

namespace kestrel::testing {

using NamedContents = std::vector<std::pair<std::string, std::string>>;

enum class Packing { k7z, kZip, kTarGz, kLoneGz, kEncryptedZip };

inline la_ssize_t AppendTo(struct archive*, void* bytes, const void* data, size_t length) {
  static_cast<std::string*>(bytes)->append(static_cast<const char*>(data), length);
  return static_cast<la_ssize_t>(length);
}

inline void SetUpPacking(struct archive* writer, Packing packing) {
  switch (packing) {
    case Packing::k7z: archive_write_set_format_7zip(writer); break;
    case Packing::kZip: archive_write_set_format_zip(writer); break;
    case Packing::kEncryptedZip:
      archive_write_set_format_zip(writer);
      archive_write_set_options(writer, "zip:encryption=traditional");
      archive_write_set_passphrase(writer, "secret");
      break;
    case Packing::kTarGz:
      archive_write_set_format_pax_restricted(writer);
      archive_write_add_filter_gzip(writer);
      break;
    case Packing::kLoneGz:
      archive_write_set_format_raw(writer);
      archive_write_add_filter_gzip(writer);
      break;
  }
}

// The bytes of an archive holding `members` (a lone gzipped file: the first).
inline std::string PackArchive(Packing packing, const NamedContents& members) {
  std::string bytes;
  struct archive* writer = archive_write_new();
  SetUpPacking(writer, packing);
  archive_write_set_bytes_in_last_block(writer, 1);
  archive_write_open(writer, &bytes, nullptr, AppendTo, nullptr);
  for (const auto& [name, contents] : members) {
    struct archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, name.c_str());
    archive_entry_set_size(entry, la_int64_t(contents.size()));
    archive_entry_set_filetype(entry, AE_IFREG);
    archive_entry_set_perm(entry, 0644);
    archive_write_header(writer, entry);
    archive_write_data(writer, contents.data(), contents.size());
    archive_entry_free(entry);
  }
  archive_write_close(writer);
  archive_write_free(writer);
  return bytes;
}

// `contents` as one stream of a libarchive filter: "zstd", "bzip2", "xz".
inline std::string CompressStream(const std::string& filter, const std::string& contents) {
  std::string bytes;
  struct archive* writer = archive_write_new();
  archive_write_set_format_raw(writer);
  archive_write_add_filter_by_name(writer, filter.c_str());
  archive_write_set_bytes_in_last_block(writer, 1);
  archive_write_open(writer, &bytes, nullptr, AppendTo, nullptr);
  struct archive_entry* entry = archive_entry_new();
  archive_entry_set_filetype(entry, AE_IFREG);
  archive_write_header(writer, entry);
  archive_write_data(writer, contents.data(), contents.size());
  archive_entry_free(entry);
  archive_write_close(writer);
  archive_write_free(writer);
  return bytes;
}

// A zip member compressed with zip method `method` (12 bzip2, 93 zstd, 95 xz).
inline MemberBytes CompressedMember(const std::string& name, const std::string& contents, uint16_t method) {
  const char* filter = method == 12 ? "bzip2" : method == 93 ? "zstd" : "xz";
  MemberBytes member(name, CompressStream(filter, contents));
  member.method = method;
  member.crc = CrcOf(contents);
  member.size = int64_t(contents.size());
  return member;
}

}  // namespace kestrel::testing
