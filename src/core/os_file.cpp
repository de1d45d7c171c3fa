#include "core/os_file.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vantrel::os {

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------------------
// Fault injection.

namespace {

constexpr std::size_t kOperations = 4;

struct Faults {
  std::array<std::atomic<int>, kOperations> count{};
  std::array<std::atomic<int>, kOperations> armed{};
};

Faults& TheFaults() {
  static Faults faults;
  return faults;
}

// Counts one call of operation; true when this call must fail.
bool Injected(Operation operation) {
  auto& faults = TheFaults();
  const auto index = static_cast<std::size_t>(operation);
  const int call = ++faults.count[index];
  const int armed = faults.armed[index].load();
  return armed > 0 && call == armed;
}

thread_local std::error_code t_lastError;

// Every failure of the seam passes here on its way out.
std::error_code Noted(std::error_code error) {
  if (error) t_lastError = error;
  return error;
}

std::error_code Generic(std::errc code) { return Noted(std::make_error_code(code)); }

#ifndef _WIN32
std::error_code ErrnoNow() {
  const int code = errno;
  return Noted(std::error_code(code == 0 ? EIO : code, std::generic_category()));
}
#endif

#ifdef _WIN32
// A Windows reason in the generic category when POSIX has the same one.
std::error_code WindowsError(DWORD code) {
  switch (code) {
    case ERROR_SUCCESS:
      return {};
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
      return Generic(std::errc::no_such_file_or_directory);
    case ERROR_ACCESS_DENIED:
    case ERROR_CANNOT_MAKE:
      return Generic(std::errc::permission_denied);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return Generic(std::errc::device_or_resource_busy);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return Generic(std::errc::file_exists);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return Generic(std::errc::no_space_on_device);
    case ERROR_WRITE_PROTECT:
      return Generic(std::errc::read_only_file_system);
    case ERROR_NOT_READY:
    case ERROR_DEV_NOT_EXIST:
      return Generic(std::errc::no_such_device);
    case ERROR_FILENAME_EXCED_RANGE:
      return Generic(std::errc::filename_too_long);
    case ERROR_DIRECTORY:
      return Generic(std::errc::not_a_directory);
    case ERROR_DIR_NOT_EMPTY:
      return Generic(std::errc::directory_not_empty);
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
      return Generic(std::errc::io_error);
    default:
      return Noted(std::error_code(static_cast<int>(code), std::system_category()));
  }
}

std::error_code LastWindowsError() { return WindowsError(GetLastError()); }

HANDLE AsHandle(void* handle) { return static_cast<HANDLE>(handle); }

// Seconds between 1601-01-01 (FILETIME) and 1970-01-01, in 100 ns steps.
constexpr std::int64_t kFileTimeEpoch = 116444736000000000LL;
#endif

}  // namespace

void FaultInjection::Reset() {
  auto& faults = TheFaults();
  for (std::size_t i = 0; i < kOperations; ++i) {
    faults.count[i] = 0;
    faults.armed[i] = 0;
  }
}

void FaultInjection::Arm(Operation operation, int n) {
  TheFaults().armed[static_cast<std::size_t>(operation)] = n;
}

int FaultInjection::Count(Operation operation) {
  return TheFaults().count[static_cast<std::size_t>(operation)].load();
}

std::error_code LastError() { return t_lastError; }

void ClearLastError() { t_lastError.clear(); }

// ---------------------------------------------------------------------------------------
// Path text.

