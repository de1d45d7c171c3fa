#pragma once

#include <QStringList>
#include <filesystem>

namespace vantrel::guides {

// Pictures of the real screens over the program folder programFolder (the demonstration
// club), each shown as its menu item shows it, saved as folder/<name>.png: the main window
// and its five menus, and every screen. Returns the names saved. Needs a QApplication; runs
// under any platform, the offscreen one included.
QStringList TakeScreenshots(const std::filesystem::path& programFolder, const QString& folder);

}  // namespace vantrel::guides
