#include "members/member_card_screen.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "accounting/accounting_files.h"
#include "accounting/dues_posting.h"
#include "core/external_text.h"
#include "core/numbers.h"
#include "core/text_helpers.h"
#include "platform/browse_buttons.h"
#include "platform/busy_guard.h"
#include "platform/named_button.h"
#include "platform/record_grid.h"
#include "platform/text.h"

namespace vantrel {

namespace {

using members::CardRow;
using platform::Button;
using platform::MessageKind;
namespace field = members::field;

QLineEdit* MakeEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  return edit;
}

QComboBox* MakeList(QWidget* parent, const char* name, const QStringList& items) {
  auto* list = new QComboBox(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setEditable(true);
  list->setInsertPolicy(QComboBox::NoInsert);
  list->addItems(items);
  return list;
}

// A dues or payment grid: account, name, amount, posting mark; no header row.
RecordGrid* MakeLinesGrid(QWidget* parent, const char* name, int rows) {
  auto* grid = new RecordGrid({{QString(), 52},
                               {QString(), 223},
                               {QString(), 73, Qt::AlignRight},
                               {QString(), 19, Qt::AlignHCenter}},
                              parent);
  grid->setObjectName(QString::fromLatin1(name));
  grid->setHeaderShown(false);
  grid->setRowHeight(22);
  grid->setFixedSize(grid->naturalWidth() - grid->verticalScrollBar()->sizeHint().width(),
                     rows * 22 + 2 * grid->frameWidth());
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Rows are picked, never selected: the colours of the texts stay visible.
  grid->setSelectionMode(QAbstractItemView::NoSelection);
  // Red until posted ("X" in column 3), black once posted.
  grid->model().setCellColor([grid](int row, int) {
    return grid->model().cellText(row, 3) == "X" ? QColor(Qt::black) : QColor(Qt::red);
  });
  return grid;
}

// The caption row above a dues or payment grid, placed on its columns.
QWidget* GridCaptions(QWidget* parent, const QString& account) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(2, 0, 0, 0);
  layout->setSpacing(0);
  const std::pair<QString, int> captions[] = {
      {account, 52}, {QStringLiteral("Nom du compte"), 223}, {QStringLiteral("Montant"), 73}};
  for (const auto& [text, width] : captions) {
    auto* label = new QLabel(text, row);
    // Each caption stays within its column with a gap before the next one: the font is
    // made smaller until it does.
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    while (font.pointSizeF() > 6 && QFontMetrics(font).horizontalAdvance(text) > width - 6) {
      font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    label->setFont(font);
    label->setFixedWidth(width);
    layout->addWidget(label);
  }
  layout->addStretch(1);
  return row;
}

std::vector<std::string> LineCells(const members::AccountLine& line) {
  return {line.account, line.name, members::ShowCents(line.amount), line.posted() ? "X" : ""};
}

}  // namespace

TFichFin::TFichFin(AppContext& context, QWidget* parent) : Screen(context, parent) {
  setObjectName(QStringLiteral("TFichFin"));
  setWindowTitle(QStringLiteral("Modification de la fiche adhérent"));
  auto* layout = new QVBoxLayout(this);

  // Top panel: search and browsing.
  auto* top = new QHBoxLayout;
  RadioGroup1 = new QGroupBox(QStringLiteral("Recherche"), this);
  RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
  auto* search = new QGridLayout(RadioGroup1);
  RbLicence = new QRadioButton(QStringLiteral("Par Licence"), RadioGroup1);
  RbNom = new QRadioButton(QStringLiteral("Par Nom"), RadioGroup1);
  RechLicence = MakeEdit(RadioGroup1, "RechLicence");
  RechNom = MakeEdit(RadioGroup1, "RechNom");
  RechLicence->hide();
  RechNom->hide();
  search->addWidget(RbLicence, 0, 0);
  search->addWidget(RbNom, 1, 0);
  search->addWidget(RechLicence, 0, 1);
  search->addWidget(RechNom, 1, 1);
  search->setColumnMinimumWidth(1, 150);
  top->addWidget(RadioGroup1);
  auto* browse = new QGridLayout;
  Bt_Debut = NamedButton(this, QStringLiteral("Premier"), "Bt_Debut");
  Bt_Precedant = NamedButton(this, QStringLiteral("Précédant"), "Bt_Precedant");
  Bt_Suivant = NamedButton(this, QStringLiteral("Suivant"), "Bt_Suivant");
  Bt_Fin = NamedButton(this, QStringLiteral("Dernier"), "Bt_Fin");
  Bt_Ajouter = NamedButton(this, QStringLiteral("Ajouter"), "Bt_Ajouter");
  Bt_Supprimer = NamedButton(this, QStringLiteral("Supprimer"), "Bt_Supprimer");
  BtQuitte = NamedButton(this, QStringLiteral("Quitter"), "BtQuitte");
  browse->addWidget(Bt_Debut, 0, 0);
  browse->addWidget(Bt_Precedant, 0, 1);
  browse->addWidget(Bt_Suivant, 0, 2);
  browse->addWidget(Bt_Fin, 0, 3);
  browse->addWidget(Bt_Ajouter, 1, 0);
  browse->addWidget(Bt_Supprimer, 1, 1);
  browse->addWidget(BtQuitte, 1, 3);
  top->addLayout(browse, 1);
  layout->addLayout(top);

  // Identity panel.
  auto* identity = new QGridLayout;
  EdLicence = MakeEdit(this, "EdLicence");
  EdIv = MakeEdit(this, "EdIv");
  EdClub = MakeEdit(this, "EdClub");
  EdTitre = MakeList(this, "EdTitre", {QStringLiteral("M."), QStringLiteral("Mme")});
  EdNom = MakeEdit(this, "EdNom");
  EdPrenom = MakeEdit(this, "EdPrenom");
  identity->addWidget(new QLabel(QStringLiteral("N° Licence"), this), 0, 0);
  identity->addWidget(EdLicence, 0, 1);
  identity->addWidget(new QLabel(QStringLiteral("Indice"), this), 0, 2);
  identity->addWidget(EdIv, 0, 3);
  identity->addWidget(new QLabel(QStringLiteral("Club de Licence"), this), 0, 4);
  identity->addWidget(EdClub, 0, 5);
  identity->addWidget(EdTitre, 1, 0);
  identity->addWidget(new QLabel(QStringLiteral("Nom"), this), 1, 2);
  identity->addWidget(EdNom, 1, 3);
  identity->addWidget(new QLabel(QStringLiteral("Prénom"), this), 1, 4);
  identity->addWidget(EdPrenom, 1, 5);
  EdIv->setMaximumWidth(60);
  layout->addLayout(identity);

  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  PageControl1->addTab(buildAddressPage(), QStringLiteral("Adresse"));
  PageControl1->addTab(buildDuesPage(), QStringLiteral("Cotisations"));
  layout->addWidget(PageControl1, 1);

  connect(RbLicence, &QRadioButton::clicked, this, &TFichFin::onSearchChosen);
  connect(RbNom, &QRadioButton::clicked, this, &TFichFin::onSearchChosen);
  connect(RechLicence, &QLineEdit::textChanged, this, &TFichFin::onSearchLicence);
  connect(RechNom, &QLineEdit::textChanged, this, &TFichFin::onSearchName);
  ConnectBrowseButtons({Bt_Debut, Bt_Precedant, Bt_Suivant, Bt_Fin}, this, m_card,
                       [this] { refreshCard(); }, [this] { return settleEdits(); });
  connect(Bt_Ajouter, &QPushButton::clicked, this, &TFichFin::onAdd);
  connect(Bt_Supprimer, &QPushButton::clicked, this, &TFichFin::onDelete);
  connect(BtQuitte, &QPushButton::clicked, this, &Screen::quit);
  connect(EdLicence, &QLineEdit::textChanged, this, &TFichFin::updateSaveButtons);
  connect(EdNom, &QLineEdit::textChanged, this, &TFichFin::updateSaveButtons);
  connect(Bt_Modifier, &QPushButton::clicked, this, &TFichFin::onSave);
  connect(Bt_Enregistrer, &QPushButton::clicked, this, &TFichFin::onSave);
  connect(PageControl1, &QTabWidget::currentChanged, this, &TFichFin::onPageChanged);
  connect(StrGrRecette, &RecordGrid::cellSelected, this,
          [this](int row, int) { onRowSelected(CardRow::Kind::kDues, row); });
  connect(StrGrdVerss, &RecordGrid::cellSelected, this,
          [this](int row, int) { onRowSelected(CardRow::Kind::kPayment, row); });
  connect(StGrPopRecette, &RecordGrid::rowPicked, this, &TFichFin::onPicked);
  connect(StGrPopRecette, &RecordGrid::pickCancelled, this, &TFichFin::onPickCancelled);
  connect(Bt_Recet, &QPushButton::clicked, this, &TFichFin::onConfirmAmount);
  connect(Bt_Verss, &QPushButton::clicked, this, &TFichFin::onConfirmAmount);
  connect(Bt_Somme, &QLineEdit::returnPressed, this, &TFichFin::onConfirmAmount);
  connect(Compta, &QPushButton::clicked, this, &TFichFin::onPost);
  connect(MSolde, &QLineEdit::textChanged, this, [this](const QString& text) {
    Compta->setEnabled(TryParseDisplayedAmount(FromQString(text)) == std::int64_t{0});
  });
  Compta->setEnabled(false);
  refreshCard();
  resize(840, 600);
}

QWidget* TFichFin::buildAddressPage() {
  auto* page = new QWidget(this);
  auto* grid = new QGridLayout(page);
  EdAdr1 = MakeEdit(page, "EdAdr1");
  EdAdr2 = MakeEdit(page, "EdAdr2");
  EdAdr3 = MakeEdit(page, "EdAdr3");
  EdCode = MakeEdit(page, "EdCode");
  EdVille = MakeEdit(page, "EdVille");
  EdDom = MakeEdit(page, "EdDom");
  EdBur = MakeEdit(page, "EdBur");
  EdPort = MakeEdit(page, "EdPort");
  EdMail = MakeEdit(page, "EdMail");
  EdNaiss = MakeEdit(page, "EdNaiss");
  EdLic = MakeEdit(page, "EdLic");
  EdVote = MakeList(page, "EdVote", {QStringLiteral("OUI"), QStringLiteral("NON")});
  // Letters typed into the convocation choice come out as capitals.
  connect(EdVote->lineEdit(), &QLineEdit::textEdited, EdVote, [this](const QString& text) {
    const int cursor = EdVote->lineEdit()->cursorPosition();
    EdVote->lineEdit()->setText(ToQString(UpperCp1252(FromQString(text))));
    EdVote->lineEdit()->setCursorPosition(cursor);
  });
  Bt_Modifier = NamedButton(page, QStringLiteral("Enregistrer"), "Bt_Modifier");

  grid->addWidget(new QLabel(QStringLiteral("Adresse"), page), 0, 0);
  grid->addWidget(EdAdr1, 0, 1, 1, 3);
  grid->addWidget(EdAdr2, 1, 1, 1, 3);
  grid->addWidget(EdAdr3, 2, 1, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("Code Postal"), page), 3, 0);
  grid->addWidget(EdCode, 3, 1);
  grid->addWidget(new QLabel(QStringLiteral("Ville"), page), 3, 2);
  grid->addWidget(EdVille, 3, 3);
  grid->addWidget(new QLabel(QStringLiteral("N° Domicile"), page), 4, 0);
  grid->addWidget(EdDom, 4, 1);
  grid->addWidget(new QLabel(QStringLiteral("N° Bureau"), page), 4, 2);
  grid->addWidget(EdBur, 4, 3);
  grid->addWidget(new QLabel(QStringLiteral("N° Portable"), page), 5, 0);
  grid->addWidget(EdPort, 5, 1);
  grid->addWidget(new QLabel(QStringLiteral("Adesse e mail"), page), 5, 2);
  grid->addWidget(EdMail, 5, 3);
  grid->addWidget(new QLabel(QStringLiteral("Date de Naissance"), page), 6, 0);
  grid->addWidget(EdNaiss, 6, 1);
  grid->addWidget(new QLabel(QStringLiteral("Licence"), page), 6, 2);
  grid->addWidget(EdLic, 6, 3);
  grid->addWidget(new QLabel(QStringLiteral("Convocation par Courriel"), page), 7, 0);
  grid->addWidget(EdVote, 7, 1);
  grid->addWidget(Bt_Modifier, 7, 3, Qt::AlignRight);
  grid->setRowStretch(8, 1);
  grid->setColumnStretch(3, 1);
  return page;
}

