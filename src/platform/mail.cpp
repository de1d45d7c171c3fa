#include "platform/mail.h"

#include <QUrl>

#include "platform/platform.h"
#include "platform/text.h"

namespace vantrel {

void OpenMailClient(QWidget* parent, platform::Platform& desktop, const std::string& link) {
  const QUrl url(ToQString(link), QUrl::TolerantMode);
  if (desktop.openUrl(url)) return;
  desktop.message(parent, platform::MessageKind::Warning,
                  QStringLiteral("Le courier électronique par défaut\r\rn'est pas installé "
                                 "correctement"),
                  {platform::Button::Yes});
}

void AskToChooseMailAccount(QWidget* parent, platform::Platform& desktop) {
  desktop.message(parent, platform::MessageKind::Information,
                  QStringLiteral("Choisir son compte Courriel"), {platform::Button::Ok});
}

}  // namespace vantrel
