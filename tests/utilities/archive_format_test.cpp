#include "utilities/archive_format.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <sstream>
#include <stdexcept>

#include "support/temp_folder.h"
#include "utilities/archive_bytes.h"
#include "utilities/archive_decoder.h"
#include "utilities/backup_file.h"
#include "utilities/club_backup.h"

namespace vantrel::utilities {
namespace {

namespace fs = std::filesystem;
using testing::ArchiveBytes;
using testing::TempFolder;

const std::uint32_t kPacked = PackDateTime(2026, 12, 11, 9, 30, 0);

// Writes what the decoder hands over, one line per call, as a test would check it.
class RecordingSink : public RestoreSink {
 public:
  explicit RecordingSink(bool wants = true) : m_wants(wants) {}
  bool startEntry(const std::string& name, std::uint32_t packed) override {
    log.push_back("start " + name + (packed == kPacked ? "" : " (other date)"));
    m_open = true;
    return true;
  }
  bool wantsData() const override { return m_wants; }
  bool write(const unsigned char* data, std::size_t size) override {
    log.push_back("write " + std::string(reinterpret_cast<const char*>(data), size));
    return true;
  }
  bool finishEntry() override {
    if (m_open) log.push_back("finish");
    m_open = false;
    return true;
  }
  std::vector<std::string> log;

 private:
  bool m_wants;
  bool m_open = false;
};

// A decoder over bytes, its failures and progress kept.
struct Decoding {
  std::vector<BackupError> failures;
  std::uint64_t lastDone = 0;
  std::uint64_t lastTotal = 0;
  bool result = false;

  void run(const std::string& bytes, RestoreSink& sink) {
    std::istringstream stream(bytes);
    ArchiveInput in(&stream);
    DecoderHooks hooks;
    hooks.fail = [this](BackupError code, std::string, std::error_code) {
      failures.push_back(code);
      return false;
    };
    hooks.progress = [this](const std::string&, std::uint64_t done, std::uint64_t total) {
      lastDone = done;
      lastTotal = total;
      return true;
    };
    ArchiveDecoder decoder(in, std::move(hooks), packed.data(), plain.data());
    result = decoder.run(fs::path(), sink);
  }
  std::array<unsigned char, kChunkSize> packed{};
  std::array<unsigned char, kChunkSize> plain{};
};

// One zlib stream of the bytes, as the archiver writes a compressed chunk.
std::string Compressed(const std::string& plain) {
  uLongf size = compressBound(static_cast<uLong>(plain.size()));
  std::string out(size, '\0');
  if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                reinterpret_cast<const Bytef*>(plain.data()), static_cast<uLong>(plain.size()),
                9) != Z_OK) {
    throw std::runtime_error("compress2");
  }
  out.resize(size);
  return out;
}

// Two entries: one stored chunk, then two compressed chunks.
std::string TwoEntries() {
  const std::string second = Compressed("second");
  const std::string third = Compressed("third");
  return ArchiveBytes("Vantrel", 16, 2)
      .entry("/club/a.txt", kPacked)
      .storedChunk("first")
      .endSection()
      .entry("/club/b.txt", kPacked)
      .int32(static_cast<std::int32_t>(second.size()))
      .raw(second)
      .int32(static_cast<std::int32_t>(third.size()))
      .raw(third)
      .endSection()
      .end()
      .bytes();
}

// The writer lays out the same bytes as the test's builder, and the reader reads them back.
TEST(ArchiveFormatTest, WriterAndReaderAgreeOnTheLayout) {
  std::stringstream stream;
  ArchiveOutput out(&stream);
  const unsigned char data[] = {'h', 'e', 'l', 'l', 'o'};
  ASSERT_TRUE(out.writeHeader({"Vantrel", 5, 1}) && out.writeEntryStart("/club/a.txt", kPacked) &&
              out.writeChunk(-5, data) && out.writeEndMarker() && out.writeEndMarker());
  EXPECT_EQ(ArchiveBytes("Vantrel", 5, 1)
                .entry("/club/a.txt", kPacked)
                .storedChunk("hello")
                .endSection()
                .end()
                .bytes(),
            stream.str());
  EXPECT_EQ(static_cast<std::int64_t>(stream.str().size()), out.position());

  ArchiveInput in(&stream);
  const auto header = in.readHeader();
  ASSERT_TRUE(header.has_value());
  EXPECT_EQ("Vantrel", header->title);
  EXPECT_EQ(5, header->total);
  EXPECT_EQ(1, header->count);

  // Volume numbers: one to three digits in the record, the last three in the file name.
  EXPECT_EQ("NEXT:DISK002", VolumeChangeRecord(2));
  EXPECT_EQ(std::optional<int>(2), VolumeOf("NEXT:DISK002"));
  EXPECT_EQ(std::optional<int>(999), VolumeOf("NEXT:DISK999"));
  for (const char* bad : {"NEXT:DISK", "NEXT:DISK1000", "NEXT:DISK0x2", "NEXT:DISK-1"}) {
    EXPECT_TRUE(IsVolumeChange(bad));
    EXPECT_FALSE(VolumeOf(bad).has_value()) << bad;
  }
  EXPECT_FALSE(IsVolumeChange("/club/NEXT:DISK002"));
  EXPECT_EQ(fs::path("club") / "SvgVantrel.002", VolumePath(fs::path("club") / "SvgVantrel.bck", 2));
  EXPECT_EQ(fs::path("SvgVantrel.014"), VolumePath("SvgVantrel", 1014));
}