QWidget* TFichFin::buildDuesPage() {
  auto* page = new QWidget(this);
  auto* layout = new QGridLayout(page);
  StrGrRecette = MakeLinesGrid(page, "StrGrRecette", members::kDuesLineCount);
  StrGrdVerss = MakeLinesGrid(page, "StrGrdVerss", members::kPaymentLineCount);
  MSolde = MakeEdit(page, "MSolde");
  MSolde->setReadOnly(true);
  MSolde->setAlignment(Qt::AlignRight);
  MSolde->setMaximumWidth(100);
  StGrPopRecette =
      new RecordGrid({{QString(), 49}, {QString(), 226}, {QString(), 71, Qt::AlignRight}}, page);
  StGrPopRecette->setObjectName(QStringLiteral("StGrPopRecette"));
  StGrPopRecette->setHeaderShown(false);
  StGrPopRecette->setRowHeight(24);
  StGrPopRecette->setFixedWidth(StGrPopRecette->naturalWidth());
  StGrPopRecette->setPickList(true);
  StGrPopRecette->hide();
  Bt_Somme = MakeEdit(page, "Bt_Somme");
  Bt_Somme->setMaximumWidth(90);
  Bt_Somme->setAlignment(Qt::AlignRight);
  Bt_Recet = NamedButton(page, QStringLiteral("<<"), "Bt_Recet");
  Bt_Verss = NamedButton(page, QStringLiteral(">>"), "Bt_Verss");
  Bt_Somme->hide();
  Bt_Recet->hide();
  Bt_Verss->hide();
  Compta = NamedButton(page, QStringLiteral("Passage en Comptabilité"), "Compta");
  Bt_Enregistrer = NamedButton(page, QStringLiteral("Enregistrer"), "Bt_Enregistrer");
  EdMaj = MakeEdit(page, "EdMaj");
  EdMaj->setMaximumWidth(100);

  auto* left = new QVBoxLayout;
  left->addWidget(GridCaptions(page, QStringLiteral("N°Compte")));
  left->addWidget(StrGrRecette);
  left->addSpacing(6);
  left->addWidget(GridCaptions(page, QStringLiteral("N° Compte")));
  left->addWidget(StrGrdVerss);
  auto* balance = new QHBoxLayout;
  balance->addWidget(new QLabel(QStringLiteral("Solde"), page));
  balance->addWidget(MSolde);
  balance->addStretch(1);
  balance->addWidget(new QLabel(QStringLiteral("Date du verssement"), page));
  balance->addWidget(EdMaj);
  left->addLayout(balance);
  left->addStretch(1);

  auto* right = new QVBoxLayout;
  right->addWidget(StGrPopRecette, 1);
  auto* amount = new QHBoxLayout;
  amount->addWidget(Bt_Recet);
  amount->addWidget(Bt_Somme);
  amount->addWidget(Bt_Verss);
  amount->addStretch(1);
  right->addLayout(amount);
  right->addStretch(0);
  right->addWidget(Compta);
  right->addWidget(Bt_Enregistrer);

  layout->addLayout(left, 0, 0);
  layout->addLayout(right, 0, 1);
  layout->setColumnStretch(1, 1);
  return page;
}

