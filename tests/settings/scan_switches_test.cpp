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
    EXPECT_TRUE(names.insert(entry.name).second) << entry.name;
    EXPECT_EQ(ScanSwitchIndex(entry.field), i) << entry.name;
    EXPECT_EQ(entry.role == SwitchRole::kFix, entry.check != nullptr && entry.role != SwitchRole::kOption)
        << entry.name;
    if (entry.check != nullptr) {
      size_t check = ScanSwitchIndex(entry.check);
      ASSERT_LT(check, kScanSwitchCount) << entry.name;
      EXPECT_EQ(ScanSwitches()[check].role, SwitchRole::kCheck) << entry.name;
    }
  }
}

}  // namespace
}  // namespace kestrel
