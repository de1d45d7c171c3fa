#include "reports/report_values.h"

namespace vantrel::reports {

ReportValues::ReportValues(const ReportInput& input, const CompiledTemplate& compiled,
                           PreparedReport& out)
    : m_input(input), m_compiled(compiled), m_out(out) {}

void ReportValues::setRecord(int record) {
  if (record != m_record) m_cache.clear();
  m_record = record;
}

void ReportValues::enterBand(const CompiledBand& band) {
  m_where = band.where;
  BandKind kind = band.band->kind;
  m_inRecordBand =
      kind == BandKind::kDetail || kind == BandKind::kGroupHeader || kind == BandKind::kGroupFooter;
}

void ReportValues::restore(const Moment& moment) {
  m_variables = moment.variables;
  setRecord(moment.record);
  m_pageNumber = moment.pageNumber;
  m_where = moment.where;
}

// A variable's value is computed, or the report stops: a total that restarted from nothing
// would print a plausible wrong figure.
void ReportValues::setInitialValue(const CompiledVariable& variable) {
  m_where = QStringLiteral("variable %1").arg(variable.def->name);
  std::optional<Value> value = variable.initial.tryEvaluate(*this);
  if (!value) {
    throw PreparationStopped{
        QStringLiteral("Variable %1 : la valeur initiale « %2 » ne peut pas être calculée (%3) ; "
                       "l'état n'est pas imprimé")
            .arg(variable.def->name, variable.initial.source(), m_stopReason)};
  }
  m_variables.insert(variable.def->name, *value);
}

void ReportValues::initialiseVariables() {
  for (const CompiledVariable& variable : m_compiled.variables) setInitialValue(variable);
  for (const auto& [name, value] : m_input.variables) m_variables.insert(name, value);
}

void ReportValues::resetVariables(VariableReset reset, const QString& group) {
  for (const CompiledVariable& variable : m_compiled.variables) {
    if (variable.def->reset != reset) continue;
    if (reset == VariableReset::kGroup && variable.def->group != group) continue;
    setInitialValue(variable);
  }
}

void ReportValues::runScript(const CompiledBand& band, const Script& script) {
  m_where = band.where;
  const std::optional<QString> failed = script.run(*this);
  if (!failed) return;
  const BandKind kind = band.band->kind;
  const bool perRecord =
      kind == BandKind::kDetail || kind == BandKind::kGroupHeader || kind == BandKind::kGroupFooter;
  QString where = Capitalised(band.where);
  if (perRecord) where += QStringLiteral(", enregistrement %1").arg(m_record + 1);
  throw PreparationStopped{
      QStringLiteral("%1 : le calcul « %2 » ne peut pas être fait (%3) ; l'état n'est pas "
                     "imprimé")
          .arg(where, *failed, m_stopReason)};
}

std::optional<Value> ReportValues::lookup(const QString& name) {
  if (m_input.getValue) {
    auto cached = m_cache.constFind(name);
    if (cached != m_cache.constEnd()) {
      if (!cached->isEmpty()) return *cached;
    } else {
      Value answer = m_input.getValue(name, m_record);
      m_cache.insert(name, answer);
      if (!answer.isEmpty()) return answer;
    }
  }
  auto variable = m_variables.constFind(name);
  if (variable != m_variables.constEnd()) return *variable;
  if (name == QLatin1String("Page")) return Value::FromInteger(m_pageNumber);
  if (name == kTotalPagesName) return Value::FromInteger(m_totalPages);
  if (name == QLatin1String("Ligne")) return Value::FromInteger(m_record + 1);
  if (name == QLatin1String("NumEnreg")) return Value::FromInteger(m_record);
  if (name == QLatin1String("Date")) return Value::FromDate(m_input.now.date());
  if (name == QLatin1String("Heure")) {
    return Value::FromText(m_input.now.time().toString(QStringLiteral("HH:mm")));
  }
  if (name == QLatin1String("TitreEtat")) return Value::FromText(m_input.title);
  return std::nullopt;
}

void ReportValues::assign(const QString& name, const Value& value) {
  m_variables.insert(name, value);
}

void ReportValues::stopped(const QString& expression, const QString& reason) {
  m_stopReason = reason;
  EvalContext::stopped(expression, reason);
}

void ReportValues::warn(const QString& message) {
  QString text = Capitalised(m_where) + QStringLiteral(" : ") + message;
  if (!m_warned.contains(text)) {
    m_warned.insert(text);
    m_out.warnings << text;
    m_out.faults << text;
  }
}

QString ReportValues::text(const CompiledItem& item) {
  if (item.item->kind == ItemKind::kText) return item.text.evaluate(*this);
  return item.format.apply(item.expression.evaluate(*this));
}

bool ReportValues::styled(const CompiledItem& item) {
  return item.condition.evaluate(*this).toBoolean();
}

void ReportValues::cut(const CompiledItem& item, const QString& what) {
  warn(itemWhere(item) + QStringLiteral(" : ") + what);
}

QString ReportValues::itemWhere(const CompiledItem& item) const {
  QString where = ItemWhere(*item.item);
  if (m_inRecordBand) where += QStringLiteral(", enregistrement %1").arg(m_record + 1);
  return where;
}

}  // namespace vantrel::reports
