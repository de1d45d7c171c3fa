#include "app/program_screens.h"

#include <QAction>
#include <QtTest>

#include "platform/app_context.h"
#include "support/scripted_platform.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

// The program's main window and all its screens over one program folder, as main() builds
// them.
struct Program {
  testing::ProgramFolder folder;
  testing::ScriptedPlatform desktop;
  AppContext context{desktop};
  std::unique_ptr<TFichFprg> window;
  std::unique_ptr<ProgramScreens> screens;

  Program() {
    context.settings.programFolder = folder.path();
    window = std::make_unique<TFichFprg>(context);
    window->loadSettings();
    screens = std::make_unique<ProgramScreens>(context);
    screens->wire(*window);
  }

  // Runs the menu item, as a click on it does.
  void run(MenuItem item) { window->action(item)->trigger(); }
};

}  // namespace

class ProgramScreensTest : public QObject {
  Q_OBJECT

 private slots:
  // No item of the menu is left disabled: each one has its screen.
  void everyItemOfTheMenuIsWired() {
    Program p;
    for (int item = static_cast<int>(MenuItem::kMembersConsultation);
         item <= static_cast<int>(MenuItem::kCalculator); ++item) {
      QVERIFY2(p.window->action(static_cast<MenuItem>(item))->isEnabled(),
               qPrintable(p.window->action(static_cast<MenuItem>(item))->text()));
    }
  }

  // One screen behind several items is told its mode, cup or caption by the item.
  void itemsSharingAScreenTellItWhatToShow() {
    Program p;
    p.run(MenuItem::kMembersMail);
    QVERIFY(p.screens->listingScreen.isVisible());
    QCOMPARE(p.screens->listingScreen.mode(), TFichFEdit::Mode::kMail);
    p.run(MenuItem::kMembersEdition);
    QCOMPARE(p.screens->listingScreen.mode(), TFichFEdit::Mode::kListing);
    p.screens->listingScreen.hide();

    p.run(MenuItem::kAccountingLedger);
    QCOMPARE(p.screens->booksScreen.mode(), static_cast<int>(TFichFGLiv::kLedgerMode));
    QCOMPARE(p.screens->booksScreen.windowTitle(), QStringLiteral("Edition du Grand Livre"));
    p.run(MenuItem::kAccountingChart);
    QCOMPARE(p.screens->booksScreen.mode(), static_cast<int>(TFichFGLiv::kAccountsInUseMode));
    p.screens->booksScreen.hide();
    p.run(MenuItem::kAccountingBalanceSheet);
    QCOMPARE(p.screens->statementsScreen.mode(), static_cast<int>(TFichFTable::kBalanceSheetMode));
    p.screens->statementsScreen.hide();

    p.run(MenuItem::kCupManagement3);
    QCOMPARE(p.screens->cupScreen.cup(), 3);
    p.screens->cupScreen.hide();
    p.run(MenuItem::kCupRanking4);
    QCOMPARE(p.screens->rankingScreen.cup(), 4);
    p.screens->rankingScreen.hide();

    p.run(MenuItem::kConvocationPairs);
    QCOMPARE(p.screens->convocationScreen.windowTitle(), QLatin1String(kConvocationPairsCaption));
    p.screens->convocationScreen.hide();
    p.run(MenuItem::kConvocationTeams);
    QCOMPARE(p.screens->convocationScreen.windowTitle(), QLatin1String(kConvocationTeamsCaption));
    p.screens->convocationScreen.hide();
  }
};

}  // namespace vantrel

QTEST_MAIN(vantrel::ProgramScreensTest)
#include "program_screens_test.moc"
