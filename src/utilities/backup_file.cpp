#include "utilities/backup_file.h"

#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <memory>
#include <random>
#include <unordered_set>

#include "core/cp1252.h"
#include "core/os_file.h"
#include "core/record_file.h"
#include "core/settings.h"
#include "core/text_helpers.h"

namespace vantrel::utilities {

namespace fs = std::filesystem;

namespace {

constexpr char kSignature[4] = {'E', 'C', '2', '\0'};
// Room kept below MaxSize for the end of a section and the volume-change record.
constexpr std::int64_t kVolumeMargin = 16384 + 100;

void PutInt32(unsigned char* bytes, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  bytes[0] = static_cast<unsigned char>(v);
  bytes[1] = static_cast<unsigned char>(v >> 8);
  bytes[2] = static_cast<unsigned char>(v >> 16);
  bytes[3] = static_cast<unsigned char>(v >> 24);
}

std::int32_t GetInt32(const unsigned char* bytes) {
  const std::uint32_t v = std::uint32_t(bytes[0]) | (std::uint32_t(bytes[1]) << 8) |
                          (std::uint32_t(bytes[2]) << 16) | (std::uint32_t(bytes[3]) << 24);
  return static_cast<std::int32_t>(v);
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The system's reason for the failure that just happened, when it gave one.
std::error_code SystemErrorNow() {
  if (const std::error_code seam = os::LastError()) return seam;
  const int code = errno;
  return code == 0 ? std::error_code() : std::error_code(code, std::generic_category());
}

// A name for a file being written beside its target, renamed over it once complete.
std::string RandomSuffix() {
  static std::mt19937 generator{std::random_device{}()};
  std::uniform_int_distribution<unsigned> digits(0, 0xFFFFFF);
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, ".%06x.tmp", digits(generator));
  return suffix;
}

fs::path PartialNameBeside(const fs::path& target) {
  fs::path partial = target;
  partial += RandomSuffix();
  return partial;
}

// Makes a closed file's data durable before it is renamed over an older one.
bool SyncFile(const fs::path& file) { return !os::SyncFile(file); }

// Removes a partly written file unless it was renamed into place (path cleared).
struct PartialFile {
  fs::path path;
  PartialFile() = default;
  PartialFile(const PartialFile&) = delete;
  PartialFile& operator=(const PartialFile&) = delete;
  ~PartialFile() {
    if (!path.empty()) os::DiscardFile(path);
  }
};

std::string NativeText(const fs::path& path) { return PathToText(path); }

// Volume n >= 2 of an archive: its extension replaced by "." and the last three digits of n.
fs::path VolumePath(const fs::path& archive, int volume) {
  char digits[8];
  std::snprintf(digits, sizeof digits, ".%03d", volume % 1000);
  fs::path result = archive;
  result.replace_extension(digits);
  return result;
}

bool HasArchiveAttribute(const fs::path& file) { return os::HasArchiveAttribute(file); }

void ClearArchiveAttribute(const fs::path& file) { os::ClearArchiveAttribute(file); }

// A zlib stream reused chunk after chunk; a reset stream compresses exactly as a fresh one.
class Deflater {
 public:
  explicit Deflater(int level) {
    m_ok = deflateInit2_(&m_stream, level, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY, ZLIB_VERSION,
                         static_cast<int>(sizeof(z_stream))) == Z_OK;
  }
  ~Deflater() {
    if (m_ok) deflateEnd(&m_stream);
  }
  bool ok() const { return m_ok; }
  z_stream& stream() { return m_stream; }

 private:
  z_stream m_stream{};
  bool m_ok = false;
};

class Inflater {
 public:
  Inflater() {
    m_ok = inflateInit_(&m_stream, ZLIB_VERSION, static_cast<int>(sizeof(z_stream))) == Z_OK;
  }
  ~Inflater() {
    if (m_ok) inflateEnd(&m_stream);
  }
  bool ok() const { return m_ok; }
  z_stream& stream() { return m_stream; }

 private:
  z_stream m_stream{};
  bool m_ok = false;
};

}  // namespace

// ---------------------------------------------------------------------------------------
// Archive channels: a file of our own or the caller's stream.

class TBackupFile::Output {
 public:
  explicit Output(std::iostream* stream) : m_out(stream) {}

