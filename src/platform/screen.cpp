#include "platform/screen.h"

#include <QEvent>
#include <QKeyEvent>

#include "platform/command.h"

namespace vantrel {

Screen::Screen(AppContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), m_context(context) {}

Screen::~Screen() { m_context.tracker.forget(this); }

bool Screen::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) m_context.tracker.windowActivated(this);
  return QWidget::event(event);
}

void Screen::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    quit();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool Screen::runCommand(const std::function<void()>& command) {
  return RunCommand(this, desktop(), command);
}

platform::Button Screen::ask(platform::MessageKind kind, const QString& text,
                             const std::vector<platform::Button>& buttons) {
  return desktop().message(this, kind, text, buttons);
}

bool Screen::confirmDestructive(platform::MessageKind kind, const QString& text) {
  using platform::Button;
  return desktop().message(this, kind, text, {Button::kYes, Button::kNo}, Button::kNo) ==
         Button::kYes;
}

}  // namespace vantrel
