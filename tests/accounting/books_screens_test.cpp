// The books screen (TFichFGLiv) and the statements screen (TFichFTable) over a small club.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <filesystem>

#include "accounting/books_screen.h"
#include "accounting/chart_screen.h"
#include "accounting/posting.h"
#include "accounting/statements_screen.h"
#include "core/settings.h"
#include "platform/text.h"
#include "reports/report_preview.h"
#include "support/screenshots.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace vantrel {

namespace fs = std::filesystem;
using platform::MessageKind;
using testing::ReadFile;
using testing::ScriptedPlatform;
using testing::WriteFile;

namespace {

QString Q(const fs::path& path) { return PathToQString(path); }

accounting::JournalEntry Entry(const std::string& label, const std::string& debitAccount,
                               const std::string& creditAccount, const std::string& cents) {
  accounting::JournalEntry entry{"05/03/2027", label, {}};
  entry.groups[0] = {debitAccount, "D", cents, ""};
  entry.groups[1] = {creditAccount, "C", "", cents};
  return entry;
}

// What a screen handed to the report engine.
struct Shown {
  QString title;
  int count;
  reports::PreparedReport pages;
};

// A club: exercise 2026-2027 with a journal of three entries, comparison years 2025-2026
// (one entry) and 2024-2025 (none), the shipped templates in the program folder.
struct Club {
  Club() : context(desktop) {
    const fs::path data = VANTREL_DATA_DIR;
    for (const auto& entry : fs::directory_iterator(data / "templates")) {
      fs::copy_file(entry.path(), program.path() / entry.path().filename());
    }
    WriteFile(program.exerciseFolder() / "Plan_Comptable.dbp",
              "1000;FONDS PROPRES;Titre;N;2026-2027;\r\n1200;RESULTAT;Titre;N;2026-2027;\r\n"
              "4000;TIERS;Titre;N;2026-2027;\r\n5000;FINANCIERS;Titre;N;2026-2027;\r\n"
              "5300;Caisse;Bilan;V;2026-2027;\r\n6060;ACHATS;Titre;N;2026-2027;\r\n"
              "6063;Mat\xe9riel;R\xe9sultat;N;2026-2027;\r\n"
              "7560;Cotisations;R\xe9sultat;C;2026-2027;\r\n");
    const fs::path y1 = program.exerciseFolder();
    accounting::PostJournalEntry(y1, Entry("Cotisation", "5300", "7560", "4000"));
    accounting::PostJournalEntry(y1, Entry("Cartes", "6063", "5300", "1250"));
    accounting::PostJournalEntry(y1, Entry("Avance", "4110", "5300", "300"));
    fs::create_directories(program.path() / "2025-2026");
    accounting::PostJournalEntry(program.path() / "2025-2026",
                                 Entry("Lots", "6068", "5300", "700"));
    fs::create_directories(program.path() / "2024-2025");
    WriteFile(program.path() / "Vantrel.ini",
              "[Fichier]\r\nEntit\xe9=Ardevanne\r\nSigle=KVR\r\nExercice=2026-2027\r\n"
              "Exercice1=2025-2026\r\nbilan=2024-2025\r\n");
    context.settings = program.settings();
  }
  QStringList texts() const { return desktop.messageTexts(); }
  // Makes the screen show its reports into shown instead of a preview.
  template <typename Screen>
  void capture(Screen& screen) {
    screen.showReport = [this](reports::Report& report) {
      shown.push_back({report.title(), report.RangeEndCount(), report.prepare()});
    };
  }
  QStringList titles() const {
    QStringList result;
    for (const auto& report : shown) result << report.title;
    return result;
  }

  testing::ProgramFolder program;
  ScriptedPlatform desktop;
  AppContext context;
  std::vector<Shown> shown;
};

QStringList Items(const QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

// Every text of a prepared report, page after page.
QString PageText(const reports::PreparedReport& report) {
  QString text;
  for (const auto& page : report.pages) {
    for (const auto& item : page.items)
      text += item.lines.join(QLatin1Char(' ')) + QLatin1Char('|');
  }
  return text;
}

}  // namespace

class BooksScreensTest : public QObject {
  Q_OBJECT

 private slots:
  void activationListsTheAccountsInUse() {
    Club club;
    TFichFGLiv screen(club.context);
    club.context.tracker.windowActivated(&screen);
    QCOMPARE(Items(screen.ComboBox1),
             (QStringList{"Livre Journal", "4110 PAS DANS LE PLAN", "5300 Caisse", "6063 Matériel",
                          "7560 Cotisations"}));
    QCOMPARE(screen.ComboBox1->currentIndex(), 0);
    QCOMPARE(screen.windowTitle(), QStringLiteral("Edition du Grand Livre"));
    QCOMPARE(club.desktop.messages.size(), std::size_t(0));
  }