  bool open(const fs::path& path) {
    m_file = std::make_unique<os::FileOutput>();
    m_file->open(path);
    m_out = m_file.get();
    m_position = 0;
    return m_file->is_open();
  }
  bool close() {
    if (!m_file) return m_out->flush().good();
    m_file->close();
    const bool ok = !m_file->fail();
    m_file.reset();
    return ok;
  }
  bool write(const void* data, std::size_t size) {
    m_out->write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    m_position += static_cast<std::int64_t>(size);
    return m_out->good();
  }
  bool writeInt32(std::int32_t value) {
    unsigned char bytes[4];
    PutInt32(bytes, value);
    return write(bytes, 4);
  }
  bool writeText(const std::string& text) {
    return writeInt32(static_cast<std::int32_t>(text.size())) && write(text.data(), text.size());
  }
  std::int64_t position() const { return m_position; }
  bool isStream() const { return m_file == nullptr; }

 private:
  std::unique_ptr<os::FileOutput> m_file;
  std::ostream* m_out = nullptr;
  std::int64_t m_position = 0;
};

class TBackupFile::Input {
 public:
  explicit Input(std::iostream* stream) : m_in(stream) {}

  bool open(const fs::path& path) {
    m_file = std::make_unique<os::FileInput>(path);
    m_in = m_file.get();
    return m_file->is_open();
  }
  void close() { m_file.reset(); }
  bool read(void* data, std::size_t size) {
    if (!m_in) return false;
    m_in->read(static_cast<char*>(data), static_cast<std::streamsize>(size));
    return static_cast<std::size_t>(m_in->gcount()) == size;
  }
  bool readInt32(std::int32_t& value) {
    unsigned char bytes[4];
    if (!read(bytes, 4)) return false;
    value = GetInt32(bytes);
    return true;
  }
  bool isStream() const { return m_file == nullptr; }

 private:
  std::unique_ptr<os::FileInput> m_file;
  std::istream* m_in = nullptr;
};

// ---------------------------------------------------------------------------------------

std::string ErrorText(BackupError code) {
  switch (code) {
    case BackupError::kNone:
      return "";
    case BackupError::kCannotReadFile:
      return "Cannot read file";
    case BackupError::kCannotReadArchive:
      return "Cannot read archive";
    case BackupError::kCannotWriteArchive:
      return "Cannot write to archive";
    case BackupError::kInvalidArchiveType:
      return "Invalid archive type";
    case BackupError::kCompressionError:
      return "Compression error";
    case BackupError::kCannotCreateFileIdList:
      return "Cannot create temporary file to save the file IDs";
  }
  return "";
}

ArchiveError::ArchiveError(BackupError code) : Error(ErrorText(code)), m_code(code) {}

std::uint32_t PackDateTime(int year, int month, int day, int hour, int minute, int second) {
  if (year < 1980) return PackDateTime(1980, 1, 1, 0, 0, 0);
  if (year > 2107) return PackDateTime(2107, 12, 31, 23, 59, 58);
  const std::uint32_t date =
      (std::uint32_t(year - 1980) << 9) | (std::uint32_t(month) << 5) | std::uint32_t(day);
  const std::uint32_t time =
      (std::uint32_t(hour) << 11) | (std::uint32_t(minute) << 5) | std::uint32_t(second / 2);
  return (date << 16) | time;
}

std::uint32_t PackedTimeOf(const fs::path& file) {
  std::time_t seconds = 0;
  if (os::LastWriteTime(file, seconds)) return PackDateTime(1980, 1, 1, 0, 0, 0);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  return PackDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec);
}

bool SetPackedTime(const fs::path& file, std::uint32_t packed) {
  const int year = int((packed >> 25) & 0x7f) + 1980;
  const int month = int((packed >> 21) & 0x0f);
  const int day = int((packed >> 16) & 0x1f);
  const int hour = int((packed >> 11) & 0x1f);
  const int minute = int((packed >> 5) & 0x3f);
  const int second = int(packed & 0x1f) * 2;
  if (month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59 || second > 59) return false;
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  local.tm_isdst = -1;
  const std::time_t seconds = std::mktime(&local);
  if (seconds == static_cast<std::time_t>(-1)) return false;
  return !os::SetLastWriteTime(file, seconds);
}

std::string FormatPackedDateTime(std::uint32_t packed) {
  char text[32];
  std::snprintf(text, sizeof text, "%02u/%02u/%04u %02u:%02u:%02u", (packed >> 16) & 0x1f,
                (packed >> 21) & 0x0f, ((packed >> 25) & 0x7f) + 1980, (packed >> 11) & 0x1f,
                (packed >> 5) & 0x3f, (packed & 0x1f) * 2);
  return text;
}

