// Kestrel's first rule: no tool loses a file. Random collections, made from
// a seed, go through random series of rebuilds, merges and repairs, some
// broken off by a failing disk, a failing zip write or a cancel; whatever
// the collection, its rebuild sources and its backups held before a step
// must be somewhere among them after it.
//
// Fixed seeds run here; scripts/conservation.sh runs many random ones
// through KESTREL_CONSERVATION_SEEDS (a comma-separated list).
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "conservation/conservation_run.h"

namespace kestrel::testing {
namespace {

std::string Explain(uint32_t seed, const RunReport& report) {
  std::ostringstream text;
  text << "seed " << seed << " (rerun: KESTREL_CONSERVATION_SEEDS=" << seed
       << " conservation_tests --gtest_filter='*ChosenSeeds*')\nscenario:\n";
  for (const std::string& note : report.notes) text << "  " << note << "\n";
  text << "steps:\n";
  for (const std::string& step : report.steps) text << "  " << step << "\n";
  text << "failures:\n";
  for (const std::string& failure : report.failures) text << "  " << failure << "\n";
  return text.str();
}

void CheckSeed(uint32_t seed) {
  RunReport report = ConservationRun(seed).Run();
  EXPECT_TRUE(report.failures.empty()) << Explain(seed, report);
}

class ConservationTest : public ::testing::TestWithParam<uint32_t> {};

TEST_P(ConservationTest, KeepsEveryContent) { CheckSeed(GetParam()); }

INSTANTIATE_TEST_SUITE_P(FixedSeeds, ConservationTest, ::testing::Range(1u, 21u));

TEST(Conservation, ChosenSeeds) {
  const char* seeds = std::getenv("KESTREL_CONSERVATION_SEEDS");
  if (seeds == nullptr) GTEST_SKIP() << "no KESTREL_CONSERVATION_SEEDS";
  std::istringstream list(seeds);
  for (std::string seed; std::getline(list, seed, ',');)
    if (!seed.empty()) CheckSeed(static_cast<uint32_t>(std::stoul(seed)));
}

}  // namespace
}  // namespace kestrel::testing
