#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRectF>
#include <QTemporaryDir>

#include "reports/qstring_printer.h"
#include "reports/report_template.h"

namespace vantrel::reports {
namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  return file.readAll();
}

TEST(TemplateTest, ReadsEveryPartOfTheFormat) {
  const char* xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- an envelope -->
<report version="1" name="Enveloppe">
  <page format="custom" short-side="220" long-side="110" orientation="landscape"
        margin-left="5" margin-top="6" margin-right="7" margin-bottom="8"
        print-offset-x="1.5" print-offset-y="-2"/>
  <variable name="N" initial="0" reset="page"/>
  <band kind="detail" height="110" page-break-after="true">
    <script when="before">N := N + 1</script>
    <script when="after">N := N * 2</script>
    <text x="100" y="50" width="100" height="30" font="DejaVu Serif" font-size="12.5" bold="yes"
          italic="true" underline="1" align="right" valign="middle" borders="left bottom"
          border-width="0.5" wrap="true" grow="true" color="#336699" fill="#eeeeee">[Nom]
[Ville]</text>
    <line x="0" y="1" width="200"/>
    <image x="1" y="2" width="30" height="20" file="logo.png"/>
  </band>
</report>)";
  TemplateLoad load = ParseTemplate(QByteArray(xml));
  ASSERT_EQ(QStringList(), load.errors);
  const ReportTemplate& t = *load.value;
  EXPECT_EQ(QStringLiteral(" an envelope "), t.comment);
  EXPECT_EQ(QStringLiteral("Enveloppe"), t.name);
  EXPECT_EQ(PageFormat::kCustom, t.page.format);
  EXPECT_EQ(110, t.page.customShortMm);  // sides are kept short first
  EXPECT_EQ(QSizeF(220, 110), t.page.sizeMm());
  EXPECT_EQ(1.5, t.page.printOffsetX);
  EXPECT_EQ(-2, t.page.printOffsetY);
  ASSERT_EQ(1u, t.variables.size());
  EXPECT_EQ(VariableReset::kPage, t.variables[0].reset);
  ASSERT_EQ(1u, t.bands.size());
  const Band& band = t.bands[0];
  EXPECT_TRUE(band.pageBreakAfter);
  EXPECT_EQ(QStringLiteral("N := N + 1"), band.scriptBefore);
  EXPECT_EQ(QStringLiteral("N := N * 2"), band.scriptAfter);
  ASSERT_EQ(3u, band.items.size());
  ReportItem text;
  text.kind = ItemKind::kText;
  text.x = 100;
  text.y = 50;
  text.width = 100;
  text.height = 30;
  text.content = QStringLiteral("[Nom]\n[Ville]");
  text.font = FontStyle{QStringLiteral("DejaVu Serif"), 12.5, true, true, true};
  text.align = HAlign::kRight;
  text.valign = VAlign::kMiddle;
  text.borders = Borders{true, false, false, true, 0.5};
  text.wordWrap = true;
  text.grow = true;
  text.color = QColor(0x33, 0x66, 0x99);
  text.fill = QColor(0xee, 0xee, 0xee);
  EXPECT_EQ(text, band.items[0]);
  EXPECT_EQ(ItemKind::kLine, band.items[1].kind);
  EXPECT_EQ(QRectF(0, 1, 200, 0),
            QRectF(band.items[1].x, band.items[1].y, band.items[1].width, band.items[1].height));
  EXPECT_EQ(QStringLiteral("logo.png"), band.items[2].content);
}

