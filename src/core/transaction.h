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

// Lines as a file's bytes: each line followed by CR LF.
std::string LinesToBytes(const std::vector<std::string>& lines);

}  // namespace vantrel
