#pragma once

#include <functional>

#include "core/settings.h"
#include "platform/activation_tracker.h"
#include "platform/platform.h"

namespace vantrel {

// What every screen is handed: the desktop, the current settings and the activation
// tracker. Owned by main() (or a test) and outliving every screen.
struct AppContext {
  explicit AppContext(platform::Platform& desktop) : platform(desktop) {}

  platform::Platform& platform;
  Settings settings;
  ActivationTracker tracker;
  // Reloads the settings file and refreshes the main window (set by the main window).
  std::function<void()> reloadSettings;
};

}  // namespace vantrel
