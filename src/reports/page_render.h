#pragma once

#include <QFont>
#include <QPointF>
#include <QString>

#include "reports/prepared_report.h"

class QIODevice;
class QPagedPaintDevice;
class QPainter;

namespace vantrel::reports {

// Sets the device's paper to the template's page (size, orientation, no margins).
void ApplyPageSetup(QPagedPaintDevice& device, const PageSetup& page);

// The Qt font of an item's font style, at its real point size.
QFont MakeFont(const FontStyle& style);

// Draws one prepared page on a painter whose device has `dpi` dots per inch, converting
// millimetres to device pixels and fonts at their real point size (the painter is never
// scaled for text). offsetMm moves everything right and down.
void PaintPage(QPainter& painter, const PreparedPage& page, double dpi,
               QPointF offsetMm = QPointF());

// The pages as a PDF document (1200 dpi, fonts embedded). False when the device fails.
bool WritePdf(const PreparedReport& report, QIODevice& device);
// As WritePdf, into a file replaced atomically; a French message in *error when it fails.
bool WritePdfFile(const PreparedReport& report, const QString& path, QString* error);

}  // namespace vantrel::reports
