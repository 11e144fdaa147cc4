// The rebuilder's texts, exactly as the user sees them.
#pragma once

namespace kestrel::rebuild_text {

inline constexpr char kProgressTitle[] = "Rebuilding ROMs";
inline constexpr char kRebuilding[] = "Rebuilding:";
inline constexpr char kTo[] = "To:";
inline constexpr char kErrorCaption[] = "Rebuild Error";
inline constexpr char kUnzipError[] = "Error While Unzipping !\n\nDo You Want To Stop Rebuilding Process ?";
inline constexpr char kDiskFull[] = "Disk Is Full !\n\nRebuilding Process Stopped.";
inline constexpr char kZipError[] = "Error While Zipping !\n\nDo You Want To Stop Rebuilding Process ?";
inline constexpr char kCantAccess[] = "Can't Access";
inline constexpr char kPathError[] = "Path Error";
inline constexpr char kFolderConflict[] =
    "Destination- / Sourcefolder conflict !\nThey can't be equal and the destination folder\n"
    "can't be a subfolder of the sourcefolder.";
inline constexpr char kCantLog[] = "Can't log rebuilding-process !";
inline constexpr char kLogfileError[] = "Logfile Error";
inline constexpr char kSkipped[] = " [SKIPPED]";

}  // namespace kestrel::rebuild_text
