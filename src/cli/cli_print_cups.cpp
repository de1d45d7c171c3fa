// The printed documents of the cups: a cup's ranking and a tournament's prize list, as the
// ranking and results screens print them, to PDF or to CSV.

#include "cli/cli_print_cups.h"

#include <optional>

#include "cli/cli_print.h"
#include "competitions/cup_file.h"
#include "competitions/cup_ranking.h"
#include "competitions/cup_report_values.h"
#include "competitions/tournament_result.h"
#include "core/cp1252.h"
#include "core/error.h"
#include "core/numbers.h"
#include "core/os_file.h"
#include "core/record_file.h"
#include "platform/qt_path.h"
#include "reports/page_render.h"
#include "reports/report_document.h"
#include "reports/report_request_bridge.h"

namespace vantrel::cli {
namespace {

namespace fs = std::filesystem;

// Lays out the template of the program folder over `count` records answered by values and
// writes the pages as PDF. Throws Error for a missing template, one with errors, or a file
// that cannot be written.
void WriteReportPdf(const CliContext& context, const std::string& templateName, int count,
                    const std::string& title, reports::ValueTable values, const fs::path& out) {
  const fs::path path = ResolvePath(context.programFolder / templateName);
  reports::ReportDocument document;
  document.setValues(std::move(values));
  if (!document.LoadFromFile(PathToQString(path))) throw CannotOpenFile(path);
  document.setRangeEndCount(count);
  document.setTitle(reports::TextFromCp1252(title).text());
  const reports::PreparedReport prepared = document.prepare();
  reports::CheckForBatch(prepared, document.templatePath(),
                         [](const QString& warning) { PrintWarning(warning.toStdString()); });
  QString error;
  if (!reports::WritePdfFile(prepared, PathToQString(out), &error)) {
    throw CannotCreateFile(out);
  }
}

}  // namespace

int PrintCupRanking(CliContext& context, const Arguments& args) {
  std::vector<std::string> positional;
  std::optional<int> limit;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--limite") {
      if (i + 1 >= args.size()) throw UsageError("L'option --limite demande un indice de valeur.");
      const std::string text = args[++i];
      try {
        limit = ParseInteger(text);
      } catch (const Error&) {
        throw UsageError("Limite incorrecte : " + text);
      }
      if (*limit < 20 || *limit > 100) {
        throw UsageError("La limite doit être comprise entre 20 et 100 : " + text);
      }
    } else if (args[i].starts_with("--")) {
      throw UsageError("Option inconnue : " + args[i]);
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 2) throw UsageError("print classement demande N (1 à 4) et la sortie.");
  const std::string& cupText = positional[0];
  if (cupText.size() != 1 || cupText[0] < '1' || cupText[0] > '0' + competitions::kCupCount) {
    throw UsageError("La coupe doit être 1, 2, 3 ou 4 : " + cupText);
  }
  const int cup = cupText[0] - '0';
  const fs::path out = os::PathFromUtf8(positional[1]);
  const OutputKind kind = OutputKindOf(out);

  competitions::CupRanking ranking;
  competitions::ComputeCupRanking(context.settings.exerciseFolder(), cup, ranking);
  const competitions::RankingReport report =
      competitions::MakeRankingReport(ranking, context.settings.exercise, limit);
  if (kind == OutputKind::Csv) {
    WriteOutputFile(out, CsvFromRecords(competitions::RankingRecords(report.entries)));
  } else {
    WriteReportPdf(context, "Classem_General.frf", static_cast<int>(report.entries.size()),
                   report.title, competitions::CupRankingValues(&report), out);
  }
  return 0;
}

int PrintPrizeList(CliContext& context, const Arguments& args) {
  if (args.size() != 2) throw UsageError("print dotation demande un fichier .chr et la sortie.");
  const fs::path file = os::PathFromUtf8(args[0]);
  const fs::path out = os::PathFromUtf8(args[1]);
  const OutputKind kind = OutputKindOf(out);

  competitions::TournamentResults results;
  results.open(file);
  competitions::PrizeList list;
  list.season = context.settings.entity + " : " + context.settings.exercise;
  list.event = competitions::PrizeListEvent(competitions::kOpenedCaption +
                                            Utf8ToCp1252(os::Utf8Of(file.filename())));
  list.total = results.total();
  list.resultLines = results.resultLines();
  if (kind == OutputKind::Csv) {
    WriteOutputFile(out, CsvFromRecords(competitions::PrizeListRecords(list)));
  } else {
    WriteReportPdf(context, "Dotation_paires.frf", static_cast<int>(list.resultLines.size()),
                   "Dotation des paires", competitions::PrizeListValues(&list), out);
  }
  return 0;
}

}  // namespace vantrel::cli
