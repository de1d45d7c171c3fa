#include "reports/report_engine.h"

#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

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
  Expression condition;   // conditional style; invalid when none
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

// A value's line breaks as "\n"; a value ending with a line break (as screens build several
// lines) takes no more room.
QString Unbroken(const QString& value) {
  QString text = value;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  while (text.endsWith(QLatin1Char('\n'))) text.chop(1);
  return text;
}

QString ItemWhere(const ReportItem& item) {
  QString where = QStringLiteral("élément %1").arg(ItemKindLabel(item.kind));
  if (item.source.line > 0) where += QStringLiteral(" (ligne %1)").arg(item.source.line);
  return where;
}

// Tolerance of the fitting of texts in their boxes, in millimetres.
constexpr double kFitToleranceMm = 0.05;
// Least room kept on each side of a line that does not fit within the usual padding.
constexpr double kTightPaddingMm = 0.1;

QString Mm(double mm) {
  return QString::number(mm, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(','));
}

// A long text cut for a message.
QString Excerpt(const QString& text) {
  constexpr int kLongest = 40;
  return text.size() <= kLongest ? text : text.left(kLongest - 1) + QStringLiteral("…");
}

// "1066,56", "-25.5", "10621531,84": a printed number, which may be printed smaller.
bool ReadsAsNumber(const QString& text) {
  static const QRegularExpression kNumber(QStringLiteral("^\\s*[-+]?\\d+([.,]\\d+)?\\s*$"));
  return kNumber.match(text).hasMatch();
}

// Heading of an item's column in a table export: its name, else what it prints ("Nom" for
// a text "[Nom]" or a field "Nom").
QString ColumnName(const ReportItem& item) {
  if (!item.name.isEmpty()) return item.name;
  QString content = item.content.simplified();
  static const QRegularExpression kOneName(QStringLiteral("^\\[([^\\[\\]]+)\\]$"));
  QRegularExpressionMatch match = kOneName.match(content);
  if (item.kind == ItemKind::Text && match.hasMatch()) return match.captured(1).trimmed();
  return content;
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
      if (!item.condition.trimmed().isEmpty()) {
        error.clear();
        ci.condition = Expression::Parse(item.condition, &error);
        if (!ci.condition.isValid()) {
          c.errors << QStringLiteral("%1, condition de style : %2").arg(where, error);
        }
      }
      ci.usesTotalPages = names.contains(kTotalPagesName);
      if (!item.linesOf.isEmpty()) {
        const bool found =
            std::any_of(band.items.begin(), band.items.end(), [&item](const ReportItem& other) {
              return &other != &item && other.name == item.linesOf && other.linesOf.isEmpty() &&
                     (other.kind == ItemKind::Text || other.kind == ItemKind::Field);
            });
        if (!found) {
          c.errors << QStringLiteral("%1 : lines-of=\"%2\" ne nomme aucun autre texte de la bande")
                          .arg(where, item.linesOf);
        }
      }
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
  double spaceWidth = 0;               // device pixels at 1200 dpi
  QHash<char32_t, double> charWidths;  // filled as characters are met
};

constexpr double kPixelsPerMm = kMeasureDpi / kMmPerInch;

class Measurer {
 public:
  Measurer() : m_device(1, 1, QImage::Format_ARGB32) {
    int dotsPerMeter = qRound(kMeasureDpi / kMmPerInch * 1000);
    m_device.setDotsPerMeterX(dotsPerMeter);
    m_device.setDotsPerMeterY(dotsPerMeter);
  }

  FontInfo& font(const FontStyle& style) {
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
    info->lineHeightMm = info->metrics->lineSpacing() / kPixelsPerMm;
    info->spaceWidth = info->metrics->horizontalAdvance(QLatin1Char(' '));
    FontInfo& result = *info;
    m_fonts.emplace(key, std::move(info));
    return result;
  }

  // Width of a text in millimetres.
  static double widthMm(const FontInfo& font, const QString& text) {
    return font.metrics->horizontalAdvance(text) / kPixelsPerMm;
  }

