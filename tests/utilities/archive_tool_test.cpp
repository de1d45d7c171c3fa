#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>

#include "core/text_helpers.h"
#include "support/command_run.h"
#include "support/temp_folder.h"
#include "utilities/backup_file.h"

namespace vantrel::utilities {
namespace {

namespace fs = std::filesystem;
using testing::ProgramFolder;
using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

struct ToolRun {
  int status;
  std::string output;  // stdout and stderr
};

// Runs vantrel-archive with arguments (each quoted for the shell) from folder.
ToolRun Archive(const std::vector<std::string>& arguments,
                const fs::path& folder = fs::temp_directory_path()) {
  std::string command = "cd '" + folder.string() + "' && '" VANTREL_ARCHIVE_TOOL "'";
  for (const std::string& argument : arguments) command += " '" + argument + "'";
  command += " 2>&1";
  ToolRun run{-1, ""};
  const auto ran = testing::RunCommand(command);
  if (!ran) return run;
  run.output = ran->output;
  run.status = ran->status;
  return run;
}

class ArchiveToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(club.exerciseFolder() / "Joueur.DBP", "00123456;M.;DUPONT;Jean;\r\n");
    WriteFile(club.exerciseFolder() / "Journal.dbp", std::string(40000, 'j'));
    WriteFile(club.exerciseFolder() / "sub" / "deep.txt", "deep");
    SetPackedTime(club.exerciseFolder() / "Joueur.DBP", PackDateTime(2026, 10, 2, 20, 15, 44));
  }
  std::string archive() const { return (drive.path() / "SvgVantrel.bck").string(); }

  ProgramFolder club;
  TempFolder drive;
};

TEST_F(ArchiveToolTest, CreatesListsAndRestoresAClub) {
  const std::string root = club.path().string();
  const ToolRun created = Archive({"create", archive(), root + "/*.ini", root + "/*.*", "/s"});
  ASSERT_EQ(0, created.status) << created.output;
  EXPECT_EQ("4 fichier(s) sauvegard\xc3\xa9(s) dans " + archive() + "\n", created.output);

  const ToolRun listed = Archive({"list", archive()});
  ASSERT_EQ(0, listed.status) << listed.output;
  const std::string lower = LowerAscii(root);
  EXPECT_NE(std::string::npos,
            listed.output.find(lower + "/2026-2027/joueur.dbp\t26\t02/10/2026 20:15:44\n"))
      << listed.output;
  EXPECT_NE(std::string::npos, listed.output.find(lower + "/2026-2027/sub/deep.txt\t4\t"))
      << listed.output;

  // The file of a sub-folder of an exercise is no club data: it is refused.
  const TempFolder target;
  const ToolRun restored = Archive({"restore", archive()}, target.path());
  EXPECT_EQ(1, restored.status) << restored.output;
  EXPECT_EQ(
      "Hors des donn\xc3\xa9"
      "es du club, non restaur\xc3\xa9 : " +
          lower + "/2026-2027/sub/deep.txt\n1 fichier(s) non restaur\xc3\xa9(s).\n",
      restored.output);
  EXPECT_EQ(std::string(40000, 'j'), ReadFile(target.path() / "2026-2027" / "journal.dbp"));
  EXPECT_FALSE(fs::exists(target.path() / "2026-2027" / "sub"));
  EXPECT_EQ(PackDateTime(2026, 10, 2, 20, 15, 44),
            PackedTimeOf(target.path() / "2026-2027" / "joueur.dbp"));
}

TEST_F(ArchiveToolTest, FailuresGiveAFrenchMessageAndStatusOne) {
  const TempFolder target;
  struct Case {
    const char* label;
    std::vector<std::string> arguments;
    int status;
    std::string output;
  };
  WriteFile(drive.path() / "damaged.bck",
            std::string("\x07\0\0\0Vantrel\0\0\0\0\1\0\0\0\x05\0\0\0", 23));
  WriteFile(drive.path() / "empty.bck", "");
  const std::string damaged = (drive.path() / "damaged.bck").string();
  const std::string empty = (drive.path() / "empty.bck").string();
  const std::vector<Case> cases = {
      {"missing",
       {"restore", archive(), target.path().string()},
       1,
       "Fichier de restauration introuvable! " + archive() + "\n"},
      {"missing list", {"list", archive()}, 1, "Archive introuvable : " + archive() + "\n"},
      {"truncated",
       {"restore", damaged, target.path().string()},
       1,
       "L'archive " + damaged +
           " est endommag\xc3\xa9"
           "e ou incompl\xc3\xa8te (erreur 1)\nFichier de restauration corrompu!\n"},
      {"empty",
       {"restore", empty, target.path().string()},
       1,
       "Impossible de lire l'archive " + empty + " : en-t\xc3\xaate illisible (erreur 3)\n"},
      {"unwritable",
       {"create", (drive.path() / "none" / "x.bck").string(), club.path().string() + "/*.ini"},
       1,
       "Impossible d'\xc3\xa9"
       "crire l'archive " +
           (drive.path() / "none" / "x.bck").string() +
           " : dossier ou fichier introuvable (erreur 4)\nLa sauvegarde a \xc3\xa9"
           "chou\xc3\xa9 : " +
           (drive.path() / "none" / "x.bck").string() + "\n"},
  };
  for (const Case& c : cases) {
    const ToolRun run = Archive(c.arguments);
    EXPECT_EQ(c.status, run.status) << c.label;
    EXPECT_EQ(c.output, run.output) << c.label;
  }
  const ToolRun usage = Archive({"frobnicate"});
  EXPECT_EQ(2, usage.status);
  EXPECT_EQ(0u, usage.output.rfind("Usage : vantrel-archive", 0)) << usage.output;
}

