#include <QApplication>
#include <QBarCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPieSeries>
#include <QPieSlice>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QSpinBox>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <map>

#include "core/text_helpers.h"
#include "members/consultation_screen.h"
#include "members/import_screen.h"
#include "members/listing_screen.h"
#include "members/member_file.h"
#include "platform/text.h"
#include "reports/page_render.h"
#include "support/modal_windows.h"
#include "support/screenshots.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace vantrel {

using platform::Button;
using platform::MessageKind;
using testing::ScriptedPlatform;
namespace field = members::field;

namespace {

// A report's pages as a PDF beside the screenshots (support/screenshots.h), when kept.
void SavePdf(reports::Report* report, const QString& name) {
  const QString file = testing::ScreenshotPath(name);
  if (file.isEmpty()) return;
  QString error;
  QVERIFY2(reports::WritePdfFile(report->prepare(), file, &error), qPrintable(error));
}

std::string Member(const std::map<int, std::string>& fields) {
  members::MemberRecord record;
  for (const auto& [k, value] : fields) record.set(k, value);
  return record.ToLine();
}

// A club at the limits: long names, three address lines, a blank title, balances up to
// 9 999 999,99, accented names, a "&" in a name.
Lines LimitClub() {
  Lines club;
  const char* names[] = {"DUPONT",
                         "MARTIN",
                         "L\xc9"
                         "CUYER",
                         "BERNARD",
                         "NO\xcbL",
                         "THOMAS",
                         "PETIT",
                         "ROBERT",
                         "RICHARD",
                         "DURAND",
                         "DUBOIS",
                         "MOREAU",
                         "LAURENT",
                         "SIMON",
                         "MICHEL"};
  const char* firstNames[] = {"Jean", "Claire", "J\xe9r\xf4me", "Beno\xeet", "Zo\xe9"};
  for (int i = 0; i < 45; ++i) {
    std::map<int, std::string> f;
    f[field::kLicence] = std::to_string(1000100 + i * 7);
    f[field::kTitle] = i % 9 == 4 ? "" : (i % 2 ? "Mme" : "M.");
    f[field::kLastName] = std::string(names[i % 15]) + (i >= 15 ? std::to_string(i) : "");
    f[field::kFirstName] = firstNames[i % 5];
    f[field::kValueIndex] = std::to_string((i * 13) % 90 + 10);
    f[field::kAddress1] = std::to_string(i + 1) + " rue de la R\xe9publique";
    f[field::kAddress2] = i % 3 == 0 ? "R\xe9sidence Les Tilleuls, b\xe2timent C" : "";
    f[field::kAddress3] = i % 4 == 0 ? "Escalier 4, porte 12" : "";
    f[field::kPostalCode] = "750" + std::to_string(10 + i % 20);
    f[field::kTown] = i % 5 == 0 ? "Saint-R\xe9my-l\xe8s-Chevreuse" : "Paris";
    f[field::kHomePhone] = i % 4 == 1 ? "" : "01 02 03 04 " + std::to_string(10 + i);
    f[field::kOfficePhone] = i % 6 == 0 ? "01 40 50 60 70" : "";
    f[field::kMobilePhone] = i % 3 == 1 ? "06 07 08 09 " + std::to_string(10 + i) : "";
    f[field::kMail] = i % 7 == 3 ? "" : "membre" + std::to_string(i) + "@example.fr";
    f[field::kBirthDate] = "21/06/1958";
    f[field::kLicenceKind] = i % 4 == 0 ? "Licence Senior" : "Licence";
    f[field::kAge] = std::to_string(12 + (i * 17) % 80);
    f[field::kLastDuesPosting] = i % 5 == 0 ? "" : std::to_string(1 + i % 28) + "/09/2026";
    f[field::kBalance] = i % 3 == 0 ? "" : std::to_string((i % 2 ? -1 : 1) * (i * 2550));
    f[field::kMailConvocations] = i % 4 == 2 ? "NON" : "";
    club.push_back(Member(f));
  }
  // The limits themselves.
  club.push_back(Member(
      {{field::kLicence, "9999999"},
       {field::kTitle, "Mme"},
       {field::kLastName, "DE LA ROCHEFOUCAULD-MONTMORENCY"},
       {field::kFirstName, "Marie-B\xe9n\xe9\x64icte-Genevi\xe8ve"},
       {field::kValueIndex, "100"},
       {field::kAddress1, "Ch\xe2teau de la Roche-Guyon, 1 grande all\xe9\x65 des marronniers"},
       {field::kAddress2, "Domaine des Quatre Vents, pavillon des gardes"},
       {field::kAddress3, "Lieu-dit Les Hauts de Seine, BP 12345"},
       {field::kPostalCode, "95780"},
       {field::kTown, "La Roche-Guyon"},
       {field::kHomePhone, "01 34 79 74 42"},
       {field::kOfficePhone, "01 34 79 74 43"},
       {field::kMobilePhone, "06 12 34 56 78"},
       {field::kMail, "marie-benedicte.de-la-rochefoucauld@example.fr"},
       {field::kLicenceKind, "Licence Senior"},
       {field::kAge, "88"},
       {field::kBalance, "999999999"},
       {field::kLastDuesPosting, "30/09/2026"}}));
  club.push_back(Member({{field::kLicence, "9999998"},
                         {field::kTitle, "M."},
                         {field::kLastName, "DURAND & FILS"},
                         {field::kFirstName, "Paul"},
                         {field::kValueIndex, "21"},
                         {field::kAge, "31"},
                         {field::kBalance, "-999999999"},
                         {field::kMail, "paul&fils@example.fr"}}));
  return club;
}

void CopyTemplate(const std::filesystem::path& programFolder, const char* name) {
  std::filesystem::copy_file(std::filesystem::path(VANTREL_TEMPLATES_DIR) / name,
                             programFolder / name,
                             std::filesystem::copy_options::overwrite_existing);
}

}  // namespace

