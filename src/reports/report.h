#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "reports/report_document.h"

class QWidget;

namespace vantrel::platform {
class Platform;
}

namespace vantrel::reports {

// The engine's own caption, first part of the preview's and the designer's titles.
inline constexpr char kEngineCaption[] = "Aperçu";  // UTF-8

// The report object of one screen: a ReportDocument (template, title, seeded variables,
// record count, the screen's values) with the preview and the designer. Printing, from a
// screen, with a value table built once in the constructor (reports/value_table.h):
//   ValueTable table(members::kDirectoryReport);
//   table.report("Entite", [this] { return TextFromCp1252(m_settings.entity); });
//   table.record("Nom", [this](int r) { return TextFromCp1252(FieldAt(m_lines[r], 2)); });
//   m_report.setValues(std::move(table));
//   ...
//   m_report.LoadFromFile(programFolder + "Gestion_Annuaire.frf");
//   m_report.setRangeEndCount(selection.size());
//   m_report.setVariable("Place", 0);
//   m_report.setTitle("Annuaire");
//   m_report.ShowReport();
// or with the callback alone:
//   m_report.OnGetValue = [this](const QString& name, int record, reports::Value& value) {
//     if (name == QLatin1String("Entite")) value = reports::Value::FromText(entity);
//   };
// A name the screen does not fill (the value stays empty) goes on to the variables and the
// engine's own names; an empty text is an answer. "Date" and "Heure" come from the
// platform's clock.
class Report : public ReportDocument {
 public:
  Report(platform::Platform& platform, QWidget* parent);

  // Prepares all pages, then shows the preview modally, captioned with the engine's
  // caption, " - " and the title (without one, the template's name, else its file name);
  // the wait cursor shows until the first page is drawn.
  // Opens nothing when no template is loaded.
  void ShowReport();
  // The designer, modal, on the loaded template, or on an empty page when none is. Its
  // "Aperçu" prepares the template being edited with this object's values, record count,
  // variables and title; with no record count and no variable set it prints the samples of
  // the screen's declaration.
  void DesignReport();

  // The template shipped with the program under the same file name, if any.
  static std::optional<QByteArray> ShippedTemplate(const QString& fileName);

 private:
  platform::Platform& m_platform;
  QWidget* m_parent;
};

}  // namespace vantrel::reports
