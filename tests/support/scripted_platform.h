#pragma once

#include <QStringList>
#include <deque>
#include <map>
#include <optional>
#include <vector>

#include "platform/platform.h"

namespace vantrel::testing {

// The desktop of the tests: answers come from queues filled by the test, and every request
// is recorded.
class ScriptedPlatform : public platform::Platform {
 public:
  struct Message {
    platform::MessageKind kind;
    QString text;
    std::vector<platform::Button> buttons;
    platform::Button defaultButton = platform::Button::kOk;
  };

  // Next answers to message boxes; when empty, the default button is pressed (Enter).
  std::deque<platform::Button> answers;
  std::vector<Message> messages;
  // Answers to the open, save and folder dialogs in order; when empty, cancelled.
  std::deque<std::optional<QString>> fileAnswers;
  std::vector<QString> fileDialogCaptions;
  // The folder (or suggested name) and the filter of each file dialog, in order.
  std::vector<QString> fileDialogFolders;
  std::vector<QString> fileDialogFilters;
  // Answers to the print dialog; when empty, cancelled.
  std::deque<bool> printerAnswers;
  // Where an accepted print dialog sends the pages (a PDF file), when set.
  QString printerOutputFile;
  std::vector<QUrl> openedUrls;
  bool openUrlResult = true;
  // Answers to HEAD requests by address; a missing address answers false.
  std::map<QString, bool> headAnswers;
  std::vector<QUrl> headRequests;
  Date todayValue = *Date::FromYmd(2026, 12, 9);
  qint64 tickValue = 0;
  QTime timeValue = QTime(14, 5);
  std::vector<platform::Drive> driveList;
  QString documentsValue;

  // The texts of the messages shown and the addresses opened, in order.
  QStringList messageTexts() const;
  QStringList openedUrlTexts() const;

  using platform::Platform::message;
  platform::Button message(QWidget* parent, platform::MessageKind kind, const QString& text,
                           const std::vector<platform::Button>& buttons,
                           platform::Button defaultButton) override;
  std::optional<QString> openFileName(QWidget* parent, const QString& caption,
                                      const QString& folder, const QString& filter) override;
  std::optional<QString> saveFileName(QWidget* parent, const QString& caption,
                                      const QString& suggested, const QString& filter) override;
  std::optional<QString> folderName(QWidget* parent, const QString& caption,
                                    const QString& root) override;
  bool choosePrinter(QWidget* parent, QPrinter& printer) override;
  bool openUrl(const QUrl& url) override;
  bool headRequestOk(const QUrl& url, int timeoutMs) override;
  Date today() override { return todayValue; }
  qint64 tickMs() override { return tickValue; }
  QTime currentTime() override { return timeValue; }
  std::vector<platform::Drive> drives() override { return driveList; }
  QString documentsFolder() override { return documentsValue; }

 private:
  std::optional<QString> nextFile(const QString& caption, const QString& folder = {},
                                  const QString& filter = {});
};

}  // namespace vantrel::testing
