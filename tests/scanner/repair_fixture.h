// A collection to repair: the scan fixture with the fixes' working folders,
// no questions unless a test asks for them, and ways to read back what the
// repairs left on disk.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/disk_space.h"
#include "scanner/scan_fixture.h"

namespace kestrel::testing {

using Names = std::vector<std::string>;
using Members = std::map<std::string, std::string>;  // stored name -> contents

class RepairFixture : public ScanFixture {
 protected:
  RepairFixture();

  ScanOutcome Scan();

  // The members of a zip and their contents; empty when it does not read.
  Members ZipMembers(const std::string& zipPath);
  // The names in a folder, sorted.
  Names FileNames(const std::string& folder);
  // Every file of the ROM and sample paths with its contents.
  std::map<std::string, std::string> Collection() const;

  int resizeQuestionMilliseconds = 5000;
  // Stands in for the file systems' free space when set.
  std::function<std::optional<DiskSpace>(const std::string&)> diskSpace;
};

// `size` bytes that differ from seed to seed and hold no long runs.
std::string PseudoRandom(size_t size, unsigned seed);

}  // namespace kestrel::testing
