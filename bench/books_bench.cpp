// The books and statements over a season of 200 accounts and 10,000 entries, beside two
// comparison seasons of the same size. Goal: activation of each screen, the trial balance
// and the balance sheet over three exercises, each under 50 ms.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "accounting/accounting_files.h"
#include "accounting/books.h"
#include "accounting/books_screen.h"
#include "accounting/posting.h"
#include "accounting/statements.h"
#include "accounting/statements_screen.h"
#include "core/record_file.h"
#include "core/settings.h"
#include "platform/app_context.h"
#include "platform/qt_platform.h"
#include "platform/screen.h"

namespace {

namespace fs = std::filesystem;
using namespace vantrel::accounting;
using vantrel::Lines;

constexpr int kAccounts = 200;
constexpr int kEntries = 10000;
const char* const kYears[] = {"2026-2027", "2025-2026", "2024-2025"};

// Accounts spread over every class, 1000 to 7965.
std::string Account(int k) { return AccountNumberText(1000 + 35 * k); }

// A chart with a heading every hundred and every account of the books.
Lines Chart() {
  std::map<int, std::string> lines;
  for (int heading = 1000; heading < 8000; heading += 100) {
    lines[heading] =
        AccountNumberText(heading) + ";RUBRIQUE " + std::to_string(heading) + ";Titre;N;2026-2027;";
  }
  for (int k = 0; k < kAccounts; ++k) {
    const int number = 1000 + 35 * k;
    if (!lines.count(number)) {
      lines[number] = Account(k) + ";Compte " + Account(k) + ";Bilan;N;2026-2027;";
    }
  }
  Lines chart;
  for (auto& [number, line] : lines) chart.push_back(line);
  return chart;
}

// A season's journal and ledgers as posting writes them: entries of two to five groups, one
// debit balanced by credits.
void WriteSeason(const fs::path& folder, unsigned seed) {
  fs::create_directories(folder);
  std::mt19937 random(seed);
  Lines journal;
  std::map<std::string, Lines> ledgers;
  for (int n = 1; n <= kEntries; ++n) {
    std::vector<std::string> fields = {"15/01/2027", "Ecriture " + std::to_string(n)};
    const int groups = 2 + static_cast<int>(random() % 4);
    std::vector<EntryGroup> entry(groups);
    int total = 0;
    for (int g = 1; g < groups; ++g) {
      const int amount = 100 + static_cast<int>(random() % 20000);
      total += amount;
      entry[g] = {Account(static_cast<int>(random() % kAccounts)), "Compte", "",
                  std::to_string(amount)};
    }
    entry[0] = {Account(static_cast<int>(random() % kAccounts)), "Banque", std::to_string(total),
                ""};
    for (int g = 0; g < journal::kGroupCount; ++g) {
      if (g >= groups) {
        fields.insert(fields.end(), {"", "", "", ""});
        continue;
      }
      fields.insert(fields.end(),
                    {entry[g].account, entry[g].name, entry[g].debit, entry[g].credit});
      AppendLedgerLine(ledgers[entry[g].account], std::to_string(n), fields[0], fields[1],
                       entry[g].debit, entry[g].credit);
    }
    journal.push_back(vantrel::JoinFields(fields));
  }
  vantrel::WriteLines(folder / kJournalFileName, journal);
  vantrel::WriteLines(folder / kChartFileName, Chart());
  for (const auto& [account, lines] : ledgers) {
    vantrel::WriteLines(folder / LedgerFileName(account), lines);
  }
}

class Club {
 public:
  Club()
      : m_path(fs::temp_directory_path() / ("vantrel-statements-" + std::to_string(::getpid()))) {
    for (unsigned k = 0; k < 3; ++k) WriteSeason(m_path / kYears[k], 7 + k);
    m_settings.programFolder = m_path;
    m_settings.exercise = kYears[0];
    m_settings.exercise1 = kYears[1];
    m_settings.exercise2 = kYears[2];
  }
  ~Club() { fs::remove_all(m_path); }
  const vantrel::Settings& settings() const { return m_settings; }

