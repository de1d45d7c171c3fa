#include "members/import_screen.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "members/member_file.h"
#include "platform/text.h"
#include "platform/wait_cursor.h"

namespace vantrel {

namespace {

using platform::Button;
using platform::MessageKind;

const char* const kChoiceCaptions[3] = {"Toujours", "Après accord", "Jamais"};

QGroupBox* ChoiceGroup(QWidget* parent, const QString& caption, const QString& name,
                       QRadioButton* (&choices)[3]) {
  auto* group = new QGroupBox(caption, parent);
  group->setObjectName(name);
  auto* layout = new QVBoxLayout(group);
  auto* buttons = new QButtonGroup(group);
  for (int i = 0; i < 3; ++i) {
    choices[i] = new QRadioButton(QString::fromUtf8(kChoiceCaptions[i]), group);
    buttons->addButton(choices[i], i);
    layout->addWidget(choices[i]);
  }
  choices[0]->setChecked(true);
  return group;
}

}  // namespace

TFichFimp::TFichFimp(AppContext& context, QWidget* parent) : Screen(context, parent) {
  setObjectName(QStringLiteral("TFichFimp"));
  setWindowTitle(QStringLiteral("Importation des données de la base FFB"));
  // No close box: the screen is left with "Quitter" or ends by itself after an import.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint);

  auto* layout = new QVBoxLayout(this);
  auto* groups = new QHBoxLayout;
  RgAjout = ChoiceGroup(this, QStringLiteral("Ajout nouveau membre"), QStringLiteral("RgAjout"),
                        AjoutChoices);
  RgModif = ChoiceGroup(this, QStringLiteral("Modification pour un membre"),
                        QStringLiteral("RgModif"), ModifChoices);
  groups->addWidget(RgAjout);
  groups->addWidget(RgModif);
  layout->addLayout(groups);

  LbComptes = new QLabel(this);
  LbComptes->setObjectName(QStringLiteral("LbComptes"));
  LbComptes->setWordWrap(true);
  layout->addWidget(LbComptes);

  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  layout->addWidget(ProgressBar1);

  auto* buttons = new QHBoxLayout;
  ButtonImporte = new QPushButton(QStringLiteral("Importation"), this);
  ButtonImporte->setObjectName(QStringLiteral("ButtonImporte"));
  ButtonImporte->setEnabled(false);
  Button1 = new QPushButton(QStringLiteral("Quitter"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  buttons->addWidget(ButtonImporte);
  buttons->addStretch(1);
  buttons->addWidget(Button1);
  layout->addLayout(buttons);

  connect(ButtonImporte, &QPushButton::clicked, this, &TFichFimp::onImporte);
  connect(Button1, &QPushButton::clicked, this, &TFichFimp::quit);
  resize(480, 260);
}

void TFichFimp::activated() {
  if (m_importing) return;
  m_loaded = false;
  m_players.clear();
  LbComptes->clear();
  ButtonImporte->setEnabled(false);
  AjoutChoices[0]->setChecked(true);
  ModifChoices[0]->setChecked(true);
  if (!runCommand([&] { m_members = members::ReadMemberFile(settings().exerciseFolder()); })) {
    return;
  }
  m_loaded = true;
  chooseExtraction();
}

void TFichFimp::quit() {
  if (!m_importing) hide();
}

void TFichFimp::deactivated() {
  if (m_importing) return;
  m_members.clear();
  m_players.clear();
  m_loaded = false;
}

void TFichFimp::chooseExtraction() {
  const QString folder = QString::fromStdU16String(settings().programFolder.u16string());
  const auto chosen =
      desktop().openFileName(this, QStringLiteral("Importation des données de la base FFB"),
                             folder + QStringLiteral("/*.csv"),
                             QStringLiteral("Fichiers Extraction de la base FFB (*.csv)"));
  if (!chosen) {
    ask(MessageKind::Information, QStringLiteral(" Vous n'avez pas choisi de fichier "),
        {Button::Ok});
    return;
  }
  int count = -1;
  if (!runCommand([&] {
        const members::Extraction extraction =
            members::ReadExtraction(std::filesystem::path(chosen->toStdU16String()));
        count = members::ExtractionCount(extraction);
        m_players = extraction.players;
      })) {
    return;
  }
  if (count == -1) {
    ask(MessageKind::Information, QStringLiteral("Vous avez importé le mauvais type de fichier"),
        {Button::Ok});
    return;
  }
  if (count == 0) {
    ask(MessageKind::Information,
        QStringLiteral("Vous n'avez aucun enregistrement: Afficher les données avant de les "
                       "rapatrier dans un fichier"),
        {Button::Ok});
    return;
  }
  if (count < 2) return;
  ProgressBar1->setRange(0, count);
  ProgressBar1->setValue(0);
  // What the merge would do, every change accepted: nothing is written.
  runCommand([&] {
    WaitCursor wait;
    const members::ImportCounts counts =
        members::CountMerge(m_members, m_players, desktop().today());
    LbComptes->setText(QStringLiteral("%1 joueur(s) dans le fichier : %2 nouveau(x), %3 "
                                      "membre(s) à modifier, %4 inchangé(s)")
                           .arg(count)
                           .arg(counts.added)
                           .arg(counts.changed)
                           .arg(counts.unchanged));
    ButtonImporte->setEnabled(true);
  });
}

members::MergeChoice TFichFimp::choiceOf(QRadioButton* const (&choices)[3]) const {
  if (choices[1]->isChecked()) return members::MergeChoice::kAfterConsent;
  if (choices[2]->isChecked()) return members::MergeChoice::kNever;
  return members::MergeChoice::kAlways;
}

void TFichFimp::setBusy(bool busy) {
  ButtonImporte->setEnabled(!busy);
  Button1->setEnabled(!busy);
  RgAjout->setEnabled(!busy);
  RgModif->setEnabled(!busy);
}

void TFichFimp::onImporte() {
  if (!m_loaded) return;
  members::ImportOptions options;
  options.add = choiceOf(AjoutChoices);
  options.modify = choiceOf(ModifChoices);
  options.today = desktop().today();
  // A question that replaces a member's data defaults to "&Non"; adding defaults to "&Oui".
  const members::ImportQuestion ask = [this](members::QuestionKind kind, const std::string& text) {
    const bool replaces = kind == members::QuestionKind::kReplaceValue;
    return desktop().message(this, MessageKind::Confirmation, ToQString(text),
                             {Button::Yes, Button::No},
                             replaces ? Button::No : Button::Yes) == Button::Yes;
  };
  // Events run during the merge: the user may leave the screen and come back. The lists the
  // merge works on are its own, and activation waits for the end of the import.
  setBusy(true);
  m_importing = true;
  Lines merged = m_members;
  const Lines players = m_players;
  const bool done = runCommand([&] {
    members::MergeExtraction(merged, players, options, ask, [this](int k) {
      ProgressBar1->setValue(k);
      QApplication::processEvents();
    });
    ProgressBar1->setValue(ProgressBar1->maximum());
    WaitCursor wait;
    members::WriteMemberFile(settings().exerciseFolder(), merged);
  });
  m_importing = false;
  setBusy(false);
  if (!done) return;
  m_members = std::move(merged);
  hide();
}

}  // namespace vantrel
