#include "utilities/backup_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>

#include "core/text_helpers.h"
#include "support/temp_folder.h"
#include "utilities/archive_bytes.h"

namespace vantrel::utilities {
namespace {

namespace fs = std::filesystem;
using testing::ArchiveBytes;
using testing::NativeSeparators;
using testing::ReadFile;
using testing::TempFolder;
using testing::WalkArchive;
using testing::WriteFile;

std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

std::string Text(std::size_t size) {
  std::string text;
  for (int line = 0; text.size() < size; ++line) {
    text += "0012345" + std::to_string(line) + ";M.;DUPONT;Jean;12;OUI;\r\n";
  }
  text.resize(size);
  return text;
}

const std::uint32_t kMay2019 = PackDateTime(2019, 5, 10, 14, 30, 22);

class BackupFileTest : public ::testing::Test {
 protected:
  // Archives the files into bytes through ":STREAM".
  std::string ArchiveToBytes(TBackupFile& backup, const std::vector<std::string>& patterns) {
    std::stringstream stream;
    backup.setStream(&stream);
    EXPECT_TRUE(backup.Backup(patterns, kStreamName));
    return stream.str();
  }
  std::string Pattern(const fs::path& path) { return PathToText(path); }

  TempFolder source;
  TempFolder target;
};

TEST_F(BackupFileTest, ArchiveOfNoFileIsHeaderAndEndMarker) {
  TBackupFile backup;
  const std::string bytes = ArchiveToBytes(backup, {});
  EXPECT_EQ(std::string("\x07\0\0\0Vantrel\0\0\0\0\0\0\0\0\0\0\0\0", 23), bytes);
}

TEST_F(BackupFileTest, HeaderCarriesTitleTotalAndCount) {
  WriteFile(source.path() / "a.txt", "hello");
  WriteFile(source.path() / "b.txt", Text(20000));
  TBackupFile backup;
  const auto archive = WalkArchive(ArchiveToBytes(backup, {Pattern(source.path() / "*.txt")}));
  EXPECT_EQ("Vantrel", archive.title);
  EXPECT_EQ(20005, archive.total);
  EXPECT_EQ(2, archive.count);
  ASSERT_EQ(2u, archive.entries.size());
  EXPECT_EQ(ArchivedNameOf(source.path() / "a.txt"), archive.entries[0].name);
}

TEST_F(BackupFileTest, CutsFilesIntoChunksOf16384Bytes) {
  struct Case {
    std::size_t size;
    std::size_t chunks;
  };
  for (const Case& c : {Case{0, 0}, Case{1, 1}, Case{16383, 1}, Case{16384, 1}, Case{16385, 2},
                        Case{3 * 16384, 3}, Case{3 * 16384 + 7, 4}}) {
    SCOPED_TRACE("size " + std::to_string(c.size));
    const fs::path file = source.path() / "data.txt";
    WriteFile(file, Text(c.size));
    TBackupFile backup;
    std::stringstream stream;
    backup.setStream(&stream);
    ASSERT_TRUE(backup.Backup({Pattern(file)}, kStreamName));
    const auto archive = WalkArchive(stream.str());
    ASSERT_EQ(1u, archive.entries.size());
    EXPECT_EQ(c.chunks, archive.entries[0].chunkLengths.size());
    for (std::int32_t length : archive.entries[0].chunkLengths) EXPECT_GT(length, 0);

    stream.clear();
    stream.seekg(0);
    ASSERT_TRUE(backup.Restore(kStreamName, PathToText(target.path())));
    EXPECT_EQ(Text(c.size), ReadFile(target.path() / "data.txt"));
  }
}

TEST_F(BackupFileTest, StoresChunksThatDoNotShrink) {
  const std::string random = RandomBytes(16384 + 5000, 7);
  WriteFile(source.path() / "random.bin", random);
  TBackupFile backup;
  std::stringstream stream;
  backup.setStream(&stream);
  ASSERT_TRUE(backup.Backup({Pattern(source.path() / "*.*")}, kStreamName));
  const auto archive = WalkArchive(stream.str());
  ASSERT_EQ(1u, archive.entries.size());
  // The full chunk would grow: stored. The short one fits in 16384 bytes once compressed,
  // larger than itself but complete, so it stays compressed.
  ASSERT_EQ(2u, archive.entries[0].chunkLengths.size());
  EXPECT_EQ(-16384, archive.entries[0].chunkLengths[0]);
  EXPECT_GT(archive.entries[0].chunkLengths[1], 5000);
  stream.seekg(0);
  ASSERT_TRUE(backup.Restore(kStreamName, PathToText(target.path())));
  EXPECT_EQ(random, ReadFile(target.path() / "random.bin"));
}

TEST_F(BackupFileTest, EveryCompressionLevelRoundTrips) {
  const std::string bytes = Text(40000) + RandomBytes(20000, 3);
  WriteFile(source.path() / "mixed.dat", bytes);
  for (auto level : {CompressionLevel::clFastest, CompressionLevel::clNone,
                     CompressionLevel::clDefault, CompressionLevel::clMax}) {
    SCOPED_TRACE(static_cast<int>(level));
    TBackupFile backup;
    backup.setCompressionLevel(level);
    const fs::path archive = target.path() / "level.bck";
    ASSERT_TRUE(backup.Backup({Pattern(source.path() / "*.dat")}, PathToText(archive)));
    const fs::path out = target.path() / "out";
    ASSERT_TRUE(backup.Restore(PathToText(archive), PathToText(out)));
    EXPECT_EQ(bytes, ReadFile(out / "mixed.dat"));
  }
}

TEST_F(BackupFileTest, RestoresModificationTimeToTheTwoSeconds) {
  WriteFile(source.path() / "Joueur.DBP", "1;A;\r\n");
  ASSERT_TRUE(SetPackedTime(source.path() / "Joueur.DBP", kMay2019));
  TBackupFile backup;
  const fs::path archive = target.path() / "SvgVantrel.bck";
  ASSERT_TRUE(backup.Backup({Pattern(source.path() / "*.*")}, PathToText(archive)));
  ASSERT_TRUE(backup.Restore(PathToText(archive), PathToText(target.path() / "out")));
  EXPECT_EQ(kMay2019, PackedTimeOf(target.path() / "out" / "joueur.dbp"));
  EXPECT_EQ("10/05/2019 14:30:22", FormatPackedDateTime(kMay2019));
}

TEST_F(BackupFileTest, ArchivesLowerCaseFullPathsAndSkipsTheArchiveItself) {
  WriteFile(source.path() / "Club" / "Joueur.DBP", "x");
  WriteFile(source.path() / "Club" / "SvgVantrel.bck", "old");
  TBackupFile backup;
  const fs::path archive = source.path() / "Club" / "SvgVantrel.bck";
  ASSERT_TRUE(backup.Backup({Pattern(source.path() / "Club" / "*.*")}, PathToText(archive)));
  const std::string folder = LowerAscii(PathToText(source.path()));
  EXPECT_EQ((std::vector<std::string>{folder + NativeSeparators("/club/joueur.dbp")}),
            backup.fileList());
}

TEST_F(BackupFileTest, PatternWithSubFoldersListsThemDepthFirst) {
  WriteFile(source.path() / "b.txt", "b");
  WriteFile(source.path() / "a" / "x.txt", "ax");
  WriteFile(source.path() / "a" / "deep" / "y.txt", "ady");
  WriteFile(source.path() / "a" / "deep" / "skip.dat", "no");
  WriteFile(source.path() / "c" / "z.txt", "cz");
  const std::string root = LowerAscii(PathToText(source.path()));
  TBackupFile backup;
  ArchiveToBytes(backup,
                 {Pattern(source.path() / "*.txt") + " /s", Pattern(source.path() / "b.txt")});
  EXPECT_EQ((std::vector<std::string>{
                root + NativeSeparators("/a/deep/y.txt"), root + NativeSeparators("/a/x.txt"),
                root + NativeSeparators("/c/z.txt"), root + NativeSeparators("/b.txt")}),
            backup.fileList());
  ArchiveToBytes(backup, {Pattern(source.path() / "*.txt")});
  EXPECT_EQ((std::vector<std::string>{root + NativeSeparators("/b.txt")}), backup.fileList());
}

TEST(MatchesMaskTest, FollowsWindowsWildcards) {
  struct Case {
    const char* name;
    const char* mask;
    bool matches;
  };
  for (const Case& c : {Case{"Vantrel.ini", "*.ini", true}, Case{"vantrel.INI", "*.ini", true},
                        Case{"readme", "*.*", true}, Case{"0001.dbp", "????.dbp", true},
                        Case{"00001.dbp", "????.dbp", false}, Case{"a.ini.bak", "*.ini", false},
                        Case{"joueur.dbp", "j*r.dbp", true}, Case{"x", "", false}}) {
    EXPECT_EQ(c.matches, MatchesMask(c.name, c.mask)) << c.name << " " << c.mask;
  }
}

TEST_F(BackupFileTest, FileIdListComesFirstAndIsNeverRestored) {
  WriteFile(source.path() / "a.txt", "abc");
  SetPackedTime(source.path() / "a.txt", kMay2019);
  TBackupFile backup;
  backup.setSaveFileID(true);
  const std::string bytes = ArchiveToBytes(backup, {Pattern(source.path() / "*.txt")});
  const auto archive = WalkArchive(bytes);
  ASSERT_EQ(2u, archive.entries.size());
  EXPECT_EQ("FILE:LIST", archive.entries[0].name);
  EXPECT_EQ(1, archive.count);
  const std::string line =
      ArchivedNameOf(source.path() / "a.txt") + "\t" + std::to_string(kMay2019) + "=3\r\n";
  EXPECT_EQ(static_cast<std::int32_t>(3 + line.size()), archive.total);

  std::stringstream stream(bytes);
  backup.setStream(&stream);
  const auto listed = backup.List(kStreamName);
  ASSERT_TRUE(listed.has_value());
  EXPECT_EQ(line.size(), (*listed)[0].size);
  stream.clear();
  stream.seekg(0);
  ASSERT_TRUE(backup.Restore(kStreamName, PathToText(target.path())));
  EXPECT_EQ((std::vector<fs::path>{target.path() / "a.txt"}),
            std::vector<fs::path>(fs::directory_iterator(target.path()), fs::directory_iterator()));
}

TEST_F(BackupFileTest, FileIdListTemporaryFileIsDeleted) {
  WriteFile(source.path() / "a.txt", "abc");
  // A temporary folder of this test's own: tests running beside it write their lists too.
  const TempFolder temp;
  // The variable the system's temporary folder comes from.
#ifdef _WIN32
  const auto set = [](const fs::path& value) { _wputenv_s(L"TMP", value.c_str()); };
  const auto unset = [] { _wputenv_s(L"TMP", L""); };
  const char* saved = std::getenv("TMP");
#else
  const auto set = [](const fs::path& value) { setenv("TMPDIR", value.c_str(), 1); };
  const auto unset = [] { unsetenv("TMPDIR"); };
  const char* saved = std::getenv("TMPDIR");
#endif
  const fs::path previous = saved ? fs::path(saved) : fs::path();
  set(temp.path());
  TBackupFile backup;
  backup.setSaveFileID(true);
  bool listWritten = false;
  backup.OnProgress = [&](const std::string&, int, bool&) {
    if (!fs::is_empty(temp.path())) listWritten = true;
  };
  ArchiveToBytes(backup, {Pattern(source.path() / "*.txt")});
  if (saved) {
    set(previous);
  } else {
    unset();
  }
  EXPECT_TRUE(listWritten);
  EXPECT_TRUE(fs::is_empty(temp.path()));
}

TEST_F(BackupFileTest, FileGoneAfterListingIsLeftOut) {
  WriteFile(source.path() / "a.txt", "first");
  WriteFile(source.path() / "b.txt", "second");
  TBackupFile backup;
  backup.OnProgress = [&](const std::string&, int percent, bool&) {
    if (percent == 0) fs::remove(source.path() / "b.txt");
  };
  const auto archive = WalkArchive(ArchiveToBytes(backup, {Pattern(source.path() / "*.txt")}));
  EXPECT_EQ(2, archive.count);
  ASSERT_EQ(1u, archive.entries.size());
  EXPECT_EQ(ArchivedNameOf(source.path() / "a.txt"), archive.entries[0].name);
}

TEST_F(BackupFileTest, DiskPromptCancelStopsWithoutError) {
  WriteFile(source.path() / "big.bin", RandomBytes(80000, 5));
  TBackupFile backup;
  backup.setMaxSize(40000);
  backup.OnNeedDisk = [](std::uint16_t, bool& go) { go = false; };
  int errors = 0;
  backup.OnError = [&](BackupError, const std::string&) { ++errors; };
  const fs::path archive = target.path() / "cut";
  EXPECT_FALSE(backup.Backup({Pattern(source.path() / "*.*")}, PathToText(archive)));
  EXPECT_FALSE(fs::exists(target.path() / "cut.002"));

  backup.OnNeedDisk = nullptr;
  ASSERT_TRUE(backup.Backup({Pattern(source.path() / "*.*")}, PathToText(archive)));
  EXPECT_TRUE(fs::exists(target.path() / "cut.002"));  // a name without extension gains one
  backup.OnNeedDisk = [](std::uint16_t, bool& go) { go = false; };
  fs::rename(target.path() / "cut.002", target.path() / "elsewhere");
  EXPECT_FALSE(backup.Restore(PathToText(archive), PathToText(target.path() / "out")));
  EXPECT_EQ(0, errors);
  fs::rename(target.path() / "elsewhere", target.path() / "cut.002");
  ASSERT_TRUE(backup.Restore(PathToText(archive), PathToText(target.path() / "out")));
  EXPECT_EQ(RandomBytes(80000, 5), ReadFile(target.path() / "out" / "big.bin"));
}

TEST_F(BackupFileTest, SameNameFromTwoFoldersEndsWithTheLaterOne) {
  WriteFile(source.path() / "a" / "same.txt", "first");
  WriteFile(source.path() / "b" / "same.txt", "second");
  TBackupFile backup;
  std::stringstream stream;
  backup.setStream(&stream);
  ASSERT_TRUE(backup.Backup(
      {Pattern(source.path() / "a" / "*.*"), Pattern(source.path() / "b" / "*.*")}, kStreamName));
  ASSERT_TRUE(backup.Restore(kStreamName, PathToText(target.path())));
  EXPECT_EQ("second", ReadFile(target.path() / "same.txt"));
}

TEST_F(BackupFileTest, RestoreFullPathKeepsFoldersBelowTheTarget) {
  WriteFile(source.path() / "club" / "2026-2027" / "joueur.dbp", "m");
  TBackupFile backup;
  std::stringstream stream;
  backup.setStream(&stream);
  ASSERT_TRUE(backup.Backup({Pattern(source.path() / "club" / "*.*") + " /s"}, kStreamName));
  backup.setRestoreFullPath(true);
  ASSERT_TRUE(backup.Restore(kStreamName, PathToText(target.path())));
  const fs::path relative = fs::path(LowerAscii(PathToText(source.path()))).relative_path();
  EXPECT_EQ("m", ReadFile(target.path() / relative / "club" / "2026-2027" / "joueur.dbp"));
}

TEST_F(BackupFileTest, RestoreModesDecideByExistenceAndAge) {
  WriteFile(source.path() / "f.txt", "archived");
  SetPackedTime(source.path() / "f.txt", kMay2019);
  TBackupFile backup;
  const fs::path archive = source.path() / "x.bck";
  ASSERT_TRUE(backup.Backup({Pattern(source.path() / "f.txt")}, PathToText(archive)));
  enum class Existing { kNone, kOlder, kSame, kNewer };
  struct Case {
    RestoreMode mode;
    Existing existing;
    bool written;
  };
  const std::vector<Case> cases = {
      {RestoreMode::rmAll, Existing::kNone, true},
      {RestoreMode::rmAll, Existing::kNewer, true},
      {RestoreMode::rmNoOverwrite, Existing::kNone, true},
      {RestoreMode::rmNoOverwrite, Existing::kOlder, false},
      {RestoreMode::rmNewer, Existing::kNone, true},
      {RestoreMode::rmNewer, Existing::kOlder, true},
      {RestoreMode::rmNewer, Existing::kSame, false},
      {RestoreMode::rmNewer, Existing::kNewer, false},
      {RestoreMode::rmExisting, Existing::kNone, false},
      {RestoreMode::rmExisting, Existing::kNewer, true},
      {RestoreMode::rmExistingNewer, Existing::kNone, false},
      {RestoreMode::rmExistingNewer, Existing::kOlder, true},
      {RestoreMode::rmExistingNewer, Existing::kSame, false},
      {RestoreMode::rmExistingNewer, Existing::kNewer, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("mode " + std::to_string(static_cast<int>(c.mode)) + " existing " +
                 std::to_string(static_cast<int>(c.existing)));
    const TempFolder folder;
    const fs::path file = folder.path() / "f.txt";
    if (c.existing != Existing::kNone) {
      WriteFile(file, "present");
      const std::uint32_t time = c.existing == Existing::kOlder ? PackDateTime(2018, 1, 1, 8, 0, 0)
                                 : c.existing == Existing::kSame
                                     ? kMay2019
                                     : PackDateTime(2020, 1, 1, 8, 0, 0);
      SetPackedTime(file, time);
    }
    backup.setRestoreMode(c.mode);
    ASSERT_TRUE(backup.Restore(PathToText(archive), PathToText(folder.path())));
    const std::string expected =
        c.written ? "archived" : (c.existing == Existing::kNone ? "" : "present");
    EXPECT_EQ(expected, ReadFile(file));
  }
}

TEST_F(BackupFileTest, OnRestoreFileRenamesOrSkips) {
  WriteFile(source.path() / "keep.txt", "k");
  WriteFile(source.path() / "skip.txt", "s");
  TBackupFile backup;
  std::stringstream stream;
  backup.setStream(&stream);
  ASSERT_TRUE(backup.Backup({Pattern(source.path() / "*.txt")}, kStreamName));
  backup.OnRestoreFile = [&](std::string& name, bool& restore, std::uint32_t) {
    if (name.find("skip") != std::string::npos)
      restore = false;
    else
      name = PathToText(target.path() / "renamed.txt");
  };
  ASSERT_TRUE(backup.Restore(kStreamName, PathToText(target.path())));
  EXPECT_EQ("k", ReadFile(target.path() / "renamed.txt"));
  EXPECT_FALSE(fs::exists(target.path() / "skip.txt"));
  EXPECT_FALSE(fs::exists(target.path() / "keep.txt"));
}

TEST_F(BackupFileTest, MissingArchiveReturnsFalseWithoutError) {
  TBackupFile backup;
  int errors = 0;
  backup.OnError = [&](BackupError, const std::string&) { ++errors; };
  EXPECT_FALSE(backup.Restore(PathToText(target.path() / "none.bck"), ""));
  EXPECT_EQ(0, errors);
  EXPECT_EQ(BackupError::kNone, backup.lastError());
}

TEST_F(BackupFileTest, ProgressCanCancelAfterTheCurrentChunk) {
  WriteFile(source.path() / "big.txt", Text(5 * 16384));
  TBackupFile backup;
  std::vector<int> percents;
  backup.OnProgress = [&](const std::string&, int percent, bool& go) {
    percents.push_back(percent);
    if (percent >= 40) go = false;
  };
  int errors = 0;
  backup.OnError = [&](BackupError, const std::string&) { ++errors; };
  std::stringstream stream;
  backup.setStream(&stream);
  EXPECT_FALSE(backup.Backup({Pattern(source.path() / "*.txt")}, kStreamName));
  EXPECT_EQ((std::vector<int>{0, 20, 40}), percents);
  EXPECT_EQ(0, errors);
}

TEST_F(BackupFileTest, MultiVolumeArchiveRestoresWhole) {
  const std::string first = RandomBytes(100000, 1);
  const std::string second = Text(70000);
  const std::string third = RandomBytes(30000, 2);
  WriteFile(source.path() / "1.bin", first);
  WriteFile(source.path() / "2.txt", second);
  WriteFile(source.path() / "3.bin", third);
  TBackupFile backup;
  backup.setMaxSize(50000);
  std::vector<int> disks;
  backup.OnNeedDisk = [&](std::uint16_t volume, bool&) { disks.push_back(volume); };
  const fs::path archive = target.path() / "SvgVantrel.bck";
  ASSERT_TRUE(backup.Backup({Pattern(source.path() / "*.*")}, PathToText(archive)));
  ASSERT_GE(disks.size(), 2u);
  EXPECT_EQ(2, disks[0]);
  for (std::size_t i = 0; i < disks.size(); ++i) {
    const fs::path volume = target.path() / ("SvgVantrel.00" + std::to_string(i + 2));
    EXPECT_TRUE(fs::exists(volume)) << volume;
    EXPECT_LE(fs::file_size(i == 0 ? archive : volume), 50000u + 16384u);
  }
  disks.clear();
  const fs::path out = target.path() / "out";
  ASSERT_TRUE(backup.Restore(PathToText(archive), PathToText(out)));
  EXPECT_EQ(first, ReadFile(out / "1.bin"));
  EXPECT_EQ(second, ReadFile(out / "2.txt"));
  EXPECT_EQ(third, ReadFile(out / "3.bin"));
  EXPECT_TRUE(disks.empty());

  // A missing volume without a disk prompt ends the restore with an error.
  fs::remove(target.path() / "SvgVantrel.002");
  backup.OnNeedDisk = nullptr;
  EXPECT_FALSE(backup.Restore(PathToText(archive), PathToText(out)));
  EXPECT_EQ(BackupError::kCannotReadArchive, backup.lastError());
  EXPECT_EQ(PathToText(target.path() / "SvgVantrel.002"), backup.errorFile());
  EXPECT_EQ(std::make_error_code(std::errc::no_such_file_or_directory), backup.systemError());
}

// A damaged or hostile archive ends the restore with its error and writes nothing outside
// the target folder.
TEST_F(BackupFileTest, DamagedArchivesStopCleanly) {
  const std::string name = "c:\\club\\joueur.dbp";
  const std::uint32_t t = kMay2019;
  struct Case {
    const char* label;
    std::string bytes;
    BackupError error;
    bool thrown;
  };
  const std::string header = ArchiveBytes("Vantrel", 5, 1).bytes();
  const std::vector<Case> cases = {
      {"empty bytes", "", BackupError::kCannotReadArchive, true},
      {"truncated title", std::string("\x07\0\0\0Van", 7), BackupError::kCannotReadArchive, true},
      {"absurd title length",
       std::string(ArchiveBytes("", 0, 0).bytes()).replace(0, 4, "\xff\xff\xff\x7f"),
       BackupError::kCannotReadArchive, true},
      {"bad signature",
       ArchiveBytes("Vantrel", 5, 1).int32(18).raw(name).int32(t).raw("EC3").int32(0).bytes(),
       BackupError::kInvalidArchiveType, true},
      {"chunk of 16385 bytes",
       ArchiveBytes("Vantrel", 5, 1)
           .entry(name, t)
           .int32(16385)
           .raw(std::string(16385, 'a'))
           .endSection()
           .end()
           .bytes(),
       BackupError::kCannotReadFile, false},
      {"chunk length -2^31", ArchiveBytes("Vantrel", 5, 1).entry(name, t).int32(INT32_MIN).bytes(),
       BackupError::kCannotReadFile, false},
      {"truncated chunk",
       ArchiveBytes("Vantrel", 5, 1).entry(name, t).int32(-100).raw("abc").bytes(),
       BackupError::kCannotReadFile, false},
      {"no end of section",
       ArchiveBytes("Vantrel", 5, 1).entry(name, t).storedChunk("hello").bytes(),
       BackupError::kCannotReadFile, false},
      {"no end marker",
       ArchiveBytes("Vantrel", 5, 1).entry(name, t).storedChunk("hello").endSection().bytes(),
       BackupError::kCannotReadFile, false},
      {"absurd name length", header + std::string("\xff\xff\xff\x7f", 4) + "abc",
       BackupError::kCannotReadFile, false},
      {"negative name length", ArchiveBytes("Vantrel", 5, 1).int32(-5).bytes(),
       BackupError::kCannotReadFile, false},
      {"dot-dot name",
       ArchiveBytes("Vantrel", 5, 1)
           .entry("c:\\club\\..\\..\\evil.txt", t)
           .storedChunk("x")
           .endSection()
           .end()
           .bytes(),
       BackupError::kCannotReadFile, false},
      {"dot-dot file name",
       ArchiveBytes("Vantrel", 5, 1)
           .entry("/club/..", t)
           .storedChunk("x")
           .endSection()
           .end()
           .bytes(),
       BackupError::kCannotReadFile, false},
      {"relative name",
       ArchiveBytes("Vantrel", 5, 1)
           .entry("evil.txt", t)
           .storedChunk("x")
           .endSection()
           .end()
           .bytes(),
       BackupError::kCannotReadFile, false},
      {"control byte in name",
       ArchiveBytes("Vantrel", 5, 1).entry(std::string("/a/b\nc", 6), t).endSection().end().bytes(),
       BackupError::kCannotReadFile, false},
      {"garbage compressed chunk",
       ArchiveBytes("Vantrel", 5, 1)
           .entry(name, t)
           .int32(5)
           .raw("hello")
           .endSection()
           .end()
           .bytes(),
       BackupError::kCompressionError, false},
      {"volume change in a stream",
       ArchiveBytes("Vantrel", 5, 1)
           .entry(name, t)
           .endSection()
           .int32(12)
           .raw("NEXT:DISK002")
           .bytes(),
       BackupError::kCannotReadFile, false},
      {"volume change before any file",
       ArchiveBytes("Vantrel", 5, 1).int32(12).raw("NEXT:DISK002").bytes(),
       BackupError::kCannotReadFile, false},
  };
  for (const Case& c : cases) {
    for (bool fullPath : {false, true}) {
      SCOPED_TRACE(std::string(c.label) + (fullPath ? " (full path)" : ""));
      const TempFolder outer;
      const fs::path folder = outer.path() / "target";
      fs::create_directories(folder);
      std::stringstream stream(c.bytes);
      TBackupFile backup;
      backup.setStream(&stream);
      backup.setRestoreFullPath(fullPath);
      std::vector<BackupError> reported;
      backup.OnError = [&](BackupError code, const std::string&) { reported.push_back(code); };
      if (c.thrown) {
        try {
          backup.Restore(kStreamName, PathToText(folder));
          ADD_FAILURE() << "no ArchiveError";
        } catch (const ArchiveError& error) {
          EXPECT_EQ(c.error, error.code());
          EXPECT_EQ(ErrorText(c.error), error.what());
        }
      } else {
        EXPECT_FALSE(backup.Restore(kStreamName, PathToText(folder)));
        EXPECT_EQ((std::vector<BackupError>{c.error}), reported);
      }
      for (const auto& entry : fs::recursive_directory_iterator(outer.path())) {
        const std::string relative = fs::relative(entry.path(), folder).generic_string();
        EXPECT_NE("..", relative.substr(0, 2)) << entry.path();
      }
    }
  }
}

TEST(ArchivedNameTest, ParsesWindowsAndUnixNames) {
  struct Case {
    const char* name;
    std::optional<std::vector<std::string>> parts;  // root first
  };
  using V = std::vector<std::string>;
  const std::vector<Case> cases = {
      {"c:\\club\\vantrel\\joueur.dbp", V{"c:", "club", "vantrel", "joueur.dbp"}},
      {"/home/club/vantrel/joueur.dbp", V{"/", "home", "club", "vantrel", "joueur.dbp"}},
      {"\\\\serveur\\partage\\x.txt", V{"\\\\serveur", "partage", "x.txt"}},
      {"c:\\club\\\\x.txt", V{"c:", "club", "x.txt"}},
      {"c:\\club\\..\\x.txt", std::nullopt},
      {"c:\\club\\.\\x.txt", std::nullopt},
      {"c:\\club\\", std::nullopt},
      {"joueur.dbp", std::nullopt},
      {"c:joueur.dbp", std::nullopt},
      {"c:\\a\\b:stream", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    const auto parsed = ParseArchivedName(c.name);
    std::optional<V> actual;
    if (parsed) {
      actual = V{parsed->root};
      actual->insert(actual->end(), parsed->components.begin(), parsed->components.end());
    }
    EXPECT_EQ(c.parts, actual) << c.name;
  }
}

// Every name in folder, sorted (no file written beside its target may stay behind).
std::vector<std::string> NamesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A restore that stops in the middle of a file leaves the old content of every target.
TEST_F(BackupFileTest, CancelledRestoreLeavesEveryTargetWithItsOldContent) {
  WriteFile(source.path() / "a.txt", Text(3 * 16384));
  WriteFile(source.path() / "b.txt", Text(3 * 16384 + 5));
  const fs::path archive = target.path() / "SvgVantrel.bck";
  TBackupFile backup;
  ASSERT_TRUE(backup.Backup({Pattern(source.path() / "*.txt")}, PathToText(archive)));
  const fs::path out = target.path() / "out";
  WriteFile(out / "a.txt", "old a");
  WriteFile(out / "b.txt", "old b");
  for (const int stopAfter : {1, 2, 4, 5}) {
    int chunks = 0;
    backup.OnProgress = [&](const std::string& name, int, bool& go) {
      if (!name.empty() && ++chunks == stopAfter) go = false;
    };
    EXPECT_FALSE(backup.Restore(PathToText(archive), PathToText(out))) << stopAfter;
    // a.txt has three chunks: whole and new once its last chunk is read, else old.
    const bool aRestored = ReadFile(out / "a.txt") == Text(3 * 16384);
    EXPECT_EQ(stopAfter > 3, aRestored) << stopAfter;
    if (!aRestored) {
      EXPECT_EQ("old a", ReadFile(out / "a.txt")) << stopAfter;
    }
    EXPECT_EQ("old b", ReadFile(out / "b.txt")) << stopAfter;
    EXPECT_EQ((std::vector<std::string>{"a.txt", "b.txt"}), NamesIn(out)) << stopAfter;
  }
}

TEST_F(BackupFileTest, TargetThatIsAFolderIsNamedInTheError) {
  WriteFile(source.path() / "a.txt", "new a");
  WriteFile(source.path() / "b.txt", "new b");
  std::stringstream stream;
  TBackupFile backup;
  backup.setStream(&stream);
  ASSERT_TRUE(backup.Backup({Pattern(source.path() / "*.txt")}, kStreamName));
  const fs::path out = target.path() / "out";
  fs::create_directories(out / "b.txt");
  WriteFile(out / "b.txt" / "inside", "kept");
  std::vector<BackupError> errors;
  backup.OnError = [&](BackupError code, const std::string&) { errors.push_back(code); };
  stream.seekg(0);
  EXPECT_FALSE(backup.Restore(kStreamName, PathToText(out)));
  EXPECT_EQ(std::vector<BackupError>{BackupError::kCannotReadFile}, errors);
  EXPECT_EQ(PathToText(out / "b.txt"), backup.errorFile());
  EXPECT_EQ(std::make_error_code(std::errc::is_a_directory), backup.systemError());
  EXPECT_EQ("new a", ReadFile(out / "a.txt"));
  EXPECT_EQ("kept", ReadFile(out / "b.txt" / "inside"));
  EXPECT_EQ((std::vector<std::string>{"a.txt", "b.txt"}), NamesIn(out));
}

// The archive is replaced only once the new one is whole.
TEST_F(BackupFileTest, FailedBackupLeavesThePreviousArchive) {
  WriteFile(source.path() / "big.txt", Text(5 * 16384));
  const fs::path archive = target.path() / "SvgVantrel.bck";
  WriteFile(archive, "previous archive");
  TBackupFile backup;
  backup.OnProgress = [](const std::string&, int percent, bool& go) { go = percent < 40; };
  EXPECT_FALSE(backup.Backup({Pattern(source.path() / "*.txt")}, PathToText(archive)));
  EXPECT_EQ("previous archive", ReadFile(archive));
  EXPECT_EQ((std::vector<std::string>{"SvgVantrel.bck"}), NamesIn(target.path()));

  backup.OnProgress = nullptr;
  ASSERT_TRUE(backup.Backup({Pattern(source.path() / "*.txt")}, PathToText(archive)));
  EXPECT_EQ(1, backup.filesArchived());
  EXPECT_EQ((std::vector<std::string>{"SvgVantrel.bck"}), NamesIn(target.path()));
  const auto entries = backup.List(PathToText(archive));
  ASSERT_TRUE(entries.has_value());
  EXPECT_EQ(std::uint64_t(5 * 16384), entries->front().size);
}

TEST_F(BackupFileTest, ArchiveErrorsKeepTheSystemsReason) {
  WriteFile(source.path() / "a.txt", "a");
  TBackupFile backup;
  EXPECT_FALSE(backup.Backup({Pattern(source.path() / "*.txt")},
                             PathToText(target.path() / "missing" / "SvgVantrel.bck")));
  EXPECT_EQ(BackupError::kCannotWriteArchive, backup.lastError());
  EXPECT_EQ("", backup.errorFile());
  EXPECT_EQ(std::make_error_code(std::errc::no_such_file_or_directory), backup.systemError());
}

}  // namespace
}  // namespace vantrel::utilities
