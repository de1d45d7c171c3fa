#include "competitions/cup_file.h"

#include <gtest/gtest.h>

#include "competitions/result_page_builder.h"
#include "support/temp_folder.h"

namespace vantrel::competitions {
namespace {

namespace fs = std::filesystem;
using testing::ProgramFolder;
using testing::ReadFile;
using testing::W;
using testing::WriteFile;

CupFields Fields(const std::string& date, const std::string& name, int column = 1,
                 const std::string& coefficient = "100", const std::string& kind = "P") {
  CupFields fields;
  fields.date = date;
  fields.name = name;
  fields.kind = kind;
  fields.column = column;
  fields.coefficient = coefficient;
  return fields;
}

class CupFileTest : public ::testing::Test {
 protected:
  fs::path path() const { return CupFilePath(club.exerciseFolder(), 2); }
  std::string onDisk() const { return ReadFile(club.exerciseFolder() / "Challenge_2.dbp"); }

  ProgramFolder club;
  CupFile cup;
};

TEST_F(CupFileTest, PathIsChallengeAndTheCupNumberInAnyLetterCase) {
  EXPECT_EQ(club.exerciseFolder() / "Challenge_3.dbp", CupFilePath(club.exerciseFolder(), 3));
  WriteFile(club.exerciseFolder() / "CHALLENGE_3.DBP", "");
  EXPECT_EQ(club.exerciseFolder() / "CHALLENGE_3.DBP", CupFilePath(club.exerciseFolder(), 3));
}

TEST_F(CupFileTest, MissingFileIsAnEmptyCupCreatedByTheFirstChange) {
  cup.load(path());
  EXPECT_EQ(0, cup.count());
  EXPECT_EQ(0, cup.current());
  EXPECT_EQ(false, fs::exists(club.exerciseFolder() / "Challenge_2.dbp"));
  cup.link(Fields("  /  /    ", "rien"), "x.chr");  // no current line: nothing
  EXPECT_EQ(false, fs::exists(club.exerciseFolder() / "Challenge_2.dbp"));
  cup.add(Fields("  /  /    ", W("Tournoi de Rentrée")));
  EXPECT_EQ(W("1;  /  /    ;Tournoi de Rentrée;P;1;100;;\r\n"), onDisk());
  EXPECT_EQ(1, cup.current());
}

TEST_F(CupFileTest, NumbersAfterADeletionAndModifierRenumbersItsLine) {
  WriteFile(club.exerciseFolder() / "Challenge_2.dbp",
            "1;07/10/2026;Un;P;1;100;un.chr;\r\n2;14/10/2026;Deux;P;2;100;deux.chr;\r\n"
            "3;21/10/2026;Trois;Q;3;50;trois.chr;\r\n");
  cup.load(path());
  EXPECT_EQ(1, cup.current());
  cup.next();
  EXPECT_EQ(2, cup.current());
  cup.remove();
  EXPECT_EQ(2, cup.current()) << "the last line becomes current";
  EXPECT_EQ("1;07/10/2026;Un;P;1;100;un.chr;\r\n3;21/10/2026;Trois;Q;3;50;trois.chr;\r\n",
            onDisk());

  cup.add(Fields("28/10/2026", "Quatre", 4));
  EXPECT_EQ(3, cup.current());
  EXPECT_EQ(
      "1;07/10/2026;Un;P;1;100;un.chr;\r\n3;21/10/2026;Trois;Q;3;50;trois.chr;\r\n"
      "3;28/10/2026;Quatre;P;4;100;;\r\n",
      onDisk())
      << "two lines numbered 3";

  cup.previous();
  EXPECT_EQ(2, cup.current());
  EXPECT_EQ("3", cup.currentNumber());
  cup.modify(cup.currentFields());
  EXPECT_EQ(
      "1;07/10/2026;Un;P;1;100;un.chr;\r\n2;21/10/2026;Trois;Q;3;50;;\r\n"
      "3;28/10/2026;Quatre;P;4;100;;\r\n",
      onDisk())
      << "Modifier writes r in field 0 and unlinks the result file";
}

TEST_F(CupFileTest, LinkWritesTheEditFieldsAndACancelledDialogUnlinks) {
  WriteFile(club.exerciseFolder() / "Challenge_2.dbp", "1;07/10/2026;Un;P;1;100;un.chr;\r\n");
  cup.load(path());
  cup.link(Fields("08/10/2026", "Un bis", 5, "50", "Q"), "autre.chr");
  EXPECT_EQ("1;08/10/2026;Un bis;Q;5;50;autre.chr;\r\n", onDisk());
  cup.link(Fields("08/10/2026", "Un bis", 5, "50", "Q"), "");
  EXPECT_EQ("1;08/10/2026;Un bis;Q;5;50;;\r\n", onDisk());
}

TEST_F(CupFileTest, DeletingTheOnlyLineLeavesAnEmptyFile) {
  WriteFile(club.exerciseFolder() / "Challenge_2.dbp", "1;07/10/2026;Un;P;1;100;;\r\n");
  cup.load(path());
  cup.remove();
  EXPECT_EQ(0, cup.current());
  EXPECT_EQ(true, fs::exists(club.exerciseFolder() / "Challenge_2.dbp"));
  EXPECT_EQ("", onDisk());
}

TEST_F(CupFileTest, NavigationStaysWithinTheLines) {
  WriteFile(club.exerciseFolder() / "Challenge_2.dbp",
            "1;a;A;P;1;100;;\r\n2;b;B;P;1;100;;\r\n3;c;C;P;1;100;;\r\n");
  cup.load(path());
  std::vector<int> seen;
  cup.previous();
  seen.push_back(cup.current());
  cup.last();
  seen.push_back(cup.current());
  cup.next();
  seen.push_back(cup.current());
  cup.first();
  seen.push_back(cup.current());
  cup.next();
  seen.push_back(cup.current());
  EXPECT_EQ((std::vector<int>{1, 3, 3, 1, 2}), seen);
  EXPECT_EQ("B", cup.currentFields().name);
}

TEST_F(CupFileTest, FieldsWithSeparatorsAreCleaned) {
  cup.load(path());
  cup.add(Fields("01/01/2027", "Coupe; finale\r\n", 2, "100"));
  EXPECT_EQ("1;01/01/2027;Coupe, finale  ;P;2;100;;\r\n", onDisk());
}

TEST(CupKindTest, XTogglesBetweenPairsAndTeams) {
  EXPECT_EQ("Q", ToggleCupKind("P"));
  EXPECT_EQ("P", ToggleCupKind("Q"));
  EXPECT_EQ("P", ToggleCupKind(""));
  EXPECT_EQ("P", ToggleCupKind("p"));
}

}  // namespace
}  // namespace vantrel::competitions
