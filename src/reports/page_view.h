#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <functional>
#include <list>

#include "reports/prepared_report.h"

namespace vantrel::reports {

// Prepared pages one under the other on a grey desk, drawn only when they come into view
// (a thousand-page report opens as fast as a one-page one) and kept for a few pages.
class PageView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  enum class Zoom { kFitPage, kFitWidth, kFactor };

  explicit PageView(const PreparedReport& report, QWidget* parent = nullptr);

  int pageCount() const { return static_cast<int>(m_report.pages.size()); }
  // The page at the middle of the view, counted from 1 (0 when there is none).
  int currentPage() const;
  // Scrolls so that the page's top shows; clamped to the pages.
  void setCurrentPage(int page);

  // FitPage shows a whole page, FitWidth a page's width; Factor 1 is the paper's real size.
  void setZoom(Zoom zoom, double factor = 1);
  // Screen pixels per millimetre of paper, as laid out now.
  double pixelsPerMm() const { return m_pixelsPerMm; }

  // Called once, after the first page was drawn on the screen.
  std::function<void()> onFirstPaint;
  // How many pages were drawn so far (each drawing of a page counts once).
  int pagesDrawn() const { return m_pagesDrawn; }

 signals:
  void currentPageChanged(int page);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void relayout();
  QSizeF pagePixels() const;
  double pageStride() const;
  const QImage& pageImage(int index);

  const PreparedReport& m_report;
  Zoom m_zoom = Zoom::kFitPage;
  double m_factor = 1;
  double m_pixelsPerMm = 1;
  int m_lastCurrent = 0;
  int m_pinned = 0;  // the page setCurrentPage() asked for, while the view stays there
  int m_pinnedScroll = -1;
  bool m_painted = false;
  int m_pagesDrawn = 0;
  struct Cached {
    int index;
    QImage image;
  };
  std::list<Cached> m_cache;  // most recently used first
};

}  // namespace vantrel::reports
