#include "support/modal_windows.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

namespace vantrel::testing {

QStringList WithModals(const std::function<void()>& action,
                       const std::function<void(QWidget*)>& inspect) {
  QStringList titles;
  QTimer timer;
  timer.setInterval(20);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    titles << modal->windowTitle();
    if (inspect) inspect(modal);
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(QDialog::Rejected);
  });
  timer.start();
  action();
  timer.stop();
  return titles;
}

}  // namespace vantrel::testing
