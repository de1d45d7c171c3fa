#pragma once

#include "accounting/books_screen.h"
#include "accounting/chart_screen.h"
#include "accounting/entry_screen.h"
#include "accounting/settings_screen.h"
#include "accounting/statements_screen.h"
#include "app/apropos_screen.h"
#include "app/main_window_screen.h"
#include "competitions/convocation_screen.h"
#include "competitions/cup_management_screen.h"
#include "competitions/cup_ranking_screen.h"
#include "competitions/results_screen.h"
#include "competitions/tournament_mail_screen.h"
#include "members/consultation_screen.h"
#include "members/import_screen.h"
#include "members/listing_screen.h"
#include "members/member_card_screen.h"
#include "utilities/backup_screen.h"
#include "utilities/calculator_screen.h"

namespace vantrel {

// Every screen of the program, built once for the whole run over one context, and wired to
// the items of the main menu that show it (with its caption or mode). Build it after the
// main window, so that the screens go before the window that shows them.
class ProgramScreens {
 public:
  explicit ProgramScreens(AppContext& context);

  // Wires every item of the main menu that shows a screen.
  void wire(TFichFprg& mainWindow);

  // Member card, chart of accounts, entry screen, settings and new season.
  TFichFPar settingsScreen;
  TFichFin memberCard;
  TFichFPlan chartScreen;
  TFichFEntree entryScreen;
  // Utilities and the about box.
  TFichFCalc calculatorScreen;
  TFichFSvg backupScreen;
  TApropos aboutBox;
  // Books and statements ("&Edition" of the accounting menu).
  TFichFGLiv booksScreen;
  TFichFTable statementsScreen;
  // Members: consultation, listings (listing and mail modes), federation import.
  TFichFGest consultationScreen;
  TFichFEdit listingScreen;
  TFichFimp importScreen;
  // The four cups: one results screen for all, management and ranking told their cup.
  TFichFResult resultsScreen;
  TFichFGestion cupScreen;
  TFichFClassment rankingScreen;
  // Convocations to federal events and mail to tournament players.
  TFichFConvoc convocationScreen;
  TFichFCourriels tournamentMailScreen;

 private:
  void wireAccounting(TFichFprg& mainWindow);
  void wireMembersAndUtilities(TFichFprg& mainWindow);
  void wireCompetitions(TFichFprg& mainWindow);
};

}  // namespace vantrel
