#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "reports/designer_canvas.h"
#include "reports/designer_panel.h"
#include "reports/report_template.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGraphicsScene;
class QLabel;
class QLineEdit;
class QUndoStack;
class QVBoxLayout;

namespace vantrel::platform {
class Platform;
}

namespace vantrel::reports {

class DesignerBandPanel;
class DesignerItemPanel;
class DesignerPagePanel;
class DesignerVariablesPanel;
class Report;

// The modal template designer: bands as strips, items selected, moved and resized on a
// 1 mm grid, French property panels (item, band, variables, page), undo and redo, a preview
// with the screen's data, an atomic save keeping a ".bak", and the template shipped with the
// program on demand. It edits a copy; the file changes only on "Enregistrer".
class ReportDesigner : public QDialog, private CanvasListener, private TemplateEditor {
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
  DesignerItemPanel* itemPanel() const { return m_itemPanel; }
  DesignerBandPanel* bandPanel() const { return m_bandPanel; }
  DesignerVariablesPanel* variablesPanel() const { return m_variablesPanel; }
  DesignerPagePanel* pagePanel() const { return m_pagePanel; }
  QComboBox* namesBox() const;
  QComboBox* formatBox() const;
  QLineEdit* conditionBox() const;
  QComboBox* conditionColourBox() const;
  QCheckBox* conditionBoldBox() const;
  QLineEdit* columnNameBox() const;
  QCheckBox* repeatBox() const;

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
  void sceneEdited() override;
  // What the panels edit through.
  const ReportTemplate& editedTemplate() const override { return m_template; }
  DesignerSelection selection() const override { return currentSelection(); }
  std::vector<std::pair<QString, QString>> knownNames() const override;
  void change(const QString& what, const std::function<void(ReportTemplate&)>& edit) override;
  void type(const QString& what, const QString& mergeKey,
            const std::function<void(ReportTemplate&)>& edit) override;

  void buildToolBar(QVBoxLayout* layout);
  QWidget* buildPanel();
  void rebuildScene(const DesignerSelection& selection);
  DesignerSelection currentSelection() const;
  // Replaces the template with `changed` as one undoable step named `what`.
  void commit(const QString& what, const ReportTemplate& changed);
  // Applies `edit` to every selected item.
  void changeItems(const QString& what, const std::function<void(ReportItem&)>& edit);
  void refreshPanel();
  void showTemplateErrors();
  void setTemplate(const ReportTemplate& value, const DesignerSelection& selection);
  bool confirmClose();
  int targetBand() const;

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

  DesignerItemPanel* m_itemPanel = nullptr;
  DesignerBandPanel* m_bandPanel = nullptr;
  DesignerVariablesPanel* m_variablesPanel = nullptr;
  DesignerPagePanel* m_pagePanel = nullptr;
};

}  // namespace vantrel::reports
