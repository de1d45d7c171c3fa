#pragma once

#include <span>

#include "core/variable_declaration.h"

namespace vantrel::accounting {

// The names the accounting screens answer to their templates, with a sample each.
// The books screen prints the journal, an account's ledger, the trial balance and the
// accounts in use; the chart screen prints the whole chart with the same names; the
// statements screen prints the income statement and the balance sheet.
extern const reports::TemplateVariables kJournalReport;          // "Gestion_Livre.frf"
extern const reports::TemplateVariables kLedgerReport;           // "Gestion_Compte.frf"
extern const reports::TemplateVariables kTrialBalanceReport;     // "Gestion_Balance.frf"
extern const reports::TemplateVariables kChartReport;            // "Gestion_Plan.frf"
extern const reports::TemplateVariables kIncomeStatementReport;  // "Gestion_Resultat.frf"
extern const reports::TemplateVariables kBalanceSheetReport;     // "Gestion_Bilan.frf"

// All of the above.
std::span<const reports::TemplateVariables* const> ReportVariables();

}  // namespace vantrel::accounting
