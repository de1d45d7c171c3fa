#pragma once

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QRectF>
#include <QStringList>
#include <vector>

#include "reports/report_template.h"

namespace vantrel::reports {

// One thing to draw on a prepared page, in millimetres from the paper's top-left corner.
struct DisplayItem {
  enum class Kind { kText, kLine, kRect, kImage };
  Kind kind = Kind::kText;
  QRectF rect;        // Text, Rect, Image
  QStringList lines;  // Text: already broken into lines, drawn as they are
  double lineHeightMm = 0;
  FontStyle font;
  HAlign align = HAlign::kLeft;
  VAlign valign = VAlign::kTop;
  QColor color = Qt::black;  // text and line colour, Rect outline colour
  bool clip = false;         // Text: drawn only inside rect (it did not fit)
  QLineF line;               // Line
  double penMm = 0.2;        // Line width; Rect outline width, 0 for none
  QColor fill;               // Rect fill; invalid for none
  QImage image;
};

struct PreparedPage {
  std::vector<DisplayItem> items;
};

// Every page of a report, ready to be drawn on any device: expressions were evaluated and
// texts broken into lines once, at 1200 dpi.
struct PreparedReport {
  PageSetup page;
  QString title;
  std::vector<PreparedPage> pages;
  // Why the template could not be prepared at all (French, with the place). No pages then.
  QStringList errors;
  // True when the template is sound but preparing stopped at a value that could not be
  // computed (errors says which, with the record): the data, not the template, is at fault.
  bool stopped = false;
  // Problems met while preparing (unknown names, division by zero, a value too wide for
  // its box), each said once.
  QStringList warnings;
  // The warnings that make the document wrong, not just less pretty: a value cut or a band
  // not printed, a name nobody knows, a value that could not be computed. (A missing image
  // is a warning only.) A batch run, with nobody to look at a preview, fails on any.
  QStringList faults;
  // The detail records as printed, for a spreadsheet: one heading per text item of the
  // detail bands (in band order, then left to right), one row per printed record.
  QStringList tableHeader;
  std::vector<QStringList> tableRows;
};

// Inner padding of text boxes, left and right, in millimetres.
inline constexpr double kTextPaddingMm = 0.5;
// A number too wide for its box is printed smaller, down to this size (points), before it
// is said not to fit.
inline constexpr double kSmallestNumberPointSize = 6;

}  // namespace vantrel::reports
