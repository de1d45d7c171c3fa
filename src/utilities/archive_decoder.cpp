#include "utilities/archive_decoder.h"

#include "core/os_file.h"
#include "utilities/archived_name.h"

namespace vantrel::utilities {

namespace fs = std::filesystem;

ArchiveDecoder::ArchiveDecoder(ArchiveInput& in, DecoderHooks hooks, unsigned char* packed,
                               unsigned char* plain)
    : m_in(in), m_hooks(std::move(hooks)), m_packed(packed), m_plain(plain) {}

bool ArchiveDecoder::fail(BackupError code, std::string file, std::error_code system) {
  if (m_hooks.fail) m_hooks.fail(code, std::move(file), system);
  return false;
}

bool ArchiveDecoder::run(const fs::path& archive, RestoreSink& sink) {
  const auto header = m_in.readHeader();
  if (!header) throw ArchiveError(BackupError::kCannotReadArchive);
  m_archive = archive;
  m_done = 0;
  m_total = static_cast<std::uint32_t>(header->total);
  if (!m_inflater.ok()) return fail(BackupError::kCompressionError);
  if (m_hooks.progress && !m_hooks.progress("", 0, m_total)) return false;
  bool inEntry = false;
  for (;;) {
    std::string name;
    if (!readName(name)) return false;
    if (name.empty()) break;
    if (IsVolumeChange(name)) {
      if (!inEntry) return fail(BackupError::kCannotReadFile);
      if (!changeVolume(name, sink)) return false;
      continue;
    }
    if (!sink.finishEntry()) return false;
    std::int32_t packed = 0;
    if (!m_in.readInt32(packed)) return fail(BackupError::kCannotReadFile);
    inEntry = true;
    if (!sink.startEntry(name, static_cast<std::uint32_t>(packed))) return false;
    const std::string target = sink.targetName();
    if (!readSection(sink, target.empty() ? name : target)) return false;
  }
  if (!sink.finishEntry()) return false;
  if (m_hooks.progress) m_hooks.progress("", m_total, m_total);
  return true;
}

bool ArchiveDecoder::readName(std::string& name) {
  std::int32_t length = 0;
  if (!m_in.readInt32(length)) return fail(BackupError::kCannotReadFile);
  if (length == 0) return true;
  if (length < 0 || length > kMaxNameLength) return fail(BackupError::kCannotReadFile);
  name.assign(static_cast<std::size_t>(length), '\0');
  return m_in.read(name.data(), name.size()) || fail(BackupError::kCannotReadFile);
}

// The rest of the current entry's data section comes from the next volume.
bool ArchiveDecoder::changeVolume(const std::string& record, RestoreSink& sink) {
  const auto volume = VolumeOf(record);
  if (!volume || m_in.isStream()) return fail(BackupError::kCannotReadFile);
  return openVolume(*volume) && readSection(sink, sink.targetName());
}

bool ArchiveDecoder::openVolume(int volume) {
  m_in.close();
  const fs::path path = VolumePath(m_archive, volume);
  for (;;) {
    if (os::Exists(path)) {
      return m_in.open(path) ||
             fail(BackupError::kCannotReadArchive, PathToText(path), SystemErrorNow());
    }
    if (!m_hooks.needDisk) {
      return fail(BackupError::kCannotReadArchive, PathToText(path),
                  std::make_error_code(std::errc::no_such_file_or_directory));
    }
    bool go = true;
    m_hooks.needDisk(static_cast<std::uint16_t>(volume), go);
    if (!go) return false;
  }
}

bool ArchiveDecoder::readSection(RestoreSink& sink, const std::string& progressName) {
  switch (m_in.readSignature()) {
    case ArchiveInput::Signature::kCut:
      return fail(BackupError::kCannotReadFile);
    case ArchiveInput::Signature::kWrong:
      throw ArchiveError(BackupError::kInvalidArchiveType);
    case ArchiveInput::Signature::kFound:
      break;
  }
  for (;;) {
    std::int32_t length = 0;
    if (!m_in.readInt32(length)) return fail(BackupError::kCannotReadFile);
    if (length == 0) return true;
    if (!readChunk(length, sink)) return false;
    if (m_hooks.processEvents) m_hooks.processEvents();
    if (m_hooks.progress && !m_hooks.progress(progressName, m_done, m_total)) return false;
  }
}

bool ArchiveDecoder::readChunk(std::int32_t length, RestoreSink& sink) {
  const std::int64_t size = length < 0 ? -std::int64_t(length) : std::int64_t(length);
  if (size > std::int64_t(kChunkSize)) return fail(BackupError::kCannotReadFile);
  if (!m_in.read(m_packed, static_cast<std::size_t>(size))) {
    return fail(BackupError::kCannotReadFile);
  }
  if (!sink.wantsData()) {
    m_done += kChunkSize;  // stepped over: counted as a whole chunk
    return true;
  }
  const unsigned char* data = m_packed;
  std::size_t produced = static_cast<std::size_t>(size);
  if (length > 0) {
    const auto inflated = m_inflater.decode(m_packed, produced, m_plain);
    if (!inflated) return fail(BackupError::kCompressionError);
    produced = *inflated;
    data = m_plain;
  }
  if (!sink.write(data, produced)) return false;
  m_done += produced;
  return true;
}

}  // namespace vantrel::utilities
