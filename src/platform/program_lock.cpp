#include "platform/program_lock.h"

#include <QString>

#include "platform/qt_path.h"

namespace vantrel::platform {

namespace {

QString LockFileName(const std::filesystem::path& programFolder) {
  return PathToQString(programFolder / kFolderLockFileName);
}

}  // namespace

ProgramLock::ProgramLock(const std::filesystem::path& programFolder)
    : m_file(LockFileName(programFolder)) {
  // A live holder keeps its lock file whatever its age (the system's lock on the open file
  // refuses its removal); the file of a holder that has ended is taken over at once.
  if (m_file.tryLock(0)) {
    m_state = State::kHeld;
  } else if (m_file.error() == QLockFile::LockFailedError) {
    m_state = State::kBusy;
  } else {
    m_state = State::kUnavailable;
  }
}

ProgramLock::~ProgramLock() = default;

std::unique_ptr<FolderHold> HoldProgramFolder(const std::filesystem::path& programFolder) {
  auto lock = std::make_unique<ProgramLock>(programFolder);
  if (lock->state() == ProgramLock::State::kBusy) return nullptr;
  return lock;
}

}  // namespace vantrel::platform
