#include "platform/qt_platform.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTimer>

#include <algorithm>

#include "core/os_file.h"
#include "platform/qt_path.h"

namespace vantrel::platform {

QString MessageBoxText(const QString& text) {
  QString shown;
  shown.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
      shown += c;
      continue;
    }
    shown += QLatin1Char('\n');
    // CR LF and LF CR are one break each; the pair's second half is skipped.
    const QChar other = c == QLatin1Char('\r') ? QLatin1Char('\n') : QLatin1Char('\r');
    if (i + 1 < text.size() && text[i + 1] == other) ++i;
  }
  return shown;
}

QString MessageTitle(MessageKind kind) {
  switch (kind) {
    case MessageKind::kWarning:
      return QStringLiteral("Avertissement");
    case MessageKind::kError:
      return QStringLiteral("Erreur");
    case MessageKind::kInformation:
      return QStringLiteral("Information");
    case MessageKind::kConfirmation:
      return QStringLiteral("Confirmation");
  }
  return {};
}

QString ButtonText(Button button) {
  switch (button) {
    case Button::kYes:
      return QStringLiteral("&Oui");
    case Button::kNo:
      return QStringLiteral("&Non");
    case Button::kOk:
      return QStringLiteral("OK");
    case Button::kCancel:
      return QStringLiteral("Annuler");
  }
  return {};
}

Button QtPlatform::message(QWidget* parent, MessageKind kind, const QString& text,
                           const std::vector<Button>& buttons, Button defaultButton) {
  QMessageBox box(parent);
  box.setWindowTitle(MessageTitle(kind));
  switch (kind) {
    case MessageKind::kWarning:
      box.setIcon(QMessageBox::Warning);
      break;
    case MessageKind::kError:
      box.setIcon(QMessageBox::Critical);
      break;
    case MessageKind::kInformation:
      box.setIcon(QMessageBox::Information);
      break;
    case MessageKind::kConfirmation:
      box.setIcon(QMessageBox::Question);
      break;
  }
  box.setText(MessageBoxText(text));
  std::vector<std::pair<QPushButton*, Button>> pushButtons;
  for (Button button : buttons) {
    const auto role = (button == Button::kYes || button == Button::kOk) ? QMessageBox::AcceptRole
                                                                      : QMessageBox::RejectRole;
    pushButtons.emplace_back(box.addButton(ButtonText(button), role), button);
  }
  const Button escape = escapeButton(buttons);
  for (const auto& [push, button] : pushButtons) {
    if (button == defaultButton) box.setDefaultButton(push);
    if (button == escape) box.setEscapeButton(push);
  }
  box.exec();
  for (const auto& [push, button] : pushButtons) {
    if (box.clickedButton() == push) return button;
  }
  return escape;
}

std::optional<QString> QtPlatform::openFileName(QWidget* parent, const QString& caption,
                                                const QString& folder, const QString& filter) {
  const QString name = QFileDialog::getOpenFileName(parent, caption, folder, filter);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<QString> QtPlatform::saveFileName(QWidget* parent, const QString& caption,
                                                const QString& suggested, const QString& filter) {
  const QString name = QFileDialog::getSaveFileName(parent, caption, suggested, filter);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

std::optional<QString> QtPlatform::folderName(QWidget* parent, const QString& caption,
                                              const QString& root) {
  const QString name = QFileDialog::getExistingDirectory(parent, caption, root);
  if (name.isEmpty()) return std::nullopt;
  return name;
}

bool QtPlatform::choosePrinter(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

bool QtPlatform::openUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

bool QtPlatform::headRequestOk(const QUrl& url, int timeoutMs) {
  QNetworkAccessManager manager;
  QNetworkRequest request(url);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::NoLessSafeRedirectPolicy);
  request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
  request.setTransferTimeout(0);
  QNetworkReply* reply = manager.head(request);
  QEventLoop loop;
  QTimer deadline;
  deadline.setSingleShot(true);
  deadline.setTimerType(Qt::PreciseTimer);
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
  deadline.start(timeoutMs);
  if (!reply->isFinished()) loop.exec();
  bool ok = false;
  if (reply->isFinished()) {
    ok = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() == 200;
  } else {
    reply->abort();
  }
  reply->deleteLater();
  return ok;
}

Date QtPlatform::today() {
  const QDate date = QDate::currentDate();
  return Date::FromYmd(date.year(), date.month(), date.day()).value_or(Date{});
}

QTime QtPlatform::currentTime() { return QTime::currentTime(); }

qint64 QtPlatform::tickMs() {
  static QElapsedTimer timer;
  if (!timer.isValid()) timer.start();
  return timer.elapsed();
}

namespace {

// The seam's kind of a drive as the backup screen shows it; nothing for no place to save to.
std::optional<Drive::Type> TypeOf(os::DriveKind kind) {
  switch (kind) {
    case os::DriveKind::kRemovable:
      return Drive::Type::kRemovable;
    case os::DriveKind::kFixed:
      return Drive::Type::kFixed;
    case os::DriveKind::kRemote:
      return Drive::Type::kRemote;
    case os::DriveKind::kCdRom:
      return Drive::Type::kCdRom;
    case os::DriveKind::kRamDisk:
      return Drive::Type::kRamDisk;
    case os::DriveKind::kUnknown:
      break;
  }
  return std::nullopt;
}

}  // namespace

std::optional<Drive::Type> DriveTypeOf(const QString& fileSystemType, const QString& device,
                                       const QString& root) {
  return TypeOf(os::DriveKindOfMount(fileSystemType.toStdString(), device.toStdString(),
                                     os::Utf8Of(PathFromQString(root))));
}

std::vector<Drive> QtPlatform::drives() {
  std::vector<Drive> result;
  for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
    if (!storage.isValid() || !storage.isReady()) continue;
    const QString root = storage.rootPath();
#ifdef Q_OS_WIN
    // Letters only, "A" to "Z", typed by Windows itself.
    if (root.size() > 3 || root.size() < 2 || root[1] != QChar(':')) continue;
    const auto type = TypeOf(os::DriveKindOfRoot(PathFromQString(QDir::toNativeSeparators(root))));
#else
    const auto type = DriveTypeOf(QString::fromUtf8(storage.fileSystemType()),
                                  QString::fromUtf8(storage.device()), root);
#endif
    if (!type) continue;
    result.push_back({*type, storage.displayName(), root});
  }
#ifdef Q_OS_WIN
  std::sort(result.begin(), result.end(),
            [](const Drive& a, const Drive& b) { return a.root.toUpper() < b.root.toUpper(); });
#endif
  return result;
}

QString QtPlatform::documentsFolder() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QDir().mkpath(folder)) return {};
  return folder;
}

}  // namespace vantrel::platform
