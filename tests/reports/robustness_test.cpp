// Damaged templates never crash the reader or the engine: every shipped template is cut,
// spliced and sprinkled with stray bytes, and each result is read and, when it reads,
// prepared over a few records.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <random>

#include "reports/expression.h"
#include "reports/qstring_printer.h"
#include "reports/qt_environment.h"
#include "reports/report_engine.h"
#include "reports/report_template.h"

namespace vantrel::reports {
namespace {

TEST(RobustnessTest, SurvivesDamagedTemplates) {
  testing::EnsureQtApplication();
  QDir shipped(QStringLiteral(VANTREL_TEMPLATES_DIR));
  std::vector<QByteArray> originals;
  for (const QString& name : shipped.entryList({QStringLiteral("*.frf")}, QDir::Files)) {
    QFile file(shipped.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    originals.push_back(file.readAll());
  }
  ASSERT_FALSE(originals.empty());
  const char* const kPieces[] = {"[",
                                 "]",
                                 "(",
                                 ")",
                                 "'",
                                 "<",
                                 ">",
                                 "&amp;",
                                 "\"",
                                 ":=",
                                 "IIF(",
                                 "1/0",
                                 "NbPages",
                                 "-",
                                 "9999999999999999",
                                 "</band>",
                                 "<band kind=\"detail\" height=\"0\">",
                                 "columns=\"10\"",
                                 "height=\"-5\"",
                                 "\n",
                                 "\xff",
                                 "\xc3"};
  std::mt19937 random(20261209);
  ReportInput input;
  input.recordCount = 7;
  input.getValue = [](const QString& name, int record) {
    if (name.startsWith(QLatin1Char('S'))) return Value::FromInteger(record * 3 - 5);
    return Value::FromText(QStringLiteral("%1-%2").arg(name).arg(record));
  };
  int prepared = 0;
  // VANTREL_ROBUSTNESS_ROUNDS runs longer by hand; the default keeps ctest quick.
  int rounds = qEnvironmentVariableIntValue("VANTREL_ROBUSTNESS_ROUNDS");
  if (rounds <= 0) rounds = 1500;
  for (int round = 0; round < rounds; ++round) {
    QByteArray bytes = originals[random() % originals.size()];
    int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits; ++e) {
      int at = static_cast<int>(random() % (bytes.size() + 1));
      switch (random() % 3) {
        case 0:
          bytes.remove(at, static_cast<int>(random() % 40));
          break;
        case 1:
          bytes.insert(at, kPieces[random() % std::size(kPieces)]);
          break;
        default:
          bytes.insert(at,
                       originals[random() % originals.size()].mid(random() % 2000, random() % 300));
          break;
      }
    }
    TemplateLoad load = ParseTemplate(bytes);
    EXPECT_EQ(load.value.has_value(), load.errors.isEmpty());
    if (!load.value) continue;
    PreparedReport report = PrepareReport(*load.value, input);
    EXPECT_EQ(report.pages.empty(), !report.errors.isEmpty())
        << report.errors.join(QLatin1Char('\n')).toStdString();
    ++prepared;
  }
  EXPECT_GT(prepared, 100);
}

// Random strings of the language's pieces are either refused with a reason or evaluated.
TEST(RobustnessTest, SurvivesRandomExpressions) {
  class Context : public EvalContext {
   public:
    std::optional<Value> lookup(const QString& name) override {
      if (name == QLatin1String("Texte")) return Value::FromText(QStringLiteral("12,5"));
      if (name == QLatin1String("Mot")) return Value::FromText(QStringLiteral("abc"));
      if (name == QLatin1String("Grand")) return Value::FromNumber(Decimal::FromUnits(INT64_MAX));
      return std::nullopt;
    }
    void assign(const QString&, const Value&) override {}
    void warn(const QString&) override {}
  } context;
  const char* const kPieces[] = {
      "1",       "0",     "99999999999", "0.0001",  "'a'",         "'12'", "Texte", "Mot",  "Grand",
      "Inconnu", "+",     "-",           "*",       "/",           "div",  "mod",   "&",    "=",
      "<>",      "<",     "and",         "or",      "not",         "(",    ")",     ",",    "IIF(",
      "ROUND(",  "COPY(", "AMOUNT(",     "FORMAT(", "FORMATDATE(", "INT(", "MIN(",  "true", "'"};
  std::mt19937 random(9122026);
  int rounds = qEnvironmentVariableIntValue("VANTREL_ROBUSTNESS_ROUNDS");
  if (rounds <= 0) rounds = 20000;
  int valid = 0;
  for (int round = 0; round < rounds; ++round) {
    QString source;
    int length = 1 + static_cast<int>(random() % 12);
    for (int i = 0; i < length; ++i) {
      source += QLatin1String(kPieces[random() % std::size(kPieces)]) + QLatin1Char(' ');
    }
    QString error;
    Expression expression = Expression::Parse(source, &error);
    EXPECT_EQ(expression.isValid(), error.isEmpty()) << source.toStdString();
    if (!expression.isValid()) continue;
    ++valid;
    expression.evaluate(context);
  }
  EXPECT_GT(valid, rounds / 50);
}

// Random bands of growing, wrapped and clipped texts over random values: the layout ends,
// nothing is drawn below the page footer's top, and every warning is a sentence.
TEST(RobustnessTest, GrowingTextsNeverRunOverTheFooter) {
  testing::EnsureQtApplication();
  std::mt19937 random(1066);
  auto pick = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const QString words[] = {QStringLiteral("Jérôme"),
                           QStringLiteral("LÉCUYER"),
                           QStringLiteral("de"),
                           QStringLiteral("1066,56"),
                           QStringLiteral("anticonstitutionnellement"),
                           QStringLiteral("\n"),
                           QStringLiteral("Noël"),
                           QString(80, QLatin1Char('W'))};
  for (int round = 0; round < 60; ++round) {
    QString band = QStringLiteral("<band kind=\"detail\" height=\"%1\">").arg(pick(1, 30));
    int items = pick(1, 6);
    for (int i = 0; i < items; ++i) {
      band += QStringLiteral(
                  "<text x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" font-size=\"%5\" wrap=\"%6\" "
                  "grow=\"%7\">[T%8]</text>")
                  .arg(pick(0, 120))
                  .arg(pick(0, 25))
                  .arg(pick(1, 80))
                  .arg(pick(0, 10))
                  .arg(pick(5, 16))
                  .arg(pick(0, 1) ? QStringLiteral("true") : QStringLiteral("false"))
                  .arg(pick(0, 2) ? QStringLiteral("true") : QStringLiteral("false"))
                  .arg(i);
      if (pick(0, 2) == 0) {
        band += QStringLiteral("<line x=\"0\" y=\"%1\" width=\"%2\" height=\"%3\"/>")
                    .arg(pick(0, 25))
                    .arg(pick(0, 100))
                    .arg(pick(0, 20));
      }
    }
    band += QStringLiteral("</band>");
    QString xml = QStringLiteral(
                      "<report version=\"1\"><page format=\"A5\"/>"
                      "<band kind=\"page-header\" height=\"8\"><text x=\"0\" y=\"0\" width=\"50\" "
                      "height=\"5\">Tête</text></band>"
                      "<band kind=\"page-footer\" height=\"8\"><text x=\"0\" y=\"0\" width=\"50\" "
                      "height=\"5\">Pied</text></band>") +
                  band + QStringLiteral("</report>");
    TemplateLoad load = ParseTemplate(xml.toUtf8());
    ASSERT_EQ(QStringList(), load.errors) << xml.toStdString();
    std::vector<QString> values;
    for (int r = 0; r < 40; ++r) {
      QString value;
      int count = pick(0, r % 5 == 0 ? 400 : 12);
      for (int w = 0; w < count; ++w) value += words[pick(0, 7)] + QLatin1Char(' ');
      values.push_back(value);
    }
    ReportInput input;
    input.recordCount = 40;
    input.getValue = [&values](const QString&, int record) {
      return record < 40 ? Value::FromText(values[record]) : Value();
    };
    PreparedReport prepared = PrepareReport(*load.value, input);
    ASSERT_EQ(QStringList(), prepared.errors);
    const double footerTop = 210 - 12 - 8;
    for (const PreparedPage& page : prepared.pages) {
      for (const DisplayItem& item : page.items) {
        if (item.lines.value(0) == QStringLiteral("Pied")) continue;
        double bottom = item.kind == DisplayItem::Kind::kLine
                            ? std::max(item.line.y1(), item.line.y2())
                            : item.rect.bottom();
        EXPECT_LE(bottom, footerTop + 1e-6) << xml.toStdString();
      }
    }
    for (const QString& warning : prepared.warnings) {
      EXPECT_TRUE(warning.startsWith(QStringLiteral("Bande « Détail »"))) << warning.toStdString();
    }
  }
}

}  // namespace
}  // namespace vantrel::reports
