#include "members/listing_screen.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDateEdit>
#include <QGraphicsScene>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValueAxis>
#include <limits>

#include "core/cp1252.h"
#include "core/error.h"
#include "core/external_text.h"
#include "core/text_helpers.h"
#include "members/member_file.h"
#include "members/member_outputs.h"
#include "members/report_variables.h"
#include "platform/mail.h"
#include "platform/named_button.h"
#include "platform/qt_path.h"
#include "platform/text.h"
#include "platform/wait_cursor.h"
#include "reports/report_request_bridge.h"

namespace vantrel {

namespace {

using platform::Button;
using platform::MessageKind;
namespace field = members::field;

constexpr int kRowHeight = 23;
constexpr int kMailColumn = 5;
constexpr int kMarkColumn = 6;
constexpr char kMark[] = "X";

struct Column {
  const char* header;
  int field;
};
// Listing mode: 20 columns.
constexpr Column kListingColumns[] = {
    {"licence", field::kLicence},
    {"titre", field::kTitle},
    {"nom", field::kLastName},
    {"Prenom", field::kFirstName},
    {"IV", field::kValueIndex},
    {"adresse", field::kAddress1},
    {"adresse", field::kAddress2},
    {"adresse", field::kAddress3},
    {"Code", field::kPostalCode},
    {"Ville", field::kTown},
    {"Téléphone", field::kHomePhone},
    {"Bureau", field::kOfficePhone},
    {"Portable", field::kMobilePhone},
    {"courriel", field::kMail},
    {"Naissance", field::kBirthDate},
    {"Licence", field::kLicenceKind},
    {"Age", field::kAge},
    {"MJ", field::kLastDuesPosting},
    {"Solde", field::kBalance},
    {"Courriel Convocation", field::kMailConvocations},
};
// Mail mode: 8 columns; "Sel." holds the marks.
constexpr Column kMailColumns[] = {
    {"licence", field::kLicence},
    {"titre", field::kTitle},
    {"nom", field::kLastName},
    {"Prenom", field::kFirstName},
    {"IV", field::kValueIndex},
    {"courriel", field::kMail},
    {"Sel.", -1},
    {"Cour. Convoc.", field::kMailConvocations},
};

// One colour per pyramid bar, in bracket order.
constexpr QRgb kBarColours[members::kBracketCount] = {
    0x1f77b4, 0xff7f0e, 0x2ca02c, 0xd62728, 0x9467bd, 0x8c564b, 0xe377c2, 0x7f7f7f,
    0xbcbd22, 0x17becf, 0x393b79, 0xad494a, 0x637939, 0x8c6d31, 0x843c39, 0x7b4173};

// Positions of the up-down controls: whole numbers wide enough for any balance of the file
// (cents are 32-bit, so their hundredths always fit).
int Position(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

QDate ToQDate(Date date) { return QDate(date.year(), date.month(), date.day()); }
Date FromQDate(const QDate& date) {
  return Date::FromYmd(date.year(), date.month(), date.day()).value_or(Date());
}

QListWidgetItem* CheckItem(QListWidget* list, const QString& text) {
  auto* item = new QListWidgetItem(text, list);
  item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
  item->setCheckState(Qt::Unchecked);
  return item;
}

bool Checked(QListWidget* list, const QString& text) {
  for (int i = 0; i < list->count(); ++i) {
    if (list->item(i)->text() == text) return list->item(i)->checkState() == Qt::Checked;
  }
  return false;
}

}  // namespace

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  up = new QToolButton(this);
  up->setArrowType(Qt::UpArrow);
  down = new QToolButton(this);
  down->setArrowType(Qt::DownArrow);
  for (QToolButton* button : {up, down}) {
    button->setFixedSize(18, 12);
    layout->addWidget(button);
  }
  connect(up, &QToolButton::clicked, this, [this] { step(1); });
  connect(down, &QToolButton::clicked, this, [this] { step(-1); });
}

void UpDown::step(int delta) {
  const int next = m_position + delta;
  if (next >= m_minimum && next <= m_maximum) m_position = next;
  emit clicked();
}

ListingModel::ListingModel(QObject* parent) : QAbstractTableModel(parent) {}

void ListingModel::setColumns(std::vector<Column> columns, int mailColumn) {
  beginResetModel();
  m_columns = std::move(columns);
  m_mailColumn = mailColumn;
  m_markColumn = -1;
  for (std::size_t c = 0; c < m_columns.size(); ++c) {
    if (m_columns[c].field < 0) m_markColumn = static_cast<int>(c);
  }
  m_lines.clear();
  m_cells.clear();
  m_marks.clear();
  m_markCount = 0;
  endResetModel();
}

void ListingModel::setLines(Lines lines) {
  // Rows removed then inserted, not a reset: the column widths stay as the user left them.
  if (!m_lines.empty()) {
    beginRemoveRows(QModelIndex(), 0, static_cast<int>(m_lines.size()) - 1);
    m_lines.clear();
    m_cells.clear();
    m_marks.clear();
    m_markCount = 0;
    endRemoveRows();
  }
  if (lines.empty()) return;
  beginInsertRows(QModelIndex(), 0, static_cast<int>(lines.size()) - 1);
  m_lines = std::move(lines);
  m_cells.assign(m_lines.size(), {});
  m_marks.assign(m_lines.size(), 0);
  m_markCount = 0;
  if (m_markColumn >= 0 && m_mailColumn >= 0) {
    const int field = m_columns[static_cast<std::size_t>(m_mailColumn)].field;
    for (std::size_t r = 0; r < m_lines.size(); ++r) {
      if (!ExtractField(m_lines[r], field).empty()) {
        m_marks[r] = 1;
        ++m_markCount;
      }
    }
  }
  endInsertRows();
}

int ListingModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_lines.size());
}

int ListingModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

const std::vector<QString>& ListingModel::cells(int row) const {
  std::vector<QString>& cells = m_cells[static_cast<std::size_t>(row)];
  if (cells.empty() && !m_columns.empty()) {
    const std::vector<std::string> fields = SplitFields(m_lines[static_cast<std::size_t>(row)]);
    cells.reserve(m_columns.size());
    for (const Column& column : m_columns) {
      if (column.field < 0) {
        cells.emplace_back();
        continue;
      }
      const std::size_t k = static_cast<std::size_t>(column.field);
      std::string text = k < fields.size() ? fields[k] : std::string();
      // As ExtractField reads it: a missing convocation choice is "OUI".
      if (text.empty() && column.field == field::kMailConvocations) text = "OUI";
      cells.push_back(ToQString(text));
    }
  }
  return cells;
}

QVariant ListingModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  const bool mark = index.column() == m_markColumn;
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      if (mark) return marked(index.row()) ? QString(QLatin1String(kMark)) : QString();
      return cells(index.row())[static_cast<std::size_t>(index.column())];
    case Qt::TextAlignmentRole:
      if (mark) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
      return {};
    default:
      return {};
  }
}

bool ListingModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount() ||
      index.column() >= columnCount() || index.column() == m_markColumn)
    return false;
  cells(index.row());  // split before the edit, so the other cells keep the line's values
  m_cells[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())] =
      value.toString();
  emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
  return true;
}

Qt::ItemFlags ListingModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
  if (index.column() != m_markColumn) flags |= Qt::ItemIsEditable;
  return flags;
}

QVariant ListingModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
      section < columnCount())
    return m_columns[static_cast<std::size_t>(section)].header;
  return QAbstractTableModel::headerData(section, orientation, role);
}

bool ListingModel::setMarked(int row, bool marked) {
  if (m_markColumn < 0 || row < 0 || row >= rowCount()) return false;
  char& mark = m_marks[static_cast<std::size_t>(row)];
  if (marked == (mark != 0)) return false;
  if (marked && address(row).isEmpty()) return false;
  mark = marked ? 1 : 0;
  m_markCount += marked ? 1 : -1;
  const QModelIndex cell = index(row, m_markColumn);
  emit dataChanged(cell, cell, {Qt::DisplayRole});
  return true;
}

QString ListingModel::address(int row) const {
  if (m_mailColumn < 0 || row < 0 || row >= rowCount()) return {};
  return cells(row)[static_cast<std::size_t>(m_mailColumn)];
}

ListingGrid::ListingGrid(QWidget* parent) : QTableView(parent), m_model(new ListingModel(this)) {
  setModel(m_model);
}

