#include "platform/mail.h"

#include <QUrl>

#include "platform/platform.h"
#include "platform/text.h"

namespace vantrel {

void OpenMailClient(QWidget* parent, platform::Platform& desktop, const std::string& link) {
  const QUrl url(ToQString(link), QUrl::TolerantMode);
  if (desktop.openUrl(url)) return;
  desktop.message(parent, platform::MessageKind::kWarning,
                  QStringLiteral("Le courier électronique par défaut\r\rn'est pas installé "
                                 "correctement"),
                  {platform::Button::kYes});
}

void AskToChooseMailAccount(QWidget* parent, platform::Platform& desktop) {
  desktop.message(parent, platform::MessageKind::kInformation,
                  QStringLiteral("Choisir son compte Courriel"), {platform::Button::kOk});
}

}  // namespace vantrel
