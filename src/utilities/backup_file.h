#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "utilities/archive_decoder.h"
#include "utilities/archive_format.h"
#include "utilities/archived_name.h"
#include "utilities/packed_date.h"
#include "utilities/wildcard.h"

namespace vantrel::utilities {

// The archive's bytes are told in archive_format.h, its names in archived_name.h.

enum class BackupMode { bmAll, bmIncremental };
enum class CompressionLevel { clFastest, clNone, clDefault, clMax };
enum class RestoreMode { rmAll, rmNoOverwrite, rmNewer, rmExisting, rmExistingNewer };

// TBackupFile packs files into an archive and unpacks them. Data moves through two fixed
// buffers of kChunkSize bytes; a file is never held whole in memory.
//
// Archive attribute: Windows marks a file changed with its archive attribute. Other
// systems have none: there every file counts as changed (bmIncremental then takes every
// file) and SetArchiveFlag clears nothing.
class TBackupFile {
 public:
  // Events. Clearing a continue flag cancels the operation after the current chunk; it then
  // returns false without error.
  using ProgressEvent =
      std::function<void(const std::string& fileName, int percent, bool& continueFlag)>;
  using NeedDiskEvent = std::function<void(std::uint16_t volume, bool& continueFlag)>;
  using RestoreFileEvent =
      std::function<void(std::string& targetName, bool& restore, std::uint32_t packedDateTime)>;
  using RestorePathEvent = std::function<void(std::filesystem::path& target, bool& restore,
                                              std::uint32_t packedDateTime)>;
  using FileRestoredEvent = std::function<void(const std::string& targetName, std::ostream& file)>;
  using ErrorEvent = std::function<void(BackupError code, const std::string& text)>;

  TBackupFile();

  // Properties.
  const std::string& BackupTitle() const { return m_title; }
  void setBackupTitle(const std::string& title) { m_title = title; }
  BackupMode backupMode() const { return m_backupMode; }
  // bmIncremental also switches SetArchiveFlag on.
  void setBackupMode(BackupMode mode);
  CompressionLevel compressionLevel() const { return m_level; }
  void setCompressionLevel(CompressionLevel level) { m_level = level; }
  RestoreMode restoreMode() const { return m_restoreMode; }
  void setRestoreMode(RestoreMode mode) { m_restoreMode = mode; }
  // Bytes per volume; 0 for a single volume. A section is cut before a chunk once the
  // volume holds MaxSize - 16484 bytes, but never before its first chunk in a volume.
  std::int32_t maxSize() const { return m_maxSize; }
  void setMaxSize(std::int32_t bytes) { m_maxSize = bytes; }
  bool setArchiveFlag() const { return m_setArchiveFlag; }
  void setSetArchiveFlag(bool on) { m_setArchiveFlag = on; }
  bool restoreFullPath() const { return m_restoreFullPath; }
  void setRestoreFullPath(bool on) { m_restoreFullPath = on; }
  bool saveFileID() const { return m_saveFileId; }
  void setSaveFileID(bool on) { m_saveFileId = on; }
  static std::string Version() { return "5.10"; }

  // A file never archived, as the archive itself is not: the archive that a backup written
  // under another name will replace (Windows-1252 path; "" for none).
  void setReplacedArchive(const std::string& archive) { m_replacedArchive = archive; }

  // The stream used for the archive name ":STREAM" (read by Restore, written by Backup).
  // Multi-volume archives need files: with a stream MaxSize is ignored.
  void setStream(std::iostream* stream) { m_stream = stream; }

  ProgressEvent OnProgress;
  NeedDiskEvent OnNeedDisk;  // unset: the next volume is taken as present
  RestoreFileEvent OnRestoreFile;
  // The same as a path of this system (any character, no Windows-1252 text in between);
  // runs after OnRestoreFile. An empty target skips the file.
  RestorePathEvent OnRestorePath;
  FileRestoredEvent OnFileRestored;
  ErrorEvent OnError;  // unset: the error is only kept (lastError)
  // Runs after every chunk so that the user interface keeps turning.
  std::function<void()> ProcessEvents;

  // Packs the files of the patterns (see MatchPattern) into archive, replacing it. True when
  // the whole archive, end marker included, was written. The archive (its first volume) is
  // written beside its name and renamed over the old archive only once complete: a failure
  // leaves the old archive whole.
  bool Backup(const std::vector<std::string>& patterns, const std::string& archive);

  // Unpacks archive (a path in Windows-1252 or ":STREAM"). targetFolder empty: each file
  // goes back to its archived path; otherwise into targetFolder under its file name alone,
  // or with RestoreFullPath under its archived path without its root. Each file is written
  // beside its target, flushed and renamed over it once whole, so a target keeps its old
  // content until its new one is complete; a target that is a folder is an error
  // (kCannotReadFile). True when the archive
  // was read to its end marker without error or cancellation; false at once, without error,
  // when the archive file does not exist. Throws ArchiveError when the header cannot be read
  // or a data section lacks its signature. A name with "." or ".." components, a chunk
  // longer than 16384 bytes or a truncated archive ends it with kCannotReadFile.
  bool Restore(const std::string& archive, const std::string& targetFolder);

