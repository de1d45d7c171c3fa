#pragma once

#include <span>

#include "core/variable_declaration.h"

namespace vantrel::competitions {

// The names the competition screens answer to their templates, with a sample each: the
// prize list of a tournament's results, the cup ranking, and the convocations to a federal
// event played by teams of four or by pairs.
extern const reports::TemplateVariables kPrizeListReport;        // "Dotation_paires.frf"
extern const reports::TemplateVariables kCupRankingReport;       // "Classem_General.frf"
extern const reports::TemplateVariables kTeamConvocationReport;  // "quatre.frf"
extern const reports::TemplateVariables kPairConvocationReport;  // "paires.frf"

// All of the above.
std::span<const reports::TemplateVariables* const> ReportVariables();

}  // namespace vantrel::competitions
