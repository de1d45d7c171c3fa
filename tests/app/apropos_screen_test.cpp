#include "app/apropos_screen.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "support/screenshots.h"
#include "support/scripted_platform.h"

namespace vantrel {

using testing::ScriptedPlatform;

class AproposScreenTest : public QObject {
  Q_OBJECT

 private slots:
  void historyHasItsThirtySixLines() {
    const QStringList lines = TApropos::HistoryLines();
    QCOMPARE(lines.size(), 36);
    QCOMPARE(lines[0], QStringLiteral("Version 1.02 : 2002"));
    QCOMPARE(lines[1], QStringLiteral("  Mise en circulation du programme"));
    QCOMPARE(lines[2], QString());
    QCOMPARE(lines[17],
             QStringLiteral("  Suppression des adresses courriel du domaine @ffbridge.fr"));
    QCOMPARE(lines[18], QStringLiteral("    Possibilité d'Emailing en copie cachée"));
    QCOMPARE(lines[22], QStringLiteral("      envoi courriel joueurs de tournois de régularités"));
    QCOMPARE(lines[25], QStringLiteral("  Ajout d'un champ \"courriel\" de trie"));
    QCOMPARE(lines[29],
             QStringLiteral("   Envoi par courriel des convocations Epreuves Fédérales"));
    for (int k = 30; k < 36; ++k) QCOMPARE(lines[k], QString());
  }

  void showsVersionAndCaption() {
    ScriptedPlatform desktop;
    AppContext context(desktop);
    TApropos box(context);
    QCOMPARE(box.windowTitle(), QStringLiteral("A propos du logiciel Vantrel"));
    QCOMPARE(box.Version->text(), QStringLiteral("Version: 9.19.11"));
    QCOMPARE(box.Label2->text(), QStringLiteral("E-mail "));
    QCOMPARE(box.Panel1->isVisible(), false);
    QCOMPARE(box.Label3->cursor().shape(), Qt::PointingHandCursor);
  }

  void mailLinkCarriesTheCaption() {
    ScriptedPlatform desktop;
    AppContext context(desktop);
    TApropos box(context);
    box.show();
    QTest::mouseClick(box.Label3, Qt::LeftButton);
    QCOMPARE(desktop.openedUrls.size(), std::size_t(1));
    QCOMPARE(desktop.openedUrls[0].toString(QUrl::FullyDecoded),
             QStringLiteral("mailto:auteur@vantrel.invalid?subject=A propos du logiciel Vantrel"));
    QCOMPARE(desktop.messages.size(), std::size_t(0));
    desktop.openUrlResult = false;
    QTest::mouseClick(box.Label3, Qt::LeftButton);
    QCOMPARE(desktop.messages.size(), std::size_t(1));
  }

  // The animation runs on timers: the event loop keeps turning while it plays, it lasts as
  // many steps as the area is high when the lines are shorter, and it replays from the start.
  void historyScrollsWithoutBlocking() {
    ScriptedPlatform desktop;
    AppContext context(desktop);
    TApropos box(context);
    box.setTiming(1, 30);
    box.show();
    QTest::mouseClick(box.Button1, Qt::LeftButton);
    QCOMPARE(box.Panel1->isVisible(), true);
    QCOMPARE(box.Panel1->geometry(), box.rect());
    QVERIFY(box.playing());
    const int area = box.PaintBox1->height();
    QCOMPARE(box.stepCount(), std::max(area, 36 * box.lineHeight()));
    bool ranMeanwhile = false;
    QTimer::singleShot(5, [&] { ranMeanwhile = box.playing(); });
    QTRY_VERIFY_WITH_TIMEOUT(!box.playing(), 20000);
    QCOMPARE(ranMeanwhile, true);
    QCOMPARE(box.Panel1->isVisible(), false);

    box.setFixedSize(360, 1200);
    QTest::mouseClick(box.Button1, Qt::LeftButton);
    QVERIFY(box.PaintBox1->height() > 36 * box.lineHeight());
    QCOMPARE(box.stepCount(), box.PaintBox1->height());
    QVERIFY(box.currentStep() < 5);
    QTRY_VERIFY_WITH_TIMEOUT(!box.playing(), 30000);
  }

  // The longest history line fits the drawing area: the history is never cut.
  void historyLinesAreNeverCut() {
    ScriptedPlatform desktop;
    AppContext context(desktop);
    TApropos box(context);
    box.setTiming(1, 1);
    box.show();
    testing::SaveScreenshot(&box, QStringLiteral("apropos.png"));
    QTest::mouseClick(box.Button1, Qt::LeftButton);
    const QFontMetrics metrics(TApropos::HistoryFont());
    for (const QString& line : TApropos::HistoryLines()) {
      QVERIFY2(TApropos::kHistoryMargin + metrics.horizontalAdvance(line) <= box.PaintBox1->width(),
               qPrintable(line));
    }
    QTRY_VERIFY_WITH_TIMEOUT(box.currentStep() >= box.stepCount() - 10, 30000);
    testing::SaveScreenshot(&box, QStringLiteral("apropos_history.png"));
  }

  void escapeStopsTheHistoryAndCloses() {
    ScriptedPlatform desktop;
    AppContext context(desktop);
    TApropos box(context);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::mouseClick(box.Button1, Qt::LeftButton);
    QVERIFY(box.playing());
    QTest::keyClick(&box, Qt::Key_Escape);
    QCOMPARE(box.isVisible(), false);
    QCOMPARE(box.playing(), false);
    QCOMPARE(box.Panel1->isVisible(), false);
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::AproposScreenTest)
#include "apropos_screen_test.moc"
