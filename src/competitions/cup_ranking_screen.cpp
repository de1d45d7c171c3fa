#include "competitions/cup_ranking_screen.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QVBoxLayout>

#include "competitions/cup_file.h"
#include "competitions/cup_reports.h"
#include "competitions/report_variables.h"
#include "platform/named_button.h"
#include "platform/record_grid.h"
#include "platform/text.h"
#include "platform/wait_cursor.h"
#include "reports/report_request_bridge.h"

namespace vantrel {

namespace {

// Columns of the grid: total, name, licence, value index, then the 16 ranking columns.
constexpr int kFixedColumns = 4;
constexpr int kHeaderRows = 2;

std::vector<GridColumn> RankingColumns() {
  std::vector<GridColumn> columns = {{QString(), 60, Qt::AlignRight},
                                     {QString(), 170},
                                     {QString(), 70},
                                     {QString(), 36, Qt::AlignRight}};
  for (int k = 1; k <= competitions::kMaxRankingColumn; ++k) {
    columns.push_back({QString(), 110, Qt::AlignRight});
  }
  return columns;
}

}  // namespace

TFichFClassment::TFichFClassment(AppContext& context, QWidget* parent)
    : Screen(context, parent), m_report(context.platform, this) {
  setObjectName(QStringLiteral("TFichFClassment"));

  Memo = new QPlainTextEdit(this);
  Memo->setObjectName(QStringLiteral("Memo"));
  Memo->setReadOnly(true);
  Memo->setMaximumHeight(110);
  StringGrid1 = new RecordGrid(RankingColumns(), this);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->setHeaderShown(false);
  StringGrid1->model().setCellColor(
      [](int row, int) { return row < kHeaderRows ? QColor(0, 0, 128) : QColor(); });
  StringGrid1->model().setCellAlignment([](int row, int column) -> Qt::Alignment {
    // Tournament names from their start; dates centred.
    if (row == 0 && column >= kFixedColumns) return Qt::AlignLeft;
    return row == 1 && column >= kFixedColumns ? Qt::AlignCenter : Qt::Alignment();
  });
  MemoDetail = new QPlainTextEdit(this);
  MemoDetail->setObjectName(QStringLiteral("MemoDetail"));
  MemoDetail->setReadOnly(true);
  MemoDetail->setPlaceholderText(
      QStringLiteral("Choisir un joueur dans le tableau pour voir le détail de ses points."));

  BtEditionGeneral =
      NamedButton(this, QStringLiteral("Edition classement général"), "BtEditionGeneral");
  BtEditionLimite =
      NamedButton(this, QStringLiteral("Edition Classement Joueurs <= 40"), "BtEditionLimite");
  SpLimite = new QSpinBox(this);
  SpLimite->setObjectName(QStringLiteral("SpLimite"));
  SpLimite->setRange(20, 100);
  SpLimite->setValue(40);
  BtModifications = NamedButton(this, QStringLiteral("Modifications"), "BtModifications");
  BtQuitte = NamedButton(this, QStringLiteral("Quitter"), "BtQuitte");

  auto* splitter = new QSplitter(Qt::Vertical, this);
  splitter->addWidget(StringGrid1);
  splitter->addWidget(MemoDetail);
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BtEditionGeneral);
  buttons->addWidget(BtEditionLimite);
  buttons->addWidget(SpLimite);
  buttons->addStretch(1);
  buttons->addWidget(BtModifications);
  buttons->addWidget(BtQuitte);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Memo);
  layout->addWidget(splitter, 1);
  layout->addLayout(buttons);

  connect(BtEditionGeneral, &QPushButton::clicked, this, &TFichFClassment::onEditionGeneral);
  connect(BtEditionLimite, &QPushButton::clicked, this, &TFichFClassment::onEditionLimite);
  connect(BtModifications, &QPushButton::clicked, this, &TFichFClassment::onModifications);
  connect(BtQuitte, &QPushButton::clicked, this, &TFichFClassment::quit);
  connect(SpLimite, &QSpinBox::valueChanged, this, [this](int limit) {
    BtEditionLimite->setText(QStringLiteral("Classement Joueurs <= %1").arg(limit));
  });
  connect(StringGrid1, &RecordGrid::cellSelected, this, [this](int row, int) { showPlayer(row); });

  setCup(1);
  resize(980, 600);
}

