#include "core/os_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/record_file.h"
#include "core/settings.h"
#include "core/transaction.h"
#include "support/temp_folder.h"

namespace vantrel::os {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

// Disarms every fault when the test ends, whatever it asserted.
struct FaultGuard {
  FaultGuard() { FaultInjection::Reset(); }
  ~FaultGuard() { FaultInjection::Reset(); }
};

std::vector<std::string> ListedNames(const fs::path& folder) {
  std::vector<FolderEntry> entries;
  EXPECT_FALSE(ListFolder(folder, entries));
  std::vector<std::string> names;
  for (const auto& entry : entries) names.push_back(Utf8Of(entry.name));
  std::sort(names.begin(), names.end());
  return names;
}

TEST(OsFileTest, RenameOverPutsTheNewFileOverAnExistingOneAndTheOldNameGoes) {
  TempFolder folder;
  WriteFile(folder.path() / "Journal.dbp", "old\r\n");
  WriteFile(folder.path() / "Journal.dbp.1a2b3c.tmp", "new\r\n");
  ASSERT_FALSE(RenameOver(folder.path() / "Journal.dbp.1a2b3c.tmp", folder.path() / "Journal.dbp"));
  EXPECT_EQ("new\r\n", ReadFile(folder.path() / "Journal.dbp"));
  EXPECT_EQ(std::vector<std::string>{"Journal.dbp"}, ListedNames(folder.path()));
  // A missing target is simply created.
  WriteFile(folder.path() / "b.tmp", "b");
  ASSERT_FALSE(RenameOver(folder.path() / "b.tmp", folder.path() / "b.dbp"));
  EXPECT_EQ("b", ReadFile(folder.path() / "b.dbp"));
}

TEST(OsFileTest, ErrorsComeAsPosixReasonsOnEverySystem) {
  TempFolder folder;
  std::string bytes = "left alone";
  EXPECT_EQ(std::errc::no_such_file_or_directory, ReadWholeFile(folder.path() / "none", bytes));
  EXPECT_EQ("", bytes);
  EXPECT_EQ(std::errc::no_such_file_or_directory, RemoveFile(folder.path() / "none"));
  EXPECT_FALSE(DiscardFile(folder.path() / "none"));
  EXPECT_EQ(std::errc::no_such_file_or_directory,
            RenameOver(folder.path() / "none", folder.path() / "target"));
  EXPECT_FALSE(Exists(folder.path() / "target"));
  WriteFile(folder.path() / "taken", "first");
  EXPECT_EQ(std::errc::file_exists, WriteNewFileDurably(folder.path() / "taken", "second"));
  EXPECT_EQ("first", ReadFile(folder.path() / "taken"));
  EXPECT_EQ(std::errc::file_exists, LastError());
  ClearLastError();
  EXPECT_FALSE(LastError());
}

TEST(OsFileTest, AccentedNamesKeepEveryCharacter) {
  TempFolder folder;
  // "Jérôme", "Noël", "Benoît" in UTF-8, and a name Windows-1252 cannot hold.
  const std::vector<std::string> names = {"J\xc3\xa9r\xc3\xb4me.dbp", "No\xc3\xabl",
                                          "Beno\xc3\xaet.txt", "\xce\xa9mega.txt"};
  for (const auto& name : names) {
    ASSERT_FALSE(WriteNewFileDurably(folder.path() / PathFromUtf8(name), name)) << name;
  }
  std::vector<std::string> sorted = names;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, ListedNames(folder.path()));
  for (const auto& name : names) {
    std::string bytes;
    ASSERT_FALSE(ReadWholeFile(folder.path() / PathFromUtf8(name), bytes)) << name;
    EXPECT_EQ(name, bytes);
  }
  // The settings' Windows-1252 folder names reach the same files.
  EXPECT_EQ("J\xc3\xa9r\xc3\xb4me.dbp",
            ReadBytes(folder.path() / FolderPath("J\xe9r\xf4me.dbp")));
}

TEST(OsFileTest, ListFolderTellsFilesFromFolders) {
  TempFolder folder;
  WriteFile(folder.path() / "a.dbp", "a");
  ASSERT_FALSE(CreateFolders(folder.path() / "2026-2027" / "Sous"));
  std::vector<FolderEntry> entries;
  ASSERT_FALSE(ListFolder(folder.path(), entries));
  ASSERT_EQ(2u, entries.size());
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.name < b.name; });
  EXPECT_EQ(Kind::kFolder, entries[0].kind);
  EXPECT_EQ(Kind::kFile, entries[1].kind);
  EXPECT_FALSE(entries[1].link);
  EXPECT_EQ(Kind::kFolder, KindOf(folder.path() / "2026-2027"));
  EXPECT_EQ(Kind::kMissing, KindOf(folder.path() / "none"));
  // Making an existing folder again is no error; a file in the way is one.
  EXPECT_FALSE(CreateFolders(folder.path() / "2026-2027"));
  EXPECT_TRUE(CreateFolders(folder.path() / "a.dbp" / "x"));
  EXPECT_TRUE(ListFolder(folder.path() / "none", entries));
  // An empty folder goes, a full one stays.
  EXPECT_FALSE(RemoveEmptyFolder(folder.path() / "2026-2027" / "Sous"));
  WriteFile(folder.path() / "2026-2027" / "f", "f");
  EXPECT_TRUE(RemoveEmptyFolder(folder.path() / "2026-2027"));
  EXPECT_TRUE(IsFile(folder.path() / "2026-2027" / "f"));
}

