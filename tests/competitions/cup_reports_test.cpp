// The report requests of the cups, as the screens and vantrel-cli hand them to the engine.
#include "competitions/cup_reports.h"

#include <gtest/gtest.h>

#include <string>

#include "competitions/report_variables.h"
#include "competitions/result_page_builder.h"
#include "core/record_file.h"
#include "support/temp_folder.h"

namespace vantrel::competitions {
namespace {

using testing::Fixture;
using testing::W;

// Every name the template's declaration holds has an answer for a record and for the
// summary (the names of the whole report only), and nothing else is answered.
void ExpectDeclaredNamesAnswered(const reports::TemplateVariables& declaration,
                                 const ReportRequest& request) {
  const int summary = static_cast<int>(request.records.size());
  for (const auto& variable : declaration.variables) {
    const std::string name(variable.name);
    EXPECT_EQ(ReportValue::Kind::kText, request.value(name, 0).kind()) << name;
    const auto atSummary = variable.scope == reports::VariableScope::kReport
                               ? ReportValue::Kind::kText
                               : ReportValue::Kind::kEmpty;
    EXPECT_EQ(atSummary, request.value(name, summary).kind()) << name;
  }
  for (const char* other : {"Inconnu", "Page", "Date", "nom1", ""}) {
    EXPECT_EQ(ReportValue(), request.value(other, 0)) << other;
  }
}

class PrizeListReportTest : public ::testing::Test {
 protected:
  PrizeListReportTest() {
    const std::filesystem::path file = m_folder.path() / "open2_table.chr";
    testing::WriteFile(file, Fixture("open2_table.chr"));
    m_results.open(file);
  }
  testing::TempFolder m_folder;
  TournamentResults m_results;
};

TEST_F(PrizeListReportTest, OneRecordPerResultLineWithTheScreensCaption) {
  const PrizeList list = MakePrizeList(m_results, "Ardevanne", "2026-2027",
                                       std::string(kOpenedCaption) + "open2_table.chr");
  EXPECT_EQ("Ardevanne : 2026-2027", list.season);
  EXPECT_EQ(" open2_table.chr", list.event);
  EXPECT_EQ(m_results.total(), list.total);
  EXPECT_EQ(m_results.resultLines(), list.resultLines);

  const ReportRequest request = PrizeListReport(list);
  EXPECT_EQ("Dotation_paires.frf", request.templateFile);
  EXPECT_EQ("Dotation des paires", request.title);
  EXPECT_TRUE(request.zeroVariables.empty());
  ASSERT_EQ(std::size_t{10}, request.records.size());
  EXPECT_EQ("1;Jean DUPONT;Anne MARTIN;00123456;00678901;11,11;", request.records[0]);
  EXPECT_EQ(W("6;Jérôme FAURE;Noël LÉCUYER;00345678;00456789;3,09;"), request.records[5]);

  EXPECT_EQ(ReportValue::Text(W("Jérôme FAURE")), request.value("Nom1", 5));
  EXPECT_EQ(ReportValue::Text(W("Noël LÉCUYER")), request.value("Nom2", 5));
  EXPECT_EQ(ReportValue::Text("3,09"), request.value("Pc1", 5));
  EXPECT_EQ(ReportValue::Text(""), request.value("Licence1", 1));
  EXPECT_EQ(ReportValue::Text("Ardevanne : 2026-2027"), request.value("Saison1", 10));
  EXPECT_EQ(ReportValue::Text(" open2_table.chr"), request.value("Epreuve1", 3));
  EXPECT_EQ(ReportValue::Text("46,92"), request.value("Total_Pc", 10));
  ExpectDeclaredNamesAnswered(kPrizeListReport, request);
}

TEST_F(PrizeListReportTest, ResultsNotYetSavedHaveNoEventAndAnEmptyListNoRecord) {
  const ReportRequest shown =
      PrizeListReport(MakePrizeList(m_results, "Ardevanne", "2026-2027", kResultsCaption));
  EXPECT_EQ(ReportValue::Text(""), shown.value("Epreuve1", 0));

  const ReportRequest empty = PrizeListReport(PrizeList{});
  EXPECT_EQ(Lines{}, empty.records);
  EXPECT_EQ(ReportValue::Text("0,00"), empty.value("Total_Pc", 0));
  EXPECT_EQ(ReportValue(), empty.value("Nom1", 0));
}

TEST(CupRankingReportRequestTest, OneRecordPerEntryWithTheColumnsOfTheCup) {
  RankingReport report;
  report.title = "Classement pour la Coupe 2 des joueurs I.V. <= 30";
  report.season = "2026-2027";
  report.titles = {W("Tournoi de Noël"), "Coupe d'hiver"};
  report.dates = {"19/12/2026", "09/01/2027"};
  RankingEntry first;
  first.rank = "1";
  first.name = W("Jérôme LÉCUYER");
  first.licence = "04521873";
  first.valueIndex = "28";
  first.total = "12,50";
  first.columns[0] = "12,50";
  RankingEntry second = first;
  second.rank = "2";
  second.name = "Anne MARTIN";
  second.columns = {};
  second.columns[15] = "3,10";
  report.entries = {first, second};

  const ReportRequest request = CupRankingReportRequest(report);
  EXPECT_EQ("Classem_General.frf", request.templateFile);
  EXPECT_EQ(report.title, request.title);
  EXPECT_TRUE(request.zeroVariables.empty());
  ASSERT_EQ(std::size_t{2}, request.records.size());
  EXPECT_EQ(W("1;Jérôme LÉCUYER;04521873;28;12,50;12,50;") + std::string(15, ';'),
            request.records[0]);
  // vantrel-cli writes the records as the ranking's CSV.
  EXPECT_EQ(RankingRecords(report.entries),
            (std::vector<std::vector<std::string>>{SplitFields(request.records[0]),
                                                   SplitFields(request.records[1])}));

  EXPECT_EQ(ReportValue::Text(W("Jérôme LÉCUYER")), request.value("ClGeNom", 0));
  EXPECT_EQ(ReportValue::Text("3,10"), request.value("Pc16", 1));
  EXPECT_EQ(ReportValue::Text(""), request.value("Pc16", 0));
  EXPECT_EQ(ReportValue::Text(W("Tournoi de Noël")), request.value("ClT01", 2));
  EXPECT_EQ(ReportValue::Text("09/01"), request.value("ClD02", 0));
  EXPECT_EQ(ReportValue::Text(""), request.value("ClT03", 0));
  EXPECT_EQ(ReportValue::Text(report.title), request.value("Titre", 2));
  EXPECT_EQ(ReportValue(), request.value("ClT17", 0));
  EXPECT_EQ(ReportValue(), request.value("ClGePc", 2));
  ExpectDeclaredNamesAnswered(kCupRankingReport, request);
}

}  // namespace
}  // namespace vantrel::competitions
