// report-render TEMPLATE DATA.json OUT.pdf
// report-render TEMPLATE DATA.json OUT.csv
//
// Lays out a template over the data of a JSON file (see render_data.h) exactly as a screen
// would through its report object, and writes the pages as PDF, or the printed detail
// records as CSV (report_csv.h) when OUT ends in ".csv". Errors and warnings go to the
// standard error stream, in French. No output is better than a wrong one: a template that
// does not prepare, a value that stops it, and any warning that a value was cut, a name is
// unknown or a value could not be computed write nothing. Exit status: 0 written, 1 not
// written, 2 bad usage. Runs without a window (QT_QPA_PLATFORM=offscreen is set when no
// platform is).

#include <QFile>
#include <QGuiApplication>
#include <cstdio>

#include "platform/qt_translation.h"
#include "reports/page_render.h"
#include "reports/render_data.h"
#include "reports/report_csv.h"
#include "reports/report_document.h"

namespace {

void Print(const QString& text) {
  std::fputs(text.toUtf8().constData(), stderr);
  std::fputc('\n', stderr);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  vantrel::platform::InstallQtFrenchTranslation(application);
  const QStringList arguments = QGuiApplication::arguments();
  if (arguments.size() != 4) {
    Print(QStringLiteral("usage : report-render MODELE.frf DONNEES.json SORTIE.pdf|SORTIE.csv"));
    return 2;
  }
  const QString& templatePath = arguments[1];
  const QString& dataPath = arguments[2];
  const QString& outputPath = arguments[3];

  QFile dataFile(dataPath);
  if (!dataFile.open(QIODevice::ReadOnly)) {
    Print(QStringLiteral("Impossible d'ouvrir le fichier %1").arg(dataPath));
    return 1;
  }
  QString error;
  std::optional<vantrel::reports::RenderData> data =
      vantrel::reports::ParseRenderData(dataFile.readAll(), &error);
  if (!data) {
    Print(QStringLiteral("%1 : %2").arg(dataPath, error));
    return 1;
  }

  vantrel::reports::ReportDocument report;
  if (!report.LoadFromFile(templatePath)) {
    Print(QStringLiteral("Impossible d'ouvrir le fichier %1").arg(templatePath));
    return 1;
  }
  report.setRangeEndCount(static_cast<int>(data->records.size()));
  for (const auto& [name, value] : data->variables) report.setVariable(name, value);
  report.setTitle(data->title);
  report.OnGetValue = [&data](const QString& name, int record, vantrel::reports::Value& value) {
    value = data->answer(name, record);
  };

  vantrel::reports::PreparedReport prepared = report.prepare();
  for (const QString& line : prepared.errors) Print(line);
  for (const QString& line : prepared.warnings) Print(QStringLiteral("Avertissement : ") + line);
  if (!prepared.errors.isEmpty()) return 1;
  // Nobody sees a preview here: a value cut or unknown would make a wrong document.
  if (!prepared.faults.isEmpty()) {
    Print(QStringLiteral("%1 n'est pas écrit : une valeur coupée, inconnue ou impossible à "
                         "calculer le rendrait faux")
              .arg(outputPath));
    return 1;
  }
  bool csv = outputPath.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive);
  bool written = csv ? vantrel::reports::WriteCsvFile(prepared, outputPath, &error)
                     : vantrel::reports::WritePdfFile(prepared, outputPath, &error);
  if (!written) {
    Print(error);
    return 1;
  }
  Print(QStringLiteral("%1 : %2 page(s)").arg(outputPath).arg(prepared.pages.size()));
  return 0;
}
