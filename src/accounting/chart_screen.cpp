#include "accounting/chart_screen.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "accounting/accounting_files.h"
#include "accounting/books.h"
#include "accounting/report_variables.h"
#include "core/help_documents.h"
#include "core/text_helpers.h"
#include "platform/browse_buttons.h"
#include "platform/help_document.h"
#include "platform/named_button.h"
#include "platform/record_grid.h"
#include "platform/text.h"
#include "reports/report_request_bridge.h"

namespace vantrel {

namespace {

using platform::MessageKind;

QLineEdit* MakeEdit(QWidget* parent, const char* name, bool typed) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setReadOnly(!typed);
  return edit;
}

}  // namespace

TFichFPlan::TFichFPlan(AppContext& context, QWidget* parent)
    : Screen(context, parent), m_report(context.platform, this) {
  setObjectName(QStringLiteral("TFichFPlan"));
  setWindowTitle(QStringLiteral("Gestion du plan Comptable"));
  auto* layout = new QVBoxLayout(this);

  StrGrd = new RecordGrid({{QString(), 20},
                           {QStringLiteral("Num"), 78},
                           {QStringLiteral("Libellé"), 350},
                           {QStringLiteral("Type"), 79},
                           {QStringLiteral("Liens"), 75},
                           {QStringLiteral("Création"), 112}},
                          this);
  StrGrd->setObjectName(QStringLiteral("StrGrd"));
  StrGrd->setSelectionBehavior(QAbstractItemView::SelectRows);
  StrGrd->model().setCellText([this](const std::string& line, int row, int column) {
    switch (column) {
      case 0:
        return std::string(row + 1 == m_chart.selection() ? ">" : "");
      case 4:
        return accounting::LinkCaption(FieldAt(line, accounting::chart::kLink));
      case 5:
        return FieldAt(line, accounting::chart::kExercise);
      default:
        return FieldAt(line, column - 1);
    }
  });
  StrGrd->setMinimumWidth(StrGrd->naturalWidth());
  layout->addWidget(StrGrd, 1);

  auto* detail = new QGridLayout;
  Edit1 = MakeEdit(this, "Edit1", true);
  Edit2 = MakeEdit(this, "Edit2", true);
  Edit3 = MakeEdit(this, "Edit3", false);
  Edit4 = MakeEdit(this, "Edit4", false);
  Edit5 = MakeEdit(this, "Edit5", false);
  Edit1->setMaximumWidth(80);
  Edit4->setMaximumWidth(40);
  BtLien = NamedButton(this, QStringLiteral("X"), "BtLien");
  BtLien->setMaximumWidth(30);
  detail->addWidget(new QLabel(QStringLiteral("Num"), this), 0, 0);
  detail->addWidget(new QLabel(QStringLiteral("Libellé"), this), 0, 1);
  detail->addWidget(new QLabel(QStringLiteral("Type"), this), 0, 2);
  detail->addWidget(new QLabel(QStringLiteral("Liens"), this), 0, 3);
  detail->addWidget(new QLabel(QStringLiteral("Création"), this), 0, 5);
  detail->addWidget(Edit1, 1, 0);
  detail->addWidget(Edit2, 1, 1);
  detail->addWidget(Edit3, 1, 2);
  detail->addWidget(Edit4, 1, 3);
  detail->addWidget(BtLien, 1, 4);
  detail->addWidget(Edit5, 1, 5);
  detail->setColumnStretch(1, 1);
  layout->addLayout(detail);

  auto* buttons = new QHBoxLayout;
  Bt_Debut = NamedButton(this, QStringLiteral("Premier"), "Bt_Debut");
  Bt_Precedant = NamedButton(this, QStringLiteral("Précédant"), "Bt_Precedant");
  Bt_Suivant = NamedButton(this, QStringLiteral("Suivant"), "Bt_Suivant");
  Bt_Fin = NamedButton(this, QStringLiteral("Dernier"), "Bt_Fin");
  Bt_Ajouter = NamedButton(this, QStringLiteral("Ajouter"), "Bt_Ajouter");
  Bt_Supprimer = NamedButton(this, QStringLiteral("Supprimer"), "Bt_Supprimer");
  Bt_Modifier = NamedButton(this, QStringLiteral("Modifier"), "Bt_Modifier");
  BtQuitte = NamedButton(this, QStringLiteral("Quitter"), "BtQuitte");
  for (QPushButton* button : {Bt_Debut, Bt_Precedant, Bt_Suivant, Bt_Fin, Bt_Ajouter, Bt_Supprimer,
                              Bt_Modifier, BtQuitte}) {
    buttons->addWidget(button);
  }
  layout->addLayout(buttons);
  auto* more = new QHBoxLayout;
  BtImprime = NamedButton(this, QStringLiteral("Imprimer le plan Comptable"), "BtImprime");
  BtAide = NamedButton(this, QStringLiteral("Aide sur le plan Comptable Général"), "BtAide");
  more->addWidget(BtImprime);
  more->addStretch(1);
  more->addWidget(BtAide);
  layout->addLayout(more);

  connect(StrGrd, &RecordGrid::cellSelected, this, [this](int row, int) {
    m_chart.select(row + 1);
    refresh();
  });
  ConnectBrowseButtons({Bt_Debut, Bt_Precedant, Bt_Suivant, Bt_Fin}, this, m_chart,
                       [this] { refresh(); });
  connect(Bt_Ajouter, &QPushButton::clicked, this, &TFichFPlan::onAdd);
  connect(Bt_Modifier, &QPushButton::clicked, this, &TFichFPlan::onModify);
  connect(Bt_Supprimer, &QPushButton::clicked, this, &TFichFPlan::onDelete);
  connect(BtLien, &QPushButton::clicked, this, &TFichFPlan::onCycleLink);
  connect(BtQuitte, &QPushButton::clicked, this, &Screen::quit);
  connect(BtImprime, &QPushButton::clicked, this, &TFichFPlan::onPrint);
  connect(BtAide, &QPushButton::clicked, this, &TFichFPlan::onHelp);

  refresh();
  resize(StrGrd->naturalWidth() + 30, 600);
}