TEST(TemplateTest, SaysWhatIsWrongAndWhere) {
  struct Case {
    const char* xml;
    const char* error;
  };
  const Case cases[] = {
      {"<report version=\"1\">\n  <bande kind=\"detail\"/>\n</report>",
       "Ligne 2, colonne 24 : élément inconnu <bande> dans <report>"},
      {"<report version=\"1\">\n<band kind=\"detail\" hieght=\"5\"/></report>",
       "Ligne 2, colonne 32 : attribut inconnu « hieght » sur <band>"},
      {"<report version=\"1\"><band kind=\"detail\" height=\"dix\"/></report>",
       "Ligne 1, colonne 54 : l'attribut height=\"dix\" n'est pas un nombre"},
      {"<report version=\"1\"><band kind=\"entete\"/></report>",
       "Ligne 1, colonne 41 : type de bande « entete » inconnu (title, page-header, column-header, "
       "group-header, detail, group-footer, summary, page-footer)"},
      {"<report version=\"2\"/>",
       "Ligne 1, colonne 21 : version de modèle 2 inconnue (ce programme lit la version 1)"},
      {"<rapport/>", "Ligne 1, colonne 10 : l'élément racine doit être <report>, pas <rapport>"},
      {"<report version=\"1\"><page format=\"A3\"/></report>",
       "Ligne 1, colonne 39 : format de page « A3 » inconnu (A4, A5, DL, C5, C6 ou custom)"},
      {"<report version=\"1\"><band kind=\"detail\"><text bold=\"peut-être\"/></band></report>",
       "Ligne 1, colonne 64 : l'attribut bold=\"peut-être\" doit valoir true ou false"},
      {"<report version=\"1\"><band kind=\"group-header\" group=\"G\"/></report>",
       "Ligne 1, colonne 57 : un en-tête de groupe doit donner sa clé (key=\"...\")"},
  };
  for (const Case& c : cases) {
    TemplateLoad load = ParseTemplate(QByteArray(c.xml));
    EXPECT_FALSE(load.value.has_value()) << c.xml;
    ASSERT_FALSE(load.errors.isEmpty()) << c.xml;
    EXPECT_EQ(QString::fromUtf8(c.error), load.errors.first()) << c.xml;
  }
}

TEST(TemplateTest, ReportsBrokenXmlWithLineAndColumn) {
  TemplateLoad load =
      ParseTemplate(QByteArray("<report version=\"1\">\n<band kind=\"detail\">\n</report>"));
  EXPECT_FALSE(load.value.has_value());
  ASSERT_EQ(1, load.errors.size());
  EXPECT_EQ(
      QStringLiteral("Ligne 3, colonne 9 : XML incorrect : la balise de fin ne correspond pas "
                     "à l'élément ouvert"),
      load.errors[0]);
  struct Case {
    const char* xml;
    const char* error;
  };
  const Case cases[] = {
      {"<report version=\"1\">\n<band kind=\"detail\">",
       "Ligne 2, colonne 20 : XML incorrect : fin du fichier inattendue (un élément n'est pas "
       "fermé)"},
      {"<report version=\"1\"/>\n<report/>",
       "Ligne 2, colonne 9 : XML incorrect : du texte suit la fin du modèle (</report>)"},
      {"<report version=\"1\"><band kind=\"detail\"><text>A & B</text></band></report>",
       "Ligne 1, colonne 50 : XML incorrect : un « & » seul doit s'écrire &amp; (et « < » s'écrire "
       "&lt;)"},
      {"<report version=\"1\"><band kind=\"detail\"><text>A &eacute;</text></band></report>",
       "Ligne 1, colonne 56 : XML incorrect : entité inconnue ; écrire &amp; pour &, &lt; pour < "
       "(Entity 'eacute' not declared.)"},
  };
  for (const Case& c : cases) {
    TemplateLoad broken = ParseTemplate(QByteArray(c.xml));
    ASSERT_EQ(1, broken.errors.size()) << c.xml;
    EXPECT_EQ(QString::fromUtf8(c.error), broken.errors[0]) << c.xml;
  }
  for (const char* empty : {"", "   ", "<?xml version=\"1.0\"?>"}) {
    TemplateLoad none = ParseTemplate(QByteArray(empty));
    EXPECT_FALSE(none.value.has_value()) << "'" << empty << "'";
    EXPECT_EQ(1, none.errors.size()) << "'" << empty << "'";
  }
}

