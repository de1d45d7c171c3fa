#include "accounting/entry_screen.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "accounting/accounting_files.h"
#include "core/date.h"
#include "core/numbers.h"
#include "platform/record_grid.h"
#include "platform/text.h"

namespace vantrel {

namespace {

using accounting::kEntryRows;

// Rows whose last 15 are kept in view.
constexpr int kRowsInView = 15;
constexpr int kRowHeight = 23;

QLineEdit* MakeEdit(QWidget* parent, const QString& name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  return edit;
}

QLineEdit* MakeShown(QWidget* parent, const QString& name) {
  QLineEdit* edit = MakeEdit(parent, name);
  edit->setReadOnly(true);
  edit->setFocusPolicy(Qt::NoFocus);
  edit->setAlignment(Qt::AlignRight);
  edit->setMaximumWidth(110);
  return edit;
}

std::vector<GridColumn> JournalColumns() {
  std::vector<GridColumn> columns = {{QStringLiteral("Ligne"), 45},
                                     {QStringLiteral("Date"), 88},
                                     {QStringLiteral("Libellé"), 300}};
  for (int n = 1; n <= kEntryRows; ++n) {
    const QString digit = QString::number(n);
    columns.push_back({QStringLiteral("Num.") + digit, 55});
    columns.push_back({QStringLiteral("Compte") + digit, 250});
    columns.push_back({QStringLiteral("Débit") + digit, 75, Qt::AlignRight});
    columns.push_back({QStringLiteral("Crédit") + digit, 75, Qt::AlignRight});
  }
  return columns;
}

std::vector<GridColumn> LedgerColumns() {
  return {{QStringLiteral("Ligne"), 45},
          {QStringLiteral("Date"), 88},
          {QStringLiteral("Libellé"), 300},
          {QStringLiteral("Débit"), 75, Qt::AlignRight},
          {QStringLiteral("Crédit"), 75, Qt::AlignRight},
          {QStringLiteral("T. Débit"), 75, Qt::AlignRight},
          {QStringLiteral("T. Crédit"), 75, Qt::AlignRight},
          {QStringLiteral("Solde"), 75, Qt::AlignRight}};
}

QString Money(const std::optional<std::int64_t>& cents) {
  return cents ? ToQString(FormatCents(*cents)) : QString();
}

}  // namespace

TFichFEntree::TFichFEntree(AppContext& context, QWidget* parent) : Screen(context, parent) {
  setObjectName(QStringLiteral("TFichFEntree"));
  setWindowTitle(QStringLiteral("Ecriture d'opération"));
  auto* layout = new QVBoxLayout(this);

  auto* form = new QGridLayout;
  Libelle = MakeEdit(this, QStringLiteral("Libelle"));
  EditDate = MakeEdit(this, QStringLiteral("EditDate"));
  EditDate->setInputMask(QStringLiteral("99/99/9999"));
  EditDate->setMaximumWidth(100);
  form->addWidget(new QLabel(QStringLiteral("Intitulé"), this), 0, 0);
  form->addWidget(Libelle, 0, 1, 1, 3);
  form->addWidget(new QLabel(QStringLiteral("Date"), this), 0, 4);
  form->addWidget(EditDate, 0, 5);
  form->addWidget(new QLabel(QStringLiteral("N° Compte"), this), 1, 1);
  form->addWidget(new QLabel(QStringLiteral("Saisie"), this), 1, 2);
  form->addWidget(new QLabel(QStringLiteral("Débit"), this), 1, 3);
  form->addWidget(new QLabel(QStringLiteral("Crédit"), this), 1, 4);
  for (int i = 0; i < kEntryRows; ++i) {
    const QString n = QString::number(i + 1);
    Compte[i] = new QComboBox(this);
    Compte[i]->setObjectName(QStringLiteral("Compte") + n);
    Compte[i]->setEditable(true);
    Compte[i]->setInsertPolicy(QComboBox::NoInsert);
    Compte[i]->setMinimumWidth(360);
    Compte[i]->setMaxVisibleItems(20);
    Compte[i]->installEventFilter(this);
    Saisie[i] = MakeEdit(this, QStringLiteral("Saisie") + n);
    Saisie[i]->setMaximumWidth(120);
    Debit[i] = MakeShown(this, QStringLiteral("Debit") + n);
    Credit[i] = MakeShown(this, QStringLiteral("Credit") + n);
    form->addWidget(Compte[i], 2 + i, 1);
    form->addWidget(Saisie[i], 2 + i, 2);
    form->addWidget(Debit[i], 2 + i, 3);
    form->addWidget(Credit[i], 2 + i, 4);
    connect(Saisie[i], &QLineEdit::textChanged, this, [this, i] { onAmountTyped(i + 1); });
  }
  EdSolde = MakeShown(this, QStringLiteral("EdSolde"));
  form->addWidget(new QLabel(QStringLiteral("Solde"), this), 7, 3, Qt::AlignRight);
  form->addWidget(EdSolde, 7, 4);
  Enregistrer = new QPushButton(QStringLiteral("Enregistrer"), this);
  Enregistrer->setObjectName(QStringLiteral("Enregistrer"));
  Annuler = new QPushButton(QStringLiteral("Annuler"), this);
  Annuler->setObjectName(QStringLiteral("Annuler"));
  Quitter = new QPushButton(QStringLiteral("Quitter"), this);
  Quitter->setObjectName(QStringLiteral("Quitter"));
  form->addWidget(Enregistrer, 2, 5);
  form->addWidget(Annuler, 3, 5);
  form->addWidget(Quitter, 6, 5);
  form->setColumnStretch(6, 1);
  layout->addLayout(form);

  Pages = new QTabWidget(this);
  Pages->setObjectName(QStringLiteral("Pages"));
  StrGrJournal = new RecordGrid(JournalColumns(), this);
  StrGrJournal->setObjectName(QStringLiteral("StrGrJournal"));
  StrGrJournal->model().setCellText(&accounting::JournalCellText);
  Pages->addTab(StrGrJournal, QStringLiteral("Livre Journal"));
  for (int i = 0; i < kEntryRows; ++i) {
    StrGrd[i] = new RecordGrid(LedgerColumns(), this);
    StrGrd[i]->setObjectName(QStringLiteral("StrGrd") + QString::number(i + 1));
    StrGrd[i]->model().setCellText([](const std::string& line, int, int column) {
      return accounting::LedgerCellText(line, column);
    });
    const int tab = Pages->addTab(StrGrd[i], QString());
    Pages->widget(tab)->setObjectName(QStringLiteral("StrGrd") + QString::number(i + 1));
    Pages->setTabVisible(tab, false);
  }
  layout->addWidget(Pages, 1);

  setTabOrder(Libelle, Compte[0]);
  QWidget* previous = Compte[0];
  for (int i = 0; i < kEntryRows; ++i) {
    if (i > 0) setTabOrder(previous, Compte[i]);
    setTabOrder(Compte[i], Saisie[i]);
    previous = Saisie[i];
  }
  setTabOrder(previous, Enregistrer);
  setTabOrder(Enregistrer, Annuler);
  setTabOrder(Annuler, Quitter);
  setTabOrder(Quitter, EditDate);

  connect(Libelle, &QLineEdit::textChanged, this, [this] {
    m_form.label = FromQString(Libelle->text());
    checkBalance();
  });
  connect(Enregistrer, &QPushButton::clicked, this, &TFichFEntree::onPost);
  connect(Annuler, &QPushButton::clicked, this, &TFichFEntree::onCancel);
  connect(Quitter, &QPushButton::clicked, this, &Screen::quit);
  checkBalance();
  resize(1100, 720);
}

bool TFichFEntree::eventFilter(QObject* watched, QEvent* event) {
  for (int i = 0; i < kEntryRows; ++i) {
    if (watched != Compte[i]) continue;
    const auto* focus = static_cast<QFocusEvent*>(event);
    // The box's own drop-down list takes the focus for a moment: that is no leaving.
    if (event->type() == QEvent::FocusIn && focus->reason() != Qt::PopupFocusReason) {
      onEnterAccount(i + 1);
    } else if (event->type() == QEvent::FocusOut && focus->reason() != Qt::PopupFocusReason) {
      onLeaveAccount(i + 1);
    }
  }
  return Screen::eventFilter(watched, event);
}

void TFichFEntree::activated() {
  runCommand([this] { m_form.loadChart(folder()); });
  for (RecordGrid* grid : StrGrd) grid->setRowHeight(kRowHeight);
  StrGrJournal->setRowHeight(kRowHeight);
  Pages->setCurrentIndex(0);
  EditDate->setText(ToQString(FormatDate(desktop().today())));
  onCancel();
}

void TFichFEntree::deactivated() {
  m_form.clear();
  for (Lines& offered : m_offered) Lines().swap(offered);
}

void TFichFEntree::onEnterAccount(int k) {
  QComboBox* box = Compte[k - 1];
  Lines& offered = m_offered[k - 1];
  offered = m_form.rowChoices();
  QStringList items;
  items.reserve(static_cast<qsizetype>(offered.size()));
  for (const std::string& choice : offered) items << ToQString(choice);
  const QString text = box->currentText();
  const QSignalBlocker blocker(box);
  box->clear();
  box->addItems(items);
  box->setCurrentIndex(-1);
  box->setEditText(text);
}

void TFichFEntree::onLeaveAccount(int k) {
  QComboBox* box = Compte[k - 1];
  Pages->setTabVisible(k, false);
  const bool kept = m_form.leaveAccount(k, FromQString(box->currentText()), m_offered[k - 1]);
  if (!kept) {
    const QSignalBlocker blocker(box);
    box->setEditText(QString());
    checkBalance();
    return;
  }
  showLedger(k);
  m_settingAmount = true;
  Saisie[k - 1]->setText(ToQString(m_form.row(k).typed));
  m_settingAmount = false;
  checkBalance();
  if (StrGrd[k - 1]->model().rowCount() >= kRowsInView) StrGrd[k - 1]->showLastRows(kRowsInView);
}

void TFichFEntree::showLedger(int k) {
  const std::string account = m_form.row(k).account;
  Lines ledger;
  runCommand([&] { ledger = accounting::ReadLedger(folder(), account.substr(0, 4)); });
  StrGrd[k - 1]->model().setLines(std::move(ledger));
  Pages->setTabText(k, ToQString(account));
  Pages->setTabVisible(k, true);
  Pages->setCurrentIndex(k);
}

void TFichFEntree::onAmountTyped(int k) {
  if (m_settingAmount) {
    checkBalance();
    return;
  }
  runCommand([&] { m_form.typeAmount(k, FromQString(Saisie[k - 1]->text())); });
  checkBalance();
}

void TFichFEntree::checkBalance() {
  for (int k = 1; k <= kEntryRows; ++k) {
    Debit[k - 1]->setText(Money(m_form.row(k).debit));
    Credit[k - 1]->setText(Money(m_form.row(k).credit));
  }
  EdSolde->setText(QString::number(m_form.imbalance()));
  Enregistrer->setVisible(m_form.canPost());
}

void TFichFEntree::loadJournal() {
  Lines journal;
  runCommand(
      [&] { journal = ReadLinesIfExists(settings().exerciseFile(accounting::kJournalFileName)); });
  StrGrJournal->model().setLines(std::move(journal));
  if (StrGrJournal->model().rowCount() >= kRowsInView) StrGrJournal->showLastRows(kRowsInView);
}

void TFichFEntree::onCancel() {
  m_form.resetRows();
  for (int i = 0; i < kEntryRows; ++i) {
    const QSignalBlocker blockBox(Compte[i]);
    const QSignalBlocker blockAmount(Saisie[i]);
    Saisie[i]->clear();
    Compte[i]->setEditText(QString());
    Pages->setTabVisible(i + 1, false);
  }
  Pages->setCurrentIndex(0);
  checkBalance();
  loadJournal();
}

void TFichFEntree::onPost() {
  if (!m_form.canPost()) return;
  m_form.date = FromQString(EditDate->text());
  m_form.label = FromQString(Libelle->text());
  if (!runCommand([this] { m_form.post(folder()); })) return;
  onCancel();
}

}  // namespace vantrel
