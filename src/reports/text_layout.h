#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "reports/prepared_report.h"
#include "reports/report_compile.h"

namespace vantrel::reports {

// A length for a message: "12,5".
QString MmText(double mm);

// A font as measured at 1200 dpi.
struct FontInfo {
  QFont font;
  std::unique_ptr<QFontMetricsF> metrics;
  double lineHeightMm = 0;
  double spaceWidth = 0;               // device pixels at 1200 dpi
  QHash<char32_t, double> charWidths;  // filled as characters are met
};

// Measures texts once, at 1200 dpi, whatever the device they are drawn on later.
class Measurer {
 public:
  Measurer();
  Measurer(const Measurer&) = delete;
  Measurer& operator=(const Measurer&) = delete;

  // The font of a style, made once.
  FontInfo& font(const FontStyle& style);

  // Width of a text in millimetres.
  static double widthMm(const FontInfo& font, const QString& text);

  // The text broken into lines no wider than widthMm: between words, and inside a word that
  // is wider than the box on its own. Line breaks of the text are kept. Time linear in the
  // length of the text: each word is measured once, and the characters of a word that must
  // be broken one by one.
  // paragraphLines, when given, receives the number of lines of each paragraph.
  QStringList wrap(const QString& text, FontInfo& font, double widthMm,
                   std::vector<int>* paragraphLines = nullptr);

 private:
  static double charWidth(FontInfo& font, const QString& word, qsizetype at, qsizetype length);

  QImage m_device;
  std::map<QString, std::unique_ptr<FontInfo>> m_fonts;
};

// What laying a band out asks of the preparation, item by item, in the order the items are
// laid out.
class BandValues {
 public:
  virtual ~BandValues() = default;
  // The item's text as printed (a text item evaluated, a field evaluated and formatted).
  virtual QString text(const CompiledItem& item) = 0;
  // Whether the item's conditional style applies; asked only of items that have one.
  virtual bool styled(const CompiledItem& item) = 0;
  // The item's value does not show whole: what is wrong, in French ("« 1234,56 » ne tient
  // pas dans sa case (…)").
  virtual void cut(const CompiledItem& item, const QString& what) = 0;
};

// A band laid out, its items relative to the band's top-left corner.
struct LaidBand {
  double height = 0;
  std::vector<DisplayItem> items;
  struct Cell {
    double x;
    QString text;
  };
  std::vector<Cell> cells;  // detail band: its texts as printed, as they were measured
  // The texts that read NbPages, left empty: index in items, and their source.
  std::vector<std::pair<std::size_t, const CompiledItem*>> deferred;
};

// The text of an item broken into lines and measured, at its place in its band, in a band
// widthLimit wide. A line too wide for the box: a number is printed smaller (down to
// kSmallestNumberPointSize), anything else (and a number that still does not fit) is
// clipped to the box and said cut. A text that may not grow shows the lines its box can
// hold; the others, when not blank, are said cut.
// paragraphLines, when given, receives the number of lines each paragraph of the text (each
// part between line breaks) takes.
DisplayItem LayText(Measurer& measurer, const CompiledItem& item, const QString& value,
                    double widthLimit, BandValues& values,
                    std::vector<int>* paragraphLines = nullptr);

// Lays a band out in a body `width` wide. Texts marked to grow take the height of their
// lines and push down, by as much as they grew, every item under them: the items that start
// below their foot, and those that start lower than their top and share some of their width
// (these start at least at its new foot). Items beside a grown text that reach its foot
// (frames, lines, neighbouring cells) stretch to its new foot. The band grows by as much as
// its items moved, and holds every item it places.
LaidBand LayBand(Measurer& measurer, const CompiledBand& band, double width, BandValues& values);

}  // namespace vantrel::reports
