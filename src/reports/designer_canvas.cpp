#include "reports/designer_canvas.h"

#include <QCursor>
#include <QDir>
#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <cmath>

#include "reports/page_render.h"

namespace vantrel::reports {
namespace {

constexpr double kHandlePx = 7;
constexpr double kResizerPx = 5;

}  // namespace

double SnapToMm(double px) { return std::round(px / kPxPerMm) * kPxPerMm; }

BandStrip::BandStrip(int index, const Band& band, double widthMm, CanvasListener& listener)
    : QGraphicsRectItem(0, 0, widthMm * kPxPerMm, band.height * kPxPerMm), m_index(index) {
  m_label = BandKindLabel(band.kind);
  if (!band.group.isEmpty()) m_label += QStringLiteral(" (%1)").arg(band.group);
  if (band.columns > 1) m_label += QStringLiteral(", %1 colonnes").arg(band.columns);
  setFlag(ItemIsSelectable);
  setPen(QPen(QColor(0x90, 0xa0, 0xb8), 0));
  setBrush(QColor(0xfa, 0xfb, 0xfd));
  m_resizer = new BandResizer(*this, listener);
}

double BandStrip::heightMm() const { return std::round(rect().height() / kPxPerMm); }

void BandStrip::resizeTo(double heightPx) {
  prepareGeometryChange();
  setRect(0, 0, rect().width(), heightPx);
}

void BandStrip::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) {
  QStyleOptionGraphicsItem plain(*option);
  plain.state &= ~QStyle::State_Selected;
  QGraphicsRectItem::paint(painter, &plain, widget);
  painter->save();
  painter->setPen(QColor(0xe6, 0xea, 0xf0));
  for (double x = 5 * kPxPerMm; x < rect().width(); x += 5 * kPxPerMm) {
    painter->drawLine(QPointF(x, 0), QPointF(x, rect().height()));
  }
  painter->setPen(isSelected() ? QColor(0x20, 0x60, 0xc0) : QColor(0x60, 0x70, 0x88));
  QFont font = painter->font();
  font.setPointSizeF(8);
  font.setBold(isSelected());
  painter->setFont(font);
  painter->drawText(QRectF(-200, 0, 194, 16), Qt::AlignRight | Qt::AlignTop, m_label);
  painter->restore();
}

BandResizer::BandResizer(BandStrip& strip, CanvasListener& listener)
    : QGraphicsRectItem(0, -kResizerPx / 2, strip.rect().width(), kResizerPx, &strip),
      m_strip(strip),
      m_listener(listener) {
  setPos(0, strip.rect().height());
  setFlag(ItemIsMovable);
  setFlag(ItemSendsGeometryChanges);
  setCursor(Qt::SizeVerCursor);
  setPen(Qt::NoPen);
  setBrush(QColor(0x90, 0xa0, 0xb8, 90));
  setZValue(10);
  setToolTip(QStringLiteral("Glisser pour changer la hauteur de la bande"));
}

QVariant BandResizer::itemChange(GraphicsItemChange change, const QVariant& value) {
  if (change == ItemPositionChange) {
    double y = std::max(kPxPerMm, SnapToMm(value.toPointF().y()));
    m_strip.resizeTo(y);
    return QPointF(0, y);
  }
  return QGraphicsRectItem::itemChange(change, value);
}

void BandResizer::mouseReleaseEvent(QGraphicsSceneMouseEvent* event) {
  QGraphicsRectItem::mouseReleaseEvent(event);
  m_listener.sceneEdited();
}

DesignerItem::DesignerItem(int band, int index, const ReportItem& item,
                           const QString& templateFolder, CanvasListener& listener)
    : m_band(band), m_index(index), m_item(item), m_listener(listener) {
  setRect(0, 0, item.width * kPxPerMm, item.height * kPxPerMm);
  setPos(item.x * kPxPerMm, item.y * kPxPerMm);
  setFlag(ItemIsSelectable);
  setFlag(ItemIsMovable);
  setFlag(ItemSendsGeometryChanges);
  setAcceptHoverEvents(true);
  if (item.kind == ItemKind::kImage && !item.content.isEmpty()) {
    m_image.load(QDir(templateFolder).filePath(item.content));
  }
  setZValue(item.kind == ItemKind::kFrame ? 1 : 2);
}

