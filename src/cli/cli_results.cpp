// vantrel-cli results PAGE.htm OUT.chr [--k K]: the result file of a saved result page, as
// the results screen makes it with "Récupération...", "Calculer" and "Enregistrer".

#include "cli/cli_results.h"

#include "competitions/cup_points.h"
#include "competitions/tournament_result.h"
#include "core/cp1252.h"
#include "core/error.h"
#include "core/os_file.h"
#include "members/member_file.h"

namespace vantrel::cli {

namespace fs = std::filesystem;
using competitions::TournamentResults;

int RunResults(CliContext& context, const Arguments& args) {
  std::vector<std::string> positional;
  std::string k = competitions::kDefaultCoefficient;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--k") {
      if (i + 1 >= args.size()) throw UsageError("L'option --k demande un coefficient.");
      k = args[++i];
    } else if (args[i].starts_with("--")) {
      throw UsageError("Option inconnue : " + args[i]);
    } else {
      positional.push_back(args[i]);
    }
  }
  if (positional.size() != 2) {
    throw UsageError("results demande une page de résultats et un fichier .chr.");
  }
  const fs::path page = os::PathFromUtf8(positional[0]);
  const fs::path out = os::PathFromUtf8(positional[1]);
  const auto hold = HoldForWriting(context);

  TournamentResults results;
  const competitions::PageExtraction extraction = results.extractPage(page);
  if (extraction.kind == competitions::PageKind::kNotResults) {
    throw Error("Le fichier " + Utf8ToCp1252(os::Utf8Of(page)) +
                " n'est pas une page de r\xE9sultats d'un tournoi.");
  }
  // A cut page, or a page whose table stops before its end: a shorter tournament is worse
  // than none.
  const auto incomplete = [&](const competitions::PageReading& reading) {
    return Error("La page " + Utf8ToCp1252(os::Utf8Of(page)) + " " +
                 competitions::WhereThePageStops(reading) +
                 " : elle est incompl\xE8te, aucun fichier n'est \xE9"
                 "crit.");
  };
  if (extraction.kind == competitions::PageKind::kCut) throw incomplete(extraction.reading);
  const auto reading =
      results.calculate(members::ReadMemberFile(context.settings.exerciseFolder()), k);
  if (reading.truncated) throw incomplete(reading);
  if (results.resultLines().empty()) {
    throw Error("La page " + Utf8ToCp1252(os::Utf8Of(page)) +
                " ne contient aucune paire : aucun fichier n'est \xE9"
                "crit.");
  }
  results.save(out);

  PrintLine(competitions::PairsAndClubPlayers(results.resultLines()) + ", " +
            competitions::FormatPoints(results.total()) + " points");
  return 0;
}

}  // namespace vantrel::cli