TEST(OsFileTest, LastWriteTimeRoundTrips) {
  TempFolder folder;
  WriteFile(folder.path() / "f", "x");
  const std::time_t may2019 = 1557741600;  // 2019-05-13 10:00:00 UTC
  ASSERT_FALSE(SetLastWriteTime(folder.path() / "f", may2019));
  std::time_t seconds = 0;
  ASSERT_FALSE(LastWriteTime(folder.path() / "f", seconds));
  EXPECT_EQ(may2019, seconds);
  EXPECT_TRUE(LastWriteTime(folder.path() / "none", seconds));
}

// A moved file goes on where it was; the moved-from object holds nothing, and a file moved
// onto an open one closes that one first (Windows would refuse to remove it otherwise).
TEST(OsFileTest, MovedFilesHandTheirHandleOver) {
  TempFolder folder;
  const fs::path first = folder.path() / "Journal.dbp";
  const fs::path second = folder.path() / "Compta.dbp";
  WritableFile a;
  ASSERT_FALSE(WritableFile::Create(first, CreateMode::kNew, a));
  ASSERT_FALSE(a.Append("one", 3));
  WritableFile b(std::move(a));
  EXPECT_FALSE(a.isOpen());
  EXPECT_EQ(std::make_error_code(std::errc::bad_file_descriptor), a.Append("x", 1));
  ASSERT_FALSE(b.Append("two", 3));
  WritableFile c;
  ASSERT_FALSE(WritableFile::Create(second, CreateMode::kNew, c));
  ASSERT_FALSE(c.Append("x", 1));
  c = std::move(b);
  EXPECT_FALSE(b.isOpen());
  EXPECT_FALSE(RemoveFile(second));
  ASSERT_FALSE(c.Append("three", 5));
  ASSERT_FALSE(c.Close());
  EXPECT_EQ("onetwothree", ReadFile(first));

  ReadableFile r;
  ASSERT_FALSE(ReadableFile::Open(first, r));
  char bytes[16] = {};
  std::size_t read = 0;
  ASSERT_FALSE(r.Read(bytes, 3, read));
  ReadableFile s;
  s = std::move(r);
  EXPECT_FALSE(r.isOpen());
  ASSERT_FALSE(s.Read(bytes, sizeof bytes, read));
  EXPECT_EQ("twothree", std::string(bytes, read));
}

TEST(OsFileTest, StreamsCarryMoreThanTheirBuffer) {
  TempFolder folder;
  std::string bytes;
  for (int i = 0; i < 200000; ++i) bytes += static_cast<char>(i * 7 % 256);
  {
    FileOutput out;
    ASSERT_TRUE(out.open(folder.path() / "big"));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    EXPECT_TRUE(out.syncToDevice());
    out.close();
    EXPECT_FALSE(out.fail());
  }
  FileInput in(folder.path() / "big");
  ASSERT_TRUE(in.is_open());
  std::string read(bytes.size() + 10, '\0');
  in.read(read.data(), static_cast<std::streamsize>(read.size()));
  EXPECT_EQ(static_cast<std::streamsize>(bytes.size()), in.gcount());
  read.resize(static_cast<std::size_t>(in.gcount()));
  EXPECT_EQ(bytes, read);
  EXPECT_FALSE(in.bad());
  // kNew refuses an existing file, a missing one cannot be read.
  FileOutput again;
  EXPECT_FALSE(again.open(folder.path() / "big", CreateMode::kNew));
  EXPECT_EQ(std::errc::file_exists, again.error());
  FileInput none(folder.path() / "none");
  EXPECT_FALSE(none.is_open());
  EXPECT_TRUE(none.fail());
}