class MemberScreensTest : public QObject {
  Q_OBJECT

 private:
  struct Club {
    testing::ProgramFolder folder;
    ScriptedPlatform desktop;
    AppContext context{desktop};
    explicit Club(const Lines& members) {
      context.settings = folder.settings();
      members::WriteMemberFile(folder.exerciseFolder(), members);
      for (const char* name : {"Gestion_Annuaire.frf", "Gestion_Tresorerie.frf",
                               "Gestion_Assemble.frf", "Gestion_Enveloppes.frf"})
        CopyTemplate(folder.path(), name);
    }
    std::string memberFile() const {
      return testing::ReadFile(members::MemberFilePath(folder.exerciseFolder()));
    }
    QString path(const char* name) const {
      return QString::fromStdString((folder.path() / name).string());
    }
  };

  static std::string PlayerLine(const std::string& licence, const std::string& name,
                                const std::string& first, const std::string& mobile) {
    return licence + ";M.;" + name + ";" + first + ";1958-06-21;;;;;;;" + mobile + ";;;;;;";
  }

 private slots:
  // --- Import ------------------------------------------------------------------------------

  void importShowsItsCountsThenMergesOnce() {
    Club club({Member({{field::kLicence, "1"},
                       {field::kTitle, "M."},
                       {field::kLastName, "DUPONT"},
                       {field::kFirstName, "Jean"},
                       {field::kBirthDate, "21/06/1958"},
                       {field::kMobilePhone, "06 07 08 09 10"},
                       {field::kLicenceKind, " "}})});
    testing::WriteFile(club.folder.path() / "ffb.csv",
                       "Extraction FFB\r\nNum_licence;Civilite;Nom\r\n" +
                           PlayerLine("1", "Dupont", "Jean", "0611223344") + "\r\n" +
                           PlayerLine("2", "Lécuyer", "Jérôme", "") + "\r\n" +
                           PlayerLine("3", "Noël", "Benoît", "") + "\r\n");
    TFichFimp screen(club.context);
    club.desktop.fileAnswers.push_back(club.path("ffb.csv"));
    screen.activated();
    QCOMPARE(screen.ButtonImporte->isEnabled(), true);
    QCOMPARE(screen.LbComptes->text(),
             QStringLiteral("3 joueur(s) dans le fichier : 2 nouveau(x), 1 membre(s) à modifier, "
                            "0 inchangé(s)"));
    QCOMPARE(screen.ProgressBar1->maximum(), 3);
    QCOMPARE(screen.AjoutChoices[0]->isChecked(), true);
    testing::SaveScreenshot(&screen, QStringLiteral("import.png"));
    const std::string before = club.memberFile();

    // "Après accord" for changes: the new mobile is refused.
    screen.ModifChoices[1]->setChecked(true);
    club.desktop.answers = {Button::kNo};
    QTest::mouseClick(screen.ButtonImporte, Qt::LeftButton);
    QCOMPARE(club.desktop.messages.size(), 1u);
    QCOMPARE(club.desktop.messages[0].kind, MessageKind::kConfirmation);
    QCOMPARE(club.desktop.messages[0].defaultButton, Button::kNo);
    QCOMPARE(club.desktop.messages[0].text,
             QStringLiteral("Pour la fiche : M. DUPONT Jean\rModifier : 06 07 08 09 10\r"
                            "Par : 06 11 22 33 44"));
    QCOMPARE(screen.isVisible(), false);
    const Lines after = members::ReadMemberFile(club.folder.exerciseFolder());
    QCOMPARE(after.size(), 3u);
    QCOMPARE(ToQString(FieldAt(after[0], field::kMobilePhone)), QStringLiteral("06 07 08 09 10"));
    QCOMPARE(ToQString(FieldAt(after[1], field::kLastName)), QStringLiteral("LÉCUYER"));
    QCOMPARE(ToQString(FieldAt(after[1], field::kFirstName)), QStringLiteral("Jérôme"));
    QCOMPARE(ToQString(FieldAt(after[2], field::kLastName)), QStringLiteral("NOËL"));
    QVERIFY(before != club.memberFile());
  }

