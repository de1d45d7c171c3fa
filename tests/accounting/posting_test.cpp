#include "accounting/posting.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "accounting/accounting_files.h"
#include "core/error.h"
#include "core/record_file.h"
#include "core/transaction.h"
#include "support/temp_folder.h"

namespace vantrel::accounting {
namespace {

namespace fs = std::filesystem;

using testing::ReadFile;
using testing::WriteFile;

const std::string kTwelveEmpty(12, ';');

JournalEntry Entry(const std::string& date, const std::string& label,
                   std::initializer_list<EntryGroup> groups) {
  JournalEntry entry{date, label, {}};
  std::size_t g = 0;
  for (const auto& group : groups) entry.groups[g++] = group;
  return entry;
}

// Every file of a folder with its bytes: the whole state a failed posting must leave alone.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& item : fs::directory_iterator(folder)) {
    files[item.path().filename().string()] =
        item.is_regular_file() ? ReadFile(item.path()) : std::string("<folder>");
  }
  return files;
}

class PostingTest : public ::testing::Test {
 protected:
  fs::path file(const std::string& name) const { return m_program.exerciseFolder() / name; }
  int post(const JournalEntry& entry) {
    return PostJournalEntry(m_program.exerciseFolder(), entry);
  }
  // Posting must fail with exactly this message and change no file of the exercise.
  void expectRefused(const JournalEntry& entry, const std::string& message) {
    const auto before = Snapshot(m_program.exerciseFolder());
    try {
      post(entry);
      ADD_FAILURE() << "posted: " << entry.label;
    } catch (const Error& error) {
      EXPECT_EQ(message, std::string(error.what())) << entry.label;
    }
    EXPECT_EQ(before, Snapshot(m_program.exerciseFolder())) << entry.label;
  }

  testing::ProgramFolder m_program;
};

TEST_F(PostingTest, FirstEntryCreatesTheJournalAndBothLedgers) {
  const int number = post(
      Entry("05/03/2026", "Droits de table",
            {{"5300", "Caisse", "1500", ""}, {"7560", "Cotisations des membres", "", "1500"}}));
  EXPECT_EQ(1, number);
  EXPECT_EQ("05/03/2026;Droits de table;5300;Caisse;1500;;7560;Cotisations des membres;;1500;" +
                kTwelveEmpty + "\r\n",
            ReadFile(file("Journal.dbp")));
  EXPECT_EQ("1;05/03/2026;Droits de table;1500;;1500;;1500;\r\n", ReadFile(file("5300.dbp")));
  EXPECT_EQ("1;05/03/2026;Droits de table;;1500;;1500;-1500;\r\n", ReadFile(file("7560.dbp")));
}

TEST_F(PostingTest, LaterEntriesTakeTheNextNumberAndCarryTheTotals) {
  post(Entry("05/03/2026", "A", {{"5300", "Caisse", "1500", ""}, {"7560", "Cot", "", "1500"}}));
  EXPECT_EQ(2, post(Entry("06/03/2026", "B",
                          {{"5120", "Banque", "4000", ""}, {"7560", "Cot", "", "4000"}})));
  EXPECT_EQ(3, post(Entry("07/03/2026", "C",
                          {{"7560", "Cot", "500", ""}, {"5300", "Caisse", "", "500"}})));
  EXPECT_EQ(
      "1;05/03/2026;A;;1500;;1500;-1500;\r\n"
      "2;06/03/2026;B;;4000;;5500;-5500;\r\n"
      "3;07/03/2026;C;500;;500;5500;-5000;\r\n",
      ReadFile(file("7560.dbp")));
  EXPECT_EQ(
      "1;05/03/2026;A;1500;;1500;;1500;\r\n"
      "3;07/03/2026;C;;500;1500;500;1000;\r\n",
      ReadFile(file("5300.dbp")));
  EXPECT_EQ("2;06/03/2026;B;4000;;4000;;4000;\r\n", ReadFile(file("5120.dbp")));
}

struct LedgerCase {
  const char* name;
  Lines ledger;
  std::string debit;
  std::string credit;
  std::string expected;
};

