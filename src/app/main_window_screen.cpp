#include "app/main_window_screen.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include "core/date.h"
#include "core/help_documents.h"
#include "core/mail_link.h"
#include "core/version.h"
#include "members/member_file.h"
#include "platform/help_document.h"
#include "platform/mail.h"
#include "platform/program_lock.h"
#include "platform/qt_path.h"
#include "platform/show_screen.h"
#include "platform/text.h"

namespace vantrel {
namespace {

using platform::Button;
using platform::MessageKind;

QLabel* MakePanel(QWidget* parent, int pixelHeight, bool bold) {
  auto* panel = new QLabel(parent);
  QFont font;
  font.setFamilies({QStringLiteral("Century Schoolbook"), QStringLiteral("C059"),
                    QStringLiteral("TeX Gyre Schola"), QStringLiteral("DejaVu Serif")});
  font.setStyleHint(QFont::Serif);
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  panel->setFont(font);
  panel->setAlignment(Qt::AlignCenter);
  panel->setStyleSheet(QStringLiteral("color: red;"));
  panel->setFrameShape(QFrame::StyledPanel);
  return panel;
}

}  // namespace

TFichFprg::TFichFprg(AppContext& context, QWidget* parent)
    : Screen(context, parent), m_siteAddress(QString::fromLatin1(kSiteAddress)) {
  setObjectName(QStringLiteral("TFichFprg"));
  setWindowTitle(QStringLiteral("(Version %1) Programme de gestion d'un club")
                     .arg(QString::fromLatin1(kVersion)));
  setAutoFillBackground(true);
  QPalette lime = palette();
  lime.setColor(QPalette::Window, QColor(0, 255, 0));
  setPalette(lime);

  auto* layout = new QVBoxLayout(this);
  m_menuBar = new QMenuBar(this);
  layout->setMenuBar(m_menuBar);
  PanelEntite = MakePanel(this, 37, true);
  PanelSigle = MakePanel(this, 48, false);
  PanelAnnee = MakePanel(this, 64, false);
  PanelEntite->setObjectName(QStringLiteral("PanelEntite"));
  PanelSigle->setObjectName(QStringLiteral("PanelSigle"));
  PanelAnnee->setObjectName(QStringLiteral("PanelAnnee"));
  layout->addWidget(PanelEntite, 1);
  layout->addWidget(PanelSigle, 1);
  layout->addWidget(PanelAnnee, 1);
  resize(640, 420);

  buildMenu();
  context.reloadSettings = [this] {
    loadSettings();
    refreshPanels();
  };
}

QAction* TFichFprg::addItem(QMenu* menu, const QString& caption, MenuItem item) {
  QAction* action = menu->addAction(caption);
  action->setEnabled(false);
  m_items[item] = action;
  return action;
}

void TFichFprg::buildMenu() {
  auto help = [this](QMenu* menu, const char* document,
                     const QString& caption = QStringLiteral("Aides")) {
    connect(menu->addAction(caption), &QAction::triggered, this,
            [this, document] { onOpenHelp(QString::fromLatin1(document)); });
  };

  QMenu* members = m_menuBar->addMenu(QStringLiteral("&Membres"));
  addItem(members, QStringLiteral("&Consultation"), MenuItem::kMembersConsultation);
  members->addSeparator();
  addItem(members, QStringLiteral("&Edition"), MenuItem::kMembersEdition);
  addItem(members, QStringLiteral("Courriel"), MenuItem::kMembersMail);
  members->addSeparator();
  addItem(members, QStringLiteral("&Gestion"), MenuItem::kMembersCard);
  members->addSeparator();
  addItem(members, QStringLiteral("&Importation données FFB"), MenuItem::kMembersImport);
  members->addSeparator();
  connect(members->addAction(QStringLiteral("Remise à &zèro membres")), &QAction::triggered, this,
          &TFichFprg::onResetMembers);
  members->addSeparator();
  help(members, kHelpMembers);

  m_accountingMenu = m_menuBar->addMenu(QStringLiteral("&Comptabilité "));
  m_accountingEditMenu = m_accountingMenu->addMenu(QStringLiteral("&Edition"));
  addItem(m_accountingEditMenu, QStringLiteral("&Plan Comptable"), MenuItem::kAccountingChart);
  addItem(m_accountingEditMenu, QStringLiteral("&Grand Livre"), MenuItem::kAccountingLedger);
  addItem(m_accountingEditMenu, QStringLiteral("&Résultats"), MenuItem::kAccountingResults);
  addItem(m_accountingEditMenu, QStringLiteral("bi&Lan"), MenuItem::kAccountingBalanceSheet);
  addItem(m_accountingEditMenu, QStringLiteral("&Balance"), MenuItem::kAccountingTrialBalance);
  m_accountingMenu->addSeparator();
  addItem(m_accountingMenu, QStringLiteral("&Ecriture"), MenuItem::kAccountingEntry);
  m_accountingMenu->addSeparator();
  addItem(m_accountingMenu, QStringLiteral("Gestion Plan Comptable"),
          MenuItem::kAccountingChartManagement);
  m_accountingMenu->addSeparator();
  help(m_accountingMenu, kHelpAccounting);

  QMenu* utilities = m_menuBar->addMenu(QStringLiteral("Utilitaires"));
  addItem(utilities, QStringLiteral("&Sauvegarde"), MenuItem::kBackup);
  addItem(utilities, QStringLiteral("&Restauration"), MenuItem::kRestore);
  utilities->addSeparator();
  addItem(utilities, QStringLiteral("&Paramétrages/ Changement saison"), MenuItem::kSettingsSeason);
  utilities->addSeparator();
  help(utilities, kHelpExercise);

  QMenu* competitions = m_menuBar->addMenu(QStringLiteral("Compétitions/Tournois"));
  competitions->addAction(QStringLiteral("     CONVOCATIONS"));
  addItem(competitions, QStringLiteral("Epreuves fédérales par équipes"),
          MenuItem::kConvocationTeams);
  addItem(competitions, QStringLiteral("Epreuves fédérales par Paires"),
          MenuItem::kConvocationPairs);
  competitions->addSeparator();
  competitions->addAction(QStringLiteral("    COUPE ET CHALLENGE"));
  const QString cupNames[] = {QStringLiteral("1ère Coupe"), QStringLiteral("2ème Coupe"),
                              QStringLiteral("3ème Coupe"), QStringLiteral("4ème Coupe")};
  const MenuItem cupItems[4][3] = {
      {MenuItem::kCupResults1, MenuItem::kCupManagement1, MenuItem::kCupRanking1},
      {MenuItem::kCupResults2, MenuItem::kCupManagement2, MenuItem::kCupRanking2},
      {MenuItem::kCupResults3, MenuItem::kCupManagement3, MenuItem::kCupRanking3},
      {MenuItem::kCupResults4, MenuItem::kCupManagement4, MenuItem::kCupRanking4}};
  for (int cup = 0; cup < 4; ++cup) {
    QMenu* sub = competitions->addMenu(cupNames[cup]);
    addItem(sub, QStringLiteral("Résultats"), cupItems[cup][0]);
    addItem(sub, QStringLiteral("Gestion"), cupItems[cup][1]);
    addItem(sub, QStringLiteral("Classement"), cupItems[cup][2]);
  }
  competitions->addSeparator();
  addItem(competitions, QStringLiteral("Courriels Joueurs Tournoi"), MenuItem::kTournamentMail);
  competitions->addSeparator();
  help(competitions, kHelpConvocations);

  QMenu* information = m_menuBar->addMenu(QStringLiteral("Informations"));
  addItem(information, QStringLiteral("&A propos ..."), MenuItem::kAbout);
  connect(information->addAction(QStringLiteral("&M'écrire")), &QAction::triggered, this,
          &TFichFprg::onWriteToAuthor);
  information->addSeparator();
  addItem(information, QStringLiteral("&Calculette"), MenuItem::kCalculator);
  information->addSeparator();
  m_noCheck = information->addAction(QStringLiteral("Ne Pas Vérifier la mise à jour"));
  m_noCheck->setCheckable(true);
  connect(m_noCheck, &QAction::triggered, this, &TFichFprg::onToggleNoCheck);
  connect(information->addAction(QStringLiteral("Site du Logiciel")), &QAction::triggered, this,
          &TFichFprg::onSoftwareSite);
  information->addSeparator();
  help(information, kHelpGeneral, QStringLiteral("A&ides Générales"));

  QAction* quit = m_menuBar->addAction(QStringLiteral("&Quitter"));
  connect(quit, &QAction::triggered, this, &TFichFprg::quitRequested);
}

void TFichFprg::wire(MenuItem item, std::function<void()> action) {
  QAction* menuAction = m_items.at(item);
  m_wired[item] = true;
  connect(menuAction, &QAction::triggered, this,
          [this, action = std::move(action)] { runCommand(action); });
  menuAction->setEnabled(true);
  updateAccountingEnabled();
}

void TFichFprg::wireScreen(MenuItem item, QWidget& screen, std::function<void()> prepare) {
  wire(item, [&screen, prepare = std::move(prepare)] {
    if (prepare) prepare();
    ShowScreen(screen);
  });
}

void TFichFprg::wireScreen(MenuItem item, QWidget& screen, const QString& caption) {
  wireScreen(item, screen, [&screen, caption] { screen.setWindowTitle(caption); });
}

bool TFichFprg::startUp() {
  loadSettings();
  refreshPanels();
  return checkVersion();
}

void TFichFprg::loadSettings() {
  runCommand([this] { context().settings = LoadSettings(settings().programFolder); });
  updateAccountingEnabled();
}

void TFichFprg::updateAccountingEnabled() {
  const bool hasExercise = !settings().exercise.empty();
  m_accountingEditMenu->setEnabled(hasExercise);
  if (m_wired.count(MenuItem::kAccountingEntry)) {
    m_items.at(MenuItem::kAccountingEntry)->setEnabled(hasExercise);
  }
}

void TFichFprg::refreshPanels() {
  PanelEntite->setText(ToQString(settings().entity));
  PanelSigle->setText(ToQString(settings().shortName));
  PanelAnnee->setText(ToQString(settings().exercise));
  m_accountingMenu->setTitle(QStringLiteral("&Comptabilité ") + ToQString(settings().exercise));
}

void TFichFprg::activated() { refreshPanels(); }

bool TFichFprg::checkVersion() {
  const auto folder = settings().programFolder;
  // A failed write of the expired switch-off keeps the mark as the file has it.
  bool switchedOff = false;
  if (!runCommand([&] { switchedOff = UpdateCheckSwitchedOff(folder, desktop().today()); })) {
    runCommand([&] { switchedOff = LoadUpdateSwitch(folder).switchedOff; });
  }
  m_noCheck->setChecked(switchedOff);
  if (switchedOff) return true;

  const QString site = siteAddress();
  if (!desktop().headRequestOk(QUrl(site + QString::fromLatin1(kIndexPath)), headTimeoutMs())) {
    return true;
  }
  const QString versionPage =
      site + QStringLiteral("/arbitrage/Vantrel_%1.html").arg(QString::fromLatin1(kVersion));
  if (desktop().headRequestOk(QUrl(versionPage), headTimeoutMs())) return true;

  const QString text = QStringLiteral(
                           "Il éxiste une nouvelle version de Vantrel\n\n    qui peut être "
                           "téléchargée sur :\n\n           ") +
                       site + QStringLiteral("\n\n\n\n Voullez vous la télécharger ?\n");
  if (ask(MessageKind::kInformation, text, {Button::kYes, Button::kNo}) != Button::kYes) return true;
  desktop().openUrl(QUrl(site + QString::fromLatin1(kDownloadPath)));
  return false;
}

void TFichFprg::onOpenHelp(const QString& document) {
  OpenHelpDocument(this, desktop(), settings().programFolder, document.toLatin1().constData());
}

void TFichFprg::onWriteToAuthor() {
  OpenMailClient(this, desktop(),
                 MailtoWithSubject(kAuthorMail, std::string("Vantrel ") + kVersion));
}

void TFichFprg::onSoftwareSite() {
  if (desktop().openUrl(QUrl(siteAddress() + QString::fromLatin1(kDownloadPath)))) return;
  ask(MessageKind::kWarning,
      QStringLiteral("Le logiciel de surff par défaut\r\rn'est pas installé correctement"),
      {Button::kYes});
}

void TFichFprg::onResetMembers() {
  if (!confirmDestructive(
          MessageKind::kWarning,
          QStringLiteral("Attention vous allez détruire le fichier des membres "))) {
    return;
  }
  runCommand([this] { members::ResetMemberFile(settings().exerciseFolder()); });
}

void TFichFprg::onToggleNoCheck() {
  // QAction has already flipped the mark: it shows the file's state until the file is written.
  const bool wasOff = !m_noCheck->isChecked();
  m_noCheck->setChecked(wasOff);
  bool nowOff = wasOff;
  runCommand(
      [&] { nowOff = ToggleUpdateCheck(settings().programFolder, wasOff, desktop().today()); });
  m_noCheck->setChecked(nowOff);
}

std::unique_ptr<FolderHold> HoldProgramFolderAtStart(platform::Platform& desktop,
                                                     const std::filesystem::path& programFolder) {
  auto hold = platform::HoldProgramFolder(programFolder);
  if (!hold) {
    desktop.message(nullptr, MessageKind::kError, ToQString(kFolderInUseText), {Button::kOk});
  }
  return hold;
}

}  // namespace vantrel
