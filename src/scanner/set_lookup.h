// Finding a set and the files inside it. A set is the zip named after it,
// else the 7z named after it, else the folder; zips are read by their
// directory only, 7z sets decoded once (see seven_zip_set.h), and every
// name is found without case, an exact match first.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "archive/zip_entry.h"
#include "archive/zip_reader.h"
#include "platform/folder_index.h"
#include "platform/set_files.h"

namespace kestrel {

struct ScanContext;

struct SetOnDisk;

// Whether the zip or folder found is spelled exactly as the set was asked
// for: the only one MAME, which looks by exact name on Linux, finds.
bool IsSpelledAsAsked(const SetOnDisk& set);

struct SetOnDisk {
  // The set path as the file system spells it (for a zip, without
  // ".zip"; for a 7z, without ".7z"); as asked for when the set is not there.
  std::string path;
  std::string askedPath;  // the set path as asked for: a ROM path and the set's listed name
  bool isZip = false;      // the set's ROMs are archive members, in `entries`: a zip's or a 7z's
  bool isSevenZip = false;  // those members are a 7z's, which Kestrel reads but never writes
  ZipEntryList entries;    // the archive's members; empty for a folder
  // The members' indices by file name lowered, in member order; kept in
  // step with `entries` by IndexMembers.
  std::unordered_map<std::string, std::vector<int>> membersByName;
  // The set's zip when it is there but could not be read (a read error,
  // not a damaged zip), or its 7z when that could not be decoded: the ROMs
  // it would hold are unreadable, not missing.
  std::string unreadableZip;
  bool hasFolder = false;  // a folder of the set's name exists (beside a zip, too)
  std::string folderPath;  // that folder, spelled as on disk
};

// `path` (ending with '/') followed by `setName`, or "" when the name has a
// folder part: a name from a damaged game list must not lead outside the
// path, where a stand-in or a repair could write.
std::string SetPathOf(const std::string& path, const std::string& setName);

// Reads the zip named by `setPath` + ".zip" (or takes it as the context's
// read-ahead read it); when that is no readable zip
// the set is taken to be the folder `setPath`. A zip without members is an
// empty set, as MAME takes it. A damaged zip is told of through the
// context, once per scan; one that cannot be read marks the set unreadable.
SetOnDisk OpenSet(ScanContext& context, const std::string& setPath);

// The archive file of a set whose ROMs are members: `set.path` with ".zip"
// or ".7z".
std::string ArchiveFileOf(const SetOnDisk& set);

// FindSetFiles for the set at `setPath`, or its answer as the context's
// read-ahead had it.
SetFiles LookUpSetFiles(ScanContext& context, const std::string& setPath);

// The zip, 7z or folder of the set at `setPath`, spelled as on disk, in
// that order. `isZip` tells whether a file (a zip or a 7z) was found.
std::optional<std::string> FindSetPath(ScanContext& context, const std::string& setPath, bool* isZip);

// The contents (ContentKey) of the members of the set's zip when it is spelled
// as asked (MAME sees no other); none for a folder.
std::vector<uint64_t> ZipContentsSeenByMame(const SetOnDisk& set);

// Indexes `set.entries` by name; to be called whenever they change.
void IndexMembers(SetOnDisk& set);

// The member whose file name equals `name` without case (an exact match
// preferred); -1 when there is none. Costs the same however many members
// the zip has.
int FindMember(const SetOnDisk& set, std::string_view name);

// The path of the regular file `folder` + '/' + `name`, as the file system
// spells it, when it exists and can be opened for reading.
std::optional<std::string> FindLooseFile(FileSystem& fs, const std::string& folder, std::string_view name);

// Whether the set `path` names (folder, set name, '/', file name) holds the
// file: first as a member of the set's zip, else as a loose file. With
// `checkContents` the CRC-32 and size must match as well. A damaged zip is
// not told of here: the set's own check tells of it.
bool FindFileInSet(FileSystem& fs, FolderIndex& index, ZipHeaderCheck headerCheck, const std::string& path, bool checkContents,
                   uint32_t crc, uint32_t size);

}  // namespace kestrel