void TFichFin::activated() {
  if (m_keptOnLeaving) {
    m_keptOnLeaving = false;
    return;
  }
  runCommand([this] { m_card.load(folder()); });
  refreshCard();
}

void TFichFin::deactivated() {
  // The question shows over the window the user went to, which stays active once answered.
  QWidget* current = context().tracker.current();
  if (!settleEdits(current != nullptr && current != this ? current : this)) {
    m_keptOnLeaving = true;
    QTimer::singleShot(0, this, [this] {
      show();
      raise();
      activateWindow();
    });
    return;
  }
  m_card.clear();
}

void TFichFin::quit() {
  if (settleEdits()) Screen::quit();
}

void TFichFin::closeEvent(QCloseEvent* event) {
  if (settleEdits()) {
    Screen::closeEvent(event);
  } else {
    event->ignore();
  }
}

bool TFichFin::settleEdits(QWidget* over) {
  if (!m_card.hasChanges(boxes())) return true;
  if (over == nullptr) over = this;
  const Button answer = desktop().message(
      over, MessageKind::kConfirmation, QStringLiteral("Enregistrer les modifications de la fiche ?"),
      {Button::kYes, Button::kNo, Button::kCancel}, Button::kYes);
  if (answer == Button::kNo) {
    m_card.showCurrent();
    refreshCard();
    return true;
  }
  if (answer != Button::kYes) return false;
  if (EdLicence->text().isEmpty() || EdNom->text().isEmpty()) {
    desktop().message(
        over, MessageKind::kWarning,
        QStringLiteral("Une fiche sans N° Licence ou sans Nom ne peut pas être enregistrée."),
        {Button::kOk});
    return false;
  }
  const bool saved = runCommand([this] { m_card.save(folder(), boxes(), desktop().today()); });
  refreshCard();
  return saved;
}

