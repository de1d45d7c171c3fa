#include "core/transaction.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <system_error>

#include "core/error.h"
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

int g_unflushed = 0;  // live UnflushedWrites

// Writes bytes to a new file and flushes them to the disk (unless UnflushedWrites says not
// to); false on any failure.
bool WriteDurably(const std::filesystem::path& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  std::size_t done = 0;
  bool ok = true;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) {
      ok = false;
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  if (ok && g_unflushed == 0 && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  return ok;
}

}  // namespace

UnflushedWrites::UnflushedWrites() { ++g_unflushed; }
UnflushedWrites::~UnflushedWrites() { --g_unflushed; }

void FlushFileSystem() {
#ifndef _WIN32
  ::sync();
#endif
}

FileTransaction::~FileTransaction() {
  std::error_code ignored;
  for (const auto& staged : m_staged) std::filesystem::remove(staged.temp, ignored);
}

void FileTransaction::Stage(const std::filesystem::path& target, const std::string& bytes) {
  const auto resolved = ResolvePath(target);
  const auto temp = TempNameBeside(resolved);
  if (!WriteDurably(temp, bytes)) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    throw CannotCreateFile(target);
  }
  m_staged.push_back({temp, resolved});
}

void FileTransaction::Commit() {
  for (std::size_t i = 0; i < m_staged.size(); ++i) {
    std::error_code error;
    std::filesystem::rename(m_staged[i].temp, m_staged[i].target, error);
    if (error) {
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
