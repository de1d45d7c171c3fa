#include "accounting/settings_screen.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "app/main_window_screen.h"
#include "core/record_file.h"
#include "core/text_helpers.h"
#include "platform/record_grid.h"
#include "platform/text.h"
#include "screen_fixture.h"

namespace vantrel {

namespace fs = std::filesystem;
using platform::Button;
using platform::MessageKind;
using testing::CrLfBytes;
using testing::ReadFile;
using testing::SaveScreenshot;
using testing::ScriptedPlatform;
using testing::WriteFile;

namespace {

const Lines kChart = {"5120;Banque - compte courant;Bilan;V;2026-2027;",
                      "5300;Caisse;Bilan;V;2026-2027;",
                      "7560;Cotisations des membres;R\xe9sultat;C;2026-2027;",
                      "7561;Licences f\xe9"
                      "d\xe9rales;R\xe9sultat;C;2026-2027;"};

// A member whose dues line 0 is 7560 at 4000 posted, paid by 5120; field 69 "NON".
std::string Member() {
  std::string line =
      "00123456;M.;DUPONT;J\xe9r\xf4me;12;;;;;75001;PARIS;;;;;21/06/1958;;68;"
      "12/09/2026;;7560;Cotisations;4000;V;";
  for (int i = 1; i < 8; ++i) line += ";;;F;";
  line += "5120;Banque;4000;V;";
  for (int i = 1; i < 4; ++i) line += ";;;F;";
  return line + "0;NON;";
}

// A club with a main window (for the accounting menu) and the settings screen.
struct Fixture : testing::ClubScreenFixture {
  Fixture() {
    write("Plan_Comptable.DBP", kChart);
    write("Recette_Joueur.DBP", {"7560;Cotisations des membres;5000"});
    write("Versement_Joueur.DBP", {});
    write("Joueur.DBP", {Member()});
    write("Journal.dbp", {"01/10/2026;x;5120;B;100;;;;;;;;;;;;;;;;;;"});
    context.settings.programFolder = club.path();
    desktop.headAnswers.clear();
    window = std::make_unique<TFichFprg>(context);
    window->startUp();
    screen = std::make_unique<TFichFPar>(context);
    screen->show();
    screen->activated();
  }
  QString cell(RecordGrid* grid, int row, int column) const {
    return grid->model().index(row, column).data().toString();
  }
  std::unique_ptr<TFichFprg> window;
  std::unique_ptr<TFichFPar> screen;
};

}  // namespace

class SettingsScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void activationRebuildsTheListsFromTheChart() {
    Fixture f;
    TFichFPar& s = *f.screen;
    QCOMPARE(s.windowTitle(),
             QStringLiteral("Paramètrages et personnalisation du logiciel OU Nouvelle Saison"));
    QCOMPARE(s.StrGrRecette->model().rowCount(), 2);
    QCOMPARE(f.cell(s.StrGrRecette, 0, 0), QStringLiteral(">"));
    QCOMPARE(f.cell(s.StrGrRecette, 0, 3), QStringLiteral("50,00"));
    QCOMPARE(f.cell(s.StrGrRecette, 1, 3), QStringLiteral("0,00"));
    QCOMPARE(f.cell(s.StrGrVersement, 1, 2), QStringLiteral("Caisse"));
    QCOMPARE(ReadFile(f.folder() / "Recette_Joueur.DBP"),
             std::string("7560;Cotisations des membres;5000\r\n7561;Licences f\xe9"
                         "d\xe9rales;0\r\n"));
    QCOMPARE(s.EditEntite->text(), QStringLiteral("Ardevanne"));
    QCOMPARE(s.EditAnnee->text(), QStringLiteral("2026-2027"));
    QCOMPARE(s.Edit1->text(), QStringLiteral("7560"));
    QCOMPARE(s.Edit3->text(), QStringLiteral("5000"));
    QVERIFY(!s.BtMemorisation->isEnabled());

    // 7561 unlinked in the chart: it leaves the list at the next activation.
    Lines relinked = kChart;
    relinked[3] =
        "7561;Licences f\xe9"
        "d\xe9rales;R\xe9sultat;N;2026-2027;";
    f.write("Plan_Comptable.DBP", relinked);
    s.deactivated();
    s.activated();
    QCOMPARE(s.StrGrRecette->model().rowCount(), 1);
    QCOMPARE(ReadFile(f.folder() / "Recette_Joueur.DBP"),
             std::string("7560;Cotisations des membres;5000\r\n"));
  }

