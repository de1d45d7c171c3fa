#include "accounting/settings_screen.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>

#include "core/numbers.h"
#include "core/text_helpers.h"
#include "platform/busy_guard.h"
#include "platform/named_button.h"
#include "platform/record_grid.h"
#include "platform/text.h"

namespace vantrel {

namespace {

using platform::Button;
using platform::MessageKind;

QLineEdit* MakeEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  return edit;
}

// A list grid: ">" marker, number, name (and amount for the dues).
RecordGrid* MakeListGrid(QWidget* parent, const char* name, bool amounts, const int* selection) {
  std::vector<GridColumn> columns = {
      {QStringLiteral(">"), 20}, {QStringLiteral("Num"), 52}, {QStringLiteral("Libellé"), 201}};
  if (amounts) columns.push_back({QStringLiteral("Montant"), 70, Qt::AlignRight});
  auto* grid = new RecordGrid(std::move(columns), parent);
  grid->setObjectName(QString::fromLatin1(name));
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->model().setCellText([selection](const std::string& line, int row, int column) {
    if (column == 0) return std::string(row + 1 == *selection ? ">" : "");
    const std::string field = FieldAt(line, column - 1);
    if (column == 3) {
      if (const std::optional<std::int32_t> cents = TryParseInteger(field)) {
        return FormatCents(*cents);
      }
    }
    return field;
  });
  grid->setMinimumWidth(grid->naturalWidth());
  grid->setMinimumHeight(6 * 23 + 30);
  return grid;
}

void ShowSelection(RecordGrid* grid, int selection) {
  grid->model().refreshCells();
  const int rows = grid->model().rowCount() + 1;  // with the header row
  if (selection > 0) {
    const QSignalBlocker blocker(grid);
    grid->selectRow(selection - 1);
  }
  if (selection < rows - 5) {
    grid->setTopRow(selection - 1);
  } else if (rows > 5) {
    grid->setTopRow(rows - 5 - 1);
  }
}

}  // namespace

