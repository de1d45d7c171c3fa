#pragma once

namespace vantrel {

class Screen;

// Decides which screen is the active one. A screen becoming the active window deactivates
// the one before it and activates itself; windows that are not screens (message boxes,
// file dialogs, the report preview and designer) change nothing.
class ActivationTracker {
 public:
  void windowActivated(Screen* screen);
  // A screen being destroyed is forgotten.
  void forget(Screen* screen);
  Screen* current() const { return m_current; }

 private:
  Screen* m_current = nullptr;
};

}  // namespace vantrel
