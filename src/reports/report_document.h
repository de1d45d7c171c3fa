#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "reports/prepared_report.h"
#include "reports/report_template.h"
#include "reports/value.h"
#include "reports/value_table.h"

namespace vantrel::reports {

// A report without any window: the template loaded last, a title, seeded variables, the
// record count and the values (a callback, a value table or both). What a batch tool needs
// to print a template to PDF or CSV:
//
//   ReportDocument document;
//   document.setValues(std::move(table));        // or document.OnGetValue = ...
//   if (!document.LoadFromFile(programFolder + "Gestion_Livre.frf")) ...;
//   document.setRangeEndCount(lines.size());
//   document.setVariable("Debit", 0);
//   document.setTitle("Livre Journal");
//   PreparedReport pages = document.prepare();   // errors and warnings inside
//   WritePdfFile(pages, "journal.pdf", &error);  // page_render.h; or WriteCsvFile
//
// The screens' report object (reports/report.h) adds the preview and the designer.
class ReportDocument {
 public:
  // Called while pages are prepared, for every name a template uses, with value empty:
  // fill it with a text or a number when the name (compared exactly, case included) is the
  // screen's; leave it empty otherwise. record is the current record, 0 to RangeEndCount - 1
  // (RangeEndCount in the summary, after the last record). Asked before the value table.
  using GetValue = std::function<void(const QString& name, int record, Value& value)>;

  ReportDocument() = default;
  virtual ~ReportDocument() = default;

  GetValue OnGetValue;

  // The screen's answers by name (reports/value_table.h); its declaration also gives the
  // designer its names and samples. Kept across loads.
  void setValues(ValueTable table) { m_values = std::move(table); }
  const ValueTable& values() const { return m_values; }
  // The declaration of the names the screen answers, when it gave one.
  // A screen that answers through OnGetValue alone may still declare its names.
  void setDeclaration(const TemplateVariables* declaration) { m_declaration = declaration; }
  const TemplateVariables* declaration() const {
    return m_values.declaration() ? m_values.declaration() : m_declaration;
  }

  // Reads the template at path, its name matched without regard to letter case (the file
  // found is the one the designer saves). False, with no template kept, when the file is
  // missing or cannot be read; a file that exists but holds errors loads as a broken
  // template whose errors prepare() gives. Seeded variables are cleared; the title, the
  // record count and the values stay.
  bool LoadFromFile(const QString& path);
  bool hasTemplate() const { return m_loaded; }
  const QString& templatePath() const { return m_path; }
  // Why the template last read is broken (French, with line and column); empty when sound.
  const QStringList& loadErrors() const { return m_loadErrors; }
  const ReportTemplate& reportTemplate() const { return m_template; }

  void setRangeEndCount(int count) { m_count = count < 0 ? 0 : count; }
  int RangeEndCount() const { return m_count; }

  // Seeds a variable for the next preparation; the template's assignments update it.
  void setVariable(const QString& name, int value);
  void setVariable(const QString& name, Decimal value);
  // Rounded to the nearest ten-thousandth.
  void setVariable(const QString& name, double value);
  bool hasSeededVariables() const { return !m_variables.empty(); }

  void setTitle(const QString& title) { m_title = title; }
  const QString& title() const { return m_title; }

  // The clock whose date and time print as "Date" and "Heure"; the machine's by default.
  void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
  QDateTime now() const { return m_clock ? m_clock() : QDateTime::currentDateTime(); }

  // Lays out every page of the loaded template (or of `other`, the designer's unsaved
  // one) over the screen's data. A broken template gives no pages and its errors.
  PreparedReport prepare() const;
  PreparedReport prepare(const ReportTemplate& other) const;
  // As prepare(other), but over the samples of the declaration (every record answering the
  // samples) when the screen has set no data: no record count and no seeded variable.
  PreparedReport prepareWithSamples(const ReportTemplate& other) const;

 protected:
  ReportInput input() const;

 private:
  QString m_path;
  bool m_loaded = false;
  ReportTemplate m_template;
  QStringList m_loadErrors;
  int m_count = 0;
  std::vector<std::pair<QString, Value>> m_variables;
  QString m_title;
  ValueTable m_values;
  const TemplateVariables* m_declaration = nullptr;
  std::function<QDateTime()> m_clock;
};

}  // namespace vantrel::reports
