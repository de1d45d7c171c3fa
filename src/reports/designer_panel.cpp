#include "reports/designer_panel.h"

#include <QDoubleSpinBox>

namespace vantrel::reports {

QDoubleSpinBox* MmBox(double minimum, double maximum, int decimals) {
  auto* box = new QDoubleSpinBox;
  box->setRange(minimum, maximum);
  box->setDecimals(decimals);
  box->setSuffix(QStringLiteral(" mm"));
  box->setKeyboardTracking(false);
  return box;
}

}  // namespace vantrel::reports
