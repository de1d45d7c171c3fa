#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel::testing {

// Builds archive bytes by hand, damaged ones included.
//   ArchiveBytes a("Vantrel", 5, 1);
//   a.entry("c:\\club\\vantrel.ini", packed).storedChunk("hello").endSection();
//   a.end();
class ArchiveBytes {
 public:
  ArchiveBytes(const std::string& title, std::int32_t total, std::int32_t count) {
    int32(static_cast<std::int32_t>(title.size()));
    m_bytes += title;
    int32(total);
    int32(count);
  }
  ArchiveBytes& int32(std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) m_bytes.push_back(static_cast<char>(v >> shift));
    return *this;
  }
  ArchiveBytes& raw(const std::string& bytes) {
    m_bytes += bytes;
    return *this;
  }
  // Name, date-time and the section's signature.
  ArchiveBytes& entry(const std::string& name, std::uint32_t packed) {
    int32(static_cast<std::int32_t>(name.size()));
    m_bytes += name;
    int32(static_cast<std::int32_t>(packed));
    return signature();
  }
  ArchiveBytes& signature() { return raw(std::string("EC2\0", 4)); }
  ArchiveBytes& storedChunk(const std::string& data) {
    int32(-static_cast<std::int32_t>(data.size()));
    return raw(data);
  }
  ArchiveBytes& endSection() { return int32(0); }
  ArchiveBytes& end() { return int32(0); }
  const std::string& bytes() const { return m_bytes; }

 private:
  std::string m_bytes;
};

// One entry of an archive walked by the tests' own reader.
struct WalkedEntry {
  std::string name;
  std::uint32_t packed = 0;
  std::vector<std::int32_t> chunkLengths;
};

// The header fields and entries of a single-volume archive; throws std::runtime_error when
// the bytes do not follow the layout.
struct WalkedArchive {
  std::string title;
  std::int32_t total = 0;
  std::int32_t count = 0;
  std::vector<WalkedEntry> entries;
};
WalkedArchive WalkArchive(const std::string& bytes);

}  // namespace vantrel::testing
