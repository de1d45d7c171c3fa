#pragma once

#include <string>
#include <vector>

#include "core/record_file.h"
#include "core/report_request.h"

namespace vantrel::members {

// The three lists the listings screen prints over its selection, one record per member.
enum class ListingReport { kDirectory, kDuesList, kAssembly };

// The request of one list: the template ("Gestion_Annuaire.frf", "Gestion_Tresorerie.frf",
// "Gestion_Assemble.frf"), the title ("Annuaire", "Tresorerie", "Assemblée"), the selected
// member lines as records in selection order, "Place" seeded with 0 for the assembly list,
// and the answers: "Entite" and "Exercice" (Windows-1252 texts as given), the per-member names
// of ListingReportValue taken as stored, and "Solde" as field 68 in cents (an empty text when
// the field is empty or not a whole number). selection: indices into members.
ReportRequest ListingReportRequest(ListingReport which, const Lines& members,
                                   const std::vector<int>& selection, const std::string& entity,
                                   const std::string& exercise);

// The envelope of one member through "Gestion_Enveloppes.frf", as the consultation screen
// prints it for the member shown: no title, no record, and the answers "Nom" (title, last
// name and first name, each joined by a blank), "Adresse1" to "Adresse3", "Code" and "Ville",
// fields as stored (an empty member line answers empty texts).
ReportRequest EnvelopeRequest(const std::string& member);

// Every member of the file, in file order: the selection of the batch outputs.
std::vector<int> WholeFile(const Lines& members);

}  // namespace vantrel::members
