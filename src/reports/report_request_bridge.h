#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

#include "core/report_request.h"
#include "reports/prepared_report.h"
#include "reports/value.h"
#include "reports/value_table.h"
#include "core/variable_declaration.h"

namespace vantrel::reports {

class ReportDocument;

// The engine's value of an answer built by domain code (Windows-1252 text, hundredths).
Value ToValue(const ReportValue& value);

// Sets a report object up for a request (a screen's Report, or a ReportDocument without a
// window): loads the template from the program folder, then sets the record count, the
// seeded variables, the title and the answers. Returns what the load returned (false for a
// missing template: a screen then shows nothing).
bool SetUpReport(ReportDocument& report, const ReportRequest& request,
                 const std::filesystem::path& programFolder);

// As above for a screen that declares the names of its template: the answers go through
// RequestValues(request, declaration), so that the engine asks the request for the declared
// names alone and the designer gets the names and their samples.
bool SetUpReport(ReportDocument& report, const ReportRequest& request,
                 const std::filesystem::path& programFolder, const TemplateVariables& declaration);

// The request's answers as a value table under a declaration: a getter for every declared
// name (seeded ones aside), asking request.value for every record number, the summary's
// included; the request says what a name is outside its records. The table holds a copy of
// the answers.
ValueTable RequestValues(const ReportRequest& request, const TemplateVariables& declaration);
// The same under the declaration of the request's template among tables (FindTemplateVariables);
// a table without declaration nor getter when none declares it.
ValueTable RequestValues(const ReportRequest& request,
                         std::span<const TemplateVariables* const> tables);

// The rule of the batch tools, where nobody looks at a preview: no output is better than a
// wrong one. Every warning of prepared is handed to warn ("Avertissement : ..." in French);
// then throws Error when the report could not be prepared (the template's mistakes, or a
// value that stopped it, with the record) or when any warning is a fault (a value cut, a
// name nobody knows, a value that could not be computed). templatePath names the template
// in the messages.
void CheckForBatch(const PreparedReport& prepared, const QString& templatePath,
                   const std::function<void(const QString&)>& warn);

// The request's pages, laid out without a window exactly as the preview shows them: for the
// batch tool. Throws Error "Impossible d'ouvrir le fichier %s" when the template is missing,
// and as CheckForBatch, whose warnings go to warn.
PreparedReport PrepareRequest(const ReportRequest& request,
                              const std::filesystem::path& programFolder,
                              const std::function<void(const QString&)>& warn);

// The pages as PDF bytes. Throws Error "Impossible de créer le fichier %s" (naming
// fileName) when the PDF cannot be made.
std::string PdfBytes(const PreparedReport& report, const std::filesystem::path& fileName);

}  // namespace vantrel::reports
