#include "reports/recording_device.h"

#include <QFontMetricsF>
#include <QPainter>

#include "reports/page_render.h"

namespace vantrel::testing {

class RecordingDevice::Engine : public QPaintEngine {
 public:
  explicit Engine(const RecordingDevice& device) : QPaintEngine(AllFeatures), m_device(device) {}

  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState&) override {}
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
  void drawPath(const QPainterPath&) override {}
  void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
  void drawLines(const QLineF*, int) override {}
  void drawRects(const QRectF*, int) override {}
  Type type() const override { return User; }

  void drawTextItem(const QPointF& p, const QTextItem& item) override {
    DrawnText drawn;
    drawn.text = item.text();
    drawn.baseline = p;
    drawn.font = item.font();
    QFontMetricsF metrics(drawn.font, &m_device);
    drawn.box = QRectF(p.x(), p.y() - metrics.ascent(), metrics.horizontalAdvance(drawn.text),
                       metrics.ascent() + metrics.descent());
    if (painter()->hasClipping()) drawn.clip = painter()->clipBoundingRect();
    texts.push_back(drawn);
  }

  std::vector<DrawnText> texts;

 private:
  const RecordingDevice& m_device;
};

RecordingDevice::RecordingDevice(QSizeF pageMm, double dpi)
    : m_pageMm(pageMm), m_dpi(dpi), m_engine(std::make_unique<Engine>(*this)) {}

RecordingDevice::~RecordingDevice() = default;

QPaintEngine* RecordingDevice::paintEngine() const { return m_engine.get(); }

const std::vector<DrawnText>& RecordingDevice::texts() const { return m_engine->texts; }

QRectF RecordingDevice::toDevice(const QRectF& mm) const {
  double k = m_dpi / 25.4;
  return QRectF(mm.topLeft() * k, mm.size() * k);
}

int RecordingDevice::metric(PaintDeviceMetric metric) const {
  double k = m_dpi / 25.4;
  switch (metric) {
    case PdmWidth:
      return qRound(m_pageMm.width() * k);
    case PdmHeight:
      return qRound(m_pageMm.height() * k);
    case PdmWidthMM:
      return qRound(m_pageMm.width());
    case PdmHeightMM:
      return qRound(m_pageMm.height());
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
      return qRound(m_dpi);
    case PdmNumColors:
      return 0x7fffffff;
    case PdmDepth:
      return 32;
    case PdmDevicePixelRatio:
      return 1;
    case PdmDevicePixelRatioScaled:
      return static_cast<int>(devicePixelRatioFScale());
  }
  return 0;
}

std::vector<DrawnText> DrawPage(const reports::PreparedPage& page, QSizeF pageMm, double dpi) {
  RecordingDevice device(pageMm, dpi);
  QPainter painter(&device);
  reports::PaintPage(painter, page, dpi);
  painter.end();
  return device.texts();
}

}  // namespace vantrel::testing
