#include "platform/show_screen.h"

#include <QVariant>
#include <QWidget>

#include "platform/window_fit.h"

namespace vantrel {

void ShowScreen(QWidget& screen) {
  if (screen.isMinimized()) screen.showNormal();
  // The first time, the screen takes its size within the desktop's room, centred; later the
  // user's place and size are kept.
  if (!screen.property("vantrelPlaced").toBool()) {
    screen.setProperty("vantrelPlaced", true);
    FitAndCentre(screen, screen.size());
  }
  screen.show();
  screen.raise();
  screen.activateWindow();
}

}  // namespace vantrel
