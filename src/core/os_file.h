#pragma once

// The one seam between the domain code and the operating system's files. Nothing else in the
// domain libraries opens, replaces, removes, lists or dates a file on its own.
//
// Paths are std::filesystem::path throughout: UTF-16 on Windows, the system's own bytes
// elsewhere; no call converts a path through a narrow code page.
//
// Errors: every call that can fail returns an std::error_code, empty on success. A reason that
// has a POSIX equivalent comes in std::generic_category (ENOENT, EACCES, ENOSPC, EEXIST, EBUSY,
// EROFS, ...), on Windows too; any other Windows reason is in std::system_category.
//
// Test mode: FaultInjection (at the end) makes the n-th write, flush, rename or remove fail,
// so that tests can prove that an interrupted change leaves every file old or new.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <istream>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace vantrel::os {

// The error of the last call of the seam that failed on this thread, as errno keeps it,
// until ClearLastError: for code that learns of a failure through a stream's state.
std::error_code LastError();
void ClearLastError();

// ---------------------------------------------------------------------------------------
// Path text. A path and UTF-8 bytes, both ways, without any code page in between.

std::string Utf8Of(const std::filesystem::path& path);
std::filesystem::path PathFromUtf8(const std::string& utf8);

// The program's arguments after its name, as UTF-8: on Windows from the wide command line
// (argv holds them in the 8-bit code page there), elsewhere argv as it is.
std::vector<std::string> ArgumentsUtf8(int argc, char* argv[]);

// ---------------------------------------------------------------------------------------
// Files written.

enum class CreateMode {
  kNew,       // fails with EEXIST when the path exists
  kTruncate,  // an existing file is emptied first
};

// The system's handle of an open file (WritableFile, ReadableFile), held by one object at a
// time: a move hands it over, and a move onto an open file first closes that file
// (Owner::Close).
template <class Owner>
class MovableFileHandle {
 protected:
  MovableFileHandle() = default;
  MovableFileHandle(MovableFileHandle&& other) noexcept { swapHandle(other); }
  MovableFileHandle& operator=(MovableFileHandle&& other) noexcept {
    if (this != &other) {
      static_cast<Owner*>(this)->Close();
      swapHandle(other);
    }
    return *this;
  }
  ~MovableFileHandle() = default;

#ifdef _WIN32
  void* m_handle = nullptr;
#else
  int m_fd = -1;
#endif

 private:
  void swapHandle(MovableFileHandle& other) noexcept {
#ifdef _WIN32
    std::swap(m_handle, other.m_handle);
#else
    std::swap(m_fd, other.m_fd);
#endif
  }
};

// A file open for writing, written from its start. One writer at a time; movable.
class WritableFile : public MovableFileHandle<WritableFile> {
 public:
  WritableFile() = default;
  WritableFile(WritableFile&& other) noexcept;
  WritableFile& operator=(WritableFile&& other) noexcept;
  WritableFile(const WritableFile&) = delete;
  WritableFile& operator=(const WritableFile&) = delete;
  // Closes the file if still open, ignoring errors: its data may then not be durable.
  ~WritableFile();

  // Opens path for writing. On error file stays closed.
  static std::error_code Create(const std::filesystem::path& path, CreateMode mode,
                                WritableFile& file);

  bool isOpen() const;
  // Appends size bytes. On error part of the data may have been written (a full disk): the
  // file must then be thrown away.
  std::error_code Append(const void* data, std::size_t size);
  // Waits until everything appended is on the storage device: after success the data
  // survives a power cut (fsync; FlushFileBuffers on Windows).
  std::error_code Sync();
  // Closes the file; calling it again does nothing. An error means the data may be lost.
  std::error_code Close();
};

// Creates path (it must not exist), writes bytes, syncs and closes it (unless syncs are held,
// see HoldSyncs). On error the caller removes what may have been created.
std::error_code WriteNewFileDurably(const std::filesystem::path& path, const std::string& bytes);

// While the count of holds is above zero, WriteNewFileDurably leaves its data to the system's
// cache instead of syncing it: for a folder made from nothing (the demonstration club), which
// is flushed once at the end by FlushFileSystem. Not for a club's own files.
void HoldSyncs();
void ReleaseSyncs();

// Writes every file the system still holds in memory to its device (nothing to do on Windows,
// where each file is flushed by its own writer).
void FlushFileSystem();

// Syncs a closed file's data to its device before it is put in place (see WritableFile::Sync).
std::error_code SyncFile(const std::filesystem::path& path);

// ---------------------------------------------------------------------------------------
// Files read.

// A file open for reading from its start; movable.
class ReadableFile : public MovableFileHandle<ReadableFile> {
 public:
  ReadableFile() = default;
  ReadableFile(ReadableFile&& other) noexcept;
  ReadableFile& operator=(ReadableFile&& other) noexcept;
  ReadableFile(const ReadableFile&) = delete;
  ReadableFile& operator=(const ReadableFile&) = delete;
  ~ReadableFile();

  static std::error_code Open(const std::filesystem::path& path, ReadableFile& file);

  bool isOpen() const;
  // Reads up to size bytes into data; read is 0 only at the end of the file.
  std::error_code Read(void* data, std::size_t size, std::size_t& read);
  void Close();
};

// The whole file. On error bytes is left empty.
std::error_code ReadWholeFile(const std::filesystem::path& path, std::string& bytes);

// ---------------------------------------------------------------------------------------
// Streams over the files above, for code that writes or reads through iostreams. Their
// fail() state reports any error of the seam; error() tells which.

