#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "core/record_file.h"

namespace vantrel::accounting {

// The ledgers an exercise folder holds, found by listing the folder once: every regular file
// named four digits followed by ".dbp", in any letter case ("6110.dbp", "6110.DBP").
class LedgerFolder {
 public:
  LedgerFolder() = default;
  // A folder that is missing or cannot be listed holds no ledger.
  explicit LedgerFolder(const std::filesystem::path& folder);

  // Account numbers with a ledger, ascending, each once.
  const std::vector<int>& numbers() const { return m_numbers; }
  bool has(int number) const;
  // The ledger file of an account as the folder spells it; empty when it has none. Where
  // several files differ only in letter case, "NNNN.dbp" itself is preferred.
  const std::filesystem::path& path(int number) const;

  // The ledger's last line, "" when the folder has no ledger for the account or the ledger
  // is empty. Throws Error "Impossible d'ouvrir le fichier %s" when it cannot be read.
  std::string lastLine(int number) const;

 private:
  std::vector<int> m_numbers;
  std::vector<std::filesystem::path> m_paths;  // by account number, 0 to 9999
};

// The last line of a file's bytes, read by the record-file rules ("" for an empty file).
std::string LastLineOf(const std::string& bytes);

}  // namespace vantrel::accounting
