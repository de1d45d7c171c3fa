#include "members/consultation_screen.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/numbers.h"
#include "core/text_helpers.h"
#include "members/member_file.h"
#include "members/member_reports.h"
#include "members/member_search.h"
#include "members/report_variables.h"
#include "platform/mail.h"
#include "platform/named_button.h"
#include "platform/qt_path.h"
#include "platform/text.h"
#include "platform/wait_cursor.h"
#include "reports/report_request_bridge.h"

namespace vantrel {

namespace {

QLineEdit* ReadOnlyBox(QWidget* parent, const char* name) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QLatin1String(name));
  box->setReadOnly(true);
  return box;
}

}  // namespace

TFichFGest::TFichFGest(AppContext& context, QWidget* parent) : Screen(context, parent) {
  setObjectName(QStringLiteral("TFichFGest"));
  setWindowTitle(QStringLiteral("Consultation du Fichier adhèrents"));
  auto* layout = new QVBoxLayout(this);

  // Top panel: searches, envelope, browsing.
  auto* top = new QHBoxLayout;
  RadioGroup1 = new QGroupBox(QStringLiteral("Rechercher par"), this);
  RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
  auto* radios = new QVBoxLayout(RadioGroup1);
  RbLicence = new QRadioButton(QStringLiteral("Numéro de licence"), RadioGroup1);
  RbNom = new QRadioButton(QStringLiteral("Nom"), RadioGroup1);
  radios->addWidget(RbLicence);
  radios->addWidget(RbNom);
  top->addWidget(RadioGroup1);
  auto* searches = new QVBoxLayout;
  RechLicence = new QLineEdit(this);
  RechLicence->setObjectName(QStringLiteral("RechLicence"));
  RechNom = new QLineEdit(this);
  RechNom->setObjectName(QStringLiteral("RechNom"));
  RechLicence->setVisible(false);
  RechNom->setVisible(false);
  RechLicence->setFixedWidth(140);
  RechNom->setFixedWidth(140);
  searches->addWidget(RechLicence);
  searches->addWidget(RechNom);
  top->addLayout(searches);
  Button1 = NamedButton(this, QStringLiteral("Impression &Enveloppe"), "Button1");
  top->addWidget(Button1);
  top->addStretch(1);
  Bt_Debut = NamedButton(this, QStringLiteral("Premier"), "Bt_Debut");
  Bt_Precedant = NamedButton(this, QStringLiteral("Précédant"), "Bt_Precedant");
  Bt_Suivant = NamedButton(this, QStringLiteral("Suivant"), "Bt_Suivant");
  Bt_Fin = NamedButton(this, QStringLiteral("Dernier"), "Bt_Fin");
  BtQuitte = NamedButton(this, QStringLiteral("Quitter"), "BtQuitte");
  for (QPushButton* button : {Bt_Debut, Bt_Precedant, Bt_Suivant, Bt_Fin, BtQuitte})
    top->addWidget(button);
  layout->addLayout(top);

  // The member's boxes.
  auto* grid = new QGridLayout;
  EdNum = ReadOnlyBox(this, "EdNum");
  EdIv = ReadOnlyBox(this, "EdIv");
  EdLicence = ReadOnlyBox(this, "EdLicence");
  EdTitre = ReadOnlyBox(this, "EdTitre");
  EdNom = ReadOnlyBox(this, "EdNom");
  EdPrenom = ReadOnlyBox(this, "EdPrenom");
  EdAdr1 = ReadOnlyBox(this, "EdAdr1");
  EdAdr2 = ReadOnlyBox(this, "EdAdr2");
  EdAdr3 = ReadOnlyBox(this, "EdAdr3");
  EdCode = ReadOnlyBox(this, "EdCode");
  EdVille = ReadOnlyBox(this, "EdVille");
  EdDom = ReadOnlyBox(this, "EdDom");
  EdBur = ReadOnlyBox(this, "EdBur");
  EdPort = ReadOnlyBox(this, "EdPort");
  EdMail = ReadOnlyBox(this, "EdMail");
  EdNaiss = ReadOnlyBox(this, "EdNaiss");
  EdClub = ReadOnlyBox(this, "EdClub");
  EdMaj = ReadOnlyBox(this, "EdMaj");
  EdSolde = ReadOnlyBox(this, "EdSolde");
  EdSolde->setAlignment(Qt::AlignRight);
  const struct {
    const char* label;
    QLineEdit* box;
    int row;
    int column;
  } boxes[] = {
      {"N° Licence", EdNum, 0, 0},     {"Indice", EdIv, 0, 2},     {"Licence", EdLicence, 0, 4},
      {"Titre", EdTitre, 1, 0},        {"Nom", EdNom, 1, 2},       {"Prénom", EdPrenom, 1, 4},
      {"Adresse", EdAdr1, 2, 0},       {"", EdAdr2, 3, 0},         {"", EdAdr3, 4, 0},
      {"Code", EdCode, 5, 0},          {"Ville", EdVille, 5, 2},   {"Domicile", EdDom, 6, 0},
      {"Bureau", EdBur, 6, 2},         {"Portable", EdPort, 6, 4}, {"Emaill", EdMail, 7, 0},
      {"Naissance", EdNaiss, 8, 0},    {"Club", EdClub, 8, 2},     {"Mise à jour", EdMaj, 8, 4},
      {"Comptabilité", EdSolde, 9, 0},
  };
  for (const auto& b : boxes) {
    grid->addWidget(new QLabel(QString::fromUtf8(b.label), this), b.row, b.column);
    const bool wide = b.box == EdAdr1 || b.box == EdAdr2 || b.box == EdAdr3 || b.box == EdMail;
    grid->addWidget(b.box, b.row, b.column + 1, 1, wide ? 3 : 1);
  }
  LVote = new QLabel(this);
  LVote->setObjectName(QStringLiteral("LVote"));
  grid->addWidget(new QLabel(QStringLiteral("Convocation par courriel"), this), 9, 2);
  grid->addWidget(LVote, 9, 3);
  BtCourriel = NamedButton(this, QStringLiteral("Courriel"), "BtCourriel");
  grid->addWidget(BtCourriel, 7, 4);
  for (int column : {1, 3, 5}) grid->setColumnStretch(column, 1);
  layout->addLayout(grid);
  layout->addStretch(1);

  PopupMenu1 = new QMenu(this);
  Imprime = PopupMenu1->addAction(QStringLiteral("&Imprime"));
  Modifie = PopupMenu1->addAction(QStringLiteral("&Modifie"));
  Report = new reports::Report(desktop(), this);

  connect(RbLicence, &QRadioButton::clicked, this, [this] { onSearchBy(0); });
  connect(RbNom, &QRadioButton::clicked, this, [this] { onSearchBy(2); });
  connect(RechLicence, &QLineEdit::textEdited, this, &TFichFGest::onRechLicence);
  connect(RechNom, &QLineEdit::textEdited, this, &TFichFGest::onRechNom);
  connect(Bt_Debut, &QPushButton::clicked, this, [this] { moveTo(0); });
  connect(Bt_Precedant, &QPushButton::clicked, this, [this] {
    if (m_current > 0) moveTo(m_current - 1);
  });
  connect(Bt_Suivant, &QPushButton::clicked, this, [this] {
    if (m_current + 1 < static_cast<int>(m_members.size())) moveTo(m_current + 1);
  });
  connect(Bt_Fin, &QPushButton::clicked, this,
          [this] { moveTo(static_cast<int>(m_members.size()) - 1); });
  connect(BtQuitte, &QPushButton::clicked, this, &Screen::quit);
  connect(BtCourriel, &QPushButton::clicked, this, &TFichFGest::onCourriel);
  connect(Button1, &QPushButton::clicked, this, &TFichFGest::onEnvelope);
  connect(Imprime, &QAction::triggered, this, &TFichFGest::onImprime);
  connect(Modifie, &QAction::triggered, this, &TFichFGest::onModifie);
  resize(940, 440);
}

