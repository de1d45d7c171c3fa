#include "accounting/entry_form.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "support/temp_folder.h"

namespace vantrel::accounting {
namespace {

using testing::ReadFile;
using testing::WriteFile;

const Lines kChart = {"5000;COMPTES FINANCIERS;Titre;N;2026-2027;",
                      "5120;Banque;Bilan;V;2026-2027;",
                      "5300;Caisse;Bilan;V;2026-2027;",
                      "6110;Sous-traitance;R\xe9sultat;N;2026-2027;",
                      "7560;Cotisations;R\xe9sultat;C;2026-2027;",
                      "7000;VENTES;Titre;N;2026-2027;"};

std::string Choice(const std::string& number, const std::string& name) {
  return number + "  " + name;
}

class EntryFormTest : public ::testing::Test {
 protected:
  EntryFormTest() { m_form.setChart(kChart); }
  // Enters the account box of row k and leaves it with text.
  bool choose(int k, const std::string& text) {
    return m_form.leaveAccount(k, text, m_form.rowChoices());
  }
  std::optional<std::int64_t> debit(int k) const { return m_form.row(k).debit; }
  std::optional<std::int64_t> credit(int k) const { return m_form.row(k).credit; }

  EntryForm m_form;
};

TEST_F(EntryFormTest, ChoicesAreNumberTwoBlanksAndName) {
  EXPECT_EQ((Lines{Choice("5000", "COMPTES FINANCIERS"), Choice("5120", "Banque"),
                   Choice("5300", "Caisse"), Choice("6110", "Sous-traitance"),
                   Choice("7560", "Cotisations"), Choice("7000", "VENTES")}),
            m_form.accountChoices());
}

TEST_F(EntryFormTest, AmountTypingMakesDebitsAndCredits) {
  struct Case {
    std::string typed;
    std::optional<std::int64_t> debit, credit;
  };
  const Case cases[] = {
      {"2500", 2500, std::nullopt},  {"0012a3", 123, std::nullopt},
      {"12-", std::nullopt, 12},     {"- 2500", std::nullopt, 2500},
      {"", 0, std::nullopt},         {"-", std::nullopt, 0},
      {"25,00", 2500, std::nullopt}, {"2147483647", 2147483647, std::nullopt},
  };
  ASSERT_TRUE(choose(1, Choice("5300", "Caisse")));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    m_form.typeAmount(1, c.typed);
    EXPECT_EQ(c.debit, debit(1));
    EXPECT_EQ(c.credit, credit(1));
  }
}

TEST_F(EntryFormTest, AnAmountBeyondThirtyTwoBitsKeepsThePreviousOne) {
  ASSERT_TRUE(choose(1, Choice("5300", "Caisse")));
  m_form.typeAmount(1, "1500");
  try {
    m_form.typeAmount(1, "12345678901");
    FAIL() << "typed";
  } catch (const Error& error) {
    EXPECT_EQ(std::string("'12345678901' n'est pas une valeur enti\xe8re correcte"), error.what());
  }
  EXPECT_EQ(std::optional<std::int64_t>(1500), debit(1));
  EXPECT_EQ(1500, m_form.imbalance());
}

TEST_F(EntryFormTest, SecondAccountIsPrefilledToBalance) {
  ASSERT_TRUE(choose(1, Choice("5300", "Caisse")));
  m_form.typeAmount(1, "1500");
  EXPECT_EQ(1500, m_form.imbalance());
  ASSERT_TRUE(choose(2, Choice("7560", "Cotisations")));
  EXPECT_EQ("-1500", m_form.row(2).typed);
  EXPECT_EQ(std::optional<std::int64_t>(1500), credit(2));
  EXPECT_EQ(std::nullopt, debit(2));
  EXPECT_EQ(0, m_form.imbalance());
  EXPECT_FALSE(m_form.canPost());  // no label yet
  m_form.label = "Vente de cartes";
  EXPECT_TRUE(m_form.canPost());
}

TEST_F(EntryFormTest, AnIncomeAccountOnABalancedEntryIsPrefilledAsCredit) {
  ASSERT_TRUE(choose(1, Choice("7560", "Cotisations")));
  EXPECT_EQ("- ", m_form.row(1).typed);
  m_form.typeAmount(1, "- 2500");
  EXPECT_EQ(std::optional<std::int64_t>(2500), credit(1));
  // 7000 itself is not above 7000; an expense account gets the negated balance: 0 as debit.
  EntryForm other;
  other.setChart(kChart);
  ASSERT_TRUE(other.leaveAccount(1, Choice("7000", "VENTES"), other.rowChoices()));
  EXPECT_EQ("0", other.row(1).typed);
  EXPECT_EQ(std::optional<std::int64_t>(0), other.row(1).debit);
  // Not on an unbalanced entry: the suggestion balances it.
  ASSERT_TRUE(choose(2, Choice("5300", "Caisse")));
  EXPECT_EQ("2500", m_form.row(2).typed);
  EXPECT_EQ(std::optional<std::int64_t>(2500), debit(2));
}

TEST_F(EntryFormTest, AccountsOfRowsTwoToFiveAreOfferedNowhere) {
  ASSERT_TRUE(choose(1, Choice("5300", "Caisse")));
  ASSERT_TRUE(choose(2, Choice("7560", "Cotisations")));
  const Lines offered = m_form.rowChoices();
  // Row 1's account is still offered, row 2's nowhere, its own box included.
  EXPECT_EQ(1, std::count(offered.begin(), offered.end(), Choice("5300", "Caisse")));
  EXPECT_EQ(0, std::count(offered.begin(), offered.end(), Choice("7560", "Cotisations")));
  EXPECT_EQ(kChart.size() - 1, offered.size());
  EXPECT_FALSE(choose(3, Choice("7560", "Cotisations")));
  // Entering row 2 and leaving it without choosing again empties it.
  EXPECT_FALSE(choose(2, Choice("7560", "Cotisations")));
  EXPECT_EQ("", m_form.row(2).account);
  EXPECT_EQ(std::nullopt, credit(2));
  EXPECT_EQ(std::nullopt, debit(2));
  // Free text that is no choice empties the row too.
  EXPECT_FALSE(choose(4, "5300"));
  EXPECT_FALSE(choose(4, ""));
}

TEST_F(EntryFormTest, RowsOneAndThreePostAsGroupsOneAndTwo) {
  testing::ProgramFolder program;
  const auto folder = program.exerciseFolder();
  ASSERT_TRUE(choose(1, Choice("5300", "Caisse")));
  m_form.typeAmount(1, "1500");
  ASSERT_TRUE(choose(3, Choice("7560", "Cotisations")));
  m_form.date = "05/03/2027";
  m_form.label = "Tournoi de No\xebl";
  ASSERT_TRUE(m_form.canPost());
  EXPECT_EQ(1, m_form.post(folder));
  EXPECT_EQ(
      "05/03/2027;Tournoi de No\xebl;5300;Caisse;1500;;7560;Cotisations;;1500;;;;;;;;;;;;;\r\n",
      ReadFile(folder / "Journal.dbp"));
  EXPECT_EQ("1;05/03/2027;Tournoi de No\xebl;1500;;1500;;1500;\r\n", ReadFile(folder / "5300.dbp"));
  EXPECT_EQ("1;05/03/2027;Tournoi de No\xebl;;1500;;1500;-1500;\r\n",
            ReadFile(folder / "7560.dbp"));
  // The rows are emptied; date and label stay.
  EXPECT_EQ("", m_form.row(1).account);
  EXPECT_EQ(0, m_form.imbalance());
  EXPECT_EQ("Tournoi de No\xebl", m_form.label);
}

// An amount typed on a row without an account makes no amount: it is not counted in the
// imbalance, so the entry cannot be posted with a group that would then be dropped.
TEST_F(EntryFormTest, AnAmountOnARowWithoutAccountIsNeitherCountedNorPosted) {
  testing::ProgramFolder program;
  const auto folder = program.exerciseFolder();
  ASSERT_TRUE(choose(1, Choice("5300", "Caisse")));
  m_form.typeAmount(1, "1500");
  m_form.typeAmount(2, "-1500");
  m_form.date = "05/03/2027";
  m_form.label = "Droits de table";
  EXPECT_EQ(std::nullopt, credit(2));
  EXPECT_EQ(std::nullopt, debit(2));
  EXPECT_EQ("-1500", m_form.row(2).typed);
  EXPECT_EQ(1500, m_form.imbalance());
  EXPECT_FALSE(m_form.canPost());
  try {
    m_form.post(folder);
    ADD_FAILURE() << "an unbalanced entry was posted";
  } catch (const Error& error) {
    EXPECT_EQ(std::string("L'\xe9"
                          "criture n'est pas \xe9quilibr\xe9"
                          "e (d\xe9"
                          "bit 15,00, cr\xe9"
                          "dit 0,00) : elle n'est pas enregistr\xe9"
                          "e"),
              error.what());
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "Journal.dbp"));
  EXPECT_FALSE(std::filesystem::exists(folder / "5300.dbp"));
  EXPECT_EQ(Choice("5300", "Caisse"), m_form.row(1).account);