QRectF DesignerItem::geometryMm() const {
  return QRectF(std::round(pos().x() / kPxPerMm), std::round(pos().y() / kPxPerMm),
                std::round(rect().width() / kPxPerMm), std::round(rect().height() / kPxPerMm));
}

QRectF DesignerItem::boundingRect() const {
  QRectF r = rect().normalized();
  return r.adjusted(-kHandlePx, -kHandlePx, kHandlePx, kHandlePx);
}

QPainterPath DesignerItem::shape() const {
  QPainterPath path;
  path.setFillRule(Qt::WindingFill);  // the handles overlap the box: keep both
  QRectF r = rect().normalized().adjusted(-3, -3, 3, 3);
  path.addRect(r);
  if (isSelected()) {
    for (Handle h : {Handle::kRight, Handle::kBottom, Handle::kCorner}) path.addRect(handleRect(h));
  }
  return path;
}

QRectF DesignerItem::handleRect(Handle handle) const {
  QRectF r = rect();
  QPointF centre;
  switch (handle) {
    case Handle::kRight:
      centre = QPointF(r.right(), r.center().y());
      break;
    case Handle::kBottom:
      centre = QPointF(r.center().x(), r.bottom());
      break;
    case Handle::kCorner:
      centre = r.bottomRight();
      break;
    case Handle::kNone:
      return QRectF();
  }
  return QRectF(centre - QPointF(kHandlePx / 2, kHandlePx / 2), QSizeF(kHandlePx, kHandlePx));
}

DesignerItem::Handle DesignerItem::handleAt(const QPointF& point) const {
  if (!isSelected()) return Handle::kNone;
  for (Handle h : {Handle::kCorner, Handle::kRight, Handle::kBottom}) {
    if (handleRect(h).contains(point)) return h;
  }
  return Handle::kNone;
}

void DesignerItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
  painter->save();
  QRectF r = rect();
  switch (m_item.kind) {
    case ItemKind::kText:
    case ItemKind::kField: {
      if (m_item.fill.isValid()) painter->fillRect(r, m_item.fill);
      painter->setPen(QPen(QColor(0xb0, 0xb8, 0xc8), 0, Qt::DotLine));
      painter->drawRect(r);
      painter->setPen(QPen(m_item.color, std::max(1.0, m_item.borders.widthMm * kPxPerMm)));
      if (m_item.borders.left) painter->drawLine(r.topLeft(), r.bottomLeft());
      if (m_item.borders.top) painter->drawLine(r.topLeft(), r.topRight());
      if (m_item.borders.right) painter->drawLine(r.topRight(), r.bottomRight());
      if (m_item.borders.bottom) painter->drawLine(r.bottomLeft(), r.bottomRight());
      painter->setFont(MakeFont(m_item.font));
      bool field = m_item.kind == ItemKind::kField;
      painter->setPen(field ? QColor(0x10, 0x50, 0xb0) : m_item.color);
      int flags = m_item.align == HAlign::kLeft     ? Qt::AlignLeft
                  : m_item.align == HAlign::kCenter ? Qt::AlignHCenter
                                                   : Qt::AlignRight;
      flags |= m_item.valign == VAlign::kTop      ? Qt::AlignTop
               : m_item.valign == VAlign::kMiddle ? Qt::AlignVCenter
                                                 : Qt::AlignBottom;
      if (m_item.wordWrap) flags |= Qt::TextWordWrap;
      painter->setClipRect(r.adjusted(-1, -1, 1, 1));
      QString text = field ? QStringLiteral("[%1]").arg(m_item.content) : m_item.content;
      painter->drawText(r.adjusted(2, 0, -2, 0), flags, text);
      break;
    }
    case ItemKind::kLine:
      painter->setPen(QPen(m_item.color, std::max(1.0, m_item.lineWidthMm * kPxPerMm)));
      painter->drawLine(r.topLeft(), r.bottomRight());
      break;
    case ItemKind::kFrame:
      if (m_item.fill.isValid()) painter->fillRect(r, m_item.fill);
      painter->setPen(QPen(m_item.color, std::max(1.0, m_item.lineWidthMm * kPxPerMm)));
      painter->drawRect(r);
      break;
    case ItemKind::kImage:
      if (!m_image.isNull()) {
        QSizeF fitted = QSizeF(m_image.size()).scaled(r.size(), Qt::KeepAspectRatio);
        painter->drawImage(QRectF(r.topLeft(), fitted), m_image);
      } else {
        painter->setPen(QPen(Qt::gray, 0, Qt::DashLine));
        painter->drawRect(r);
        painter->drawText(r, Qt::AlignCenter, QStringLiteral("Image"));
      }
      break;
  }
  if (isSelected()) {
    painter->setClipping(false);
    painter->setPen(QPen(QColor(0x20, 0x60, 0xc0), 0, Qt::DashLine));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(r.normalized());
    painter->setPen(QPen(QColor(0x20, 0x60, 0xc0), 0));
    painter->setBrush(Qt::white);
    for (Handle h : {Handle::kRight, Handle::kBottom, Handle::kCorner})
      painter->drawRect(handleRect(h));
  }
  painter->restore();
}

