#include <QApplication>

#include "app/main_window_screen.h"
#include "app/program_screens.h"
#include "platform/app_context.h"
#include "platform/qt_path.h"
#include "platform/qt_platform.h"
#include "platform/qt_translation.h"
#include "platform/window_fit.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vantrel"));
  // No display name: the desktop would append it to every window title.
  // Qt's own dialogs (files, printing, standard buttons) in French, like the program.
  vantrel::platform::InstallQtFrenchTranslation(application);

  vantrel::platform::QtPlatform desktop;
  vantrel::AppContext context(desktop);
  context.settings.programFolder = vantrel::PathFromQString(QApplication::applicationDirPath());
  // One program at a time on a folder: a second start tells so and ends.
  const auto hold = vantrel::HoldProgramFolderAtStart(desktop, context.settings.programFolder);
  if (!hold) return 1;

  vantrel::TFichFprg mainWindow(context);
  if (!mainWindow.startUp()) return 0;
  QObject::connect(&mainWindow, &vantrel::TFichFprg::quitRequested, &application,
                   &QApplication::quit);

  vantrel::ProgramScreens screens(context);
  screens.wire(mainWindow);

  vantrel::FitAndCentre(mainWindow, mainWindow.size());
  mainWindow.show();
  return QApplication::exec();
}
