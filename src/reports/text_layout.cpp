#include "reports/text_layout.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <optional>

namespace vantrel::reports {
namespace {

constexpr double kMeasureDpi = 1200;
constexpr double kMmPerInch = 25.4;
constexpr double kPixelsPerMm = kMeasureDpi / kMmPerInch;

// Tolerance of the fitting of texts in their boxes, in millimetres.
constexpr double kFitToleranceMm = 0.05;
// Least room kept on each side of a line that does not fit within the usual padding.
constexpr double kTightPaddingMm = 0.1;

// A value's line breaks as "\n"; a value ending with a line break (as screens build several
// lines) takes no more room.
QString Unbroken(const QString& value) {
  QString text = value;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  while (text.endsWith(QLatin1Char('\n'))) text.chop(1);
  return text;
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

}  // namespace

QString MmText(double mm) {
  return QString::number(mm, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(','));
}

// ---------------------------------------------------------------------------------------
// Measurer

Measurer::Measurer() : m_device(1, 1, QImage::Format_ARGB32) {
  int dotsPerMeter = qRound(kMeasureDpi / kMmPerInch * 1000);
  m_device.setDotsPerMeterX(dotsPerMeter);
  m_device.setDotsPerMeterY(dotsPerMeter);
}

FontInfo& Measurer::font(const FontStyle& style) {
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

double Measurer::widthMm(const FontInfo& font, const QString& text) {
  return font.metrics->horizontalAdvance(text) / kPixelsPerMm;
}

QStringList Measurer::wrap(const QString& text, FontInfo& font, double widthMm,
                           std::vector<int>* paragraphLines) {
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

double Measurer::charWidth(FontInfo& font, const QString& word, qsizetype at, qsizetype length) {
  char32_t code = length == 2 ? QChar::surrogateToUcs4(word[at], word[at + 1])
                              : static_cast<char32_t>(word[at].unicode());
  auto it = font.charWidths.constFind(code);
  if (it != font.charWidths.constEnd()) return *it;
  double w = font.metrics->horizontalAdvance(word.mid(at, length));
  font.charWidths.insert(code, w);
  return w;
}

// ---------------------------------------------------------------------------------------
// One text

namespace {

class TextLayout {
 public:
  TextLayout(Measurer& measurer, const CompiledItem& ci, BandValues& values)
      : m_measurer(measurer), m_ci(ci), m_item(*ci.item), m_values(values) {}

  DisplayItem run(const QString& value, double widthLimit, std::vector<int>* paragraphLines) {
    QString text = Unbroken(value);
    m_d.kind = DisplayItem::Kind::kText;
    m_d.color = m_item.color;
    m_style = m_item.font;
    if (m_ci.condition.isValid() && m_values.styled(m_ci)) {
      if (m_item.conditionColor.isValid()) m_d.color = m_item.conditionColor;
      if (m_item.conditionBold) m_style.bold = true;
    }
    m_font = &m_measurer.font(m_style);
    double width = std::min(m_item.width, std::max(0.0, widthLimit - m_item.x));
    m_d.rect = QRectF(m_item.x, m_item.y, width, m_item.height);
    double available = std::max(0.0, width - 2 * kTextPaddingMm);
    // A single line may use the padding of its own box.
    double fitWidth = std::max(0.0, width - 2 * kTightPaddingMm);
    // A number is never broken across lines: it is printed smaller instead.
    if (m_item.wordWrap && !ReadsAsNumber(text)) {
      m_d.lines = m_measurer.wrap(text, *m_font, available, paragraphLines);
    } else {
      m_d.lines = text.split(QLatin1Char('\n'));
      if (paragraphLines) paragraphLines->assign(m_d.lines.size(), 1);
      fitLines(available, fitWidth);
    }
    m_d.lineHeightMm = m_font->lineHeightMm;
    m_d.font = m_style;
    m_d.align = m_item.align;
    m_d.valign = m_item.valign;
    if (m_item.grow) {
      m_d.rect.setHeight(std::max(m_item.height, m_d.lines.size() * m_font->lineHeightMm));
    } else {
      keepLinesOfTheBox();
    }
    return std::move(m_d);
  }

 private:
  // Lines kept as they are: the widest must fit, a figure being printed smaller for it.
  void fitLines(double available, double fitWidth) {
    double widest = 0;
    QString widestLine;
    for (const QString& line : std::as_const(m_d.lines)) {
      double w = Measurer::widthMm(*m_font, line);
      if (w > widest) {
        widest = w;
        widestLine = line;
      }
    }
    // A figure keeps its whole padding, so that two figures side by side never touch
    // ("21474836,4721474836,47"): it is printed smaller rather than closer.
    const bool figure = std::all_of(m_d.lines.begin(), m_d.lines.end(), [](const QString& line) {
      return line.isEmpty() || ReadsAsNumber(line);
    });
    if (figure) fitWidth = available;
    if (widest <= fitWidth + kFitToleranceMm) return;
    if (figure && shrink(widestLine, widest, fitWidth)) return;
    m_d.clip = true;
    m_values.cut(m_ci,
                 QStringLiteral("« %1 » ne tient pas dans sa case (%2 mm de large pour %3 mm)")
                     .arg(Excerpt(widestLine), MmText(widest), MmText(fitWidth)));
  }

  // The largest size, by tenths of a point, at which the line fits; false when even the
  // smallest size is too wide.
  bool shrink(const QString& line, double width, double fitWidth) {
    double size = std::floor(m_style.pointSize * fitWidth / width * 10) / 10;
    for (int tries = 0; tries < 40 && size >= kSmallestNumberPointSize; ++tries) {
      FontStyle smaller = m_style;
      smaller.pointSize = size;
      FontInfo& candidate = m_measurer.font(smaller);
      if (Measurer::widthMm(candidate, line) <= fitWidth + kFitToleranceMm) {
        m_style = smaller;
        m_font = &candidate;
        return true;
      }
      size = std::round(size * 10 - 1) / 10;
    }
    return false;
  }

  // A box that may not grow shows the lines it can hold.
  void keepLinesOfTheBox() {
    int fit = std::max(
        1, static_cast<int>(std::floor((m_item.height + kFitToleranceMm) / m_font->lineHeightMm)));
    if (m_d.lines.size() <= fit) return;
    bool lost = false;
    for (qsizetype k = fit; k < m_d.lines.size(); ++k) {
      if (!m_d.lines[k].trimmed().isEmpty()) lost = true;
    }
    if (lost) {
      m_values.cut(m_ci, QStringLiteral("« %1 » demande %2 lignes et sa case n'en montre que %3")
                             .arg(Excerpt(m_d.lines.join(QLatin1Char(' '))),
                                  QString::number(m_d.lines.size()), QString::number(fit)));
      m_d.clip = true;
    }
    m_d.lines = m_d.lines.mid(0, fit);
  }

  Measurer& m_measurer;
  const CompiledItem& m_ci;
  const ReportItem& m_item;
  BandValues& m_values;
  DisplayItem m_d;
  FontStyle m_style;
  FontInfo* m_font = nullptr;
};

}  // namespace

DisplayItem LayText(Measurer& measurer, const CompiledItem& item, const QString& value,
                    double widthLimit, BandValues& values, std::vector<int>* paragraphLines) {
  return TextLayout(measurer, item, values).run(value, widthLimit, paragraphLines);
}

// ---------------------------------------------------------------------------------------
// One band

namespace {

// The growing texts of a band and how far they push what lies under them.
class Growths {
 public:
  void add(double left, double right, double top, double bottom, double grown) {
    m_growths.push_back({left, right, top, bottom, grown});
  }

  // Orders the growths from the highest foot down and works out how far each foot moves,
  // a text being pushed down by the growths above it.
  void settle() {
    std::stable_sort(m_growths.begin(), m_growths.end(),
                     [](const Growth& a, const Growth& b) { return a.bottom < b.bottom; });
    for (std::size_t k = 0; k < m_growths.size(); ++k) {
      Growth& g = m_growths[k];
      const double top = g.top + shiftAt(g.left, g.right, g.top, k, true);
      g.shift = top + g.grown - g.bottom;
    }
  }

  // How far a point at (left..right, y) moves; `under` also counts the growths it lies under.
  double shift(double left, double right, double y, bool under) const {
    return shiftAt(left, right, y, m_growths.size(), under);
  }

  // New top and foot of a box.
  std::pair<double, double> place(double left, double right, double top, double bottom) const {
    double topShift = shift(left, right, top, true);
    double bottomShift = std::max(topShift, shift(left, right, bottom, false));
    return std::pair(top + topShift, bottom + bottomShift);
  }

 private:
  struct Growth {
    double left;
    double right;
    double top;
    double bottom;
    double grown;      // height once grown
    double shift = 0;  // how far its foot moved
  };

  // As shift, from the first `count` growths.
  double shiftAt(double left, double right, double y, std::size_t count, bool under) const {
    double shift = 0;
    for (std::size_t k = 0; k < count; ++k) {
      const Growth& g = m_growths[k];
      bool below = g.bottom <= y + kFitToleranceMm;
      bool beneath = under && y > g.top + kFitToleranceMm && left < g.right - kFitToleranceMm &&
                     right > g.left + kFitToleranceMm;
      if (below || beneath) shift = std::max(shift, g.shift);
      // An item that started inside the text's box starts under its new foot.
      if (beneath && !below) shift = std::max(shift, g.bottom + g.shift - y);
    }
    return shift;
  }

  std::vector<Growth> m_growths;
};

class BandLayout {
 public:
  BandLayout(Measurer& measurer, const CompiledBand& band, double width, BandValues& values)
      : m_measurer(measurer),
        m_band(band),
        m_width(width),
        m_values(values),
        m_texts(band.items.size()) {}

  LaidBand run() {
    measureTexts();
    m_growths.settle();
    const double height = m_band.band->height;
    m_laid.height = height + m_growths.shift(0, 0, height, false);
    for (std::size_t k = 0; k < m_band.items.size(); ++k) placeItem(k);
    // A band holds its items: one placed or grown beyond its foot makes it taller, so that
    // nothing is drawn under the next band or over the page footer.
    for (const DisplayItem& item : m_laid.items) {
      double bottom = item.kind == DisplayItem::Kind::kLine
                          ? std::max(item.line.y1(), item.line.y2())
                          : item.rect.bottom();
      m_laid.height = std::max(m_laid.height, bottom);
    }
    return std::move(m_laid);
  }

 private:
  // Every text of the band broken into lines, the texts whose lines follow another one's
  // paragraphs last.
  void measureTexts() {
    for (const CompiledItem& ci : m_band.items) {
      if (!ci.item->linesOf.isEmpty()) m_paragraphs.insert(ci.item->linesOf, {});
    }
    for (int pass = 0; pass < 2; ++pass) {
      for (std::size_t k = 0; k < m_band.items.size(); ++k) {
        if (m_band.items[k].item->linesOf.isEmpty() == (pass == 0)) measureText(k);
      }
    }
  }

  void measureText(std::size_t k) {
    const CompiledItem& ci = m_band.items[k];
    const ReportItem& item = *ci.item;
    if (item.kind != ItemKind::kText && item.kind != ItemKind::kField) return;
    QString text = ci.usesTotalPages ? QString() : m_values.text(ci);
    QString cell;
    auto leader = m_paragraphs.find(item.linesOf);
    if (!item.linesOf.isEmpty() && leader != m_paragraphs.end()) {
      // Line k goes beside paragraph k of the leader: blank lines fill its wrapped lines.
      const QStringList own = Unbroken(text).split(QLatin1Char('\n'));
      cell = own.join(QLatin1Char(' '));
      QStringList padded;
      for (qsizetype p = 0; p < own.size(); ++p) {
        padded << own[p];
        const int taken = p < static_cast<qsizetype>(leader->size()) ? (*leader)[p] : 1;
        for (int extra = 1; extra < taken; ++extra) padded << QString();
      }
      m_texts[k] = LayText(m_measurer, ci, padded.join(QLatin1Char('\n')), m_width, m_values);
    } else {
      auto named = item.name.isEmpty() ? m_paragraphs.end() : m_paragraphs.find(item.name);
      m_texts[k] = LayText(m_measurer, ci, text, m_width, m_values,
                           named != m_paragraphs.end() ? &*named : nullptr);
      cell = m_texts[k]->lines.join(QLatin1Char(' '));
    }
    if (m_band.band->kind == BandKind::kDetail) m_laid.cells.push_back({item.x, cell});
    if (item.grow && m_texts[k]->rect.height() > item.height + 1e-9) {
      m_growths.add(item.x, item.x + m_texts[k]->rect.width(), item.y, item.y + item.height,
                    m_texts[k]->rect.height());
    }
  }

  void placeItem(std::size_t k) {
    const CompiledItem& ci = m_band.items[k];
    const ReportItem& item = *ci.item;
    double itemWidth = m_texts[k] ? m_texts[k]->rect.width() : item.width;
    auto [top, bottom] = m_growths.place(item.x, item.x + itemWidth, item.y, item.y + item.height);
    switch (item.kind) {
      case ItemKind::kText:
      case ItemKind::kField:
        placeText(ci, std::move(*m_texts[k]), top, bottom);
        break;
      case ItemKind::kLine: {
        double left = std::min(item.x, item.x + item.width);
        double right = std::max(item.x, item.x + item.width);
        auto [y1, y2] = m_growths.place(left, right, item.y, item.y + item.height);
        DisplayItem d;
        d.kind = DisplayItem::Kind::kLine;
        d.line = QLineF(item.x, y1, item.x + item.width, y2);
        d.penMm = item.lineWidthMm;
        d.color = item.color;
        m_laid.items.push_back(std::move(d));
        break;
      }
      case ItemKind::kFrame: {
        DisplayItem d;
        d.kind = DisplayItem::Kind::kRect;
        d.rect = QRectF(item.x, top, item.width, bottom - top);
        d.penMm = item.lineWidthMm;
        d.color = item.color;
        d.fill = item.fill;
        m_laid.items.push_back(std::move(d));
        break;
      }
      case ItemKind::kImage: {
        if (ci.image.isNull()) break;
        DisplayItem d;
        d.kind = DisplayItem::Kind::kImage;
        d.rect = QRectF(item.x, top, item.width, item.height);
        d.image = ci.image;
        m_laid.items.push_back(std::move(d));
        break;
      }
    }
  }

  // A text at its new top, over its fill and under its borders.
  void placeText(const CompiledItem& ci, DisplayItem d, double top, double bottom) {
    const ReportItem& item = *ci.item;
    d.rect.moveTop(top);
    if (item.grow) {
      d.rect.setHeight(std::max(d.rect.height(), bottom - top));
    } else {
      d.rect.setHeight(bottom - top);
    }
    const QRectF rect = d.rect;
    if (item.fill.isValid()) {
      DisplayItem f;
      f.kind = DisplayItem::Kind::kRect;
      f.rect = rect;
      f.fill = item.fill;
      f.penMm = 0;
      m_laid.items.push_back(f);
    }
    if (ci.usesTotalPages) m_laid.deferred.emplace_back(m_laid.items.size(), &ci);
    QColor color = d.color;
    m_laid.items.push_back(std::move(d));
    addBorders(rect, item.borders, color);
  }

  void addBorders(const QRectF& r, const Borders& borders, const QColor& color) {
    auto line = [&](QPointF a, QPointF b) {
      DisplayItem d;
      d.kind = DisplayItem::Kind::kLine;
      d.line = QLineF(a, b);
      d.penMm = borders.widthMm;
      d.color = color;
      m_laid.items.push_back(std::move(d));
    };
    if (borders.left) line(r.topLeft(), r.bottomLeft());
    if (borders.top) line(r.topLeft(), r.topRight());
    if (borders.right) line(r.topRight(), r.bottomRight());
    if (borders.bottom) line(r.bottomLeft(), r.bottomRight());
  }

  Measurer& m_measurer;
  const CompiledBand& m_band;
  const double m_width;
  BandValues& m_values;
  std::vector<std::optional<DisplayItem>> m_texts;
  // The lines of each paragraph of the named texts, for the texts whose lines follow them.
  QHash<QString, std::vector<int>> m_paragraphs;
  Growths m_growths;
  LaidBand m_laid;
};

}  // namespace

LaidBand LayBand(Measurer& measurer, const CompiledBand& band, double width, BandValues& values) {
  return BandLayout(measurer, band, width, values).run();
}

}  // namespace vantrel::reports
