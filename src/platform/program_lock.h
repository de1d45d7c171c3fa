#pragma once

#include <QLockFile>
#include <filesystem>
#include <memory>

#include "core/folder_lock.h"

namespace vantrel::platform {

// The hold of a program folder through QLockFile on "Vantrel.lock" in it. The lock file
// names the holder's process; while that process runs the file cannot be taken, once it has
// ended (even killed) the next program takes the lock over.
class ProgramLock : public FolderHold {
 public:
  enum class State {
    kHeld,         // this process holds the folder
    kBusy,         // another running program holds it
    kUnavailable,  // no lock file can be made there (the folder is missing or read-only)
  };

  explicit ProgramLock(const std::filesystem::path& programFolder);
  ~ProgramLock() override;
  ProgramLock(const ProgramLock&) = delete;
  ProgramLock& operator=(const ProgramLock&) = delete;

  State state() const { return m_state; }

 private:
  QLockFile m_file;
  State m_state;
};

// The FolderLocker of the program and its tools: a ProgramLock, or nullptr while another
// program holds the folder.
std::unique_ptr<FolderHold> HoldProgramFolder(const std::filesystem::path& programFolder);

}  // namespace vantrel::platform
