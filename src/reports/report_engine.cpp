#include "reports/report_engine.h"

#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QSet>
#include <algorithm>
#include <memory>

#include "reports/expression.h"
#include "reports/value_format.h"

namespace vantrel::reports {
namespace {

constexpr double kMeasureDpi = 1200;
constexpr double kMmPerInch = 25.4;
const QString kTotalPagesName = QStringLiteral("NbPages");

// ---------------------------------------------------------------------------------------
// The template with every expression parsed.

struct CompiledItem {
  const ReportItem* item = nullptr;
  TextTemplate text;      // ItemKind::Text
  Expression expression;  // ItemKind::Field
  ValueFormat format;
  QImage image;
  bool usesTotalPages = false;
};

struct CompiledBand {
  const Band* band = nullptr;
  Script before;
  Script after;
  Expression key;
  std::vector<CompiledItem> items;
  QString where;  // "bande « Détail » (ligne 12)"
};

struct CompiledVariable {
  const VariableDef* def = nullptr;
  Expression initial;
};

struct Compiled {
  std::vector<CompiledBand> bands;
  std::vector<CompiledVariable> variables;
  QStringList errors;
  QStringList warnings;
};

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

Compiled Compile(const ReportTemplate& report, const QString& templateFolder) {
  Compiled c;
  QSet<QString> groups;
  for (const Band& band : report.bands) {
    if (band.kind == BandKind::GroupHeader) groups.insert(band.group);
  }
  for (const VariableDef& def : report.variables) {
    QString error;
    CompiledVariable variable{&def, Expression::Parse(def.initial, &error)};
    QString where = QStringLiteral("Variable %1").arg(def.name);
    if (def.source.line > 0) where += QStringLiteral(" (ligne %1)").arg(def.source.line);
    if (!variable.initial.isValid()) {
      c.errors << QStringLiteral("%1, valeur initiale : %2").arg(where, error);
    }
    if (def.reset == VariableReset::Group && !groups.contains(def.group)) {
      c.errors << QStringLiteral("%1 : aucun en-tête de groupe « %2 »").arg(where, def.group);
    }
    c.variables.push_back(std::move(variable));
  }
  for (const Band& band : report.bands) {
    CompiledBand compiled;
    compiled.band = &band;
    compiled.where = BandWhere(band);
    QString error;
    compiled.before = Script::Parse(band.scriptBefore, &error);
    if (!compiled.before.isValid()) {
      c.errors << QStringLiteral("%1, script avant : %2").arg(Capitalised(compiled.where), error);
    }
    error.clear();
    compiled.after = Script::Parse(band.scriptAfter, &error);
    if (!compiled.after.isValid()) {
      c.errors << QStringLiteral("%1, script après : %2").arg(Capitalised(compiled.where), error);
    }
    if (band.kind == BandKind::GroupHeader) {
      error.clear();
      compiled.key = Expression::Parse(band.groupKey, &error);
      if (!compiled.key.isValid()) {
        c.errors << QStringLiteral("%1, clé : %2").arg(Capitalised(compiled.where), error);
      }
    }
    if (band.kind == BandKind::GroupFooter && !groups.contains(band.group)) {
      c.errors << QStringLiteral("%1 : aucun en-tête de groupe « %2 »")
                      .arg(Capitalised(compiled.where), band.group);
    }
    for (const ReportItem& item : band.items) {
      CompiledItem ci;
      ci.item = &item;
      QString where = Capitalised(compiled.where) + QStringLiteral(", ") + ItemWhere(item);
      error.clear();
      QSet<QString> names;
      if (item.kind == ItemKind::Text) {
        ci.text = TextTemplate::Parse(item.content, &error);
        if (!ci.text.isValid()) c.errors << QStringLiteral("%1 : %2").arg(where, error);
        ci.text.collectNames(names);
      } else if (item.kind == ItemKind::Field) {
        ci.expression = Expression::Parse(item.content, &error);
        if (!ci.expression.isValid()) c.errors << QStringLiteral("%1 : %2").arg(where, error);
        ci.expression.collectNames(names);
      } else if (item.kind == ItemKind::Image && !item.content.isEmpty()) {
        QString path = QDir(templateFolder).filePath(item.content);
        if (!ci.image.load(path)) {
          c.warnings << QStringLiteral("%1 : image « %2 » introuvable ou illisible")
                            .arg(where, item.content);
        }
      }
      ci.usesTotalPages = names.contains(kTotalPagesName);
      std::optional<ValueFormat> format = ValueFormat::Parse(item.format);
      if (!format) {
        c.errors << QStringLiteral(
                        "%1 : format « %2 » inconnu (amount, amount-blank, integer, "
                        "number:N, date, date:MOTIF)")
                        .arg(where, item.format);
      } else {
        ci.format = *format;
      }
      compiled.items.push_back(std::move(ci));
    }
    c.bands.push_back(std::move(compiled));
  }
  return c;
}

// ---------------------------------------------------------------------------------------
// Text measurement, once, at 1200 dpi.

struct FontInfo {
  QFont font;
  std::unique_ptr<QFontMetricsF> metrics;
  double lineHeightMm = 0;
};

class Measurer {
 public:
  Measurer() : m_device(1, 1, QImage::Format_ARGB32) {
    int dotsPerMeter = qRound(kMeasureDpi / kMmPerInch * 1000);
    m_device.setDotsPerMeterX(dotsPerMeter);
    m_device.setDotsPerMeterY(dotsPerMeter);
  }

