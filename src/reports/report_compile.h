#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <vector>

#include "reports/expression.h"
#include "reports/report_template.h"
#include "reports/value_format.h"

namespace vantrel::reports {

// The name of the page count, known only once every page is laid out.
inline const QString kTotalPagesName = QStringLiteral("NbPages");

// An item of the template with its expressions parsed and its image read.
struct CompiledItem {
  const ReportItem* item = nullptr;
  TextTemplate text;      // ItemKind::kText
  Expression expression;  // ItemKind::kField
  Expression condition;   // conditional style; invalid when none
  ValueFormat format;
  QImage image;
  bool usesTotalPages = false;  // its text reads NbPages
};

struct CompiledBand {
  const Band* band = nullptr;
  Script before;
  Script after;
  Expression key;  // group header
  std::vector<CompiledItem> items;
  QString where;  // "bande « Détail » (ligne 12)"
};

struct CompiledVariable {
  const VariableDef* def = nullptr;
  Expression initial;
};

// The template with every expression parsed, in the template's order. The pointers lead
// into the template, which must outlive it.
struct CompiledTemplate {
  std::vector<CompiledBand> bands;
  std::vector<CompiledVariable> variables;
  // The template's mistakes, in French with their place: an expression, script or
  // condition that does not parse, an unknown format, a group footer or a variable naming
  // no group header, a lines-of naming no other text of its band. Nothing can be prepared
  // while there is one.
  QStringList errors;
  // What can be printed without: an image that cannot be read.
  QStringList warnings;
};

// Parses every expression of the template; images are read from templateFolder.
CompiledTemplate CompileTemplate(const ReportTemplate& report, const QString& templateFolder);

// "bande « En-tête de groupe » du groupe Cl (ligne 12)"
QString BandWhere(const Band& band);
// "élément Champ (ligne 14)"
QString ItemWhere(const ReportItem& item);
// The text with its first letter in upper case, to begin a message with a place.
QString Capitalised(QString text);

}  // namespace vantrel::reports