void TFichFPlan::activated() {
  m_chart.clear();
  runCommand([this] { m_chart.load(folder()); });
  refresh();
}

void TFichFPlan::deactivated() {
  m_chart.clear();
  StrGrd->model().setLines({});
  m_report.setValues(reports::RequestValues(chartRequest(), accounting::kChartReport));
}

ReportRequest TFichFPlan::chartRequest() const {
  return accounting::ChartReport(m_chart.lines(), settings().entity, settings().exercise);
}

void TFichFPlan::refresh() {
  StrGrd->model().setLines(m_chart.lines());
  m_chart.select(m_chart.selection());
  const int selection = m_chart.selection();
  Bt_Debut->setEnabled(selection > 1);
  Bt_Precedant->setEnabled(selection > 1);
  Bt_Suivant->setEnabled(selection < m_chart.count());
  Bt_Fin->setEnabled(selection < m_chart.count());
  Bt_Supprimer->setEnabled(m_chart.count() > 0);
  Bt_Modifier->setEnabled(m_chart.count() > 0);
  const std::string& line = m_chart.selectedLine();
  QLineEdit* edits[] = {Edit1, Edit2, Edit3, Edit4, Edit5};
  for (int k = 0; k < 5; ++k) edits[k]->setText(ToQString(FieldAt(line, k)));
  if (selection > 0) {
    const QSignalBlocker blocker(StrGrd);
    StrGrd->selectRow(selection - 1);
  }
  StrGrd->setTopRow(m_chart.topRow());
  // The report answers the chart shown, whoever prepares it.
  m_report.setValues(reports::RequestValues(chartRequest(), accounting::kChartReport));
}

void TFichFPlan::onAdd() {
  runCommand([this] {
    m_chart.add(folder(), FromQString(Edit1->text()), FromQString(Edit2->text()),
                FromQString(Edit4->text()), settings().exercise);
  });
  refresh();
}

void TFichFPlan::onModify() {
  runCommand([this] {
    m_chart.modify(folder(), FromQString(Edit1->text()), FromQString(Edit2->text()),
                   FromQString(Edit4->text()), settings().exercise);
  });
  refresh();
}

void TFichFPlan::onDelete() {
  if (!m_chart.canRemove()) return;
  const std::string& line = m_chart.selectedLine();
  const QString text = QStringLiteral("Suppression du compte %1 %2.")
                           .arg(ToQString(FieldAt(line, accounting::chart::kNumber)),
                                ToQString(FieldAt(line, accounting::chart::kName)));
  if (!confirmDestructive(MessageKind::kConfirmation, text)) return;
  runCommand([this] { m_chart.remove(folder()); });
  refresh();
}

void TFichFPlan::onCycleLink() {
  Edit4->setText(ToQString(accounting::NextLink(FromQString(Edit4->text()))));
}

void TFichFPlan::onPrint() {
  reports::SetUpReport(m_report, chartRequest(), settings().programFolder,
                       accounting::kChartReport);
  m_report.ShowReport();
}

void TFichFPlan::onHelp() {
  OpenHelpDocument(this, desktop(), settings().programFolder, kHelpChart);
}

}  // namespace vantrel
