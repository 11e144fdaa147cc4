// Kestrel's first rule: no tool loses a file. Random collections, made from
// a seed, go through random series of rebuilds, merges and repairs, some
// broken off by a failing disk, a failing zip write or a cancel; whatever
// the collection, its rebuild sources and its backups held before a step
// must be somewhere among them after it.
//
// Fixed seeds run here; scripts/conservation.sh runs many random ones
// through KESTREL_CONSERVATION_SEEDS (a comma-separated list), optionally
// with KESTREL_CONSERVATION_TOOLS naming the tools to use (rebuild, merged,
// split, unmerge, scan; comma-separated). KESTREL_CONSERVATION_VERBOSE shows
// every seed's scenario and steps, passed or not; KESTREL_CONSERVATION_KEEP
// keeps a failed seed's folders.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <sstream>

#include "conservation/conservation_run.h"

namespace kestrel::testing {
namespace {

// The tools KESTREL_CONSERVATION_TOOLS names; all when it is not set.
std::vector<Tool> ChosenTools() {
  const char* names = std::getenv("KESTREL_CONSERVATION_TOOLS");
  if (names == nullptr || *names == '\0') return AllTools();
  const std::vector<std::pair<std::string, Tool>> known = {{"rebuild", Tool::kRebuild},
                                                           {"merged", Tool::kMergeToMerged},
                                                           {"split", Tool::kMergeToSplit},
                                                           {"unmerge", Tool::kUnmerge},
                                                           {"scan", Tool::kScanRepairs}};
  std::vector<Tool> tools;
  for (const auto& [name, tool] : known)
    if (std::string(names).find(name) != std::string::npos) tools.push_back(tool);
  return tools.empty() ? AllTools() : tools;
}

std::string Explain(uint32_t seed, const RunReport& report) {
  const char* tools = std::getenv("KESTREL_CONSERVATION_TOOLS");
  std::ostringstream text;
  text << "seed " << seed << " (rerun: KESTREL_CONSERVATION_SEEDS=" << seed;
  if (tools != nullptr) text << " KESTREL_CONSERVATION_TOOLS=" << tools;
  text << " conservation_tests --gtest_filter='*ChosenSeeds*')\nscenario:\n";
  for (const std::string& note : report.notes) text << "  " << note << "\n";
  text << "steps:\n";
  for (const std::string& step : report.steps) text << "  " << step << "\n";
  text << "failures:\n";
  for (const std::string& failure : report.failures) text << "  " << failure << "\n";
  return text.str();
}

void CheckSeed(uint32_t seed, const std::vector<Tool>& tools) {
  RunReport report = ConservationRun(seed, tools).Run();
  if (std::getenv("KESTREL_CONSERVATION_VERBOSE") != nullptr) std::cout << Explain(seed, report);
  EXPECT_TRUE(report.failures.empty()) << Explain(seed, report);
}

class ConservationTest : public ::testing::TestWithParam<uint32_t> {};

TEST_P(ConservationTest, KeepsEveryContent) { CheckSeed(GetParam(), AllTools()); }

INSTANTIATE_TEST_SUITE_P(FixedSeeds, ConservationTest, ::testing::Range(1u, 21u));

TEST(Conservation, ChosenSeeds) {
  const char* seeds = std::getenv("KESTREL_CONSERVATION_SEEDS");
  if (seeds == nullptr) GTEST_SKIP() << "no KESTREL_CONSERVATION_SEEDS";
  std::istringstream list(seeds);
  for (std::string seed; std::getline(list, seed, ',');)
    if (!seed.empty()) CheckSeed(static_cast<uint32_t>(std::stoul(seed)), ChosenTools());
}

}  // namespace
}  // namespace kestrel::testing
