#pragma once

#include "cli/cli.h"
#include "core/report_request.h"

namespace vantrel::cli {

// One report of "print REPORT [OPTIONS] OUT": args are the words after REPORT, OUT last.
// The report writes OUT as PDF (through its template in the program folder, as its screen
// prints it) or as CSV (its records, one line per record, each field followed by ";",
// Windows-1252, CR LF), by the extension of OUT.
struct PrintReport {
  const char* name;
  CommandFunction run;
};

// The reports "print" knows. Each lives in a file of its own (cli_print_<group>.cpp).
const std::vector<PrintReport>& PrintReports();

// The books and statements of the current exercise (cli_print_books.cpp): journal,
// compte NNNN, balance, plan, resultat and bilan [--normaux|--detailles|--regroupes].
int PrintJournal(CliContext& context, const Arguments& args);
int PrintLedger(CliContext& context, const Arguments& args);
int PrintTrialBalance(CliContext& context, const Arguments& args);
int PrintAccountsInUse(CliContext& context, const Arguments& args);
int PrintIncomeStatement(CliContext& context, const Arguments& args);
int PrintBalanceSheet(CliContext& context, const Arguments& args);

// "print REPORT ...": dispatches on REPORT.
int RunPrint(CliContext& context, const Arguments& args);

// The output of a print: OUT with its kind, checked to end in ".pdf" or ".csv" (UsageError
// otherwise).
enum class OutputKind { kPdf, kCsv };
OutputKind OutputKindOf(const std::filesystem::path& out);

// Writes the request to out (cli_print_books.cpp): its pages as PDF through its template in
// the program folder, or its records as CSV, by the extension of out. Nothing is written
// before the whole output is ready. Returns the exit status 0.
int WriteReport(const CliContext& context, const ReportRequest& request,
                const std::filesystem::path& out);

// The output of "print REPORT OUT" when OUT is its only argument (cli_print_books.cpp). Throws
// UsageError otherwise, or when OUT ends neither in ".pdf" nor in ".csv".
std::filesystem::path OnlyOutput(const Arguments& args, const char* report);

// Records as CSV: each field followed by ";", lines ended by CR LF.
std::string CsvFromRecords(const std::vector<std::vector<std::string>>& records);

}  // namespace vantrel::cli
