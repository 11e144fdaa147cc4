// Loading MAME's own -listxml output: reading the XML (beside the peer, a
// parse of the same file by Python's xml.etree.ElementTree, run in the same
// program), validating the sets, and the second start that reads the data
// cache instead. Give a real
// listing with KESTREL_MAME_XML=/path/mame.xml; without one a document of
// the same size and shape (45,294 machines, about 270 MB) is generated.
// The peak memory of the process is reported as the counter "peak_MB".
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/user_interface.h"
#include "gamedb/data_cache.h"
#include "gamedb/validate_games.h"
#include "gamedb/xml_game_list.h"
#include "platform/file_system.h"

namespace {

constexpr int kMachineCount = 45294;

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

// One machine in MAME's layout: most have ROMs, a parent every few sets with
// clones sharing ROMs under the same names, some samples, and the many
// elements a reader must skip (chips, display, inputs, DIP switches).
void WriteMachine(std::FILE* out, int i) {
  int parent = i - i % 4;
  bool clone = i % 4 != 0;
  bool device = i % 9 == 8;
  std::fprintf(out, "\t<machine name=\"m%05d\" sourcefile=\"drv%d.cpp\"", i, i / 50);
  if (clone) std::fprintf(out, " cloneof=\"m%05d\" romof=\"m%05d\"", parent, parent);
  if (i % 13 == 0) std::fprintf(out, " sampleof=\"m%05d\"", i);
  std::fprintf(out, ">\n\t\t<description>Machine %d &amp; Co. (rev %d)</description>\n", i, i % 7);
  std::fprintf(out, "\t\t<year>19%02d</year>\n\t\t<manufacturer>Maker %d</manufacturer>\n", 80 + i % 20, i % 300);
  if (!device) {
    for (int r = 0; r < 8; ++r) {
      bool shared = clone && r < 5;
      int owner = shared ? parent : i;
      std::fprintf(out, "\t\t<rom name=\"%s%d.%d\" size=\"%d\" crc=\"%08x\" sha1=\"%040d\" region=\"maincpu\" offset=\"%x\"/>\n",
                   shared ? "p" : "r", owner, r, 4096 << (r % 4), owner * 2654435761u + r * 40503u + 1, owner, r * 4096);
    }
    if (i % 50 == 0) std::fprintf(out, "\t\t<rom name=\"bad%d\" size=\"1024\" status=\"nodump\" region=\"gfx\"/>\n", i);
  }
  if (i % 13 == 0) {
    for (int s = 0; s < 8; ++s) std::fprintf(out, "\t\t<sample name=\"snd%d\"/>\n", s);
  }
  std::fprintf(out, "\t\t<device_ref name=\"z80\"/>\n\t\t<chip type=\"cpu\" tag=\"maincpu\" name=\"Zilog Z80\" clock=\"3072000\"/>\n");
  std::fprintf(out, "\t\t<display tag=\"screen\" type=\"raster\" rotate=\"90\" width=\"288\" height=\"224\" refresh=\"60.606061\"/>\n");
  std::fprintf(out, "\t\t<input players=\"2\" coins=\"2\"><control type=\"joy\" ways=\"4\"/></input>\n");
  for (int d = 0; d < 12; ++d) {
    std::fprintf(out, "\t\t<dipswitch name=\"Switch %d\" tag=\"DSW\" mask=\"%d\">\n", d, 1 << (d % 8));
    for (int v = 0; v < 4; ++v) {
      std::fprintf(out, "\t\t\t<dipvalue name=\"Setting %d\" value=\"%d\"%s/>\n", v, v, v == 0 ? " default=\"yes\"" : "");
    }
    std::fprintf(out, "\t\t</dipswitch>\n");
  }
  std::fprintf(out, "\t\t<driver status=\"good\" emulation=\"good\" savestate=\"supported\"/>\n\t</machine>\n");
}

std::string ListingPath() {
  if (const char* given = std::getenv("KESTREL_MAME_XML")) return given;
  std::string path = (std::filesystem::temp_directory_path() / "kestrel_bench_listxml.xml").string();
  if (kestrel::FileExists(path)) return path;
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return path;
  std::fprintf(out, "<?xml version=\"1.0\"?>\n<!DOCTYPE mame [\n<!ELEMENT mame (machine+)>\n]>\n<mame build=\"0.251\">\n");
  for (int i = 0; i < kMachineCount; ++i) WriteMachine(out, i);
  std::fprintf(out, "</mame>\n");
  std::fclose(out);
  return path;
}

void BM_ReadAndValidateListXml(benchmark::State& state) {
  std::string path = ListingPath();
  auto progress = kestrel::OpenProgressDialog(nullptr, "");
  for (auto _ : state) {
    kestrel::GameList rawGames, database;
    kestrel::ListMessages messages;
    if (!kestrel::ParseXmlGameList(rawGames, path, *progress, false, messages)) state.SkipWithError("read failed");
    if (!kestrel::ValidateGames(rawGames, database, *progress, 0, messages)) state.SkipWithError("validation failed");
    state.counters["sets"] = static_cast<double>(database.size());
  }
  state.counters["MB"] = static_cast<double>(kestrel::FileSize(path).value_or(0)) / (1 << 20);
  state.counters["peak_MB"] = PeakMegabytes();
}

void BM_ReadListXml(benchmark::State& state) {
  std::string path = ListingPath();
  auto progress = kestrel::OpenProgressDialog(nullptr, "");
  for (auto _ : state) {
    kestrel::GameList rawGames;
    kestrel::ListMessages messages;
    if (!kestrel::ParseXmlGameList(rawGames, path, *progress, false, messages)) state.SkipWithError("read failed");
    state.counters["machines"] = static_cast<double>(rawGames.size());
  }
  state.counters["peak_MB"] = PeakMegabytes();
}

// The peer: the whole file parsed into a tree by the Python standard
// library, the time of its own process included (about 30 ms).
void BM_ElementTreeParse(benchmark::State& state) {
  std::string command = "python3 -c 'import sys, xml.etree.ElementTree as E; E.parse(sys.argv[1])' '" + ListingPath() + "'";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("python3 failed");
  }
}

void BM_SecondStartReadsTheCache(benchmark::State& state) {
  std::string path = ListingPath();
  std::string cache = (std::filesystem::temp_directory_path() / "kestrel_bench_listxml_cache").string();
  {
    auto progress = kestrel::OpenProgressDialog(nullptr, "");
    kestrel::GameList rawGames, database;
    kestrel::ListMessages messages;
    kestrel::ParseXmlGameList(rawGames, path, *progress, false, messages);
    kestrel::ValidateGames(rawGames, database, *progress, 0, messages);
    kestrel::WriteDataCache(cache, database, 1);
  }
  for (auto _ : state) {
    kestrel::GameList database;
    if (!kestrel::ReadDataCache(cache, database, 1, nullptr)) state.SkipWithError("cache read failed");
    state.counters["sets"] = static_cast<double>(database.size());
  }
  state.counters["cache_MB"] = static_cast<double>(kestrel::FileSize(cache).value_or(0)) / (1 << 20);
  std::remove(cache.c_str());
}

BENCHMARK(BM_ReadListXml)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ElementTreeParse)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(BM_ReadAndValidateListXml)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SecondStartReadsTheCache)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