std::string Utf8Of(const fs::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

fs::path PathFromUtf8(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::vector<std::string> ArgumentsUtf8(int argc, char* argv[]) {
#ifdef _WIN32
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide) {
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(Utf8Of(fs::path(std::wstring(wide[i]))));
    LocalFree(wide);
    return arguments;
  }
#endif
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

// ---------------------------------------------------------------------------------------
// WritableFile.

WritableFile::WritableFile(WritableFile&& other) noexcept = default;
WritableFile& WritableFile::operator=(WritableFile&& other) noexcept = default;

WritableFile::~WritableFile() { Close(); }

#ifdef _WIN32

std::error_code WritableFile::Create(const fs::path& path, CreateMode mode, WritableFile& file) {
  file.Close();
  const HANDLE handle =
      CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                  mode == CreateMode::kNew ? CREATE_NEW : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                  nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastWindowsError();
  file.m_handle = handle;
  return {};
}

bool WritableFile::isOpen() const { return m_handle != nullptr; }

std::error_code WritableFile::Append(const void* data, std::size_t size) {
  if (!isOpen()) return Generic(std::errc::bad_file_descriptor);
  if (Injected(Operation::kWrite)) {
    DWORD written = 0;
    WriteFile(AsHandle(m_handle), data, static_cast<DWORD>(size / 2), &written, nullptr);
    return Generic(std::errc::no_space_on_device);
  }
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const DWORD part = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(AsHandle(m_handle), bytes, part, &written, nullptr)) return LastWindowsError();
    if (written == 0) return Generic(std::errc::io_error);
    bytes += written;
    size -= written;
  }
  return {};
}

std::error_code WritableFile::Sync() {
  if (!isOpen()) return Generic(std::errc::bad_file_descriptor);
  if (Injected(Operation::kFlush)) return Generic(std::errc::io_error);
  if (!FlushFileBuffers(AsHandle(m_handle))) return LastWindowsError();
  return {};
}

std::error_code WritableFile::Close() {
  if (!isOpen()) return {};
  const bool ok = CloseHandle(AsHandle(m_handle)) != 0;
  m_handle = nullptr;
  return ok ? std::error_code() : LastWindowsError();
}

#else

