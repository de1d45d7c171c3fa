#include "reports/page_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "reports/page_render.h"

namespace vantrel::reports {
namespace {

constexpr int kMarginPx = 12;       // around and between pages
constexpr std::size_t kCached = 8;  // pages kept drawn
constexpr double kMmPerInch = 25.4;

}  // namespace

PageView::PageView(const PreparedReport& report, QWidget* parent)
    : QAbstractScrollArea(parent), m_report(report) {
  viewport()->setAutoFillBackground(false);
  setFrameShape(QFrame::NoFrame);
  verticalScrollBar()->setSingleStep(40);
  relayout();
}

QSizeF PageView::pagePixels() const { return m_report.page.sizeMm() * m_pixelsPerMm; }

double PageView::pageStride() const { return pagePixels().height() + kMarginPx; }

void PageView::setZoom(Zoom zoom, double factor) {
  int page = currentPage();
  m_zoom = zoom;
  m_factor = factor;
  relayout();
  setCurrentPage(page);
}

void PageView::relayout() {
  QSizeF paper = m_report.page.sizeMm();
  QSize room = viewport()->size() - QSize(2 * kMarginPx, 2 * kMarginPx);
  double screen = logicalDpiX() / kMmPerInch;
  switch (m_zoom) {
    case Zoom::kFitPage:
      m_pixelsPerMm = std::min(room.width() / paper.width(), room.height() / paper.height());
      break;
    case Zoom::kFitWidth:
      m_pixelsPerMm = room.width() / paper.width();
      break;
    case Zoom::kFactor:
      m_pixelsPerMm = screen * m_factor;
      break;
  }
  m_pixelsPerMm = std::max(m_pixelsPerMm, 0.2);
  m_cache.clear();
  QSizeF page = pagePixels();
  int height = static_cast<int>(std::ceil(pageCount() * pageStride() + kMarginPx));
  int width = static_cast<int>(std::ceil(page.width() + 2 * kMarginPx));
  verticalScrollBar()->setPageStep(viewport()->height());
  verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
  horizontalScrollBar()->setPageStep(viewport()->width());
  horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
  viewport()->update();
}

int PageView::currentPage() const {
  if (pageCount() == 0) return 0;
  if (m_pinned > 0 && m_pinnedScroll == verticalScrollBar()->value()) return m_pinned;
  double middle = verticalScrollBar()->value() + viewport()->height() / 2.0 - kMarginPx;
  int page = static_cast<int>(std::floor(middle / pageStride())) + 1;
  // At the top of the report the first page is the current one, at the bottom the last.
  if (verticalScrollBar()->value() == 0) page = 1;
  if (verticalScrollBar()->value() == verticalScrollBar()->maximum() &&
      verticalScrollBar()->maximum() > 0) {
    page = pageCount();
  }
  return std::clamp(page, 1, pageCount());
}

void PageView::setCurrentPage(int page) {
  if (pageCount() == 0) return;
  page = std::clamp(page, 1, pageCount());
  verticalScrollBar()->setValue(static_cast<int>(std::floor((page - 1) * pageStride())));
  // The last pages cannot scroll to their top: the page asked for stays the current one
  // until the view scrolls.
  m_pinned = page;
  m_pinnedScroll = verticalScrollBar()->value();
  if (page != m_lastCurrent) {
    m_lastCurrent = page;
    emit currentPageChanged(page);
  }
}

void PageView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  int page = currentPage();
  relayout();
  if (page > 1) setCurrentPage(page);
}

void PageView::scrollContentsBy(int, int) {
  viewport()->update();
  if (verticalScrollBar()->value() != m_pinnedScroll) m_pinned = 0;
  int page = currentPage();
  if (page != m_lastCurrent) {
    m_lastCurrent = page;
    emit currentPageChanged(page);
  }
}

const QImage& PageView::pageImage(int index) {
  for (auto it = m_cache.begin(); it != m_cache.end(); ++it) {
    if (it->index == index) {
      m_cache.splice(m_cache.begin(), m_cache, it);
      return m_cache.front().image;
    }
  }
  double ratio = devicePixelRatioF();
  QSize size = (pagePixels() * ratio).toSize();
  QImage image(size, QImage::Format_RGB32);
  // Fonts take their size from the image's resolution: it must be the one drawn at.
  int dotsPerMeter = qRound(m_pixelsPerMm * ratio * 1000);
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  QPainter painter(&image);
  PaintPage(painter, m_report.pages[index], m_pixelsPerMm * ratio * kMmPerInch);
  painter.end();
  ++m_pagesDrawn;
  m_cache.push_front(Cached{index, std::move(image)});
  if (m_cache.size() > kCached) m_cache.pop_back();
  return m_cache.front().image;
}

void PageView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), QColor(0x80, 0x80, 0x80));
  if (pageCount() == 0) return;
  QSizeF page = pagePixels();
  double left = kMarginPx - horizontalScrollBar()->value();
  if (page.width() + 2 * kMarginPx < viewport()->width()) {
    left = (viewport()->width() - page.width()) / 2;
  }
  double scroll = verticalScrollBar()->value();
  int first = std::max(0, static_cast<int>(std::floor((scroll - kMarginPx) / pageStride())));
  for (int index = first; index < pageCount(); ++index) {
    double top = kMarginPx + index * pageStride() - scroll;
    if (top > viewport()->height()) break;
    QRectF target(QPointF(left, top), page);
    if (!target.intersects(event->rect())) continue;
    painter.fillRect(target.translated(3, 3), QColor(0x50, 0x50, 0x50));
    painter.drawImage(target.topLeft(), pageImage(index));
  }
  painter.end();
  if (!m_painted) {
    m_painted = true;
    if (onFirstPaint) onFirstPaint();
  }
}

}  // namespace vantrel::reports
