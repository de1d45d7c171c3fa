#include "guides/guide_shots.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <deque>
#include <functional>

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
#include "core/settings.h"
#include "members/consultation_screen.h"
#include "members/import_screen.h"
#include "members/listing_screen.h"
#include "members/member_card_screen.h"
#include "platform/app_context.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "utilities/backup_screen.h"
#include "utilities/calculator_screen.h"

namespace vantrel::guides {
namespace {

namespace fs = std::filesystem;
using platform::Button;

// The desktop of the screenshots: nobody answers, so every box takes its default button,
// the file dialogs take the names queued for them, nothing is opened and no site answers.
class QuietDesktop : public platform::Platform {
 public:
  std::deque<QString> files;

  using platform::Platform::message;
  Button message(QWidget*, platform::MessageKind, const QString&, const std::vector<Button>&,
                 Button defaultButton) override {
    return defaultButton;
  }
  std::optional<QString> openFileName(QWidget*, const QString&, const QString&,
                                      const QString&) override {
    return next();
  }
  std::optional<QString> saveFileName(QWidget*, const QString&, const QString&,
                                      const QString&) override {
    return next();
  }
  std::optional<QString> folderName(QWidget*, const QString&, const QString&) override {
    return next();
  }
  bool choosePrinter(QWidget*, QPrinter&) override { return false; }
  bool openUrl(const QUrl&) override { return false; }
  bool headRequestOk(const QUrl&, int) override { return false; }
  // The demonstration's day: in the current exercise, after its last tournament.
  Date today() override { return *Date::FromYmd(2026, 12, 10); }
  qint64 tickMs() override { return m_clock.elapsed(); }
  QTime currentTime() override { return QTime(18, 30); }
  std::vector<platform::Drive> drives() override {
    return {{platform::Drive::Type::kRemovable, QStringLiteral("CLE_CLUB"), QStringLiteral("E:/")},
            {platform::Drive::Type::kFixed, QString(), QStringLiteral("C:/")}};
  }
  // A club's computer, not the build's.
  QString documentsFolder() override { return QStringLiteral("C:/Users/Club/Documents"); }

 private:
  std::optional<QString> next() {
    if (files.empty()) return std::nullopt;
    QString name = files.front();
    files.pop_front();
    return name;
  }
  QElapsedTimer m_clock{};
};

void Settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

class Photographer {
 public:
  Photographer(AppContext& context, const QString& folder) : m_context(context), m_folder(folder) {}

  // Shows the screen as its menu item does, runs `prepare` on it, and saves its picture.
  void shoot(Screen& screen, const QString& name, const std::function<void()>& prepare = {}) {
    screen.show();
    screen.activated();
    if (prepare) prepare();
    Settle();
    save(screen.grab(), name);
    screen.deactivated();
    screen.hide();
  }
  void save(const QPixmap& picture, const QString& name) {
    if (picture.save(QDir(m_folder).filePath(name + QStringLiteral(".png")))) {
      m_names << name;
    }
  }
  const QStringList& names() const { return m_names; }

