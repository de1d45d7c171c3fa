#include "platform/platform.h"

#include <algorithm>

namespace vantrel::platform {

Button Platform::escapeButton(const std::vector<Button>& buttons) {
  for (Button wanted : {Button::No, Button::Cancel}) {
    if (std::find(buttons.begin(), buttons.end(), wanted) != buttons.end()) return wanted;
  }
  return buttons.empty() ? Button::Ok : buttons.back();
}

Button Platform::message(QWidget* parent, MessageKind kind, const QString& text,
                         const std::vector<Button>& buttons) {
  return message(parent, kind, text, buttons, buttons.empty() ? Button::Ok : buttons.front());
}

}  // namespace vantrel::platform
