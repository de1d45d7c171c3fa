#include "utilities/club_backup.h"

#include <gtest/gtest.h>

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
  fs::permissions(club.path() / "Archives",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const std::string root = PathToText(club.path());
  EXPECT_EQ(
      (std::vector<std::string>{root + "/*.ini", root + "/2025-2026/*.*", root + "/2026-2027/*.*"}),
      ClubBackupPatterns(club.path()));

  TBackupFile backup;
  ASSERT_EQ(ClubBackup::Outcome::kSaved, BackupClub(backup, club.path(), Archive()).outcome);
  const std::string lower = LowerAscii(root);
  EXPECT_EQ(
      (std::vector<std::string>{lower + "/vantrel.ini", lower + "/2025-2026/4110.dbp",
                                lower + "/2025-2026/joueur.dbp", lower + "/2026-2027/0001.dbp",
                                lower + "/2026-2027/joueur.dbp", lower + "/2026-2027/journal.dbp"}),
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

}  // namespace
}  // namespace vantrel::utilities
