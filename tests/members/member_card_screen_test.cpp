#include "members/member_card_screen.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "core/record_file.h"
#include "core/text_helpers.h"
#include "members/member_file.h"
#include "platform/record_grid.h"
#include "support/screenshots.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace vantrel {

namespace fs = std::filesystem;
using members::AccountLine;
using members::MemberRecord;
using platform::Button;
using platform::MessageKind;
using testing::CrLfBytes;
using testing::ReadFile;
using testing::ScriptedPlatform;
using testing::WriteFile;
namespace field = members::field;

namespace {

std::string Member(const std::string& licence, const std::string& last, const std::string& first,
                   const std::vector<AccountLine>& dues = {},
                   const std::vector<AccountLine>& payments = {}, const std::string& balance = "") {
  MemberRecord record;
  record.set(field::kLicence, licence);
  record.set(field::kTitle, "M.");
  record.set(field::kLastName, last);
  record.set(field::kFirstName, first);
  record.set(field::kValueIndex, "12");
  record.set(field::kAddress1, "2 rue Haute");
  record.set(field::kPostalCode, "75001");
  record.set(field::kTown, "PARIS");
  record.set(field::kBirthDate, "21/06/1958");
  record.set(field::kLicenceKind, "Licence Senior");
  record.set(field::kAge, "68");
  record.set(field::kLastDuesPosting, "01/01/1900");
  for (int i = 0; i < members::kDuesLineCount; ++i) {
    record.setDuesLine(i, i < static_cast<int>(dues.size()) ? dues[i] : AccountLine{});
  }
  for (int i = 0; i < members::kPaymentLineCount; ++i) {
    record.setPaymentLine(i, i < static_cast<int>(payments.size()) ? payments[i] : AccountLine{});
  }
  record.set(field::kBalance, balance);
  record.set(field::kMailConvocations, "OUI");
  return record.ToLine();
}

// A club with members, the dues and payment lists, and the member card over it.
struct Fixture {
  explicit Fixture(const Lines& members) : context(desktop) {
    write("Joueur.DBP", members);
    write("Recette_Joueur.DBP", {"7560;Cotisations des membres;4000",
                                 "7561;Licences f\xe9"
                                 "d\xe9rales;3200",
                                 "7562;Cotisations jeunes;1000"});
    write("Versement_Joueur.DBP", {"5120;Banque - compte courant;", "5300;Caisse;"});
    context.settings = club.settings();
    screen = std::make_unique<TFichFin>(context);
    screen->show();
    screen->activated();
  }
  fs::path folder() const { return club.exerciseFolder(); }
  void write(const std::string& name, const Lines& lines) {
    WriteFile(folder() / name, CrLfBytes(lines));
  }
  Lines stored() const { return ReadLines(folder() / "Joueur.DBP"); }
  static void clickCell(RecordGrid* grid, int row, int column = 1) {
    QVERIFY(grid->isVisible());
    const QRect cell = grid->visualRect(grid->model().index(row, column));
    QVERIFY(cell.isValid());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  }
  QString cell(RecordGrid* grid, int row, int column) const {
    return grid->model().index(row, column).data().toString();
  }
  QColor colour(RecordGrid* grid, int row, int column) const {
    return grid->model().index(row, column).data(Qt::ForegroundRole).value<QColor>();
  }
  void cotisations() { screen->PageControl1->setCurrentIndex(1); }

  testing::ProgramFolder club;
  ScriptedPlatform desktop;
  AppContext context;
  std::unique_ptr<TFichFin> screen;
};

}  // namespace

class MemberCardScreenTest : public QObject {
  Q_OBJECT

