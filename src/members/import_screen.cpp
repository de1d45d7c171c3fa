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

#include "core/error.h"
#include "members/member_file.h"
#include "platform/qt_path.h"
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
  for (QRadioButton* const choice : {AjoutChoices[0], AjoutChoices[1], AjoutChoices[2],
                                     ModifChoices[0], ModifChoices[1], ModifChoices[2]}) {
    connect(choice, &QRadioButton::toggled, this, [this](bool checked) {
      if (checked) recount(false);
    });
  }
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
  const QString folder = PathToQString(settings().programFolder);
  const auto chosen =
      desktop().openFileName(this, QStringLiteral("Importation des données de la base FFB"),
                             folder + QStringLiteral("/*.csv"),
                             QStringLiteral("Fichiers Extraction de la base FFB (*.csv)"));
  if (!chosen) {
    ask(MessageKind::kInformation, QStringLiteral(" Vous n'avez pas choisi de fichier "),
        {Button::kOk});
    return;
  }
  int count = -1;
  if (!runCommand([&] {
        const members::Extraction extraction =
            members::ReadExtraction(PathFromQString(*chosen));
        count = members::ExtractionCount(extraction);
        m_players = extraction.players;
      })) {
    return;
  }
  if (count == -1) {
    ask(MessageKind::kInformation, QStringLiteral("Vous avez importé le mauvais type de fichier"),
        {Button::kOk});
    return;
  }
  if (count == 0) {
    ask(MessageKind::kInformation,
        QStringLiteral("Vous n'avez aucun enregistrement: Afficher les données avant de les "
                       "rapatrier dans un fichier"),
        {Button::kOk});
    return;
  }
  if (count < 2) return;
  ProgressBar1->setRange(0, count);
  ProgressBar1->setValue(0);
  recount(true);
}

// What the merge would do with the chosen options, nothing written: "Après accord" counts
// every question answered "&Oui", the most that may change. A count that fails (a licence
// that is not a whole number, a new player's unreadable birth date) gives its message in the
// label, and in an error box when the file has just been chosen; "Importation" stays disabled.
void TFichFimp::recount(bool showFailure) {
  ButtonImporte->setEnabled(false);
  LbComptes->clear();
  if (!m_loaded || m_importing || m_players.size() < 2) return;
  const members::ImportOptions options = chosenOptions();
  members::ImportCounts counts;
  try {
    WaitCursor wait;
    counts = members::CountMerge(m_members, m_players, options);
  } catch (const Error& error) {
    LbComptes->setText(
        QStringLiteral("Importation impossible avec ces choix : %1").arg(ToQString(error.what())));
    if (showFailure) {
      ask(MessageKind::kError, ToQString(error.what()), {Button::kOk});
    }
    return;
  }
  const bool mayAdd = options.add == members::MergeChoice::kAfterConsent;
  const bool mayChange = options.modify == members::MergeChoice::kAfterConsent;
  const QString most = QStringLiteral("au plus ");
  QString text = QStringLiteral(
                     "%1 joueur(s) dans le fichier : %2%3 nouveau(x), %4%5 "
                     "membre(s) à modifier, %6%7 inchangé(s)")
                     .arg(m_players.size())
                     .arg(mayAdd ? most : QString())
                     .arg(counts.added)
                     .arg(mayChange ? most : QString())
                     .arg(counts.changed)
                     .arg(mayChange ? QStringLiteral("au moins ") : QString())
                     .arg(counts.unchanged);
  if (counts.skipped > 0) {
    text += QStringLiteral(", %1 joueur(s) non ajouté(s)").arg(counts.skipped);
  }
  LbComptes->setText(text);
  ButtonImporte->setEnabled(true);
}

members::ImportOptions TFichFimp::chosenOptions() const {
  members::ImportOptions options;
  options.add = choiceOf(AjoutChoices);
  options.modify = choiceOf(ModifChoices);
  options.today = desktop().today();
  return options;
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
  const members::ImportOptions options = chosenOptions();
  // A question that replaces a member's data defaults to "&Non"; adding defaults to "&Oui".
  const members::ImportQuestion ask = [this](members::QuestionKind kind, const std::string& text) {
    const bool replaces = kind == members::QuestionKind::kReplaceValue;
    return desktop().message(this, MessageKind::kConfirmation, ToQString(text),
                             {Button::kYes, Button::kNo},
                             replaces ? Button::kNo : Button::kYes) == Button::kYes;
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
