// The bands of a compiled template laid out page after page: a band that does not fit goes
// to the next page whole, headers repeat, a group header stays with its first record, and a
// value that cannot be computed stops everything.

#include "reports/paginate.h"

#include <gtest/gtest.h>

#include "reports/qstring_printer.h"
#include "reports/qt_environment.h"
#include "reports/report_compile.h"
#include "reports/report_template.h"

namespace vantrel::reports {
namespace {

// A5 (210 mm high), 10 mm margins: 190 mm of body.
ReportTemplate Template(const QString& bands) {
  TemplateLoad load = ParseTemplate((QStringLiteral(R"(<report version="1">
  <page format="A5" margin-left="10" margin-top="10" margin-right="10" margin-bottom="10"/>
)") + bands + QStringLiteral("</report>"))
                                        .toUtf8());
  EXPECT_EQ(QStringList(), load.errors);
  return load.value.value_or(ReportTemplate());
}

// Records whose fields are given as lists, one value per record.
ReportInput Records(const std::map<QString, QStringList>& fields, int count) {
  ReportInput input;
  input.recordCount = count;
  input.getValue = [fields](const QString& name, int record) {
    auto it = fields.find(name);
    if (it == fields.end() || record >= it->second.size()) return Value();
    return Value::FromText(it->second[record]);
  };
  return input;
}

QStringList Names(int count) {
  QStringList names;
  for (int r = 1; r <= count; ++r) names << QStringLiteral("R%1").arg(r);
  return names;
}

// Each page's texts with their tops, "R3@30".
std::vector<QStringList> Pages(const PreparedReport& out) {
  std::vector<QStringList> pages;
  for (const PreparedPage& page : out.pages) {
    QStringList texts;
    for (const DisplayItem& item : page.items) {
      if (item.kind != DisplayItem::Kind::kText) continue;
      texts << item.lines.join(QLatin1Char('/')) + QStringLiteral("@") +
                   QString::number(item.rect.top(), 'g', 4);
    }
    pages.push_back(texts);
  }
  return pages;
}

class PaginateTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::EnsureQtApplication(); }

