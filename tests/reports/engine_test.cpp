#include <gtest/gtest.h>

#include <map>

#include "reports/qstring_printer.h"
#include "reports/qt_environment.h"
#include "reports/report_engine.h"
#include "reports/report_template.h"

namespace vantrel::reports {
namespace {

// A5 page, 10 mm margins, 10 mm header and footer, 10 mm detail bands: 17 records a page.
constexpr char kHeader[] = R"(<report version="1">
  <page format="A5" margin-left="10" margin-top="10" margin-right="10" margin-bottom="10"/>
)";
constexpr char kPageBands[] = R"(
  <band kind="page-header" height="10"><text x="0" y="0" width="100" height="5">En-tête</text></band>
  <band kind="page-footer" height="10"><text x="0" y="0" width="100" height="5">Page [Page] / [NbPages]</text></band>
)";

ReportTemplate Template(const QString& bands) {
  TemplateLoad load =
      ParseTemplate((QString::fromUtf8(kHeader) + bands + QStringLiteral("</report>")).toUtf8());
  EXPECT_EQ(QStringList(), load.errors);
  return load.value.value_or(ReportTemplate());
}

// Texts of a page in drawing order, each item's lines joined by a line break.
QStringList Texts(const PreparedPage& page) {
  QStringList texts;
  for (const DisplayItem& item : page.items) {
    if (item.kind == DisplayItem::Kind::kText) texts << item.lines.join(QLatin1Char('\n'));
  }
  return texts;
}

QStringList TextsStartingWith(const PreparedPage& page, const QString& prefix) {
  QStringList texts;
  for (const QString& text : Texts(page)) {
    if (text.startsWith(prefix)) texts << text;
  }
  return texts;
}

const DisplayItem* FindText(const PreparedPage& page, const QString& text) {
  for (const DisplayItem& item : page.items) {
    if (item.kind == DisplayItem::Kind::kText && item.lines.join(QLatin1Char('\n')) == text) {
      return &item;
    }
  }
  return nullptr;
}

// A screen whose records are maps of names to values; it counts the questions asked.
struct Screen {
  std::vector<std::map<QString, Value>> records;
  std::map<QString, Value> report;
  std::map<std::pair<QString, int>, int> asked;

  ReportInput input() {
    ReportInput in;
    in.recordCount = static_cast<int>(records.size());
    in.now = QDateTime(QDate(2026, 12, 9), QTime(14, 5));
    in.title = QStringLiteral("Essai");
    in.getValue = [this](const QString& name, int record) {
      ++asked[{name, record}];
      if (record < static_cast<int>(records.size())) {
        auto it = records[record].find(name);
        if (it != records[record].end()) return it->second;
      }
      auto it = report.find(name);
      return it != report.end() ? it->second : Value();
    };
    return in;
  }
};

Screen Numbered(int count) {
  Screen screen;
  for (int r = 0; r < count; ++r) {
    screen.records.push_back(
        {{QStringLiteral("Nom"), Value::FromText(QStringLiteral("R%1").arg(r + 1))}});
  }
  return screen;
}

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::EnsureQtApplication(); }
};

