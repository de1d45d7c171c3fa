#include "reports/report_request_bridge.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>

#include "core/cp1252.h"
#include "core/error.h"
#include "core/record_file.h"
#include "core/settings.h"
#include "reports/page_render.h"
#include "reports/report.h"
#include "reports/report_template.h"

namespace vantrel::reports {

namespace {

QString FromCp1252(const std::string& bytes) { return QString::fromStdString(Cp1252ToUtf8(bytes)); }

std::string ToCp1252(const QString& text) { return Utf8ToCp1252(text.toStdString()); }

std::filesystem::path TemplatePath(const ReportRequest& request,
                                   const std::filesystem::path& programFolder) {
  return programFolder / FolderPath(request.templateFile);
}

}  // namespace

Value ToValue(const ReportValue& value) {
  switch (value.kind()) {
    case ReportValue::Kind::Text:
      return Value::FromText(FromCp1252(value.text()));
    case ReportValue::Kind::Number:
      return Value::FromNumber(Decimal::FromCents(value.hundredths()));
    case ReportValue::Kind::Empty:
      break;
  }
  return {};
}

ReportInput InputFor(const ReportRequest& request) {
  ReportInput input;
  input.recordCount = static_cast<int>(request.records.size());
  for (const auto& name : request.zeroVariables) {
    input.variables.emplace_back(FromCp1252(name), Value::FromInteger(0));
  }
  input.title = FromCp1252(request.title);
  if (request.value) {
    input.getValue = [answer = request.value](const QString& name, int record) {
      return ToValue(answer(ToCp1252(name), record));
    };
  }
  return input;
}

bool SetUpReport(Report& report, const ReportRequest& request,
                 const std::filesystem::path& programFolder) {
  const std::filesystem::path path = TemplatePath(request, programFolder);
  const bool loaded = report.LoadFromFile(QString::fromStdString(path.string()));
  report.setRangeEndCount(static_cast<int>(request.records.size()));
  for (const auto& name : request.zeroVariables) report.setVariable(FromCp1252(name), 0);
  report.setTitle(FromCp1252(request.title));
  report.OnGetValue = [answer = request.value](const QString& name, int record, Value& value) {
    if (answer) value = ToValue(answer(ToCp1252(name), record));
  };
  return loaded;
}

PreparedReport PrepareRequest(const ReportRequest& request,
                              const std::filesystem::path& programFolder) {
  const std::filesystem::path path = TemplatePath(request, programFolder);
  if (!FileExists(path)) throw CannotOpenFile(path);
  const std::string bytes = ReadBytes(path);
  TemplateLoad load = ParseTemplate(QByteArray::fromStdString(bytes));
  QStringList errors = load.errors;
  PreparedReport prepared;
  if (load.value) {
    ReportInput input = InputFor(request);
    input.templateFolder = QString::fromStdString(ResolvePath(path).parent_path().string());
    prepared = PrepareReport(*load.value, input);
    errors << prepared.errors;
  }
  if (!errors.isEmpty()) {
    throw Error(ToCp1252(QStringLiteral("Le mod\u00e8le %1 contient des erreurs :\n%2")
                             .arg(QString::fromStdString(path.string()), errors.join('\n'))));
  }
  return prepared;
}

std::string PdfBytes(const PreparedReport& report, const std::filesystem::path& fileName) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly) || !WritePdf(report, buffer)) {
    throw CannotCreateFile(fileName);
  }
  buffer.close();
  return bytes.toStdString();
}

}  // namespace vantrel::reports
