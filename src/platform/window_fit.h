#pragma once

#include <QSize>

class QWidget;

namespace vantrel {

// Sizes a top-level window to wanted, but never larger than the available area of its screen
// (the area left by the desktop's panels, with room for the window's frame and title bar),
// and centres it on that area. A window whose layout needs more keeps its minimum size.
void FitAndCentre(QWidget& window, QSize wanted);

// The largest client size a window may take on its screen: the available area less its frame.
QSize AvailableClientSize(const QWidget& window);

}  // namespace vantrel
