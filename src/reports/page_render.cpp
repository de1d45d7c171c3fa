#include "reports/page_render.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>

namespace vantrel::reports {
namespace {

constexpr double kMmPerInch = 25.4;

}  // namespace

QFont MakeFont(const FontStyle& style) {
  QFont font(style.family);
  font.setPointSizeF(style.pointSize);
  font.setBold(style.bold);
  font.setItalic(style.italic);
  font.setUnderline(style.underline);
  return font;
}

void ApplyPageSetup(QPagedPaintDevice& device, const PageSetup& page) {
  QPageSize size;
  switch (page.format) {
    case PageFormat::kA4:
      size = QPageSize(QPageSize::A4);
      break;
    case PageFormat::kA5:
      size = QPageSize(QPageSize::A5);
      break;
    case PageFormat::kDL:
      size = QPageSize(QPageSize::DLE);
      break;
    case PageFormat::kC5:
      size = QPageSize(QPageSize::C5E);
      break;
    case PageFormat::kC6:
      size = QPageSize(QPageSize::EnvelopeC6);
      break;
    case PageFormat::kCustom:
      size = QPageSize(QSizeF(page.customShortMm, page.customLongMm), QPageSize::Millimeter,
                       QString(), QPageSize::ExactMatch);
      break;
  }
  QPageLayout layout(size, page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
  layout.setMode(QPageLayout::FullPageMode);
  device.setPageLayout(layout);
}

void PaintPage(QPainter& painter, const PreparedPage& page, double dpi, QPointF offsetMm) {
  const double k = dpi / kMmPerInch;
  auto px = [&](QPointF mm) { return (mm + offsetMm) * k; };
  auto rectPx = [&](const QRectF& mm) { return QRectF(px(mm.topLeft()), mm.size() * k); };
  QHash<QString, QFont> fonts;
  painter.setRenderHint(QPainter::Antialiasing, true);
  for (const DisplayItem& item : page.items) {
    switch (item.kind) {
      case DisplayItem::Kind::kLine: {
        QPen pen(item.color, std::max(1.0, item.penMm * k));
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        painter.drawLine(QLineF(px(item.line.p1()), px(item.line.p2())));
        break;
      }
      case DisplayItem::Kind::kRect: {
        QRectF r = rectPx(item.rect);
        if (item.fill.isValid()) painter.fillRect(r, item.fill);
        if (item.penMm > 0) {
          painter.setPen(QPen(item.color, std::max(1.0, item.penMm * k)));
          painter.setBrush(Qt::NoBrush);
          painter.drawRect(r);
        }
        break;
      }
      case DisplayItem::Kind::kImage: {
        QRectF r = rectPx(item.rect);
        QSizeF fitted = QSizeF(item.image.size()).scaled(r.size(), Qt::KeepAspectRatio);
        QRectF target(r.topLeft() + QPointF((r.width() - fitted.width()) / 2,
                                            (r.height() - fitted.height()) / 2),
                      fitted);
        painter.drawImage(target, item.image);
        break;
      }
      case DisplayItem::Kind::kText: {
        if (item.lines.isEmpty() || (item.lines.size() == 1 && item.lines[0].isEmpty())) break;
        QString key = QStringLiteral("%1|%2|%3%4%5")
                          .arg(item.font.family)
                          .arg(item.font.pointSize)
                          .arg(int(item.font.bold))
                          .arg(int(item.font.italic))
                          .arg(int(item.font.underline));
        auto font = fonts.find(key);
        if (font == fonts.end()) font = fonts.insert(key, MakeFont(item.font));
        painter.setFont(*font);
        painter.setPen(item.color);
        QFontMetricsF metrics(*font, painter.device());
        QRectF r = rectPx(item.rect);
        double padding = kTextPaddingMm * k;
        double lineHeight = item.lineHeightMm * k;
        double textHeight = lineHeight * item.lines.size();
        double top = r.top();
        if (item.valign == VAlign::kMiddle) top += (r.height() - textHeight) / 2;
        if (item.valign == VAlign::kBottom) top += r.height() - textHeight;
        if (item.clip) {
          painter.save();
          painter.setClipRect(r);
        }
        for (int i = 0; i < item.lines.size(); ++i) {
          const QString& line = item.lines[i];
          if (line.isEmpty()) continue;
          double width = metrics.horizontalAdvance(line);
          // A line wider than the padded box uses the padding, the least it can.
          double inset = std::clamp((r.width() - width) / 2, 0.0, padding);
          double x = r.left() + inset;
          if (item.align == HAlign::kCenter) x = r.left() + (r.width() - width) / 2;
          if (item.align == HAlign::kRight) x = r.right() - inset - width;
          painter.drawText(QPointF(x, top + i * lineHeight + metrics.ascent()), line);
        }
        if (item.clip) painter.restore();
        break;
      }
    }
  }
}

bool WritePdf(const PreparedReport& report, QIODevice& device) {
  QPdfWriter writer(&device);
  writer.setResolution(1200);
  writer.setCreator(QStringLiteral("Vantrel"));
  writer.setTitle(report.title);
  ApplyPageSetup(writer, report.page);
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  for (std::size_t i = 0; i < report.pages.size(); ++i) {
    if (i > 0) writer.newPage();
    PaintPage(painter, report.pages[i], writer.resolution());
  }
  return painter.end();
}

bool WritePdfFile(const PreparedReport& report, const QString& path, QString* error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || !WritePdf(report, file) || !file.commit()) {
    *error = QStringLiteral("Impossible de créer le fichier %1").arg(path);
    return false;
  }
  return true;
}

}  // namespace vantrel::reports
