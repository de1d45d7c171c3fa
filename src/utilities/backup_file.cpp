#include "utilities/backup_file.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <random>
#include <unordered_set>

#include "core/os_file.h"
#include "core/settings.h"

namespace vantrel::utilities {

namespace fs = std::filesystem;

namespace {

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

// Whether the restore mode takes an archived file of date-time packed over target.
bool WantedBy(RestoreMode mode, const fs::path& target, std::uint32_t packed) {
  const bool exists = os::Exists(target);
  const bool older = exists && PackedTimeOf(target) < packed;
  switch (mode) {
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

std::error_code IsAFolder() { return std::make_error_code(std::errc::is_a_directory); }

}  // namespace

// ---------------------------------------------------------------------------------------
// The two sinks of the decoder: the listing (which, inflating every chunk and writing
// nothing, is also the test of an archive) and the restore.

class TBackupFile::ListSink final : public RestoreSink {
 public:
  explicit ListSink(std::string& entryName) : m_entryName(entryName) {}
  bool startEntry(const std::string& name, std::uint32_t packed) override {
    m_entryName = name;
    entries.push_back({name, packed, 0});
    return true;
  }
  bool wantsData() const override { return true; }
  bool write(const unsigned char*, std::size_t size) override {
    entries.back().size += size;
    return true;
  }
  bool finishEntry() override { return true; }

  std::vector<Entry> entries;

 private:
  std::string& m_entryName;
};

// Decides where each entry goes (restore mode, events) and writes it beside its target,
// renamed over it once whole: a failed or cancelled restore leaves every target with its
// old content.
class TBackupFile::FileSink final : public RestoreSink {
 public:
  FileSink(TBackupFile& owner, fs::path folder) : m_owner(owner), m_folder(std::move(folder)) {}

  bool startEntry(const std::string& name, std::uint32_t packed) override {
    m_packed = packed;
    m_target.clear();
    m_targetName.clear();
    m_owner.m_entryName = name;
    bool restore = false;
    if (name != kFileIdListName && !chooseTarget(name, restore)) return false;
    if (restore) {
      os::CreateFolders(m_target.parent_path());
      if (!os::IsFolder(m_target.parent_path())) restore = false;
    }
    return !restore || open();
  }
  bool wantsData() const override { return m_output != nullptr; }
  bool write(const unsigned char* data, std::size_t size) override {
    m_output->write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (m_output->good()) return true;
    return m_owner.fail(BackupError::kCannotReadFile, m_targetName, SystemErrorNow());
  }
  bool finishEntry() override;
  std::string targetName() const override { return m_targetName; }

 private:
  // Sets m_target and restore for an archived file; false when its name is refused.
  bool chooseTarget(const std::string& name, bool& restore);
  // Lets OnRestoreFile and OnRestorePath rename or skip the file about to be restored.
  void applyEvents(bool& restore);
  bool open();

  TBackupFile& m_owner;
  fs::path m_folder;  // empty: archived paths
  PartialFile m_partial;  // declared first: removed after the output is closed
  std::unique_ptr<os::FileOutput> m_output;
  fs::path m_target;
  std::string m_targetName;
  std::uint32_t m_packed = 0;
};

bool TBackupFile::FileSink::chooseTarget(const std::string& name, bool& restore) {
  const auto parsed = ParseArchivedName(name);
  if (!parsed) {
    m_owner.m_refusedName = name;
    return m_owner.fail(BackupError::kCannotReadFile);
  }
  const auto where = RestoreTargetOf(*parsed, m_folder, m_owner.m_restoreFullPath);
  if (where) {
    m_target = *where;
    restore = WantedBy(m_owner.m_restoreMode, *where, m_packed);
  }
  if (!where && !m_owner.OnRestoreFile && !m_owner.OnRestorePath) {
    return m_owner.fail(BackupError::kCannotReadFile);
  }
  applyEvents(restore);
  if (restore && m_target.empty()) restore = false;
  m_targetName = PathToText(m_target);
  return true;
}

void TBackupFile::FileSink::applyEvents(bool& restore) {
  if (m_owner.OnRestoreFile) {
    // The text event sees the target in Windows-1252; left as it was, it stays the path.
    const std::string before = m_target.empty() ? std::string() : PathToText(m_target);
    std::string name = before;
    m_owner.OnRestoreFile(name, restore, m_packed);
    if (name != before) m_target = name.empty() ? fs::path() : FolderPath(name);
  }
  if (m_owner.OnRestorePath) m_owner.OnRestorePath(m_target, restore, m_packed);
}

bool TBackupFile::FileSink::open() {
  if (os::IsFolder(m_target)) return m_owner.fail(BackupError::kCannotReadFile, m_targetName, IsAFolder());
  m_partial.path = PartialNameBeside(m_target);
  errno = 0;
  os::ClearLastError();
  m_output = std::make_unique<os::FileOutput>();
  m_output->open(m_partial.path);
  if (m_output->is_open()) return true;
  m_output.reset();
  return m_owner.fail(BackupError::kCannotReadFile, m_targetName, SystemErrorNow());
}

// Ends the file being written: close it, give it its archived date-time, put it in place.
bool TBackupFile::FileSink::finishEntry() {
  if (!m_output) return true;
  if (m_owner.OnFileRestored) m_owner.OnFileRestored(m_targetName, *m_output);
  errno = 0;
  os::ClearLastError();
  const bool ok = m_output->syncToDevice();
  m_output->close();
  const bool closed = !m_output->fail();
  m_output.reset();
  if (!ok || !closed) {
    return m_owner.fail(BackupError::kCannotReadFile, m_targetName, SystemErrorNow());
  }
  SetPackedTime(m_partial.path, m_packed);
  if (os::IsFolder(m_target)) return m_owner.fail(BackupError::kCannotReadFile, m_targetName, IsAFolder());
  const std::error_code error = os::RenameOver(m_partial.path, m_target);
  if (error) return m_owner.fail(BackupError::kCannotReadFile, m_targetName, error);
  m_partial.path.clear();
  return true;
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

void TBackupFile::clearErrors() {
  m_lastError = BackupError::kNone;
  m_errorFile.clear();
  m_systemError.clear();
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
      if (m_backupMode == BackupMode::bmIncremental && !os::HasArchiveAttribute(file)) continue;
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

bool TBackupFile::collectEntries(const std::vector<std::string>& patterns,
                                 const std::string& archive,
                                 std::vector<std::pair<fs::path, std::string>>& entries,
                                 fs::path& listFile, std::uint64_t& total) {
  buildFileList(patterns, archive);
  for (const fs::path& file : m_filePaths) {
    std::uint64_t size = 0;
    if (!os::FileSize(file, size)) total += size;
  }
  if (m_saveFileId) {
    if (!writeFileIdList(listFile, total)) return false;
    entries.emplace_back(listFile, kFileIdListName);
  }
  for (std::size_t i = 0; i < m_fileList.size(); ++i)
    entries.emplace_back(m_filePaths[i], m_fileList[i]);
  return true;
}

bool TBackupFile::Backup(const std::vector<std::string>& patterns, const std::string& archive) {
  clearErrors();
  m_filesArchived = 0;
  std::vector<std::pair<fs::path, std::string>> entries;
  fs::path listFile;
  std::uint64_t total = 0;
  if (!collectEntries(patterns, archive, entries, listFile, total)) return false;
  struct ListRemover {
    fs::path path;
    ~ListRemover() {
      if (!path.empty()) os::DiscardFile(path);
    }
  } remover{listFile};

  const bool toStream = archive == kStreamName;
  if (toStream && !m_stream) return fail(BackupError::kCannotWriteArchive);
  PartialFile partial;  // declared first: removed after out is closed
  ArchiveOutput out(toStream ? m_stream : nullptr);
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
  if (!writeEntries(out, entries, total)) return false;
  if (!out.writeEndMarker() || !out.close()) {
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

// The header and every entry, up to the end marker.
bool TBackupFile::writeEntries(ArchiveOutput& out,
                               const std::vector<std::pair<fs::path, std::string>>& entries,
                               std::uint64_t total) {
  const ArchiveHeader header{m_title, static_cast<std::int32_t>(total & 0xffffffffu),
                             static_cast<std::int32_t>(m_fileList.size())};
  if (!out.writeHeader(header)) {
    return fail(BackupError::kCannotWriteArchive, {}, SystemErrorNow());
  }
  if (!progress("", 0, total)) return false;
  ChunkDeflater deflater(zlibLevel());
  if (!deflater.ok()) return fail(BackupError::kCompressionError);
  std::uint64_t done = 0;
  for (const auto& [path, name] : entries) {
    if (!os::Exists(path)) continue;
    if (!archiveFile(out, deflater, path, name, done, total)) return false;
    if (m_setArchiveFlag) os::ClearArchiveAttribute(path);
    if (name != kFileIdListName) ++m_filesArchived;
  }
  return true;
}

bool TBackupFile::archiveFile(ArchiveOutput& out, ChunkDeflater& deflater, const fs::path& source,
                              const std::string& name, std::uint64_t& done, std::uint64_t total) {
  os::FileInput in(source);
  if (!in.is_open())
    return fail(BackupError::kCannotReadFile, PathToText(source), SystemErrorNow());
  if (!out.writeEntryStart(name, PackedTimeOf(source))) {
    return fail(BackupError::kCannotWriteArchive, {}, SystemErrorNow());
  }
  bool sectionStartsVolume = false;
  for (;;) {
    in.read(reinterpret_cast<char*>(m_in.data()), kChunkSize);
    const auto size = static_cast<std::size_t>(in.gcount());
    if (in.bad()) return fail(BackupError::kCannotReadFile, PathToText(source), SystemErrorNow());
    if (size == 0) break;
    if (m_maxSize > 0 && !out.isStream() && !sectionStartsVolume &&
        out.position() >= std::int64_t(m_maxSize) - kVolumeMargin) {
      if (!out.writeEndMarker()) {
        return fail(BackupError::kCannotWriteArchive, {}, SystemErrorNow());
      }
      if (!nextVolume(out)) return false;
      sectionStartsVolume = true;
    } else {
      sectionStartsVolume = false;
    }
    const auto length = deflater.encode(m_in.data(), size, m_out.data());
    if (!length) return fail(BackupError::kCompressionError);
    if (!out.writeChunk(*length, *length > 0 ? m_out.data() : m_in.data())) {
      return fail(BackupError::kCannotWriteArchive, {}, SystemErrorNow());
    }
    done += size;
    if (ProcessEvents) ProcessEvents();
    if (!progress(name, done, total)) return false;
    if (size < kChunkSize) break;
  }
  if (!out.writeEndMarker()) return fail(BackupError::kCannotWriteArchive, {}, SystemErrorNow());
  return true;
}

bool TBackupFile::nextVolume(ArchiveOutput& out) {
  const int next = m_volume + 1;
  if (next > kLastVolume) return fail(BackupError::kCannotWriteArchive);
  if (!out.writeText(VolumeChangeRecord(next)) || !out.close())
    return fail(BackupError::kCannotWriteArchive, {}, SystemErrorNow());
  bool go = true;
  if (OnNeedDisk) OnNeedDisk(static_cast<std::uint16_t>(next), go);
  if (!go) return false;
  m_volume = next;
  if (!out.open(VolumePath(m_archivePath, next)) || !out.write(kSectionSignature, 4)) {
    return fail(BackupError::kCannotWriteArchive, {}, SystemErrorNow());
  }
  return true;
}

// ---------------------------------------------------------------------------------------

bool TBackupFile::Restore(const std::string& archive, const std::string& targetFolder) {
  const bool fromStream = archive == kStreamName;
  return restore(fromStream ? fs::path() : FolderPath(archive), fromStream,
                 targetFolder.empty() ? fs::path() : FolderPath(targetFolder));
}

bool TBackupFile::RestoreArchive(const fs::path& archive, const fs::path& targetFolder) {
  return restore(archive, false, targetFolder);
}

std::optional<std::vector<TBackupFile::Entry>> TBackupFile::List(const std::string& archive) {
  if (archive == kStreamName) return list(fs::path(), true);
  return list(FolderPath(archive), false);
}

std::optional<std::vector<TBackupFile::Entry>> TBackupFile::ListArchive(const fs::path& archive) {
  return list(archive, false);
}

bool TBackupFile::restore(const fs::path& archive, bool fromStream, const fs::path& folder) {
  FileSink sink(*this, folder);
  return readArchive(archive, fromStream, sink);
}

std::optional<std::vector<TBackupFile::Entry>> TBackupFile::list(const fs::path& archive,
                                                                 bool fromStream) {
  ListSink sink(m_entryName);
  if (!readArchive(archive, fromStream, sink)) return std::nullopt;
  return std::move(sink.entries);
}

bool TBackupFile::readArchive(const fs::path& archive, bool fromStream, RestoreSink& sink) {
  clearErrors();
  m_refusedName.clear();
  ArchiveInput in(fromStream ? m_stream : nullptr);
  if (!fromStream) {
    if (!os::IsFile(archive)) return false;
    if (!in.open(archive)) {
      m_lastError = BackupError::kCannotReadArchive;
      throw ArchiveError(BackupError::kCannotReadArchive);
    }
  }
  DecoderHooks hooks;
  hooks.fail = [this](BackupError code, std::string file, std::error_code system) {
    return fail(code, std::move(file), system);
  };
  hooks.progress = [this](const std::string& name, std::uint64_t done, std::uint64_t total) {
    return progress(name, done, total);
  };
  hooks.processEvents = ProcessEvents;
  hooks.needDisk = OnNeedDisk;
  ArchiveDecoder decoder(in, std::move(hooks), m_in.data(), m_out.data());
  try {
    return decoder.run(archive, sink);
  } catch (const ArchiveError& error) {
    m_lastError = error.code();
    throw;
  }
}

}  // namespace vantrel::utilities
