// The template compiled: every expression parsed once, and every mistake of the template
// said with its place, in the template's order, before anything is laid out.

#include <gtest/gtest.h>

#include "reports/qstring_printer.h"
#include "reports/report_compile.h"
#include "reports/report_template.h"

namespace vantrel::reports {
namespace {

ReportItem Text(const QString& content, int line = 0) {
  ReportItem item;
  item.kind = ItemKind::kText;
  item.content = content;
  item.source.line = line;
  return item;
}

ReportItem Field(const QString& expression, int line = 0) {
  ReportItem item = Text(expression, line);
  item.kind = ItemKind::kField;
  return item;
}

Band MakeBand(BandKind kind, std::vector<ReportItem> items, int line = 0) {
  Band band;
  band.kind = kind;
  band.items = std::move(items);
  band.source.line = line;
  return band;
}

Band GroupHeader(const QString& group, const QString& key) {
  Band band = MakeBand(BandKind::kGroupHeader, {});
  band.group = group;
  band.groupKey = key;
  return band;
}

TEST(CompileTest, ASoundTemplateCompilesEveryBandAndItemInItsOrder) {
  ReportTemplate report;
  VariableDef total;
  total.name = QStringLiteral("Total");
  total.reset = VariableReset::kGroup;
  total.group = QStringLiteral("Classe");
  report.variables.push_back(total);
  report.bands.push_back(
      MakeBand(BandKind::kPageFooter, {Text(QStringLiteral("Page [Page] / [NbPages]"))}));
  report.bands.push_back(GroupHeader(QStringLiteral("Classe"), QStringLiteral("Compte")));
  Band detail = MakeBand(BandKind::kDetail, {Text(QStringLiteral("[Nom] [Prénom]")),
                                            Field(QStringLiteral("Solde * 2"))});
  detail.items[1].format = QStringLiteral("amount");
  detail.scriptAfter = QStringLiteral("Total := Total + Solde");
  report.bands.push_back(detail);
  report.bands.push_back(MakeBand(BandKind::kSummary, {Field(QStringLiteral("NbPages"))}));

  CompiledTemplate compiled = CompileTemplate(report, QString());
  EXPECT_EQ(QStringList(), compiled.errors);
  EXPECT_EQ(QStringList(), compiled.warnings);
  ASSERT_EQ(1u, compiled.variables.size());
  EXPECT_EQ(&report.variables[0], compiled.variables[0].def);
  EXPECT_EQ(QStringLiteral("0"), compiled.variables[0].initial.source());
  ASSERT_EQ(4u, compiled.bands.size());
  for (std::size_t b = 0; b < report.bands.size(); ++b) {
    EXPECT_EQ(&report.bands[b], compiled.bands[b].band);
    ASSERT_EQ(report.bands[b].items.size(), compiled.bands[b].items.size());
  }
  EXPECT_EQ(QStringLiteral("bande « En-tête de groupe » du groupe Classe"),
            compiled.bands[1].where);
  EXPECT_TRUE(compiled.bands[1].key.isValid());
  EXPECT_TRUE(compiled.bands[1].key.uses(QStringLiteral("Compte")));
  EXPECT_TRUE(compiled.bands[2].after.isValid());
  // The texts reading the page count are known before any page is laid out.
  EXPECT_TRUE(compiled.bands[0].items[0].usesTotalPages);
  EXPECT_FALSE(compiled.bands[2].items[0].usesTotalPages);
  EXPECT_FALSE(compiled.bands[2].items[1].usesTotalPages);
  EXPECT_TRUE(compiled.bands[3].items[0].usesTotalPages);
  EXPECT_TRUE(compiled.bands[2].items[1].expression.uses(QStringLiteral("Solde")));
  EXPECT_EQ(QStringLiteral("12,50"),
            compiled.bands[2].items[1].format.apply(Value::FromText(QStringLiteral("12.5"))));
  EXPECT_FALSE(compiled.bands[2].items[0].condition.isValid());
}

TEST(CompileTest, RefusesNamesThatLeadNowhereWithTheirPlace) {
  ReportTemplate report;
  VariableDef orphan;
  orphan.name = QStringLiteral("Cumul");
  orphan.reset = VariableReset::kGroup;
  orphan.group = QStringLiteral("Région");
  orphan.source.line = 3;
  report.variables.push_back(orphan);
  report.bands.push_back(GroupHeader(QStringLiteral("Club"), QStringLiteral("Club")));
  Band footer = MakeBand(BandKind::kGroupFooter, {}, 9);
  footer.group = QStringLiteral("Série");
  report.bands.push_back(footer);

  Band detail = MakeBand(BandKind::kDetail, {}, 12);
  ReportItem name = Text(QStringLiteral("[Nom]"), 13);
  name.name = QStringLiteral("Nom");
  ReportItem rule;
  rule.kind = ItemKind::kLine;
  rule.name = QStringLiteral("Trait");
  ReportItem follower = Text(QStringLiteral("[Montants]"), 14);
  follower.name = QStringLiteral("Montants");
  follower.linesOf = QStringLiteral("Nom");  // sound
  ReportItem itself = Field(QStringLiteral("A"), 15);
  itself.name = QStringLiteral("Lui");
  itself.linesOf = QStringLiteral("Lui");
  ReportItem ofALine = Field(QStringLiteral("B"), 16);
  ofALine.linesOf = QStringLiteral("Trait");
  ReportItem ofAFollower = Field(QStringLiteral("C"), 17);
  ofAFollower.linesOf = QStringLiteral("Montants");
  ReportItem ofNobody = Field(QStringLiteral("D"), 18);
  ofNobody.linesOf = QStringLiteral("Benoît");
  detail.items = {name, rule, follower, itself, ofALine, ofAFollower, ofNobody};
  report.bands.push_back(detail);
  // A name of another band is no neighbour.
  Band summary = MakeBand(BandKind::kSummary, {}, 20);
  ReportItem elsewhere = Field(QStringLiteral("E"), 21);
  elsewhere.linesOf = QStringLiteral("Nom");
  summary.items = {elsewhere};
  report.bands.push_back(summary);

  const QString lonely = QStringLiteral(" ne nomme aucun autre texte de la bande");
  EXPECT_EQ(
      (QStringList{
          QStringLiteral("Variable Cumul (ligne 3) : aucun en-tête de groupe « Région »"),
          QStringLiteral("Bande « Pied de groupe » du groupe Série (ligne 9) : aucun en-tête de "
                         "groupe « Série »"),
          QStringLiteral("Bande « Détail » (ligne 12), élément Champ (ligne 15) : "
                         "lines-of=\"Lui\"") +
              lonely,
          QStringLiteral("Bande « Détail » (ligne 12), élément Champ (ligne 16) : "
                         "lines-of=\"Trait\"") +
              lonely,
          QStringLiteral("Bande « Détail » (ligne 12), élément Champ (ligne 17) : "
                         "lines-of=\"Montants\"") +
              lonely,
          QStringLiteral("Bande « Détail » (ligne 12), élément Champ (ligne 18) : "
                         "lines-of=\"Benoît\"") +
              lonely,
          QStringLiteral("Bande « Récapitulatif » (ligne 20), élément Champ (ligne 21) : "
                         "lines-of=\"Nom\"") +
              lonely,
      }),
      CompileTemplate(report, QString()).errors);
}

TEST(CompileTest, SaysEveryExpressionThatDoesNotParseAndEveryUnknownFormat) {
  ReportTemplate report;
  VariableDef broken;
  broken.name = QStringLiteral("Solde");
  broken.initial = QStringLiteral("1 +");
  report.variables.push_back(broken);
  Band header = GroupHeader(QStringLiteral("Classe"), QStringLiteral("(Compte"));
  header.source.line = 4;
  report.bands.push_back(header);
  Band detail = MakeBand(BandKind::kDetail, {}, 7);
  detail.scriptBefore = QStringLiteral("Total := ");
  detail.scriptAfter = QStringLiteral("Total = 1");
  ReportItem text = Text(QStringLiteral("Total : [Total"), 8);
  ReportItem field = Field(QStringLiteral("Solde * * 2"), 9);
  ReportItem styled = Field(QStringLiteral("Solde"), 10);
  styled.condition = QStringLiteral("Solde <");
  styled.format = QStringLiteral("monnaie");
  detail.items = {text, field, styled};
  report.bands.push_back(detail);

  const QStringList errors = CompileTemplate(report, QString()).errors;
  const QStringList starts{
      QStringLiteral("Variable Solde, valeur initiale : "),
      QStringLiteral("Bande « En-tête de groupe » du groupe Classe (ligne 4), clé : "),
      QStringLiteral("Bande « Détail » (ligne 7), script avant : "),
      QStringLiteral("Bande « Détail » (ligne 7), script après : "),
      QStringLiteral("Bande « Détail » (ligne 7), élément Texte (ligne 8) : "),
      QStringLiteral("Bande « Détail » (ligne 7), élément Champ (ligne 9) : "),
      QStringLiteral("Bande « Détail » (ligne 7), élément Champ (ligne 10), condition de style : "),
  };
  ASSERT_EQ(starts.size() + 1, errors.size()) << errors.join(QLatin1Char('\n')).toStdString();
  for (qsizetype k = 0; k < starts.size(); ++k) {
    EXPECT_TRUE(errors[k].startsWith(starts[k])) << errors[k].toStdString();
    // Each says what is wrong after its place.
    EXPECT_GT(errors[k].size(), starts[k].size() + 5) << errors[k].toStdString();
  }
  EXPECT_EQ(QStringLiteral("Bande « Détail » (ligne 7), élément Champ (ligne 10) : format "
                           "« monnaie » inconnu (amount, amount-blank, integer, number:N, date, "
                           "date:MOTIF)"),
            errors.back());
}

TEST(CompileTest, AnImageThatCannotBeReadIsAWarningNotAMistake) {
  ReportTemplate report;
  ReportItem logo;
  logo.kind = ItemKind::kImage;
  logo.content = QStringLiteral("logo-Noël.png");
  logo.source.line = 5;
  ReportItem blank;
  blank.kind = ItemKind::kImage;  // no file: nothing to read
  report.bands.push_back(MakeBand(BandKind::kTitle, {logo, blank}, 4));

  CompiledTemplate compiled = CompileTemplate(report, QStringLiteral("/nowhere"));
  EXPECT_EQ(QStringList(), compiled.errors);
  EXPECT_EQ(QStringList{QStringLiteral("Bande « Titre » (ligne 4), élément Image (ligne 5) : image "
                                       "« logo-Noël.png » introuvable ou illisible")},
            compiled.warnings);
  EXPECT_TRUE(compiled.bands[0].items[0].image.isNull());
}

}  // namespace
}  // namespace vantrel::reports