  void menuModesPrintTheirReportOnce_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("&Balance") << int(TFichFGLiv::kTrialBalanceMode)
                              << QStringList{"Balance de vérification"};
    QTest::newRow("&Plan Comptable")
        << int(TFichFGLiv::kAccountsInUseMode) << QStringList{"Plan Comptable"};
    QTest::newRow("&Grand Livre") << int(TFichFGLiv::kLedgerMode) << QStringList{};
  }
  void menuModesPrintTheirReportOnce() {
    QFETCH(int, mode);
    QFETCH(QStringList, titles);
    Club club;
    TFichFGLiv screen(club.context);
    TFichFGLiv other(club.context);
    club.capture(screen);
    screen.setMode(mode);
    club.context.tracker.windowActivated(&screen);
    QCoreApplication::processEvents();
    QCOMPARE(club.titles(), titles);
    // Coming back (the preview closed, another window left) prints nothing more.
    club.context.tracker.windowActivated(&other);
    club.context.tracker.windowActivated(&screen);
    QCoreApplication::processEvents();
    QCOMPARE(club.titles(), titles);
    // The menu item chosen again prints again.
    screen.setMode(mode);
    club.context.tracker.windowActivated(&other);
    club.context.tracker.windowActivated(&screen);
    QCoreApplication::processEvents();
    QCOMPARE(club.titles(), titles + titles);
  }

  void everyReportIsLaidOutWithAllItsNames() {
    Club club;
    TFichFGLiv screen(club.context);
    club.capture(screen);
    club.context.tracker.windowActivated(&screen);
    QTest::mouseClick(screen.Bt_Editer, Qt::LeftButton);
    screen.ComboBox1->setCurrentIndex(2);
    QTest::mouseClick(screen.Bt_Editer, Qt::LeftButton);
    QTest::mouseClick(screen.Bt_EditerBalance, Qt::LeftButton);
    QTest::mouseClick(screen.Bt_EditerPlan, Qt::LeftButton);
    QCOMPARE(club.titles(), (QStringList{"Livre Journal", "Compte: Caisse",
                                         "Balance de vérification", "Plan Comptable"}));
    const int counts[] = {3, 3, 4, 4};
    for (std::size_t i = 0; i < club.shown.size(); ++i) {
      const Shown& report = club.shown[i];
      QCOMPARE(report.count, counts[i]);
      QCOMPARE(report.pages.errors, QStringList());
      QCOMPARE(report.pages.warnings, QStringList());  // every name the template uses answered
      QCOMPARE(report.pages.pages.size(), std::size_t(1));
    }
    QVERIFY(
        PageText(club.shown[0].pages).contains(QStringLiteral("Total du journal|55,50|55,50|")));
    QVERIFY(PageText(club.shown[1].pages).contains(QStringLiteral("|40,00|15,50|24,50|")));
    QVERIFY(PageText(club.shown[2].pages)
                .contains(QStringLiteral("4110 PAS DANS LE PLAN|3,00||3,00|")));
    QVERIFY(PageText(club.shown[3].pages).contains(QStringLiteral("4 compte(s)")));
    QCOMPARE(screen.ComboBox1->hasFocus() || !screen.isActiveWindow(), true);
  }

  void doubleClickOnTheListPrints() {
    Club club;
    TFichFGLiv screen(club.context);
    club.capture(screen);
    club.context.tracker.windowActivated(&screen);
    screen.ComboBox1->setCurrentIndex(4);
    QTest::mouseDClick(screen.ComboBox1, Qt::LeftButton);
    QCOMPARE(club.titles(), QStringList{"Compte: Cotisations"});
  }

