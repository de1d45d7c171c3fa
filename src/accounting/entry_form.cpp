#include "accounting/entry_form.h"

#include <algorithm>
#include <optional>

#include "accounting/accounting_files.h"
#include "accounting/posting.h"
#include "core/numbers.h"
#include "core/text_helpers.h"

namespace vantrel::accounting {

namespace {

// The amount of a stored field as money; a text that is no whole number is shown as it is.
std::string Money(const std::string& field) {
  const std::optional<std::int32_t> cents = TryParseInteger(field);
  return cents ? FormatCents(*cents) : field;
}

// The account number of a choice: its first four characters.
std::string AccountOf(const std::string& choice) { return choice.substr(0, 4); }
// The account name of a choice: from its seventh character.
std::string NameOf(const std::string& choice) {
  return choice.size() > 6 ? choice.substr(6) : std::string();
}

std::string CentsText(const std::optional<std::int64_t>& cents) {
  return cents ? std::to_string(*cents) : std::string();
}

}  // namespace

void EntryForm::loadChart(const std::filesystem::path& exerciseFolder) {
  m_choices.clear();
  setChart(ReadLines(exerciseFolder / kChartFileName));
}

void EntryForm::setChart(const Lines& chartLines) {
  m_choices.clear();
  m_choices.reserve(chartLines.size());
  for (const std::string& line : chartLines) {
    m_choices.push_back(FieldAt(line, chart::kNumber) + "  " + FieldAt(line, chart::kName));
  }
}

void EntryForm::clear() {
  m_choices.clear();
  m_choices.shrink_to_fit();
}

Lines EntryForm::rowChoices() const {
  Lines offered = m_choices;
  for (int k = 2; k <= kEntryRows; ++k) {
    const std::string& shown = row(k).account;
    if (shown.empty()) continue;
    const auto found = std::find(offered.begin(), offered.end(), shown);
    if (found != offered.end()) offered.erase(found);
  }
  return offered;
}

bool EntryForm::leaveAccount(int k, const std::string& text, const Lines& offered) {
  EntryRow& row = rowRef(k);
  if (text.empty() || std::find(offered.begin(), offered.end(), text) == offered.end()) {
    row.account.clear();
    row.debit.reset();
    row.credit.reset();
    return false;
  }
  row.account = text;
  const std::int64_t balance = imbalance();
  const int number = TryParseInteger(AccountOf(text)).value_or(0);
  if (number > 7000 && balance == 0) {
    row.typed = "- ";
  } else {
    row.typed = std::to_string(-balance);
  }
  typeAmount(k, row.typed);
  return true;
}

void EntryForm::typeAmount(int k, const std::string& text) {
  const bool credit = text.find('-') != std::string::npos;
  EntryRow& row = rowRef(k);
  if (row.account.empty()) {
    // An amount without an account is ignored, as a rejected account empties its row's
    // amounts: it never counts in the imbalance of what is posted.
    row.typed = text;
    row.debit.reset();
    row.credit.reset();
    return;
  }
  const std::int64_t cents = ParseInteger(NormalizeDigits(text, 1, true));
  row.typed = text;
  if (credit) {
    row.debit.reset();
    row.credit = cents;
  } else {
    row.credit.reset();
    row.debit = cents;
  }
}

std::int64_t EntryForm::imbalance() const {
  std::int64_t balance = 0;
  for (const EntryRow& row : m_rows) {
    if (row.account.empty()) continue;  // not posted, so not counted
    if (row.debit) balance += *row.debit;
    if (row.credit) balance -= *row.credit;
  }
  return balance;
}

bool EntryForm::canPost() const {
  return imbalance() == 0 && !label.empty() && !row(1).account.empty();
}

int EntryForm::post(const std::filesystem::path& exerciseFolder) {
  JournalEntry entry{date, label, {}};
  std::size_t g = 0;
  for (const EntryRow& row : m_rows) {
    if (row.account.empty()) continue;
    entry.groups[g++] = {AccountOf(row.account), NameOf(row.account), CentsText(row.debit),
                         CentsText(row.credit)};
  }
  const int number = PostJournalEntry(exerciseFolder, entry);
  resetRows();
  return number;
}

void EntryForm::resetRows() { m_rows = {}; }

bool IsJournalAmountColumn(int column) {
  if (column < 3) return false;
  const int part = (column - 3) % 4;
  return part == 2 || part == 3;
}

std::string JournalCellText(const std::string& journalLine, int row, int column) {
  if (column == 0) return std::to_string(row + 1);
  const std::string field = FieldAt(journalLine, column - 1);
  return IsJournalAmountColumn(column) ? Money(field) : field;
}

bool IsLedgerAmountColumn(int column) { return column >= ledger::kDebit; }

std::string LedgerCellText(const std::string& ledgerLine, int column) {
  const std::string field = FieldAt(ledgerLine, column);
  return IsLedgerAmountColumn(column) ? Money(field) : field;
}

}  // namespace vantrel::accounting
