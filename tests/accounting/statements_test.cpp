#include "accounting/statements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include "core/error.h"
#include "core/ini_file.h"
#include "core/text_helpers.h"
#include "support/temp_folder.h"

namespace vantrel::accounting {
namespace {

namespace fs = std::filesystem;

using testing::WriteFile;

std::string Join(const Lines& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  return text;
}

// The income statement's result lines in the Windows-1252 bytes the report gets.
const std::string kProfit =
    "1210 R\xe9sultat de l\x92"
    "exercice (b\xe9n\xe9"
    "fice)";
const std::string kLoss =
    "1290 R\xe9sultat de l\x92"
    "exercice (perte)";

const char kChart[] =
    "1000;FONDS PROPRES;Titre;N;2026-2027;\r\n"
    "1020;Fonds associatifs;Bilan;N;2026-2027;\r\n"
    "1200;RESULTAT;Titre;N;2026-2027;\r\n"
    "1500;PROVISIONS;Titre;N;2026-2027;\r\n"
    "1510;Provisions;Bilan;N;2026-2027;\r\n"
    "5000;FINANCIERS;Titre;N;2026-2027;\r\n"
    "5120;Banque;Bilan;V;2026-2027;\r\n"
    "5300;Caisse;Bilan;V;2026-2027;\r\n"
    "6000;ACHATS;Titre;N;2026-2027;\r\n"
    "6060;ACHATS NON STOCKES;Titre;N;2026-2027;\r\n"
    "6061;Fournitures;R\xe9sultat;N;2026-2027;\r\n"
    "6063;Petit \xe9quipement;R\xe9sultat;N;2026-2027;\r\n"
    "6110;Sous-traitance;R\xe9sultat;N;2026-2027;\r\n"
    "7000;PRESTATIONS;Titre;N;2026-2027;\r\n"
    "7060;Droits de table;R\xe9sultat;N;2026-2027;\r\n"
    "7560;Cotisations;R\xe9sultat;C;2026-2027;\r\n";

class StatementsTest : public ::testing::Test {
 protected:
  StatementsTest() {
    WriteFile(m_program.exerciseFolder() / "Plan_Comptable.dbp", kChart);
    m_settings = m_program.settings();
    m_settings.exercise1 = "2025-2026";
    m_settings.exercise2 = "2024-2025";
  }

  // A ledger whose last line holds balance in year k (1 to 3).
  void ledger(int year, const std::string& account, const std::string& balance) {
    const char* names[] = {"2026-2027", "2025-2026", "2024-2025"};
    WriteFile(m_program.path() / names[year - 1] / (account + ".dbp"),
              "1;01/09/2026;Ouverture;;;;;0;\r\n2;05/03/2027;Suite;;;;;" + balance + ";\r\n");
  }
  StatementTable table() { return LoadStatementTable(YearsOf(m_settings), "Ardevanne"); }

