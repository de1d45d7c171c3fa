#pragma once

#include <filesystem>
#include <string>

#include "core/report_request.h"
#include "reports/prepared_report.h"
#include "reports/value.h"

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

// The request's pages, laid out without a window exactly as the preview shows them: for the
// batch tool. Throws Error "Impossible d'ouvrir le fichier %s" when the template is missing,
// and an Error listing the template's mistakes when it cannot be prepared.
PreparedReport PrepareRequest(const ReportRequest& request,
                              const std::filesystem::path& programFolder);

// The pages as PDF bytes. Throws Error "Impossible de créer le fichier %s" (naming
// fileName) when the PDF cannot be made.
std::string PdfBytes(const PreparedReport& report, const std::filesystem::path& fileName);

}  // namespace vantrel::reports
