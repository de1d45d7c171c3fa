#include "reports/report_compile.h"

#include <QDir>
#include <QSet>
#include <algorithm>
#include <optional>

namespace vantrel::reports {

QString BandWhere(const Band& band) {
  QString where = QStringLiteral("bande « %1 »").arg(BandKindLabel(band.kind));
  if (!band.group.isEmpty()) where += QStringLiteral(" du groupe %1").arg(band.group);
  if (band.source.line > 0) where += QStringLiteral(" (ligne %1)").arg(band.source.line);
  return where;
}

QString ItemWhere(const ReportItem& item) {
  QString where = QStringLiteral("élément %1").arg(ItemKindLabel(item.kind));
  if (item.source.line > 0) where += QStringLiteral(" (ligne %1)").arg(item.source.line);
  return where;
}

QString Capitalised(QString text) {
  if (!text.isEmpty()) text[0] = text[0].toUpper();
  return text;
}

namespace {

// Compiles one template, gathering its mistakes in order.
class Compiler {
 public:
  Compiler(const ReportTemplate& report, const QString& templateFolder)
      : m_report(report), m_templateFolder(templateFolder) {
    for (const Band& band : report.bands) {
      if (band.kind == BandKind::kGroupHeader) m_groups.insert(band.group);
    }
  }

  CompiledTemplate run() {
    for (const VariableDef& def : m_report.variables) m_out.variables.push_back(variable(def));
    for (const Band& band : m_report.bands) m_out.bands.push_back(this->band(band));
    return std::move(m_out);
  }

 private:
  CompiledVariable variable(const VariableDef& def) {
    QString error;
    CompiledVariable variable{&def, Expression::Parse(def.initial, &error)};
    QString where = QStringLiteral("Variable %1").arg(def.name);
    if (def.source.line > 0) where += QStringLiteral(" (ligne %1)").arg(def.source.line);
    if (!variable.initial.isValid()) {
      m_out.errors << QStringLiteral("%1, valeur initiale : %2").arg(where, error);
    }
    if (def.reset == VariableReset::kGroup && !m_groups.contains(def.group)) {
      m_out.errors << QStringLiteral("%1 : aucun en-tête de groupe « %2 »").arg(where, def.group);
    }
    return variable;
  }

  CompiledBand band(const Band& band) {
    CompiledBand compiled;
    compiled.band = &band;
    compiled.where = BandWhere(band);
    const QString where = Capitalised(compiled.where);
    QString error;
    compiled.before = Script::Parse(band.scriptBefore, &error);
    if (!compiled.before.isValid()) {
      m_out.errors << QStringLiteral("%1, script avant : %2").arg(where, error);
    }
    error.clear();
    compiled.after = Script::Parse(band.scriptAfter, &error);
    if (!compiled.after.isValid()) {
      m_out.errors << QStringLiteral("%1, script après : %2").arg(where, error);
    }
    if (band.kind == BandKind::kGroupHeader) {
      error.clear();
      compiled.key = Expression::Parse(band.groupKey, &error);
      if (!compiled.key.isValid()) m_out.errors << QStringLiteral("%1, clé : %2").arg(where, error);
    }
    if (band.kind == BandKind::kGroupFooter && !m_groups.contains(band.group)) {
      m_out.errors << QStringLiteral("%1 : aucun en-tête de groupe « %2 »").arg(where, band.group);
    }
    for (const ReportItem& item : band.items) {
      compiled.items.push_back(
          this->item(band, item, where + QStringLiteral(", ") + ItemWhere(item)));
    }
    return compiled;
  }

  CompiledItem item(const Band& band, const ReportItem& item, const QString& where) {
    CompiledItem ci;
    ci.item = &item;
    QString error;
    QSet<QString> names;
    if (item.kind == ItemKind::kText) {
      ci.text = TextTemplate::Parse(item.content, &error);
      if (!ci.text.isValid()) m_out.errors << QStringLiteral("%1 : %2").arg(where, error);
      ci.text.collectNames(names);
    } else if (item.kind == ItemKind::kField) {
      ci.expression = Expression::Parse(item.content, &error);
      if (!ci.expression.isValid()) m_out.errors << QStringLiteral("%1 : %2").arg(where, error);
      ci.expression.collectNames(names);
    } else if (item.kind == ItemKind::kImage && !item.content.isEmpty()) {
      QString path = QDir(m_templateFolder).filePath(item.content);
      if (!ci.image.load(path)) {
        m_out.warnings << QStringLiteral("%1 : image « %2 » introuvable ou illisible")
                              .arg(where, item.content);
      }
    }
    if (!item.condition.trimmed().isEmpty()) {
      error.clear();
      ci.condition = Expression::Parse(item.condition, &error);
      if (!ci.condition.isValid()) {
        m_out.errors << QStringLiteral("%1, condition de style : %2").arg(where, error);
      }
    }
    ci.usesTotalPages = names.contains(kTotalPagesName);
    if (!item.linesOf.isEmpty() && !leaderFound(band, item)) {
      m_out.errors << QStringLiteral("%1 : lines-of=\"%2\" ne nomme aucun autre texte de la bande")
                          .arg(where, item.linesOf);
    }
    std::optional<ValueFormat> format = ValueFormat::Parse(item.format);
    if (!format) {
      m_out.errors << QStringLiteral(
                          "%1 : format « %2 » inconnu (amount, amount-blank, integer, "
                          "number:N, date, date:MOTIF)")
                          .arg(where, item.format);
    } else {
      ci.format = *format;
    }
    return ci;
  }

  // The text whose lines an item follows: another text of its band, itself following none.
  static bool leaderFound(const Band& band, const ReportItem& item) {
    return std::any_of(band.items.begin(), band.items.end(), [&item](const ReportItem& other) {
      return &other != &item && other.name == item.linesOf && other.linesOf.isEmpty() &&
             (other.kind == ItemKind::kText || other.kind == ItemKind::kField);
    });
  }

  const ReportTemplate& m_report;
  const QString& m_templateFolder;
  QSet<QString> m_groups;
  CompiledTemplate m_out;
};

}  // namespace

CompiledTemplate CompileTemplate(const ReportTemplate& report, const QString& templateFolder) {
  return Compiler(report, templateFolder).run();
}

}  // namespace vantrel::reports