  // Choosing the account afterwards makes the row count: it is prefilled to balance.
  ASSERT_TRUE(choose(2, Choice("7560", "Cotisations")));
  EXPECT_EQ(std::optional<std::int64_t>(1500), credit(2));
  EXPECT_TRUE(m_form.canPost());
  EXPECT_EQ(1, m_form.post(folder));
  EXPECT_EQ("05/03/2027;Droits de table;5300;Caisse;1500;;7560;Cotisations;;1500;;;;;;;;;;;;;\r\n",
            ReadFile(folder / "Journal.dbp"));
}

TEST_F(EntryFormTest, AFailedPostingKeepsTheRows) {
  testing::ProgramFolder program;
  const auto folder = program.exerciseFolder() / "absent";
  ASSERT_TRUE(choose(1, Choice("5300", "Caisse")));
  m_form.typeAmount(1, "1500");
  ASSERT_TRUE(choose(2, Choice("7560", "Cotisations")));
  m_form.label = "x";
  EXPECT_THROW(m_form.post(folder), Error);
  EXPECT_EQ(Choice("5300", "Caisse"), m_form.row(1).account);
  EXPECT_EQ(std::optional<std::int64_t>(1500), debit(1));
}

TEST_F(EntryFormTest, MissingChartOffersNoAccount) {
  testing::ProgramFolder program;
  EXPECT_THROW(m_form.loadChart(program.exerciseFolder()), Error);
  EXPECT_EQ(Lines{}, m_form.accountChoices());
}

