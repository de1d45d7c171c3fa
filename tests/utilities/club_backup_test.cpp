#include "utilities/club_backup.h"

#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <sstream>

#include "core/record_file.h"
#include "core/settings.h"
#include "core/text_helpers.h"
#include "support/temp_folder.h"
#include "utilities/archive_bytes.h"

namespace vantrel::utilities {
namespace {

namespace fs = std::filesystem;
using testing::ArchiveBytes;
using testing::NativeSeparators;
using testing::ProgramFolder;
using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

// Every regular file below folder, relative and lower-case, with its bytes and time.
std::map<std::string, std::pair<std::string, std::uint32_t>> Snapshot(const fs::path& folder) {
  std::map<std::string, std::pair<std::string, std::uint32_t>> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    files[LowerAscii(fs::relative(entry.path(), folder).generic_string())] = {
        ReadFile(entry.path()), PackedTimeOf(entry.path())};
  }
  return files;
}

class ClubBackupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(club.exerciseFolder() / "Joueur.DBP", "00123456;M.;DUPONT;Jean;\r\n");
    WriteFile(club.exerciseFolder() / "Journal.dbp", "01/09/2026;Cotisation;\r\n");
    WriteFile(club.exerciseFolder() / "0001.dbp", "ledger one\r\n");
    WriteFile(club.path() / "2025-2026" / "Joueur.DBP", "old season\r\n");
    WriteFile(club.path() / "2025-2026" / "4110.dbp", std::string(40000, 'x'));
    SetPackedTime(club.exerciseFolder() / "Joueur.DBP", PackDateTime(2026, 11, 3, 18, 4, 10));
    SetPackedTime(club.path() / "Vantrel.ini", PackDateTime(2026, 9, 1, 9, 0, 0));
  }
  std::string Archive() const { return PathToText(drive.path() / kArchiveFileName); }

  ProgramFolder club;
  TempFolder drive;
};