  // The text broken into lines no wider than widthMm: between words, and inside a word that
  // is wider than the box on its own. Line breaks of the text are kept. Time linear in the
  // length of the text: each word is measured once, and the characters of a word that must
  // be broken one by one.
  // paragraphLines, when given, receives the number of lines of each paragraph.
  QStringList wrap(const QString& text, FontInfo& font, double widthMm,
                   std::vector<int>* paragraphLines = nullptr) {
    const double width = widthMm * kPixelsPerMm;
    QStringList lines;
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    for (const QString& paragraph : paragraphs) {
      const qsizetype before = lines.size();
      QString line;
      double lineWidth = 0;
      bool started = false;
      const QStringList words = paragraph.split(QLatin1Char(' '));
      for (const QString& word : words) {
        double w = font.metrics->horizontalAdvance(word);
        if (started && lineWidth + font.spaceWidth + w <= width) {
          line += QLatin1Char(' ');
          line += word;
          lineWidth += font.spaceWidth + w;
          continue;
        }
        if (started) lines << line;
        started = true;
        if (w <= width) {
          line = word;
          lineWidth = w;
          continue;
        }
        // A word wider than the box: cut it where the next character would cross the edge.
        qsizetype start = 0;
        double run = 0;
        for (qsizetype k = 0; k < word.size();) {
          qsizetype length = word[k].isHighSurrogate() && k + 1 < word.size() ? 2 : 1;
          double c = charWidth(font, word, k, length);
          if (run + c > width && k > start) {
            lines << word.mid(start, k - start);
            start = k;
            run = 0;
          }
          run += c;
          k += length;
        }
        line = word.mid(start);
        lineWidth = run;
      }
      lines << line;
      if (paragraphLines) paragraphLines->push_back(static_cast<int>(lines.size() - before));
    }
    return lines;
  }

 private:
  static double charWidth(FontInfo& font, const QString& word, qsizetype at, qsizetype length) {
    char32_t code = length == 2 ? QChar::surrogateToUcs4(word[at], word[at + 1])
                                : static_cast<char32_t>(word[at].unicode());
    auto it = font.charWidths.constFind(code);
    if (it != font.charWidths.constEnd()) return *it;
    double w = font.metrics->horizontalAdvance(word.mid(at, length));
    font.charWidths.insert(code, w);
    return w;
  }

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
  struct Cell {
    double x;
    QString text;
  };
  std::vector<Cell> cells;  // detail band: its texts as printed, in item order
  std::vector<std::pair<std::size_t, const CompiledItem*>> deferred;  // item index, source
};

// Thrown out of the preparation when a variable cannot be computed; message is French.
struct PreparationStopped {
  QString message;
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
    m_groupOpen.assign(m_groupHeaders.size(), false);
    for (const CompiledBand* detail : m_details) {
      std::vector<const ReportItem*> texts;
      for (const CompiledItem& ci : detail->items) {
        if (ci.item->kind == ItemKind::Text || ci.item->kind == ItemKind::Field) {
          texts.push_back(ci.item);
        }
      }
      std::stable_sort(texts.begin(), texts.end(),
                       [](const ReportItem* a, const ReportItem* b) { return a->x < b->x; });
      for (const ReportItem* item : texts) m_out.tableHeader << ColumnName(*item);
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
        m_groupOpen[g] = true;
      }
      keys = std::move(current);
      m_row.clear();
      m_rowPrinted = false;
      for (const CompiledBand* detail : m_details) {
        placeBand(*detail);
        if (detail->band->pageBreakAfter && r + 1 < count) newPage();
      }
      if (m_rowPrinted) m_out.tableRows.push_back(m_row);
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

  void stopped(const QString& expression, const QString& reason) override {
    m_stopReason = reason;
    EvalContext::stopped(expression, reason);
  }

  void warn(const QString& message) override {
    QString text = Capitalised(m_where) + QStringLiteral(" : ") + message;
    if (!m_warned.contains(text)) {
      m_warned.insert(text);
      m_out.warnings << text;
      m_out.faults << text;
    }
  }

 private:
  void setRecord(int record) {
    if (record != m_record) m_cache.clear();
    m_record = record;
  }

  // A variable's value is computed, or the report stops: a total that restarted from nothing
  // would print a plausible wrong figure.
  void setInitialValue(const CompiledVariable& variable) {
    m_where = QStringLiteral("variable %1").arg(variable.def->name);
    std::optional<Value> value = variable.initial.tryEvaluate(*this);
    if (!value) {
      throw PreparationStopped{
          QStringLiteral("Variable %1 : la valeur initiale « %2 » ne peut pas être calculée (%3) ; "
                         "l'état n'est pas imprimé")
              .arg(variable.def->name, variable.initial.source(), m_stopReason)};
    }
    m_variables.insert(variable.def->name, *value);
  }

