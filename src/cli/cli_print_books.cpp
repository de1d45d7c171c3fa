// The books and the statements of the current exercise, as their screens print them:
//   print journal OUT            print compte NNNN OUT      print balance OUT
//   print plan OUT               print resultat|bilan [--normaux|--detailles|--regroupes] OUT

#include <optional>

#include "accounting/accounting_files.h"
#include "accounting/books.h"
#include "accounting/statements.h"
#include "cli/cli_print.h"
#include "core/error.h"
#include "core/os_file.h"
#include "reports/report_request_bridge.h"

namespace vantrel::cli {

int WriteReport(const CliContext& context, const ReportRequest& request,
                const std::filesystem::path& out) {
  if (OutputKindOf(out) == OutputKind::kCsv) {
    std::vector<std::vector<std::string>> records;
    records.reserve(request.records.size());
    for (const auto& line : request.records) records.push_back(SplitFields(line));
    WriteOutputFile(out, CsvFromRecords(records));
  } else {
    const reports::PreparedReport pages = reports::PrepareRequest(
        request, context.programFolder,
        [](const QString& warning) { PrintWarning(warning.toStdString()); });
    WriteOutputFile(out, reports::PdfBytes(pages, out));
  }
  return 0;
}

std::filesystem::path OnlyOutput(const Arguments& args, const char* report) {
  if (args.size() != 1) {
    throw UsageError(std::string("print ") + report + " demande seulement le fichier de sortie.");
  }
  const std::filesystem::path out = os::PathFromUtf8(args.back());
  OutputKindOf(out);
  return out;
}

namespace {

using accounting::Grouping;

accounting::BooksContext Books(const CliContext& context) {
  return accounting::LoadBooks(context.settings.exerciseFolder(), context.settings.entity,
                               context.settings.exercise);
}

// [--normaux|--detailles|--regroupes] OUT; "Détaillés" when no option is given, as the screen
// starts.
std::pair<Grouping, std::filesystem::path> GroupingAndOutput(const Arguments& args,
                                                             const char* report) {
  if (args.empty() || args.size() > 2) {
    throw UsageError(std::string("print ") + report +
                     " prend au plus une option de forme, puis le fichier de sortie.");
  }
  Grouping grouping = Grouping::kDetailed;
  if (args.size() == 2) {
    if (args[0] == "--normaux") {
      grouping = Grouping::kNormal;
    } else if (args[0] == "--detailles") {
      grouping = Grouping::kDetailed;
    } else if (args[0] == "--regroupes") {
      grouping = Grouping::kGrouped;
    } else {
      throw UsageError("Option inconnue : " + args[0]);
    }
  }
  const std::filesystem::path out = os::PathFromUtf8(args.back());
  OutputKindOf(out);
  return {grouping, out};
}

accounting::StatementTable Table(const CliContext& context) {
  return accounting::LoadStatementTable(accounting::YearsOf(context.settings),
                                        context.settings.entity);
}

}  // namespace

int PrintJournal(CliContext& context, const Arguments& args) {
  const auto out = OnlyOutput(args, "journal");
  return WriteReport(context, accounting::JournalReport(Books(context)), out);
}

int PrintLedger(CliContext& context, const Arguments& args) {
  if (args.size() != 2)
    throw UsageError("print compte demande un numéro de compte et le fichier de sortie.");
  const std::string account = args[0];
  if (!accounting::IsAccountNumber(account)) {
    throw UsageError("Un numéro de compte s'écrit avec quatre chiffres : " + account);
  }
  const std::filesystem::path out = os::PathFromUtf8(args[1]);
  OutputKindOf(out);
  const accounting::BooksContext books = Books(context);
  const std::optional<std::string> item = accounting::ItemOfAccount(books.accountsInUse, account);
  if (!item) {
    throw CannotOpenFile(context.settings.exerciseFolder() / accounting::LedgerFileName(account));
  }
  return WriteReport(context, accounting::LedgerReport(books, *item), out);
}

int PrintTrialBalance(CliContext& context, const Arguments& args) {
  const auto out = OnlyOutput(args, "balance");
  return WriteReport(context, accounting::TrialBalanceReport(Books(context)), out);
}

int PrintAccountsInUse(CliContext& context, const Arguments& args) {
  const auto out = OnlyOutput(args, "plan");
  return WriteReport(context, accounting::AccountsInUseReport(Books(context)), out);
}

int PrintIncomeStatement(CliContext& context, const Arguments& args) {
  const auto [grouping, out] = GroupingAndOutput(args, "resultat");
  return WriteReport(context, accounting::IncomeStatementReport(Table(context), grouping), out);
}

int PrintBalanceSheet(CliContext& context, const Arguments& args) {
  const auto [grouping, out] = GroupingAndOutput(args, "bilan");
  return WriteReport(context, accounting::BalanceSheetReport(Table(context), grouping), out);
}

}  // namespace vantrel::cli
