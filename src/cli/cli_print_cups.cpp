// The printed documents of the cups: a cup's ranking and a tournament's prize list, as the
// ranking and results screens print them, to PDF or to CSV.

#include "cli/cli_print_cups.h"

#include <optional>

#include "cli/cli_print.h"
#include "competitions/cup_file.h"
#include "competitions/cup_ranking.h"
#include "competitions/cup_reports.h"
#include "competitions/tournament_result.h"
#include "core/cp1252.h"
#include "core/numbers.h"
#include "core/os_file.h"

namespace vantrel::cli {
namespace fs = std::filesystem;

int PrintCupRanking(CliContext& context, const Arguments& args) {
  std::vector<std::string> positional;
  std::optional<int> limit;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--limite") {
      if (i + 1 >= args.size()) throw UsageError("L'option --limite demande un indice de valeur.");
      const std::string text = args[++i];
      limit = TryParseInteger(text);
      if (!limit) throw UsageError("Limite incorrecte : " + text);
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
  OutputKindOf(out);

  competitions::CupRanking ranking;
  competitions::ComputeCupRanking(context.settings.exerciseFolder(), cup, ranking);
  return WriteReport(context,
                     competitions::CupRankingReportRequest(competitions::MakeRankingReport(
                         ranking, context.settings.exercise, limit)),
                     out);
}

int PrintPrizeList(CliContext& context, const Arguments& args) {
  if (args.size() != 2) throw UsageError("print dotation demande un fichier .chr et la sortie.");
  const fs::path file = os::PathFromUtf8(args[0]);
  const fs::path out = os::PathFromUtf8(args[1]);
  OutputKindOf(out);

  competitions::TournamentResults results;
  results.open(file);
  // The list as the results screen prints it once it has opened the file.
  const std::string caption =
      competitions::kOpenedCaption + Utf8ToCp1252(os::Utf8Of(file.filename()));
  return WriteReport(context,
                     competitions::PrizeListReport(competitions::MakePrizeList(
                         results, context.settings.entity, context.settings.exercise, caption)),
                     out);
}

}  // namespace vantrel::cli
