// What a printed page really shows: values never cut, growing texts, clipped texts, bands
// too tall for the page, French dates, conditional style, repeated group headers and the
// table of printed records. Pages are drawn on a recording device and the glyphs checked.

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QLocale>
#include <QTemporaryDir>
#include <map>

#include "reports/qstring_printer.h"
#include "reports/qt_environment.h"
#include "reports/recording_device.h"
#include "reports/render_data.h"
#include "reports/report_csv.h"
#include "reports/report_engine.h"
#include "reports/report_template.h"

namespace vantrel::reports {
namespace {

using testing::DrawnText;

constexpr double kPageWidth = 148;  // A5
constexpr double kPageHeight = 210;
constexpr double kTolerancePx = 0.5;

ReportTemplate Template(const QString& bands) {
  QString xml = QStringLiteral(R"(<report version="1">
  <page format="A5" margin-left="10" margin-top="10" margin-right="10" margin-bottom="10"/>
  <band kind="page-footer" height="10"><text x="0" y="0" width="100" height="5">Pied</text></band>
)") + bands + QStringLiteral("</report>");
  TemplateLoad load = ParseTemplate(xml.toUtf8());
  EXPECT_EQ(QStringList(), load.errors);
  return load.value.value_or(ReportTemplate());
}

// Records of name-value pairs, answered exactly.
struct Data {
  std::vector<std::map<QString, Value>> records;

  ReportInput input() const {
    ReportInput in;
    in.recordCount = static_cast<int>(records.size());
    in.now = QDateTime(QDate(2015, 3, 5), QTime(14, 5));
    in.getValue = [this](const QString& name, int record) {
      if (record >= static_cast<int>(records.size())) return Value();
      auto it = records[record].find(name);
      return it == records[record].end() ? Value() : it->second;
    };
    return in;
  }
};

Data OneRecord(const QString& name, const Value& value) {
  Data data;
  data.records.push_back({{name, value}});
  return data;
}

// Width of a text as the engine measures it (1200 dpi), in millimetres.
double WidthMm(const QString& text, double pointSize) {
  QImage device(1, 1, QImage::Format_ARGB32);
  device.setDotsPerMeterX(qRound(1200 / 25.4 * 1000));
  device.setDotsPerMeterY(qRound(1200 / 25.4 * 1000));
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(pointSize);
  return QFontMetricsF(font, &device).horizontalAdvance(text) / (1200 / 25.4);
}

const DisplayItem* FindText(const PreparedPage& page, const QString& first) {
  for (const DisplayItem& item : page.items) {
    if (item.kind == DisplayItem::Kind::kText && item.lines.value(0) == first) return &item;
  }
  return nullptr;
}

// The glyph runs drawn on the first page whose text is one of texts.
std::vector<DrawnText> Drawn(const PreparedReport& prepared, int page = 0) {
  return testing::DrawPage(prepared.pages.at(page), QSizeF(kPageWidth, kPageHeight));
}

QString DrawnTogether(const std::vector<DrawnText>& drawn) {
  QStringList texts;
  for (const DrawnText& d : drawn) texts << d.text;
  return texts.join(QLatin1Char('|'));
}

bool Inside(const QRectF& inner, const QRectF& outer) {
  return inner.left() >= outer.left() - kTolerancePx &&
         inner.right() <= outer.right() + kTolerancePx &&
         inner.top() >= outer.top() - kTolerancePx &&
         inner.bottom() <= outer.bottom() + kTolerancePx;
}

class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::EnsureQtApplication(); }
};

