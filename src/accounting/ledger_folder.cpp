#include "accounting/ledger_folder.h"

#include <system_error>

#include "accounting/accounting_files.h"
#include "core/os_file.h"
#include "core/record_file.h"
#include "core/text_helpers.h"

namespace vantrel::accounting {

namespace fs = std::filesystem;

namespace {

constexpr int kAccountCount = 10000;

const fs::path& NoPath() {
  static const fs::path none;
  return none;
}

// The account number a file name gives: "6110.dbp" in any letter case -> 6110; -1 otherwise.
int LedgerNumberOf(const std::string& fileName) {
  if (fileName.size() != 8) return -1;
  const std::string number = fileName.substr(0, 4);
  if (!IsAccountNumber(number)) return -1;
  if (LowerAscii(fileName.substr(4)) != kLedgerExtension) return -1;
  return std::stoi(number);
}

}  // namespace

LedgerFolder::LedgerFolder(const fs::path& folder) {
  const fs::path resolved = ResolvePath(folder);
  std::vector<bool> exact(kAccountCount, false);
  std::vector<os::FolderEntry> entries;
  os::ListFolder(resolved, entries);
  for (const os::FolderEntry& entry : entries) {
    const std::string name = os::Utf8Of(entry.name);
    const int number = LedgerNumberOf(name);
    if (number < 0) continue;
    if (entry.kind != os::Kind::kFile) continue;
    const fs::path path = resolved / entry.name;
    if (m_paths.empty()) m_paths.resize(kAccountCount);
    fs::path& slot = m_paths[number];
    const bool isExact = name == LedgerFileName(AccountNumberText(number));
    if (slot.empty()) {
      slot = path;
      exact[number] = isExact;
    } else if (!exact[number] && (isExact || entry.name < slot.filename())) {
      // Listing order is arbitrary: keep one choice whatever it is.
      slot = path;
      exact[number] = isExact;
    }
  }
  if (m_paths.empty()) return;
  for (int number = 0; number < kAccountCount; ++number) {
    if (!m_paths[number].empty()) m_numbers.push_back(number);
  }
}

bool LedgerFolder::has(int number) const { return !path(number).empty(); }

const fs::path& LedgerFolder::path(int number) const {
  if (number < 0 || number >= static_cast<int>(m_paths.size())) return NoPath();
  return m_paths[number];
}

std::string LedgerFolder::lastLine(int number) const {
  const fs::path& file = path(number);
  if (file.empty()) return {};
  return LastLineOf(ReadBytes(file));
}

std::string LastLineOf(const std::string& bytes) {
  std::size_t end = bytes.size();
  // The line end after the last line belongs to it: CR LF, a lone LF or a lone CR.
  if (end >= 2 && bytes[end - 2] == '\r' && bytes[end - 1] == '\n') {
    end -= 2;
  } else if (end >= 1 && (bytes[end - 1] == '\n' || bytes[end - 1] == '\r')) {
    end -= 1;
  }
  const std::size_t separator = end == 0 ? std::string::npos : bytes.find_last_of("\r\n", end - 1);
  const std::size_t begin = separator == std::string::npos ? 0 : separator + 1;
  return bytes.substr(begin, end - begin);
}

}  // namespace vantrel::accounting