std::error_code WritableFile::Create(const fs::path& path, CreateMode mode, WritableFile& file) {
  file.Close();
  const int flags =
      O_WRONLY | O_CREAT | O_CLOEXEC | (mode == CreateMode::kNew ? O_EXCL : O_TRUNC);
  int fd;
  do {
    fd = ::open(path.c_str(), flags, 0644);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return ErrnoNow();
  file.m_fd = fd;
  return {};
}

bool WritableFile::isOpen() const { return m_fd >= 0; }

std::error_code WritableFile::Append(const void* data, std::size_t size) {
  if (!isOpen()) return Generic(std::errc::bad_file_descriptor);
  const char* bytes = static_cast<const char*>(data);
  if (Injected(Operation::kWrite)) {
    [[maybe_unused]] const ssize_t half = ::write(m_fd, bytes, size / 2);
    return Generic(std::errc::no_space_on_device);
  }
  while (size > 0) {
    const ssize_t n = ::write(m_fd, bytes, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return ErrnoNow();
    }
    if (n == 0) return Generic(std::errc::io_error);
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
  return {};
}

std::error_code WritableFile::Sync() {
  if (!isOpen()) return Generic(std::errc::bad_file_descriptor);
  if (Injected(Operation::kFlush)) return Generic(std::errc::io_error);
  if (::fsync(m_fd) != 0) return ErrnoNow();
  return {};
}

std::error_code WritableFile::Close() {
  if (!isOpen()) return {};
  const int result = ::close(m_fd);
  m_fd = -1;
  return result == 0 ? std::error_code() : ErrnoNow();
}

#endif

namespace {
std::atomic<int> g_syncHolds{0};
}  // namespace

void HoldSyncs() { ++g_syncHolds; }
void ReleaseSyncs() { --g_syncHolds; }

void FlushFileSystem() {
#ifndef _WIN32
  ::sync();
#endif
}

std::error_code WriteNewFileDurably(const fs::path& path, const std::string& bytes) {
  WritableFile file;
  if (auto error = WritableFile::Create(path, CreateMode::kNew, file)) return error;
  if (auto error = file.Append(bytes.data(), bytes.size())) return error;
  if (g_syncHolds.load() == 0) {
    if (auto error = file.Sync()) return error;
  }
  return file.Close();
}

std::error_code SyncFile(const fs::path& path) {
#ifdef _WIN32
  const HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastWindowsError();
  std::error_code error;
  if (Injected(Operation::kFlush)) {
    error = Generic(std::errc::io_error);
  } else if (!FlushFileBuffers(handle)) {
    error = LastWindowsError();
  }
  CloseHandle(handle);
  return error;
#else
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return ErrnoNow();
  std::error_code error;
  if (Injected(Operation::kFlush)) {
    error = Generic(std::errc::io_error);
  } else if (::fsync(fd) != 0) {
    error = ErrnoNow();
  }
  ::close(fd);
  return error;
#endif
}

// ---------------------------------------------------------------------------------------
// ReadableFile.

ReadableFile::ReadableFile(ReadableFile&& other) noexcept = default;
ReadableFile& ReadableFile::operator=(ReadableFile&& other) noexcept = default;

ReadableFile::~ReadableFile() { Close(); }

#ifdef _WIN32

std::error_code ReadableFile::Open(const fs::path& path, ReadableFile& file) {
  file.Close();
  const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastWindowsError();
  file.m_handle = handle;
  return {};
}

bool ReadableFile::isOpen() const { return m_handle != nullptr; }

std::error_code ReadableFile::Read(void* data, std::size_t size, std::size_t& read) {
  read = 0;
  if (!isOpen()) return Generic(std::errc::bad_file_descriptor);
  DWORD got = 0;
  const DWORD part = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
  if (!ReadFile(AsHandle(m_handle), data, part, &got, nullptr)) return LastWindowsError();
  read = got;
  return {};
}

void ReadableFile::Close() {
  if (!isOpen()) return;
  CloseHandle(AsHandle(m_handle));
  m_handle = nullptr;
}

#else

std::error_code ReadableFile::Open(const fs::path& path, ReadableFile& file) {
  file.Close();
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return ErrnoNow();
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    return Generic(std::errc::is_a_directory);
  }
  file.m_fd = fd;
  return {};
}

bool ReadableFile::isOpen() const { return m_fd >= 0; }

std::error_code ReadableFile::Read(void* data, std::size_t size, std::size_t& read) {
  read = 0;
  if (!isOpen()) return Generic(std::errc::bad_file_descriptor);
  for (;;) {
    const ssize_t n = ::read(m_fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return ErrnoNow();
    }
    read = static_cast<std::size_t>(n);
    return {};
  }
}

void ReadableFile::Close() {
  if (!isOpen()) return;
  ::close(m_fd);
  m_fd = -1;
}

#endif

std::error_code ReadWholeFile(const fs::path& path, std::string& bytes) {
  bytes.clear();
  ReadableFile file;
  if (auto error = ReadableFile::Open(path, file)) return error;
  std::string result;
  std::uint64_t expected = 0;
  if (!FileSize(path, expected)) result.reserve(static_cast<std::size_t>(expected));
  char buffer[65536];
  for (;;) {
    std::size_t read = 0;
    if (auto error = file.Read(buffer, sizeof buffer, read)) return error;
    if (read == 0) break;
    result.append(buffer, read);
  }
  bytes = std::move(result);
  return {};
}

// ---------------------------------------------------------------------------------------
// Streams.

namespace {
constexpr std::size_t kStreamBuffer = 65536;
}

class FileOutput::Buffer : public std::streambuf {
 public:
  Buffer() : m_data(kStreamBuffer) { setp(m_data.data(), m_data.data() + m_data.size()); }

  bool open(const fs::path& path, CreateMode mode) {
    m_error = WritableFile::Create(path, mode, m_file);
    setp(m_data.data(), m_data.data() + m_data.size());
    return !m_error;
  }
  bool isOpen() const { return m_file.isOpen(); }
  bool writeOut() {
    const std::size_t size = static_cast<std::size_t>(pptr() - pbase());
    setp(m_data.data(), m_data.data() + m_data.size());
    if (m_error) return false;
    if (!m_file.isOpen()) {
      m_error = Generic(std::errc::bad_file_descriptor);
      return false;
    }
    if (size > 0) m_error = m_file.Append(m_data.data(), size);
    return !m_error;
  }
  bool syncToDevice() {
    if (!writeOut()) return false;
    m_error = m_file.Sync();
    return !m_error;
  }
  bool close() {
    if (!m_file.isOpen()) return !m_error;
    const bool written = writeOut();
    const std::error_code closed = m_file.Close();
    if (written && closed) m_error = closed;
    return !m_error;
  }
  std::error_code error() const { return m_error; }

 protected:
  int_type overflow(int_type c) override {
    if (!writeOut()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override { return writeOut() ? 0 : -1; }

 private:
  std::vector<char> m_data;
  WritableFile m_file;
  std::error_code m_error;
};

FileOutput::FileOutput() : std::ostream(nullptr), m_buffer(std::make_unique<Buffer>()) {
  rdbuf(m_buffer.get());
}

FileOutput::~FileOutput() { m_buffer->close(); }

bool FileOutput::open(const fs::path& path, CreateMode mode) {
  m_buffer->close();
  clear();
  if (!m_buffer->open(path, mode)) {
    setstate(std::ios::failbit);
    return false;
  }
  return true;
}

bool FileOutput::is_open() const { return m_buffer->isOpen(); }

bool FileOutput::syncToDevice() {
  if (!m_buffer->syncToDevice()) {
    setstate(std::ios::failbit);
    return false;
  }
  return true;
}

void FileOutput::close() {
  if (!m_buffer->close()) setstate(std::ios::failbit);
}

std::error_code FileOutput::error() const { return m_buffer->error(); }

namespace {
// Thrown from inside the read buffer: the stream catches it and sets badbit.
struct ReadFailure {};
}  // namespace

class FileInput::Buffer : public std::streambuf {
 public:
  Buffer() : m_data(kStreamBuffer) { setg(m_data.data(), m_data.data(), m_data.data()); }

  bool open(const fs::path& path) {
    m_error = ReadableFile::Open(path, m_file);
    setg(m_data.data(), m_data.data(), m_data.data());
    return !m_error;
  }
  bool isOpen() const { return m_file.isOpen(); }
  void close() {
    m_file.Close();
    setg(m_data.data(), m_data.data(), m_data.data());
  }
  std::error_code error() const { return m_error; }

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    if (!m_file.isOpen()) return traits_type::eof();
    std::size_t read = 0;
    m_error = m_file.Read(m_data.data(), m_data.size(), read);
    if (m_error) throw ReadFailure{};
    if (read == 0) return traits_type::eof();
    setg(m_data.data(), m_data.data(), m_data.data() + read);
    return traits_type::to_int_type(*gptr());
  }

 private:
  std::vector<char> m_data;
  ReadableFile m_file;
  std::error_code m_error;
};

FileInput::FileInput() : std::istream(nullptr), m_buffer(std::make_unique<Buffer>()) {
  rdbuf(m_buffer.get());
}

FileInput::FileInput(const fs::path& path) : FileInput() { open(path); }

FileInput::~FileInput() = default;

bool FileInput::open(const fs::path& path) {
  clear();
  if (!m_buffer->open(path)) {
    setstate(std::ios::failbit);
    return false;
  }
  return true;
}

bool FileInput::is_open() const { return m_buffer->isOpen(); }

void FileInput::close() { m_buffer->close(); }

std::error_code FileInput::error() const { return m_buffer->error(); }

// ---------------------------------------------------------------------------------------
// Names in folders.

std::error_code RenameOver(const fs::path& from, const fs::path& to) {
  if (Injected(Operation::kRename)) return Generic(std::errc::permission_denied);
#ifdef _WIN32
  if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD code = GetLastError();
    // Windows refuses a folder in the way as "access denied"; say what it is.
    if (code == ERROR_ACCESS_DENIED && IsFolder(to)) return Generic(std::errc::is_a_directory);
    return WindowsError(code);
  }
  return {};
#else
  if (::rename(from.c_str(), to.c_str()) != 0) return ErrnoNow();
  const fs::path folder = to.has_parent_path() ? to.parent_path() : fs::path(".");
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
  return {};
#endif
}

std::error_code RemoveFile(const fs::path& path) {
  if (Injected(Operation::kRemove)) return Generic(std::errc::permission_denied);
#ifdef _WIN32
  if (!DeleteFileW(path.c_str())) return LastWindowsError();
#else
  if (::unlink(path.c_str()) != 0) return ErrnoNow();
#endif
  return {};
}

std::error_code DiscardFile(const fs::path& path) {
  std::error_code error;
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    error = RemoveFile(path);
    if (!error || error == std::errc::no_such_file_or_directory) return {};
  }
  return error;
}

