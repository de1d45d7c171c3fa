#pragma once

#include <functional>

class QWidget;

namespace vantrel {
namespace platform {
class Platform;
}

// Runs a user command. An Error thrown by the file or conversion layers ends it at the
// failing step and shows its message in an error box ("Erreur", "OK"); what the command had
// changed before stays changed. Returns false when the command failed.
bool RunCommand(QWidget* parent, platform::Platform& desktop, const std::function<void()>& command);

}  // namespace vantrel
