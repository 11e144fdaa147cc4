#include "settings/scan_switches.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kestrel {
namespace {

// Every switch once, under a name of its own; a fix always works with a
// check, and what a switch works with is a check of the table.
TEST(ScanSwitchesTest, EachSwitchOnceAndEveryFixWithItsCheck) {
  std::set<std::string> names;
  for (size_t i = 0; i < kScanSwitchCount; ++i) {
    const ScanSwitch& entry = ScanSwitches()[i];
    EXPECT_TRUE(names.insert(entry.name).second && ScanSwitchIndex(entry.field) == i) << entry.name;
    EXPECT_EQ(entry.role == SwitchRole::kFix, entry.check != nullptr && entry.role != SwitchRole::kOption) << i;
    if (entry.check == nullptr) continue;
    const size_t check = ScanSwitchIndex(entry.check);
    EXPECT_TRUE(check < kScanSwitchCount && ScanSwitches()[check].role == SwitchRole::kCheck) << entry.name;
  }
}

}  // namespace
}  // namespace kestrel
