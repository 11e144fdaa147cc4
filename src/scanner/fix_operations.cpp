#include "scanner/fix_operations.h"

namespace kestrel {

bool FixSetCase(ScanContext&, GameSet&, const std::string&, const std::string&) { return false; }

bool FixRomCase(ScanContext&, GameSet&, RomEntry&, const std::string&, const std::string&,
                ZipEntryList&) {
  return false;
}

bool FixSampleCase(ScanContext&, GameSet&, SampleEntry&, const std::string&, const std::string&,
                   ZipEntryList&) {
  return false;
}

void RenameWrongNamedRoms(ScanContext&, GameSet&) {}

bool ResizeRom(ScanContext&, GameSet&, RomEntry&, const std::string&, bool, ZipEntryList&) {
  return false;
}

void RemoveUnneededEntries(ScanContext&, GameSet&) {}

bool AddMissingRom(ScanContext&, GameSet&, RomEntry&) { return true; }

}  // namespace kestrel
