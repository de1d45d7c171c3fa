#pragma once

#include <QByteArray>
#include <QString>

#include "reports/prepared_report.h"

namespace vantrel::reports {

// The detail records of a prepared report for a spreadsheet: a heading line with the names
// of the texts of the detail bands (PreparedReport::tableHeader), then one line per printed
// record with the texts as printed. Fields are separated by ";", in Windows-1252 (a
// character it cannot hold becomes "?"), each line ended by CR LF; a ";" inside a text
// becomes "," and a line break a space, so every line keeps its columns.
//   Nom;Prénom;Solde
//   LÉCUYER;Hélène;-25,50
QByteArray TableCsv(const PreparedReport& report);

// TableCsv written atomically to path; a French message in *error when it cannot be.
bool WriteCsvFile(const PreparedReport& report, const QString& path, QString* error);

}  // namespace vantrel::reports
