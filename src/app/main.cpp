#include <QApplication>

#include "accounting/books_screen.h"
#include "accounting/chart_screen.h"
#include "accounting/entry_screen.h"
#include "accounting/settings_screen.h"
#include "accounting/statements_screen.h"
#include "competitions/convocation_screen.h"
#include "competitions/cup_management_screen.h"
#include "competitions/cup_ranking_screen.h"
#include "competitions/results_screen.h"
#include "competitions/tournament_mail_screen.h"
#include "core/apropos_screen.h"
#include "core/main_window_screen.h"
#include "members/consultation_screen.h"
#include "members/import_screen.h"
#include "members/listing_screen.h"
#include "members/member_card_screen.h"
#include "platform/app_context.h"
#include "platform/qt_path.h"
#include "platform/qt_platform.h"
#include "platform/qt_translation.h"
#include "platform/window_fit.h"
#include "utilities/backup_screen.h"
#include "utilities/calculator_screen.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vantrel"));
  // No display name: the desktop would append it to every window title.
  // Qt's own dialogs (files, printing, standard buttons) in French, like the program.
  vantrel::platform::InstallQtFrenchTranslation(application);

  vantrel::platform::QtPlatform desktop;
  vantrel::AppContext context(desktop);
  context.settings.programFolder = vantrel::PathFromQString(QApplication::applicationDirPath());
  // One program at a time on a folder: a second start tells so and ends.
  const auto hold = vantrel::HoldProgramFolderAtStart(desktop, context.settings.programFolder);
  if (!hold) return 1;

  vantrel::TFichFprg mainWindow(context);
  if (!mainWindow.startUp()) return 0;
  QObject::connect(&mainWindow, &vantrel::TFichFprg::quitRequested, &application,
                   &QApplication::quit);

  // Member card, chart of accounts, entry screen, settings and new season.
  vantrel::TFichFPar settingsScreen(context);
  vantrel::TFichFin memberCard(context);
  vantrel::TFichFPlan chartScreen(context);
  vantrel::TFichFEntree entryScreen(context);
  mainWindow.wireScreen(vantrel::MenuItem::MembersCard, memberCard);
  mainWindow.wireScreen(vantrel::MenuItem::AccountingEntry, entryScreen,
                        QStringLiteral("Ecriture d'opération"));
  mainWindow.wireScreen(vantrel::MenuItem::AccountingChartManagement, chartScreen,
                        QStringLiteral("Gestion du plan Comptable"));
  mainWindow.wireScreen(
      vantrel::MenuItem::SettingsSeason, settingsScreen,
      QStringLiteral("Paramètrages et personnalisation du logiciel OU Nouvelle Saison"));

  // Utilities and the about box.
  vantrel::TFichFCalc calculatorScreen(context);
  vantrel::TFichFSvg backupScreen(context);
  vantrel::TApropos aboutBox(context);
  mainWindow.wireScreen(vantrel::MenuItem::Backup, backupScreen,
                        [&] { backupScreen.setMode(vantrel::TFichFSvg::Mode::kBackup); });
  mainWindow.wireScreen(vantrel::MenuItem::Restore, backupScreen,
                        [&] { backupScreen.setMode(vantrel::TFichFSvg::Mode::kRestore); });
  mainWindow.wireScreen(vantrel::MenuItem::Calculator, calculatorScreen);
  mainWindow.wireScreen(vantrel::MenuItem::About, aboutBox);

  // Books and statements ("&Edition" of the accounting menu).
  vantrel::TFichFGLiv booksScreen(context);
  vantrel::TFichFTable statementsScreen(context);
  mainWindow.wireScreen(vantrel::MenuItem::AccountingChart, booksScreen,
                        [&] { booksScreen.setMode(vantrel::TFichFGLiv::kAccountsInUseMode); });
  mainWindow.wireScreen(vantrel::MenuItem::AccountingLedger, booksScreen, [&] {
    booksScreen.setWindowTitle(QStringLiteral("Edition du Grand Livre"));
    booksScreen.setMode(vantrel::TFichFGLiv::kLedgerMode);
  });
  mainWindow.wireScreen(vantrel::MenuItem::AccountingTrialBalance, booksScreen,
                        [&] { booksScreen.setMode(vantrel::TFichFGLiv::kTrialBalanceMode); });
  mainWindow.wireScreen(vantrel::MenuItem::AccountingResults, statementsScreen, [&] {
    statementsScreen.setMode(vantrel::TFichFTable::kIncomeStatementMode);
  });
  mainWindow.wireScreen(vantrel::MenuItem::AccountingBalanceSheet, statementsScreen,
                        [&] { statementsScreen.setMode(vantrel::TFichFTable::kBalanceSheetMode); });

  // Members: consultation, listings (listing and mail modes), federation import.
  vantrel::TFichFGest consultationScreen(context);
  vantrel::TFichFEdit listingScreen(context);
  vantrel::TFichFimp importScreen(context);
  mainWindow.wireScreen(vantrel::MenuItem::MembersConsultation, consultationScreen);
  mainWindow.wireScreen(vantrel::MenuItem::MembersEdition, listingScreen,
                        [&] { listingScreen.setMode(vantrel::TFichFEdit::Mode::kListing); });
  mainWindow.wireScreen(vantrel::MenuItem::MembersMail, listingScreen,
                        [&] { listingScreen.setMode(vantrel::TFichFEdit::Mode::kMail); });
  mainWindow.wireScreen(vantrel::MenuItem::MembersImport, importScreen);

  // The four cups: one results screen for all, management and ranking told their cup.
  vantrel::TFichFResult resultsScreen(context);
  vantrel::TFichFGestion cupScreen(context);
  vantrel::TFichFClassment rankingScreen(context);
  const vantrel::MenuItem cupItems[][3] = {
      {vantrel::MenuItem::CupResults1, vantrel::MenuItem::CupManagement1,
       vantrel::MenuItem::CupRanking1},
      {vantrel::MenuItem::CupResults2, vantrel::MenuItem::CupManagement2,
       vantrel::MenuItem::CupRanking2},
      {vantrel::MenuItem::CupResults3, vantrel::MenuItem::CupManagement3,
       vantrel::MenuItem::CupRanking3},
      {vantrel::MenuItem::CupResults4, vantrel::MenuItem::CupManagement4,
       vantrel::MenuItem::CupRanking4}};
  for (int cup = 1; cup <= 4; ++cup) {
    const auto& items = cupItems[cup - 1];
    mainWindow.wireScreen(items[0], resultsScreen);
    mainWindow.wireScreen(items[1], cupScreen, [&cupScreen, cup] { cupScreen.setCup(cup); });
    mainWindow.wireScreen(items[2], rankingScreen,
                          [&rankingScreen, cup] { rankingScreen.setCup(cup); });
  }

  // Convocations to federal events and mail to tournament players.
  vantrel::TFichFConvoc convocationScreen(context);
  vantrel::TFichFCourriels tournamentMailScreen(context);
  mainWindow.wireScreen(vantrel::MenuItem::ConvocationTeams, convocationScreen,
                        QLatin1String(vantrel::kConvocationTeamsCaption));
  mainWindow.wireScreen(vantrel::MenuItem::ConvocationPairs, convocationScreen,
                        QLatin1String(vantrel::kConvocationPairsCaption));
  mainWindow.wireScreen(vantrel::MenuItem::TournamentMail, tournamentMailScreen);

  vantrel::FitAndCentre(mainWindow, mainWindow.size());
  mainWindow.show();
  return QApplication::exec();
}