std::string PathToText(const fs::path& path) { return Utf8ToCp1252(os::Utf8Of(path)); }

std::string ArchivedNameOf(const fs::path& file) {
  std::error_code error;
  fs::path full = fs::absolute(file, error).lexically_normal();
  std::string text = NativeText(full);
#ifdef _WIN32
  std::replace(text.begin(), text.end(), '/', '\\');
#endif
  return LowerAscii(text);
}

std::optional<ArchivedPath> ParseArchivedName(const std::string& name) {
  if (name.empty()) return std::nullopt;
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|') {
      return std::nullopt;
    }
  }
  ArchivedPath result;
  std::size_t at = 0;
  const bool driveLetter = name.size() >= 3 && std::isalpha(static_cast<unsigned char>(name[0])) &&
                           name[1] == ':' && IsSeparator(name[2]);
  if (driveLetter) {
    result.root = name.substr(0, 2);
    at = 3;
  } else if (name.size() >= 2 && name[0] == '\\' && name[1] == '\\') {
    const std::size_t end = name.find_first_of("\\/", 2);
    if (end == std::string::npos || end == 2) return std::nullopt;
    result.root = name.substr(0, end);
    at = end + 1;
  } else if (name[0] == '/') {
    result.root = "/";
    at = 1;
  } else {
    return std::nullopt;
  }
  while (at <= name.size()) {
    std::size_t end = name.find_first_of("\\/", at);
    if (end == std::string::npos) end = name.size();
    const std::string part = name.substr(at, end - at);
    if (!part.empty()) {
      if (part == "." || part == ".." || part.find(':') != std::string::npos) return std::nullopt;
      result.components.push_back(part);
    }
    at = end + 1;
  }
  if (result.components.empty() || IsSeparator(name.back())) return std::nullopt;
  return result;
}

std::optional<fs::path> NativePathOf(const ArchivedPath& path) {
  fs::path result;
#ifdef _WIN32
  if (path.root == "/") return std::nullopt;
  result = os::PathFromUtf8(Cp1252ToUtf8(path.root + "\\"));
#else
  if (path.root != "/") return std::nullopt;
  result = fs::path("/");
#endif
  for (const std::string& part : path.components) result /= FolderPath(part);
  return result;
}

bool MatchesMask(const std::string& name, const std::string& mask) {
  if (mask == "*.*" || mask == "*") return true;
  const std::string n = LowerAscii(name);
  const std::string m = LowerAscii(mask);
  // Iterative wildcard match with one backtracking point.
  std::size_t i = 0, j = 0, star = std::string::npos, mark = 0;
  while (i < n.size()) {
    if (j < m.size() && (m[j] == '?' || m[j] == n[i])) {
      ++i;
      ++j;
    } else if (j < m.size() && m[j] == '*') {
      star = j++;
      mark = i;
    } else if (star != std::string::npos) {
      j = star + 1;
      i = ++mark;
    } else {
      return false;
    }
  }
  while (j < m.size() && m[j] == '*') ++j;
  return j == m.size();
}

namespace {

// Entries of a folder sorted by lower-case name, as a Windows folder lists them.
std::vector<os::FolderEntry> SortedEntries(const fs::path& folder) {
  std::vector<os::FolderEntry> entries;
  os::ListFolder(folder, entries);
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    return LowerAscii(os::Utf8Of(a.name)) < LowerAscii(os::Utf8Of(b.name));
  });
  return entries;
}

void CollectMatches(const fs::path& folder, const std::string& mask, bool recursive,
                    std::vector<fs::path>& out) {
  const auto entries = SortedEntries(folder);
  if (recursive) {
    for (const auto& entry : entries) {
      if (entry.kind == os::Kind::kFolder && !entry.link) {
        CollectMatches(folder / entry.name, mask, true, out);
      }
    }
  }
  for (const auto& entry : entries) {
    if (entry.link || entry.kind != os::Kind::kFile) continue;
    if (MatchesMask(PathToText(entry.name), mask)) out.push_back(folder / entry.name);
  }
}

}  // namespace

