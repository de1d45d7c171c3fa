#include "accounting/posting.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "core/error.h"
#include "core/numbers.h"
#include "core/os_file.h"
#include "core/transaction.h"

namespace vantrel::accounting {
namespace {

namespace fs = std::filesystem;

Error NotAnAccountNumber(const std::string& account) {
  return Error("'" + account + "' n'est pas un num\xe9ro de compte correct");
}

// A running total after adding amount; throws when it leaves the 32-bit range of stored totals.
std::int32_t AddToTotal(std::int32_t total, const std::string& amount) {
  if (amount.empty()) return total;
  const std::int64_t sum = std::int64_t{total} + ParseAmount(amount);
  if (sum < std::numeric_limits<std::int32_t>::min() ||
      sum > std::numeric_limits<std::int32_t>::max()) {
    throw NotAnInteger(std::to_string(sum));
  }
  return static_cast<std::int32_t>(sum);
}

// An entry is posted only when it balances over the groups that are posted: every amount is a
// whole number, no amount stands on a group without an account (it would be in the journal
// and in no ledger), and the debits add up to the credits.
void CheckBalanced(const JournalEntry& entry) {
  std::int64_t debits = 0;
  std::int64_t credits = 0;
  bool strayAmount = false;
  for (const EntryGroup& group : entry.groups) {
    const std::int64_t debit = ParseAmount(group.debit);
    const std::int64_t credit = ParseAmount(group.credit);
    if (group.account.empty()) {
      if (!group.debit.empty() || !group.credit.empty()) strayAmount = true;
      continue;
    }
    debits += debit;
    credits += credit;
  }
  if (strayAmount) {
    throw Error(
        "L'\xe9"
        "criture porte un montant sans compte : elle n'est pas enregistr\xe9"
        "e");
  }
  if (debits != credits) {
    throw Error(
        "L'\xe9"
        "criture n'est pas \xe9quilibr\xe9"
        "e (d\xe9"
        "bit " +
        FormatCents(debits) + ", cr\xe9" + "dit " + FormatCents(credits) +
        ") : elle n'est pas enregistr\xe9"
        "e");
  }
}

std::string TotalText(std::int32_t total) { return total == 0 ? "" : std::to_string(total); }

// The number of lines of bytes when every line already ends in CR LF (the form this program
// writes), so that a line can be appended to the bytes as they are; nullopt otherwise.
std::optional<std::size_t> CountCrLfLines(const std::string& bytes) {
  std::size_t lines = 0;
  std::size_t from = 0;
  const char* data = bytes.data();
  while (from < bytes.size()) {
    const void* found = std::memchr(data + from, '\n', bytes.size() - from);
    if (found == nullptr) return std::nullopt;
    const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(found) - data);
    if (at == 0 || data[at - 1] != '\r') return std::nullopt;
    if (at - 1 > from && std::memchr(data + from, '\r', at - 1 - from) != nullptr) {
      return std::nullopt;  // a lone CR inside the line
    }
    ++lines;
    from = at + 1;
  }
  return lines;
}

// A file that will be replaced: it must be a regular file or nothing, or the rename that
// replaces it would fail after other files of the same change were already replaced.
fs::path WritableTarget(const fs::path& path) {
  const fs::path resolved = ResolvePath(path);
  const os::Kind kind = os::KindOf(resolved);
  if (kind != os::Kind::kMissing && kind != os::Kind::kFile) throw CannotCreateFile(path);
  return resolved;
}

struct PendingLedger {
  std::string account;
  fs::path path;
  Lines lines;
};

}  // namespace

void AppendLedgerLine(Lines& ledgerLines, const std::string& entryNumber, const std::string& date,
                      const std::string& label, const std::string& debit,
                      const std::string& credit) {
  const LedgerTotals previous = LastTotals(ledgerLines);
  const std::int32_t totalDebit = AddToTotal(previous.debit, debit);
  const std::int32_t totalCredit = AddToTotal(previous.credit, credit);
  const std::int64_t balance = std::int64_t{totalDebit} - totalCredit;
  ledgerLines.push_back(JoinFields({entryNumber, date, label, debit, credit, TotalText(totalDebit),
                                    TotalText(totalCredit), std::to_string(balance)}));
}

int PostJournalEntry(const fs::path& exerciseFolder, const JournalEntry& entry) {
  FileTransaction transaction;
  const int entryNumber = StageJournalEntry(exerciseFolder, entry, transaction);
  transaction.Commit();
  return entryNumber;
}

int StageJournalEntry(const fs::path& exerciseFolder, const JournalEntry& entry,
                      FileTransaction& transaction) {
  CheckBalanced(entry);
  const fs::path journalPath = WritableTarget(exerciseFolder / kJournalFileName);
  std::string journalBytes;
  if (FileExists(journalPath)) journalBytes = ReadBytes(journalPath);
  std::size_t lineCount = 0;
  if (const auto counted = CountCrLfLines(journalBytes)) {
    lineCount = *counted;
  } else {
    const Lines lines = SplitLines(journalBytes);
    lineCount = lines.size();
    journalBytes = LinesToBytes(lines);
  }
  const std::string entryNumber = std::to_string(lineCount + 1);

  std::vector<std::string> fields = {entry.date, entry.label};
  for (const EntryGroup& group : entry.groups) {
    fields.insert(fields.end(), {group.account, group.name, group.debit, group.credit});
  }
  journalBytes += JoinFields(fields);
  journalBytes += "\r\n";

  // Every ledger of the entry is read and extended in memory first; an account used by two
  // groups gets both lines, the second carrying the totals of the first.
  std::vector<PendingLedger> ledgers;
  for (const EntryGroup& group : entry.groups) {
    if (group.account.empty()) continue;
    if (!IsAccountNumber(group.account)) throw NotAnAccountNumber(group.account);
    auto pending = std::find_if(ledgers.begin(), ledgers.end(),
                                [&](const PendingLedger& l) { return l.account == group.account; });
    if (pending == ledgers.end()) {
      const fs::path path = WritableTarget(exerciseFolder / LedgerFileName(group.account));
      ledgers.push_back({group.account, path, ReadLinesIfExists(path)});
      pending = ledgers.end() - 1;
    }
    AppendLedgerLine(pending->lines, entryNumber, entry.date, entry.label, group.debit,
                     group.credit);
  }

  transaction.Stage(journalPath, journalBytes);
  for (const PendingLedger& pending : ledgers) {
    transaction.Stage(pending.path, LinesToBytes(pending.lines));
  }
  return static_cast<int>(lineCount + 1);
}

}  // namespace vantrel::accounting
