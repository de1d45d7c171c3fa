#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "accounting/ledger_folder.h"
#include "core/record_file.h"
#include "core/report_request.h"

namespace vantrel::accounting {

// The books of an exercise: the accounts in use, the trial balance, and the four reports of
// the books screen (journal, ledger of one account, trial balance, accounts in use).

// Name of a ledger's account that the chart does not hold.
inline constexpr char kNotInChart[] = "PAS DANS LE PLAN";

// The accounts in use: for every account with a ledger, in ascending number, the chart line
// whose field 0 is the account's four digits (the first such line), or for an account the
// chart lacks the line "NNNN;PAS DANS LE PLAN;;N;;".
Lines AccountsInUse(const Lines& chart, const LedgerFolder& ledgers);

// The items of the books screen's drop-down list: "Livre Journal", then "NNNN name" for
// every account in use.
inline constexpr char kJournalItem[] = "Livre Journal";
std::vector<std::string> BookItems(const Lines& accountsInUse);

// Trial balance line of an account in use from its ledger's last line:
//   6110;Sous-traitance générale;30000;5000;25000;;
// account; name; total debit; total credit; debit balance; credit balance, amounts in cents,
// empty when 0. Throws Error "'%s' n'est pas une valeur entière correcte" when a total is not
// a whole number.
std::string TrialBalanceLine(const std::string& accountInUse, const std::string& lastLedgerLine);

// Trial balance of every account in use, in list order, from the ledgers' last lines.
Lines TrialBalance(const LedgerFolder& ledgers, const Lines& accountsInUse);

// What the books' reports are about: the exercise folder, the club ("Entité") and the
// exercise's name, its ledgers and the accounts in use.
struct BooksContext {
  std::filesystem::path exerciseFolder;
  std::string entity;
  std::string exercise;
  LedgerFolder ledgers;
  Lines accountsInUse;
};

// Reads the chart ("Plan_Comptable.dbp") and lists the ledgers of an exercise folder once.
// Throws Error "Impossible d'ouvrir le fichier %s" when the chart is missing.
BooksContext LoadBooks(const std::filesystem::path& exerciseFolder, const std::string& entity,
                       const std::string& exercise);

// The journal report ("Gestion_Livre.frf", "Livre Journal", Debit and Credit seeded), one
// record per line of "Journal.dbp". Throws Error "Impossible d'ouvrir le fichier %s" when the
// exercise has no journal, "'%s' n'est pas une valeur entière correcte" for an amount that is
// not a whole number of cents.
ReportRequest JournalReport(const BooksContext& books);

// The ledger report of one drop-down item "NNNN name" ("Gestion_Compte.frf", title "Compte: "
// and the name, at most 40 characters; Debit and Credit seeded), one record per ledger line.
// Throws as JournalReport, naming the ledger file.
ReportRequest LedgerReport(const BooksContext& books, const std::string& item);

// The trial balance ("Gestion_Balance.frf", "Balance de vérification").
ReportRequest TrialBalanceReport(const BooksContext& books);

// The accounts in use ("Gestion_Plan.frf", "Plan Comptable").
ReportRequest AccountsInUseReport(const BooksContext& books);

// The whole chart of accounts as the chart screen prints it ("Gestion_Plan.frf", "Plan
// Comptable"): one record per chart line, answering the names of the accounts in use
// ("ExerciceDBP", "CompteDBP", "NumeroDBP", "NomDBP", "TypeDBP", "TemoinDBP", "DateDBP"; a
// line's name outside the lines is an empty text) and no other.
ReportRequest ChartReport(const Lines& chart, const std::string& entity,
                          const std::string& exercise);

// The drop-down item of an account in use ("NNNN name"); nothing when the account has none.
std::optional<std::string> ItemOfAccount(const Lines& accountsInUse, const std::string& account);

}  // namespace vantrel::accounting
