#include "platform/window_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace vantrel {

namespace {

// The frame and title bar a window manager adds around a window not shown yet (once shown,
// the real ones are known).
constexpr int kFrameWidth = 12;
constexpr int kFrameHeight = 40;

QRect AvailableArea(const QWidget& window) {
  const QScreen* screen = window.screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1366, 768);
}

QSize FrameSize(const QWidget& window) {
  if (window.isVisible()) {
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    if (frame.width() > 0 || frame.height() > 0) return frame;
  }
  return {kFrameWidth, kFrameHeight};
}

}  // namespace

QSize AvailableClientSize(const QWidget& window) {
  return AvailableArea(window).size() - FrameSize(window);
}

void FitAndCentre(QWidget& window, QSize wanted) {
  const QRect area = AvailableArea(window);
  const QSize frame = FrameSize(window);
  const QSize room = area.size() - frame;
  // What the layout needs wins over the room: a window is never squeezed.
  const QSize needed = window.minimumSizeHint().expandedTo(window.minimumSize());
  const QSize size = wanted.boundedTo(room).expandedTo(needed);
  window.resize(size);
  const int x = area.x() + std::max(0, (area.width() - size.width() - frame.width()) / 2);
  const int y = area.y() + std::max(0, (area.height() - size.height() - frame.height()) / 2);
  window.move(x, y);
}

}  // namespace vantrel
