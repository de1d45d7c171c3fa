#include "accounting/statements.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <unordered_map>

#include "accounting/accounting_files.h"
#include "core/error.h"
#include "core/ini_file.h"
#include "core/numbers.h"
#include "core/text_helpers.h"

namespace vantrel::accounting {

namespace fs = std::filesystem;

namespace {

constexpr int kYears = 3;

// Report line fields.
constexpr int kSide = 0;
constexpr int kTitle = 1;
constexpr int kBalance1 = 2;
constexpr int kCounted = 5;

constexpr char kProfitLine[] =
    "1;1210 R\xe9sultat de l\x92"
    "exercice (b\xe9n\xe9"
    "fice);";
constexpr char kLossLine[] =
    "1;1290 R\xe9sultat de l\x92"
    "exercice (perte);";

struct Range {
  int low;
  int high;
  const char* side;
};

// Year balances of every account of the table, parsed once: balances[i][k] is the balance of
// table account i in year k, empty when that year has no ledger for it.
struct TableBalances {
  std::vector<int> numbers;
  std::vector<std::array<std::string, kYears>> balances;
};

TableBalances ReadBalances(const StatementTable& table) {
  TableBalances read;
  read.numbers.reserve(table.accounts.size());
  read.balances.reserve(table.accounts.size());
  for (const auto& account : table.accounts) {
    const int number = std::stoi(FieldAt(account, chart::kNumber));
    std::array<std::string, kYears> balances;
    for (int k = 0; k < kYears; ++k) {
      if (!table.ledgers[k].has(number)) continue;
      const std::string text = FieldAt(table.ledgers[k].lastLine(number), ledger::kBalance);
      if (!Trim(text).empty()) balances[k] = std::to_string(ParseInteger(text));
    }
    read.numbers.push_back(number);
    read.balances.push_back(std::move(balances));
  }
  return read;
}

enum class Mode { kResult, kBalance };

// Lines for one range of accounts: the report lines, and in result mode the year results, in
// balance mode the liquid total (year 1 of accounts 4000 and above).
void AddRange(const StatementTable& table, const TableBalances& read, Range range, Mode mode,
              StatementLines& out) {
  for (std::size_t i = 0; i < read.numbers.size(); ++i) {
    const int number = read.numbers[i];
    if (number < range.low || number > range.high) continue;
    const auto& balances = read.balances[i];
    const std::string& account = table.accounts[i];
    out.lines.push_back(std::string(range.side) + ";" + FieldAt(account, chart::kNumber) + " " +
                        FieldAt(account, chart::kName) + ";" + balances[0] + ";" + balances[1] +
                        ";" + balances[2] + ";1;");
    for (int k = 0; k < kYears; ++k) {
      if (balances[k].empty()) continue;
      if (mode == Mode::kResult) {
        out.results[k] += std::stoll(balances[k]);
      } else if (k == 0 && number >= 4000) {
        out.liquid += std::stoll(balances[k]);
      }
    }
  }
}

void AddResults(const StatementTable& table, const TableBalances& read, StatementLines& out) {
  AddRange(table, read, {6000, 6999, "1"}, Mode::kResult, out);
  AddRange(table, read, {7000, 7999, "0"}, Mode::kResult, out);
}

// The account number at the head of field 1 ("6110 Sous-traitance" -> 6110); -1 when none.
int NumberOfTitle(const std::string& title) {
  const std::string number = title.substr(0, 4);
  return IsAccountNumber(number) ? std::stoi(number) : -1;
}

std::int64_t Amount(const std::string& text) { return text.empty() ? 0 : std::stoll(text); }

// A chart line chosen as the heading of an account: its index in the chart (-1 when the
// chart is empty: the account is then its own heading) and its number.
struct Heading {
  int index = -1;
  int number = -1;
  std::string title;  // "6060 ACHATS NON STOCKES"
  bool operator==(const Heading& other) const {
    return index == other.index && number == other.number;
  }
};

// The lowest number of the block of accounts a heading search stays in: 1000-1999 and
// 4000-4999 (liabilities), 2000-3999 and 5000-5999 (assets), 6000-6999 (expenses),
// 7000-7999 (income). Numbers below 1000 keep the search of one multiple of ten.
int SideLow(int account) {
  if (account < 1000) return 0;
  if (account >= 2000 && account < 4000) return 2000;
  return account - account % 1000;
}

class HeadingFinder {
 public:
  explicit HeadingFinder(const Lines& chart) : m_chart(chart) {
    for (std::size_t i = 0; i < chart.size(); ++i) {
      const std::string number = FieldAt(chart[i], chart::kNumber);
      if (IsAccountNumber(number)) m_byNumber.emplace(std::stoi(number), static_cast<int>(i));
    }
  }

