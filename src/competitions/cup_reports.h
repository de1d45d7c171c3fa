#pragma once

#include <string>

#include "competitions/cup_ranking.h"
#include "competitions/tournament_result.h"
#include "core/report_request.h"

namespace vantrel::competitions {

// The report requests of the cups, the same for the screens and vantrel-cli. Both hold a copy
// of what they print. Answers are Windows-1252 texts; a name of the records asked outside
// them (the summary) is left to the template, and a name the template's declaration does
// not hold is not answered.

// The prize list of a tournament through "Dotation_paires.frf", titled "Dotation des paires":
// one record per result line (Classement1; Nom1; Nom2; Licence1; Licence2; Pc1), and the
// answers of PrizeListValue.
ReportRequest PrizeListReport(const PrizeList& list);

// The ranking of a cup through "Classem_General.frf", titled report.title: one record per
// entry (RankingRecords), and the answers of RankingReportValue.
ReportRequest CupRankingReportRequest(const RankingReport& report);

}  // namespace vantrel::competitions
