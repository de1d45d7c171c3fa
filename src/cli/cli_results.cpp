// vantrel-cli results PAGE.htm OUT.chr [--k K]: the result file of a saved result page, as
// the results screen makes it with "Récupération...", "Calculer" and "Enregistrer".

#include "cli/cli_results.h"

#include "competitions/cup_points.h"
#include "competitions/tournament_result.h"
#include "core/cp1252.h"
#include "core/error.h"
#include "core/text_helpers.h"
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
  const fs::path page = fs::u8path(positional[0]);
  const fs::path out = fs::u8path(positional[1]);

  TournamentResults results;
  if (!results.extractPage(page)) {
    throw Error("Le fichier " + Utf8ToCp1252(page.string()) +
                " n'est pas une page de r\xE9sultats d'un tournoi.");
  }
  const auto reading =
      results.calculate(members::ReadMemberFile(context.settings.exerciseFolder()), k);
  if (reading.truncated) {
    throw Error("La page " + Utf8ToCp1252(page.string()) +
                " s'arr\xEAte avant les noms de la paire class\xE9"
                "e " +
                reading.truncatedRank +
                " : elle est incompl\xE8te, aucun fichier n'est \xE9"
                "crit.");
  }
  if (results.resultLines().empty()) {
    throw Error("La page " + Utf8ToCp1252(page.string()) +
                " ne contient aucune paire : aucun fichier n'est \xE9"
                "crit.");
  }
  results.save(out);

  int members = 0;
  for (const auto& line : results.resultLines()) {
    members += !FieldAt(line, competitions::result_field::kLicenceA).empty();
    members += !FieldAt(line, competitions::result_field::kLicenceB).empty();
  }
  PrintLine(std::to_string(results.resultLines().size()) + " paires, " + std::to_string(members) +
            " joueurs du club, " + competitions::FormatPoints(results.total()) + " points");
  return 0;
}

}  // namespace vantrel::cli
