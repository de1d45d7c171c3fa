#include "platform/busy_guard.h"

namespace vantrel {

BusyGuard::BusyGuard(std::initializer_list<QWidget*> controls) {
  for (QWidget* control : controls) {
    // Controls disabled by themselves stay so; one disabled through its parent is counted.
    if (!control || control->testAttribute(Qt::WA_ForceDisabled)) continue;
    control->setEnabled(false);
    m_disabled.emplace_back(control);
  }
}

BusyGuard::~BusyGuard() {
  for (const QPointer<QWidget>& control : m_disabled) {
    if (control) control->setEnabled(true);
  }
}

}  // namespace vantrel
