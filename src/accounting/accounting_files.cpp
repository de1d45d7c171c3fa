#include "accounting/accounting_files.h"

#include <cstdio>

#include "core/numbers.h"
#include "core/text_helpers.h"

namespace vantrel::accounting {

std::string LedgerFileName(const std::string& account) { return account + kLedgerExtension; }

std::string AccountNumberText(int number) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d", number);
  return text;
}

bool IsAccountNumber(const std::string& text) {
  if (text.size() != 4) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

LedgerTotals LastTotals(const Lines& ledgerLines) {
  if (ledgerLines.empty()) return {};
  const std::string& last = ledgerLines.back();
  return {ParseAmount(FieldAt(last, ledger::kTotalDebit)),
          ParseAmount(FieldAt(last, ledger::kTotalCredit))};
}

std::string LastBalanceText(const Lines& ledgerLines) {
  if (ledgerLines.empty()) return {};
  return FieldAt(ledgerLines.back(), ledger::kBalance);
}

Lines ReadLedger(const std::filesystem::path& exerciseFolder, const std::string& account) {
  return ReadLinesIfExists(exerciseFolder / LedgerFileName(account));
}

}  // namespace vantrel::accounting