std::error_code RemoveEmptyFolder(const fs::path& path) {
  if (Injected(Operation::kRemove)) return Generic(std::errc::permission_denied);
#ifdef _WIN32
  if (!RemoveDirectoryW(path.c_str())) return LastWindowsError();
#else
  if (::rmdir(path.c_str()) != 0) return ErrnoNow();
#endif
  return {};
}

std::error_code CreateFolders(const fs::path& path) {
  std::error_code error;
  fs::create_directories(path, error);
  if (error) return Noted(error);
  if (!IsFolder(path)) return Generic(std::errc::not_a_directory);
  return {};
}

Kind KindOf(const fs::path& path) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error || !fs::exists(status)) return Kind::kMissing;
  if (fs::is_regular_file(status)) return Kind::kFile;
  if (fs::is_directory(status)) return Kind::kFolder;
  return Kind::kOther;
}

std::error_code FileSize(const fs::path& path, std::uint64_t& size) {
  std::error_code error;
  const auto bytes = fs::file_size(path, error);
  if (error) return Noted(error);
  size = bytes;
  return {};
}

std::error_code ListFolder(const fs::path& folder, std::vector<FolderEntry>& entries) {
  entries.clear();
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) return Noted(error);
  for (const fs::directory_iterator end; it != end; it.increment(error)) {
    if (error) return Noted(error);
    FolderEntry entry;
    entry.name = it->path().filename();
    std::error_code ignored;
    const fs::file_status status = it->status(ignored);
    entry.kind = fs::is_regular_file(status) ? Kind::kFile
                 : fs::is_directory(status)  ? Kind::kFolder
                 : fs::exists(status)        ? Kind::kOther
                                             : Kind::kMissing;
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(it->path().c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      entry.link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
      entry.hidden = (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
      entry.readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    }
#else
    entry.link = it->is_symlink(ignored);
    const std::string name = entry.name.native();
    entry.hidden = !name.empty() && name[0] == '.';
    entry.readOnly = (status.permissions() & fs::perms::owner_write) == fs::perms::none;
#endif
    entries.push_back(std::move(entry));
  }
  return Noted(error);
}