TFichFEdit::TFichFEdit(AppContext& context, QWidget* parent) : Screen(context, parent) {
  setObjectName(QStringLiteral("TFichFEdit"));
  auto* layout = new QVBoxLayout(this);

  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  QFont bold = Label1->font();
  bold.setBold(true);
  Label1->setFont(bold);
  layout->addWidget(Label1);

  // The criteria and the charts above, the selection below, the splitter between them giving
  // the grid the larger part.
  Partage = new QSplitter(Qt::Vertical, this);
  Partage->setObjectName(QStringLiteral("Partage"));
  Partage->setChildrenCollapsible(false);
  auto* upper = new QWidget(Partage);
  auto* top = new QHBoxLayout(upper);
  top->setContentsMargins(0, 0, 0, 0);
  // The criteria scroll when the splitter leaves them less room than they need.
  auto* criteria = new QScrollArea(upper);
  criteria->setObjectName(QStringLiteral("Criteres"));
  criteria->setFrameShape(QFrame::NoFrame);
  criteria->setWidgetResizable(true);
  criteria->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* panel = new QWidget(criteria);
  buildCriteria(panel);
  criteria->setWidget(panel);
  criteria->setMinimumWidth(panel->sizeHint().width() + criteria->verticalScrollBar()->sizeHint().width());
  criteria->setMaximumWidth(440);
  top->addWidget(criteria);

  Dessins = new QTabWidget(upper);
  Dessins->setObjectName(QStringLiteral("Dessins"));
  ChartIndice = new QChartView(new QChart, Dessins);
  ChartIndice->setObjectName(QStringLiteral("ChartIndice"));
  ChartIndice->setRenderHint(QPainter::Antialiasing);
  Chart1 = new QChartView(new QChart, Dessins);
  Chart1->setObjectName(QStringLiteral("Chart1"));
  Chart1->setRenderHint(QPainter::Antialiasing);
  Dessins->addTab(ChartIndice, QStringLiteral("Indices"));
  Dessins->addTab(Chart1, QStringLiteral("Pyramide"));
  Dessins->setMinimumSize(300, 220);
  top->addWidget(Dessins, 1);
  top->addStretch(0);

  auto* lower = new QWidget(Partage);
  auto* selection = new QVBoxLayout(lower);
  selection->setContentsMargins(0, 0, 0, 0);
  Label2 = new QLabel(lower);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setFont(bold);
  selection->addWidget(Label2);

  StrGr1 = new ListingGrid(lower);
  StrGr1->setObjectName(QStringLiteral("StrGr1"));
  StrGr1->verticalHeader()->setDefaultSectionSize(kRowHeight);
  StrGr1->verticalHeader()->setVisible(false);
  // At least a header and four members, however small the window.
  StrGr1->setMinimumHeight(5 * kRowHeight + 4);
  selection->addWidget(StrGr1, 1);
  Partage->addWidget(upper);
  Partage->addWidget(lower);
  Partage->setStretchFactor(0, 2);
  Partage->setStretchFactor(1, 3);
  Partage->setSizes({280, 420});
  layout->addWidget(Partage, 1);

  auto* buttons = new QHBoxLayout;
  BtEdition = NamedButton(this, QStringLiteral("Editer les données"), "BtEdition");
  BtCourriel = NamedButton(this, QStringLiteral("Envoi des Courriels"), "BtCourriel");
  BtCourDes = NamedButton(this, QStringLiteral("Désélectionner Tous"), "BtCourDes");
  BtCourSel = NamedButton(this, QStringLiteral("Sélectionner Tous"), "BtCourSel");
  CB_BccCourriel = new QCheckBox(QStringLiteral("CopieCaché"), this);
  CB_BccCourriel->setObjectName(QStringLiteral("CB_BccCourriel"));
  LbGroupe = new QLabel(QStringLiteral("Par groupe de : "), this);
  Nbr_Courriel = new QSpinBox(this);
  Nbr_Courriel->setObjectName(QStringLiteral("Nbr_Courriel"));
  Nbr_Courriel->setRange(1, 50);
  Nbr_Courriel->setSingleStep(5);
  Nbr_Courriel->setValue(50);
  LbCourriel = new QLabel(this);
  LbCourriel->setObjectName(QStringLiteral("LbCourriel"));
  LbCourriel->setMinimumWidth(120);
  Button3 = NamedButton(this, QStringLiteral("Quitter"), "Button3");
  for (QWidget* w :
       std::initializer_list<QWidget*>{BtEdition, BtCourriel, BtCourDes, BtCourSel, CB_BccCourriel,
                                       LbGroupe, Nbr_Courriel, LbCourriel})
    buttons->addWidget(w);
  buttons->addStretch(1);
  buttons->addWidget(Button3);
  layout->addLayout(buttons);

  // The output menu.
  MenuEdition = new QMenu(this);
  MenuEdition->setObjectName(QStringLiteral("MenuEdition"));
  connect(MenuEdition->addAction(QStringLiteral("Annuaire &Téléphonique")), &QAction::triggered,
          this, [this] { onReport(members::ListingReport::kDirectory); });
  connect(MenuEdition->addAction(QStringLiteral("Liste pour &Cotisations")), &QAction::triggered,
          this, [this] { onReport(members::ListingReport::kDuesList); });
  connect(MenuEdition->addAction(QStringLiteral("Liste pour &Assemblée")), &QAction::triggered,
          this, [this] { onReport(members::ListingReport::kAssembly); });
  MenuEdition->addSeparator();
  connect(MenuEdition->addAction(QStringLiteral("&Indice")), &QAction::triggered, this,
          [this] { onPrintChart(ChartIndice, QStringLiteral("ChartIndice")); });
  connect(MenuEdition->addAction(QStringLiteral("P&yramide")), &QAction::triggered, this,
          [this] { onPrintChart(Chart1, QStringLiteral("Chart1")); });
  MenuEdition->addSeparator();
  connect(MenuEdition->addAction(QStringLiteral("Plu&bipostage")), &QAction::triggered, this,
          [this] { onExport(members::kPublipostageFileName); });
  MenuEdition->addSeparator();
  connect(MenuEdition->addAction(QStringLiteral("Page Annuaire en Html")), &QAction::triggered,
          this, &TFichFEdit::onHtmlPage);
  MenuEdition->addSeparator();
  connect(MenuEdition->addAction(QStringLiteral("Exportation")), &QAction::triggered, this,
          [this] { onExport(members::kExportationFileName); });

  connect(BtEdition, &QPushButton::clicked, this,
          [this] { MenuEdition->popup(BtEdition->mapToGlobal(QPoint(0, BtEdition->height()))); });
  for (QPushButton* button : {BtEdition, BtCourriel}) {
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QWidget::customContextMenuRequested, this,
            [this, button](const QPoint& at) { MenuEdition->popup(button->mapToGlobal(at)); });
  }
  connect(BtCourriel, &QPushButton::clicked, this, &TFichFEdit::onSendMail);
  connect(BtCourSel, &QPushButton::clicked, this, &TFichFEdit::onSelectAll);
  connect(BtCourDes, &QPushButton::clicked, this, &TFichFEdit::onDeselectAll);
  connect(StrGr1, &QTableView::clicked, this,
          [this](const QModelIndex& index) { onMarkCell(index.row(), index.column()); });
  connect(Button3, &QPushButton::clicked, this, &Screen::quit);

  Report = new reports::Report(desktop(), this);

  setMode(Mode::kListing);
  resize(1180, 760);
}

