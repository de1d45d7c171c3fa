#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "core/folder_lock.h"

namespace vantrel::utilities {

// The command-line archiver over TBackupFile, for scheduled backups:
//   vantrel-archive list ARCHIVE                 names, sizes and dates, one file a line
//   vantrel-archive create ARCHIVE PATTERN...    a pattern may end with " /s", or be
//                                                followed by the argument "/s"
//   vantrel-archive restore ARCHIVE [FOLDER]     a club restore into FOLDER (default: the
//                                                current folder): only club data is written
//                                                (see RestoreClub), an archive without
//                                                "vantrel.ini" is refused; FOLDER is held
//                                                through locker while the restore runs, and
//                                                the restore refused while the program holds it
// create runs BackupFiles, restore RestoreClub: the routines of the backup screen.
// Arguments and output are UTF-8. Returns the exit status: 0 on success, 1 on failure
// (a French message on err), 2 for a wrong command line.
int RunArchiveTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                   const FolderLocker& locker = {});

}  // namespace vantrel::utilities
