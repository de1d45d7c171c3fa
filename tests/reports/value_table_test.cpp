// The screens' declarations of the names they answer, and the value table built on them.

#include "reports/value_table.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <vector>

#include "accounting/report_variables.h"
#include "competitions/report_variables.h"
#include "members/report_variables.h"
#include "reports/expression.h"
#include "reports/page_render.h"
#include "reports/qstring_printer.h"
#include "reports/qt_environment.h"
#include "reports/report_document.h"
#include "reports/report_engine.h"
#include "reports/report_template.h"

namespace vantrel::reports {
namespace {

QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), text.size()); }

std::vector<const TemplateVariables*> AllDeclarations() {
  std::vector<const TemplateVariables*> all;
  for (auto tables : {members::ReportVariables(), accounting::ReportVariables(),
                      competitions::ReportVariables()}) {
    all.insert(all.end(), tables.begin(), tables.end());
  }
  return all;
}

QStringList ShippedTemplateFiles() {
  return QDir(QStringLiteral(VANTREL_TEMPLATES_DIR))
      .entryList({QStringLiteral("*.frf")}, QDir::Files, QDir::Name);
}

ReportTemplate ShippedTemplate(const QString& file) {
  QFile in(QDir(QStringLiteral(VANTREL_TEMPLATES_DIR)).filePath(file));
  EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << file.toStdString();
  TemplateLoad load = ParseTemplate(in.readAll());
  EXPECT_EQ(QStringList(), load.errors) << file.toStdString();
  return load.value.value_or(ReportTemplate());
}

// Names a template reads from outside itself: those of its texts, fields and keys that no
// variable or assignment of its own defines.
QSet<QString> NamesReadFromOutside(const ReportTemplate& report) {
  QSet<QString> read;
  QSet<QString> own;
  QString error;
  for (const VariableDef& variable : report.variables) own.insert(variable.name);
  for (const Band& band : report.bands) {
    for (const QString* script : {&band.scriptBefore, &band.scriptAfter}) {
      Script parsed = Script::Parse(*script, &error);
      parsed.collectNames(read);
      parsed.collectAssigned(own);
    }
    Expression::Parse(band.groupKey, &error).collectNames(read);
    for (const ReportItem& item : band.items) {
      if (item.kind == ItemKind::kText) TextTemplate::Parse(item.content, &error).collectNames(read);
      if (item.kind == ItemKind::kField) Expression::Parse(item.content, &error).collectNames(read);
    }
  }
  for (const QString& name : BuiltInNames()) own.insert(name);
  return read - own;
}

TEST(ReportDeclarationTest, EveryShippedTemplateIsDeclaredOnce) {
  QStringList declared;
  for (const TemplateVariables* table : AllDeclarations()) declared << Utf8(table->templateName);
  declared.sort(Qt::CaseInsensitive);
  QStringList shipped = ShippedTemplateFiles();
  shipped.sort(Qt::CaseInsensitive);
  EXPECT_EQ(14, shipped.size());
  EXPECT_EQ(shipped, declared);
}

TEST(ReportDeclarationTest, SamplesReadAsTheirKindAndNamesAreUnique) {
  for (const TemplateVariables* table : AllDeclarations()) {
    QSet<QString> seen;
    for (const DeclaredVariable& variable : table->variables) {
      QString where = Utf8(table->templateName) + QStringLiteral(" ") + Utf8(variable.name);
      EXPECT_TRUE(SampleValue(variable).has_value()) << where.toStdString();
      EXPECT_FALSE(seen.contains(Utf8(variable.name))) << where.toStdString();
      seen.insert(Utf8(variable.name));
    }
  }
}

// A name a template reads that its screen does not declare is a misspelling on one side.
TEST(ReportDeclarationTest, ShippedTemplatesReadOnlyDeclaredNames) {
  for (const QString& file : ShippedTemplateFiles()) {
    const TemplateVariables* table = FindTemplateVariables(AllDeclarations(), file);
    ASSERT_NE(nullptr, table) << file.toStdString();
    QSet<QString> declared;
    for (const DeclaredVariable& variable : table->variables) declared.insert(Utf8(variable.name));
    QStringList unknown = (NamesReadFromOutside(ShippedTemplate(file)) - declared).values();
    unknown.sort();
    EXPECT_EQ(QStringList(), unknown) << file.toStdString();
  }
}