// A chunk is written compressed when its zlib stream fits in a chunk, else stored; a
// compressed chunk that would inflate past 16384 bytes or leaves bytes over is refused.
TEST(ArchiveFormatTest, ChunksCompressOnlyWhenTheyShrink) {
  std::array<unsigned char, kChunkSize> plain{}, packed{}, back{};
  ChunkDeflater deflater(9);
  ChunkInflater inflater;
  ASSERT_TRUE(deflater.ok() && inflater.ok());
  for (std::size_t i = 0; i < kChunkSize; ++i) plain[i] = static_cast<unsigned char>(i % 7);
  const auto length = deflater.encode(plain.data(), kChunkSize, packed.data());
  ASSERT_TRUE(length.has_value());
  ASSERT_GT(*length, 0);
  const auto produced = inflater.decode(packed.data(), std::size_t(*length), back.data());
  ASSERT_EQ(std::optional<std::size_t>(kChunkSize), produced);
  EXPECT_EQ(plain, back);

  // Random bytes grow: a short chunk is still written compressed, a whole one no longer fits
  // in a chunk and is stored.
  std::uint32_t seed = 12345;
  for (auto& byte : plain) byte = static_cast<unsigned char>((seed = seed * 1103515245 + 12345) >> 24);
  const auto grown = deflater.encode(plain.data(), 100, packed.data());
  ASSERT_TRUE(grown.has_value());
  EXPECT_GT(*grown, 100);
  EXPECT_EQ(std::optional<std::int32_t>(-std::int32_t(kChunkSize)),
            deflater.encode(plain.data(), kChunkSize, packed.data()));
  const std::string tooLong = Compressed(std::string(kChunkSize + 1, 'a'));
  EXPECT_FALSE(inflater.decode(reinterpret_cast<const unsigned char*>(tooLong.data()),
                               tooLong.size(), back.data()));
  const std::string trailing = Compressed("abc") + "x";
  EXPECT_FALSE(inflater.decode(reinterpret_cast<const unsigned char*>(trailing.data()),
                               trailing.size(), back.data()));
}

// Listing, testing and restoring see the same calls; a sink that wants no data of an entry
// has its chunks stepped over unread, even undecodable ones.
TEST(ArchiveDecoderTest, HandsEveryEntryToTheSink) {
  RecordingSink sink;
  Decoding decoding;
  decoding.run(TwoEntries(), sink);
  EXPECT_TRUE(decoding.result);
  EXPECT_TRUE(decoding.failures.empty());
  EXPECT_EQ((std::vector<std::string>{"start /club/a.txt", "write first", "finish",
                                      "start /club/b.txt", "write second", "write third",
                                      "finish"}),
            sink.log);
  EXPECT_EQ(16u, decoding.lastDone);
  EXPECT_EQ(16u, decoding.lastTotal);

  RecordingSink skipping(false);
  Decoding stepped;
  stepped.run(ArchiveBytes("Vantrel", 5, 1)
                  .entry("/club/a.txt", kPacked)
                  .int32(5)
                  .raw("hello")
                  .endSection()
                  .end()
                  .bytes(),
              skipping);
  EXPECT_TRUE(stepped.result);
  EXPECT_TRUE(stepped.failures.empty());
  EXPECT_EQ((std::vector<std::string>{"start /club/a.txt", "finish"}), skipping.log);
}

// Cut anywhere, an archive stops the decoder with one failure: the header with ArchiveError,
// anything later as damaged. The entry being cut never reaches its finish, and a restore
// puts nothing of it in place (no target, no file left beside it).
TEST(ArchiveDecoderTest, CutArchiveStopsWithItsMessageAndFinishesNothingHalfRead) {
  const std::string whole = TwoEntries();
  const std::size_t headerSize = 4 + 7 + 4 + 4;
  // The first entry is finished once the name starting the second has been read.
  const std::size_t secondName = whole.find("/club/b.txt") + 11;
  for (std::size_t size = 0; size < whole.size(); ++size) {
    SCOPED_TRACE("cut at " + std::to_string(size));
    const std::string cut = whole.substr(0, size);
    RecordingSink sink;
    Decoding decoding;
    if (size < headerSize) {
      try {
        decoding.run(cut, sink);
        ADD_FAILURE() << "no ArchiveError";
      } catch (const ArchiveError& error) {
        EXPECT_EQ(BackupError::kCannotReadArchive, error.code());
      }
      EXPECT_TRUE(sink.log.empty());
      continue;
    }
    decoding.run(cut, sink);
    EXPECT_FALSE(decoding.result);
    ASSERT_EQ((std::vector<BackupError>{BackupError::kCannotReadFile}), decoding.failures);
    const auto finishes = std::count(sink.log.begin(), sink.log.end(), "finish");
    EXPECT_EQ(size < secondName ? 0 : 1, finishes);
    const auto second = std::find(sink.log.begin(), sink.log.end(), "start /club/b.txt");
    EXPECT_EQ(sink.log.end(), std::find(second, sink.log.end(), "finish"));

    const TempFolder folder;
    std::stringstream stream(cut);
    TBackupFile backup;
    backup.setStream(&stream);
    std::string message;
    backup.OnError = [&](BackupError, const std::string&) {
      message = ArchiveErrorText(backup, "SvgVantrel.bck", true);
    };
    EXPECT_FALSE(backup.Restore(kStreamName, PathToText(folder.path())));
    EXPECT_EQ("L'archive SvgVantrel.bck est endommag\xe9" "e ou incompl\xe8te", message);
    const std::vector<std::string> expected =
        finishes == 0 ? std::vector<std::string>{} : std::vector<std::string>{"a.txt"};
    EXPECT_EQ(expected, testing::NamesIn(folder.path()));
  }
}

}  // namespace
}  // namespace vantrel::utilities