void TFichFEdit::buildPair(BoundPair& pair, const char* name, QWidget* parent) {
  pair.minEdit = new QLineEdit(parent);
  pair.minEdit->setObjectName(QStringLiteral("EditMin%1").arg(QLatin1String(name)));
  pair.maxEdit = new QLineEdit(parent);
  pair.maxEdit->setObjectName(QStringLiteral("EditMax%1").arg(QLatin1String(name)));
  pair.minUp = new UpDown(parent);
  pair.minUp->setObjectName(QStringLiteral("UpMin%1").arg(QLatin1String(name)));
  pair.maxUp = new UpDown(parent);
  pair.maxUp->setObjectName(QStringLiteral("UpMax%1").arg(QLatin1String(name)));
  for (QLineEdit* edit : {pair.minEdit, pair.maxEdit}) {
    edit->setFixedWidth(72);
    edit->setAlignment(Qt::AlignRight);
  }
}

void TFichFEdit::buildCriteria(QWidget* panel) {
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(0, 0, 0, 0);
  auto check = [&](const QString& text, const char* name) {
    auto* box = new QCheckBox(text, panel);
    box->setObjectName(QLatin1String(name));
    connect(box, &QCheckBox::clicked, this, &TFichFEdit::recompute);
    return box;
  };
  CheckBoxNom = check(QStringLiteral("Nom"), "CheckBoxNom");
  CheckBoxIndice = check(QStringLiteral("Indice"), "CheckBoxIndice");
  CheckBoxAge = check(QStringLiteral("Ages"), "CheckBoxAge");
  CheckBoxSolde = check(QStringLiteral("Solde"), "CheckBoxSolde");
  CheckCotisation = check(QStringLiteral("Cotisations"), "CheckCotisation");
  CheckBoxDate = check(QStringLiteral("Versement"), "CheckBoxDate");
  CheckCourriel = check(QString(), "CheckCourriel");
  CheckSexe = check(QString(), "CheckSexe");

  buildPair(Nom, "Nom", panel);
  Nom.letters = true;
  Nom.lowestAccepted = 'A';
  Nom.highestAccepted = 'Z';
  for (QLineEdit* edit : {Nom.minEdit, Nom.maxEdit}) edit->setMaxLength(1);
  buildPair(Indice, "Indice", panel);
  Indice.lowestAccepted = 20;
  Indice.highestAccepted = 100;
  buildPair(Age, "Age", panel);
  Age.lowestAccepted = 1;
  Age.highestAccepted = 100;
  for (QLineEdit* edit : {Indice.minEdit, Indice.maxEdit, Age.minEdit, Age.maxEdit})
    edit->setMaxLength(3);
  buildPair(Solde, "Solde", panel);
  Solde.unlimited = true;
  // Eight characters: a balance of the file up to -9999999 shows whole.
  for (QLineEdit* edit : {Solde.minEdit, Solde.maxEdit}) edit->setMaxLength(8);

  int row = 0;
  grid->addWidget(new QLabel(QStringLiteral("de"), panel), row, 1);
  grid->addWidget(new QLabel(QStringLiteral("à"), panel), row, 3);
  ++row;
  for (auto [box, pair] : {std::pair{CheckBoxNom, &Nom}, std::pair{CheckBoxIndice, &Indice},
                           std::pair{CheckBoxAge, &Age}, std::pair{CheckBoxSolde, &Solde}}) {
    grid->addWidget(box, row, 0);
    grid->addWidget(pair->minEdit, row, 1);
    grid->addWidget(pair->minUp, row, 2);
    grid->addWidget(pair->maxEdit, row, 3);
    grid->addWidget(pair->maxUp, row, 4);
    wirePair(*pair);
    ++row;
  }

  GroupCotis = new QListWidget(panel);
  GroupCotis->setObjectName(QStringLiteral("GroupCotis"));
  GroupCotis->setMaximumHeight(70);
  grid->addWidget(CheckCotisation, row, 0);
  grid->addWidget(GroupCotis, row, 1, 1, 4);
  ++row;

  DateTimeDebut = new QDateEdit(panel);
  DateTimeDebut->setObjectName(QStringLiteral("DateTimeDebut"));
  DateTimeFin = new QDateEdit(panel);
  DateTimeFin->setObjectName(QStringLiteral("DateTimeFin"));
  for (QDateEdit* picker : {DateTimeDebut, DateTimeFin}) {
    picker->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    picker->setCalendarPopup(true);
    picker->setMinimumDate(QDate(1752, 9, 14));
  }
  grid->addWidget(CheckBoxDate, row, 0);
  grid->addWidget(DateTimeDebut, row, 1, 1, 2);
  grid->addWidget(DateTimeFin, row, 3, 1, 2);
  ++row;

  GroupCourriel = new QListWidget(panel);
  GroupCourriel->setObjectName(QStringLiteral("GroupCourriel"));
  CheckItem(GroupCourriel, QStringLiteral("OUI"));
  CheckItem(GroupCourriel, QStringLiteral("NON"));
  GroupCourriel->setMaximumHeight(48);
  auto* mailRow = new QHBoxLayout;
  mailRow->addWidget(CheckCourriel);
  mailRow->addWidget(new QLabel(QStringLiteral("Courriel"), panel));
  grid->addLayout(mailRow, row, 0);
  grid->addWidget(GroupCourriel, row, 1, 1, 4);
  ++row;

  GroupeSexe = new QListWidget(panel);
  GroupeSexe->setObjectName(QStringLiteral("GroupeSexe"));
  CheckItem(GroupeSexe, QStringLiteral("Mme"));
  CheckItem(GroupeSexe, QStringLiteral("M."));
  GroupeSexe->setMaximumHeight(48);
  auto* sexRow = new QHBoxLayout;
  sexRow->addWidget(CheckSexe);
  sexRow->addWidget(new QLabel(QStringLiteral("Genre"), panel));
  grid->addLayout(sexRow, row, 0);
  grid->addWidget(GroupeSexe, row, 1, 1, 4);
  ++row;
  grid->setRowStretch(row, 1);

  for (QListWidget* list : {GroupCotis, GroupCourriel, GroupeSexe}) {
    connect(list, &QListWidget::itemChanged, this, [this] {
      if (!m_filling) recompute();
    });
  }
  connect(DateTimeDebut, &QDateEdit::dateChanged, this, &TFichFEdit::onStartDateChanged);
  connect(DateTimeFin, &QDateEdit::dateChanged, this, &TFichFEdit::onEndDateChanged);
}