TEST(FaultInjectionTest, FailsOnlyTheArmedCallOfEachOperation) {
  FaultGuard guard;
  TempFolder folder;
  FaultInjection::Arm(Operation::kWrite, 2);
  WritableFile file;
  ASSERT_FALSE(WritableFile::Create(folder.path() / "f", CreateMode::kNew, file));
  EXPECT_FALSE(file.Append("abcd", 4));
  EXPECT_EQ(std::errc::no_space_on_device, file.Append("efgh", 4));
  EXPECT_FALSE(file.Append("ijkl", 4));
  EXPECT_FALSE(file.Close());
  // The failed write wrote half of its bytes, as a full disk does.
  EXPECT_EQ("abcdefijkl", ReadFile(folder.path() / "f"));
  EXPECT_EQ(3, FaultInjection::Count(Operation::kWrite));

  FaultInjection::Arm(Operation::kFlush, 1);
  EXPECT_EQ(std::errc::io_error, SyncFile(folder.path() / "f"));
  EXPECT_FALSE(SyncFile(folder.path() / "f"));

  WriteFile(folder.path() / "g", "g");
  FaultInjection::Arm(Operation::kRename, 1);
  EXPECT_EQ(std::errc::permission_denied, RenameOver(folder.path() / "g", folder.path() / "f"));
  EXPECT_EQ("abcdefijkl", ReadFile(folder.path() / "f"));
  EXPECT_TRUE(IsFile(folder.path() / "g"));

  FaultInjection::Arm(Operation::kRemove, 1);
  EXPECT_EQ(std::errc::permission_denied, RemoveFile(folder.path() / "g"));
  EXPECT_TRUE(IsFile(folder.path() / "g"));
  // A temporary file refused once is tried again and goes.
  FaultInjection::Reset();
  FaultInjection::Arm(Operation::kRemove, 1);
  EXPECT_FALSE(DiscardFile(folder.path() / "g"));
  EXPECT_FALSE(Exists(folder.path() / "g"));
  EXPECT_EQ(2, FaultInjection::Count(Operation::kRemove));
}

// A commit over files that already exist replaces each one whole, under its own name and
// letter case, and leaves no temporary file.
TEST(FileTransactionTest, CommitReplacesExistingFilesUnderTheirOwnNames) {
  TempFolder folder;
  WriteFile(folder.path() / "JOURNAL.DBP", "old journal\r\n");
  WriteFile(folder.path() / "4110.dbp", "old ledger\r\n");
  FileTransaction transaction;
  transaction.Stage(folder.path() / "journal.dbp", "new journal\r\n");
  transaction.Stage(folder.path() / "4110.dbp", "new ledger\r\n");
  transaction.Stage(folder.path() / "5120.dbp", "created\r\n");
  transaction.Commit();
  EXPECT_EQ((std::vector<std::string>{"4110.dbp", "5120.dbp", "JOURNAL.DBP"}),
            ListedNames(folder.path()));
  EXPECT_EQ("new journal\r\n", ReadFile(folder.path() / "JOURNAL.DBP"));
  EXPECT_EQ("new ledger\r\n", ReadFile(folder.path() / "4110.dbp"));
  EXPECT_EQ("created\r\n", ReadFile(folder.path() / "5120.dbp"));
}

TEST(DriveKindTest, MountsAreToldByTheirFileSystemAndPlace) {
  EXPECT_EQ(DriveKind::kRemovable, DriveKindOfMount("vfat", "/dev/sdb1", "/media/club/CLE"));
  EXPECT_EQ(DriveKind::kRemovable, DriveKindOfMount("exfat", "/dev/sdc1", "/srv/cle"));
  EXPECT_EQ(DriveKind::kFixed, DriveKindOfMount("ext4", "/dev/sda2", "/"));
  EXPECT_EQ(DriveKind::kRemote, DriveKindOfMount("NFS4", "serveur:/club", "/srv/club"));
  EXPECT_EQ(DriveKind::kCdRom, DriveKindOfMount("iso9660", "/dev/sr0", "/cdrom"));
  EXPECT_EQ(DriveKind::kRamDisk, DriveKindOfMount("tmpfs", "tmpfs", "/tmp"));
  EXPECT_EQ(DriveKind::kUnknown, DriveKindOfMount("tmpfs", "tmpfs", "/run/user/1000"));
  EXPECT_EQ(DriveKind::kUnknown, DriveKindOfMount("squashfs", "/dev/loop3", "/snap/core/1"));
#ifdef _WIN32
  EXPECT_EQ(DriveKind::kFixed, DriveKindOfRoot(L"C:\\"));
#endif
}

#ifdef _WIN32
// Windows: "\" and "/" both separate, a drive letter roots a path, and names that differ only
// in letter case are one file.
TEST(WindowsPathTest, DriveLettersBackslashesAndLetterCase) {
  TempFolder folder;
  const std::string root = Utf8Of(folder.path());
  ASSERT_GE(root.size(), 3u);
  EXPECT_EQ(':', root[1]);
  WriteFile(folder.path() / "Joueur.DBP", "membres\r\n");
  EXPECT_EQ("membres\r\n", ReadBytes(PathFromUtf8(root + "\\JOUEUR.dbp")));
  EXPECT_EQ("membres\r\n", ReadBytes(PathFromUtf8(root + "/joueur.dbp")));
  WriteBytes(PathFromUtf8(root + "\\joueur.dbp"), "remplac\xe9\r\n");
  EXPECT_EQ(std::vector<std::string>{"Joueur.DBP"}, ListedNames(folder.path()));
  EXPECT_EQ("remplac\xe9\r\n", ReadFile(folder.path() / "Joueur.DBP"));
}
#endif

}  // namespace
}  // namespace vantrel::os
