#pragma once

#include <QGroupBox>

#include "reports/designer_panel.h"

class QComboBox;
class QDoubleSpinBox;

namespace vantrel::reports {

// "Mise en page": the template's page (format, orientation, margins, print offset), always
// at hand whatever is selected.
class DesignerPagePanel : public QGroupBox {
  Q_OBJECT

 public:
  DesignerPagePanel(TemplateEditor& editor, QWidget* parent);

  // Shows the editor's template's page.
  void refresh();

  QComboBox* formatBox() const { return m_format; }
  QDoubleSpinBox* shortSideBox() const { return m_shortSide; }
  QDoubleSpinBox* longSideBox() const { return m_longSide; }
  QComboBox* orientationBox() const { return m_orientation; }
  QDoubleSpinBox* marginTopBox() const { return m_marginTop; }
  QDoubleSpinBox* offsetXBox() const { return m_offsetX; }

 private:
  void bind();
  void bindValue(QDoubleSpinBox* box, double PageSetup::*member);

  TemplateEditor& m_editor;
  bool m_refreshing = false;

  QComboBox* m_format = nullptr;
  QDoubleSpinBox* m_shortSide = nullptr;
  QDoubleSpinBox* m_longSide = nullptr;
  QComboBox* m_orientation = nullptr;
  QDoubleSpinBox* m_marginLeft = nullptr;
  QDoubleSpinBox* m_marginTop = nullptr;
  QDoubleSpinBox* m_marginRight = nullptr;
  QDoubleSpinBox* m_marginBottom = nullptr;
  QDoubleSpinBox* m_offsetX = nullptr;
  QDoubleSpinBox* m_offsetY = nullptr;
};

}  // namespace vantrel::reports