TFichFPar::TFichFPar(AppContext& context, QWidget* parent) : Screen(context, parent) {
  setObjectName(QStringLiteral("TFichFPar"));
  setWindowTitle(QStringLiteral("Paramètrages et personnalisation du logiciel OU Nouvelle Saison"));
  auto* layout = new QVBoxLayout(this);

  auto* fields = new QGridLayout;
  EditEntite = MakeEdit(this, "EditEntite");
  EditSigle = MakeEdit(this, "EditSigle");
  EditAnnee = MakeEdit(this, "EditAnnee");
  EdExercice = MakeEdit(this, "EdExercice");
  EdExercice->setText(QStringLiteral("2014-2015"));
  BtMemorisation = NamedButton(this, QStringLiteral("Mémorisation"), "BtMemorisation");
  BtChangement = NamedButton(this, QStringLiteral("Changement d'exercice"), "BtChangement");
  BtNouvel = NamedButton(this, QStringLiteral("Nouvel exercice"), "BtNouvel");
  fields->addWidget(new QLabel(QStringLiteral("Nom de l'entité :"), this), 0, 0);
  fields->addWidget(EditEntite, 0, 1);
  fields->addWidget(new QLabel(QStringLiteral("Sigle de l'entité :"), this), 1, 0);
  fields->addWidget(EditSigle, 1, 1);
  fields->addWidget(BtMemorisation, 1, 2);
  fields->addWidget(new QLabel(QStringLiteral("Année de l'exercice :"), this), 2, 0);
  fields->addWidget(EditAnnee, 2, 1);
  fields->addWidget(BtChangement, 2, 2);
  fields->addWidget(BtNouvel, 3, 0);
  fields->addWidget(EdExercice, 3, 1);
  fields->setColumnStretch(1, 1);
  layout->addLayout(fields);

  auto* lists = new QHBoxLayout;
  auto* dues = new QGroupBox(QStringLiteral("Comptes Recettes ou tiers"), this);
  auto* duesLayout = new QGridLayout(dues);
  StrGrRecette = MakeListGrid(dues, "StrGrRecette", true, &m_duesSelection);
  Edit1 = MakeEdit(dues, "Edit1");
  Edit2 = MakeEdit(dues, "Edit2");
  Edit3 = MakeEdit(dues, "Edit3");
  Edit1->setReadOnly(true);
  Edit2->setReadOnly(true);
  Edit1->setMaximumWidth(60);
  Edit3->setMaximumWidth(80);
  Edit3->setAlignment(Qt::AlignRight);
  BtRecDebut = NamedButton(dues, QStringLiteral("Premier"), "BtRecDebut");
  BtRecPrecedant = NamedButton(dues, QStringLiteral("Précédant"), "BtRecPrecedant");
  BtRecSuivant = NamedButton(dues, QStringLiteral("Suivant"), "BtRecSuivant");
  BtRecFin = NamedButton(dues, QStringLiteral("Dernier"), "BtRecFin");
  BtModifier = NamedButton(dues, QStringLiteral("Modifier"), "BtModifier");
  duesLayout->addWidget(StrGrRecette, 0, 0, 1, 4);
  duesLayout->addWidget(Edit1, 1, 0);
  duesLayout->addWidget(Edit2, 1, 1, 1, 2);
  duesLayout->addWidget(Edit3, 1, 3);
  duesLayout->addWidget(BtRecDebut, 2, 0);
  duesLayout->addWidget(BtRecPrecedant, 2, 1);
  duesLayout->addWidget(BtRecSuivant, 2, 2);
  duesLayout->addWidget(BtRecFin, 2, 3);
  duesLayout->addWidget(BtModifier, 3, 3);
  lists->addWidget(dues);

  auto* payments = new QGroupBox(QStringLiteral("Comptes Financiers ou de tiers"), this);
  auto* paymentsLayout = new QGridLayout(payments);
  StrGrVersement = MakeListGrid(payments, "StrGrVersement", false, &m_paymentSelection);
  BtVerDebut = NamedButton(payments, QStringLiteral("Premier"), "BtVerDebut");
  BtVerPrecedant = NamedButton(payments, QStringLiteral("Précédant"), "BtVerPrecedant");
  BtVerSuivant = NamedButton(payments, QStringLiteral("Suivant"), "BtVerSuivant");
  BtVerFin = NamedButton(payments, QStringLiteral("Dernier"), "BtVerFin");
  paymentsLayout->addWidget(StrGrVersement, 0, 0, 1, 4);
  paymentsLayout->addWidget(BtVerDebut, 1, 0);
  paymentsLayout->addWidget(BtVerPrecedant, 1, 1);
  paymentsLayout->addWidget(BtVerSuivant, 1, 2);
  paymentsLayout->addWidget(BtVerFin, 1, 3);
  paymentsLayout->setRowStretch(2, 1);
  lists->addWidget(payments);
  layout->addLayout(lists, 1);

  auto* bottom = new QHBoxLayout;
  BtCotisations = NamedButton(this, QStringLiteral("Mise à jour des cotisations"), "BtCotisations");
  BtQuitte = NamedButton(this, QStringLiteral("Quitter"), "BtQuitte");
  bottom->addWidget(BtCotisations);
  bottom->addStretch(1);
  bottom->addWidget(BtQuitte);
  layout->addLayout(bottom);

  connect(EditEntite, &QLineEdit::textEdited, this, [this] { BtMemorisation->setEnabled(true); });
  connect(EditSigle, &QLineEdit::textEdited, this, [this] { BtMemorisation->setEnabled(true); });
  connect(EditAnnee, &QLineEdit::textEdited, this, [this] { BtChangement->setEnabled(true); });
  connect(EdExercice, &QLineEdit::textEdited, this, [this] { BtChangement->setEnabled(true); });
  connect(BtMemorisation, &QPushButton::clicked, this, &TFichFPar::onStore);
  connect(BtChangement, &QPushButton::clicked, this, [this] { onChangeExercise(false); });
  connect(BtNouvel, &QPushButton::clicked, this, [this] { onChangeExercise(true); });
  connect(BtModifier, &QPushButton::clicked, this, &TFichFPar::onModifyDues);
  connect(BtCotisations, &QPushButton::clicked, this, &TFichFPar::onResetDues);
  connect(BtQuitte, &QPushButton::clicked, this, &Screen::quit);

  const auto browse = [this](QPushButton* button, int* selection, const Lines* list, auto step) {
    connect(button, &QPushButton::clicked, this, [this, selection, list, step] {
      *selection = Clamp(step(*selection, static_cast<int>(list->size())), *list);
      refreshGrids();
    });
  };
  const auto first = [](int, int) { return 1; };
  const auto previous = [](int s, int) { return s > 1 ? s - 1 : s; };
  const auto next = [](int s, int n) { return s < n ? s + 1 : s; };
  const auto last = [](int, int n) { return n; };
  browse(BtRecDebut, &m_duesSelection, &m_lists.dues, first);
  browse(BtRecPrecedant, &m_duesSelection, &m_lists.dues, previous);
  browse(BtRecSuivant, &m_duesSelection, &m_lists.dues, next);
  browse(BtRecFin, &m_duesSelection, &m_lists.dues, last);
  browse(BtVerDebut, &m_paymentSelection, &m_lists.payments, first);
  browse(BtVerPrecedant, &m_paymentSelection, &m_lists.payments, previous);
  browse(BtVerSuivant, &m_paymentSelection, &m_lists.payments, next);
  browse(BtVerFin, &m_paymentSelection, &m_lists.payments, last);
  connect(StrGrRecette, &RecordGrid::cellSelected, this, [this](int row, int) {
    m_duesSelection = Clamp(row + 1, m_lists.dues);
    refreshGrids();
  });
  connect(StrGrVersement, &RecordGrid::cellSelected, this, [this](int row, int) {
    m_paymentSelection = Clamp(row + 1, m_lists.payments);
    refreshGrids();
  });

  BtMemorisation->setEnabled(false);
  BtChangement->setEnabled(false);
  refreshGrids();
  resize(760, 520);
}

