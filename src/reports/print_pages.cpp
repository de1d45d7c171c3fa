#include "reports/print_pages.h"

#include <QPainter>
#include <QPrinter>
#include <algorithm>

#include "reports/page_render.h"

namespace vantrel::reports {

void PrintPages(const PreparedReport& report, QPrinter& printer, int fromPage, int toPage) {
  int count = static_cast<int>(report.pages.size());
  if (count == 0) return;
  if (fromPage <= 0 && toPage <= 0) {
    fromPage = 1;
    toPage = count;
  }
  fromPage = std::clamp(fromPage, 1, count);
  toPage = std::clamp(toPage <= 0 ? count : toPage, fromPage, count);
  if (report.title.size() > 0) printer.setDocName(report.title);
  QPainter painter;
  if (!painter.begin(&printer)) return;
  QPointF offset(report.page.printOffsetX, report.page.printOffsetY);
  for (int i = fromPage; i <= toPage; ++i) {
    if (i > fromPage) printer.newPage();
    PaintPage(painter, report.pages[i - 1], printer.resolution(), offset);
  }
  painter.end();
}

}  // namespace vantrel::reports
