#pragma once

#include "cli/cli.h"

namespace vantrel::cli {

// "print classement N [--limite IV] OUT": the ranking of cup N (1 to 4), open or limited to
// the value indexes up to IV (20 to 100), through "Classem_General.frf".
int PrintCupRanking(CliContext& context, const Arguments& args);

// "print dotation FILE.chr OUT": the prize list of a result file through "Dotation_paires.frf".
int PrintPrizeList(CliContext& context, const Arguments& args);

}  // namespace vantrel::cli