  void modifierChangesTheSelectedAmount() {
    Fixture f;
    TFichFPar& s = *f.screen;
    QTest::mouseClick(s.BtRecSuivant, Qt::LeftButton);
    QCOMPARE(s.Edit1->text(), QStringLiteral("7561"));
    f.type(s.Edit3, QStringLiteral("3200"));
    QTest::mouseClick(s.BtModifier, Qt::LeftButton);
    QCOMPARE(f.cell(s.StrGrRecette, 1, 3), QStringLiteral("32,00"));
    QCOMPARE(ReadFile(f.folder() / "Recette_Joueur.DBP"),
             std::string("7560;Cotisations des membres;5000\r\n7561;Licences f\xe9"
                         "d\xe9rales;3200;\r\n"));
    f.type(s.Edit3, QStringLiteral("32,00"));
    QTest::mouseClick(s.BtModifier, Qt::LeftButton);
    QCOMPARE(f.desktop.messages.size(), std::size_t{1});
    QCOMPARE(f.desktop.messages[0].text,
             QStringLiteral("'32,00' n'est pas une valeur entière correcte"));
  }

  void memorisationStoresTheNames() {
    Fixture f;
    TFichFPar& s = *f.screen;
    QTest::keyClicks(s.EditSigle, QStringLiteral("X"));
    QVERIFY(s.BtMemorisation->isEnabled());
    f.type(s.EditEntite, QStringLiteral("Bridge Club"));
    QTest::mouseClick(s.BtMemorisation, Qt::LeftButton);
    QVERIFY(!s.BtMemorisation->isEnabled());
    const Settings read = LoadSettings(f.club.path());
    QCOMPARE(read.entity, std::string("Bridge Club"));
    QCOMPARE(read.shortName, std::string("KVRX"));
    QCOMPARE(f.window->PanelEntite->text(), QStringLiteral("Bridge Club"));
  }

  void newExerciseIsCreatedWithFourFilesAndNoJournal() {
    Fixture f;
    TFichFPar& s = *f.screen;
    f.type(s.EdExercice, QStringLiteral("2027-2028"));
    QVERIFY(s.BtChangement->isEnabled());
    f.desktop.answers = {Button::kYes};
    QTest::mouseClick(s.BtNouvel, Qt::LeftButton);
    QCOMPARE(f.desktop.messages.size(), std::size_t{1});
    QCOMPARE(f.desktop.messages[0].text,
             QStringLiteral("Vous voulez créer un nouvel exercice :\n\r2027-2028"));
    const fs::path created = f.club.path() / "2027-2028";
    QStringList names;
    for (const auto& item : fs::directory_iterator(created)) {
      names << QString::fromStdString(item.path().filename().string());
    }
    names.sort();
    QCOMPARE(names, (QStringList{"Joueur.DBP", "Plan_Comptable.DBP", "Recette_Joueur.DBP",
                                 "Versement_Joueur.DBP"}));
    QCOMPARE(f.context.settings.exercise, std::string("2027-2028"));
    QCOMPARE(LoadSettings(f.club.path()).exercise, std::string("2027-2028"));
    QCOMPARE(s.EditAnnee->text(), QStringLiteral("2027-2028"));
    QCOMPARE(f.window->accountingMenu()->title(), QStringLiteral("&Comptabilité 2027-2028"));
    QVERIFY(!s.BtChangement->isEnabled());
  }

  void newExerciseWithAMissingFileSwitchesNothing() {
    Fixture f;
    fs::remove(f.folder() / "Versement_Joueur.DBP");
    TFichFPar& s = *f.screen;
    f.type(s.EdExercice, QStringLiteral("2027-2028"));
    f.desktop.answers = {Button::kYes};
    QTest::mouseClick(s.BtNouvel, Qt::LeftButton);
    QCOMPARE(f.desktop.messages.size(), std::size_t{2});
    QCOMPARE(f.desktop.messages[1].kind, MessageKind::kError);
    QCOMPARE(f.desktop.messages[1].text, QStringLiteral("Impossible d'ouvrir le fichier ") +
                                             PathToQString(f.folder() / "Versement_Joueur.DBP"));
    QVERIFY(!fs::exists(f.club.path() / "2027-2028"));
    QCOMPARE(f.context.settings.exercise, std::string("2026-2027"));
    QCOMPARE(s.EditAnnee->text(), QStringLiteral("2026-2027"));
  }