void TFichFGest::activated() {
  m_members.clear();
  m_current = -1;
  m_sortField = 2;
  if (!runCommand([&] { m_members = members::ReadMemberFile(settings().exerciseFolder()); }))
    return;
  refresh();
}

void TFichFGest::deactivated() {
  m_members.clear();
  m_current = -1;
}

void TFichFGest::moveTo(int record) {
  if (record < 0 || record >= static_cast<int>(m_members.size())) return;
  m_current = record;
  refresh();
}

void TFichFGest::refresh() {
  if (m_current == -1 && !m_members.empty()) m_current = 0;
  const int last = static_cast<int>(m_members.size()) - 1;
  Bt_Debut->setEnabled(m_current > 0);
  Bt_Precedant->setEnabled(m_current > 0);
  Bt_Suivant->setEnabled(m_current >= 0 && m_current < last);
  Bt_Fin->setEnabled(m_current >= 0 && m_current < last);
  if (m_current >= 0 && m_current <= last) {
    const std::string& line = m_members[static_cast<std::size_t>(m_current)];
    const std::pair<QLineEdit*, int> fields[] = {
        {EdNum, members::field::kLicence},         {EdIv, members::field::kValueIndex},
        {EdLicence, members::field::kLicenceKind}, {EdTitre, members::field::kTitle},
        {EdNom, members::field::kLastName},        {EdPrenom, members::field::kFirstName},
        {EdAdr1, members::field::kAddress1},       {EdAdr2, members::field::kAddress2},
        {EdAdr3, members::field::kAddress3},       {EdCode, members::field::kPostalCode},
        {EdVille, members::field::kTown},          {EdDom, members::field::kHomePhone},
        {EdBur, members::field::kOfficePhone},     {EdPort, members::field::kMobilePhone},
        {EdMail, members::field::kMail},           {EdNaiss, members::field::kBirthDate},
        {EdClub, members::field::kClub},           {EdMaj, members::field::kLastDuesPosting},
    };
    for (const auto& [box, k] : fields) {
      box->setText(ToQString(ExtractField(line, k)));
      box->setCursorPosition(0);  // long texts show their beginning
    }
    const std::string vote = ExtractField(line, members::field::kMailConvocations);
    LVote->setText(ToQString(vote));
    LVote->setStyleSheet(vote == "NON" ? QStringLiteral("color: red;")
                                       : QStringLiteral("color: blue;"));
    const std::string balance = ExtractField(line, members::field::kBalance);
    EdSolde->clear();
    if (!balance.empty()) {
      runCommand([&] { EdSolde->setText(ToQString(FormatCents(ParseInteger(balance)))); });
    }
  }
  BtCourriel->setEnabled(!EdMail->text().isEmpty());
}

