#include "cli/cli_import.h"

#include <string>

#include "core/error.h"
#include "core/os_file.h"
#include "members/federation_import.h"

namespace vantrel::cli {
namespace {

members::MergeChoice ChoiceOf(const std::string& option, const std::string& value) {
  if (value == "toujours") return members::MergeChoice::kAlways;
  if (value == "jamais") return members::MergeChoice::kNever;
  throw UsageError(option + " attend toujours ou jamais : " + value);
}

}  // namespace

int RunImport(CliContext& context, const Arguments& args) {
  std::string file;
  members::ImportOptions options;
  bool trial = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--ajout" || arg == "--modif") {
      if (i + 1 >= args.size()) throw UsageError(arg + " attend toujours ou jamais.");
      (arg == "--ajout" ? options.add : options.modify) = ChoiceOf(arg, args[++i]);
    } else if (arg == "--essai") {
      trial = true;
    } else if (arg.rfind("--", 0) == 0 || !file.empty()) {
      throw UsageError("Argument inattendu : " + arg);
    } else {
      file = arg;
    }
  }
  if (file.empty()) throw UsageError("import demande le fichier d'extraction.");
  // A trial writes nothing: it may run beside the program.
  const auto hold = trial ? nullptr : HoldForWriting(context);

  const members::Extraction extraction = members::ReadExtraction(os::PathFromUtf8(file));
  const int count = members::ExtractionCount(extraction);
  // The import screen imports from two players on; it refuses the others.
  if (count < 0) throw Error("Vous avez import\xe9 le mauvais type de fichier");
  if (count == 0) {
    throw Error(
        "Vous n'avez aucun enregistrement: Afficher les donn\xe9\x65s avant de les rapatrier dans "
        "un fichier");
  }
  if (count == 1) {
    throw Error("Un seul joueur dans l'extraction : l'importation demande au moins deux joueurs");
  }

  options.today = Today();
  const members::ImportCounts counts = members::ImportExtraction(
      context.settings.exerciseFolder(), extraction.players, options,
      [](members::QuestionKind, const std::string&) { return false; }, trial);
  PrintLine(std::to_string(counts.added) + " nouveaux, " + std::to_string(counts.changed) +
            " modifi\xe9s, " + std::to_string(counts.unchanged) + " inchang\xe9s");
  return 0;
}

}  // namespace vantrel::cli
