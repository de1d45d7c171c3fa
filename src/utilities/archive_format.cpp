#include "utilities/archive_format.h"

#include <zlib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <istream>
#include <ostream>

#include "core/os_file.h"

namespace vantrel::utilities {

namespace fs = std::filesystem;

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

std::error_code SystemErrorNow() {
  if (const std::error_code seam = os::LastError()) return seam;
  const int code = errno;
  return code == 0 ? std::error_code() : std::error_code(code, std::generic_category());
}

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

fs::path VolumePath(const fs::path& archive, int volume) {
  char digits[8];
  std::snprintf(digits, sizeof digits, ".%03d", volume % 1000);
  fs::path result = archive;
  result.replace_extension(digits);
  return result;
}

std::string VolumeChangeRecord(int volume) {
  char record[32];
  std::snprintf(record, sizeof record, "%s%03d", kVolumeChangeName, volume);
  return record;
}

bool IsVolumeChange(const std::string& name) { return name.rfind(kVolumeChangeName, 0) == 0; }

std::optional<int> VolumeOf(const std::string& record) {
  if (!IsVolumeChange(record)) return std::nullopt;
  const std::string digits = record.substr(std::strlen(kVolumeChangeName));
  if (digits.empty() || digits.size() > 3 ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  return std::stoi(digits);
}

// ---------------------------------------------------------------------------------------

ArchiveOutput::ArchiveOutput(std::ostream* stream) : m_out(stream) {}
ArchiveOutput::~ArchiveOutput() = default;

bool ArchiveOutput::open(const fs::path& path) {
  m_file = std::make_unique<os::FileOutput>();
  m_file->open(path);
  m_out = m_file.get();
  m_position = 0;
  return m_file->is_open();
}

bool ArchiveOutput::close() {
  if (!m_file) return m_out->flush().good();
  m_file->close();
  const bool ok = !m_file->fail();
  m_file.reset();
  return ok;
}

bool ArchiveOutput::write(const void* data, std::size_t size) {
  m_out->write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  m_position += static_cast<std::int64_t>(size);
  return m_out->good();
}

bool ArchiveOutput::writeInt32(std::int32_t value) {
  unsigned char bytes[4];
  PutInt32(bytes, value);
  return write(bytes, 4);
}

bool ArchiveOutput::writeText(const std::string& text) {
  return writeInt32(static_cast<std::int32_t>(text.size())) && write(text.data(), text.size());
}

bool ArchiveOutput::writeHeader(const ArchiveHeader& header) {
  return writeText(header.title) && writeInt32(header.total) && writeInt32(header.count);
}

bool ArchiveOutput::writeEntryStart(const std::string& name, std::uint32_t packed) {
  return writeText(name) && writeInt32(static_cast<std::int32_t>(packed)) &&
         write(kSectionSignature, 4);
}

bool ArchiveOutput::writeChunk(std::int32_t length, const unsigned char* data) {
  const std::size_t size = length < 0 ? std::size_t(-std::int64_t(length)) : std::size_t(length);
  return writeInt32(length) && write(data, size);
}

// ---------------------------------------------------------------------------------------

ArchiveInput::ArchiveInput(std::istream* stream) : m_in(stream) {}
ArchiveInput::~ArchiveInput() = default;

bool ArchiveInput::open(const fs::path& path) {
  m_file = std::make_unique<os::FileInput>(path);
  m_in = m_file.get();
  return m_file->is_open();
}

void ArchiveInput::close() { m_file.reset(); }

bool ArchiveInput::read(void* data, std::size_t size) {
  if (!m_in) return false;
  m_in->read(static_cast<char*>(data), static_cast<std::streamsize>(size));
  return static_cast<std::size_t>(m_in->gcount()) == size;
}

bool ArchiveInput::readInt32(std::int32_t& value) {
  unsigned char bytes[4];
  if (!read(bytes, 4)) return false;
  value = GetInt32(bytes);
  return true;
}

std::optional<ArchiveHeader> ArchiveInput::readHeader() {
  std::int32_t titleLength = 0;
  if (!readInt32(titleLength) || titleLength < 0 || titleLength > kMaxNameLength) {
    return std::nullopt;
  }
  ArchiveHeader header;
  header.title.assign(static_cast<std::size_t>(titleLength), '\0');
  if (!read(header.title.data(), header.title.size()) || !readInt32(header.total) ||
      !readInt32(header.count)) {
    return std::nullopt;
  }
  return header;
}

ArchiveInput::Signature ArchiveInput::readSignature() {
  char signature[4];
  if (!read(signature, 4)) return Signature::kCut;
  return std::memcmp(signature, kSectionSignature, 4) == 0 ? Signature::kFound : Signature::kWrong;
}

// ---------------------------------------------------------------------------------------

ChunkDeflater::ChunkDeflater(int level) : m_stream(std::make_unique<z_stream>()) {
  m_ok = deflateInit2_(m_stream.get(), level, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY, ZLIB_VERSION,
                       static_cast<int>(sizeof(z_stream))) == Z_OK;
}

ChunkDeflater::~ChunkDeflater() {
  if (m_ok) deflateEnd(m_stream.get());
}

std::optional<std::int32_t> ChunkDeflater::encode(const unsigned char* plain, std::size_t size,
                                                  unsigned char* packed) {
  z_stream& z = *m_stream;
  if (deflateReset(&z) != Z_OK) return std::nullopt;
  z.next_in = const_cast<unsigned char*>(plain);
  z.avail_in = static_cast<uInt>(size);
  z.next_out = packed;
  z.avail_out = kChunkSize;
  const int result = deflate(&z, Z_FINISH);
  if (result == Z_STREAM_END) return static_cast<std::int32_t>(kChunkSize - z.avail_out);
  if (result == Z_OK || result == Z_BUF_ERROR) return -static_cast<std::int32_t>(size);
  return std::nullopt;
}

ChunkInflater::ChunkInflater() : m_stream(std::make_unique<z_stream>()) {
  m_ok = inflateInit_(m_stream.get(), ZLIB_VERSION, static_cast<int>(sizeof(z_stream))) == Z_OK;
}

ChunkInflater::~ChunkInflater() {
  if (m_ok) inflateEnd(m_stream.get());
}

std::optional<std::size_t> ChunkInflater::decode(const unsigned char* packed, std::size_t size,
                                                 unsigned char* plain) {
  z_stream& z = *m_stream;
  if (inflateReset(&z) != Z_OK) return std::nullopt;
  z.next_in = const_cast<unsigned char*>(packed);
  z.avail_in = static_cast<uInt>(size);
  z.next_out = plain;
  z.avail_out = kChunkSize;
  if (inflate(&z, Z_FINISH) != Z_STREAM_END || z.avail_in != 0) return std::nullopt;
  return kChunkSize - z.avail_out;
}

}  // namespace vantrel::utilities