void TFichFGest::onSearchBy(int field) {
  RechLicence->setVisible(false);
  RechNom->setVisible(false);
  if (m_sortField != field) {
    WaitCursor wait;
    m_current =
        members::SortMembers(m_members, field, members::SortVariant::kConsultation, m_current);
    m_sortField = field;
  }
  QLineEdit* search = field == 0 ? RechLicence : RechNom;
  search->setVisible(true);
  search->setFocus();
  refresh();
}

void TFichFGest::onRechLicence(const QString& text) {
  runCommand(
      [&] { m_current = members::SearchByLicence(m_members, FromQString(text), m_current); });
  refresh();
}

void TFichFGest::onRechNom(const QString& text) {
  m_current = members::SearchByName(m_members, FromQString(text), m_current);
  refresh();
}

void TFichFGest::onCourriel() {
  AskToChooseMailAccount(this, desktop());
  OpenMailClient(this, desktop(), "mailto:" + FromQString(EdMail->text()));
}

void TFichFGest::onEnvelope() {
  const QPoint at = mapToGlobal(QPoint(Button1->x() + 4, Button1->y() + 48));
  PopupMenu1->popup(at);
}

bool TFichFGest::loadEnvelope() {
  const bool shown = m_current >= 0 && m_current < static_cast<int>(m_members.size());
  const ReportRequest request =
      members::EnvelopeRequest(shown ? m_members[static_cast<std::size_t>(m_current)] : "");
  return reports::SetUpReport(*Report, request, settings().programFolder, members::kEnvelopeReport);
}

void TFichFGest::onImprime() {
  loadEnvelope();
  Report->ShowReport();
}

void TFichFGest::onModifie() {
  loadEnvelope();
  Report->DesignReport();
}

}  // namespace vantrel
