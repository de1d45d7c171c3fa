#pragma once

#include <QString>
#include <filesystem>

namespace vantrel {

// The one place where QString and std::filesystem::path meet: paths at the widget edge
// (dialogs, messages, desktop "open") and at Qt's own file calls keep every character, through
// UTF-16, whatever the system's local 8-bit code page. Declared in platform/text.h too for the
// screens; built in a library of its own so that the report engine and the batch tools, which
// link no screen, use the same pair.
QString PathToQString(const std::filesystem::path& path);
std::filesystem::path PathFromQString(const QString& text);

}  // namespace vantrel