std::vector<fs::path> MatchPattern(const std::string& pattern) {
  std::string text = Trim(pattern);
  bool recursive = false;
  if (text.size() >= 2 && LowerAscii(text.substr(text.size() - 2)) == "/s") {
    const std::string before = text.substr(0, text.size() - 2);
    const bool afterBlank = !before.empty() && static_cast<unsigned char>(before.back()) <= ' ';
    if (afterBlank || before.find('\\') != std::string::npos) {
      recursive = true;
      text = Trim(before);
    }
  }
  std::size_t cut = text.find_last_of("\\/");
  const std::string folderText = cut == std::string::npos ? "." : text.substr(0, cut + 1);
  const std::string mask = cut == std::string::npos ? text : text.substr(cut + 1);
  std::vector<fs::path> result;
  if (mask.empty()) return result;
  std::string nativeFolder = folderText;
#ifndef _WIN32
  if (nativeFolder.find('\\') != std::string::npos && nativeFolder.find('/') == std::string::npos) {
    return result;  // a Windows path means nothing here
  }
#endif
  const fs::path folder = ResolvePath(FolderPath(nativeFolder));
  CollectMatches(folder, mask, recursive, result);
  return result;
}

// ---------------------------------------------------------------------------------------

TBackupFile::TBackupFile() = default;

void TBackupFile::setBackupMode(BackupMode mode) {
  m_backupMode = mode;
  if (mode == BackupMode::bmIncremental) m_setArchiveFlag = true;
}

bool TBackupFile::fail(BackupError code, std::string file, std::error_code system) {
  m_lastError = code;
  m_errorFile = std::move(file);
  m_systemError = system;
  if (OnError) OnError(code, ErrorText(code));
  return false;
}

bool TBackupFile::progress(const std::string& name, std::uint64_t done, std::uint64_t total) {
  int percent = 0;
  if (total > 0)
    percent = static_cast<int>(std::min<std::uint64_t>(100, (done * 100 + total / 2) / total));
  bool go = true;
  if (OnProgress) OnProgress(name, percent, go);
  return go;
}

int TBackupFile::zlibLevel() const {
  switch (m_level) {
    case CompressionLevel::clFastest:
      return 1;
    case CompressionLevel::clNone:
      return 0;
    case CompressionLevel::clDefault:
      return Z_DEFAULT_COMPRESSION;
    case CompressionLevel::clMax:
      return 9;
  }
  return 9;
}

bool TBackupFile::buildFileList(const std::vector<std::string>& patterns,
                                const std::string& archive) {
  m_fileList.clear();
  m_filePaths.clear();
  const std::string archiveName = archive == kStreamName ? "" : ArchivedNameOf(FolderPath(archive));
  std::unordered_set<std::string> seen;
  if (!m_replacedArchive.empty()) seen.insert(ArchivedNameOf(FolderPath(m_replacedArchive)));
  for (const std::string& pattern : patterns) {
    for (const fs::path& file : MatchPattern(pattern)) {
      std::string name = ArchivedNameOf(file);
      if (name == archiveName || seen.count(name)) continue;
      if (m_backupMode == BackupMode::bmIncremental && !HasArchiveAttribute(file)) continue;
      seen.insert(name);
      m_fileList.push_back(std::move(name));
      m_filePaths.push_back(file);
    }
  }
  return true;
}

// The file-ID list: "full path" TAB "packed date-time" "=" "size" CR LF per listed file,
// written to a temporary file "FID..." of the system's temporary folder.
//   c:\club\vantrel\vantrel.ini<TAB>1494384130=152
bool TBackupFile::writeFileIdList(fs::path& listFile, std::uint64_t& total) {
  fs::path folder;
  if (os::TempFolder(folder)) return fail(BackupError::kCannotCreateFileIdList);
  // A name of our own: created new, never an existing file.
  os::FileOutput out;
  for (int attempt = 0; attempt < 10 && !out.is_open(); ++attempt) {
    listFile = folder / ("FID" + RandomSuffix().substr(1));
    out.open(listFile, os::CreateMode::kNew);
    if (!out.is_open() && out.error() != std::errc::file_exists) break;
  }
  if (!out.is_open()) {
    listFile.clear();
    return fail(BackupError::kCannotCreateFileIdList);
  }
  std::uint64_t length = 0;
  for (std::size_t i = 0; i < m_fileList.size(); ++i) {
    std::uint64_t size = 0;
    const std::error_code sizeError = os::FileSize(m_filePaths[i], size);
    const std::string line = m_fileList[i] + "\t" + std::to_string(PackedTimeOf(m_filePaths[i])) +
                             "=" + std::to_string(sizeError ? 0 : size) + "\r\n";
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    length += line.size();
  }
  out.close();
  if (out.fail()) {
    os::DiscardFile(listFile);
    return fail(BackupError::kCannotCreateFileIdList);
  }
  total += length;
  return true;
}

