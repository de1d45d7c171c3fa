#include "platform/platform.h"

#include <algorithm>

namespace vantrel::platform {

Button Platform::escapeButton(const std::vector<Button>& buttons) {
  // "Annuler" first: in a question that also offers "&Non" (save the changes?), "&Non" throws
  // the edits away, and Escape must never do that.
  for (Button wanted : {Button::kCancel, Button::kNo}) {
    if (std::find(buttons.begin(), buttons.end(), wanted) != buttons.end()) return wanted;
  }
  return buttons.empty() ? Button::kOk : buttons.back();
}

Button Platform::message(QWidget* parent, MessageKind kind, const QString& text,
                         const std::vector<Button>& buttons) {
  return message(parent, kind, text, buttons, buttons.empty() ? Button::kOk : buttons.front());
}

}  // namespace vantrel::platform
