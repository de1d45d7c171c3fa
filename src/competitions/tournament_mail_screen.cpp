#include "competitions/tournament_mail_screen.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "competitions/tournament_mail.h"
#include "members/member_file.h"
#include "platform/busy_guard.h"
#include "platform/file_filter.h"
#include "platform/mail.h"
#include "platform/text.h"

namespace vantrel {

namespace {

QLineEdit* MakeDisplay(const QString& text, const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(text, parent);
  edit->setObjectName(QLatin1String(name));
  edit->setReadOnly(true);
  return edit;
}

}  // namespace

TFichFCourriels::TFichFCourriels(AppContext& context, QWidget* parent) : Screen(context, parent) {
  setObjectName(QStringLiteral("TFichFCourriels"));
  setWindowTitle(
      QStringLiteral("Envoi de courriels aux joueurs ayant disputé un tournoi de régularité"));

  LbTitre1 = new QLabel(QStringLiteral("Courriel aux joueurs à partir du fichier créé "), this);
  LbTitre2 = new QLabel(QStringLiteral("  avec FfbClubNet Contenant tous les tournois"), this);
  LbTitre3 =
      new QLabel(QStringLiteral("Préalablement transformer le fichier xls en fichier csv"), this);
  QFont bold = LbTitre1->font();
  bold.setBold(true);
  LbTitre1->setFont(bold);
  LbTitre2->setFont(bold);

  BtOuvrir = new QPushButton(QStringLiteral("Ouvrir le fichier .csv"), this);
  BtOuvrir->setObjectName(QStringLiteral("BtOuvrir"));
  CbSeance = new QComboBox(this);
  CbSeance->setObjectName(QStringLiteral("CbSeance"));
  CbSeance->setPlaceholderText(QStringLiteral("Séance"));
  CbSeance->setMinimumContentsLength(24);
  EdDate = MakeDisplay(QStringLiteral("12/12/2018"), "EdDate", this);
  EdJour = MakeDisplay(QStringLiteral("Vendredi"), "EdJour", this);
  EdMoment = MakeDisplay(QStringLiteral("Après-Midi"), "EdMoment", this);
  EdType = MakeDisplay(QStringLiteral("Régularité"), "EdType", this);
  BtEnvoi = new QPushButton(QStringLiteral("Envoi Courriels"), this);
  BtEnvoi->setObjectName(QStringLiteral("BtEnvoi"));
  BtQuitter = new QPushButton(QStringLiteral("Quitter"), this);
  BtQuitter->setObjectName(QStringLiteral("BtQuitter"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(LbTitre1);
  layout->addWidget(LbTitre2);
  layout->addWidget(LbTitre3);
  layout->addSpacing(6);
  auto* choice = new QHBoxLayout;
  choice->addWidget(BtOuvrir);
  choice->addWidget(CbSeance, 1);
  layout->addLayout(choice);
  auto* display = new QHBoxLayout;
  display->addWidget(EdDate);
  display->addWidget(EdJour);
  display->addWidget(EdMoment);
  display->addWidget(EdType);
  layout->addLayout(display);
  layout->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BtEnvoi);
  buttons->addStretch(1);
  buttons->addWidget(BtQuitter);
  layout->addLayout(buttons);

  CbSeance->setVisible(false);
  showDisplayFields(false);
  BtEnvoi->setVisible(false);

  connect(BtOuvrir, &QPushButton::clicked, this, &TFichFCourriels::onOuvrir);
  connect(CbSeance, &QComboBox::activated, this, &TFichFCourriels::onSeance);
  connect(BtEnvoi, &QPushButton::clicked, this, &TFichFCourriels::onEnvoi);
  connect(BtQuitter, &QPushButton::clicked, this, &Screen::quit);

  runCommand([&] { m_members = members::ReadMemberFile(settings().exerciseFolder()); });
  resize(560, 230);
}

void TFichFCourriels::activated() {
  m_members.clear();
  runCommand([&] { m_members = members::ReadMemberFile(settings().exerciseFolder()); });
  // The séance chosen before is looked up again in the members as they are now.
  if (EdDate->isVisibleTo(this)) onSeance(CbSeance->currentIndex());
}

void TFichFCourriels::showDisplayFields(bool shown) {
  for (QLineEdit* edit : {EdDate, EdJour, EdMoment, EdType}) edit->setVisible(shown);
}

void TFichFCourriels::onOuvrir() {
  const QString folder = PathToQString(settings().programFolder);
  const auto chosen = desktop().openFileName(
      this, QStringLiteral("Fichier des tournois FfbClubNet"), folder + QStringLiteral("/cha*.csv"),
      QtFileFilter(QStringLiteral("au groupe (*.csv)|*.csv")));
  if (!chosen) return;
  runCommand([&] {
    {
      BusyGuard busy(this);
      m_csv = competitions::ReadTournamentCsv(
          PathFromQString(OpenedFileName(*chosen, QStringLiteral("csv"))));
    }
    if (m_csv.size() < 2) {
      CbSeance->setVisible(false);
      return;
    }
    CbSeance->setVisible(true);
    const std::size_t known = m_seances.size();
    competitions::AddSeances(m_seances, m_csv);
    const int selected = CbSeance->currentIndex();
    for (std::size_t i = known; i < m_seances.size(); ++i)
      CbSeance->addItem(ToQString(m_seances[i]));
    // Adding to an empty list selects its first entry: the list shows "Séance" until a choice.
    CbSeance->setCurrentIndex(selected);
  });
}

void TFichFCourriels::onSeance(int index) {
  if (index < 0 || index >= static_cast<int>(m_seances.size())) {
    showDisplayFields(false);
    return;
  }
  showDisplayFields(true);
  const competitions::SeanceSelection selection =
      competitions::SelectSeance(m_csv, m_seances[static_cast<std::size_t>(index)], m_members);
  if (selection.display) {
    const auto& fields = *selection.display;
    EdDate->setText(ToQString(fields[0]));
    EdJour->setText(ToQString(fields[1]));
    EdMoment->setText(ToQString(fields[2]));
    EdType->setText(ToQString(fields[3]));
  }
  m_addresses = selection.addresses;
  if (!m_addresses.empty()) BtEnvoi->setVisible(true);
}

void TFichFCourriels::onEnvoi() {
  AskToChooseMailAccount(this, desktop());
  for (const std::string& link : competitions::TournamentMailLinks(m_addresses)) {
    OpenMailClient(this, desktop(), link);
  }
}

}  // namespace vantrel
