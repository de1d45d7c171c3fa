#pragma once

#include <functional>
#include <optional>
#include <string>

#include "competitions/cup_ranking.h"
#include "competitions/tournament_result.h"
#include "reports/value_table.h"

namespace vantrel::competitions {

// The value tables of the cups' two templates, one getter per declared name, each answering
// from the domain's values (Windows-1252 texts): the screens and vantrel-cli print the same
// values. The tables read *list and *report when the engine asks, so they must outlive it.
reports::ValueTable PrizeListValues(const PrizeList* list);
reports::ValueTable CupRankingValues(const RankingReport* report);

}  // namespace vantrel::competitions
