#include "cli/cli_print.h"

#include "cli/cli_print_cups.h"
#include "cli/cli_print_members.h"
#include "core/os_file.h"
#include "core/record_file.h"

namespace vantrel::cli {

const std::vector<PrintReport>& PrintReports() {
  static const std::vector<PrintReport> reports = {
      {"journal", PrintJournal},
      {"compte", PrintLedger},
      {"balance", PrintTrialBalance},
      {"plan", PrintAccountsInUse},
      {"resultat", PrintIncomeStatement},
      {"bilan", PrintBalanceSheet},
      {"classement", PrintCupRanking},
      {"dotation", PrintPrizeList},
      {"annuaire", PrintDirectory},
      {"cotisations", PrintDuesList},
      {"assemblee", PrintAssemblyList},
      {"enveloppes", PrintEnvelopes},
  };
  return reports;
}

int RunPrint(CliContext& context, const Arguments& args) {
  if (args.empty()) throw UsageError("print demande le nom d'un état.");
  for (const auto& report : PrintReports()) {
    if (args.front() == report.name)
      return report.run(context, Arguments(args.begin() + 1, args.end()));
  }
  throw UsageError("État inconnu : " + args.front());
}

OutputKind OutputKindOf(const std::filesystem::path& out) {
  const std::string extension = LowerExtension(out);
  if (extension == ".pdf") return OutputKind::kPdf;
  if (extension == ".csv") return OutputKind::kCsv;
  throw UsageError("La sortie doit se terminer par .pdf ou .csv : " + os::Utf8Of(out));
}

std::string CsvFromRecords(const std::vector<std::vector<std::string>>& records) {
  std::string out;
  for (const auto& record : records) {
    out += JoinFields(record);
    out += "\r\n";
  }
  return out;
}

}  // namespace vantrel::cli
