#include <QApplication>

#include "core/apropos_screen.h"
#include "core/main_window_screen.h"
#include "platform/app_context.h"
#include "platform/qt_platform.h"
#include "utilities/backup_screen.h"
#include "utilities/calculator_screen.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vantrel"));
  // No display name: the desktop would append it to every window title.

  vantrel::platform::QtPlatform desktop;
  vantrel::AppContext context(desktop);
  context.settings.programFolder = QApplication::applicationDirPath().toStdString();

  vantrel::TFichFprg mainWindow(context);
  if (!mainWindow.startUp()) return 0;
  QObject::connect(&mainWindow, &vantrel::TFichFprg::quitRequested, &application,
                   &QApplication::quit);

  // Utilities and the about box.
  vantrel::TFichFCalc calculatorScreen(context);
  vantrel::TFichFSvg backupScreen(context);
  vantrel::TApropos aboutBox(context);
  mainWindow.wireScreen(vantrel::MenuItem::Backup, backupScreen,
                        [&] { backupScreen.setMode(vantrel::TFichFSvg::Mode::kBackup); });
  mainWindow.wireScreen(vantrel::MenuItem::Restore, backupScreen,
                        [&] { backupScreen.setMode(vantrel::TFichFSvg::Mode::kRestore); });
  mainWindow.wireScreen(vantrel::MenuItem::Calculator, calculatorScreen);
  mainWindow.wireScreen(vantrel::MenuItem::About, aboutBox);

  mainWindow.show();
  return QApplication::exec();
}
