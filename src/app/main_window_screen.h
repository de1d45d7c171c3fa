#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "core/folder_lock.h"
#include "platform/screen.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;

namespace vantrel {

// The items of the main menu that show a screen. Each starts disabled and is enabled by
// wiring it to the action that shows its screen (main() does, screen by screen).
enum class MenuItem {
  kMembersConsultation,
  kMembersEdition,
  kMembersMail,
  kMembersCard,
  kMembersImport,
  kAccountingChart,
  kAccountingLedger,
  kAccountingResults,
  kAccountingBalanceSheet,
  kAccountingTrialBalance,
  kAccountingEntry,
  kAccountingChartManagement,
  kBackup,
  kRestore,
  kSettingsSeason,
  kConvocationTeams,
  kConvocationPairs,
  kCupResults1,
  kCupManagement1,
  kCupRanking1,
  kCupResults2,
  kCupManagement2,
  kCupRanking2,
  kCupResults3,
  kCupManagement3,
  kCupRanking3,
  kCupResults4,
  kCupManagement4,
  kCupRanking4,
  kTournamentMail,
  kAbout,
  kCalculator,
};

// The main window: the club's name, short name and exercise on a lime-green ground, and
// the whole main menu.
class TFichFprg : public Screen {
  Q_OBJECT

 public:
  explicit TFichFprg(AppContext& context, QWidget* parent = nullptr);

  // Start-up: reads the settings and runs the version check. Returns false when the user
  // chose to download a newer version: the program then ends.
  bool startUp();

  // Enables a menu item and makes it run action.
  void wire(MenuItem item, std::function<void()> action);
  // Wires an item to show a screen (ShowScreen), after prepare (setting its caption or mode).
  void wireScreen(MenuItem item, QWidget& screen, std::function<void()> prepare = {});
  void wireScreen(MenuItem item, QWidget& screen, const QString& caption);

  // Reads the settings file into the current settings and enables or disables the
  // accounting entries by the exercise.
  void loadSettings();
  // Shows the current settings in the three panels and the accounting menu's caption.
  void refreshPanels();

  void activated() override;
  // Escape leaves the main window as it is: only "&Quitter" ends the program.
  void quit() override {}

  QAction* action(MenuItem item) const { return m_items.at(item); }
  QMenu* accountingMenu() const { return m_accountingMenu; }
  QAction* noCheckAction() const { return m_noCheck; }
  QMenuBar* menuBar() const { return m_menuBar; }

  // The program's web site and the deadline of one request; tests point them elsewhere.
  QString siteAddress() const { return m_siteAddress; }
  void setSiteAddress(const QString& address) { m_siteAddress = address; }
  int headTimeoutMs() const { return m_headTimeoutMs; }
  void setHeadTimeoutMs(int ms) { m_headTimeoutMs = ms; }

  QLabel* PanelEntite;
  QLabel* PanelSigle;
  QLabel* PanelAnnee;

  // Menu commands of the main window itself.
  void onOpenHelp(const QString& document);
  void onWriteToAuthor();
  void onSoftwareSite();
  void onResetMembers();
  void onToggleNoCheck();

 signals:
  void quitRequested();

 private:
  void buildMenu();
  QAction* addItem(QMenu* menu, const QString& caption, MenuItem item);
  void updateAccountingEnabled();
  // The version check of start-up; false when the user chose to download.
  bool checkVersion();

  QMenuBar* m_menuBar = nullptr;
  QMenu* m_accountingMenu = nullptr;
  QMenu* m_accountingEditMenu = nullptr;
  QAction* m_noCheck = nullptr;
  std::map<MenuItem, QAction*> m_items;
  std::map<MenuItem, bool> m_wired;
  QString m_siteAddress;
  int m_headTimeoutMs = 10000;
};

// Start-up, before the main window: holds the program folder for the whole run (keep the
// result alive), or, while another program holds it, tells so in an error box ("Vantrel est
// déjà ouvert sur ce dossier.") and returns nullptr: the program then ends.
std::unique_ptr<FolderHold> HoldProgramFolderAtStart(platform::Platform& desktop,
                                                     const std::filesystem::path& programFolder);

}  // namespace vantrel
