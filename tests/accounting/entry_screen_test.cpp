#include "accounting/entry_screen.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

#include "platform/record_grid.h"
#include "screen_fixture.h"

namespace vantrel {

namespace fs = std::filesystem;
using platform::MessageKind;
using testing::ReadFile;
using testing::SaveScreenshot;
using testing::ScriptedPlatform;
using testing::WriteFile;

namespace {

const char kChart[] =
    "5000;COMPTES FINANCIERS;Titre;N;2026-2027;\r\n"
    "5120;Banque - compte courant;Bilan;V;2026-2027;\r\n"
    "5300;Caisse;Bilan;V;2026-2027;\r\n"
    "6110;Sous-traitance g\xe9n\xe9rale;R\xe9sultat;N;2026-2027;\r\n"
    "7560;Cotisations des membres;R\xe9sultat;C;2026-2027;\r\n";

const QString k5300 = QStringLiteral("5300  Caisse");
const QString k7560 = QStringLiteral("7560  Cotisations des membres");
const QString k5120 = QStringLiteral("5120  Banque - compte courant");

struct Fixture : testing::ClubScreenFixture {
  Fixture() {
    WriteFile(club.exerciseFolder() / "Plan_Comptable.dbp", kChart);
    context.settings = club.settings();
    screen = std::make_unique<TFichFEntree>(context);
    screen->show();
  }
  void activate() { screen->activated(); }
  // Enters account box k, types text and leaves the box.
  void choose(int k, const QString& text) {
    screen->onEnterAccount(k);
    screen->Compte[k - 1]->setEditText(text);
    screen->onLeaveAccount(k);
  }
  QStringList offered(int k) const {
    QStringList items;
    for (int i = 0; i < screen->Compte[k - 1]->count(); ++i) {
      items << screen->Compte[k - 1]->itemText(i);
    }
    return items;
  }
  bool postShown() const { return !screen->Enregistrer->isHidden(); }

  std::unique_ptr<TFichFEntree> screen;
};

}  // namespace

class EntryScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void activationResetsTheEntry() {
    Fixture f;
    f.screen->Libelle->setText(QStringLiteral("Ancien libellé"));
    f.activate();
    QCOMPARE(f.screen->windowTitle(), QStringLiteral("Ecriture d'opération"));
    QCOMPARE(f.screen->EditDate->text(), QStringLiteral("09/12/2026"));
    QCOMPARE(f.screen->Pages->currentIndex(), 0);
    QCOMPARE(f.screen->Pages->tabText(0), QStringLiteral("Livre Journal"));
    QCOMPARE(f.screen->Libelle->text(), QStringLiteral("Ancien libellé"));
    QCOMPARE(f.screen->EdSolde->text(), QStringLiteral("0"));
    QVERIFY(!f.postShown());
    for (int k = 1; k <= 5; ++k) QVERIFY(!f.screen->Pages->isTabVisible(k));
    f.screen->onEnterAccount(1);
    QCOMPARE(f.offered(1).size(), 5);
    QCOMPARE(f.offered(1).at(3), QStringLiteral("6110  Sous-traitance générale"));
  }

