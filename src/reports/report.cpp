#include "reports/report.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>

#include "core/record_file.h"
#include "platform/wait_cursor.h"
#include "reports/report_designer.h"
#include "reports/report_engine.h"
#include "reports/report_preview.h"

namespace vantrel::reports {

Report::Report(platform::Platform& platform, QWidget* parent)
    : m_platform(platform), m_parent(parent) {}

bool Report::LoadFromFile(const QString& path) {
  // Templates copied from Windows may differ in letter case from the names the screens use.
  m_path = QString::fromStdString(ResolvePath(std::filesystem::path(path.toStdString())).string());
  m_loaded = false;
  m_template = ReportTemplate();
  m_loadErrors.clear();
  m_variables.clear();
  QFile file(m_path);
  if (!QFileInfo(m_path).isFile() || !file.open(QIODevice::ReadOnly)) return false;
  TemplateLoad load = ParseTemplate(file.readAll());
  m_loaded = true;
  if (load.value) {
    m_template = std::move(*load.value);
  } else {
    m_loadErrors = load.errors;
  }
  return true;
}

void Report::setVariable(const QString& name, int value) {
  setVariable(name, Decimal::FromInteger(value));
}

void Report::setVariable(const QString& name, double value) {
  setVariable(name, Decimal::FromDouble(value));
}

void Report::setVariable(const QString& name, Decimal value) {
  for (auto& [existing, v] : m_variables) {
    if (existing == name) {
      v = Value::FromNumber(value);
      return;
    }
  }
  m_variables.emplace_back(name, Value::FromNumber(value));
}

PreparedReport Report::prepare() const {
  if (!m_loadErrors.isEmpty()) {
    PreparedReport broken;
    broken.title = m_title;
    broken.errors << QStringLiteral("Le modèle %1 contient des erreurs :").arg(m_path);
    broken.errors << m_loadErrors;
    return broken;
  }
  return prepare(m_template);
}

PreparedReport Report::prepare(const ReportTemplate& other) const {
  ReportInput input;
  input.recordCount = m_count;
  input.variables = m_variables;
  input.title = m_title;
  input.templateFolder = QFileInfo(m_path).absolutePath();
  if (OnGetValue) {
    input.getValue = [this](const QString& name, int record) {
      Value value;
      OnGetValue(name, record, value);
      return value;
    };
  }
  return PrepareReport(other, input);
}

void Report::ShowReport() {
  if (!m_loaded) return;
  PreparedReport prepared;
  {
    WaitCursor wait;
    prepared = prepare();
  }
  ReportPreview preview(std::move(prepared), m_platform, m_parent);
  preview.exec();
}

void Report::DesignReport() {
  ReportDesigner designer(*this, m_platform, m_parent);
  designer.exec();
  // The designer saves to the file; what was saved is what prints next.
  if (designer.saved()) LoadFromFile(m_path);
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