std::error_code TempFolder(fs::path& folder) {
  std::error_code error;
  fs::path found = fs::temp_directory_path(error);
  if (error) return Noted(error);
  folder = std::move(found);
  return {};
}

// ---------------------------------------------------------------------------------------
// Times and attributes.

#ifdef _WIN32

std::error_code LastWriteTime(const fs::path& path, std::time_t& seconds) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return LastWindowsError();
  const std::int64_t ticks = (std::int64_t(data.ftLastWriteTime.dwHighDateTime) << 32) |
                             std::int64_t(data.ftLastWriteTime.dwLowDateTime);
  seconds = static_cast<std::time_t>((ticks - kFileTimeEpoch) / 10000000);
  return {};
}

std::error_code SetLastWriteTime(const fs::path& path, std::time_t seconds) {
  const HANDLE handle =
      CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return LastWindowsError();
  const std::int64_t ticks = std::int64_t(seconds) * 10000000 + kFileTimeEpoch;
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(ticks & 0xffffffff);
  time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  const bool ok = SetFileTime(handle, nullptr, nullptr, &time) != 0;
  const std::error_code error = ok ? std::error_code() : LastWindowsError();
  CloseHandle(handle);
  return error;
}

bool HasArchiveAttribute(const fs::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_ARCHIVE) != 0;
}