void TFichFClassment::setCup(int cup) {
  const bool other = cup != m_cup;
  m_cup = cup;
  setWindowTitle(QStringLiteral("Classement de la Coupe %1").arg(cup));
  // Already the active screen: no activation will come to read the other cup.
  if (other && context().tracker.current() == this) compute();
}

void TFichFClassment::activated() { compute(); }

void TFichFClassment::compute() {
  Memo->clear();
  MemoDetail->clear();
  {
    WaitCursor wait;
    runCommand(
        [this] { competitions::ComputeCupRanking(settings().exerciseFolder(), m_cup, m_ranking); });
  }
  for (const auto& line : m_ranking.progress) Memo->appendPlainText(ToQString(line));
  fillGrid();
  // A ranking cut short by a failure is never printed.
  BtEditionGeneral->setEnabled(m_ranking.complete);
  BtEditionLimite->setEnabled(m_ranking.complete);
}

void TFichFClassment::fillGrid() {
  const int m = m_ranking.columnCount;
  StringGrid1->setVisible(m > 0);
  const int shown = std::min(m, competitions::kMaxRankingColumn);
  for (int c = 0; c < kFixedColumns + competitions::kMaxRankingColumn; ++c) {
    StringGrid1->setColumnHidden(c, c >= kFixedColumns + shown);
  }
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> titles{"P.C.", "Nom", "Licence", "Ind."};
  std::vector<std::string> dates(kFixedColumns);
  for (int k = 0; k < shown; ++k) {
    titles.push_back(m_ranking.titles[static_cast<std::size_t>(k)]);
    dates.push_back(m_ranking.dates[static_cast<std::size_t>(k)]);
  }
  rows.push_back(std::move(titles));
  rows.push_back(std::move(dates));
  for (const auto& player : m_ranking.players) {
    std::vector<std::string> row{std::to_string(player.total), player.name, player.licence,
                                 player.valueIndex};
    for (int k = 0; k < shown; ++k) {
      const auto& points = player.columns[static_cast<std::size_t>(k)];
      row.push_back(points ? std::to_string(*points) : std::string());
    }
    rows.push_back(std::move(row));
  }
  StringGrid1->model().setRows(rows);
}

void TFichFClassment::showPlayer(int row) {
  const int index = row - kHeaderRows;
  if (index < 0 || index >= static_cast<int>(m_ranking.players.size())) {
    MemoDetail->clear();
    return;
  }
  QStringList lines;
  for (const auto& line :
       competitions::DescribeTotal(m_ranking.players[static_cast<std::size_t>(index)])) {
    lines << ToQString(line);
  }
  MemoDetail->setPlainText(lines.join(QLatin1Char('\n')));
}

void TFichFClassment::setUpReport() {
  reports::SetUpReport(m_report, competitions::CupRankingReportRequest(m_printed),
                       settings().programFolder, competitions::kCupRankingReport);
}

void TFichFClassment::print(std::optional<int> limit) {
  const bool built = runCommand(
      [&] { m_printed = competitions::MakeRankingReport(m_ranking, settings().exercise, limit); });
  if (!built) return;
  setUpReport();
  m_report.ShowReport();
}

void TFichFClassment::onEditionGeneral() { print(std::nullopt); }

void TFichFClassment::onEditionLimite() { print(SpLimite->value()); }

void TFichFClassment::onModifications() {
  runCommand([this] {
    m_printed = competitions::MakeRankingReport(m_ranking, settings().exercise, std::nullopt);
  });
  setUpReport();
  m_report.DesignReport();
}

}  // namespace vantrel
