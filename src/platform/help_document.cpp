#include "platform/help_document.h"

#include <QUrl>

#include "core/record_file.h"
#include "platform/platform.h"
#include "platform/text.h"

namespace vantrel {

QString MissingHelpText(const char* name) {
  return QStringLiteral("Le document d'aide %1 est introuvable dans le dossier du programme.")
      .arg(QString::fromLatin1(name));
}

QString UnreadableHelpText(const char* name) {
  return QStringLiteral(
             "Le document d'aide %1 n'a pas pu être ouvert : aucun programme de lecture des "
             "fichiers PDF ne semble installé sur cet ordinateur.")
      .arg(QString::fromLatin1(name));
}

bool OpenHelpDocument(QWidget* parent, platform::Platform& desktop,
                      const std::filesystem::path& programFolder, const char* name) {
  const std::filesystem::path path = programFolder / name;
  if (!FileExists(path)) {
    desktop.message(parent, platform::MessageKind::kWarning, MissingHelpText(name),
                    {platform::Button::kOk});
    return false;
  }
  if (desktop.openUrl(QUrl::fromLocalFile(PathToQString(ResolvePath(path))))) return true;
  desktop.message(parent, platform::MessageKind::kWarning, UnreadableHelpText(name),
                  {platform::Button::kOk});
  return false;
}

}  // namespace vantrel
