#include "reports/report_request_bridge.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>

#include "core/cp1252.h"
#include "core/error.h"
#include "core/record_file.h"
#include "core/settings.h"
#include "platform/qt_path.h"
#include "reports/page_render.h"
#include "reports/report_document.h"

namespace vantrel::reports {

namespace {

QString FromCp1252(const std::string& bytes) { return QString::fromStdString(Cp1252ToUtf8(bytes)); }

std::string ToCp1252(const QString& text) { return Utf8ToCp1252(text.toStdString()); }

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

bool SetUpReport(ReportDocument& report, const ReportRequest& request,
                 const std::filesystem::path& programFolder) {
  const std::filesystem::path path = programFolder / FolderPath(request.templateFile);
  const bool loaded = report.LoadFromFile(PathToQString(path));
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
  ReportDocument document;
  if (!SetUpReport(document, request, programFolder)) {
    throw CannotOpenFile(programFolder / FolderPath(request.templateFile));
  }
  PreparedReport prepared = document.prepare();
  if (!prepared.errors.isEmpty()) {
    throw Error(ToCp1252(QStringLiteral("Le mod\u00e8le %1 contient des erreurs :\n%2")
                             .arg(document.templatePath(), prepared.errors.join('\n'))));
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
