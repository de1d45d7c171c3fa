#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>

#include "utilities/archive_format.h"

namespace vantrel::utilities {

// What a decoder does with the entries it reads: lists them, tests them or restores them.
// The decoder calls, per entry: finishEntry (of the previous one, also when there was
// none), startEntry, then write for each chunk while wantsData; finishEntry once more at
// the end marker. A member returning false stops the read: it has reported why, or the
// user cancelled.
class RestoreSink {
 public:
  virtual ~RestoreSink() = default;
  virtual bool startEntry(const std::string& name, std::uint32_t packed) = 0;
  // True when the chunks of the current entry are to be inflated and handed to write;
  // otherwise they are stepped over unread.
  virtual bool wantsData() const = 0;
  virtual bool write(const unsigned char* data, std::size_t size) = 0;
  virtual bool finishEntry() = 0;
  // The file the current entry is written to (Windows-1252), empty for none: what progress
  // reports instead of the archived name.
  virtual std::string targetName() const { return {}; }
};

// How a decoder reaches its owner.
struct DecoderHooks {
  // Records a failure: its code, the file it concerns, the system's reason; returns false.
  std::function<bool(BackupError, std::string, std::error_code)> fail;
  // Tells how far the read is (file being read, bytes done, bytes in all); false cancels.
  std::function<bool(const std::string&, std::uint64_t, std::uint64_t)> progress;
  // Runs after every chunk; may be unset.
  std::function<void()> processEvents;
  // Asks for volume n; clearing the flag cancels. Unset: a missing volume is an error.
  std::function<void(std::uint16_t, bool&)> needDisk;
};

// Reads an archive from its header to its end marker through two buffers of kChunkSize
// bytes (packed, plain), handing each entry to a sink.
class ArchiveDecoder {
 public:
  ArchiveDecoder(ArchiveInput& in, DecoderHooks hooks, unsigned char* packed,
                 unsigned char* plain);

  // archive: the path of the first volume, for the next ones (a stream has none). True when
  // the end marker was read. A damaged archive (cut short, a name or chunk too long, a
  // volume change out of place, bad compressed data) fails with kCannotReadFile or
  // kCompressionError; a missing volume with kCannotReadArchive and its path. Throws
  // ArchiveError when the header cannot be read or a data section lacks its signature.
  bool run(const std::filesystem::path& archive, RestoreSink& sink);

 private:
  bool fail(BackupError code, std::string file = {}, std::error_code system = {});
  // Reads the name starting an entry or a volume change; false when damaged. Empty at the
  // end marker.
  bool readName(std::string& name);
  bool changeVolume(const std::string& record, RestoreSink& sink);
  bool openVolume(int volume);
  bool readSection(RestoreSink& sink, const std::string& progressName);
  bool readChunk(std::int32_t length, RestoreSink& sink);

  ArchiveInput& m_in;
  DecoderHooks m_hooks;
  unsigned char* m_packed;
  unsigned char* m_plain;
  ChunkInflater m_inflater;
  std::filesystem::path m_archive;
  std::uint64_t m_done = 0;
  std::uint64_t m_total = 0;
};

}  // namespace vantrel::utilities