void TFichFEdit::wirePair(BoundPair& pair) {
  connect(pair.minUp, &UpDown::clicked, this, [this, &pair] { onLowerClicked(pair); });
  connect(pair.maxUp, &UpDown::clicked, this, [this, &pair] { onUpperClicked(pair); });
  connect(pair.minEdit, &QLineEdit::editingFinished, this, [this, &pair] { onLowerEdited(pair); });
  connect(pair.maxEdit, &QLineEdit::editingFinished, this, [this, &pair] { onUpperEdited(pair); });
}

void TFichFEdit::setMode(Mode mode) {
  m_mode = mode;
  const bool mail = mode == Mode::kMail;
  setWindowTitle(mail ? QStringLiteral("Edition des données après tri pour envoi par Courriel")
                      : QStringLiteral("Edition des données après tri"));
  BtEdition->setVisible(!mail);
  Dessins->setVisible(!mail);
  for (QWidget* w : std::initializer_list<QWidget*>{BtCourriel, LbCourriel, BtCourDes, BtCourSel,
                                                    CB_BccCourriel, LbGroupe, Nbr_Courriel})
    w->setVisible(mail);
}

QString TFichFEdit::boundText(const BoundPair& pair, int position) const {
  if (pair.letters) return ToQString(std::string(1, static_cast<char>(position)));
  return QString::number(position);
}

void TFichFEdit::showBounds(BoundPair& pair, int lowest, int highest) {
  pair.minEdit->setText(boundText(pair, lowest));
  pair.maxEdit->setText(boundText(pair, highest));
  pair.minUp->setPosition(lowest);
  pair.maxUp->setPosition(highest);
  pair.minUp->setRange(lowest, highest);
  pair.maxUp->setRange(lowest, highest);
}

