#pragma once

#include <QString>

class QImage;
class QWidget;

namespace vantrel::testing {

// Pictures and printed pages for a person to look at, kept only when the environment
// variable VANTREL_SCREENSHOTS names a folder (made when missing); without it nothing is
// written and the tests run as they would.

// That folder, or an empty text when the variable is unset or empty.
QString ScreenshotFolder();

// The path of name in that folder (a PDF a test prints there), or an empty text when unset.
QString ScreenshotPath(const QString& name);

// Saves a picture of widget, as it is drawn now, or picture, as name in that folder (".png"
// added when name has no suffix). True when a file was written; false when unset or the
// picture could not be saved.
bool SaveScreenshot(QWidget* widget, const QString& name);
bool SaveScreenshot(const QImage& picture, const QString& name);

}  // namespace vantrel::testing
