#include "competitions/cup_management_screen.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/text_helpers.h"
#include "platform/browse_buttons.h"
#include "platform/named_button.h"
#include "platform/record_grid.h"
#include "platform/text.h"

namespace vantrel {

namespace {

using platform::MessageKind;

constexpr char kUntypedDate[] = "  /  /    ";

QLineEdit* MakeEdit(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  return edit;
}

}  // namespace

TFichFGestion::TFichFGestion(AppContext& context, QWidget* parent) : Screen(context, parent) {
  setObjectName(QStringLiteral("TFichFGestion"));

  EdNum = MakeEdit("EdNum", this);
  EdNum->setReadOnly(true);
  EdNum->setFocusPolicy(Qt::NoFocus);
  EdNum->setMaximumWidth(60);
  EdDate = MakeEdit("EdDate", this);
  // Day/month/year, untyped positions kept as blanks.
  EdDate->setInputMask(QStringLiteral("99/99/9999;_"));
  EdDate->setMaximumWidth(100);
  EdNom = MakeEdit("EdNom", this);
  EdType = MakeEdit("EdType", this);
  EdType->setReadOnly(true);
  EdType->setFocusPolicy(Qt::NoFocus);
  EdType->setMaximumWidth(30);
  SpColonne = new QSpinBox(this);
  SpColonne->setObjectName(QStringLiteral("SpColonne"));
  SpColonne->setRange(0, competitions::kMaxRankingColumn);
  SpColonne->setMaximumWidth(60);
  EdCoef = MakeEdit("EdCoef", this);
  EdCoef->setMaximumWidth(70);

  StrGrd = new RecordGrid({{QString(), 14},
                           {QString(), 40},
                           {QString(), 82},
                           {QString(), 230},
                           {QString(), 40, Qt::AlignCenter},
                           {QString(), 60, Qt::AlignCenter},
                           {QString(), 50, Qt::AlignRight},
                           {QString(), 200}},
                          this);
  StrGrd->setObjectName(QStringLiteral("StrGrd"));
  StrGrd->setHeaderShown(false);
  StrGrd->model().setCellColor(
      [](int row, int) { return row == 0 ? QColor(0, 0, 128) : QColor(); });

  Bt_Ajouter = NamedButton(this, QStringLiteral("Ajouter"), "Bt_Ajouter");
  Bt_Modifier = NamedButton(this, QStringLiteral("Modifier"), "Bt_Modifier");
  Bt_Supprimer = NamedButton(this, QStringLiteral("Supprimer"), "Bt_Supprimer");
  Bt_Lier = NamedButton(this, QStringLiteral("Lier un Résultat"), "Bt_Lier");
  BtX = NamedButton(this, QStringLiteral("X"), "BtX");
  BtX->setMaximumWidth(30);
  Bt_Premier = NamedButton(this, QStringLiteral("Premier"), "Bt_Premier");
  Bt_Precedant = NamedButton(this, QStringLiteral("Précédant"), "Bt_Precedant");
  Bt_Suivant = NamedButton(this, QStringLiteral("Suivant"), "Bt_Suivant");
  Bt_Dernier = NamedButton(this, QStringLiteral("Dernier"), "Bt_Dernier");
  BtQuitte = NamedButton(this, QStringLiteral("Quitter"), "BtQuitte");

  auto* fieldsLayout = new QGridLayout;
  const auto label = [this](const QString& text) { return new QLabel(text, this); };
  fieldsLayout->addWidget(label(QStringLiteral("Num")), 0, 0);
  fieldsLayout->addWidget(label(QStringLiteral("Date")), 0, 1);
  fieldsLayout->addWidget(label(QStringLiteral("Nom du tournoi")), 0, 2);
  fieldsLayout->addWidget(label(QStringLiteral("Type")), 0, 3, 1, 2);
  fieldsLayout->addWidget(label(QStringLiteral("Colonne")), 0, 5);
  fieldsLayout->addWidget(label(QStringLiteral("Coéf.")), 0, 6);
  fieldsLayout->addWidget(EdNum, 1, 0);
  fieldsLayout->addWidget(EdDate, 1, 1);
  fieldsLayout->addWidget(EdNom, 1, 2);
  fieldsLayout->addWidget(EdType, 1, 3);
  fieldsLayout->addWidget(BtX, 1, 4);
  fieldsLayout->addWidget(SpColonne, 1, 5);
  fieldsLayout->addWidget(EdCoef, 1, 6);
  fieldsLayout->setColumnStretch(2, 1);

  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {Bt_Premier, Bt_Precedant, Bt_Suivant, Bt_Dernier}) {
    buttons->addWidget(button);
  }
  buttons->addSpacing(16);
  for (QPushButton* button : {Bt_Ajouter, Bt_Modifier, Bt_Supprimer, Bt_Lier}) {
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  buttons->addWidget(BtQuitte);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fieldsLayout);
  layout->addWidget(StrGrd, 1);
  layout->addLayout(buttons);

