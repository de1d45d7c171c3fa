#include "reports/expression.h"

#include <gtest/gtest.h>

#include <map>

#include "reports/decimal.h"
#include "reports/qstring_printer.h"
#include "reports/value_format.h"

namespace vantrel::reports {
namespace {

// A context over a plain map of names; assignments write into it, warnings are kept.
class MapContext : public EvalContext {
 public:
  std::map<QString, Value> names;
  QStringList warnings;

  std::optional<Value> lookup(const QString& name) override {
    auto it = names.find(name);
    if (it == names.end()) return std::nullopt;
    return it->second;
  }
  void assign(const QString& name, const Value& value) override { names[name] = value; }
  void warn(const QString& message) override { warnings << message; }
};

QString Eval(const QString& source, MapContext& context) {
  QString error;
  Expression expression = Expression::Parse(source, &error);
  EXPECT_TRUE(expression.isValid()) << source.toStdString() << ": " << error.toStdString();
  return expression.evaluate(context).toText();
}

TEST(DecimalTest, ParsesNumbersWrittenWithCommaOrPoint) {
  struct Case {
    const char* text;
    std::optional<std::int64_t> units;
  };
  const Case cases[] = {
      {"12", 120000},          {"-3,5", -35000},
      {"+0.25", 2500},         {" 7 ", 70000},
      {"1,23456", 12346},      {"-1,23455", -12346},
      {"0,00004", 0},          {",5", 5000},
      {"", std::nullopt},      {"abc", std::nullopt},
      {"1.2.3", std::nullopt}, {"1e5", std::nullopt},
      {"1 000", std::nullopt}, {"-", std::nullopt},
      {"12a", std::nullopt},
  };
  for (const Case& c : cases) {
    std::optional<Decimal> parsed = Decimal::Parse(QString::fromUtf8(c.text));
    std::optional<std::int64_t> units;
    if (parsed) units = parsed->units();
    EXPECT_EQ(c.units, units) << "text: '" << c.text << "'";
  }
}

TEST(DecimalTest, PrintsWithDecimalCommaAndNoThousandsSeparator) {
  struct Case {
    std::int64_t units;
    int decimals;
    const char* text;
  };
  const Case cases[] = {
      {125000, -1, "12,5"},
      {30000, -1, "3"},
      {-625, -1, "-0,0625"},
      {-500, 2, "-0,05"},
      {0, 2, "0,00"},
      {-40, 2, "0,00"},
      {12345678900, 2, "1234567,89"},
      {12345, 2, "1,23"},
      {12355, 2, "1,24"},
      {-12355, 2, "-1,24"},
      {99999, 0, "10"},
      {15000, 4, "1,5000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QString::fromUtf8(c.text), Decimal::FromUnits(c.units).toText(c.decimals))
        << "units " << c.units << ", decimals " << c.decimals;
  }
}

TEST(DecimalTest, KeepsSumsOfCentsExact) {
  Decimal sum;
  for (int i = 0; i < 1000; ++i) sum = sum + *Decimal::Parse(QStringLiteral("0,1"));
  EXPECT_EQ(Decimal::FromInteger(100), sum);
  EXPECT_EQ(Decimal::FromCents(30), Decimal::FromCents(10) + Decimal::FromCents(20));
  EXPECT_EQ(Decimal::FromUnits(3333),
            *Decimal::Divide(Decimal::FromInteger(1), Decimal::FromInteger(3)));
  EXPECT_EQ(Decimal::FromUnits(6667),
            *Decimal::Divide(Decimal::FromInteger(2), Decimal::FromInteger(3)));
  EXPECT_EQ(std::nullopt, Decimal::Divide(Decimal::FromInteger(2), Decimal()));
  EXPECT_EQ(Decimal::FromCents(-255), Decimal::FromDouble(-2.55));
  EXPECT_EQ(Decimal::FromCents(235), Decimal::FromUnits(23450).rounded(2));
  EXPECT_EQ(Decimal::FromCents(-235), Decimal::FromUnits(-23450).rounded(2));
}

TEST(ExpressionTest, EvaluatesWithPrecedenceAndExactDecimals) {
  struct Case {
    const char* source;
    const char* expected;
  };
  const Case cases[] = {
      {"1 + 2 * 3", "7"},
      {"(1 + 2) * 3", "9"},
      {"10 - 4 - 3", "3"},
      {"2 * 3 = 6", "Vrai"},
      {"1 + 2 = 3 and 2 > 1", "Vrai"},
      {"1 = 2 or 2 = 2 and 3 = 4", "Faux"},
      {"not 1 = 2", "Vrai"},
      {"-2 * -3", "6"},
      {"- 2 + 5", "3"},
      {"7 div 2", "3"},
      {"-7 div 2", "-3"},
      {"7 mod 3", "1"},
      {"0.1 + 0.2 = 0.3", "Vrai"},
      {"12.345 * 3", "37,035"},
      {"1 / 3", "0,3333"},
      {"100 / 8", "12,5"},
      {"19.99 * 3", "59,97"},
      {"AMOUNT(1234.5)", "1234,50"},
      {"AMOUNT(-0.05)", "-0,05"},
      {"AMOUNT(0)", "0,00"},
      {"AMOUNTBLANK(0)", ""},
      {"AMOUNTBLANK(0.004)", ""},
      {"AMOUNTBLANK(-2550 / 100)", "-25,50"},
      {"'a' & 1", "a1"},
      {"'Le ' + 'Club'", "Le Club"},
      {"'75001' + ' ' + 'PARIS'", "75001 PARIS"},
      {"'12' + 3", "15"},
      {"'12,5' * 2", "25"},
      {"'1,50' = 1.5", "Vrai"},
      {"'0012' = 12", "Vrai"},
      {"'abc' = 'ABC'", "Faux"},
      {"'abc' < 'abd'", "Vrai"},
      {"'' = 0", "Vrai"},
      {"'0' = ''", "Faux"},
      {"'' + ''", ""},
      {"' ' + 2", "2"},
      {"IIF(1 > 2, 'a', 'b')", "b"},
      {"iif(2 > 1, 'a', 1 / 0)", "a"},
      {"ROUND(2.345, 2)", "2,35"},
      {"ROUND(-2.5)", "-3"},
      {"INT(-7.9)", "-7"},
      {"ABS(-4.25)", "4,25"},
      {"UPPER('élise')", "ÉLISE"},
      {"LOWER('ABC')", "abc"},
      {"TRIM('  a b  ')", "a b"},
      {"COPY('abcdef', 2, 3)", "bcd"},
      {"COPY('abcdef', 5)", "ef"},
      {"COPY('abc', 9, 1)", ""},
      {"LENGTH('abc')", "3"},
      {"FORMATDATE('05/03/2015', 'yyyy-MM-dd')", "2015-03-05"},
      {"FORMAT(1234.5, 'number:1')", "1234,5"},
      {"FORMAT(12.6, 'integer')", "13"},
      {"MIN(3, 2)", "2"},
      {"MAX('b', 'a')", "b"},
      {"ISEMPTY('  ')", "Vrai"},
      {"NUM('3,25') + 1", "4,25"},
      {"'it''s'", "it's"},
      {"\"dit \"\"oui\"\"\"", "dit \"oui\""},
      {"true and not false", "Vrai"},
  };
  for (const Case& c : cases) {
    MapContext context;
    EXPECT_EQ(QString::fromUtf8(c.expected), Eval(QString::fromUtf8(c.source), context))
        << "source: " << c.source;
    EXPECT_EQ(QStringList(), context.warnings) << "source: " << c.source;
  }
}

TEST(ExpressionTest, ReadsNamesFromTheContextExactly) {
  MapContext context;
  context.names[QStringLiteral("Solde")] = Value::FromNumber(Decimal::FromCents(-2550));
  context.names[QStringLiteral("Nom")] = Value::FromText(QStringLiteral("DUPONT"));
  context.names[QStringLiteral("Code")] = Value::FromText(QStringLiteral("75001"));
  EXPECT_EQ(QStringLiteral("-25,5"), Eval(QStringLiteral("Solde"), context));
  EXPECT_EQ(QStringLiteral("Vrai"), Eval(QStringLiteral("Solde < 0"), context));
  EXPECT_EQ(QStringLiteral("DUPONT (75001)"),
            Eval(QStringLiteral("Nom & ' (' & Code & ')'"), context));
  EXPECT_EQ(QStringList(), context.warnings);
}

TEST(ExpressionTest, WarnsAndGivesEmptyValuesInsteadOfFailing) {
  struct Case {
    const char* source;
    const char* expected;
    const char* warning;
  };
  const Case cases[] = {
      {"1 / 0", "", "« 1 / 0 » : division par zéro"},
      {"5 mod 0", "", "« 5 mod 0 » : division par zéro"},
      {"nom + 1", "1", "« nom + 1 » : nom inconnu « nom »"},
      {"Inconnu", "", "« Inconnu » : nom inconnu « Inconnu »"},
      {"'abc' * 2", "", "« 'abc' * 2 » : « abc » n'est pas un nombre"},
      {"-'x'", "", "« -'x' » : « x » n'est pas un nombre"},
      {"true + 1", "", "« true + 1 » : « Vrai » n'est pas un nombre"},
      {"FORMAT(1, 'euros')", "1", "« FORMAT(1, 'euros') » : format inconnu « euros »"},
  };
  for (const Case& c : cases) {
    MapContext context;
    EXPECT_EQ(QString::fromUtf8(c.expected), Eval(QString::fromUtf8(c.source), context))
        << "source: " << c.source;
    EXPECT_EQ(QStringList{QString::fromUtf8(c.warning)}, context.warnings)
        << "source: " << c.source;
  }
}

// Arithmetic on a text that is no number is a mistake of the template: it stops the whole
// expression (nothing is joined or printed from it) and says so.
TEST(ExpressionTest, ArithmeticOnATextThatIsNoNumberStopsTheExpression) {
  struct Case {
    const char* source;
    const char* expected;
    const char* warning;
  };
  const Case cases[] = {
      {"\"1e300\" + 5", "", "« \"1e300\" + 5 » : « 1e300 » n'est pas un nombre"},
      {"5 + '1e300'", "", "« 5 + '1e300' » : « 1e300 » n'est pas un nombre"},
      {"'Total ' & ('abc' * 2) & ' €'", "",
       "« 'Total ' & ('abc' * 2) & ' €' » : « abc » n'est pas un nombre"},
      {"'x' & 1 / 0", "", "« 'x' & 1 / 0 » : division par zéro"},
      {"ROUND(Nom, 2) & '!'", "", "« ROUND(Nom, 2) & '!' » : « DUPONT » n'est pas un nombre"},
      {"COPY('abc', 'deux')", "", "« COPY('abc', 'deux') » : « deux » n'est pas un nombre"},
      {"Jour + 1", "", "« Jour + 1 » : « 05/03/2015 » n'est pas un nombre"},
      {"900000000000000 * 900000000000000", "",
       "« 900000000000000 * 900000000000000 » : résultat trop grand"},
      {"'x' & (900000000000000 + 900000000000000)", "",
       "« 'x' & (900000000000000 + 900000000000000) » : résultat trop grand"},
  };
  for (const Case& c : cases) {
    MapContext context;
    context.names[QStringLiteral("Nom")] = Value::FromText(QStringLiteral("DUPONT"));
    context.names[QStringLiteral("Jour")] = Value::FromDate(QDate(2015, 3, 5));
    EXPECT_EQ(QString::fromUtf8(c.expected), Eval(QString::fromUtf8(c.source), context))
        << "source: " << c.source;
    EXPECT_EQ(QStringList{QString::fromUtf8(c.warning)}, context.warnings)
        << "source: " << c.source;
  }
  MapContext context;
  EXPECT_EQ(QStringLiteral("75001 PARIS"), Eval(QStringLiteral("'75001' + ' PARIS'"), context));
  EXPECT_EQ(QStringLiteral("17"), Eval(QStringLiteral("'12' + 5"), context));
  EXPECT_EQ(QStringList(), context.warnings);
}

TEST(ExpressionTest, RejectsWhatIsNoExpressionWithTheReasonAndPlace) {
  struct Case {
    const char* source;
    const char* error;
  };
  const Case cases[] = {
      {"1 +", "expression incomplète"},
      {"", "expression incomplète"},
      {"FOO(1)", "fonction inconnue « FOO » (caractère 1)"},
      {"2 * SOMME(a)", "fonction inconnue « SOMME » (caractère 5)"},
      {"IIF(1, 2)", "la fonction IIF attend 3 argument(s), pas 2 (caractère 1)"},
      {"ROUND()", "la fonction ROUND attend 1 ou 2 argument(s), pas 0 (caractère 1)"},
      {"(1 + 2", "« ) » attendu : expression incomplète"},
      {"'abc", "texte entre guillemets non terminé (caractère 1)"},
      {"1 # 2", "caractère « # » inattendu (caractère 3)"},
      {"1 2", "« 2 » inattendu (caractère 3)"},
      {"a and", "expression incomplète"},
      {"ABS(1; 2)", "« , » ou « ) » attendu : « ; » inattendu (caractère 6)"},
      {"99999999999999999 + 1", "nombre trop grand « 99999999999999999 » (caractère 1)"},
  };
  for (const Case& c : cases) {
    QString error;
    Expression expression = Expression::Parse(QString::fromUtf8(c.source), &error);
    EXPECT_FALSE(expression.isValid()) << "source: " << c.source;
    EXPECT_EQ(QString::fromUtf8(c.error), error) << "source: " << c.source;
  }
}

TEST(ExpressionTest, RefusesNestingThatWouldExhaustTheStack) {
  for (const QString& deep : {QString(100000, QLatin1Char('(')) + QStringLiteral("1"),
                              QString(100000, QLatin1Char('-')) + QStringLiteral("1"),
                              QStringLiteral("not ").repeated(100000) + QStringLiteral("1")}) {
    QString error;
    EXPECT_FALSE(Expression::Parse(deep, &error).isValid()) << deep.left(10).toStdString();
    EXPECT_TRUE(error.startsWith(QStringLiteral("expression trop imbriquée")))
        << error.toStdString();
  }
  QString error;
  QString fine =
      QString(150, QLatin1Char('(')) + QStringLiteral("2") + QString(150, QLatin1Char(')'));
  Expression expression = Expression::Parse(fine, &error);
  ASSERT_TRUE(expression.isValid()) << error.toStdString();
  MapContext context;
  EXPECT_EQ(QStringLiteral("2"), expression.evaluate(context).toText());
}

TEST(ScriptTest, RunsAssignmentsInOrder) {
  QString error;
  Script script = Script::Parse(QStringLiteral("a := 1; b := a + 1\n c := b * 2;"), &error);
  ASSERT_TRUE(script.isValid()) << error.toStdString();
  MapContext context;
  script.run(context);
  EXPECT_EQ(Value::FromInteger(4), context.names[QStringLiteral("c")]);
  script.run(context);
  EXPECT_EQ(Value::FromInteger(2), context.names[QStringLiteral("b")]);
}

TEST(ScriptTest, RejectsStatementsThatAreNoAssignment) {
  struct Case {
    const char* source;
    const char* error;
  };
  const Case cases[] = {
      {"a = 1", "« := » attendu : « = » inattendu (caractère 3)"},
      {"a := ", "expression incomplète"},
      {"1 := a", "nom de variable attendu : « 1 » inattendu (caractère 1)"},
      {"a := FOO()", "fonction inconnue « FOO » (caractère 6)"},
  };
  for (const Case& c : cases) {
    QString error;
    Script script = Script::Parse(QString::fromUtf8(c.source), &error);
    EXPECT_FALSE(script.isValid()) << "source: " << c.source;
    EXPECT_EQ(QString::fromUtf8(c.error), error) << "source: " << c.source;
  }
}

TEST(TextTemplateTest, InsertsExpressionsBetweenBrackets) {
  MapContext context;
  context.names[QStringLiteral("Page")] = Value::FromInteger(2);
  context.names[QStringLiteral("NbPages")] = Value::FromInteger(5);
  struct Case {
    const char* source;
    const char* expected;
  };
  const Case cases[] = {
      {"Page [Page] / [NbPages]", "Page 2 / 5"},
      {"[[Page]", "[Page]"},
      {"sans crochet ]", "sans crochet ]"},
      {"[IIF(Page = 2, ']', '?')]", "]"},
      {"[Page * 10]%", "20%"},
      {"", ""},
  };
  for (const Case& c : cases) {
    QString error;
    TextTemplate text = TextTemplate::Parse(QString::fromUtf8(c.source), &error);
    ASSERT_TRUE(text.isValid()) << c.source << ": " << error.toStdString();
    EXPECT_EQ(QString::fromUtf8(c.expected), text.evaluate(context)) << "source: " << c.source;
  }
  QString error;
  EXPECT_FALSE(TextTemplate::Parse(QStringLiteral("Total [1 + ]"), &error).isValid());
  EXPECT_EQ(QStringLiteral("« ] » inattendu (caractère 12)"), error);
  EXPECT_FALSE(TextTemplate::Parse(QStringLiteral("Total [Page"), &error).isValid());
  EXPECT_EQ(QStringLiteral("« ] » attendu : expression incomplète"), error);
}

TEST(ValueFormatTest, FormatsAmountsIntegersAndDates) {
  struct Case {
    const char* format;
    Value value;
    const char* expected;
  };
  const Case cases[] = {
      {"amount", Value::FromNumber(Decimal::FromCents(123450)), "1234,50"},
      {"amount", Value::FromText(QStringLiteral("-25.5")), "-25,50"},
      {"amount", Value::FromText(QStringLiteral("n/a")), "n/a"},
      {"amount", Value(), "0,00"},
      {"amount-blank", Value::FromNumber(Decimal()), ""},
      {"amount-blank", Value(), ""},
      {"amount-blank", Value::FromText(QString()), ""},
      {"amount-blank", Value::FromNumber(Decimal::FromCents(-1)), "-0,01"},
      {"integer", Value::FromNumber(Decimal::FromUnits(25000)), "3"},
      {"number:3", Value::FromNumber(Decimal::FromCents(5)), "0,050"},
      {"date", Value::FromText(QStringLiteral("5/3/15")), "05/03/2015"},
      {"date:yyyy", Value::FromDate(QDate(2026, 12, 9)), "2026"},
      {"date", Value::FromText(QStringLiteral("bientôt")), "bientôt"},
      {"date:dddd d MMMM yyyy", Value::FromDate(QDate(2015, 3, 5)), "jeudi 5 mars 2015"},
      {"date:d MMMM yyyy", Value::FromText(QStringLiteral("05/03/2015")), "5 mars 2015"},
      {"date:ddd d MMM", Value::FromDate(QDate(2026, 2, 1)), "dim. 1 févr."},
      {"date:dddd dd MMMM", Value::FromDate(QDate(2026, 8, 15)), "samedi 15 août"},
      {"", Value::FromNumber(Decimal::FromCents(150)), "1,5"},
  };
  for (const Case& c : cases) {
    std::optional<ValueFormat> format = ValueFormat::Parse(QString::fromUtf8(c.format));
    ASSERT_TRUE(format.has_value()) << c.format;
    EXPECT_EQ(QString::fromUtf8(c.expected), format->apply(c.value))
        << "format " << c.format << ", value " << c.value.toText().toStdString();
  }
  for (const char* unknown : {"euros", "number:7", "number:x", "Amount"}) {
    EXPECT_FALSE(ValueFormat::Parse(QString::fromUtf8(unknown)).has_value()) << unknown;
  }
}

// Month and day names are French even when the machine speaks another language.
TEST(ValueFormatTest, DateNamesAreFrenchWhateverTheMachinesLanguage) {
  QLocale before;
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  MapContext context;
  context.names[QStringLiteral("Jour")] = Value::FromDate(QDate(2015, 3, 5));
  QString full = Eval(QStringLiteral("FORMATDATE(Jour, 'dddd d MMMM yyyy')"), context);
  QString text = Eval(QStringLiteral("FORMATDATE('05/12/2026', 'd MMMM yyyy')"), context);
  QString viaFormat = Eval(QStringLiteral("FORMAT(Jour, 'date:MMMM')"), context);
  QLocale::setDefault(before);
  EXPECT_EQ(QStringLiteral("jeudi 5 mars 2015"), full);
  EXPECT_EQ(QStringLiteral("5 décembre 2026"), text);
  EXPECT_EQ(QStringLiteral("mars"), viaFormat);
  EXPECT_EQ(QStringList(), context.warnings);
}

}  // namespace
}  // namespace vantrel::reports