  const FontInfo& font(const FontStyle& style) {
    QString key = QStringLiteral("%1|%2|%3%4%5")
                      .arg(style.family)
                      .arg(style.pointSize)
                      .arg(int(style.bold))
                      .arg(int(style.italic))
                      .arg(int(style.underline));
    auto it = m_fonts.find(key);
    if (it != m_fonts.end()) return *it->second;
    auto info = std::make_unique<FontInfo>();
    info->font = QFont(style.family);
    info->font.setPointSizeF(style.pointSize);
    info->font.setBold(style.bold);
    info->font.setItalic(style.italic);
    info->font.setUnderline(style.underline);
    info->metrics = std::make_unique<QFontMetricsF>(info->font, &m_device);
    info->lineHeightMm = info->metrics->lineSpacing() / kMeasureDpi * kMmPerInch;
    const FontInfo& result = *info;
    m_fonts.emplace(key, std::move(info));
    return result;
  }

  // The text broken into lines no wider than widthMm, at spaces where possible.
  QStringList wrap(const QString& text, const FontInfo& font, double widthMm) {
    double width = widthMm / kMmPerInch * kMeasureDpi;
    QStringList lines;
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    for (const QString& paragraph : paragraphs) {
      QString line;
      const QStringList words = paragraph.split(QLatin1Char(' '));
      for (const QString& word : words) {
        QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (font.metrics->horizontalAdvance(candidate) <= width) {
          line = candidate;
          continue;
        }
        if (!line.isEmpty()) lines << line;
        line = word;
        while (line.size() > 1 && font.metrics->horizontalAdvance(line) > width) {
          int fit = 1;
          while (fit < line.size() &&
                 font.metrics->horizontalAdvance(line.left(fit + 1)) <= width) {
            ++fit;
          }
          lines << line.left(fit);
          line = line.mid(fit);
        }
      }
      lines << line;
    }
    return lines;
  }

