#pragma once

#include <span>

#include "core/variable_declaration.h"

namespace vantrel::members {

// The names the member screens answer to their templates, with a sample each.
// The listings screen prints the directory, the dues list and the assembly list over the
// selection (one record per member); the consultation screen prints one envelope for the
// member shown.
extern const reports::TemplateVariables kDirectoryReport;  // "Gestion_Annuaire.frf"
extern const reports::TemplateVariables kDuesListReport;   // "Gestion_Tresorerie.frf"
extern const reports::TemplateVariables kAssemblyReport;   // "Gestion_Assemble.frf"
extern const reports::TemplateVariables kEnvelopeReport;   // "Gestion_Enveloppes.frf"

// All of the above.
std::span<const reports::TemplateVariables* const> ReportVariables();

}  // namespace vantrel::members
