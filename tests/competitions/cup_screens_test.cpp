// The three cup screens driven as a user would: cup management, tournament results and the
// cup ranking, over a temporary program folder and the scripted desktop.
#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "competitions/cup_management_screen.h"
#include "competitions/cup_ranking_screen.h"
#include "competitions/cup_reports.h"
#include "competitions/report_variables.h"
#include "competitions/result_page_builder.h"
#include "competitions/results_screen.h"
#include "platform/record_grid.h"
#include "platform/text.h"
#include "reports/page_render.h"
#include "reports/report_preview.h"
#include "reports/report_request_bridge.h"
#include "support/modal_windows.h"
#include "support/screenshots.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace vantrel {

namespace fs = std::filesystem;
using platform::Button;
using platform::MessageKind;
using testing::Fixture;
using testing::FixturePath;
using testing::ProgramFolder;
using testing::ReadFile;
using testing::ScriptedPlatform;
using testing::W;
using testing::WithModals;
using testing::WriteFile;

namespace {

QString Q(const fs::path& path) { return PathToQString(path); }

// Every text line of a prepared report, page after page.
QStringList Texts(const reports::PreparedReport& report) {
  QStringList texts;
  for (const auto& page : report.pages) {
    for (const auto& item : page.items) {
      if (item.kind == reports::DisplayItem::Kind::kText) texts << item.lines.join(QLatin1Char(' '));
    }
  }
  return texts;
}

// The text of a PDF file as pdftotext -layout reads it.
QString PdfText(const QString& pdf) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  process.waitForFinished(60000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

// Runs vantrel-cli over the club's program folder; its exit status.
int RunCli(const fs::path& programFolder, const QStringList& args) {
  QProcess process;
  process.start(QStringLiteral(VANTREL_CLI),
                QStringList{QStringLiteral("--dossier"), PathToQString(programFolder)} + args);
  process.waitForFinished(120000);
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// The pages a screen's report object prepares, dated today as vantrel-cli dates its own,
// as the text of their PDF.
QString ScreenPdfText(reports::Report& report, const fs::path& pdf) {
  report.setClock([] { return QDateTime::currentDateTime(); });
  QString error;
  if (!reports::WritePdfFile(report.prepare(), PathToQString(pdf), &error)) return error;
  return PdfText(PathToQString(pdf));
}

QStringList GridRow(const RecordGrid* grid, int row) {
  QStringList cells;
  for (int c = 0; c < grid->model().columnCount(); ++c) {
    if (!grid->isColumnHidden(c)) cells << ToQString(grid->model().cellText(row, c));
  }
  return cells;
}

// A club with the fixture members, the shipped templates and its two result files.
struct Club {
  Club() : context(desktop) {
    WriteFile(folder.exerciseFolder() / "Joueur.DBP", Fixture("Joueur.DBP"));
    for (const char* name : {"Classem_General.frf", "Dotation_paires.frf"}) {
      fs::copy_file(fs::path(VANTREL_TEMPLATES_DIR) / name, folder.path() / name);
    }
    context.settings = folder.settings();
  }
  void results() {
    WriteFile(folder.exerciseFolder() / "open2_table.chr", Fixture("open2_table.chr"));
    WriteFile(folder.exerciseFolder() / "open2_sans_table.chr", Fixture("open2_sans_table.chr"));
  }
  fs::path cupFile(int cup) const {
    return folder.exerciseFolder() / ("Challenge_" + std::to_string(cup) + ".dbp");
  }

  ProgramFolder folder;
  ScriptedPlatform desktop;
  AppContext context;
};

}  // namespace

class CupScreensTest : public QObject {
  Q_OBJECT

 private slots:
  void managementOfAnEmptyCupShowsTheMarkerOnTheHeaderRow() {
    Club club;
    TFichFGestion screen(club.context);
    screen.setCup(2);
    screen.activated();
    QCOMPARE(screen.windowTitle(), QStringLiteral("Gestion de la Coupe 2"));
    QCOMPARE(screen.StrGrd->model().rowCount(), 1);
    QCOMPARE(GridRow(screen.StrGrd, 0), (QStringList{">", "Num", "Date", "Nom", "Type", "Colonne",
                                                     "Coéf.", "Fichier résultat du challenge"}));
    for (QPushButton* button : {screen.Bt_Premier, screen.Bt_Precedant, screen.Bt_Suivant,
                                screen.Bt_Dernier, screen.Bt_Supprimer, screen.Bt_Modifier}) {
      QCOMPARE(button->isEnabled(), false);
    }
    for (QPushButton* button : {screen.Bt_Ajouter, screen.Bt_Lier, screen.BtX, screen.BtQuitte}) {
      QCOMPARE(button->isEnabled(), true);
    }
    // Linking needs a line: the dialog is shown, nothing is written.
    club.desktop.fileAnswers.push_back(Q(club.folder.exerciseFolder() / "x.chr"));
    screen.Bt_Lier->click();
    QCOMPARE(club.desktop.fileDialogCaptions.size(), std::size_t{1});
    QCOMPARE(club.desktop.fileDialogCaptions[0], QStringLiteral("Lier un résultat d'un tournoi"));
    QCOMPARE(fs::exists(club.cupFile(2)), false);
  }

  void managementAddsDeletesModifiesAndLinks() {
    Club club;
    TFichFGestion screen(club.context);
    screen.setCup(1);
    screen.activated();
    QCOMPARE(screen.EdDate->displayText().replace(QLatin1Char('_'), QLatin1Char(' ')),
             QStringLiteral("  /  /    "));
    const auto add = [&](const QString& date, const QString& name, int column) {
      screen.EdDate->setText(date);
      screen.EdNom->setText(name);
      screen.SpColonne->setValue(column);
      screen.Bt_Ajouter->click();
    };
    add(QStringLiteral("14/10/2026"), QStringLiteral("Open /2 du 14 octobre"), 1);
    screen.BtX->click();
    QCOMPARE(screen.EdType->text(), QStringLiteral("Q"));
    add(QStringLiteral("21/10/2026"), QStringLiteral("Tournoi de la Toussaint"), 2);
    screen.BtX->click();
    add(QStringLiteral("28/10/2026"), QStringLiteral("Open /2 du 28 octobre"), 3);
    QCOMPARE(ReadFile(club.cupFile(1)), W("1;14/10/2026;Open /2 du 14 octobre;P;1;100;;\r\n"
                                          "2;21/10/2026;Tournoi de la Toussaint;Q;2;100;;\r\n"
                                          "3;28/10/2026;Open /2 du 28 octobre;P;3;100;;\r\n"));

    // Link the third line, then delete the second and add one more.
    club.desktop.fileAnswers.push_back(Q(fs::path("/ailleurs/open2_sans_table.chr")));
    screen.Bt_Lier->click();
    screen.Bt_Premier->click();
    screen.Bt_Suivant->click();
    QCOMPARE(screen.EdNum->text(), QStringLiteral("2"));
    club.desktop.answers.push_back(Button::kYes);
    screen.Bt_Supprimer->click();
    QCOMPARE(screen.EdNum->text(), QStringLiteral("3"));
    add(QStringLiteral("04/11/2026"), QStringLiteral("Coupe de Noël"), 4);
    QCOMPARE(ReadFile(club.cupFile(1)),
             W("1;14/10/2026;Open /2 du 14 octobre;P;1;100;;\r\n"
               "3;28/10/2026;Open /2 du 28 octobre;P;3;100;open2_sans_table.chr;\r\n"
               "3;04/11/2026;Coupe de Noël;P;4;100;;\r\n"));
    QCOMPARE(GridRow(screen.StrGrd, 3).first(), QStringLiteral(">"));

    // "Modifier" on the second line numbers it 2 and unlinks its result file.
    screen.Bt_Precedant->click();
    screen.EdCoef->setText(QStringLiteral("50"));
    screen.Bt_Modifier->click();
    QCOMPARE(ReadFile(club.cupFile(1)), W("1;14/10/2026;Open /2 du 14 octobre;P;1;100;;\r\n"
                                          "2;28/10/2026;Open /2 du 28 octobre;P;3;50;;\r\n"
                                          "3;04/11/2026;Coupe de Noël;P;4;100;;\r\n"));

    // A cancelled link dialog unlinks the line too.
    club.desktop.fileAnswers.push_back(Q(club.folder.exerciseFolder() / "open2_table.chr"));
    screen.Bt_Premier->click();
    screen.Bt_Lier->click();
    QCOMPARE(ReadFile(club.cupFile(1)).substr(0, 48),
             W("1;14/10/2026;Open /2 du 14 octobre;P;1;100;open2"));
    testing::SaveScreenshot(&screen, QStringLiteral("gestion.png"));
    screen.Bt_Lier->click();
    QCOMPARE(ReadFile(club.cupFile(1)).substr(0, 46),
             W("1;14/10/2026;Open /2 du 14 octobre;P;1;100;;\r\n"));

    // The lines are dropped when another screen becomes active, read again on return.
    screen.deactivated();
    QCOMPARE(screen.cupFile().count(), 0);
    screen.activated();
    QCOMPARE(screen.cupFile().count(), 3);
    QCOMPARE(screen.cupFile().current(), 1);
  }

  void deletionAsksFirstWithNonAsDefault() {
    Club club;
    const std::string cup = W(
        "1;14/10/2026;Open /2 du 14 octobre;P;1;100;open2_table.chr;\r\n"
        "2;21/10/2026;Tournoi de Noël;Q;2;100;;\r\n");
    WriteFile(club.cupFile(3), cup);
    TFichFGestion screen(club.context);
    screen.setCup(3);
    screen.activated();

    // Enter (no answer queued) presses the default: nothing is deleted.
    screen.Bt_Supprimer->click();
    QCOMPARE(club.desktop.messages.size(), std::size_t{1});
    QCOMPARE(club.desktop.messages[0].kind, MessageKind::kConfirmation);
    QCOMPARE(club.desktop.messages[0].text,
             QStringLiteral("Suppression du tournoi Open /2 du 14 octobre du 14/10/2026.\n"
                            "Son résultat open2_table.chr ne comptera plus dans la coupe."));
    QCOMPARE(club.desktop.messages[0].buttons, (std::vector<Button>{Button::kYes, Button::kNo}));
    QCOMPARE(club.desktop.messages[0].defaultButton, Button::kNo);
    QCOMPARE(ReadFile(club.cupFile(3)), cup);
    QCOMPARE(screen.EdNum->text(), QStringLiteral("1"));

    // "&Non" keeps the line; "&Oui" deletes the current one, accented name shown whole.
    screen.Bt_Dernier->click();
    club.desktop.answers = {Button::kNo, Button::kYes};
    screen.Bt_Supprimer->click();
    QCOMPARE(ReadFile(club.cupFile(3)), cup);
    screen.Bt_Supprimer->click();
    QCOMPARE(club.desktop.messages.back().text,
             QStringLiteral("Suppression du tournoi Tournoi de Noël du 21/10/2026."));
    QCOMPARE(ReadFile(club.cupFile(3)),
             W("1;14/10/2026;Open /2 du 14 octobre;P;1;100;open2_table.chr;\r\n"));
  }

  void resultsExtractCalculateSaveAndPrint() {
    Club club;
    TFichFResult screen(club.context);
    QCOMPARE(screen.windowTitle(), QStringLiteral("Gestion des résultats d'un Tournoi"));
    QCOMPARE(screen.PageControl->currentIndex(), 1);
    const fs::path extract = club.folder.exerciseFolder() / "open2";
    club.desktop.fileAnswers = {Q(FixturePath("open2_table.htm")), Q(extract)};
    screen.BtRecuperation->click();
    QCOMPARE(fs::exists(extract.string() + ".chi"), true);
    QCOMPARE(screen.WebBrowser->source(), QUrl::fromLocalFile(Q(extract.string() + ".chi")));
    QVERIFY(screen.WebBrowser->toPlainText().contains(QStringLiteral("Noël LÉCUYER")));
    screen.resize(900, 600);
    testing::SaveScreenshot(&screen, QStringLiteral("resultat-extraction.png"));

    screen.BtCalculer->click();
    QCOMPARE(screen.PageControl->currentIndex(), 2);
    QCOMPARE(screen.Grille->model().rowCount(), 10);
    QCOMPARE(GridRow(screen.Grille, 5),
             (QStringList{"6", "Jérôme FAURE", "Noël LÉCUYER", "00345678", "00456789", "309"}));

    club.desktop.fileAnswers = {Q(club.folder.exerciseFolder() / "open2_table")};
    screen.BtEnregistrer->click();
    QCOMPARE(ReadFile(club.folder.exerciseFolder() / "open2_table.chr"),
             Fixture("open2_table.chr"));
    QCOMPARE(screen.windowTitle(),
             QStringLiteral("Gestion des résultats d'un tournoi : open2_table.chr"));
    QCOMPARE(screen.LbTotal->text(),
             QStringLiteral("Total des points des membres du club : 46,92"));
    testing::SaveScreenshot(&screen, QStringLiteral("resultat-calcul.png"));

    const QStringList titles =
        WithModals([&] { screen.BtEdition->click(); },
                   [](QWidget* modal) {
                     testing::SaveScreenshot(modal, QStringLiteral("dotation-apercu.png"));
                   });
    QCOMPARE(titles, QStringList{QStringLiteral("Aperçu - Dotation des paires")});
    const QStringList texts = Texts(screen.report().prepare());
    QVERIFY(texts.contains(QStringLiteral("Ardevanne : 2026-2027")));
    QVERIFY(texts.contains(QStringLiteral("Résultats et points de coupe : open2_table.chr")));
    QVERIFY(texts.contains(QStringLiteral("Noël LÉCUYER")));
    QVERIFY(texts.contains(QStringLiteral("11,11")));
    QVERIFY(texts.contains(QStringLiteral("46,92")));
  }

  void resultsOpenAResultFileAndCalculateItAgain() {
    Club club;
    club.results();
    TFichFResult screen(club.context);
    club.desktop.fileAnswers = {Q(club.folder.exerciseFolder() / "open2_sans_table.chr")};
    screen.BtOuvrirResultat->click();
    QCOMPARE(screen.windowTitle(),
             QStringLiteral("Gestion des résultats d'un Tournoi : open2_sans_table.chr"));
    QCOMPARE(screen.PageControl->currentIndex(), 2);
    QCOMPARE(screen.Grille->model().rowCount(), 12);
    // Without page lines, "Calculer" computes the lines again instead of extending them.
    screen.EdK->setText(QStringLiteral("100000"));
    screen.BtCalculer->click();
    QCOMPARE(screen.results().resultLines(), SplitLines(Fixture("open2_sans_table.chr")));
    screen.EdK->setText(QStringLiteral("cent"));
    screen.BtCalculer->click();
    QCOMPARE(club.desktop.messages.size(), std::size_t{1});
    QCOMPARE(club.desktop.messages[0].kind, MessageKind::kError);
    QCOMPARE(club.desktop.messages[0].text,
             QStringLiteral("'cent' n'est pas une valeur entière correcte"));
    QCOMPARE(screen.results().resultLines(), SplitLines(Fixture("open2_sans_table.chr")));
  }

  void resultsIgnoreAnotherPageAndWarnOfATruncatedOne() {
    Club club;
    TFichFResult screen(club.context);
    const fs::path other = club.folder.path() / "autre.htm";
    WriteFile(other, "<html>\r\n<body>Rien</body>\r\n</html>\r\n");
    club.desktop.fileAnswers = {Q(other)};
    screen.BtRecuperation->click();
    QCOMPARE(club.desktop.fileDialogCaptions.size(), std::size_t{1});  // no save dialog
    QCOMPARE(screen.results().pageLines().size(), std::size_t{0});
    QCOMPARE(club.desktop.messages.size(), std::size_t{0});

    // Binary garbage is no result page either.
    std::string garbage(70000, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 7919 % 251);
    const fs::path binary = club.folder.path() / "binaire.htm";
    WriteFile(binary, garbage);
    club.desktop.fileAnswers = {Q(binary)};
    screen.BtRecuperation->click();
    QCOMPARE(screen.results().pageLines().size(), std::size_t{0});
    QCOMPARE(club.desktop.messages.size(), std::size_t{0});

    // A page cut short is refused: a warning, no save dialog, nothing left to calculate or
    // save, not even the tournament calculated before it.
    club.desktop.fileAnswers = {Q(FixturePath("open2_table.htm")), std::nullopt};
    screen.BtRecuperation->click();
    screen.BtCalculer->click();
    QCOMPARE(screen.results().resultLines().size(), std::size_t{10});
    QCOMPARE(screen.BtEnregistrer->isEnabled(), true);
    const fs::path cut = club.folder.path() / "cut.htm";
    WriteFile(cut, testing::TruncatedPage(Fixture("open2_table.htm"), 120));
    const std::size_t dialogs = club.desktop.fileDialogCaptions.size();
    club.desktop.fileAnswers = {Q(cut), Q(club.folder.exerciseFolder() / "cut.chi")};
    screen.BtRecuperation->click();
    QCOMPARE(club.desktop.fileDialogCaptions.size(), dialogs + 1);  // no save dialog
    QCOMPARE(fs::exists(club.folder.exerciseFolder() / "cut.chi"), false);
    QCOMPARE(screen.results().pageLines().size(), std::size_t{0});
    QCOMPARE(screen.results().resultLines().size(), std::size_t{0});
    QCOMPARE(screen.Grille->model().rowCount(), 0);
    QCOMPARE(screen.BtEnregistrer->isEnabled(), false);
    QCOMPARE(club.desktop.messages.size(), std::size_t{1});
    QCOMPARE(club.desktop.messages[0].kind, MessageKind::kWarning);
    QCOMPARE(club.desktop.messages[0].text,
             QStringLiteral("La page cut.htm s'arrête avant les noms de la paire classée 4 :\r\r"
                            "elle est incomplète, rien n'en est extrait ni calculé.\r"
                            "Enregistrez-la de nouveau depuis l'espace licencié."));
    screen.BtCalculer->click();
    QCOMPARE(screen.results().resultLines().size(), std::size_t{0});
    QCOMPARE(club.desktop.messages.size(), std::size_t{1});

    // A page extract cut inside the name of a player: "Calculer" warns and gives nothing.
    const fs::path extract = club.folder.exerciseFolder() / "cut-name.chi";
    const std::string whole = testing::CrLfBytes(
        *competitions::SelectResultSections(SplitLines(Fixture("open2_table.htm"))));
    WriteFile(extract, whole.substr(0, whole.find("Hugo SIM")));
    club.desktop.fileAnswers = {Q(extract)};
    screen.BtOuvrirExtrait->click();
    screen.BtCalculer->click();
    QCOMPARE(screen.results().resultLines().size(), std::size_t{0});
    QCOMPARE(screen.BtEnregistrer->isEnabled(), false);
    QCOMPARE(club.desktop.messages.size(), std::size_t{2});
    QCOMPARE(club.desktop.messages[1].kind, MessageKind::kWarning);
    QCOMPARE(club.desktop.messages[1].text,
             QStringLiteral("La page s'arrête avant la fin de ses résultats :\r\r"
                            "elle est incomplète, aucun résultat n'est calculé."));
  }

  // "Récupération" looks where the last page was taken; the first time in the documents
  // folder ("C:\" on Windows).
  void resultsLookForThePageWhereTheLastOneWasTaken() {
    Club club;
    club.desktop.documentsValue = Q(club.folder.path() / "Documents");
    TFichFResult screen(club.context);
    const fs::path downloads = club.folder.path() / "Téléchargements";
    WriteFile(downloads / "open2.htm", Fixture("open2_table.htm"));
    club.desktop.fileAnswers = {Q(downloads / "open2.htm"), std::nullopt};
    screen.BtRecuperation->click();
    club.desktop.fileAnswers = {std::nullopt};
    screen.BtRecuperation->click();
    QCOMPARE(club.desktop.fileDialogCaptions,
             (std::vector<QString>{QStringLiteral("Récupération page Internet Classement"),
                                   QStringLiteral("Sauvegarde classement internet "),
                                   QStringLiteral("Récupération page Internet Classement")}));
#ifdef Q_OS_WIN
    QCOMPARE(club.desktop.fileDialogFolders[0], QStringLiteral("C:\\"));
#else
    QCOMPARE(club.desktop.fileDialogFolders[0], Q(club.folder.path() / "Documents"));
#endif
    QCOMPARE(club.desktop.fileDialogFolders[2], Q(downloads));
  }

  // The pairs and the total shown are those of the last "Calculer", not of the last file
  // saved or opened; one pair and one member are written in the singular.
  void resultsTotalFollowsCalculer() {
    Club club;
    club.results();
    TFichFResult screen(club.context);
    club.desktop.fileAnswers = {Q(club.folder.exerciseFolder() / "open2_sans_table.chr")};
    screen.BtOuvrirResultat->click();
    QCOMPARE(screen.LbTotal->text(),
             QStringLiteral("Total des points des membres du club : 61,11"));
    const fs::path one = club.folder.path() / "une.htm";
    WriteFile(one, testing::MakeResultPage({{"1", "Jean DUPONT", "Paul ROBERT"}}, false));
    club.desktop.fileAnswers = {Q(one), std::nullopt};
    screen.BtRecuperation->click();
    screen.BtCalculer->click();
    QCOMPARE(screen.LbPaires->text(), QStringLiteral("1 paire, 1 joueur du club"));
    QCOMPARE(screen.LbTotal->text(), QStringLiteral("Total des points des membres du club : 1,11"));
    QCOMPARE(screen.prizeList().total, std::int64_t{111});
    club.desktop.fileAnswers = {Q(FixturePath("open2_table.htm")), std::nullopt};
    screen.BtRecuperation->click();
    screen.BtCalculer->click();
    QCOMPARE(screen.LbPaires->text(), QStringLiteral("10 paires, 7 joueurs du club"));
    QCOMPARE(screen.LbTotal->text(),
             QStringLiteral("Total des points des membres du club : 46,92"));
  }

  void rankingComputesAtActivationAndExplainsATotal() {
    Club club;
    club.results();
    WriteFile(club.cupFile(3),
              W("1;14/10/2026;Open /2 du 14 octobre;P;1;100;open2_table.chr;\r\n"
                "2;28/10/2026;Open /2 du 28 octobre;P;2;50;open2_sans_table.chr;\r\n"
                "3;04/11/2026;Tournoi de la Toussaint, salle des fêtes;P;4;100;;\r\n"));
    TFichFClassment screen(club.context);
    screen.setCup(3);
    screen.activated();
    QCOMPARE(screen.windowTitle(), QStringLiteral("Classement de la Coupe 3"));
    QCOMPARE(screen.Memo->toPlainText(),
             QStringLiteral("Nombre de Tournoi de la Coupe 3: 4\nTraitement de la journée 1\n"
                            "Traitement de la journée 2\nTraitement de la journée 3\n"
                            "Traitement de la journée 4\nClassement\n"
                            "Nettoyage des Joueurs hors du Club"));
    QCOMPARE(screen.StringGrid1->isHidden(), false);
    QCOMPARE(
        GridRow(screen.StringGrid1, 0),
        (QStringList{"P.C.", "Nom", "Licence", "Ind.", "Open /2 du 14 octobre",
                     "Open /2 du 28 octobre", "", "Tournoi de la Toussaint, salle des fêtes"}));
    QCOMPARE(GridRow(screen.StringGrid1, 1),
             (QStringList{"", "", "", "", "14/10/2026", "28/10/2026", "", "04/11/2026"}));
    QCOMPARE(GridRow(screen.StringGrid1, 2),
             (QStringList{"1673", "Jean DUPONT", "00123456", "38", "1111", "562", "", ""}));
    QCOMPARE(screen.StringGrid1->model().rowCount(), 2 + 7);

    screen.showPlayer(8);
    QCOMPARE(screen.MemoDetail->toPlainText(),
             QStringLiteral("Noël LÉCUYER (licence 00456789, I.V. 19)\n"
                            "Journée 1 : Open /2 du 14 octobre (14/10/2026), 3,09 points x 100 % "
                            "= 3,09\n"
                            "Journée 2 : Open /2 du 28 octobre (28/10/2026), 6,19 points x 50 % "
                            "= 3,10\n"
                            "Total : 6,19 points"));
    screen.resize(1000, 560);
    testing::SaveScreenshot(&screen, QStringLiteral("classement.png"));

    screen.SpLimite->setValue(30);
    QCOMPARE(screen.BtEditionLimite->text(), QStringLiteral("Classement Joueurs <= 30"));
    const QStringList titles =
        WithModals([&] { screen.BtEditionLimite->click(); },
                   [](QWidget* modal) {
                     testing::SaveScreenshot(modal, QStringLiteral("classement-apercu.png"));
                   });
    QCOMPARE(
        titles,
        QStringList{QStringLiteral("Aperçu - Classement pour la Coupe 3 des joueurs I.V. <= 30")});
    QCOMPARE(screen.printed().entries.size(), std::size_t{4});
    QCOMPARE(screen.printed().entries[0].rank, std::string("1"));
    QCOMPARE(screen.printed().entries[0].name, std::string("Anne MARTIN"));
    const QStringList texts = Texts(screen.report().prepare());
    QVERIFY(texts.contains(QStringLiteral("14/10")));
    QVERIFY(texts.contains(QStringLiteral("Anne MARTIN")));
    QVERIFY(texts.contains(QStringLiteral("14,21")));
  }

  void modificationsOpenTheDesignerOnEachTemplate() {
    Club club;
    TFichFResult results(club.context);
    QStringList titles = WithModals([&] { results.BtModifications->click(); });
    QCOMPARE(titles.size(), 1);
    QVERIFY(results.report().templatePath().endsWith(QStringLiteral("/Dotation_paires.frf")));
    TFichFClassment ranking(club.context);
    titles = WithModals([&] { ranking.BtModifications->click(); });
    QCOMPARE(titles.size(), 1);
    QVERIFY(ranking.report().templatePath().endsWith(QStringLiteral("/Classem_General.frf")));
  }

  // The same result file gives the same prize list on the screen and in vantrel-cli, and
  // the same ranking of a cup.
  void screensAndTheBatchToolPrintTheSamePages() {
    Club club;
    club.results();
    const fs::path exercise = club.folder.exerciseFolder();
    TFichFResult results(club.context);
    club.desktop.fileAnswers = {Q(exercise / "open2_table.chr")};
    results.BtOuvrirResultat->click();
    WithModals([&] { results.BtEdition->click(); });
    const QString screenText = ScreenPdfText(results.report(), club.folder.path() / "ecran.pdf");
    const fs::path printed = club.folder.path() / "dotation.pdf";
    QCOMPARE(RunCli(club.folder.path(), {QStringLiteral("print"), QStringLiteral("dotation"),
                                         Q(exercise / "open2_table.chr"), Q(printed)}),
             0);
    const QString batchText = PdfText(Q(printed));
    QCOMPARE(batchText, screenText);
    QVERIFY(batchText.contains(QStringLiteral("Jérôme FAURE")));
    QVERIFY(batchText.contains(QStringLiteral("Noël LÉCUYER")));

    WriteFile(club.cupFile(1),
              "1;14/10/2026;Open /2 du 14 octobre;P;1;100;open2_table.chr;\r\n"
              "2;28/10/2026;Open /2 du 28 octobre;P;2;50;open2_sans_table.chr;\r\n");
    TFichFClassment ranking(club.context);
    ranking.activated();
    WithModals([&] { ranking.BtEditionGeneral->click(); });
    const QString rankingText =
        ScreenPdfText(ranking.report(), club.folder.path() / "classement-ecran.pdf");
    const fs::path rankingPdf = club.folder.path() / "classement.pdf";
    QCOMPARE(RunCli(club.folder.path(), {QStringLiteral("print"), QStringLiteral("classement"),
                                         QStringLiteral("1"), Q(rankingPdf)}),
             0);
    QCOMPARE(PdfText(Q(rankingPdf)), rankingText);
    QVERIFY(rankingText.contains(QStringLiteral("Noël LÉCUYER")));
  }

  void valueTablesAnswerEveryDeclaredName() {
    competitions::PrizeList list;
    competitions::RankingReport report;
    const reports::ValueTable prize = reports::RequestValues(competitions::PrizeListReport(list),
                                                             competitions::ReportVariables());
    const reports::ValueTable ranking = reports::RequestValues(
        competitions::CupRankingReportRequest(report), competitions::ReportVariables());
    QCOMPARE(prize.missing(), QStringList());
    QCOMPARE(prize.undeclared(), QStringList());
    QCOMPARE(ranking.missing(), QStringList());
    QCOMPARE(ranking.undeclared(), QStringList());
  }

  void rankingWithoutTournamentsHidesTheGridAndAFailureBlocksPrinting() {
    Club club;
    WriteFile(club.cupFile(1), "1;14/10/2026;Hors coupe;P;0;100;;\r\n");
    TFichFClassment screen(club.context);
    screen.activated();
    QCOMPARE(screen.Memo->toPlainText(), QStringLiteral("Nombre de Tournoi de la Coupe 1: 0"));
    QCOMPARE(screen.StringGrid1->isHidden(), true);
    QCOMPARE(screen.BtEditionGeneral->isEnabled(), true);

    // The fourth cup was never created: said in the club's words, nothing to print.
    TFichFClassment fourth(club.context);
    fourth.setCup(4);
    fourth.activated();
    QCOMPARE(club.desktop.messages.size(), std::size_t{1});
    QCOMPARE(club.desktop.messages[0].text, QStringLiteral("La coupe 4 n'a pas encore été créée."));
    QCOMPARE(fourth.BtEditionGeneral->isEnabled(), false);
    club.desktop.messages.clear();

    WriteFile(club.cupFile(1), "1;14/10/2026;T;P;1;100;absent.chr;\r\n");
    screen.activated();
    QCOMPARE(club.desktop.messages.size(), std::size_t{1});
    QCOMPARE(club.desktop.messages[0].text, QStringLiteral("Impossible d'ouvrir le fichier ") +
                                                Q(club.folder.exerciseFolder() / "absent.chr"));
    QCOMPARE(screen.BtEditionGeneral->isEnabled(), false);
    QCOMPARE(screen.BtEditionLimite->isEnabled(), false);
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::CupScreensTest)
#include "cup_screens_test.moc"