  connect(Bt_Ajouter, &QPushButton::clicked, this, &TFichFGestion::onAjouter);
  connect(Bt_Modifier, &QPushButton::clicked, this, &TFichFGestion::onModifier);
  connect(Bt_Supprimer, &QPushButton::clicked, this, &TFichFGestion::onSupprimer);
  connect(Bt_Lier, &QPushButton::clicked, this, &TFichFGestion::onLier);
  connect(BtX, &QPushButton::clicked, this, &TFichFGestion::onX);
  ConnectBrowseButtons({Bt_Premier, Bt_Precedant, Bt_Suivant, Bt_Dernier}, this, m_cupFile,
                       [this] { refresh(); });
  connect(BtQuitte, &QPushButton::clicked, this, &TFichFGestion::quit);
  // A click on a tournament's row makes it the current line.
  connect(StrGrd, &RecordGrid::cellSelected, this, [this](int row, int) {
    if (m_refreshing || row < 1 || row > m_cupFile.count() || row == m_cupFile.current()) return;
    while (m_cupFile.current() < row) m_cupFile.next();
    while (m_cupFile.current() > row) m_cupFile.previous();
    refresh();
  });

  EdType->setText(QStringLiteral("P"));
  SpColonne->setValue(1);
  EdCoef->setText(QStringLiteral("100"));
  EdDate->setText(QString::fromLatin1(kUntypedDate));
  setCup(1);
  resize(760, 420);
  refresh();
}

void TFichFGestion::setCup(int cup) {
  const bool other = cup != m_cup;
  m_cup = cup;
  setWindowTitle(QStringLiteral("Gestion de la Coupe %1").arg(cup));
  // Already the active screen: no activation will come to read the other cup.
  if (other && context().tracker.current() == this) activated();
}

std::filesystem::path TFichFGestion::exerciseFolder() const { return settings().exerciseFolder(); }

void TFichFGestion::activated() {
  runCommand([this] { m_cupFile.load(competitions::CupFilePath(exerciseFolder(), m_cup)); });
  refresh();
}

void TFichFGestion::deactivated() { m_cupFile.clear(); }

competitions::CupFields TFichFGestion::fields() const {
  competitions::CupFields fields;
  fields.date = FromQString(EdDate->displayText().replace(QLatin1Char('_'), QLatin1Char(' ')));
  fields.name = FromQString(EdNom->text());
  fields.kind = FromQString(EdType->text());
  fields.column = SpColonne->value();
  fields.coefficient = FromQString(EdCoef->text());
  return fields;
}

void TFichFGestion::onAjouter() {
  runCommand([this] { m_cupFile.add(fields()); });
  refresh();
}

void TFichFGestion::onModifier() {
  runCommand([this] { m_cupFile.modify(fields()); });
  refresh();
}

void TFichFGestion::onSupprimer() {
  if (m_cupFile.current() < 1) return;
  const std::string& line = m_cupFile.lines()[static_cast<std::size_t>(m_cupFile.current() - 1)];
  QString text = QStringLiteral("Suppression du tournoi %1 du %2.")
                     .arg(ToQString(FieldAt(line, competitions::cup_field::kName)),
                          ToQString(FieldAt(line, competitions::cup_field::kDate)));
  const std::string result = FieldAt(line, competitions::cup_field::kResultFile);
  if (!result.empty()) {
    text += QStringLiteral("\nSon résultat %1 ne comptera plus dans la coupe.")
                .arg(ToQString(result));
  }
  if (!confirmDestructive(MessageKind::kConfirmation, text)) return;
  runCommand([this] { m_cupFile.remove(); });
  refresh();
}

void TFichFGestion::onLier() {
  const std::optional<QString> chosen = desktop().openFileName(
      this, QStringLiteral("Lier un résultat d'un tournoi"), PathToQString(exerciseFolder()),
      QStringLiteral("au groupe (*.chr *.Chr *.CHR)"));
  // The result file is kept by name: the ranking looks for it in the exercise folder.
  const std::string name = chosen ? FromQString(QFileInfo(*chosen).fileName()) : std::string();
  runCommand([&] { m_cupFile.link(fields(), name); });
  refresh();
}

void TFichFGestion::onX() {
  EdType->setText(ToQString(competitions::ToggleCupKind(FromQString(EdType->text()))));
}

void TFichFGestion::refresh() {
  m_refreshing = true;
  const int count = m_cupFile.count();
  const int current = m_cupFile.current();
  Bt_Premier->setEnabled(current > 1);
  Bt_Precedant->setEnabled(current > 1);
  Bt_Suivant->setEnabled(current < count);
  Bt_Dernier->setEnabled(current < count);
  Bt_Supprimer->setEnabled(count > 0);
  Bt_Modifier->setEnabled(count > 0);

  std::vector<std::vector<std::string>> rows;
  rows.push_back({current == 0 ? ">" : "", "Num", "Date", "Nom", "Type", "Colonne",
                  "Co\xE9"
                  "f.",
                  "Fichier r\xE9sultat du challenge"});
  for (int k = 1; k <= count; ++k) {
    const std::string& line = m_cupFile.lines()[static_cast<std::size_t>(k - 1)];
    std::vector<std::string> row{k == current ? ">" : ""};
    for (int f = 0; f <= competitions::cup_field::kResultFile; ++f) row.push_back(FieldAt(line, f));
    rows.push_back(std::move(row));
  }
  StrGrd->model().setRows(rows);

  if (current > 0) {
    const competitions::CupFields line = m_cupFile.currentFields();
    EdNum->setText(ToQString(m_cupFile.currentNumber()));
    EdDate->setText(ToQString(line.date));
    EdNom->setText(ToQString(line.name));
    EdType->setText(ToQString(line.kind));
    SpColonne->setValue(line.column);
    EdCoef->setText(ToQString(line.coefficient));
  }
  m_refreshing = false;
}

}  // namespace vantrel
