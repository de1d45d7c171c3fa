#include "reports/qt_environment.h"

#include <QGuiApplication>

namespace vantrel::testing {

void EnsureQtApplication() {
  if (QGuiApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "vantrel_reports_tests";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);
}

}  // namespace vantrel::testing
