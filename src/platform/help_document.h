#pragma once

#include <QString>
#include <filesystem>

class QWidget;

namespace vantrel {
namespace platform {
class Platform;
}

// Opens a help document of the program folder (its name matched without regard to case)
// with the desktop's reader. When the file is missing, warns "Le document d'aide <name> est
// introuvable dans le dossier du programme." and opens nothing; when the desktop reports that
// it could not open it (no PDF reader), warns so. Both warnings have the single button "OK".
// Returns true when the desktop opened the document.
bool OpenHelpDocument(QWidget* parent, platform::Platform& desktop,
                      const std::filesystem::path& programFolder, const char* name);

// The two warnings, for the tests that expect them.
QString MissingHelpText(const char* name);
QString UnreadableHelpText(const char* name);

}  // namespace vantrel
