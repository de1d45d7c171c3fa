// The member lists and exports over the whole member file, as the listings screen gives them:
//   print annuaire|cotisations|assemblee OUT
//   export publipostage|csv|html OUT

#include "cli/cli_print_members.h"

#include <filesystem>
#include <string>

#include "cli/cli_print.h"
#include "core/record_file.h"
#include "members/member_file.h"
#include "members/member_outputs.h"
#include "members/member_reports.h"

namespace vantrel::cli {

namespace {

int PrintList(const CliContext& context, const Arguments& args, const char* report,
              members::ListingReport which) {
  if (args.size() != 1) {
    throw UsageError(std::string("print ") + report + " demande seulement le fichier de sortie.");
  }
  const std::filesystem::path out = std::filesystem::u8path(args.back());
  OutputKindOf(out);
  const Lines all = members::ReadMemberFile(context.settings.exerciseFolder());
  return WriteReport(context,
                     members::ListingReportRequest(which, all, members::WholeFile(all),
                                                   context.settings.entity,
                                                   context.settings.exercise),
                     out);
}

}  // namespace

int PrintDirectory(CliContext& context, const Arguments& args) {
  return PrintList(context, args, "annuaire", members::ListingReport::kDirectory);
}

int PrintDuesList(CliContext& context, const Arguments& args) {
  return PrintList(context, args, "cotisations", members::ListingReport::kDuesList);
}

int PrintAssemblyList(CliContext& context, const Arguments& args) {
  return PrintList(context, args, "assemblee", members::ListingReport::kAssembly);
}

int RunExport(CliContext& context, const Arguments& args) {
  if (args.size() != 2) {
    throw UsageError("export demande publipostage, csv ou html, puis le fichier de sortie.");
  }
  const std::string& kind = args[0];
  if (kind != "publipostage" && kind != "csv" && kind != "html") {
    throw UsageError("Exportation inconnue : " + kind);
  }
  const std::filesystem::path out = std::filesystem::u8path(args[1]);
  const Lines all = members::ReadMemberFile(context.settings.exerciseFolder());
  const std::vector<int> selection = members::WholeFile(all);
  WriteLines(out, kind == "html" ? members::DirectoryPage(all, selection, Today())
                                 : members::ExportLines(all, selection));
  return 0;
}

}  // namespace vantrel::cli