void TFichFEdit::activated() {
  m_filling = true;
  m_members.clear();
  m_selection.clear();
  const bool read =
      runCommand([&] { m_members = members::ReadMemberFile(settings().exerciseFolder()); });
  const members::ListingBounds bounds = members::ScanMembers(m_members);

  DateTimeFin->setDate(ToQDate(bounds.end));
  DateTimeDebut->setDate(ToQDate(bounds.start));
  CheckCotisation->setChecked(false);
  CheckCotisation->setEnabled(false);
  GroupCotis->clear();
  for (const std::string& kind : bounds.licenceKinds) CheckItem(GroupCotis, ToQString(kind));

  const bool mail = m_mode == Mode::kMail;
  const auto& columns =
      mail ? std::vector<Column>(std::begin(kMailColumns), std::end(kMailColumns))
           : std::vector<Column>(std::begin(kListingColumns), std::end(kListingColumns));
  std::vector<ListingModel::Column> modelColumns;
  for (const Column& column : columns)
    modelColumns.push_back({QString::fromUtf8(column.header), column.field});
  StrGr1->listing()->setColumns(std::move(modelColumns), kMailColumn);
  for (int c = 0; c < StrGr1->columnCount(); ++c) StrGr1->setColumnWidth(c, 90);
  StrGr1->setColumnWidth(kMailColumn, mail ? 300 : 120);
  StrGr1->setColumnWidth(kMarkColumn, mail ? 50 : 120);

  for (QCheckBox* box : {CheckBoxNom, CheckBoxDate, CheckBoxIndice, CheckBoxAge, CheckBoxSolde})
    box->setChecked(false);
  showBounds(Nom, bounds.minLetter, bounds.maxLetter);
  showBounds(Indice, bounds.minIndex, bounds.maxIndex);
  showBounds(Age, bounds.minAge, bounds.maxAge);
  showBounds(Solde, Position(members::BalanceUnits(bounds.minBalance)),
             Position(members::BalanceUnits(bounds.maxBalance)));
  if (GroupCotis->count() > 0) CheckCotisation->setEnabled(true);
  Label1->setText(QStringLiteral("Critères de tri des %1 enregistrements").arg(m_members.size()));
  m_filling = false;
  if (read) recompute();
}

void TFichFEdit::deactivated() {
  m_members.clear();
  m_selection.clear();
}

std::optional<int> TFichFEdit::parseBound(const BoundPair& pair, const QString& text) const {
  if (pair.letters) {
    const std::string letter = UpperCp1252(FromQString(text.trimmed()));
    if (letter.size() != 1) return std::nullopt;
    return static_cast<unsigned char>(letter[0]);
  }
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  if (!ok) return std::nullopt;
  return value;
}

void TFichFEdit::onLowerClicked(BoundPair& pair) {
  pair.maxUp->setMinimum(pair.minUp->position());
  pair.minEdit->setText(boundText(pair, pair.minUp->position()));
  recompute();
}

void TFichFEdit::onUpperClicked(BoundPair& pair) {
  pair.minUp->setMaximum(pair.maxUp->position());
  pair.maxEdit->setText(boundText(pair, pair.maxUp->position()));
  recompute();
}

void TFichFEdit::onLowerEdited(BoundPair& pair) {
  const auto value = parseBound(pair, pair.minEdit->text());
  const bool accepted =
      value && *value <= pair.minUp->maximum() && (pair.unlimited || *value >= pair.lowestAccepted);
  if (accepted) pair.minUp->setPosition(*value);
  onLowerClicked(pair);
}

void TFichFEdit::onUpperEdited(BoundPair& pair) {
  const auto value = parseBound(pair, pair.maxEdit->text());
  const bool accepted = value && *value >= pair.maxUp->minimum() &&
                        (pair.unlimited || *value <= pair.highestAccepted);
  if (accepted) pair.maxUp->setPosition(*value);
  onUpperClicked(pair);
}

void TFichFEdit::onStartDateChanged() {
  if (m_filling) return;
  if (DateTimeDebut->date() > DateTimeFin->date()) {
    const QSignalBlocker block(DateTimeDebut);
    DateTimeDebut->setDate(DateTimeFin->date());
  }
  recompute();
}

void TFichFEdit::onEndDateChanged() {
  if (m_filling) return;
  if (DateTimeFin->date() < DateTimeDebut->date()) {
    const QSignalBlocker block(DateTimeFin);
    DateTimeFin->setDate(DateTimeDebut->date());
  }
  recompute();
}

members::ListingCriteria TFichFEdit::criteria() const {
  members::ListingCriteria c;
  c.byName = CheckBoxNom->isChecked();
  c.minLetter = static_cast<unsigned char>(Nom.minUp->position());
  c.maxLetter = static_cast<unsigned char>(Nom.maxUp->position());
  c.byIndex = CheckBoxIndice->isChecked();
  c.minIndex = Indice.minUp->position();
  c.maxIndex = Indice.maxUp->position();
  c.byAge = CheckBoxAge->isChecked();
  c.minAge = Age.minUp->position();
  c.maxAge = Age.maxUp->position();
  c.byBalance = CheckBoxSolde->isChecked();
  c.minBalance = Solde.minUp->position();
  c.maxBalance = Solde.maxUp->position();
  c.byLicenceKind = CheckCotisation->isChecked();
  for (int i = 0; i < GroupCotis->count(); ++i) {
    if (GroupCotis->item(i)->checkState() == Qt::Checked)
      c.licenceKinds.insert(FromQString(GroupCotis->item(i)->text()));
  }
  c.byPayment = CheckBoxDate->isChecked();
  c.start = FromQDate(DateTimeDebut->date());
  c.end = FromQDate(DateTimeFin->date());
  c.byMailChoice = CheckCourriel->isChecked();
  c.mailYes = Checked(GroupCourriel, QStringLiteral("OUI"));
  c.mailNo = Checked(GroupCourriel, QStringLiteral("NON"));
  c.bySex = CheckSexe->isChecked();
  c.women = Checked(GroupeSexe, QStringLiteral("Mme"));
  c.men = Checked(GroupeSexe, QStringLiteral("M."));
  return c;
}