QVariant DesignerItem::itemChange(GraphicsItemChange change, const QVariant& value) {
  if (change == ItemPositionChange) {
    QPointF p = value.toPointF();
    return QPointF(SnapToMm(p.x()), SnapToMm(p.y()));
  }
  if (change == ItemSelectedHasChanged) {
    // A selected item's handles stay above the band's height grip.
    setZValue(value.toBool() ? 20 : (m_item.kind == ItemKind::kFrame ? 1 : 2));
  }
  return QGraphicsRectItem::itemChange(change, value);
}

void DesignerItem::mousePressEvent(QGraphicsSceneMouseEvent* event) {
  m_resizing = event->button() == Qt::LeftButton ? handleAt(event->pos()) : Handle::kNone;
  m_moved = false;
  if (m_resizing != Handle::kNone) {
    event->accept();
    return;
  }
  QGraphicsRectItem::mousePressEvent(event);
}

void DesignerItem::mouseMoveEvent(QGraphicsSceneMouseEvent* event) {
  m_moved = true;
  if (m_resizing == Handle::kNone) {
    QGraphicsRectItem::mouseMoveEvent(event);
    return;
  }
  // Lines may have no width or no height; boxes keep at least 1 mm.
  double minimum = m_item.kind == ItemKind::kLine ? 0 : kPxPerMm;
  QRectF r = rect();
  if (m_resizing != Handle::kBottom) r.setWidth(std::max(minimum, SnapToMm(event->pos().x())));
  if (m_resizing != Handle::kRight) r.setHeight(std::max(minimum, SnapToMm(event->pos().y())));
  prepareGeometryChange();
  setRect(r);
}

void DesignerItem::mouseReleaseEvent(QGraphicsSceneMouseEvent* event) {
  bool edited = m_moved;
  if (m_resizing != Handle::kNone) {
    m_resizing = Handle::kNone;
    event->accept();
  } else {
    QGraphicsRectItem::mouseReleaseEvent(event);
  }
  if (edited) m_listener.sceneEdited();
}

void DesignerItem::hoverMoveEvent(QGraphicsSceneHoverEvent* event) {
  switch (handleAt(event->pos())) {
    case Handle::kRight:
      setCursor(Qt::SizeHorCursor);
      break;
    case Handle::kBottom:
      setCursor(Qt::SizeVerCursor);
      break;
    case Handle::kCorner:
      setCursor(Qt::SizeFDiagCursor);
      break;
    case Handle::kNone:
      setCursor(Qt::SizeAllCursor);
      break;
  }
}

DesignerView::DesignerView(QWidget* parent) : QGraphicsView(parent) {
  setDragMode(QGraphicsView::RubberBandDrag);
  setRenderHint(QPainter::Antialiasing);
  setRenderHint(QPainter::TextAntialiasing);
  setBackgroundBrush(QColor(0xd8, 0xdc, 0xe2));
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void DesignerView::mouseDoubleClickEvent(QMouseEvent* event) {
  QGraphicsView::mouseDoubleClickEvent(event);
  if (dynamic_cast<DesignerItem*>(itemAt(event->pos())) != nullptr) emit editRequested();
}

void DesignerView::keyPressEvent(QKeyEvent* event) {
  double step = (event->modifiers() & Qt::ShiftModifier) ? 5 : 1;
  switch (event->key()) {
    case Qt::Key_Left:
      emit nudged(-step, 0);
      return;
    case Qt::Key_Right:
      emit nudged(step, 0);
      return;
    case Qt::Key_Up:
      emit nudged(0, -step);
      return;
    case Qt::Key_Down:
      emit nudged(0, step);
      return;
    case Qt::Key_Delete:
      emit deleteRequested();
      return;
    default:
      QGraphicsView::keyPressEvent(event);
  }
}

}  // namespace vantrel::reports
