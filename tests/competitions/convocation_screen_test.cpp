// The convocation screen: registrant pages read, lists saved and opened, event data, printing
// and mailing, driven through its buttons with the scripted desktop.
#include "competitions/convocation_screen.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <functional>

#include "accounting/accounting_files.h"
#include "accounting/ledger_folder.h"
#include "app/main_window_screen.h"
#include "competitions/cup_ranking.h"
#include "competitions/registrant_pages.h"
#include "competitions/report_variables.h"
#include "core/cp1252.h"
#include "core/record_file.h"
#include "members/member_file.h"
#include "platform/file_filter.h"
#include "platform/text.h"
#include "reports/page_render.h"
#include "reports/report_request_bridge.h"
#include "support/modal_windows.h"
#include "support/screenshots.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"
#include "utilities/backup_file.h"
#include "utilities/club_backup.h"

namespace vantrel {

namespace fs = std::filesystem;
using competitions::ConvocationMode;
using competitions::ListKind;
using platform::Button;
using platform::MessageKind;
using testing::ProgramFolder;
using testing::ReadFile;
using testing::ScriptedPlatform;
using testing::WithModals;
using testing::WriteFile;

namespace {

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

QString PdfText(const QString& pdf) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  process.waitForFinished(60000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

// A club with its members and the two convocation templates, and the screen over it.
struct Fixture {
  Fixture() : context(desktop) {
    WriteFile(club.exerciseFolder() / "Joueur.DBP", testing::CrLfBytes(testing::SampleMembers()));
    for (const char* name : {"quatre.frf", "paires.frf"}) {
      fs::copy_file(fs::path(VANTREL_TEMPLATES_DIR) / name, club.path() / name);
    }
    context.settings = club.settings();
    screen = std::make_unique<TFichFConvoc>(context);
  }

  void activate(const char* caption) {
    screen->setWindowTitle(QString::fromUtf8(caption));
    screen->activated();
  }

  // Writes a page into the download folder and reads it through "Récupération".
  void fetch(const std::string& page, std::deque<std::optional<QString>> saves) {
    const fs::path source = downloads.path() / "FFB - Espace Licencié.htm";
    WriteFile(source, page);
    desktop.fileAnswers = {Q(source)};
    desktop.fileAnswers.insert(desktop.fileAnswers.end(), saves.begin(), saves.end());
    QTest::mouseClick(screen->BtRecuperation, Qt::LeftButton);
  }

  QString year(const char* name) const { return Q(club.exerciseFolder() / name); }

  QStringList texts() const { return desktop.messageTexts(); }
  QStringList urls() const { return desktop.openedUrlTexts(); }

  ProgramFolder club;
  testing::TempFolder downloads;
  ScriptedPlatform desktop;
  AppContext context;
  std::unique_ptr<TFichFConvoc> screen;
};

std::string TeamsGroupPage() {
  return testing::RegistrantPage(ListKind::kGroup, ConvocationMode::kTeams, testing::SampleTeams());
}

// The header of a convocation, as a tournament director fills it in.
competitions::EventData SampleEvent() {
  return {"2026-2027",
          "Marc LEROUX, responsable des comp\xE9titions",
          "Fait le 05/03/2027",
          "Coupe de France Interclubs - Division 3",
          "Droits : 120 \x80 par \xE9quipe",
          "Finale de comit\xE9 - Groupe B",
          "Samedi 20 et dimanche 21 mars 2027",
          "Les rencontres se jouent en 2 s\xE9"
          "ances de 28 donnes, en patton suisse. Chaque "
          "\xE9quipe se pr\xE9sente compl\xE8te un quart d'heure avant le d\xE9"
          "but. Les "
          "feuilles de composition sont remises \xE0 l'arbitre avant chaque s\xE9"
          "ance ; un "
          "joueur qui n'a pas jou\xE9 la premi\xE8re s\xE9"
          "ance peut entrer \xE0 la seconde. "
          "Les conventions sont celles de la carte remise \xE0 l'adversaire, syst\xE8mes verts "
          "et bleus seulement. Le t\xE9l\xE9phone est \xE9teint pendant le jeu. Les r\xE9sultats "
          "sont publi\xE9s le soir m\xEAme sur le site du comit\xE9.",
          "Samedi : 14 h 00 - 19 h 00",
          "Dimanche : 10 h 00 - 17 h 30",
          "Toute \xE9quipe absente sans pr\xE9venir est d\xE9"
          "clar\xE9"
          "e forfait.",
          "Mme H\xE9l\xE8ne VASSEUR",
          "Lieu : Maison du Bridge, 12 rue des Tilleuls, 59000 Lille",
          "Bridge Club d'Ardevanne - convocations@ardevanne.example"};
}

// Prints the current list into pdf through the screen's report, as "Edition" prepares it.
void PrintToPdf(TFichFConvoc& screen, const QString& pdf) {
  WithModals([&] { QTest::mouseClick(screen.BtEdition, Qt::LeftButton); });
  QString error;
  QVERIFY2(reports::WritePdfFile(screen.report().prepare(), pdf, &error), qPrintable(error));
}

}  // namespace

class ConvocationScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void controlsAtCreation() {
    Fixture f;
    TFichFConvoc& s = *f.screen;
    QCOMPARE(s.PageControl->count(), 2);
    QCOMPARE(s.PageControl->tabText(0), QStringLiteral("Présentation"));
    QCOMPARE(s.PageControl->tabText(1), QStringLiteral("Page Internet de la liste des inscrits"));
    QCOMPARE(s.GbInscrits->title(), QStringLiteral("Liste des inscrits"));
    QCOMPARE(s.GbEntete->title(), QStringLiteral("En-tête "));
    QCOMPARE(s.CbLicencies->text(), QStringLiteral("Des  Licenciés"));
    QCOMPARE(s.CbCopieCache->text(), QStringLiteral("CopieCaché"));
    QCOMPARE(s.SpParGroupe->minimum(), 1);
    QCOMPARE(s.SpParGroupe->maximum(), 50);
    QCOMPARE(s.SpParGroupe->singleStep(), 5);
    QCOMPARE(s.SpParGroupe->value(), 50);
    QCOMPARE(s.BtEdition->isEnabled(), false);
    QCOMPARE(s.BtCourriels->isEnabled(), false);
    QCOMPARE(s.BtEnregistrerInscrits->isEnabled(), false);
    QCOMPARE(s.BtRecuperation->text(),
             QStringLiteral("Récupération du fichier htm de l'espace licencié"));
    QCOMPARE(s.headerFields().size(), std::size_t(14));
  }