void TFichFEdit::recompute() {
  if (m_filling) return;
  m_selection = members::SelectMembers(m_members, criteria());
  Label2->setText(QStringLiteral("Trouvé : %1").arg(m_selection.size()));
  fillCharts(members::ComputeStatistics(m_members, m_selection));
  fillGrid();
  updateMailControls();
}

namespace {

// The pie of the value-index series, one labelled slice per series.
void FillSeriesPie(QChart* pie, const members::ListingStatistics& statistics) {
  pie->removeAllSeries();
  pie->setTitle(QStringLiteral("Indices de valeur"));
  auto* series = new QPieSeries;
  int counted = 0;
  for (int s = 0; s < members::kSeriesCount; ++s) counted += statistics.series[s];
  // Nobody in a series: no slice at all rather than a bare line.
  for (int s = 0; counted > 0 && s < members::kSeriesCount; ++s) {
    QPieSlice* slice = series->append(ToQString(members::kSeriesNames[s]), statistics.series[s]);
    slice->setColor(QColor::fromRgb(members::kSeriesColours[s]));
  }
  pie->addSeries(series);
  for (int s = 0; counted > 0 && s < members::kSeriesCount; ++s) {
    QPieSlice* slice = series->slices().at(s);
    // The chart's theme gives the slices a white edge when the series is added: a black one
    // instead keeps the white slice ("Nons classés") visible on the white chart.
    const QColor colour = QColor::fromRgb(members::kSeriesColours[s]);
    slice->setBorderColor(colour.lightness() > 200 ? QColor(Qt::black) : QColor(Qt::darkGray));
    slice->setBorderWidth(1);
    slice->setLabel(QStringLiteral("%1 : %2 %")
                        .arg(ToQString(members::kSeriesNames[s]))
                        .arg(QLocale(QLocale::French).toString(slice->percentage() * 100, 'f', 1)));
    slice->setLabelVisible(statistics.series[s] > 0);
  }
  pie->legend()->setVisible(false);  // the slice labels name the series
}

// The age pyramid: one bar per age bracket, in its colour, on whole-count axes.
void FillAgePyramid(QChart* bars, const members::ListingStatistics& statistics) {
  bars->removeAllSeries();
  for (QAbstractAxis* axis : bars->axes()) {
    bars->removeAxis(axis);
    delete axis;
  }
  bars->setTitle(ToQString(statistics.averageAgeTitle()));
  const std::vector<members::PyramidBar> pyramid = statistics.pyramid();
  auto* stacked = new QStackedBarSeries;
  QStringList labels;
  int highest = 0;
  const int firstBracket = (std::stoi(pyramid.front().label) - 13) / 5;
  for (std::size_t b = 0; b < pyramid.size(); ++b) {
    labels << ToQString(pyramid[b].label);
    highest = std::max(highest, pyramid[b].value);
    auto* set = new QBarSet(ToQString(pyramid[b].label));
    const QColor colour =
        QColor::fromRgb(kBarColours[(firstBracket + static_cast<int>(b)) % members::kBracketCount]);
    set->setColor(colour);
    set->setLabelColor(colour.lightness() < 140 ? Qt::white : Qt::black);
    for (std::size_t c = 0; c < pyramid.size(); ++c) {
      if (c == b) {
        *set << pyramid[b].value;
      } else {
        *set << 0;
      }
    }
    stacked->append(set);
  }
  stacked->setLabelsVisible(true);
  stacked->setLabelsPosition(QAbstractBarSeries::LabelsInsideEnd);
  stacked->setLabelsFormat(QStringLiteral("@value"));
  bars->addSeries(stacked);
  auto* categories = new QBarCategoryAxis;
  categories->append(labels);
  bars->addAxis(categories, Qt::AlignBottom);
  stacked->attachAxis(categories);
  auto* values = new QValueAxis;
  const int top = std::max(1, highest + 1 + highest / 10);
  values->setRange(0, top);
  values->setLabelFormat(QStringLiteral("%d"));
  // Whole counts: a tick every 1, 2, 5, 10... members.
  int interval = 1;
  for (const int step : {2, 5, 10, 20, 50, 100, 200, 500, 1000}) {
    if (top / interval <= 10) break;
    interval = step;
  }
  values->setTickType(QValueAxis::TicksDynamic);
  values->setTickAnchor(0);
  values->setTickInterval(interval);
  bars->addAxis(values, Qt::AlignLeft);
  stacked->attachAxis(values);
  bars->legend()->setVisible(false);
}

}  // namespace