TEST_F(ClubBackupTest, PatternsTakeSettingsAndPlainFoldersOnly) {
  WriteFile(club.path() / "notes.txt", "left out");
  WriteFile(club.exerciseFolder() / "deeper" / "sub.txt", "left out");
  WriteFile(club.path() / ".cache" / "hidden.txt", "left out");
  WriteFile(club.path() / "Archives" / "old.txt", "left out");
#ifdef _WIN32
  // Windows keeps no write permission on a folder: there a hidden folder is left out.
  SetFileAttributesW((club.path() / "Archives").c_str(), FILE_ATTRIBUTE_HIDDEN);
#else
  fs::permissions(club.path() / "Archives",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
#endif
  const std::string root = PathToText(club.path());
  const std::string s(1, static_cast<char>(fs::path::preferred_separator));  // "\\" on Windows
  std::vector<std::string> patterns{root + s + "*.ini"};
  for (const char* folder : {"2025-2026", "2026-2027"}) {
    for (const std::string& mask : ClubDataMasks())
      patterns.push_back(root + s + folder + s + mask);
  }
  EXPECT_EQ(patterns, ClubBackupPatterns(club.path()));

  TBackupFile backup;
  ASSERT_EQ(ClubBackup::Outcome::kSaved, BackupClub(backup, club.path(), Archive()).outcome);
  const std::string lower = LowerAscii(root);
  EXPECT_EQ((std::vector<std::string>{lower + NativeSeparators("/vantrel.ini"),
                                      lower + NativeSeparators("/2025-2026/4110.dbp"),
                                      lower + NativeSeparators("/2025-2026/joueur.dbp"),
                                      lower + NativeSeparators("/2026-2027/0001.dbp"),
                                      lower + NativeSeparators("/2026-2027/joueur.dbp"),
                                      lower + NativeSeparators("/2026-2027/journal.dbp")}),
            backup.fileList());
}

TEST_F(ClubBackupTest, RestoresIntoAnEmptyFolderByteForByte) {
  TBackupFile backup;
  ASSERT_EQ(ClubBackup::Outcome::kSaved, BackupClub(backup, club.path(), Archive()).outcome);
  const TempFolder elsewhere;
  const ClubRestore result = RestoreClub(backup, Archive(), elsewhere.path());
  EXPECT_EQ(ClubRestore::Outcome::kRestored, result.outcome);
  EXPECT_EQ("2026-2027", result.exercise);
  EXPECT_EQ(std::vector<std::string>{}, result.outside);
  auto restored = Snapshot(elsewhere.path());
  // The first pass leaves every file, by name alone, in "Temp".
  for (auto it = restored.begin(); it != restored.end();) {
    it = it->first.rfind("temp/", 0) == 0 ? restored.erase(it) : std::next(it);
  }
  EXPECT_EQ(Snapshot(club.path()), restored);
  EXPECT_EQ("2026-2027", LoadSettings(elsewhere.path()).exercise);
}

TEST_F(ClubBackupTest, DeletesTheArchivedExercisesLedgersFirst) {
  TBackupFile backup;
  ASSERT_EQ(ClubBackup::Outcome::kSaved, BackupClub(backup, club.path(), Archive()).outcome);
  WriteFile(club.exerciseFolder() / "4711.DBP", "posted after the backup");
  WriteFile(club.exerciseFolder() / "0001.dbp", "changed after the backup");
  WriteFile(club.exerciseFolder() / "12345.dbp", "not a ledger");
  WriteFile(club.exerciseFolder() / "Plan_Comptable.dbp", "not a ledger");
  WriteFile(club.path() / "2025-2026" / "5000.dbp", "other exercise");
  const ClubRestore result = RestoreClub(backup, Archive(), club.path());
  EXPECT_EQ(ClubRestore::Outcome::kRestored, result.outcome);
  EXPECT_EQ(2, result.ledgersDeleted);
  EXPECT_FALSE(fs::exists(club.exerciseFolder() / "4711.DBP"));
  EXPECT_EQ("ledger one\r\n", ReadFile(club.exerciseFolder() / "0001.dbp"));
  EXPECT_EQ("not a ledger", ReadFile(club.exerciseFolder() / "12345.dbp"));
  EXPECT_EQ("not a ledger", ReadFile(club.exerciseFolder() / "Plan_Comptable.dbp"));
  EXPECT_EQ("other exercise", ReadFile(club.path() / "2025-2026" / "5000.dbp"));
}

TEST(DeleteLedgersTest, NeedsAMemberFileAndAPlainFolderName) {
  for (const char* exercise : {"", ".", "..", "../2026-2027", "2026-2027/..", "none"}) {
    ProgramFolder club;
    WriteFile(club.exerciseFolder() / "Joueur.dbp", "m");
    WriteFile(club.exerciseFolder() / "0000.dbp", "l");
    EXPECT_EQ(0, DeleteLedgers(club.path(), exercise)) << exercise;
    EXPECT_TRUE(fs::exists(club.exerciseFolder() / "0000.dbp")) << exercise;
  }
  ProgramFolder club;
  WriteFile(club.exerciseFolder() / "0000.dbp", "l");
  EXPECT_EQ(0, DeleteLedgers(club.path(), "2026-2027"));  // no member file
  WriteFile(club.exerciseFolder() / "JOUEUR.DBP", "m");
  WriteFile(club.exerciseFolder() / "9999.dbp", "l");
  EXPECT_EQ(2, DeleteLedgers(club.path(), "2026-2027"));
}

// An archive made on Windows: its program folder c:\club\vantrel maps to this one.
TEST(ClubRestoreTest, MapsAnotherComputersFolderAndRefusesWhatLiesOutside) {
  const std::uint32_t t = PackDateTime(2009, 3, 14, 10, 0, 0);
  const std::string ini = "[Fichier]\r\nExercice=2008-2009\r\n";
  const std::string bytes = ArchiveBytes("Vantrel", 0, 4)
                                .entry("c:\\club\\vantrel\\vantrel.ini", t)
                                .storedChunk(ini)
                                .endSection()
                                .entry("c:\\club\\vantrel\\temp\\vantrel.ini", t)
                                .storedChunk("[Fichier]\r\nExercice=1999-2000\r\n")
                                .endSection()
                                .entry("c:\\club\\vantrel\\2008-2009\\joueur.dbp", t)
                                .storedChunk("m")
                                .endSection()
                                .entry("c:\\windows\\system.ini", t)
                                .storedChunk("no")
                                .endSection()
                                .end()
                                .bytes();
  ProgramFolder club;
  WriteFile(club.path() / "2008-2009" / "Joueur.DBP", "current");
  WriteFile(club.path() / "2008-2009" / "0042.dbp", "stale ledger");
  TempFolder drive;
  const fs::path archive = drive.path() / kArchiveFileName;
  WriteFile(archive, bytes);
  TBackupFile backup;
  const ClubRestore result = RestoreClub(backup, PathToText(archive), club.path());
  EXPECT_EQ(ClubRestore::Outcome::kRestored, result.outcome);
  EXPECT_EQ("2008-2009", result.exercise);
  EXPECT_EQ(1, result.ledgersDeleted);
  EXPECT_EQ((std::vector<std::string>{"c:\\windows\\system.ini"}), result.outside);
  EXPECT_EQ(ini, ReadFile(club.path() / "Vantrel.ini"));
  EXPECT_EQ("m", ReadFile(club.path() / "2008-2009" / "Joueur.DBP"));  // its own letter case
  EXPECT_EQ(t, PackedTimeOf(club.path() / "2008-2009" / "Joueur.DBP"));
  EXPECT_FALSE(fs::exists(club.path() / "2008-2009" / "0042.dbp"));
  EXPECT_FALSE(fs::exists(club.path() / "system.ini"));
}

TEST(ClubRestoreTest, DamagedArchiveFailsTheFirstPassAndTouchesNoLedger) {
  const std::uint32_t t = PackDateTime(2009, 3, 14, 10, 0, 0);
  const std::string bytes = ArchiveBytes("Vantrel", 0, 2)
                                .entry("/club/vantrel.ini", t)
                                .storedChunk("[Fichier]\r\nExercice=2026-2027\r\n")
                                .endSection()
                                .entry("/club/2026-2027/joueur.dbp", t)
                                .int32(-20)
                                .raw("truncated")
                                .bytes();
  ProgramFolder club;
  WriteFile(club.exerciseFolder() / "Joueur.DBP", "current");
  WriteFile(club.exerciseFolder() / "0042.dbp", "ledger");
  TempFolder drive;
  WriteFile(drive.path() / kArchiveFileName, bytes);
  TBackupFile backup;
  const ClubRestore result =
      RestoreClub(backup, PathToText(drive.path() / kArchiveFileName), club.path());
  EXPECT_EQ(ClubRestore::Outcome::kFirstPassFailed, result.outcome);
  EXPECT_EQ(BackupError::kCannotReadFile, backup.lastError());
  EXPECT_EQ("ledger", ReadFile(club.exerciseFolder() / "0042.dbp"));
  EXPECT_EQ("current", ReadFile(club.exerciseFolder() / "Joueur.DBP"));
}

TEST(ProgramFolderMapTest, WithoutSettingsFileUsesTheCommonFolder) {
  ProgramFolderMap map("/target");
  map.observe("/a/b/c/x.txt");
  map.observe("/a/b/d/y.txt");
  EXPECT_EQ(fs::path("/target/c/x.txt"), map.map("/a/b/c/x.txt"));
  EXPECT_EQ(std::nullopt, map.map("/a/z.txt"));
  EXPECT_EQ(std::nullopt, map.map("/a/b/../b/c/x.txt"));
  map.observe("/a/b/vantrel.ini");
  map.observe("/a/b/temp/vantrel.ini");
  EXPECT_EQ(fs::path("/target/c/x.txt"), map.map("/A/B/c/x.txt"));
  EXPECT_EQ(std::nullopt, map.map("c:\\a\\b\\c\\x.txt"));
}

// Every regular file below folder but Temp, relative and lower-case, with its bytes and time.
std::map<std::string, std::pair<std::string, std::uint32_t>> ClubFiles(const fs::path& folder) {
  auto files = Snapshot(folder);
  for (auto it = files.begin(); it != files.end();) {
    it = it->first.rfind("temp/", 0) == 0 ? files.erase(it) : std::next(it);
  }
  return files;
}

// Names of the files of folder, sorted.
std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A crafted archive naming the program, a library, a template, a file two folders down and
// a file outside, beside real club data, in the names of this system and of Windows: only
// the club data is written, the rest is listed, the program stays byte for byte.
TEST(ClubRestoreTest, HostileArchiveWritesOnlyClubData) {
  const std::uint32_t t = PackDateTime(2026, 11, 3, 18, 4, 10);
  for (const bool windows : {false, true}) {
    ProgramFolder club;
    const std::string program =
        "\x7f"
        "ELF the real program";
    WriteFile(club.path() / "vantrel", program);
    const std::uint32_t programTime = PackedTimeOf(club.path() / "vantrel");
    WriteFile(club.exerciseFolder() / "Joueur.DBP", "current");
    const std::string root =
        windows ? "c:\\club\\vantrel\\" : LowerAscii(PathToText(club.path())) + "/";
    const char sep = windows ? '\\' : '/';
    const std::vector<std::string> refused = {
        root + (windows ? "vantrel.exe" : "vantrel"),
        root + "vantrel",
        root + "libqt6core.so.6",
        root + "gestion_balance.frf",
        root + "2026-2027" + sep + "deep" + sep + "deeper.dbp",
        windows ? std::string("c:\\windows\\system.ini") : std::string("/etc/evil.conf"),
    };
    ArchiveBytes bytes("Vantrel", 0, 8);
    bytes.entry(root + "vantrel.ini", t)
        .storedChunk("[Fichier]\r\nExercice=2026-2027\r\n")
        .endSection();
    for (const std::string& name : refused) bytes.entry(name, t).storedChunk("evil").endSection();
    bytes.entry(root + "2026-2027" + sep + "joueur.dbp", t).storedChunk("restored").endSection();
    bytes.end();
    TempFolder drive;
    WriteFile(drive.path() / kArchiveFileName, bytes.bytes());

    TBackupFile backup;
    const ClubRestore result =
        RestoreClub(backup, PathToText(drive.path() / kArchiveFileName), club.path());
    EXPECT_EQ(ClubRestore::Outcome::kRestored, result.outcome) << windows;
    EXPECT_EQ(refused, result.outside) << windows;
    EXPECT_EQ(program, ReadFile(club.path() / "vantrel")) << windows;
    EXPECT_EQ(programTime, PackedTimeOf(club.path() / "vantrel")) << windows;
    EXPECT_EQ("restored", ReadFile(club.exerciseFolder() / "Joueur.DBP")) << windows;
    EXPECT_EQ((std::vector<std::string>{"2026-2027", "Temp", "Vantrel.ini", "vantrel"}),
              Names(club.path()))
        << windows;
    EXPECT_EQ((std::vector<std::string>{"Joueur.DBP"}), Names(club.exerciseFolder())) << windows;
    EXPECT_EQ((std::vector<std::string>{"joueur.dbp", "vantrel.ini"}), Names(club.path() / "Temp"))
        << windows;
  }
}

// Club data by name: the backup saves it and the restore writes it, nothing else. A library
// or a plug-in beside the exercises is neither saved nor, from a crafted archive, written.
TEST_F(ClubBackupTest, OnlyClubDataByNameIsSavedAndRestored) {
  const std::vector<std::string> club_data = {
      "Joueur.DBP",         "Joueur.DBP.bak",  "Plan_Comptable.dbp", "Recette_Joueur.DBP",
      "4110.dbp",           "Challenge_1.dbp", "tournoi.chi",        "tournoi.CHR",
      "groupeA.Qug",        "coupe.Quc",       "paires.Pag",         "finale.Pac",
      "finale.qud",         "finale.pad",      "Publipostage.txt",   "Exportation.csv",
      "Page_Annuaire.html", "resultats.htm",   "balance.pdf"};
  const std::vector<std::string> others = {"libfoo.so", "qwindows.dll", "notes.docx",
                                           "Joueur.DBP.1a2b3c.tmp", "vantrel.exe"};
  for (const std::string& name : club_data) {
    EXPECT_TRUE(IsClubDataName(name)) << name;
    WriteFile(club.path() / "2024-2025" / name, name);
  }
  for (const std::string& name : others) {
    EXPECT_FALSE(IsClubDataName(name)) << name;
    WriteFile(club.path() / "2024-2025" / name, name);
  }
  WriteFile(club.path() / "lib" / "libfoo.so",
            "\x7f"
            "ELF");
  WriteFile(club.path() / "platforms" / "qwindows.dll", "MZ");
  TBackupFile backup;
  ASSERT_EQ(ClubBackup::Outcome::kSaved, BackupClub(backup, club.path(), Archive()).outcome);
  const std::string lower = LowerAscii(PathToText(club.path()));
  const char separator = NativeSeparators("/")[0];
  for (const std::string& name : backup.fileList()) {
    EXPECT_EQ(std::string::npos, name.find(NativeSeparators("/lib/"))) << name;
    EXPECT_EQ(std::string::npos, name.find(NativeSeparators("/platforms/"))) << name;
    EXPECT_TRUE(name.rfind(lower + separator, 0) == 0 &&
                (IsClubDataName(name.substr(name.rfind(separator) + 1)) ||
                 name == lower + NativeSeparators("/vantrel.ini")))
        << name;
  }
  EXPECT_EQ(6u + club_data.size(), backup.fileList().size());

  // A crafted archive holding a library and a plug-in one folder down: listed, not written.
  const std::uint32_t t = PackDateTime(2026, 11, 3, 18, 4, 10);
  for (const bool windows : {false, true}) {
    const std::string root =
        windows ? "c:\\club\\vantrel\\" : LowerAscii(PathToText(club.path())) + "/";
    const char sep = windows ? '\\' : '/';
    const std::vector<std::string> refused = {root + "lib" + sep + "libfoo.so",
                                              root + "platforms" + sep + "qwindows.dll",
                                              root + "2026-2027" + sep + "notes.docx"};
    ArchiveBytes bytes("Vantrel", 0, 5);
    bytes.entry(root + "vantrel.ini", t)
        .storedChunk("[Fichier]\r\nExercice=2026-2027\r\n")
        .endSection();
    for (const std::string& name : refused) bytes.entry(name, t).storedChunk("evil").endSection();
    bytes.entry(root + "2026-2027" + sep + "groupea.qug", t).storedChunk("list").endSection();
    bytes.end();
    const TempFolder other;
    const fs::path crafted = other.path() / "crafted.bck";
    WriteFile(crafted, bytes.bytes());
    const TempFolder target;
    const ClubRestore result = RestoreClub(backup, crafted, target.path());
    EXPECT_EQ(ClubRestore::Outcome::kRestored, result.outcome) << windows;
    EXPECT_EQ(refused, result.outside) << windows;
    EXPECT_EQ(2, result.filesWritten) << windows;
    EXPECT_EQ((std::vector<std::string>{"2026-2027", "Temp", "vantrel.ini"}), Names(target.path()))
        << windows;
    EXPECT_EQ((std::vector<std::string>{"groupea.qug"}), Names(target.path() / "2026-2027"))
        << windows;
    EXPECT_EQ((std::vector<std::string>{"groupea.qug", "vantrel.ini"}),
              Names(target.path() / "Temp"))
        << windows;
  }
}

// The program folder named in Cyrillic: no path goes through Windows-1252 text, so the first
// pass lands in its own Temp, the stale ledgers go, every file comes back and nothing is
// written beside the folder ("????" on this system, nothing at all on Windows).
TEST_F(ClubBackupTest, RestoresIntoAProgramFolderNamedInCyrillic) {
  TBackupFile backup;
  ASSERT_EQ(ClubBackup::Outcome::kSaved, BackupClub(backup, club.path(), Archive()).outcome);
  const TempFolder parent;
  const fs::path target = parent.path() / fs::u8path(u8"\u043a\u043b\u0443\u0431");
  WriteFile(target / "2026-2027" / "Joueur.DBP", "stale members");
  WriteFile(target / "2026-2027" / "4711.dbp", "stale ledger");
  WriteFile(target / "2026-2027" / "0001.DBP", "stale ledger one");
  const ClubRestore result = RestoreClub(backup, drive.path() / kArchiveFileName, target);
  EXPECT_EQ(ClubRestore::Outcome::kRestored, result.outcome);
  EXPECT_EQ("2026-2027", result.exercise);
  EXPECT_EQ(2, result.ledgersDeleted);
  EXPECT_EQ(6, result.filesWritten);
  EXPECT_EQ(Snapshot(club.path()), ClubFiles(target));
  EXPECT_EQ((std::vector<std::string>{target.filename().string()}), Names(parent.path()));
  EXPECT_EQ((std::vector<std::string>{"0001.dbp", "4110.dbp", "joueur.dbp", "journal.dbp",
                                      "vantrel.ini"}),
            Names(target / "Temp"));
  EXPECT_EQ("2026-2027", LoadSettings(target).exercise);
}

TEST(ClubRestoreTest, ArchiveWithoutSettingsFileIsRefusedWithNothingWritten) {
  ProgramFolder club;
  WriteFile(club.exerciseFolder() / "Joueur.DBP", "current");
  WriteFile(club.exerciseFolder() / "0042.dbp", "ledger");
  TempFolder drive;
  const fs::path archive = drive.path() / kArchiveFileName;
  TBackupFile backup;
  ASSERT_TRUE(backup.Backup({PathToText(club.exerciseFolder() / "*.*")}, PathToText(archive)));
  WriteFile(club.exerciseFolder() / "Joueur.DBP", "changed since");
  const auto before = Snapshot(club.path());
  const ClubRestore result = RestoreClub(backup, PathToText(archive), club.path());
  EXPECT_EQ(ClubRestore::Outcome::kNotAClubBackup, result.outcome);
  EXPECT_EQ(before, Snapshot(club.path()));
  EXPECT_FALSE(fs::exists(club.path() / "Temp"));
  EXPECT_EQ(std::string("Cette archive ne contient pas de fichier Vantrel.ini : ce n'est pas une "
                        "sauvegarde du club."),
            kNotClubBackupText);
}

// A second pass that cannot write one file changes no file at all: no target, no ledger,
// no staged file left behind.
TEST_F(ClubBackupTest, InterruptedSecondPassLeavesEveryFileWhole) {
  enum class Fault { kTargetIsAFolder, kFolderIsAFile, kFolderNotWritable, kCancelled };
  for (const Fault fault : {Fault::kTargetIsAFolder, Fault::kFolderIsAFile,
                            Fault::kFolderNotWritable, Fault::kCancelled}) {
    const int label = static_cast<int>(fault);
#ifdef _WIN32
    // A folder's read-only attribute does not keep Windows from writing in it.
    if (fault == Fault::kFolderNotWritable) continue;
#else
    if (fault == Fault::kFolderNotWritable && geteuid() == 0) continue;  // root writes anyway
#endif
    ProgramFolder other;
    WriteFile(other.exerciseFolder() / "Joueur.DBP", "member file\r\n");
    WriteFile(other.exerciseFolder() / "Journal.dbp", "journal\r\n");
    WriteFile(other.exerciseFolder() / "0001.dbp", "ledger\r\n");
    WriteFile(other.path() / "2027-2028" / "Joueur.DBP", "next season\r\n");
    TBackupFile backup;
    ASSERT_EQ(ClubBackup::Outcome::kSaved, BackupClub(backup, other.path(), Archive()).outcome);
    // The club as it is now, to be kept whole.
    WriteFile(other.exerciseFolder() / "Joueur.DBP", "member file changed since\r\n");
    WriteFile(other.exerciseFolder() / "4711.dbp", "ledger made since\r\n");
    std::string failedFile;
    switch (fault) {
      case Fault::kTargetIsAFolder:
        fs::remove(other.exerciseFolder() / "Journal.dbp");
        fs::create_directory(other.exerciseFolder() / "Journal.dbp");
        failedFile = PathToText(other.exerciseFolder() / "Journal.dbp");
        break;
      case Fault::kFolderIsAFile:
        fs::remove_all(other.path() / "2027-2028");
        WriteFile(other.path() / "2027-2028", "a file where a folder was");
        failedFile = PathToText(other.path() / "2027-2028" / "joueur.dbp");
        break;
      case Fault::kFolderNotWritable:
        fs::permissions(other.path() / "2027-2028", fs::perms::owner_write,
                        fs::perm_options::remove);
        break;
      case Fault::kCancelled:
        break;
    }
    int staged = 0;
    backup.OnProgress = [&](const std::string& name, int, bool& go) {
      if (fault == Fault::kCancelled && name.size() > 4 && name.substr(name.size() - 4) == ".tmp" &&
          ++staged == 3) {
        go = false;
      }
    };
    const auto before = ClubFiles(other.path());
    const ClubRestore result = RestoreClub(backup, Archive(), other.path());
    fs::permissions(other.path() / "2027-2028", fs::perms::owner_all, fs::perm_options::add);
    EXPECT_EQ(ClubRestore::Outcome::kSecondPassFailed, result.outcome) << label;
    EXPECT_TRUE(result.nothingChanged) << label;
    EXPECT_EQ(0, result.ledgersDeleted) << label;
    EXPECT_EQ(before, ClubFiles(other.path())) << label;
    if (!failedFile.empty()) {
      ASSERT_EQ(1u, result.failed.size()) << label;
      EXPECT_EQ(failedFile, result.failed[0].file) << label;
      EXPECT_NE(std::string::npos, ClubRestoreFailureText(result).find(failedFile)) << label;
    }
    if (fault == Fault::kFolderNotWritable) {
      ASSERT_EQ(1u, result.failed.size()) << label;
      EXPECT_EQ("Impossible de restaurer le fichier " +
                    PathToText(other.path() / "2027-2028" / "Joueur.DBP") +
                    " : permission refus\xe9"
                    "e",
                result.failed[0].reason)
          << label;
    }
  }
}

TEST_F(ClubBackupTest, ReportsTheFileThatCouldNotBeRestored) {
  TBackupFile backup;
  ASSERT_EQ(ClubBackup::Outcome::kSaved, BackupClub(backup, club.path(), Archive()).outcome);
  fs::remove(club.exerciseFolder() / "Journal.dbp");
  fs::create_directory(club.exerciseFolder() / "Journal.dbp");
  const ClubRestore result = RestoreClub(backup, Archive(), club.path());
  EXPECT_EQ(
      "La restauration a \xe9"
      "chou\xe9 : aucun fichier n'a \xe9t\xe9 remplac\xe9.\r" +
          PathToText(club.exerciseFolder() / "Journal.dbp") + " : c'est un dossier",
      ClubRestoreFailureText(result));
}

// The error box of a failed second pass names the file the user knows, never its staging
// file: the component's own error is held back and told through the failure text.
TEST_F(ClubBackupTest, FailedSecondPassNamesTheRealFile) {
  TBackupFile backup;
  ASSERT_EQ(ClubBackup::Outcome::kSaved, BackupClub(backup, club.path(), Archive()).outcome);
  std::vector<std::string> shown;
  backup.OnError = [&](BackupError, const std::string&) {
    shown.push_back(ArchiveErrorText(backup, Archive(), true));
  };
  backup.OnProgress = [&](const std::string& name, int, bool&) {
    // The journal's staging file cannot be put in place: the component fails on it.
    const std::string lower = LowerAscii(name);
    if (lower.find("journal.dbp.") != std::string::npos && lower.rfind(".tmp") + 4 == lower.size())
      fs::create_directory(FolderPath(name));
  };
  const ClubRestore result = RestoreClub(backup, Archive(), club.path());
  EXPECT_EQ(ClubRestore::Outcome::kSecondPassFailed, result.outcome);
  EXPECT_EQ(std::vector<std::string>{}, shown);
  const std::string text = ClubRestoreFailureText(result);
  EXPECT_EQ(std::string::npos, text.find(".tmp")) << text;
  EXPECT_NE(std::string::npos, text.find(PathToText(club.exerciseFolder() / "Journal.dbp")))
      << text;
  EXPECT_EQ(0u, text.rfind("La restauration a \xe9"
                           "chou\xe9 : ",
                           0))
      << text;
  // The first pass's own errors still reach OnError.
  EXPECT_TRUE(static_cast<bool>(backup.OnError));
}

// A hostile name is refused and named; a missing next volume is named.
TEST(ArchiveErrorTextTest, NamesTheRefusedEntryAndTheAwaitedVolume) {
  const std::uint32_t t = PackDateTime(2026, 11, 3, 18, 4, 10);
  const std::string bytes = ArchiveBytes("Vantrel", 0, 2)
                                .entry("/club/vantrel.ini", t)
                                .storedChunk("[Fichier]\r\n")
                                .endSection()
                                .entry("/club/2026-2027/../../etc/cron.d/evil", t)
                                .storedChunk("x")
                                .endSection()
                                .end()
                                .bytes();
  ProgramFolder club;
  TempFolder drive;
  const std::string archive = PathToText(drive.path() / kArchiveFileName);
  WriteFile(drive.path() / kArchiveFileName, bytes);
  TBackupFile backup;
  std::vector<std::string> shown;
  backup.OnError = [&](BackupError, const std::string&) {
    shown.push_back(ArchiveErrorText(backup, archive, true));
  };
  EXPECT_EQ(ClubRestore::Outcome::kFirstPassFailed,
            RestoreClub(backup, archive, club.path()).outcome);
  EXPECT_EQ(std::vector<std::string>{"L'archive " + archive +
                                     " contient un nom de fichier refus\xe9 : "
                                     "/club/2026-2027/../../etc/cron.d/evil"},
            shown);
  EXPECT_EQ(
      "Impossible de lire le volume /media/cle/SvgVantrel.002 de l'archive "
      "/media/cle/SvgVantrel.bck : dossier ou fichier introuvable",
      ArchiveErrorText(BackupError::kCannotReadArchive, "/media/cle/SvgVantrel.002",
                       std::make_error_code(std::errc::no_such_file_or_directory),
                       "/media/cle/SvgVantrel.bck", true));
}

TEST_F(ClubBackupTest, BackupThatWouldSaveNothingIsAFailureAndWritesNothing) {
  ProgramFolder empty;
  fs::remove(empty.path() / "Vantrel.ini");
  WriteFile(empty.path() / "notes.txt", "not club data");
  WriteFile(drive.path() / kArchiveFileName, "the previous archive");
  TBackupFile backup;
  const ClubBackup result = BackupClub(backup, empty.path(), Archive());
  EXPECT_EQ(ClubBackup::Outcome::kNothingToSave, result.outcome);
  EXPECT_EQ("Aucun fichier \xe0 sauvegarder dans " + PathToText(empty.path()) +
                " : rien n'a \xe9t\xe9 sauvegard\xe9.",
            ClubBackupFailureText(result, empty.path(), Archive()));
  EXPECT_EQ("the previous archive", ReadFile(drive.path() / kArchiveFileName));
  EXPECT_EQ((std::vector<std::string>{kArchiveFileName}), Names(drive.path()));
}

TEST_F(ClubBackupTest, FileVanishingDuringTheBackupKeepsThePreviousArchive) {
  WriteFile(drive.path() / kArchiveFileName, "the previous archive");
  TBackupFile backup;
  backup.OnProgress = [&](const std::string&, int percent, bool&) {
    if (percent == 0) fs::remove(club.exerciseFolder() / "Journal.dbp");
  };
  const ClubBackup result = BackupClub(backup, club.path(), Archive());
  EXPECT_EQ(ClubBackup::Outcome::kIncomplete, result.outcome);
  EXPECT_EQ(6, result.listed);
  EXPECT_EQ(5, result.archived);
  EXPECT_EQ(
      "La sauvegarde a \xe9"
      "chou\xe9 : seuls 5 fichier(s) sur 6 ont pu \xeatre lus. "
      "L'ancienne archive est conserv\xe9"
      "e.",
      ClubBackupFailureText(result, club.path(), Archive()));
  EXPECT_EQ("the previous archive", ReadFile(drive.path() / kArchiveFileName));
  EXPECT_EQ((std::vector<std::string>{kArchiveFileName}), Names(drive.path()));
}

// Archived names are Windows-1252: a path it cannot hold is refused before anything is
// written, and the message names it.
TEST_F(ClubBackupTest, PathsWindows1252CannotHoldAreRefused) {
  const fs::path snowman = club.path() / fs::path(u8"Club \u2603");
  WriteFile(snowman / "Vantrel.ini", "[Fichier]\r\n");
  WriteFile(club.exerciseFolder() / fs::path(u8"r\u00e9sultats \u20ac \u2603.txt"), "x");
  TBackupFile backup;
  for (const fs::path& folder : {snowman, club.path()}) {
    const ClubBackup result = BackupClub(backup, folder, Archive());
    EXPECT_EQ(ClubBackup::Outcome::kUnencodablePath, result.outcome) << folder;
    EXPECT_FALSE(fs::exists(drive.path() / kArchiveFileName)) << folder;
  }
  EXPECT_EQ(snowman, BackupClub(backup, snowman, Archive()).unencodable);
  const ClubBackup file = BackupClub(backup, club.path(), Archive());
  EXPECT_EQ(club.exerciseFolder() / fs::path(u8"r\u00e9sultats \u20ac \u2603.txt"),
            file.unencodable);
  EXPECT_EQ("Le chemin " + PathToText(file.unencodable) +
                " contient des caract\xe8res que l'archive ne sait pas \xe9"
                "crire : rien n'a "
                "\xe9t\xe9 sauvegard\xe9.",
            ClubBackupFailureText(file, club.path(), Archive()));
  EXPECT_TRUE(IsCp1252Path(club.path() / fs::path(u8"r\u00e9sultats \u20ac.txt")));
}

TEST_F(ClubBackupTest, ArchiveThatIsAFolderCannotBeReplaced) {
  fs::create_directory(drive.path() / kArchiveFileName);
  TBackupFile backup;
  const ClubBackup result = BackupClub(backup, club.path(), Archive());
  EXPECT_EQ(ClubBackup::Outcome::kReplaceFailed, result.outcome);
  EXPECT_EQ(
      "Impossible d'\xe9"
      "crire l'archive " +
          Archive() + " : c'est un dossier",
      ClubBackupFailureText(result, club.path(), Archive()));
  EXPECT_EQ((std::vector<std::string>{kArchiveFileName}), Names(drive.path()));
}

TEST(ArchiveErrorTextTest, NamesTheArchiveOrTheFileAndTheSystemsReason) {
  const auto code = [](std::errc e) { return std::make_error_code(e); };
  struct Case {
    BackupError error;
    std::string file;
    std::error_code system;
    bool restoring;
    std::string text;
  };
  const std::string archive = "/media/cle/SvgVantrel.bck";
  const std::vector<Case> cases = {
      {BackupError::kCannotWriteArchive, "", code(std::errc::permission_denied), false,
       "Impossible d'\xe9"
       "crire l'archive /media/cle/SvgVantrel.bck : permission refus\xe9"
       "e"},
      {BackupError::kCannotWriteArchive, "", code(std::errc::no_space_on_device), false,
       "Impossible d'\xe9"
       "crire l'archive /media/cle/SvgVantrel.bck : plus de place sur le "
       "support"},
      {BackupError::kCannotWriteArchive, "", code(std::errc::read_only_file_system), false,
       "Impossible d'\xe9"
       "crire l'archive /media/cle/SvgVantrel.bck : support en lecture seule"},
      {BackupError::kCannotReadFile, "/club/2026-2027/joueur.dbp",
       code(std::errc::permission_denied), false,
       "Impossible de lire le fichier /club/2026-2027/joueur.dbp : permission refus\xe9"
       "e"},
      {BackupError::kCannotReadFile, "/club/2026-2027/joueur.dbp", code(std::errc::io_error), true,
       "Impossible de restaurer le fichier /club/2026-2027/joueur.dbp : erreur d'entr\xe9"
       "e-sortie du support"},
      {BackupError::kCannotReadFile,
       "",
       {},
       true,
       "L'archive /media/cle/SvgVantrel.bck est endommag\xe9"
       "e ou incompl\xe8te"},
      {BackupError::kCannotReadArchive,
       "",
       {},
       true,
       "Impossible de lire l'archive /media/cle/SvgVantrel.bck : en-t\xeate illisible"},
      {BackupError::kInvalidArchiveType,
       "",
       {},
       true,
       "L'archive /media/cle/SvgVantrel.bck n'est pas une archive de sauvegarde valide"},
      {BackupError::kCannotWriteArchive, "", std::error_code(4242, std::generic_category()), false,
       "Impossible d'\xe9"
       "crire l'archive /media/cle/SvgVantrel.bck : erreur syst\xe8me 4242"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.text, ArchiveErrorText(c.error, c.file, c.system, archive, c.restoring))
        << static_cast<int>(c.error) << " " << c.system.message();
  }
}

// A failed or cancelled backup over an existing archive leaves it whole, with nothing beside.
TEST_F(ClubBackupTest, CancelledBackupKeepsThePreviousArchive) {
  TBackupFile backup;
  ASSERT_EQ(ClubBackup::Outcome::kSaved, BackupClub(backup, club.path(), Archive()).outcome);
  const std::string previous = ReadFile(drive.path() / kArchiveFileName);
  WriteFile(club.exerciseFolder() / "Journal.dbp", std::string(100000, 'j'));
  backup.OnProgress = [](const std::string&, int percent, bool& go) { go = percent < 30; };
  EXPECT_EQ(ClubBackup::Outcome::kArchiveFailed,
            BackupClub(backup, club.path(), Archive()).outcome);
  EXPECT_EQ(previous, ReadFile(drive.path() / kArchiveFileName));
  EXPECT_EQ((std::vector<std::string>{kArchiveFileName}), Names(drive.path()));
}

}  // namespace
}  // namespace vantrel::utilities