class FileOutput : public std::ostream {
 public:
  FileOutput();
  ~FileOutput() override;
  // Opens path, replacing its content (kTruncate) or refusing an existing one (kNew).
  bool open(const std::filesystem::path& path, CreateMode mode = CreateMode::kTruncate);
  bool is_open() const;
  // Writes out what is buffered and syncs it to the device; sets failbit on error.
  bool syncToDevice();
  // Writes out what is buffered and closes; sets failbit on error.
  void close();
  std::error_code error() const;

 private:
  class Buffer;
  std::unique_ptr<Buffer> m_buffer;
};

class FileInput : public std::istream {
 public:
  FileInput();
  explicit FileInput(const std::filesystem::path& path);
  ~FileInput() override;
  bool open(const std::filesystem::path& path);
  bool is_open() const;
  void close();
  std::error_code error() const;

 private:
  class Buffer;
  std::unique_ptr<Buffer> m_buffer;
};

// ---------------------------------------------------------------------------------------
// Names in folders.

// Puts from in place of to, atomically: a reader of to sees its old content or the new one,
// never a mix, and to never goes missing. An existing to is replaced (POSIX rename;
// Windows MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH). On POSIX the
// folder is then synced so that the new name survives a power cut (best effort: some file
// systems refuse to sync a folder). On error from keeps its name and to is unchanged.
// Both must be on the same drive; to must not be a folder.
std::error_code RenameOver(const std::filesystem::path& from, const std::filesystem::path& to);

// Removes a file (not a folder). A missing file is an error (ENOENT).
std::error_code RemoveFile(const std::filesystem::path& path);

// Removes a file the caller wrote and no longer wants (a temporary file): a removal refused
// at first, as Windows does while a virus scanner or the indexer still holds a new file, is
// tried twice more, 20 ms apart. A missing file is no error; a file that cannot be removed
// stays, and the error is returned.
std::error_code DiscardFile(const std::filesystem::path& path);

// Removes an empty folder. A folder with anything in it is an error and stays.
std::error_code RemoveEmptyFolder(const std::filesystem::path& path);

// Makes path and its missing parents. An existing folder is no error.
std::error_code CreateFolders(const std::filesystem::path& path);

enum class Kind { kMissing, kFile, kFolder, kOther };

// What path names, following symbolic links; kMissing also when it cannot be told.
Kind KindOf(const std::filesystem::path& path);
inline bool IsFile(const std::filesystem::path& path) { return KindOf(path) == Kind::kFile; }
inline bool IsFolder(const std::filesystem::path& path) { return KindOf(path) == Kind::kFolder; }
inline bool Exists(const std::filesystem::path& path) { return KindOf(path) != Kind::kMissing; }

// Size in bytes of a file.
std::error_code FileSize(const std::filesystem::path& path, std::uint64_t& size);

struct FolderEntry {
  std::filesystem::path name;  // the name alone, as the folder holds it
  Kind kind = Kind::kOther;    // what it names, links followed
  bool link = false;           // a symbolic link (Windows: a reparse point)
  bool hidden = false;         // Windows: the hidden attribute; elsewhere: a name with "."
  bool readOnly = false;       // no write permission for its owner (Windows: read-only)
};

// The entries of a folder, "." and ".." left out, in the order the system gives.
std::error_code ListFolder(const std::filesystem::path& folder, std::vector<FolderEntry>& entries);

// The system's folder for temporary files.
std::error_code TempFolder(std::filesystem::path& folder);

// ---------------------------------------------------------------------------------------
// Times and attributes.

// Last-write time in seconds since 1970-01-01 UTC.
std::error_code LastWriteTime(const std::filesystem::path& path, std::time_t& seconds);
std::error_code SetLastWriteTime(const std::filesystem::path& path, std::time_t seconds);

// Windows marks a file changed with its archive attribute; other systems have none: there
// every file counts as changed and clearing does nothing.
bool HasArchiveAttribute(const std::filesystem::path& path);
std::error_code ClearArchiveAttribute(const std::filesystem::path& path);

// ---------------------------------------------------------------------------------------
// Drives.

enum class DriveKind { kUnknown, kRemovable, kFixed, kRemote, kCdRom, kRamDisk };

// Windows: the kind the system gives a drive root ("E:\"); elsewhere kUnknown (see
// DriveKindOfMount).
DriveKind DriveKindOfRoot(const std::filesystem::path& root);

// A mount point of a POSIX system told by its file system type ("vfat", "nfs4", ...), its
// device ("/dev/sdb1") and its root ("/media/club/CLE"); kUnknown for what is no place to
// save to (system tmpfs mounts, package images).
DriveKind DriveKindOfMount(const std::string& fileSystemType, const std::string& device,
                           const std::string& root);

// ---------------------------------------------------------------------------------------
// Test mode: fault injection. Counts every write (WritableFile::Append, every buffer written
// out by FileOutput), flush (WritableFile::Sync, SyncFile), rename (RenameOver) and remove
// (RemoveFile, DiscardFile per attempt, RemoveEmptyFolder) of the seam, and fails the one
// armed call of each operation. A failed write writes half of its bytes then reports ENOSPC;
// a failed flush, rename or remove does nothing and reports EIO, EACCES and EACCES. Counting
// and arming are global, for tests of one thread; the program never arms anything.

enum class Operation { kWrite, kFlush, kRename, kRemove };

class FaultInjection {
 public:
  // Sets every count to zero and disarms every operation.
  static void Reset();
  // Makes the n-th call (1-based, counted from the last Reset) of operation fail; 0 disarms.
  static void Arm(Operation operation, int n);
  // The calls of operation since the last Reset, failed ones included.
  static int Count(Operation operation);
};

}  // namespace vantrel::os
