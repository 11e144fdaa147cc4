// An archive of unknown origin as the rebuilder meets it: read through
// libarchive once as an archive (7z, rar, tar, any compression) and once as
// a lone compressed file, every member streamed to its end; then the same
// bytes judged and rewritten as a TorrentZip. Reading stops after 64 MB per
// input, as a real member may well be that large but the fuzzer need not
// wait for it; what must never happen is a crash, a hang inside one read,
// or memory that grows with what the input claims.
#include <cstddef>
#include <cstdint>

#include "archive/archive_reader.h"
#include "archive/torrent_zip.h"
#include "fuzz_input.h"

using namespace kestrel;

namespace {

constexpr uint64_t kEnough = 64ull << 20;

void ReadEveryMember(const std::string& path) {
  ArchiveReader reader;
  if (!reader.Open(RealFileSystem(), path)) return;
  uint64_t total = 0;
  ArchiveMember member;
  while (total < kEnough && reader.NextMember(member)) {
    reader.ReadMember([&total](const uint8_t*, size_t count) {
      total += count;
      return total < kEnough;
    });
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReadEveryMember(fuzz::WriteInputFile("input.7z", data, size));
  ReadEveryMember(fuzz::WriteInputFile("input.gz", data, size));
  const std::string zip = fuzz::WriteInputFile("set.zip", data, size);
  if (!IsTorrentZip(RealFileSystem(), zip)) WriteTorrentZip(RealFileSystem(), zip);
  return 0;
}
