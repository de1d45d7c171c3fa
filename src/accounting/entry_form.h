#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "core/record_file.h"

namespace vantrel::accounting {

inline constexpr int kEntryRows = 5;

// One row of the entry screen: the account chosen ("6110  Sous-traitance", number, two blanks,
// name), the amount as typed, and the debit or credit it makes, in cents.
struct EntryRow {
  std::string account;
  std::string typed;
  std::optional<std::int64_t> debit;
  std::optional<std::int64_t> credit;
};

// The entry screen's journal entry being written: a date, a label and five rows, kept
// balanced before it can be posted. Rows are numbered 1 to 5.
class EntryForm {
 public:
  // The account choices from the chart of the exercise folder, one "number  name" per chart
  // line, headings included. Throws Error "Impossible d'ouvrir le fichier %s" when the chart
  // is missing (no account is then offered).
  void loadChart(const std::filesystem::path& exerciseFolder);
  void setChart(const Lines& chartLines);
  void clear();
  const Lines& accountChoices() const { return m_choices; }

  // What an account box offers when entered: every choice except the accounts shown in boxes
  // 2 to 5 (box 1 is not looked at), its own included.
  Lines rowChoices() const;
  // Leaving the account box of row k with text: the row keeps the account when text is one of
  // rowChoices (taken as they were when the box was entered); otherwise the row's account
  // and amounts are emptied and false is returned. On success the row's amount is suggested:
  // "- " for an account above 7000 on a balanced entry (what is typed next is a credit),
  // otherwise the negated imbalance, which balances the entry; typed() of the row is set.
  bool leaveAccount(int k, const std::string& text, const Lines& offered);

  // Typing into row k's amount: a "-" anywhere makes a credit, the digits are cents (none: 0).
  // On a row without an account the text is kept but makes no amount. Throws Error "'%s'
  // n'est pas une valeur entière correcte" beyond 32 bits; the row then keeps its amounts.
  void typeAmount(int k, const std::string& text);

  const EntryRow& row(int k) const { return m_rows.at(static_cast<std::size_t>(k - 1)); }
  // Debits minus credits of the rows that have an account (the rows posted), in cents.
  std::int64_t imbalance() const;
  std::string label;
  std::string date;
  // True when "Enregistrer" shows: balanced, with a label and an account in row 1.
  bool canPost() const;

  // Posts the rows that have an account, in order, as groups 1, 2...; then empties the rows
  // (date and label stay). Returns the entry number. Throws Error as PostJournalEntry does;
  // the rows then stay.
  int post(const std::filesystem::path& exerciseFolder);
  // "Annuler": empties the five rows.
  void resetRows();

 private:
  EntryRow& rowRef(int k) { return m_rows.at(static_cast<std::size_t>(k - 1)); }

  Lines m_choices;
  std::array<EntryRow, kEntryRows> m_rows;
};

// The texts of the journal grid: column 0 the line number from 1, column c field c - 1, the
// debit and credit fields shown as money.
std::string JournalCellText(const std::string& journalLine, int row, int column);
bool IsJournalAmountColumn(int column);
// The texts of a ledger grid: field c, fields 3 to 7 shown as money.
std::string LedgerCellText(const std::string& ledgerLine, int column);
bool IsLedgerAmountColumn(int column);

}  // namespace vantrel::accounting
