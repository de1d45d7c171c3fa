#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "core/record_file.h"

namespace vantrel::accounting {

// The accounting files of an exercise folder. All are record-line files of Windows-1252 bytes
// (CR LF); names are matched without regard to case. Amounts are whole cents in decimal digits,
// "-" in front when negative, empty for none (counting as 0); account numbers are four digits.
inline constexpr char kChartFileName[] = "Plan_Comptable.dbp";
inline constexpr char kJournalFileName[] = "Journal.dbp";
inline constexpr char kDuesListFileName[] = "Recette_Joueur.DBP";
inline constexpr char kPaymentListFileName[] = "Versement_Joueur.DBP";
inline constexpr char kLedgerExtension[] = ".dbp";

// Chart of accounts, one line per account or heading, in ascending account number:
//   7560;Cotisations des membres;Résultat;C;2026-2027;
namespace chart {
inline constexpr int kNumber = 0;
inline constexpr int kName = 1;
inline constexpr int kType = 2;      // kTypeBalance, kTypeResult or kTypeHeading
inline constexpr int kLink = 3;      // kLinkDues, kLinkPayment or kLinkNone
inline constexpr int kExercise = 4;  // exercise in which the line was created or last changed
inline constexpr int kFieldCount = 5;

inline constexpr char kTypeBalance[] = "Bilan";
inline constexpr char kTypeResult[] = "R\xe9sultat";
inline constexpr char kTypeHeading[] = "Titre";
inline constexpr char kLinkDues[] = "C";     // offered as a member's dues ("Cotisation")
inline constexpr char kLinkPayment[] = "V";  // offered as a member's payment ("Versement")
inline constexpr char kLinkNone[] = "N";
}  // namespace chart

// Journal, one line per entry in posting order; the entry number is the line's position
// counted from 1. 22 fields: date, label, then five groups of account, name, debit, credit:
//   05/03/2015;Payement de M. DUPONT Jean;7560;Cotisations;;4000;5120;Banque;4000;;;;;;;;;;;;;;
namespace journal {
inline constexpr int kDate = 0;
inline constexpr int kLabel = 1;
inline constexpr int kGroupCount = 5;
inline constexpr int kFieldCount = 2 + 4 * kGroupCount;

enum class GroupPart { kAccount = 0, kName = 1, kDebit = 2, kCredit = 3 };
// Field index of a part of group g (0 to 4).
constexpr int GroupField(int g, GroupPart part) { return 2 + 4 * g + static_cast<int>(part); }
}  // namespace journal

// Ledger of one account (file: account number + ".dbp"), one line per posting, totals carried
// from line to line:
//   12;05/03/2015;Payement de M. DUPONT Jean;;4000;5000;7000;-2000;
namespace ledger {
inline constexpr int kEntry = 0;  // entry number in the journal
inline constexpr int kDate = 1;
inline constexpr int kLabel = 2;
inline constexpr int kDebit = 3;        // cents or empty
inline constexpr int kCredit = 4;       // cents or empty
inline constexpr int kTotalDebit = 5;   // all debits so far; empty when 0
inline constexpr int kTotalCredit = 6;  // all credits so far; empty when 0
inline constexpr int kBalance = 7;      // total debit - total credit, always written
inline constexpr int kFieldCount = 8;
}  // namespace ledger

// Dues list "Recette_Joueur.DBP", one line per chart account linked "C", in chart order; the
// closing ";" is present or not depending on its last writer:
//   7560;Cotisations des membres;4000
namespace dues_list {
inline constexpr int kAccount = 0;
inline constexpr int kName = 1;
inline constexpr int kAmount = 2;  // default amount of the dues, cents
}  // namespace dues_list

// Payment list "Versement_Joueur.DBP", one line per chart account linked "V", in chart order:
//   5120;Banque - compte courant;
namespace payment_list {
inline constexpr int kAccount = 0;
inline constexpr int kName = 1;
}  // namespace payment_list

// "6110" -> "6110.dbp".
std::string LedgerFileName(const std::string& account);

// The account number with 0 <= number <= 9999 written with four digits: 12 -> "0012".
std::string AccountNumberText(int number);

// True for exactly four decimal digits: the only account numbers that name a ledger file.
bool IsAccountNumber(const std::string& text);

// The running totals of a ledger, in cents.
struct LedgerTotals {
  std::int32_t debit = 0;
  std::int32_t credit = 0;
  friend bool operator==(const LedgerTotals&, const LedgerTotals&) = default;
};

// Fields 5 and 6 of the ledger's last line (empty counts as 0); both 0 for an empty ledger.
// Throws Error "'%s' n'est pas une valeur entière correcte" for a total that is not a whole
// 32-bit number.
LedgerTotals LastTotals(const Lines& ledgerLines);

// Field 7 of the ledger's last line as stored (empty for an empty ledger).
std::string LastBalanceText(const Lines& ledgerLines);

// The ledger of an account in an exercise folder, read whole; a missing ledger has no line.
// Throws Error "Impossible d'ouvrir le fichier %s" when it exists but cannot be read.
Lines ReadLedger(const std::filesystem::path& exerciseFolder, const std::string& account);

}  // namespace vantrel::accounting