TEST(AppendLedgerLineTest, CarriesTotalsFromTheLastLine) {
  const LedgerCase cases[] = {
      {"credit onto 5000/2000",
       {"4;01/01/2026;x;;;5000;2000;3000;"},
       "",
       "1000",
       "9;02/02/2026;L;;1000;5000;3000;2000;"},
      {"first line, debit", {}, "1500", "", "9;02/02/2026;L;1500;;1500;;1500;"},
      {"totals back to equal",
       {"4;d;x;;;5000;2000;3000;"},
       "",
       "3000",
       "9;02/02/2026;L;;3000;5000;5000;0;"},
      {"a total of 0 is written empty",
       {"4;d;x;-500;;-500;;-500;"},
       "500",
       "",
       "9;02/02/2026;L;500;;;;0;"},
      {"empty totals read as 0", {"4;d;x;;;;;;"}, "", "", "9;02/02/2026;L;;;;;0;"},
      {"only the last line counts",
       {"1;d;x;;;999;999;0;", "2;d;x;;;10;;10;"},
       "5",
       "7",
       "9;02/02/2026;L;5;7;15;7;8;"},
      {"amounts kept as given", {}, "0", "0", "9;02/02/2026;L;0;0;;;0;"},
      {"negative credit", {"4;d;x;;;;300;-300;"}, "", "-300", "9;02/02/2026;L;;-300;;;0;"},
  };
  for (const auto& c : cases) {
    Lines ledger = c.ledger;
    AppendLedgerLine(ledger, "9", "02/02/2026", "L", c.debit, c.credit);
    Lines expected = c.ledger;
    expected.push_back(c.expected);
    EXPECT_EQ(expected, ledger) << c.name;
  }
}

TEST(AppendLedgerLineTest, RefusesWhatIsNotAWholeNumberAndKeepsTheLedger) {
  const struct {
    Lines ledger;
    std::string debit;
    std::string credit;
    std::string message;
  } cases[] = {
      {{"1;d;x;;;5O00;;5000;"}, "1", "", "'5O00' n'est pas une valeur enti\xe8re correcte"},
      {{}, "12,50", "", "'12,50' n'est pas une valeur enti\xe8re correcte"},
      {{}, "", "1e3", "'1e3' n'est pas une valeur enti\xe8re correcte"},
      {{"1;d;x;;;2147483000;;2147483000;"},
       "1000",
       "",
       "'2147484000' n'est pas une valeur enti\xe8re correcte"},
  };
  for (const auto& c : cases) {
    Lines ledger = c.ledger;
    try {
      AppendLedgerLine(ledger, "2", "d", "l", c.debit, c.credit);
      ADD_FAILURE() << "appended debit '" << c.debit << "' credit '" << c.credit << "'";
    } catch (const Error& error) {
      EXPECT_EQ(c.message, std::string(error.what()));
    }
    EXPECT_EQ(c.ledger, ledger) << c.message;
  }
}

TEST_F(PostingTest, EmptyGroupsKeepTheirFieldsButPostNothing) {
  JournalEntry entry = Entry("01/10/2026", "Trou", {});
  entry.groups[0] = {"5120", "Banque", "200", ""};
  entry.groups[2] = {"6110", "Sous-traitance", "", "200"};
  post(entry);
  EXPECT_EQ("01/10/2026;Trou;5120;Banque;200;;;;;;6110;Sous-traitance;;200;;;;;;;;;\r\n",
            ReadFile(file("Journal.dbp")));
  EXPECT_EQ(
      (std::map<std::string, std::string>{{"5120.dbp", "1;01/10/2026;Trou;200;;200;;200;\r\n"},
                                          {"6110.dbp", "1;01/10/2026;Trou;;200;;200;-200;\r\n"},
                                          {"Journal.dbp", ReadFile(file("Journal.dbp"))}}),
      Snapshot(m_program.exerciseFolder()));
}

TEST_F(PostingTest, AnAccountUsedTwiceGetsTwoLinesWithCarriedTotals) {
  post(Entry(
      "02/10/2026", "Double",
      {{"5300", "Caisse", "100", ""}, {"5300", "Caisse", "250", ""}, {"7560", "Cot", "", "350"}}));
  EXPECT_EQ(
      "1;02/10/2026;Double;100;;100;;100;\r\n"
      "1;02/10/2026;Double;250;;350;;350;\r\n",
      ReadFile(file("5300.dbp")));
}

TEST_F(PostingTest, SeparatorsInTextsAreReplaced) {
  post(Entry("03/10/2026", "Repas; vin\r\ncompris",
             {{"6250", "D\xe9placements;repas", "900", ""}, {"5300", "Caisse", "", "900"}}));
  EXPECT_EQ("03/10/2026;Repas, vin  compris;6250;D\xe9placements,repas;900;;5300;Caisse;;900;" +
                kTwelveEmpty + "\r\n",
            ReadFile(file("Journal.dbp")));
  EXPECT_EQ("1;03/10/2026;Repas, vin  compris;;900;;900;-900;\r\n", ReadFile(file("5300.dbp")));
}