 private:
  AppContext& m_context;
  QString m_folder;
  QStringList m_names;
};

// The picture of a menu of the menu bar, opened under it.
void ShootMenu(Photographer& camera, TFichFprg& window, int index, const QString& name) {
  QAction* top = window.menuBar()->actions().value(index);
  if (top == nullptr || top->menu() == nullptr) return;
  QMenu* menu = top->menu();
  menu->popup(window.mapToGlobal(QPoint(0, 0)));
  Settle();
  camera.save(menu->grab(), name);
  menu->hide();
}

// The main window with every item enabled, and its five menus.
void ShootMainWindow(Photographer& camera, TFichFprg& window) {
  window.setHeadTimeoutMs(1);
  window.startUp();
  // Every item as the program shows it: enabled by its screen (here, a screen of its own).
  for (int item = static_cast<int>(MenuItem::kMembersConsultation);
       item <= static_cast<int>(MenuItem::kCalculator); ++item) {
    window.wire(static_cast<MenuItem>(item), [] {});
  }
  window.resize(760, 420);
  window.show();
  window.activated();
  Settle();
  camera.save(window.grab(), QStringLiteral("fenetre_principale"));
  const char* const menus[] = {"menu_membres", "menu_comptabilite", "menu_utilitaires",
                               "menu_competitions", "menu_informations"};
  for (int i = 0; i < 5; ++i) ShootMenu(camera, window, i, QString::fromLatin1(menus[i]));
  window.hide();
}

void ShootMemberScreens(Photographer& camera, AppContext& context) {
  TFichFin card(context);
  camera.shoot(card, QStringLiteral("fiche_adherent"));
  camera.shoot(card, QStringLiteral("fiche_cotisations"),
               [&] { card.PageControl1->setCurrentIndex(card.PageControl1->count() - 1); });

  TFichFGest consultation(context);
  consultation.setWindowTitle(QStringLiteral("Consultation du Fichier adhèrents"));
  camera.shoot(consultation, QStringLiteral("consultation"));

  TFichFEdit listing(context);
  listing.setWindowTitle(QStringLiteral("Edition des données après tri"));
  listing.setMode(TFichFEdit::Mode::kListing);
  camera.shoot(listing, QStringLiteral("editions"));
  listing.setWindowTitle(QStringLiteral("Edition des données après tri pour envoi par Courriel"));
  listing.setMode(TFichFEdit::Mode::kMail);
  camera.shoot(listing, QStringLiteral("editions_courriel"));

  TFichFimp import(context);
  camera.shoot(import, QStringLiteral("importation"));
}

void ShootAccountingScreens(Photographer& camera, AppContext& context) {
  TFichFPlan chart(context);
  chart.setWindowTitle(QStringLiteral("Gestion du plan Comptable"));
  camera.shoot(chart, QStringLiteral("plan_comptable"));

  TFichFEntree entry(context);
  entry.setWindowTitle(QStringLiteral("Ecriture d'opération"));
  camera.shoot(entry, QStringLiteral("ecriture"));

  TFichFGLiv books(context);
  books.setMode(TFichFGLiv::kTrialBalanceMode);
  camera.shoot(books, QStringLiteral("livres"));

  TFichFTable statements(context);
  statements.setMode(TFichFTable::kBalanceSheetMode);
  camera.shoot(statements, QStringLiteral("etats"));

  TFichFPar settingsScreen(context);
  settingsScreen.setWindowTitle(
      QStringLiteral("Paramètrages et personnalisation du logiciel OU Nouvelle Saison"));
  camera.shoot(settingsScreen, QStringLiteral("parametres"));
}

void ShootUtilityScreens(Photographer& camera, AppContext& context) {
  TFichFSvg backup(context);
  backup.setMode(TFichFSvg::Mode::kBackup);
  camera.shoot(backup, QStringLiteral("sauvegarde"));

  TFichFCalc calculator(context);
  camera.shoot(calculator, QStringLiteral("calculette"));

  TApropos about(context);
  camera.shoot(about, QStringLiteral("apropos"));
}

// The competition screens over the demonstration's pages and result files, which the quiet
// desktop's file dialogs give them.
void ShootCompetitionScreens(Photographer& camera, AppContext& context, QuietDesktop& desktop) {
  const auto file = [&](const char* name) {
    return PathToQString(context.settings.exerciseFolder() / name);
  };
  TFichFConvoc convocation(context);
  convocation.setWindowTitle(QLatin1String(kConvocationTeamsCaption));
  camera.shoot(convocation, QStringLiteral("convocations"), [&] {
    desktop.files.push_back(file("Coupe_de_France.Qug"));
    convocation.BtOuvrirInscrits->click();
    desktop.files.push_back(file("Coupe_de_France.qud"));
    convocation.BtOuvrirEntete->click();
  });
  camera.shoot(convocation, QStringLiteral("convocations_inscrits"),
               [&] { convocation.PageControl->setCurrentIndex(1); });

  TFichFResult results(context);
  camera.shoot(results, QStringLiteral("resultats"), [&] {
    desktop.files.push_back(file("Coupe1_Tournoi1.chr"));
    results.BtOuvrirResultat->click();
  });

  TFichFGestion cups(context);
  cups.setCup(1);
  camera.shoot(cups, QStringLiteral("coupe_gestion"));

  TFichFClassment ranking(context);
  ranking.setCup(1);
  camera.shoot(ranking, QStringLiteral("coupe_classement"));

  TFichFCourriels mail(context);
  camera.shoot(mail, QStringLiteral("courriels_tournoi"));
}

}  // namespace

QStringList TakeScreenshots(const fs::path& programFolder, const QString& folder) {
  QDir().mkpath(folder);
  QuietDesktop desktop;
  AppContext context(desktop);
  context.settings.programFolder = programFolder;
  Photographer camera(context, folder);
  // The main window lives through the whole run, as in the program: the screens reload the
  // settings through it.
  TFichFprg window(context);
  ShootMainWindow(camera, window);
  ShootMemberScreens(camera, context);
  ShootAccountingScreens(camera, context);
  ShootUtilityScreens(camera, context);
  ShootCompetitionScreens(camera, context, desktop);
  return camera.names();
}

}  // namespace vantrel::guides
