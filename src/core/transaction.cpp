#include "core/transaction.h"

#include <cstdio>
#include <random>
#include <system_error>

#include "core/error.h"
#include "core/os_file.h"
#include "core/record_file.h"

namespace vantrel {
namespace {

std::filesystem::path TempNameBeside(const std::filesystem::path& target) {
  static std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<unsigned> digits(0, 0xFFFFFF);
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".%06x.tmp", digits(generator));
  auto temp = target;
  temp += suffix;
  return temp;
}

}  // namespace

UnflushedWrites::UnflushedWrites() { os::HoldSyncs(); }
UnflushedWrites::~UnflushedWrites() { os::ReleaseSyncs(); }

void FlushFileSystem() { os::FlushFileSystem(); }

FileTransaction::~FileTransaction() {
  for (const auto& staged : m_staged) os::DiscardFile(staged.temp);
}

void FileTransaction::Stage(const std::filesystem::path& target, const std::string& bytes) {
  const auto resolved = ResolvePath(target);
  for (int attempt = 0;; ++attempt) {
    const auto temp = TempNameBeside(resolved);
    const std::error_code error = os::WriteNewFileDurably(temp, bytes);
    if (!error) {
      m_staged.push_back({temp, resolved});
      return;
    }
    // Another file of that name, by chance: it is not ours to remove.
    if (error == std::errc::file_exists && attempt < 3) continue;
    if (error != std::errc::file_exists) os::DiscardFile(temp);
    throw CannotCreateFile(target);
  }
}

void FileTransaction::Commit() {
  for (std::size_t i = 0; i < m_staged.size(); ++i) {
    if (os::RenameOver(m_staged[i].temp, m_staged[i].target)) {
      const auto failed = m_staged[i].target;
      m_staged.erase(m_staged.begin(), m_staged.begin() + static_cast<long>(i));
      throw CannotCreateFile(failed);
    }
  }
  m_staged.clear();
}

std::string LinesToBytes(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string bytes;
  bytes.reserve(size);
  for (const auto& line : lines) {
    bytes += line;
    bytes += "\r\n";
  }
  return bytes;
}

}  // namespace vantrel
