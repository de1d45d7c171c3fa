#pragma once

#include <QString>
#include <filesystem>
#include <string>

namespace vantrel {

// The widget edge: domain text is Windows-1252 bytes, widgets show UTF-16. A character the
// code page cannot hold becomes "?".
QString ToQString(const std::string& cp1252);
std::string FromQString(const QString& text);

// Paths at the widget edge (dialogs, messages, desktop "open"): every character kept, whatever
// the system's local 8-bit code page.
QString PathToQString(const std::filesystem::path& path);
std::filesystem::path PathFromQString(const QString& text);

}  // namespace vantrel
