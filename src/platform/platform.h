#pragma once

#include <QString>
#include <QTime>
#include <QUrl>
#include <optional>
#include <vector>

#include "core/date.h"

class QPrinter;
class QWidget;

namespace vantrel::platform {

enum class MessageKind { kWarning, kError, kInformation, kConfirmation };
enum class Button { kYes, kNo, kOk, kCancel };

struct Drive {
  enum class Type { kRemovable, kFixed, kRemote, kCdRom, kRamDisk };
  Type type = Type::kFixed;
  QString label;  // the volume's name, may be empty
  QString root;   // "E:/" on Windows, a mount point elsewhere
};

// Everything the desktop provides. The program uses the Qt one (QtPlatform); tests use a
// scripted one with queued answers, recorded requests and a settable clock.
class Platform {
 public:
  // The button that Escape presses among buttons (see message()): "Annuler" when offered, else
  // "&Non", else the last one.
  static Button escapeButton(const std::vector<Button>& buttons);

  virtual ~Platform() = default;

  // A modal message box titled by its kind ("Avertissement", "Erreur", "Information",
  // "Confirmation") with the given buttons ("&Oui", "&Non", "OK", "Annuler"); Enter presses
  // defaultButton. Escape, or closing the box otherwise, answers "&Non" when the box has it,
  // else "Annuler", else the last button. Returns the button pressed.
  virtual Button message(QWidget* parent, MessageKind kind, const QString& text,
                         const std::vector<Button>& buttons, Button defaultButton) = 0;

  // The same box with the first button as default. A question that destroys or replaces
  // data passes Button::kNo as default instead.
  Button message(QWidget* parent, MessageKind kind, const QString& text,
                 const std::vector<Button>& buttons);

  // File and folder dialogs; nothing when cancelled.
  virtual std::optional<QString> openFileName(QWidget* parent, const QString& caption,
                                              const QString& folder, const QString& filter) = 0;
  virtual std::optional<QString> saveFileName(QWidget* parent, const QString& caption,
                                              const QString& suggested, const QString& filter) = 0;
  virtual std::optional<QString> folderName(QWidget* parent, const QString& caption,
                                            const QString& root) = 0;

  // The standard print dialog on printer; false when cancelled.
  virtual bool choosePrinter(QWidget* parent, QPrinter& printer) = 0;

  // The desktop's "open" on a document or a link; true when the desktop reports success.
  virtual bool openUrl(const QUrl& url) = 0;

  // One HTTP HEAD request (redirections followed) that keeps the user interface running
  // while it waits; true only for the status 200 within timeoutMs.
  virtual bool headRequestOk(const QUrl& url, int timeoutMs) = 0;

  // The clock: today's date and a millisecond tick count.
  virtual Date today() = 0;
  virtual qint64 tickMs() = 0;
  // The time of day, to the second (printed under reports as "Heure").
  virtual QTime currentTime() = 0;

  // The drives or mount points data can be saved to: removable media (USB keys mounted
  // under the media folders, removable letters on Windows), fixed drives, network drives...
  virtual std::vector<Drive> drives() = 0;
  // The user's documents folder (made when missing), a place the user can always write;
  // empty when the system has none.
  virtual QString documentsFolder() = 0;
};

}  // namespace vantrel::platform
