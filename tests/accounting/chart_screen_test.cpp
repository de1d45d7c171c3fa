#include "accounting/chart_screen.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/record_file.h"
#include "platform/record_grid.h"
#include "reports/value_table.h"
#include "screen_fixture.h"

namespace vantrel {

namespace fs = std::filesystem;
using platform::Button;
using platform::MessageKind;
using testing::ReadFile;
using testing::SaveScreenshot;
using testing::ScriptedPlatform;
using testing::WriteFile;

namespace {

const Lines kChart = {"5120;Banque - compte courant;Bilan;V;2025-2026;",
                      "6100;SERVICES EXTERIEURS;Titre;N;2025-2026;",
                      "6110;Sous-traitance g\xe9n\xe9rale;R\xe9sultat;N;2025-2026;",
                      "6120;Locations;R\xe9sultat;C;2025-2026;",
                      "7560;Cotisations des membres;R\xe9sultat;C;2025-2026;"};

struct Fixture : testing::ClubScreenFixture {
  explicit Fixture(const Lines& chart = kChart) {
    write("Plan_Comptable.dbp", chart);
    context.settings = club.settings();
    screen = std::make_unique<TFichFPlan>(context);
    screen->show();
    screen->activated();
  }
  Lines stored() const { return ReadLines(club.exerciseFolder() / "Plan_Comptable.dbp"); }
  QString cell(int row, int column) const {
    return screen->StrGrd->model().index(row, column).data().toString();
  }
  std::unique_ptr<TFichFPlan> screen;
};

}  // namespace

class ChartScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheChartWithTheFirstLineSelected() {
    Fixture f;
    TFichFPlan& s = *f.screen;
    QCOMPARE(s.windowTitle(), QStringLiteral("Gestion du plan Comptable"));
    QCOMPARE(s.StrGrd->model().rowCount(), 5);
    QCOMPARE(f.cell(0, 0), QStringLiteral(">"));
    QCOMPARE(f.cell(1, 0), QString());
    QCOMPARE(f.cell(2, 2), QStringLiteral("Sous-traitance générale"));
    QCOMPARE(f.cell(2, 3), QStringLiteral("Résultat"));
    QCOMPARE(f.cell(3, 4), QStringLiteral("Cotisation"));
    QCOMPARE(f.cell(0, 4), QStringLiteral("Versement"));
    QCOMPARE(f.cell(1, 4), QString());
    QCOMPARE(f.cell(0, 5), QStringLiteral("2025-2026"));
    QStringList headers;
    for (int c = 0; c < 6; ++c) {
      headers << s.StrGrd->model().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    QCOMPARE(headers, (QStringList{"", "Num", "Libellé", "Type", "Liens", "Création"}));
    QCOMPARE(s.StrGrd->columnWidth(2), 350);
    QCOMPARE(s.Edit1->text(), QStringLiteral("5120"));
    QCOMPARE(s.Edit3->text(), QStringLiteral("Bilan"));
    QVERIFY(!s.Bt_Debut->isEnabled());
    QVERIFY(s.Bt_Fin->isEnabled());
    QTest::mouseClick(s.Bt_Fin, Qt::LeftButton);
    QCOMPARE(f.cell(4, 0), QStringLiteral(">"));
    QCOMPARE(s.Edit2->text(), QStringLiteral("Cotisations des membres"));
    QVERIFY(!s.Bt_Suivant->isEnabled());
  }

