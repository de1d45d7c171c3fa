#include "platform/named_button.h"

#include <QPushButton>

namespace vantrel {

QPushButton* NamedButton(QWidget* parent, const QString& caption, const char* name) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QLatin1String(name));
  return button;
}

}  // namespace vantrel