TEST_F(ArchiveToolTest, RefusesFilesOutsideTheProgramFolder) {
  TempFolder elsewhere;
  WriteFile(elsewhere.path() / "secret.txt", "outside");
  const ToolRun created = Archive({"create", archive(), club.path().string() + "/*.ini",
                                   (elsewhere.path() / "*.txt").string()});
  ASSERT_EQ(0, created.status) << created.output;
  const TempFolder target;
  const ToolRun restored = Archive({"restore", archive(), target.path().string()});
  EXPECT_EQ(1, restored.status);
  EXPECT_EQ(
      "Hors des donn\xc3\xa9"
      "es du club, non restaur\xc3\xa9 : " +
          LowerAscii((elsewhere.path() / "secret.txt").string()) +
          "\n1 fichier(s) non restaur\xc3\xa9(s).\n",
      restored.output);
  EXPECT_TRUE(fs::exists(target.path() / "vantrel.ini"));
}

// A scheduled backup that finds nothing (a folder not mounted, a mistyped pattern, no pattern
// at all) fails and keeps last night's archive byte for byte, with nothing beside it.
TEST_F(ArchiveToolTest, BackupOfNothingFailsAndKeepsTheGoodArchive) {
  const std::string root = club.path().string();
  ASSERT_EQ(0, Archive({"create", archive(), root + "/*.ini", root + "/2026-2027/*.*"}).status);
  const std::string good = ReadFile(archive());
  struct Case {
    const char* label;
    std::vector<std::string> patterns;
    std::string output;
  };
  const std::string failed =
      "La sauvegarde a \xc3\xa9"
      "chou\xc3\xa9 : ";
  const std::vector<Case> cases = {
      {"missing folder",
       {"missing/*.*"},
       failed +
           "aucun fichier ne correspond aux motifs, rien n'a \xc3\xa9t\xc3\xa9 "
           "sauvegard\xc3\xa9 dans " +
           archive() + ".\n"},
      {"no match",
       {root + "/*.xyz", root + "/*.qq", "/s"},
       failed +
           "aucun fichier ne correspond aux motifs, rien n'a \xc3\xa9t\xc3\xa9 "
           "sauvegard\xc3\xa9 dans " +
           archive() + ".\n"},
      {"no pattern",
       {},
       failed +
           "aucun motif de fichiers n'est donn\xc3\xa9, rien n'a \xc3\xa9t\xc3\xa9 "
           "sauvegard\xc3\xa9 dans " +
           archive() + ".\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments{"create", archive()};
    arguments.insert(arguments.end(), c.patterns.begin(), c.patterns.end());
    const ToolRun run = Archive(arguments, club.path());
    EXPECT_EQ(1, run.status) << c.label;
    EXPECT_EQ(c.output, run.output) << c.label;
    EXPECT_EQ(good, ReadFile(archive())) << c.label;
    EXPECT_EQ(1, std::distance(fs::directory_iterator(drive.path()), fs::directory_iterator()))
        << c.label;
  }
  // A pattern that finds nothing beside others that do is told, and the backup stands.
  const ToolRun partly = Archive({"create", archive(), root + "/*.ini", root + "/*.none"});
  EXPECT_EQ(0, partly.status) << partly.output;
  EXPECT_EQ("Aucun fichier ne correspond au motif " + root +
                "/*.none\n1 fichier(s) sauvegard\xc3\xa9(s) dans " + archive() + "\n",
            partly.output);
}

// Archived names are Windows-1252: "ноты.dbp" would be archived as "????.dbp", and a second
// such name would overwrite the first. Refused before anything is written, naming the file.
TEST_F(ArchiveToolTest, NamesWindows1252CannotHoldAreRefusedBeforeWriting) {
  const std::string root = club.path().string();
  ASSERT_EQ(0, Archive({"create", archive(), root + "/*.ini"}).status);
  const std::string good = ReadFile(archive());
  WriteFile(club.exerciseFolder() / fs::u8path(u8"\u043d\u043e\u0442\u044b.dbp"), "notes");
  WriteFile(club.exerciseFolder() / fs::u8path(u8"\u0436\u044e\u0440\u0438.dbp"), "jury");
  const ToolRun run = Archive({"create", archive(), root + "/*.ini", root + "/2026-2027/*.*"});
  EXPECT_EQ(1, run.status);
  EXPECT_EQ("Le chemin " + root + "/2026-2027/\xd0\xb6\xd1\x8e\xd1\x80\xd0\xb8.dbp" +
                " contient des caract\xc3\xa8res que l'archive ne sait pas \xc3\xa9"
                "crire : rien n'a \xc3\xa9t\xc3\xa9 sauvegard\xc3\xa9.\n",
            run.output);
  EXPECT_EQ(good, ReadFile(archive()));

  // A pattern of such characters would turn into wildcards ("????.dbp"): refused too.
  const ToolRun pattern =
      Archive({"create", archive(), root + "/2026-2027/" + "\xd0\xbd\xd0\xbe\xd1\x82\xd1\x8b.dbp"});
  EXPECT_EQ(1, pattern.status);
  EXPECT_EQ(
      "La sauvegarde a \xc3\xa9"
      "chou\xc3\xa9 : le motif " +
          root + "/2026-2027/\xd0\xbd\xd0\xbe\xd1\x82\xd1\x8b.dbp" +
          " contient des caract\xc3\xa8res que l'archive ne sait pas \xc3\xa9"
          "crire, rien n'a \xc3\xa9t\xc3\xa9 sauvegard\xc3\xa9.\n",
      pattern.output);
  EXPECT_EQ(good, ReadFile(archive()));
}

// The count is of the files written into the archive: one file found by two patterns counts
// once.
TEST_F(ArchiveToolTest, CountsTheFilesWrittenIntoTheArchive) {
  const std::string root = club.path().string();
  const ToolRun run = Archive({"create", archive(), root + "/2026-2027/*.dbp",
                               root + "/2026-2027/joueur.dbp", root + "/2026-2027/*.*"});
  ASSERT_EQ(0, run.status) << run.output;
  EXPECT_EQ("2 fichier(s) sauvegard\xc3\xa9(s) dans " + archive() + "\n", run.output);
  const ToolRun listed = Archive({"list", archive()});
  EXPECT_EQ(2, std::count(listed.output.begin(), listed.output.end(), '\n')) << listed.output;
}

// vantrel-archive restore good.bck /tmp/клуб: the folder is never spelt in Windows-1252.
TEST_F(ArchiveToolTest, RestoresIntoAFolderNamedInCyrillic) {
  const std::string root = club.path().string();
  ASSERT_EQ(0, Archive({"create", archive(), root + "/*.ini", root + "/2026-2027/*.*"}).status);
  const TempFolder parent;
  const fs::path target = parent.path() / fs::u8path(u8"\u043a\u043b\u0443\u0431");
  WriteFile(target / "2026-2027" / "0042.dbp", "stale ledger");
  WriteFile(target / "2026-2027" / "joueur.dbp", "stale members");
  const ToolRun run = Archive({"restore", archive(), target.string()});
  EXPECT_EQ(0, run.status) << run.output;
  EXPECT_EQ(
      "La restauration c'est bien d\xc3\xa9roul\xc3\xa9"
      "e! (3 fichier(s))\n",
      run.output);
  EXPECT_EQ("00123456;M.;DUPONT;Jean;\r\n", ReadFile(target / "2026-2027" / "joueur.dbp"));
  EXPECT_EQ(std::string(40000, 'j'), ReadFile(target / "2026-2027" / "journal.dbp"));
  EXPECT_FALSE(fs::exists(target / "2026-2027" / "0042.dbp"));
  EXPECT_TRUE(fs::exists(target / "Temp" / "journal.dbp"));
  EXPECT_EQ(1, std::distance(fs::directory_iterator(parent.path()), fs::directory_iterator()));
  // The archive itself in such a folder is listed and restored from.
  const fs::path moved = target / "SvgVantrel.bck";
  fs::copy_file(archive(), moved);
  const ToolRun listed = Archive({"list", moved.string()});
  EXPECT_EQ(0, listed.status) << listed.output;
  EXPECT_EQ(3, std::count(listed.output.begin(), listed.output.end(), '\n')) << listed.output;
  EXPECT_EQ(0, Archive({"restore", moved.string(), target.string()}).status);
}

// An archive without a settings file is no club backup: refused, nothing written.
TEST_F(ArchiveToolTest, RefusesAnArchiveWithoutSettingsFile) {
  const ToolRun created = Archive({"create", archive(), (club.exerciseFolder() / "*.*").string()});
  ASSERT_EQ(0, created.status) << created.output;
  const TempFolder target;
  const ToolRun restored = Archive({"restore", archive(), target.path().string()});
  EXPECT_EQ(1, restored.status);
  EXPECT_EQ(
      "Cette archive ne contient pas de fichier Vantrel.ini : ce n'est pas une sauvegarde du "
      "club.\n",
      restored.output);
  EXPECT_TRUE(fs::is_empty(target.path()));
}

}  // namespace
}  // namespace vantrel::utilities