  // A new player whose birth date cannot be read: under "Toujours" the count fails and says
  // why; "Jamais" skips him, the count follows every choice, and the others are imported.
  void importCountsAgainWithTheChoices() {
    Club club({Member({{field::kLicence, "1"},
                       {field::kTitle, "M."},
                       {field::kLastName, "DUPONT"},
                       {field::kFirstName, "Jean"},
                       {field::kAddress3, "Escalier C"},
                       {field::kOfficePhone, "01 40 50 60 70"},
                       {field::kBirthDate, "21/06/1958"},
                       {field::kAge, "68"},
                       {field::kMobilePhone, "06 07 08 09 10"},
                       {field::kLicenceKind, " "}})});
    testing::WriteFile(club.folder.path() / "ffb.csv",
                       "Num_licence;Civilite;Nom\r\n" +
                           PlayerLine("1", "Dupont", "Jean", "0611223344") + "\r\n" +
                           "2;Mme;Roux;Eve;1958-13-40;;;;;;;;;;;;;\r\n" + std::string(33, ';') +
                           "\r\n" + PlayerLine("3", "Noël", "Benoît", "") + "\r\n");
    TFichFimp screen(club.context);
    screen.show();
    club.desktop.fileAnswers.push_back(club.path("ffb.csv"));
    screen.activated();
    const QString failure = QStringLiteral("'40/13/1958' n'est pas une date correcte");
    QCOMPARE(club.desktop.messageTexts(), QStringList{failure});
    QCOMPARE(club.desktop.messages[0].kind, MessageKind::kError);
    QCOMPARE(screen.LbComptes->text(),
             QStringLiteral("Importation impossible avec ces choix : ") + failure);
    QCOMPARE(screen.ButtonImporte->isEnabled(), false);
    testing::SaveScreenshot(&screen, QStringLiteral("import-impossible.png"));

    struct Step {
      QRadioButton* choice;
      QString label;  // empty: the count fails
    };
    const Step steps[] = {
        {screen.AjoutChoices[2],
         QStringLiteral("3 joueur(s) dans le fichier : 0 nouveau(x), 1 membre(s) à modifier, "
                        "0 inchangé(s), 2 joueur(s) non ajouté(s)")},
        {screen.ModifChoices[1],
         QStringLiteral("3 joueur(s) dans le fichier : 0 nouveau(x), au plus 1 membre(s) à "
                        "modifier, au moins 0 inchangé(s), 2 joueur(s) non ajouté(s)")},
        {screen.ModifChoices[2],
         QStringLiteral("3 joueur(s) dans le fichier : 0 nouveau(x), 0 membre(s) à modifier, "
                        "1 inchangé(s), 2 joueur(s) non ajouté(s)")},
        {screen.AjoutChoices[1], QString()},  // "&Oui" to every question may meet the date
        {screen.AjoutChoices[0], QString()},
        {screen.AjoutChoices[2],
         QStringLiteral("3 joueur(s) dans le fichier : 0 nouveau(x), 0 membre(s) à modifier, "
                        "1 inchangé(s), 2 joueur(s) non ajouté(s)")},
        {screen.ModifChoices[0],
         QStringLiteral("3 joueur(s) dans le fichier : 0 nouveau(x), 1 membre(s) à modifier, "
                        "0 inchangé(s), 2 joueur(s) non ajouté(s)")},
    };
    for (const Step& step : steps) {
      step.choice->click();
      const QString expected =
          step.label.isEmpty()
              ? QStringLiteral("Importation impossible avec ces choix : ") + failure
              : step.label;
      QCOMPARE(screen.LbComptes->text(), expected);
      QCOMPARE(screen.ButtonImporte->isEnabled(), !step.label.isEmpty());
      if (step.choice == screen.ModifChoices[1])
        testing::SaveScreenshot(&screen, QStringLiteral("import-accord.png"));
    }
    QCOMPARE(club.desktop.messages.size(), 1u);  // a changed choice shows no box

    QTest::mouseClick(screen.ButtonImporte, Qt::LeftButton);
    QCOMPARE(club.desktop.messages.size(), 1u);
    QCOMPARE(screen.isVisible(), false);
    const Lines after = members::ReadMemberFile(club.folder.exerciseFolder());
    QCOMPARE(after.size(), 1u);
    QCOMPARE(ToQString(FieldAt(after[0], field::kMobilePhone)), QStringLiteral("06 11 22 33 44"));
    // What the extraction does not carry stays as the card wrote it.
    QCOMPARE(ToQString(FieldAt(after[0], field::kAddress3)), QStringLiteral("Escalier C"));
    QCOMPARE(ToQString(FieldAt(after[0], field::kOfficePhone)), QStringLiteral("01 40 50 60 70"));
  }

  // The window's activation arrives while the merge lets events run: the import goes on with
  // its own lists and activation waits for it.
  void activationDuringTheImportChangesNothing() {
    Club club({});
    std::string extraction = "Extraction\r\nNum_licence;Nom\r\n";
    for (int i = 0; i < 30; ++i)
      extraction += PlayerLine(std::to_string(i + 1), "N", "p", "") + "\r\n";
    testing::WriteFile(club.folder.path() / "ffb.csv", extraction);
    club.desktop.fileAnswers.push_back(club.path("ffb.csv"));
    TFichFimp screen(club.context);
    screen.activated();
    QCOMPARE(screen.ButtonImporte->isEnabled(), true);
    screen.show();  // its activation event waits in the queue until the merge runs events
    QTest::mouseClick(screen.ButtonImporte, Qt::LeftButton);
    QCOMPARE(club.desktop.messages.size(), 0u);
    QCOMPARE(members::ReadMemberFile(club.folder.exerciseFolder()).size(), 30u);
    QCOMPARE(screen.isVisible(), false);
  }

