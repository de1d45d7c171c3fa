#include "competitions/cup_report_values.h"

#include "competitions/report_variables.h"

namespace vantrel::competitions {
namespace {

using ValueOf = std::function<std::optional<std::string>(const std::string& name, int record)>;

// A getter for every declared name, in its scope, answering valueOf's text.
reports::ValueTable TableOf(const reports::TemplateVariables& declaration, const ValueOf& valueOf) {
  reports::ValueTable table(declaration);
  for (const auto& variable : declaration.variables) {
    const std::string name(variable.name);
    if (variable.scope == reports::VariableScope::Report) {
      table.report(variable.name, [valueOf, name] {
        return reports::TextFromCp1252(valueOf(name, 0).value_or(std::string()));
      });
    } else {
      table.record(variable.name, [valueOf, name](int record) {
        return reports::TextFromCp1252(valueOf(name, record).value_or(std::string()));
      });
    }
  }
  return table;
}

}  // namespace

reports::ValueTable PrizeListValues(const PrizeList* list) {
  return TableOf(kPrizeListReport, [list](const std::string& name, int record) {
    return PrizeListValue(*list, name, record);
  });
}

reports::ValueTable CupRankingValues(const RankingReport* report) {
  return TableOf(kCupRankingReport, [report](const std::string& name, int record) {
    return RankingReportValue(*report, name, record);
  });
}

}  // namespace vantrel::competitions
