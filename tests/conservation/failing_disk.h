// Faults planted under the tools while they run: a disk whose changes
// (renames and removals, the steps that commit or delete anything) fail
// from a chosen one on, and a zip writer that fails its Nth archive.
//
// The disk is this test program's own definitions of the C library's
// rename, unlink and rmdir calls (and their *at forms); every part of the
// program, the zip library included, reaches the real ones through them.
#pragma once

#include <string>

#include "archive/zip_library.h"

namespace kestrel::testing {

enum class DiskFault {
  kNone,             // changes are counted, none fails
  kOneChange,        // the Nth change fails, later ones work: a passing fault
  kEveryChangeFrom,  // the Nth change and all after it fail: the disk is gone
};

// `nth` counts from 1 over the changes made after arming; DiskChangesSeen
// counts them, failed ones included, until disarmed.
void ArmFailingDisk(DiskFault fault, int nth);
void DisarmFailingDisk();
int DiskChangesSeen();

// ZipUpdate, except that the Nth call since ArmFailingZipWriter (0: none)
// fails without touching the archive.
bool FailingZipUpdate(ZipLibrary& library, const std::string& archivePath, const ZipChanges& changes);
void ArmFailingZipWriter(int nth);
int ZipWritesSeen();

}  // namespace kestrel::testing
