#include "reports/value_table.h"

#include "core/cp1252.h"
#include "reports/value_format.h"

namespace vantrel::reports {
namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ValueTable& ValueTable::report(std::string_view name, ReportGetter getter) {
  m_getters.insert(FromUtf8(name),
                   Getter{[getter = std::move(getter)](int) { return getter(); }, false});
  return *this;
}

ValueTable& ValueTable::record(std::string_view name, RecordGetter getter) {
  m_getters.insert(FromUtf8(name), Getter{std::move(getter), true});
  return *this;
}

ValueTable& ValueTable::anyRecord(std::string_view name, RecordGetter getter) {
  m_getters.insert(FromUtf8(name), Getter{std::move(getter), false});
  return *this;
}

Value ValueTable::answer(const QString& name, int record, int recordCount) const {
  auto it = m_getters.constFind(name);
  if (it == m_getters.constEnd()) return Value();
  if (it->inRangeOnly && (record < 0 || record >= recordCount)) return Value();
  return it->get(record);
}

QStringList ValueTable::missing() const {
  QStringList names;
  if (!m_declaration) return names;
  for (const DeclaredVariable& variable : m_declaration->variables) {
    if (variable.kind == VariableKind::kSeeded) continue;
    QString name = FromUtf8(variable.name);
    if (!m_getters.contains(name)) names << name;
  }
  return names;
}

QStringList ValueTable::undeclared() const {
  QStringList names;
  for (auto it = m_getters.constBegin(); it != m_getters.constEnd(); ++it) {
    bool declared = false;
    if (m_declaration) {
      for (const DeclaredVariable& variable : m_declaration->variables) {
        if (FromUtf8(variable.name) == it.key()) declared = true;
      }
    }
    if (!declared) names << it.key();
  }
  names.sort();
  return names;
}

std::optional<Value> SampleValue(const DeclaredVariable& variable) {
  QString sample = FromUtf8(variable.sample);
  switch (variable.kind) {
    case VariableKind::kText:
      return Value::FromText(sample);
    case VariableKind::kNumber:
    case VariableKind::kSeeded: {
      std::optional<Decimal> number = Decimal::Parse(sample);
      if (!number) return std::nullopt;
      return Value::FromNumber(*number);
    }
    case VariableKind::kDate: {
      QDate date = ParseDayMonthYear(sample);
      if (!date.isValid()) return std::nullopt;
      return Value::FromDate(date);
    }
  }
  return std::nullopt;
}

const TemplateVariables* FindTemplateVariables(std::span<const TemplateVariables* const> tables,
                                               const QString& templateFileName) {
  for (const TemplateVariables* table : tables) {
    if (FromUtf8(table->templateName).compare(templateFileName, Qt::CaseInsensitive) == 0) {
      return table;
    }
  }
  return nullptr;
}

ReportInput SampleInput(const TemplateVariables& declaration) {
  ReportInput input;
  input.recordCount = kSampleRecordCount;
  QHash<QString, Value> answers;
  for (const DeclaredVariable& variable : declaration.variables) {
    std::optional<Value> value = SampleValue(variable);
    if (!value) continue;
    if (variable.kind == VariableKind::kSeeded) {
      input.variables.emplace_back(FromUtf8(variable.name), *value);
    } else {
      answers.insert(FromUtf8(variable.name), *value);
    }
  }
  input.getValue = [answers](const QString& name, int) { return answers.value(name); };
  return input;
}

Value TextFromCp1252(const std::string& bytes) {
  return Value::FromText(QString::fromStdString(Cp1252ToUtf8(bytes)));
}

Value AmountFromCents(const std::string& cents, const Value& empty) {
  std::optional<Decimal> number = Decimal::Parse(QString::fromLatin1(cents.c_str()));
  if (!number || !number->isInteger() || QString::fromLatin1(cents.c_str()).trimmed().isEmpty()) {
    return empty;
  }
  return Value::FromNumber(Decimal::FromUnits(number->units() / 100));
}

}  // namespace vantrel::reports