  void initialiseVariables() {
    for (const CompiledVariable& variable : m_compiled.variables) setInitialValue(variable);
    for (const auto& [name, value] : m_input.variables) m_variables.insert(name, value);
  }

  void resetVariables(VariableReset reset, const QString& group) {
    for (const CompiledVariable& variable : m_compiled.variables) {
      if (variable.def->reset != reset) continue;
      if (reset == VariableReset::Group && variable.def->group != group) continue;
      setInitialValue(variable);
    }
  }

  // Runs a band's assignments; one that cannot be computed stops the whole report, with the
  // band, the record and the assignment named.
  void runScript(const CompiledBand& band, const Script& script) {
    m_where = band.where;
    const std::optional<QString> failed = script.run(*this);
    if (!failed) return;
    const BandKind kind = band.band->kind;
    const bool perRecord =
        kind == BandKind::Detail || kind == BandKind::GroupHeader || kind == BandKind::GroupFooter;
    QString where = Capitalised(band.where);
    if (perRecord) where += QStringLiteral(", enregistrement %1").arg(m_record + 1);
    throw PreparationStopped{
        QStringLiteral("%1 : le calcul « %2 » ne peut pas être fait (%3) ; l'état n'est pas "
                       "imprimé")
            .arg(where, *failed, m_stopReason)};
  }

  void resetGroupVariables(const QString& group) { resetVariables(VariableReset::Group, group); }

