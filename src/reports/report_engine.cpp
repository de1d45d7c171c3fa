#include "reports/report_engine.h"

#include "reports/paginate.h"
#include "reports/report_compile.h"

namespace vantrel::reports {

QStringList BuiltInNames() {
  return {QStringLiteral("Page"),     QStringLiteral("NbPages"), QStringLiteral("Ligne"),
          QStringLiteral("NumEnreg"), QStringLiteral("Date"),    QStringLiteral("Heure"),
          QStringLiteral("TitreEtat")};
}

QStringList TemplateErrors(const ReportTemplate& report) {
  return CompileTemplate(report, QString()).errors;
}

PreparedReport PrepareReport(const ReportTemplate& report, const ReportInput& input) {
  PreparedReport out;
  out.page = report.page;
  out.title = input.title;
  QSizeF size = report.page.sizeMm();
  if (size.width() <= report.page.marginLeft + report.page.marginRight + 1 ||
      size.height() <= report.page.marginTop + report.page.marginBottom + 1) {
    out.errors << QStringLiteral("Les marges ne laissent aucune place sur la page (%1 × %2 mm)")
                      .arg(size.width())
                      .arg(size.height());
    return out;
  }
  CompiledTemplate compiled = CompileTemplate(report, input.templateFolder);
  out.warnings = compiled.warnings;
  if (!compiled.errors.isEmpty()) {
    out.errors = compiled.errors;
    return out;
  }
  Paginate(report, input, compiled, out);
  return out;
}

}  // namespace vantrel::reports