std::error_code ClearArchiveAttribute(const fs::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return LastWindowsError();
  if (!SetFileAttributesW(path.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_ARCHIVE))) {
    return LastWindowsError();
  }
  return {};
}

DriveKind DriveKindOfRoot(const fs::path& root) {
  switch (GetDriveTypeW(root.c_str())) {
    case DRIVE_REMOVABLE:
      return DriveKind::kRemovable;
    case DRIVE_FIXED:
      return DriveKind::kFixed;
    case DRIVE_REMOTE:
      return DriveKind::kRemote;
    case DRIVE_CDROM:
      return DriveKind::kCdRom;
    case DRIVE_RAMDISK:
      return DriveKind::kRamDisk;
    default:
      return DriveKind::kUnknown;
  }
}

#else

std::error_code LastWriteTime(const fs::path& path, std::time_t& seconds) {
  std::error_code error;
  const auto written = fs::last_write_time(path, error);
  if (error) return Noted(error);
  const auto system = std::chrono::file_clock::to_sys(written);
  seconds = std::chrono::system_clock::to_time_t(
      std::chrono::time_point_cast<std::chrono::seconds>(system));
  return {};
}

std::error_code SetLastWriteTime(const fs::path& path, std::time_t seconds) {
  std::error_code error;
  fs::last_write_time(
      path, std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(seconds)),
      error);
  return Noted(error);
}

bool HasArchiveAttribute(const fs::path&) { return true; }

std::error_code ClearArchiveAttribute(const fs::path&) { return {}; }

DriveKind DriveKindOfRoot(const fs::path&) { return DriveKind::kUnknown; }

#endif

DriveKind DriveKindOfMount(const std::string& fileSystemType, const std::string& device,
                           const std::string& root) {
  std::string fsType = fileSystemType;
  for (char& c : fsType) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  const auto startsWith = [](const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
  };
  if (fsType == "tmpfs" || fsType == "ramfs") {
    // The system's own tmpfs mounts are no place for a backup.
    if (root == "/run" || startsWith(root, "/run/") || root == "/dev" ||
        startsWith(root, "/dev/") || startsWith(root, "/sys") || startsWith(root, "/proc")) {
      if (!startsWith(root, "/run/media")) return DriveKind::kUnknown;
    }
    return DriveKind::kRamDisk;
  }
  // Read-only package images (snaps) are no drive.
  if (fsType == "squashfs") return DriveKind::kUnknown;
  if (fsType == "iso9660" || fsType == "udf") return DriveKind::kCdRom;
  if (fsType == "nfs" || fsType == "nfs4" || fsType == "cifs" || fsType == "smbfs" ||
      fsType == "smb3" || startsWith(fsType, "fuse.sshfs") || fsType == "9p") {
    return DriveKind::kRemote;
  }
  if (startsWith(root, "/media/") || startsWith(root, "/run/media/") || startsWith(root, "/mnt/")) {
    return DriveKind::kRemovable;
  }
  if (fsType == "vfat" || fsType == "exfat" || fsType == "ntfs" || fsType == "ntfs3" ||
      fsType == "fuseblk") {
    return startsWith(device, "/dev/") ? DriveKind::kRemovable : DriveKind::kFixed;
  }
  if (startsWith(device, "/dev/") || fsType == "overlay" || fsType == "ext4" || fsType == "xfs" ||
      fsType == "btrfs") {
    return DriveKind::kFixed;
  }
  return DriveKind::kUnknown;
}

}  // namespace vantrel::os