 private slots:
  // A member pays his dues: the whole road from the card to the journal, the ledgers and
  // the member file, byte for byte.
  void typicalRoad() {
    Fixture f({Member("00011111", "AUBERT", "Paul"), Member("00123456", "DUPONT", "J\xe9r\xf4me"),
               Member("00022222", "MARTIN", "Lucie")});
    // The exercise already holds one entry: the bank paid a supplier 15,00.
    f.write("Journal.dbp", {"01/10/2026;Fournitures;6064;Fournitures;1500;;5120;Banque;;1500;"
                            ";;;;;;;;;;;;"});
    f.write("5120.dbp", {"1;01/10/2026;Fournitures;;1500;;1500;-1500;"});
    TFichFin& s = *f.screen;
    QCOMPARE(s.windowTitle(), QStringLiteral("Modification de la fiche adhérent"));
    QCOMPARE(s.EdNom->text(), QStringLiteral("AUBERT"));

    QTest::mouseClick(s.RbNom, Qt::LeftButton);
    QVERIFY(s.RechNom->isVisible());
    QVERIFY(!s.RechLicence->isVisible());
    QTest::keyClicks(s.RechNom, QStringLiteral("dup"));
    QCOMPARE(s.EdNom->text(), QStringLiteral("DUPONT"));
    QCOMPARE(s.EdPrenom->text(), QStringLiteral("Jérôme"));

    f.cotisations();
    QVERIFY(!s.StGrPopRecette->isVisible());
    Fixture::clickCell(s.StrGrRecette, 0);
    QVERIFY(s.StGrPopRecette->isVisible());
    QCOMPARE(s.StGrPopRecette->model().rowCount(), 4);
    QCOMPARE(f.cell(s.StGrPopRecette, 0, 0), QString());
    QCOMPARE(f.cell(s.StGrPopRecette, 1, 2), QStringLiteral("40,00"));
    QCOMPARE(f.cell(s.StGrPopRecette, 2, 1), QStringLiteral("Licences fédérales"));
    Fixture::clickCell(s.StGrPopRecette, 1);
    QVERIFY(!s.StGrPopRecette->isVisible());
    QVERIFY(s.Bt_Recet->isVisible());
    QVERIFY(!s.Bt_Verss->isVisible());
    QCOMPARE(s.Bt_Somme->text(), QStringLiteral("4000"));
    QVERIFY(!s.Bt_Enregistrer->isEnabled());
    QTest::mouseClick(s.Bt_Recet, Qt::LeftButton);
    QVERIFY(!s.Bt_Recet->isVisible());
    QVERIFY(s.Bt_Enregistrer->isEnabled());
    QCOMPARE(f.cell(s.StrGrRecette, 0, 0), QStringLiteral("7560"));
    QCOMPARE(f.cell(s.StrGrRecette, 0, 1), QStringLiteral("Cotisations des membres"));
    QCOMPARE(f.cell(s.StrGrRecette, 0, 2), QStringLiteral("40,00"));
    QCOMPARE(f.colour(s.StrGrRecette, 0, 1), QColor(Qt::red));
    QCOMPARE(s.MSolde->text(), QStringLiteral("-40,00"));
    QVERIFY(!s.Compta->isEnabled());

    Fixture::clickCell(s.StrGrdVerss, 0);
    QCOMPARE(s.StGrPopRecette->model().rowCount(), 3);
    QCOMPARE(f.cell(s.StGrPopRecette, 1, 2), QString());
    Fixture::clickCell(s.StGrPopRecette, 1);
    QVERIFY(s.Bt_Verss->isVisible());
    QCOMPARE(s.Bt_Somme->text(), QStringLiteral("4000"));
    QTest::mouseClick(s.Bt_Verss, Qt::LeftButton);
    QCOMPARE(s.MSolde->text(), QStringLiteral("0,00"));
    QVERIFY(s.Compta->isEnabled());

    QTest::mouseClick(s.Compta, Qt::LeftButton);
    QCOMPARE(f.desktop.messages.size(), std::size_t{0});
    const std::string label = "Payement de M. DUPONT J\xe9r\xf4me";
    QCOMPARE(ReadFile(f.folder() / "Journal.dbp"),
             "01/10/2026;Fournitures;6064;Fournitures;1500;;5120;Banque;;1500;;;;;;;;;;;;;\r\n"
             "09/12/2026;" +
                 label +
                 ";7560;Cotisations des membres;;4000;5120;Banque - compte courant;4000;;"
                 ";;;;;;;;;;;;\r\n");
    QCOMPARE(ReadFile(f.folder() / "7560.dbp"),
             "2;09/12/2026;" + label + ";;4000;;4000;-4000;\r\n");
    // The bank's totals carry on from its last line.
    QCOMPARE(ReadFile(f.folder() / "5120.dbp"),
             "1;01/10/2026;Fournitures;;1500;;1500;-1500;\r\n2;09/12/2026;" + label +
                 ";4000;;4000;1500;2500;\r\n");
    const std::string expected = Member("00123456", "DUPONT", "J\xe9r\xf4me",
                                        {{"7560", "Cotisations des membres", "4000", "V"}},
                                        {{"5120", "Banque - compte courant", "4000", "V"}}, "0");
    MemberRecord want = MemberRecord::FromLine(expected);
    want.set(field::kLastDuesPosting, "09/12/2026");
    want.set(field::kAge, "68");
    QCOMPARE(f.stored().at(1), want.ToLine());
    QCOMPARE(f.stored().at(0), Member("00011111", "AUBERT", "Paul"));
    // The card shows the posted lines in black with their marks, and the date of posting.
    QCOMPARE(f.cell(s.StrGrRecette, 0, 3), QStringLiteral("X"));
    QCOMPARE(f.cell(s.StrGrdVerss, 0, 3), QStringLiteral("X"));
    QCOMPARE(f.colour(s.StrGrRecette, 0, 1), QColor(Qt::black));
    QCOMPARE(s.EdMaj->text(), QStringLiteral("09/12/2026"));
  }