  void failuresShowTheirMessageAndNoReport() {
    Club club;
    TFichFGLiv screen(club.context);
    club.capture(screen);
    club.context.tracker.windowActivated(&screen);
    fs::remove(club.program.exerciseFolder() / "Journal.dbp");
    QTest::mouseClick(screen.Bt_Editer, Qt::LeftButton);
    WriteFile(club.program.exerciseFolder() / "5300.dbp", "1;x;A;;;40x;;0;\r\n");
    QTest::mouseClick(screen.Bt_EditerBalance, Qt::LeftButton);
    QCOMPARE(club.texts(), (QStringList{"Impossible d'ouvrir le fichier " +
                                            Q(club.program.exerciseFolder() / "Journal.dbp"),
                                        "'40x' n'est pas une valeur entière correcte"}));
    QCOMPARE(club.desktop.messages[0].kind, MessageKind::kError);
    QCOMPARE(club.shown.size(), std::size_t(0));

    // Without a chart, activation fails and the automatic report does not print.
    fs::remove(club.program.exerciseFolder() / "Plan_Comptable.dbp");
    TFichFGLiv other(club.context);
    club.capture(other);
    other.setMode(TFichFGLiv::kTrialBalanceMode);
    club.context.tracker.windowActivated(&other);
    QCoreApplication::processEvents();
    QCOMPARE(club.texts().last(), "Impossible d'ouvrir le fichier " +
                                      Q(club.program.exerciseFolder() / "Plan_Comptable.dbp"));
    QCOMPARE(club.shown.size(), std::size_t(0));
  }

  void missingTemplatePrintsNothingAndSaysNothing() {
    Club club;
    fs::remove(club.program.path() / "Gestion_Balance.frf");
    TFichFGLiv screen(club.context);
    club.capture(screen);
    club.context.tracker.windowActivated(&screen);
    QTest::mouseClick(screen.Bt_EditerBalance, Qt::LeftButton);
    QCOMPARE(club.shown.size(), std::size_t(0));
    QCOMPARE(club.desktop.messages.size(), std::size_t(0));
  }