void TFichFEdit::fillCharts(const members::ListingStatistics& statistics) {
  FillSeriesPie(ChartIndice->chart(), statistics);
  FillAgePyramid(Chart1->chart(), statistics);
}

void TFichFEdit::fillGrid() {
  Lines lines;
  lines.reserve(m_selection.size());
  for (const int index : m_selection) lines.push_back(m_members[static_cast<std::size_t>(index)]);
  StrGr1->listing()->setLines(std::move(lines));
}

void TFichFEdit::updateMailControls() {
  LbCourriel->setText(QStringLiteral("Courriels : %1").arg(mailCount()));
  BtCourriel->setEnabled(mailCount() != 0);
  BtCourDes->setEnabled(!m_selection.empty());
  BtCourSel->setEnabled(!m_selection.empty());
}

void TFichFEdit::onMarkCell(int row, int column) {
  ListingModel* model = StrGr1->listing();
  if (m_mode != Mode::kMail || column != kMarkColumn || column != model->markColumn()) return;
  if (row < 0 || row >= model->rowCount()) return;
  model->setMarked(row, !model->marked(row));
  updateMailControls();
}

void TFichFEdit::onSelectAll() {
  ListingModel* model = StrGr1->listing();
  if (!model->hasMarks()) return;
  for (int r = 0; r < model->rowCount(); ++r) model->setMarked(r, !model->address(r).isEmpty());
  updateMailControls();
}

void TFichFEdit::onDeselectAll() {
  ListingModel* model = StrGr1->listing();
  if (!model->hasMarks()) return;
  for (int r = 0; r < model->rowCount(); ++r) model->setMarked(r, false);
  updateMailControls();
}

std::filesystem::path TFichFEdit::exerciseFile(const char* name) const {
  return settings().exerciseFolder() / name;
}

bool TFichFEdit::prepareReport(members::ListingReport which) {
  if (m_selection.empty()) return false;
  const ReportRequest request = members::ListingReportRequest(
      which, m_members, m_selection, settings().entity, settings().exercise);
  const reports::TemplateVariables* declaration =
      reports::FindTemplateVariables(members::ReportVariables(), ToQString(request.templateFile));
  reports::SetUpReport(*Report, request, settings().programFolder, *declaration);
  return true;
}

void TFichFEdit::onReport(members::ListingReport which) {
  if (prepareReport(which)) Report->ShowReport();
}

void TFichFEdit::onPrintChart(QChartView* chart, const QString& jobName) {
  QPrinter printer(QPrinter::HighResolution);
  if (!desktop().choosePrinter(this, printer)) return;
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setDocName(jobName);
  {
    // The chart laid out again at the page's proportions (whatever the tab shows on screen),
    // drawn over the whole printable page, then put back.
    QChart* drawn = chart->chart();
    const QRectF shown = drawn->geometry();
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QSizeF logical(1120.0, 1120.0 * page.height() / std::max(1, page.width()));
    drawn->setGeometry(QRectF(QPointF(0, 0), logical));
    QPainter painter(&printer);
    painter.setRenderHint(QPainter::Antialiasing);
    drawn->scene()->render(&painter, QRectF(0, 0, page.width(), page.height()),
                           QRectF(QPointF(0, 0), logical));
    painter.end();
    drawn->setGeometry(shown);
  }
  printer.setPageOrientation(QPageLayout::Portrait);
}

void TFichFEdit::onExport(const char* fileName) {
  const auto path = desktop().saveFileName(
      this, QStringLiteral("Enregistrer sous"),
      PathToQString(exerciseFile(fileName)),
      QStringLiteral("Fichiers texte (*.txt *.csv);;Tous les fichiers (*.*)"));
  if (!path) return;
  runCommand([&] {
    WriteLines(PathFromQString(*path),
               members::ExportLines(m_members, m_selection));
  });
}

void TFichFEdit::onHtmlPage() {
  const auto path = desktop().saveFileName(
      this, QStringLiteral("Enregistrer sous"),
      PathToQString(exerciseFile(members::kDirectoryPageFileName)),
      QStringLiteral("Pages HTML (*.html *.htm)"));
  if (!path) return;
  runCommand([&] {
    WriteLines(PathFromQString(*path),
               members::DirectoryPage(m_members, m_selection, desktop().today()));
  });
}

void TFichFEdit::onSendMail() {
  AskToChooseMailAccount(this, desktop());
  std::vector<std::string> addresses;
  const ListingModel* model = StrGr1->listing();
  if (model->hasMarks()) {
    for (int r = 0; r < model->rowCount(); ++r) {
      if (model->marked(r)) addresses.push_back(FromQString(model->address(r)));
    }
  }
  for (const auto& group : members::MailGroups(addresses, Nbr_Courriel->value())) {
    OpenMailClient(this, desktop(), members::MailGroupLink(group, CB_BccCourriel->isChecked()));
  }
}

}  // namespace vantrel