  // The heading is looked for on the account's own side only (see SideLow): a class-2 asset
  // never falls under a class-1 liability heading, nor an income under an expense heading.
  Heading find(int account) const {
    const int low = SideLow(account);
    int multiple = account - account % 10;
    for (;;) {
      const auto found = m_byNumber.find(multiple);
      if (found != m_byNumber.end()) return make(found->second);
      if (multiple < 1010 || multiple - 10 < low) break;
      multiple -= 10;
    }
    // The chart's first line, when it is an account line of the same side at all; else the
    // account is its own heading.
    if (m_chart.empty() || !IsAccountNumber(FieldAt(m_chart[0], chart::kNumber))) {
      return {-1, account, {}};
    }
    const int first = std::stoi(FieldAt(m_chart[0], chart::kNumber));
    if (first < low || first > account) return {-1, account, {}};
    return make(0);
  }

 private:
  Heading make(int index) const {
    const std::string& line = m_chart[index];
    const std::string number = FieldAt(line, chart::kNumber);
    return {index, std::stoi(number), number + " " + FieldAt(line, chart::kName)};
  }

  const Lines& m_chart;
  std::unordered_map<int, int> m_byNumber;  // first chart line of each number
};

std::string Sums(const std::array<std::int64_t, kYears>& sums) {
  return std::to_string(sums[0]) + ";" + std::to_string(sums[1]) + ";" + std::to_string(sums[2]);
}

// The statement screen's answers: every name of the table below, for the record r of the
// grouped lines.
struct StatementData {
  std::string entity;
  std::array<std::string, kYears> years;
  Lines lines;
  std::int64_t liquid = 0;
  std::string grouping;
};

std::string LineField(const StatementData& data, int record, int field) {
  if (record < 0 || record >= static_cast<int>(data.lines.size())) return {};
  return FieldAt(data.lines[record], field);
}

using StatementAnswer = ReportValue (*)(const StatementData&, int record);

// Every name the statements screen answers: balances are numbers (cents / 100, 0 when
// empty), "Typ" past the last line the number 0, everything else text.
const std::unordered_map<std::string, StatementAnswer>& StatementAnswers() {
  static const std::unordered_map<std::string, StatementAnswer> answers = {
      {"Asso", [](const StatementData& d, int) { return ReportValue::Text(d.entity); }},
      {"Exercice", [](const StatementData& d, int) { return ReportValue::Text(d.years[0]); }},
      {"Exercice1", [](const StatementData& d, int) { return ReportValue::Text(d.years[0]); }},
      {"Exercice2", [](const StatementData& d, int) { return ReportValue::Text(d.years[1]); }},
      {"Exercice3", [](const StatementData& d, int) { return ReportValue::Text(d.years[2]); }},
      {"Typ",
       [](const StatementData& d, int r) {
         return r >= 0 && r < static_cast<int>(d.lines.size())
                    ? ReportValue::Text(LineField(d, r, kSide))
                    : ReportValue::Whole(0);
       }},
      {"Nom",
       [](const StatementData& d, int r) { return ReportValue::Text(LineField(d, r, kTitle)); }},
      {"Solde1", [](const StatementData& d,
                    int r) { return ReportValue::Cents(Amount(LineField(d, r, kBalance1))); }},
      {"Solde2", [](const StatementData& d,
                    int r) { return ReportValue::Cents(Amount(LineField(d, r, kBalance1 + 1))); }},
      {"Solde3", [](const StatementData& d,
                    int r) { return ReportValue::Cents(Amount(LineField(d, r, kBalance1 + 2))); }},
      {"Calcul",
       [](const StatementData& d, int r) { return ReportValue::Text(LineField(d, r, kCounted)); }},
      {"Liquide", [](const StatementData& d, int) { return ReportValue::Cents(d.liquid); }},
      {"Forme", [](const StatementData& d, int) { return ReportValue::Text(d.grouping); }},
  };
  return answers;
}

const char* GroupingCaption(Grouping grouping) {
  switch (grouping) {
    case Grouping::kNormal:
      return "Normaux";
    case Grouping::kDetailed:
      return "D\xe9taill\xe9s";
    case Grouping::kGrouped:
      return "Regroup\xe9s";
  }
  return "";
}

ReportRequest StatementReport(const StatementTable& table, const StatementLines& built,
                              Grouping grouping, const char* templateFile, const char* title,
                              std::vector<std::string> zeroVariables) {
  auto data = std::make_shared<StatementData>();
  data->entity = table.entity;
  data->years = table.years.names;
  data->lines = GroupLines(built.lines, table.chart, grouping);
  data->liquid = built.liquid;
  data->grouping = GroupingCaption(grouping);
  ReportRequest request;
  request.templateFile = templateFile;
  request.title = title;
  request.records = data->lines;
  request.zeroVariables = std::move(zeroVariables);
  request.value = [data](const std::string& name, int record) {
    const auto& answers = StatementAnswers();
    const auto found = answers.find(name);
    return found == answers.end() ? ReportValue() : found->second(*data, record);
  };
  return request;
}

}  // namespace

StatementYears WithComparisonYears(const Settings& settings, const std::string& year2,
                                   const std::string& year3) {
  StatementYears years;
  years.names = {settings.exercise, year2, year3};
  for (int k = 0; k < kYears; ++k) {
    if (!years.names[k].empty())
      years.folders[k] = settings.programFolder / FolderPath(years.names[k]);
  }
  return years;
}

StatementYears YearsOf(const Settings& settings) {
  return WithComparisonYears(settings, settings.exercise1, settings.exercise2);
}

Lines TableAccounts(const Lines& chart, const std::array<LedgerFolder, 3>& ledgers,
                    const std::string& exercise) {
  std::unordered_map<std::string, const std::string*> byNumber;
  for (const auto& line : chart) byNumber.emplace(FieldAt(line, chart::kNumber), &line);
  std::vector<int> numbers;
  for (const auto& folder : ledgers) {
    numbers.insert(numbers.end(), folder.numbers().begin(), folder.numbers().end());
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  Lines accounts;
  accounts.reserve(numbers.size());
  for (int number : numbers) {
    const std::string account = AccountNumberText(number);
    const auto found = byNumber.find(account);
    accounts.push_back(found != byNumber.end() ? *found->second
                                               : account + ";PAS DANS LE PLAN " + exercise + ";;" +
                                                     chart::kLinkNone + ";;");
  }
  return accounts;
}

StatementTable LoadStatementTable(const StatementYears& years, const std::string& entity) {
  StatementTable table;
  table.years = years;
  table.entity = entity;
  table.chart = ReadLines(years.folders[0] / kChartFileName);
  for (int k = 0; k < kYears; ++k) {
    if (!years.folders[k].empty()) table.ledgers[k] = LedgerFolder(years.folders[k]);
  }
  table.accounts = TableAccounts(table.chart, table.ledgers, years.names[0]);
  return table;
}

StatementLines IncomeStatementLines(const StatementTable& table) {
  const TableBalances read = ReadBalances(table);
  StatementLines out;
  AddResults(table, read, out);
  return out;
}

StatementLines BalanceSheetLines(const StatementTable& table) {
  const TableBalances read = ReadBalances(table);
  StatementLines out;
  AddResults(table, read, out);
  out.lines.clear();

  AddRange(table, read, {1000, 1999, "1"}, Mode::kBalance, out);
  std::array<std::string, kYears> losses;
  std::array<std::string, kYears> profits;
  bool anyLoss = false;
  bool anyProfit = false;
  for (int k = 0; k < kYears; ++k) {
    if (out.results[k] > 0) {
      losses[k] = std::to_string(out.results[k]);
      anyLoss = true;
    } else if (out.results[k] < 0) {
      profits[k] = std::to_string(out.results[k]);
      anyProfit = true;
    }
  }
  Lines resultLines;
  if (anyProfit) {
    resultLines.push_back(std::string(kProfitLine) + profits[0] + ";" + profits[1] + ";" +
                          profits[2] + ";1;");
  }
  if (anyLoss) {
    resultLines.push_back(std::string(kLossLine) + losses[0] + ";" + losses[1] + ";" + losses[2] +
                          ";1;");
  }
  auto at = out.lines.begin();
  while (at != out.lines.end() && NumberOfTitle(FieldAt(*at, kTitle)) < 1300) ++at;
  out.lines.insert(at, resultLines.begin(), resultLines.end());

  // One liability section, then one asset section, each in account order.
  AddRange(table, read, {4000, 4999, "1"}, Mode::kBalance, out);
  AddRange(table, read, {2000, 3999, "0"}, Mode::kBalance, out);
  AddRange(table, read, {5000, 5999, "0"}, Mode::kBalance, out);
  return out;
}

Lines GroupLines(const Lines& reportLines, const Lines& chart, Grouping grouping) {
  if (grouping == Grouping::kNormal) return reportLines;
  const HeadingFinder finder(chart);
  const int count = static_cast<int>(reportLines.size());
  std::vector<int> numbers(count);
  std::vector<Heading> headings(count);
  for (int i = 0; i < count; ++i) {
    numbers[i] = NumberOfTitle(FieldAt(reportLines[i], kTitle));
    headings[i] = finder.find(numbers[i]);
    // The chart's first line numbered above the account is no heading of it: the account
    // then stands as its own group rather than vanishing from the report.
    if (headings[i].number > numbers[i]) headings[i] = {-1, numbers[i], {}};
  }

  std::deque<std::string> grouped;
  std::array<std::int64_t, kYears> sums{};
  const auto addBalances = [&sums](const std::string& line) {
    for (int k = 0; k < kYears; ++k) sums[k] += Amount(FieldAt(line, kBalance1 + k));
  };
  for (int i = count - 1; i >= 0; --i) {
    const std::string& line = reportLines[i];
    const Heading& heading = headings[i];
    const std::string side = FieldAt(line, kSide);
    if (heading.number < numbers[i]) {
      grouped.push_front(side + ";" + FieldAt(line, kTitle) + ";" + FieldAt(line, kBalance1) + ";" +
                         FieldAt(line, kBalance1 + 1) + ";" + FieldAt(line, kBalance1 + 2) + ";0;");
      addBalances(line);
    }
    if (heading.number == numbers[i]) {
      addBalances(line);
      grouped.push_front(side + ";" + FieldAt(line, kTitle) + ";" + Sums(sums) + ";1;");
      sums = {};
    } else if (i == 0 || !(headings[i - 1] == heading)) {
      grouped.push_front(side + ";" + heading.title + ";" + Sums(sums) + ";1;");
      sums = {};
    }
  }

  Lines result;
  result.reserve(grouped.size());
  for (auto& line : grouped) {
    if (grouping == Grouping::kGrouped && FieldAt(line, kCounted) != "1") continue;
    result.push_back(std::move(line));
  }
  return result;
}

ReportRequest IncomeStatementReport(const StatementTable& table, Grouping grouping) {
  return StatementReport(table, IncomeStatementLines(table), grouping, "Gestion_Resultat.frf",
                         "R\xe9sultat",
                         {"re1", "re2", "re3", "ch1", "ch2", "ch3", "pr1", "pr2", "pr3"});
}

ReportRequest BalanceSheetReport(const StatementTable& table, Grouping grouping) {
  return StatementReport(table, BalanceSheetLines(table), grouping, "Gestion_Bilan.frf", "Bilan",
                         {"pa1", "pa2", "pa3", "ac1", "ac2", "ac3"});
}

void SaveComparisonYears(const Settings& settings) {
  IniFile ini = IniFile::Load(settings.settingsFile());
  SetExerciseKeys(ini, settings);
  ini.Save();
}

}  // namespace vantrel::accounting
