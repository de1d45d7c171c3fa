#pragma once

#include <QGraphicsRectItem>
#include <QGraphicsView>
#include <QImage>

#include "reports/report_template.h"

namespace vantrel::reports {

// Scene units are screen pixels at 96 dpi, so fonts show at their real point size at 100 %.
inline constexpr double kPxPerMm = 96.0 / 25.4;

// Snaps a length in pixels to the 1 mm grid.
double SnapToMm(double px);

// What the canvas tells the designer.
class CanvasListener {
 public:
  virtual ~CanvasListener() = default;
  // An item was moved or resized, or a band's height was dragged: read the scene back.
  virtual void sceneEdited() = 0;
};

// The strip of one band: its items are children, positioned from its top-left corner.
class BandStrip : public QGraphicsRectItem {
 public:
  BandStrip(int index, const Band& band, double widthMm, CanvasListener& listener);
  int index() const { return m_index; }
  // Height in millimetres as now dragged.
  double heightMm() const;

  void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

 private:
  friend class BandResizer;
  void resizeTo(double heightPx);
  int m_index;
  QString m_label;
  class BandResizer* m_resizer;
};

// The bottom edge of a band strip, dragged to change its height.
class BandResizer : public QGraphicsRectItem {
 public:
  BandResizer(BandStrip& strip, CanvasListener& listener);

 protected:
  QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;
  void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;

 private:
  BandStrip& m_strip;
  CanvasListener& m_listener;
};

// One report item on the canvas: selected, moved on the 1 mm grid, resized by its handles.
class DesignerItem : public QGraphicsRectItem {
 public:
  DesignerItem(int band, int index, const ReportItem& item, const QString& templateFolder,
               CanvasListener& listener);
  int band() const { return m_band; }
  int index() const { return m_index; }
  // Position and size in millimetres as now on the canvas.
  QRectF geometryMm() const;

  void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
  QRectF boundingRect() const override;
  QPainterPath shape() const override;

 protected:
  QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;
  void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
  void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
  void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
  void hoverMoveEvent(QGraphicsSceneHoverEvent* event) override;

 private:
  enum class Handle { kNone, kRight, kBottom, kCorner };
  Handle handleAt(const QPointF& point) const;
  QRectF handleRect(Handle handle) const;

  int m_band;
  int m_index;
  ReportItem m_item;
  QImage m_image;
  CanvasListener& m_listener;
  Handle m_resizing = Handle::kNone;
  bool m_moved = false;
};

// The view: arrow keys nudge the selection by 1 mm (5 mm with Shift), Delete removes it.
class DesignerView : public QGraphicsView {
  Q_OBJECT

 public:
  explicit DesignerView(QWidget* parent);

 signals:
  void nudged(double dxMm, double dyMm);
  void deleteRequested();
  // A double click on an item: its text is to be edited.
  void editRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

}  // namespace vantrel::reports