  void emptyFileDisablesBrowsingUntilAMemberIsAdded() {
    Fixture f({});
    TFichFin& s = *f.screen;
    for (QPushButton* button :
         {s.Bt_Debut, s.Bt_Precedant, s.Bt_Suivant, s.Bt_Fin, s.Bt_Supprimer, s.Bt_Modifier}) {
      QVERIFY2(!button->isEnabled(), qPrintable(button->objectName()));
    }
    QVERIFY(s.Bt_Ajouter->isEnabled());
    QTest::mouseClick(s.Bt_Ajouter, Qt::LeftButton);
    QCOMPARE(s.PageControl1->currentIndex(), 0);
    QCOMPARE(s.EdIv->text(), QStringLiteral("20"));
    QCOMPARE(s.EdNaiss->text(), QStringLiteral("01/01/2000"));
    QCOMPARE(s.EdVote->currentText(), QStringLiteral("OUI"));
    QVERIFY(!s.Bt_Modifier->isEnabled());
    QTest::keyClicks(s.EdLicence, QStringLiteral("12345"));
    QVERIFY(!s.Bt_Modifier->isEnabled());
    QTest::keyClicks(s.EdNom, QStringLiteral("LÉCUYER"));
    QVERIFY(s.Bt_Modifier->isEnabled());
    QVERIFY(s.Bt_Enregistrer->isEnabled());
    QTest::keyClicks(s.EdCode, QStringLiteral("2000"));
    s.EdIv->setText(QStringLiteral("0"));
    QTest::mouseClick(s.Bt_Modifier, Qt::LeftButton);
    QCOMPARE(s.EdLicence->text(), QStringLiteral("00012345"));
    QCOMPARE(s.EdCode->text(), QStringLiteral("02000"));
    QCOMPARE(s.EdIv->text(), QStringLiteral("1"));
    QCOMPARE(FieldAt(f.stored().at(0), 2), std::string("L\xc9"
                                                       "CUYER"));
  }

  void searchByLicenceShowsTheMemberAtOrBelow() {
    Fixture f({Member("00010000", "AUBERT", "A"), Member("00010040", "BLANC", "B"),
               Member("00010060", "CARON", "C")});
    TFichFin& s = *f.screen;
    QTest::mouseClick(s.RbLicence, Qt::LeftButton);
    QVERIFY(s.RechLicence->isVisible());
    QTest::keyClicks(s.RechLicence, QStringLiteral("10050"));
    QCOMPARE(s.EdLicence->text(), QStringLiteral("00010040"));
    QCOMPARE(f.desktop.messages.size(), std::size_t{0});
    QTest::keyClick(s.RechLicence, Qt::Key_A);
    QCOMPARE(f.desktop.messages.size(), std::size_t{1});
    QCOMPARE(f.desktop.messages[0].kind, MessageKind::kError);
    QCOMPARE(f.desktop.messages[0].text,
             QStringLiteral("'10050a' n'est pas une valeur entière correcte"));
    QCOMPARE(s.EdLicence->text(), QStringLiteral("00010040"));
  }