  void importRefusesBadFilesWithTheirMessages_data() {
    QTest::addColumn<QString>("content");  // empty: the dialog is cancelled
    QTest::addColumn<QString>("message");
    QTest::newRow("cancelled") << QString()
                               << QStringLiteral(" Vous n'avez pas choisi de fichier ");
    QTest::newRow("two lines") << QStringLiteral("Num_licence;Nom\r\n1;M.;A\r\n")
                               << QStringLiteral("Vous avez importé le mauvais type de fichier");
    QTest::newRow("no player")
        << QStringLiteral("Extraction\r\nTitre\r\nNum_licence;Nom\r\n")
        << QStringLiteral(
               "Vous n'avez aucun enregistrement: Afficher les données avant de les "
               "rapatrier dans un fichier");
    QTest::newRow("one player") << QStringLiteral("Extraction\r\nNum_licence;Nom\r\n1;M.;A\r\n")
                                << QString();
  }
  void importRefusesBadFilesWithTheirMessages() {
    QFETCH(QString, content);
    QFETCH(QString, message);
    Club club({});
    if (!content.isEmpty()) {
      testing::WriteFile(club.folder.path() / "ffb.csv", content.toStdString());
      club.desktop.fileAnswers.push_back(club.path("ffb.csv"));
    }
    TFichFimp screen(club.context);
    screen.activated();
    QCOMPARE(screen.ButtonImporte->isEnabled(), false);
    if (message.isEmpty()) {
      QCOMPARE(club.desktop.messages.size(), 0u);
    } else {
      QCOMPARE(club.desktop.messages.size(), 1u);
      QCOMPARE(club.desktop.messages[0].kind, MessageKind::kInformation);
      QCOMPARE(club.desktop.messages[0].text, message);
    }
    QCOMPARE(club.desktop.fileDialogCaptions.size(), 1u);
  }

  void stoppedImportWritesNothing() {
    Club club({Member({{field::kLicence, "1"},
                       {field::kLastName, "DUPONT"},
                       {field::kBirthDate, "21/06/1958"}})});
    testing::WriteFile(club.folder.path() / "ffb.csv", "Num_licence;Nom\r\n" +
                                                           PlayerLine("2", "A", "b", "") + "\r\n" +
                                                           PlayerLine("2X", "B", "c", "") + "\r\n" +
                                                           PlayerLine("4", "C", "d", "") + "\r\n");
    club.desktop.fileAnswers.push_back(club.path("ffb.csv"));
    TFichFimp screen(club.context);
    screen.show();
    const std::string before = club.memberFile();
    screen.activated();
    // The count already meets the bad licence: the import stays disabled.
    QCOMPARE(screen.ButtonImporte->isEnabled(), false);
    QCOMPARE(club.desktop.messages.back().kind, MessageKind::kError);
    QCOMPARE(club.desktop.messages.back().text,
             QStringLiteral("'2X' n'est pas une valeur entière correcte"));
    screen.onImporte();
    QCOMPARE(club.memberFile(), before);
    QCOMPARE(screen.isVisible(), true);
  }

  // --- Consultation ------------------------------------------------------------------------

  void consultationOrdersEqualNamesByFirstNameAfterTwoSorts() {
    Club club(
        {Member(
             {{field::kLicence, "30"}, {field::kLastName, "MARTIN"}, {field::kFirstName, "Paul"}}),
         Member({{field::kLicence, "10"},
                 {field::kLastName, "MARTIN"},
                 {field::kFirstName, "Zo\xe9"}}),
         Member(
             {{field::kLicence, "20"}, {field::kLastName, "MARTIN"}, {field::kFirstName, "Anne"}}),
         Member(
             {{field::kLicence, "40"}, {field::kLastName, "DUPONT"}, {field::kFirstName, "Luc"}})});
    TFichFGest screen(club.context);
    screen.activated();
    QCOMPARE(screen.EdNom->text(), QStringLiteral("MARTIN"));
    QCOMPARE(screen.EdPrenom->text(), QStringLiteral("Paul"));
    // "Nom" right after activation does not sort.
    screen.RbNom->click();
    QCOMPARE(ToQString(FieldAt(screen.members()[0], field::kFirstName)), QStringLiteral("Paul"));
    screen.RbLicence->click();
    screen.RbNom->click();
    QStringList order;
    for (const auto& line : screen.members())
      order << ToQString(FieldAt(line, 2) + " " + FieldAt(line, 3));
    QCOMPARE(order, (QStringList{"DUPONT Luc", "MARTIN Anne", "MARTIN Paul", "MARTIN Zoé"}));
    QCOMPARE(screen.RechNom->isVisibleTo(&screen), true);
    QCOMPARE(screen.RechLicence->isVisibleTo(&screen), false);
  }

