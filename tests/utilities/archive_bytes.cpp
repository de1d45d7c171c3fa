#include "utilities/archive_bytes.h"

#include <stdexcept>

namespace vantrel::testing {

namespace {

class Reader {
 public:
  explicit Reader(const std::string& bytes) : m_bytes(bytes) {}
  std::int32_t int32() {
    const std::string b = take(4);
    const std::uint32_t v =
        std::uint32_t(std::uint8_t(b[0])) | std::uint32_t(std::uint8_t(b[1])) << 8 |
        std::uint32_t(std::uint8_t(b[2])) << 16 | std::uint32_t(std::uint8_t(b[3])) << 24;
    return static_cast<std::int32_t>(v);
  }
  std::string take(std::size_t size) {
    if (m_at + size > m_bytes.size()) throw std::runtime_error("archive truncated");
    std::string part = m_bytes.substr(m_at, size);
    m_at += size;
    return part;
  }
  bool atEnd() const { return m_at == m_bytes.size(); }

 private:
  const std::string& m_bytes;
  std::size_t m_at = 0;
};

}  // namespace

WalkedArchive WalkArchive(const std::string& bytes) {
  Reader reader(bytes);
  WalkedArchive archive;
  archive.title = reader.take(static_cast<std::size_t>(reader.int32()));
  archive.total = reader.int32();
  archive.count = reader.int32();
  for (;;) {
    const std::int32_t length = reader.int32();
    if (length == 0) break;
    WalkedEntry entry;
    entry.name = reader.take(static_cast<std::size_t>(length));
    entry.packed = static_cast<std::uint32_t>(reader.int32());
    if (reader.take(4) != std::string("EC2\0", 4)) throw std::runtime_error("no signature");
    for (;;) {
      const std::int32_t chunk = reader.int32();
      if (chunk == 0) break;
      entry.chunkLengths.push_back(chunk);
      reader.take(static_cast<std::size_t>(chunk < 0 ? -chunk : chunk));
    }
    archive.entries.push_back(entry);
  }
  if (!reader.atEnd()) throw std::runtime_error("bytes after the end marker");
  return archive;
}

}  // namespace vantrel::testing