TEST(TemplateTest, WritesWhatItReadsBackEqual) {
  QDir shipped(QStringLiteral(VANTREL_TEMPLATES_DIR));
  const QStringList names = shipped.entryList({QStringLiteral("*.frf")}, QDir::Files);
  ASSERT_FALSE(names.isEmpty());
  for (const QString& name : names) {
    TemplateLoad load = ParseTemplate(ReadAll(shipped.filePath(name)));
    ASSERT_EQ(QStringList(), load.errors) << name.toStdString();
    EXPECT_FALSE(load.value->comment.isEmpty()) << name.toStdString();  // kept for volunteers
    QByteArray written = WriteTemplate(*load.value);
    TemplateLoad again = ParseTemplate(written);
    ASSERT_EQ(QStringList(), again.errors) << name.toStdString();
    EXPECT_EQ(*load.value, *again.value) << name.toStdString();
    EXPECT_EQ(written, WriteTemplate(*again.value)) << name.toStdString();
  }
}

// The preview's CSV export heads each column with the item's name: every text and field of a
// shipped detail band has one, readable and unique within its band.
TEST(TemplateTest, ShippedDetailColumnsHaveReadableNames) {
  QDir shipped(QStringLiteral(VANTREL_TEMPLATES_DIR));
  const QStringList names = shipped.entryList({QStringLiteral("*.frf")}, QDir::Files);
  ASSERT_FALSE(names.isEmpty());
  for (const QString& name : names) {
    TemplateLoad load = ParseTemplate(ReadAll(shipped.filePath(name)));
    ASSERT_EQ(QStringList(), load.errors) << name.toStdString();
    for (const Band& band : load.value->bands) {
      if (band.kind != BandKind::kDetail) continue;
      QStringList columns;
      for (const ReportItem& item : band.items) {
        if (item.kind != ItemKind::kText && item.kind != ItemKind::kField) continue;
        const std::string where = name.toStdString() + ": " + item.content.toStdString();
        EXPECT_FALSE(item.name.trimmed().isEmpty()) << where;
        EXPECT_FALSE(item.name.contains(QLatin1Char('[')) || item.name.contains(QLatin1Char(';')))
            << where;
        EXPECT_FALSE(columns.contains(item.name)) << where;
        columns << item.name;
      }
    }
  }
}

// Conditional style, column names and repeated group headers survive a write and a read.
TEST(TemplateTest, KeepsConditionalStyleNamesAndRepeatedHeaders) {
  const char* xml = R"(<report version="1">
  <band kind="group-header" group="Compte" key="Compte" height="6" repeat="true">
    <text x="0" y="0" width="50" height="5" if="Solde &lt; 0" if-color="#c00000" if-bold="true" name="Compte">[Compte]</text>
  </band>
  <band kind="detail" height="5"><field x="0" y="0" width="30" height="5" name="Solde du compte">Solde</field></band>
</report>)";
  TemplateLoad load = ParseTemplate(QByteArray(xml));
  ASSERT_EQ(QStringList(), load.errors);
  const ReportTemplate& report = *load.value;
  EXPECT_TRUE(report.bands[0].repeatOnNewPage);
  const ReportItem& text = report.bands[0].items[0];
  EXPECT_EQ(QStringLiteral("Solde < 0"), text.condition);
  EXPECT_EQ(QColor(0xc0, 0, 0), text.conditionColor);
  EXPECT_TRUE(text.conditionBold);
  EXPECT_EQ(QStringLiteral("Compte"), text.name);
  EXPECT_EQ(QStringLiteral("Solde du compte"), report.bands[1].items[0].name);
  TemplateLoad again = ParseTemplate(WriteTemplate(report));
  ASSERT_EQ(QStringList(), again.errors);
  EXPECT_EQ(report, *again.value);

  TemplateLoad wrong = ParseTemplate(
      QByteArray(R"(<report version="1"><band kind="detail" height="5" repeat="true"/></report>)"));
  EXPECT_EQ(QStringList{QStringLiteral(
                "Ligne 1, colonne 66 : repeat=\"true\" ne vaut que pour un en-tête de groupe")},
            wrong.errors);
}