int TFichFPar::Clamp(int line, const Lines& list) {
  const int count = static_cast<int>(list.size());
  if (line > count) line = count;
  if (line < 1) line = count > 0 ? 1 : 0;
  return line;
}

void TFichFPar::activated() {
  m_lists = {};
  m_duesSelection = 0;
  m_paymentSelection = 0;
  // With no exercise set yet there is no chart to follow: this screen is where one is chosen.
  if (!settings().exercise.empty()) {
    runCommand([this] { m_lists = accounting::RebuildMemberLists(settings().exerciseFolder()); });
  }
  EditEntite->setText(ToQString(settings().entity));
  EditSigle->setText(ToQString(settings().shortName));
  EditAnnee->setText(ToQString(settings().exercise));
  BtMemorisation->setEnabled(false);
  refreshGrids();
}

void TFichFPar::deactivated() {
  m_lists = {};
  refreshGrids();
}

void TFichFPar::refreshGrids() {
  m_duesSelection = Clamp(m_duesSelection, m_lists.dues);
  m_paymentSelection = Clamp(m_paymentSelection, m_lists.payments);
  StrGrRecette->model().setLines(m_lists.dues);
  StrGrVersement->model().setLines(m_lists.payments);
  const int dues = static_cast<int>(m_lists.dues.size());
  const int payments = static_cast<int>(m_lists.payments.size());
  BtRecDebut->setEnabled(m_duesSelection > 1);
  BtRecPrecedant->setEnabled(m_duesSelection > 1);
  BtRecSuivant->setEnabled(m_duesSelection < dues);
  BtRecFin->setEnabled(m_duesSelection < dues);
  BtModifier->setEnabled(dues > 0);
  BtVerDebut->setEnabled(m_paymentSelection > 1);
  BtVerPrecedant->setEnabled(m_paymentSelection > 1);
  BtVerSuivant->setEnabled(m_paymentSelection < payments);
  BtVerFin->setEnabled(m_paymentSelection < payments);
  const std::string line =
      m_duesSelection > 0 ? m_lists.dues[static_cast<std::size_t>(m_duesSelection - 1)] : "";
  Edit1->setText(ToQString(FieldAt(line, 0)));
  Edit2->setText(ToQString(FieldAt(line, 1)));
  Edit3->setText(ToQString(FieldAt(line, 2)));
  ShowSelection(StrGrRecette, m_duesSelection);
  ShowSelection(StrGrVersement, m_paymentSelection);
}

