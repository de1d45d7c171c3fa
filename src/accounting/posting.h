#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "accounting/accounting_files.h"
#include "core/record_file.h"
#include "core/transaction.h"

namespace vantrel::accounting {

// One account of an entry: four-digit account number, account name, debit and credit in
// cents as decimal text (either may be empty). A group with an empty account is unused.
struct EntryGroup {
  std::string account;
  std::string name;
  std::string debit;
  std::string credit;
};

// A journal entry: date (day/month/year text), label and up to five groups, filled in order
// from the first; unused groups are left empty.
struct JournalEntry {
  std::string date;
  std::string label;
  std::array<EntryGroup, journal::kGroupCount> groups;
};

// Posts an entry in the exercise folder: appends its line to "Journal.dbp" (22 fields, unused
// groups as four empty fields) and, for each group with an account, one line to that account's
// ledger with the new running totals. Returns the entry number (the journal's new line count).
//
// Everything is read and checked before anything is written, and the journal and every ledger
// are then replaced as one change: when a check fails or a file cannot be written, the journal
// and the ledgers stay exactly as they were. Throws Error:
//  - "'%s' n'est pas une valeur entière correcte" for a debit or credit that is not a whole
//    number, a ledger total that is not one, or a new total beyond 32 bits;
//  - "'%s' n'est pas un numéro de compte correct" for an account that is not four digits
//    (it names the ledger file);
//  - "Impossible d'ouvrir le fichier %s" when an existing journal or ledger cannot be read;
//  - "Impossible de créer le fichier %s" when a file cannot be written (no exercise folder).
// ";" and line breaks in the texts are replaced (";" -> ",", line break -> blank).
int PostJournalEntry(const std::filesystem::path& exerciseFolder, const JournalEntry& entry);

// PostJournalEntry without the commit: the journal and the ledgers are staged in transaction,
// which may carry other files of the same change (the member file with its posting marks).
// Same checks and errors; nothing is replaced before transaction.Commit().
int StageJournalEntry(const std::filesystem::path& exerciseFolder, const JournalEntry& entry,
                      FileTransaction& transaction);

// Appends to a ledger held in memory the line of one posting:
//   entry number; date; label; debit; credit; total debit; total credit; balance;
// debit and credit as given, the totals carried from the last line (empty when 0), the balance
// always written ("0" when the totals are equal). Throws Error "'%s' n'est pas une valeur
// entière correcte" as PostJournalEntry does; ledgerLines is then unchanged.
void AppendLedgerLine(Lines& ledgerLines, const std::string& entryNumber, const std::string& date,
                      const std::string& label, const std::string& debit,
                      const std::string& credit);

}  // namespace vantrel::accounting
