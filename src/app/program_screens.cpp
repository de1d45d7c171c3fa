#include "app/program_screens.h"

namespace vantrel {

ProgramScreens::ProgramScreens(AppContext& context)
    : settingsScreen(context),
      memberCard(context),
      chartScreen(context),
      entryScreen(context),
      calculatorScreen(context),
      backupScreen(context),
      aboutBox(context),
      booksScreen(context),
      statementsScreen(context),
      consultationScreen(context),
      listingScreen(context),
      importScreen(context),
      resultsScreen(context),
      cupScreen(context),
      rankingScreen(context),
      convocationScreen(context),
      tournamentMailScreen(context) {}

void ProgramScreens::wire(TFichFprg& mainWindow) {
  wireAccounting(mainWindow);
  wireMembersAndUtilities(mainWindow);
  wireCompetitions(mainWindow);
}

void ProgramScreens::wireAccounting(TFichFprg& mainWindow) {
  mainWindow.wireScreen(MenuItem::kAccountingEntry, entryScreen,
                        QStringLiteral("Ecriture d'opération"));
  mainWindow.wireScreen(MenuItem::kAccountingChartManagement, chartScreen,
                        QStringLiteral("Gestion du plan Comptable"));
  mainWindow.wireScreen(
      MenuItem::kSettingsSeason, settingsScreen,
      QStringLiteral("Paramètrages et personnalisation du logiciel OU Nouvelle Saison"));

  mainWindow.wireScreen(MenuItem::kAccountingChart, booksScreen,
                        [this] { booksScreen.setMode(TFichFGLiv::kAccountsInUseMode); });
  mainWindow.wireScreen(MenuItem::kAccountingLedger, booksScreen, [this] {
    booksScreen.setWindowTitle(QStringLiteral("Edition du Grand Livre"));
    booksScreen.setMode(TFichFGLiv::kLedgerMode);
  });
  mainWindow.wireScreen(MenuItem::kAccountingTrialBalance, booksScreen,
                        [this] { booksScreen.setMode(TFichFGLiv::kTrialBalanceMode); });
  mainWindow.wireScreen(MenuItem::kAccountingResults, statementsScreen,
                        [this] { statementsScreen.setMode(TFichFTable::kIncomeStatementMode); });
  mainWindow.wireScreen(MenuItem::kAccountingBalanceSheet, statementsScreen,
                        [this] { statementsScreen.setMode(TFichFTable::kBalanceSheetMode); });
}

void ProgramScreens::wireMembersAndUtilities(TFichFprg& mainWindow) {
  mainWindow.wireScreen(MenuItem::kMembersCard, memberCard);
  mainWindow.wireScreen(MenuItem::kMembersConsultation, consultationScreen);
  mainWindow.wireScreen(MenuItem::kMembersEdition, listingScreen,
                        [this] { listingScreen.setMode(TFichFEdit::Mode::kListing); });
  mainWindow.wireScreen(MenuItem::kMembersMail, listingScreen,
                        [this] { listingScreen.setMode(TFichFEdit::Mode::kMail); });
  mainWindow.wireScreen(MenuItem::kMembersImport, importScreen);

  mainWindow.wireScreen(MenuItem::kBackup, backupScreen,
                        [this] { backupScreen.setMode(TFichFSvg::Mode::kBackup); });
  mainWindow.wireScreen(MenuItem::kRestore, backupScreen,
                        [this] { backupScreen.setMode(TFichFSvg::Mode::kRestore); });
  mainWindow.wireScreen(MenuItem::kCalculator, calculatorScreen);
  mainWindow.wireScreen(MenuItem::kAbout, aboutBox);
}

void ProgramScreens::wireCompetitions(TFichFprg& mainWindow) {
  const MenuItem cupItems[][3] = {
      {MenuItem::kCupResults1, MenuItem::kCupManagement1, MenuItem::kCupRanking1},
      {MenuItem::kCupResults2, MenuItem::kCupManagement2, MenuItem::kCupRanking2},
      {MenuItem::kCupResults3, MenuItem::kCupManagement3, MenuItem::kCupRanking3},
      {MenuItem::kCupResults4, MenuItem::kCupManagement4, MenuItem::kCupRanking4}};
  for (int cup = 1; cup <= 4; ++cup) {
    const auto& items = cupItems[cup - 1];
    mainWindow.wireScreen(items[0], resultsScreen);
    mainWindow.wireScreen(items[1], cupScreen, [this, cup] { cupScreen.setCup(cup); });
    mainWindow.wireScreen(items[2], rankingScreen, [this, cup] { rankingScreen.setCup(cup); });
  }

  mainWindow.wireScreen(MenuItem::kConvocationTeams, convocationScreen,
                        QLatin1String(kConvocationTeamsCaption));
  mainWindow.wireScreen(MenuItem::kConvocationPairs, convocationScreen,
                        QLatin1String(kConvocationPairsCaption));
  mainWindow.wireScreen(MenuItem::kTournamentMail, tournamentMailScreen);
}

}  // namespace vantrel
