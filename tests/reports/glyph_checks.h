#pragma once

#include <QSizeF>
#include <string>
#include <vector>

#include "reports/prepared_report.h"

namespace vantrel::testing {

// What a prepared page really paints, checked glyph by glyph (at 600 dpi, as printed):
//  - every run of glyphs lies on the paper and no two overlap;
//  - two runs side by side on one line keep kGlyphGapMm between them (figures that touch
//    read as one number);
//  - a run keeps kGlyphGapMm from the vertical edges of the frames and lines beside it;
//  - no text is clipped to its box (a value cut at its edge).
// Returns one description per fault, empty when the page is sound.
inline constexpr double kGlyphGapMm = 0.5;
std::vector<std::string> PaintFaults(const reports::PreparedPage& page, QSizeF paperMm);

}  // namespace vantrel::testing