  void anExistingExerciseIsSwitchedToWithoutAQuestion() {
    Fixture f;
    WriteFile(f.club.path() / "2025-2026" / "plan_comptable.dbp", CrLfBytes(kChart));
    WriteFile(f.club.path() / "2025-2026" / "Recette_Joueur.DBP", "7560;Cotisations;3000\r\n");
    TFichFPar& s = *f.screen;
    f.type(s.EdExercice, QStringLiteral("2025-2026"));
    QTest::mouseClick(s.BtNouvel, Qt::LeftButton);
    QCOMPARE(f.desktop.messages.size(), std::size_t{0});
    QCOMPARE(f.context.settings.exercise, std::string("2025-2026"));
    QCOMPARE(f.cell(s.StrGrRecette, 0, 3), QStringLiteral("30,00"));
  }

  void declinedCreationOpensTheFolderChoice() {
    Fixture f;
    WriteFile(f.club.path() / "Anciens" / "2020-2021" / "Plan_Comptable.DBP", CrLfBytes(kChart));
    TFichFPar& s = *f.screen;
    f.type(s.EdExercice, QStringLiteral("2027-2028"));
    f.desktop.answers = {Button::kNo};
    f.desktop.fileAnswers = {PathToQString(f.club.path() / "Anciens" / "2020-2021")};
    QTest::mouseClick(s.BtNouvel, Qt::LeftButton);
    QCOMPARE(f.desktop.fileDialogCaptions, (std::vector<QString>{"Changement d'exercice"}));
    QVERIFY(!fs::exists(f.club.path() / "2027-2028"));
    QCOMPARE(f.context.settings.exercise, std::string("Anciens/2020-2021"));
    // A folder without a chart, or a cancelled choice, changes nothing.
    f.type(s.EditAnnee, QStringLiteral("absent"));
    f.desktop.fileAnswers = {std::nullopt};
    QTest::mouseClick(s.BtChangement, Qt::LeftButton);
    QCOMPARE(s.EditAnnee->text(), QStringLiteral("Anciens/2020-2021"));
    QCOMPARE(f.context.settings.exercise, std::string("Anciens/2020-2021"));
  }

  void duesResetAsksThenOwesTheNewAmounts() {
    Fixture f;
    TFichFPar& s = *f.screen;
    const std::string before = ReadFile(f.folder() / "Joueur.DBP");
    f.desktop.answers = {Button::kNo};
    QTest::mouseClick(s.BtCotisations, Qt::LeftButton);
    QCOMPARE(f.desktop.messages[0].defaultButton, Button::kNo);
    QVERIFY(f.desktop.messages[0].text.startsWith(
        QStringLiteral("Attention vous allez pour chaque adhérent : \n\r- Enlever")));
    QCOMPARE(ReadFile(f.folder() / "Joueur.DBP"), before);
    f.desktop.answers = {Button::kYes};
    QTest::mouseClick(s.BtCotisations, Qt::LeftButton);
    const std::string member = ReadLines(f.folder() / "Joueur.DBP").at(0);
    QCOMPARE(FieldAt(member, 20), std::string("7560"));
    QCOMPARE(FieldAt(member, 21), std::string("Cotisations des membres"));
    QCOMPARE(FieldAt(member, 22), std::string("5000"));
    QCOMPARE(FieldAt(member, 23), std::string("F"));
    QCOMPARE(FieldAt(member, 52), std::string());
    QCOMPARE(FieldAt(member, 55), std::string("F"));
    QCOMPARE(FieldAt(member, 68), std::string("-5000"));
    QCOMPARE(ExtractField(member, 69), std::string("NON"));
    QCOMPARE(FieldAt(member, 18), std::string("12/09/2026"));
  }

  void withoutAnExerciseTheScreenOpensQuietly() {
    Fixture f;
    f.context.settings.exercise.clear();
    f.screen->deactivated();
    f.screen->activated();
    QCOMPARE(f.desktop.messages.size(), std::size_t{0});
    QCOMPARE(f.screen->StrGrRecette->model().rowCount(), 0);
    QCOMPARE(f.screen->EditAnnee->text(), QString());
    QVERIFY(!f.screen->BtModifier->isEnabled());
  }

  void looksRight() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(f.screen.get()));
    SaveScreenshot(f.screen.get(), QStringLiteral("settings.png"));
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::SettingsScreenTest)
#include "settings_screen_test.moc"