  // Footers of the groups from the innermost one down to level `outermost`.
  void closeGroups(std::size_t outermost) {
    for (std::size_t g = m_groupHeaders.size(); g-- > outermost;) {
      const QString& group = m_groupHeaders[g]->band->group;
      for (const CompiledBand* footer : m_groupFooters) {
        if (footer->band->group == group) placeBand(*footer);
      }
      m_groupOpen[g] = false;
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
    // The footer's room, as laid out now: a growing text of the footer is reserved for.
    m_footerHeight = footerOnThisPage() ? layBand(*m_pageFooter, m_bodyWidth).height : 0;
    m_bottom = m_pageHeight - m_report.page.marginBottom - m_footerHeight;
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
    // The headers of the groups that go on, when marked to repeat; their assignments do
    // not run again.
    for (std::size_t g = 0; withColumnHeader && g < m_groupHeaders.size(); ++g) {
      if (!m_groupOpen[g] || !m_groupHeaders[g]->band->repeatOnNewPage) continue;
      LaidBand laid = layBand(*m_groupHeaders[g], m_bodyWidth);
      if (m_y + laid.height > m_bottom + 1e-9) break;
      put(laid, m_report.page.marginLeft, m_y);
      m_y += laid.height;
    }
    m_fresh = true;
    m_bodyTop = m_y;
  }

  void finishPage() {
    if (!footerOnThisPage()) return;
    LaidBand laid = layBand(*m_pageFooter, m_bodyWidth);
    // A footer that grew since the page started ends at the bottom margin all the same.
    put(laid, m_report.page.marginLeft,
        m_pageHeight - m_report.page.marginBottom - std::max(m_footerHeight, laid.height));
    runAfter(*m_pageFooter);
  }

  void newPage() {
    finishPage();
    startPage(true);
  }

  void runAfter(const CompiledBand& band) { runScript(band, band.after); }

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
    runScript(band, band.before);
    LaidBand laid = layBand(band, columnWidth);
    // Taller than the body of a page: a new page would not hold it either.
    bool tooTall = laid.height > m_bottom - m_bodyTop + 1e-9;
    while (!tooTall && m_y + laid.height > m_bottom + 1e-9 && !m_fresh) {
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
      runScript(band, band.before);
      laid = layBand(band, columnWidth);
    }
    if (tooTall || m_y + laid.height > m_bottom + 1e-9) {
      // Even an empty page cannot hold it: it is not drawn over the page footer, and its
      // assignments are undone so that the totals are those of the printed bands.
      warn(QStringLiteral("%1la bande mesure %2 mm de haut et la page n'a que %3 mm de place : "
                          "elle n'est pas imprimée")
               .arg(m_inRecordBand ? QStringLiteral("enregistrement %1 : ").arg(m_record + 1)
                                   : QString(),
                    Mm(laid.height), Mm(m_bottom - m_y)));
      m_variables = saved;
      return;
    }
    if (band.band->kind == BandKind::Detail) {
      std::stable_sort(laid.cells.begin(), laid.cells.end(),
                       [](const LaidBand::Cell& a, const LaidBand::Cell& b) { return a.x < b.x; });
      for (const LaidBand::Cell& cell : laid.cells) m_row << cell.text;
      m_rowPrinted = true;
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

  // Where an item is, for warnings: "élément Champ (ligne 14), enregistrement 3".
  QString itemWhere(const CompiledItem& ci) const {
    QString where = ItemWhere(*ci.item);
    if (m_inRecordBand) where += QStringLiteral(", enregistrement %1").arg(m_record + 1);
    return where;
  }

  // The text of an item broken into lines and measured. A line too wide for the box: a
  // number is printed smaller (down to kSmallestNumberPointSize), anything else (and a
  // number that still does not fit) is clipped to the box with a warning. A text that may
  // not grow shows the lines its box can hold; the others are said to be lost.
  // paragraphLines, when given, receives the number of lines each paragraph of the text
  // (each part between line breaks) takes.
  DisplayItem textItem(const CompiledItem& ci, const QString& value, double widthLimit,
                       std::vector<int>* paragraphLines = nullptr) {
    const ReportItem& item = *ci.item;
    QString text = Unbroken(value);
    DisplayItem d;
    d.kind = DisplayItem::Kind::Text;
    d.color = item.color;
    FontStyle style = item.font;
    if (ci.condition.isValid() && ci.condition.evaluate(*this).toBoolean()) {
      if (item.conditionColor.isValid()) d.color = item.conditionColor;
      if (item.conditionBold) style.bold = true;
    }
    FontInfo* font = &m_measurer.font(style);
    double width = std::min(item.width, std::max(0.0, widthLimit - item.x));
    d.rect = QRectF(item.x, item.y, width, item.height);
    double available = std::max(0.0, width - 2 * kTextPaddingMm);
    // A single line may use the padding of its own box.
    double fitWidth = std::max(0.0, width - 2 * kTightPaddingMm);
    // A number is never broken across lines: it is printed smaller instead.
    if (item.wordWrap && !ReadsAsNumber(text)) {
      d.lines = m_measurer.wrap(text, *font, available, paragraphLines);
    } else {
      d.lines = text.split(QLatin1Char('\n'));
      if (paragraphLines) paragraphLines->assign(d.lines.size(), 1);
      double widest = 0;
      QString widestLine;
      for (const QString& line : std::as_const(d.lines)) {
        double w = Measurer::widthMm(*font, line);
        if (w > widest) {
          widest = w;
          widestLine = line;
        }
      }
      // A figure keeps its whole padding, so that two figures side by side never touch
      // ("21474836,4721474836,47"): it is printed smaller rather than closer.
      const bool figure = std::all_of(d.lines.begin(), d.lines.end(), [](const QString& line) {
        return line.isEmpty() || ReadsAsNumber(line);
      });
      if (figure) fitWidth = available;
      if (widest > fitWidth + kFitToleranceMm) {
        bool fitted = false;
        if (figure) {
          double size = std::floor(style.pointSize * fitWidth / widest * 10) / 10;
          for (int tries = 0; tries < 40 && size >= kSmallestNumberPointSize; ++tries) {
            FontStyle smaller = style;
            smaller.pointSize = size;
            FontInfo& candidate = m_measurer.font(smaller);
            if (Measurer::widthMm(candidate, widestLine) <= fitWidth + kFitToleranceMm) {
              style = smaller;
              font = &candidate;
              fitted = true;
              break;
            }
            size = std::round(size * 10 - 1) / 10;
          }
        }
        if (!fitted) {
          d.clip = true;
          warn(QStringLiteral("%1 : « %2 » ne tient pas dans sa case (%3 mm de large pour %4 mm)")
                   .arg(itemWhere(ci), Excerpt(widestLine), Mm(widest), Mm(fitWidth)));
        }
      }
    }
    d.lineHeightMm = font->lineHeightMm;
    d.font = style;
    d.align = item.align;
    d.valign = item.valign;
    if (item.grow) {
      d.rect.setHeight(std::max(item.height, d.lines.size() * font->lineHeightMm));
    } else {
      int fit = std::max(
          1, static_cast<int>(std::floor((item.height + kFitToleranceMm) / font->lineHeightMm)));
      if (d.lines.size() > fit) {
        bool lost = false;
        for (qsizetype k = fit; k < d.lines.size(); ++k) {
          if (!d.lines[k].trimmed().isEmpty()) lost = true;
        }
        if (lost) {
          warn(QStringLiteral("%1 : « %2 » demande %3 lignes et sa case n'en montre que %4")
                   .arg(itemWhere(ci), Excerpt(d.lines.join(QLatin1Char(' '))))
                   .arg(d.lines.size())
                   .arg(fit));
          d.clip = true;
        }
        d.lines = d.lines.mid(0, fit);
      }
    }
    return d;
  }

  // Lays a band out at its corner. Texts marked to grow take the height of their lines and
  // push down, by as much as they grew, every item under them: the items that start below
  // their foot, and those that start lower than their top and share some of their width
  // (these start at least at its new foot). Items beside a grown text that reach its foot (frames,
  // lines, neighbouring cells) stretch to its new foot. The band grows by as much as its items
  // moved.
  LaidBand layBand(const CompiledBand& band, double width) {
    LaidBand laid;
    m_where = band.where;
    BandKind kind = band.band->kind;
    m_inRecordBand =
        kind == BandKind::Detail || kind == BandKind::GroupHeader || kind == BandKind::GroupFooter;
    const double height = band.band->height;

    std::vector<std::optional<DisplayItem>> texts(band.items.size());
    struct Growth {
      double left;
      double right;
      double top;
      double bottom;
      double grown;      // height once grown
      double shift = 0;  // how far its foot moved
    };
    std::vector<Growth> growths;
    // The lines of each paragraph of the named texts, for the texts whose lines follow them;
    // those are laid out last.
    QHash<QString, std::vector<int>> paragraphs;
    for (const CompiledItem& ci : band.items) {
      if (!ci.item->linesOf.isEmpty()) paragraphs.insert(ci.item->linesOf, {});
    }
    std::vector<std::size_t> order;
    for (int pass = 0; pass < 2; ++pass) {
      for (std::size_t k = 0; k < band.items.size(); ++k) {
        if (band.items[k].item->linesOf.isEmpty() == (pass == 0)) order.push_back(k);
      }
    }
    for (std::size_t k : order) {
      const CompiledItem& ci = band.items[k];
      const ReportItem& item = *ci.item;
      if (item.kind != ItemKind::Text && item.kind != ItemKind::Field) continue;
      QString text = ci.usesTotalPages ? QString() : itemText(ci);
      QString cell;
      auto leader = paragraphs.find(item.linesOf);
      if (!item.linesOf.isEmpty() && leader != paragraphs.end()) {
        // Line k goes beside paragraph k of the leader: blank lines fill its wrapped lines.
        const QStringList own = Unbroken(text).split(QLatin1Char('\n'));
        cell = own.join(QLatin1Char(' '));
        QStringList padded;
        for (qsizetype p = 0; p < own.size(); ++p) {
          padded << own[p];
          const int taken = p < static_cast<qsizetype>(leader->size()) ? (*leader)[p] : 1;
          for (int extra = 1; extra < taken; ++extra) padded << QString();
        }
        texts[k] = textItem(ci, padded.join(QLatin1Char('\n')), width);
      } else {
        auto named = item.name.isEmpty() ? paragraphs.end() : paragraphs.find(item.name);
        texts[k] = textItem(ci, text, width, named != paragraphs.end() ? &*named : nullptr);
        cell = texts[k]->lines.join(QLatin1Char(' '));
      }
      if (kind == BandKind::Detail) laid.cells.push_back({item.x, cell});
      if (item.grow && texts[k]->rect.height() > item.height + 1e-9) {
        growths.push_back({item.x, item.x + texts[k]->rect.width(), item.y, item.y + item.height,
                           texts[k]->rect.height()});
      }
    }
    std::stable_sort(growths.begin(), growths.end(),
                     [](const Growth& a, const Growth& b) { return a.bottom < b.bottom; });
    // How far a point at (left..right, y) moves, from the first `count` growths; `under`
    // also counts the growths it lies under.
    auto shiftAt = [&growths](double left, double right, double y, std::size_t count, bool under) {
      double shift = 0;
      for (std::size_t k = 0; k < count; ++k) {
        const Growth& g = growths[k];
        bool below = g.bottom <= y + kFitToleranceMm;
        bool beneath = under && y > g.top + kFitToleranceMm && left < g.right - kFitToleranceMm &&
                       right > g.left + kFitToleranceMm;
        if (below || beneath) shift = std::max(shift, g.shift);
        // An item that started inside the text's box starts under its new foot.
        if (beneath && !below) shift = std::max(shift, g.bottom + g.shift - y);
      }
      return shift;
    };
    std::vector<double> growthTops(growths.size());
    for (std::size_t k = 0; k < growths.size(); ++k) {
      Growth& g = growths[k];
      growthTops[k] = g.top + shiftAt(g.left, g.right, g.top, k, true);
      g.shift = growthTops[k] + g.grown - g.bottom;
    }
    const std::size_t all = growths.size();
    // New top and foot of a box.
    auto place = [&](double left, double right, double top, double bottom) {
      double topShift = shiftAt(left, right, top, all, true);
      double bottomShift = std::max(topShift, shiftAt(left, right, bottom, all, false));
      return std::pair(top + topShift, bottom + bottomShift);
    };
    laid.height = height + shiftAt(0, 0, height, all, false);

    for (std::size_t k = 0; k < band.items.size(); ++k) {
      const CompiledItem& ci = band.items[k];
      const ReportItem& item = *ci.item;
      double itemWidth = texts[k] ? texts[k]->rect.width() : item.width;
      auto [top, bottom] = place(item.x, item.x + itemWidth, item.y, item.y + item.height);
      QRectF rect(item.x, top, item.width, bottom - top);
      switch (item.kind) {
        case ItemKind::Text:
        case ItemKind::Field: {
          DisplayItem d = std::move(*texts[k]);
          d.rect.moveTop(top);
          if (item.grow) {
            d.rect.setHeight(std::max(d.rect.height(), bottom - top));
          } else {
            d.rect.setHeight(bottom - top);
          }
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
          QColor color = d.color;
          laid.items.push_back(std::move(d));
          addBorders(laid, rect, item.borders, color);
          break;
        }
        case ItemKind::Line: {
          double left = std::min(item.x, item.x + item.width);
          double right = std::max(item.x, item.x + item.width);
          auto [y1, y2] = place(left, right, item.y, item.y + item.height);
          DisplayItem d;
          d.kind = DisplayItem::Kind::Line;
          d.line = QLineF(item.x, y1, item.x + item.width, y2);
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
          d.rect = QRectF(item.x, top, item.width, item.height);
          d.image = ci.image;
          laid.items.push_back(std::move(d));
          break;
        }
      }
    }
    // A band holds its items: one placed or grown beyond its foot makes it taller, so that
    // nothing is drawn under the next band or over the page footer.
    for (const DisplayItem& item : laid.items) {
      double bottom = item.kind == DisplayItem::Kind::Line
                          ? std::max(item.line.y1(), item.line.y2())
                          : item.rect.bottom();
      laid.height = std::max(laid.height, bottom);
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
      target.font = laid.font;
      target.clip = laid.clip;
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
  double m_bodyTop = 0;
  double m_footerHeight = 0;  // room kept for the page footer on the current page  // where the
                              // bands of the current page start, under its headers
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
  QString m_stopReason;  // why the last expression stopped
  QSet<QString> m_warned;
  std::vector<Deferred> m_deferred;
  bool m_inRecordBand = false;
  std::vector<bool> m_groupOpen;  // header placed, footer not yet
  QStringList m_row;              // the current record's cells for the table
  bool m_rowPrinted = false;
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
  try {
    Preparer(report, input, compiled, out).run();
  } catch (const PreparationStopped& stop) {
    out.pages.clear();
    out.tableRows.clear();
    out.errors << stop.message;
    out.stopped = true;
  }
  return out;
}

}  // namespace vantrel::reports
