#include "reports/report_csv.h"

#include <QSaveFile>
#include <string>

#include "core/cp1252.h"

namespace vantrel::reports {
namespace {

void AppendLine(QByteArray& out, const QStringList& fields) {
  for (qsizetype i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ';';
    QString field = fields[i];
    field.replace(QLatin1Char(';'), QLatin1Char(','));
    field.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    field.replace(QLatin1Char('\r'), QLatin1Char(' '));
    field.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::string bytes = Utf8ToCp1252(field.toStdString());
    out.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
  }
  out += "\r\n";
}

}  // namespace

QByteArray TableCsv(const PreparedReport& report) {
  QByteArray out;
  AppendLine(out, report.tableHeader);
  for (const QStringList& row : report.tableRows) AppendLine(out, row);
  return out;
}

bool WriteCsvFile(const PreparedReport& report, const QString& path, QString* error) {
  QSaveFile file(path);
  QByteArray bytes = TableCsv(report);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    *error = QStringLiteral("Impossible de créer le fichier %1").arg(path);
    return false;
  }
  return true;
}

}  // namespace vantrel::reports
