#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/variable_declaration.h"
#include "reports/report_engine.h"
#include "reports/value.h"

namespace vantrel::reports {

// A screen's answers to one template: a getter per declared name instead of an if/else
// chain in the value callback. Built once (the getters read the screen's current lists):
//
//   ValueTable table(members::kDirectoryReport);
//   table.report("Entite", [this] { return TextFromCp1252(m_settings.entity); });
//   table.record("Nom", [this](int r) { return TextFromCp1252(FieldAt(m_lines[r], 2)); });
//   table.record("Solde", [this](int r) {
//     return AmountFromCents(FieldAt(m_lines[r], 68), Value::FromText(QString()));
//   });
//   m_report.setValues(std::move(table));
//
// Record getters are called only for records 0 to RangeEndCount - 1 (never for the record
// after the last one, which the summary band sees); anyRecord getters for every record
// number. A screen test checks missing() and undeclared() are empty.
class ValueTable {
 public:
  using ReportGetter = std::function<Value()>;
  using RecordGetter = std::function<Value(int record)>;

  ValueTable() = default;
  explicit ValueTable(const TemplateVariables& declaration) : m_declaration(&declaration) {}

  ValueTable& report(std::string_view name, ReportGetter getter);
  ValueTable& record(std::string_view name, RecordGetter getter);
  ValueTable& anyRecord(std::string_view name, RecordGetter getter);

  // The screen's answer for name at record, out of recordCount records; an empty value for
  // a name the table does not hold (the engine then looks among the variables).
  Value answer(const QString& name, int record, int recordCount) const;

  const TemplateVariables* declaration() const { return m_declaration; }
  bool isEmpty() const { return m_getters.isEmpty(); }
  // Declared names without a getter, and getters whose name is not declared.
  QStringList missing() const;
  QStringList undeclared() const;

 private:
  struct Getter {
    RecordGetter get;
    bool inRangeOnly = true;
  };
  const TemplateVariables* m_declaration = nullptr;
  QHash<QString, Getter> m_getters;
};

// The sample of a declared name as a report value: a number for Number and Seeded, a date
// for Date (an invalid sample gives nothing).
std::optional<Value> SampleValue(const DeclaredVariable& variable);

// The declaration of a template file among tables, its name compared without regard to
// letter case; nothing when none declares it.
const TemplateVariables* FindTemplateVariables(std::span<const TemplateVariables* const> tables,
                                               const QString& templateFileName);

// Records the designer's "Aperçu" lays out when no screen has set data.
inline constexpr int kSampleRecordCount = 12;

// Input answering every declared name with its sample, for kSampleRecordCount records, and
// seeding the Seeded ones.
ReportInput SampleInput(const TemplateVariables& declaration);

// Text of a data file (Windows-1252 bytes) as a report text.
Value TextFromCp1252(const std::string& bytes);
// A stored amount in cents ("-2550", "" for none) as a number (-25.5); `empty` when the
// field is blank or not a whole number.
Value AmountFromCents(const std::string& cents, const Value& empty = Value::FromInteger(0));

}  // namespace vantrel::reports
