#pragma once

#include "platform/platform.h"

namespace vantrel::platform {

// The platform of the running program, over Qt's own dialogs, desktop services and network.
class QtPlatform : public Platform {
 public:
  using Platform::message;
  Button message(QWidget* parent, MessageKind kind, const QString& text,
                 const std::vector<Button>& buttons, Button defaultButton) override;
  std::optional<QString> openFileName(QWidget* parent, const QString& caption,
                                      const QString& folder, const QString& filter) override;
  std::optional<QString> saveFileName(QWidget* parent, const QString& caption,
                                      const QString& suggested, const QString& filter) override;
  std::optional<QString> folderName(QWidget* parent, const QString& caption,
                                    const QString& root) override;
  bool choosePrinter(QWidget* parent, QPrinter& printer) override;
  bool openUrl(const QUrl& url) override;
  bool headRequestOk(const QUrl& url, int timeoutMs) override;
  Date today() override;
  qint64 tickMs() override;
  QTime currentTime() override;
  std::vector<Drive> drives() override;
  QString documentsFolder() override;
};

// The text a message box shows: every line break of the stored texts (CR LF, LF CR, a lone
// CR or LF) becomes one "\n"; "\r\n\r\n" is two breaks, an empty line between.
QString MessageBoxText(const QString& text);

// Caption of a message box of that kind, and the text of a button.
QString MessageTitle(MessageKind kind);
QString ButtonText(Button button);

// Classifies a mounted file system for the drive list; nothing for pseudo file systems.
std::optional<Drive::Type> DriveTypeOf(const QString& fileSystemType, const QString& device,
                                       const QString& root);

}  // namespace vantrel::platform