bool TBackupFile::Backup(const std::vector<std::string>& patterns, const std::string& archive) {
  m_lastError = BackupError::kNone;
  m_errorFile.clear();
  m_systemError.clear();
  m_filesArchived = 0;
  buildFileList(patterns, archive);
  std::uint64_t total = 0;
  for (const fs::path& file : m_filePaths) {
    std::uint64_t size = 0;
    if (!os::FileSize(file, size)) total += size;
  }
  std::vector<std::pair<fs::path, std::string>> entries;
  fs::path listFile;
  if (m_saveFileId) {
    if (!writeFileIdList(listFile, total)) return false;
    entries.emplace_back(listFile, kFileIdListName);
  }
  for (std::size_t i = 0; i < m_fileList.size(); ++i)
    entries.emplace_back(m_filePaths[i], m_fileList[i]);
  struct ListRemover {
    fs::path path;
    ~ListRemover() {
      if (!path.empty()) os::DiscardFile(path);
    }
  } remover{listFile};

  const bool toStream = archive == kStreamName;
  if (toStream && !m_stream) return fail(BackupError::kCannotWriteArchive);
  PartialFile partial;  // declared first: removed after out is closed
  Output out(toStream ? m_stream : nullptr);
  m_archivePath = toStream ? fs::path() : FolderPath(archive);
  m_volume = 1;
  // The first volume is written beside the archive and replaces it only once complete: a
  // failed backup leaves the previous archive whole.
  if (!toStream) {
    partial.path = PartialNameBeside(m_archivePath);
    errno = 0;
    os::ClearLastError();
    if (!out.open(partial.path)) {
      return fail(BackupError::kCannotWriteArchive, {}, SystemErrorNow());
    }
  }
  if (!out.writeText(m_title) || !out.writeInt32(static_cast<std::int32_t>(total & 0xffffffffu)) ||
      !out.writeInt32(static_cast<std::int32_t>(m_fileList.size()))) {
    return fail(BackupError::kCannotWriteArchive, {}, SystemErrorNow());
  }
  if (!progress("", 0, total)) return false;
  Deflater deflater(zlibLevel());
  if (!deflater.ok()) return fail(BackupError::kCompressionError);
  m_deflater = &deflater.stream();
  std::uint64_t done = 0;
  for (const auto& [path, name] : entries) {
    if (!os::Exists(path)) continue;
    bool cancelled = false;
    if (!archiveFile(out, path, name, done, total, cancelled)) return false;
    if (m_setArchiveFlag) ClearArchiveAttribute(path);
    if (name != kFileIdListName) ++m_filesArchived;
  }
  if (!out.writeInt32(0) || !out.close()) {
    return fail(BackupError::kCannotWriteArchive, {}, SystemErrorNow());
  }
  if (!toStream) {
    if (m_volume == 1 && !SyncFile(partial.path)) {
      return fail(BackupError::kCannotWriteArchive, {}, SystemErrorNow());
    }
    const std::error_code renamed = os::RenameOver(partial.path, m_archivePath);
    if (renamed) return fail(BackupError::kCannotWriteArchive, {}, renamed);
    partial.path.clear();
  }
  progress("", total, total);
  return true;
}

