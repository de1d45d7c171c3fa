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
  mainWindow.wireScreen(MenuItem::AccountingEntry, entryScreen,
                        QStringLiteral("Ecriture d'opération"));
  mainWindow.wireScreen(MenuItem::AccountingChartManagement, chartScreen,
                        QStringLiteral("Gestion du plan Comptable"));
  mainWindow.wireScreen(
      MenuItem::SettingsSeason, settingsScreen,
      QStringLiteral("Paramètrages et personnalisation du logiciel OU Nouvelle Saison"));

  mainWindow.wireScreen(MenuItem::AccountingChart, booksScreen,
                        [this] { booksScreen.setMode(TFichFGLiv::kAccountsInUseMode); });
  mainWindow.wireScreen(MenuItem::AccountingLedger, booksScreen, [this] {
    booksScreen.setWindowTitle(QStringLiteral("Edition du Grand Livre"));
    booksScreen.setMode(TFichFGLiv::kLedgerMode);
  });
  mainWindow.wireScreen(MenuItem::AccountingTrialBalance, booksScreen,
                        [this] { booksScreen.setMode(TFichFGLiv::kTrialBalanceMode); });
  mainWindow.wireScreen(MenuItem::AccountingResults, statementsScreen,
                        [this] { statementsScreen.setMode(TFichFTable::kIncomeStatementMode); });
  mainWindow.wireScreen(MenuItem::AccountingBalanceSheet, statementsScreen,
                        [this] { statementsScreen.setMode(TFichFTable::kBalanceSheetMode); });
}

void ProgramScreens::wireMembersAndUtilities(TFichFprg& mainWindow) {
  mainWindow.wireScreen(MenuItem::MembersCard, memberCard);
  mainWindow.wireScreen(MenuItem::MembersConsultation, consultationScreen);
  mainWindow.wireScreen(MenuItem::MembersEdition, listingScreen,
                        [this] { listingScreen.setMode(TFichFEdit::Mode::kListing); });
  mainWindow.wireScreen(MenuItem::MembersMail, listingScreen,
                        [this] { listingScreen.setMode(TFichFEdit::Mode::kMail); });
  mainWindow.wireScreen(MenuItem::MembersImport, importScreen);

  mainWindow.wireScreen(MenuItem::Backup, backupScreen,
                        [this] { backupScreen.setMode(TFichFSvg::Mode::kBackup); });
  mainWindow.wireScreen(MenuItem::Restore, backupScreen,
                        [this] { backupScreen.setMode(TFichFSvg::Mode::kRestore); });
  mainWindow.wireScreen(MenuItem::Calculator, calculatorScreen);
  mainWindow.wireScreen(MenuItem::About, aboutBox);
}

void ProgramScreens::wireCompetitions(TFichFprg& mainWindow) {
  const MenuItem cupItems[][3] = {
      {MenuItem::CupResults1, MenuItem::CupManagement1, MenuItem::CupRanking1},
      {MenuItem::CupResults2, MenuItem::CupManagement2, MenuItem::CupRanking2},
      {MenuItem::CupResults3, MenuItem::CupManagement3, MenuItem::CupRanking3},
      {MenuItem::CupResults4, MenuItem::CupManagement4, MenuItem::CupRanking4}};
  for (int cup = 1; cup <= 4; ++cup) {
    const auto& items = cupItems[cup - 1];
    mainWindow.wireScreen(items[0], resultsScreen);
    mainWindow.wireScreen(items[1], cupScreen, [this, cup] { cupScreen.setCup(cup); });
    mainWindow.wireScreen(items[2], rankingScreen, [this, cup] { rankingScreen.setCup(cup); });
  }

  mainWindow.wireScreen(MenuItem::ConvocationTeams, convocationScreen,
                        QLatin1String(kConvocationTeamsCaption));
  mainWindow.wireScreen(MenuItem::ConvocationPairs, convocationScreen,
                        QLatin1String(kConvocationPairsCaption));
  mainWindow.wireScreen(MenuItem::TournamentMail, tournamentMailScreen);
}

}  // namespace vantrel
