// What the expressions of a report see as it is prepared: the screen first, then the
// variables, then the built-in names; a moment kept to evaluate a text again later; a
// calculation that cannot be made stops the report with its place.

#include "reports/report_values.h"

#include <gtest/gtest.h>

#include "reports/qstring_printer.h"
#include "reports/report_compile.h"

namespace vantrel::reports {
namespace {

struct Fixture {
  ReportTemplate report;
  CompiledTemplate compiled;
  ReportInput input;
  PreparedReport out;
  int asked = 0;

  explicit Fixture(const QStringList& names) {
    VariableDef total;
    total.name = QStringLiteral("Total");
    total.initial = QStringLiteral("10");
    total.reset = VariableReset::kPage;
    report.variables.push_back(total);
    Band detail;
    detail.source.line = 7;
    ReportItem field;
    field.kind = ItemKind::kField;
    field.content = QStringLiteral("Nom & ' ' & Total & ' p.' & Page");
    field.source.line = 8;
    detail.items.push_back(field);
    report.bands.push_back(detail);
    compiled = CompileTemplate(report, QString());
    input.recordCount = static_cast<int>(names.size());
    input.title = QStringLiteral("Annuaire de Noël");
    input.now = QDateTime(QDate(2026, 12, 9), QTime(9, 5));
    input.getValue = [this, names](const QString& name, int record) {
      ++asked;
      if (name == QLatin1String("Nom") && record < names.size()) {
        return Value::FromText(names[record]);
      }
      if (name == QLatin1String("Page")) return Value::FromText(QStringLiteral("écran"));
      return Value();
    };
  }
  const CompiledItem& field() const { return compiled.bands[0].items[0]; }
};

TEST(ReportValuesTest, TheScreenAnswersFirstOncePerRecordThenVariablesThenBuiltIns) {
  Fixture f({QStringLiteral("Jérôme"), QStringLiteral("Benoît")});
  ReportValues values(f.input, f.compiled, f.out);
  values.initialiseVariables();
  values.setPageNumber(3);
  EXPECT_EQ(QStringLiteral("Jérôme 10 p.écran"), values.text(f.field()));
  const int asked = f.asked;
  EXPECT_EQ(QStringLiteral("Jérôme 10 p.écran"), values.text(f.field()));
  EXPECT_EQ(asked, f.asked);  // the same record asks nothing again
  values.setRecord(1);
  EXPECT_EQ(QStringLiteral("Benoît 10 p.écran"), values.text(f.field()));
  EXPECT_GT(f.asked, asked);
  EXPECT_EQ(Value::FromText(QStringLiteral("Annuaire de Noël")),
            values.lookup(QStringLiteral("TitreEtat")));
  EXPECT_EQ(Value::FromText(QStringLiteral("09:05")), values.lookup(QStringLiteral("Heure")));
  EXPECT_EQ(Value::FromInteger(2), values.lookup(QStringLiteral("Ligne")));
  EXPECT_EQ(Value::FromInteger(1), values.lookup(QStringLiteral("NumEnreg")));
  EXPECT_EQ(std::nullopt, values.lookup(QStringLiteral("Inconnu")));
  EXPECT_EQ(QStringList(), f.out.warnings);
}

TEST(ReportValuesTest, AMomentKeptEvaluatesAsItWasThen) {
  Fixture f({QStringLiteral("Jérôme"), QStringLiteral("Benoît")});
  f.input.getValue = [](const QString& name, int record) {
    if (name == QLatin1String("Nom")) {
      return Value::FromText(record == 0 ? QStringLiteral("Jérôme") : QStringLiteral("Benoît"));
    }
    return Value();
  };
  ReportValues values(f.input, f.compiled, f.out);
  values.initialiseVariables();
  values.setPageNumber(1);
  values.assign(QStringLiteral("Total"), Value::FromInteger(25));
  const ReportValues::Moment then = values.moment();
  values.setRecord(1);
  values.setPageNumber(2);
  values.resetVariables(VariableReset::kPage, QString());
  EXPECT_EQ(QStringLiteral("Benoît 10 p.2"), values.text(f.field()));
  values.restore(then);
  EXPECT_EQ(QStringLiteral("Jérôme 25 p.1"), values.text(f.field()));
}

TEST(ReportValuesTest, ProblemsAreSaidOnceWithTheirPlaceAndACalculationThatFailsStops) {
  Fixture f({QStringLiteral("Noël")});
  ReportValues values(f.input, f.compiled, f.out);
  values.initialiseVariables();
  values.enterBand(f.compiled.bands[0]);
  values.cut(f.field(), QStringLiteral("« Noël » ne tient pas"));
  values.cut(f.field(), QStringLiteral("« Noël » ne tient pas"));
  const QStringList said{QStringLiteral(
      "Bande « Détail » (ligne 7) : élément Champ (ligne 8), enregistrement 1 : « Noël » ne "
      "tient pas")};
  EXPECT_EQ(said, f.out.warnings);
  EXPECT_EQ(said, f.out.faults);

  QString error;
  Script script = Script::Parse(QStringLiteral("Total := Total + Nom"), &error);
  ASSERT_TRUE(script.isValid()) << error.toStdString();
  try {
    values.runScript(f.compiled.bands[0], script);
    FAIL() << "the calculation went through";
  } catch (const PreparationStopped& stop) {
    EXPECT_EQ(QStringLiteral("Bande « Détail » (ligne 7), enregistrement 1 : le calcul « Total := "
                             "Total + Nom » ne peut pas être fait (« Noël » n'est pas un nombre) ; "
                             "l'état n'est pas imprimé"),
              stop.message);
  }
  EXPECT_EQ(Value::FromInteger(10), values.variables().value(QStringLiteral("Total")));
}

}  // namespace
}  // namespace vantrel::reports
