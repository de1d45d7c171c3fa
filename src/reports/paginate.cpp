#include "reports/paginate.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <optional>

#include "reports/report_values.h"
#include "reports/text_layout.h"

namespace vantrel::reports {
namespace {

// Heading of an item's column in a table export: its name, else what it prints ("Nom" for
// a text "[Nom]" or a field "Nom").
QString ColumnName(const ReportItem& item) {
  if (!item.name.isEmpty()) return item.name;
  QString content = item.content.simplified();
  static const QRegularExpression kOneName(QStringLiteral("^\\[([^\\[\\]]+)\\]$"));
  QRegularExpressionMatch match = kOneName.match(content);
  if (item.kind == ItemKind::kText && match.hasMatch()) return match.captured(1).trimmed();
  return content;
}

// ---------------------------------------------------------------------------------------
// Pagination: the bands in their order, each evaluated at its record and measured, placed
// on the pages.

// A text that uses NbPages, evaluated again once the page count is known.
struct Deferred {
  const CompiledItem* item = nullptr;
  ReportValues::Moment moment;
  std::size_t page = 0;
  std::size_t index = 0;  // in the page's items
};

class Preparer {
 public:
  Preparer(const ReportTemplate& report, const ReportInput& input, const CompiledTemplate& compiled,
           PreparedReport& out)
      : m_report(report), m_input(input), m_out(out), m_values(input, compiled, out) {
    QSizeF size = report.page.sizeMm();
    m_pageWidth = size.width();
    m_pageHeight = size.height();
    m_bodyWidth = m_pageWidth - report.page.marginLeft - report.page.marginRight;
    for (const CompiledBand& band : compiled.bands) {
      switch (band.band->kind) {
        case BandKind::kTitle:
          m_title = &band;
          break;
        case BandKind::kPageHeader:
          m_pageHeader = &band;
          break;
        case BandKind::kColumnHeader:
          m_columnHeader = &band;
          break;
        case BandKind::kGroupHeader:
          m_groupHeaders.push_back(&band);
          break;
        case BandKind::kDetail:
          m_details.push_back(&band);
          break;
        case BandKind::kGroupFooter:
          m_groupFooters.push_back(&band);
          break;
        case BandKind::kSummary:
          m_summary = &band;
          break;
        case BandKind::kPageFooter:
          m_pageFooter = &band;
          break;
      }
    }
    m_groupOpen.assign(m_groupHeaders.size(), false);
    for (const CompiledBand* detail : m_details) {
      std::vector<const ReportItem*> texts;
      for (const CompiledItem& ci : detail->items) {
        if (ci.item->kind == ItemKind::kText || ci.item->kind == ItemKind::kField) {
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
    m_values.setRecord(0);
    m_values.initialiseVariables();
    startPage(false);
    if (m_title) placeBand(*m_title);
    if (m_columnHeader) placeBand(*m_columnHeader);
    std::vector<Value> keys(m_groupHeaders.size());
    for (int r = 0; r < count; ++r) {
      m_values.setRecord(r);
      std::size_t changed = m_groupHeaders.size();
      std::vector<Value> current(m_groupHeaders.size());
      for (std::size_t g = 0; g < m_groupHeaders.size(); ++g) {
        m_values.setWhere(m_groupHeaders[g]->where);
        current[g] = m_groupHeaders[g]->key.evaluate(m_values);
        if (changed == m_groupHeaders.size() && (r == 0 || !(current[g] == keys[g]))) changed = g;
      }
      if (r > 0 && changed < m_groupHeaders.size()) {
        m_values.setRecord(r - 1);
        closeGroups(changed);
        m_values.setRecord(r);
      }
      if (changed < m_groupHeaders.size()) keepHeadersWithFirstDetail(changed);
      for (std::size_t g = changed; g < m_groupHeaders.size(); ++g) {
        m_values.resetVariables(VariableReset::kGroup, m_groupHeaders[g]->band->group);
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
      m_values.setRecord(count - 1);
      closeGroups(0);
    }
    m_values.setRecord(count);
    if (m_summary) placeBand(*m_summary);
    finishPage();
    resolveDeferred();
  }

 private:
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
    return m_pageFooter && (m_values.pageNumber() > 1 || m_pageFooter->band->onFirstPage);
  }

  void startPage(bool withColumnHeader) {
    m_out.pages.emplace_back();
    m_values.setPageNumber(m_values.pageNumber() + 1);
    m_values.resetVariables(VariableReset::kPage, QString());
    m_y = m_report.page.marginTop;
    // The footer's room, as laid out now: a growing text of the footer is reserved for.
    m_footerHeight = footerOnThisPage() ? layBand(*m_pageFooter, m_bodyWidth).height : 0;
    m_bottom = m_pageHeight - m_report.page.marginBottom - m_footerHeight;
    m_inColumns = false;
    if (m_pageHeader && (m_values.pageNumber() > 1 || m_pageHeader->band->onFirstPage)) {
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

  void runAfter(const CompiledBand& band) { m_values.runScript(band, band.after); }

  // Places a band in the page body (any band but the page header and footer), moving it to
  // the next column or page whole when it does not fit. Its assignments run once for the
  // place where it is finally printed.
  void placeBand(const CompiledBand& band) {
    int columns = band.band->kind == BandKind::kDetail ? band.band->columns : 1;
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
    const ReportValues::Variables saved = m_values.variables();
    m_values.runScript(band, band.before);
    LaidBand laid = layBand(band, columnWidth);
    // Taller than the body of a page: a new page would not hold it either.
    bool tooTall = laid.height > m_bottom - m_bodyTop + 1e-9;
    while (!tooTall && m_y + laid.height > m_bottom + 1e-9 && !m_fresh) {
      if (columns > 1 && m_column + 1 < columns) {
        ++m_column;
        m_y = m_columnTop;
        continue;
      }
      m_values.setVariables(saved);
      newPage();
      if (columns > 1) {
        m_inColumns = true;
        m_column = 0;
        m_columnTop = m_y;
        m_columnBottom = m_y;
      }
      m_values.runScript(band, band.before);
      laid = layBand(band, columnWidth);
    }
    if (tooTall || m_y + laid.height > m_bottom + 1e-9) {
      // Even an empty page cannot hold it: it is not drawn over the page footer, and its
      // assignments are undone so that the totals are those of the printed bands.
      m_values.warn(
          QStringLiteral("%1la bande mesure %2 mm de haut et la page n'a que %3 mm de place : "
                         "elle n'est pas imprimée")
              .arg(m_values.inRecordBand()
                       ? QStringLiteral("enregistrement %1 : ").arg(m_values.record() + 1)
                       : QString(),
                   MmText(laid.height), MmText(m_bottom - m_y)));
      m_values.setVariables(saved);
      return;
    }
    if (band.band->kind == BandKind::kDetail) {
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
      d.moment = m_values.moment();
      d.page = m_out.pages.size() - 1;
      d.index = base + index;
      m_deferred.push_back(std::move(d));
    }
  }

  // Lays a band out at its corner, its warnings naming the band.
  LaidBand layBand(const CompiledBand& band, double width) {
    m_values.enterBand(band);
    return LayBand(m_measurer, band, width, m_values);
  }

  void resolveDeferred() {
    m_values.setTotalPages(static_cast<int>(m_out.pages.size()));
    for (Deferred& d : m_deferred) {
      m_values.restore(d.moment);
      DisplayItem& target = m_out.pages[d.page].items[d.index];
      QRectF rect = target.rect;
      DisplayItem laid = LayText(m_measurer, *d.item, m_values.text(*d.item), 1e9, m_values);
      target.lines = laid.lines;
      target.font = laid.font;
      target.clip = laid.clip;
      target.rect = rect;
    }
  }

  const ReportTemplate& m_report;
  const ReportInput& m_input;
  PreparedReport& m_out;
  ReportValues m_values;
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

  std::vector<Deferred> m_deferred;
  std::vector<bool> m_groupOpen;  // header placed, footer not yet
  QStringList m_row;              // the current record's cells for the table
  bool m_rowPrinted = false;
};

}  // namespace

void Paginate(const ReportTemplate& report, const ReportInput& input,
              const CompiledTemplate& compiled, PreparedReport& out) {
  try {
    Preparer(report, input, compiled, out).run();
  } catch (const PreparationStopped& stop) {
    out.pages.clear();
    out.tableRows.clear();
    out.errors << stop.message;
    out.stopped = true;
  }
}

}  // namespace vantrel::reports
