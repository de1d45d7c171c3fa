// Posting into a season's books: 1,000 entries into a journal that already holds 10,000
// entries over 200 accounts. Goal: one posting under 5 ms.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "accounting/accounting_files.h"
#include "accounting/posting.h"
#include "core/record_file.h"

namespace {

namespace fs = std::filesystem;
using namespace vantrel::accounting;
using vantrel::Lines;

constexpr int kAccounts = 200;
constexpr int kExistingEntries = 10000;
constexpr int kNewEntries = 1000;

std::string Account(int k) { return AccountNumberText(4000 + 17 * k); }

// An entry of two to five groups: one debit, the rest credits that add up to it.
JournalEntry RandomEntry(std::mt19937& random, int number) {
  JournalEntry entry;
  entry.date = "15/01/2027";
  entry.label = "Payement de M. DUPONT Jean " + std::to_string(number);
  const int groups = 2 + static_cast<int>(random() % 4);
  int total = 0;
  for (int g = 1; g < groups; ++g) {
    const int amount = 100 + static_cast<int>(random() % 20000);
    total += amount;
    entry.groups[g] = {Account(static_cast<int>(random() % kAccounts)), "Compte de tiers", "",
                       std::to_string(amount)};
  }
  entry.groups[0] = {Account(static_cast<int>(random() % kAccounts)), "Banque",
                     std::to_string(total), ""};
  return entry;
}

class Books {
 public:
  Books() : m_path(fs::temp_directory_path() / ("vantrel-books-" + std::to_string(::getpid()))) {
    fs::create_directories(m_path);
    std::mt19937 random(7);
    Lines journal;
    std::map<std::string, Lines> ledgers;
    for (int n = 1; n <= kExistingEntries; ++n) {
      const JournalEntry entry = RandomEntry(random, n);
      std::vector<std::string> fields = {entry.date, entry.label};
      for (const auto& g : entry.groups) {
        fields.insert(fields.end(), {g.account, g.name, g.debit, g.credit});
        if (g.account.empty()) continue;
        AppendLedgerLine(ledgers[g.account], std::to_string(n), entry.date, entry.label, g.debit,
                         g.credit);
      }
      journal.push_back(vantrel::JoinFields(fields));
    }
    vantrel::WriteLines(m_path / kJournalFileName, journal);
    for (const auto& [account, lines] : ledgers) {
      vantrel::WriteLines(m_path / LedgerFileName(account), lines);
    }
  }
  ~Books() { fs::remove_all(m_path); }
  const fs::path& path() const { return m_path; }

 private:
  fs::path m_path;
};

void BM_PostJournalEntry(benchmark::State& state) {
  Books books;
  std::mt19937 random(11);
  int number = kExistingEntries;
  for (auto _ : state) {
    benchmark::DoNotOptimize(PostJournalEntry(books.path(), RandomEntry(random, ++number)));
  }
  state.counters["journal_lines"] = number;
}
BENCHMARK(BM_PostJournalEntry)->Iterations(kNewEntries)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