// A number wider than the box it was sized for is printed smaller and whole, never with its
// leading digits cut; the glyphs drawn are the whole value, inside the box.
TEST_F(LayoutTest, NumberTooWideForItsBoxIsPaintedWholeAndSmaller) {
  struct Case {
    const char* format;
    Value value;
    const char* printed;
  };
  const Case cases[] = {
      {"amount", Value::FromNumber(Decimal::FromCents(106656)), "1066,56"},
      {"amount", Value::FromNumber(Decimal::FromCents(-106656)), "-1066,56"},
      {"", Value::FromText(QStringLiteral("1066,56")), "1066,56"},
      {"integer", Value::FromInteger(123456), "123456"},
  };
  for (bool wrap : {false, true}) {
    const double box = WidthMm(QStringLiteral("66,56"), 10) + 2 * kTextPaddingMm + 0.1;
    for (const Case& c : cases) {
      ReportTemplate report =
          Template(QStringLiteral(R"(<band kind="detail" height="6">
          <field x="20" y="0" width="%1" height="5" align="right" format="%2" wrap="%4">Montant</field>
          <text x="%3" y="0" width="30" height="5">suite</text></band>)")
                       .arg(box)
                       .arg(QString::fromUtf8(c.format))
                       .arg(20 + box)
                       .arg(wrap ? QStringLiteral("true") : QStringLiteral("false")));
      PreparedReport prepared =
          PrepareReport(report, OneRecord(QStringLiteral("Montant"), c.value).input());
      EXPECT_EQ(QStringList(), prepared.warnings) << c.printed;
      const DisplayItem* item = FindText(prepared.pages.at(0), QString::fromUtf8(c.printed));
      ASSERT_NE(nullptr, item) << c.printed;
      EXPECT_LT(item->font.pointSize, 10.0) << c.printed;
      EXPECT_GE(item->font.pointSize, kSmallestNumberPointSize) << c.printed;

      testing::RecordingDevice device(QSizeF(kPageWidth, kPageHeight), 600);
      std::vector<DrawnText> drawn = Drawn(prepared);
      const DrawnText* glyphs = nullptr;
      for (const DrawnText& d : drawn) {
        if (d.text.contains(QStringLiteral("66,56")) || d.text.contains(QStringLiteral("456"))) {
          glyphs = &d;
        }
      }
      ASSERT_NE(nullptr, glyphs) << c.printed << " among " << DrawnTogether(drawn).toStdString();
      EXPECT_EQ(QString::fromUtf8(c.printed), glyphs->text);
      QRectF boxPx = device.toDevice(item->rect);
      EXPECT_TRUE(Inside(QRectF(glyphs->box.left(), boxPx.top(), glyphs->box.width(), 1), boxPx))
          << c.printed << ": glyphs from " << glyphs->box.left() << " to " << glyphs->box.right()
          << ", box from " << boxPx.left() << " to " << boxPx.right();
      EXPECT_TRUE(glyphs->clip.isEmpty()) << c.printed;
    }
  }
}

// What cannot be printed whole even at the smallest size is clipped to its box and named,
// with its record, in the warnings; so is a text too wide for a box that does not wrap.
TEST_F(LayoutTest, WhatDoesNotFitEvenSmallerIsClippedAndWarnedAbout) {
  const double box = WidthMm(QStringLiteral("66,56"), 10) + 2 * kTextPaddingMm + 0.1;
  struct Case {
    const char* value;
    const char* warning;
    double room;  // what the box leaves: a figure keeps its whole padding, a text 0,1 mm
  };
  const Case cases[] = {
      {"10621531,84",
       "Bande « Détail » (ligne 4) : élément Champ (ligne 5), enregistrement 2 : « 10621531,84 » "
       "ne "
       "tient pas dans sa case (%1 mm de large pour %2 mm)",
       box - 2 * kTextPaddingMm},
      {"Ardevanne",
       "Bande « Détail » (ligne 4) : élément Champ (ligne 5), enregistrement 2 : « Ardevanne » "
       "ne "
       "tient pas dans sa case (%1 mm de large pour %2 mm)",
       box - 0.2},
  };
  for (const Case& c : cases) {
    ReportTemplate report = Template(QStringLiteral(R"(<band kind="detail" height="6">
          <field x="20" y="0" width="%1" height="5" align="right">Montant</field></band>)")
                                         .arg(box));
    Data data;
    data.records.push_back({{QStringLiteral("Montant"), Value::FromText(QStringLiteral("1"))}});
    data.records.push_back(
        {{QStringLiteral("Montant"), Value::FromText(QString::fromUtf8(c.value))}});
    PreparedReport prepared = PrepareReport(report, data.input());
    auto mm = [](double v) {
      return QString::number(v, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(','));
    };
    QString expected =
        QString::fromUtf8(c.warning).arg(mm(WidthMm(QString::fromUtf8(c.value), 10)), mm(c.room));
    EXPECT_EQ(QStringList{expected}, prepared.warnings) << c.value;
    testing::RecordingDevice device(QSizeF(kPageWidth, kPageHeight), 600);
    const DisplayItem* item = FindText(prepared.pages.at(0), QString::fromUtf8(c.value));
    ASSERT_NE(nullptr, item) << c.value;
    for (const DrawnText& d : Drawn(prepared)) {
      if (d.text != QString::fromUtf8(c.value)) continue;
      EXPECT_EQ(device.toDevice(item->rect), d.clip) << c.value;
      EXPECT_TRUE(Inside(d.visible(), device.toDevice(item->rect))) << c.value;
    }
  }
}