TEST(TemplateTest, SavesAtomicallyKeepingTheOldFileAsBak) {
  QTemporaryDir folder;
  QString path = folder.filePath(QStringLiteral("Gestion_Livre.frf"));
  ReportTemplate first;
  first.name = QStringLiteral("Premier");
  ReportTemplate second;
  second.name = QStringLiteral("Second");
  second.page.format = PageFormat::kDL;
  second.page.landscape = true;
  QString error;
  ASSERT_TRUE(SaveTemplateFile(path, first, &error)) << error.toStdString();
  EXPECT_FALSE(QFile::exists(path + QStringLiteral(".bak")));
  ASSERT_TRUE(SaveTemplateFile(path, second, &error)) << error.toStdString();
  EXPECT_EQ(second, *ParseTemplate(ReadAll(path)).value);
  EXPECT_EQ(first, *ParseTemplate(ReadAll(path + QStringLiteral(".bak"))).value);

  QString missingFolder = folder.filePath(QStringLiteral("absent/Modele.frf"));
  EXPECT_FALSE(SaveTemplateFile(missingFolder, first, &error));
  EXPECT_EQ(QStringLiteral("Impossible de créer le fichier %1").arg(missingFolder), error);
}

// Positions and sizes that are no finite number would poison the layout (NaN passes every
// comparison): they are refused when the template is read.
TEST(TemplateTest, RefusesLengthsThatAreNotFiniteNumbers) {
  struct Case {
    const char* attributes;
    const char* error;
  };
  const Case cases[] = {
      {"height=\"nan\"", "Ligne 1, colonne 54 : l'attribut height=\"nan\" n'est pas un nombre"},
      {"height=\"inf\"", "Ligne 1, colonne 54 : l'attribut height=\"inf\" n'est pas un nombre"},
      {"height=\"-infinity\"",
       "Ligne 1, colonne 60 : l'attribut height=\"-infinity\" n'est pas un nombre"},
      {"height=\"1e400\"", "Ligne 1, colonne 56 : l'attribut height=\"1e400\" n'est pas un nombre"},
      {"columns=\"1e300\"",
       "Ligne 1, colonne 57 : l'attribut columns=\"1e300\" est hors de -10000 à 10000"},
      {"column-gap=\"NaN\"",
       "Ligne 1, colonne 58 : l'attribut column-gap=\"NaN\" n'est pas un nombre"},
  };
  for (const Case& c : cases) {
    QByteArray xml =
        QByteArray("<report version=\"1\"><band kind=\"detail\" ") + c.attributes + "/></report>";
    TemplateLoad load = ParseTemplate(xml);
    EXPECT_FALSE(load.value.has_value()) << c.attributes;
    EXPECT_EQ(QStringList{QString::fromUtf8(c.error)}, load.errors) << c.attributes;
  }
  for (const char* item : {"x=\"nan\"", "y=\"inf\"", "width=\"nan\"", "height=\"1e99\"",
                           "font-size=\"nan\"", "border-width=\"inf\"", "line-width=\"nan\""}) {
    QByteArray xml = QByteArray("<report version=\"1\"><band kind=\"detail\"><text ") + item +
                     ">x</text></band></report>";
    EXPECT_FALSE(ParseTemplate(xml).value.has_value()) << item;
  }
  for (const char* page : {"margin-left=\"nan\"", "short-side=\"inf\"", "print-offset-y=\"nan\""}) {
    QByteArray xml = QByteArray("<report version=\"1\"><page ") + page + "/></report>";
    EXPECT_FALSE(ParseTemplate(xml).value.has_value()) << page;
  }
}

}  // namespace
}  // namespace vantrel::reports