void TFichFPar::storeSettings() {
  Settings stored = settings();
  stored.shortName = FromQString(EditSigle->text());
  stored.entity = FromQString(EditEntite->text());
  stored.exercise = FromQString(EditAnnee->text());
  accounting::StoreSettings(stored);
  context().settings = stored;
  if (context().reloadSettings) context().reloadSettings();
  refreshGrids();
}

void TFichFPar::onStore() {
  if (runCommand([this] { storeSettings(); })) BtMemorisation->setEnabled(false);
}

void TFichFPar::onChangeExercise(bool create) {
  const std::string current = settings().exercise;
  const std::filesystem::path program = settings().programFolder;
  const std::string name = FromQString((create ? EdExercice : EditAnnee)->text());
  const std::filesystem::path folder = program / FolderPath(name);
  // Makes `exercise`, whose folder holds a chart, the current exercise.
  const auto switchTo = [&](const std::string& exercise, const std::filesystem::path& where) {
    EditAnnee->setText(ToQString(exercise));
    m_lists = accounting::ReadMemberLists(where);
    storeSettings();
  };
  const bool switched = runCommand([&] {
    if (std::filesystem::is_directory(folder)) {
      if (accounting::HoldsChart(folder)) {
        switchTo(name, folder);
      } else {
        EditAnnee->setText(ToQString(current));
      }
      return;
    }
    if (create &&
        ask(MessageKind::kConfirmation,
            QStringLiteral("Vous voulez créer un nouvel exercice :\n\r") + EdExercice->text(),
            {Button::kYes, Button::kNo}) == Button::kYes) {
      {
        BusyGuard busy(this);
        accounting::CreateExercise(settings().exerciseFolder(), folder);
      }
      switchTo(accounting::ExerciseNameOf(folder, program), folder);
      return;
    }
    const auto chosen =
        desktop().folderName(this, QStringLiteral("Changement d'exercice"), PathToQString(program));
    const std::filesystem::path where = chosen ? PathFromQString(*chosen) : std::filesystem::path();
    if (chosen && accounting::HoldsChart(where)) {
      switchTo(accounting::ExerciseNameOf(where, program), where);
    } else {
      EditAnnee->setText(ToQString(current));
    }
  });
  if (!switched) EditAnnee->setText(ToQString(settings().exercise));
  BtChangement->setEnabled(false);
}

void TFichFPar::onModifyDues() {
  runCommand([this] {
    accounting::SetDuesAmount(settings().exerciseFolder(), m_lists.dues, m_duesSelection,
                              FromQString(Edit3->text()));
  });
  refreshGrids();
}

void TFichFPar::onResetDues() {
  const QString question = QStringLiteral(
      "Attention vous allez pour chaque adhérent : \n\r- Enlever tous les les témoins de passage "
      "en comptabilité\n\r- Mettre les soldes à jours des comptes qui ne sont pas à zéro");
  if (!confirmDestructive(MessageKind::kConfirmation, question)) return;
  BusyGuard busy(this);
  runCommand([this] { accounting::ResetMemberDues(settings().exerciseFolder(), m_lists.dues); });
}

}  // namespace vantrel