bool TBackupFile::archiveFile(Output& out, const fs::path& source, const std::string& name,
                              std::uint64_t& done, std::uint64_t total, bool& cancelled) {
  os::FileInput in(source);
  if (!in.is_open())
    return fail(BackupError::kCannotReadFile, NativeText(source), SystemErrorNow());
  if (!out.writeText(name) || !out.writeInt32(static_cast<std::int32_t>(PackedTimeOf(source))) ||
      !out.write(kSignature, 4)) {
    return fail(BackupError::kCannotWriteArchive, {}, SystemErrorNow());
  }
  bool sectionStartsVolume = false;
  z_stream& z = *m_deflater;
  for (;;) {
    in.read(reinterpret_cast<char*>(m_in.data()), kChunkSize);
    const auto size = static_cast<std::size_t>(in.gcount());
    if (in.bad()) return fail(BackupError::kCannotReadFile, NativeText(source), SystemErrorNow());
    if (size == 0) break;
    if (m_maxSize > 0 && !out.isStream() && !sectionStartsVolume &&
        out.position() >= std::int64_t(m_maxSize) - kVolumeMargin) {
      if (!out.writeInt32(0)) return fail(BackupError::kCannotWriteArchive, {}, SystemErrorNow());
      if (!nextVolume(out, cancelled)) return false;
      sectionStartsVolume = true;
    } else {
      sectionStartsVolume = false;
    }
    if (deflateReset(&z) != Z_OK) return fail(BackupError::kCompressionError);
    z.next_in = m_in.data();
    z.avail_in = static_cast<uInt>(size);
    z.next_out = m_out.data();
    z.avail_out = kChunkSize;
    const int result = deflate(&z, Z_FINISH);
    bool written;
    if (result == Z_STREAM_END) {
      const auto length = static_cast<std::int32_t>(kChunkSize - z.avail_out);
      written = out.writeInt32(length) && out.write(m_out.data(), static_cast<std::size_t>(length));
    } else if (result == Z_OK || result == Z_BUF_ERROR) {
      written = out.writeInt32(-static_cast<std::int32_t>(size)) && out.write(m_in.data(), size);
    } else {
      return fail(BackupError::kCompressionError);
    }
    if (!written) return fail(BackupError::kCannotWriteArchive, {}, SystemErrorNow());
    done += size;
    if (ProcessEvents) ProcessEvents();
    if (!progress(name, done, total)) {
      cancelled = true;
      return false;
    }
    if (size < kChunkSize) break;
  }
  if (!out.writeInt32(0)) return fail(BackupError::kCannotWriteArchive, {}, SystemErrorNow());
  return true;
}

bool TBackupFile::nextVolume(Output& out, bool& cancelled) {
  const int next = m_volume + 1;
  if (next > 999) return fail(BackupError::kCannotWriteArchive);
  char record[32];
  std::snprintf(record, sizeof record, "%s%03d", kVolumeChangeName, next);
  if (!out.writeText(record) || !out.close())
    return fail(BackupError::kCannotWriteArchive, {}, SystemErrorNow());
  bool go = true;
  if (OnNeedDisk) OnNeedDisk(static_cast<std::uint16_t>(next), go);
  if (!go) {
    cancelled = true;
    return false;
  }
  m_volume = next;
  if (!out.open(VolumePath(m_archivePath, next)) || !out.write(kSignature, 4)) {
    return fail(BackupError::kCannotWriteArchive, {}, SystemErrorNow());
  }
  return true;
}

// ---------------------------------------------------------------------------------------

std::optional<fs::path> TBackupFile::targetOf(const ArchivedPath& path,
                                              const fs::path& folder) const {
  if (folder.empty()) {
    auto native = NativePathOf(path);
    if (!native) return std::nullopt;
    return ResolvePath(*native);
  }
  if (!m_restoreFullPath) return ResolvePath(folder / FolderPath(path.components.back()));
  fs::path target = folder;
  for (const std::string& part : path.components) target /= FolderPath(part);
  return ResolvePath(target);
}

bool TBackupFile::wanted(const fs::path& target, std::uint32_t packed) const {
  const bool exists = os::Exists(target);
  const bool older = exists && PackedTimeOf(target) < packed;
  switch (m_restoreMode) {
    case RestoreMode::rmAll:
      return true;
    case RestoreMode::rmNoOverwrite:
      return !exists;
    case RestoreMode::rmNewer:
      return !exists || older;
    case RestoreMode::rmExisting:
      return exists;
    case RestoreMode::rmExistingNewer:
      return exists && older;
  }
  return false;
}

bool TBackupFile::readSection(Input& in, std::ostream* out, const std::string& name,
                              std::uint64_t& done, std::uint64_t total, bool& cancelled) {
  char signature[4];
  if (!in.read(signature, 4)) return fail(BackupError::kCannotReadFile);
  if (std::memcmp(signature, kSignature, 4) != 0) {
    m_lastError = BackupError::kInvalidArchiveType;
    throw ArchiveError(BackupError::kInvalidArchiveType);
  }
  z_stream& z = *m_inflater;
  for (;;) {
    std::int32_t length = 0;
    if (!in.readInt32(length)) return fail(BackupError::kCannotReadFile);
    if (length == 0) return true;
    const std::int64_t size = length < 0 ? -std::int64_t(length) : std::int64_t(length);
    if (size > std::int64_t(kChunkSize)) return fail(BackupError::kCannotReadFile);
    if (!in.read(m_in.data(), static_cast<std::size_t>(size))) {
      return fail(BackupError::kCannotReadFile);
    }
    std::size_t produced = static_cast<std::size_t>(size);
    const unsigned char* data = m_in.data();
    if (length > 0 && (out || m_listing)) {
      if (inflateReset(&z) != Z_OK) return fail(BackupError::kCompressionError);
      z.next_in = m_in.data();
      z.avail_in = static_cast<uInt>(size);
      z.next_out = m_out.data();
      z.avail_out = kChunkSize;
      if (inflate(&z, Z_FINISH) != Z_STREAM_END || z.avail_in != 0) {
        return fail(BackupError::kCompressionError);
      }
      produced = kChunkSize - z.avail_out;
      data = m_out.data();
    }
    if (out) {
      out->write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(produced));
      if (!out->good()) return fail(BackupError::kCannotReadFile, name, SystemErrorNow());
      done += produced;
    } else if (m_listing) {
      if (!m_listing->empty()) m_listing->back().size += produced;
      done += produced;
    } else {
      done += kChunkSize;
    }
    if (ProcessEvents) ProcessEvents();
    if (!progress(name, done, total)) {
      cancelled = true;
      return false;
    }
  }
}

