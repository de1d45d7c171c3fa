// A band's items measured with their values: texts wrapped onto lines, numbers printed
// smaller, values cut said so, growing texts pushing down what is under them.

#include "reports/text_layout.h"

#include <gtest/gtest.h>

#include <map>

#include "reports/qstring_printer.h"
#include "reports/qt_environment.h"
#include "reports/report_compile.h"

namespace vantrel::reports {
namespace {

// The values of a band's items, by the item's content; it records what it was asked.
struct Values : BandValues {
  std::map<QString, QString> texts;
  std::map<QString, bool> styles;
  QStringList asked;
  QStringList cuts;

  QString text(const CompiledItem& item) override {
    asked << item.item->content;
    auto it = texts.find(item.item->content);
    return it == texts.end() ? QString() : it->second;
  }
  bool styled(const CompiledItem& item) override {
    asked << QStringLiteral("si ") + item.item->condition;
    return styles[item.item->condition];
  }
  void cut(const CompiledItem& item, const QString& what) override {
    cuts << item.item->content + QStringLiteral(" : ") + what;
  }
};

ReportItem Box(const QString& content, double x, double y, double width, double height) {
  ReportItem item;
  item.kind = ItemKind::kField;
  item.content = content;
  item.x = x;
  item.y = y;
  item.width = width;
  item.height = height;
  return item;
}

class TextLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::EnsureQtApplication(); }

  // The band compiled as the engine compiles it.
  const CompiledBand& compile(Band band) {
    m_report.bands = {std::move(band)};
    m_compiled = CompileTemplate(m_report, QString());
    EXPECT_EQ(QStringList(), m_compiled.errors);
    return m_compiled.bands.front();
  }

  const CompiledItem& item(const ReportItem& item) {
    Band band;
    band.items = {item};
    return compile(band).items.front();
  }

  Measurer m_measurer;
  Values m_values;

 private:
  ReportTemplate m_report;
  CompiledTemplate m_compiled;
};

const QString kLong = QStringLiteral(
    "Jérôme LÉCUYER et Benoît Noël jouent le tournoi du jeudi au club depuis vingt ans");

TEST_F(TextLayoutTest, WrapsALongTextOntoLinesThatFitItsBox) {
  ReportItem box = Box(QStringLiteral("Nom"), 2, 1, 40, 5);
  box.wordWrap = true;
  box.grow = true;
  DisplayItem laid = LayText(m_measurer, item(box), kLong, 200, m_values);
  ASSERT_GE(laid.lines.size(), 3);
  EXPECT_EQ(kLong, laid.lines.join(QLatin1Char(' ')));
  FontInfo& font = m_measurer.font(box.font);
  for (const QString& line : std::as_const(laid.lines)) {
    EXPECT_LE(Measurer::widthMm(font, line), 40 - 2 * kTextPaddingMm) << line.toStdString();
  }
  EXPECT_EQ(QRectF(2, 1, 40, laid.lines.size() * font.lineHeightMm), laid.rect);
  EXPECT_DOUBLE_EQ(font.lineHeightMm, laid.lineHeightMm);
  EXPECT_FALSE(laid.clip);
  EXPECT_EQ(QStringList(), m_values.cuts);
}

TEST_F(TextLayoutTest, WrapKeepsLineBreaksAndCutsAWordWiderThanTheBox) {
  FontInfo& font = m_measurer.font(FontStyle());
  std::vector<int> paragraphs;
  const QString word = QStringLiteral("Anticonstitutionnellement");
  const double width = Measurer::widthMm(font, word) / 2.5;
  QStringList lines = m_measurer.wrap(QStringLiteral("Noël\n") + word + QStringLiteral("\n\nfin"),
                                      font, width, &paragraphs);
  ASSERT_EQ(4u, paragraphs.size());
  EXPECT_EQ(1, paragraphs[0]);
  EXPECT_GE(paragraphs[1], 3);
  EXPECT_EQ(1, paragraphs[2]);
  EXPECT_EQ(1, paragraphs[3]);
  ASSERT_EQ(paragraphs[1] + 3, lines.size());
  EXPECT_EQ(QStringLiteral("Noël"), lines.front());
  const QStringList pieces = lines.mid(1, paragraphs[1]);
  EXPECT_EQ(word, pieces.join(QString()));
  for (const QString& piece : pieces) EXPECT_LE(Measurer::widthMm(font, piece), width);
  EXPECT_EQ((QStringList{QString(), QStringLiteral("fin")}), lines.mid(lines.size() - 2));
}

