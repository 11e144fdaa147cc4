// The rebuilder and the scanner keep ROMs in the same sets in every layout:
// a collection the rebuilder builds scans clean in its own layout, as MAME
// finds it complete; a BIOS or device ROM lies in its own set unless the
// layout is full non-merged.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli/cli_run.h"
#include "support/crc_data.h"
#include "support/stored_zip.h"

namespace kestrel {
namespace {

using testing::CliRun;
using testing::RunCli;
using testing::TempFolder;

// The NeoGeo BIOS set with its "sp-s2.sp1"; a device with a ROM; a NeoGeo
// game and clone, an arcade game and clone that use the device.
const char kList[] =
    "<?xml version=\"1.0\"?>\n<mame>\n"
    "<machine name=\"neogeo\" isbios=\"yes\"><description>NeoGeo</description>"
    "<rom name=\"sp-s2.sp1\" size=\"131072\" crc=\"9036d879\"/><rom name=\"sm1.sm1\" size=\"4\" crc=\"11\"/></machine>\n"
    "<machine name=\"chip\" isdevice=\"yes\"><description>Chip</description>"
    "<rom name=\"chip.bin\" size=\"4\" crc=\"20\"/></machine>\n"
    "<machine name=\"ng\" romof=\"neogeo\"><description>Ng</description>"
    "<rom name=\"sp-s2.sp1\" merge=\"sp-s2.sp1\" size=\"131072\" crc=\"9036d879\"/>"
    "<rom name=\"sm1.sm1\" merge=\"sm1.sm1\" size=\"4\" crc=\"11\"/><rom name=\"ng.p1\" size=\"4\" crc=\"30\"/></machine>\n"
    "<machine name=\"ng2\" cloneof=\"ng\" romof=\"ng\"><description>Ng2</description>"
    "<rom name=\"sp-s2.sp1\" merge=\"sp-s2.sp1\" size=\"131072\" crc=\"9036d879\"/>"
    "<rom name=\"sm1.sm1\" merge=\"sm1.sm1\" size=\"4\" crc=\"11\"/><rom name=\"ng2.p1\" size=\"4\" crc=\"31\"/></machine>\n"
    "<machine name=\"arc\"><description>Arc</description><rom name=\"arc.p1\" size=\"4\" crc=\"40\"/>"
    "<device_ref name=\"chip\"/></machine>\n"
    "<machine name=\"arc2\" cloneof=\"arc\" romof=\"arc\"><description>Arc2</description>"
    "<rom name=\"arc.p1\" merge=\"arc.p1\" size=\"4\" crc=\"40\"/><rom name=\"arc2.p1\" size=\"4\" crc=\"41\"/>"
    "<device_ref name=\"chip\"/></machine>\n"
    "</mame>\n";

// The zip's member names, one line each in name order.
std::string Members(const TempFolder& dir, const std::string& zip) {
  std::string listing = dir / "members.txt";
  if (std::system(("unzip -Z1 '" + zip + "' | sort > '" + listing + "' 2>/dev/null").c_str()) != 0 ||
      !std::filesystem::exists(zip))
    return "(none)";
  return testing::ReadFile(listing);
}

// The list, and one file of each of its contents in "source".
void WriteListAndSources(const TempFolder& dir) {
  testing::WriteFile(dir / "list.xml", kList);
  int index = 0;
  for (auto [size, crc] : {std::pair{131072, 0x9036d879u}, {4, 0x11u}, {4, 0x20u}, {4, 0x30u}, {4, 0x31u},
                           {4, 0x40u}, {4, 0x41u}})
    testing::WriteFile(dir / ("source/file" + std::to_string(index++)), testing::DataWithCrc(size_t(size), crc));
}

struct LayoutCase {
  const char* setType;
  const char* ng;    // what each set holds after the rebuild
  const char* arc2;
};

TEST(LayoutsAgreeTest, ARebuiltCollectionScansCleanAndSharedRomsStayInTheirSets) {
  TempFolder dir;
  WriteListAndSources(dir);
  const std::string data = " --datfile list.xml --data-folder data --li-errors 0";
  const LayoutCase cases[] = {
      {"non-merged", "ng.p1\n", "arc.p1\narc2.p1\n"},
      {"split", "ng.p1\n", "arc2.p1\n"},
      {"merged", "ng.p1\nng2.p1\n", "(none)"},
      {"full-non-merged", "ng.p1\nsm1.sm1\nsp-s2.sp1\n", "arc.p1\narc2.p1\nchip.bin\n"},
  };
  for (const LayoutCase& c : cases) {
    std::string out = "out-" + std::string(c.setType);
    std::filesystem::create_directories(dir / out);
    CliRun rebuild = RunCli(dir, "rebuild" + data + " --source source --destination " + out + " --set-type " + c.setType);
    ASSERT_EQ(rebuild.status, 0) << c.setType << rebuild.out << rebuild.err;
    EXPECT_EQ(Members(dir, dir / (out + "/ng.zip")), c.ng) << c.setType;
    EXPECT_EQ(Members(dir, dir / (out + "/arc2.zip")), c.arc2) << c.setType;
    EXPECT_EQ(Members(dir, dir / (out + "/chip.zip")), "chip.bin\n") << c.setType;
    CliRun scan = RunCli(dir, "scan" + data + " --rom-path " + out + " --set-type " + c.setType +
                                  " --no-path-warnings --fastscan-file fast.fsc");
    EXPECT_EQ(scan.status, 0) << c.setType << scan.out << scan.err;

    // Without the device's set, MAME misses its ROM in every machine that
    // uses it, unless each machine holds it itself.
    std::filesystem::remove(dir / (out + "/chip.zip"));
    scan = RunCli(dir, "scan" + data + " --rom-path " + out + " --set-type " + c.setType +
                           " --no-path-warnings --fastscan-file fast.fsc");
    size_t missing = 0;
    for (size_t at = scan.out.find("missing rom: chip.bin"); at != std::string::npos;
         at = scan.out.find("missing rom: chip.bin", at + 1))
      ++missing;
    EXPECT_EQ(missing, std::string(c.setType) == "full-non-merged" ? 1u : 3u) << c.setType << scan.out;
  }
  // A device's set stands in only for the device's ROMs; a clone's ROM under
  // another name in its parent's set is misnamed where they share the set
  // and a stray where they do not.
  auto rom = [](uint32_t crc) { return testing::DataWithCrc(4, crc); };
  auto zip = [&](const std::string& set, std::vector<std::pair<std::string, std::string>> members) {
    testing::WriteFile(dir / ("out-full-non-merged/" + set + ".zip"), testing::StoredZip(members));
  };
  zip("chip", {{"chip.bin", rom(0x20)}, {"arc2.p1", rom(0x41)}});
  zip("arc2", {{"arc.p1", rom(0x40)}, {"chip.bin", rom(0x20)}});
  zip("arc", {{"arc.p1", rom(0x40)}, {"chip.bin", rom(0x20)}, {"x.bin", rom(0x41)}});
  for (const char* setType : {"split", "full-non-merged"}) {
    CliRun scan = RunCli(dir, "scan" + data + " --rom-path out-full-non-merged --set-type " + setType +
                                  " --no-path-warnings --fastscan-file fast.fsc");
    EXPECT_NE(scan.out.find("missing rom: arc2.p1"), std::string::npos) << setType << scan.out;
    const std::string stray = dir / "out-full-non-merged/arc/x.bin";
    EXPECT_NE(scan.out.find("unneeded file: " + stray), std::string::npos) << setType << scan.out;
    EXPECT_EQ(scan.out.find("wrong name: " + stray) != std::string::npos, std::string(setType) == "split") << setType;
  }
}

// The merger follows the same rule: "unmerge --full" copies the BIOS and
// device ROMs into every set, "unmerge" with a clean set takes them out
// again, and each scans clean in its layout.
TEST(LayoutsAgreeTest, UnmergingFullCopiesBiosAndDeviceRomsIntoEverySet) {
  TempFolder dir;
  WriteListAndSources(dir);
  std::filesystem::create_directories(dir / "roms");
  const std::string data = " --datfile list.xml --data-folder data --li-errors 0";
  const std::string paths = " --rom-path roms --backup-folder backup --temp-folder temp";
  std::filesystem::create_directories(dir / "backup");
  std::filesystem::create_directories(dir / "temp");
  ASSERT_EQ(RunCli(dir, "rebuild" + data + " --source source --destination roms --set-type split").status, 0);
  const char* steps[][3] = {{"unmerge --full", "full-non-merged", "arc.p1\narc2.p1\nchip.bin\n"},
                            {"unmerge --clean-set", "non-merged", "arc.p1\narc2.p1\n"}};
  for (auto [command, setType, arc2] : steps) {
    CliRun merge = RunCli(dir, std::string(command) + data + paths);
    EXPECT_EQ(merge.status, 0) << command << merge.out << merge.err;
    EXPECT_EQ(Members(dir, dir / "roms/arc2.zip"), arc2) << command;
    EXPECT_EQ(Members(dir, dir / "roms/chip.zip"), "chip.bin\n") << command;
    CliRun scan = RunCli(dir, "scan" + data + paths + " --set-type " + setType + " --no-path-warnings --fastscan-file f");
    EXPECT_EQ(scan.status, 0) << command << scan.out << scan.err;
  }
}

}  // namespace
}  // namespace kestrel