bool TBackupFile::openVolume(Input& in, const fs::path& archive, int volume, bool& cancelled) {
  in.close();
  const fs::path path = VolumePath(archive, volume);
  for (;;) {
    if (os::Exists(path))
      return in.open(path) ||
             fail(BackupError::kCannotReadArchive, NativeText(path), SystemErrorNow());
    if (!OnNeedDisk) {
      return fail(BackupError::kCannotReadArchive, NativeText(path),
                  std::make_error_code(std::errc::no_such_file_or_directory));
    }
    bool go = true;
    OnNeedDisk(static_cast<std::uint16_t>(volume), go);
    if (!go) {
      cancelled = true;
      return false;
    }
  }
}

void TBackupFile::chooseTarget(fs::path& target, bool& restore, std::uint32_t packed) {
  if (OnRestoreFile) {
    // The text event sees the target in Windows-1252; left as it was, it stays the path.
    const std::string before = target.empty() ? std::string() : NativeText(target);
    std::string name = before;
    OnRestoreFile(name, restore, packed);
    if (name != before) target = name.empty() ? fs::path() : FolderPath(name);
  }
  if (OnRestorePath) OnRestorePath(target, restore, packed);
}

bool TBackupFile::Restore(const std::string& archive, const std::string& targetFolder) {
  m_listing = nullptr;
  const bool fromStream = archive == kStreamName;
  return readArchive(fromStream ? fs::path() : FolderPath(archive), fromStream,
                     targetFolder.empty() ? fs::path() : FolderPath(targetFolder));
}

bool TBackupFile::RestoreArchive(const fs::path& archive, const fs::path& targetFolder) {
  m_listing = nullptr;
  return readArchive(archive, false, targetFolder);
}

std::optional<std::vector<TBackupFile::Entry>> TBackupFile::List(const std::string& archive) {
  if (archive == kStreamName) return list(fs::path(), true);
  return list(FolderPath(archive), false);
}

std::optional<std::vector<TBackupFile::Entry>> TBackupFile::ListArchive(const fs::path& archive) {
  return list(archive, false);
}

std::optional<std::vector<TBackupFile::Entry>> TBackupFile::list(const fs::path& archive,
                                                                 bool fromStream) {
  std::vector<Entry> entries;
  struct Reset {
    std::vector<Entry>*& listing;
    ~Reset() { listing = nullptr; }
  } reset{m_listing};
  m_listing = &entries;
  if (!readArchive(archive, fromStream, fs::path())) return std::nullopt;
  return entries;
}

