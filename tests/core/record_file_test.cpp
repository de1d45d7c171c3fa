#include "core/record_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/error.h"
#include "core/transaction.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

class RecordFileTest : public ::testing::Test {
 protected:
  TempFolder m_folder;
  std::filesystem::path file(const std::string& name) const { return m_folder.path() / name; }
};

TEST_F(RecordFileTest, ReadsEveryKindOfLineEnd) {
  const Lines expected = {"a;b;", "", "c\xe9;", "last"};
  for (const std::string& bytes :
       {std::string("a;b;\r\n\r\nc\xe9;\r\nlast"), std::string("a;b;\n\nc\xe9;\nlast\n"),
        std::string("a;b;\r\rc\xe9;\rlast\r"), std::string("a;b;\r\n\nc\xe9;\rlast\r\n")}) {
    WriteFile(file("x.dbp"), bytes);
    EXPECT_EQ(expected, ReadLines(file("x.dbp"))) << "bytes: " << bytes;
  }
}

TEST_F(RecordFileTest, WritesCrLfAfterEveryLineAndReadsItBack) {
  const Lines lines = {"00123456;M.;DUPONT;", "", "\x80;\x9c;"};
  WriteLines(file("Joueur.DBP"), lines);
  EXPECT_EQ("00123456;M.;DUPONT;\r\n\r\n\x80;\x9c;\r\n", ReadFile(file("Joueur.DBP")));
  EXPECT_EQ(lines, ReadLines(file("Joueur.DBP")));
}

TEST_F(RecordFileTest, EmptyListGivesEmptyFileAndBack) {
  WriteLines(file("Journal.dbp"), {});
  EXPECT_TRUE(std::filesystem::exists(file("Journal.dbp")));
  EXPECT_EQ("", ReadFile(file("Journal.dbp")));
  EXPECT_EQ(Lines{}, ReadLines(file("Journal.dbp")));
}

TEST_F(RecordFileTest, FindsAFileUnderAnotherLetterCase) {
  WriteFile(m_folder.path() / "2026-2027" / "Joueur.DBP", "x;\r\n");
  EXPECT_TRUE(FileExists(m_folder.path() / "2026-2027" / "joueur.dbp"));
  EXPECT_EQ(Lines{"x;"}, ReadLines(m_folder.path() / "2026-2027" / "JOUEUR.dbp"));
  // Writing under another case replaces the existing file instead of adding a second one.
  WriteLines(m_folder.path() / "2026-2027" / "joueur.dbp", {"y;"});
  EXPECT_EQ("y;\r\n", ReadFile(m_folder.path() / "2026-2027" / "Joueur.DBP"));
  EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(m_folder.path() / "2026-2027"),
                             std::filesystem::directory_iterator()));
}

TEST_F(RecordFileTest, MissingFilesFailOrReadEmpty) {
  EXPECT_EQ(Lines{}, ReadLinesIfExists(file("none.dbp")));
  try {
    ReadLines(file("none.dbp"));
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ("Impossible d'ouvrir le fichier " + file("none.dbp").string(),
              std::string(error.what()));
  }
  try {
    WriteLines(m_folder.path() / "missing" / "Journal.dbp", {"x"});
    FAIL() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(
        "Impossible de cr\xe9"
        "er le fichier " +
            (m_folder.path() / "missing" / "Journal.dbp").string(),
        std::string(error.what()));
  }
}

TEST_F(RecordFileTest, AnInterruptedChangeLeavesTheOldFilesWhole) {
  WriteLines(file("Journal.dbp"), {"old journal;"});
  WriteLines(file("5300.dbp"), {"old ledger;"});
  {
    FileTransaction transaction;
    transaction.Stage(file("Journal.dbp"), "new journal;\r\n");
    EXPECT_THROW(transaction.Stage(m_folder.path() / "gone" / "5300.dbp", "x"), Error);
    // Destroyed without Commit(): as if the program had stopped here.
  }
  EXPECT_EQ("old journal;\r\n", ReadFile(file("Journal.dbp")));
  EXPECT_EQ("old ledger;\r\n", ReadFile(file("5300.dbp")));
  EXPECT_EQ(2, std::distance(std::filesystem::directory_iterator(m_folder.path()),
                             std::filesystem::directory_iterator()))
      << "temporary files left behind";
}

TEST_F(RecordFileTest, CommittedChangeReplacesAllFiles) {
  WriteLines(file("Journal.dbp"), {"old;"});
  FileTransaction transaction;
  transaction.Stage(file("Journal.dbp"), "new;\r\n");
  transaction.Stage(file("7560.dbp"), "ledger;\r\n");
  transaction.Commit();
  EXPECT_EQ("new;\r\n", ReadFile(file("Journal.dbp")));
  EXPECT_EQ("ledger;\r\n", ReadFile(file("7560.dbp")));
}

TEST(JoinFieldsTest, CleansSeparatorsAndLineBreaks) {
  EXPECT_EQ("a,b;c d;;", JoinFields({"a;b", "c\nd", ""}));
  EXPECT_EQ("x  y;", JoinFields({"x\r\ny"}));
  EXPECT_EQ((std::vector<std::string>{"a", "", "c"}), SplitFields("a;;c;"));
  EXPECT_EQ((std::vector<std::string>{"a", "b"}), SplitFields("a;b"));
}

}  // namespace
}  // namespace vantrel
