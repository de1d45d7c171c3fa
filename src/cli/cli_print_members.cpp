// The member lists and exports over the whole member file, as the listings screen gives them:
//   print annuaire|cotisations|assemblee|enveloppes OUT
//   export publipostage|csv|html OUT

#include "cli/cli_print_members.h"

#include <filesystem>
#include <string>

#include <QStringList>

#include "cli/cli_print.h"
#include "core/error.h"
#include "core/os_file.h"
#include "core/record_file.h"
#include "members/member_file.h"
#include "members/member_outputs.h"
#include "members/member_reports.h"
#include "reports/report_request_bridge.h"

namespace vantrel::cli {

namespace {

int PrintList(const CliContext& context, const Arguments& args, const char* report,
              members::ListingReport which) {
  const std::filesystem::path out = OnlyOutput(args, report);
  const Lines all = members::ReadMemberFile(context.settings.exerciseFolder());
  return WriteReport(
      context,
      members::ListingReportRequest(which, all, members::WholeFile(all), context.settings.entity,
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

int PrintEnvelopes(CliContext& context, const Arguments& args) {
  const std::filesystem::path out = OnlyOutput(args, "enveloppes");
  const Lines all = members::ReadMemberFile(context.settings.exerciseFolder());
  if (all.empty()) {
    throw Error("Le fichier des adh\xe9rents est vide : aucune enveloppe \xe0 imprimer.");
  }
  if (OutputKindOf(out) == OutputKind::kCsv) {
    std::vector<std::vector<std::string>> records;
    records.reserve(all.size());
    for (const std::string& member : all) records.push_back(SplitFields(member));
    WriteOutputFile(out, CsvFromRecords(records));
    return 0;
  }
  reports::PreparedReport envelopes;
  QStringList said;  // each warning said once, as for one report
  const auto warn = [&said](const QString& warning) {
    if (said.contains(warning)) return;
    said.append(warning);
    PrintWarning(warning.toStdString());
  };
  for (const std::string& member : all) {
    reports::PreparedReport one =
        reports::PrepareRequest(members::EnvelopeRequest(member), context.programFolder, warn);
    if (envelopes.pages.empty()) {
      envelopes = std::move(one);
    } else {
      for (auto& page : one.pages) envelopes.pages.push_back(std::move(page));
      envelopes.warnings.append(one.warnings);
    }
  }
  envelopes.warnings.removeDuplicates();
  WriteOutputFile(out, reports::PdfBytes(envelopes, out));
  return 0;
}

int RunExport(CliContext& context, const Arguments& args) {
  if (args.size() != 2) {
    throw UsageError("export demande publipostage, csv ou html, puis le fichier de sortie.");
  }
  const std::string& kind = args[0];
  if (kind != "publipostage" && kind != "csv" && kind != "html") {
    throw UsageError("Exportation inconnue : " + kind);
  }
  const std::filesystem::path out = os::PathFromUtf8(args[1]);
  const Lines all = members::ReadMemberFile(context.settings.exerciseFolder());
  const std::vector<int> selection = members::WholeFile(all);
  WriteLines(out, kind == "html" ? members::DirectoryPage(all, selection, Today())
                                 : members::ExportLines(all, selection));
  return 0;
}

}  // namespace vantrel::cli
