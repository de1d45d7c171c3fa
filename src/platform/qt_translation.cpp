#include "platform/qt_translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

namespace vantrel::platform {

namespace {

constexpr char kQtBaseFrench[] = "qtbase_fr.qm";

}  // namespace

QStringList QtTranslationFolders(const QString& programFolder) {
  const QDir program(programFolder);
  return {program.absolutePath(), program.absoluteFilePath(QStringLiteral("translations")),
          QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

QString InstallQtFrenchTranslation(QCoreApplication& application) {
  for (const QString& folder : QtTranslationFolders(QCoreApplication::applicationDirPath())) {
    const QString file = QDir(folder).absoluteFilePath(QLatin1String(kQtBaseFrench));
    if (!QFileInfo::exists(file)) continue;
    // Owned by the application: a translator must live as long as the texts it serves.
    auto* translator = new QTranslator(&application);
    if (translator->load(file) && QCoreApplication::installTranslator(translator)) return file;
    delete translator;
  }
  return {};
}

}  // namespace vantrel::platform