TEST_F(PostingTest, CountsJournalLinesWhateverTheirEnds) {
  const struct {
    std::string journal;
    int number;
  } cases[] = {
      {"", 1},
      {"a;\r\nb;\r\n", 3},
      {"a;\r\n\r\nb;\r\n", 4},  // an empty line is still an entry position
      {"a;\nb;\n", 3},
      {"a;\rb;", 3},
      {"a;\r\nb;", 3},
      {"a;\rb;\r\n", 3},  // a lone CR inside CR LF lines still ends a line
  };
  for (const auto& c : cases) {
    WriteFile(file("Journal.dbp"), c.journal);
    fs::remove(file("5300.dbp"));
    fs::remove(file("7560.dbp"));
    EXPECT_EQ(c.number,
              post(Entry("d", "l", {{"5300", "Caisse", "1", ""}, {"7560", "C", "", "1"}})))
        << c.journal;
    const Lines lines = ReadLines(file("Journal.dbp"));
    EXPECT_EQ(static_cast<std::size_t>(c.number), lines.size()) << c.journal;
    EXPECT_EQ(LinesToBytes(lines), ReadFile(file("Journal.dbp"))) << "not CR LF: " << c.journal;
    EXPECT_EQ(std::to_string(c.number) + ";d;l;1;;1;;1;\r\n", ReadFile(file("5300.dbp")));
  }
}

TEST_F(PostingTest, WritesIntoFilesOfAnyLetterCase) {
  WriteFile(file("JOURNAL.DBP"), "x;\r\n");
  WriteFile(file("5300.DBP"), "1;d;x;100;;100;;100;\r\n");
  WriteFile(file("7560.Dbp"), "");
  post(Entry("d", "l", {{"5300", "Caisse", "1", ""}, {"7560", "C", "", "1"}}));
  EXPECT_EQ("x;\r\nd;l;5300;Caisse;1;;7560;C;;1;" + std::string(12, ';') + "\r\n",
            ReadFile(file("JOURNAL.DBP")));
  EXPECT_EQ("1;d;x;100;;100;;100;\r\n2;d;l;1;;101;;101;\r\n", ReadFile(file("5300.DBP")));
  EXPECT_EQ("2;d;l;;1;;1;-1;\r\n", ReadFile(file("7560.Dbp")));
  EXPECT_EQ(3u, Snapshot(m_program.exerciseFolder()).size());
}

TEST_F(PostingTest, ABadLedgerLeavesNoHalfEntry) {
  post(Entry("01/09/2026", "Ouverture",
             {{"5120", "Banque", "5000", ""}, {"7560", "Cot", "", "5000"}}));
  WriteFile(file("6110.dbp"), "1;d;x;;;abc;;0;\r\n");
  // The good ledger 5120 comes first: it must not be written either.
  expectRefused(Entry("02/09/2026", "Sous-traitance",
                      {{"5120", "Banque", "", "700"}, {"6110", "Sous-traitance", "700", ""}}),
                "'abc' n'est pas une valeur enti\xe8re correcte");
}

TEST_F(PostingTest, RefusesBadAmountsAndAccountsBeforeWritingAnything) {
  post(Entry("01/09/2026", "Ouverture",
             {{"5120", "Banque", "5000", ""}, {"7560", "Cot", "", "5000"}}));
  WriteFile(file("4110.dbp"), "1;d;x;2147483000;;2147483000;;2147483000;\r\n");
  expectRefused(Entry("d", "virgule", {{"5120", "Banque", "12,50", ""}, {"5300", "C", "", "1"}}),
                "'12,50' n'est pas une valeur enti\xe8re correcte");
  expectRefused(Entry("d", "tard", {{"5120", "Banque", "1", ""}, {"5300", "C", "", "x"}}),
                "'x' n'est pas une valeur enti\xe8re correcte");
  expectRefused(Entry("d", "chemin", {{"5120", "Banque", "1", ""}, {"../x", "C", "", "1"}}),
                "'../x' n'est pas un num\xe9ro de compte correct");
  expectRefused(Entry("d", "court", {{"5120", "Banque", "1", ""}, {"530", "C", "", "1"}}),
                "'530' n'est pas un num\xe9ro de compte correct");
  expectRefused(Entry("d", "trop", {{"5120", "Banque", "", "1000"}, {"4110", "A", "1000", ""}}),
                "'2147484000' n'est pas une valeur enti\xe8re correcte");
}

