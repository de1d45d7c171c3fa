#include "reports/glyph_checks.h"

#include <algorithm>
#include <cmath>

#include "reports/recording_device.h"

namespace vantrel::testing {
namespace {

constexpr double kDpi = 600;
// Glyph boxes of neighbouring lines may touch (ascent and descent) but not overlap by more.
constexpr double kOverlapMm = 0.3;
// Two runs this close on one baseline are one text the painter drew in two pieces.
constexpr double kSameRunMm = 0.02;

// A vertical edge painted on the page: a side of a frame or a line drawn down.
struct Edge {
  double x;
  double top;
  double bottom;
  double halfPen;
};

std::vector<Edge> VerticalEdges(const reports::PreparedPage& page, double k) {
  std::vector<Edge> edges;
  for (const reports::DisplayItem& item : page.items) {
    if (item.kind == reports::DisplayItem::Kind::kRect && item.penMm > 0) {
      const QRectF r = item.rect;
      for (double x : {r.left(), r.right()}) {
        edges.push_back({x * k, r.top() * k, r.bottom() * k, item.penMm * k / 2});
      }
    } else if (item.kind == reports::DisplayItem::Kind::kLine && std::abs(item.line.dx()) < 1e-9 &&
               std::abs(item.line.dy()) > 1e-9) {
      edges.push_back({item.line.x1() * k, std::min(item.line.y1(), item.line.y2()) * k,
                       std::max(item.line.y1(), item.line.y2()) * k, item.penMm * k / 2});
    }
  }
  return edges;
}

std::string Quoted(const QString& text) { return "\u00ab " + text.toStdString() + " \u00bb"; }

}  // namespace

std::vector<std::string> PaintFaults(const reports::PreparedPage& page, QSizeF paperMm) {
  std::vector<std::string> faults;
  const double k = kDpi / 25.4;
  const QRectF paper(0, 0, paperMm.width() * k, paperMm.height() * k);
  for (const reports::DisplayItem& item : page.items) {
    if (item.kind == reports::DisplayItem::Kind::kText && item.clip) {
      faults.push_back("clipped to its box: " + Quoted(item.lines.join(QLatin1Char(' '))));
    }
  }
  const std::vector<DrawnText> drawn = DrawPage(page, paperMm, kDpi);
  const std::vector<Edge> edges = VerticalEdges(page, k);
  const double gap = kGlyphGapMm * k;
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    const QRectF a = drawn[i].visible();
    if (!paper.contains(a)) faults.push_back(Quoted(drawn[i].text) + " leaves the paper");
    for (std::size_t j = i + 1; j < drawn.size(); ++j) {
      const QRectF b = drawn[j].visible();
      const QRectF both = a.intersected(b);
      if (both.width() > kOverlapMm * k && both.height() > kOverlapMm * k) {
        faults.push_back(Quoted(drawn[i].text) + " over " + Quoted(drawn[j].text));
        continue;
      }
      // Side by side on one line: most of the shorter box's height is shared.
      const double shared = std::min(a.bottom(), b.bottom()) - std::max(a.top(), b.top());
      if (shared < 0.5 * std::min(a.height(), b.height())) continue;
      const double apart = std::max(b.left() - a.right(), a.left() - b.right());
      if (apart < -kOverlapMm * k) continue;  // said above
      const bool oneRun = std::abs(apart) < kSameRunMm * k &&
                          std::abs(drawn[i].baseline.y() - drawn[j].baseline.y()) < 1;
      if (!oneRun && apart < gap) {
        faults.push_back(Quoted(drawn[i].text) + " touches " + Quoted(drawn[j].text) + " (" +
                         std::to_string(apart / k) + " mm)");
      }
    }
    for (const Edge& edge : edges) {
      const double middle = (a.top() + a.bottom()) / 2;
      if (middle < edge.top || middle > edge.bottom) continue;
      const double apart =
          std::max(a.left() - edge.x, edge.x - a.right()) - edge.halfPen;  // < 0: crosses it
      if (apart < gap) {
        faults.push_back(Quoted(drawn[i].text) + " touches a frame or line at " +
                         std::to_string(edge.x / k) + " mm (" + std::to_string(apart / k) + " mm)");
      }
    }
  }
  return faults;
}

}  // namespace vantrel::testing
