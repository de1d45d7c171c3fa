#pragma once

#include <QHash>
#include <QSet>
#include <QString>

#include "reports/expression.h"
#include "reports/prepared_report.h"
#include "reports/report_compile.h"
#include "reports/report_engine.h"
#include "reports/text_layout.h"

namespace vantrel::reports {

// Thrown when a value the report cannot do without (an assignment, a variable's initial
// value) cannot be computed; the message is French and says which and where.
struct PreparationStopped {
  QString message;
};

// What the expressions of a report see while it is prepared: the screen's answer for the
// current record (asked at most once per record and name), then the variables, then the
// built-in names. Each problem met is said once, in the report's warnings and faults,
// after the place being evaluated.
class ReportValues : public EvalContext, public BandValues {
 public:
  using Variables = QHash<QString, Value>;

  // Where the report stands: enough to evaluate a text again later, as it was then.
  struct Moment {
    QString where;
    Variables variables;
    int record = 0;
    int pageNumber = 0;
  };

  ReportValues(const ReportInput& input, const CompiledTemplate& compiled, PreparedReport& out);

  void setRecord(int record);
  int record() const { return m_record; }
  void setPageNumber(int page) { m_pageNumber = page; }
  int pageNumber() const { return m_pageNumber; }
  void setTotalPages(int pages) { m_totalPages = pages; }

  // The place named before a warning ("bande « Détail » (ligne 12)").
  void setWhere(const QString& where) { m_where = where; }
  // The band being laid out: its warnings name it, and the record for a record band.
  void enterBand(const CompiledBand& band);
  bool inRecordBand() const { return m_inRecordBand; }

  Moment moment() const { return {m_where, m_variables, m_record, m_pageNumber}; }
  void restore(const Moment& moment);
  const Variables& variables() const { return m_variables; }
  void setVariables(const Variables& variables) { m_variables = variables; }

  // The template's variables at their initial values, then the screen's. Throws
  // PreparationStopped when an initial value cannot be computed.
  void initialiseVariables();
  // The variables reset at each page, or at each start of the group.
  void resetVariables(VariableReset reset, const QString& group);
  // Runs a band's assignments; one that cannot be computed throws PreparationStopped, with
  // the band, the record and the assignment named.
  void runScript(const CompiledBand& band, const Script& script);

  // EvalContext
  std::optional<Value> lookup(const QString& name) override;
  void assign(const QString& name, const Value& value) override;
  void stopped(const QString& expression, const QString& reason) override;
  void warn(const QString& message) override;

  // BandValues, at the current record.
  QString text(const CompiledItem& item) override;
  bool styled(const CompiledItem& item) override;
  void cut(const CompiledItem& item, const QString& what) override;

 private:
  void setInitialValue(const CompiledVariable& variable);
  // Where an item is, for warnings: "élément Champ (ligne 14), enregistrement 3".
  QString itemWhere(const CompiledItem& item) const;

  const ReportInput& m_input;
  const CompiledTemplate& m_compiled;
  PreparedReport& m_out;
  Variables m_variables;
  QHash<QString, Value> m_cache;
  int m_record = 0;
  int m_pageNumber = 0;
  int m_totalPages = 0;
  QString m_where;
  QString m_stopReason;  // why the last expression stopped
  QSet<QString> m_warned;
  bool m_inRecordBand = false;
};

}  // namespace vantrel::reports