  PreparedReport paginate(const ReportTemplate& report, const ReportInput& input) {
    CompiledTemplate compiled = CompileTemplate(report, QString());
    EXPECT_EQ(QStringList(), compiled.errors);
    PreparedReport out;
    Paginate(report, input, compiled, out);
    return out;
  }
};

TEST_F(PaginateTest, ABandThatDoesNotFitGoesWholeToTheNextPageUnderTheRepeatedHeaders) {
  // 20 mm of headers and 20 mm of footer leave 150 mm: seven 20 mm records, 10 mm spare.
  ReportTemplate report = Template(QStringLiteral(R"(
    <band kind="page-header" height="10"><text x="0" y="0" width="100" height="5">Club de bridge de Noël</text></band>
    <band kind="column-header" height="10"><text x="0" y="0" width="100" height="5">Nom</text></band>
    <band kind="detail" height="20"><text x="0" y="0" width="100" height="5">[Nom]</text><text x="0" y="10" width="100" height="5">suite [Nom]</text></band>
    <band kind="page-footer" height="20"><text x="0" y="0" width="100" height="5">Page [Page] / [NbPages]</text></band>)"));
  PreparedReport out = paginate(report, Records({{QStringLiteral("Nom"), Names(9)}}, 9));
  EXPECT_EQ(QStringList(), out.warnings);
  const std::vector<QStringList> pages = Pages(out);
  ASSERT_EQ(2u, pages.size());
  QStringList first{QStringLiteral("Club de bridge de Noël@10"), QStringLiteral("Nom@20")};
  for (int r = 1; r <= 7; ++r) {
    first << QStringLiteral("R%1@%2").arg(r).arg(30 + (r - 1) * 20)
          << QStringLiteral("suite R%1@%2").arg(r).arg(40 + (r - 1) * 20);
  }
  first << QStringLiteral("Page 1 / 2@180");
  EXPECT_EQ(first, pages[0]);
  EXPECT_EQ(
      (QStringList{QStringLiteral("Club de bridge de Noël@10"), QStringLiteral("Nom@20"),
                   QStringLiteral("R8@30"), QStringLiteral("suite R8@40"), QStringLiteral("R9@50"),
                   QStringLiteral("suite R9@60"), QStringLiteral("Page 2 / 2@180")}),
      pages[1]);
  EXPECT_EQ((std::vector<QStringList>{{QStringLiteral("R1"), QStringLiteral("suite R1")}}),
            std::vector<QStringList>(out.tableRows.begin(), out.tableRows.begin() + 1));
  EXPECT_EQ(9u, out.tableRows.size());
}

TEST_F(PaginateTest, AGroupHeaderStaysWithItsFirstRecordAndRepeatsWhileItsGroupGoesOn) {
  // 190 mm of body: group A's header and 17 records take 180 mm; B's header (10 mm) would
  // fit, not with its first record.
  ReportTemplate report = Template(QStringLiteral(R"(
    <band kind="group-header" group="Club" key="Club" height="10" repeat="true"><text x="0" y="0" width="100" height="5">Club [Club]</text></band>
    <band kind="detail" height="10"><text x="0" y="0" width="100" height="5">[Nom]</text></band>
    <band kind="group-footer" group="Club" height="0"/>)"));
  QStringList clubs;
  for (int r = 0; r < 30; ++r) clubs << (r < 17 ? QStringLiteral("A") : QStringLiteral("B"));
  PreparedReport out = paginate(
      report, Records({{QStringLiteral("Nom"), Names(30)}, {QStringLiteral("Club"), clubs}}, 30));
  const std::vector<QStringList> pages = Pages(out);
  ASSERT_EQ(2u, pages.size());
  EXPECT_EQ(18, pages[0].size());
  EXPECT_EQ(QStringLiteral("R17@180"), pages[0].back());
  EXPECT_EQ(QStringLiteral("Club B@10"), pages[1][0]);
  EXPECT_EQ(QStringLiteral("R18@20"), pages[1][1]);

  // Group A running over a page: its header opens the next page again.
  clubs = QStringList(30, QStringLiteral("A"));
  out = paginate(
      report, Records({{QStringLiteral("Nom"), Names(30)}, {QStringLiteral("Club"), clubs}}, 30));
  const std::vector<QStringList> again = Pages(out);
  ASSERT_EQ(2u, again.size());
  EXPECT_EQ(QStringLiteral("R18@190"), again[0].back());
  EXPECT_EQ((QStringList{QStringLiteral("Club A@10"), QStringLiteral("R19@20")}),
            again[1].mid(0, 2));
}

TEST_F(PaginateTest, ABandTallerThanAnyPageIsLeftOutWithItsAssignmentsUndone) {
  ReportTemplate report = Template(QStringLiteral(R"(
    <variable name="Total" initial="0"/>
    <band kind="detail" height="10"><script when="before">Total := Total + 1</script><text x="0" y="0" width="100" height="5" wrap="true" grow="true">[Nom]</text></band>
    <band kind="summary" height="10"><text x="0" y="0" width="100" height="5">Imprimés : [Total]</text></band>)"));
  QStringList names{QStringLiteral("Jérôme"), QString(), QStringLiteral("Benoît")};
  for (int k = 0; k < 60; ++k) names[1] += QStringLiteral("ligne\n");
  names[1] += QStringLiteral("fin");
  PreparedReport out = paginate(report, Records({{QStringLiteral("Nom"), names}}, 3));
  ASSERT_EQ(1u, out.pages.size());
  EXPECT_EQ((QStringList{QStringLiteral("Jérôme@10"), QStringLiteral("Benoît@20"),
                         QStringLiteral("Imprimés : 2@30")}),
            Pages(out)[0]);
  ASSERT_EQ(1, out.warnings.size());
  EXPECT_TRUE(out.warnings[0].startsWith(
      QStringLiteral("Bande « Détail » (ligne 5) : enregistrement 2 : la bande mesure ")))
      << out.warnings[0].toStdString();
  EXPECT_TRUE(out.warnings[0].endsWith(
      QStringLiteral(" mm de haut et la page n'a que 180,0 mm de place : elle n'est pas imprimée")))
      << out.warnings[0].toStdString();
  EXPECT_EQ(out.warnings, out.faults);
  EXPECT_EQ(2u, out.tableRows.size());
}

TEST_F(PaginateTest, AnAssignmentThatCannotBeComputedStopsWithNothingPrinted) {
  ReportTemplate report = Template(QStringLiteral(R"(
    <variable name="Total" initial="0"/>
    <band kind="detail" height="10"><script when="before">Total := Total + Montant</script><text x="0" y="0" width="100" height="5">[Nom]</text></band>)"));
  PreparedReport out;
  out.warnings << QStringLiteral("déjà là");
  out.errors << QStringLiteral("avant");
  CompiledTemplate compiled = CompileTemplate(report, QString());
  Paginate(report,
           Records({{QStringLiteral("Nom"), Names(3)},
                    {QStringLiteral("Montant"),
                     {QStringLiteral("1"), QStringLiteral("deux"), QStringLiteral("3")}}},
                   3),
           compiled, out);
  EXPECT_TRUE(out.stopped);
  EXPECT_TRUE(out.pages.empty());
  EXPECT_TRUE(out.tableRows.empty());
  ASSERT_EQ(2, out.errors.size());
  EXPECT_EQ(QStringLiteral("avant"), out.errors[0]);
  EXPECT_TRUE(out.errors[1].startsWith(QStringLiteral(
      "Bande « Détail » (ligne 5), enregistrement 2 : le calcul « Total := Total + Montant » ne "
      "peut pas être fait (")))
      << out.errors[1].toStdString();
  EXPECT_EQ(QStringLiteral("déjà là"), out.warnings.value(0));
}

}  // namespace
}  // namespace vantrel::reports