  void dialogFiltersAndDefaultExtensions() {
    QCOMPARE(QtFileFilter("au groupe (*.Qug)|*.Qug"), QStringLiteral("au groupe (*.Qug)"));
    QCOMPARE(QtFileFilter("Enregister sous (FFB - Espace Licencié.htm)|*.htm;*.html"),
             QStringLiteral("Enregister sous (FFB - Espace Licencié.htm) (*.htm *.html)"));
    QCOMPARE(QtFileFilter("inscrit du groupe(*.Pag) ou de la compétition (*.Pac)|*.Pag;*.Pac"),
             QStringLiteral("inscrit du groupe(*.Pag) ou de la compétition (*.Pac) (*.Pag *.Pac)"));
    QCOMPARE(QtFileFilter("A|*.a|B (*.b)|*.b"), QStringLiteral("A (*.a);;B (*.b)"));
    QCOMPARE(WithDefaultExtension("/club/2026-2027/groupe B", "Qug"),
             QStringLiteral("/club/2026-2027/groupe B.Qug"));
    QCOMPARE(WithDefaultExtension("/club/2026-2027/groupe.Pag", "Qug"),
             QStringLiteral("/club/2026-2027/groupe.Pag"));
    QCOMPARE(WithDefaultExtension("/club/v1.2/groupe", "qud"),
             QStringLiteral("/club/v1.2/groupe.qud"));
    QCOMPARE(WithDefaultExtension("", "qud"), QString());
    testing::TempFolder folder;
    WriteFile(folder.path() / "sans extension", "x");
    QCOMPARE(OpenedFileName(Q(folder.path() / "sans extension"), "htm"),
             Q(folder.path() / "sans extension"));
    QCOMPARE(OpenedFileName(Q(folder.path() / "page"), "htm"), Q(folder.path() / "page.htm"));
  }

  void modificationOpensTheModesTemplateInTheDesigner() {
    Fixture f;
    f.activate(kConvocationPairsCaption);
    const QStringList titles =
        WithModals([&] { QTest::mouseClick(f.screen->BtModification, Qt::LeftButton); });
    QCOMPARE(titles.size(), 1);
    QCOMPARE(f.screen->report().templatePath(), Q(f.club.path() / "paires.frf"));
    f.activate(kConvocationTeamsCaption);
    WithModals([&] { QTest::mouseClick(f.screen->BtModification, Qt::LeftButton); });
    QCOMPARE(f.screen->report().templatePath(), Q(f.club.path() / "quatre.frf"));
  }

  void answersEveryDeclaredNameOfBothTemplates() {
    Fixture f;
    for (ConvocationMode mode : {ConvocationMode::kTeams, ConvocationMode::kPairs}) {
      const reports::ValueTable table =
          reports::RequestValues(f.screen->request(mode), competitions::ReportVariables());
      QCOMPARE(table.missing(), QStringList());
      QCOMPARE(table.undeclared(), QStringList());
    }
  }

  void menuItemsOpenTheScreenInEachMode() {
    Fixture f;
    TFichFprg window(f.context);
    window.wireScreen(MenuItem::kConvocationTeams, *f.screen,
                      QLatin1String(kConvocationTeamsCaption));
    window.wireScreen(MenuItem::kConvocationPairs, *f.screen,
                      QLatin1String(kConvocationPairsCaption));
    QCOMPARE(window.action(MenuItem::kConvocationTeams)->text(),
             QStringLiteral("Epreuves fédérales par équipes"));
    window.action(MenuItem::kConvocationPairs)->trigger();
    QCOMPARE(f.screen->isVisible(), true);
    QCOMPARE(f.screen->windowTitle(), QStringLiteral("Editions des inscriptions par paires"));
    f.screen->activated();
    QCOMPARE(f.screen->mode(), ConvocationMode::kPairs);
    window.action(MenuItem::kConvocationTeams)->trigger();
    QCOMPARE(f.screen->windowTitle(), QStringLiteral("Editions des inscriptions par quatre"));
    f.screen->activated();
    QCOMPARE(f.screen->mode(), ConvocationMode::kTeams);
  }