  testing::ProgramFolder m_program;
  Settings m_settings;
};

TEST_F(StatementsTest, YearsComeFromTheSettingsAndNameTheirFolders) {
  const StatementYears years = YearsOf(m_settings);
  EXPECT_EQ((std::array<std::string, 3>{"2026-2027", "2025-2026", "2024-2025"}), years.names);
  EXPECT_EQ(m_program.path() / "2025-2026", years.folders[1]);
  m_settings.exercise2.clear();
  EXPECT_EQ(fs::path(), YearsOf(m_settings).folders[2]);  // no year, no folder
}

TEST_F(StatementsTest, AnAccountOnlyInYearTwoIsListedWithEmptyColumns) {
  ledger(1, "6110", "30000");
  ledger(2, "6063", "1200");  // in the current chart
  ledger(3, "6300", "800");   // not in the current chart
  ledger(2, "7560", "-45000");
  const StatementTable t = table();
  EXPECT_EQ(
      "6063;Petit \xe9quipement;R\xe9sultat;N;2026-2027;\n"
      "6110;Sous-traitance;R\xe9sultat;N;2026-2027;\n"
      "6300;PAS DANS LE PLAN 2026-2027;;N;;\n"
      "7560;Cotisations;R\xe9sultat;C;2026-2027;\n",
      Join(t.accounts));
  const StatementLines income = IncomeStatementLines(t);
  EXPECT_EQ(
      "1;6063 Petit \xe9quipement;;1200;;1;\n"
      "1;6110 Sous-traitance;30000;;;1;\n"
      "1;6300 PAS DANS LE PLAN 2026-2027;;;800;1;\n"
      "0;7560 Cotisations;;-45000;;1;\n",
      Join(income.lines));
  EXPECT_EQ((std::array<std::int64_t, 3>{30000, -43800, 800}), income.results);
  EXPECT_EQ(0, income.liquid);
}

struct ResultCase {
  const char* name;
  std::map<std::string, std::array<const char*, 3>> balances;  // account -> years 1, 2, 3
  std::string expected;                                        // the balance sheet's lines
};

TEST_F(StatementsTest, ResultLinesOfTheBalanceSheet) {
  const ResultCase cases[] = {
      {"profit in year 1",
       {{"6110", {"30000", "", ""}},
        {"7560", {"-50000", "", ""}},
        {"5120", {"20000", "", ""}},
        {"1020", {"0", "", ""}}},
       "1;1020 Fonds associatifs;0;;;1;\n"
       "1;" +
           kProfit +
           ";-20000;;;1;\n"
           "0;5120 Banque;20000;;;1;\n"},
      {"expenses equal income: no line",
       {{"6110", {"30000", "100", ""}}, {"7560", {"-30000", "-100", ""}}},
       ""},
      {"profit in year 1, loss in year 2: profit first",
       {{"6110", {"100", "900", ""}}, {"7560", {"-300", "-500", ""}}, {"1510", {"-7", "", ""}}},
       "1;" + kProfit +
           ";-200;;;1;\n"
           "1;" +
           kLoss +
           ";;400;;1;\n"
           "1;1510 Provisions;-7;;;1;\n"},
      {"loss in year 3 only, after the last account below 1300",
       {{"6110", {"", "", "250"}}, {"1020", {"-5", "", ""}}},
       "1;1020 Fonds associatifs;-5;;;1;\n"
       "1;" +
           kLoss + ";;;250;1;\n"},
      {"no account 1000-1999: result lines first",
       {{"7060", {"-100", "", ""}}, {"5300", {"100", "", ""}}},
       "1;" + kProfit +
           ";-100;;;1;\n"
           "0;5300 Caisse;100;;;1;\n"},
  };
  for (const auto& c : cases) {
    testing::ProgramFolder program;
    WriteFile(program.exerciseFolder() / "Plan_Comptable.dbp", kChart);
    Settings settings = program.settings();
    settings.exercise1 = "2025-2026";
    settings.exercise2 = "2024-2025";
    const char* names[] = {"2026-2027", "2025-2026", "2024-2025"};
    for (const auto& [account, years] : c.balances) {
      for (int k = 0; k < 3; ++k) {
        if (std::string(years[k]).empty()) continue;
        WriteFile(program.path() / names[k] / (account + ".dbp"),
                  std::string("1;x;A;;;;;") + years[k] + ";\r\n");
      }
    }
    const StatementTable t = LoadStatementTable(YearsOf(settings), "Ardevanne");
    EXPECT_EQ(c.expected, Join(BalanceSheetLines(t).lines)) << c.name;
    // The income statement never has a result line.
    for (const auto& line : IncomeStatementLines(t).lines) {
      EXPECT_EQ(std::string::npos, line.find(";12")) << c.name << ": " << line;
    }
  }
}

TEST_F(StatementsTest, LiquidTotalIsYearOneOfAccounts4000To5999) {
  ledger(1, "5120", "20000");
  ledger(2, "5120", "99999");  // other years do not count
  ledger(1, "5300", "-500");
  ledger(1, "4110", "1500");
  ledger(1, "2150", "7000");  // assets below 4000 do not count
  ledger(1, "1020", "-28000");
  const StatementTable t = table();
  EXPECT_EQ(21000, BalanceSheetLines(t).liquid);
  EXPECT_EQ(0, IncomeStatementLines(t).liquid);

  const ReportRequest income = IncomeStatementReport(t, Grouping::kNormal);
  EXPECT_EQ(ReportValue::Cents(0), income.value("Liquide", 0));
  const ReportRequest balance = BalanceSheetReport(t, Grouping::kNormal);
  EXPECT_EQ(ReportValue::Cents(21000), balance.value("Liquide", 2));
  EXPECT_EQ(
      "1;1020 Fonds associatifs;-28000;;;1;\n"
      "1;4110 PAS DANS LE PLAN 2026-2027;1500;;;1;\n"
      "0;2150 PAS DANS LE PLAN 2026-2027;7000;;;1;\n"
      "0;5120 Banque;20000;99999;;1;\n"
      "0;5300 Caisse;-500;;;1;\n",
      Join(balance.records));
}

TEST_F(StatementsTest, GroupingsOfTheSameLines) {
  ledger(1, "6061", "1000");
  ledger(2, "6061", "300");
  ledger(1, "6063", "2500");
  ledger(1, "6110", "4000");   // its own heading
  ledger(1, "7040", "-9000");  // heading 7000, four multiples below
  const StatementTable t = table();
  const Lines lines = IncomeStatementLines(t).lines;
  EXPECT_EQ(
      "1;6061 Fournitures;1000;300;;1;\n"
      "1;6063 Petit \xe9quipement;2500;;;1;\n"
      "1;6110 Sous-traitance;4000;;;1;\n"
      "0;7040 PAS DANS LE PLAN 2026-2027;-9000;;;1;\n",
      Join(GroupLines(lines, t.chart, Grouping::kNormal)));
  EXPECT_EQ(
      "1;6060 ACHATS NON STOCKES;3500;300;0;1;\n"
      "1;6061 Fournitures;1000;300;;0;\n"
      "1;6063 Petit \xe9quipement;2500;;;0;\n"
      "1;6110 Sous-traitance;4000;0;0;1;\n"
      "0;7000 PRESTATIONS;-9000;0;0;1;\n"
      "0;7040 PAS DANS LE PLAN 2026-2027;-9000;;;0;\n",
      Join(GroupLines(lines, t.chart, Grouping::kDetailed)));
  EXPECT_EQ(
      "1;6060 ACHATS NON STOCKES;3500;300;0;1;\n"
      "1;6110 Sous-traitance;4000;0;0;1;\n"
      "0;7000 PRESTATIONS;-9000;0;0;1;\n",
      Join(GroupLines(lines, t.chart, Grouping::kGrouped)));
}

// Sums of the counted lines (field 5 "1") of each side, year 1: what the template adds up.
std::map<std::string, std::int64_t> SideTotals(const Lines& lines) {
  std::map<std::string, std::int64_t> totals;
  for (const auto& line : lines) {
    if (FieldAt(line, 5) != "1") continue;
    const std::string balance = FieldAt(line, 2);
    totals[FieldAt(line, 0)] += balance.empty() ? 0 : std::stoll(balance);
  }
  return totals;
}

// The sides of the lines in order, one letter per run: "PA" is one liability section, then
// one asset section.
std::string Sections(const Lines& lines) {
  std::string sections;
  for (const auto& line : lines) {
    const char side = FieldAt(line, 0) == "1" ? 'P' : 'A';
    if (sections.empty() || sections.back() != side) sections += side;
  }
  return sections;
}

// A club that bought a computer (2183, 800,00 paid from 5120) and set aside a provision
// (1510, 200,00 against 6780): the asset never falls under a liability heading, whatever the
// chart, and the three groupings give the same totals on each side.
TEST_F(StatementsTest, AClassTwoAccountIsGroupedOnTheAssetSideOnly) {
  ledger(1, "1020", "-100000");
  ledger(1, "1510", "-20000");
  ledger(1, "2183", "80000");
  ledger(1, "5120", "20000");
  ledger(1, "6780", "20000");
  ledger(1, "4110", "-500");  // a liability after the 1000s, before the assets
  ledger(1, "5300", "500");
  std::string shipped =
      testing::ReadFile(fs::path(VANTREL_DATA_DIR) / "2026-2027" / "Plan_Comptable.dbp");
  const struct {
    const char* name;
    std::string chart;
    const char* provisions;  // the group line of 1510 under Grouped
    const char* computer;    // the group line of 2183 under Grouped
  } charts[] = {
      {"chart without class 2", kChart, "1;1510 Provisions;-20000;0;0;1;",
       "0;2183 PAS DANS LE PLAN 2026-2027;80000;0;0;1;"},
      {"shipped chart", shipped, "1;1510 Provisions pour risques;-20000;0;0;1;",
       "0;2180 AUTRES IMMOBILISATIONS CORPORELLES;80000;0;0;1;"},
  };
  for (const auto& c : charts) {
    WriteFile(m_program.exerciseFolder() / "Plan_Comptable.dbp", c.chart);
    const StatementTable t = table();
    const std::map<std::string, std::int64_t> expected = {{"0", 100500}, {"1", -100500}};
    for (const Grouping grouping : {Grouping::kNormal, Grouping::kDetailed, Grouping::kGrouped}) {
      const Lines lines = BalanceSheetReport(t, grouping).records;
      EXPECT_EQ(expected, SideTotals(lines)) << c.name << " " << static_cast<int>(grouping);
      EXPECT_EQ("PA", Sections(lines)) << c.name << "\n" << Join(lines);
    }
    const Lines grouped = BalanceSheetReport(t, Grouping::kGrouped).records;
    EXPECT_NE(grouped.end(), std::find(grouped.begin(), grouped.end(), c.provisions))
        << c.name << "\n"
        << Join(grouped);
    EXPECT_NE(grouped.end(), std::find(grouped.begin(), grouped.end(), c.computer))
        << c.name << "\n"
        << Join(grouped);
  }
}

// Headings are looked for on the account's own side: classes 1, 2-3, 4, 5, 6 and 7.
TEST(HeadingSearchTest, NeverCrossesToAnotherSide) {
  const Lines chart = {"1000;FONDS;Titre;N;;", "1510;Provisions;Bilan;N;;",
                       "3900;DEPRECIATIONS;Titre;N;;", "4000;TIERS;Titre;N;;",
                       "6000;ACHATS;Titre;N;;"};
  const struct {
    const char* line;
    const char* group;
  } cases[] = {
      {"0;2183 Informatique;800;;;1;", "0;2183 Informatique;800;0;0;1;"},
      {"0;3970 Stocks;5;;;1;", "0;3900 DEPRECIATIONS;5;0;0;1;"},
      {"0;3710 Marchandises;5;;;1;", "0;3710 Marchandises;5;0;0;1;"},
      {"1;4110 Adh\xe9rents;-3;;;1;", "1;4000 TIERS;-3;0;0;1;"},
      {"0;5120 Banque;3;;;1;", "0;5120 Banque;3;0;0;1;"},
      {"0;7560 Cotisations;-9;;;1;", "0;7560 Cotisations;-9;0;0;1;"},
      {"1;1999 Compte;1;;;1;", "1;1510 Provisions;1;0;0;1;"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(std::string(c.group) + "\n", Join(GroupLines({c.line}, chart, Grouping::kGrouped)))
        << c.line;
  }
}

TEST_F(StatementsTest, AHeadingWithALedgerGathersTheAccountsBelowIt) {
  ledger(1, "6060", "100");
  ledger(1, "6061", "1000");
  ledger(1, "6063", "2500");
  const StatementTable t = table();
  EXPECT_EQ(
      "1;6060 ACHATS NON STOCKES;3600;0;0;1;\n"
      "1;6061 Fournitures;1000;;;0;\n"
      "1;6063 Petit \xe9quipement;2500;;;0;\n",
      Join(GroupLines(IncomeStatementLines(t).lines, t.chart, Grouping::kDetailed)));
}

TEST(HeadingSearchTest, MultiplesOfTenDownTo1000ThenTheFirstChartLine) {
  const Lines chart = {"0500;PREMIERE;Titre;N;;", "1000;FONDS;Titre;N;;", "1200;RESULTAT;Titre;N;;",
                       "6000;ACHATS;Titre;N;;", "6070;Divers;R\xe9sultat;N;;"};
  const struct {
    const char* line;
    const char* group;  // the group line of the account under Grouped
  } cases[] = {
      {"1;1290 R\xe9sultat;500;;;1;", "1;1200 RESULTAT;500;0;0;1;"},
      {"1;1015 Compte;5;;;1;", "1;1000 FONDS;5;0;0;1;"},
      {"1;6079 Autre;7;;;1;", "1;6070 Divers;7;0;0;1;"},
      {"1;6069 Autre;7;;;1;", "1;6000 ACHATS;7;0;0;1;"},
      // Below 1010 only the first multiple is tried, then the chart's first line.
      {"1;1005 Compte;9;;;1;", "1;1000 FONDS;9;0;0;1;"},
      {"1;0990 Compte;9;;;1;", "1;0500 PREMIERE;9;0;0;1;"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(std::string(c.group) + "\n", Join(GroupLines({c.line}, chart, Grouping::kGrouped)))
        << c.line;
  }
}

TEST(HeadingSearchTest, AnAccountBelowTheFirstChartLineIsItsOwnGroup) {
  const Lines chart = {"5300;Caisse;Bilan;V;;"};
  EXPECT_EQ(
      "1;1290 Perte;70;0;0;1;\n"
      "1;4110 Adh\xe9rents;-3;0;0;1;\n"
      "0;5300 Caisse;3;0;0;1;\n",
      Join(GroupLines(
          {"1;1290 Perte;70;;;1;", "1;4110 Adh\xe9rents;-3;;;1;", "0;5300 Caisse;3;;;1;"}, chart,
          Grouping::kDetailed)));
}

TEST(HeadingSearchTest, NoFirstChartLineToFallBackOn) {
  // A blank first line: 1290 finds no heading and stands as its own group.
  EXPECT_EQ(
      "1;6000 ACHATS;5;0;0;1;\n"
      "1;6010 Compte;5;;;0;\n"
      "1;1290 Perte;70;0;0;1;\n",
      Join(GroupLines({"1;6010 Compte;5;;;1;", "1;1290 Perte;70;;;1;"},
                      {"", "6000;ACHATS;Titre;N;;"}, Grouping::kDetailed)));
  // No chart at all.
  EXPECT_EQ("1;6010 Compte;5;0;0;1;\n",
            Join(GroupLines({"1;6010 Compte;5;;;1;"}, {}, Grouping::kDetailed)));
}

TEST_F(StatementsTest, ResultLinesFallUnderTheChartHeading) {
  ledger(1, "6110", "100");
  ledger(1, "7560", "-300");
  const StatementTable t = table();
  // The chart has 1200 but neither 1210 nor 1290.
  EXPECT_EQ(
      "1;1200 RESULTAT;-200;0;0;1;\n"
      "1;" +
          kProfit + ";-200;;;0;\n",
      Join(GroupLines(BalanceSheetLines(t).lines, t.chart, Grouping::kDetailed)));
}

TEST_F(StatementsTest, ABalanceThatIsNotAWholeNumberStopsTheReport) {
  ledger(1, "6110", "100");
  ledger(3, "5120", "12,5");
  const StatementTable t = table();
  for (auto build : {+[](const StatementTable& t) { IncomeStatementReport(t, Grouping::kNormal); },
                     +[](const StatementTable& t) { BalanceSheetReport(t, Grouping::kDetailed); }}) {
    try {
      build(t);
      ADD_FAILURE() << "built";
    } catch (const Error& error) {
      EXPECT_EQ("'12,5' n'est pas une valeur enti\xe8re correcte", std::string(error.what()));
    }
  }
}

TEST_F(StatementsTest, ReportsAnswerTheirNames) {
  ledger(1, "6061", "1000");
  ledger(1, "7560", "-1500");
  const StatementTable t = table();
  const ReportRequest income = IncomeStatementReport(t, Grouping::kDetailed);
  EXPECT_EQ("Gestion_Resultat.frf", income.templateFile);
  EXPECT_EQ("R\xe9sultat", income.title);
  EXPECT_EQ(
      (std::vector<std::string>{"re1", "re2", "re3", "ch1", "ch2", "ch3", "pr1", "pr2", "pr3"}),
      income.zeroVariables);
  EXPECT_EQ(ReportValue::Text("Ardevanne"), income.value("Asso", 0));
  EXPECT_EQ(ReportValue::Text("2026-2027"), income.value("Exercice", 0));
  EXPECT_EQ(ReportValue::Text("2025-2026"), income.value("Exercice2", 0));
  EXPECT_EQ(ReportValue::Text("2024-2025"), income.value("Exercice3", 0));
  EXPECT_EQ(ReportValue::Text("1"), income.value("Typ", 0));
  EXPECT_EQ(ReportValue::Text("6060 ACHATS NON STOCKES"), income.value("Nom", 0));
  EXPECT_EQ(ReportValue::Cents(1000), income.value("Solde1", 0));
  EXPECT_EQ(ReportValue::Cents(0), income.value("Solde2", 1));  // empty is 0
  EXPECT_EQ(ReportValue::Text("0"), income.value("Calcul", 1));
  EXPECT_EQ(ReportValue::Text("D\xe9taill\xe9s"), income.value("Forme", 1));
  EXPECT_EQ(ReportValue::Whole(0), income.value("Typ", 4));  // past the last line
  EXPECT_EQ(ReportValue(), income.value("typ", 0));

  const ReportRequest balance = BalanceSheetReport(t, Grouping::kGrouped);
  EXPECT_EQ("Gestion_Bilan.frf", balance.templateFile);
  EXPECT_EQ("Bilan", balance.title);
  EXPECT_EQ((std::vector<std::string>{"pa1", "pa2", "pa3", "ac1", "ac2", "ac3"}),
            balance.zeroVariables);
  EXPECT_EQ("1;1200 RESULTAT;-500;0;0;1;\n", Join(balance.records));
}

TEST_F(StatementsTest, SavingTheComparisonYearsWritesTheFiveKeys) {
  m_settings.exercise1 = "2023-2024";
  m_settings.exercise2 = "Anciens\\2019";
  SaveComparisonYears(m_settings);
  const Settings read = LoadSettings(m_program.path());
  EXPECT_EQ("2023-2024", read.exercise1);
  EXPECT_EQ("Anciens\\2019", read.exercise2);
  EXPECT_EQ("2026-2027", read.exercise);
  EXPECT_EQ("Ardevanne", read.entity);
  EXPECT_EQ("KVR", read.shortName);
}

}  // namespace
}  // namespace vantrel::accounting