// A text marked to grow takes three lines and pushes the item under it down by as much as
// it grew; the band grows too and the next record starts under it.
TEST_F(LayoutTest, GrowingTextPushesTheItemsUnderItDown) {
  ReportTemplate report = Template(QStringLiteral(R"(<band kind="detail" height="12">
      <frame x="0" y="0" width="60" height="12"/>
      <text x="1" y="1" width="55" height="5" wrap="true" grow="true">[Modalites]</text>
      <text x="45" y="1" width="20" height="5">[Code]</text>
      <text x="1" y="6" width="40" height="5">Séance 1 : 13 h 30</text>
    </band>)"));
  const QString modalites =
      QStringLiteral("Deux séances de vingt-huit donnes, marque en IMP convertie en PV");
  Data data;
  for (int r = 0; r < 2; ++r) {
    data.records.push_back(
        {{QStringLiteral("Modalites"), Value::FromText(modalites)},
         {QStringLiteral("Code"), Value::FromText(QStringLiteral("C%1").arg(r))}});
  }
  PreparedReport prepared = PrepareReport(report, data.input());
  EXPECT_EQ(QStringList(), prepared.warnings);
  const PreparedPage& page = prepared.pages.at(0);
  std::vector<const DisplayItem*> grown;
  std::vector<const DisplayItem*> seances;
  std::vector<const DisplayItem*> frames;
  for (const DisplayItem& item : page.items) {
    if (item.kind == DisplayItem::Kind::kRect) frames.push_back(&item);
    if (item.kind != DisplayItem::Kind::kText) continue;
    if (item.lines.size() == 3) grown.push_back(&item);
    if (item.lines.value(0).startsWith(QStringLiteral("Séance"))) seances.push_back(&item);
  }
  ASSERT_EQ(2u, grown.size());
  ASSERT_EQ(2u, seances.size());
  ASSERT_EQ(2u, frames.size());
  const double growth = 3 * grown[0]->lineHeightMm - 5;
  EXPECT_NEAR(grown[0]->rect.bottom() + 0, seances[0]->rect.top(), 1e-9);
  EXPECT_NEAR(10 + 6 + growth, seances[0]->rect.top(), 1e-9);
  EXPECT_NEAR(12 + growth, frames[0]->rect.height(), 1e-9);
  EXPECT_NEAR(10 + 12 + growth, grown[1]->rect.top() - 1, 1e-9);

  // The glyphs: the three lines of the text, then "Séance" under the last of them.
  std::vector<DrawnText> drawn = Drawn(prepared);
  std::vector<const DrawnText*> lines;
  const DrawnText* seance = nullptr;
  for (const DrawnText& d : drawn) {
    if (modalites.contains(d.text) && lines.size() < 3) lines.push_back(&d);
    if (d.text.startsWith(QStringLiteral("Séance")) && seance == nullptr) seance = &d;
  }
  ASSERT_EQ(3u, lines.size()) << DrawnTogether(drawn).toStdString();
  ASSERT_NE(nullptr, seance);
  QStringList words;
  for (const DrawnText* line : lines) words << line->text;
  EXPECT_EQ(modalites, words.join(QLatin1Char(' ')));
  EXPECT_GE(seance->box.top(), lines[2]->box.bottom() - kTolerancePx);
}

// A text that may not grow shows the lines its box holds, clipped to the box, and says it
// lost the others; its glyphs never cross the box nor the item under it.
TEST_F(LayoutTest, TextThatMayNotGrowIsClippedToItsBox) {
  ReportTemplate report = Template(QStringLiteral(R"(<band kind="detail" height="12">
      <text x="1" y="1" width="55" height="5" wrap="true">[Modalites]</text>
      <text x="1" y="6" width="40" height="5">Séance 1 : 13 h 30</text>
    </band>)"));
  const QString modalites =
      QStringLiteral("Deux séances de vingt-huit donnes, marque en IMP convertie en PV");
  PreparedReport prepared = PrepareReport(
      report, OneRecord(QStringLiteral("Modalites"), Value::FromText(modalites)).input());
  EXPECT_EQ(QStringList{QStringLiteral(
                "Bande « Détail » (ligne 4) : élément Texte (ligne 5), enregistrement 1 : « Deux "
                "séances de vingt-huit donnes, marq… » demande 3 lignes et sa case n'en montre "
                "que 1")},
            prepared.warnings);
  testing::RecordingDevice device(QSizeF(kPageWidth, kPageHeight), 600);
  QRectF box = device.toDevice(QRectF(11, 11, 55, 5));
  QRectF below = device.toDevice(QRectF(11, 16, 55, 5));
  int seen = 0;
  for (const DrawnText& d : Drawn(prepared)) {
    if (d.text.startsWith(QStringLiteral("Séance")) || d.text == QStringLiteral("Pied")) continue;
    ++seen;
    EXPECT_EQ(box, d.clip) << d.text.toStdString();
    EXPECT_TRUE(Inside(d.visible(), box)) << d.text.toStdString();
    EXPECT_FALSE(d.visible().intersects(below)) << d.text.toStdString();
  }
  EXPECT_EQ(1, seen);
}

// A band taller than the page between header and footer is refused with a message, never
// drawn over the footer; the records around it print.
TEST_F(LayoutTest, BandTallerThanThePageIsRefusedNotDrawnOverTheFooter) {
  ReportTemplate report = Template(QStringLiteral(R"(<band kind="detail" height="6">
      <script>Total := Total + 1</script>
      <text x="0" y="0" width="40" height="5" wrap="true" grow="true">[Note]</text></band>
    <band kind="summary" height="6"><text x="0" y="0" width="60" height="5">Total [Total]</text></band>)"));
  report.variables.push_back(VariableDef{QStringLiteral("Total")});
  Data data;
  QString tall;
  for (int i = 0; i < 80; ++i) tall += QStringLiteral("ligne%1\n").arg(i);
  for (const QString& note : {QStringLiteral("avant"), tall.trimmed(), QStringLiteral("après")}) {
    data.records.push_back({{QStringLiteral("Note"), Value::FromText(note)}});
  }
  PreparedReport prepared = PrepareReport(report, data.input());
  ASSERT_EQ(1, prepared.warnings.size());
  EXPECT_TRUE(prepared.warnings[0].startsWith(
      QStringLiteral("Bande « Détail » (ligne 4) : enregistrement 2 : la bande mesure ")))
      << prepared.warnings[0].toStdString();
  EXPECT_TRUE(
      prepared.warnings[0].endsWith(QStringLiteral("mm de place : elle n'est pas imprimée")))
      << prepared.warnings[0].toStdString();
  const double footerTop = kPageHeight - 10 - 10;
  QStringList texts;
  for (const PreparedPage& page : prepared.pages) {
    for (const DisplayItem& item : page.items) {
      if (item.kind != DisplayItem::Kind::kText) continue;
      texts << item.lines.value(0);
      if (item.lines.value(0) != QStringLiteral("Pied")) {
        EXPECT_LE(item.rect.bottom(), footerTop + 1e-9) << item.lines.value(0).toStdString();
      }
    }
  }
  EXPECT_EQ(QStringList({QStringLiteral("avant"), QStringLiteral("après"),
                         QStringLiteral("Total 2"), QStringLiteral("Pied")}),
            texts);
}

// A page footer whose text grows is given its room on every page: the bands stop above it
// and it ends at the bottom margin.
TEST_F(LayoutTest, GrowingPageFooterKeepsItsRoom) {
  TemplateLoad load = ParseTemplate(QStringLiteral(R"(<report version="1">
  <page format="A5" margin-left="10" margin-top="10" margin-right="10" margin-bottom="10"/>
  <band kind="page-footer" height="6"><line x="0" y="0" width="128" height="0"/>
    <text x="0" y="1" width="60" height="4" wrap="true" grow="true">[Pied]</text></band>
  <band kind="detail" height="10"><text x="0" y="0" width="60" height="5">[Ligne]</text></band>
</report>)")
                                        .toUtf8());
  ASSERT_EQ(QStringList(), load.errors);
  Data data;
  for (int r = 0; r < 40; ++r) data.records.push_back({});
  ReportInput input = data.input();
  input.getValue = [](const QString& name, int) {
    return name == QLatin1String("Pied")
               ? Value::FromText(QStringLiteral("Ardevanne Bridge Club, 3 place du Marché, 21000 "
                                                "Dijon, téléphone 03 80 12 34 56"))
               : Value();
  };
  PreparedReport prepared = PrepareReport(*load.value, input);
  EXPECT_EQ(QStringList(), prepared.warnings);
  ASSERT_GE(prepared.pages.size(), 2u);
  for (const PreparedPage& page : prepared.pages) {
    double footerTop = kPageHeight;
    double bodyBottom = 0;
    for (const DisplayItem& item : page.items) {
      if (item.kind == DisplayItem::Kind::kLine) footerTop = item.line.y1();
      if (item.kind == DisplayItem::Kind::kText && item.lines.size() > 1) {
        EXPECT_LE(item.rect.bottom(), kPageHeight - 10 + 1e-9);
      } else if (item.kind == DisplayItem::Kind::kText) {
        bodyBottom = std::max(bodyBottom, item.rect.bottom());
      }
    }
    EXPECT_LE(bodyBottom, footerTop + 1e-9);
  }
}

// The printed date and time are the input's clock; month and day names are French
// whatever the machine's language.
TEST_F(LayoutTest, PrintsTheClocksDateInFrench) {
  QLocale before;
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  ReportTemplate report = Template(QStringLiteral(R"(<band kind="title" height="20">
      <text x="0" y="0" width="120" height="5">Édité le [FORMATDATE(Date, 'dddd d MMMM yyyy')] à [Heure]</text>
      <field x="0" y="5" width="120" height="5" format="date:d MMMM yyyy">Date</field>
      <field x="0" y="10" width="120" height="5">Date</field></band>)"));
  PreparedReport prepared = PrepareReport(report, Data().input());
  QLocale::setDefault(before);
  QStringList texts;
  for (const DrawnText& d : Drawn(prepared)) texts << d.text;
  EXPECT_EQ(QStringList({QStringLiteral("Édité le jeudi 5 mars 2015 à 14:05"),
                         QStringLiteral("5 mars 2015"), QStringLiteral("05/03/2015"),
                         QStringLiteral("Pied")}),
            texts);
}

// A text takes a colour and bold from its condition, record by record.
TEST_F(LayoutTest, ConditionalStyleColoursNegativeBalances) {
  ReportTemplate report = Template(QStringLiteral(R"(<band kind="detail" height="6">
      <field x="0" y="0" width="30" height="5" format="amount" if="Solde &lt; 0" if-color="#c00000" if-bold="true">Solde</field></band>)"));
  Data data;
  for (int cents : {2550, -2550, 0}) {
    data.records.push_back(
        {{QStringLiteral("Solde"), Value::FromNumber(Decimal::FromCents(cents))}});
  }
  PreparedReport prepared = PrepareReport(report, data.input());
  EXPECT_EQ(QStringList(), prepared.warnings);
  struct Expected {
    const char* text;
    QColor color;
    bool bold;
  };
  const Expected expected[] = {{"25,50", Qt::black, false},
                               {"-25,50", QColor(0xc0, 0, 0), true},
                               {"0,00", Qt::black, false}};
  for (const Expected& e : expected) {
    const DisplayItem* item = FindText(prepared.pages.at(0), QString::fromUtf8(e.text));
    ASSERT_NE(nullptr, item) << e.text;
    EXPECT_EQ(e.color, item->color) << e.text;
    EXPECT_EQ(e.bold, item->font.bold) << e.text;
  }
  ReportTemplate broken = Template(QStringLiteral(R"(<band kind="detail" height="6">
      <field x="0" y="0" width="30" height="5" if="Solde &lt;">Solde</field></band>)"));
  EXPECT_EQ(QStringList{QStringLiteral("Bande « Détail » (ligne 4), élément Champ (ligne 5), "
                                       "condition de style : expression incomplète")},
            TemplateErrors(broken));
}

// A group header marked to repeat comes again at the top of each page its group goes on
// to, without running its assignments again; a group that starts on a new page has it
// once.
TEST_F(LayoutTest, RepeatsGroupHeadersOnThePagesTheirGroupContinuesOn) {
  ReportTemplate report = Template(QStringLiteral(R"(
    <band kind="group-header" group="Compte" key="Compte" height="8" repeat="true">
      <script>Entetes := Entetes + 1</script>
      <text x="0" y="0" width="80" height="5">Compte [Compte]</text></band>
    <band kind="detail" height="10"><text x="0" y="0" width="80" height="5">[Ligne]</text></band>
    <band kind="summary" height="6"><text x="0" y="0" width="80" height="5">En-têtes [Entetes]</text></band>)"));
  report.variables.push_back(VariableDef{QStringLiteral("Entetes")});
  Data data;
  for (int r = 0; r < 45; ++r) {
    data.records.push_back(
        {{QStringLiteral("Compte"),
          Value::FromText(r < 30 ? QStringLiteral("5300") : QStringLiteral("7560"))}});
  }
  PreparedReport prepared = PrepareReport(report, data.input());
  ASSERT_EQ(3u, prepared.pages.size());
  QStringList firsts;
  QStringList headers;
  for (const PreparedPage& page : prepared.pages) {
    firsts << page.items.at(0).lines.value(0);
    for (const DisplayItem& item : page.items) {
      if (item.lines.value(0).startsWith(QStringLiteral("Compte"))) {
        headers << item.lines.value(0);
      }
    }
  }
  // 17 records of 5300 on page 1, 13 on page 2 under the repeated header, then 7560 starts
  // on page 2 and goes on to page 3 under its repeated header.
  EXPECT_EQ(QStringList({QStringLiteral("Compte 5300"), QStringLiteral("Compte 5300"),
                         QStringLiteral("Compte 7560")}),
            firsts);
  EXPECT_EQ(QStringList({QStringLiteral("Compte 5300"), QStringLiteral("Compte 5300"),
                         QStringLiteral("Compte 7560"), QStringLiteral("Compte 7560")}),
            headers);
  EXPECT_NE(nullptr, FindText(prepared.pages.back(), QStringLiteral("En-têtes 2")));
}

// The detail records as printed, for a spreadsheet: one column per text of the detail
// band, left to right, headed by the item's name (or what it prints).
TEST_F(LayoutTest, KeepsThePrintedRecordsForASpreadsheet) {
  ReportTemplate report = Template(QStringLiteral(R"(<band kind="detail" height="6">
      <field x="60" y="0" width="30" height="5" format="amount" name="Solde">Solde</field>
      <text x="0" y="0" width="30" height="5">[Nom]</text>
      <line x="0" y="5" width="90" height="0"/>
      <text x="30" y="0" width="30" height="5">[Ville]; [Code]</text></band>)"));
  Data data;
  data.records.push_back({{QStringLiteral("Nom"), Value::FromText(QStringLiteral("LÉCUYER"))},
                          {QStringLiteral("Ville"), Value::FromText(QStringLiteral("Noël"))},
                          {QStringLiteral("Code"), Value::FromText(QStringLiteral("21000"))},
                          {QStringLiteral("Solde"), Value::FromNumber(Decimal::FromCents(-2550))}});
  data.records.push_back({{QStringLiteral("Nom"), Value::FromText(QStringLiteral("Benoît"))},
                          {QStringLiteral("Ville"), Value::FromText(QStringLiteral("Œuf €"))}});
  PreparedReport prepared = PrepareReport(report, data.input());
  EXPECT_EQ(QStringList({QStringLiteral("Nom"), QStringLiteral("[Ville]; [Code]"),
                         QStringLiteral("Solde")}),
            prepared.tableHeader);
  ASSERT_EQ(2u, prepared.tableRows.size());
  EXPECT_EQ(QStringList({QStringLiteral("LÉCUYER"), QStringLiteral("Noël; 21000"),
                         QStringLiteral("-25,50")}),
            prepared.tableRows[0]);
  QByteArray expected(
      "Nom;[Ville], [Code];Solde\r\n"
      "L\xC9"
      "CUYER;No\xEBl, 21000;-25,50\r\n"
      "Beno\xEEt;\x8C"
      "uf \x80, ;0,00\r\n");
  EXPECT_EQ(expected, TableCsv(prepared));

  QTemporaryDir folder;
  QString path = folder.filePath(QStringLiteral("liste.csv"));
  QString error;
  ASSERT_TRUE(WriteCsvFile(prepared, path, &error)) << error.toStdString();
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(expected, file.readAll());
  EXPECT_FALSE(WriteCsvFile(prepared, folder.filePath(QStringLiteral("absent/liste.csv")), &error));
  EXPECT_EQ(QStringLiteral("Impossible de créer le fichier %1")
                .arg(folder.filePath(QStringLiteral("absent/liste.csv"))),
            error);
}

// A word longer than its box breaks at the box's edge, whatever its length; every line
// fits and nothing is lost.
TEST_F(LayoutTest, BreaksAWordWiderThanItsBoxAtTheEdge) {
  ReportTemplate report = Template(QStringLiteral(R"(<band kind="detail" height="6">
      <text x="0" y="0" width="40" height="5" wrap="true" grow="true">[Mot]</text></band>)"));
  for (int length : {1, 30, 2000}) {
    QString word;
    for (int i = 0; i < length; ++i) word += QChar(u"aéWiÉ"[i % 5]);
    QString text = QStringLiteral("Avant ") + word + QStringLiteral(" après");
    PreparedReport prepared =
        PrepareReport(report, OneRecord(QStringLiteral("Mot"), Value::FromText(text)).input());
    QString joined;
    for (const PreparedPage& page : prepared.pages) {
      for (const DisplayItem& item : page.items) {
        if (item.kind != DisplayItem::Kind::kText || item.lines.value(0) == QStringLiteral("Pied")) {
          continue;
        }
        for (const QString& line : item.lines) {
          EXPECT_LE(WidthMm(line, 10), 40 - 2 * kTextPaddingMm + 0.05) << length;
          joined += line;
        }
      }
    }
    if (length < 2000) {
      EXPECT_EQ(QString(text).remove(QLatin1Char(' ')), joined.remove(QLatin1Char(' '))) << length;
    }
  }
}

// JSON numbers of any size are accepted: within the decimal range they are numbers,
// beyond it the text of their digits.
// Amounts beside account names that wrap stay in front of their own account; two figures in
// adjacent boxes, each filling its box, keep the boxes' padding between them.
TEST_F(LayoutTest, AmountsFollowTheWrappedLinesOfTheirAccounts) {
  ReportTemplate report = Template(QStringLiteral(R"(<band kind="detail" height="5">
    <text name="Comptes" x="0" y="0" width="30" height="5" wrap="true" grow="true">[Comptes]</text>
    <text name="Debit" x="30" y="0" width="24" height="5" align="right" grow="true" lines-of="Comptes">[Debits]</text>
    <field x="54" y="0" width="24" height="5" align="right" format="amount">Total</field>
    <field x="78" y="0" width="24" height="5" align="right" format="amount">Total</field></band>)"));
  Data data;
  data.records.push_back(
      {{QStringLiteral("Comptes"),
        Value::FromText(QStringLiteral("6061 Fournitures non stockables (eau, énergie)\n5300 "
                                       "Caisse\n2818 Amortissements des autres immobilisations"))},
       {QStringLiteral("Debits"), Value::FromText(QStringLiteral("15,00\n\n21474836,47"))},
       {QStringLiteral("Total"),
        Value::FromNumber(*Decimal::Parse(QStringLiteral("21474836,47")))}});
  PreparedReport prepared = PrepareReport(report, data.input());
  ASSERT_EQ(1u, prepared.pages.size());
  EXPECT_EQ(QStringList(), prepared.warnings);
  const DisplayItem* accounts = nullptr;
  for (const DisplayItem& item : prepared.pages[0].items) {
    if (item.lines.value(0).startsWith(QStringLiteral("6061"))) accounts = &item;
  }
  const DisplayItem* debits = FindText(prepared.pages[0], QStringLiteral("15,00"));
  ASSERT_NE(nullptr, accounts);
  ASSERT_NE(nullptr, debits);
  // Each amount on the line where its account starts, blank lines for the wrapped ones.
  QStringList expected;
  for (qsizetype k = 0; k < accounts->lines.size(); ++k) expected << QString();
  int start = 0;
  for (qsizetype k = 0; k < accounts->lines.size(); ++k) {
    const QString& line = accounts->lines[k];
    if (line.startsWith(QStringLiteral("6061"))) expected[k] = QStringLiteral("15,00");
    if (line.startsWith(QStringLiteral("2818"))) {
      expected[k] = QStringLiteral("21474836,47");
      start = static_cast<int>(k);
    }
  }
  EXPECT_LT(2, start) << accounts->lines.join(QLatin1Char('|')).toStdString();
  while (!expected.isEmpty() && expected.last().isEmpty()) expected.removeLast();
  EXPECT_EQ(expected, debits->lines);
  EXPECT_EQ(QStringList{QStringLiteral("Debit")}, prepared.tableHeader.filter("Debit"));
  EXPECT_EQ(QStringLiteral("15,00  21474836,47"), prepared.tableRows.at(0).at(1));

  std::vector<DrawnText> drawn = Drawn(prepared);
  std::vector<QRectF> totals;
  for (const DrawnText& d : drawn) {
    if (d.text == QStringLiteral("21474836,47") && d.box.left() > 50 * 600 / 25.4) {
      totals.push_back(d.box);
    }
  }
  ASSERT_EQ(2u, totals.size()) << DrawnTogether(drawn).toStdString();
  const double gapMm = (totals[1].left() - totals[0].right()) * 25.4 / 600;
  EXPECT_LE(2 * kTextPaddingMm - 0.05, gapMm);
}

TEST_F(LayoutTest, LinesOfMustNameAnotherTextOfTheBand) {
  TemplateLoad load =
      ParseTemplate(QByteArray(R"(<report version="1"><band kind="detail" height="5">
    <text x="0" y="0" width="20" height="5" lines-of="Absent">[A]</text></band></report>)"));
  ASSERT_TRUE(load.value.has_value());
  EXPECT_EQ(QStringList{QStringLiteral("Bande « Détail » (ligne 1), élément Texte (ligne 2) : "
                                       "lines-of=\"Absent\" ne nomme aucun autre texte de la "
                                       "bande")},
            PrepareReport(*load.value, ReportInput()).errors);
  // The attribute survives the designer's writing.
  TemplateLoad again = ParseTemplate(WriteTemplate(*load.value));
  ASSERT_TRUE(again.value.has_value());
  EXPECT_EQ(QStringLiteral("Absent"), again.value->bands.at(0).items.at(0).linesOf);
}

TEST(RenderDataTest, AcceptsEveryJsonNumber) {
  QString error;
  std::optional<RenderData> data = ParseRenderData(
      R"({"records": [{"a": 1e15, "b": 12.345, "c": 1e300, "d": -9999999.99, "e": 0.00001}]})",
      &error);
  ASSERT_TRUE(data.has_value()) << error.toStdString();
  const QHash<QString, Value>& r = data->records.at(0);
  EXPECT_EQ(Value::FromText(QStringLiteral("1000000000000000")), r.value(QStringLiteral("a")));
  EXPECT_EQ(Value::FromNumber(Decimal::FromUnits(123450)), r.value(QStringLiteral("b")));
  EXPECT_EQ(Value::FromText(QStringLiteral("1e+300")), r.value(QStringLiteral("c")));
  EXPECT_EQ(Value::FromNumber(Decimal::FromCents(-999999999)), r.value(QStringLiteral("d")));
  EXPECT_EQ(Value::FromNumber(Decimal()), r.value(QStringLiteral("e")));
}

}  // namespace
}  // namespace vantrel::reports
