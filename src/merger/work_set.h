// A new set being assembled: its work folder and, for every file it is to
// hold, the places the file was found in.
//
// Collecting notes where each file lies; the data move only when the set
// is finished, so zip members can go into a new zip unchanged and nothing
// is copied twice.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "archive/zip_entry.h"
#include "gamedb/game_set.h"
#include "merger/merge_run.h"
#include "merger/set_content.h"

namespace kestrel {

// One place a file was found.
struct FileSource {
  std::string looseFile;  // a loose file as the file system spells it; "" for a zip member
  ZipEntry member;        // the zip member, when looseFile is ""
};

// One file of the new set. The last source found is the one used; the
// earlier ones stand in when it cannot be extracted. Sources whose content
// is known to differ from the ROM's come first, so that a same-named file of
// another content (a clone's own version, a bad dump) is used only when no
// right one was found.
struct CollectedFile {
  std::string name;  // as first collected; later finds of the name without case add sources
  std::vector<FileSource> sources;
};

struct WorkSet {
  std::string setName;
  std::string folder;      // the destination folder
  std::string setPath;     // folder + set name
  std::string workFolder;  // setPath + ".kpw/"
  // The layout gives the set none of its game's ROMs, which all live in its
  // BIOS set or its parent's set: with Clean Set its old set goes.
  bool holdsNoRom = false;
  std::vector<CollectedFile> files;
  std::unordered_map<std::string, size_t> fileIndex;  // lowered name -> index in files

  // Filled by FinishSet: what is to replace the old set on commit.
  std::string newArchive;  // the new zip inside the work folder, or ""
  std::string newFolder;   // the folder of new loose files inside the work folder, or ""
  // Filled once built: what the new set holds, read back from the disk.
  ContentSet content;
};

// Creates the work folder of the set `setName` in `folder`. False when it
// cannot be made, typically because a work folder of an interrupted run is
// still there; the family is then left alone.
bool CreateWorkSet(MergeRun& run, const std::string& folder, const std::string& setName, WorkSet& set);

// Looks for the file `sourceName` of the set `sourceSet` in one ROM path
// `romPath`: the loose file, else every member of the set's zip whose file
// name equals it without case (the last such member counts). What is found
// becomes the latest source of the new set's file `fileName` (a BIOS set may
// hold a game's ROM under another name). A file found nowhere is no error.
// `rom`, when given, is the ROM the file is to be; the size and CRC-32 of a
// zip member or a loose file tell whether the source holds it (a clone's own
// ROM often has the name and size of its parent's). A loose file of another
// content leaves the set's zip in the same path to be looked in too.
void CopySetFile(MergeRun& run, const std::string& romPath, const std::string& sourceSet,
                 const std::string& sourceName, const std::string& fileName, WorkSet& set,
                 const RomEntry* rom = nullptr);

// CopySetFile for every active ROM path in order: the file present in several
// places ends up as the one from the last place that has it.
void CollectFile(MergeRun& run, const std::string& sourceSet, const std::string& sourceName,
                 const std::string& fileName, WorkSet& set, const RomEntry* rom = nullptr);

}  // namespace kestrel
