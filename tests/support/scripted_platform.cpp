#include "support/scripted_platform.h"

#include <QPrinter>

namespace vantrel::testing {

platform::Button ScriptedPlatform::message(QWidget*, platform::MessageKind kind,
                                           const QString& text,
                                           const std::vector<platform::Button>& buttons,
                                           platform::Button defaultButton) {
  messages.push_back({kind, text, buttons, defaultButton});
  if (!answers.empty()) {
    const platform::Button answer = answers.front();
    answers.pop_front();
    return answer;
  }
  return buttons.empty() ? platform::Button::kOk : defaultButton;
}

std::optional<QString> ScriptedPlatform::nextFile(const QString& caption, const QString& folder,
                                                  const QString& filter) {
  fileDialogCaptions.push_back(caption);
  fileDialogFolders.push_back(folder);
  fileDialogFilters.push_back(filter);
  if (fileAnswers.empty()) return std::nullopt;
  const bool given = fileAnswers.front().has_value();
  const QString name = fileAnswers.front().value_or(QString());
  fileAnswers.pop_front();
  if (!given) return std::nullopt;
  return name;
}

std::optional<QString> ScriptedPlatform::openFileName(QWidget*, const QString& caption,
                                                      const QString& folder,
                                                      const QString& filter) {
  return nextFile(caption, folder, filter);
}

std::optional<QString> ScriptedPlatform::saveFileName(QWidget*, const QString& caption,
                                                      const QString& suggested,
                                                      const QString& filter) {
  return nextFile(caption, suggested, filter);
}

std::optional<QString> ScriptedPlatform::folderName(QWidget*, const QString& caption,
                                                    const QString& root) {
  return nextFile(caption, root);
}

bool ScriptedPlatform::choosePrinter(QWidget*, QPrinter& printer) {
  if (printerAnswers.empty()) return false;
  const bool answer = printerAnswers.front();
  printerAnswers.pop_front();
  if (answer && !printerOutputFile.isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printerOutputFile);
  }
  return answer;
}

bool ScriptedPlatform::openUrl(const QUrl& url) {
  openedUrls.push_back(url);
  return openUrlResult;
}

bool ScriptedPlatform::headRequestOk(const QUrl& url, int) {
  headRequests.push_back(url);
  const auto found = headAnswers.find(url.toString());
  return found != headAnswers.end() && found->second;
}

QStringList ScriptedPlatform::messageTexts() const {
  QStringList texts;
  for (const auto& shown : messages) texts << shown.text;
  return texts;
}

QStringList ScriptedPlatform::openedUrlTexts() const {
  QStringList texts;
  for (const QUrl& url : openedUrls) texts << url.toString();
  return texts;
}

}  // namespace vantrel::testing