 private:
  QImage m_device;
  std::map<QString, std::unique_ptr<FontInfo>> m_fonts;
};

// ---------------------------------------------------------------------------------------
// Pagination.

using Variables = QHash<QString, Value>;

// A text that uses NbPages, evaluated again once the page count is known.
struct Deferred {
  const CompiledItem* item = nullptr;
  QString where;
  Variables variables;
  int record = 0;
  int pageNumber = 0;
  std::size_t page = 0;
  std::size_t index = 0;  // in the page's items
};

struct LaidBand {
  double height = 0;
  std::vector<DisplayItem> items;  // relative to the band's corner
  std::vector<std::pair<std::size_t, const CompiledItem*>> deferred;  // item index, source
};

class Preparer : public EvalContext {
 public:
  Preparer(const ReportTemplate& report, const ReportInput& input, const Compiled& compiled,
           PreparedReport& out)
      : m_report(report), m_input(input), m_compiled(compiled), m_out(out) {
    QSizeF size = report.page.sizeMm();
    m_pageWidth = size.width();
    m_pageHeight = size.height();
    m_bodyWidth = m_pageWidth - report.page.marginLeft - report.page.marginRight;
    for (const CompiledBand& band : compiled.bands) {
      switch (band.band->kind) {
        case BandKind::Title:
          m_title = &band;
          break;
        case BandKind::PageHeader:
          m_pageHeader = &band;
          break;
        case BandKind::ColumnHeader:
          m_columnHeader = &band;
          break;
        case BandKind::GroupHeader:
          m_groupHeaders.push_back(&band);
          break;
        case BandKind::Detail:
          m_details.push_back(&band);
          break;
        case BandKind::GroupFooter:
          m_groupFooters.push_back(&band);
          break;
        case BandKind::Summary:
          m_summary = &band;
          break;
        case BandKind::PageFooter:
          m_pageFooter = &band;
          break;
      }
    }
  }

  void run() {
    int count = std::max(0, m_input.recordCount);
    setRecord(0);
    initialiseVariables();
    startPage(false);
    if (m_title) placeBand(*m_title);
    if (m_columnHeader) placeBand(*m_columnHeader);
    std::vector<Value> keys(m_groupHeaders.size());
    for (int r = 0; r < count; ++r) {
      setRecord(r);
      std::size_t changed = m_groupHeaders.size();
      std::vector<Value> current(m_groupHeaders.size());
      for (std::size_t g = 0; g < m_groupHeaders.size(); ++g) {
        m_where = m_groupHeaders[g]->where;
        current[g] = m_groupHeaders[g]->key.evaluate(*this);
        if (changed == m_groupHeaders.size() && (r == 0 || !(current[g] == keys[g]))) changed = g;
      }
      if (r > 0 && changed < m_groupHeaders.size()) {
        setRecord(r - 1);
        closeGroups(changed);
        setRecord(r);
      }
      if (changed < m_groupHeaders.size()) keepHeadersWithFirstDetail(changed);
      for (std::size_t g = changed; g < m_groupHeaders.size(); ++g) {
        resetGroupVariables(m_groupHeaders[g]->band->group);
        placeBand(*m_groupHeaders[g]);
      }
      keys = std::move(current);
      for (const CompiledBand* detail : m_details) {
        placeBand(*detail);
        if (detail->band->pageBreakAfter && r + 1 < count) newPage();
      }
    }
    if (count > 0) {
      setRecord(count - 1);
      closeGroups(0);
    }
    setRecord(count);
    if (m_summary) placeBand(*m_summary);
    finishPage();
    resolveDeferred();
  }

  std::optional<Value> lookup(const QString& name) override {
    if (m_input.getValue) {
      auto cached = m_cache.constFind(name);
      if (cached != m_cache.constEnd()) {
        if (!cached->isEmpty()) return *cached;
      } else {
        Value answer = m_input.getValue(name, m_record);
        m_cache.insert(name, answer);
        if (!answer.isEmpty()) return answer;
      }
    }
    auto variable = m_variables.constFind(name);
    if (variable != m_variables.constEnd()) return *variable;
    if (name == QLatin1String("Page")) return Value::FromInteger(m_pageNumber);
    if (name == kTotalPagesName) return Value::FromInteger(m_totalPages);
    if (name == QLatin1String("Ligne")) return Value::FromInteger(m_record + 1);
    if (name == QLatin1String("NumEnreg")) return Value::FromInteger(m_record);
    if (name == QLatin1String("Date")) return Value::FromDate(m_input.now.date());
    if (name == QLatin1String("Heure")) {
      return Value::FromText(m_input.now.time().toString(QStringLiteral("HH:mm")));
    }
    if (name == QLatin1String("TitreEtat")) return Value::FromText(m_input.title);
    return std::nullopt;
  }

  void assign(const QString& name, const Value& value) override { m_variables.insert(name, value); }

