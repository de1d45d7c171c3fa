#include "app/main_window_screen.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

#include "platform/app_context.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

using vantrel::AppContext;
using vantrel::Date;
using vantrel::MenuItem;
using vantrel::TFichFprg;
using vantrel::platform::Button;
using vantrel::platform::MessageKind;
using vantrel::testing::ProgramFolder;
using vantrel::testing::ReadFile;
using vantrel::testing::ScriptedPlatform;
using vantrel::testing::WriteFile;

namespace {

const QString kSite = QStringLiteral("http://vantrel.invalid");
const QString kIndex = kSite + QStringLiteral("/arbitrage/index.html");
const QString kVersionPage = kSite + QStringLiteral("/arbitrage/Vantrel_9.19.11.html");

// A main window over a program folder, on the scripted desktop.
struct Fixture {
  ProgramFolder folder;
  ScriptedPlatform desktop;
  AppContext context{desktop};
  std::unique_ptr<TFichFprg> window;

  Fixture() { context.settings.programFolder = folder.path(); }
  void writeIni(const std::string& bytes) { WriteFile(folder.path() / "Vantrel.ini", bytes); }
  bool start() {
    window = std::make_unique<TFichFprg>(context);
    return window->startUp();
  }
};

// Captions of a menu's entries, "-" for separators, submenus followed by their own in [].
QStringList Captions(const QMenu* menu) {
  QStringList captions;
  for (QAction* action : menu->actions()) {
    if (action->isSeparator()) {
      captions << QStringLiteral("-");
    } else if (action->menu()) {
      captions << action->text() + QStringLiteral(" [") + Captions(action->menu()).join('|') +
                      QStringLiteral("]");
    } else {
      captions << action->text();
    }
  }
  return captions;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheClubAndTheWholeMenu() {
    Fixture f;
    f.desktop.headAnswers[kIndex] = false;
    QVERIFY(f.start());
    QCOMPARE(f.window->windowTitle(),
             QStringLiteral("(Version 9.19.11) Programme de gestion d'un club"));
    QCOMPARE(f.window->PanelEntite->text(), QStringLiteral("Ardevanne"));
    QCOMPARE(f.window->PanelSigle->text(), QStringLiteral("KVR"));
    QCOMPARE(f.window->PanelAnnee->text(), QStringLiteral("2026-2027"));

    QStringList top;
    for (QAction* action : f.window->menuBar()->actions()) top << action->text();
    QCOMPARE(top, (QStringList{"&Membres", "&Comptabilité 2026-2027", "Utilitaires",
                               "Compétitions/Tournois", "Informations", "&Quitter"}));
    const auto menus = f.window->menuBar()->actions();
    QCOMPARE(
        Captions(menus[0]->menu()),
        (QStringList{"&Consultation", "-", "&Edition", "Courriel", "-", "&Gestion", "-",
                     "&Importation données FFB", "-", "Remise à &zèro membres", "-", "Aides"}));
    QCOMPARE(Captions(menus[1]->menu()),
             (QStringList{"&Edition [&Plan Comptable|&Grand Livre|&Résultats|bi&Lan|&Balance]", "-",
                          "&Ecriture", "-", "Gestion Plan Comptable", "-", "Aides"}));
    QCOMPARE(Captions(menus[2]->menu()),
             (QStringList{"&Sauvegarde", "&Restauration", "-", "&Paramétrages/ Changement saison",
                          "-", "Aides"}));
    const QString cup = QStringLiteral(" [Résultats|Gestion|Classement]");
    QCOMPARE(Captions(menus[3]->menu()),
             (QStringList{"     CONVOCATIONS", "Epreuves fédérales par équipes",
                          "Epreuves fédérales par Paires", "-", "    COUPE ET CHALLENGE",
                          "1ère Coupe" + cup, "2ème Coupe" + cup, "3ème Coupe" + cup,
                          "4ème Coupe" + cup, "-", "Courriels Joueurs Tournoi", "-", "Aides"}));
    QCOMPARE(Captions(menus[4]->menu()),
             (QStringList{"&A propos ...", "&M'écrire", "-", "&Calculette", "-",
                          "Ne Pas Vérifier la mise à jour", "Site du Logiciel", "-",
                          "A&ides Générales"}));
  }

  void wiredItemsRunTheirActionAndOthersStayDisabled() {
    Fixture f;
    QVERIFY(f.start());
    QVERIFY(!f.window->action(MenuItem::kCalculator)->isEnabled());
    int shown = 0;
    f.window->wire(MenuItem::kCalculator, [&] { ++shown; });
    QVERIFY(f.window->action(MenuItem::kCalculator)->isEnabled());
    f.window->action(MenuItem::kCalculator)->trigger();
    QCOMPARE(shown, 1);
  }

  void emptyExerciseDisablesTheAccountingEntries() {
    Fixture f;
    f.writeIni("[Fichier]\r\nExercice=\r\n");
    QVERIFY(f.start());
    f.window->wire(MenuItem::kAccountingEntry, [] {});
    f.window->wire(MenuItem::kAccountingChartManagement, [] {});
    QCOMPARE(f.window->accountingMenu()->title(), QStringLiteral("&Comptabilité "));
    QVERIFY(!f.window->action(MenuItem::kAccountingEntry)->isEnabled());
    QVERIFY(!f.window->accountingMenu()->actions().first()->isEnabled());
    QVERIFY(f.window->action(MenuItem::kAccountingChartManagement)->isEnabled());

    f.writeIni("[Fichier]\r\nExercice=2026-2027\r\n");
    f.context.reloadSettings();
    QVERIFY(f.window->action(MenuItem::kAccountingEntry)->isEnabled());
    QCOMPARE(f.window->accountingMenu()->title(), QStringLiteral("&Comptabilité 2026-2027"));
  }

  void panelsFollowTheSettingsOnActivation() {
    Fixture f;
    QVERIFY(f.start());
    f.context.settings.shortName = "ABC";
    f.window->activated();
    QCOMPARE(f.window->PanelSigle->text(), QStringLiteral("ABC"));
  }

  void switchOffLastsThirtyDays_data() {
    QTest::addColumn<int>("daysBack");
    QTest::addColumn<bool>("stillOff");
    QTest::newRow("30 days") << 30 << true;
    QTest::newRow("31 days") << 31 << false;
    QTest::newRow("no date") << -1 << false;
  }
  void switchOffLastsThirtyDays() {
    QFETCH(int, daysBack);
    QFETCH(bool, stillOff);
    Fixture f;
    const Date since = Date::FromSerial(f.desktop.todayValue.Serial() - daysBack);
    f.writeIni("[Fichier]\r\nExercice=2026-2027\r\n[MiseAjour]\r\nNoValide=1\r\n" +
               (daysBack < 0 ? std::string() : "Date=" + vantrel::FormatDate(since) + "\r\n"));
    QVERIFY(f.start());
    QCOMPARE(f.window->noCheckAction()->isChecked(), stillOff);
    QCOMPARE(f.desktop.headRequests.empty(), stillOff);
    const bool writtenOff = vantrel::LoadUpdateSwitch(f.folder.path()).switchedOff;
    QCOMPARE(writtenOff, stillOff);
  }

  void versionCheckAsksOnlyWhenTheVersionPageIsMissing_data() {
    QTest::addColumn<bool>("index");
    QTest::addColumn<bool>("version");
    QTest::addColumn<int>("requests");
    QTest::addColumn<bool>("asked");
    QTest::newRow("index 200, version 404") << true << false << 2 << true;
    QTest::newRow("index unreachable") << false << false << 1 << false;
    QTest::newRow("both 200") << true << true << 2 << false;
  }
  void versionCheckAsksOnlyWhenTheVersionPageIsMissing() {
    QFETCH(bool, index);
    QFETCH(bool, version);
    QFETCH(int, requests);
    QFETCH(bool, asked);
    Fixture f;
    f.desktop.headAnswers[kIndex] = index;
    f.desktop.headAnswers[kVersionPage] = version;
    f.desktop.answers.push_back(Button::kNo);
    QVERIFY(f.start());
    QCOMPARE(static_cast<int>(f.desktop.headRequests.size()), requests);
    QCOMPARE(f.desktop.messages.size() == 1, asked);
    QVERIFY(f.desktop.openedUrls.empty());
  }

  void yesToTheNewVersionOpensTheDownloadPageAndEnds() {
    Fixture f;
    f.desktop.headAnswers[kIndex] = true;
    f.desktop.answers.push_back(Button::kYes);
    QVERIFY(!f.start());
    QCOMPARE(f.desktop.messages.size(), size_t{1});
    const auto& question = f.desktop.messages.front();
    QCOMPARE(question.kind, MessageKind::kInformation);
    QCOMPARE(question.text,
             QStringLiteral("Il éxiste une nouvelle version de Vantrel\n\n    qui peut être "
                            "téléchargée sur :\n\n           http://vantrel.invalid\n\n\n\n "
                            "Voullez vous la télécharger ?\n"));
    QCOMPARE(question.buttons, (std::vector<Button>{Button::kYes, Button::kNo}));
    QCOMPARE(f.desktop.openedUrls.size(), size_t{1});
    QCOMPARE(f.desktop.openedUrls.front().toString(),
             QStringLiteral("http://vantrel.invalid/vantrel.php"));
  }

  void togglingTheCheckWritesTheDateAndTheMark() {
    Fixture f;
    QVERIFY(f.start());
    f.window->noCheckAction()->trigger();
    QVERIFY(f.window->noCheckAction()->isChecked());
    auto state = vantrel::LoadUpdateSwitch(f.folder.path());
    QVERIFY(state.switchedOff);
    QCOMPARE(state.since, f.desktop.todayValue);
    f.window->noCheckAction()->trigger();
    QVERIFY(!vantrel::LoadUpdateSwitch(f.folder.path()).switchedOff);
    // The rest of the file is kept.
    QVERIFY(ReadFile(f.folder.path() / "Vantrel.ini").find("Sigle=KVR") != std::string::npos);
  }

  void resetMembersEmptiesTheFileOnlyOnYes() {
    Fixture f;
    QVERIFY(f.start());
    const auto members = f.folder.exerciseFolder() / "Joueur.DBP";
    WriteFile(members, "00000001;M.;A;B;\r\n");
    f.desktop.answers = {Button::kNo};
    f.window->onResetMembers();
    QCOMPARE(ReadFile(members), std::string("00000001;M.;A;B;\r\n"));
    // Enter presses the default button, "&Non".
    f.window->onResetMembers();
    QCOMPARE(ReadFile(members), std::string("00000001;M.;A;B;\r\n"));
    QCOMPARE(f.desktop.messages.back().defaultButton, Button::kNo);
    QCOMPARE(f.desktop.messages.back().buttons, (std::vector<Button>{Button::kYes, Button::kNo}));
    f.desktop.answers = {Button::kYes};
    f.window->onResetMembers();
    QVERIFY(std::filesystem::exists(members));
    QCOMPARE(ReadFile(members), std::string());
    QCOMPARE(ReadFile(f.folder.exerciseFolder() / "Joueur.DBP.bak"),
             std::string("00000001;M.;A;B;\r\n"));
    QCOMPARE(f.desktop.messages.back().text,
             QStringLiteral("Attention vous allez détruire le fichier des membres "));
    QCOMPARE(f.desktop.messages.back().kind, MessageKind::kWarning);
    QCOMPARE(f.desktop.messages.size(), std::size_t(3));
    // A second reset, one click too many: the copy keeps the members.
    f.desktop.answers = {Button::kYes};
    f.window->onResetMembers();
    QCOMPARE(ReadFile(members), std::string());
    QCOMPARE(ReadFile(f.folder.exerciseFolder() / "Joueur.DBP.bak"),
             std::string("00000001;M.;A;B;\r\n"));
  }

  // The mark follows the file: a settings file that cannot be written keeps the mark.
  void markChangesOnlyOnceTheFileIsWritten() {
    Fixture f;
    QVERIFY(f.start());
    QVERIFY(!f.window->noCheckAction()->isChecked());
    std::filesystem::remove(f.folder.path() / "Vantrel.ini");
    std::filesystem::create_directory(f.folder.path() / "Vantrel.ini");
    f.window->noCheckAction()->trigger();
    QVERIFY(!f.window->noCheckAction()->isChecked());
    QCOMPARE(f.desktop.messages.size(), std::size_t(1));
    QCOMPARE(f.desktop.messages[0].kind, MessageKind::kError);
    std::filesystem::remove(f.folder.path() / "Vantrel.ini");
    f.window->noCheckAction()->trigger();
    QVERIFY(f.window->noCheckAction()->isChecked());
    QVERIFY(vantrel::LoadUpdateSwitch(f.folder.path()).switchedOff);
  }

  void mailAndSiteWarnWhenTheDesktopFails() {
    Fixture f;
    QVERIFY(f.start());
    f.window->onWriteToAuthor();
    QCOMPARE(f.desktop.openedUrls.back().toString(QUrl::FullyDecoded),
             QStringLiteral("mailto:auteur@vantrel.invalid?subject=Vantrel 9.19.11"));
    QVERIFY(f.desktop.messages.empty());
    f.desktop.openUrlResult = false;
    f.window->onWriteToAuthor();
    QCOMPARE(
        f.desktop.messages.back().text,
        QStringLiteral("Le courier électronique par défaut\r\rn'est pas installé correctement"));
    QCOMPARE(f.desktop.messages.back().buttons, std::vector<Button>{Button::kYes});
    f.window->onSoftwareSite();
    QCOMPARE(f.desktop.messages.back().text,
             QStringLiteral("Le logiciel de surff par défaut\r\rn'est pas installé correctement"));
  }

  void escapeNeitherHidesNorEndsTheProgram() {
    Fixture f;
    QVERIFY(f.start());
    int quits = 0;
    QObject::connect(f.window.get(), &TFichFprg::quitRequested, [&] { ++quits; });
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QTest::keyClick(f.window.get(), Qt::Key_Escape);
    QCOMPARE(f.window->isVisible(), true);
    QCOMPARE(quits, 0);
  }

  // Each "Aides" item of the menu opens its guide of the program folder with the desktop's
  // reader; a missing guide, or a desktop with no PDF reader, is said in a warning.
  void helpItemsOpenTheirDocuments_data() {
    QTest::addColumn<int>("menu");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("document");
    QTest::newRow("Membres") << 0 << "Aides"
                             << "Vantrel_Membres.pdf";
    QTest::newRow("Comptabilité") << 1 << "Aides"
                                  << "Vantrel_Comptabilite.pdf";
    QTest::newRow("Utilitaires") << 2 << "Aides"
                                 << "Vantrel_Exercice.pdf";
    QTest::newRow("Compétitions") << 3 << "Aides"
                                  << "Vantrel_Convocations.pdf";
    QTest::newRow("Informations") << 4 << "A&ides Générales"
                                  << "Vantrel_Informations.pdf";
  }
  void helpItemsOpenTheirDocuments() {
    QFETCH(int, menu);
    QFETCH(QString, caption);
    QFETCH(QString, document);
    Fixture f;
    f.desktop.headAnswers[kIndex] = false;
    QVERIFY(f.start());
    QAction* item = nullptr;
    for (QAction* action : f.window->menuBar()->actions().at(menu)->menu()->actions()) {
      if (action->text() == caption) item = action;
    }
    QVERIFY(item != nullptr);
    QCOMPARE(item->isEnabled(), true);
    const std::filesystem::path path = f.folder.path() / document.toStdString();

    // Missing: the warning, and nothing handed to the desktop.
    item->trigger();
    QCOMPARE(f.desktop.openedUrls.size(), std::size_t{0});
    QCOMPARE(f.desktop.messageTexts(),
             QStringList{QStringLiteral("Le document d'aide ") + document +
                         QStringLiteral(" est introuvable dans le dossier du programme.")});
    QCOMPARE(f.desktop.messages.back().kind, MessageKind::kWarning);
    QCOMPARE(f.desktop.messages.back().buttons, std::vector<Button>{Button::kOk});

    // Present: opened, nothing said.
    WriteFile(path, "%PDF-1.4\n");
    item->trigger();
    QCOMPARE(f.desktop.openedUrls.size(), std::size_t{1});
    QCOMPARE(f.desktop.openedUrls.back().toLocalFile(), QString::fromStdString(path.string()));
    QCOMPARE(f.desktop.messages.size(), std::size_t{1});

    // Present, but the desktop cannot open a PDF: said too.
    f.desktop.openUrlResult = false;
    item->trigger();
    QCOMPARE(f.desktop.messages.size(), std::size_t{2});
    QCOMPARE(f.desktop.messages.back().text,
             QStringLiteral("Le document d'aide ") + document +
                 QStringLiteral(" n'a pas pu être ouvert : aucun programme de lecture des "
                                "fichiers PDF ne semble installé sur cet ordinateur."));
  }

  // A guide copied from Windows in other letter cases is found all the same.
  void helpFindsTheDocumentWhateverItsCase() {
    Fixture f;
    f.desktop.headAnswers[kIndex] = false;
    QVERIFY(f.start());
    WriteFile(f.folder.path() / "VANTREL_MEMBRES.PDF", "%PDF-1.4\n");
    f.window->onOpenHelp(QStringLiteral("Vantrel_Membres.pdf"));
    QCOMPARE(f.desktop.messages.size(), std::size_t{0});
    QCOMPARE(f.desktop.openedUrls.back().toLocalFile(),
             QString::fromStdString((f.folder.path() / "VANTREL_MEMBRES.PDF").string()));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_screen_test.moc"
