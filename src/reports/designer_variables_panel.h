#pragma once

#include <QGroupBox>

#include "reports/designer_panel.h"

class QPushButton;
class QTableWidget;

namespace vantrel::reports {

// "Variables du modèle": the template's own variables in a table (name, initial value,
// reset, group), added, removed and edited in place.
class DesignerVariablesPanel : public QGroupBox {
  Q_OBJECT

 public:
  DesignerVariablesPanel(TemplateEditor& editor, QWidget* parent);

  // Shows the editor's template's variables. Rows already showing them stay, so that a
  // cell being edited is not replaced under the user's hands.
  void refresh();

  QTableWidget* table() const { return m_table; }

 private:
  bool showsTemplate() const;
  void bind(QPushButton* add, QPushButton* remove);

  TemplateEditor& m_editor;
  bool m_refreshing = false;
  QTableWidget* m_table = nullptr;
};

}  // namespace vantrel::reports