  void warn(const QString& message) override {
    QString text = Capitalised(m_where) + QStringLiteral(" : ") + message;
    if (!m_warned.contains(text)) {
      m_warned.insert(text);
      m_out.warnings << text;
    }
  }

 private:
  void setRecord(int record) {
    if (record != m_record) m_cache.clear();
    m_record = record;
  }

  void initialiseVariables() {
    m_where = QStringLiteral("variables");
    for (const CompiledVariable& variable : m_compiled.variables) {
      m_variables.insert(variable.def->name, variable.initial.evaluate(*this));
    }
    for (const auto& [name, value] : m_input.variables) m_variables.insert(name, value);
  }

  void resetVariables(VariableReset reset, const QString& group) {
    for (const CompiledVariable& variable : m_compiled.variables) {
      if (variable.def->reset != reset) continue;
      if (reset == VariableReset::Group && variable.def->group != group) continue;
      m_where = QStringLiteral("variable %1").arg(variable.def->name);
      m_variables.insert(variable.def->name, variable.initial.evaluate(*this));
    }
  }

  void resetGroupVariables(const QString& group) { resetVariables(VariableReset::Group, group); }

  // Footers of the groups from the innermost one down to level `outermost`.
  void closeGroups(std::size_t outermost) {
    for (std::size_t g = m_groupHeaders.size(); g-- > outermost;) {
      const QString& group = m_groupHeaders[g]->band->group;
      for (const CompiledBand* footer : m_groupFooters) {
        if (footer->band->group == group) placeBand(*footer);
      }
    }
  }

  // Group headers are not left alone at the foot of a page: when they and the first detail
  // band (at its drawn height) do not fit, the page ends before them.
  void keepHeadersWithFirstDetail(std::size_t first) {
    if (m_fresh) return;
    double needed = m_details.empty() ? 0 : m_details.front()->band->height;
    for (std::size_t g = first; g < m_groupHeaders.size(); ++g) {
      needed += m_groupHeaders[g]->band->height;
    }
    double y = m_inColumns ? std::max(m_y, m_columnBottom) : m_y;
    if (y + needed > m_bottom + 1e-9) {
      m_inColumns = false;
      newPage();
    }
  }

  bool footerOnThisPage() const {
    return m_pageFooter && (m_pageNumber > 1 || m_pageFooter->band->onFirstPage);
  }

  void startPage(bool withColumnHeader) {
    m_out.pages.emplace_back();
    ++m_pageNumber;
    resetVariables(VariableReset::Page, QString());
    m_y = m_report.page.marginTop;
    m_bottom = m_pageHeight - m_report.page.marginBottom -
               (footerOnThisPage() ? m_pageFooter->band->height : 0);
    m_inColumns = false;
    if (m_pageHeader && (m_pageNumber > 1 || m_pageHeader->band->onFirstPage)) {
      LaidBand laid = layBand(*m_pageHeader, m_bodyWidth);
      put(laid, m_report.page.marginLeft, m_y);
      m_y += laid.height;
      runAfter(*m_pageHeader);
    }
    if (withColumnHeader && m_columnHeader) {
      LaidBand laid = layBand(*m_columnHeader, m_bodyWidth);
      put(laid, m_report.page.marginLeft, m_y);
      m_y += laid.height;
      runAfter(*m_columnHeader);
    }
    m_fresh = true;
  }

  void finishPage() {
    if (!footerOnThisPage()) return;
    LaidBand laid = layBand(*m_pageFooter, m_bodyWidth);
    put(laid, m_report.page.marginLeft,
        m_pageHeight - m_report.page.marginBottom - m_pageFooter->band->height);
    runAfter(*m_pageFooter);
  }

  void newPage() {
    finishPage();
    startPage(true);
  }

  void runAfter(const CompiledBand& band) {
    m_where = band.where;
    band.after.run(*this);
  }

