#pragma once

#include <filesystem>
#include <functional>
#include <memory>

namespace vantrel {

// One program at a time on a program folder. Two programs on one folder would each keep
// their own copies of the files and the last save would win, losing the other's work: the
// program, the commands of vantrel-cli that write and the restore of vantrel-archive each
// hold the folder while they run, through the lock file "Vantrel.lock" in it.
inline constexpr char kFolderLockFileName[] = "Vantrel.lock";
// Told to whoever finds the folder held (Windows-1252).
inline constexpr char kFolderInUseText[] = "Vantrel est d\xe9j\xe0 ouvert sur ce dossier.";

// A hold on a program folder: the folder stays held while the object lives.
class FolderHold {
 public:
  virtual ~FolderHold() = default;
};

// The seam that takes a folder's hold; the domain sees it only through this type (the lock
// itself is Qt's, platform/program_lock.h). Returns nullptr when another running program
// holds programFolder. The lock of a run that ended without releasing it (a crash, a kill)
// is taken over. A folder where no lock file can be made (read-only media) is not refused:
// the hold then holds nothing.
using FolderLocker =
    std::function<std::unique_ptr<FolderHold>(const std::filesystem::path& programFolder)>;

}  // namespace vantrel
