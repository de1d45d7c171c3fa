#include "platform/command.h"

#include "core/error.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace vantrel {

bool RunCommand(QWidget* parent, platform::Platform& desktop,
                const std::function<void()>& command) {
  try {
    command();
    return true;
  } catch (const Error& error) {
    desktop.message(parent, platform::MessageKind::kError, ToQString(error.what()),
                    {platform::Button::kOk});
    return false;
  }
}

}  // namespace vantrel
