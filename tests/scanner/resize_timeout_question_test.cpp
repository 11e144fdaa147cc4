// A search for the ROM inside an over-long file that outlasts its interval
// asks whether to go on, again after every interval; "No" leaves the file.
#include "scanner/crc_window_search.h"
#include "scanner/scan_fixture.h"

namespace kestrel::testing {
namespace {

class ResizeTimeoutQuestionTest : public RepairFixture {
 protected:
  void ScanAskingAtOnce() {
    ui.messages.clear();
    ScanRequest request;
    request.zipLibrary = &zipLibrary;
    request.dataFolder = root / "program/";
    request.resizeQuestionMilliseconds = 0;
    request.showStatistics = false;
    RunScan(database, scanResults, settings, &ui, results, request);
  }
  Names Titles() const {
    Names titles;
    for (const RecordedMessage& m : ui.messages) titles.push_back(m.title);
    return titles;
  }
};

TEST_F(ResizeTimeoutQuestionTest, NoStopsTheSearchAndYesGoesOn) {
  settings.fixLength = true;
  const std::string rom = PseudoRandom(1 << 20, 1);
  std::string file = PseudoRandom(2 << 20, 2);
  file.replace(file.size() - rom.size() - 1, rom.size(), rom);  // found last
  AddGame("alpha", {{"big.rom", rom}});
  Link();
  WriteFolderSet(romPath, "alpha", {{"big.rom", file}});

  ui.messageAnswers = {kResultYes, kResultNo};
  ScanAskingAtOnce();
  EXPECT_EQ(Titles(), (Names{"Timeout !", "Timeout !", "Fix Failed"}));
  EXPECT_EQ(ui.messages.back().text, "'" + romPath + "alpha/big.rom' was not fixed:\nThe ROM was not found in it !");
  EXPECT_EQ(ReadFile(romPath + "alpha/big.rom"), file);

  ScanAskingAtOnce();  // every question answered Yes
  EXPECT_EQ(ReadFile(romPath + "alpha/big.rom"), rom);
  EXPECT_GE(ui.messages.size(), 2u);
}

// No window of no bytes, nor one longer than the data, is ever found.
TEST(CrcWindowEdgesTest, EmptyAndOverlongWindowsAreNeverFound) {
  const std::string data = PseudoRandom(100, 3);
  const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
  auto on = [] { return true; };
  EXPECT_EQ(FindCrcWindow(bytes, data.size(), 0, 0, on), std::nullopt);
  EXPECT_EQ(FindCrcWindow(bytes, data.size(), 101, CrcOf(data), on), std::nullopt);
  EXPECT_EQ(FindCrcWindow(bytes, data.size(), 100, CrcOf(data), on), std::optional<size_t>(0));
}

}  // namespace
}  // namespace kestrel::testing
