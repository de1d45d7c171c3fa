#pragma once

#include <QFont>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <memory>
#include <vector>

#include "reports/prepared_report.h"

namespace vantrel::testing {

// One run of glyphs a painter drew: its text, where (device pixels: the baseline's left
// end and the glyphs' box), in which font, and the clip in force (empty when none).
struct DrawnText {
  QString text;
  QPointF baseline;
  QRectF box;
  QFont font;
  QRectF clip;
  // The part of the glyphs that shows: box within the clip.
  QRectF visible() const { return clip.isEmpty() ? box : box.intersected(clip); }
};

// A paint device that records the glyphs drawn on it instead of pixels, at a given
// resolution, so that tests read what a page really shows (not a PDF's text layer).
class RecordingDevice : public QPaintDevice {
 public:
  RecordingDevice(QSizeF pageMm, double dpi);
  ~RecordingDevice() override;

  QPaintEngine* paintEngine() const override;
  const std::vector<DrawnText>& texts() const;
  double dpi() const { return m_dpi; }
  // Millimetres to device pixels.
  QRectF toDevice(const QRectF& mm) const;

 protected:
  int metric(PaintDeviceMetric metric) const override;

 private:
  class Engine;
  QSizeF m_pageMm;
  double m_dpi;
  std::unique_ptr<Engine> m_engine;
};

// The glyphs of one prepared page as drawn by the page painter.
std::vector<DrawnText> DrawPage(const reports::PreparedPage& page, QSizeF pageMm, double dpi = 600);

}  // namespace vantrel::testing