TEST_F(TextLayoutTest, ABoxThatMayNotGrowShowsWhatItHoldsAndSaysTheRestIsCut) {
  ReportItem box = Box(QStringLiteral("Nom"), 0, 0, 40, 5);
  box.wordWrap = true;
  DisplayItem laid = LayText(m_measurer, item(box), kLong, 200, m_values);
  EXPECT_EQ(1, laid.lines.size());
  EXPECT_TRUE(kLong.startsWith(laid.lines[0]));
  EXPECT_TRUE(laid.clip);
  EXPECT_DOUBLE_EQ(5, laid.rect.height());
  ASSERT_EQ(1, m_values.cuts.size());
  EXPECT_TRUE(m_values.cuts[0].startsWith(
      QStringLiteral("Nom : « Jérôme LÉCUYER et Benoît Noël jouent le… » demande ")));
  EXPECT_TRUE(m_values.cuts[0].endsWith(QStringLiteral(" lignes et sa case n'en montre que 1")));

  // Blank lines past the box are no loss.
  m_values.cuts.clear();
  laid = LayText(m_measurer, item(box), QStringLiteral("Noël\n \n"), 200, m_values);
  EXPECT_EQ(QStringList{QStringLiteral("Noël")}, laid.lines);
  EXPECT_FALSE(laid.clip);
  EXPECT_EQ(QStringList(), m_values.cuts);
}

TEST_F(TextLayoutTest, ANumberTooWideIsPrintedSmallerAndOneThatStillDoesNotFitIsCut) {
  const QString amount = QStringLiteral("10621531,84");
  FontInfo& normal = m_measurer.font(FontStyle());
  const double natural = Measurer::widthMm(normal, amount);
  ReportItem box = Box(QStringLiteral("Solde"), 0, 0, natural * 0.8 + 2 * kTextPaddingMm, 5);
  box.wordWrap = true;  // a number is never broken across lines
  DisplayItem laid = LayText(m_measurer, item(box), amount, 200, m_values);
  EXPECT_EQ(QStringList{amount}, laid.lines);
  EXPECT_LT(laid.font.pointSize, 10);
  EXPECT_GE(laid.font.pointSize, 7.5);
  EXPECT_LE(Measurer::widthMm(m_measurer.font(laid.font), amount),
            box.width - 2 * kTextPaddingMm + 0.05);
  EXPECT_FALSE(laid.clip);
  EXPECT_EQ(QStringList(), m_values.cuts);

  box.width = natural * 0.3;
  laid = LayText(m_measurer, item(box), amount, 200, m_values);
  EXPECT_TRUE(laid.clip);
  EXPECT_DOUBLE_EQ(10, laid.font.pointSize);
  ASSERT_EQ(1, m_values.cuts.size());
  EXPECT_TRUE(m_values.cuts[0].startsWith(
      QStringLiteral("Solde : « 10621531,84 » ne tient pas dans sa case (")))
      << m_values.cuts[0].toStdString();
}

TEST_F(TextLayoutTest, ACutValueIsQuotedWholeInItsMessage) {
  // Markers a message could take for its own ("%1", "%3") are the value's.
  ReportItem box = Box(QStringLiteral("Remise"), 0, 0, 80, 5);
  box.wordWrap = true;
  LayText(m_measurer, item(box), QStringLiteral("%1 %3 %4\nde remise pour Benoît"), 200, m_values);
  ASSERT_EQ(1, m_values.cuts.size());
  EXPECT_EQ(QStringLiteral("Remise : « %1 %3 %4 de remise pour Benoît » demande 2 lignes et sa "
                           "case n'en montre que 1"),
            m_values.cuts[0]);
}

TEST_F(TextLayoutTest, TheBandWidthLimitsABoxThatReachesPastIt) {
  ReportItem box = Box(QStringLiteral("Nom"), 30, 0, 40, 5);
  DisplayItem laid = LayText(m_measurer, item(box), QStringLiteral("Noël"), 50, m_values);
  EXPECT_DOUBLE_EQ(20, laid.rect.width());
}

TEST_F(TextLayoutTest, ConditionalStyleIsAskedOnlyOfItemsThatHaveOne) {
  Band band;
  ReportItem plain = Box(QStringLiteral("Nom"), 0, 0, 40, 5);
  ReportItem negative = Box(QStringLiteral("Solde"), 50, 0, 40, 5);
  negative.condition = QStringLiteral("Solde < 0");
  negative.conditionColor = Qt::red;
  negative.conditionBold = true;
  band.items = {plain, negative};
  m_values.texts = {{QStringLiteral("Nom"), QStringLiteral("Noël")},
                    {QStringLiteral("Solde"), QStringLiteral("-12,50")}};
  m_values.styles[QStringLiteral("Solde < 0")] = true;
  LaidBand laid = LayBand(m_measurer, compile(band), 190, m_values);
  EXPECT_EQ(
      (QStringList{QStringLiteral("Nom"), QStringLiteral("Solde"), QStringLiteral("si Solde < 0")}),
      m_values.asked);
  ASSERT_EQ(2u, laid.items.size());
  EXPECT_EQ(QColor(Qt::black), laid.items[0].color);
  EXPECT_FALSE(laid.items[0].font.bold);
  EXPECT_EQ(QColor(Qt::red), laid.items[1].color);
  EXPECT_TRUE(laid.items[1].font.bold);
}

