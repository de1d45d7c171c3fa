#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "accounting/ledger_folder.h"
#include "core/record_file.h"
#include "core/report_request.h"
#include "core/settings.h"

namespace vantrel::accounting {

// The income statement and the balance sheet of the current exercise beside two others.

// How the accounts are shown: as they are, under their chart headings, or headings only.
enum class Grouping { kNormal, kDetailed, kGrouped };

// The three years: year 1 the current exercise, years 2 and 3 the comparison exercises
// ("Exercice1" and "bilan" of the settings). names are folder names relative to the program
// folder, as shown on the screen; a year without a name has no folder and no ledger.
struct StatementYears {
  std::array<std::string, 3> names;
  std::array<std::filesystem::path, 3> folders;
};

StatementYears YearsOf(const Settings& settings);
// The years with names 2 and 3 replaced; folders follow the names.
StatementYears WithComparisonYears(const Settings& settings, const std::string& year2,
                                   const std::string& year3);

// What the statements are built from: the current exercise's chart, the ledgers of the three
// year folders (each listed once) and the accounts of the table.
struct StatementTable {
  StatementYears years;
  std::string entity;
  Lines chart;
  std::array<LedgerFolder, 3> ledgers;
  // For every account with a ledger in any of the three folders, in ascending number: the
  // current chart's line of the account, or "NNNN;PAS DANS LE PLAN <exercise>;;N;;".
  Lines accounts;
};

// Throws Error "Impossible d'ouvrir le fichier %s" when the current exercise has no chart.
StatementTable LoadStatementTable(const StatementYears& years, const std::string& entity);

Lines TableAccounts(const Lines& chart, const std::array<LedgerFolder, 3>& ledgers,
                    const std::string& exercise);

// Report lines and the figures kept while they are built. A report line has six fields:
//   1;6110 Sous-traitance générale;30000;;12000;1;
// side ("1" expenses or liabilities, "0" income or assets); number and name; balances of
// years 1, 2 and 3 in cents (debit minus credit, empty when the year has no ledger); "1" for
// an account or group line, "0" for an account shown under its group line.
struct StatementLines {
  Lines lines;
  // Results of years 1 to 3, expenses plus income balances in cents: positive for a loss,
  // negative for a profit.
  std::array<std::int64_t, 3> results{};
  // Year-1 balances of the accounts 4000 to 5999 (balance sheet only).
  std::int64_t liquid = 0;
};

// Accounts 6000-6999 (side 1) then 7000-7999 (side 0), with the year results. Throws Error
// "'%s' n'est pas une valeur entière correcte" for a ledger balance that is not a whole
// number, "Impossible d'ouvrir le fichier %s" for a ledger that cannot be read.
StatementLines IncomeStatementLines(const StatementTable& table);

// The liabilities, then the assets: accounts 1000-1999 (side 1) with the result lines 1210
// (profits) and 1290 (losses) before the first account from 1300 on, 4000-4999 (1), then
// 2000-3999 (0) and 5000-5999 (0); with the year results and the liquid total. Throws as
// IncomeStatementLines.
StatementLines BalanceSheetLines(const StatementTable& table);

// Lines under their chart headings (Detailed: group line, then its accounts with field 5 "0";
// Grouped: group lines only); Normal gives the lines as they are. The heading of an account
// is the chart line of its number rounded down to ten, else of the next lower multiples of
// ten down to the first of its side (1000, 2000, 4000, 5000, 6000 or 7000: classes 2 and 3
// make one side), else the chart's first line when it lies on that side below the account;
// an account with none of these is its own heading.
Lines GroupLines(const Lines& reportLines, const Lines& chart, Grouping grouping);

// The two reports: "Gestion_Resultat.frf" titled "Résultat" (re1..re3, ch1..ch3, pr1..pr3
// seeded) and "Gestion_Bilan.frf" titled "Bilan" (pa1..pa3, ac1..ac3 seeded), over the
// grouped lines. Throw as the lines they are built from.
ReportRequest IncomeStatementReport(const StatementTable& table, Grouping grouping);
ReportRequest BalanceSheetReport(const StatementTable& table, Grouping grouping);

// Writes the comparison years to the settings file in one rewrite: "Entité", "sigle",
// "exercice", "Exercice1" and "bilan" of section "Fichier". Throws Error "Impossible de créer
// le fichier %s".
void SaveComparisonYears(const Settings& settings);

}  // namespace vantrel::accounting
