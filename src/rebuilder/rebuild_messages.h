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


// Reasons of the failures a run reports, each after the path concerned.
inline constexpr char kUnreadable[] = "could not be read";
inline constexpr char kDamagedZip[] = "is not a readable zip; it was read as a plain file";
inline constexpr char kDamagedMember[] = "is damaged: its contents do not match its CRC-32";
inline constexpr char kUnsupportedMethod[] = "is compressed with a method Kestrel cannot read";
inline constexpr char kEncrypted[] = "is encrypted";
inline constexpr char kUnpackFailed[] = "could not be read: ";  // followed by the archive library's words
inline constexpr char kReadAsPlainFile[] = "; it was read as a plain file";
inline constexpr char kKeptInArchive[] = "was rebuilt but kept: Kestrel does not rewrite archives of this kind";
inline constexpr char kNotExtracted[] = "could not be extracted into the temporary folder";
inline constexpr char kNotWritten[] = "could not be written";
inline constexpr char kNotPlainName[] = "is no plain file name; it was not written";
inline constexpr char kNotReadBack[] = "did not read back as written";
inline constexpr char kDestinationUnreadable[] = "could not be read; it was left as it is";
inline constexpr char kOtherContentKept[] =
    "holds other contents under that name; they were kept, as no backup of them could be made";
inline constexpr char kOtherDiskKept[] =
    "holds another disk under that name; it was kept, as it could not be moved into the backup folder";
inline constexpr char kNotRespelled[] =
    "is spelled otherwise than the game list spells it and could not be renamed; nothing was written to it";
inline constexpr char kNotRemoved[] = "could not be removed";
inline constexpr char kLeftoverKept[] =
    "is left from an interrupted zip write; it was kept, as it could not be moved to the backup folder";
inline constexpr char kChangedSince[] = "changed or became unreadable during the run; it was kept";

}  // namespace kestrel::rebuild_text