  // Leaving the card (another screen becomes active, "Quitter") with and without edits.
  void leavingWithEditsAsksWhatBecomesOfThem() {
    Fixture f({Member("00000001", "AUBERT", "A"), Member("00000002", "BLANC", "B")});
    TFichFin& s = *f.screen;
    Screen other(f.context);
    f.context.tracker.windowActivated(&s);
    const Lines before = f.stored();

    // Nothing changed: nothing asked, the list is dropped.
    f.context.tracker.windowActivated(&other);
    QCOMPARE(f.desktop.messages.size(), std::size_t{0});
    QCOMPARE(s.card().members().size(), std::size_t{0});

    // "Annuler": the card keeps its list and the edit, nothing is written.
    f.context.tracker.windowActivated(&s);
    QTest::keyClicks(s.EdVille, QStringLiteral(" 1er"));
    f.desktop.answers = {Button::kCancel};
    f.context.tracker.windowActivated(&other);
    QCOMPARE(f.desktop.messages.size(), std::size_t{1});
    QCOMPARE(f.desktop.messages[0].kind, MessageKind::kConfirmation);
    QCOMPARE(f.desktop.messages[0].text,
             QStringLiteral("Enregistrer les modifications de la fiche ?"));
    QCOMPARE(f.desktop.messages[0].buttons,
             (std::vector<Button>{Button::kYes, Button::kNo, Button::kCancel}));
    QCOMPARE(f.stored(), before);
    f.context.tracker.windowActivated(&s);
    QCOMPARE(s.EdVille->text(), QStringLiteral("PARIS 1er"));
    QCOMPARE(s.card().members().size(), std::size_t{2});

    // "&Non": the edit is dropped, the file unchanged, and the card shows it as stored.
    f.desktop.answers = {Button::kNo};
    f.context.tracker.windowActivated(&other);
    QCOMPARE(f.stored(), before);
    f.context.tracker.windowActivated(&s);
    QCOMPARE(s.EdVille->text(), QStringLiteral("PARIS"));

    // "&Oui" (Enter) saves it, an accented first name whole.
    s.EdPrenom->setText(QStringLiteral("Benoît"));
    QTest::keyClicks(s.EdVille, QStringLiteral(" 1er"));
    f.context.tracker.windowActivated(&other);
    QCOMPARE(f.desktop.messages.size(), std::size_t{3});
    QCOMPARE(f.desktop.messages[2].defaultButton, Button::kYes);
    QCOMPARE(FieldAt(f.stored().at(0), field::kTown), std::string("PARIS 1er"));
    QCOMPARE(FieldAt(f.stored().at(0), field::kFirstName), std::string("Beno\xeet"));
    QCOMPARE(f.stored().at(1), before.at(1));

    // "Quitter" asks too; "Annuler" keeps the card open, "&Non" closes it.
    f.context.tracker.windowActivated(&s);
    QTest::keyClicks(s.EdMail, QStringLiteral("a@b.fr"));
    f.desktop.answers = {Button::kCancel};
    QTest::mouseClick(s.BtQuitte, Qt::LeftButton);
    QCOMPARE(s.isVisible(), true);
    f.desktop.answers = {Button::kNo};
    QTest::mouseClick(s.BtQuitte, Qt::LeftButton);
    QCOMPARE(s.isVisible(), false);
    QCOMPARE(FieldAt(f.stored().at(0), field::kMail), std::string());
    // Nothing is left to ask about once the edits were dropped.
    f.context.tracker.windowActivated(&other);
    QCOMPARE(f.desktop.messages.size(), std::size_t{5});
  }

