#include "accounting/books.h"

#include <charconv>
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "accounting/accounting_files.h"
#include "accounting/report_variables.h"
#include "core/error.h"
#include "core/numbers.h"
#include "core/text_helpers.h"

namespace vantrel::accounting {

namespace fs = std::filesystem;

namespace {

std::string CentsText(std::int64_t cents) { return cents == 0 ? "" : std::to_string(cents); }

// A stored amount that was checked before the report started; anything else counts as 0.
std::int64_t StoredCents(const std::string& field) {
  const std::string text = Trim(field);
  std::int64_t value = 0;
  const char* begin = text.data();
  if (!text.empty() && text[0] == '+') ++begin;
  std::from_chars(begin, text.data() + text.size(), value);
  return value;
}

// Every amount field of every line must read as whole cents before a report starts.
void CheckAmounts(const Lines& lines, std::initializer_list<int> fields) {
  for (const auto& line : lines) {
    for (int field : fields) ParseAmount(FieldAt(line, field));
  }
}

// The lists the books screen holds while a report is prepared; a report's own list is
// filled, the others are empty.
struct BookLists {
  std::string entity;
  std::string exercise;
  std::string item;  // the drop-down item chosen
  Lines journal;
  Lines ledger;
  Lines trialBalance;
  Lines accounts;
};

std::string FieldOf(const Lines& list, int record, int field) {
  if (record < 0 || record >= static_cast<int>(list.size())) return {};
  return FieldAt(list[record], field);
}

using Answer = std::function<ReportValue(const BookLists&, int record)>;

Answer TextOf(const Lines BookLists::*list, int field) {
  return [list, field](const BookLists& lists, int record) {
    return ReportValue::Text(FieldOf(lists.*list, record, field));
  };
}

Answer AmountOf(const Lines BookLists::*list, int field) {
  return [list, field](const BookLists& lists, int record) {
    return ReportValue::Cents(StoredCents(FieldOf(lists.*list, record, field)));
  };
}

// Every name the books screen answers, whatever report is running. Amounts are numbers
// (cents / 100, 0 when empty); everything else is text.
const std::unordered_map<std::string, Answer>& BookAnswers() {
  static const std::unordered_map<std::string, Answer> answers = [] {
    using journal::GroupField;
    using journal::GroupPart;
    std::unordered_map<std::string, Answer> table;
    table["Exercice"] = [](const BookLists& l, int) { return ReportValue::Text(l.exercise); };
    table["Compte"] = [](const BookLists& l, int) { return ReportValue::Text(l.entity); };
    table["LigneJ"] = [](const BookLists&, int record) { return ReportValue::Whole(record + 1); };
    table["DateJ"] = TextOf(&BookLists::journal, journal::kDate);
    table["LibelleJ"] = TextOf(&BookLists::journal, journal::kLabel);
    for (int g = 0; g < journal::kGroupCount; ++g) {
      const std::string n = std::to_string(g + 1);
      table["Compte" + n + "J"] = TextOf(&BookLists::journal, GroupField(g, GroupPart::kAccount));
      table["Nom" + n + "J"] = TextOf(&BookLists::journal, GroupField(g, GroupPart::kName));
      table["Debit" + n + "J"] = AmountOf(&BookLists::journal, GroupField(g, GroupPart::kDebit));
      table["Credit" + n + "J"] = AmountOf(&BookLists::journal, GroupField(g, GroupPart::kCredit));
    }
    table["CompteC"] = [](const BookLists& l, int) { return ReportValue::Text(l.item); };
    table["LigneC"] = TextOf(&BookLists::ledger, ledger::kEntry);
    table["DateC"] = TextOf(&BookLists::ledger, ledger::kDate);
    table["LibelleC"] = TextOf(&BookLists::ledger, ledger::kLabel);
    table["DebitC"] = AmountOf(&BookLists::ledger, ledger::kDebit);
    table["CreditC"] = AmountOf(&BookLists::ledger, ledger::kCredit);
    table["NomBal"] = [](const BookLists& l, int record) {
      if (record < 0 || record >= static_cast<int>(l.trialBalance.size())) {
        return ReportValue::Text({});
      }
      const std::string& line = l.trialBalance[record];
      return ReportValue::Text(FieldAt(line, 0) + " " + FieldAt(line, 1));
    };
    table["MdebitBal"] = AmountOf(&BookLists::trialBalance, 2);
    table["McreditBal"] = AmountOf(&BookLists::trialBalance, 3);
    table["SdebitBal"] = AmountOf(&BookLists::trialBalance, 4);
    table["ScreditBal"] = AmountOf(&BookLists::trialBalance, 5);
    table["ExerciceDBP"] = table["Exercice"];
    table["CompteDBP"] = table["Compte"];
    table["NumeroDBP"] = TextOf(&BookLists::accounts, chart::kNumber);
    table["NomDBP"] = TextOf(&BookLists::accounts, chart::kName);
    table["TypeDBP"] = TextOf(&BookLists::accounts, chart::kType);
    table["TemoinDBP"] = TextOf(&BookLists::accounts, chart::kLink);
    table["DateDBP"] = TextOf(&BookLists::accounts, chart::kExercise);
    return table;
  }();
  return answers;
}

ReportRequest MakeRequest(std::shared_ptr<const BookLists> lists, const char* templateFile,
                          std::string title, const Lines& records,
                          std::vector<std::string> zeroVariables) {
  ReportRequest request;
  request.templateFile = templateFile;
  request.title = std::move(title);
  request.records = records;
  request.zeroVariables = std::move(zeroVariables);
  request.value = [lists](const std::string& name, int record) {
    const auto& answers = BookAnswers();
    const auto found = answers.find(name);
    return found == answers.end() ? ReportValue() : found->second(*lists, record);
  };
  return request;
}

std::shared_ptr<BookLists> ListsOf(const BooksContext& books) {
  auto lists = std::make_shared<BookLists>();
  lists->entity = books.entity;
  lists->exercise = books.exercise;
  return lists;
}

}  // namespace

Lines AccountsInUse(const Lines& chart, const LedgerFolder& ledgers) {
  std::unordered_map<std::string, const std::string*> byNumber;
  byNumber.reserve(chart.size());
  for (const auto& line : chart) byNumber.emplace(FieldAt(line, chart::kNumber), &line);
  Lines accounts;
  accounts.reserve(ledgers.numbers().size());
  for (int number : ledgers.numbers()) {
    const std::string account = AccountNumberText(number);
    const auto found = byNumber.find(account);
    accounts.push_back(found != byNumber.end()
                           ? *found->second
                           : account + ";" + kNotInChart + ";;" + chart::kLinkNone + ";;");
  }
  return accounts;
}

BooksContext LoadBooks(const fs::path& exerciseFolder, const std::string& entity,
                       const std::string& exercise) {
  BooksContext books;
  books.exerciseFolder = exerciseFolder;
  books.entity = entity;
  books.exercise = exercise;
  const Lines chart = ReadLines(exerciseFolder / kChartFileName);
  books.ledgers = LedgerFolder(exerciseFolder);
  books.accountsInUse = AccountsInUse(chart, books.ledgers);
  return books;
}

std::vector<std::string> BookItems(const Lines& accountsInUse) {
  std::vector<std::string> items;
  items.reserve(accountsInUse.size() + 1);
  items.emplace_back(kJournalItem);
  for (const auto& line : accountsInUse) {
    items.push_back(FieldAt(line, chart::kNumber) + " " + FieldAt(line, chart::kName));
  }
  return items;
}

std::optional<std::string> ItemOfAccount(const Lines& accountsInUse, const std::string& account) {
  for (const auto& line : accountsInUse) {
    if (FieldAt(line, chart::kNumber) == account) {
      return account + " " + FieldAt(line, chart::kName);
    }
  }
  return std::nullopt;
}

std::string TrialBalanceLine(const std::string& accountInUse, const std::string& lastLedgerLine) {
  const std::int64_t debit = ParseAmount(FieldAt(lastLedgerLine, ledger::kTotalDebit));
  const std::int64_t credit = ParseAmount(FieldAt(lastLedgerLine, ledger::kTotalCredit));
  const std::int64_t debitBalance = credit < debit ? debit - credit : 0;
  const std::int64_t creditBalance = credit < debit ? 0 : credit - debit;
  return FieldAt(accountInUse, chart::kNumber) + ";" + FieldAt(accountInUse, chart::kName) + ";" +
         CentsText(debit) + ";" + CentsText(credit) + ";" + CentsText(debitBalance) + ";" +
         CentsText(creditBalance) + ";";
}

Lines TrialBalance(const LedgerFolder& ledgers, const Lines& accountsInUse) {
  Lines lines;
  lines.reserve(accountsInUse.size());
  for (const auto& account : accountsInUse) {
    const std::string number = FieldAt(account, chart::kNumber);
    const std::string last =
        IsAccountNumber(number) ? ledgers.lastLine(std::stoi(number)) : std::string();
    lines.push_back(TrialBalanceLine(account, last));
  }
  return lines;
}

ReportRequest JournalReport(const BooksContext& books) {
  auto lists = ListsOf(books);
  lists->journal = ReadLines(books.exerciseFolder / kJournalFileName);
  for (int g = 0; g < journal::kGroupCount; ++g) {
    CheckAmounts(lists->journal, {journal::GroupField(g, journal::GroupPart::kDebit),
                                  journal::GroupField(g, journal::GroupPart::kCredit)});
  }
  return MakeRequest(lists, "Gestion_Livre.frf", "Livre Journal", lists->journal,
                     {"Debit", "Credit"});
}

ReportRequest LedgerReport(const BooksContext& books, const std::string& item) {
  auto lists = ListsOf(books);
  lists->item = item;
  lists->ledger = ReadLines(books.exerciseFolder / LedgerFileName(item.substr(0, 4)));
  CheckAmounts(lists->ledger, {ledger::kDebit, ledger::kCredit});
  const std::string name = item.size() > 5 ? item.substr(5, 40) : std::string();
  return MakeRequest(lists, "Gestion_Compte.frf", "Compte: " + name, lists->ledger,
                     {"Debit", "Credit"});
}

ReportRequest TrialBalanceReport(const BooksContext& books) {
  auto lists = ListsOf(books);
  lists->trialBalance = TrialBalance(books.ledgers, books.accountsInUse);
  return MakeRequest(lists, "Gestion_Balance.frf", "Balance de v\xe9rification",
                     lists->trialBalance, {});
}

ReportRequest AccountsInUseReport(const BooksContext& books) {
  auto lists = ListsOf(books);
  lists->accounts = books.accountsInUse;
  return MakeRequest(lists, "Gestion_Plan.frf", "Plan Comptable", lists->accounts, {});
}

ReportRequest ChartReport(const Lines& chart, const std::string& entity,
                          const std::string& exercise) {
  auto lists = std::make_shared<BookLists>();
  lists->entity = entity;
  lists->exercise = exercise;
  lists->accounts = chart;
  ReportRequest request =
      MakeRequest(lists, "Gestion_Plan.frf", "Plan Comptable", lists->accounts, {});
  request.value = [all = std::move(request.value)](const std::string& name, int record) {
    return reports::FindDeclared(kChartReport, name) ? all(name, record) : ReportValue();
  };
  return request;
}

}  // namespace vantrel::accounting
