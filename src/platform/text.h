#pragma once

#include <QString>
#include <string>

namespace vantrel {

// The widget edge: domain text is Windows-1252 bytes, widgets show UTF-16. A character the
// code page cannot hold becomes "?".
QString ToQString(const std::string& cp1252);
std::string FromQString(const QString& text);

}  // namespace vantrel
