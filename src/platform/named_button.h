#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace vantrel {

// A push button with its caption, named as the screen's control (the name tests and the
// designer find it by).
QPushButton* NamedButton(QWidget* parent, const QString& caption, const char* name);

}  // namespace vantrel
