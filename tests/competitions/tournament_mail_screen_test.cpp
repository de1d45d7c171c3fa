// The tournament mail screen: the club software's CSV opened, séances chosen, mail sent.
#include "competitions/tournament_mail_screen.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/main_window_screen.h"
#include "competitions/registrant_pages.h"
#include "core/cp1252.h"
#include "platform/file_filter.h"
#include "support/screenshots.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace vantrel {

namespace fs = std::filesystem;
using platform::MessageKind;
using testing::ProgramFolder;
using testing::ScriptedPlatform;
using testing::WriteFile;

namespace {

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

constexpr char kHeader[] = "Seance;Date;Jour;Moment;Type;Table;Position;Licence;Nom;\r\n";

std::string Line(const std::string& seance, const std::string& date, const std::string& day,
                 const std::string& part, const std::string& licence) {
  return seance + ";" + date + ";" + day + ";" + part + ";R\xE9gularit\xE9;1;N;" + licence +
         ";X;\r\n";
}

// Members "00000001" to "n" with the addresses j1@x.fr ...; Jean DUPONT first.
std::string Members(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) {
    const std::string n = std::to_string(i);
    text += testing::MemberLine(std::string(8 - n.size(), '0') + n, "M.", "JOUEUR" + n, "Luc",
                                "j" + n + "@x.fr") +
            "\r\n";
  }
  return text;
}

struct Fixture {
  explicit Fixture(const std::string& members) : context(desktop) {
    WriteFile(club.exerciseFolder() / "Joueur.DBP", members);
    context.settings = club.settings();
    screen = std::make_unique<TFichFCourriels>(context);
  }

  void open(const std::string& name, const std::string& csv) {
    WriteFile(club.path() / name, csv);
    desktop.fileAnswers = {Q(club.path() / name)};
    QTest::mouseClick(screen->BtOuvrir, Qt::LeftButton);
  }

  void choose(const QString& seance) {
    const int index = screen->CbSeance->findText(seance);
    screen->CbSeance->setCurrentIndex(index);
    screen->onSeance(index);
  }

  QStringList items() const {
    QStringList result;
    for (int i = 0; i < screen->CbSeance->count(); ++i) result << screen->CbSeance->itemText(i);
    return result;
  }
  QStringList urls() const { return desktop.openedUrlTexts(); }

  ProgramFolder club;
  ScriptedPlatform desktop;
  AppContext context;
  std::unique_ptr<TFichFCourriels> screen;
};

}  // namespace

class TournamentMailScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void creationHidesTheChoiceAndShowsTheLabels() {
    Fixture f(Members(3));
    TFichFCourriels& s = *f.screen;
    QCOMPARE(
        s.windowTitle(),
        QStringLiteral("Envoi de courriels aux joueurs ayant disputé un tournoi de régularité"));
    QCOMPARE(s.LbTitre1->text(), QStringLiteral("Courriel aux joueurs à partir du fichier créé "));
    QCOMPARE(s.LbTitre2->text(), QStringLiteral("  avec FfbClubNet Contenant tous les tournois"));
    QCOMPARE(s.LbTitre3->text(),
             QStringLiteral("Préalablement transformer le fichier xls en fichier csv"));
    QCOMPARE(s.BtOuvrir->text(), QStringLiteral("Ouvrir le fichier .csv"));
    s.show();
    QCOMPARE(s.CbSeance->isVisible(), false);
    QCOMPARE(s.EdDate->isVisible(), false);
    QCOMPARE(s.BtEnvoi->isVisible(), false);
    QCOMPARE(
        (QStringList{s.EdDate->text(), s.EdJour->text(), s.EdMoment->text(), s.EdType->text()}),
        (QStringList{"12/12/2018", "Vendredi", "Après-Midi", "Régularité"}));
    QCOMPARE(f.desktop.messages.size(), std::size_t(0));
  }

  void theMenuItemShowsTheScreen() {
    Fixture f(Members(3));
    TFichFprg window(f.context);
    window.wireScreen(MenuItem::kTournamentMail, *f.screen);
    QCOMPARE(window.action(MenuItem::kTournamentMail)->text(),
             QStringLiteral("Courriels Joueurs Tournoi"));
    window.action(MenuItem::kTournamentMail)->trigger();
    QCOMPARE(f.screen->isVisible(), true);
    QTest::mouseClick(f.screen->BtQuitter, Qt::LeftButton);
    QCOMPARE(f.screen->isVisible(), false);
  }

  void aMissingMemberFileIsReportedAtCreation() {
    ScriptedPlatform desktop;
    AppContext context(desktop);
    ProgramFolder club;
    context.settings = club.settings();
    TFichFCourriels screen(context);
    QCOMPARE(desktop.messages.size(), std::size_t(1));
    QCOMPARE(desktop.messages[0].kind, MessageKind::kError);
    QCOMPARE(desktop.messages[0].text,
             "Impossible d'ouvrir le fichier " + Q(club.exerciseFolder() / "Joueur.DBP"));
  }

  void openListsEverySeanceOnceAndKeepsThemAcrossFiles() {
    Fixture f(Members(3));
    f.screen->show();
    f.open("challenge.csv", std::string(kHeader) + Line("S1", "14/12/2018", "Vendredi", "AM", "1") +
                                Line("S2", "15/12/2018", "Samedi", "PM", "2") +
                                Line("s1", "14/12/2018", "Vendredi", "AM", "3") +
                                Line("S1", "14/12/2018", "Vendredi", "AM", "2"));
    QCOMPARE(f.desktop.fileDialogCaptions.back(),
             QStringLiteral("Fichier des tournois FfbClubNet"));
    QCOMPARE(f.desktop.fileDialogFolders.back(), Q(f.club.path()) + "/cha*.csv");
    QCOMPARE(f.desktop.fileDialogFilters.back(), QtFileFilter("au groupe (*.csv)|*.csv"));
    QCOMPARE(f.screen->CbSeance->isVisible(), true);
    QCOMPARE(f.items(), (QStringList{"S1", "S2"}));
    QCOMPARE(f.screen->CbSeance->currentIndex(), -1);
    QCOMPARE(f.screen->CbSeance->placeholderText(), QStringLiteral("Séance"));
    f.open("autre.csv", std::string(kHeader) + Line("S3", "", "", "", "1"));
    QCOMPARE(f.items(), (QStringList{"S1", "S2", "S3"}));
    // A file of fewer than two lines hides the list and keeps it.
    f.open("vide.csv", kHeader);
    QCOMPARE(f.screen->CbSeance->isVisible(), false);
    QCOMPARE(f.items().size(), 3);
  }

  void choosingASeanceShowsItsLastLineAndFindsItsMembers() {
    Fixture f(Members(3));
    f.screen->show();
    f.open("challenge.csv", std::string(kHeader) +
                                Line("S1", "14/12/2018", "Vendredi", "Apres-Midi", "00000001") +
                                Line("S1", "14/12/2018", "Vendredi", "Apres-Midi", "00000002") +
                                Line("S2", "15/12/2018", "Samedi", "Soir", "00000003") +
                                Line("S1", "14/12/2018", "Vendredi", "Apres-Midi", "00000001") +
                                Line("S1", "21/12/2018", "Vendredi", "Soir", "00000001"));
    f.choose("S1");
    QCOMPARE(f.screen->EdDate->isVisible(), true);
    QCOMPARE((QStringList{f.screen->EdDate->text(), f.screen->EdJour->text(),
                          f.screen->EdMoment->text(), f.screen->EdType->text()}),
             (QStringList{"21/12/2018", "Vendredi", "Soir", "Régularité"}));
    QCOMPARE(f.screen->BtEnvoi->isVisible(), true);
    QTest::mouseClick(f.screen->BtEnvoi, Qt::LeftButton);
    QCOMPARE(f.desktop.messages.size(), std::size_t(1));
    QCOMPARE(f.desktop.messages[0].text, QStringLiteral("Choisir son compte Courriel"));
    // Written to three times in the one message: one line each.
    QCOMPARE(f.urls(), QStringList{"mailto:j1@x.fr;j2@x.fr;j1@x.fr;j1@x.fr ?"});
    f.screen->onSeance(-1);
    QCOMPARE(f.screen->EdDate->isVisible(), false);
  }

  // A member entered on the card after start-up, then the screen activated again: his
  // address is found for the séance already chosen, and in the next choices.
  void aMemberAddedDuringTheSessionIsFoundOnActivation() {
    Fixture f(Members(2));
    f.screen->show();
    Screen card(f.context);
    f.context.tracker.windowActivated(f.screen.get());
    f.open("challenge.csv", std::string(kHeader) +
                                Line("S1", "14/12/2018", "Vendredi", "Soir", "00000003") +
                                Line("S2", "15/12/2018", "Samedi", "Soir", "00000001"));
    f.choose("S1");
    QCOMPARE(f.screen->addresses(), std::vector<std::string>{});
    QCOMPARE(f.screen->BtEnvoi->isVisible(), false);

    f.context.tracker.windowActivated(&card);
    WriteFile(f.club.exerciseFolder() / "Joueur.DBP", Members(3));
    f.context.tracker.windowActivated(f.screen.get());
    QCOMPARE(f.screen->addresses(), std::vector<std::string>{"j3@x.fr"});
    QCOMPARE(f.screen->BtEnvoi->isVisible(), true);
    f.choose("S2");
    QCOMPARE(f.screen->addresses(), std::vector<std::string>{"j1@x.fr"});

    // A member file gone meanwhile is reported and finds nobody.
    f.context.tracker.windowActivated(&card);
    fs::remove(f.club.exerciseFolder() / "Joueur.DBP");
    f.context.tracker.windowActivated(f.screen.get());
    QCOMPARE(f.desktop.messages.size(), std::size_t(1));
    QCOMPARE(f.desktop.messages[0].kind, MessageKind::kError);
    QCOMPARE(f.screen->addresses(), std::vector<std::string>{});
  }

  void caseDifferentKeysSelectOnlyTheListedSpelling() {
    Fixture f(Members(3));
    f.screen->show();
    f.open("a.csv", std::string(kHeader) + Line("Seance A", "01/02/2019", "Vendredi", "AM", "1"));
    f.open("b.csv", std::string(kHeader) + Line("SEANCE A", "08/02/2019", "Vendredi", "PM", "2"));
    QCOMPARE(f.items(), QStringList{"Seance A"});
    f.choose("Seance A");
    QCOMPARE(f.screen->EdDate->text(), QStringLiteral("12/12/2018"));
    QCOMPARE(f.screen->addresses(), std::vector<std::string>{});
    QCOMPARE(f.screen->BtEnvoi->isVisible(), false);
  }

  void aOneLineMemberFileGivesNoAddress() {
    Fixture f(Members(1));
    f.screen->show();
    f.open("a.csv", std::string(kHeader) + Line("S", "01/02/2019", "Vendredi", "AM", "1"));
    f.choose("S");
    QCOMPARE(f.screen->addresses(), std::vector<std::string>{});
    QTest::mouseClick(f.screen->BtEnvoi, Qt::LeftButton);
    QCOMPARE(f.urls(), QStringList());
  }

  void fortyNineFillTheFirstMessageAndNoAddressIsLost() {
    struct Case {
      int players;
      std::vector<int> sizes;
    };
    const Case cases[] = {{49, {49}}, {50, {49, 1}}, {230, {49, 50, 50, 50, 31}}};
    for (const Case& c : cases) {
      Fixture f(Members(c.players));
      f.screen->show();
      std::string csv = kHeader;
      for (int i = 1; i <= c.players; ++i) csv += Line("S", "", "", "", std::to_string(i));
      f.open("a.csv", csv);
      f.choose("S");
      QTest::mouseClick(f.screen->BtEnvoi, Qt::LeftButton);
      std::vector<int> sizes;
      int total = 0;
      for (const QString& url : f.urls()) {
        QVERIFY(url.startsWith("mailto:") && url.endsWith(" ?"));
        const int count = static_cast<int>(url.count('@'));
        sizes.push_back(count);
        total += count;
      }
      QCOMPARE(sizes, c.sizes);
      QCOMPARE(total, c.players);
      QVERIFY(f.urls().back().contains(QString("j%1@x.fr ?").arg(c.players)));
    }
  }

  void aFailingMailProgramStillSendsTheNextMessages() {
    Fixture f(Members(60));
    f.screen->show();
    std::string csv = kHeader;
    for (int i = 1; i <= 60; ++i) csv += Line("S", "", "", "", std::to_string(i));
    f.open("a.csv", csv);
    f.choose("S");
    f.desktop.openUrlResult = false;
    QTest::mouseClick(f.screen->BtEnvoi, Qt::LeftButton);
    QCOMPARE(f.urls().size(), 2);
    QCOMPARE(f.desktop.messages.size(), std::size_t(3));
    QCOMPARE(f.desktop.messages[1].kind, MessageKind::kWarning);
  }

  void hostileFilesNeverStopTheScreen() {
    std::string binary;
    for (int i = 0; i < 8192; ++i) binary += static_cast<char>((i * 131 + 7) % 256);
    const std::string files[] = {binary, std::string(3000, ';'), "\xC3\r\n\xC3;\xC3\r\n",
                                 std::string(1000, '\n')};
    for (const std::string& bytes : files) {
      Fixture f(Members(3));
      f.screen->show();
      f.open("x.csv", bytes);
      for (int i = 0; i < f.screen->CbSeance->count(); ++i) f.screen->onSeance(i);
      QTest::mouseClick(f.screen->BtEnvoi, Qt::LeftButton);
      for (const auto& message : f.desktop.messages) {
        QVERIFY2(message.kind != MessageKind::kError, qPrintable(message.text));
      }
    }
  }

  void screenshot() {
    if (testing::ScreenshotFolder().isEmpty()) QSKIP("VANTREL_SCREENSHOTS names no folder");
    Fixture f(Members(12));
    f.screen->show();
    std::string csv = kHeader;
    for (int i = 1; i <= 12; ++i) {
      csv += Line("T2018-12-14-AM", "14/12/2018", "Vendredi", "Apr\xE8s-Midi", std::to_string(i));
    }
    csv += Line("T2018-12-18-S", "18/12/2018", "Mardi", "Soir", "3");
    f.open("challenge.csv", csv);
    f.choose("T2018-12-14-AM");
    testing::SaveScreenshot(f.screen.get(), "tournament-mail.png");
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::TournamentMailScreenTest)
#include "tournament_mail_screen_test.moc"
