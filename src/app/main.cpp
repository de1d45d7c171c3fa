#include <QApplication>

#include "core/main_window_screen.h"
#include "platform/app_context.h"
#include "platform/qt_platform.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vantrel"));
  QApplication::setApplicationDisplayName(QStringLiteral("Vantrel"));

  vantrel::platform::QtPlatform desktop;
  vantrel::AppContext context(desktop);
  context.settings.programFolder = QApplication::applicationDirPath().toStdString();

  vantrel::TFichFprg mainWindow(context);
  if (!mainWindow.startUp()) return 0;
  QObject::connect(&mainWindow, &vantrel::TFichFprg::quitRequested, &application,
                   &QApplication::quit);

  mainWindow.show();
  return QApplication::exec();
}
