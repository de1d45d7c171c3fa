#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>
#include <vector>

#include "reports/value.h"

namespace vantrel::reports {

// The data a screen would hand to a report, written as JSON for report-render and tests:
//   {
//     "title": "Annuaire",
//     "variables": {"Place": 0, "Debit": 0.0},
//     "values": {"Entite": "Ardevanne", "Exercice": "2026-2027"},
//     "records": [{"Nom": "DUPONT", "Solde": -25.5}, {"Nom": "MARTIN", "Solde": ""}]
//   }
// "values" are answered for every record, as a screen answers its per-report names;
// "records" gives RangeEndCount and the per-record names. Strings are texts, numbers are
// exact decimals (written as in the file: 12.345 stays 12,345), booleans are booleans.
struct RenderData {
  QString title;
  std::vector<std::pair<QString, Decimal>> variables;
  QHash<QString, Value> values;
  std::vector<QHash<QString, Value>> records;

  // The screen's answer for name at record: the record's own value first, then the
  // report's; empty when neither has it (a record past the last has only the report's).
  Value answer(const QString& name, int record) const;
};

// Nothing, and a French message in *error, when the JSON is not of that shape.
std::optional<RenderData> ParseRenderData(const QByteArray& json, QString* error);

}  // namespace vantrel::reports