  // Moving to another member, adding one, or searching drops the edits of the one shown.
  void movingOnWithEditsAsksFirst() {
    Fixture f({Member("00000001", "AUBERT", "A"), Member("00000002", "BLANC", "B"),
               Member("00000003", "CARON", "C")});
    TFichFin& s = *f.screen;
    const Lines before = f.stored();
    QTest::mouseClick(s.Bt_Suivant, Qt::LeftButton);
    QCOMPARE(s.EdNom->text(), QStringLiteral("BLANC"));
    QCOMPARE(f.desktop.messages.size(), std::size_t{0});

    s.EdTitre->setCurrentText(QStringLiteral("Mme"));
    f.desktop.answers = {Button::kCancel};
    QTest::mouseClick(s.Bt_Suivant, Qt::LeftButton);
    QCOMPARE(s.EdNom->text(), QStringLiteral("BLANC"));
    QCOMPARE(s.EdTitre->currentText(), QStringLiteral("Mme"));
    f.desktop.answers = {Button::kCancel};
    QTest::mouseClick(s.Bt_Ajouter, Qt::LeftButton);
    QCOMPARE(s.card().members().size(), std::size_t{3});
    f.desktop.answers = {Button::kNo};
    QTest::mouseClick(s.Bt_Fin, Qt::LeftButton);
    QCOMPARE(s.EdNom->text(), QStringLiteral("CARON"));
    QCOMPARE(f.stored(), before);
    QCOMPARE(f.desktop.messages.size(), std::size_t{3});

    // A dues line chosen but not saved is an edit too.
    f.cotisations();
    Fixture::clickCell(s.StrGrRecette, 0);
    Fixture::clickCell(s.StGrPopRecette, 1);
    QTest::mouseClick(s.Bt_Recet, Qt::LeftButton);
    f.desktop.answers = {Button::kYes};
    QTest::mouseClick(s.RbNom, Qt::LeftButton);
    QTest::keyClicks(s.RechNom, QStringLiteral("a"));
    QCOMPARE(f.desktop.messages.size(), std::size_t{4});
    QCOMPARE(s.EdNom->text(), QStringLiteral("AUBERT"));
    QCOMPARE(FieldAt(f.stored().at(2), 20), std::string("7560"));
    QCOMPARE(FieldAt(f.stored().at(2), 22), std::string("4000"));

    // A new member without licence cannot be saved: "&Oui" says so and the card stays.
    QTest::mouseClick(s.Bt_Ajouter, Qt::LeftButton);
    QCOMPARE(f.desktop.messages.size(), std::size_t{4});
    QTest::keyClicks(s.EdNom, QStringLiteral("NOËL"));
    QTest::mouseClick(s.Bt_Debut, Qt::LeftButton);
    QCOMPARE(f.desktop.messages.size(), std::size_t{6});
    QCOMPARE(f.desktop.messages[5].kind, MessageKind::kWarning);
    QCOMPARE(f.desktop.messages[5].text,
             QStringLiteral("Une fiche sans N° Licence ou sans Nom ne peut pas être enregistrée."));
    QCOMPARE(s.EdNom->text(), QStringLiteral("NOËL"));
    QCOMPARE(f.stored().size(), std::size_t{3});
  }

  // The search boxes: an emptied licence box is no error, and a new search mode starts empty.
  void searchBoxesStartEmptyAndAnEmptyLicenceIsNoError() {
    Fixture f({Member("00010000", "AUBERT", "A"), Member("00010040", "BLANC", "B")});
    TFichFin& s = *f.screen;
    QTest::mouseClick(s.RbLicence, Qt::LeftButton);
    QTest::keyClicks(s.RechLicence, QStringLiteral("10041"));
    QCOMPARE(s.EdNom->text(), QStringLiteral("BLANC"));
    QTest::mouseClick(s.RbNom, Qt::LeftButton);
    QCOMPARE(s.RechNom->text(), QString());
    QTest::keyClicks(s.RechNom, QStringLiteral("au"));
    QCOMPARE(s.EdNom->text(), QStringLiteral("AUBERT"));
    QTest::mouseClick(s.RbLicence, Qt::LeftButton);
    QCOMPARE(s.RechLicence->text(), QString());
    QCOMPARE(s.EdNom->text(), QStringLiteral("AUBERT"));
    // Typing a digit and rubbing it out again leaves the member shown, without an error box.
    QTest::keyClicks(s.RechLicence, QStringLiteral("2"));
    QTest::keyClick(s.RechLicence, Qt::Key_Backspace);
    QCOMPARE(s.RechLicence->text(), QString());
    QCOMPARE(s.EdNom->text(), QStringLiteral("AUBERT"));
    QCOMPARE(f.desktop.messages.size(), std::size_t{0});
  }

  void deletingAsksWithNonAsDefault() {
    Fixture f({Member("1", "AUBERT", "A"), Member("2", "BLANC", "B"), Member("3", "CARON", "C")});
    TFichFin& s = *f.screen;
    QTest::mouseClick(s.Bt_Fin, Qt::LeftButton);
    QCOMPARE(s.EdNom->text(), QStringLiteral("CARON"));
    f.desktop.answers = {Button::kNo};
    QTest::mouseClick(s.Bt_Supprimer, Qt::LeftButton);
    QCOMPARE(f.desktop.messages.size(), std::size_t{1});
    QCOMPARE(f.desktop.messages[0].text, QStringLiteral("Suppression de la fiche."));
    QCOMPARE(f.desktop.messages[0].kind, MessageKind::kConfirmation);
    QCOMPARE(f.desktop.messages[0].defaultButton, Button::kNo);
    QCOMPARE(f.stored().size(), std::size_t{3});
    f.desktop.answers = {Button::kYes};
    QTest::mouseClick(s.Bt_Supprimer, Qt::LeftButton);
    QCOMPARE(f.stored().size(), std::size_t{2});
    QCOMPARE(s.EdNom->text(), QStringLiteral("BLANC"));
    QVERIFY(!s.Bt_Suivant->isEnabled());
  }