TEST(ReportDeclarationTest, ShippedTemplatesPrintTheirSamplesWithoutWarning) {
  testing::EnsureQtApplication();
  for (const QString& file : ShippedTemplateFiles()) {
    const TemplateVariables* table = FindTemplateVariables(AllDeclarations(), file);
    ASSERT_NE(nullptr, table) << file.toStdString();
    PreparedReport prepared = PrepareReport(ShippedTemplate(file), SampleInput(*table));
    EXPECT_EQ(QStringList(), prepared.errors) << file.toStdString();
    EXPECT_EQ(QStringList(), prepared.warnings) << file.toStdString();
    EXPECT_FALSE(prepared.pages.empty()) << file.toStdString();
  }
}

TEST(ReportDeclarationTest, FindsATemplateWhateverItsLetterCase) {
  EXPECT_EQ(&members::kDirectoryReport,
            FindTemplateVariables(AllDeclarations(), QStringLiteral("gestion_ANNUAIRE.FRF")));
  EXPECT_EQ(nullptr, FindTemplateVariables(AllDeclarations(), QStringLiteral("Inconnu.frf")));
}

constexpr DeclaredVariable kListNames[] = {
    {"Club", VariableKind::kText, VariableScope::kReport, "Ardevanne"},
    {"Nom", VariableKind::kText, VariableScope::kRecord, "LÉCUYER"},
    {"Typ", VariableKind::kText, VariableScope::kRecord, "1"},
    {"Total", VariableKind::kSeeded, VariableScope::kReport, "0"},
};
constexpr TemplateVariables kList{"Liste.frf", kListNames};

TEST(ValueTableTest, AnswersByNameAndKeepsRecordGettersWithinTheRecords) {
  std::vector<QString> names = {QStringLiteral("DUPONT"), QStringLiteral("Noël")};
  std::vector<int> asked;
  ValueTable table(kList);
  table.report("Club", [] { return Value::FromText(QStringLiteral("Ardevanne")); })
      .record("Nom",
              [&](int r) {
                asked.push_back(r);
                return Value::FromText(names.at(r));
              })
      .anyRecord("Typ", [&](int r) {
        return r < 2 ? Value::FromText(QStringLiteral("1")) : Value::FromInteger(0);
      });
  EXPECT_EQ(Value::FromText(QStringLiteral("Noël")), table.answer(QStringLiteral("Nom"), 1, 2));
  EXPECT_EQ(Value(), table.answer(QStringLiteral("Nom"), 2, 2));
  EXPECT_EQ(Value(), table.answer(QStringLiteral("nom"), 0, 2));
  EXPECT_EQ(Value::FromText(QStringLiteral("Ardevanne")),
            table.answer(QStringLiteral("Club"), 2, 2));
  EXPECT_EQ(Value::FromInteger(0), table.answer(QStringLiteral("Typ"), 2, 2));
  EXPECT_EQ(std::vector<int>{1}, asked);
  EXPECT_EQ(QStringList(), table.missing());
  EXPECT_EQ(QStringList(), table.undeclared());
}

TEST(ValueTableTest, SaysWhichDeclaredNamesHaveNoGetterAndWhichGettersAreNotDeclared) {
  ValueTable table(kList);
  table.report("Club", [] { return Value(); }).record("Prenom", [](int) { return Value(); });
  EXPECT_EQ(QStringList({QStringLiteral("Nom"), QStringLiteral("Typ")}), table.missing());
  EXPECT_EQ(QStringList({QStringLiteral("Prenom")}), table.undeclared());
}

TEST(ValueTableTest, SampleInputAnswersSamplesAndSeedsTheProgramsVariables) {
  ReportInput input = SampleInput(kList);
  EXPECT_EQ(kSampleRecordCount, input.recordCount);
  EXPECT_EQ(Value::FromText(QStringLiteral("LÉCUYER")), input.getValue(QStringLiteral("Nom"), 3));
  EXPECT_EQ(Value(), input.getValue(QStringLiteral("Total"), 0));
  ASSERT_EQ(1u, input.variables.size());
  EXPECT_EQ(QStringLiteral("Total"), input.variables[0].first);
  EXPECT_EQ(Value::FromInteger(0), input.variables[0].second);
}