  void modeComesFromTheCaptionAtEachActivation() {
    Fixture f;
    f.activate(kConvocationPairsCaption);
    QCOMPARE(f.screen->mode(), ConvocationMode::kPairs);
    f.activate(kConvocationTeamsCaption);
    QCOMPARE(f.screen->mode(), ConvocationMode::kTeams);
    QCOMPARE(f.screen->PageControl->currentWidget(), f.screen->TabPresentation);
  }

  void fetchedGroupPageIsSavedShownAndBecomesTheCurrentList() {
    Fixture f;
    f.activate(kConvocationTeamsCaption);
    f.fetch(TeamsGroupPage(), {f.year("groupe B")});
    TFichFConvoc& s = *f.screen;
    QCOMPARE(
        f.desktop.fileDialogCaptions,
        (std::vector<QString>{"Récupération page Internet ", "Sauvegarde des équipes du groupe "}));
    QCOMPARE(f.desktop.fileDialogFilters,
             (std::vector<QString>{
                 QtFileFilter("Enregister sous (FFB - Espace Licencié.htm)|*.htm;*.html"),
                 QtFileFilter("au groupe (*.Qug)|*.Qug")}));
    QCOMPARE(f.desktop.fileDialogFolders[1], Q(f.club.exerciseFolder()));
    const fs::path saved = f.club.exerciseFolder() / "groupe B.Qug";
    QCOMPARE(s.currentFile(), saved);
    std::string expected;
    for (const std::string& line :
         competitions::ExtractRegistrants(SplitLines(TeamsGroupPage()), ListKind::kGroup)) {
      expected += line + "\r\n";
    }
    QCOMPARE(ReadFile(saved), expected);
    QCOMPARE(s.registrants(), SplitLines(expected));
    QCOMPARE(s.BtEdition->isEnabled(), true);
    QCOMPARE(s.BtCourriels->isEnabled(), true);
    QCOMPARE(s.BtEnregistrerInscrits->isEnabled(), true);
    QCOMPARE(s.GbInscrits->title(), QStringLiteral("Liste des équipes du groupe"));
    QCOMPARE(s.PageControl->currentWidget(), s.TabInternet);
    QVERIFY(s.WebBrowser->toPlainText().contains(QStringLiteral("Jérôme LÉCUYER 27")));
    QVERIFY(s.WebBrowser->toPlainText().contains(QStringLiteral("Liste des équipes du groupe")));
  }

  void pageWithBothListsAsksTwiceTheCompetitionLast() {
    Fixture f;
    f.activate(kConvocationPairsCaption);
    f.fetch(testing::PageWithBothLists(ConvocationMode::kPairs, testing::SamplePairs(),
                                       testing::SamplePairs()),
            {f.year("groupe"), f.year("finale")});
    QCOMPARE(
        f.desktop.fileDialogCaptions,
        (std::vector<QString>{"Récupération page Internet ", "Sauvegarde des paires du groupe ",
                              "Sauvegarde des paires de la compétition "}));
    QCOMPARE(f.desktop.fileDialogFilters[1], QtFileFilter("au groupe (*.Pag)|*.Pag"));
    QCOMPARE(f.desktop.fileDialogFilters[2], QtFileFilter("au groupe (*.Pac)|*.Pac"));
    QVERIFY(fs::exists(f.club.exerciseFolder() / "groupe.Pag"));
    QCOMPARE(f.screen->currentFile(), f.club.exerciseFolder() / "finale.Pac");
    QCOMPARE(f.screen->GbInscrits->title(), QStringLiteral("Liste des équipes de la compétition"));
  }

  void competitionTitleInTeamsMode() {
    Fixture f;
    f.activate(kConvocationTeamsCaption);
    f.fetch(testing::RegistrantPage(ListKind::kCompetition, ConvocationMode::kTeams,
                                    testing::SampleTeams()),
            {f.year("coupe")});
    QCOMPARE(f.desktop.fileDialogCaptions.back(),
             QStringLiteral("Sauvegarde des équipe de la compétition "));
    QCOMPARE(f.desktop.fileDialogFilters.back(), QtFileFilter("au groupe (*.Quc)|*.Quc"));
    QCOMPARE(f.screen->currentFile(), f.club.exerciseFolder() / "coupe.Quc");
  }

  void cancelledSaveKeepsTheExtractButChangesNothingElse() {
    Fixture f;
    f.activate(kConvocationTeamsCaption);
    f.fetch(TeamsGroupPage(), {std::nullopt});
    QCOMPARE(f.screen->currentFile(), fs::path());
    QCOMPARE(f.screen->registrants().size() > 20, true);
    QCOMPARE(f.screen->BtEdition->isEnabled(), false);
    QCOMPARE(f.screen->GbInscrits->title(), QStringLiteral("Liste des inscrits"));
    QCOMPARE(f.screen->WebBrowser->toPlainText(), QString());
  }