 private:
  fs::path m_path;
  vantrel::Settings m_settings;
};

Club& TheClub() {
  static Club club;
  return club;
}

// Activation of the books screen: the chart read and the ledgers listed once.
void BM_BooksActivation(benchmark::State& state) {
  const vantrel::Settings& s = TheClub().settings();
  for (auto _ : state) {
    BooksContext books = LoadBooks(s.exerciseFolder(), s.entity, s.exercise);
    benchmark::DoNotOptimize(books.accountsInUse.data());
  }
}
BENCHMARK(BM_BooksActivation)->Unit(benchmark::kMillisecond);

// The same list found as the ledgers used to be: by trying the 10,000 possible names.
void BM_AccountsInUseByTryingEveryName(benchmark::State& state) {
  const vantrel::Settings& s = TheClub().settings();
  for (auto _ : state) {
    int found = 0;
    for (int number = 0; number <= 9999; ++number) {
      found += vantrel::FileExists(s.exerciseFolder() / LedgerFileName(AccountNumberText(number)));
    }
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_AccountsInUseByTryingEveryName)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_TrialBalance(benchmark::State& state) {
  const vantrel::Settings& s = TheClub().settings();
  const BooksContext books = LoadBooks(s.exerciseFolder(), s.entity, s.exercise);
  for (auto _ : state) {
    vantrel::ReportRequest request = TrialBalanceReport(books);
    benchmark::DoNotOptimize(request.records.data());
  }
}
BENCHMARK(BM_TrialBalance)->Unit(benchmark::kMillisecond);

void BM_JournalReport(benchmark::State& state) {
  const vantrel::Settings& s = TheClub().settings();
  const BooksContext books = LoadBooks(s.exerciseFolder(), s.entity, s.exercise);
  for (auto _ : state) {
    vantrel::ReportRequest request = JournalReport(books);
    benchmark::DoNotOptimize(request.records.data());
  }
}
BENCHMARK(BM_JournalReport)->Unit(benchmark::kMillisecond);

// Activation of the statements screen: the chart and the three folders listed once each.
void BM_StatementsActivation(benchmark::State& state) {
  const vantrel::Settings& s = TheClub().settings();
  for (auto _ : state) {
    StatementTable table = LoadStatementTable(YearsOf(s), s.entity);
    benchmark::DoNotOptimize(table.accounts.data());
  }
}
BENCHMARK(BM_StatementsActivation)->Unit(benchmark::kMillisecond);

void BM_BalanceSheetOverThreeYears(benchmark::State& state) {
  const vantrel::Settings& s = TheClub().settings();
  const StatementTable table = LoadStatementTable(YearsOf(s), s.entity);
  for (auto _ : state) {
    vantrel::ReportRequest request = BalanceSheetReport(table, Grouping::kDetailed);
    benchmark::DoNotOptimize(request.records.data());
  }
}
BENCHMARK(BM_BalanceSheetOverThreeYears)->Unit(benchmark::kMillisecond);

void BM_IncomeStatementOverThreeYears(benchmark::State& state) {
  const vantrel::Settings& s = TheClub().settings();
  const StatementTable table = LoadStatementTable(YearsOf(s), s.entity);
  for (auto _ : state) {
    vantrel::ReportRequest request = IncomeStatementReport(table, Grouping::kGrouped);
    benchmark::DoNotOptimize(request.records.data());
  }
}
BENCHMARK(BM_IncomeStatementOverThreeYears)->Unit(benchmark::kMillisecond);

// The screens themselves: activation reads what the domain reads and fills the widgets
// (the drop-down list of 200 accounts, the three year boxes).
void BM_BooksScreenActivation(benchmark::State& state) {
  vantrel::platform::QtPlatform desktop;
  vantrel::AppContext context(desktop);
  context.settings = TheClub().settings();
  vantrel::TFichFGLiv books(context);
  vantrel::Screen other(context);  // a screen that reads nothing
  for (auto _ : state) {
    context.tracker.windowActivated(&books);
    context.tracker.windowActivated(&other);
  }
}
BENCHMARK(BM_BooksScreenActivation)->Unit(benchmark::kMillisecond);

void BM_StatementsScreenActivation(benchmark::State& state) {
  vantrel::platform::QtPlatform desktop;
  vantrel::AppContext context(desktop);
  context.settings = TheClub().settings();
  vantrel::TFichFTable statements(context);
  vantrel::Screen other(context);
  for (auto _ : state) {
    context.tracker.windowActivated(&statements);
    context.tracker.windowActivated(&other);
  }
}
BENCHMARK(BM_StatementsScreenActivation)->Unit(benchmark::kMillisecond);

}  // namespace