  void addingPlacesAndSelectsTheAccount() {
    Fixture f;
    TFichFPlan& s = *f.screen;
    f.type(s.Edit1, QStringLiteral("6115"));
    f.type(s.Edit2, QStringLiteral("Fournitures"));
    QCOMPARE(s.Edit4->text(), QStringLiteral("V"));
    QTest::mouseClick(s.BtLien, Qt::LeftButton);
    QCOMPARE(s.Edit4->text(), QStringLiteral("N"));
    QTest::mouseClick(s.BtLien, Qt::LeftButton);
    QCOMPARE(s.Edit4->text(), QStringLiteral("C"));
    QTest::mouseClick(s.Bt_Ajouter, Qt::LeftButton);
    QCOMPARE(QString::fromLatin1(f.stored().at(3)),
             QStringLiteral("6115;Fournitures;Résultat;C;2026-2027;"));
    QCOMPARE(f.cell(3, 0), QStringLiteral(">"));
    QCOMPARE(s.Edit1->text(), QStringLiteral("6115"));
    QCOMPARE(s.Edit5->text(), QStringLiteral("2026-2027"));
    QCOMPARE(f.desktop.messages.size(), std::size_t{0});
  }

  void refusalsChangeNothing_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("messages");
    QTest::newRow("8000") << "8000" << 0;
    QTest::newRow("999") << "999" << 0;
    QTest::newRow("present") << "6110" << 0;
    QTest::newRow("no number") << "61a0" << 1;
  }
  void refusalsChangeNothing() {
    QFETCH(QString, number);
    QFETCH(int, messages);
    Fixture f;
    f.type(f.screen->Edit1, number);
    QTest::mouseClick(f.screen->Bt_Ajouter, Qt::LeftButton);
    QCOMPARE(f.stored(), kChart);
    QCOMPARE(static_cast<int>(f.desktop.messages.size()), messages);
  }

  void modifyingNeedsTheSameNumber() {
    Fixture f;
    TFichFPlan& s = *f.screen;
    QTest::mouseClick(s.Bt_Suivant, Qt::LeftButton);
    QTest::mouseClick(s.Bt_Suivant, Qt::LeftButton);
    f.type(s.Edit1, QStringLiteral("6111"));
    f.type(s.Edit2, QStringLiteral("Prestations"));
    QTest::mouseClick(s.Bt_Modifier, Qt::LeftButton);
    QCOMPARE(f.stored(), kChart);
    f.type(s.Edit1, QStringLiteral("6110"));
    f.type(s.Edit2, QStringLiteral("Prestations"));
    QTest::mouseClick(s.BtLien, Qt::LeftButton);
    QTest::mouseClick(s.BtLien, Qt::LeftButton);
    QTest::mouseClick(s.Bt_Modifier, Qt::LeftButton);
    QCOMPARE(QString::fromLatin1(f.stored().at(2)),
             QStringLiteral("6110;Prestations;Résultat;V;2026-2027;"));
    QCOMPARE(f.cell(2, 5), QStringLiteral("2026-2027"));
    QCOMPARE(f.cell(2, 0), QStringLiteral(">"));
  }

  void deletingAsksAndSparesHeadings() {
    Fixture f;
    TFichFPlan& s = *f.screen;
    QTest::mouseClick(s.Bt_Suivant, Qt::LeftButton);
    QTest::mouseClick(s.Bt_Supprimer, Qt::LeftButton);  // the heading: no question, no change
    QCOMPARE(f.desktop.messages.size(), std::size_t{0});
    QCOMPARE(f.stored(), kChart);

    QTest::mouseClick(s.Bt_Fin, Qt::LeftButton);
    f.desktop.answers = {Button::kNo};
    QTest::mouseClick(s.Bt_Supprimer, Qt::LeftButton);
    QCOMPARE(f.desktop.messages.size(), std::size_t{1});
    QCOMPARE(f.desktop.messages[0].kind, MessageKind::kConfirmation);
    QCOMPARE(f.desktop.messages[0].defaultButton, Button::kNo);
    QCOMPARE(f.desktop.messages[0].text,
             QStringLiteral("Suppression du compte 7560 Cotisations des membres."));
    QCOMPARE(f.stored(), kChart);
    f.desktop.answers = {Button::kYes};
    QTest::mouseClick(s.Bt_Supprimer, Qt::LeftButton);
    QCOMPARE(f.stored(), Lines(kChart.begin(), kChart.end() - 1));
    QCOMPARE(f.cell(3, 0), QStringLiteral(">"));
    QCOMPARE(s.Edit1->text(), QStringLiteral("6120"));
  }

