#include "competitions/cup_reports.h"

#include <functional>
#include <optional>
#include <utility>

#include "competitions/report_variables.h"
#include "core/record_file.h"

namespace vantrel::competitions {
namespace {

using TextOf = std::function<std::optional<std::string>(const std::string& name, int record)>;

// A request over records whose answers are the texts of textOf for the declared names: a
// name of the records is answered for records 0 to records.size() - 1 only, a name of the
// whole report for every record.
ReportRequest DeclaredRequest(const reports::TemplateVariables& declaration, std::string title,
                              Lines records, TextOf textOf) {
  ReportRequest request;
  request.templateFile = std::string(declaration.templateName);
  request.title = std::move(title);
  request.records = std::move(records);
  const int count = static_cast<int>(request.records.size());
  request.value = [&declaration, count, textOf = std::move(textOf)](const std::string& name,
                                                                    int record) {
    const reports::DeclaredVariable* variable = reports::FindDeclared(declaration, name);
    if (variable == nullptr) return ReportValue();
    const bool inRecords = record >= 0 && record < count;
    if (variable->scope == reports::VariableScope::kRecord && !inRecords) return ReportValue();
    return ReportValue::Text(textOf(name, inRecords ? record : 0).value_or(std::string()));
  };
  return request;
}

Lines JoinRecords(const std::vector<std::vector<std::string>>& records) {
  Lines lines;
  lines.reserve(records.size());
  for (const auto& record : records) lines.push_back(JoinFields(record));
  return lines;
}

}  // namespace

ReportRequest PrizeListReport(const PrizeList& list) {
  return DeclaredRequest(
      kPrizeListReport, "Dotation des paires", JoinRecords(PrizeListRecords(list)),
      [list](const std::string& name, int record) { return PrizeListValue(list, name, record); });
}

ReportRequest CupRankingReportRequest(const RankingReport& report) {
  return DeclaredRequest(kCupRankingReport, report.title,
                         JoinRecords(RankingRecords(report.entries)),
                         [report](const std::string& name, int record) {
                           return RankingReportValue(report, name, record);
                         });
}

}  // namespace vantrel::competitions
