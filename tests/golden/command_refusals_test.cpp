// Every command's refusals, each with its exit status and its reason: a
// profile that can't be read, game data that can't be had, working folders
// that are missing or named by an empty field, a logfile that can't be made;
// what a scan makes where no option names the place; what a rebuild or a
// merge could not do; a list's faults silenced.
#include <gtest/gtest.h>

#include <filesystem>

#include "golden/golden_record.h"
#include "settings/profile_file.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using testing::GoldenRecord;
using testing::TempFolder;
using testing::WriteFile;

TEST(CommandRefusalsTest, EveryCommandSaysWhyItDidNotStart) {
  TempFolder dir;
  GoldenRecord record("command_refusals", dir);
  fs::copy_file(testing::SourceDir() + "tests/golden/lists/tools.dat", dir / "list.dat");
  WriteFile(dir / "bad.kpf", "not a profile");
  WriteFile(dir / "nothing.dat", "clrmamepro ( name nothing )\n");
  fs::create_directories(dir / "roms");
  const std::string data = " --data-folder <root>/data --temp-folder <root>/ --backup-folder <root>/backup";
  const std::string rebuild = " --source <root>/roms --destination <root>/out";
  for (const std::string command : {"info", "scan", "fastscan", "rebuild", "merge", "split", "unmerge"}) {
    record.Run(command + " --profile <root>/bad.kpf" + data);
    record.Run(command + " --datfile <root>/nothing.dat --rom-path <root>/roms" + data +
               (command == "rebuild" ? rebuild : ""));
  }
  record.Run("profile save --profile <root>/saved.kpf --datfile <root>/missing.dat --data-folder <root>/data");
  record.Tree("saved.kpf");

  // A temporary folder that isn't there is disabled, and then missing; so is
  // one a profile leaves empty (never the folder the command started in).
  const std::string list = " --datfile <root>/list.dat --rom-path <root>/roms --data-folder <root>/data";
  record.Run("scan" + list + " --temp-folder <root>/nowhere");
  SettingsRecord settings;
  ResetSettings(settings);
  settings.tempFolder = "";
  ASSERT_TRUE(SaveProfile(settings, dir / "empty.kpf", {}, 0));
  record.Run("scan --profile <root>/empty.kpf" + list);
  record.Run("rebuild --profile <root>/empty.kpf" + list + rebuild);

  // A backup folder that isn't there yet is made; the fastscan file named
  // by no option lives with the data caches.
  record.Run("scan" + list + " --temp-folder <root>/ --backup-folder <root>/made");
  record.Run("fastscan" + list + " --temp-folder <root>/ --backup-folder <root>/made");
  record.Tree("fastscan.fsc");
  record.Tree("data/fastscan.fsc");
  EXPECT_TRUE(fs::is_directory(dir / "made"));

  // A rebuild whose logfile can't be made does not start; one that can't
  // read a set in the destination goes on and names it.
  WriteFile(dir / "pool/x", "a game on its own");  // solo's s.1
  WriteFile(dir / "out/solo.zip", "not a zip");
  const std::string pool = " --source <root>/pool --destination <root>/out --temp-folder <root>/";
  record.Run("rebuild" + list + pool + " --log <root>/gone/rebuild.log");
  record.Run("rebuild" + list + pool);
  record.Tree("out");

  // A work folder left over by an interrupted run that can't be cleaned up
  // keeps its family from being merged.
  WriteFile(dir / "roms/par.zip", "not a zip");
  WriteFile(dir / "roms/par.kpw/old.zip", "not a zip either");
  record.Run("merge" + list + " --temp-folder <root>/ --backup-folder <root>/backup");
  record.Tree("roms");

  // "--li-errors 0" silences the list's faults a profile would show.
  fs::copy_file(testing::SourceDir() + "tests/golden/lists/doubles.dat", dir / "doubles.dat");
  settings.displayLiErrors = kShowRomErrors;
  ASSERT_TRUE(SaveProfile(settings, dir / "loud.kpf", {}, 0));
  record.Run("info --profile <root>/loud.kpf --datfile <root>/doubles.dat --data-folder <root>/data --li-errors 0");
  record.Check();
}

}  // namespace
}  // namespace kestrel
