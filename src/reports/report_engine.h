#pragma once

#include <QDateTime>
#include <QString>
#include <functional>
#include <vector>

#include "reports/prepared_report.h"
#include "reports/report_template.h"
#include "reports/value.h"

namespace vantrel::reports {

// What a report is prepared over: a count of records and the screen's answers.
struct ReportInput {
  int recordCount = 0;
  // The screen's value for a name at a record, compared exactly; an empty Value when the
  // screen does not know the name. Asked at most once per record and name.
  std::function<Value(const QString& name, int record)> getValue;
  // Variables seeded by the screen; they start with these values and override the
  // template's own initial values of the same name.
  std::vector<std::pair<QString, Value>> variables;
  QString title;
  QDateTime now = QDateTime::currentDateTime();
  // Folder against which image files of the template are found.
  QString templateFolder;
};

// The names the engine itself answers, after the screen and the variables:
//   Page (number of the page), NbPages (pages in all), Ligne (record number + 1),
//   NumEnreg (record number from 0), Date (today), Heure ("14:05"), TitreEtat (the title).
QStringList BuiltInNames();

// Lays the template out over the input. A template whose expressions do not parse gives no
// pages and its errors; problems met while evaluating give warnings. An assignment of a band
// or a variable's initial value that cannot be computed (a text that is no number, a result
// too large) stops the preparation: no pages, stopped set, and one error naming the band,
// the record and the assignment, so that a running total never starts again from nothing.
// Never throws.
//
// Order of the bands: on every page the page header (unless on-first-page="false" on page
// 1), on the first page the title, then the column header (repeated on every page), then
// for each record the group footers of the groups that end, the group headers of the
// groups that start and the detail bands, then the last group footers and the summary; the
// page footer closes every page, in space reserved for it. A band that does not fit on the
// page goes to the next one whole, with its assignments undone and run again there.
PreparedReport PrepareReport(const ReportTemplate& report, const ReportInput& input);

// The errors PrepareReport would give for the template (expressions, scripts, formats,
// groups), without preparing anything: the designer shows them as the template is edited.
QStringList TemplateErrors(const ReportTemplate& report);

}  // namespace vantrel::reports