  void consultationShowsVoteBalanceMailAndEnvelope() {
    Club club(LimitClub());
    TFichFGest screen(club.context);
    screen.show();
    screen.activated();
    QCOMPARE(screen.Bt_Debut->isEnabled(), false);
    QCOMPARE(screen.Bt_Fin->isEnabled(), true);
    screen.RbNom->click();
    QTest::keyClicks(screen.RechNom, QStringLiteral("de la"));
    QCOMPARE(screen.EdNom->text(), QStringLiteral("DE LA ROCHEFOUCAULD-MONTMORENCY"));
    QCOMPARE(screen.EdSolde->text(), QStringLiteral("9999999,99"));
    QCOMPARE(screen.LVote->text(), QStringLiteral("OUI"));
    QVERIFY(screen.LVote->styleSheet().contains(QStringLiteral("blue")));
    QCOMPARE(screen.BtCourriel->isEnabled(), true);
    testing::SaveScreenshot(&screen, QStringLiteral("consultation.png"));

    QTest::mouseClick(screen.BtCourriel, Qt::LeftButton);
    QCOMPARE(club.desktop.messages.back().text, QStringLiteral("Choisir son compte Courriel"));
    QCOMPARE(club.desktop.openedUrls.back().toString(),
             QStringLiteral("mailto:marie-benedicte.de-la-rochefoucauld@example.fr"));

    QVERIFY(screen.loadEnvelope());
    SavePdf(screen.Report, QStringLiteral("enveloppe.pdf"));
    QCOMPARE(screen.Report->values().missing(), QStringList());
    QCOMPARE(screen.Report->values().undeclared(), QStringList());
    QCOMPARE(screen.Report->values().answer(QStringLiteral("Adresse3"), 0, 0).text(),
             QStringLiteral("Lieu-dit Les Hauts de Seine, BP 12345"));
    QCOMPARE(screen.Report->values().answer(QStringLiteral("Nom"), 0, 0).text(),
             QStringLiteral("Mme DE LA ROCHEFOUCAULD-MONTMORENCY Marie-Bénédicte-Geneviève"));
    // The envelope has no title: its preview is named after the template.
    QCOMPARE(testing::WithModals([&] { screen.Report->ShowReport(); }),
             QStringList{QStringLiteral("Aperçu - Enveloppe")});

    // A member without mail and with "NON": "Courriel" disabled, the vote in red.
    screen.RbLicence->click();
    QTest::keyClicks(screen.RechLicence, QStringLiteral("1000170"));
    QCOMPARE(screen.EdNum->text(), QStringLiteral("1000170"));
    QCOMPARE(screen.EdMail->text(), QString());
    QCOMPARE(screen.BtCourriel->isEnabled(), false);
    QVERIFY(screen.LVote->styleSheet().contains(QStringLiteral("red")));
    // An emptied licence box is not a whole number.
    screen.RechLicence->clear();
    screen.onRechLicence(QString());
    QCOMPARE(club.desktop.messages.back().text,
             QStringLiteral("'' n'est pas une valeur entière correcte"));
    QCOMPARE(screen.EdNum->text(), QStringLiteral("1000170"));
  }

  void consultationOfAnEmptyFileDisablesBrowsing() {
    Club club({});
    TFichFGest screen(club.context);
    screen.activated();
    for (QPushButton* b : {screen.Bt_Debut, screen.Bt_Precedant, screen.Bt_Suivant, screen.Bt_Fin})
      QCOMPARE(b->isEnabled(), false);
    QCOMPARE(screen.BtCourriel->isEnabled(), false);
  }

  // --- Listings ----------------------------------------------------------------------------

  void listingStartsEmptyAndSelectsByName() {
    Club club(LimitClub());
    TFichFEdit screen(club.context);
    screen.setMode(TFichFEdit::Mode::kListing);
    screen.show();
    screen.activated();
    QCOMPARE(screen.windowTitle(), QStringLiteral("Edition des données après tri"));
    QCOMPARE(screen.Label1->text(), QStringLiteral("Critères de tri des 47 enregistrements"));
    QCOMPARE(screen.Label2->text(), QStringLiteral("Trouvé : 0"));
    // Nobody chosen: no slice at all (not a bare line).
    QCOMPARE(qobject_cast<QPieSeries*>(screen.ChartIndice->chart()->series().at(0))->count(), 0);
    // The selection grid takes the larger part of the window below the splitter.
    screen.resize(1180, 700);
    QCoreApplication::processEvents();
    const QList<int> parts = screen.Partage->sizes();
    QVERIFY2(parts.size() == 2 && parts[1] > parts[0],
             qPrintable(QStringLiteral("%1 / %2").arg(parts.value(0)).arg(parts.value(1))));
    QVERIFY2(screen.StrGr1->height() > 10 * 23,
             qPrintable(QString::number(screen.StrGr1->height())));
    QCOMPARE(screen.Nom.minEdit->text(), QStringLiteral("B"));
    QCOMPARE(screen.Nom.maxEdit->text(), QStringLiteral("T"));
    QCOMPARE(screen.Solde.minEdit->text(), QStringLiteral("-9999999"));
    QCOMPARE(screen.Solde.maxEdit->text(), QStringLiteral("9999999"));
    QCOMPARE(screen.GroupCotis->count(), 2);
    QCOMPARE(screen.CheckCotisation->isEnabled(), true);
    QCOMPARE(screen.StrGr1->columnCount(), 20);
    QCOMPARE(screen.BtCourriel->isVisible(), false);
    QCOMPARE(screen.Dessins->isVisible(), true);

    screen.CheckBoxNom->click();
    QCOMPARE(screen.Label2->text(), QStringLiteral("Trouvé : 47"));
    QCOMPARE(screen.StrGr1->rowCount(), 47);
    // The upper letter down to "D": the lower control's maximum follows.
    screen.Nom.maxEdit->setText(QStringLiteral("d"));
    QMetaObject::invokeMethod(screen.Nom.maxEdit, "editingFinished");
    QCOMPARE(screen.Nom.maxEdit->text(), QStringLiteral("D"));
    QCOMPARE(screen.Nom.minUp->maximum(), int('D'));
    const int byName = static_cast<int>(screen.selection().size());
    QCOMPARE(screen.Label2->text(), QStringLiteral("Trouvé : %1").arg(byName));
    // Refused: a lower letter above the lower control's maximum.
    screen.Nom.minEdit->setText(QStringLiteral("X"));
    QMetaObject::invokeMethod(screen.Nom.minEdit, "editingFinished");
    QCOMPARE(screen.Nom.minEdit->text(), QStringLiteral("B"));
    screen.Nom.maxUp->step(1);
    QCOMPARE(screen.Nom.maxEdit->text(), QStringLiteral("E"));

    auto* pie = qobject_cast<QPieSeries*>(screen.ChartIndice->chart()->series().at(0));
    QCOMPARE(pie->count(), 5);
    QCOMPARE(pie->slices().at(1)->color(), QColor(0x00, 0x80, 0x00));
    // The white slice ("Nons classés") has a black edge, visible on the white chart.
    QCOMPARE(pie->slices().at(0)->color(), QColor(0xFF, 0xFF, 0xFF));
    QCOMPARE(pie->slices().at(0)->borderColor(), QColor(Qt::black));
    testing::SaveScreenshot(&screen, QStringLiteral("listing-indices.png"));
    screen.Dessins->setCurrentIndex(1);
    testing::SaveScreenshot(&screen, QStringLiteral("listing-pyramide.png"));
    QVERIFY(screen.Chart1->chart()->title().startsWith(QStringLiteral("L'age moyen est de ")));
  }