  void foreignOrBinaryPagesAreIgnoredWithoutAMessage() {
    const std::string pages[] = {
        "<html><body>Bonjour</body></html>", std::string("\x00\xFF\xC3\r\n\x89PNG\r\n\x1A\n", 12),
        "",
        "<h2>Liste des \xC3\xA9quipes du groupe</h2>\r\n",  // title without a list
    };
    for (const std::string& page : pages) {
      Fixture f;
      f.activate(kConvocationTeamsCaption);
      f.fetch(page, {});
      QCOMPARE(f.desktop.messages.size(), std::size_t(0));
      QCOMPARE(f.screen->currentFile(), fs::path());
    }
    // A title without a list still asks, and saves line 0 alone.
    Fixture f;
    f.activate(kConvocationTeamsCaption);
    f.fetch(pages[3], {f.year("vide")});
    QCOMPARE(ReadFile(f.club.exerciseFolder() / "vide.Qug"), pages[3]);
  }

  void hostileListFilesOpenPrintAndMailWithoutHarm() {
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 131 + 7) % 256);
    const std::string files[] = {
        binary,
        std::string(100, '\n') + "1. X\n" + std::string(3, '\n'),
        "1.\r\n2.\r\n3.\r\n" + std::string(40, '\r'),
        std::string(5000, '1'),
    };
    for (const std::string& bytes : files) {
      Fixture f;
      f.activate(kConvocationTeamsCaption);
      WriteFile(f.club.exerciseFolder() / "x.Quc", bytes);
      f.desktop.fileAnswers = {f.year("x.Quc")};
      QTest::mouseClick(f.screen->BtOuvrirInscrits, Qt::LeftButton);
      QCOMPARE(f.screen->currentFile(), f.club.exerciseFolder() / "x.Quc");
      WithModals([&] { QTest::mouseClick(f.screen->BtEdition, Qt::LeftButton); });
      QTest::mouseClick(f.screen->BtCourriels, Qt::LeftButton);
      for (const auto& message : f.desktop.messages) {
        QVERIFY2(message.kind != MessageKind::kError, qPrintable(message.text));
      }
    }
  }

  void openTakesOnlyTheModesExtensions() {
    Fixture f;
    const Lines lines =
        competitions::ExtractRegistrants(SplitLines(TeamsGroupPage()), ListKind::kGroup);
    WriteLines(f.club.exerciseFolder() / "a.qug", lines);
    WriteLines(f.club.exerciseFolder() / "b.Qug", lines);
    WriteLines(f.club.exerciseFolder() / "c.Pag", lines);
    f.activate(kConvocationPairsCaption);
    f.desktop.fileAnswers = {f.year("a.qug"), f.year("b.Qug")};
    QTest::mouseClick(f.screen->BtOuvrirInscrits, Qt::LeftButton);
    QTest::mouseClick(f.screen->BtOuvrirInscrits, Qt::LeftButton);
    QCOMPARE(f.screen->currentFile(), fs::path());
    QCOMPARE(f.desktop.messages.size(), std::size_t(0));
    QCOMPARE(f.desktop.fileDialogCaptions.back(), QStringLiteral("Restauration des inscrits"));
    QCOMPARE(f.desktop.fileDialogFolders.back(), Q(f.club.exerciseFolder()));
    QCOMPARE(f.desktop.fileDialogFilters.back(),
             QtFileFilter("inscrit du groupe(*.Pag) ou de la compétition (*.Pac)|*.Pag;*.Pac"));
    f.desktop.fileAnswers = {f.year("c.Pag")};
    QTest::mouseClick(f.screen->BtOuvrirInscrits, Qt::LeftButton);
    QCOMPARE(f.screen->currentFile(), f.club.exerciseFolder() / "c.Pag");
    QCOMPARE(f.screen->registrants(), lines);
    QCOMPARE(f.screen->BtEdition->isEnabled(), true);
    QCOMPARE(f.screen->PageControl->currentWidget(), f.screen->TabInternet);
    QCOMPARE(f.screen->GbInscrits->title(), QStringLiteral("Liste des équipes du groupe"));
    f.activate(kConvocationTeamsCaption);
    f.desktop.fileAnswers = {f.year("b.Qug")};
    QTest::mouseClick(f.screen->BtOuvrirInscrits, Qt::LeftButton);
    QCOMPARE(f.desktop.fileDialogFilters.back(),
             QtFileFilter("inscrit du groupe(*.Qug) ou de la compétition (*.Quc)|*.Qug;*.Quc"));
    QCOMPARE(f.screen->currentFile(), f.club.exerciseFolder() / "b.Qug");
  }

  // A restore onto a new computer brings every name back in lower case ("groupeA.Qug" is
  // restored as "groupea.qug"): every kind of file the screens open still opens, from the
  // member file to the two event-data files.
  void everyFileOpensAfterARestoreIntoAnEmptyFolder() {
    Fixture f;
    const fs::path year = f.club.exerciseFolder();
    const Lines teams =
        competitions::ExtractRegistrants(SplitLines(TeamsGroupPage()), ListKind::kGroup);
    const Lines teamsCup = competitions::ExtractRegistrants(
        SplitLines(testing::RegistrantPage(ListKind::kCompetition, ConvocationMode::kTeams,
                                           testing::SampleTeams())),
        ListKind::kCompetition);
    const Lines pairs = competitions::ExtractRegistrants(
        SplitLines(testing::RegistrantPage(ListKind::kGroup, ConvocationMode::kPairs,
                                           testing::SamplePairs())),
        ListKind::kGroup);
    const Lines pairsCup = competitions::ExtractRegistrants(
        SplitLines(testing::RegistrantPage(ListKind::kCompetition, ConvocationMode::kPairs,
                                           testing::SamplePairs())),
        ListKind::kCompetition);
    WriteLines(year / "groupeA.Qug", teams);
    WriteLines(year / "Coupe.Quc", teamsCup);
    WriteLines(year / "groupeB.Pag", pairs);
    WriteLines(year / "Finale.Pac", pairsCup);
    competitions::WriteEventData(year / "Finale.Qud", SampleEvent());
    competitions::WriteEventData(year / "Finale.Pad", SampleEvent());
    WriteFile(year / "Plan_Comptable.dbp", "4110;Cotisations;\r\n");
    WriteFile(year / "4110.DBP", "01/09/2026;Cotisation;2500;;2500;;\r\n");
    WriteFile(year / "Challenge_1.dbp",
              "1;01/10/2026;Rentr\xe9"
              "e;P;1;100;Rentree.Chr;\r\n");
    WriteFile(year / "Rentree.Chr", "1;Jean DUPONT;X Y;12345;10;;;500;\r\n");
    testing::TempFolder drive;
    const fs::path archive = drive.path() / utilities::kArchiveFileName;
    utilities::TBackupFile backup;
    QCOMPARE(utilities::BackupClub(backup, f.club.path(), utilities::PathToText(archive)).outcome,
             utilities::ClubBackup::Outcome::kSaved);

    testing::TempFolder computer;
    QCOMPARE(utilities::RestoreClub(backup, archive, computer.path()).outcome,
             utilities::ClubRestore::Outcome::kRestored);
    const fs::path restored = computer.path() / "2026-2027";
    QVERIFY(fs::exists(restored / "groupea.qug"));
    QVERIFY(!fs::exists(restored / "groupeA.Qug"));
    f.context.settings = LoadSettings(computer.path());

    // The member file, the books, the cup and its result file.
    QCOMPARE(members::ReadMemberFile(restored), testing::SampleMembers());
    QCOMPARE(accounting::LedgerFolder(restored).numbers(), std::vector<int>{4110});
    QCOMPARE(accounting::LedgerFolder(restored).lastLine(4110),
             std::string("01/09/2026;Cotisation;2500;;2500;;"));
    QCOMPARE(ReadLines(restored / accounting::kChartFileName), Lines{"4110;Cotisations;"});
    competitions::CupRanking ranking;
    competitions::ComputeCupRanking(restored, 1, ranking);
    QCOMPARE(ranking.players.size(), std::size_t(1));
    QCOMPARE(ranking.players[0].licence, std::string("12345"));

    // The four registrant lists and the two event-data files, through the screen's buttons.
    struct Opened {
      const char* caption;
      const char* name;
      Lines lines;
    };
    const Opened lists[] = {{kConvocationTeamsCaption, "groupea.qug", teams},
                            {kConvocationTeamsCaption, "coupe.quc", teamsCup},
                            {kConvocationPairsCaption, "groupeb.pag", pairs},
                            {kConvocationPairsCaption, "finale.pac", pairsCup}};
    for (const Opened& list : lists) {
      f.screen = std::make_unique<TFichFConvoc>(f.context);
      f.activate(list.caption);
      QVERIFY(!f.screen->BtEdition->isEnabled());
      f.desktop.fileAnswers = {Q(restored / list.name)};
      QTest::mouseClick(f.screen->BtOuvrirInscrits, Qt::LeftButton);
      QCOMPARE(f.screen->currentFile(), restored / list.name);
      QCOMPARE(f.screen->registrants(), list.lines);
      QVERIFY2(f.screen->BtEdition->isEnabled(), list.name);
      QVERIFY2(f.screen->BtCourriels->isEnabled(), list.name);
    }
    const Opened events[] = {{kConvocationTeamsCaption, "finale.qud", {}},
                             {kConvocationPairsCaption, "finale.pad", {}}};
    for (const Opened& event : events) {
      f.activate(event.caption);
      f.screen->setEventData({});
      f.desktop.fileAnswers = {Q(restored / event.name)};
      QTest::mouseClick(f.screen->BtOuvrirEntete, Qt::LeftButton);
      QCOMPARE(f.screen->eventData(), SampleEvent());
    }
    QCOMPARE(f.desktop.messages.size(), std::size_t(0));
  }

  void saveAgainUsesTheDialogOfTheListsKind() {
    Fixture f;
    f.activate(kConvocationTeamsCaption);
    f.fetch(testing::RegistrantPage(ListKind::kCompetition, ConvocationMode::kTeams,
                                    testing::SampleTeams()),
            {f.year("coupe")});
    f.desktop.fileAnswers = {f.year("copie")};
    QTest::mouseClick(f.screen->BtEnregistrerInscrits, Qt::LeftButton);
    QCOMPARE(f.desktop.fileDialogCaptions.back(),
             QStringLiteral("Sauvegarde des inscrits de la compétition"));
    QCOMPARE(f.desktop.fileDialogFolders.back(), f.year("coupe.Quc"));
    QCOMPARE(f.desktop.fileDialogFilters.back(), QtFileFilter("à la compétition (*.Quc)|*.Quc"));
    QCOMPARE(f.screen->currentFile(), f.club.exerciseFolder() / "copie.Quc");
    QCOMPARE(ReadFile(f.club.exerciseFolder() / "copie.Quc"),
             ReadFile(f.club.exerciseFolder() / "coupe.Quc"));

    WriteLines(f.club.exerciseFolder() / "g.Qug", f.screen->registrants());
    f.desktop.fileAnswers = {f.year("g.Qug"), f.year("g2")};
    QTest::mouseClick(f.screen->BtOuvrirInscrits, Qt::LeftButton);
    QTest::mouseClick(f.screen->BtEnregistrerInscrits, Qt::LeftButton);
    QCOMPARE(f.desktop.fileDialogCaptions.back(),
             QStringLiteral("Sauvegarde des inscrits du groupe"));
    QCOMPARE(f.desktop.fileDialogFilters.back(), QtFileFilter("au groupe (*.Qug)|*.Qug"));
    QCOMPARE(f.screen->currentFile(), f.club.exerciseFolder() / "g2.Qug");
  }

  void eventDataRoundTripsThroughTheHeaderButtons() {
    Fixture f;
    f.activate(kConvocationPairsCaption);
    f.screen->setEventData(SampleEvent());
    f.desktop.fileAnswers = {f.year("finale")};
    QTest::mouseClick(f.screen->BtEnregistrerEntete, Qt::LeftButton);
    QCOMPARE(f.desktop.fileDialogCaptions.back(), QStringLiteral("Sauvegarde des données "));
    QCOMPARE(f.desktop.fileDialogFilters.back(), QtFileFilter("au groupe (*.pad)|*.pad"));
    std::string expected;
    for (const std::string& field : SampleEvent()) expected += field + "\r\n";
    QCOMPARE(ReadFile(f.club.exerciseFolder() / "finale.pad"), expected);

    f.screen->setEventData({});
    f.screen->PageControl->setCurrentWidget(f.screen->TabInternet);
    f.desktop.fileAnswers = {f.year("finale")};
    QTest::mouseClick(f.screen->BtOuvrirEntete, Qt::LeftButton);
    QCOMPARE(f.desktop.fileDialogCaptions.back(), QStringLiteral("Restauration des données"));
    QCOMPARE(f.desktop.fileDialogFolders.back(), Q(f.club.exerciseFolder()) + "/*.pad");
    QCOMPARE(f.desktop.fileDialogFilters.back(), QtFileFilter("à la compétition (*.pad)|*.pad"));
    QCOMPARE(f.screen->eventData(), SampleEvent());
    QCOMPARE(f.screen->EdModalites->text(), ToQString(SampleEvent()[7]));
    QCOMPARE(f.screen->PageControl->currentWidget(), f.screen->TabPresentation);
  }

  void dateDuJourWritesTodayInThePublication() {
    Fixture f;
    f.desktop.todayValue = *Date::FromYmd(2024, 3, 5);
    QTest::mouseClick(f.screen->BtDateDuJour, Qt::LeftButton);
    QCOMPARE(f.screen->EdPublication->text(), QStringLiteral("Fait le 05/03/2024"));
  }

  void editionPrintsEveryTeamWithTheHeader() {
    Fixture f;
    f.activate(kConvocationTeamsCaption);
    f.screen->setEventData(SampleEvent());
    f.fetch(TeamsGroupPage(), {f.year("groupe")});
    const QStringList titles =
        WithModals([&] { QTest::mouseClick(f.screen->BtEdition, Qt::LeftButton); });
    QCOMPARE(titles, QStringList{"Aperçu - Convocation - Coupe de France Interclubs - Division 3"});
    QCOMPARE(f.screen->report().RangeEndCount(), 4);
    QCOMPARE(f.screen->report().templatePath(), Q(f.club.path() / "quatre.frf"));
    QCOMPARE(f.screen->valueOf("nom2", 0).text(), QStringLiteral("Jean DUPONT 24\nAnne MARTIN 31"));
    QCOMPARE(f.screen->valueOf("joueur2", 0).text(),
             QStringLiteral("Paul DURAND 19\nLéa PETIT 22"));
    QCOMPARE(f.screen->valueOf("classement2", 2).text(), QStringLiteral("3. LÉCUYER"));
    QCOMPARE(f.screen->valueOf("club2", 2).text(), QStringLiteral("BRIDGE CLUB ARDEVANNE"));
    QCOMPARE(f.screen->valueOf("indice2", 3).text(), QStringLiteral("185"));
    QCOMPARE(f.screen->valueOf("pied2", 0).text(),
             QStringLiteral("Bridge Club d'Ardevanne - convocations@ardevanne.example"));
    QCOMPARE(f.screen->valueOf("inconnu", 0).isEmpty(), true);

    // "Des  Licenciés": the teams with a club member only.
    f.screen->CbLicencies->setChecked(true);
    WithModals([&] { QTest::mouseClick(f.screen->BtEdition, Qt::LeftButton); });
    QCOMPARE(f.screen->report().RangeEndCount(), 2);
    QCOMPARE(f.screen->valueOf("classement2", 1).text(), QStringLiteral("3. LÉCUYER"));

    const QString pdf = QDir(Q(f.club.path())).filePath("quatre.pdf");
    QString error;
    const reports::PreparedReport pages = f.screen->report().prepare();
    QCOMPARE(pages.errors, QStringList());
    QCOMPARE(pages.warnings, QStringList());
    QVERIFY2(reports::WritePdfFile(pages, pdf, &error), qPrintable(error));
    const QString text = PdfText(pdf);
    for (const QString& expected :
         {QStringLiteral("Coupe de France Interclubs"), QStringLiteral("Jérôme LÉCUYER 27"),
          QStringLiteral("Noëlle BENOÎT 25"), QStringLiteral("publiés le soir même"),
          QStringLiteral("Samedi : 14 h 00"), QStringLiteral("Mme Hélène VASSEUR")}) {
      QVERIFY2(text.contains(expected), qPrintable(expected + " missing in:\n" + text));
    }
  }

  void pairsPrintThroughPairesWithoutClub() {
    Fixture f;
    f.activate(kConvocationPairsCaption);
    f.fetch(testing::RegistrantPage(ListKind::kCompetition, ConvocationMode::kPairs,
                                    testing::SamplePairs()),
            {f.year("paires")});
    WithModals([&] { QTest::mouseClick(f.screen->BtEdition, Qt::LeftButton); });
    QCOMPARE(f.screen->report().templatePath(), Q(f.club.path() / "paires.frf"));
    QCOMPARE(f.screen->report().RangeEndCount(), 4);
    QCOMPARE(f.screen->valueOf("classement2", 0).text(), QStringLiteral("1 - Jean DUPONT"));
    QCOMPARE(f.screen->valueOf("club2", 0).isEmpty(), true);
    QCOMPARE(f.screen->valueOf("nom2", 0).text(), QStringLiteral("Jean DUPONT 24"));
    QCOMPARE(f.screen->valueOf("joueur2", 0).text(), QStringLiteral(" Mme Anne MARTIN 31"));
  }

  void mailGoesInBatchesOfTheCount() {
    Fixture f;
    // Twelve members, one team each.
    std::string members;
    std::vector<testing::PageEntry> teams;
    for (int i = 1; i <= 12; ++i) {
      const std::string n = std::to_string(i);
      members += testing::MemberLine(n, "M.", "JOUEUR" + n, "Pierre", "j" + n + "@x.fr") + "\r\n";
      teams.push_back({"T" + n, "C", {{"M.", "Pierre JOUEUR" + n + "X", 20}}, 100 + i});
    }
    WriteFile(f.club.exerciseFolder() / "Joueur.DBP", members);
    f.activate(kConvocationTeamsCaption);
    f.fetch(testing::RegistrantPage(ListKind::kGroup, ConvocationMode::kTeams, teams),
            {f.year("douze")});
    f.screen->SpParGroupe->setValue(5);
    QTest::mouseClick(f.screen->BtCourriels, Qt::LeftButton);
    QCOMPARE(f.texts(), QStringList{"Choisir son compte Courriel"});
    QCOMPARE(f.desktop.messages[0].kind, MessageKind::kInformation);
    QCOMPARE(f.urls(), (QStringList{"mailto:j1@x.fr;j2@x.fr;j3@x.fr;j4@x.fr;j5@x.fr; ?",
                                    "mailto:j6@x.fr;j7@x.fr;j8@x.fr;j9@x.fr;j10@x.fr; ?",
                                    "mailto:j11@x.fr;j12@x.fr; ?"}));

    f.desktop.openedUrls.clear();
    f.desktop.messages.clear();
    f.screen->CbCopieCache->setChecked(true);
    f.screen->SpParGroupe->setValue(50);
    f.desktop.openUrlResult = false;
    QTest::mouseClick(f.screen->BtCourriels, Qt::LeftButton);
    QCOMPARE(f.urls().size(), 1);
    QVERIFY(f.urls()[0].startsWith("mailto: ? &bcc=j1@x.fr;j2@x.fr;"));
    QVERIFY(f.urls()[0].endsWith("j12@x.fr;"));
    QCOMPARE(f.texts(), (QStringList{"Choisir son compte Courriel",
                                     "Le courier électronique par défaut\r\rn'est pas installé "
                                     "correctement"}));
  }

  void nothingHappensWithoutACurrentListOrAddresses() {
    Fixture f;
    f.activate(kConvocationTeamsCaption);
    // No member of the club in the list: no mail, no message.
    WriteFile(f.club.exerciseFolder() / "Joueur.DBP", "");
    f.fetch(TeamsGroupPage(), {f.year("g")});
    QTest::mouseClick(f.screen->BtCourriels, Qt::LeftButton);
    QCOMPARE(f.desktop.messages.size(), std::size_t(0));
    QCOMPARE(f.desktop.openedUrls.size(), std::size_t(0));
    // After an activation the list must be opened again: the buttons say so.
    f.activate(kConvocationTeamsCaption);
    QCOMPARE(f.screen->currentFile(), fs::path());
    QCOMPARE(f.screen->BtEdition->isEnabled(), false);
    QCOMPARE(f.screen->BtCourriels->isEnabled(), false);
    QCOMPARE(f.screen->registrants().empty(), false);
    const QStringList titles = WithModals([&] { f.screen->onEdition(); });
    QCOMPARE(titles, QStringList());
  }

  void shortEmptyAndCutListsPrintWhatTheyHold() {
    Fixture f;
    f.activate(kConvocationTeamsCaption);
    const Lines whole =
        competitions::ExtractRegistrants(SplitLines(TeamsGroupPage()), ListKind::kGroup);
    struct Case {
      const char* name;
      Lines lines;
      QStringList previews;
      int records;
      QStringList messages;
    };
    const QString preview = QStringLiteral("Aperçu - Convocation");
    const Case cases[] = {
        {"19 lines", Lines(whole.begin(), whole.begin() + 19), {}, -1, {}},
        {"20 lines without an entry", Lines(20, "<p>rien</p>"), {preview}, 0, {}},
        {"cut inside the third team",
         Lines(whole.begin(), whole.begin() + 60),
         {preview},
         2,
         {"La liste des inscrits est incomplète : elle s'arrête dans l'inscription n° 3.\r\r"
          "Seules les inscriptions précédentes sont reprises."}},
    };
    for (const Case& c : cases) {
      WriteLines(f.club.exerciseFolder() / "liste.Qug", c.lines);
      f.desktop.fileAnswers = {f.year("liste.Qug")};
      QTest::mouseClick(f.screen->BtOuvrirInscrits, Qt::LeftButton);
      f.desktop.messages.clear();
      f.screen->report().setRangeEndCount(-1);
      const QStringList titles =
          WithModals([&] { QTest::mouseClick(f.screen->BtEdition, Qt::LeftButton); });
      QVERIFY2(titles == c.previews, c.name);
      if (c.records >= 0) QVERIFY2(f.screen->report().RangeEndCount() == c.records, c.name);
      QVERIFY2(f.texts() == c.messages, c.name);
    }
  }

  void aMissingMemberFileStopsTheScanWithTheOpeningError() {
    Fixture f;
    f.activate(kConvocationTeamsCaption);
    f.fetch(TeamsGroupPage(), {f.year("g")});
    fs::remove(f.club.exerciseFolder() / "Joueur.DBP");
    QTest::mouseClick(f.screen->BtCourriels, Qt::LeftButton);
    QCOMPARE(f.texts(), QStringList{"Impossible d'ouvrir le fichier " +
                                    Q(f.club.exerciseFolder() / "Joueur.DBP")});
    QCOMPARE(f.desktop.messages[0].kind, MessageKind::kError);
  }

  void screenshotsAndPdfPages() {
    if (testing::ScreenshotFolder().isEmpty()) QSKIP("VANTREL_SCREENSHOTS names no folder");
    Fixture f;
    f.activate(kConvocationTeamsCaption);
    f.screen->setEventData(SampleEvent());
    f.screen->show();
    testing::SaveScreenshot(f.screen.get(), "convocation-presentation.png");
    f.fetch(TeamsGroupPage(), {f.year("groupe")});
    testing::SaveScreenshot(f.screen.get(), "convocation-page.png");
    PrintToPdf(*f.screen, testing::ScreenshotPath("quatre.pdf"));

    Fixture p;
    p.activate(kConvocationPairsCaption);
    competitions::EventData event = SampleEvent();
    event[3] = "Championnat de France Mixte par paires";
    event[5] = "Finale de ligue";
    p.screen->setEventData(event);
    p.fetch(
        testing::RegistrantPage(ListKind::kGroup, ConvocationMode::kPairs, testing::SamplePairs()),
        {p.year("paires")});
    PrintToPdf(*p.screen, testing::ScreenshotPath("paires.pdf"));

    // A long list over several pages, with long modalities.
    Fixture l;
    l.activate(kConvocationTeamsCaption);
    event = SampleEvent();
    event[7] = event[7] + " " + event[7] + " " + event[7];
    event[3] = "Championnat de France Interclubs par quatre - Division Nationale 4 - Zone Nord";
    event[10] =
        "Toute \xE9quipe absente sans pr\xE9venir est d\xE9"
        "clar\xE9"
        "e forfait et ne "
        "peut s'inscrire \xE0 la phase suivante ; une \xE9quipe incompl\xE8te \xE0 "
        "l'heure du d\xE9"
        "but est p\xE9nalis\xE9"
        "e.";
    l.screen->setEventData(event);
    std::vector<testing::PageEntry> teams;
    for (int round = 0; round < 10; ++round) {
      for (const testing::PageEntry& team : testing::SampleTeams()) teams.push_back(team);
    }
    l.fetch(testing::RegistrantPage(ListKind::kCompetition, ConvocationMode::kTeams, teams),
            {l.year("longue")});
    PrintToPdf(*l.screen, testing::ScreenshotPath("quatre-longue.pdf"));
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::ConvocationScreenTest)
#include "convocation_screen_test.moc"
