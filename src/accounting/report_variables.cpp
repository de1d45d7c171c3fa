#include "accounting/report_variables.h"

namespace vantrel::accounting {
namespace {

using namespace reports::declare;

// Amounts are numbers (cents divided by 100, 0 when the field is empty); the rest is text.
constexpr DeclaredVariable kBooksHeading[] = {
    {"Exercice", kText, kReport, "2026-2027"},
    {"Compte", kText, kReport, "Ardevanne Bridge Club"},
};

constexpr DeclaredVariable kBooksTotals[] = {
    {"Debit", kSeeded, kReport, "0"},
    {"Credit", kSeeded, kReport, "0"},
};

// One record per journal line.
constexpr DeclaredVariable kJournalLine[] = {
    {"LigneJ", kNumber, kRecord, "127"},
    {"DateJ", kText, kRecord, "05/03/2027"},
    {"LibelleJ", kText, kRecord, "Payement de LÉCUYER Hélène"},
    {"Compte1J", kText, kRecord, "7560"},
    {"Nom1J", kText, kRecord, "Cotisations"},
    {"Debit1J", kNumber, kRecord, "0"},
    {"Credit1J", kNumber, kRecord, "85"},
    {"Compte2J", kText, kRecord, "5300"},
    {"Nom2J", kText, kRecord, "Caisse"},
    {"Debit2J", kNumber, kRecord, "85"},
    {"Credit2J", kNumber, kRecord, "0"},
    {"Compte3J", kText, kRecord, ""},
    {"Nom3J", kText, kRecord, ""},
    {"Debit3J", kNumber, kRecord, "0"},
    {"Credit3J", kNumber, kRecord, "0"},
    {"Compte4J", kText, kRecord, ""},
    {"Nom4J", kText, kRecord, ""},
    {"Debit4J", kNumber, kRecord, "0"},
    {"Credit4J", kNumber, kRecord, "0"},
    {"Compte5J", kText, kRecord, ""},
    {"Nom5J", kText, kRecord, ""},
    {"Debit5J", kNumber, kRecord, "0"},
    {"Credit5J", kNumber, kRecord, "0"},
};
constexpr auto kJournalHeadingLine = reports::JoinVariables(kBooksHeading, kJournalLine);

// One record per line of the ledger of the chosen account.
constexpr DeclaredVariable kLedgerLine[] = {
    {"CompteC", kText, kReport, "5300 Caisse"},
    {"LigneC", kText, kRecord, "127"},
    {"DateC", kText, kRecord, "05/03/2027"},
    {"LibelleC", kText, kRecord, "Payement de LÉCUYER Hélène"},
    {"DebitC", kNumber, kRecord, "85"},
    {"CreditC", kNumber, kRecord, "0"},
};
constexpr auto kLedgerHeadingLine = reports::JoinVariables(kBooksHeading, kLedgerLine);

// One record per account in use.
constexpr DeclaredVariable kTrialBalanceLine[] = {
    {"NomBal", kText, kRecord, "5300 Caisse"}, {"MdebitBal", kNumber, kRecord, "1842,5"},
    {"McreditBal", kNumber, kRecord, "612,3"}, {"SdebitBal", kNumber, kRecord, "1230,2"},
    {"ScreditBal", kNumber, kRecord, "0"},
};
constexpr auto kTrialBalance = reports::JoinVariables(kBooksHeading, kTrialBalanceLine);

// One record per account in use (books screen) or per chart line (chart screen); both
// screens answer every name.
constexpr DeclaredVariable kChart[] = {
    {"ExerciceDBP", kText, kReport, "2026-2027"},
    {"CompteDBP", kText, kReport, "Ardevanne Bridge Club"},
    {"NumeroDBP", kText, kRecord, "7560"},
    {"NomDBP", kText, kRecord, "Cotisations des membres"},
    {"TypeDBP", kText, kRecord, "Résultat"},
    {"TemoinDBP", kText, kRecord, "C"},
    {"DateDBP", kText, kRecord, "2026-2027"},
};

// One record per statement line; the seeded variables are the templates' totals per year.
constexpr DeclaredVariable kStatementLine[] = {
    {"Asso", kText, kReport, "Ardevanne Bridge Club"},
    {"Exercice", kText, kReport, "2026-2027"},
    {"Exercice1", kText, kReport, "2026-2027"},
    {"Exercice2", kText, kReport, "2025-2026"},
    {"Exercice3", kText, kReport, "2024-2025"},
    {"Typ", kText, kRecord, "1"},
    {"Nom", kText, kRecord, "6110 Achats de cartes et d'étuis"},
    {"Solde1", kNumber, kRecord, "1234,5"},
    {"Solde2", kNumber, kRecord, "1102"},
    {"Solde3", kNumber, kRecord, "987,25"},
    {"Calcul", kText, kRecord, "1"},
    {"Liquide", kNumber, kReport, "8421,15"},
    // "Normaux", "Détaillés" or "Regroupés": the detailed form sets its group lines in bold.
    {"Forme", kText, kReport, "Détaillés"},
};
constexpr DeclaredVariable kIncomeTotals[] = {
    {"re1", kSeeded, kReport, "0"}, {"re2", kSeeded, kReport, "0"}, {"re3", kSeeded, kReport, "0"},
    {"ch1", kSeeded, kReport, "0"}, {"ch2", kSeeded, kReport, "0"}, {"ch3", kSeeded, kReport, "0"},
    {"pr1", kSeeded, kReport, "0"}, {"pr2", kSeeded, kReport, "0"}, {"pr3", kSeeded, kReport, "0"},
};
constexpr DeclaredVariable kBalanceTotals[] = {
    {"pa1", kSeeded, kReport, "0"}, {"pa2", kSeeded, kReport, "0"}, {"pa3", kSeeded, kReport, "0"},
    {"ac1", kSeeded, kReport, "0"}, {"ac2", kSeeded, kReport, "0"}, {"ac3", kSeeded, kReport, "0"},
};

constexpr auto kJournal = reports::JoinVariables(kJournalHeadingLine, kBooksTotals);
constexpr auto kLedger = reports::JoinVariables(kLedgerHeadingLine, kBooksTotals);
constexpr auto kIncomeStatement = reports::JoinVariables(kStatementLine, kIncomeTotals);
constexpr auto kBalanceSheet = reports::JoinVariables(kStatementLine, kBalanceTotals);

}  // namespace

const TemplateVariables kJournalReport{"Gestion_Livre.frf", kJournal};
const TemplateVariables kLedgerReport{"Gestion_Compte.frf", kLedger};
const TemplateVariables kTrialBalanceReport{"Gestion_Balance.frf", kTrialBalance};
const TemplateVariables kChartReport{"Gestion_Plan.frf", kChart};
const TemplateVariables kIncomeStatementReport{"Gestion_Resultat.frf", kIncomeStatement};
const TemplateVariables kBalanceSheetReport{"Gestion_Bilan.frf", kBalanceSheet};

std::span<const TemplateVariables* const> ReportVariables() {
  static const TemplateVariables* const kAll[] = {&kJournalReport,         &kLedgerReport,
                                                  &kTrialBalanceReport,    &kChartReport,
                                                  &kIncomeStatementReport, &kBalanceSheetReport};
  return kAll;
}

}  // namespace vantrel::accounting
