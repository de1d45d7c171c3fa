#include "platform/activation_tracker.h"

#include "platform/screen.h"

namespace vantrel {

void ActivationTracker::windowActivated(Screen* screen) {
  if (screen == m_current) return;
  Screen* previous = m_current;
  m_current = screen;
  if (previous) previous->deactivated();
  screen->activated();
}

void ActivationTracker::forget(Screen* screen) {
  if (m_current == screen) m_current = nullptr;
}

}  // namespace vantrel
