#include "reports/report.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>

#include "platform/platform.h"
#include "platform/wait_cursor.h"
#include "reports/report_designer.h"
#include "reports/report_preview.h"

namespace vantrel::reports {

Report::Report(platform::Platform& platform, QWidget* parent)
    : m_platform(platform), m_parent(parent) {
  setClock([&platform] {
    Date today = platform.today();
    return QDateTime(QDate(today.year(), today.month(), today.day()), platform.currentTime());
  });
}

void Report::ShowReport() {
  if (!hasTemplate()) return;
  // From the preparation to the first page on the screen.
  auto wait = std::make_unique<WaitCursor>();
  PreparedReport prepared = prepare();
  // A report printed without a title (the envelope) is named after its template.
  if (prepared.title.isEmpty()) {
    prepared.title = reportTemplate().name.isEmpty()
                         ? QFileInfo(templatePath()).completeBaseName()
                         : reportTemplate().name;
  }
  ReportPreview preview(std::move(prepared), m_platform, m_parent);
  preview.setOnFirstPaint([&wait] { wait.reset(); });
  preview.exec();
}

void Report::DesignReport() {
  ReportDesigner designer(*this, m_platform, m_parent);
  designer.exec();
  // The designer saves to the file; what was saved is what prints next.
  if (designer.saved()) LoadFromFile(templatePath());
}

std::optional<QByteArray> Report::ShippedTemplate(const QString& fileName) {
  QDir shipped(QStringLiteral(":/templates"));
  const QStringList names = shipped.entryList(QDir::Files);
  for (const QString& name : names) {
    if (name.compare(fileName, Qt::CaseInsensitive) == 0) {
      QFile file(shipped.filePath(name));
      if (file.open(QIODevice::ReadOnly)) return file.readAll();
    }
  }
  return std::nullopt;
}

}  // namespace vantrel::reports