  void deletingTheOnlyMemberLeavesItsFieldsShown() {
    Fixture f({Member("00123456", "DUPONT", "Paul")});
    TFichFin& s = *f.screen;
    f.desktop.answers = {Button::kYes};
    QTest::mouseClick(s.Bt_Supprimer, Qt::LeftButton);
    QCOMPARE(ReadFile(f.folder() / "Joueur.DBP"), std::string());
    QCOMPARE(s.EdNom->text(), QStringLiteral("DUPONT"));
    QVERIFY(!s.Bt_Supprimer->isEnabled());
    QVERIFY(!s.Bt_Modifier->isEnabled());
    QVERIFY(!s.Bt_Fin->isEnabled());
  }

  void postedRowsIgnoreTheSelection() {
    Fixture f({Member("1", "AUBERT", "A", {{"7560", "Cotisations", "4000", "V"}},
                      {{"5120", "Banque", "4000", "V"}}, "0")});
    TFichFin& s = *f.screen;
    f.cotisations();
    Fixture::clickCell(s.StrGrRecette, 0);
    QVERIFY(!s.StGrPopRecette->isVisible());
    Fixture::clickCell(s.StrGrdVerss, 0, 3);
    QVERIFY(!s.StGrPopRecette->isVisible());
    Fixture::clickCell(s.StrGrRecette, 1);
    QVERIFY(s.StGrPopRecette->isVisible());
  }

