#include "members/member_reports.h"

#include <numeric>
#include <optional>
#include <utility>

#include "core/numbers.h"
#include "core/text_helpers.h"
#include "members/member_file.h"
#include "members/member_outputs.h"
#include "members/report_variables.h"

namespace vantrel::members {

namespace {

struct ListingTemplate {
  const reports::TemplateVariables* variables;
  const char* title;
  bool seedsPlace;
};

ListingTemplate TemplateOf(ListingReport which) {
  switch (which) {
    case ListingReport::kDuesList:
      return {&kDuesListReport, "Tresorerie", false};
    case ListingReport::kAssembly:
      return {&kAssemblyReport, "Assembl\351e", true};
    case ListingReport::kDirectory:
      break;
  }
  return {&kDirectoryReport, "Annuaire", false};
}

ReportValue MemberValue(const std::string& name, const std::string& member) {
  if (name == "Solde") {
    const std::string balance = ExtractField(member, field::kBalance);
    const std::optional<std::int32_t> cents = TryParseInteger(balance);
    return cents && !balance.empty() ? ReportValue::Cents(*cents) : ReportValue::Text({});
  }
  const std::optional<ReportAnswer> answer = ListingReportValue(name, member);
  return answer ? ReportValue::Text(answer->text) : ReportValue();
}

}  // namespace

ReportRequest ListingReportRequest(ListingReport which, const Lines& members,
                                   const std::vector<int>& selection, const std::string& entity,
                                   const std::string& exercise) {
  const ListingTemplate chosen = TemplateOf(which);
  ReportRequest request;
  request.templateFile = std::string(chosen.variables->templateName);
  request.title = chosen.title;
  request.records.reserve(selection.size());
  for (const int index : selection) {
    request.records.push_back(members[static_cast<std::size_t>(index)]);
  }
  if (chosen.seedsPlace) request.zeroVariables.push_back("Place");
  request.value = [records = request.records, entity, exercise](const std::string& name,
                                                                int record) {
    if (name == "Entite") return ReportValue::Text(entity);
    if (name == "Exercice") return ReportValue::Text(exercise);
    if (record < 0 || record >= static_cast<int>(records.size())) return ReportValue();
    return MemberValue(name, records[static_cast<std::size_t>(record)]);
  };
  return request;
}

ReportRequest EnvelopeRequest(const std::string& member) {
  ReportRequest request;
  request.templateFile = std::string(kEnvelopeReport.templateName);
  request.value = [member](const std::string& name, int) {
    if (name == "Nom") {
      return ReportValue::Text(ExtractField(member, field::kTitle) + " " +
                               ExtractField(member, field::kLastName) + " " +
                               ExtractField(member, field::kFirstName));
    }
    static constexpr std::pair<const char*, int> kAddress[] = {{"Adresse1", field::kAddress1},
                                                               {"Adresse2", field::kAddress2},
                                                               {"Adresse3", field::kAddress3},
                                                               {"Code", field::kPostalCode},
                                                               {"Ville", field::kTown}};
    for (const auto& [answered, k] : kAddress) {
      if (name == answered) return ReportValue::Text(ExtractField(member, k));
    }
    return ReportValue();
  };
  return request;
}

std::vector<int> WholeFile(const Lines& members) {
  std::vector<int> all(members.size());
  std::iota(all.begin(), all.end(), 0);
  return all;
}

}  // namespace vantrel::members