TEST_F(EngineTest, NumbersPagesAndKeepsTheFooterSpace) {
  ReportTemplate report = Template(
      QString::fromUtf8(kPageBands) +
      QStringLiteral(
          R"(<band kind="detail" height="10"><text x="0" y="0" width="100" height="5">[Nom]</text></band>)"));
  struct Case {
    int records;
    int pages;
  };
  for (Case c : {Case{0, 1}, Case{1, 1}, Case{17, 1}, Case{18, 2}, Case{34, 2}, Case{35, 3}}) {
    Screen screen = Numbered(c.records);
    PreparedReport prepared = PrepareReport(report, screen.input());
    ASSERT_EQ(c.pages, static_cast<int>(prepared.pages.size())) << c.records << " records";
    QStringList all;
    for (int p = 0; p < c.pages; ++p) {
      QStringList texts = Texts(prepared.pages[p]);
      EXPECT_EQ(QStringLiteral("En-tête"), texts.first()) << c.records << " records, page " << p;
      EXPECT_EQ(QStringLiteral("Page %1 / %2").arg(p + 1).arg(c.pages), texts.last())
          << c.records << " records, page " << p;
      all << TextsStartingWith(prepared.pages[p], QStringLiteral("R"));
      for (const DisplayItem& item : prepared.pages[p].items) {
        if (item.lines.join(QString()).startsWith(QLatin1Char('R'))) {
          EXPECT_LE(item.rect.top() + 10, 190.0 + 1e-9) << "a record runs into the footer";
        }
      }
    }
    QStringList expected;
    for (int r = 0; r < c.records; ++r) expected << QStringLiteral("R%1").arg(r + 1);
    EXPECT_EQ(expected, all) << c.records << " records";
    EXPECT_EQ(QStringList(), prepared.warnings);
  }
}