  // Restore from an archive file named by a path of this system into targetFolder (empty:
  // every file to its archived path). No path goes through Windows-1252 text: only the names
  // stored in the archive are.
  bool RestoreArchive(const std::filesystem::path& archive,
                      const std::filesystem::path& targetFolder);

  // One entry of an archive as List reads it.
  struct Entry {
    std::string name;  // as archived, "FILE:LIST" included
    std::uint32_t packedTime = 0;
    std::uint64_t size = 0;  // bytes once inflated
  };
  // Reads the whole archive, inflating every chunk, and lists its entries. Nothing when the
  // archive file does not exist or the archive is damaged (lastError, OnError); throws
  // ArchiveError as Restore does.
  std::optional<std::vector<Entry>> List(const std::string& archive);
  std::optional<std::vector<Entry>> ListArchive(const std::filesystem::path& archive);

  // The archived name of the entry being restored, for OnRestoreFile.
  const std::string& entryName() const { return m_entryName; }

  // The files the last Backup listed, in archive order (the file-ID list not counted).
  const std::vector<std::string>& fileList() const { return m_fileList; }
  BackupError lastError() const { return m_lastError; }
  // The file the last error concerns (Windows-1252): the file being archived, the target
  // being restored, or the volume a restore awaits; empty when the archive itself failed or
  // is damaged.
  const std::string& errorFile() const { return m_errorFile; }
  // The archived name the last restore refused (a "." or ".." component, no root, ...); empty
  // when none was.
  const std::string& refusedName() const { return m_refusedName; }
  // The system's reason for the last error, when the system gave one.
  std::error_code systemError() const { return m_systemError; }
  // Files the last Backup wrote into the archive (the file-ID list not counted): fewer than
  // fileList() when listed files vanished before they were read.
  int filesArchived() const { return m_filesArchived; }

 private:
  class ListSink;
  class FileSink;

  bool fail(BackupError code, std::string file = {}, std::error_code system = {});
  bool progress(const std::string& name, std::uint64_t done, std::uint64_t total);
  int zlibLevel() const;
  void clearErrors();
  bool buildFileList(const std::vector<std::string>& patterns, const std::string& archive);
  bool writeFileIdList(std::filesystem::path& listFile, std::uint64_t& total);
  // The files to archive, the file-ID list first when it is saved; false when that list
  // could not be made (listFile names it while it exists).
  bool collectEntries(const std::vector<std::string>& patterns, const std::string& archive,
                      std::vector<std::pair<std::filesystem::path, std::string>>& entries,
                      std::filesystem::path& listFile, std::uint64_t& total);
  bool writeEntries(ArchiveOutput& out,
                    const std::vector<std::pair<std::filesystem::path, std::string>>& entries,
                    std::uint64_t total);
  bool archiveFile(ArchiveOutput& out, ChunkDeflater& deflater,
                   const std::filesystem::path& source, const std::string& name,
                   std::uint64_t& done, std::uint64_t total);
  bool nextVolume(ArchiveOutput& out);
  // archive is ignored when fromStream.
  bool readArchive(const std::filesystem::path& archive, bool fromStream, RestoreSink& sink);
  bool restore(const std::filesystem::path& archive, bool fromStream,
               const std::filesystem::path& folder);
  std::optional<std::vector<Entry>> list(const std::filesystem::path& archive, bool fromStream);

  std::string m_title = "Vantrel";
  BackupMode m_backupMode = BackupMode::bmAll;
  CompressionLevel m_level = CompressionLevel::clMax;
  RestoreMode m_restoreMode = RestoreMode::rmAll;
  std::int32_t m_maxSize = 0;
  bool m_setArchiveFlag = false;
  bool m_restoreFullPath = false;
  bool m_saveFileId = false;
  std::iostream* m_stream = nullptr;
  BackupError m_lastError = BackupError::kNone;
  std::string m_errorFile;
  std::string m_refusedName;
  std::string m_replacedArchive;
  std::error_code m_systemError;
  int m_filesArchived = 0;
  std::vector<std::string> m_fileList;
  std::vector<std::filesystem::path> m_filePaths;
  // State of the running operation.
  std::filesystem::path m_archivePath;
  int m_volume = 1;
  std::string m_entryName;

  // The two buffers every byte moves through.
  std::array<unsigned char, kChunkSize> m_in{};
  std::array<unsigned char, kChunkSize> m_out{};
};

}  // namespace vantrel::utilities
