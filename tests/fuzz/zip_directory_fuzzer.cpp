// A zip of unknown origin as the scanner meets it: its directory read with
// the plain and then the advanced zip scanner, and every listed member
// extracted.
#include <cstddef>
#include <cstdint>

#include "archive/zip_reader.h"
#include "fuzz_input.h"

using namespace kestrel;

namespace {

void ReadAndExtract(const std::string& path, ZipHeaderCheck headerCheck) {
  ZipEntryList list;
  ZipProblem problem;
  ReadZipDirectory(RealFileSystem(), path, list, true, &problem, headerCheck);
  ZipProblemMessages(problem);
  const std::string destination = fuzz::ScratchFolder() + "member";
  int writeFailed = 0;
  for (const ZipEntry& entry : list) ExtractZipEntry(RealFileSystem(), entry, destination, &writeFailed, &problem);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::WriteInputFile("set.zip", data, size);
  ReadAndExtract(path, ZipHeaderCheck::kLocalHeaders);
  ReadAndExtract(path, ZipHeaderCheck::kBothHeaders);
  return 0;
}
