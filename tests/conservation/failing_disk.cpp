#include "conservation/failing_disk.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace kestrel::testing {
namespace {

bool armed = false;
DiskFault armedFault = DiskFault::kNone;
int failingChange = 0;
int changesSeen = 0;
int failingZipWrite = 0;
int zipWritesSeen = 0;

}  // namespace

void ArmFailingDisk(DiskFault fault, int nth) {
  armed = true;
  armedFault = fault;
  failingChange = nth;
  changesSeen = 0;
}

void DisarmFailingDisk() { armed = false; }

int DiskChangesSeen() { return changesSeen; }

bool FailingZipUpdate(ZipLibrary& library, const std::string& archivePath, const ZipChanges& changes) {
  if (++zipWritesSeen == failingZipWrite) return false;
  return ZipUpdate(library, archivePath, changes);
}

void ArmFailingZipWriter(int nth) {
  failingZipWrite = nth;
  zipWritesSeen = 0;
}

int ZipWritesSeen() { return zipWritesSeen; }

// Counts a change and answers whether it is to fail.
static bool ChangeFails() {
  if (!armed) return false;
  ++changesSeen;
  bool fails = armedFault == DiskFault::kNone ? false
               : armedFault == DiskFault::kOneChange ? changesSeen == failingChange : changesSeen >= failingChange;
  if (fails) errno = EIO;
  return fails;
}

template <typename Function>
static Function RealCall(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace kestrel::testing

using kestrel::testing::ChangeFails;
using kestrel::testing::RealCall;

extern "C" {

int rename(const char* from, const char* to) noexcept {
  static auto real = RealCall<int (*)(const char*, const char*)>("rename");
  return ChangeFails() ? -1 : real(from, to);
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) noexcept {
  static auto real = RealCall<int (*)(int, const char*, int, const char*)>("renameat");
  return ChangeFails() ? -1 : real(fromFolder, from, toFolder, to);
}

int unlink(const char* path) noexcept {
  static auto real = RealCall<int (*)(const char*)>("unlink");
  return ChangeFails() ? -1 : real(path);
}

int unlinkat(int folder, const char* path, int flags) noexcept {
  static auto real = RealCall<int (*)(int, const char*, int)>("unlinkat");
  return ChangeFails() ? -1 : real(folder, path, flags);
}

int rmdir(const char* path) noexcept {
  static auto real = RealCall<int (*)(const char*)>("rmdir");
  return ChangeFails() ? -1 : real(path);
}

int remove(const char* path) noexcept {
  static auto real = RealCall<int (*)(const char*)>("remove");
  return ChangeFails() ? -1 : real(path);
}

}  // extern "C"
