#pragma once

#include "reports/prepared_report.h"
#include "reports/report_compile.h"
#include "reports/report_engine.h"

namespace vantrel::reports {

// Lays the bands of a compiled template (without errors) out over the input, page after
// page, into out: its pages, its warnings and faults (after those already there), and the
// table of the printed detail records. The order of the bands and the rules of the page
// breaks are those PrepareReport tells.
// An assignment or an initial value that cannot be computed stops it: out then has no
// pages and no rows, stopped set and one more error saying which and where.
void Paginate(const ReportTemplate& report, const ReportInput& input,
              const CompiledTemplate& compiled, PreparedReport& out);

}  // namespace vantrel::reports