members::CardFields TFichFin::boxes() const {
  members::CardFields fields;
  const std::pair<int, const QLineEdit*> edits[] = {
      {field::kLicence, EdLicence},  {field::kLastName, EdNom},       {field::kFirstName, EdPrenom},
      {field::kValueIndex, EdIv},    {field::kClub, EdClub},          {field::kAddress1, EdAdr1},
      {field::kAddress2, EdAdr2},    {field::kAddress3, EdAdr3},      {field::kPostalCode, EdCode},
      {field::kTown, EdVille},       {field::kHomePhone, EdDom},      {field::kOfficePhone, EdBur},
      {field::kMobilePhone, EdPort}, {field::kMail, EdMail},          {field::kBirthDate, EdNaiss},
      {field::kLicenceKind, EdLic},  {field::kLastDuesPosting, EdMaj}};
  for (const auto& [k, edit] : edits) fields.set(k, FromQString(edit->text()));
  fields.set(field::kTitle, FromQString(EdTitre->currentText()));
  fields.set(field::kMailConvocations, FromQString(EdVote->currentText()));
  return fields;
}

void TFichFin::refreshCard() {
  const bool any = !m_card.empty();
  Bt_Debut->setEnabled(m_card.canGoBack());
  Bt_Precedant->setEnabled(m_card.canGoBack());
  Bt_Suivant->setEnabled(m_card.canGoForward());
  Bt_Fin->setEnabled(m_card.canGoForward());
  Bt_Supprimer->setEnabled(any);
  Bt_Modifier->setEnabled(any);
  if (m_card.current() < 0) {
    StrGrRecette->model().setRows({});
    StrGrdVerss->model().setRows({});
    return;
  }
  const members::MemberRecord record = m_card.currentRecord();
  const std::pair<int, QLineEdit*> edits[] = {
      {field::kLicence, EdLicence},  {field::kLastName, EdNom},       {field::kFirstName, EdPrenom},
      {field::kValueIndex, EdIv},    {field::kClub, EdClub},          {field::kAddress1, EdAdr1},
      {field::kAddress2, EdAdr2},    {field::kAddress3, EdAdr3},      {field::kPostalCode, EdCode},
      {field::kTown, EdVille},       {field::kHomePhone, EdDom},      {field::kOfficePhone, EdBur},
      {field::kMobilePhone, EdPort}, {field::kMail, EdMail},          {field::kBirthDate, EdNaiss},
      {field::kLicenceKind, EdLic},  {field::kLastDuesPosting, EdMaj}};
  for (const auto& [k, edit] : edits) edit->setText(ToQString(record.get(k)));
  EdTitre->setCurrentText(ToQString(record.get(field::kTitle)));
  EdVote->setCurrentText(ToQString(record.mailConvocations()));
  refreshLines();
  updateSaveButtons();
  Bt_Modifier->setEnabled(Bt_Modifier->isEnabled() && any);
}

