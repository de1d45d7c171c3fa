#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "reports/prepared_report.h"
#include "reports/report_template.h"
#include "reports/value.h"

class QWidget;

namespace vantrel::platform {
class Platform;
}

namespace vantrel::reports {

// The engine's own caption, first part of the preview's and the designer's titles.
inline constexpr char kEngineCaption[] = "Aperçu";  // UTF-8

// The report object of one screen: the template loaded last, a title, seeded variables, the
// record count and the screen's value callback. Printing, from a screen:
//   m_report.OnGetValue = [this](const QString& name, int record, reports::Value& value) {
//     if (name == QLatin1String("Entite")) value = reports::Value::FromText(entity);
//     if (record >= static_cast<int>(m_lines.size())) return;  // summary, after the last
//     const std::string& line = m_lines[record];
//     if (name == QLatin1String("Nom")) {
//       value = reports::Value::FromText(ToQString(FieldAt(line, 2)));
//     } else if (name == QLatin1String("Solde")) {
//       value = reports::Value::FromNumber(reports::Decimal::FromCents(cents));
//     }
//   };
//   m_report.LoadFromFile(programFolder + "Gestion_Annuaire.frf");
//   m_report.setRangeEndCount(selection.size());
//   m_report.setVariable("Place", 0);
//   m_report.setTitle("Annuaire");
//   m_report.ShowReport();
// A name the callback does not fill (the value stays empty) goes on to the variables and the
// engine's own names; an empty text is an answer.
class Report {
 public:
  // Called while pages are prepared, for every name a template uses, with value empty:
  // fill it with a text or a number when the name (compared exactly, case included) is the
  // screen's; leave it empty otherwise. record is the current record, 0 to RangeEndCount - 1
  // (RangeEndCount in the summary, after the last record).
  using GetValue = std::function<void(const QString& name, int record, Value& value)>;

  Report(platform::Platform& platform, QWidget* parent);

  GetValue OnGetValue;

  // Reads the template at path, its name matched without regard to letter case (the file
  // found is the one the designer saves). False, with no template kept, when the file is missing or
  // cannot be read; a file that exists but holds errors loads as a broken template whose
  // errors the preview and the designer show. Seeded variables are cleared; the title and
  // the record count stay.
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

  void setTitle(const QString& title) { m_title = title; }
  const QString& title() const { return m_title; }

  // Lays out every page of the loaded template (or of `other`, the designer's unsaved
  // one) over the screen's data.
  PreparedReport prepare() const;
  PreparedReport prepare(const ReportTemplate& other) const;

  // Prepares all pages, then shows the preview modally, captioned with the engine's
  // caption, " - " and the title. Opens nothing when no template is loaded.
  void ShowReport();
  // The designer, modal, on the loaded template, or on an empty page when none is. Its
  // "Aperçu" prepares the template being edited with this object's callback, record count,
  // variables and title: a screen that sets them before designing previews its real data.
  void DesignReport();

  // The template shipped with the program under the same file name, if any.
  static std::optional<QByteArray> ShippedTemplate(const QString& fileName);

 private:
  platform::Platform& m_platform;
  QWidget* m_parent;
  QString m_path;
  bool m_loaded = false;
  ReportTemplate m_template;
  QStringList m_loadErrors;
  int m_count = 0;
  std::vector<std::pair<QString, Value>> m_variables;
  QString m_title;
};

}  // namespace vantrel::reports
