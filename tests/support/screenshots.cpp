#include "support/screenshots.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace vantrel::testing {

QString ScreenshotFolder() { return qEnvironmentVariable("VANTREL_SCREENSHOTS"); }

QString ScreenshotPath(const QString& name) {
  const QString folder = ScreenshotFolder();
  if (folder.isEmpty() || !QDir().mkpath(folder)) return {};
  return QDir(folder).filePath(name);
}

bool SaveScreenshot(const QImage& picture, const QString& name) {
  const QString file =
      ScreenshotPath(QFileInfo(name).suffix().isEmpty() ? name + QStringLiteral(".png") : name);
  return !file.isEmpty() && picture.save(file);
}

bool SaveScreenshot(QWidget* widget, const QString& name) {
  if (ScreenshotFolder().isEmpty()) return false;
  return SaveScreenshot(widget->grab().toImage(), name);
}

}  // namespace vantrel::testing