void TFichFin::refreshLines() {
  std::vector<std::vector<std::string>> dues;
  std::vector<std::vector<std::string>> payments;
  if (m_card.current() >= 0) {
    for (int i = 0; i < members::kDuesLineCount; ++i) {
      dues.push_back(LineCells(m_card.line({CardRow::Kind::kDues, i})));
    }
    for (int i = 0; i < members::kPaymentLineCount; ++i) {
      payments.push_back(LineCells(m_card.line({CardRow::Kind::kPayment, i})));
    }
  }
  StrGrRecette->model().setRows(dues);
  StrGrdVerss->model().setRows(payments);
  MSolde->setText(ToQString(members::ShowCents(m_card.balance())));
}

void TFichFin::updateSaveButtons() {
  const bool filled = !EdLicence->text().isEmpty() && !EdNom->text().isEmpty();
  Bt_Modifier->setEnabled(filled && !m_card.empty());
  Bt_Enregistrer->setEnabled(filled && !m_card.empty());
}

void TFichFin::onSearchChosen() {
  RechLicence->hide();
  RechNom->hide();
  // A new search starts from an empty box, whatever was typed for the other one.
  for (QLineEdit* edit : {RechLicence, RechNom}) {
    const QSignalBlocker quiet(edit);
    edit->clear();
  }
  const bool byLicence = RbLicence->isChecked();
  {
    BusyGuard busy(this);
    m_card.sortFor(byLicence ? field::kLicence : field::kLastName);
  }
  QLineEdit* edit = byLicence ? RechLicence : RechNom;
  edit->show();
  edit->setFocus();
}