  // "Gestion_Plan.frf" is printed by the books screen (accounts in use) and by the chart
  // screen (the chart): each answers every name of the chart lines, in every band, and a
  // line's names outside the lines (the summary) print as nothing, without a warning.
  void chartTemplateIsAnsweredAlikeByBothScreens() {
    Club club;
    WriteFile(club.program.path() / "Gestion_Plan.frf",
              R"(<report version="1"><page format="A4"/>
        <band kind="page-header" height="6"><text x="0" y="0" width="180" height="5">)"
              R"([CompteDBP] / [ExerciceDBP] / [TitreEtat]</text></band>
        <band kind="detail" height="6"><text x="0" y="0" width="180" height="5">)"
              R"(L:[NumeroDBP]/[NomDBP]/[TypeDBP]/[TemoinDBP]/[DateDBP]</text></band>
        <band kind="summary" height="6"><text x="0" y="0" width="180" height="5">)"
              R"(Fin:[NumeroDBP][NomDBP][TypeDBP][TemoinDBP][DateDBP]</text></band>
        <band kind="page-footer" height="6"><text x="0" y="0" width="180" height="5">)"
              R"(Pied:[CompteDBP] [ExerciceDBP]</text></band></report>)");
    TFichFGLiv books(club.context);
    club.capture(books);
    club.context.tracker.windowActivated(&books);
    QTest::mouseClick(books.Bt_EditerPlan, Qt::LeftButton);
    QCOMPARE(club.shown.size(), std::size_t(1));
    const reports::PreparedReport& inUse = club.shown[0].pages;

    TFichFPlan chart(club.context);
    chart.activated();
    chart.report().LoadFromFile(Q(club.program.path() / "Gestion_Plan.frf"));
    chart.report().setRangeEndCount(chart.chart().count());
    chart.report().setTitle(QStringLiteral("Plan Comptable"));
    const reports::PreparedReport whole = chart.report().prepare();

    for (const reports::PreparedReport* report : {&inUse, &whole}) {
      QCOMPARE(report->errors, QStringList());
      QCOMPARE(report->warnings, QStringList());
      const QString text = PageText(*report);
      for (const QString& wanted :
           {QStringLiteral("Ardevanne / 2026-2027 / Plan Comptable|"),
            QStringLiteral("|L:5300/Caisse/Bilan/V/2026-2027|"),
            QStringLiteral("|L:7560/Cotisations/Résultat/C/2026-2027|"), QStringLiteral("|Fin:|"),
            QStringLiteral("|Pied:Ardevanne 2026-2027|")}) {
        QVERIFY2(text.contains(wanted), qPrintable(wanted + QStringLiteral(" in ") + text));
      }
    }
    QVERIFY(PageText(inUse).contains(QStringLiteral("|L:4110/PAS DANS LE PLAN//N/|")));
    QVERIFY(PageText(whole).contains(QStringLiteral("|L:1000/FONDS PROPRES/Titre/N/2026-2027|")));
  }

  void quitterAndEscapeHide() {
    Club club;
    TFichFGLiv books(club.context);
    TFichFTable statements(club.context);
    books.show();
    statements.show();
    QTest::mouseClick(books.BtQuitte, Qt::LeftButton);
    QTest::keyClick(&statements, Qt::Key_Escape);
    QCOMPARE(books.isVisible(), false);
    QCOMPARE(statements.isVisible(), false);
  }

  void statementsShowTheThreeYears() {
    Club club;
    TFichFTable screen(club.context);
    club.context.tracker.windowActivated(&screen);
    QCOMPARE(screen.windowTitle(), QStringLiteral("Edition des tableaux de résultat et de Bilan"));
    QCOMPARE(screen.Edit1->text(), QStringLiteral("2026-2027"));
    QCOMPARE(screen.Edit2->text(), QStringLiteral("2025-2026"));
    QCOMPARE(screen.Edit3->text(), QStringLiteral("2024-2025"));
    QCOMPARE(screen.Bt_Exercice1->isEnabled(), false);
    QCOMPARE(screen.Bt_Exercice3->text(), QStringLiteral("Exrecice 3"));
    QCOMPARE(screen.Rb_Detailles->isChecked(), true);
    QVERIFY(screen.loadedTable().has_value());
    // 6068 has a ledger in 2025-2026 only.
    QCOMPARE(screen.loadedTable()->accounts.size(), std::size_t(5));
  }

  void statementModesPrintOnce_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("title");
    QTest::newRow("&Résultats") << int(TFichFTable::kIncomeStatementMode) << "Résultat";
    QTest::newRow("bi&Lan") << int(TFichFTable::kBalanceSheetMode) << "Bilan";
  }
  void statementModesPrintOnce() {
    QFETCH(int, mode);
    QFETCH(QString, title);
    Club club;
    TFichFTable screen(club.context);
    TFichFGLiv other(club.context);
    club.capture(screen);
    screen.setMode(mode);
    club.context.tracker.windowActivated(&screen);
    QCoreApplication::processEvents();
    club.context.tracker.windowActivated(&other);
    club.context.tracker.windowActivated(&screen);
    QCoreApplication::processEvents();
    QCOMPARE(club.titles(), QStringList{title});
    QCOMPARE(club.shown[0].pages.warnings, QStringList());
    QCOMPARE(club.shown[0].pages.errors, QStringList());
  }

  void groupingChoiceShapesTheLines_data() {
    QTest::addColumn<QString>("choice");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("present");
    QTest::addColumn<QString>("absent");
    // 6063 and 6068 under 6060, 7560 its own heading.
    QTest::newRow("Normaux") << "Normaux" << 3 << "|6063 Matériel|"
                             << "6060 ACHATS";
    QTest::newRow("Détaillés") << "Détaillés" << 4 << "|      6063 Matériel|"
                               << "|6063 Matériel|";
    QTest::newRow("Regroupés") << "Regroupés" << 2 << "|6060 ACHATS|"
                               << "6063";
  }
  void groupingChoiceShapesTheLines() {
    QFETCH(QString, choice);
    QFETCH(int, count);
    QFETCH(QString, present);
    QFETCH(QString, absent);
    Club club;
    TFichFTable screen(club.context);
    club.capture(screen);
    club.context.tracker.windowActivated(&screen);
    for (QRadioButton* button : {screen.Rb_Normaux, screen.Rb_Detailles, screen.Rb_Regroupes}) {
      if (button->text() == choice) button->click();
    }
    QTest::mouseClick(screen.Bt_Resultat, Qt::LeftButton);
    QCOMPARE(club.shown.size(), std::size_t(1));
    QCOMPARE(club.shown[0].count, count);
    const QString text = PageText(club.shown[0].pages);
    QVERIFY2(text.contains(present), qPrintable(text));
    QVERIFY2(!text.contains(absent), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Total des charges|12,50|7,00|0,00|")), qPrintable(text));
  }

  // A comparison year not chosen prints no total under its blank heading, on both
  // statements; the year chosen prints its totals, zero included.
  void statementsPrintNoTotalForAComparisonYearNotChosen() {
    Club club;
    WriteFile(club.program.path() / "Vantrel.ini",
              "[Fichier]\r\nEntit\xe9=Ardevanne\r\nSigle=KVR\r\nExercice=2026-2027\r\n"
              "Exercice1=2025-2026\r\n");
    club.context.settings = club.program.settings();
    TFichFTable screen(club.context);
    club.capture(screen);
    club.context.tracker.windowActivated(&screen);
    QCOMPARE(screen.Edit3->text(), QString());
    QTest::mouseClick(screen.Bt_Resultat, Qt::LeftButton);
    QTest::mouseClick(screen.Bt_Bilan, Qt::LeftButton);
    QCOMPARE(club.shown.size(), std::size_t(2));
    const QString income = PageText(club.shown[0].pages);
    QVERIFY2(income.contains(QStringLiteral("|Total des charges|12,50|7,00||Produits|")),
             qPrintable(income));
    QVERIFY2(income.contains(QStringLiteral("|Total des produits|40,00|0,00||")),
             qPrintable(income));
    QVERIFY2(income.contains(QStringLiteral("|Résultat (bénéfice si positif)|27,50|-7,00||")),
             qPrintable(income));
    const QString balance = PageText(club.shown[1].pages);
    QVERIFY2(!balance.contains(QStringLiteral("0,00|0,00|")), qPrintable(balance));
  }

  void choosingAYearWritesTheSettingsAndRebuildsTheTable() {
    Club club;
    WriteFile(club.program.path() / "2023-2024" / "6300.dbp", "1;x;A;;;;;500;\r\n");
    TFichFTable screen(club.context);
    club.context.tracker.windowActivated(&screen);
    const std::string before = ReadFile(club.program.path() / "Vantrel.ini");

    // Cancelled: nothing changes.
    club.desktop.fileAnswers = {std::nullopt};
    QTest::mouseClick(screen.Bt_Exercice3, Qt::LeftButton);
    QCOMPARE(screen.Edit3->text(), QStringLiteral("2024-2025"));
    QCOMPARE(ReadFile(club.program.path() / "Vantrel.ini"), before);

    club.desktop.fileAnswers = {Q(club.program.path() / "2023-2024")};
    QTest::mouseClick(screen.Bt_Exercice3, Qt::LeftButton);
    QCOMPARE(club.desktop.fileDialogCaptions,
             (std::vector<QString>{"Changement de l'exercice ", "Changement de l'exercice "}));
    QCOMPARE(screen.Edit3->text(), QStringLiteral("2023-2024"));
    const Settings read = LoadSettings(club.program.path());
    QCOMPARE(read.exercise1, std::string("2025-2026"));
    QCOMPARE(read.exercise2, std::string("2023-2024"));
    QCOMPARE(club.context.settings.exercise2, std::string("2023-2024"));
    // 6300 comes from the new year 3, not in the chart.
    const Lines& accounts = screen.loadedTable()->accounts;
    QVERIFY(std::find(accounts.begin(), accounts.end(), "6300;PAS DANS LE PLAN 2026-2027;;N;;") !=
            accounts.end());

    // A folder outside the program folder is kept whole.
    testing::TempFolder elsewhere;
    club.desktop.fileAnswers = {Q(elsewhere.path())};
    QTest::mouseClick(screen.Bt_Exercice2, Qt::LeftButton);
    QCOMPARE(screen.Edit2->text(), Q(elsewhere.path()));
    QCOMPARE(club.desktop.messages.size(), std::size_t(0));
  }

  void aBalanceThatIsNotAWholeNumberStopsTheStatement() {
    Club club;
    WriteFile(club.program.path() / "2025-2026" / "5300.dbp", "1;x;A;;;;;12,5;\r\n");
    TFichFTable screen(club.context);
    club.capture(screen);
    screen.setMode(TFichFTable::kBalanceSheetMode);
    club.context.tracker.windowActivated(&screen);
    QCoreApplication::processEvents();
    QCOMPARE(club.texts(), QStringList{"'12,5' n'est pas une valeur entière correcte"});
    QCOMPARE(club.shown.size(), std::size_t(0));
  }

  // VANTREL_SCREENSHOTS=folder: both screens and one preview as pictures, to look at.
  void screenshots() {
    if (testing::ScreenshotFolder().isEmpty()) QSKIP("VANTREL_SCREENSHOTS not set");
    Club club;
    TFichFGLiv books(club.context);
    books.show();
    club.context.tracker.windowActivated(&books);
    books.ComboBox1->setCurrentIndex(2);
    QVERIFY(QTest::qWaitForWindowExposed(&books));
    testing::SaveScreenshot(&books, QStringLiteral("TFichFGLiv.png"));
    TFichFTable statements(club.context);
    statements.show();
    club.context.tracker.windowActivated(&statements);
    QVERIFY(QTest::qWaitForWindowExposed(&statements));
    testing::SaveScreenshot(&statements, QStringLiteral("TFichFTable.png"));
    club.capture(statements);
    QTest::mouseClick(statements.Bt_Bilan, Qt::LeftButton);
    reports::ReportPreview preview(club.shown.at(0).pages, club.desktop, &statements);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    QTest::qWait(200);
    testing::SaveScreenshot(&preview, QStringLiteral("preview.png"));
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::BooksScreensTest)
#include "books_screens_test.moc"
