#pragma once

#include <QWidget>
#include <functional>

#include "platform/app_context.h"

namespace vantrel {

// Base of every top-level screen. activated() runs when the screen becomes the
// application's active window after another screen was; deactivated() when another screen
// takes its place (see ActivationTracker).
class Screen : public QWidget {
  Q_OBJECT

 public:
  explicit Screen(AppContext& context, QWidget* parent = nullptr);
  ~Screen() override;

  virtual void activated() {}
  virtual void deactivated() {}
  // What the screen's "Quitter" does, and Escape too: hides the screen.
  virtual void quit() { hide(); }

  AppContext& context() const { return m_context; }
  platform::Platform& desktop() const { return m_context.platform; }
  const Settings& settings() const { return m_context.settings; }

 protected:
  bool event(QEvent* event) override;
  // Escape, with no modifier, calls quit().
  void keyPressEvent(QKeyEvent* event) override;

  // Runs one user command: an Error of the file or conversion layers ends it and shows the
  // error box. Returns false when it failed.
  bool runCommand(const std::function<void()>& command);

  // Shows a message box parented to this screen; Enter presses the first button.
  platform::Button ask(platform::MessageKind kind, const QString& text,
                       const std::vector<platform::Button>& buttons);
  // A question ("&Oui"/"&Non", default "&Non") before destroying or replacing data; true
  // only for "&Oui".
  bool confirmDestructive(platform::MessageKind kind, const QString& text);

 private:
  AppContext& m_context;
};

}  // namespace vantrel
