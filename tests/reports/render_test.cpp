// Runs the report-render program the way developers do and reads its PDF back as text.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "reports/qstring_printer.h"

namespace {

struct RenderRun {
  int exitCode = -1;
  QString errors;
};

RenderRun Render(const QString& templatePath, const QString& dataPath, const QString& output) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  static QTemporaryDir runtime;  // private to the user, as Qt wants it
  environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(VANTREL_REPORT_RENDER), {templatePath, dataPath, output});
  process.waitForFinished(60000);
  return RenderRun{process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
}

QString PdfText(const QString& pdf, int page = 0) {
  QStringList arguments;
  if (page > 0)
    arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
              << QString::number(page);
  arguments << pdf << QStringLiteral("-");
  QProcess process;
  process.start(QStringLiteral("pdftotext"), arguments);
  process.waitForFinished(60000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

QString Template(const char* name) {
  return QStringLiteral(VANTREL_TEMPLATES_DIR "/") + QLatin1String(name);
}
QString Data(const char* name) {
  return QStringLiteral(VANTREL_TEST_DATA_DIR "/") + QLatin1String(name);
}

TEST(ReportRenderTest, PrintsTheDirectoryOnThreePagesWithEveryMemberOnce) {
  QTemporaryDir folder;
  QString pdf = folder.filePath(QStringLiteral("annuaire.pdf"));
  RenderRun run = Render(Template("Gestion_Annuaire.frf"), Data("annuaire.json"), pdf);
  ASSERT_EQ(0, run.exitCode) << run.errors.toStdString();
  QString text = PdfText(pdf);
  EXPECT_EQ(3, text.count(QLatin1Char('\f')));  // one form feed per page
  const char* names[] = {"DUPONT", "MARTIN", "BERNARD", "THOMAS",   "PETIT", "ROBERT",  "RICHARD",
                         "DURAND", "DUBOIS", "MOREAU",  "LAURENT",  "SIMON", "MICHEL",  "LEFEBVRE",
                         "LEROY",  "ROUX",   "DAVID",   "BERTRAND", "MOREL", "FOURNIER"};
  for (int i = 0; i < 60; ++i) {
    QString name =
        QStringLiteral("%1%2").arg(QLatin1String(names[i % 20])).arg(i, 2, 10, QLatin1Char('0'));
    EXPECT_EQ(1, text.count(name)) << name.toStdString();
    EXPECT_EQ(1, text.count(QStringLiteral("N° %1").arg(1000 + i))) << name.toStdString();
  }
  for (int page = 1; page <= 3; ++page) {
    QString pageText = PdfText(pdf, page);
    EXPECT_EQ(1, pageText.count(QStringLiteral("Page %1 / 3").arg(page))) << "page " << page;
    EXPECT_EQ(1, pageText.count(QStringLiteral("Ardevanne - Annuaire"))) << "page " << page;
    EXPECT_EQ(page == 3 ? 1 : 0, pageText.count(QStringLiteral("Nombre de membres : 60")))
        << "page " << page;
  }
}

TEST(ReportRenderTest, AddsTheStatementColumnsRightAcrossThePageBreak) {
  QTemporaryDir folder;
  QString pdf = folder.filePath(QStringLiteral("resultat.pdf"));
  RenderRun run = Render(Template("Gestion_Resultat.frf"), Data("resultat.json"), pdf);
  ASSERT_EQ(0, run.exitCode) << run.errors.toStdString();
  EXPECT_EQ(QStringLiteral("%1 : 2 page(s)\n").arg(pdf), run.errors);
  QString first = PdfText(pdf, 1);
  QString second = PdfText(pdf, 2);
  // Sums of the data file, worked out apart: charges, products and result of each year.
  for (const char* total : {"155897,06", "148088,77", "163952,39"}) {
    EXPECT_EQ(1, first.count(QLatin1String(total))) << total;
  }
  EXPECT_EQ(1, first.count(QStringLiteral("Page 1 / 2")));
  // The products run from page 1 onto page 2; their total is printed there.
  EXPECT_EQ(1, first.count(QStringLiteral("7000 Produit numéro 1\n")));
  EXPECT_EQ(1, second.count(QStringLiteral("Total des produits")));
  for (const char* total :
       {"110560,24", "97725,68", "119453,23", "-45336,82", "-50363,09", "-44499,16"}) {
    EXPECT_EQ(1, second.count(QLatin1String(total))) << total;
  }
  EXPECT_EQ(1, second.count(QStringLiteral("Page 2 / 2")));
}

// Every template shipped with the program lays out its sample data (tests/reports/data,
// named after the template) with no error and no unknown name.
TEST(ReportRenderTest, RendersEveryShippedTemplateWithoutWarnings) {
  struct Case {
    const char* name;
    int pages;
  };
  const Case cases[] = {
      {"Classem_General", 1},    {"Dotation_paires", 1}, {"Gestion_Assemble", 2},
      {"Gestion_Balance", 1},    {"Gestion_Bilan", 1},   {"Gestion_Compte", 2},
      {"Gestion_Enveloppes", 1}, {"Gestion_Livre", 4},   {"Gestion_Plan", 2},
      {"Gestion_Tresorerie", 2}, {"paires", 1},          {"quatre", 1},
  };
  QTemporaryDir folder;
  for (const Case& c : cases) {
    QString name = QLatin1String(c.name);
    QString pdf = folder.filePath(name + QStringLiteral(".pdf"));
    RenderRun run =
        Render(QStringLiteral(VANTREL_TEMPLATES_DIR "/") + name + QStringLiteral(".frf"),
               QStringLiteral(VANTREL_TEST_DATA_DIR "/") + name + QStringLiteral(".json"), pdf);
    EXPECT_EQ(0, run.exitCode) << c.name;
    EXPECT_EQ(QStringLiteral("%1 : %2 page(s)\n").arg(pdf).arg(c.pages), run.errors) << c.name;
  }
}

TEST(ReportRenderTest, KeepsTheJournalTotalsOnEveryPage) {
  QTemporaryDir folder;
  QString pdf = folder.filePath(QStringLiteral("livre.pdf"));
  RenderRun run = Render(Template("Gestion_Livre.frf"), Data("Gestion_Livre.json"), pdf);
  ASSERT_EQ(0, run.exitCode) << run.errors.toStdString();
  // Each page's own total plus the totals carried from the pages before it.
  QString text = PdfText(pdf);
  EXPECT_EQ(4, text.count(QStringLiteral("Total de la page")));
  EXPECT_EQ(4, text.count(QStringLiteral("Cumul depuis le début")));
  EXPECT_EQ(1, text.count(QStringLiteral("Total du journal")));
}

// Given a ".csv" output, the printed records of the detail band, for a spreadsheet.
TEST(ReportRenderTest, WritesThePrintedRecordsAsCsv) {
  QTemporaryDir folder;
  QString model = folder.filePath(QStringLiteral("Liste.frf"));
  QFile file(model);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(R"(<report version="1"><band kind="detail" height="5">
      <field x="100" y="0" width="30" height="5" format="amount" name="Solde">Solde</field>
      <text x="0" y="0" width="60" height="5" name="Membre">[Titre] [Nom]</text>
      <field x="60" y="0" width="40" height="5">Ville</field></band></report>)");
  file.close();
  QString csv = folder.filePath(QStringLiteral("liste.csv"));
  RenderRun run = Render(model, Data("annuaire.json"), csv);
  ASSERT_EQ(0, run.exitCode) << run.errors.toStdString();
  QFile written(csv);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  QList<QByteArray> lines = written.readAll().split('\n');
  ASSERT_EQ(62, lines.size());  // heading, 60 members, nothing after the last CR LF
  EXPECT_EQ(QByteArray("Membre;Ville;Solde\r"), lines[0]);
  EXPECT_TRUE(lines.last().isEmpty());
  for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
    EXPECT_EQ(2, lines[i].count(';')) << lines[i].constData();
    EXPECT_TRUE(lines[i].endsWith(",00\r") || lines[i].endsWith(",50\r")) << lines[i].constData();
  }
}

void WriteText(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

// Nobody looks at a preview here: a running total that cannot be computed, a value cut in
// its box or a name nobody knows writes no file, with the reason on standard error.
TEST(ReportRenderTest, WritesNothingForAValueThatWouldBeWrong) {
  QTemporaryDir folder;
  const QString data = folder.filePath(QStringLiteral("donnees.json"));
  WriteText(data, R"({"title": "Essai", "records": [
      {"Nom": "DUPONT", "Montant": 12.5}, {"Nom": "LÉCUYER", "Montant": "douze"},
      {"Nom": "NOËL", "Montant": 21474836.47}]})");
  const struct {
    const char* name;
    const char* detail;
    const char* errors;
  } cases[] = {
      {"running total",
       R"(<script>Tot := Tot + Montant</script>
<text x="0" y="0" width="60" height="5">[Nom]</text>)",
       "Bande « Détail » (ligne 2), enregistrement 2 : le calcul « Tot := Tot + Montant » ne "
       "peut pas être fait (« douze » n'est pas un nombre) ; l'état n'est pas imprimé\n"},
      {"cut", R"(<field x="0" y="0" width="3" height="5" format="amount">NUM(Montant)</field>)",
       nullptr},
      {"unknown name", R"(<text x="0" y="0" width="60" height="5">[Nom] [Prenom]</text>)",
       "Avertissement : Bande « Détail » (ligne 2) : « Prenom » : nom inconnu « Prenom »\n"},
  };
  for (const auto& c : cases) {
    const QString model = folder.filePath(QStringLiteral("Modele.frf"));
    WriteText(model, QByteArray(R"(<report version="1"><variable name="Tot" initial="0"/>
<band kind="detail" height="5">
)") + c.detail + "</band></report>");
    const QString pdf = folder.filePath(QStringLiteral("sortie.pdf"));
    RenderRun run = Render(model, data, pdf);
    EXPECT_EQ(1, run.exitCode) << c.name;
    EXPECT_FALSE(QFile::exists(pdf)) << c.name;
    if (c.errors != nullptr) {
      EXPECT_TRUE(run.errors.startsWith(QString::fromUtf8(c.errors))) << run.errors.toStdString();
    }
    if (std::string(c.name) != "running total") {
      EXPECT_TRUE(run.errors.endsWith(
          QStringLiteral("%1 n'est pas écrit : une valeur coupée, inconnue ou impossible à "
                         "calculer le rendrait faux\n")
              .arg(pdf)))
          << run.errors.toStdString();
    }
    if (std::string(c.name) == "cut") {
      EXPECT_TRUE(
          run.errors.startsWith(QStringLiteral("Avertissement : Bande « Détail » (ligne "
                                               "2) : élément Champ (ligne 3), "
                                               "enregistrement 1 : « 12,50 » ne tient "
                                               "pas dans sa case")))
          << run.errors.toStdString();
    }
  }
}

TEST(ReportRenderTest, FailsWithTheReasonForAMissingOrBrokenTemplate) {
  QTemporaryDir folder;
  QString pdf = folder.filePath(QStringLiteral("sortie.pdf"));
  QString missing = folder.filePath(QStringLiteral("Absent.frf"));
  RenderRun run = Render(missing, Data("annuaire.json"), pdf);
  EXPECT_EQ(1, run.exitCode);
  EXPECT_EQ(QStringLiteral("Impossible d'ouvrir le fichier %1\n").arg(missing), run.errors);

  QString broken = folder.filePath(QStringLiteral("Casse.frf"));
  QFile file(broken);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(
      "<report version=\"1\">\n<band kind=\"detail\" height=\"5\">\n"
      "<field x=\"0\" y=\"0\">SOMME(Solde)</field></band></report>");
  file.close();
  run = Render(broken, Data("annuaire.json"), pdf);
  EXPECT_EQ(1, run.exitCode);
  EXPECT_EQ(
      QStringLiteral("Bande « Détail » (ligne 2), élément Champ (ligne 3) : fonction inconnue "
                     "« SOMME » (caractère 1)\n"),
      run.errors);
  EXPECT_FALSE(QFile::exists(pdf));
}

}  // namespace