  void balancedEntryIsPrefilledAndPosted() {
    Fixture f;
    f.activate();
    TFichFEntree& s = *f.screen;
    f.choose(1, k5300);
    QVERIFY(s.Pages->isTabVisible(1));
    QCOMPARE(s.Pages->tabText(1), k5300);
    QCOMPARE(s.Pages->currentIndex(), 1);
    s.Saisie[0]->clear();
    QTest::keyClicks(s.Saisie[0], QStringLiteral("1500"));
    QCOMPARE(s.Debit[0]->text(), QStringLiteral("15,00"));
    QCOMPARE(s.Credit[0]->text(), QString());
    QCOMPARE(s.EdSolde->text(), QStringLiteral("1500"));
    QVERIFY(!f.postShown());

    f.choose(2, k7560);
    QCOMPARE(s.Saisie[1]->text(), QStringLiteral("-1500"));
    QCOMPARE(s.Credit[1]->text(), QStringLiteral("15,00"));
    QCOMPARE(s.Debit[1]->text(), QString());
    QCOMPARE(s.EdSolde->text(), QStringLiteral("0"));
    QVERIFY(!f.postShown());
    QTest::keyClicks(s.Libelle, QStringLiteral("Vente"));
    QVERIFY(f.postShown());
    s.Libelle->insert(QStringLiteral(" de cartes à Noël"));

    QTest::mouseClick(s.Enregistrer, Qt::LeftButton);
    QCOMPARE(ReadFile(f.folder() / "Journal.dbp"),
             std::string("09/12/2026;Vente de cartes \xe0 No\xebl;5300;Caisse;1500;;7560;"
                         "Cotisations des membres;;1500;;;;;;;;;;;;;\r\n"));
    // Reset: rows empty, label kept, the new entry as the journal's last line.
    QCOMPARE(s.Compte[0]->currentText(), QString());
    QCOMPARE(s.Saisie[1]->text(), QString());
    QCOMPARE(s.Debit[0]->text(), QString());
    QCOMPARE(s.Libelle->text(), QStringLiteral("Vente de cartes à Noël"));
    QCOMPARE(s.Pages->currentIndex(), 0);
    QVERIFY(!s.Pages->isTabVisible(1));
    QCOMPARE(s.StrGrJournal->model().rowCount(), 1);
    QCOMPARE(s.StrGrJournal->model().index(0, 0).data().toString(), QStringLiteral("1"));
    QCOMPARE(s.StrGrJournal->model().index(0, 5).data().toString(), QStringLiteral("15,00"));
    QCOMPARE(s.StrGrJournal->model().headerData(8, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("Compte2"));
  }

  // An amount typed in row 2 without an account is ignored: it shows nothing, does not
  // balance the entry, and "Enregistrer" stays hidden; nothing is written.
  void anAmountWithoutAccountDoesNotBalanceTheEntry() {
    Fixture f;
    f.activate();
    TFichFEntree& s = *f.screen;
    QTest::keyClicks(s.Libelle, QStringLiteral("Droits de table"));
    f.choose(1, k5300);
    s.Saisie[0]->clear();
    QTest::keyClicks(s.Saisie[0], QStringLiteral("1500"));
    QTest::keyClicks(s.Saisie[1], QStringLiteral("-1500"));
    QCOMPARE(s.Saisie[1]->text(), QStringLiteral("-1500"));
    QCOMPARE(s.Credit[1]->text(), QString());
    QCOMPARE(s.Debit[1]->text(), QString());
    QCOMPARE(s.EdSolde->text(), QStringLiteral("1500"));
    QVERIFY(!f.postShown());
    QTest::mouseClick(s.Enregistrer, Qt::LeftButton);
    QVERIFY(!fs::exists(f.folder() / "Journal.dbp"));
    QVERIFY(!fs::exists(f.folder() / "5300.dbp"));
  }

  void incomeAccountOnABalancedScreenStartsACredit() {
    Fixture f;
    f.activate();
    TFichFEntree& s = *f.screen;
    f.choose(1, k7560);
    QCOMPARE(s.Saisie[0]->text(), QStringLiteral("- "));
    s.Saisie[0]->end(false);
    QTest::keyClicks(s.Saisie[0], QStringLiteral("2500"));
    QCOMPARE(s.Credit[0]->text(), QStringLiteral("25,00"));
    QCOMPARE(s.EdSolde->text(), QStringLiteral("-2500"));
    f.choose(3, k5120);
    QCOMPARE(s.Saisie[2]->text(), QStringLiteral("2500"));
    QCOMPARE(s.Debit[2]->text(), QStringLiteral("25,00"));
    QTest::keyClicks(s.Libelle, QStringLiteral("Cotisation"));
    QVERIFY(f.postShown());
    QTest::mouseClick(s.Enregistrer, Qt::LeftButton);
    // Rows 1 and 3 post as groups 1 and 2.
    QCOMPARE(ReadFile(f.folder() / "Journal.dbp"),
             std::string("09/12/2026;Cotisation;7560;Cotisations des membres;;2500;5120;"
                         "Banque - compte courant;2500;;;;;;;;;;;;;;\r\n"));
  }

  // The account boxes react to the focus itself: typing an account and tabbing on takes it.
  void tabbingThroughTheRowsTakesTheAccount() {
    Fixture f;
    TFichFEntree& s = *f.screen;
    s.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&s));
    f.activate();
    s.Libelle->setFocus();
    QTest::keyClicks(s.Libelle, QStringLiteral("Caisse vers banque"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), s.Compte[0]);
    QCOMPARE(f.offered(1).size(), 5);
    QTest::keyClicks(QApplication::focusWidget(), k5120);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), s.Saisie[0]);
    QCOMPARE(s.Pages->tabText(1), k5120);
    QCOMPARE(s.Saisie[0]->text(), QStringLiteral("0"));
    s.Saisie[0]->selectAll();
    QTest::keyClicks(s.Saisie[0], QStringLiteral("3000"));
    QTest::keyClick(s.Saisie[0], Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), k5300);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(s.Saisie[1]->text(), QStringLiteral("-3000"));
    QCOMPARE(s.Credit[1]->text(), QStringLiteral("30,00"));
    QVERIFY(f.postShown());
    // Text that is no account is cleared when the box is left.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("12"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(s.Compte[2]->currentText(), QString());
  }

  void typedAmounts_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("debit");
    QTest::addColumn<QString>("credit");
    QTest::newRow("0012a3") << "0012a3"
                            << "1,23"
                            << "";
    QTest::newRow("12-") << "12-"
                         << ""
                         << "0,12";
    QTest::newRow("letters only") << "abc"
                                  << "0,00"
                                  << "";
    QTest::newRow("minus in the middle") << "1-5"
                                         << ""
                                         << "0,15";
  }
  void typedAmounts() {
    QFETCH(QString, typed);
    QFETCH(QString, debit);
    QFETCH(QString, credit);
    Fixture f;
    f.activate();
    f.choose(1, k5300);
    f.screen->Saisie[0]->clear();
    QTest::keyClicks(f.screen->Saisie[0], typed);
    QCOMPARE(f.screen->Debit[0]->text(), debit);
    QCOMPARE(f.screen->Credit[0]->text(), credit);
  }

  void anAmountTooLargeKeepsTheRow() {
    Fixture f;
    f.activate();
    f.choose(1, k5300);
    f.screen->Saisie[0]->setText(QStringLiteral("1500"));
    f.screen->Saisie[0]->setText(QStringLiteral("12345678901"));
    QCOMPARE(f.desktop.messages.size(), std::size_t{1});
    QCOMPARE(f.desktop.messages[0].kind, MessageKind::kError);
    QCOMPARE(f.desktop.messages[0].text,
             QStringLiteral("'12345678901' n'est pas une valeur entière correcte"));
    QCOMPARE(f.screen->Debit[0]->text(), QStringLiteral("15,00"));
  }

  void accountsOfRowsTwoToFiveAreOfferedNowhere() {
    Fixture f;
    f.activate();
    f.choose(1, k5300);
    f.choose(2, k7560);
    f.screen->onEnterAccount(3);
    QVERIFY(f.offered(3).contains(k5300));
    QVERIFY(!f.offered(3).contains(k7560));
    f.screen->onEnterAccount(2);
    QVERIFY(!f.offered(2).contains(k7560));
    QCOMPARE(f.screen->Compte[1]->currentText(), k7560);  // its text stays while entered
    f.screen->onLeaveAccount(2);
    QCOMPARE(f.screen->Compte[1]->currentText(), QString());
    QCOMPARE(f.screen->Credit[1]->text(), QString());
    QVERIFY(!f.screen->Pages->isTabVisible(2));
    // Text that is no choice is cleared without a message.
    f.choose(4, QStringLiteral("9999  Inconnu"));
    QCOMPARE(f.screen->Compte[3]->currentText(), QString());
    QCOMPARE(f.desktop.messages.size(), std::size_t{0});
  }

  void ledgerTabShowsTheLastFifteenLines() {
    Fixture f;
    std::string ledger;
    for (int i = 1; i <= 40; ++i) {
      ledger += std::to_string(i) + ";01/10/2026;Ligne " + std::to_string(i) + ";" +
                std::to_string(i * 100) + ";;" + std::to_string(i * 100) + ";;" +
                std::to_string(i * 100) + ";\r\n";
    }
    WriteFile(f.folder() / "5300.dbp", ledger);
    std::string journal;
    for (int i = 1; i <= 40; ++i)
      journal += "01/10/2026;Ligne;5300;Caisse;100;;;;;;;;;;;;;;;;;;\r\n";
    WriteFile(f.folder() / "Journal.dbp", journal);
    f.screen->resize(1100, 720);
    QVERIFY(QTest::qWaitForWindowExposed(f.screen.get()));
    f.activate();
    // The last fifteen rows in view: the top row is 25, or as near as the scroll bar goes.
    RecordGrid* journalGrid = f.screen->StrGrJournal;
    QCOMPARE(journalGrid->topRow(), std::min(25, journalGrid->verticalScrollBar()->maximum()));
    QVERIFY(journalGrid->verticalScrollBar()->maximum() > 0);
    f.screen->Libelle->setText(QStringLiteral("Achat de jeux de cartes"));
    f.choose(1, k5300);
    f.screen->Saisie[0]->setText(QStringLiteral("4590"));
    RecordGrid* grid = f.screen->StrGrd[0];
    QCOMPARE(grid->model().rowCount(), 40);
    QCOMPARE(grid->model().index(39, 3).data().toString(), QStringLiteral("40,00"));
    QCOMPARE(grid->model().index(39, 7).data().toString(), QStringLiteral("40,00"));
    QCOMPARE(grid->model().headerData(5, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("T. Débit"));
    QCOMPARE(grid->topRow(), std::min(25, grid->verticalScrollBar()->maximum()));
    QVERIFY(grid->topRow() > 0);
    QCOMPARE(grid->rowHeight(), 23);
    SaveScreenshot(f.screen.get(), QStringLiteral("entry_ledger_tab.png"));
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::EntryScreenTest)
#include "entry_screen_test.moc"
