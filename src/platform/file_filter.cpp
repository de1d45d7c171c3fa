#include "platform/file_filter.h"

#include <QFileInfo>
#include <QStringList>

namespace vantrel {

QString QtFileFilter(const QString& pairs) {
  const QStringList parts = pairs.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    const QString patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts).join(' ');
    const QString bracketed = QLatin1Char('(') + patterns + QLatin1Char(')');
    filters << (description.endsWith(bracketed) ? description
                                                : description + QLatin1Char(' ') + bracketed);
  }
  if (parts.size() % 2 == 1 && !parts.back().isEmpty()) filters << parts.back();
  return filters.join(QStringLiteral(";;"));
}

QString WithDefaultExtension(const QString& name, const QString& extension) {
  if (name.isEmpty() || extension.isEmpty()) return name;
  const QString fileName = QFileInfo(name).fileName();
  if (fileName.isEmpty() || fileName.contains(QLatin1Char('.'))) return name;
  return name + QLatin1Char('.') + extension;
}

QString OpenedFileName(const QString& name, const QString& extension) {
  return QFileInfo::exists(name) ? name : WithDefaultExtension(name, extension);
}

}  // namespace vantrel