  // Places a band in the page body (any band but the page header and footer), moving it to
  // the next column or page whole when it does not fit. Its assignments run once for the
  // place where it is finally printed.
  void placeBand(const CompiledBand& band) {
    int columns = band.band->kind == BandKind::Detail ? band.band->columns : 1;
    double gap = band.band->columnGap;
    double columnWidth = columns > 1 ? (m_bodyWidth - gap * (columns - 1)) / columns : m_bodyWidth;
    if (columns > 1) {
      if (!m_inColumns) {
        m_inColumns = true;
        m_column = 0;
        m_columnTop = m_y;
        m_columnBottom = m_y;
      }
    } else if (m_inColumns) {
      m_inColumns = false;
      m_y = std::max(m_y, m_columnBottom);
    }
    Variables saved = m_variables;
    m_where = band.where;
    band.before.run(*this);
    LaidBand laid = layBand(band, columnWidth);
    while (m_y + laid.height > m_bottom + 1e-9 && !m_fresh) {
      if (columns > 1 && m_column + 1 < columns) {
        ++m_column;
        m_y = m_columnTop;
        continue;
      }
      m_variables = saved;
      newPage();
      if (columns > 1) {
        m_inColumns = true;
        m_column = 0;
        m_columnTop = m_y;
        m_columnBottom = m_y;
      }
      m_where = band.where;
      band.before.run(*this);
      laid = layBand(band, columnWidth);
    }
    double x = m_report.page.marginLeft + (columns > 1 ? m_column * (columnWidth + gap) : 0);
    put(laid, x, m_y);
    m_y += laid.height;
    if (m_inColumns) m_columnBottom = std::max(m_columnBottom, m_y);
    m_fresh = false;
    runAfter(band);
  }

  void put(const LaidBand& laid, double x, double y) {
    PreparedPage& page = m_out.pages.back();
    std::size_t base = page.items.size();
    for (DisplayItem item : laid.items) {
      item.rect.translate(x, y);
      item.line.translate(x, y);
      page.items.push_back(std::move(item));
    }
    for (const auto& [index, source] : laid.deferred) {
      Deferred d;
      d.item = source;
      d.where = m_where;
      d.variables = m_variables;
      d.record = m_record;
      d.pageNumber = m_pageNumber;
      d.page = m_out.pages.size() - 1;
      d.index = base + index;
      m_deferred.push_back(std::move(d));
    }
  }

  QString itemText(const CompiledItem& item) {
    if (item.item->kind == ItemKind::Text) return item.text.evaluate(*this);
    return item.format.apply(item.expression.evaluate(*this));
  }

  DisplayItem textItem(const CompiledItem& ci, const QString& text, double widthLimit) {
    const ReportItem& item = *ci.item;
    const FontInfo& font = m_measurer.font(item.font);
    DisplayItem d;
    d.kind = DisplayItem::Kind::Text;
    double width = std::min(item.width, std::max(0.0, widthLimit - item.x));
    d.rect = QRectF(item.x, item.y, width, item.height);
    d.lines = item.wordWrap ? m_measurer.wrap(text, font, width - 2 * kTextPaddingMm)
                            : text.split(QLatin1Char('\n'));
    d.lineHeightMm = font.lineHeightMm;
    d.font = item.font;
    d.align = item.align;
    d.valign = item.valign;
    d.color = item.color;
    if (item.grow) {
      d.rect.setHeight(std::max(item.height, d.lines.size() * font.lineHeightMm));
    }
    return d;
  }

  LaidBand layBand(const CompiledBand& band, double width) {
    LaidBand laid;
    laid.height = band.band->height;
    m_where = band.where;
    for (const CompiledItem& ci : band.items) {
      const ReportItem& item = *ci.item;
      QRectF rect(item.x, item.y, item.width, item.height);
      switch (item.kind) {
        case ItemKind::Text:
        case ItemKind::Field: {
          QString text = ci.usesTotalPages ? QString() : itemText(ci);
          DisplayItem d = textItem(ci, text, width);
          rect = d.rect;
          if (item.fill.isValid()) {
            DisplayItem f;
            f.kind = DisplayItem::Kind::Rect;
            f.rect = rect;
            f.fill = item.fill;
            f.penMm = 0;
            laid.items.push_back(f);
          }
          if (ci.usesTotalPages) laid.deferred.emplace_back(laid.items.size(), &ci);
          laid.items.push_back(std::move(d));
          if (item.grow) laid.height = std::max(laid.height, rect.bottom());
          addBorders(laid, rect, item.borders, item.color);
          break;
        }
        case ItemKind::Line: {
          DisplayItem d;
          d.kind = DisplayItem::Kind::Line;
          d.line = QLineF(item.x, item.y, item.x + item.width, item.y + item.height);
          d.penMm = item.lineWidthMm;
          d.color = item.color;
          laid.items.push_back(std::move(d));
          break;
        }
        case ItemKind::Frame: {
          DisplayItem d;
          d.kind = DisplayItem::Kind::Rect;
          d.rect = rect;
          d.penMm = item.lineWidthMm;
          d.color = item.color;
          d.fill = item.fill;
          laid.items.push_back(std::move(d));
          break;
        }
        case ItemKind::Image: {
          if (ci.image.isNull()) break;
          DisplayItem d;
          d.kind = DisplayItem::Kind::Image;
          d.rect = rect;
          d.image = ci.image;
          laid.items.push_back(std::move(d));
          break;
        }
      }
    }
    return laid;
  }

