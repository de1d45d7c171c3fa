#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace vantrel {

// Several files written as one change. Each Stage() writes a temporary file beside its
// target at once (and throws Error "Impossible de créer le fichier %s" when it cannot);
// Commit() renames them all over their targets. Destroyed without Commit(), it removes its
// temporary files and leaves every target as it was.
class FileTransaction {
 public:
  FileTransaction() = default;
  FileTransaction(const FileTransaction&) = delete;
  FileTransaction& operator=(const FileTransaction&) = delete;
  ~FileTransaction();

  void Stage(const std::filesystem::path& target, const std::string& bytes);
  void Commit();

 private:
  struct Staged {
    std::filesystem::path temp;
    std::filesystem::path target;
  };
  std::vector<Staged> m_staged;
};

// While one lives, Stage() does not flush each file to the disk before it is renamed. Only for
// a program folder made from nothing in one go (the demonstration club): a failure there
// means making it again, and its maker flushes the whole folder once at the end with
// FlushFileSystem(), or throws it away. Not for a club's own files.
class UnflushedWrites {
 public:
  UnflushedWrites();
  ~UnflushedWrites();
  UnflushedWrites(const UnflushedWrites&) = delete;
  UnflushedWrites& operator=(const UnflushedWrites&) = delete;
};

// Writes every file the system still holds in memory to its disk.
void FlushFileSystem();

// Lines as a file's bytes: each line followed by CR LF.
std::string LinesToBytes(const std::vector<std::string>& lines);

}  // namespace vantrel