  void listingBoundsRestrictEachOtherAndDatesCorrectThemselves() {
    Club club({Member({{field::kLastName, "A"},
                       {field::kValueIndex, "25"},
                       {field::kLastDuesPosting, "05/09/2026"}}),
               Member({{field::kLastName, "B"},
                       {field::kValueIndex, "45"},
                       {field::kLastDuesPosting, "20/09/2026"}}),
               Member({{field::kLastName, "C"}, {field::kValueIndex, "70"}})});
    TFichFEdit screen(club.context);
    screen.activated();
    QCOMPARE(screen.DateTimeDebut->date(), QDate(2026, 9, 5));
    QCOMPARE(screen.DateTimeFin->date(), QDate(2026, 9, 20));
    screen.CheckBoxIndice->click();
    QCOMPARE(screen.Label2->text(), QStringLiteral("Trouvé : 3"));
    // The lower index up by one: the upper control cannot go below it any more.
    QTest::mouseClick(screen.Indice.minUp->up, Qt::LeftButton);
    QCOMPARE(screen.Indice.minEdit->text(), QStringLiteral("26"));
    QCOMPARE(screen.Indice.maxUp->minimum(), 26);
    QCOMPARE(screen.Label2->text(), QStringLiteral("Trouvé : 2"));
    // A typed upper index below the lower one is refused and shows the position again.
    screen.Indice.maxEdit->setText(QStringLiteral("20"));
    QMetaObject::invokeMethod(screen.Indice.maxEdit, "editingFinished");
    QCOMPARE(screen.Indice.maxEdit->text(), QStringLiteral("70"));
    screen.Indice.maxEdit->setText(QStringLiteral("50"));
    QMetaObject::invokeMethod(screen.Indice.maxEdit, "editingFinished");
    QCOMPARE(screen.Indice.minUp->maximum(), 50);
    QCOMPARE(screen.Label2->text(), QStringLiteral("Trouvé : 1"));

    // Payment dates: a member without a date always passes; an end before the start is set
    // back to the start, a start after the end back to the end.
    screen.CheckBoxIndice->click();
    screen.CheckBoxDate->click();
    QCOMPARE(screen.Label2->text(), QStringLiteral("Trouvé : 3"));
    screen.DateTimeFin->setDate(QDate(2026, 9, 1));
    QCOMPARE(screen.DateTimeFin->date(), QDate(2026, 9, 5));
    QCOMPARE(screen.Label2->text(), QStringLiteral("Trouvé : 2"));
    screen.DateTimeDebut->setDate(QDate(2026, 10, 1));
    QCOMPARE(screen.DateTimeDebut->date(), QDate(2026, 9, 5));
  }

  void listingPyramidThreeBars() {
    Club club({Member({{field::kLastName, "A"}, {field::kAge, "31"}}),
               Member({{field::kLastName, "B"}, {field::kAge, "45"}}),
               Member({{field::kLastName, "C"}, {field::kAge, "44"}})});
    TFichFEdit screen(club.context);
    screen.activated();
    screen.CheckBoxNom->click();
    auto* axis =
        qobject_cast<QBarCategoryAxis*>(screen.Chart1->chart()->axes(Qt::Horizontal).at(0));
    QCOMPARE(axis->categories(), (QStringList{"33", "38", "43"}));
    QCOMPARE(screen.Chart1->chart()->title(), QStringLiteral("L'age moyen est de 40,00 Ans"));
  }

