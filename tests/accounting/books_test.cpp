#include "accounting/books.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "accounting/posting.h"
#include "accounting/report_variables.h"
#include "accounting/statements.h"
#include "core/error.h"
#include "support/error_of.h"
#include "support/temp_folder.h"

namespace vantrel::accounting {
namespace {

namespace fs = std::filesystem;

using testing::ErrorOf;
using testing::WriteFile;

std::string Join(const Lines& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  return text;
}

class BooksTest : public ::testing::Test {
 protected:
  fs::path folder() const { return m_program.exerciseFolder(); }
  void chart(const std::string& bytes) { WriteFile(folder() / "Plan_Comptable.dbp", bytes); }
  void file(const std::string& name, const std::string& bytes) {
    WriteFile(folder() / name, bytes);
  }
  BooksContext load() { return LoadBooks(folder(), "Ardevanne", "2026-2027"); }

  testing::ProgramFolder m_program;
};

TEST_F(BooksTest, AccountsInUseAreTheLedgersInNumberOrderNamedFromTheChart) {
  chart(
      "1100;Report;Bilan;N;2026-2027;\r\n5300;Caisse;Bilan;V;2026-2027;\r\n"
      "7560;Cotisations;R\xe9sultat;C;2025-2026;\r\n");
  file("7560.dbp", "1;05/03/2027;A;;1500;;1500;-1500;\r\n");
  file("5300.DBP", "1;05/03/2027;A;1500;;1500;;1500;\r\n");  // any letter case
  file("4110.dbp", "2;06/03/2027;B;200;;200;;200;\r\n");     // deleted from the chart
  // Not ledgers: other names, five digits, a folder.
  file("Journal.dbp", "");
  file("12345.dbp", "");
  file("53a0.dbp", "");
  file("6110.txt", "");
  fs::create_directories(folder() / "6000.dbp");

  const BooksContext books = load();
  EXPECT_EQ(
      "4110;PAS DANS LE PLAN;;N;;\n5300;Caisse;Bilan;V;2026-2027;\n"
      "7560;Cotisations;R\xe9sultat;C;2025-2026;\n",
      Join(books.accountsInUse));
  EXPECT_EQ((std::vector<std::string>{"Livre Journal", "4110 PAS DANS LE PLAN", "5300 Caisse",
                                      "7560 Cotisations"}),
            BookItems(books.accountsInUse));
  EXPECT_EQ(folder() / "5300.DBP", books.ledgers.path(5300));
}

TEST_F(BooksTest, TwoSpellingsOfOneLedgerGiveOneAccountReadFromItsOwnName) {
  chart("5300;Caisse;Bilan;V;2026-2027;\r\n");
  file("5300.DBP", "1;x;A;100;;100;;100;\r\n");
  file("5300.dbp", "1;x;A;700;;700;;700;\r\n");
  const BooksContext books = load();
  EXPECT_EQ("5300;Caisse;Bilan;V;2026-2027;\n", Join(books.accountsInUse));
  EXPECT_EQ("5300;Caisse;700;;700;;\n", Join(TrialBalance(books.ledgers, books.accountsInUse)));
}

TEST_F(BooksTest, MissingChartStopsWithTheOpenMessage) {
  file("5300.dbp", "1;x;A;100;;100;;100;\r\n");
  EXPECT_EQ("Impossible d'ouvrir le fichier " + (folder() / "Plan_Comptable.dbp").string(),
            ErrorOf([&] { load(); }));
}

TEST(TrialBalanceLineTest, BalancesFromTheLastLineTotals) {
  struct Case {
    const char* lastLine;
    const char* expected;
  };
  const Case cases[] = {
      {"3;x;A;;;5000;2000;3000;", "6110;Frais;5000;2000;3000;;"},
      // Equal totals: both balances empty.
      {"3;x;A;;;5000;5000;0;", "6110;Frais;5000;5000;;;"},
      // Credit only: the total debit is empty.
      {"3;x;A;;1500;;1500;-1500;", "6110;Frais;;1500;;1500;"},
      {"3;x;A;;;2000;7000;-5000;", "6110;Frais;2000;7000;;5000;"},
      // An empty ledger: nothing at all.
      {"", "6110;Frais;;;;;"},
      // Extreme totals do not overflow.
      {"3;x;A;;;2147483647;-2147483648;-1;", "6110;Frais;2147483647;-2147483648;4294967295;;"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, TrialBalanceLine("6110;Frais;R\xe9sultat;N;2026-2027;", c.lastLine))
        << c.lastLine;
  }
}

TEST(TrialBalanceLineTest, ATotalThatIsNotAWholeNumberStops) {
  EXPECT_EQ("'12,5' n'est pas une valeur enti\xe8re correcte",
            ErrorOf([] { TrialBalanceLine("6110;Frais;;N;;", "3;x;A;;;12,5;;12,5;"); }));
}

TEST_F(BooksTest, TrialBalanceReadsEveryLedgersLastLineNotTheJournal) {
  chart("5300;Caisse;Bilan;V;2026-2027;\r\n7560;Cotisations;R\xe9sultat;C;2026-2027;\r\n");
  PostJournalEntry(folder(),
                   {"05/03/2027",
                    "Droits",
                    {{{"5300", "Caisse", "1500", ""}, {"7560", "Cotisations", "", "1500"}}}});
  PostJournalEntry(folder(),
                   {"06/03/2027",
                    "Retour",
                    {{{"5300", "Caisse", "", "400"}, {"7560", "Cotisations", "400", ""}}}});
  file("4110.dbp", "9;x;A;;;;;0;\r\n");
  const BooksContext books = load();
  EXPECT_EQ(
      "4110;PAS DANS LE PLAN;;;;;\n"
      "5300;Caisse;1500;400;1100;;\n"
      "7560;Cotisations;400;1500;;1100;\n",
      Join(TrialBalance(books.ledgers, books.accountsInUse)));
}

// The value a request answers, shown as text: "T:" text, "N:" hundredths, "-" none.
std::string Shown(const ReportRequest& request, const std::string& name, int record) {
  const ReportValue value = request.value(name, record);
  switch (value.kind()) {
    case ReportValue::Kind::kText:
      return "T:" + value.text();
    case ReportValue::Kind::kNumber:
      return "N:" + std::to_string(value.hundredths());
    case ReportValue::Kind::kEmpty:
      break;
  }
  return "-";
}

TEST_F(BooksTest, JournalReportAnswersEveryJournalName) {
  chart("5120;Banque;Bilan;V;2026-2027;\r\n");
  file("Journal.dbp",
       "05/03/2027;Stage;5120;Banque;12050;;7060;Droits;;10000;6180;Doc;;2050;;;;;;;;;\r\n"
       "06/03/2027;Don;5300;Caisse;500;;7560;Cot;;500;;;;;;;;;;;;;\r\n");
  const ReportRequest request = JournalReport(load());
  EXPECT_EQ("Gestion_Livre.frf", request.templateFile);
  EXPECT_EQ("Livre Journal", request.title);
  EXPECT_EQ(2u, request.records.size());
  EXPECT_EQ((std::vector<std::string>{"Debit", "Credit"}), request.zeroVariables);
  const struct {
    const char* name;
    int record;
    const char* shown;
  } cases[] = {
      {"Compte", 0, "T:Ardevanne"},  // the club, not an account
      {"Exercice", 1, "T:2026-2027"},
      {"LigneJ", 1, "N:200"},
      {"DateJ", 1, "T:06/03/2027"},
      {"LibelleJ", 0, "T:Stage"},
      {"Compte1J", 0, "T:5120"},
      {"Nom3J", 0, "T:Doc"},
      {"Debit1J", 0, "N:12050"},
      {"Credit2J", 0, "N:10000"},
      {"Credit3J", 0, "N:2050"},
      {"Debit2J", 0, "N:0"},  // empty amounts are the number 0
      {"Compte4J", 0, "T:"},
      {"Debit5J", 1, "N:0"},
      {"Debit1J", 2, "N:0"},  // the summary, after the last record
      {"DebitC", 0, "N:0"},   // names of the other reports are answered too
      {"NomBal", 0, "T:"},
      {"ExerciceDBP", 0, "T:2026-2027"},
      {"CompteDBP", 0, "T:Ardevanne"},
      {"Inconnu", 0, "-"},
      {"comptE", 0, "-"},  // names are compared exactly
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.shown, Shown(request, c.name, c.record)) << c.name << " " << c.record;
  }
}

TEST_F(BooksTest, JournalReportFailures) {
  chart("5120;Banque;Bilan;V;2026-2027;\r\n");
  EXPECT_EQ("Impossible d'ouvrir le fichier " + (folder() / "Journal.dbp").string(),
            ErrorOf([&] { JournalReport(load()); }));
  file("Journal.dbp", "05/03/2027;Stage;5120;Banque;120,50;;;;;;;;;;;;;;;;;;\r\n");
  EXPECT_EQ("'120,50' n'est pas une valeur enti\xe8re correcte",
            ErrorOf([&] { JournalReport(load()); }));
}

TEST_F(BooksTest, LedgerReportOfTheChosenItem) {
  chart("6063;Petit \xe9quipement et mat\xe9riel de bridge pour les tournois;R\xe9sultat;N;;\r\n");
  file("6063.dbp",
       "4;05/03/2027;Cartes;3000;;3000;;3000;\r\n7;09/03/2027;Avoir;;500;3000;500;2500;\r\n");
  BooksContext books = load();
  const std::string item = BookItems(books.accountsInUse)[1];
  const ReportRequest request = LedgerReport(books, item);
  EXPECT_EQ("Gestion_Compte.frf", request.templateFile);
  // From the item's sixth character, at most 40 characters.
  EXPECT_EQ("Compte: Petit \xe9quipement et mat\xe9riel de bridge p", request.title);
  EXPECT_EQ(2u, request.records.size());
  EXPECT_EQ("T:" + item, Shown(request, "CompteC", 0));
  EXPECT_EQ("T:7", Shown(request, "LigneC", 1));
  EXPECT_EQ("T:09/03/2027", Shown(request, "DateC", 1));
  EXPECT_EQ("T:Avoir", Shown(request, "LibelleC", 1));
  EXPECT_EQ("N:0", Shown(request, "DebitC", 1));
  EXPECT_EQ("N:500", Shown(request, "CreditC", 1));
}

TEST_F(BooksTest, TrialBalanceAndAccountsInUseReports) {
  chart("5300;Caisse;Bilan;V;2026-2027;\r\n");
  file("5300.dbp", "1;x;A;;;5000;5000;0;\r\n");
  file("4110.dbp", "1;x;A;;;;1500;-1500;\r\n");
  const BooksContext books = load();

  const ReportRequest balance = TrialBalanceReport(books);
  EXPECT_EQ("Gestion_Balance.frf", balance.templateFile);
  EXPECT_EQ("Balance de v\xe9rification", balance.title);
  EXPECT_EQ("4110;PAS DANS LE PLAN;;1500;;1500;\n5300;Caisse;5000;5000;;;\n",
            Join(balance.records));
  EXPECT_TRUE(balance.zeroVariables.empty());
  EXPECT_EQ("T:4110 PAS DANS LE PLAN", Shown(balance, "NomBal", 0));
  EXPECT_EQ("N:1500", Shown(balance, "ScreditBal", 0));
  EXPECT_EQ("N:0", Shown(balance, "SdebitBal", 0));
  EXPECT_EQ("N:5000", Shown(balance, "MdebitBal", 1));
  EXPECT_EQ("N:0", Shown(balance, "SdebitBal", 1));  // equal totals: 0 on both sides
  EXPECT_EQ("N:0", Shown(balance, "ScreditBal", 1));

  const ReportRequest plan = AccountsInUseReport(books);
  EXPECT_EQ("Gestion_Plan.frf", plan.templateFile);
  EXPECT_EQ("Plan Comptable", plan.title);
  EXPECT_EQ("T:4110", Shown(plan, "NumeroDBP", 0));
  EXPECT_EQ("T:PAS DANS LE PLAN", Shown(plan, "NomDBP", 0));
  EXPECT_EQ("T:N", Shown(plan, "TemoinDBP", 0));
  EXPECT_EQ("T:Bilan", Shown(plan, "TypeDBP", 1));
  EXPECT_EQ("T:2026-2027", Shown(plan, "DateDBP", 1));
}

// The chart screen prints the whole chart through the template of the accounts in use: the
// same answers for the same lines, the chart's names alone, the lines as they are stored.
TEST_F(BooksTest, ChartReportPrintsTheWholeChartWithTheNamesOfThePlan) {
  const Lines lines = {"5120;Banque - compte courant;Bilan;V;2025-2026;",
                       "6110;Sous-traitance g\xe9n\xe9rale;R\xe9sultat;N;2025-2026;",
                       "7560;Cotisations de J\xe9r\xf4me L\xc9" "CUYER;R\xe9sultat;C;;"};
  const ReportRequest whole = ChartReport(lines, "Ardevanne", "2026-2027");
  EXPECT_EQ("Gestion_Plan.frf", whole.templateFile);
  EXPECT_EQ("Plan Comptable", whole.title);
  EXPECT_EQ(lines, whole.records);
  EXPECT_TRUE(whole.zeroVariables.empty());
  EXPECT_EQ("T:Cotisations de J\xe9r\xf4me L\xc9" "CUYER", Shown(whole, "NomDBP", 2));
  EXPECT_EQ("T:R\xe9sultat", Shown(whole, "TypeDBP", 1));
  EXPECT_EQ("T:", Shown(whole, "DateDBP", 2));
  EXPECT_EQ("T:2026-2027", Shown(whole, "ExerciceDBP", 3));
  EXPECT_EQ("T:Ardevanne", Shown(whole, "CompteDBP", 0));
  // After the last line (the summary) a line's name prints as nothing.
  EXPECT_EQ("T:", Shown(whole, "NumeroDBP", 3));
  // The journal's and the ledgers' names are not the chart's.
  for (const char* other : {"Exercice", "Compte", "LigneJ", "NomBal", "Inconnu"}) {
    EXPECT_EQ("-", Shown(whole, other, 0)) << other;
  }

  chart("5120;Banque - compte courant;Bilan;V;2025-2026;\r\n");
  file("5120.dbp", "1;x;A;;;5000;5000;0;\r\n");
  const BooksContext books = load();
  const ReportRequest inUse = AccountsInUseReport(books);
  const ReportRequest again = ChartReport(books.accountsInUse, books.entity, books.exercise);
  EXPECT_EQ(inUse.records, again.records);
  for (const auto& variable : kChartReport.variables) {
    const std::string name(variable.name);
    for (int record : {0, 1}) {
      EXPECT_EQ(Shown(inUse, name, record), Shown(again, name, record)) << name << " " << record;
    }
  }
}

// Every name declared for the designer is one the reports answer, and the other way round
// for the names the templates print.
TEST_F(BooksTest, EveryDeclaredNameIsAnswered) {
  chart("5300;Caisse;Bilan;V;2026-2027;\r\n");
  file("Journal.dbp", "05/03/2027;A;5300;Caisse;100;;7560;Cot;;100;;;;;;;;;;;;;\r\n");
  file("5300.dbp", "1;05/03/2027;A;100;;100;;100;\r\n");
  const BooksContext books = load();
  testing::ProgramFolder statementsClub;
  WriteFile(statementsClub.exerciseFolder() / "Plan_Comptable.dbp", "6000;ACHATS;Titre;N;;\r\n");
  const StatementTable table = LoadStatementTable(YearsOf(statementsClub.settings()), "Ardevanne");
  const std::vector<ReportRequest> requests = {JournalReport(books),
                                               LedgerReport(books, "5300 Caisse"),
                                               TrialBalanceReport(books),
                                               AccountsInUseReport(books),
                                               IncomeStatementReport(table, Grouping::kDetailed),
                                               BalanceSheetReport(table, Grouping::kDetailed)};
  for (const reports::TemplateVariables* declared : ReportVariables()) {
    const auto request = std::find_if(
        requests.begin(), requests.end(),
        [&](const ReportRequest& r) { return r.templateFile == declared->templateName; });
    ASSERT_NE(requests.end(), request) << declared->templateName;
    for (const auto& variable : declared->variables) {
      const std::string name(variable.name);
      if (variable.kind == reports::VariableKind::kSeeded) {
        EXPECT_NE(request->zeroVariables.end(),
                  std::find(request->zeroVariables.begin(), request->zeroVariables.end(), name))
            << declared->templateName << " " << name;
      } else {
        EXPECT_NE(ReportValue::Kind::kEmpty, request->value(name, 0).kind())
            << declared->templateName << " " << name;
      }
    }
    for (const auto& name : request->zeroVariables) {
      EXPECT_NE(declared->variables.end(),
                std::find_if(declared->variables.begin(), declared->variables.end(),
                             [&](const auto& v) { return v.name == name; }))
          << declared->templateName << " " << name;
    }
  }
}

TEST(LastLineOfTest, EveryLineEnd) {
  const struct {
    std::string bytes;
    std::string last;
  } cases[] = {
      {"", ""},
      {"a;b;\r\n", "a;b;"},
      {"a\r\nb;c;\r\n", "b;c;"},
      {"a\nb;c;", "b;c;"},
      {"a\rb;c;\r", "b;c;"},
      {"a\r\n\r\n", ""},
      {"only", "only"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.last, LastLineOf(c.bytes)) << c.bytes;
}

}  // namespace
}  // namespace vantrel::accounting
