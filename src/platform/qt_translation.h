#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

namespace vantrel::platform {

// The folders searched for Qt's French translation, in order: the program's folder (where
// the Windows installation puts "qtbase_fr.qm"), its "translations" folder, then Qt's own
// translations folder (Debian package qt6-translations-l10n).
QStringList QtTranslationFolders(const QString& programFolder);

// Installs Qt's French translation of its own texts (standard buttons, the file and print
// dialogs) in application, taken from the first of QtTranslationFolders() that holds
// "qtbase_fr.qm". Returns the file loaded; empty when none was found, and Qt then speaks
// English.
QString InstallQtFrenchTranslation(QCoreApplication& application);

}  // namespace vantrel::platform