TEST(ValueTableTest, StoredCentsBecomeAmounts) {
  struct Case {
    const char* cents;
    Value expected;
  };
  const Value blank = Value::FromText(QString());
  const Case cases[] = {
      {"-2550", Value::FromNumber(Decimal::FromCents(-2550))},
      {"106656", Value::FromNumber(Decimal::FromCents(106656))},
      {"0", Value::FromInteger(0)},
      {"", blank},
      {"  ", blank},
      {"12,5", blank},
      {"abc", blank},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, AmountFromCents(c.cents, blank)) << '"' << c.cents << '"';
  }
  EXPECT_EQ(Value::FromInteger(0), AmountFromCents(""));
}

TEST(ValueTableTest, DataFileTextIsWindows1252) {
  EXPECT_EQ(Value::FromText(QStringLiteral("LÉCUYER Benoît")), TextFromCp1252("L\xC9"
                                                                              "CUYER Beno\xEEt"));
}

// What a batch tool does, with the engine alone: load a template, give the record count, a
// seeded variable, a value table and a clock, prepare the pages and write the PDF.
TEST(ReportDocumentTest, PrintsThroughAValueTableWithoutAnyWindow) {
  testing::EnsureQtApplication();
  QTemporaryDir folder;
  QString path = folder.filePath(QStringLiteral("Liste.frf"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(R"(<report version="1">
    <band kind="title" height="6"><text x="0" y="0" width="150" height="5">[Club], [FORMATDATE(Date, 'd MMMM yyyy')]</text></band>
    <band kind="detail" height="6"><script>Total := Total + 1</script>
      <text x="0" y="0" width="100" height="5">[Nom] ([Typ])</text></band>
    <band kind="summary" height="6"><text x="0" y="0" width="100" height="5">[Total] noms</text></band>
  </report>)");
  file.close();
  std::vector<QString> names = {QStringLiteral("LÉCUYER"), QStringLiteral("Noël")};
  ValueTable table(kList);
  table.report("Club", [] { return Value::FromText(QStringLiteral("Ardevanne")); })
      .record("Nom", [&names](int r) { return Value::FromText(names.at(r)); })
      .anyRecord("Typ", [](int r) { return Value::FromInteger(r); });
  ReportDocument document;
  document.setValues(std::move(table));
  ASSERT_TRUE(document.LoadFromFile(path));
  document.setRangeEndCount(2);
  document.setVariable(QStringLiteral("Total"), 10);
  document.setTitle(QStringLiteral("Liste"));
  document.setClock([] { return QDateTime(QDate(2015, 3, 5), QTime(14, 5)); });
  PreparedReport prepared = document.prepare();
  EXPECT_EQ(QStringList(), prepared.errors);
  EXPECT_EQ(QStringList(), prepared.warnings);
  QStringList texts;
  for (const DisplayItem& item : prepared.pages.at(0).items) texts << item.lines.join(' ');
  EXPECT_EQ(QStringList({QStringLiteral("Ardevanne, 5 mars 2015"), QStringLiteral("LÉCUYER (0)"),
                         QStringLiteral("Noël (1)"), QStringLiteral("12 noms")}),
            texts);
  QString pdf = folder.filePath(QStringLiteral("liste.pdf"));
  QString error;
  ASSERT_TRUE(WritePdfFile(prepared, pdf, &error)) << error.toStdString();
  QFile written(pdf);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_EQ(QByteArray("%PDF"), written.read(4));

  // A missing template loads nothing; a broken one gives its errors and no page.
  EXPECT_FALSE(document.LoadFromFile(folder.filePath(QStringLiteral("Absent.frf"))));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("<report version=\"1\"><band kind=\"detail\" height=\"nan\"/></report>");
  file.close();
  ASSERT_TRUE(document.LoadFromFile(path));
  prepared = document.prepare();
  EXPECT_TRUE(prepared.pages.empty());
  EXPECT_EQ(QStringList({QStringLiteral("Le modèle %1 contient des erreurs :").arg(path),
                         QStringLiteral("Ligne 1, colonne 54 : l'attribut height=\"nan\" n'est "
                                        "pas un nombre")}),
            prepared.errors);
}

}  // namespace
}  // namespace vantrel::reports
