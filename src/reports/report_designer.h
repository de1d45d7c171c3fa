#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "reports/designer_canvas.h"
#include "reports/report_template.h"

class QAction;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QFontComboBox;
class QGraphicsScene;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QTableWidget;
class QUndoStack;
class QVBoxLayout;

namespace vantrel::platform {
class Platform;
}

namespace vantrel::reports {

class Report;

// The modal template designer: bands as strips, items selected, moved and resized on a
// 1 mm grid, a French properties panel, undo and redo, a preview with the screen's data,
// an atomic save keeping a ".bak", and the template shipped with the program on demand.
// It edits a copy; the file changes only on "Enregistrer".
class ReportDesigner : public QDialog, private CanvasListener {
  Q_OBJECT

 public:
  ReportDesigner(Report& report, platform::Platform& platform, QWidget* parent);
  ~ReportDesigner() override;

  // True once the template was saved to its file.
  bool saved() const { return m_saved; }
  const ReportTemplate& currentTemplate() const { return m_template; }
  QUndoStack* undoStack() const { return m_undo; }
  QGraphicsScene* scene() const { return m_scene; }
  DesignerView* view() const { return m_view; }
  QLabel* messageLabel() const { return m_message; }
  QComboBox* namesBox() const { return m_names; }
  QComboBox* formatBox() const { return m_format; }
  QLineEdit* conditionBox() const { return m_condition; }
  QComboBox* conditionColourBox() const { return m_conditionColor; }
  QCheckBox* conditionBoldBox() const { return m_conditionBold; }
  QLineEdit* columnNameBox() const { return m_itemName; }
  QCheckBox* repeatBox() const { return m_repeat; }

  // The commands of the toolbar, also driven by tests.
  bool save();
  void preview();
  void restoreOriginal();
  void addItem(ItemKind kind);
  void addBand(BandKind kind);
  void deleteSelection();
  void nudge(double dxMm, double dyMm);
  // Selects one item (band index, item index in the band), or a band alone (item -1).
  void select(int band, int item);

 public slots:
  // Closing asks whether to save unsaved changes ("&Oui", "&Non", "Annuler").
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  struct Selection {
    std::vector<std::pair<int, int>> items;
    std::vector<int> bands;
  };

  void sceneEdited() override;
  void buildToolBar(QVBoxLayout* layout);
  QWidget* buildPanel();
  void rebuildScene(const Selection& selection);
  Selection currentSelection() const;
  // Replaces the template with `changed` as one undoable step named `what`.
  void commit(const QString& what, const ReportTemplate& changed);
  void change(const QString& what, const std::function<void(ReportTemplate&)>& edit);
  // Applies `edit` to every selected item.
  void changeItems(const QString& what, const std::function<void(ReportItem&)>& edit);
  void changeBand(const QString& what, const std::function<void(Band&)>& edit);
  void refreshPanel();
  void refreshVariables();
  void setTemplate(const ReportTemplate& value, const Selection& selection);
  bool confirmClose();
  int targetBand() const;
  // Names offered by "Insérer": (name, label shown).
  std::vector<std::pair<QString, QString>> knownNames() const;

  friend class TemplateCommand;

  Report& m_report;
  platform::Platform& m_platform;
  QString m_path;
  QString m_folder;
  ReportTemplate m_template;
  bool m_saved = false;
  bool m_refreshing = false;

  QUndoStack* m_undo = nullptr;
  QGraphicsScene* m_scene = nullptr;
  DesignerView* m_view = nullptr;
  QLabel* m_message = nullptr;
  QAction* m_restore = nullptr;

  QGroupBox* m_itemBox = nullptr;
  QLabel* m_itemKind = nullptr;
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

  QGroupBox* m_bandBox = nullptr;
  QLabel* m_bandKind = nullptr;
  QDoubleSpinBox* m_bandHeight = nullptr;
  QSpinBox* m_columns = nullptr;
  QDoubleSpinBox* m_columnGap = nullptr;
  QCheckBox* m_pageBreak = nullptr;
  QCheckBox* m_firstPage = nullptr;
  QCheckBox* m_repeat = nullptr;
  QLineEdit* m_group = nullptr;
  QLineEdit* m_groupKey = nullptr;
  QPlainTextEdit* m_scriptBefore = nullptr;
  QPlainTextEdit* m_scriptAfter = nullptr;

  QTableWidget* m_variables = nullptr;

  QComboBox* m_pageFormat = nullptr;
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