  // The pick list from the keyboard: the focus arriving by Tab and the arrow keys only move
  // the current row; Enter picks it; Escape closes the list, picks nothing and leaves the
  // card open.
  void pickListWorksFromTheKeyboard() {
    Fixture f({Member("00123456", "DUPONT", "Jean", {{"7000", "Ancienne cotisation", "1500", "F"}},
                      {}, "-1500")});
    TFichFin& s = *f.screen;
    s.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&s));
    f.cotisations();
    Fixture::clickCell(s.StrGrRecette, 0);
    QVERIFY(s.StGrPopRecette->isVisible());
    const QStringList before = {f.cell(s.StrGrRecette, 0, 0), f.cell(s.StrGrRecette, 0, 1),
                                f.cell(s.StrGrRecette, 0, 2)};
    QCOMPARE(before, (QStringList{"7000", "Ancienne cotisation", "15,00"}));
    const auto row0 = [&] {
      return QStringList{f.cell(s.StrGrRecette, 0, 0), f.cell(s.StrGrRecette, 0, 1),
                         f.cell(s.StrGrRecette, 0, 2)};
    };

    s.MSolde->setFocus();
    QTest::keyClick(s.MSolde, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(s.StGrPopRecette));
    QVERIFY(s.StGrPopRecette->isVisible());
    QCOMPARE(row0(), before);  // Tab picks nothing, not even the blank row
    QCOMPARE(s.StGrPopRecette->currentIndex().row(), 0);
    QTest::keyClick(s.StGrPopRecette, Qt::Key_Down);
    QTest::keyClick(s.StGrPopRecette, Qt::Key_Down);
    QVERIFY(s.StGrPopRecette->isVisible());
    QCOMPARE(row0(), before);  // arrows only move
    QCOMPARE(s.StGrPopRecette->selectionModel()->isRowSelected(2, {}), true);
    testing::SaveScreenshot(&s, QStringLiteral("member_card_pick_list.png"));
    QTest::keyClick(s.StGrPopRecette, Qt::Key_Return);
    QVERIFY(!s.StGrPopRecette->isVisible());
    QCOMPARE(row0(), (QStringList{"7561", "Licences fédérales", ""}));
    QVERIFY(s.Bt_Recet->isVisible());
    QCOMPARE(s.Bt_Somme->text(), QStringLiteral("3200"));
    QTest::mouseClick(s.Bt_Recet, Qt::LeftButton);
    QCOMPARE(row0(), (QStringList{"7561", "Licences fédérales", "32,00"}));

    Fixture::clickCell(s.StrGrRecette, 1);
    QVERIFY(s.StGrPopRecette->isVisible());
    s.StGrPopRecette->setFocus();
    QTest::keyClick(s.StGrPopRecette, Qt::Key_Down);
    QTest::keyClick(s.StGrPopRecette, Qt::Key_Escape);
    QVERIFY(!s.StGrPopRecette->isVisible());
    QVERIFY(s.isVisible());  // Escape closed the list, not the card
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(s.StrGrRecette));
    QCOMPARE(f.cell(s.StrGrRecette, 1, 0), QString());
    QCOMPARE(row0(), (QStringList{"7561", "Licences fédérales", "32,00"}));
    QCOMPARE(s.MSolde->text(), QStringLiteral("-32,00"));
    QVERIFY(!s.Bt_Recet->isVisible());
    QCOMPARE(f.desktop.messages.size(), std::size_t{0});
  }

  void oneUnpostedLineAtZeroIsNotMarked() {
    Fixture f({Member("1", "AUBERT", "A", {{"7560", "Cotisations", "0", "F"}}, {}, "0")});
    TFichFin& s = *f.screen;
    f.cotisations();
    QCOMPARE(s.MSolde->text(), QStringLiteral("0,00"));
    QVERIFY(s.Compta->isEnabled());
    QTest::mouseClick(s.Compta, Qt::LeftButton);
    QCOMPARE(f.desktop.messages.size(), std::size_t{1});
    QCOMPARE(f.desktop.messages[0].kind, MessageKind::kInformation);
    QVERIFY(f.desktop.messages[0].text.startsWith(QStringLiteral("Une seule ligne")));
    QCOMPARE(f.cell(s.StrGrRecette, 0, 3), QString());
    QVERIFY(!fs::exists(f.folder() / "Journal.dbp"));
    QCOMPARE(MemberRecord::FromLine(f.stored().at(0)).duesLine(0).mark, std::string("F"));
  }

  void moreThanFiveLinesAreRefused() {
    const AccountLine dues{"7560", "Cotisations", "1000", "F"};
    Fixture f({Member("1", "AUBERT", "A", {dues, dues, dues, dues, dues},
                      {{"5120", "Banque", "5000", "F"}}, "0")});
    TFichFin& s = *f.screen;
    f.cotisations();
    QTest::mouseClick(s.Compta, Qt::LeftButton);
    QCOMPARE(f.desktop.messages.size(), std::size_t{1});
    QCOMPARE(f.desktop.messages[0].kind, MessageKind::kInformation);
    QVERIFY(f.desktop.messages[0].text.startsWith(
        QStringLiteral("Une écriture comporte au plus cinq lignes.")));
    for (int row = 0; row < 5; ++row) QCOMPARE(f.cell(s.StrGrRecette, row, 3), QString());
    QVERIFY(!fs::exists(f.folder() / "Journal.dbp"));
  }

  void bothPagesLookRight() {
    Fixture f({Member("00123456", "DUPONT", "J\xe9r\xf4me",
                      {{"7560", "Cotisations des membres", "4000", "V"},
                       {"7561",
                        "Licences f\xe9"
                        "d\xe9rales",
                        "3200", "F"}},
                      {{"5120", "Banque - compte courant", "4000", "V"}}, "-3200")});
    TFichFin& s = *f.screen;
    s.resize(840, 600);
    QVERIFY(QTest::qWaitForWindowExposed(&s));
    testing::SaveScreenshot(&s, QStringLiteral("member_card_adresse.png"));
    f.cotisations();
    QCOMPARE(s.MSolde->text(), QStringLiteral("-32,00"));
    QCOMPARE(f.colour(s.StrGrRecette, 0, 2), QColor(Qt::black));
    QCOMPARE(f.colour(s.StrGrRecette, 1, 2), QColor(Qt::red));
    QCOMPARE(s.StrGrRecette->model().index(1, 2).data(Qt::TextAlignmentRole).toInt(),
             static_cast<int>(Qt::AlignRight));
    Fixture::clickCell(s.StrGrdVerss, 1);
    testing::SaveScreenshot(&s, QStringLiteral("member_card_cotisations.png"));
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::MemberCardScreenTest)
#include "member_card_screen_test.moc"