TEST(EntryGridTextTest, JournalAndLedgerCells) {
  const std::string journal =
      "05/03/2027;Tournoi;5300;Caisse;1500;;7560;Cotisations;;1500;;;;;;;;;;;;;";
  struct Case {
    int column;
    std::string want;
  };
  const Case journalCases[] = {{0, "8"},      {1, "05/03/2027"}, {2, "Tournoi"}, {3, "5300"},
                               {4, "Caisse"}, {5, "15,00"},      {6, ""},        {7, "7560"},
                               {10, "15,00"}, {22, ""}};
  for (const Case& c : journalCases) {
    EXPECT_EQ(c.want, JournalCellText(journal, 7, c.column)) << c.column;
  }
  const std::string ledger = "3;05/03/2027;Tournoi;;1500;2000;3500;-1500;";
  const Case ledgerCases[] = {{0, "3"},     {2, "Tournoi"}, {3, ""},      {4, "15,00"},
                              {5, "20,00"}, {6, "35,00"},   {7, "-15,00"}};
  for (const Case& c : ledgerCases) EXPECT_EQ(c.want, LedgerCellText(ledger, c.column)) << c.column;
  EXPECT_EQ("abc", LedgerCellText("1;d;l;abc;", 3));
}

}  // namespace
}  // namespace vantrel::accounting