// The last guard behind every screen and tool: an entry is posted only when the groups that
// are posted balance; the journal and every ledger stay byte for byte otherwise.
TEST_F(PostingTest, RefusesAnUnbalancedEntryAndWritesNothing) {
  post(Entry("01/09/2026", "Ouverture",
             {{"5120", "Banque", "5000", ""}, {"7560", "Cot", "", "5000"}}));
  WriteFile(file("Journal.dbp"), ReadFile(file("Journal.dbp")) + "ancienne;\n");  // not CR LF
  const auto unbalanced = [](const std::string& debit, const std::string& credit) {
    return "L'\xe9"
           "criture n'est pas \xe9quilibr\xe9"
           "e (d\xe9"
           "bit " +
           debit + ", cr\xe9" + "dit " + credit + ") : elle n'est pas enregistr\xe9" + "e";
  };
  // The entry screen's case: the second group lost its account and its amount with it.
  expectRefused(Entry("02/09/2026", "Caisse seule", {{"5300", "Caisse", "1500", ""}}),
                unbalanced("15,00", "0,00"));
  expectRefused(
      Entry("d", "un centime", {{"5300", "Caisse", "1500", ""}, {"7560", "Cot", "", "1499"}}),
      unbalanced("15,00", "14,99"));
  expectRefused(
      Entry(
          "d", "trois groupes",
          {{"5300", "Caisse", "100", ""}, {"5120", "Banque", "", "40"}, {"7560", "Cot", "", "50"}}),
      unbalanced("1,00", "0,90"));
  expectRefused(Entry("d", "au-del\xe0 de 32 bits",
                      {{"5300", "Caisse", "2147483647", ""},
                       {"5120", "Banque", "2147483647", ""},
                       {"7560", "Cot", "", "2147483647"}}),
                unbalanced("42949672,94", "21474836,47"));
  // An amount on a group without an account would be in the journal and in no ledger.
  JournalEntry stray = Entry("d", "montant sans compte", {{"5300", "Caisse", "1500", ""}});
  stray.groups[1] = {"", "", "", "1500"};
  expectRefused(stray,
                "L'\xe9"
                "criture porte un montant sans compte : elle n'est pas enregistr\xe9"
                "e");
  // A balanced entry with a gap and a negative amount is posted.
  JournalEntry gap = Entry("03/09/2026", "Avoir", {{"5300", "Caisse", "-200", ""}});
  gap.groups[3] = {"6110", "Sous-traitance", "", "-200"};
  EXPECT_EQ(3, post(gap));
}

TEST_F(PostingTest, AnUnwritableLedgerLeavesNoHalfEntry) {
  post(Entry("01/09/2026", "Ouverture",
             {{"5120", "Banque", "5000", ""}, {"7560", "Cot", "", "5000"}}));
  fs::create_directory(file("5300.dbp"));
  expectRefused(Entry("d", "l", {{"5120", "Banque", "", "1"}, {"5300", "Caisse", "1", ""}}),
                "Impossible de cr\xe9"
                "er le fichier " +
                    file("5300.dbp").string());
}

TEST(PostingWithoutFolderTest, AMissingExerciseFolderPostsNothing) {
  testing::TempFolder program;
  const fs::path folder = program.path() / "2026-2027";
  try {
    PostJournalEntry(folder,
                     Entry("d", "l", {{"5300", "Caisse", "1", ""}, {"7560", "C", "", "1"}}));
    ADD_FAILURE() << "posted without a folder";
  } catch (const Error& error) {
    EXPECT_EQ(
        "Impossible de cr\xe9"
        "er le fichier " +
            (folder / "Journal.dbp").string(),
        std::string(error.what()));
  }
  EXPECT_FALSE(fs::exists(folder));
}

TEST(LedgerHelpersTest, ReadTheLastLine) {
  EXPECT_EQ((LedgerTotals{0, 0}), LastTotals({}));
  EXPECT_EQ((LedgerTotals{5000, 0}), LastTotals({"1;d;x;;;1;1;0;", "2;d;x;;;5000;;5000;"}));
  EXPECT_EQ("", LastBalanceText({}));
  EXPECT_EQ("-1500", LastBalanceText({"1;d;x;;1500;;1500;-1500;"}));
  EXPECT_EQ("0042.dbp", LedgerFileName(AccountNumberText(42)));
  EXPECT_TRUE(IsAccountNumber("0000"));
  EXPECT_FALSE(IsAccountNumber("12a4"));
  EXPECT_FALSE(IsAccountNumber("75600"));
}

}  // namespace
}  // namespace vantrel::accounting