TEST_F(TextLayoutTest, AGrowingTextPushesDownWhatIsUnderItAndStretchesItsNeighbours) {
  Band band;
  band.height = 12;
  ReportItem name = Box(QStringLiteral("Nom"), 0, 2, 40, 5);
  name.wordWrap = true;
  name.grow = true;
  ReportItem beside = Box(QStringLiteral("Club"), 50, 2, 40, 5);
  ReportItem frame;
  frame.kind = ItemKind::kFrame;
  frame.x = 0;
  frame.y = 0;
  frame.width = 100;
  frame.height = 12;
  ReportItem under = Box(QStringLiteral("Note"), 0, 8, 40, 4);
  ReportItem pages = Box(QStringLiteral("NbPages"), 50, 8, 40, 4);
  band.items = {name, beside, frame, under, pages};
  m_values.texts = {{QStringLiteral("Nom"), kLong},
                    {QStringLiteral("Club"), QStringLiteral("Bridge")},
                    {QStringLiteral("Note"), QStringLiteral("Fin")}};
  LaidBand laid = LayBand(m_measurer, compile(band), 190, m_values);
  // The page count is not known yet: its text is left for later and not asked.
  EXPECT_FALSE(m_values.asked.contains(QStringLiteral("NbPages")));
  ASSERT_EQ(1u, laid.deferred.size());
  EXPECT_EQ(4u, laid.deferred[0].first);
  EXPECT_EQ(QStringList{QString()}, laid.items[4].lines);

  ASSERT_EQ(5u, laid.items.size());
  const double grown = laid.items[0].rect.height();
  const double growth = grown - 5;
  ASSERT_GT(growth, 3);
  EXPECT_DOUBLE_EQ(2, laid.items[0].rect.top());
  EXPECT_EQ(QRectF(50, 2, 40, 5 + growth), laid.items[1].rect);  // beside, reaching its foot
  EXPECT_EQ(QRectF(0, 0, 100, 12 + growth), laid.items[2].rect);
  EXPECT_DOUBLE_EQ(8 + growth, laid.items[3].rect.top());
  EXPECT_DOUBLE_EQ(8 + growth, laid.items[4].rect.top());
  EXPECT_DOUBLE_EQ(12 + growth, laid.height);
  EXPECT_EQ(QStringList(), m_values.cuts);
}

TEST_F(TextLayoutTest, AnAmountFollowsTheParagraphsOfTheTextItStandsBeside) {
  Band band;
  ReportItem names = Box(QStringLiteral("Comptes"), 0, 0, 30, 5);
  names.name = QStringLiteral("Comptes");
  names.wordWrap = true;
  names.grow = true;
  ReportItem amounts = Box(QStringLiteral("Montants"), 40, 0, 30, 5);
  amounts.linesOf = QStringLiteral("Comptes");
  amounts.grow = true;
  band.kind = BandKind::kSummary;
  band.items = {amounts, names};  // the leader is measured first wherever it stands
  m_values.texts = {
      {QStringLiteral("Comptes"), QStringLiteral("Cotisations des membres du club\nDons")},
      {QStringLiteral("Montants"), QStringLiteral("1234,50\n20,00")}};
  LaidBand laid = LayBand(m_measurer, compile(band), 190, m_values);
  EXPECT_EQ((QStringList{QStringLiteral("Comptes"), QStringLiteral("Montants")}), m_values.asked);
  ASSERT_EQ(2u, laid.items.size());
  const QStringList leader = laid.items[1].lines;
  ASSERT_GE(leader.size(), 3);
  EXPECT_EQ(QStringLiteral("Dons"), leader.back());
  QStringList expected{QStringLiteral("1234,50")};
  for (qsizetype k = 2; k < leader.size(); ++k) expected << QString();
  expected << QStringLiteral("20,00");
  EXPECT_EQ(expected, laid.items[0].lines);
  EXPECT_DOUBLE_EQ(laid.items[1].rect.height(), laid.items[0].rect.height());
  // Only a detail band gives its texts as printed, for the table of records.
  EXPECT_TRUE(laid.cells.empty());
  band.kind = BandKind::kDetail;
  laid = LayBand(m_measurer, compile(band), 190, m_values);
  ASSERT_EQ(2u, laid.cells.size());
  EXPECT_EQ(leader.join(QLatin1Char(' ')), laid.cells[0].text);
  EXPECT_EQ(0, laid.cells[0].x);
  EXPECT_EQ(QStringLiteral("1234,50 20,00"), laid.cells[1].text);
  EXPECT_EQ(40, laid.cells[1].x);
}

}  // namespace
}  // namespace vantrel::reports