TEST_F(EngineTest, RepeatsTheColumnHeaderAndPutsTheTitleOnTheFirstPageOnly) {
  ReportTemplate report = Template(QString::fromUtf8(kPageBands) + QStringLiteral(R"(
    <band kind="title" height="20"><text x="0" y="0" width="100" height="5">Titre [TitreEtat]</text></band>
    <band kind="column-header" height="10"><text x="0" y="0" width="100" height="5">Colonnes</text></band>
    <band kind="detail" height="10"><text x="0" y="0" width="100" height="5">[Nom]</text></band>
    <band kind="summary" height="10"><text x="0" y="0" width="100" height="5">Fin</text></band>)"));
  Screen screen = Numbered(20);
  PreparedReport prepared = PrepareReport(report, screen.input());
  ASSERT_EQ(2u, prepared.pages.size());
  QStringList first = Texts(prepared.pages[0]);
  // 170 mm of body: title 20, column header 10, then 14 records.
  QStringList expectedFirst{QStringLiteral("En-tête"), QStringLiteral("Titre Essai"),
                            QStringLiteral("Colonnes")};
  for (int r = 1; r <= 14; ++r) expectedFirst << QStringLiteral("R%1").arg(r);
  expectedFirst << QStringLiteral("Page 1 / 2");
  EXPECT_EQ(expectedFirst, first);
  QStringList expectedSecond{QStringLiteral("En-tête"), QStringLiteral("Colonnes")};
  for (int r = 15; r <= 20; ++r) expectedSecond << QStringLiteral("R%1").arg(r);
  expectedSecond << QStringLiteral("Fin") << QStringLiteral("Page 2 / 2");
  EXPECT_EQ(expectedSecond, Texts(prepared.pages[1]));
}

// The classic fault: a band whose assignments already ran is moved to the next page, and
// the page total of the first page counts it too.
TEST_F(EngineTest, KeepsRunningTotalsExactWhenABandMovesToTheNextPage) {
  ReportTemplate report = Template(QStringLiteral(R"(
    <variable name="Total" initial="0"/>
    <variable name="TotalPage" initial="0" reset="page"/>
    <band kind="page-footer" height="10"><text x="0" y="0" width="100" height="5">Page [Page] : [AMOUNT(TotalPage)] / [AMOUNT(Total)]</text></band>
    <band kind="detail" height="10">
      <script>Total := Total + Montant; TotalPage := TotalPage + Montant</script>
      <field x="0" y="0" width="60" height="5" format="amount">Montant</field>
      <text x="60" y="0" width="60" height="5">[AMOUNT(Total)]</text>
    </band>
    <band kind="summary" height="10"><text x="0" y="0" width="100" height="5">Total [AMOUNT(Total)]</text></band>)"));
  Screen screen;
  Decimal grand;
  std::vector<Decimal> amounts;
  for (int r = 0; r < 45; ++r) {
    Decimal amount = Decimal::FromCents(r * 101 + 7);  // 0,07  1,08  2,09 ...
    amounts.push_back(amount);
    grand = grand + amount;
    screen.records.push_back({{QStringLiteral("Montant"), Value::FromNumber(amount)}});
  }
  PreparedReport prepared = PrepareReport(report, screen.input());
  // 180 mm of body above a 10 mm footer: 18 records a page, then the summary.
  ASSERT_EQ(3u, prepared.pages.size());
  Decimal running;
  int record = 0;
  for (std::size_t p = 0; p < prepared.pages.size(); ++p) {
    Decimal pageTotal;
    int onPage = p < 2 ? 18 : 9;
    for (int i = 0; i < onPage; ++i, ++record) {
      pageTotal = pageTotal + amounts[record];
      running = running + amounts[record];
      EXPECT_NE(nullptr, FindText(prepared.pages[p], running.toText(2))) << "record " << record;
    }
    EXPECT_EQ(
        QStringLiteral("Page %1 : %2 / %3").arg(p + 1).arg(pageTotal.toText(2), running.toText(2)),
        Texts(prepared.pages[p]).last());
  }
  EXPECT_EQ(QStringLiteral("Total %1").arg(grand.toText(2)),
            Texts(prepared.pages[2])[Texts(prepared.pages[2]).size() - 2]);
}

TEST_F(EngineTest, ResetsGroupTotalsAndPrintsFootersWithTheLastRecordOfTheGroup) {
  ReportTemplate report = Template(QString::fromUtf8(kPageBands) + QStringLiteral(R"(
    <variable name="Sous" initial="0" reset="group" group="Cle"/>
    <variable name="Nb" initial="0" reset="group" group="Cle"/>
    <band kind="group-header" group="Cle" key="Groupe" height="10"><text x="0" y="0" width="100" height="5">Groupe [Groupe]</text></band>
    <band kind="detail" height="10">
      <script>Sous := Sous + Montant; Nb := Nb + 1</script>
      <text x="0" y="0" width="100" height="5">[Nom]</text>
    </band>
    <band kind="group-footer" group="Cle" height="10"><text x="0" y="0" width="100" height="5">Fin [Groupe] : [Nb] pour [AMOUNT(Sous)]</text></band>)"));
  Screen screen;
  const char* groups[] = {"A", "A", "A", "B", "C", "C", "C", "C",
                          "C", "C", "C", "C", "C", "C", "C", "C"};
  for (int r = 0; r < 16; ++r) {
    screen.records.push_back(
        {{QStringLiteral("Nom"), Value::FromText(QStringLiteral("R%1").arg(r + 1))},
         {QStringLiteral("Groupe"), Value::FromText(QString::fromUtf8(groups[r]))},
         {QStringLiteral("Montant"), Value::FromNumber(Decimal::FromCents(150))}});
  }
  PreparedReport prepared = PrepareReport(report, screen.input());
  QStringList all;
  for (const PreparedPage& page : prepared.pages) all << Texts(page);
  all.removeAll(QStringLiteral("En-tête"));
  QStringList expected{QStringLiteral("Groupe A"),
                       QStringLiteral("R1"),
                       QStringLiteral("R2"),
                       QStringLiteral("R3"),
                       QStringLiteral("Fin A : 3 pour 4,50"),
                       QStringLiteral("Groupe B"),
                       QStringLiteral("R4"),
                       QStringLiteral("Fin B : 1 pour 1,50"),
                       QStringLiteral("Groupe C")};
  // Page 1 holds 17 bands: the group C header, then R5 to R12; R13 opens page 2.
  for (int r = 5; r <= 12; ++r) expected << QStringLiteral("R%1").arg(r);
  expected << QStringLiteral("Page 1 / 2");
  for (int r = 13; r <= 16; ++r) expected << QStringLiteral("R%1").arg(r);
  expected << QStringLiteral("Fin C : 12 pour 18,00") << QStringLiteral("Page 2 / 2");
  EXPECT_EQ(expected, all);
}

TEST_F(EngineTest, NeverLeavesAGroupHeaderAloneAtTheFootOfAPage) {
  ReportTemplate report = Template(QString::fromUtf8(kPageBands) + QStringLiteral(R"(
    <band kind="group-header" group="Cle" key="Groupe" height="10"><text x="0" y="0" width="100" height="5">Groupe [Groupe]</text></band>
    <band kind="detail" height="10"><text x="0" y="0" width="100" height="5">[Nom]</text></band>)"));
  Screen screen;
  // 17 bands fit a page: header A and 15 records leave one place, too little for header B
  // and its first record.
  for (int r = 0; r < 18; ++r) {
    screen.records.push_back(
        {{QStringLiteral("Nom"), Value::FromText(QStringLiteral("R%1").arg(r + 1))},
         {QStringLiteral("Groupe"),
          Value::FromText(r < 15 ? QStringLiteral("A") : QStringLiteral("B"))}});
  }
  PreparedReport prepared = PrepareReport(report, screen.input());
  ASSERT_EQ(2u, prepared.pages.size());
  QStringList second = Texts(prepared.pages[1]);
  EXPECT_EQ(
      (QStringList{QStringLiteral("En-tête"), QStringLiteral("Groupe B"), QStringLiteral("R16"),
                   QStringLiteral("R17"), QStringLiteral("R18"), QStringLiteral("Page 2 / 2")}),
      second);
  EXPECT_EQ(QStringLiteral("R15"), Texts(prepared.pages[0])[16]);
}

TEST_F(EngineTest, ResolvesNamesFromTheScreenThenVariablesThenBuiltIns) {
  ReportTemplate report = Template(QStringLiteral(R"(
    <variable name="Place" initial="1"/>
    <variable name="Rang" initial="Place * 10"/>
    <band kind="detail" height="10">
      <text x="0" y="0" width="120" height="5">[Nom]|[Place]|[Rang]|[Ligne]|[NumEnreg]|[TitreEtat]|[Date]|[Heure]|[Solde]|[Page]</text>
      <text x="0" y="5" width="120" height="5">[Nom]|[nom]</text>
    </band>)"));
  Screen screen;
  screen.records.push_back({{QStringLiteral("Nom"), Value::FromText(QStringLiteral("Écran"))},
                            {QStringLiteral("Solde"), Value::FromText(QString())}});
  screen.records.push_back({{QStringLiteral("Nom"), Value::FromText(QStringLiteral("Second"))}});
  ReportInput input = screen.input();
  input.variables = {{QStringLiteral("Nom"), Value::FromInteger(5)},
                     {QStringLiteral("Place"), Value::FromInteger(7)},
                     {QStringLiteral("Solde"), Value::FromInteger(3)},
                     {QStringLiteral("Ligne"), Value::FromInteger(99)}};
  PreparedReport prepared = PrepareReport(report, input);
  ASSERT_EQ(1u, prepared.pages.size());
  EXPECT_EQ((QStringList{QStringLiteral("Écran|7|10|99|0|Essai|09/12/2026|14:05||1"),
                         QStringLiteral("Écran|"),
                         QStringLiteral("Second|7|10|99|1|Essai|09/12/2026|14:05|3|1"),
                         QStringLiteral("Second|")}),
            Texts(prepared.pages[0]));
  EXPECT_EQ(
      QStringList{QStringLiteral("Bande « Détail » (ligne 6) : « nom » : nom inconnu « nom »")},
      prepared.warnings);
  // The screen is asked once per record and name, however often the template uses it.
  EXPECT_EQ(1, (screen.asked[{QStringLiteral("Nom"), 0}]));
  EXPECT_EQ(1, (screen.asked[{QStringLiteral("Nom"), 1}]));
}

TEST_F(EngineTest, AsksForRecordNumberRangeEndCountAfterTheLastRecord) {
  ReportTemplate report = Template(QStringLiteral(R"(
    <band kind="detail" height="10"><text x="0" y="0" width="100" height="5">[Nom]</text></band>
    <band kind="summary" height="10"><text x="0" y="0" width="100" height="5">Typ=[Typ]</text></band>)"));
  Screen screen = Numbered(3);
  ReportInput input = screen.input();
  std::vector<int> typRecords;
  input.getValue = [&](const QString& name, int record) {
    if (name == QLatin1String("Typ")) {
      typRecords.push_back(record);
      return record >= 3 ? Value::FromInteger(0) : Value::FromText(QStringLiteral("1"));
    }
    return Value::FromText(QStringLiteral("R%1").arg(record + 1));
  };
  PreparedReport prepared = PrepareReport(report, input);
  EXPECT_EQ((QStringList{QStringLiteral("R1"), QStringLiteral("R2"), QStringLiteral("R3"),
                         QStringLiteral("Typ=0")}),
            Texts(prepared.pages[0]));
  EXPECT_EQ(std::vector<int>{3}, typRecords);
}

TEST_F(EngineTest, FillsColumnsDownThenAcross) {
  ReportTemplate report = Template(QString::fromUtf8(kPageBands) + QStringLiteral(R"(
    <band kind="detail" height="10" columns="2" column-gap="8"><text x="0" y="0" width="60" height="5">[Nom]</text></band>
    <band kind="summary" height="10"><text x="0" y="0" width="100" height="5">Fin</text></band>)"));
  Screen screen = Numbered(40);
  PreparedReport prepared = PrepareReport(report, screen.input());
  ASSERT_EQ(2u, prepared.pages.size());
  // 128 mm of body width: columns of 60 mm at x = 10 and x = 78.
  struct Where {
    int record;
    std::size_t page;
    double x;
    double y;
  };
  for (Where w : {Where{1, 0, 10, 20}, Where{17, 0, 10, 180}, Where{18, 0, 78, 20},
                  Where{34, 0, 78, 180}, Where{35, 1, 10, 20}, Where{40, 1, 10, 70}}) {
    const DisplayItem* item = FindText(prepared.pages[w.page], QStringLiteral("R%1").arg(w.record));
    ASSERT_NE(nullptr, item) << "record " << w.record;
    EXPECT_EQ(QPointF(w.x, w.y), item->rect.topLeft()) << "record " << w.record;
  }
  const DisplayItem* end = FindText(prepared.pages[1], QStringLiteral("Fin"));
  ASSERT_NE(nullptr, end);
  EXPECT_EQ(QPointF(10, 80), end->rect.topLeft());
}

TEST_F(EngineTest, StartsANewPageAfterEachRecordWhenAsked) {
  ReportTemplate report = Template(QString::fromUtf8(kPageBands) + QStringLiteral(R"(
    <band kind="detail" height="30" page-break-after="true"><text x="0" y="0" width="100" height="5">[Nom]</text></band>)"));
  Screen screen = Numbered(3);
  PreparedReport prepared = PrepareReport(report, screen.input());
  ASSERT_EQ(3u, prepared.pages.size());
  for (int p = 0; p < 3; ++p) {
    EXPECT_EQ((QStringList{QStringLiteral("En-tête"), QStringLiteral("R%1").arg(p + 1),
                           QStringLiteral("Page %1 / 3").arg(p + 1)}),
              Texts(prepared.pages[p]));
  }
}

TEST_F(EngineTest, GrowsBandsForWrappedTextAndNeverSplitsThem) {
  ReportTemplate report = Template(QString::fromUtf8(kPageBands) + QStringLiteral(R"(
    <band kind="detail" height="6">
      <text x="0" y="0" width="20" height="5">[Nom]</text>
      <text x="20" y="0" width="40" height="5" wrap="true" grow="true">[Note]</text>
    </band>)"));
  Screen screen;
  for (int r = 0; r < 30; ++r) {
    QString note;
    for (int w = 0; w <= r % 7; ++w) note += QStringLiteral("mot%1 encore ").arg(w);
    screen.records.push_back(
        {{QStringLiteral("Nom"), Value::FromText(QStringLiteral("R%1").arg(r + 1))},
         {QStringLiteral("Note"), Value::FromText(note.trimmed())}});
  }
  PreparedReport prepared = PrepareReport(report, screen.input());
  ASSERT_GE(prepared.pages.size(), 2u);
  int seen = 0;
  for (const PreparedPage& page : prepared.pages) {
    for (std::size_t i = 0; i < page.items.size(); ++i) {
      const DisplayItem& item = page.items[i];
      if (!item.lines.value(0).startsWith(QLatin1Char('R'))) continue;
      ++seen;
      const DisplayItem& note = page.items[i + 1];
      EXPECT_EQ(item.rect.top(), note.rect.top());
      EXPECT_LE(note.rect.bottom(), 190.0 + 1e-9) << item.lines[0].toStdString();
      for (const QString& line : note.lines) EXPECT_FALSE(line.isEmpty());
      if (i + 2 < page.items.size() &&
          page.items[i + 2].lines.value(0).startsWith(QLatin1Char('R'))) {
        // The band grows by as much as its text: the 1 mm under the text stays.
        EXPECT_NEAR(6.0 + std::max(0.0, note.rect.height() - 5.0),
                    page.items[i + 2].rect.top() - item.rect.top(), 1e-9);
      }
    }
  }
  EXPECT_EQ(30, seen);
}

TEST_F(EngineTest, ReportsTemplateErrorsWithTheirPlaceInsteadOfPages) {
  struct Case {
    const char* bands;
    const char* error;
  };
  const Case cases[] = {
      {R"(<band kind="detail" height="5">
<field x="0" y="0">FOO(1)</field></band>)",
       "Bande « Détail » (ligne 3), élément Champ (ligne 4) : fonction inconnue « FOO » (caractère "
       "1)"},
      {R"(<band kind="summary" height="5"><text x="0" y="0">Total [1 +]</text></band>)",
       "Bande « Récapitulatif » (ligne 3), élément Texte (ligne 3) : « ] » inattendu (caractère "
       "11)"},
      {R"(<band kind="detail" height="5"><script>Total = 1</script></band>)",
       "Bande « Détail » (ligne 3), script avant : « := » attendu : « = » inattendu (caractère 7)"},
      {R"(<band kind="group-footer" group="Compte" height="5"/>)",
       "Bande « Pied de groupe » du groupe Compte (ligne 3) : aucun en-tête de groupe « Compte »"},
      {R"(<band kind="detail" height="5"><field x="0" y="0" format="euro">1</field></band>)",
       "Bande « Détail » (ligne 3), élément Champ (ligne 3) : format « euro » inconnu (amount, "
       "amount-blank, integer, number:N, date, date:MOTIF)"},
      {R"(<variable name="T" initial="1 +"/>)",
       "Variable T (ligne 3), valeur initiale : expression incomplète"},
  };
  for (const Case& c : cases) {
    TemplateLoad load = ParseTemplate(
        (QString::fromUtf8(kHeader) + QString::fromUtf8(c.bands) + QStringLiteral("</report>"))
            .toUtf8());
    ASSERT_TRUE(load.value.has_value()) << c.bands;
    PreparedReport prepared = PrepareReport(*load.value, Numbered(2).input());
    EXPECT_EQ(QStringList{QString::fromUtf8(c.error)}, prepared.errors) << c.bands;
    EXPECT_TRUE(prepared.pages.empty()) << c.bands;
  }
}

// A running total over a record whose amount is no number (or a sum too large) would start
// again from nothing and print a plausible wrong total: the report stops instead, naming the
// band, the record and the assignment.
TEST_F(EngineTest, ARunningTotalThatCannotBeComputedStopsTheReport) {
  const QString bands = QStringLiteral(R"(<variable name="Tot" initial="0"/>
  <band kind="detail" height="5">
    <script>N := NumEnreg; Tot := Tot + Montant</script>
    <field x="0" y="0" width="40" height="5" format="amount">Montant</field>
  </band>
  <band kind="summary" height="5"><field x="0" y="0" width="40" height="5">Tot</field></band>)");
  const ReportTemplate report = Template(bands);
  const Value big = Value::FromNumber(Decimal::FromInteger(900000000000000));  // fits alone
  const struct {
    const char* name;
    Value first;
    Value second;
    const char* reason;
  } cases[] = {
      {"text", Value::FromNumber(Decimal::FromInteger(10)), Value::FromText(QStringLiteral("abc")),
       "« abc » n'est pas un nombre"},
      {"overflow", big, big, "résultat trop grand"},
  };
  for (const auto& c : cases) {
    Screen screen;
    for (const Value& amount : {c.first, c.second, Value::FromNumber(Decimal::FromInteger(5))}) {
      screen.records.push_back({{QStringLiteral("Montant"), amount}});
    }
    PreparedReport prepared = PrepareReport(report, screen.input());
    EXPECT_TRUE(prepared.stopped) << c.name;
    EXPECT_EQ(QStringList{QStringLiteral("Bande « Détail » (ligne 4), enregistrement 2 : le "
                                         "calcul « Tot := Tot + Montant » ne peut pas être fait "
                                         "(%1) ; l'état n'est pas imprimé")
                              .arg(QString::fromUtf8(c.reason))},
              prepared.errors)
        << c.name;
    EXPECT_TRUE(prepared.pages.empty()) << c.name;
    EXPECT_TRUE(prepared.tableRows.empty()) << c.name;
  }

  // A variable whose initial value cannot be computed stops the report before any page.
  PreparedReport initial =
      PrepareReport(Template(QStringLiteral(R"(<variable name="Base" initial="'x' * 2"/>
  <band kind="detail" height="5"><field x="0" y="0" width="40" height="5">Base</field></band>)")),
                    Numbered(2).input());
  EXPECT_EQ(QStringList{QStringLiteral("Variable Base : la valeur initiale « 'x' * 2 » ne peut "
                                       "pas être calculée (« x » n'est pas un nombre) ; l'état "
                                       "n'est pas imprimé")},
            initial.errors);
  EXPECT_TRUE(initial.pages.empty());

  // A text that fails is a warning of the preview and a fault for the batch tools; the
  // report goes on.
  Screen text;
  text.records.push_back({{QStringLiteral("Montant"), Value::FromText(QStringLiteral("abc"))}});
  PreparedReport shown = PrepareReport(Template(QStringLiteral(R"(<band kind="detail" height="5">
    <text x="0" y="0" width="40" height="5">[Montant * 2]</text></band>)")),
                                       text.input());
  EXPECT_EQ(QStringList(), shown.errors);
  EXPECT_FALSE(shown.stopped);
  EXPECT_EQ(1u, shown.pages.size());
  EXPECT_EQ(QStringList{QStringLiteral("Bande « Détail » (ligne 3) : « Montant * 2 » : « abc » "
                                       "n'est pas un nombre")},
            shown.warnings);
  EXPECT_EQ(shown.warnings, shown.faults);
}

TEST_F(EngineTest, RefusesMarginsThatLeaveNoRoom) {
  ReportTemplate report;
  report.page.format = PageFormat::kDL;
  report.page.landscape = true;
  report.page.marginTop = 60;
  report.page.marginBottom = 60;
  PreparedReport prepared = PrepareReport(report, ReportInput());
  EXPECT_EQ(
      QStringList{QStringLiteral("Les marges ne laissent aucune place sur la page (220 × 110 mm)")},
      prepared.errors);
}

}  // namespace
}  // namespace vantrel::reports
