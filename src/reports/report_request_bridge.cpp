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
    case ReportValue::Kind::kText:
      return Value::FromText(FromCp1252(value.text()));
    case ReportValue::Kind::kNumber:
      return Value::FromNumber(Decimal::FromCents(value.hundredths()));
    case ReportValue::Kind::kEmpty:
      break;
  }
  return {};
}

namespace {

// Everything of the request but its answers: the template, the record count, the seeded
// variables and the title.
bool LoadRequest(ReportDocument& report, const ReportRequest& request,
                 const std::filesystem::path& programFolder) {
  const std::filesystem::path path = programFolder / FolderPath(request.templateFile);
  const bool loaded = report.LoadFromFile(PathToQString(path));
  report.setRangeEndCount(static_cast<int>(request.records.size()));
  for (const auto& name : request.zeroVariables) report.setVariable(FromCp1252(name), 0);
  report.setTitle(FromCp1252(request.title));
  return loaded;
}

}  // namespace

bool SetUpReport(ReportDocument& report, const ReportRequest& request,
                 const std::filesystem::path& programFolder) {
  const bool loaded = LoadRequest(report, request, programFolder);
  report.setValues(ValueTable());
  report.OnGetValue = [answer = request.value](const QString& name, int record, Value& value) {
    if (answer) value = ToValue(answer(ToCp1252(name), record));
  };
  return loaded;
}

bool SetUpReport(ReportDocument& report, const ReportRequest& request,
                 const std::filesystem::path& programFolder, const TemplateVariables& declaration) {
  const bool loaded = LoadRequest(report, request, programFolder);
  report.OnGetValue = nullptr;
  report.setValues(RequestValues(request, declaration));
  return loaded;
}

ValueTable RequestValues(const ReportRequest& request, const TemplateVariables& declaration) {
  ValueTable table(declaration);
  if (!request.value) return table;
  for (const DeclaredVariable& variable : declaration.variables) {
    if (variable.kind == VariableKind::kSeeded) continue;
    table.anyRecord(variable.name, [answer = request.value, name = std::string(variable.name)](
                                       int record) { return ToValue(answer(name, record)); });
  }
  return table;
}

ValueTable RequestValues(const ReportRequest& request,
                         std::span<const TemplateVariables* const> tables) {
  const TemplateVariables* declaration =
      FindTemplateVariables(tables, FromCp1252(request.templateFile));
  return declaration ? RequestValues(request, *declaration) : ValueTable();
}

void CheckForBatch(const PreparedReport& prepared, const QString& templatePath,
                   const std::function<void(const QString&)>& warn) {
  for (const QString& warning : prepared.warnings) {
    warn(QStringLiteral("Avertissement : ") + warning);
  }
  if (prepared.stopped) throw Error(ToCp1252(prepared.errors.join('\n')));
  if (!prepared.errors.isEmpty()) {
    const QString first = prepared.errors.front();
    // A template that does not load already says so on its first line.
    throw Error(ToCp1252(first.startsWith(QStringLiteral("Le mod\u00e8le "))
                             ? prepared.errors.join('\n')
                             : QStringLiteral("Le mod\u00e8le %1 contient des erreurs :\n%2")
                                   .arg(templatePath, prepared.errors.join('\n'))));
  }
  if (!prepared.faults.isEmpty()) {
    throw Error(ToCp1252(
        QStringLiteral("L'\u00e9tat n'est pas \u00e9crit : sans aper\u00e7u pour le voir, une "
                       "valeur coup\u00e9e ou inconnue le rendrait faux (%1 avertissement(s) "
                       "du mod\u00e8le %2)")
            .arg(prepared.faults.size())
            .arg(templatePath)));
  }
}

PreparedReport PrepareRequest(const ReportRequest& request,
                              const std::filesystem::path& programFolder,
                              const std::function<void(const QString&)>& warn) {
  ReportDocument document;
  if (!SetUpReport(document, request, programFolder)) {
    throw CannotOpenFile(programFolder / FolderPath(request.templateFile));
  }
  PreparedReport prepared = document.prepare();
  CheckForBatch(prepared, document.templatePath(), warn);
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