  void listingReportsAndExports() {
    Club club(LimitClub());
    TFichFEdit screen(club.context);
    screen.activated();
    // Empty selection: the reports do nothing, the exports write the header alone.
    QCOMPARE(screen.prepareReport(members::ListingReport::kDirectory),
             false);
    const QString csv = club.path("Exportation.csv");
    club.desktop.fileAnswers.push_back(csv);
    screen.onExport("Exportation.csv");
    QCOMPARE(QString::fromStdString(testing::ReadFile(csv.toStdString())),
             QStringLiteral("Numero;Titre;Nom;Prenon;Iv;Adres1;Adres2;Adress3;Code;Ville;Domicile;"
                            "Bureau;Portable;Courriel;MiseAJour;Solde;Convoc.Cour.;\r\n"));

    screen.CheckBoxNom->click();
    const QString html = club.path("Page_Annuaire.html");
    club.desktop.fileAnswers.push_back(html);
    screen.onHtmlPage();
    const std::string page = testing::ReadFile(html.toStdString());
    QVERIFY(page.find("DURAND &amp; FILS") != std::string::npos);
    QVERIFY(page.find("DURAND & FILS") == std::string::npos);
    QVERIFY(page.find("mailto:paul&amp;fils@example.fr") != std::string::npos);

    // Cancelled save dialog: nothing written.
    screen.onExport("Publipostage.txt");
    QCOMPARE(std::filesystem::exists(club.folder.path() / "Publipostage.txt"), false);

    // The three lists, as PDF pages.
    QVERIFY(screen.prepareReport(members::ListingReport::kDirectory));
    const reports::ValueTable& values = screen.Report->values();
    QCOMPARE(values.missing(), QStringList());
    QCOMPARE(values.undeclared(), QStringList());
    const int count = static_cast<int>(screen.selection().size());
    const int limit = 45;  // DE LA ROCHEFOUCAULD..., balance 999999999
    QCOMPARE(values.answer(QStringLiteral("Solde"), limit, count).number(),
             reports::Decimal::FromCents(999999999));
    QCOMPARE(values.answer(QStringLiteral("Solde"), 0, count),
             reports::Value::FromText(QString()));  // no balance: an empty text
    QCOMPARE(values.answer(QStringLiteral("Solde"), 1, count).number(),
             reports::Decimal::FromCents(-2550));  // -25.5
    QCOMPARE(values.answer(QStringLiteral("Adress3"), 0, count).text(),
             QStringLiteral("Escalier 4, porte 12"));
    QCOMPARE(values.answer(QStringLiteral("Entite"), count, count).text(),
             QStringLiteral("Ardevanne"));
    SavePdf(screen.Report, QStringLiteral("annuaire.pdf"));
    QVERIFY(screen.prepareReport(members::ListingReport::kDuesList));
    SavePdf(screen.Report, QStringLiteral("tresorerie.pdf"));
    QVERIFY(screen.prepareReport(members::ListingReport::kAssembly));
    SavePdf(screen.Report, QStringLiteral("assemblee.pdf"));
    const reports::PreparedReport prepared = screen.Report->prepare();
    QVERIFY(prepared.pages.size() >= 2);

    // The pie printed on a landscape page.
    club.desktop.printerAnswers = {true};
    const QString chartPdf = testing::ScreenshotFolder().isEmpty()
                                 ? club.path("indice.pdf")
                                 : testing::ScreenshotPath("indice.pdf");
    club.desktop.printerOutputFile = chartPdf;
    screen.onPrintChart(screen.ChartIndice, QStringLiteral("ChartIndice"));
    QVERIFY(QFileInfo(chartPdf).size() > 0);
    club.desktop.printerAnswers = {true};
    club.desktop.printerOutputFile = testing::ScreenshotFolder().isEmpty()
                                         ? club.path("pyramide.pdf")
                                         : testing::ScreenshotPath("pyramide.pdf");
    screen.onPrintChart(screen.Chart1, QStringLiteral("Chart1"));
  }

