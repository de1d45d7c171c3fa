#pragma once

#include <string>

class QWidget;

namespace vantrel {
namespace platform {
class Platform;
}

// Hands a "mailto:" link (Windows-1252 bytes) to the desktop mail program. When the desktop
// does not report success, warns "Le courier électronique par défaut / n'est pas installé
// correctement" with the single button "&Oui".
void OpenMailClient(QWidget* parent, platform::Platform& desktop, const std::string& link);

// The message shown before any link to members is opened ("Choisir son compte Courriel").
void AskToChooseMailAccount(QWidget* parent, platform::Platform& desktop);

}  // namespace vantrel
