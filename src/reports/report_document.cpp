#include "reports/report_document.h"

#include <QFile>
#include <QFileInfo>
#include <filesystem>

#include "core/record_file.h"
#include "platform/qt_path.h"
#include "reports/report_engine.h"

namespace vantrel::reports {

bool ReportDocument::LoadFromFile(const QString& path) {
  // Templates copied from Windows may differ in letter case from the names the screens use.
  m_path = PathToQString(ResolvePath(PathFromQString(path)));
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

void ReportDocument::setVariable(const QString& name, int value) {
  setVariable(name, Decimal::FromInteger(value));
}

void ReportDocument::setVariable(const QString& name, double value) {
  setVariable(name, Decimal::FromDouble(value));
}

void ReportDocument::setVariable(const QString& name, Decimal value) {
  for (auto& [existing, v] : m_variables) {
    if (existing == name) {
      v = Value::FromNumber(value);
      return;
    }
  }
  m_variables.emplace_back(name, Value::FromNumber(value));
}

PreparedReport ReportDocument::prepare() const {
  if (!m_loadErrors.isEmpty()) {
    PreparedReport broken;
    broken.title = m_title;
    broken.errors << QStringLiteral("Le modèle %1 contient des erreurs :").arg(m_path);
    broken.errors << m_loadErrors;
    return broken;
  }
  return prepare(m_template);
}

ReportInput ReportDocument::input() const {
  ReportInput input;
  input.recordCount = m_count;
  input.variables = m_variables;
  input.title = m_title;
  input.now = now();
  input.templateFolder = QFileInfo(m_path).absolutePath();
  if (OnGetValue || !m_values.isEmpty()) {
    input.getValue = [this](const QString& name, int record) {
      Value value;
      if (OnGetValue) OnGetValue(name, record, value);
      if (value.isEmpty()) value = m_values.answer(name, record, m_count);
      return value;
    };
  }
  return input;
}

PreparedReport ReportDocument::prepare(const ReportTemplate& other) const {
  return PrepareReport(other, input());
}

PreparedReport ReportDocument::prepareWithSamples(const ReportTemplate& other) const {
  const TemplateVariables* samples = declaration();
  if (samples == nullptr || m_count > 0 || !m_variables.empty()) return prepare(other);
  ReportInput sample = SampleInput(*samples);
  ReportInput real = input();
  sample.title = real.title.isEmpty() ? QFileInfo(m_path).completeBaseName() : real.title;
  sample.now = real.now;
  sample.templateFolder = real.templateFolder;
  return PrepareReport(other, sample);
}

}  // namespace vantrel::reports
