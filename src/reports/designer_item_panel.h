#pragma once

#include <QGroupBox>
#include <functional>

#include "reports/designer_panel.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace vantrel::reports {

// "Élément": the properties of the selected items. Style applies to every selected item,
// the text and the place to the first one. Disabled when no item is selected.
class DesignerItemPanel : public QGroupBox {
  Q_OBJECT

 public:
  DesignerItemPanel(TemplateEditor& editor, QWidget* parent);

  // Shows the first selected item of the editor's template.
  void refresh();
  // Puts the cursor in the text box, its text selected (a double click on an item).
  void editText();

  QLabel* kindLabel() const { return m_kind; }
  QPlainTextEdit* textBox() const { return m_text; }
  QComboBox* namesBox() const { return m_names; }
  QFontComboBox* fontBox() const { return m_font; }
  QDoubleSpinBox* sizeBox() const { return m_size; }
  QCheckBox* boldBox() const { return m_bold; }
  QComboBox* alignBox() const { return m_align; }
  QCheckBox* borderTopBox() const { return m_borderTop; }
  QComboBox* formatBox() const { return m_format; }
  QLineEdit* conditionBox() const { return m_condition; }
  QComboBox* conditionColourBox() const { return m_conditionColor; }
  QCheckBox* conditionBoldBox() const { return m_conditionBold; }
  QLineEdit* columnNameBox() const { return m_itemName; }
  QDoubleSpinBox* xBox() const { return m_x; }
  QDoubleSpinBox* widthBox() const { return m_width; }
  QDoubleSpinBox* lineWidthBox() const { return m_lineWidth; }

 private:
  void buildText(QFormLayout* form);
  void buildStyle(QFormLayout* form);
  void buildCondition(QFormLayout* form);
  void buildGeometry(QFormLayout* form);
  void bindText();
  void bindStyle();
  void bindCondition();
  void bindGeometry();
  void refreshText(const ReportItem& item, int selected);
  void refreshStyle(const ReportItem& item);
  void refreshCondition(const ReportItem& item);
  void refreshGeometry(const ReportItem& item);
  // Applies `edit` to every selected item as one step.
  void changeItems(const QString& what, const std::function<void(ReportItem&)>& edit);
  void bindFlag(QCheckBox* box, const QString& what, void (*set)(ReportItem&, bool));

  TemplateEditor& m_editor;
  bool m_refreshing = false;

  QLabel* m_kind = nullptr;
  QPlainTextEdit* m_text = nullptr;
  QComboBox* m_names = nullptr;
  QFontComboBox* m_font = nullptr;
  QDoubleSpinBox* m_size = nullptr;
  QCheckBox* m_bold = nullptr;
  QCheckBox* m_italic = nullptr;
  QCheckBox* m_underline = nullptr;
  QComboBox* m_align = nullptr;
  QComboBox* m_valign = nullptr;
  QCheckBox* m_borderLeft = nullptr;
  QCheckBox* m_borderTop = nullptr;
  QCheckBox* m_borderRight = nullptr;
  QCheckBox* m_borderBottom = nullptr;
  QComboBox* m_format = nullptr;
  QCheckBox* m_wrap = nullptr;
  QCheckBox* m_grow = nullptr;
  QLineEdit* m_condition = nullptr;
  QComboBox* m_conditionColor = nullptr;
  QCheckBox* m_conditionBold = nullptr;
  QLineEdit* m_itemName = nullptr;
  QDoubleSpinBox* m_x = nullptr;
  QDoubleSpinBox* m_y = nullptr;
  QDoubleSpinBox* m_width = nullptr;
  QDoubleSpinBox* m_height = nullptr;
  QDoubleSpinBox* m_lineWidth = nullptr;
};

}  // namespace vantrel::reports