  static void addBorders(LaidBand& laid, const QRectF& r, const Borders& borders,
                         const QColor& color) {
    auto line = [&](QPointF a, QPointF b) {
      DisplayItem d;
      d.kind = DisplayItem::Kind::Line;
      d.line = QLineF(a, b);
      d.penMm = borders.widthMm;
      d.color = color;
      laid.items.push_back(std::move(d));
    };
    if (borders.left) line(r.topLeft(), r.bottomLeft());
    if (borders.top) line(r.topLeft(), r.topRight());
    if (borders.right) line(r.topRight(), r.bottomRight());
    if (borders.bottom) line(r.bottomLeft(), r.bottomRight());
  }

  void resolveDeferred() {
    m_totalPages = static_cast<int>(m_out.pages.size());
    for (Deferred& d : m_deferred) {
      m_variables = d.variables;
      setRecord(d.record);
      m_pageNumber = d.pageNumber;
      m_where = d.where;
      DisplayItem& target = m_out.pages[d.page].items[d.index];
      QRectF rect = target.rect;
      DisplayItem laid = textItem(*d.item, itemText(*d.item), 1e9);
      target.lines = laid.lines;
      target.rect = rect;
    }
  }

  const ReportTemplate& m_report;
  const ReportInput& m_input;
  const Compiled& m_compiled;
  PreparedReport& m_out;
  Measurer m_measurer;

  const CompiledBand* m_title = nullptr;
  const CompiledBand* m_pageHeader = nullptr;
  const CompiledBand* m_columnHeader = nullptr;
  const CompiledBand* m_summary = nullptr;
  const CompiledBand* m_pageFooter = nullptr;
  std::vector<const CompiledBand*> m_groupHeaders;
  std::vector<const CompiledBand*> m_groupFooters;
  std::vector<const CompiledBand*> m_details;

  double m_pageWidth = 0;
  double m_pageHeight = 0;
  double m_bodyWidth = 0;
  double m_y = 0;
  double m_bottom = 0;
  bool m_fresh = true;
  bool m_inColumns = false;
  int m_column = 0;
  double m_columnTop = 0;
  double m_columnBottom = 0;

  Variables m_variables;
  QHash<QString, Value> m_cache;
  int m_record = 0;
  int m_pageNumber = 0;
  int m_totalPages = 0;
  QString m_where;
  QSet<QString> m_warned;
  std::vector<Deferred> m_deferred;
};

}  // namespace

QStringList BuiltInNames() {
  return {QStringLiteral("Page"),     QStringLiteral("NbPages"), QStringLiteral("Ligne"),
          QStringLiteral("NumEnreg"), QStringLiteral("Date"),    QStringLiteral("Heure"),
          QStringLiteral("TitreEtat")};
}

QStringList TemplateErrors(const ReportTemplate& report) {
  return Compile(report, QString()).errors;
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
  Compiled compiled = Compile(report, input.templateFolder);
  out.warnings = compiled.warnings;
  if (!compiled.errors.isEmpty()) {
    out.errors = compiled.errors;
    return out;
  }
  Preparer(report, input, compiled, out).run();
  return out;
}

}  // namespace vantrel::reports
