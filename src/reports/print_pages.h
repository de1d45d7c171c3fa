#pragma once

#include "reports/prepared_report.h"

class QPrinter;

namespace vantrel::reports {

// Pages fromPage to toPage (counted from 1, clamped; 0 and 0 for all) on a printer whose
// paper was set up with ApplyPageSetup, moved by the template's print offset.
void PrintPages(const PreparedReport& report, QPrinter& printer, int fromPage, int toPage);

}  // namespace vantrel::reports