void TFichFin::onSearchLicence() {
  // An emptied box is no search yet: the member shown stays, without an error.
  if (RechLicence->text().trimmed().isEmpty() || !settleEdits()) return;
  runCommand([this] { m_card.searchLicence(FromQString(RechLicence->text())); });
  refreshCard();
}

void TFichFin::onSearchName() {
  if (!settleEdits()) return;
  m_card.searchName(FromQString(RechNom->text()));
  refreshCard();
}

void TFichFin::onAdd() {
  if (!settleEdits()) return;
  PageControl1->setCurrentIndex(0);
  m_card.add(desktop().today());
  refreshCard();
}

void TFichFin::onSave() {
  runCommand([this] { m_card.save(folder(), boxes(), desktop().today()); });
  refreshCard();
}

void TFichFin::onDelete() {
  if (!confirmDestructive(MessageKind::kConfirmation, QStringLiteral("Suppression de la fiche.")))
    return;
  runCommand([this] { m_card.remove(folder()); });
  refreshCard();
}

void TFichFin::onPageChanged() {
  runCommand([this] { m_card.computeBalance(); });
  refreshLines();
  if (PageControl1->currentIndex() == 1) {
    StGrPopRecette->hide();
    Bt_Somme->hide();
    Bt_Recet->hide();
    Bt_Verss->hide();
    Bt_Enregistrer->setEnabled(true);
  }
}

