#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "core/error.h"

struct z_stream_s;

namespace vantrel::os {
class FileInput;
class FileOutput;
}  // namespace vantrel::os

namespace vantrel::utilities {

// The bytes of a backup archive: a list of files packed into one file, each cut into chunks
// of 16384 bytes compressed one by one with zlib. All integers are 32-bit signed
// little-endian, texts are Windows-1252 bytes without terminator.
//
//   07 00 00 00 "Vantrel"           title length, title
//   <total> <count>                 sum of the file sizes (low 32 bits), number of files
//   entry...                        name length N > 0, name, packed date-time, data section
//   00 00 00 00                     end of the archive
//
//   data section:  "EC2" 00, chunks, 00 00 00 00
//   chunk:         L > 0: one zlib stream of L bytes inflating to at most 16384 bytes;
//                  L < 0: -L bytes stored unchanged. |L| <= 16384.
//
// A volume-change record stands where an entry would start: 0C 00 00 00 "NEXT:DISK002";
// volume n >= 2 is the archive name with its extension replaced by "." + three digits, and
// starts with a data section continuing the file cut at the end of the previous volume.

// The error codes of the archive and their texts (ErrorText).
enum class BackupError {
  kNone = 0,
  kCannotReadFile = 1,
  kCannotReadArchive = 3,
  kCannotWriteArchive = 4,
  kInvalidArchiveType = 5,
  kCompressionError = 6,
  kCannotCreateFileIdList = 7,
};

// "Cannot read file", "Cannot read archive", ... ; "" for kNone.
std::string ErrorText(BackupError code);

// Thrown by a restore for the two failures that are raised to the caller: an unreadable
// header (kCannotReadArchive) and a data section without its signature
// (kInvalidArchiveType). what() is the error text.
class ArchiveError : public Error {
 public:
  explicit ArchiveError(BackupError code);
  BackupError code() const { return m_code; }

 private:
  BackupError m_code;
};

// The system's reason for the failure that just happened, when it gave one.
std::error_code SystemErrorNow();

inline constexpr std::size_t kChunkSize = 16384;
// Longest name an archive may hold; a longer one marks a damaged archive.
inline constexpr std::int32_t kMaxNameLength = 4096;
inline constexpr char kStreamName[] = ":STREAM";
inline constexpr char kFileIdListName[] = "FILE:LIST";
inline constexpr char kVolumeChangeName[] = "NEXT:DISK";
inline constexpr char kSectionSignature[4] = {'E', 'C', '2', '\0'};
// Room kept below MaxSize for the end of a section and the volume-change record.
inline constexpr std::int64_t kVolumeMargin = 16384 + 100;
// Volumes are numbered 2 to 999 after the first.
inline constexpr int kLastVolume = 999;

void PutInt32(unsigned char* bytes, std::int32_t value);
std::int32_t GetInt32(const unsigned char* bytes);

// Volume n >= 2 of an archive: its extension replaced by "." and the last three digits of n.
std::filesystem::path VolumePath(const std::filesystem::path& archive, int volume);
// The record that sends the reader to volume n: "NEXT:DISK002".
std::string VolumeChangeRecord(int volume);
// True when an entry name is a volume-change record, well formed or not.
bool IsVolumeChange(const std::string& name);
// The volume a volume-change record names; nothing when its number is not one to three
// digits.
std::optional<int> VolumeOf(const std::string& record);

struct ArchiveHeader {
  std::string title;
  std::int32_t total = 0;  // sum of the file sizes, low 32 bits
  std::int32_t count = 0;
};

// The archive being written: a file of our own or the caller's stream.
class ArchiveOutput {
 public:
  explicit ArchiveOutput(std::ostream* stream);
  ~ArchiveOutput();
  ArchiveOutput(const ArchiveOutput&) = delete;
  ArchiveOutput& operator=(const ArchiveOutput&) = delete;

  // Opens a new file (a volume) in place of the stream or the previous file.
  bool open(const std::filesystem::path& path);
  bool close();
  bool write(const void* data, std::size_t size);
  bool writeInt32(std::int32_t value);
  // Length then bytes.
  bool writeText(const std::string& text);
  bool writeHeader(const ArchiveHeader& header);
  // Name, packed date-time and the data section's signature.
  bool writeEntryStart(const std::string& name, std::uint32_t packed);
  // A chunk of signed length (see above) and its |length| bytes.
  bool writeChunk(std::int32_t length, const unsigned char* data);
  // The end of a data section or of the archive.
  bool writeEndMarker() { return writeInt32(0); }
  // Bytes written to the current volume.
  std::int64_t position() const { return m_position; }
  bool isStream() const { return m_file == nullptr; }

 private:
  std::unique_ptr<os::FileOutput> m_file;
  std::ostream* m_out = nullptr;
  std::int64_t m_position = 0;
};

// The archive being read: a file of our own or the caller's stream.
class ArchiveInput {
 public:
  explicit ArchiveInput(std::istream* stream);
  ~ArchiveInput();
  ArchiveInput(const ArchiveInput&) = delete;
  ArchiveInput& operator=(const ArchiveInput&) = delete;

  bool open(const std::filesystem::path& path);
  void close();
  // False when fewer than size bytes remain.
  bool read(void* data, std::size_t size);
  bool readInt32(std::int32_t& value);
  // Nothing when the header is cut short or its title longer than kMaxNameLength.
  std::optional<ArchiveHeader> readHeader();
  enum class Signature { kFound, kCut, kWrong };
  Signature readSignature();
  bool isStream() const { return m_file == nullptr; }

 private:
  std::unique_ptr<os::FileInput> m_file;
  std::istream* m_in = nullptr;
};

// Compresses chunks one by one with one zlib stream, reset before each chunk: a reset
// stream compresses exactly as a fresh one.
class ChunkDeflater {
 public:
  explicit ChunkDeflater(int level);
  ~ChunkDeflater();
  ChunkDeflater(const ChunkDeflater&) = delete;
  ChunkDeflater& operator=(const ChunkDeflater&) = delete;
  bool ok() const { return m_ok; }
  // The chunk length to write for size bytes of plain: > 0 when plain compressed into
  // packed (kChunkSize bytes) to that length, -size when its zlib stream does not fit there
  // and plain is stored; nothing on a compression error.
  std::optional<std::int32_t> encode(const unsigned char* plain, std::size_t size,
                                     unsigned char* packed);

 private:
  std::unique_ptr<z_stream_s> m_stream;
  bool m_ok = false;
};

class ChunkInflater {
 public:
  ChunkInflater();
  ~ChunkInflater();
  ChunkInflater(const ChunkInflater&) = delete;
  ChunkInflater& operator=(const ChunkInflater&) = delete;
  bool ok() const { return m_ok; }
  // Inflates one compressed chunk into plain (kChunkSize bytes): the bytes produced, or
  // nothing when the chunk is no whole zlib stream fitting in kChunkSize bytes.
  std::optional<std::size_t> decode(const unsigned char* packed, std::size_t size,
                                    unsigned char* plain);

 private:
  std::unique_ptr<z_stream_s> m_stream;
  bool m_ok = false;
};

}  // namespace vantrel::utilities
