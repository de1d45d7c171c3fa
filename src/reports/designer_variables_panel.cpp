#include "reports/designer_variables_panel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vantrel::reports {

DesignerVariablesPanel::DesignerVariablesPanel(TemplateEditor& editor, QWidget* parent)
    : QGroupBox(QStringLiteral("Variables du modèle"), parent), m_editor(editor) {
  auto* column = new QVBoxLayout(this);
  m_table = new QTableWidget(0, 4, this);
  m_table->setHorizontalHeaderLabels({QStringLiteral("Nom"), QStringLiteral("Valeur initiale"),
                                      QStringLiteral("Remise à zéro"), QStringLiteral("Groupe")});
  m_table->horizontalHeader()->setStretchLastSection(true);
  m_table->verticalHeader()->setVisible(false);
  m_table->setMinimumHeight(110);
  m_table->setToolTip(
      QStringLiteral("Variables calculées par le modèle, par exemple un total.\n"
                     "Remise à zéro : à chaque page ou à chaque groupe."));
  column->addWidget(m_table);
  auto* buttons = new QHBoxLayout;
  auto* add = new QPushButton(QStringLiteral("Ajouter"), this);
  auto* remove = new QPushButton(QStringLiteral("Retirer"), this);
  buttons->addWidget(add);
  buttons->addWidget(remove);
  buttons->addStretch();
  column->addLayout(buttons);
  bind(add, remove);
}

void DesignerVariablesPanel::bind(QPushButton* add, QPushButton* remove) {
  connect(add, &QPushButton::clicked, this, [this] {
    m_editor.change(QStringLiteral("Ajouter une variable"), [](ReportTemplate& t) {
      VariableDef variable;
      variable.name = QStringLiteral("Total%1").arg(t.variables.size() + 1);
      t.variables.push_back(variable);
    });
  });
  connect(remove, &QPushButton::clicked, this, [this] {
    int row = m_table->currentRow();
    if (row < 0 || row >= static_cast<int>(m_editor.editedTemplate().variables.size())) return;
    m_editor.change(QStringLiteral("Retirer une variable"),
                    [row](ReportTemplate& t) { t.variables.erase(t.variables.begin() + row); });
  });
  connect(m_table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* cell) {
    if (m_refreshing) return;
    int row = cell->row();
    int column = cell->column();
    QString text = cell->text().trimmed();
    m_editor.change(QStringLiteral("Variable"), [&](ReportTemplate& t) {
      if (row >= static_cast<int>(t.variables.size())) return;
      VariableDef& variable = t.variables[row];
      if (column == 0) variable.name = text;
      if (column == 1) variable.initial = text.isEmpty() ? QStringLiteral("0") : text;
      if (column == 3) variable.group = text;
    });
  });
}

bool DesignerVariablesPanel::showsTemplate() const {
  const std::vector<VariableDef>& variables = m_editor.editedTemplate().variables;
  auto shows = [this](int row, int column, const QString& text) {
    QTableWidgetItem* cell = m_table->item(row, column);
    return cell != nullptr && cell->text() == text;
  };
  if (m_table->rowCount() != static_cast<int>(variables.size())) return false;
  for (int row = 0; row < m_table->rowCount(); ++row) {
    const VariableDef& variable = variables[row];
    auto* reset = qobject_cast<QComboBox*>(m_table->cellWidget(row, 2));
    if (!shows(row, 0, variable.name) || !shows(row, 1, variable.initial) ||
        !shows(row, 3, variable.group) || reset == nullptr ||
        reset->currentIndex() != static_cast<int>(variable.reset))
      return false;
  }
  return true;
}

void DesignerVariablesPanel::refresh() {
  if (showsTemplate()) return;
  m_refreshing = true;
  const std::vector<VariableDef>& variables = m_editor.editedTemplate().variables;
  m_table->setRowCount(static_cast<int>(variables.size()));
  for (int row = 0; row < static_cast<int>(variables.size()); ++row) {
    const VariableDef& variable = variables[row];
    m_table->setItem(row, 0, new QTableWidgetItem(variable.name));
    m_table->setItem(row, 1, new QTableWidgetItem(variable.initial));
    m_table->setItem(row, 3, new QTableWidgetItem(variable.group));
    auto* reset = new QComboBox(m_table);
    reset->addItems({QStringLiteral("jamais"), QStringLiteral("à chaque page"),
                     QStringLiteral("à chaque groupe")});
    reset->setCurrentIndex(static_cast<int>(variable.reset));
    connect(reset, &QComboBox::currentIndexChanged, this, [this, row](int index) {
      m_editor.change(QStringLiteral("Variable"), [&](ReportTemplate& t) {
        if (row < static_cast<int>(t.variables.size())) {
          t.variables[row].reset = static_cast<VariableReset>(index);
        }
      });
    });
    m_table->setCellWidget(row, 2, reset);
  }
  m_refreshing = false;
}

}  // namespace vantrel::reports