  void mailModeSendsMarkedRowsInGroups() {
    Lines club;
    for (int i = 0; i < 125; ++i) {
      club.push_back(
          Member({{field::kLicence, std::to_string(i + 1)},
                  {field::kLastName, "M" + std::to_string(1000 + i)},
                  {field::kMail, i < 120 ? "m" + std::to_string(i) + "@example.fr" : ""}}));
    }
    Club c(club);
    TFichFEdit screen(c.context);
    screen.setMode(TFichFEdit::Mode::kMail);
    screen.show();
    screen.activated();
    QCOMPARE(screen.StrGr1->columnCount(), 8);
    QCOMPARE(screen.BtEdition->isVisible(), false);
    QCOMPARE(screen.Dessins->isVisible(), false);
    screen.CheckBoxNom->click();
    QCOMPARE(screen.mailCount(), 120);
    QCOMPARE(screen.LbCourriel->text(), QStringLiteral("Courriels : 120"));
    QCOMPARE(screen.BtCourriel->isEnabled(), true);
    testing::SaveScreenshot(&screen, QStringLiteral("listing-courriel.png"));

    QTest::mouseClick(screen.BtCourriel, Qt::LeftButton);
    QCOMPARE(c.desktop.messages.front().text, QStringLiteral("Choisir son compte Courriel"));
    QCOMPARE(c.desktop.openedUrls.size(), 3u);
    QVERIFY(c.desktop.openedUrls[0].toString().startsWith(QStringLiteral("mailto:m0@example.fr;")));
    QCOMPARE(c.desktop.openedUrls[2].toString().count(QLatin1Char('@')), 20);

    // Toggling a mark, then blind copy in groups of one after "Désélectionner Tous".
    screen.onMarkCell(0, 6);
    QCOMPARE(screen.mailCount(), 119);
    screen.onMarkCell(0, 6);
    QCOMPARE(screen.mailCount(), 120);
    screen.onMarkCell(121, 6);  // no address: stays unmarked
    QCOMPARE(screen.mailCount(), 120);
    QTest::mouseClick(screen.BtCourDes, Qt::LeftButton);
    QCOMPARE(screen.BtCourriel->isEnabled(), false);
    screen.onMarkCell(3, 6);
    screen.CB_BccCourriel->setChecked(true);
    c.desktop.openedUrls.clear();
    screen.onSendMail();
    QCOMPARE(c.desktop.openedUrls.size(), 1u);
    QCOMPARE(c.desktop.openedUrls[0].toString(QUrl::FullyDecoded),
             QStringLiteral("mailto: ? &bcc=m3@example.fr"));
  }

  // The grid over the selection: cells read from the lines, edits kept, marks clicked, the
  // edited address used by "Sélectionner Tous" and the sending, widths kept across selections.
  void mailGridEditsMarksAndWidths() {
    Club c({Member({{field::kLicence, "1"},
                    {field::kLastName, "BENO\xceT"},
                    {field::kMail, "a@example.fr"},
                    {field::kMailConvocations, "NON"}}),
            Member({{field::kLicence, "2"},
                    {field::kLastName,
                     "L\xc9"
                     "CUYER"}}),
            Member({{field::kLicence, "3"},
                    {field::kLastName, "NO\xcbL"},
                    {field::kMail, "c@example.fr"}})});
    TFichFEdit screen(c.context);
    screen.setMode(TFichFEdit::Mode::kMail);
    screen.show();
    screen.activated();
    screen.CheckBoxNom->click();
    QAbstractItemModel* model = screen.StrGr1->model();
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(screen.mailCount(), 2);
    std::map<QString, int> rowOf;
    for (int r = 0; r < 3; ++r) rowOf[model->index(r, 0).data().toString()] = r;
    const int benoit = rowOf.at(QStringLiteral("1"));
    const int lecuyer = rowOf.at(QStringLiteral("2"));
    const int noel = rowOf.at(QStringLiteral("3"));
    struct Expected {
      int row;
      QString name, mark, convocation;
    };
    for (const Expected& e :
         {Expected{benoit, "BENOÎT", "X", "NON"}, Expected{lecuyer, "LÉCUYER", "", "OUI"},
          Expected{noel, "NOËL", "X", "OUI"}}) {
      QCOMPARE(model->index(e.row, 2).data().toString(), e.name);
      QCOMPARE(model->index(e.row, 6).data().toString(), e.mark);
      QCOMPARE(model->index(e.row, 7).data().toString(), e.convocation);
    }
    QVERIFY(!(model->flags(model->index(0, 6)) & Qt::ItemIsEditable));
    QVERIFY(model->flags(model->index(0, 5)) & Qt::ItemIsEditable);

    // A click on a mark cell toggles it.
    const QModelIndex mark = model->index(noel, 6);
    screen.StrGr1->scrollTo(mark);
    QTest::mouseClick(screen.StrGr1->viewport(), Qt::LeftButton, {},
                      screen.StrGr1->visualRect(mark).center());
    QCOMPARE(screen.mailCount(), 1);
    QCOMPARE(mark.data().toString(), QString());

    // An address typed in the grid: "Sélectionner Tous" marks it and the mail goes there.
    QVERIFY(model->setData(model->index(lecuyer, 5), QStringLiteral("b@example.fr")));
    QCOMPARE(model->index(lecuyer, 2).data().toString(), QStringLiteral("LÉCUYER"));
    QTest::mouseClick(screen.BtCourSel, Qt::LeftButton);
    QCOMPARE(screen.mailCount(), 3);
    c.desktop.openedUrls.clear();
    screen.onSendMail();
    QCOMPARE(c.desktop.openedUrls.size(), 1u);
    QCOMPARE(c.desktop.openedUrls[0].toString().count(QLatin1Char('@')), 3);
    QVERIFY(c.desktop.openedUrls[0].toString().contains(QStringLiteral("b@example.fr")));
    // An address emptied: "Sélectionner Tous" leaves its row unmarked.
    QVERIFY(model->setData(model->index(benoit, 5), QString()));
    QTest::mouseClick(screen.BtCourSel, Qt::LeftButton);
    QCOMPARE(screen.mailCount(), 2);
    QCOMPARE(model->index(benoit, 6).data().toString(), QString());

    // A new selection keeps the widths the user gave the columns.
    screen.StrGr1->setColumnWidth(2, 77);
    screen.recompute();
    QCOMPARE(screen.StrGr1->columnWidth(2), 77);
    QCOMPARE(screen.mailCount(), 2);
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::MemberScreensTest)
#include "member_screens_test.moc"
