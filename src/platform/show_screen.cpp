#include "platform/show_screen.h"

#include <QWidget>

namespace vantrel {

void ShowScreen(QWidget& screen) {
  if (screen.isMinimized()) screen.showNormal();
  screen.show();
  screen.raise();
  screen.activateWindow();
}

}  // namespace vantrel
