// The folders each tool needs before it starts, checked in one place: the
// working folders are set, the folders a tool reads and writes can be
// listed, and a tool's destination is neither its source nor, when the
// source is read with its subfolders, inside it.
//
// Nothing here talks to the user: a check returns the first fault it finds
// and the folder concerned, and the tool tells the user in its own words.
#pragma once

#include <optional>
#include <string>

#include "settings/settings_record.h"

namespace kestrel {

enum class FolderFault {
  kNone,
  kNoTempFolder,      // the temporary folder is not set
  kNoBackupFolder,    // backups are on, and no backup folder is set
  kNoRomPaths,        // no ROM path is enabled
  kCantAccess,        // `path` cannot be listed
  kFoldersOverlap,    // the destination is the source, or inside it while the source is read recursively
};

struct FolderCheck {
  FolderFault fault = FolderFault::kNone;
  std::string path;  // the folder at fault, as the settings spell it; "" for an unset one

  bool ok() const { return fault == FolderFault::kNone; }
};

// Whether `settings` lack the working folder a fault names: the temporary
// folder (kNoTempFolder), or the backup folder while backups are on
// (kNoBackupFolder). False for every other fault.
bool LacksWorkingFolder(const SettingsRecord& settings, FolderFault fault);

// The scanner: a temporary folder, and a backup folder while backups are on.
FolderCheck CheckScannerFolders(const SettingsRecord& settings);

// The rebuilder: a source and a destination that can be listed and do not
// overlap.
FolderCheck CheckRebuilderFolders(const SettingsRecord& settings);

// The merger: an enabled ROM path, and with the placement into one
// destination folder that folder.
FolderCheck CheckMergerFolders(const SettingsRecord& settings);

// The words for a missing working folder, as the tools' start shows them:
// "No Valid Temporaryfolder" or "No Valid Backupfolder"; "" for any other
// fault.
std::string WorkingFolderText(FolderFault fault);

// The folder as the file system knows it, links resolved, lowered and with
// a trailing '/', so that two spellings of one folder compare equal;
// nullopt when it cannot be listed.
std::optional<std::string> FolderIdentity(const std::string& folder);

}  // namespace kestrel