bool TBackupFile::readArchive(const fs::path& archive, bool fromStream, const fs::path& folder) {
  m_lastError = BackupError::kNone;
  m_refusedName.clear();
  m_errorFile.clear();
  m_systemError.clear();
  Input in(fromStream ? m_stream : nullptr);
  if (!fromStream) {
    if (!os::IsFile(archive)) return false;
    if (!in.open(archive)) {
      m_lastError = BackupError::kCannotReadArchive;
      throw ArchiveError(BackupError::kCannotReadArchive);
    }
  }
  std::int32_t titleLength = 0, total32 = 0, count = 0;
  bool header = in.readInt32(titleLength) && titleLength >= 0 && titleLength <= kMaxNameLength;
  if (header) {
    std::string title(static_cast<std::size_t>(titleLength), '\0');
    header = in.read(title.data(), title.size()) && in.readInt32(total32) && in.readInt32(count);
  }
  if (!header) {
    m_lastError = BackupError::kCannotReadArchive;
    throw ArchiveError(BackupError::kCannotReadArchive);
  }
  const std::uint64_t total = static_cast<std::uint32_t>(total32);
  Inflater inflater;
  if (!inflater.ok()) return fail(BackupError::kCompressionError);
  m_inflater = &inflater.stream();
  if (!progress("", 0, total)) return false;

  std::uint64_t done = 0;
  bool inEntry = false;
  // A file is written beside its target (partial) and renamed over it once whole: a failed
  // or cancelled restore leaves every target with its old content.
  PartialFile partial;  // declared first: removed after output is closed
  std::unique_ptr<os::FileOutput> output;
  fs::path target;
  std::string targetName;
  std::uint32_t packed = 0;
  // Ends the file being written: close it, give it its archived date-time, put it in place.
  auto finishFile = [&]() -> bool {
    if (!output) return true;
    if (OnFileRestored) OnFileRestored(targetName, *output);
    errno = 0;
    os::ClearLastError();
    const bool ok = output->syncToDevice();
    output->close();
    const bool closed = !output->fail();
    output.reset();
    if (!ok || !closed) {
      return fail(BackupError::kCannotReadFile, targetName, SystemErrorNow());
    }
    SetPackedTime(partial.path, packed);
    if (os::IsFolder(target)) {
      return fail(BackupError::kCannotReadFile, targetName,
                  std::make_error_code(std::errc::is_a_directory));
    }
    const std::error_code error = os::RenameOver(partial.path, target);
    if (error) return fail(BackupError::kCannotReadFile, targetName, error);
    partial.path.clear();
    return true;
  };

  for (;;) {
    std::int32_t length = 0;
    if (!in.readInt32(length)) return fail(BackupError::kCannotReadFile);
    if (length == 0) break;
    if (length < 0 || length > kMaxNameLength) return fail(BackupError::kCannotReadFile);
    std::string name(static_cast<std::size_t>(length), '\0');
    if (!in.read(name.data(), name.size())) return fail(BackupError::kCannotReadFile);
    bool cancelled = false;
    if (name.rfind(kVolumeChangeName, 0) == 0) {
      const std::string digits = name.substr(std::strlen(kVolumeChangeName));
      if (!inEntry || fromStream || digits.empty() || digits.size() > 3 ||
          digits.find_first_not_of("0123456789") != std::string::npos) {
        return fail(BackupError::kCannotReadFile);
      }
      if (!openVolume(in, archive, std::stoi(digits), cancelled)) return false;
      if (!readSection(in, output.get(), targetName, done, total, cancelled)) return false;
      continue;
    }
    if (!finishFile()) return false;
    std::int32_t packedValue = 0;
    if (!in.readInt32(packedValue)) return fail(BackupError::kCannotReadFile);
    packed = static_cast<std::uint32_t>(packedValue);
    inEntry = true;
    bool restore = false;
    target.clear();
    targetName.clear();
    m_entryName = name;
    if (m_listing) {
      m_listing->push_back({name, packed, 0});
    } else if (name != kFileIdListName) {
      const auto parsed = ParseArchivedName(name);
      if (!parsed) {
        m_refusedName = name;
        return fail(BackupError::kCannotReadFile);
      }
      const auto where = targetOf(*parsed, folder);
      if (where) {
        target = *where;
        restore = wanted(*where, packed);
      }
      if (!where && !OnRestoreFile && !OnRestorePath) return fail(BackupError::kCannotReadFile);
      chooseTarget(target, restore, packed);
      if (restore && target.empty()) restore = false;
      targetName = NativeText(target);
    }
    if (restore) {
      os::CreateFolders(target.parent_path());
      if (!os::IsFolder(target.parent_path())) restore = false;
    }
    if (restore) {
      if (os::IsFolder(target)) {
        return fail(BackupError::kCannotReadFile, targetName,
                    std::make_error_code(std::errc::is_a_directory));
      }
      partial.path = PartialNameBeside(target);
      errno = 0;
      os::ClearLastError();
      output = std::make_unique<os::FileOutput>();
      output->open(partial.path);
      if (!output->is_open()) {
        output.reset();
        return fail(BackupError::kCannotReadFile, targetName, SystemErrorNow());
      }
    }
    if (!readSection(in, output.get(), targetName.empty() ? name : targetName, done, total,
                     cancelled)) {
      return false;
    }
  }
  if (!finishFile()) return false;
  progress("", total, total);
  return true;
}

}  // namespace vantrel::utilities