void TFichFin::onRowSelected(CardRow::Kind kind, int row) {
  if (m_card.current() < 0 || !m_card.target({kind, row})) return;
  const bool dues = kind == CardRow::Kind::kDues;
  const char* list = dues ? accounting::kDuesListFileName : accounting::kPaymentListFileName;
  if (!runCommand([&] { m_pickLines = ReadLines(settings().exerciseFile(list)); })) return;
  std::vector<std::vector<std::string>> rows = {{"", "", ""}};
  for (const std::string& line : m_pickLines) {
    const std::string amount = FieldAt(line, 2);
    rows.push_back(
        {FieldAt(line, 0), FieldAt(line, 1), dues ? members::ShowCents(amount) : amount});
  }
  StGrPopRecette->model().setRows(rows);
  StGrPopRecette->clearSelection();
  StGrPopRecette->show();
}

void TFichFin::onPicked(int row) {
  StGrPopRecette->hide();
  std::optional<std::string> proposed;
  if (!runCommand([&] { proposed = m_card.choose(m_pickLines, row); })) return;
  refreshLines();
  if (!proposed) return;
  const bool dues = m_card.pickTarget()->kind == CardRow::Kind::kDues;
  if (dues) Bt_Enregistrer->setEnabled(false);
  Bt_Recet->setVisible(dues);
  Bt_Verss->setVisible(!dues);
  Bt_Somme->setText(ToQString(*proposed));
  Bt_Somme->show();
  Bt_Somme->setFocus();
  Bt_Somme->selectAll();
}

void TFichFin::onPickCancelled() {
  StGrPopRecette->hide();
  const auto target = m_card.pickTarget();
  if (target) {
    (target->kind == CardRow::Kind::kDues ? StrGrRecette : StrGrdVerss)->setFocus();
  }
}

void TFichFin::onConfirmAmount() {
  if (!m_card.pickTarget() || Bt_Somme->isHidden()) return;
  if (!runCommand([this] { m_card.confirmAmount(FromQString(Bt_Somme->text())); })) return;
  Bt_Recet->hide();
  Bt_Verss->hide();
  Bt_Somme->hide();
  refreshLines();
  Bt_Enregistrer->setEnabled(true);
}

void TFichFin::onPost() {
  members::PostingRefusal refusal = members::PostingRefusal::kNone;
  members::CardFields fields = boxes();
  if (!runCommand([&] {
        refusal = accounting::PostMemberDues(folder(), m_card, fields, desktop().today());
      })) {
    return;
  }
  refreshCard();
  QString why;
  switch (refusal) {
    case members::PostingRefusal::kNone:
      return;
    case members::PostingRefusal::kNothingToPost:
      why = QStringLiteral("Aucune ligne n'est à passer en comptabilité.");
      break;
    case members::PostingRefusal::kSingleLine:
      why = QStringLiteral(
          "Une seule ligne n'est pas passée en comptabilité :\nune écriture demande au moins "
          "une cotisation et un versement.\n\nRien n'a été passé en comptabilité.");
      break;
    case members::PostingRefusal::kTooManyLines:
      why = QStringLiteral(
          "Une écriture comporte au plus cinq lignes.\nEnregistrez d'abord une partie des "
          "lignes, passez-les, puis ajoutez les autres.\n\nRien n'a été passé en comptabilité.");
      break;
  }
  ask(MessageKind::kInformation, why, {Button::kOk});
}

}  // namespace vantrel
