#pragma once

#include <QGroupBox>
#include <functional>

#include "reports/designer_panel.h"

class QCheckBox;
class QDoubleSpinBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

namespace vantrel::reports {

// "Bande": the properties of the first selected band (or of the band of the selected
// items). A property that means nothing for the band's kind is disabled; the whole panel
// is when no band is selected.
class DesignerBandPanel : public QGroupBox {
  Q_OBJECT

 public:
  DesignerBandPanel(TemplateEditor& editor, QWidget* parent);

  // Shows the first selected band of the editor's template.
  void refresh();

  QLabel* kindLabel() const { return m_kind; }
  QDoubleSpinBox* heightBox() const { return m_height; }
  QSpinBox* columnsBox() const { return m_columns; }
  QCheckBox* pageBreakBox() const { return m_pageBreak; }
  QCheckBox* firstPageBox() const { return m_firstPage; }
  QCheckBox* repeatBox() const { return m_repeat; }
  QLineEdit* groupBox() const { return m_group; }
  QLineEdit* groupKeyBox() const { return m_groupKey; }
  QPlainTextEdit* scriptBeforeBox() const { return m_scriptBefore; }
  QPlainTextEdit* scriptAfterBox() const { return m_scriptAfter; }

 private:
  void buildLayout(QFormLayout* form);
  void buildGroup(QFormLayout* form);
  void bindLayout();
  void bindGroup();
  void bindScript(QPlainTextEdit* box, QString Band::*member);
  void changeBand(const QString& what, const std::function<void(Band&)>& edit);

  TemplateEditor& m_editor;
  bool m_refreshing = false;

  QLabel* m_kind = nullptr;
  QDoubleSpinBox* m_height = nullptr;
  QSpinBox* m_columns = nullptr;
  QDoubleSpinBox* m_columnGap = nullptr;
  QCheckBox* m_pageBreak = nullptr;
  QCheckBox* m_firstPage = nullptr;
  QCheckBox* m_repeat = nullptr;
  QLineEdit* m_group = nullptr;
  QLineEdit* m_groupKey = nullptr;
  QPlainTextEdit* m_scriptBefore = nullptr;
  QPlainTextEdit* m_scriptAfter = nullptr;
};

}  // namespace vantrel::reports