  void printsTheChartThroughItsTemplate() {
    Fixture f;
    TFichFPlan& s = *f.screen;
    QCOMPARE(s.report().values().missing(), QStringList());
    QCOMPARE(s.report().values().undeclared(), QStringList());
    QVERIFY(s.report().LoadFromFile(QStringLiteral(VANTREL_TEMPLATES_DIR "/Gestion_Plan.frf")));
    s.report().setRangeEndCount(s.chart().count());
    s.report().setTitle(QStringLiteral("Plan Comptable"));
    const reports::PreparedReport prepared = s.report().prepare();
    QCOMPARE(prepared.errors, QStringList());
    QCOMPARE(prepared.warnings, QStringList());
    QStringList texts;
    for (const auto& page : prepared.pages) {
      for (const auto& item : page.items) texts << item.lines.join(' ');
    }
    const QString all = texts.join('|');
    for (const QString& wanted : {QStringLiteral("Ardevanne"), QStringLiteral("2026-2027"),
                                  QStringLiteral("6110"), QStringLiteral("Sous-traitance générale"),
                                  QStringLiteral("Cotisation"), QStringLiteral("Page 1 / 1")}) {
      QVERIFY2(all.contains(wanted), qPrintable(wanted + QStringLiteral(" in ") + all));
    }
  }

  void quitterAndEscapeHideTheScreen() {
    Fixture f;
    QTest::mouseClick(f.screen->BtQuitte, Qt::LeftButton);
    QVERIFY(f.screen->isHidden());
    f.screen->show();
    QTest::keyClick(f.screen->Edit2, Qt::Key_Escape);
    QVERIFY(f.screen->isHidden());
  }

  void helpOpensTheDocumentOrSaysItIsMissing() {
    Fixture f;
    QTest::mouseClick(f.screen->BtAide, Qt::LeftButton);
    QCOMPARE(f.desktop.openedUrls.size(), std::size_t{0});
    QCOMPARE(f.desktop.messageTexts(),
             QStringList{QStringLiteral("Le document d'aide Gestion_Plan_Comptable_Liste.pdf est "
                                        "introuvable dans le dossier du programme.")});

    testing::WriteFile(f.club.path() / "Gestion_Plan_Comptable_Liste.pdf", "%PDF-1.4\n");
    QTest::mouseClick(f.screen->BtAide, Qt::LeftButton);
    QCOMPARE(f.desktop.openedUrls.size(), std::size_t{1});
    QCOMPARE(f.desktop.openedUrls[0].toLocalFile(),
             QString::fromStdString((f.club.path() / "Gestion_Plan_Comptable_Liste.pdf").string()));
    QCOMPARE(f.desktop.messages.size(), std::size_t{1});

    f.desktop.openUrlResult = false;
    QTest::mouseClick(f.screen->BtAide, Qt::LeftButton);
    QCOMPARE(f.desktop.messages.size(), std::size_t{2});
    QVERIFY(f.desktop.messages.back().text.contains(QStringLiteral("n'a pas pu être ouvert")));
  }

  void looksRight() {
    Lines chart;
    for (const auto& line : ReadLines(VANTREL_DATA_DIR "/2026-2027/Plan_Comptable.dbp")) {
      chart.push_back(line);
    }
    Fixture f(chart);
    f.screen->resize(f.screen->width(), 560);
    QVERIFY(QTest::qWaitForWindowExposed(f.screen.get()));
    f.screen->StrGrd->selectRow(30);
    QTest::mouseClick(f.screen->StrGrd->viewport(), Qt::LeftButton, {},
                      f.screen->StrGrd->visualRect(f.screen->StrGrd->model().index(5, 2)).center());
    QCOMPARE(f.cell(5, 0), QStringLiteral(">"));
    SaveScreenshot(f.screen.get(), QStringLiteral("chart.png"));
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::ChartScreenTest)
#include "chart_screen_test.moc"
